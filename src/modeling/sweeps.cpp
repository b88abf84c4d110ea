#include "modeling/sweeps.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

#include "modeling/primitives.h"
#include "scene/scene_object.h"

namespace morvanex {

namespace {

CurvePoint curvePoint(Vec3 point, Vec3 handle1, Vec3 handle2, int step) {
    CurvePoint p;
    p.point = point;
    p.handle1 = handle1;
    p.handle2 = handle2;
    p.step = step;
    p.resetAnimated();
    return p;
}

// Points on a polyline, handles to be placed on thirds afterwards.
std::vector<CurvePoint> pointsAt(const std::vector<Vec3>& positions, int step) {
    std::vector<CurvePoint> points;
    points.reserve(positions.size());
    for (Vec3 p : positions) points.push_back(curvePoint(p, p, p, step));
    return points;
}

std::vector<CurvePoint> circleShape(const CurveEditor& e, int step) {
    const int n = e.pointCount;
    const float radius = e.a * 0.5f;
    const float d = kTwoPi / static_cast<float>(3 * n + 3);
    const auto at = [&](int k) {
        const float angle = kTwoPi - static_cast<float>(k) * d;
        return Vec3{radius * std::cos(angle), e.b, radius * std::sin(angle)};
    };
    std::vector<CurvePoint> points;
    for (int i = 0; i <= n; ++i) points.push_back(curvePoint(at(3 * i), at(3 * i + 1), at(3 * i + 2), step));
    return points;
}

std::vector<CurvePoint> rectangleShape(const CurveEditor& e, int step) {
    const int perSide = std::max(1, e.pointCount / 3);
    const float h = e.a * 0.5f;
    // The same way round as the circle: from +x towards -z.
    const Vec3 corners[4] = {{h, e.b, h}, {h, e.b, -h}, {-h, e.b, -h}, {-h, e.b, h}};
    std::vector<Vec3> positions;
    for (int side = 0; side < 4; ++side) {
        const Vec3 from = corners[side];
        const Vec3 to = corners[(side + 1) % 4];
        for (int k = 0; k < perSide; ++k) positions.push_back(lerp(from, to, static_cast<float>(k) / static_cast<float>(perSide)));
    }
    std::vector<CurvePoint> points = pointsAt(positions, step);
    placeHandlesOnThirds(points, true);
    return points;
}

// n + 1 points from `from` to `to`, each lifted by lift(t) along y.
template <typename Lift>
std::vector<CurvePoint> lineShape(const CurveEditor& e, Vec3 from, Vec3 to, int step, Lift lift) {
    std::vector<Vec3> positions;
    for (int i = 0; i <= e.pointCount; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(e.pointCount);
        positions.push_back(lerp(from, to, t) + Vec3{0.0f, lift(t), 0.0f});
    }
    std::vector<CurvePoint> points = pointsAt(positions, step);
    placeHandlesOnThirds(points, false);
    return points;
}

int clampedStep(int step) { return std::clamp(step, 1, kMaxCurveSteps); }

// Too fine a sweep is refused whole rather than cut short.
bool withinCellLimit(std::size_t rows, std::size_t columns) {
    return rows > 0 && columns > 0 && rows * columns <= static_cast<std::size_t>(kMaxPatchCells);
}

MeshVertex sweepVertex(Vec3 position, Vec2 uv) {
    MeshVertex v;
    v.position = position;
    v.texcoord = uv;
    v.texcoord2 = uv;
    return v;
}

std::unique_ptr<SceneObject> meshObject(std::string name, std::vector<MeshVertex> vertices) {
    auto object = std::make_unique<SceneObject>(std::move(name));
    std::vector<std::int32_t> indices(vertices.size());
    for (std::size_t i = 0; i < indices.size(); ++i) indices[i] = static_cast<std::int32_t>(i);
    setMesh(*object, std::move(vertices), std::move(indices));
    return object;
}

// The end tangent of a curve's last segment: its end point minus the
// second handle that leads into it.
Vec3 endTangent(const CurveEditor& curve) {
    const auto& p = curve.points;
    if (p.size() < 2) return {0.0f, 1.0f, 0.0f};
    if (curve.closed) return p.front().point - p.back().handle2;
    return p.back().point - p[p.size() - 2].handle2;
}

}  // namespace

Vec3 CurveEditor::planeNormal() const {
    Vec3 normal{0.0f, 0.0f, 1.0f};
    switch (kind) {
        case CurveKind::Circle:
        case CurveKind::Rectangle: normal = {0.0f, 1.0f, 0.0f}; break;
        case CurveKind::DepthLine: normal = {1.0f, 0.0f, 0.0f}; break;
        default: break;
    }
    return turnUpOnto(normal, upAxis);
}

void makeDefaultShape(CurveEditor& e, int step) {
    e.pointCount = std::clamp(e.pointCount, 1, kMaxCurvePoints);
    const float h = e.a * 0.5f;
    const auto flat = [](float) { return 0.0f; };
    switch (e.kind) {
        case CurveKind::Circle:
            e.closed = true;
            e.points = circleShape(e, step);
            break;
        case CurveKind::Rectangle:
            e.closed = true;
            e.points = rectangleShape(e, step);
            break;
        case CurveKind::VerticalLine: e.points = lineShape(e, {-h, 0.0f, 0.0f}, {-h, e.b, 0.0f}, step, flat); break;
        case CurveKind::CentreLine: e.points = lineShape(e, {0.0f, 0.0f, 0.0f}, {0.0f, e.b, 0.0f}, step, flat); break;
        case CurveKind::AcrossArch: {
            const float arches = static_cast<float>(std::clamp(e.arches, 1, kMaxCurvePoints));
            e.points = lineShape(e, {-h, 0.0f, 0.0f}, {h, 0.0f, 0.0f}, step,
                                 [&e, arches](float t) { return e.b * std::fabs(std::sin(kPi * t * arches)); });
            break;
        }
        case CurveKind::DepthLine: e.points = lineShape(e, {0.0f, 0.0f, -h}, {0.0f, 0.0f, h}, step, flat); break;
    }
    const bool line = e.kind != CurveKind::Circle && e.kind != CurveKind::Rectangle;
    if (line && e.smoothing > 0.0f) placeHandlesSmoothly(e.points, e.closed, e.smoothing);
    if (e.upAxis == 0 || e.upAxis == 2) {
        for (CurvePoint& p : e.points) {
            for (Vec3* part : {&p.point, &p.handle1, &p.handle2}) *part = turnUpOnto(*part, e.upAxis);
            p.resetAnimated();
        }
    }
}

Vec3 turnUpOnto(Vec3 p, int axis) {
    // A quarter turn about z (y onto x) or about x (y onto z).
    if (axis == 0) return {p.y, -p.x, p.z};
    if (axis == 2) return {p.x, -p.z, p.y};
    return p;
}

Vec3 bezierPoint(const CurvePoint& p, const CurvePoint& q, float t) {
    const float s = 1.0f - t;
    return p.point * (s * s * s) + p.handle1 * (3.0f * s * s * t) + p.handle2 * (3.0f * s * t * t) +
           q.point * (t * t * t);
}

namespace {

// The handles of the segment from point q, when there is one.
void straightenSegment(std::vector<CurvePoint>& points, std::size_t q, bool closed) {
    const std::size_t n = points.size();
    if (q >= n || (q + 1 == n && !closed)) return;
    CurvePoint& p = points[q];
    const Vec3 next = points[(q + 1) % n].point;
    p.handle1 = lerp(p.point, next, 1.0f / 3.0f);
    p.handle2 = lerp(p.point, next, 2.0f / 3.0f);
    p.resetAnimated();
}

}  // namespace

void placeHandlesOnThirds(std::vector<CurvePoint>& points, bool closed) {
    for (std::size_t q = 0; q < points.size(); ++q) straightenSegment(points, q, closed);
}

void placeHandlesOnThirdsAround(std::vector<CurvePoint>& points, std::size_t index, bool closed) {
    const std::size_t n = points.size();
    if (index >= n) return;
    straightenSegment(points, index, closed);
    if (index > 0) {
        straightenSegment(points, index - 1, closed);
    } else if (closed) {
        straightenSegment(points, n - 1, closed);
    }
}

void placeHandlesSmoothly(std::vector<CurvePoint>& points, bool closed, float tension) {
    const std::size_t n = points.size();
    if (n < 2) return;
    const float k = std::isfinite(tension) ? std::clamp(tension, 0.0f, 1.0f) : 0.0f;
    // The direction of travel through each point, as long as a segment.
    std::vector<Vec3> tangents(n);
    for (std::size_t q = 0; q < n; ++q) {
        const bool first = q == 0 && !closed;
        const bool last = q + 1 == n && !closed;
        const Vec3 before = first ? points[q].point : points[(q + n - 1) % n].point;
        const Vec3 after = last ? points[q].point : points[(q + 1) % n].point;
        tangents[q] = (after - before) * (first || last ? 1.0f : 0.5f);
    }
    for (std::size_t q = 0; q < n; ++q) {
        if (q + 1 == n && !closed) break;
        const std::size_t next = (q + 1) % n;
        CurvePoint& p = points[q];
        const Vec3 chord = points[next].point - p.point;
        p.handle1 = p.point + (tangents[q] * k + chord * (1.0f - k)) / 3.0f;
        p.handle2 = points[next].point - (tangents[next] * k + chord * (1.0f - k)) / 3.0f;
        p.resetAnimated();
    }
}

std::vector<Vec3> sampleCurve(const std::vector<CurvePoint>& points, bool closed, int fixedStep) {
    std::vector<Vec3> samples;
    const std::size_t n = points.size();
    const auto segment = [&](std::size_t q, std::size_t next, bool toTheEnd) {
        const int s = clampedStep(fixedStep > 0 ? fixedStep : points[q].step);
        const int last = toTheEnd ? s : s - 1;
        for (int m = 0; m <= last; ++m) {
            samples.push_back(bezierPoint(points[q], points[next], static_cast<float>(m) / static_cast<float>(s)));
        }
    };
    for (std::size_t q = 0; q + 1 < n; ++q) segment(q, q + 1, false);
    if (closed && n > 0) segment(n - 1, 0, true);
    return samples;
}

int tubeSectionSteps(int typed, bool justTyped) { return std::clamp(typed, justTyped ? 3 : 2, kMaxCurveSteps); }

int tubeProfileSteps(int typed) { return std::clamp(typed, 4, kMaxCurveSteps); }

float tubeThickness(float typed) {
    return std::isfinite(typed) ? std::clamp(typed, 0.0f, kMaxTubeThickness) : 0.0f;
}

int surfaceSubdivisions(float typed) {
    const float clamped = std::isfinite(typed) ? std::clamp(typed, 2.0f, float{kMaxSurfaceSubdivisions}) : 2.0f;
    const int n = static_cast<int>(std::lround(clamped));
    return n % 2 == 0 ? n : n + 1;
}

float sweepSize(float typed, float fallback) {
    return std::isfinite(typed) ? std::clamp(typed, -kMaxSweepSize, kMaxSweepSize) : fallback;
}

int angularSectionPoints(int count) {
    const int k = std::max(0, (std::clamp(count, 1, kMaxCurvePoints) - 3 + 2) / 4);
    return 4 * k + 3;
}

namespace {

std::vector<MeshVertex> tubeVertices(const CurveEditor& section, const CurveEditor& profile, const CurveEditor& path,
                                     const CurveEditor& secondProfile, const TubeSettings& settings) {
    const std::vector<Vec3> ring = sampleCurve(section.points, section.closed, tubeSectionSteps(settings.sectionSteps, false));
    const std::vector<Vec3> f = sampleCurve(profile.points, profile.closed, 0);
    if (ring.size() < 2 || f.size() < 2) return {};
    const std::size_t length = ring.size() - 1;  // the last sample closes the ring
    const std::size_t rings = f.size();
    const float thickness = tubeThickness(settings.thickness);
    const bool thick = thickness > 0.0f;
    // A closed profile meets itself: its walls have no ends to join.
    const bool joinEnds = thick && !profile.closed;
    if (!withinCellLimit((rings - 1) * (thick ? 2 : 1), length)) return {};
    const std::vector<Vec3> g = settings.oriented ? sampleCurve(path.points, path.closed, 0) : std::vector<Vec3>{};
    const std::vector<Vec3> h = settings.half ? sampleCurve(secondProfile.points, secondProfile.closed, 0) : std::vector<Vec3>{};
    const Vec3 c = section.centre();
    const auto axisDistance = [&c](Vec3 p) { return std::sqrt((p.x - c.x) * (p.x - c.x) + (p.z - c.z) * (p.z - c.z)); };

    const int turns = settings.turns <= 0 || settings.turns > 20 ? 2 : settings.turns;
    const float rise = settings.helix ? (f.back().y - f.front().y) / static_cast<float>(length) + settings.pitch : 0.0f;
    const float twist = std::isfinite(settings.twist) ? settings.twist : 0.0f;
    const Vec3 up{0.0f, 1.0f, 0.0f};

    // Ring i's corner for section sample s, at height y_i plus a helix
    // rise, turned by its share of the twist; `wall` scales the radius
    // (below 1 for the inner wall).
    const auto corner = [&](std::size_t i, std::size_t j, float wall) {
        std::size_t s = j;
        float lift = 0.0f;
        if (settings.helix) {
            s = (static_cast<std::size_t>(turns) * j) % length;
            lift = static_cast<float>(turns) * static_cast<float>(j) * rise;
        }
        const bool secondHalf = settings.half && j * 2 >= length && i < h.size();
        const float r = axisDistance(secondHalf ? h[i] : f[i]) * 0.1f * wall;
        const float y = f[i].y;
        const Vec3 centre{c.x, y, c.z};
        const float angle = twist * static_cast<float>(i) / static_cast<float>(rings - 1);
        const float cosA = std::cos(angle);
        const float sinA = std::sin(angle);
        const float dx = ring[s].x - c.x;
        const float dz = ring[s].z - c.z;
        Vec3 p{c.x + (dx * cosA - dz * sinA) * r, y + lift, c.z + (dx * sinA + dz * cosA) * r};
        if (!g.empty()) {
            const std::size_t k = std::min(i, g.size() - 1);
            const Vec3 t = k + 1 < g.size() ? g[k + 1] - g[k] : endTangent(path);
            const Vec3 axis = normalize(cross(normalize(t), up));
            const float tilt = angleBetween(up, t);
            // Turned about its own centre, then carried onto the path.
            p = g[k] + rotate(p - centre, quatFromAxisAngle(axis, -tilt));
        }
        return p;
    };
    const auto uv = [&](std::size_t i, std::size_t j) {
        return Vec2{static_cast<float>(j) / static_cast<float>(length), static_cast<float>(i) / static_cast<float>(rings - 1)};
    };
    std::vector<MeshVertex> vertices;
    using Corner = std::pair<std::size_t, std::size_t>;
    const auto triangle = [&](float wall, const Corner& a, const Corner& b, const Corner& d) {
        for (const Corner& k : {a, b, d}) vertices.push_back(sweepVertex(corner(k.first, k.second, wall), uv(k.first, k.second)));
    };
    // The outer wall faces away from the axis; the inner one, wound the
    // other way, towards it.
    const auto wall = [&](float scale, bool inner) {
        for (std::size_t i = 0; i + 1 < rings; ++i) {
            for (std::size_t j = 0; j < length; ++j) {
                const Corner a{i + 1, j}, b{i, j}, d{i, j + 1}, e{i + 1, j + 1};
                if (inner) {
                    triangle(scale, a, d, b);
                    triangle(scale, a, e, d);
                } else {
                    triangle(scale, a, b, d);
                    triangle(scale, a, d, e);
                }
            }
        }
    };
    vertices.reserve(6 * (rings - 1) * length * (thick ? 2 : 1) + 12 * length);
    wall(1.0f, false);
    if (thick) wall(1.0f - thickness, true);
    if (joinEnds) {
        // A ring of quads between the walls at each end, facing out of the tube's ends.
        const float inner = 1.0f - thickness;
        for (const std::size_t i : {std::size_t{0}, rings - 1}) {
            const bool top = i != 0;
            for (std::size_t j = 0; j < length; ++j) {
                const Vec3 o0 = corner(i, j, 1.0f), o1 = corner(i, j + 1, 1.0f);
                const Vec3 i0 = corner(i, j, inner), i1 = corner(i, j + 1, inner);
                const Vec3 quad[4] = {top ? o0 : o1, top ? o1 : o0, top ? i1 : i0, top ? i0 : i1};
                for (const std::size_t k : {0u, 1u, 2u, 0u, 2u, 3u}) vertices.push_back(sweepVertex(quad[k], uv(i, j)));
            }
        }
    } else if (settings.capped && !settings.helix && !thick) {
        // A fan from each end ring's middle, facing out of the tube's ends.
        for (const std::size_t i : {std::size_t{0}, rings - 1}) {
            Vec3 middle;
            for (std::size_t j = 0; j < length; ++j) middle += corner(i, j, 1.0f);
            middle /= static_cast<float>(length);
            const bool top = i != 0;
            for (std::size_t j = 0; j < length; ++j) {
                const std::size_t ja = top ? j : j + 1;
                const std::size_t jb = top ? j + 1 : j;
                vertices.push_back(sweepVertex(middle, {0.5f, 0.5f}));
                vertices.push_back(sweepVertex(corner(i, ja, 1.0f), uv(i, ja)));
                vertices.push_back(sweepVertex(corner(i, jb, 1.0f), uv(i, jb)));
            }
        }
    }
    return vertices;
}

}  // namespace

std::unique_ptr<SceneObject> makeTube(std::string name, const CurveEditor& section, const CurveEditor& profile,
                                      const CurveEditor& path, const CurveEditor& secondProfile,
                                      const TubeSettings& settings) {
    return meshObject(std::move(name), tubeVertices(section, profile, path, secondProfile, settings));
}

std::unique_ptr<SceneObject> makeSurface(std::string name, const CurveEditor& across, const CurveEditor& depth,
                                         int acrossSteps, int depthSteps) {
    // The surface reaches the last points of open curves too.
    const auto samples = [](const CurveEditor& curve, int steps) {
        std::vector<Vec3> s = sampleCurve(curve.points, curve.closed, std::clamp(steps, 4, kMaxCurveSteps));
        if (!curve.closed && curve.points.size() > 1) s.push_back(curve.points.back().point);
        return s;
    };
    const std::vector<Vec3> a = samples(across, acrossSteps);
    const std::vector<Vec3> b = samples(depth, depthSteps);
    std::vector<MeshVertex> vertices;
    if (a.size() >= 2 && b.size() >= 2 && withinCellLimit(a.size() - 1, b.size() - 1)) {
        const auto vertex = [&](std::size_t i, std::size_t j) {
            const Vec2 uv{static_cast<float>(j) / static_cast<float>(a.size() - 1),
                          static_cast<float>(i) / static_cast<float>(b.size() - 1)};
            return sweepVertex(a[j] + b[i], uv);
        };
        vertices.reserve(6 * (a.size() - 1) * (b.size() - 1));
        for (std::size_t i = 0; i + 1 < b.size(); ++i) {
            for (std::size_t j = 0; j + 1 < a.size(); ++j) {
                // This order faces up while the depth curve runs along +z.
                const std::pair<std::size_t, std::size_t> corners[6] = {{i, j},     {i + 1, j},     {i, j + 1},
                                                                        {i + 1, j}, {i + 1, j + 1}, {i, j + 1}};
                for (const auto& [ci, cj] : corners) vertices.push_back(vertex(ci, cj));
            }
        }
    }
    return meshObject(std::move(name), std::move(vertices));
}

}  // namespace morvanex
