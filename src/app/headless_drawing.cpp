#include "app/headless_drawing.h"

#include "base/trace_log.h"
#include "platform/platform_window.h"
#include "platform/sdl_session.h"
#include "render/graphics_context.h"

namespace morvanex {

int withHeadlessDrawing(const std::string& title, int width, int height, int samples,
                        const std::function<int(GraphicsContext&)>& draw, std::string& error) {
    preferOffscreenVideoWithoutDisplay();
    SdlSession sdl;
    if (!sdl.ok()) {
        error = "cannot start the video system: " + sdl.error();
        return -1;
    }
    PlatformWindow window;
    if (!window.create(title, width, height)) {
        error = "cannot create the drawing surface: " + window.lastError();
        return -1;
    }
    if (window.createGraphicsContext() != GraphicsSupport::Core33) {
        error = "the graphics driver offers no OpenGL 3.3 core context";
        return -1;
    }
    const TraceLog trace;  // the job reports on its error stream
    GraphicsContext graphics(window, trace);
    graphics.chooseSampleCountAtMost(samples);
    if (failed(graphics.create())) {
        error = "cannot create the frame targets";
        return -1;
    }
    const int status = draw(graphics);
    graphics.releaseAll();
    return status;
}

}  // namespace morvanex
