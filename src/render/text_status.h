// The status line drawn last in edit mode: frame rate, program name and
// version, what lies under the pointer, the heads-up label and the last
// picked trajectory point or key.
#pragma once

#include <cstdint>
#include <string>

#include "scene/math.h"

namespace morvanex {

class Renderer;

// What the status line shows, gathered by the frame procedure.
struct StatusLineState {
    double framesPerSecond = 0.0;
    bool objectUnderPointer = false;
    std::string objectName;  // Windows-1252
    Vec3 boundsSize{};       // maximum minus minimum of the object's vertex positions
    std::int32_t faceIndex = 0;
    bool labelOption = false;  // the editor's label option
    std::string label;         // label 523 of the label table
    std::int32_t lastPickedIndex = 0;
};

// "Fps : <fps truncated>   Morvanex v4.2.6", then, with an object under the
// pointer, " <name>(<x> , <y> , <z>)\n : face <index>" (the line feed is one
// more byte of the line, drawn with its metric width), then " <label>" when
// the label option is on, then " <last picked index>". Sizes use the
// default decimal formatting of the standard streams (2.5, 10, 0.333333).
std::string statusLineText(const StatusLineState& state);

// One regular white line at x = 10, top at H - 30, 20 pixels high.
void drawStatusLine(Renderer& renderer, const StatusLineState& state);

}  // namespace morvanex
