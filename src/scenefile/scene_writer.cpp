#include "scenefile/scene_writer.h"

#include <unordered_set>

#include "base/safe_file.h"
#include "scene/scene.h"
#include "scenefile/record_io.h"

namespace morvanex {

bool inSelection(const Scene& scene, const SceneObject& object) {
    const SceneObject* current = scene.currentObject;
    if (current == nullptr) return false;
    const SceneObject* leader = current->groupLeader != nullptr ? current->groupLeader : current;
    return &object == current || &object == leader || object.groupLeader == leader;
}

namespace {

// Numbers the saved objects in list order, each linked copy right after its
// owner; returns the objects whose records are written (linked copies are
// rebuilt from their owner's link records, not written themselves).
std::vector<const SceneObject*> numberSavedObjects(Scene& scene, const SceneWriteOptions& options) {
    std::vector<const SceneObject*> written;
    std::unordered_set<const SceneObject*> linked;
    for (const auto& object : scene.objects()) object->saveIndex = 0;
    for (const auto& object : scene.objects()) {
        if (!scene.isSaved(*object) || (options.selectionOnly && !inSelection(scene, *object))) continue;
        for (const ObjectLink& link : object->links) {
            if (link.object != nullptr) linked.insert(link.object);
        }
    }
    std::int32_t next = 1;
    for (const auto& object : scene.objects()) {
        if (!scene.isSaved(*object) || linked.count(object.get()) != 0) continue;
        if (options.selectionOnly && !inSelection(scene, *object)) continue;
        object->saveIndex = next++;
        written.push_back(object.get());
        for (const ObjectLink& link : object->links) {
            if (link.object != nullptr && link.object->saveIndex == 0) link.object->saveIndex = next++;
        }
    }
    return written;
}

void writeHeader(ByteWriter& out, const Scene& scene, const SceneWriteOptions& options) {
    out.cstr(kNewestFileTag);
    // Where the eye is going is where the user put it; the eye itself may be
    // gliding there still.
    out.vec3(scene.eyeTarget);
    out.f32(scene.pitch);
    out.f32(scene.yaw);
    out.f32(scene.fieldOfView);
    out.f32(scene.rangeValue);
    const SceneSettings& s = scene.settings;
    out.i32(s.shadingMode);
    out.i32(scene.activeLightCount);
    for (const SceneLight& light : scene.lights) {
        out.f32(light.intensity);
        out.vec4(light.positionOrColour);
        out.f32(light.secondValue);
    }
    out.bool32(s.flagA);
    out.bool32(s.embedTextures);
    if (options.selectionOnly) {
        out.i32(0);
    } else {
        out.i32(static_cast<std::int32_t>(scene.viewpoints.size()));
        for (const SavedViewpoint& view : scene.viewpoints) {
            out.f32(view.pitch);
            out.f32(view.yaw);
            out.vec3(view.eye);
            out.cstr(view.imageFileName.empty() ? std::string_view(" ") : std::string_view(view.imageFileName));
        }
    }
    out.vec4(scene.backgroundColour);
    out.bool32(s.flagB);
    out.bool32(s.flagC);
    out.bool32(s.flagD);
    out.f32(s.valueE);
    out.f32(s.valueF);
    out.f32(s.groundShading);
    out.vec4(s.groundColour);
    out.i32(s.groundMode);
    out.f32(s.groundScale);
    out.cstr(s.groundImageName.empty() ? std::string_view(" ") : std::string_view(s.groundImageName));
}

// Room for the fields and the small meshes, which are copied among them;
// large meshes are written from where they sit.
std::size_t estimatedFieldBytes(const std::vector<const SceneObject*>& objects) {
    std::size_t bytes = 4096;
    for (const SceneObject* o : objects) {
        bytes += 1024;
        for (const std::size_t mesh : {o->vertices.size() * sizeof(MeshVertex), o->indices.size() * 4}) {
            if (mesh < ByteWriter::kInPlaceMinimum) bytes += mesh;
        }
    }
    return bytes;
}

// The scene's bytes, the meshes referred to where they sit.
ByteWriter serialiseScene(Scene& scene, const SceneWriteOptions& options, SceneWriteResult* counts) {
    const std::vector<const SceneObject*> objects = numberSavedObjects(scene, options);
    ByteWriter out;
    out.reserve(estimatedFieldBytes(objects));
    writeHeader(out, scene, options);
    RecordWriteContext context{out, scene, scene.settings.embedTextures, {}};
    out.i32(static_cast<std::int32_t>(objects.size()));
    for (const SceneObject* object : objects) writeObjectRecord(context, *object);

    std::vector<const Animation*> animations;
    for (const auto& animation : scene.animations()) {
        if (animationIsWritten(scene, *animation, options.selectionOnly)) animations.push_back(animation.get());
    }
    out.i32(static_cast<std::int32_t>(animations.size()));
    for (const Animation* animation : animations) writeAnimationRecord(context, *animation);

    for (const auto& object : scene.objects()) object->saveIndex = 0;
    if (counts != nullptr) {
        counts->objectsWritten = static_cast<std::int32_t>(objects.size());
        counts->animationsWritten = static_cast<std::int32_t>(animations.size());
    }
    return out;
}

}  // namespace

std::vector<std::uint8_t> writeScene(Scene& scene, const SceneWriteOptions& options, SceneWriteResult* counts) {
    return serialiseScene(scene, options, counts).joined();
}

SceneWriteResult writeSceneFile(const std::filesystem::path& path, Scene& scene, const SceneWriteOptions& options) {
    SceneWriteResult result;
    const ByteWriter bytes = serialiseScene(scene, options, &result);
    result.ok = replaceFileSafely(path, bytes.pieces(), &result.error, options.progress);
    return result;
}

}  // namespace morvanex
