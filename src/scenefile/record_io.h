// Shared state of one scene file read or write, used by the record readers
// and writers of objects and animations.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "scene/scene_limits.h"
#include "scenefile/byte_reader.h"
#include "scenefile/byte_writer.h"
#include "scenefile/file_versions.h"
#include "scenefile/scene_reader.h"

namespace morvanex {

class Scene;
struct SceneObject;
struct SceneTexture;

struct RecordReadContext {
    RecordReadContext(ByteReader& reader, FileVersion fileVersion, Scene& targetScene, const SceneReadOptions& readOptions)
        : in(reader), version(fileVersion), scene(targetScene), options(readOptions) {}

    ByteReader& in;
    FileVersion version;
    Scene& scene;
    const SceneReadOptions& options;
    bool embedTextures = false;  // header flag: every texture carries its bytes
    bool decimalKeyTimes = false;  // the older family writes key times as text

    // Objects by save index (entry 0 stays empty), as later records refer to them.
    std::vector<SceneObject*> bySaveIndex{nullptr};
    // The record being read, for the damage report ("object 3 \"box\"").
    std::string record;
    std::vector<std::string> missingTextures;
    // Bytes of mesh the linked copies take so far, and how many the file may ask for.
    std::uint64_t linkedCopyBytes = 0;
    std::uint64_t linkedCopyBudget = 0;
    // The object the cinematic camera rides, as the last animation says.
    SceneObject* attachedObject = nullptr;

    SceneObject* objectBySaveIndex(std::int32_t index) const;
    SceneObject* objectByName(const std::string& name) const;  // first of that name
};

struct RecordWriteContext {
    ByteWriter& out;
    Scene& scene;
    bool embedTextures = false;
    // Textures whose bytes this file already carries: later references say 0.
    std::unordered_set<const SceneTexture*> texturesWritten;
};

// Objects (the record, its textures, vertices, indices and, for old files,
// the legacy block). A read that meets damage leaves the scene as it was.
bool readObjectRecord(RecordReadContext& context);
void writeObjectRecord(RecordWriteContext& context, const SceneObject& object);

// The animation section after the objects.
bool readAnimationRecord(RecordReadContext& context);
void writeAnimationRecord(RecordWriteContext& context, const struct Animation& animation);
// The parts of an animation record that animation files hold too: the
// 1532-byte header and the sequences with their key images and states.
struct AnimationHeader {
    std::string targetName;
    std::array<std::string, kSequenceReferences> references;
    std::uint8_t animationFlag = 0;
    std::uint8_t cameraFlag = 0;
};
AnimationHeader readAnimationHeader(ByteReader& in);
void writeAnimationHeader(ByteWriter& out, const struct Animation& animation);
// Sequences cut short by damage are dropped; a state's object is found by
// number through the context.
void readAnimationSequences(RecordReadContext& context, struct Animation& animation, bool cameraAnimation);
void writeAnimationSequences(RecordWriteContext& context, const struct Animation& animation);
// Animations the writer keeps: target still in the scene and saved, and
// either target children or at least one sequence.
bool animationIsWritten(const Scene& scene, const struct Animation& animation, bool selectionOnly);

// Size of the smallest record of each kind, to bound counts before reading.
inline constexpr std::size_t kMinObjectRecordBytes = 1 + 4 * 7 + 64;
inline constexpr std::size_t kAnimationHeaderBytes = 1532;

}  // namespace morvanex
