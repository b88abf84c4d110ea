// The view-volume test: whole objects outside the six planes of a view and
// projection are not drawn. Pure CPU code.
#pragma once

#include <array>

#include "scene/math.h"

namespace morvanex {

struct SceneObject;

// Copies of an object looked at when deciding whether it is in view.
inline constexpr int kViewTestCopies = 50;

struct Plane {
    Vec3 normal;  // points into the volume
    float offset = 0.0f;
    float distance(Vec3 p) const { return dot(normal, p) + offset; }
};

// Left, right, bottom, top, near, far planes of a row-vector view x
// projection whose clip depth runs 0..1.
struct ViewVolume {
    std::array<Plane, 6> planes;
    static ViewVolume fromMatrix(const Mat4& viewProjection);
    bool containsSphere(Vec3 centre, float radius) const;
};

struct BoundingSphere {
    Vec3 centre;
    float radius = 0.0f;
};

// The sphere around the object's local box placed by a world matrix (the
// radius grows with the matrix's largest axis scale).
BoundingSphere worldBoundingSphere(const SceneObject& object, const Mat4& world);

// True when the object, or one of its first kViewTestCopies linked copies,
// touches the volume. An object without vertices is never in view.
bool objectInView(const SceneObject& object, const ViewVolume& volume);

}  // namespace morvanex
