#include "import/triangulate.h"

#include <array>
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
    // Each corner with the next, the last with the first (no division per corner).
    for (std::size_t i = 0, j = 1; i < c.size(); ++i, j = j + 1 == c.size() ? 0 : j + 1) {
        const Vec3 a = c[i];
        const Vec3 b = c[j];
        x += (double(a.y) - b.y) * (double(a.z) + b.z);
        y += (double(a.z) - b.z) * (double(a.x) + b.x);
        z += (double(a.x) - b.x) * (double(a.y) + b.y);
    }
    return {float(x), float(y), float(z)};
}

// Corners in 2D, dropping the normal's largest axis and flipping so that the
// polygon runs counter-clockwise.
void project(std::span<const Vec3> c, Vec3 n, std::span<P2> p) {
    const float ax = std::fabs(n.x), ay = std::fabs(n.y), az = std::fabs(n.z);
    for (std::size_t i = 0; i < c.size(); ++i) {
        if (az >= ax && az >= ay) {
            p[i] = {c[i].x, n.z >= 0 ? c[i].y : -c[i].y};
        } else if (ax >= ay) {
            p[i] = {c[i].y, n.x >= 0 ? c[i].z : -c[i].z};
        } else {
            p[i] = {c[i].z, n.y >= 0 ? c[i].x : -c[i].x};
        }
    }
}

bool isConvex(std::span<const P2> p) {
    const std::size_t n = p.size();
    for (std::size_t before = n - 1, i = 0; i < n; before = i++) {
        const std::size_t after = i + 1 == n ? 0 : i + 1;
        if (cross2(p[before], p[i], p[after]) < 0.0) return false;
    }
    return true;
}

bool insideOrOn(P2 q, P2 a, P2 b, P2 c) {
    return cross2(a, b, q) >= 0.0 && cross2(b, c, q) >= 0.0 && cross2(c, a, q) >= 0.0;
}

bool same(P2 a, P2 b) { return a.x == b.x && a.y == b.y; }

// Ear clipping over a ring of remaining corners. False when no ear is left
// (self-intersecting outline); the rest is then fanned.
bool clipEars(std::span<const P2> p, std::vector<CornerTriangle>& out) {
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
    // Most polygons are quads and small n-gons: their 2D corners stay on the
    // stack, as an import meets millions of them.
    constexpr std::size_t kCornersOnStack = 16;
    std::array<P2, kCornersOnStack> onStack;
    std::vector<P2> onHeap;
    if (n > kCornersOnStack) onHeap.resize(n);
    const std::span<P2> p = n > kCornersOnStack ? std::span<P2>(onHeap) : std::span<P2>(onStack).first(n);
    project(corners, normal, p);
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
