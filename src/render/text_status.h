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
    bool showFrameRate = false;  // the file panel's "Frame counter" box
    double framesPerSecond = 0.0;
    bool objectUnderPointer = false;
    std::string objectName;  // Windows-1252
    Vec3 boundsSize{};       // maximum minus minimum of the object's vertex positions
    bool labelOption = false;  // the editor's label option
    std::string label;         // label 523 of the label table
};

// What a person reads at the foot of the view, parts three spaces apart:
// "Fps : <rate truncated>" while the frame counter is on; the object under
// the pointer as "<name>  <x> x <y> x <z>" (its size, two decimals at
// most); then the label when the label option is on. Empty when there is nothing to say.
std::string statusLineText(const StatusLineState& state);

// One regular white line at x = 10, top at H - 30, 20 pixels high; nothing
// when the text is empty.
void drawStatusLine(Renderer& renderer, const StatusLineState& state);

}  // namespace morvanex
