// The renderer: owner of everything the graphics driver holds for the
// program. It is made right after the graphics context, before the
// application, and lives until shutdown.
#pragma once

#include "scene/math.h"

namespace morvanex {

class TraceLog;

class Renderer {
public:
    explicit Renderer(const TraceLog& trace);
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // Sets the drawing area to the window's drawable size in pixels.
    void resizeTargets(int width, int height);

    // Clears the frame to the clear colour and the depth to 1.
    void beginFrame();

    // Reads back one pixel of the current frame (x from the left, y from the
    // top), RGBA bytes; for tests and screenshots.
    void readPixel(int x, int y, unsigned char rgba[4]) const;

    Vec4 clearColour{0.28f, 0.63f, 1.0f, 1.0f};
    double runningClock = 0.0;  // seconds of frames drawn, advanced by the frame step

    int width() const { return width_; }
    int height() const { return height_; }

private:
    const TraceLog& trace_;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace morvanex
