// A hidden window with an OpenGL 3.3 core context and frame targets, for the
// jobs that draw without the interface (render, gallery). It uses SDL's
// offscreen driver when there is no display.
#pragma once

#include <functional>
#include <string>

namespace morvanex {

class GraphicsContext;

// Opens the surface (width x height, at most `samples` per pixel), runs
// `draw` with its graphics context and releases everything. Returns the
// status of `draw`, or -1 with `error` set when the surface could not be made.
int withHeadlessDrawing(const std::string& title, int width, int height, int samples,
                        const std::function<int(GraphicsContext&)>& draw, std::string& error);

}  // namespace morvanex
