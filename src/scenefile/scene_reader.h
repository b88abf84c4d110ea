// Reading scene files: every version ever written, damage survived.
//
// The reader works on the bytes of a whole file. It never reads past them,
// checks every count against the bytes that remain before allocating, and
// on the first sign of damage stops: the object being read is discarded,
// the objects and animations already complete stay in the scene, and the
// report says what was being read and at which byte offset.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "base/byte_progress.h"

namespace morvanex {

class Scene;

enum class ReadStatus {
    Complete,    // the whole file was read
    Damaged,     // stopped at damage; what was complete is in the scene
    UnknownTag,  // not a scene file of any known version: nothing read
    RefusedTag,  // a known tag of the older family whose layout is not read
    Unreadable,  // the file could not be opened or read
};

struct SceneReadOptions {
    // Where texture files named by the scene are looked for: the texture
    // folder first, then the scene folder. Empty folders are skipped.
    std::filesystem::path textureFolder;
    std::filesystem::path sceneFolder;
    // The copy of the file being read that embedded textures will refer to
    // for their bytes (the backup made when the scene was opened); when empty,
    // the file itself.
    std::string backupPath;
    // Merging or updating: the header is read but leaves the scene's camera,
    // lights and settings alone.
    bool keepSceneHeader = false;
    // Hears the read position after each record; a whole file ends with
    // the position at the end of the bytes.
    ByteProgress progress{};
};

struct SceneReadReport {
    ReadStatus status = ReadStatus::Unreadable;
    std::string tag;              // as found at the start of the file
    std::string error;            // empty when complete: what failed and where
    std::size_t errorOffset = 0;  // byte offset of the damage
    std::int32_t objectsDeclared = 0;
    std::int32_t objectRecordsRead = 0;  // complete object records (links not counted)
    std::int32_t animationsDeclared = 0;
    std::int32_t animationRecordsRead = 0;
    bool headerRead = false;      // the header's values are in the scene (or were read and kept out)
    std::size_t trailingBytes = 0;  // bytes after the last record: damage from errorOffset on
    // Texture files named by the scene and found in neither folder. Their
    // names stay in the object's slot (disabled), so a save keeps them.
    std::vector<std::string> missingTextures;
    // The target of the last animation whose starting sequence is set: the
    // object the cinematic camera rides; null when none.
    struct SceneObject* attachedObject = nullptr;

    bool complete() const { return status == ReadStatus::Complete; }
};

// Reads a scene held in memory into `scene` (objects and animations are
// appended; the header replaces the scene's settings unless told not to).
SceneReadReport readScene(std::span<const std::uint8_t> bytes, Scene& scene, const SceneReadOptions& options);

// Reads a scene file; an unreadable file leaves the scene untouched.
SceneReadReport readSceneFile(const std::filesystem::path& path, Scene& scene, const SceneReadOptions& options);

// The tag and the header alone, read into nothing: Complete when both are
// whole, otherwise the report a full read would give (nothing is in a
// scene yet). For the checks made before a scene is replaced.
SceneReadReport checkSceneStart(std::span<const std::uint8_t> bytes);

// One line for the user: "damaged at byte 1234 while reading the vertices of
// object 3", "not a scene file", ...
std::string describeReadReport(const SceneReadReport& report);

}  // namespace morvanex
