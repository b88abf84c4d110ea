#include "modeling/transform_tools.h"

#include <cmath>
#include <limits>

namespace morvanex {

bool isMoveTool(TransformTool tool) {
    return tool == TransformTool::Move || tool == TransformTool::MoveX || tool == TransformTool::MoveY ||
           tool == TransformTool::MoveZ;
}

bool isRotationTool(TransformTool tool) {
    return tool == TransformTool::Rotate || tool == TransformTool::RotateX || tool == TransformTool::RotateY ||
           tool == TransformTool::RotateZ;
}

bool isPointTool(TransformTool tool) { return tool == TransformTool::PointMove || tool == TransformTool::PointAlign; }

Vec3 viewDirection(float yaw, float pitch) {
    return {std::cos(yaw) * std::cos(pitch), -std::sin(pitch), std::sin(yaw) * std::cos(pitch)};
}

std::optional<Vec3> dragPlaneHit(Vec3 referencePoint, const Ray& ray, Vec3 viewDir, const Mat4* parentWorld) {
    const Vec3 normal = -viewDir;
    const float along = dot(ray.direction, normal);
    if (along == 0.0f || !std::isfinite(along)) return std::nullopt;
    const float t = dot(referencePoint - ray.origin, normal) / along;
    Vec3 hit = ray.origin + ray.direction * t;
    if (!std::isfinite(hit.x) || !std::isfinite(hit.y) || !std::isfinite(hit.z)) return std::nullopt;
    if (parentWorld != nullptr) hit = transformPoint(hit, inverse(*parentWorld).value_or(identity()));
    return hit;
}

Vec3 movedPosition(TransformTool tool, Vec3 startPosition, Vec3 startHit, Vec3 hit) {
    const Vec3 drag = hit - startHit;
    Vec3 p = startPosition;
    switch (tool) {
    case TransformTool::Move: p += drag; break;
    case TransformTool::MoveX: p.x += drag.x; break;
    case TransformTool::MoveY: p.y += drag.y; break;
    case TransformTool::MoveZ: p.z += drag.z; break;
    default: break;
    }
    return p;
}

Quat rotatedOrientation(TransformTool tool, Quat start, int dx, int dy, float sensitivity, float yaw, float pitch,
                        const Mat4& frame) {
    const float a = -static_cast<float>(dx) * kRadiansPerPixel * sensitivity;
    const float b = static_cast<float>(dy) * kRadiansPerPixel * sensitivity;
    // A world direction d is u x frame for the object's own u.
    const Mat4 toOwn = inverse(frame).value_or(identity());
    const auto turn = [&toOwn](Vec3 worldAxis, float angle) {
        const Vec3 own = transformNormal(worldAxis, toOwn);
        return quatFromAxisAngle(lengthSquared(own) > 0.0f ? own : worldAxis, angle);
    };
    switch (tool) {
    case TransformTool::Rotate:
    case TransformTool::Spot: {
        const Vec3 side{std::cos(yaw + kHalfPi), 0.0f, std::sin(yaw + kHalfPi)};
        const Vec3 up = rotate(Vec3{0.0f, 1.0f, 0.0f}, quatFromAxisAngle(side, -pitch));
        return quatThen(quatThen(start, turn(side, b)), turn(up, a));
    }
    case TransformTool::RotateX: return quatThen(start, turn({1.0f, 0.0f, 0.0f}, b));
    case TransformTool::RotateY: return quatThen(start, turn({0.0f, 1.0f, 0.0f}, a));
    case TransformTool::RotateZ: return quatThen(start, turn({0.0f, 0.0f, 1.0f}, b));
    default: return start;
    }
}

AxisAngle axisAngleOfOrientation(Quat q) {
    const float n = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w);
    const float v = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z);
    if (!(n > 0.0f) || !(v > 0.0f) || !std::isfinite(n)) return {Vec3{1.0f, 0.0f, 0.0f}, 0.0f};
    // w / n, clamped: acos of a rounding error above 1 would be no number.
    const float w = std::fmax(-1.0f, std::fmin(1.0f, q.w / n));
    return {Vec3{q.x / v, q.y / v, q.z / v}, 2.0f * std::acos(w)};
}

namespace {

// value, kept on the side of zero where start lies and at least kLeastScale from it.
float keptOffZero(float value, float start) {
    return start < 0.0f ? std::fmin(value, -kLeastScale) : std::fmax(value, kLeastScale);
}

}  // namespace

Vec3 scaledBy(ScaleHandle handle, Vec3 startScale, int dx, int dy) {
    const float s = static_cast<float>(dx) * kScalePerPixel;
    const float t = static_cast<float>(dy) * kScalePerPixel;
    Vec3 scale = startScale;
    switch (handle) {
    case ScaleHandle::Corner: scale += Vec3{s, s, s}; break;
    case ScaleHandle::BottomY:
    case ScaleHandle::TopY: scale.y += t; break;
    case ScaleHandle::LeftX:
    case ScaleHandle::RightX: scale.x += s; break;
    case ScaleHandle::BackZ:
    case ScaleHandle::FrontZ: scale.z += s; break;
    case ScaleHandle::None: break;
    }
    if (scale.x != startScale.x) scale.x = keptOffZero(scale.x, startScale.x);
    if (scale.y != startScale.y) scale.y = keptOffZero(scale.y, startScale.y);
    if (scale.z != startScale.z) scale.z = keptOffZero(scale.z, startScale.z);
    return scale;
}

std::array<Vec3, 8> scaleBoxCorners(Vec3 boundsMin, Vec3 boundsMax, const Mat4& world) {
    // A little larger than the object, so that the handle lies around it.
    const Vec3 centre = (boundsMin + boundsMax) * 0.5f;
    const Vec3 half = (boundsMax - boundsMin) * 0.55f;
    std::array<Vec3, 8> corners{};
    for (std::size_t i = 0; i < 8; ++i) {
        const Vec3 local{centre.x + ((i & 1) != 0 ? half.x : -half.x), centre.y + ((i & 2) != 0 ? half.y : -half.y),
                         centre.z + ((i & 4) != 0 ? half.z : -half.z)};
        corners[i] = transformPoint(local, world);
    }
    return corners;
}

ScaleHandle boxHandleFaceHit(const Ray& ray, const std::array<Vec3, 8>& c) {
    // Corner i has bit 0 for x, bit 1 for y, bit 2 for z; each face as two
    // triangles of its four corners, in the order of the handle's faces.
    static constexpr std::array<std::array<int, 4>, 6> kFaces{{
        {0, 1, 5, 4},  // y low
        {2, 3, 7, 6},  // y high
        {0, 2, 6, 4},  // x low
        {1, 3, 7, 5},  // x high
        {0, 1, 3, 2},  // z low
        {4, 5, 7, 6},  // z high
    }};
    ScaleHandle best = ScaleHandle::None;
    float bestT = std::numeric_limits<float>::max();
    for (std::size_t f = 0; f < kFaces.size(); ++f) {
        const auto& q = kFaces[f];
        for (const std::array<int, 3>& tri : {std::array<int, 3>{q[0], q[1], q[2]}, std::array<int, 3>{q[0], q[2], q[3]}}) {
            const std::optional<TriangleHit> hit =
                intersectTriangle(ray, c[static_cast<std::size_t>(tri[0])], c[static_cast<std::size_t>(tri[1])],
                                  c[static_cast<std::size_t>(tri[2])], false);
            if (hit && hit->t < bestT) {
                bestT = hit->t;
                best = static_cast<ScaleHandle>(f);
            }
        }
    }
    return best;
}

Vec3 pointMovePosition(Vec3 startPosition, Vec3 a, Vec3 b) { return startPosition + (b - a); }

Alignment alignmentAbout(Vec3 b, Vec3 c, Vec3 d, Vec3 position, const Mat4& scaledBase) {
    Alignment result;
    result.rotationAngle = angleBetween(c - b, d - b);
    result.rotationAxis = normalize(cross(c - b, d - b));
    result.pivot = transformPoint(b - position, inverse(scaledBase).value_or(identity()));
    return result;
}

bool touchesViewEdge(int x, int y, int width, int height) {
    return x <= 0 || y <= 0 || x >= width - 1 || y >= height - 1;
}

}  // namespace morvanex
