#include "start_scenes/polygon_fill.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

namespace morvanex {

namespace {

double cross(Point2 o, Point2 a, Point2 b) { return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x); }

bool samePoint(Point2 a, Point2 b) { return a.x == b.x && a.y == b.y; }

// Inside or on the edges of the counter-clockwise triangle abc.
bool inTriangle(Point2 p, Point2 a, Point2 b, Point2 c) {
    return cross(a, b, p) >= 0.0 && cross(b, c, p) >= 0.0 && cross(c, a, p) >= 0.0;
}

std::size_t rightmost(const Contour& contour) {
    std::size_t best = 0;
    for (std::size_t i = 1; i < contour.size(); ++i) {
        if (contour[i].x > contour[best].x) best = i;
    }
    return best;
}

// Joins the hole into the polygon by a bridge from the hole's rightmost
// point to a polygon point it can see (the classic ray-cast choice), so that
// one simple-enough polygon remains for ear clipping.
void bridgeHole(Contour& polygon, const Contour& hole) {
    const std::size_t h = rightmost(hole);
    const Point2 m = hole[h];
    // The nearest edge crossed by the ray from m towards +x.
    double nearest = std::numeric_limits<double>::infinity();
    std::size_t edge = polygon.size();
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const Point2 a = polygon[i];
        const Point2 b = polygon[(i + 1) % polygon.size()];
        if ((a.y > m.y) == (b.y > m.y)) continue;
        const double x = a.x + (m.y - a.y) * (b.x - a.x) / (b.y - a.y);
        if (x >= m.x && x < nearest) {
            nearest = x;
            edge = i;
        }
    }
    if (edge == polygon.size()) return;  // not inside: nothing sensible to join
    const Point2 hit{nearest, m.y};
    const std::size_t a = edge, b = (edge + 1) % polygon.size();
    std::size_t visible = polygon[a].x > polygon[b].x ? a : b;
    // A reflex point inside the triangle (m, hit, visible) would hide it:
    // the one closest in angle to the ray is seen instead.
    const Point2 p = polygon[visible];
    const Point2 t0 = m, t1 = hit, t2 = p;
    const bool ccw = cross(t0, t1, t2) >= 0.0;
    double bestAngle = std::numeric_limits<double>::infinity();
    double bestDistance = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        if (i == visible) continue;
        const Point2 q = polygon[i];
        if (q.x < m.x) continue;
        const bool inside = ccw ? inTriangle(q, t0, t1, t2) : inTriangle(q, t0, t2, t1);
        if (!inside) continue;
        const Point2 prev = polygon[(i + polygon.size() - 1) % polygon.size()];
        const Point2 next = polygon[(i + 1) % polygon.size()];
        if (cross(prev, q, next) > 0.0) continue;  // convex points cannot hide
        const double angle = std::atan2(std::abs(q.y - m.y), q.x - m.x);
        const double distance = std::hypot(q.x - m.x, q.y - m.y);
        if (angle < bestAngle || (angle == bestAngle && distance < bestDistance)) {
            bestAngle = angle;
            bestDistance = distance;
            visible = i;
        }
    }
    Contour joined;
    joined.reserve(polygon.size() + hole.size() + 2);
    joined.insert(joined.end(), polygon.begin(), polygon.begin() + static_cast<std::ptrdiff_t>(visible) + 1);
    for (std::size_t k = 0; k <= hole.size(); ++k) joined.push_back(hole[(h + k) % hole.size()]);
    joined.push_back(polygon[visible]);
    joined.insert(joined.end(), polygon.begin() + static_cast<std::ptrdiff_t>(visible) + 1, polygon.end());
    polygon = std::move(joined);
}

bool isEar(const Contour& polygon, const std::vector<std::size_t>& ring, std::size_t at) {
    const std::size_t n = ring.size();
    const Point2 a = polygon[ring[(at + n - 1) % n]];
    const Point2 b = polygon[ring[at]];
    const Point2 c = polygon[ring[(at + 1) % n]];
    if (cross(a, b, c) <= 0.0) return false;
    for (std::size_t k = 0; k < n; ++k) {
        const Point2 p = polygon[ring[k]];
        // Bridge points repeat the corners: they do not block the ear.
        if (samePoint(p, a) || samePoint(p, b) || samePoint(p, c)) continue;
        if (inTriangle(p, a, b, c)) return false;
    }
    return true;
}

}  // namespace

double signedArea(const Contour& contour) {
    double twice = 0.0;
    for (std::size_t i = 0; i < contour.size(); ++i) {
        const Point2 a = contour[i];
        const Point2 b = contour[(i + 1) % contour.size()];
        twice += a.x * b.y - b.x * a.y;
    }
    return twice * 0.5;
}

bool pointInContour(const Contour& contour, Point2 p) {
    bool inside = false;
    for (std::size_t i = 0, j = contour.size() - 1; i < contour.size(); j = i++) {
        const Point2 a = contour[i], b = contour[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) inside = !inside;
    }
    return inside;
}

std::vector<Shape> groupContours(std::vector<Contour> contours) {
    std::erase_if(contours, [](const Contour& c) { return c.size() < 3 || std::abs(signedArea(c)) < 1e-12; });
    const std::size_t n = contours.size();
    // A contour's first point lies inside every contour that holds it.
    std::vector<std::vector<std::size_t>> holders(n);
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = 0; j < n; ++j) {
            if (i != j && std::abs(signedArea(contours[j])) > std::abs(signedArea(contours[i])) &&
                pointInContour(contours[j], contours[i].front())) {
                holders[i].push_back(j);
            }
        }
    }
    std::vector<Shape> shapes;
    std::vector<std::size_t> shapeOf(n, n);
    for (std::size_t i = 0; i < n; ++i) {
        if (holders[i].size() % 2 != 0) continue;
        if (signedArea(contours[i]) < 0.0) std::reverse(contours[i].begin(), contours[i].end());
        shapeOf[i] = shapes.size();
        shapes.push_back({contours[i], {}});
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (holders[i].size() % 2 == 0) continue;
        // The smallest outer contour around it owns it.
        std::size_t owner = n;
        for (std::size_t j : holders[i]) {
            if (shapeOf[j] == n) continue;
            if (owner == n || std::abs(signedArea(contours[j])) < std::abs(signedArea(contours[owner]))) owner = j;
        }
        if (owner == n) continue;
        Contour hole = contours[i];
        if (signedArea(hole) > 0.0) std::reverse(hole.begin(), hole.end());
        shapes[shapeOf[owner]].holes.push_back(std::move(hole));
    }
    return shapes;
}

std::vector<Triangle2> fillShape(const Shape& shape) {
    Contour polygon = shape.outer;
    std::vector<const Contour*> holes;
    for (const Contour& hole : shape.holes) holes.push_back(&hole);
    // Right to left, so that each bridge stays clear of the holes not yet joined.
    std::sort(holes.begin(), holes.end(),
              [](const Contour* a, const Contour* b) { return (*a)[rightmost(*a)].x > (*b)[rightmost(*b)].x; });
    for (const Contour* hole : holes) bridgeHole(polygon, *hole);

    std::vector<Triangle2> triangles;
    std::vector<std::size_t> ring(polygon.size());
    for (std::size_t i = 0; i < ring.size(); ++i) ring[i] = i;
    while (ring.size() >= 3) {
        std::size_t at = ring.size();
        for (std::size_t i = 0; i < ring.size() && at == ring.size(); ++i) {
            if (isEar(polygon, ring, i)) at = i;
        }
        // No ear: only rounding can cause it; cutting the flattest corner
        // keeps the loop finite.
        if (at == ring.size()) at = 0;
        const std::size_t n = ring.size();
        const Triangle2 t{polygon[ring[(at + n - 1) % n]], polygon[ring[at]], polygon[ring[(at + 1) % n]]};
        if (cross(t[0], t[1], t[2]) > 0.0) triangles.push_back(t);
        ring.erase(ring.begin() + static_cast<std::ptrdiff_t>(at));
    }
    return triangles;
}

}  // namespace morvanex
