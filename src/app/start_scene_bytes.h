// The two scenes carried inside the program: "logo.mrx", the title scene
// played at start, and "camera.mrx", whose body becomes the scene's camera
// object. Made at build time (tools/start_scenes) and compiled in.
#pragma once

#include <cstdint>
#include <span>

namespace morvanex {

std::span<const std::uint8_t> embeddedTitleScene();
std::span<const std::uint8_t> embeddedCameraScene();

}  // namespace morvanex
