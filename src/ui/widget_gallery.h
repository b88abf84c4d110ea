// Panels holding every kind of widget in its states (normal, hot, checked,
// disabled, focused, open, scrolled, collapsed), for looking at the toolkit
// as a whole and for measuring a busy frame of interface.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "scene/math.h"
#include "ui/rich_hint.h"

namespace morvanex {

class Interface;
class Panel;

// The variables the gallery's widgets are bound to; the caller keeps them
// alive as long as the panels.
struct GalleryState {
    std::array<bool, 8> flags{true, false, true, false, true, false, false, false};
    std::array<float, 6> values{0.25f, 0.6f, 1.2f, 0.8f, 0.0f, 0.0f};
    std::array<int, 4> integers{3, 0, 0, 0};
    std::string name = "Maison";
    Vec4 colour{0.95f, 0.55f, 0.15f, 1.0f};
    std::array<float, 5> times{};  // the key bar's keys, seconds
    std::vector<std::unique_ptr<RichHint>> hints;
};

// Builds the panels, shown, laid out for a window of about 1280 x 720, and
// puts the widgets in the states the gallery shows. Returns the panels.
std::vector<Panel*> buildWidgetGallery(Interface& interface, GalleryState& state);

}  // namespace morvanex
