#include "render/view_volume.h"

#include <algorithm>
#include <cmath>

#include "scene/scene_object.h"

namespace morvanex {

namespace {

Plane planeFrom(float a, float b, float c, float d) {
    const float len = std::sqrt(a * a + b * b + c * c);
    if (len == 0.0f || !std::isfinite(len)) return Plane{{0.0f, 0.0f, 0.0f}, 1.0f};  // accepts everything
    return Plane{{a / len, b / len, c / len}, d / len};
}

float column(const Mat4& m, int row, int col) { return m.m[row][col]; }

}  // namespace

ViewVolume ViewVolume::fromMatrix(const Mat4& m) {
    // With row vectors the clip coordinates are p . column j; the planes are
    // sums and differences of the columns (x, y in -w..w, z in 0..w).
    const auto plane = [&](int col, float sign, bool withW) {
        const float s = sign;
        return planeFrom((withW ? column(m, 0, 3) : 0.0f) + s * column(m, 0, col),
                         (withW ? column(m, 1, 3) : 0.0f) + s * column(m, 1, col),
                         (withW ? column(m, 2, 3) : 0.0f) + s * column(m, 2, col),
                         (withW ? column(m, 3, 3) : 0.0f) + s * column(m, 3, col));
    };
    ViewVolume v;
    v.planes[0] = plane(0, 1.0f, true);    // left:   w + x >= 0
    v.planes[1] = plane(0, -1.0f, true);   // right:  w - x >= 0
    v.planes[2] = plane(1, 1.0f, true);    // bottom: w + y >= 0
    v.planes[3] = plane(1, -1.0f, true);   // top:    w - y >= 0
    v.planes[4] = plane(2, 1.0f, false);   // near:   z >= 0
    v.planes[5] = plane(2, -1.0f, true);   // far:    w - z >= 0
    return v;
}

bool ViewVolume::containsSphere(Vec3 centre, float radius) const {
    return std::all_of(planes.begin(), planes.end(),
                       [&](const Plane& p) { return !(p.distance(centre) < -radius); });
}

BoundingSphere worldBoundingSphere(const SceneObject& object, const Mat4& world) {
    const Vec3 halfExtent = (object.boundsMax - object.boundsMin) * 0.5f;
    float scale = 0.0f;
    for (int row = 0; row < 3; ++row) {
        scale = std::max(scale, length(Vec3{world.m[row][0], world.m[row][1], world.m[row][2]}));
    }
    return {transformPoint(object.boundsCentre, world), length(halfExtent) * scale};
}

bool objectInView(const SceneObject& object, const ViewVolume& volume) {
    if (object.vertices.empty()) return false;
    const auto visible = [&](const Mat4& world) {
        const BoundingSphere s = worldBoundingSphere(object, world);
        // A matrix full of NaN says nothing about where the object is: draw it.
        if (!std::isfinite(s.radius) || !std::isfinite(s.centre.x + s.centre.y + s.centre.z)) return true;
        return volume.containsSphere(s.centre, s.radius);
    };
    if (visible(object.worldMatrix)) return true;
    int tested = 0;
    for (const ObjectLink& link : object.links) {
        if (tested++ >= kViewTestCopies) break;
        if (link.object != nullptr && visible(link.object->worldMatrix)) return true;
    }
    return false;
}

}  // namespace morvanex
