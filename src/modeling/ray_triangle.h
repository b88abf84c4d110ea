// Ray against one triangle: the Moller-Trumbore test, with the facing rule
// and the limits every picking path shares. The exhaustive loop and the
// hierarchy both call this one function, so that they agree to the bit.
#pragma once

#include <optional>

#include "scene/math.h"

namespace morvanex {

// A ray in world or object space. The direction is not normalised:
// distances along it are measured in its own units.
struct Ray {
    Vec3 origin;
    Vec3 direction{0.0f, 0.0f, 1.0f};
};

// A determinant below this (in absolute value) counts as a ray parallel to
// the triangle.
inline constexpr float kParallelDeterminant = 1e-4f;
// The facing test keeps triangles whose normal makes a smaller angle than
// this with the ray direction.
inline constexpr float kFacingAngle = 1.5707964f;

struct TriangleHit {
    float t = 0.0f;  // origin + t * direction is the hit
    float u = 0.0f;  // barycentric weights of corners 1 and 2
    float v = 0.0f;
};

// True when the triangle faces along the ray: the angle between
// normalize((p2 - p0) x (p1 - p0)) and the direction is below kFacingAngle.
bool facesAlong(Vec3 direction, Vec3 p0, Vec3 p1, Vec3 p2);

// The hit of the ray on the triangle, or none: a determinant below
// kParallelDeterminant, u < 0, v < 0, u + v > 1 or t < 0 is a miss, and so
// is anything not a number (a damaged corner). With
// facingOnly, triangles that fail facesAlong() are missed too.
std::optional<TriangleHit> intersectTriangle(const Ray& ray, Vec3 p0, Vec3 p1, Vec3 p2, bool facingOnly);

}  // namespace morvanex
