// The interface pass of a frame with every panel of the widget gallery
// shown, beside an empty frame on the same context: CPU time of the pass
// (building the draw list and sending it; glFinish is outside the timing)
// and the draw calls it issues.
//
//   build/test/bin/ui_bench
#include <benchmark/benchmark.h>
#include <epoxy/gl.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>

#include "base/trace_log.h"
#include "platform/platform_window.h"
#include "platform/sdl_session.h"
#include "platform/system_folders.h"
#include "render/graphics_context.h"
#include "render/renderer.h"
#include "ui/interface.h"
#include "ui/interface_host.h"
#include "ui/label_table.h"
#include "ui/widget_gallery.h"

namespace {

using namespace morvanex;

constexpr int kWidth = 1280;
constexpr int kHeight = 720;

struct Context {
    SdlSession sdl;
    PlatformWindow window;
    TraceLog trace;
    std::optional<GraphicsContext> graphics;
    std::unique_ptr<Renderer> renderer;
    InterfaceHost host;
    LabelTable labels;
    std::unique_ptr<Interface> ui;
    GalleryState state;

    bool open() {
        if (!sdl.ok() || !window.create("ui bench", kWidth, kHeight)) return false;
        if (window.createGraphicsContext() != GraphicsSupport::Core33) return false;
        graphics.emplace(window, trace);
        graphics->setSampleModeList(sampleModeListFromCounts({1}));
        if (failed(graphics->create())) return false;
        RendererSetup setup;
        setup.programFolder = executableFolder();
        renderer = std::make_unique<Renderer>(trace, *graphics, setup);
        ui = std::make_unique<Interface>(*renderer, host, labels);
        ui->setViewSize(graphics->width(), graphics->height());
        return renderer->programFailures() == 0;
    }
};

Context& context() {
    static Context* made = [] {
        auto* c = new Context;
        if (!c->open()) std::fprintf(stderr, "ui_bench: no OpenGL 3.3 context\n");
        return c;
    }();
    return *made;
}

// Times the interface pass alone, frame after frame.
void runFrames(benchmark::State& state, bool withPanels) {
    Context& c = context();
    if (!c.renderer) {
        state.SkipWithError("no graphics context");
        return;
    }
    if (withPanels && c.ui->panels.empty()) buildWidgetGallery(*c.ui, c.state);
    for (Panel* panel : c.ui->panels) panel->visible = withPanels;
    double building = 0.0;
    for (auto _ : state) {
        c.graphics->beginFrame({0.1f, 0.1f, 0.1f, 1.0f});
        // Interface::draw, in its two halves: the panels fill the draw list,
        // then one flush sends it.
        const auto start = std::chrono::steady_clock::now();
        for (auto panel = c.ui->panels.rbegin(); panel != c.ui->panels.rend(); ++panel) {
            if ((*panel)->visible) (*panel)->draw(1.0f / 60.0f);
        }
        const auto built = std::chrono::steady_clock::now();
        c.renderer->ui.flush();
        const auto end = std::chrono::steady_clock::now();
        c.graphics->endFrame();
        glFinish();
        building += std::chrono::duration<double>(built - start).count();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    state.counters["draw_calls"] = c.renderer->ui.lastDrawCalls();
    state.counters["build_us"] = 1e6 * building / static_cast<double>(state.iterations());
}

void BM_InterfacePassGallery(benchmark::State& state) { runFrames(state, true); }
void BM_InterfacePassEmpty(benchmark::State& state) { runFrames(state, false); }
// Each iteration also draws and finishes the frame (outside the timing), so
// the count is fixed rather than grown until the timed part adds up.
BENCHMARK(BM_InterfacePassEmpty)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(300);
BENCHMARK(BM_InterfacePassGallery)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(300);

}  // namespace

BENCHMARK_MAIN();
