// The two scenes the program carries inside itself: the title scene played
// at start ("logo.mrx") and the camera object's scene ("camera.mrx").
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "scene/math.h"

namespace morvanex {

class Scene;

inline constexpr const char* kTitleText = "Morvanex";
inline constexpr const char* kTitleSequenceName = "Nouvelle animation";
inline constexpr const char* kCameraBodyName = "souder 1";
inline constexpr const char* kViewVolumeName = "volume~0";
// Times of the title sequence's three key images, seconds.
inline constexpr double kTitleKeyTimes[3] = {3.9, 7.8, 11.66};

// A viewpoint of the title sweep: where the eye is and where it looks.
struct TitleViewpoint {
    Vec3 eye;
    float yaw = 0.0f;
    float pitch = 0.0f;
};
TitleViewpoint viewpointLookingAt(Vec3 eye, Vec3 target);

// Fills an empty scene with the title: the name in solid letters cut from
// the font, five decorations and the camera's sweep. False (with why) when
// the font cannot give the letters.
bool buildTitleScene(Scene& scene, std::span<const std::uint8_t> boldFont, std::string* why);

// The camera object ("souder 1": a body with a lens) and its view volume.
void buildCameraScene(Scene& scene);

}  // namespace morvanex
