// Pieces every importer uses to turn what it read into scene objects.
#pragma once

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "scene/math.h"
#include "scene/mesh_vertex.h"
#include "scene/scene_object.h"

namespace morvanex {

// Material colours 1 to 3 of a fresh imported object.
inline constexpr Vec4 kImportedDiffuse{0.7f, 0.7f, 0.7f, 1.0f};
inline constexpr Vec4 kImportedAmbient{0.1f, 0.1f, 0.1f, 1.0f};
inline constexpr Vec4 kImportedSpecular{0.7f, 0.7f, 0.7f, 1.0f};

// A named object with the imported look and no mesh yet.
std::unique_ptr<SceneObject> newImportedObject(std::string name);

// Gives the object a mesh of one vertex per corner (indices 0, 1, 2, ...).
void giveCornerMesh(SceneObject& object, std::vector<MeshVertex> vertices);

// The box around positions, grown one point at a time; empty at first. A
// coordinate that is not a number leaves the box as it was.
struct PositionBounds {
    Vec3 min{INFINITY, INFINITY, INFINITY};
    Vec3 max{-INFINITY, -INFINITY, -INFINITY};
    void add(Vec3 p) {
        min = componentMin(p, min);
        max = componentMax(p, max);
    }
    void add(const PositionBounds& other) {
        min = componentMin(other.min, min);
        max = componentMax(other.max, max);
    }
};

// 0, 1, 2, ...: the indices of a mesh of `count` corners, made in one pass.
std::vector<std::int32_t> cornerIndices(std::size_t count);

// The same with the indices (from cornerIndices) and the bounds already
// made, for meshes of millions of corners: they can be made in parallel.
void giveCornerMesh(SceneObject& object, std::vector<MeshVertex> vertices, std::vector<std::int32_t> indices,
                    const PositionBounds& bounds);

// The face normal of a triangle in scene space (corners in drawing order);
// (0, 0, 1) for a triangle without area.
Vec3 triangleNormal(Vec3 a, Vec3 b, Vec3 c);

// "name", or "name1", "name2", ... : the first that `taken` does not hold.
// `taken` is any container with count(). An empty name stays empty.
template <typename Names>
std::string uniqueName(const std::string& name, const Names& taken) {
    if (name.empty() || taken.count(name) == 0) return name;
    for (unsigned long k = 1;; ++k) {
        std::string candidate = name + std::to_string(k);
        if (taken.count(candidate) == 0) return candidate;
    }
}

}  // namespace morvanex
