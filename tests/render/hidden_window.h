// A hidden window with an OpenGL 3.3 core context and a renderer holding the
// program's shaders, fonts and interface images (from the build's program
// folder): where every test that draws for real starts.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "base/trace_log.h"
#include "platform/platform_window.h"
#include "platform/sdl_session.h"
#include "platform/system_folders.h"
#include "render/graphics_context.h"
#include "render/renderer.h"

namespace morvanex::testing {

class HiddenWindow {
public:
    // An empty text when the window, its context (one sample per pixel, so
    // pixels compare exactly) and the renderer are ready; else what failed.
    std::string open(const char* title, int width, int height) {
        if (!sdl_.ok()) return sdl_.error();
        if (!window_.create(title, width, height)) return window_.lastError();
        if (window_.createGraphicsContext() != GraphicsSupport::Core33) return "no OpenGL 3.3 context: " + window_.lastError();
        graphics_.emplace(window_, trace_);
        graphics_->setSampleModeList(sampleModeListFromCounts({1}));
        if (graphics_->create() != hr::S_OK) return "the frame targets could not be made";
        RendererSetup setup;
        setup.programFolder = executableFolder();
        renderer_ = std::make_unique<Renderer>(trace_, *graphics_, setup);
        if (renderer_->programFailures() != 0) return "shader programs failed";
        return {};
    }

    // The renderer's GPU resources go before the context's.
    void close() {
        renderer_.reset();
        if (graphics_) graphics_->releaseAll();
    }

    GraphicsContext& graphics() { return *graphics_; }
    Renderer& renderer() { return *renderer_; }
    const TraceLog& trace() const { return trace_; }

private:
    SdlSession sdl_;
    PlatformWindow window_;
    TraceLog trace_;
    std::optional<GraphicsContext> graphics_;
    std::unique_ptr<Renderer> renderer_;
};

}  // namespace morvanex::testing
