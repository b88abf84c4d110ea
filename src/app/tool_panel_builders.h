// The builders of the four tool panels; each creates its panel hidden,
// fills the widget record and returns the panel.
#pragma once

namespace morvanex {

class Interface;
class LabelTable;
class Panel;
struct ToolPanelWidgets;

Panel& buildSettingsPanel(Interface& ui, LabelTable& labels, ToolPanelWidgets& tools);
Panel& buildModelingPanel(Interface& ui, LabelTable& labels, ToolPanelWidgets& tools);
Panel& buildTextureMappingPanel(Interface& ui, LabelTable& labels, ToolPanelWidgets& tools);
Panel& buildAnimationPanel(Interface& ui, LabelTable& labels, ToolPanelWidgets& tools);

}  // namespace morvanex
