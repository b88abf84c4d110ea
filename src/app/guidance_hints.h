// The guidance hints: rich hints created once by the builder, one chosen
// each frame from the tool and pointer state.
#pragma once

#include <array>

#include "ui/rich_hint.h"

namespace morvanex {

struct GuidanceHints {
    std::array<RichHint, 3> cubeSteps;    // by the cube tool's click step
    std::array<RichHint, 2> sphereSteps;  // by the sphere tool's click step
    RichHint objectName;        // the object under the pointer; its line is rewritten each time
    RichHint trajectoryHeight;  // the dragged trajectory point's height
    RichHint vertexReadout;     // filled by the selection tools when they show it
    // Anchored hints, tested in this order each frame.
    RichHint surfaceButton;
    RichHint rectangleSelection;
    RichHint tubeTool;
    RichHint spotTool;
    RichHint tubeButton;
    RichHint heightSurface;
    RichHint modelingStart;
    // Attached to the camera panel's pads.
    RichHint panPad;
    RichHint zoomPad;
    // Built with the others but shown by nothing yet.
    std::array<RichHint, 5> spare;

    RichHint* current = nullptr;  // the anchored hint drawn this frame
};

}  // namespace morvanex
