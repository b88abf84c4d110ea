#include "render/renderer.h"

#include <epoxy/gl.h>

namespace morvanex {

Renderer::Renderer(const TraceLog& trace) : trace_(trace) {}

void Renderer::resizeTargets(int width, int height) {
    width_ = width > 0 ? width : 1;
    height_ = height > 0 ? height : 1;
    glViewport(0, 0, width_, height_);
}

void Renderer::beginFrame() {
    glViewport(0, 0, width_, height_);
    glClearColor(clearColour.x, clearColour.y, clearColour.z, clearColour.w);
    glClearDepth(1.0);
    glDepthMask(GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void Renderer::readPixel(int x, int y, unsigned char rgba[4]) const {
    glReadPixels(x, height_ - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
}

}  // namespace morvanex
