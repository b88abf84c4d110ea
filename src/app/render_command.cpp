#include "app/render_command.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <ostream>

#include "app/command_line.h"
#include "app/headless_drawing.h"
#include "app/model_import.h"
#include "app/scene_commands.h"
#include "app/scene_open.h"
#include "base/safe_file.h"
#include "base/text_encoding.h"
#include "base/trace_log.h"
#include "image/image_codec.h"
#include "import/model_file.h"
#include "platform/platform_window.h"
#include "platform/sdl_session.h"
#include "platform/system_folders.h"
#include "render/graphics_context.h"
#include "render/renderer.h"
#include "render/scene_passes.h"
#include "scene/scene.h"
#include "scenefile/scene_info.h"

namespace morvanex {

namespace {

template <class Number>
bool parseNumber(std::string_view text, Number& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

bool parseSize(std::string_view text, int& width, int& height) {
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string_view::npos) return false;
    return parseNumber(text.substr(0, x), width) && parseNumber(text.substr(x + 1), height) && width > 0 &&
           height > 0 && width <= kMaxRenderSide && height <= kMaxRenderSide;
}

std::optional<PresetView> parseView(std::string_view text) {
    if (text == "east") return PresetView::East;
    if (text == "west") return PresetView::West;
    if (text == "south") return PresetView::South;
    if (text == "north") return PresetView::North;
    if (text == "top") return PresetView::Top;
    return std::nullopt;
}

int fail(std::ostream& err, const std::string& what) {
    err << "morvanex render: " << what << "\n";
    return kSceneCommandFailed;
}

// Turns the camera to the preset side and frames what is drawn; the eye
// jumps there rather than gliding.
void placeRequestedView(CameraState& camera, const Scene& scene, const RenderRequest& request) {
    const std::optional<SceneBox> box = userObjectsBox(scene);
    const Vec3 centre = box ? (box->min + box->max) * 0.5f : camera.orbitTarget;
    if (request.view) {
        camera.orbitTarget = centre;
        camera.eye = camera.eyeTarget;
        presetView(camera, *request.view, centre);
    }
    if (request.frameAll && box) {
        frameBox(camera, worldBoxCorners(box->min, box->max, identity()), static_cast<float>(request.width),
                 static_cast<float>(request.height));
    }
    if (request.view || request.frameAll) {
        camera.eye = camera.eyeTarget;
        camera.yaw = camera.yawTarget;
        camera.pitch = camera.pitchTarget;
    }
}

}  // namespace

std::optional<SceneBox> userObjectsBox(const Scene& scene) {
    std::optional<SceneBox> box;
    for (const auto& object : scene.objects()) {
        if (object->vertices.empty() || !scene.isSaved(*object)) continue;
        for (const Vec3& c : worldBoxCorners(object->boundsMin, object->boundsMax, object->worldMatrix)) {
            if (!std::isfinite(c.x) || !std::isfinite(c.y) || !std::isfinite(c.z)) continue;
            if (!box) box = SceneBox{c, c};
            box->min = componentMin(box->min, c);
            box->max = componentMax(box->max, c);
        }
    }
    return box;
}

ParsedRenderRequest parseRenderArguments(const std::vector<std::string>& arguments) {
    RenderRequest request;
    const auto error = [](std::string text) { return ParsedRenderRequest{std::nullopt, std::move(text)}; };
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (word == "-o" || word == "--size" || word == "--time" || word == "--frames" || word == "--view" ||
            word == "--samples") {
            if (!hasValue) return error(word + " needs a value");
            const std::string& value = arguments[++i];
            if (word == "-o") {
                request.output = value;
            } else if (word == "--size") {
                if (!parseSize(value, request.width, request.height)) {
                    return error("--size wants WIDTHxHEIGHT, each 1 to " + std::to_string(kMaxRenderSide));
                }
            } else if (word == "--time") {
                if (!parseNumber(value, request.startTime) || !std::isfinite(request.startTime) ||
                    request.startTime < 0.0) {
                    return error("--time wants seconds, 0 or more");
                }
            } else if (word == "--frames") {
                if (!parseNumber(value, request.frames) || request.frames < 1 || request.frames > kMaxRenderFrames) {
                    return error("--frames wants a count from 1 to " + std::to_string(kMaxRenderFrames));
                }
            } else if (word == "--samples") {
                if (!parseNumber(value, request.samples) || request.samples < 1 ||
                    request.samples > kMaxRenderSamples) {
                    return error("--samples wants a count from 1 to " + std::to_string(kMaxRenderSamples));
                }
            } else {
                request.view = parseView(value);
                if (!request.view) return error("--view wants east, west, south, north or top");
            }
        } else if (word == "--frame-all") {
            request.frameAll = true;
        } else if (word.size() > 1 && word[0] == '-') {
            return error("unknown option: " + validUtf8(word));
        } else if (request.sceneFile) {
            return error("expected at most one scene file");
        } else {
            request.sceneFile = word;
        }
    }
    if (request.output.empty()) return error("-o OUT.png is required");
    return {request, {}};
}

namespace {

std::filesystem::path pathOfArgument(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// Runs the frames with the fixed clock step and reads the last one back.
DecodedImage drawFrames(Renderer& renderer, GraphicsContext& graphics, Scene& scene, CameraState& camera,
                        const RenderRequest& request) {
    renderer.clearColour = scene.backgroundColour;
    ScenePasses passes(renderer);
    SceneFrameSettings settings;
    settings.editMode = false;  // the scene as it plays, without the editor's marks
    DecodedImage frame;
    for (int i = 0; i < request.frames; ++i) {
        const double t = request.startTime + static_cast<double>(i) * kRenderFrameStep;
        CameraFrameInput input;
        input.dt = static_cast<float>(kRenderFrameStep);
        updateCamera(camera, input);
        renderer.beginFrame();
        const FrameView view = cameraFrameView(camera, graphics.width(), graphics.height());
        passes.drawFrame(scene, view, settings, t, kRenderFrameStep);
        if (i + 1 == request.frames) frame = graphics.readFrame();
        graphics.endFrame();
    }
    return frame;
}

// Opens the scene, draws it and writes the PNG; the renderer lives as long
// as this call, inside the graphics context.
int renderWithContext(GraphicsContext& graphics, const RenderRequest& request, std::ostream& out, std::ostream& err) {
    RendererSetup setup;
    setup.programFolder = executableFolder();
    const TraceLog trace;  // the renderer keeps a reference: it must outlive it
    Renderer renderer(trace, graphics, setup);
    if (renderer.programFailures() != 0) {
        return fail(err, "the drawing programs in " + textFromPath(shaderFolder(setup.programFolder)) +
                             " could not all be built");
    }
    int status = kSceneCommandOk;
    Scene scene;
    CameraState camera;
    std::filesystem::path sceneFolder;
    if (request.sceneFile && modelFormatOf(pathOfArgument(*request.sceneFile)) != ModelFormat::None) {
        scene.resetLights();  // the lights the editor gives a new scene
        const ImportResult result = importModelIntoScene(pathOfArgument(*request.sceneFile), scene);
        if (!result.ok()) return fail(err, validUtf8(*request.sceneFile) + ": " + result.error);
        for (const std::string& line : importReportLines(result.report)) {
            err << "morvanex render: " << validUtf8(*request.sceneFile) << ": "
                << (line.rfind("damage: ", 0) == 0 ? "" : "warning: ") << utf8FromCp1252(line) << "\n";
        }
        if (result.report.damaged()) status = kSceneCommandDamaged;
        // The camera goes where the editor puts it after this import, or,
        // for a format that leaves the camera alone, frames everything.
        if (!request.view && !request.frameAll) placeCameraAfterImport(camera, scene, result, request.width, request.height);
    } else if (request.sceneFile) {
        const std::filesystem::path file = pathOfArgument(*request.sceneFile);
        const SceneReadReport report = openSceneThroughReader(file, scene, camera);
        const std::string shown = validUtf8(*request.sceneFile) + ": " + utf8FromCp1252(describeReadReport(report));
        if (!sceneOpened(report)) return fail(err, shown);
        if (report.status == ReadStatus::Damaged) {
            err << "morvanex render: " << shown << "; rendering what could be read\n";
            status = kSceneCommandDamaged;
        }
        sceneFolder = commandLineReadOptions(file).sceneFolder;
    }
    if (const int missing = renderer.prepareScene(scene, sceneFolder); missing > 0) {
        err << "morvanex render: " << missing << " texture image(s) could not be made\n";
    }
    placeRequestedView(camera, scene, request);
    const DecodedImage frame = drawFrames(renderer, graphics, scene, camera, request);
    // The objects' buffers go while the context lives.
    scene.clearContent();
    for (const auto& object : scene.objects()) object->gpu.reset();

    const std::vector<std::uint8_t> png = encodePng(frame);
    std::string why = "the frame could not be read back";
    if (png.empty() || !replaceFileSafely(pathOfArgument(request.output), png, &why)) {
        return fail(err, "cannot write " + validUtf8(request.output) + ": " + why);
    }
    out << validUtf8(request.output) << ": " << frame.width << " x " << frame.height << " after " << request.frames
        << (request.frames == 1 ? " frame" : " frames") << ", " << graphics.sampleCount()
        << (graphics.sampleCount() == 1 ? " sample" : " samples") << " per pixel\n";
    return status;
}

}  // namespace

int runRenderCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    const ParsedRenderRequest parsed = parseRenderArguments(arguments);
    if (!parsed.request) {
        err << "morvanex render: " << parsed.error << "\n\n" << usageText();
        return kSceneCommandFailed;
    }
    const RenderRequest& request = *parsed.request;

    std::string error;
    const int status = withHeadlessDrawing(
        "morvanex render", request.width, request.height, request.samples,
        [&](GraphicsContext& graphics) { return renderWithContext(graphics, request, out, err); }, error);
    return status < 0 ? fail(err, error) : status;
}

}  // namespace morvanex
