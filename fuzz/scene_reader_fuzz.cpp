// libFuzzer target of the scene file reader.
//
// Every input is read into a fresh scene, once replacing the header and once
// keeping it. The read must return with a known status and leave a sound
// scene: every pointer between records names a record of the scene, every
// index lies inside its mesh; a complete read used every byte. When anything
// was read, the scene is written and the bytes read back: they must read
// completely, into a sound scene with the same objects, which writes the
// same bytes again.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#include <unordered_set>
#include <vector>

#include "scene/scene.h"
#include "scenefile/scene_reader.h"
#include "scenefile/scene_writer.h"

namespace {

using namespace morvanex;

[[noreturn]] void fail(const char* what, const std::string& detail = {}) {
    std::fprintf(stderr, "scene_reader_fuzz: %s %s\n", what, detail.c_str());
    std::abort();
}

void checkScene(const Scene& scene) {
    std::unordered_set<const SceneObject*> objects;
    for (const auto& o : scene.objects()) objects.insert(o.get());
    std::unordered_set<const Animation*> animations;
    for (const auto& a : scene.animations()) animations.insert(a.get());
    std::unordered_set<const SceneTexture*> textures;
    for (const auto& t : scene.textures()) textures.insert(t.get());
    const auto inScene = [&objects](const SceneObject* o) { return o == nullptr || objects.count(o) != 0; };

    for (const auto& owned : scene.objects()) {
        const SceneObject& o = *owned;
        if (o.animation != nullptr && animations.count(o.animation) == 0) fail("object animation not in the scene", o.name);
        if (!inScene(o.parent)) fail("parent not in the scene", o.name);
        std::size_t steps = 0;
        for (const SceneObject* up = o.parent; up != nullptr; up = up->parent) {
            if (!inScene(up) || ++steps > scene.objectCount()) fail("parents loop or leave the scene", o.name);
        }
        for (const SceneObject* child : o.children) {
            if (child == nullptr || !inScene(child)) fail("child not in the scene", o.name);
            if (child->parent != &o) fail("child listed under an object that is not its parent", o.name);
        }
        for (const ObjectLink& link : o.links) {
            if (!inScene(link.object)) fail("linked object not in the scene", o.name);
        }
        for (const SceneTexture* t : o.textures) {
            if (t != nullptr && textures.count(t) == 0) fail("texture not in the scene", o.name);
        }
        const auto vertexCount = static_cast<std::int64_t>(o.vertices.size());
        for (std::int32_t index : o.indices) {
            if (index < 0 || index >= vertexCount) fail("index outside the vertices", o.name);
        }
        if (o.faceSelected.size() != o.indices.size() / 3) fail("face selection does not match", o.name);
    }
    for (const auto& t : scene.textures()) {
        if (!inScene(t->lastAttachedObject)) fail("texture's last object not in the scene", t->fileName);
    }
    for (const auto& a : scene.animations()) {
        if (!inScene(a->target)) fail("animation target not in the scene", a->targetName);
        for (const Sequence* reference : a->sequenceReferences) {
            if (reference != nullptr && reference->animation != a.get()) fail("foreign sequence reference", a->targetName);
        }
        for (const auto& sequence : a->sequences) {
            if (sequence->animation != a.get()) fail("foreign sequence", a->targetName);
            for (const auto& key : sequence->keyImages) {
                for (const auto& state : key->states) {
                    if (!inScene(state->object)) fail("state of an object not in the scene", a->targetName);
                }
            }
        }
    }
}

// Objects a write keeps: listed, not service objects, not named "Grille".
std::size_t savedObjects(const Scene& scene) {
    std::size_t n = 0;
    for (const auto& o : scene.objects()) n += scene.isSaved(*o) ? 1 : 0;
    return n;
}

void readOnce(std::span<const std::uint8_t> bytes, bool keepSceneHeader) {
    Scene scene;
    SceneReadOptions options;
    options.keepSceneHeader = keepSceneHeader;
    const SceneReadReport report = readScene(bytes, scene, options);
    switch (report.status) {
    case ReadStatus::Complete:
    case ReadStatus::Damaged:
        break;
    case ReadStatus::UnknownTag:
    case ReadStatus::RefusedTag:
        if (scene.objectCount() != kServiceObjectCount || !scene.animations().empty()) fail("refused file added records");
        return;
    case ReadStatus::Unreadable:
        fail("bytes in memory reported unreadable");
    }
    if (report.errorOffset > bytes.size()) fail("error offset past the end", report.error);
    // A complete read used every byte, so the input one byte shorter cannot
    // read completely: bytes left unread would be lost by the next save.
    if (report.complete()) {
        Scene shorter;
        if (readScene(bytes.first(bytes.size() - 1), shorter, options).complete()) fail("a byte was left unread");
    }
    checkScene(scene);

    const std::vector<std::uint8_t> written = writeScene(scene, SceneWriteOptions{});
    Scene again;
    const SceneReadReport back = readScene(written, again, SceneReadOptions{});
    if (!back.complete()) fail("a written scene does not read back completely", back.error);
    checkScene(again);
    if (savedObjects(again) != savedObjects(scene)) fail("the written scene reads back with other objects");
    // And what a written file reads into writes the very same bytes again.
    if (writeScene(again, SceneWriteOptions{}) != written) fail("a written scene, read and written again, changes");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    readOnce(bytes, false);
    readOnce(bytes, true);
    return 0;
}
