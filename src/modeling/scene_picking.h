// Picking through per-object hierarchies: the same answers as the
// exhaustive loop of mesh_picking.h (object, triangle, point, ties
// included) at a fraction of the cost.
//
// Each object keeps a TriangleBvh in object space, built on first use and
// dropped whenever its mesh changes (SceneObject::meshChanged); deformed
// objects have it refitted to their drawn corners. The scene pass brings
// the ray into each object's space, orders the objects whose root box the
// ray enters by where it enters, and stops once the nearest hit so far lies
// before the next box. An object whose matrix is not affine or not
// invertible, or whose corners are not finite, is tested exhaustively.
#pragma once

#include <optional>

#include "modeling/mesh_picking.h"
#include "modeling/triangle_bvh.h"

namespace morvanex {

class Scene;
struct SceneObject;

// The object's hierarchy, up to date with its mesh and the drawn
// positions (built, rebuilt or refitted as needed).
const TriangleBvh& pickHierarchy(SceneObject& object, std::span<const Vec3> drawnPositions);

// What the object-space rays of one world matrix need: its inverse and
// bounds of how far it and its inverse stretch.
struct ObjectFrame {
    double inverse[3][3] = {};  // of the linear part
    double translation[3] = {};
    double stretch = 0.0;         // bounds the matrix's largest stretch
    double inverseStretch = 0.0;  // ... and its inverse's
    double largestLinear = 0.0;
    double largestTranslation = 0.0;
};

// None when the matrix is not affine or not invertible.
std::optional<ObjectFrame> objectFrame(const Mat4& world);

// The world ray in the space of an object whose hierarchy has this root,
// with the margins that keep its box tests conservative; none when they
// would not be finite.
std::optional<BvhRay> objectSpaceRay(const Ray& ray, const ObjectFrame& frame, const BvhNode& root);

// intersectMesh through the hierarchy: the same answer.
MeshHit intersectMeshFast(SceneObject& object, const Ray& ray, const MeshQuery& query);

// pickExhaustive through the hierarchies: the same answer.
PickHit pickScene(Scene& scene, const Ray& ray, const PickRules& rules);

}  // namespace morvanex
