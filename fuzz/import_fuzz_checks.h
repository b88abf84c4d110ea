// Checks shared by the importer fuzzers: a result is an error with nothing
// built, or objects whose meshes index only their own vertices and whose
// links point only at records of the result; adding it to a scene keeps the
// scene sound.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unordered_set>

#include "import/import_result.h"
#include "scene/scene.h"

namespace morvanex::fuzzing {

[[noreturn]] inline void fail(const char* what, const std::string& detail = {}) {
    std::fprintf(stderr, "import fuzz: %s %s\n", what, detail.c_str());
    std::abort();
}

inline void checkResult(ImportResult& r) {
    if (!r.ok()) {
        if (!r.objects.empty() || !r.animations.empty()) fail("a failed import built objects", r.error);
        return;
    }
    std::unordered_set<const SceneObject*> objects;
    for (const auto& o : r.objects) objects.insert(o.get());
    std::unordered_set<const SceneTexture*> textures;
    for (const auto& t : r.textures) textures.insert(t.get());
    const auto inResult = [&](const SceneObject* o) { return o == nullptr || objects.count(o) != 0; };
    for (const auto& owned : r.objects) {
        const SceneObject& o = *owned;
        if (o.indices.size() % 3 != 0 || o.faceSelected.size() != o.indices.size() / 3) fail("mesh shape", o.name);
        for (std::int32_t i : o.indices) {
            if (i < 0 || static_cast<std::size_t>(i) >= o.vertices.size()) fail("index outside the vertices", o.name);
        }
        if (!inResult(o.parent)) fail("parent outside the result", o.name);
        std::size_t steps = 0;
        for (const SceneObject* up = o.parent; up != nullptr; up = up->parent) {
            if (++steps > r.objects.size()) fail("parents loop", o.name);
        }
        for (const SceneObject* child : o.children) {
            if (child == nullptr || !inResult(child) || child->parent != &o) fail("child link", o.name);
        }
        for (const SceneTexture* t : o.textures) {
            if (t != nullptr && textures.count(t) == 0) fail("texture outside the result", o.name);
        }
    }
    for (const auto& a : r.animations) {
        if (!inResult(a->target)) fail("animation target outside the result");
    }
    for (const ImportedSkeleton& s : r.skeletons) {
        if (!inResult(s.root)) fail("skeleton root outside the result");
        for (const ImportedBone& b : s.bones) {
            if (!inResult(b.object)) fail("bone object outside the result");
            if (b.parent < -1 || b.parent >= static_cast<std::int32_t>(s.bones.size())) fail("bone parent");
        }
    }
    if (r.frameObject != nullptr && !inResult(r.frameObject)) fail("frame object outside the result");
    (void)r.report.lines();

    Scene scene;
    const std::size_t before = scene.objectCount();
    const std::size_t count = r.objects.size();
    if (addToScene(r, scene) != count || scene.objectCount() != before + count) fail("objects lost when added");
}

}  // namespace morvanex::fuzzing
