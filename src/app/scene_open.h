// Opening a scene file straight through the reader: the one place both the
// editor and the command-line jobs open a scene until the full open
// procedure (backup copy, service markers, recent list) replaces it.
#pragma once

#include <filesystem>

#include "scenefile/scene_reader.h"

namespace morvanex {

class Scene;
struct CameraState;

// Empties the scene (its service objects stay), reads the file into it,
// rebuilds every world matrix and takes the stored camera, which then
// glides in. A damaged file keeps what was read before the damage.
SceneReadReport openSceneThroughReader(const std::filesystem::path& file, Scene& scene, CameraState& camera);

// True when the report leaves a scene worth showing (complete or damaged).
bool sceneOpened(const SceneReadReport& report);

}  // namespace morvanex
