#include "modeling/ray_triangle.h"

#include <cmath>

namespace morvanex {

bool facesAlong(Vec3 direction, Vec3 p0, Vec3 p1, Vec3 p2) {
    const Vec3 normal = normalize(cross(p2 - p0, p1 - p0));
    return angleBetween(normal, direction) < kFacingAngle;
}

std::optional<TriangleHit> intersectTriangle(const Ray& ray, Vec3 p0, Vec3 p1, Vec3 p2, bool facingOnly) {
    if (facingOnly && !facesAlong(ray.direction, p0, p1, p2)) return std::nullopt;
    const Vec3 edge1 = p1 - p0;
    const Vec3 edge2 = p2 - p0;
    const Vec3 p = cross(ray.direction, edge2);
    const float det = dot(edge1, p);
    // Written as "not at least" so that a damaged (NaN) corner is a miss.
    if (!(std::fabs(det) >= kParallelDeterminant)) return std::nullopt;
    const float inverseDet = 1.0f / det;
    const Vec3 s = ray.origin - p0;
    const float u = dot(s, p) * inverseDet;
    if (!(u >= 0.0f)) return std::nullopt;
    const Vec3 q = cross(s, edge1);
    const float v = dot(ray.direction, q) * inverseDet;
    if (!(v >= 0.0f) || !(u + v <= 1.0f)) return std::nullopt;
    const float t = dot(edge2, q) * inverseDet;
    if (!(t >= 0.0f)) return std::nullopt;
    return TriangleHit{t, u, v};
}

}  // namespace morvanex
