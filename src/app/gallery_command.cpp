#include "app/gallery_command.h"

#include <charconv>
#include <filesystem>
#include <ostream>

#include "app/headless_drawing.h"
#include "app/scene_commands.h"
#include "base/safe_file.h"
#include "base/text_encoding.h"
#include "base/trace_log.h"
#include "image/image_codec.h"
#include "platform/system_folders.h"
#include "render/graphics_context.h"
#include "render/renderer.h"
#include "scenefile/scene_info.h"
#include "ui/interface.h"
#include "ui/interface_host.h"
#include "ui/label_table.h"
#include "ui/widget_gallery.h"

namespace morvanex {

namespace {

constexpr int kGalleryFrames = 90;  // a second and a half: fades in, hints up
constexpr float kGalleryFrameStep = 1.0f / 60.0f;

int fail(std::ostream& err, const std::string& what) {
    err << "morvanex gallery: " << what << "\n";
    return kSceneCommandFailed;
}

struct GalleryRequest {
    std::string output;
    int width = 1280;
    int height = 720;
};

bool parseSize(const std::string& text, int& width, int& height) {
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string::npos) return false;
    const char* begin = text.data();
    const auto w = std::from_chars(begin, begin + x, width);
    const auto h = std::from_chars(begin + x + 1, begin + text.size(), height);
    return w.ec == std::errc() && w.ptr == begin + x && h.ec == std::errc() && h.ptr == begin + text.size() &&
           width >= 320 && height >= 240 && width <= 8192 && height <= 8192;
}

std::string parseGalleryArguments(const std::vector<std::string>& arguments, GalleryRequest& request) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        if ((word == "-o" || word == "--size") && i + 1 == arguments.size()) return word + " needs a value";
        if (word == "-o") {
            request.output = arguments[++i];
        } else if (word == "--size") {
            if (!parseSize(arguments[++i], request.width, request.height)) {
                return "--size wants WIDTHxHEIGHT, from 320x240 to 8192x8192";
            }
        } else {
            return "unexpected argument: " + validUtf8(word);
        }
    }
    return request.output.empty() ? "-o OUT.png is required" : std::string();
}

// Builds the gallery's panels and draws them until their fades have run.
DecodedImage drawGallery(GraphicsContext& graphics) {
    RendererSetup setup;
    setup.programFolder = executableFolder();
    const TraceLog trace;
    Renderer renderer(trace, graphics, setup);
    InterfaceHost host;
    LabelTable labels;
    Interface ui(renderer, host, labels);
    ui.setViewSize(graphics.width(), graphics.height());
    GalleryState state;
    buildWidgetGallery(ui, state);
    DecodedImage frame;
    for (int i = 0; i < kGalleryFrames; ++i) {
        graphics.beginFrame({0.11f, 0.12f, 0.15f, 1.0f});
        ui.draw(kGalleryFrameStep);
        if (i + 1 == kGalleryFrames) frame = graphics.readFrame();
        graphics.endFrame();
    }
    return frame;
}

}  // namespace

int runGalleryCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    GalleryRequest request;
    if (const std::string error = parseGalleryArguments(arguments, request); !error.empty()) return fail(err, error);
    DecodedImage frame;
    std::string error;
    const int made = withHeadlessDrawing(
        "morvanex gallery", request.width, request.height, 1,  // the interface lies on whole pixels
        [&](GraphicsContext& graphics) {
            frame = drawGallery(graphics);
            return 0;
        },
        error);
    if (made < 0) return fail(err, error);
    // Text and translucent widgets leave the frame's alpha below 1; the
    // window shows the colours as opaque, and so does the picture.
    for (ImageLevel& level : frame.levels) {
        for (std::size_t i = 3; i < level.bytes.size(); i += 4) level.bytes[i] = 255;
    }
    const std::vector<std::uint8_t> png = encodePng(frame);
    std::string why = "the frame could not be read back";
    const std::filesystem::path target(std::u8string(request.output.begin(), request.output.end()));
    if (png.empty() || !replaceFileSafely(target, png, &why)) {
        return fail(err, "cannot write " + validUtf8(request.output) + ": " + why);
    }
    out << validUtf8(request.output) << ": " << frame.width << " x " << frame.height << "\n";
    return kSceneCommandOk;
}

}  // namespace morvanex
