#include "modeling/placement.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace morvanex {

namespace {

constexpr int kBandCircleSegments = 48;

void segment(std::vector<Vec3>& lines, Vec3 a, Vec3 b) {
    lines.push_back(a);
    lines.push_back(b);
}

void loop(std::vector<Vec3>& lines, const std::vector<Vec3>& corners) {
    for (std::size_t i = 0; i < corners.size(); ++i) segment(lines, corners[i], corners[(i + 1) % corners.size()]);
}

// The ground rectangle spanned by two corners, at the first one's height.
std::vector<Vec3> footprint(Vec3 a, Vec3 b, float y) {
    return {{a.x, y, a.z}, {b.x, y, a.z}, {b.x, y, b.z}, {a.x, y, b.z}};
}

}  // namespace

int placementClicks(PlacementTool tool) {
    switch (tool) {
        case PlacementTool::Sphere: return 2;
        case PlacementTool::Quad:
        case PlacementTool::Box:
        case PlacementTool::TriangleFace: return 3;
        case PlacementTool::QuadFace: return 4;
        case PlacementTool::None: break;
    }
    return 0;
}

bool placesOnVertices(PlacementTool tool) {
    return tool == PlacementTool::TriangleFace || tool == PlacementTool::QuadFace;
}

bool isHeightStep(PlacementTool tool, int step) {
    return step == 2 && (tool == PlacementTool::Box || tool == PlacementTool::Quad);
}

std::optional<Vec3> rayOnPlane(const Ray& ray, Vec3 point, Vec3 normal) {
    const float along = dot(ray.direction, normal);
    if (std::fabs(along) < 1e-6f) return std::nullopt;
    const float t = dot(point - ray.origin, normal) / along;
    if (!(t >= 0.0f) || !std::isfinite(t)) return std::nullopt;
    return ray.origin + ray.direction * t;
}

Vec3 uprightNormalFacing(Vec3 direction) {
    const Vec3 flat{-direction.x, 0.0f, -direction.z};
    // Looking straight down, any upright plane will do.
    if (lengthSquared(flat) < 1e-12f) return {0.0f, 0.0f, 1.0f};
    return normalize(flat);
}

Vec3 lockedPoint(Vec3 previous, Vec3 hit, AxisLock lock) {
    switch (lock) {
        case AxisLock::X: return {hit.x, previous.y, previous.z};
        case AxisLock::Y: return {previous.x, hit.y, previous.z};
        case AxisLock::Z: return {previous.x, previous.y, hit.z};
        case AxisLock::None: break;
    }
    return hit;
}

std::array<Vec3, 4> quadCorners(Vec3 p1, Vec3 p2, Vec3 p3, Vec3 eye) {
    const Vec3 p4 = p1 + (p3 - p2);
    const Vec3 normal = cross(p1 - p3, p2 - p3);
    if (dot(normal, eye - p1) >= 0.0f) return {p1, p2, p3, p4};
    return {p1, p4, p3, p2};
}

std::vector<Vec3> rubberBand(PlacementTool tool, const std::vector<Vec3>& points, Vec3 moving) {
    std::vector<Vec3> lines;
    if (points.empty()) return lines;
    const Vec3 first = points.front();
    switch (tool) {
        case PlacementTool::Box:
            if (points.size() == 1) {
                loop(lines, footprint(first, moving, first.y));
            } else {
                const Vec3 second = points[1];
                const std::vector<Vec3> ground = footprint(first, second, first.y);
                const std::vector<Vec3> top = footprint(first, second, moving.y);
                loop(lines, ground);
                loop(lines, top);
                for (std::size_t i = 0; i < 4; ++i) segment(lines, ground[i], top[i]);
            }
            break;
        case PlacementTool::Sphere: {
            const float radius = distance(first, moving);
            std::vector<Vec3> circle;
            for (int i = 0; i < kBandCircleSegments; ++i) {
                const float angle = kTwoPi * static_cast<float>(i) / kBandCircleSegments;
                circle.push_back(first + Vec3{radius * std::cos(angle), 0.0f, radius * std::sin(angle)});
            }
            loop(lines, circle);
            segment(lines, first, moving);
            break;
        }
        case PlacementTool::Quad:
            if (points.size() == 1) {
                segment(lines, first, moving);
            } else {
                const Vec3 second = points[1];
                loop(lines, {first, second, moving, first + (moving - second)});
            }
            break;
        case PlacementTool::TriangleFace:
        case PlacementTool::QuadFace: {
            std::vector<Vec3> corners = points;
            corners.push_back(moving);
            loop(lines, corners);
            break;
        }
        case PlacementTool::None: break;
    }
    return lines;
}

}  // namespace morvanex
