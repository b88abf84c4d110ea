// morvanex render [FILE] -o OUT.png [--size WxH] [--time SECONDS] [--frames N]
//                 [--view east|west|south|north|top] [--frame-all] [--samples N]
//
// Opens a scene file or imports a model (.obj, .3ds, .dae) into an empty
// scene (or neither: an empty scene), runs frames with a fixed
// clock step until the camera glide and the environment cubes have
// settled, and writes the last frame as a PNG. Uses the offscreen video
// driver when there is no display.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "render/camera.h"

namespace morvanex {

class Scene;

// The world box of the drawn objects a person made: service objects,
// markers and the ground grid left out; none when there are none.
struct SceneBox {
    Vec3 min;
    Vec3 max;
};
std::optional<SceneBox> userObjectsBox(const Scene& scene);

inline constexpr int kDefaultRenderWidth = 1280;
inline constexpr int kDefaultRenderHeight = 720;
// 300 frames of 1/60 s: the glide from 500 units behind comes within a
// hundredth of a unit, and static cubes are long rendered.
inline constexpr int kDefaultRenderFrames = 300;
inline constexpr double kRenderFrameStep = 1.0 / 60.0;
inline constexpr int kMaxRenderSide = 8192;
inline constexpr int kMaxRenderFrames = 100000;
// Samples per pixel: the most the context offers up to this, unless asked.
inline constexpr int kDefaultRenderSamples = 8;
inline constexpr int kMaxRenderSamples = 64;

struct RenderRequest {
    std::optional<std::string> sceneFile;
    std::string output;
    int width = kDefaultRenderWidth;
    int height = kDefaultRenderHeight;
    double startTime = 0.0;
    int frames = kDefaultRenderFrames;
    std::optional<PresetView> view;
    bool frameAll = false;
    int samples = kDefaultRenderSamples;  // at most; 1 draws without antialiasing
};

// The request, or the reason the arguments cannot make one.
struct ParsedRenderRequest {
    std::optional<RenderRequest> request;
    std::string error;
};
ParsedRenderRequest parseRenderArguments(const std::vector<std::string>& arguments);

int runRenderCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace morvanex
