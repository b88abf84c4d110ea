// Copies of scene objects: full duplicates with their own triangles, and
// arrays of instance copies that share their source's mesh and are carried
// by it as link records.
#pragma once

#include <vector>

#include "scene/math.h"

namespace morvanex {

class Scene;
struct SceneObject;

// The x, y, z extent an object's copies are spaced by: that of its group's
// objects together (world space) when it belongs to one, else its own base
// size (its mesh's extent, unscaled).
Vec3 copySpacing(const Scene& scene, const SceneObject& object);

// A full copy appended to the scene: same name, look and transform, each
// triangle with three fresh vertices (indices 0, 1, 2, ...), placed at the
// source's position plus offset. The copy of a group member or leader
// copies the whole group, under a leader of its own. Returns the copy of
// the object itself.
SceneObject& duplicateObject(Scene& scene, SceneObject& source, Vec3 offset);

// c x r instance copies of the source (of its group's leader with its
// members for a grouped object), copy (i, j) for i = 1..c and j = 0..r-1
// at the position + (i * spacing.x, 0, j * spacing.z). Copies are not
// saved as objects: their source keeps them as link records. Counts below
// 1 make nothing; the count is capped so that a typing slip cannot fill
// the memory.
std::vector<SceneObject*> makeInstanceArray(Scene& scene, SceneObject& source, int columns, int rows,
                                            Vec3 spacing);
inline constexpr int kMaxArrayCopies = 10000;

}  // namespace morvanex
