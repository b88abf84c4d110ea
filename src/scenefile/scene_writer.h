// Writing scene files: always the newest version.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "base/byte_progress.h"

namespace morvanex {

class Scene;
struct SceneObject;

struct SceneWriteOptions {
    // Only the current object and the objects that share its group leader,
    // only animations whose target is the current object, no saved viewpoint.
    bool selectionOnly = false;
    // Hears how many bytes reached the disk (writeSceneFile only).
    ByteProgress progress{};
};

struct SceneWriteResult {
    bool ok = false;
    std::string error;  // why the file could not be written
    std::int32_t objectsWritten = 0;
    std::int32_t animationsWritten = 0;
};

// What a selection-only save writes: the scene's current object and the
// objects that share its group leader.
bool inSelection(const Scene& scene, const SceneObject& object);

// The bytes of the scene as the newest version; `counts`, when given, gets
// the numbers of objects and animations written. The saved objects are
// numbered while writing (later records refer to them by number) and their
// numbers are cleared again afterwards.
std::vector<std::uint8_t> writeScene(Scene& scene, const SceneWriteOptions& options, SceneWriteResult* counts = nullptr);

// Writes the file safely: to a temporary file in the same folder, flushed,
// then renamed over the target, so a failure never harms the previous file.
SceneWriteResult writeSceneFile(const std::filesystem::path& path, Scene& scene, const SceneWriteOptions& options);

}  // namespace morvanex
