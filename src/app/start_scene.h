// Start-up's scenes: the two carried scenes written to the program-data
// folder, the camera object taken from one of them, and the camera's sweep
// through the title.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

#include "base/fade.h"
#include "render/camera.h"

namespace morvanex {

class Scene;
struct Sequence;

inline constexpr const char* kCameraBodyObjectName = "souder 1";

// Whether start-up plays the title scene; tests start straight on the
// editor.
enum class StartScene { Play, Skip };

// Writes the bytes to the file unless it already holds exactly them; the
// write is safe (a temporary file renamed over). Why not, on failure.
std::optional<std::string> installSceneFile(const std::filesystem::path& file, std::span<const std::uint8_t> bytes);

// Reads the camera scene and makes its body the scene's camera object,
// named "Camera", turned a quarter turn about (0, 0, -1), its first flag F
// cleared. False (with why) when the scene or its body cannot be read.
bool installCameraObject(Scene& scene, std::span<const std::uint8_t> cameraScene, std::string* why);

// Fade rates of the title: fading in as it opens, out once its sequence ends.
inline constexpr float kTitleOpeningFadeRate = 20.0f;
inline constexpr float kTitleClosingFadeRate = 30.0f;

// The title's playback: the clock through its sequence and the two fades.
struct TitlePlayback {
    std::string path;                    // the title's scene path while it is open
    const Sequence* sequence = nullptr;  // the one the title plays; null: none
    double clock = 0.0;                  // seconds since the title opened
    Fade opening;
    Fade closing;
    bool closingStarted = false;
    // Where the eye stood when the title opened: the sweep starts there.
    Vec3 startEye;
    float startYaw = 0.0f;
    float startPitch = 0.0f;
};

// Seconds until the sequence's last key image.
double sequenceLength(const Sequence& sequence);

// The camera of the title sweep at `clock`: through the opening viewpoint
// and each key image's state (position: the eye; angles: pitch and yaw) on
// a smooth curve. Past the last key the eye rests there.
void poseTitleCamera(const TitlePlayback& title, CameraState& camera);

}  // namespace morvanex
