// Picture-and-text hints: a few lines shown near a button (anchored, over a
// speech-bubble picture, fading out after a while) or under the top bar.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ui/colour_fade.h"

namespace morvanex {

class Interface;
class InterfaceDrawing;
class TextureImage;

struct RichHint {
    // Appends a line; the size follows the widest line and the line count.
    void addLine(std::string_view text, const InterfaceDrawing& drawing);
    // Draws at the anchor (x, y), or at the pointer with followPointer.
    void draw(InterfaceDrawing& drawing, float elapsedSeconds, bool followPointer, const Interface& interface);

    std::vector<std::string> lines;
    int width = 0;
    int height = 0;
    bool anchored = false;
    const TextureImage* picture = nullptr;  // every anchored hint has one
    FadeTimer timer;                        // its own rate: 15, 10 or 8
    int x = 0;                              // the anchor, set by the owner every frame
    int y = 0;
    Vec4 colour = kTransparentWhite;
    bool shown = false;                     // cleared by the owner on frames it is not wanted
    // Where a hint that is not anchored goes (the top bar's corner, + 120 down).
    int freeX = 0;
    int freeY = 0;
    // The pointer, for hints that follow it.
    int pointerX = 0;
    int pointerY = 0;
};

}  // namespace morvanex
