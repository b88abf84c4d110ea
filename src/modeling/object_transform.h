// The world matrix of a scene object, rebuilt from its transform components
// (scale, pivot rotation, position) and passed on to the linked copies it
// carries.
#pragma once

#include "scene/math.h"

namespace morvanex {

class Scene;
struct SceneObject;

// The rotation of an axis and angle, with the full-turn angles nudged off
// exactly 2 pi (where the conversion would lose the turn's direction).
Quat orientationFromAxisAngle(Vec3 axis, float angle);

// baseMatrix x Scale(scale), then the rotation about the pivot (the pivot
// taken through the scaled matrix), without the position.
Mat4 localMatrixWithoutPosition(const SceneObject& object);

// What follows an object's own matrix on the way to the world: its
// parent's world matrix for a child, the carrying object's frame for a
// linked copy, the identity for an object on its own. A turn about a world
// axis is a turn about that axis taken through the inverse of this.
Mat4 placingFrame(const SceneObject& object);

// Rebuilds object.worldMatrix and object.orientation, then places each
// linked copy from its own components relative to this object (its link's
// relative matrix and its world matrix) and each child in its frame. An
// object with a parent is placed through its topmost ancestor's rebuild.
void rebuildWorldMatrix(SceneObject& object);

// Every object of the scene, after a scene was read or replaced.
void rebuildWorldMatrices(Scene& scene);

}  // namespace morvanex
