// A texture of the scene's shared texture cache, found by file name.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace morvanex {

struct SceneObject;

struct SceneTexture {
    SceneTexture() = default;
    explicit SceneTexture(std::string name) : fileName(std::move(name)) {}

    std::string fileName;  // name only, no folder; the cache key
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

}  // namespace morvanex
