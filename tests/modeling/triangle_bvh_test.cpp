// The hierarchy of a mesh large enough to be built on several threads:
// the same hierarchy whatever the thread count, and the exhaustive loop's
// answer on rays at corners and edges, before and after a refit. A stack of
// identical triangles (all centres alike) and repeated triangles (ties)
// are part of the mesh.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <utility>
#include <vector>

#include "modeling/mesh_picking.h"
#include "modeling/scene_picking.h"
#include "modeling/triangle_bvh.h"
#include "scene/scene.h"

namespace morvanex {
namespace {

// A wavy sheet of 2 x 200 x 200 triangles, one vertex per corner, then 40
// copies of one triangle and a repeat of every 97th.
void makeSheet(SceneObject& object) {
    std::vector<MeshVertex> vertices;
    auto corner = [&](int r, int c) {
        MeshVertex v;
        v.position = {static_cast<float>(c) * 0.1f, static_cast<float>(r) * 0.1f,
                      0.3f * std::sin(static_cast<float>(r) * 0.21f) * std::cos(static_cast<float>(c) * 0.17f)};
        vertices.push_back(v);
    };
    constexpr int kSide = 200;
    for (int r = 0; r < kSide; ++r) {
        for (int c = 0; c < kSide; ++c) {
            for (const auto& [dr, dc] : {std::pair{0, 0}, {1, 0}, {1, 1}, {0, 0}, {1, 1}, {0, 1}}) {
                corner(r + dr, c + dc);
            }
        }
    }
    std::vector<std::int32_t> indices(vertices.size());
    for (std::size_t i = 0; i < indices.size(); ++i) indices[i] = static_cast<std::int32_t>(i);
    for (int copy = 0; copy < 40; ++copy) indices.insert(indices.end(), {3000, 3001, 3002});
    const std::size_t sheet = indices.size();
    for (std::size_t i = 0; i < sheet; i += 3 * 97) {
        indices.insert(indices.end(), {indices[i], indices[i + 1], indices[i + 2]});
    }
    object.assignMesh(std::move(vertices), std::move(indices));
    object.worldMatrix = matrixRotationAxis({0.3f, 1.0f, 0.2f}, 0.7f) * matrixScaling(1.5f, 0.8f, 1.2f) *
                         matrixTranslation(1.0f, -2.0f, 4.0f);
}

// Rays from above the sheet at a corner or a point of an edge of a random
// triangle, in world space.
std::vector<Ray> raysAt(const SceneObject& object, std::span<const Vec3> drawn, int count) {
    std::mt19937 random(11);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    const CornerPositions positions(object, drawn);
    std::vector<Ray> rays;
    const auto triangles = static_cast<int>(object.indices.size() / 3);
    for (int i = 0; i < count; ++i) {
        const auto t = static_cast<std::size_t>(std::uniform_int_distribution<int>(0, triangles - 1)(random));
        const Vec3 a = positions[static_cast<std::size_t>(object.indices[3 * t])];
        const Vec3 b = positions[static_cast<std::size_t>(object.indices[3 * t + 1])];
        const Vec3 target = transformPoint(i % 2 == 0 ? a : lerp(a, b, unit(random)), object.worldMatrix);
        const Vec3 origin = transformPoint(Vec3{10.0f * unit(random), 10.0f * unit(random), 8.0f}, object.worldMatrix);
        rays.push_back({origin, target - origin});
    }
    return rays;
}

bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

void expectExhaustiveAnswers(const TriangleBvh& bvh, const SceneObject& object, std::span<const Vec3> drawn) {
    const std::optional<ObjectFrame> frame = objectFrame(object.worldMatrix);
    ASSERT_TRUE(frame.has_value());
    ASSERT_TRUE(bvh.finite());
    const MeshQuery query{PickMode::Nearest, false, drawn};
    Vec3 lo;
    Vec3 hi;
    queryBounds(object, query, lo, hi);
    int hits = 0;
    for (const Ray& ray : raysAt(object, drawn, 60)) {
        const MeshHit slow = intersectMesh(object, ray, query);
        const std::optional<BvhRay> objectRay = objectSpaceRay(ray, *frame, bvh.root());
        ASSERT_TRUE(objectRay.has_value());
        MeshHit fast;
        if (hitsBoundingBox(ray, lo, hi, object.worldMatrix)) {
            fast = bvh.closestHit(*objectRay, ray, object.worldMatrix, PickMode::Nearest, false);
        }
        ASSERT_EQ(slow.triangle, fast.triangle);
        ASSERT_TRUE(sameBits(slow.distance, fast.distance));
        hits += slow.hit ? 1 : 0;
    }
    EXPECT_GT(hits, 50);
}

TEST(TriangleBvh, ALargeMeshBuiltOnThreadsGivesTheExhaustiveAnswerAlsoAfterARefit) {
    Scene scene;
    SceneObject& sheet = scene.addObject("sheet");
    makeSheet(sheet);
    const CornerPositions stored(sheet, {});
    TriangleBvh alone;
    alone.build(stored, sheet.indices, 1);
    TriangleBvh shared;
    shared.build(stored, sheet.indices, 4);
    ASSERT_EQ(shared.triangleCount(), sheet.indices.size() / 3);
    // The threads build what the single thread builds, in the same places.
    ASSERT_EQ(alone.nodeCount(), shared.nodeCount());
    EXPECT_EQ(std::memcmp(alone.nodes().data(), shared.nodes().data(), alone.nodeCount() * sizeof(BvhNode)), 0);
    expectExhaustiveAnswers(shared, sheet, {});

    // Every corner moved: a bulge and a shift.
    std::vector<Vec3> drawn(sheet.vertices.size());
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        const Vec3 p = sheet.vertices[i].position;
        drawn[i] = p + Vec3{0.5f, 0.0f, 2.0f * std::exp(-lengthSquared(p - Vec3{10.0f, 10.0f, 0.0f}) * 0.05f)};
    }
    shared.refit(CornerPositions(sheet, drawn), sheet.indices);
    expectExhaustiveAnswers(shared, sheet, drawn);
}

// Every object drawn with the same given positions.
class Drawn final : public DeformedShapes {
public:
    std::span<const Vec3> drawnPositions(const SceneObject&) const override { return positions; }
    std::vector<Vec3> positions;
};

TEST(TriangleBvh, FiniteDrawnCornersAfterABuildOverADamagedOneAreHit) {
    Scene scene;
    SceneObject& object = scene.addObject("mended");
    const std::vector<Vec3> corners{{-1.0f, -1.0f, 5.0f}, {-1.0f, 1.0f, 5.0f}, {1.0f, 0.0f, 5.0f}};
    std::vector<MeshVertex> vertices(corners.size());
    for (std::size_t i = 0; i < corners.size(); ++i) vertices[i].position = corners[i];
    vertices[2].position.x = std::numeric_limits<float>::quiet_NaN();
    object.assignMesh(std::move(vertices), {0, 1, 2});
    const Ray ray{{-0.5f, 0.0f, 0.0f}, {0.0f, 0.0f, 1.0f}};
    EXPECT_EQ(pickScene(scene, ray, {}).hoveredObject, nullptr);  // built over the damaged corner
    Drawn drawn;
    drawn.positions = corners;
    PickRules rules;
    rules.deformed = &drawn;
    EXPECT_EQ(pickExhaustive(scene, ray, rules).hoveredObject, &object);
    EXPECT_EQ(pickScene(scene, ray, rules).hoveredObject, &object);
}

}  // namespace
}  // namespace morvanex
