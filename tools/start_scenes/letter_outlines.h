// The outlines of a line of text in a TrueType font, as flat contours:
// quadratic (and cubic) curves are cut into straight segments.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "start_scenes/polygon_fill.h"

namespace morvanex {

struct TextOutline {
    std::vector<Contour> contours;  // every letter's, y up, baseline at y = 0
    double width = 0.0;             // advance of the whole line
};

// `height` is the size of the em square in output units; each curve becomes
// `curveSteps` segments. None when the font cannot be read or lacks a letter
// (why says which).
std::optional<TextOutline> outlineText(std::span<const std::uint8_t> fontFile, std::string_view text, double height,
                                       int curveSteps, std::string* why = nullptr);

}  // namespace morvanex
