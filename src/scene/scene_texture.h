// A texture of the scene's shared texture cache, found by file name.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/file_names.h"

namespace morvanex {

struct SceneObject;

struct SceneTexture {
    SceneTexture() = default;
    explicit SceneTexture(std::string name) : fileName(std::move(name)) {}

    // As the scene file holds it, written back unchanged; the cache key. It
    // should be a name without folder, but only textureFileLeaf() of it is
    // ever looked for on disk.
    std::string fileName;
    std::string fullPath;  // where the image was loaded from

    // A texture that came embedded in a scene file remembers where its bytes
    // lie in that scene's backup copy, so that saving over the original file
    // can still copy them.
    bool embedded = false;
    std::string backupPath;
    std::uint64_t embeddedOffset = 0;  // bytes from the start of the backup
    std::uint32_t embeddedLength = 0;  // bytes
    // The complete image file as it lay in the scene file, kept so that a
    // save never loses it.
    std::vector<std::uint8_t> embeddedBytes;

    // Named by a scene but found nowhere: kept so that its name is saved
    // again, never drawn.
    bool missing = false;

    // Slot 1 of an object whose normal-map switch is on is turned into a
    // normal map.
    bool normalMap = false;

    // Graphics handles (0 = none); owned and released by the renderer.
    std::uint32_t gpuTexture = 0;
    std::uint32_t gpuView = 0;

    SceneObject* lastAttachedObject = nullptr;  // non-owning
};

// The file a texture name stands for: what follows its last '/' or '\'; empty
// for "." and "..". Names come from scene files, which may be hostile, so
// every path made from a texture name is made from this: joined to a folder,
// it stays in that folder.
inline std::string_view textureFileLeaf(std::string_view name) { return fileNameLeaf(name); }

}  // namespace morvanex
