#include "start_scenes/extrusion.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

namespace morvanex {

namespace {

struct Bounds2 {
    double minX = std::numeric_limits<double>::infinity(), minY = minX;
    double maxX = -std::numeric_limits<double>::infinity(), maxY = maxX;
    void add(Point2 p) {
        minX = std::min(minX, p.x);
        minY = std::min(minY, p.y);
        maxX = std::max(maxX, p.x);
        maxY = std::max(maxY, p.y);
    }
};

MeshVertex vertexAt(Point2 p, double z, Vec3 normal, const Bounds2& bounds) {
    MeshVertex v;
    v.position = {static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(z)};
    v.normal = normal;
    const double w = std::max(bounds.maxX - bounds.minX, 1e-9), h = std::max(bounds.maxY - bounds.minY, 1e-9);
    v.texcoord = {static_cast<float>((p.x - bounds.minX) / w), static_cast<float>((bounds.maxY - p.y) / h)};
    v.texcoord2 = v.texcoord;
    return v;
}

// Unit normal of the wall along a -> b, pointing out of the solid (to the
// right of a counter-clockwise outer contour, into a clockwise hole).
Point2 wallNormal(Point2 a, Point2 b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length = std::hypot(dx, dy);
    if (length == 0.0) return {0.0, 0.0};
    return {dy / length, -dx / length};
}

void appendWalls(const Contour& contour, const ExtrusionStyle& style, const Bounds2& bounds,
                 std::vector<MeshVertex>& out) {
    const std::size_t n = contour.size();
    const double front = -style.depth * 0.5, back = style.depth * 0.5;
    const double smoothCos = std::cos(style.smoothAngleDegrees * 3.14159265358979323846 / 180.0);
    std::vector<Point2> normals(n);
    for (std::size_t i = 0; i < n; ++i) normals[i] = wallNormal(contour[i], contour[(i + 1) % n]);
    // The normal a wall uses at its corner shared with a neighbour wall.
    const auto cornerNormal = [&](std::size_t wall, std::size_t neighbour) {
        const Point2 a = normals[wall], b = normals[neighbour];
        if (a.x * b.x + a.y * b.y < smoothCos) return Vec3{static_cast<float>(a.x), static_cast<float>(a.y), 0.0f};
        const double x = a.x + b.x, y = a.y + b.y, length = std::hypot(x, y);
        return Vec3{static_cast<float>(x / length), static_cast<float>(y / length), 0.0f};
    };
    for (std::size_t i = 0; i < n; ++i) {
        const Point2 a = contour[i], b = contour[(i + 1) % n];
        if (a.x == b.x && a.y == b.y) continue;
        const Vec3 na = cornerNormal(i, (i + n - 1) % n);
        const Vec3 nb = cornerNormal(i, (i + 1) % n);
        const MeshVertex af = vertexAt(a, front, na, bounds), bf = vertexAt(b, front, nb, bounds);
        const MeshVertex ab = vertexAt(a, back, na, bounds), bb = vertexAt(b, back, nb, bounds);
        out.insert(out.end(), {af, bf, bb, af, bb, ab});
    }
}

}  // namespace

std::vector<MeshVertex> extrudeShapes(const std::vector<Shape>& shapes, const ExtrusionStyle& style) {
    Bounds2 bounds;
    for (const Shape& shape : shapes) {
        for (Point2 p : shape.outer) bounds.add(p);
    }
    std::vector<MeshVertex> out;
    const double front = -style.depth * 0.5, back = style.depth * 0.5;
    for (const Shape& shape : shapes) {
        for (const Triangle2& t : fillShape(shape)) {
            // Counter-clockwise seen from +z: the back face keeps the order,
            // the front face takes it reversed.
            out.push_back(vertexAt(t[0], back, {0, 0, 1}, bounds));
            out.push_back(vertexAt(t[1], back, {0, 0, 1}, bounds));
            out.push_back(vertexAt(t[2], back, {0, 0, 1}, bounds));
            out.push_back(vertexAt(t[0], front, {0, 0, -1}, bounds));
            out.push_back(vertexAt(t[2], front, {0, 0, -1}, bounds));
            out.push_back(vertexAt(t[1], front, {0, 0, -1}, bounds));
        }
        appendWalls(shape.outer, style, bounds, out);
        for (const Contour& hole : shape.holes) appendWalls(hole, style, bounds, out);
    }
    return out;
}

}  // namespace morvanex
