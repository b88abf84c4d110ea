// The widgets of the four tool panels (settings, modeling, texture mapping,
// animation) that the commands and refreshes recognise.
#pragma once

namespace morvanex {

struct ToolPanelWidgets {};

}  // namespace morvanex
