// The primitive generators: counts, bounds, closed surfaces, outward
// normals and texture layouts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <tuple>

#include "modeling/primitives.h"
#include "scene/scene_object.h"

namespace morvanex {
namespace {

// Every edge of a closed surface is shared by exactly two triangles running
// it in opposite directions.
bool watertight(const SceneObject& object) {
    using Key = std::tuple<float, float, float>;
    const auto key = [](Vec3 p) { return Key{std::round(p.x * 1e3f), std::round(p.y * 1e3f), std::round(p.z * 1e3f)}; };
    std::map<std::pair<Key, Key>, int> edges;
    for (std::size_t t = 0; t + 2 < object.indices.size(); t += 3) {
        for (std::size_t k = 0; k < 3; ++k) {
            const Vec3 a = object.vertices[static_cast<std::size_t>(object.indices[t + k])].position;
            const Vec3 b = object.vertices[static_cast<std::size_t>(object.indices[t + (k + 1) % 3])].position;
            if (key(a) == key(b)) continue;  // a pole's degenerate edge
            edges[{key(a), key(b)}] += 1;
        }
    }
    for (const auto& [edge, count] : edges) {
        const auto back = edges.find({edge.second, edge.first});
        if (count != 1 || back == edges.end() || back->second != 1) return false;
    }
    return !edges.empty();
}

// Each triangle's winding normal points away from the inside point, and
// every vertex normal leans outwards too.
void expectOutward(const SceneObject& object, Vec3 inside) {
    for (std::size_t t = 0; t + 2 < object.vertices.size(); t += 3) {
        const Vec3 p0 = object.vertices[t].position;
        const Vec3 p1 = object.vertices[t + 1].position;
        const Vec3 p2 = object.vertices[t + 2].position;
        const Vec3 winding = cross(p0 - p2, p1 - p2);
        const Vec3 centroid = (p0 + p1 + p2) / 3.0f;
        if (length(winding) < 1e-6f) continue;
        ASSERT_GT(dot(winding, centroid - inside), 0.0f) << object.name << " triangle " << t / 3;
        for (std::size_t k = 0; k < 3; ++k) {
            ASSERT_GT(dot(object.vertices[t + k].normal, centroid - inside), 0.0f) << object.name << " vertex " << t + k;
        }
    }
}

struct ClosedShape {
    const char* name;
    std::function<std::unique_ptr<SceneObject>()> make;
    std::size_t triangles;
    Vec3 inside;
    Vec3 low, high;
};

TEST(Primitives, ClosedShapesHaveTheirCountsBoundsAndOutwardNormals) {
    const std::vector<ClosedShape> shapes{
        {"boite", [] { return makeBox({0, 0, 0}, {4, 0, 2}, {9, 3, 9}); }, 12, {2, 1.5f, 1}, {0, 0, 0}, {4, 3, 2}},
        // Drawn from the other corners, downwards: the same box.
        {"boite", [] { return makeBox({4, 3, 0}, {0, 3, 2}, {9, 0, 9}); }, 12, {2, 1.5f, 1}, {0, 0, 0}, {4, 3, 2}},
        {"Sph\xE8re", [] { return makeSphere({1, 2, 3}, 5.0f, 20); }, 24, {1, 2, 3}, {-4, -3, -2}, {6, 7, 8}},
        {"Sph\xE8re", [] { return makeSphere({0, 0, 0}, 1.0f, 1000); }, 1104, {0, 0, 0}, {-1, -1, -1}, {1, 1, 1}},
        {"Cone", [] { return makeCone(16, {0, 0, 0}, {0, 0, 6}, 2.0f); }, 32, {0, 0, 1}, {-2, -2, 0}, {2, 2, 6}},
    };
    for (const ClosedShape& shape : shapes) {
        SCOPED_TRACE(shape.name);
        const auto object = shape.make();
        EXPECT_EQ(object->name, shape.name);
        EXPECT_EQ(object->triangleCount, static_cast<std::int32_t>(shape.triangles));
        EXPECT_EQ(object->vertexCount(), shape.triangles * 3);
        for (std::size_t i = 0; i < object->indices.size(); ++i) ASSERT_EQ(object->indices[i], static_cast<std::int32_t>(i));
        EXPECT_NEAR(object->boundsMin.x, shape.low.x, 1e-4f);
        EXPECT_NEAR(object->boundsMin.y, shape.low.y, 1e-4f);
        EXPECT_NEAR(object->boundsMax.y, shape.high.y, 1e-4f);
        EXPECT_NEAR(object->boundsMax.z, shape.high.z, 1e-4f);
        EXPECT_TRUE(watertight(*object));
        expectOutward(*object, shape.inside);
        // A fresh object: nothing to undo, its histories ready.
        EXPECT_EQ(object->transformHistory.cursor, 0);
        EXPECT_EQ(object->vertexHistory.cursor, 0);
    }
}

TEST(Primitives, SphereRingCountFollowsTheBudget) {
    EXPECT_EQ(sphereRingCount(0), 0);
    EXPECT_EQ(sphereRingCount(1), 2);
    EXPECT_EQ(sphereRingCount(20), 4);
    EXPECT_EQ(sphereRingCount(24), 4);
    EXPECT_EQ(sphereRingCount(25), 6);
    // A slip of the budget box asks for no more than the cap allows.
    EXPECT_EQ(sphereRingCount(kMaxSphereTriangles), sphereRingCount(std::int64_t{1} << 40));
    EXPECT_EQ(makeSphere({}, 1.0f, 0)->triangleCount, 0);
}

TEST(Primitives, OpenPatchesFaceTheirNormalWithCoordinatesFromZeroToOne) {
    const std::array<Vec3, 4> corners{Vec3{0, 0, 0}, Vec3{4, 0, 0}, Vec3{4, 2, 0}, Vec3{0, 2, 0}};
    const auto quad = makeQuad(3, 2, corners, {0, 0, 1});
    const auto grid = makeGrid("Grille", 5, 4, 10.0f, 8.0f, {1, 1, 7}, {1, 0, 0}, 0.0f);
    const auto ground = makeGroundGrid();
    const struct {
        const SceneObject* object;
        std::int32_t triangles;
        Vec3 normal;
    } patches[]{{quad.get(), 12, {0, 0, 1}}, {grid.get(), 40, {0, 0, 1}}, {ground.get(), 3200, {0, 1, 0}}};
    for (const auto& patch : patches) {
        SCOPED_TRACE(patch.object->name);
        EXPECT_EQ(patch.object->triangleCount, patch.triangles);
        float lowU = 1.0f, highU = 0.0f;
        for (std::size_t t = 0; t < patch.object->vertices.size(); t += 3) {
            const auto& v = patch.object->vertices;
            EXPECT_GT(dot(cross(v[t].position - v[t + 2].position, v[t + 1].position - v[t + 2].position), patch.normal), 0.0f);
        }
        for (const MeshVertex& v : patch.object->vertices) {
            EXPECT_NEAR(dot(v.normal, patch.normal), 1.0f, 1e-5f);
            ASSERT_TRUE(v.texcoord.x >= 0.0f && v.texcoord.x <= 1.0f && v.texcoord.y >= 0.0f && v.texcoord.y <= 1.0f);
            EXPECT_EQ(v.texcoord2.x, v.texcoord.x);
            lowU = std::min(lowU, v.texcoord.x);
            highU = std::max(highU, v.texcoord.x);
        }
        EXPECT_EQ(lowU, 0.0f);
        EXPECT_EQ(highU, 1.0f);
    }
    EXPECT_NEAR(grid->boundsMin.x, -4.0f, 1e-5f);
    EXPECT_NEAR(grid->boundsMax.y, 5.0f, 1e-5f);
    EXPECT_EQ(grid->boundsMin.z, 7.0f);
    EXPECT_EQ(makeQuad(0, 3, corners, {0, 0, 1})->triangleCount, 0);
}

TEST(Primitives, HeightSurfaceSamplesThePixels) {
    HeightImage black{4, 2, std::vector<std::uint32_t>(8, 0u)};
    const auto flat = makeHeightSurface(black, 10.0f, 4, 2);
    EXPECT_EQ(flat->name, "Surface altimetrique");
    const float k = 4.0f / 1920.0f * 0.06f;
    for (const MeshVertex& v : flat->vertices) ASSERT_FLOAT_EQ(v.position.y, k);  // all 0: 1.0 everywhere
    EXPECT_FLOAT_EQ(flat->boundsMax.x, 20.0f);
    EXPECT_FLOAT_EQ(flat->boundsMax.z, 10.0f);

    // One blue pixel: 100 per unit of blue, at the grid points that read it.
    HeightImage blue{1, 1, {0x00FF0000u}};
    const auto raised = makeHeightSurface(blue, 1.0f, 1, 1);
    float highest = 0.0f;
    for (const MeshVertex& v : raised->vertices) highest = std::max(highest, v.position.y);
    EXPECT_FLOAT_EQ(highest, 100.0f * (1.0f / 1920.0f * 0.06f));
}

TEST(Primitives, FacesTurnTowardsTheViewer) {
    const std::array<Vec3, 3> points{Vec3{0, 0, 0}, Vec3{1, 0, 0}, Vec3{0, 1, 0}};
    const std::array<Vec2, 3> uvs{Vec2{0, 0}, Vec2{1, 0}, Vec2{0, 1}};
    for (const float side : {10.0f, -10.0f}) {
        const auto face = makeFace3(points, uvs, {0, 0, side});
        EXPECT_EQ(face->name, "Face");
        ASSERT_EQ(face->triangleCount, 1);
        EXPECT_NEAR(face->vertices[0].normal.z, side > 0 ? 1.0f : -1.0f, 1e-6f);
    }
    const auto quad = makeFace4({Vec3{0, 0, 0}, Vec3{1, 0, 0}, Vec3{1, 1, 0}, Vec3{0, 1, 0}},
                                {Vec2{0, 0}, Vec2{1, 0}, Vec2{1, 1}, Vec2{0, 1}}, {0, 0, 5});
    EXPECT_EQ(quad->triangleCount, 2);
    expectOutward(*quad, {0.5f, 0.5f, -1.0f});
}

TEST(Primitives, SmoothNormalsJoinCornersWithinEpsilonOnly) {
    // Two triangles folded along the x axis, the second one's shared corner
    // nudged by less than epsilon, then by more.
    for (const float nudge : {0.0005f, 0.01f}) {
        std::vector<MeshVertex> v(6);
        v[0].position = {0, 0, 0};
        v[1].position = {1, 0, 0};
        v[2].position = {0, 1, 0};
        v[3].position = {1 + nudge, 0, 0};
        v[4].position = {0, 0, 0};
        v[5].position = {0, 0, 1};
        computeNormals(v, {0, 1, 2, 3, 4, 5}, 0.001f, false);
        const bool joined = nudge < 0.001f;
        EXPECT_EQ(v[1].normal == v[3].normal, joined);
        EXPECT_TRUE(v[0].normal == v[4].normal);
        EXPECT_NEAR(length(v[0].normal), 1.0f, 1e-5f);
    }
}

TEST(Primitives, SphereLayoutOfAnyObjectIsMeasuredFromItsCentre) {
    auto box = makeBox({-1, -1, -1}, {1, -1, 1}, {0, 1, 0});
    layOutSphereTexcoords(*box);
    for (const MeshVertex& v : box->vertices) {
        // Corners of a cube about its centre: |sin| of 45 degrees both ways.
        EXPECT_NEAR(v.texcoord.x, std::sqrt(0.5f), 1e-5f);
        EXPECT_NEAR(v.texcoord.y, 1.0f / std::sqrt(3.0f), 1e-5f);
        EXPECT_EQ(v.texcoord2.y, v.texcoord.y);
    }
}

}  // namespace
}  // namespace morvanex
