// The sweeps: curve sampling, the tube's counts, seam, bounds and outward
// normals, the helix and path options, the surface, and the limits that
// keep a slip in a box from asking for gigabytes.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <tuple>

#include "modeling/sweeps.h"
#include "scene/scene_object.h"

namespace morvanex {
namespace {

struct TubeCurves {
    CurveEditor section;
    CurveEditor profile;
    CurveEditor path;
    CurveEditor second;
};

// The tool's defaults: a round section of n + 1 points on a box of 20 x 20,
// a vertical profile of 4 segments sampled 4 times each.
TubeCurves defaultCurves(CurveKind sectionKind = CurveKind::Circle, int sectionPoints = 4) {
    TubeCurves c;
    c.section.kind = sectionKind;
    c.section.pointCount = sectionPoints;
    makeDefaultShape(c.section, 1);
    const std::pair<CurveEditor*, CurveKind> lines[] = {{&c.profile, CurveKind::VerticalLine}, {&c.path, CurveKind::CentreLine}};
    for (auto [editor, kind] : lines) {
        editor->kind = kind;
        editor->pointCount = 4;
        makeDefaultShape(*editor, 4);
    }
    c.second = c.profile;
    return c;
}

std::unique_ptr<SceneObject> tube(const TubeCurves& c, TubeSettings settings = {}) {
    return makeTube(kTubeName, c.section, c.profile, c.path, c.second, settings);
}

float axisDistance(Vec3 p) { return std::sqrt(p.x * p.x + p.z * p.z); }

using Key = std::tuple<long, long, long>;
Key key(Vec3 p) { return {std::lround(p.x * 1e3f), std::lround(p.y * 1e3f), std::lround(p.z * 1e3f)}; }

// Directed edges of the triangles, each counted.
std::map<std::pair<Key, Key>, int> edgesOf(const SceneObject& object) {
    std::map<std::pair<Key, Key>, int> edges;
    for (std::size_t t = 0; t < object.vertices.size(); t += 3) {
        for (std::size_t k = 0; k < 3; ++k) {
            edges[{key(object.vertices[t + k].position), key(object.vertices[t + (k + 1) % 3].position)}] += 1;
        }
    }
    return edges;
}

// Edges not run the other way by a neighbouring triangle.
int openEdges(const SceneObject& object) {
    const auto edges = edgesOf(object);
    int open = 0;
    for (const auto& [edge, count] : edges) open += count != 1 || edges.count({edge.second, edge.first}) == 0 ? 1 : 0;
    return open;
}

TEST(CurveSampling, OpenCurvesStopBeforeTheirLastPointAndClosedOnesComeBack) {
    CurveEditor line;
    line.kind = CurveKind::VerticalLine;
    line.pointCount = 3;
    makeDefaultShape(line, 5);
    const std::vector<Vec3> open = sampleCurve(line.points, false, 0);
    ASSERT_EQ(open.size(), 15u);  // the step values of every point but the last
    EXPECT_NEAR(open[5].y, 20.0f / 3.0f, 1e-4f);  // a segment's first sample is its point
    EXPECT_LT(open.back().y, 20.0f);

    CurveEditor circle;
    circle.pointCount = 4;
    makeDefaultShape(circle, 1);
    ASSERT_EQ(circle.points.size(), 5u);
    const std::vector<Vec3> closed = sampleCurve(circle.points, true, 2);
    ASSERT_EQ(closed.size(), 11u);  // (n + 1) x k + 1
    EXPECT_NEAR(distance(closed.front(), closed.back()), 0.0f, 1e-4f);
    for (Vec3 p : closed) EXPECT_NEAR(p.y, 20.0f, 1e-5f);
}

TEST(CurveHandles, StraighteningAroundAPointTouchesOnlyItsTwoSegments) {
    CurveEditor line;
    line.kind = CurveKind::VerticalLine;
    line.pointCount = 3;
    makeDefaultShape(line, 4);
    const std::vector<CurvePoint> before = line.points;
    line.points[1].point.x += 3.0f;
    placeHandlesOnThirdsAround(line.points, 1, false);
    EXPECT_EQ(line.points[0].handle2, lerp(line.points[0].point, line.points[1].point, 2.0f / 3.0f));
    EXPECT_EQ(line.points[1].handle1, lerp(line.points[1].point, line.points[2].point, 1.0f / 3.0f));
    EXPECT_EQ(line.points[2].handle1, before[2].handle1);  // the next segment keeps its own

    // On a closed curve the first point's previous segment is the closing one.
    CurveEditor circle;
    circle.pointCount = 3;
    makeDefaultShape(circle, 1);
    placeHandlesOnThirdsAround(circle.points, 0, true);
    EXPECT_EQ(circle.points[3].handle2, lerp(circle.points[3].point, circle.points[0].point, 2.0f / 3.0f));
}

TEST(SweepCounts, TypedCountsAreRaisedToTheirMinimumsAndCapped) {
    EXPECT_EQ(tubeSectionSteps(1, true), 3);
    EXPECT_EQ(tubeSectionSteps(1, false), 2);
    EXPECT_EQ(tubeSectionSteps(1'000'000, false), kMaxCurveSteps);
    EXPECT_EQ(tubeProfileSteps(1), 4);
    const std::pair<int, int> angular[] = {{1, 3}, {3, 3}, {6, 7}, {7, 7}, {10, 11}, {12, 11}};
    for (auto [typed, rounded] : angular) EXPECT_EQ(angularSectionPoints(typed), rounded) << typed;
    const std::pair<float, int> subdivisions[] = {{1.0f, 2}, {3.0f, 4}, {4.0f, 4}, {-7.0f, 2}, {1e9f, 64}, {std::nanf(""), 2}};
    for (auto [typed, even] : subdivisions) EXPECT_EQ(surfaceSubdivisions(typed), even) << typed;
}

TEST(Tube, DefaultRoundTubeHasTheCountsBoundsAndClosedSeamOfItsCurves) {
    const auto object = tube(defaultCurves());
    // 6 x (P - 1) x (S + 1) x k with P = 16 profile samples, S = 4, k = 2.
    ASSERT_EQ(object->vertices.size(), 6u * 15u * 5u * 2u);
    EXPECT_EQ(object->name, kTubeName);
    float top = 0.0f;
    for (const MeshVertex& v : object->vertices) {
        // Radius a/2 scaled by the profile's distance a/2 times 0.1: 10.
        EXPECT_LE(axisDistance(v.position), 10.0f + 1e-3f);
        EXPECT_GE(axisDistance(v.position), 9.0f);
        top = std::max(top, v.position.y);
    }
    EXPECT_NEAR(top, 20.0f - 20.0f / 16.0f, 1e-4f);  // the last profile point is not sampled

    // Every edge inside is shared by two triangles running it both ways:
    // only the bottom and top rings are open.
    const auto edges = edgesOf(*object);
    for (const auto& [edge, count] : edges) {
        if (edges.count({edge.second, edge.first}) != 0) continue;
        const long y0 = std::get<1>(edge.first);
        EXPECT_TRUE(y0 == 0 || y0 == std::lround(top * 1e3f)) << "open edge at height " << y0;
        EXPECT_EQ(y0, std::get<1>(edge.second));
    }
}

TEST(Tube, CappedEndsCloseTheTubeAndFaceOutOfIt) {
    TubeSettings capped;
    capped.capped = true;
    const auto object = tube(defaultCurves(), capped);
    ASSERT_EQ(object->vertices.size(), 6u * 15u * 10u + 2u * 3u * 10u);
    EXPECT_EQ(openEdges(*object), 0);
    const std::size_t caps = 6u * 15u * 10u;
    EXPECT_LT(object->vertices[caps].normal.y, -0.99f);        // the bottom faces down
    EXPECT_GT(object->vertices.back().normal.y, 0.99f);        // the top faces up
}

TEST(Tube, NormalsPointAwayFromTheAxisForRoundAndAngularSections) {
    const std::pair<CurveKind, int> sections[] = {{CurveKind::Circle, 4}, {CurveKind::Rectangle, angularSectionPoints(6)}};
    for (auto [kind, points] : sections) {
        const auto object = tube(defaultCurves(kind, points));
        ASSERT_FALSE(object->vertices.empty());
        for (const MeshVertex& v : object->vertices) {
            ASSERT_GT(v.normal.x * v.position.x + v.normal.z * v.position.z, 0.0f) << static_cast<int>(kind);
            EXPECT_NEAR(v.normal.y, 0.0f, 1e-4f);
        }
    }
}

TEST(Tube, AngularSectionReachesTheCornersOfItsBox) {
    const auto object = tube(defaultCurves(CurveKind::Rectangle, angularSectionPoints(6)));
    float corner = 0.0f;
    for (const MeshVertex& v : object->vertices) corner = std::max(corner, std::fabs(v.position.x) + std::fabs(v.position.z));
    EXPECT_NEAR(corner, 20.0f, 1e-3f);
}

TEST(Tube, HelixClimbsAndAVerticalPathChangesNothing) {
    const TubeCurves curves = defaultCurves();
    const auto plain = tube(curves);
    TubeSettings helix;
    helix.helix = true;
    helix.turns = 2;
    helix.pitch = 1.0f;
    const auto climbing = tube(curves, helix);
    ASSERT_EQ(climbing->vertices.size(), plain->vertices.size());
    float highest = 0.0f;
    for (const MeshVertex& v : climbing->vertices) highest = std::max(highest, v.position.y);
    // Two turns of ten samples, each rising by the profile's rise / 10 + 1.
    EXPECT_NEAR(highest, 18.75f + 2.0f * 10.0f * (18.75f / 10.0f + 1.0f), 1e-3f);

    TubeSettings oriented;
    oriented.oriented = true;
    const auto alongPath = tube(curves, oriented);
    ASSERT_EQ(alongPath->vertices.size(), plain->vertices.size());
    for (std::size_t i = 0; i < plain->vertices.size(); ++i) {
        EXPECT_LT(distance(alongPath->vertices[i].position, plain->vertices[i].position), 1e-4f) << i;
    }
}

TEST(Tube, ATiltedPathCarriesEachRingOntoIt) {
    TubeCurves curves = defaultCurves();
    // The path leans 45 degrees towards +x.
    for (CurvePoint& p : curves.path.points) {
        p.point.x = p.point.y;
        p.handle1.x = p.handle1.y;
        p.handle2.x = p.handle2.y;
    }
    TubeSettings oriented;
    oriented.oriented = true;
    const auto object = tube(curves, oriented);
    const std::vector<Vec3> path = sampleCurve(curves.path.points, false, 0);
    // Ring 0 is the second corner of the first triangles, all around.
    Vec3 sum;
    int count = 0;
    for (std::size_t t = 0; t < 10; ++t) {
        sum += object->vertices[t * 6 + 1].position;
        ++count;
    }
    const Vec3 centre = sum / static_cast<float>(count);
    EXPECT_LT(distance(centre, path[0]), 0.5f);
    // Turned: the ring is no longer level.
    EXPECT_GT(std::fabs(object->vertices[1].position.y - object->vertices[7].position.y), 0.1f);
}

// The volume enclosed, by the divergence rule: positive when the
// triangles face out of a closed mesh.
float signedVolume(const SceneObject& object) {
    float sum = 0.0f;
    for (std::size_t t = 0; t + 2 < object.vertices.size(); t += 3) {
        sum += dot(object.vertices[t].position, cross(object.vertices[t + 1].position, object.vertices[t + 2].position));
    }
    return sum / 6.0f;
}

TEST(Tube, AThickTubeIsClosedFacesOutAndLosesItsInnerCore) {
    TubeSettings settings;
    settings.capped = true;  // the walls' joins take the caps' place
    const float solid = signedVolume(*tube(defaultCurves(), settings));
    for (const float thickness : {0.25f, 0.6f, 40.0f}) {
        settings.thickness = thickness;
        const auto object = tube(defaultCurves(), settings);
        // Two walls of 15 x 10 quads, and 10 quads joining them at each end.
        ASSERT_EQ(object->vertices.size(), 2u * 6u * 15u * 10u + 2u * 6u * 10u);
        EXPECT_EQ(openEdges(*object), 0) << thickness;
        const float inner = 1.0f - std::min(thickness, kMaxTubeThickness);
        EXPECT_NEAR(signedVolume(*object), solid * (1.0f - inner * inner), solid * 2e-3f) << thickness;
    }
    settings.thickness = std::nanf("");
    EXPECT_EQ(tube(defaultCurves(), settings)->vertices.size(), 6u * 15u * 10u + 2u * 3u * 10u);
}

TEST(Tube, TwistTurnsRingsInProportionAndHalfTakesTheSecondProfile) {
    TubeCurves curves = defaultCurves();
    for (CurvePoint& p : curves.second.points) p.point.x = p.handle1.x = p.handle2.x = -15.0f;
    TubeSettings settings;
    settings.twist = 1.2f;
    settings.half = true;
    const auto plain = tube(curves);
    const auto object = tube(curves, settings);
    ASSERT_EQ(object->vertices.size(), plain->vertices.size());
    for (std::size_t i = 0; i < object->vertices.size(); ++i) {
        const Vec3 p = object->vertices[i].position;
        const Vec3 q = plain->vertices[i].position;
        // The second half of each ring 1.5 times as wide; the last ring (at 18.75) turned by the whole twist.
        const float widening = object->vertices[i].texcoord.x >= 0.5f ? 1.5f : 1.0f;
        ASSERT_NEAR(axisDistance(p), axisDistance(q) * widening, 1e-3f) << i;
        const float turned = std::remainder(std::atan2(p.z, p.x) - std::atan2(q.z, q.x), kTwoPi);
        ASSERT_NEAR(turned, 1.2f * p.y / 18.75f, 1e-4f) << i;
    }
}

TEST(Surface, ArchesRiseAlongTheChosenAxisAndFaceAlongIt) {
    for (const int axis : {0, 1, 2}) {
        CurveEditor across;
        across.kind = CurveKind::AcrossArch;
        across.a = 100.0f;
        across.b = 10.0f;
        across.pointCount = 4;
        across.arches = 2;
        across.smoothing = 1.0f;
        across.upAxis = axis;
        makeDefaultShape(across, 1);
        CurveEditor depth = across;
        depth.kind = CurveKind::DepthLine;
        makeDefaultShape(depth, 1);
        const auto object = makeSurface(kSurfaceName, across, depth, 4, 4);
        const auto up = [axis](Vec3 p) { return axis == 0 ? p.x : axis == 1 ? p.y : p.z; };
        float high = 0.0f;
        float middle = 1.0f;  // where the two arches meet
        for (const MeshVertex& v : object->vertices) {
            high = std::max(high, up(v.position));
            if (std::fabs(across.points[2].point.x - v.position.x) + std::fabs(across.points[2].point.y - v.position.y) < 1e-3f) {
                middle = std::min(middle, up(v.position));
            }
            ASSERT_GT(up(v.normal), 0.0f) << axis;
        }
        EXPECT_NEAR(high, 10.0f, 0.01f) << axis;
        EXPECT_NEAR(middle, 0.0f, 1e-4f) << axis;
    }
}

TEST(Surface, DefaultArchFacesUpWithItsCountsAndHeight) {
    CurveEditor across;
    across.kind = CurveKind::AcrossArch;
    across.a = 100.0f;
    across.b = 10.0f;
    across.pointCount = 4;
    makeDefaultShape(across, 1);
    CurveEditor depth;
    depth.kind = CurveKind::DepthLine;
    depth.a = 50.0f;
    depth.b = 0.0f;
    depth.pointCount = 2;
    makeDefaultShape(depth, 1);
    const auto object = makeSurface(kSurfaceName, across, depth, 1, 5);  // 1 is raised to 4
    // 17 across samples, 11 depth samples: open curves end on their last point.
    ASSERT_EQ(object->vertices.size(), 6u * 16u * 10u);
    float high = 0.0f;
    for (const MeshVertex& v : object->vertices) {
        high = std::max(high, v.position.y);
        EXPECT_GE(v.position.z, -25.0f - 1e-4f);
        EXPECT_LE(v.position.z, 25.0f + 1e-4f);
    }
    EXPECT_NEAR(high, 10.0f, 0.5f);
    // The middle of the arch faces up.
    const MeshVertex& middle = object->vertices[6 * 7];
    EXPECT_GT(middle.normal.y, 0.9f);
}

TEST(SweepLimits, AbsurdCountsGiveAnEmptyMeshNotAGiantOne) {
    TubeCurves curves = defaultCurves();
    curves.section.pointCount = 1'000'000;
    makeDefaultShape(curves.section, 1);
    EXPECT_EQ(curves.section.points.size(), static_cast<std::size_t>(kMaxCurvePoints) + 1);
    for (CurvePoint& p : curves.profile.points) p.step = 1'000'000;
    TubeSettings settings;
    settings.sectionSteps = 1'000'000;
    EXPECT_EQ(tube(curves, settings)->triangleCount, 0);
}

}  // namespace
}  // namespace morvanex
