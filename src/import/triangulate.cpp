#include "import/triangulate.h"

#include <cmath>
#include <cstddef>

namespace morvanex {

namespace {

struct P2 {
    double x = 0.0, y = 0.0;
};

double cross2(P2 o, P2 a, P2 b) { return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x); }

void fan(std::size_t n, std::vector<CornerTriangle>& out) {
    out.push_back({0, 1, 2});
    for (std::uint32_t i = 2; i + 1 < n; ++i) out.push_back({i, i + 1, 0});
}

// Newell's normal: robust for non-planar and partly collinear polygons.
Vec3 newellNormal(std::span<const Vec3> c) {
    double x = 0, y = 0, z = 0;
    for (std::size_t i = 0; i < c.size(); ++i) {
        const Vec3 a = c[i];
        const Vec3 b = c[(i + 1) % c.size()];
        x += (double(a.y) - b.y) * (double(a.z) + b.z);
        y += (double(a.z) - b.z) * (double(a.x) + b.x);
        z += (double(a.x) - b.x) * (double(a.y) + b.y);
    }
    return {float(x), float(y), float(z)};
}

// Corners in 2D, dropping the normal's largest axis and flipping so that the
// polygon runs counter-clockwise.
std::vector<P2> project(std::span<const Vec3> c, Vec3 n) {
    const float ax = std::fabs(n.x), ay = std::fabs(n.y), az = std::fabs(n.z);
    std::vector<P2> p(c.size());
    for (std::size_t i = 0; i < c.size(); ++i) {
        if (az >= ax && az >= ay) {
            p[i] = {c[i].x, n.z >= 0 ? c[i].y : -c[i].y};
        } else if (ax >= ay) {
            p[i] = {c[i].y, n.x >= 0 ? c[i].z : -c[i].z};
        } else {
            p[i] = {c[i].z, n.y >= 0 ? c[i].x : -c[i].x};
        }
    }
    return p;
}

bool isConvex(const std::vector<P2>& p) {
    const std::size_t n = p.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (cross2(p[(i + n - 1) % n], p[i], p[(i + 1) % n]) < 0.0) return false;
    }
    return true;
}

bool insideOrOn(P2 q, P2 a, P2 b, P2 c) {
    return cross2(a, b, q) >= 0.0 && cross2(b, c, q) >= 0.0 && cross2(c, a, q) >= 0.0;
}

bool same(P2 a, P2 b) { return a.x == b.x && a.y == b.y; }

// Ear clipping over a ring of remaining corners. False when no ear is left
// (self-intersecting outline); the rest is then fanned.
bool clipEars(const std::vector<P2>& p, std::vector<CornerTriangle>& out) {
    const std::size_t n = p.size();
    std::vector<std::uint32_t> next(n), prev(n);
    for (std::size_t i = 0; i < n; ++i) {
        next[i] = static_cast<std::uint32_t>((i + 1) % n);
        prev[i] = static_cast<std::uint32_t>((i + n - 1) % n);
    }
    std::size_t left = n;
    std::uint32_t i = 0;
    std::size_t sinceLastEar = 0;
    while (left > 3) {
        const std::uint32_t a = prev[i], c = next[i];
        bool ear = cross2(p[a], p[i], p[c]) > 0.0;
        for (std::uint32_t k = next[c]; ear && k != a; k = next[k]) {
            if (same(p[k], p[a]) || same(p[k], p[i]) || same(p[k], p[c])) continue;
            if (insideOrOn(p[k], p[a], p[i], p[c])) ear = false;
        }
        if (ear) {
            out.push_back({a, i, c});
            next[a] = c;
            prev[c] = a;
            --left;
            i = c;
            sinceLastEar = 0;
            continue;
        }
        i = c;
        if (++sinceLastEar > left) {
            // Fan what is left from the current corner.
            std::uint32_t k = next[i];
            while (next[k] != i) {
                out.push_back({i, k, next[k]});
                k = next[k];
            }
            return false;
        }
    }
    out.push_back({prev[i], i, next[i]});
    return true;
}

}  // namespace

PolygonShape triangulatePolygon(std::span<const Vec3> corners, std::vector<CornerTriangle>& out) {
    const std::size_t n = corners.size();
    if (n == 3) {
        out.push_back({0, 1, 2});
        return PolygonShape::Triangle;
    }
    const Vec3 normal = newellNormal(corners);
    if (!(lengthSquared(normal) > 0.0f) || !std::isfinite(lengthSquared(normal))) {
        fan(n, out);
        return PolygonShape::Degenerate;
    }
    const std::vector<P2> p = project(corners, normal);
    if (isConvex(p)) {
        fan(n, out);
        return PolygonShape::Convex;
    }
    if (n > kMaxEarClippedCorners) {
        fan(n, out);
        return PolygonShape::TooLarge;
    }
    return clipEars(p, out) ? PolygonShape::Concave : PolygonShape::Degenerate;
}

}  // namespace morvanex
