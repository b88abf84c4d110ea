// The hierarchy against the exhaustive loop on thousands of random rays:
// random meshes under random matrices (shear and mirroring included), with
// repeated triangles for ties, rays aimed at corners and edges, rays along
// edges and rays that graze a triangle's plane. Object, triangle, distance
// and point must be the same to the bit.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "modeling/mesh_picking.h"
#include "modeling/scene_picking.h"
#include "scene/scene.h"

namespace morvanex {
namespace {

class RandomScenes {
public:
    explicit RandomScenes(unsigned seed) : random_(seed) {}

    float uniform(float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(random_); }
    int pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }
    Vec3 point(float extent) { return {uniform(-extent, extent), uniform(-extent, extent), uniform(-extent, extent)}; }

    // A soup of triangles of mixed sizes, a share of them repeated or
    // sharing an edge with an earlier one, indexed as stored or shuffled.
    void addMesh(Scene& scene) {
        std::vector<MeshVertex> vertices;
        std::vector<std::int32_t> indices;
        const int triangles = 20 + pick(400);
        const float size = pick(4) == 0 ? 3.0f : 0.4f;
        for (int i = 0; i < triangles; ++i) {
            const std::size_t existing = indices.size() / 3;
            if (existing > 0 && pick(6) == 0) {  // the same triangle again
                const auto from = static_cast<std::size_t>(pick(static_cast<int>(existing)));
                for (std::size_t k = 0; k < 3; ++k) indices.push_back(indices[3 * from + k]);
                continue;
            }
            Vec3 a = point(2.0f);
            Vec3 b = a + point(size);
            if (existing > 0 && pick(4) == 0) {  // shares an edge
                const auto from = static_cast<std::size_t>(pick(static_cast<int>(existing)));
                a = vertices[static_cast<std::size_t>(indices[3 * from])].position;
                b = vertices[static_cast<std::size_t>(indices[3 * from + 1])].position;
            }
            for (const Vec3 p : {a, b, a + point(size)}) {
                MeshVertex v;
                v.position = p;
                indices.push_back(static_cast<std::int32_t>(vertices.size()));
                vertices.push_back(v);
            }
        }
        SceneObject& object = scene.addObject("random");
        object.assignMesh(std::move(vertices), std::move(indices));
        Mat4 world = matrixRotationAxis(point(1.0f), uniform(-3.0f, 3.0f)) *
                     matrixScaling(uniform(0.3f, 3.0f), uniform(0.3f, 3.0f), uniform(0.3f, 3.0f)) *
                     matrixTranslation(point(6.0f));
        if (pick(3) == 0) world.m[1][0] += uniform(-0.5f, 0.5f);  // shear
        if (pick(5) == 0) world.m[2][2] = -world.m[2][2];         // mirror
        object.worldMatrix = world;
    }

    // A ray of one of five kinds.
    Ray ray(const Scene& scene) {
        const auto& objects = scene.objects();
        const SceneObject& object = *objects[static_cast<std::size_t>(pick(static_cast<int>(objects.size())))];
        const std::size_t triangles = object.indices.size() / 3;
        std::array<Vec3, 3> c{};
        if (triangles > 0) {
            const auto t = static_cast<std::size_t>(pick(static_cast<int>(triangles)));
            for (std::size_t k = 0; k < 3; ++k) {
                c[k] = transformPoint(object.vertices[static_cast<std::size_t>(object.indices[3 * t + k])].position,
                                      object.worldMatrix);
            }
        }
        const Vec3 origin = point(25.0f);
        switch (pick(5)) {
        case 0:  // anywhere near the objects
            return {origin, point(10.0f) - origin};
        case 1:  // at a corner
            return {origin, c[static_cast<std::size_t>(pick(3))] - origin};
        case 2: {  // at a point of an edge
            const float s = pick(2) == 0 ? 0.5f : uniform(0.0f, 1.0f);
            return {origin, lerp(c[0], c[1], s) - origin};
        }
        case 3: {  // along an edge, from beyond its end
            const Vec3 along = c[1] - c[0];
            return {c[0] - along * uniform(0.1f, 3.0f), along * uniform(0.5f, 2.0f)};
        }
        default: {  // grazing the plane of a triangle, towards a point inside it
            const Vec3 normal = normalize(cross(c[2] - c[0], c[1] - c[0]));
            const Vec3 target = c[0] + (c[1] - c[0]) * 0.3f + (c[2] - c[0]) * 0.3f;
            const Vec3 in = normalize(c[1] - c[0]) + normal * uniform(-1e-3f, 1e-3f);
            return {target - in * uniform(1.0f, 30.0f), in};
        }
        }
    }

private:
    std::mt19937 random_;
};

bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }
bool sameBits(Vec3 a, Vec3 b) { return sameBits(a.x, b.x) && sameBits(a.y, b.y) && sameBits(a.z, b.z); }

TEST(PickingAgreement, TheHierarchyGivesTheExhaustiveAnswerOnRandomRays) {
    int hits = 0;
    int rays = 0;
    for (unsigned seed = 1; seed <= 6; ++seed) {
        RandomScenes random(seed);
        Scene scene;
        const int objects = 1 + random.pick(8);
        for (int i = 0; i < objects; ++i) random.addMesh(scene);
        PickRules rules;
        rules.facingOnly = seed % 2 == 0;
        for (int i = 0; i < 1500; ++i, ++rays) {
            const Ray ray = random.ray(scene);
            const PickHit slow = pickExhaustive(scene, ray, rules);
            const PickHit fast = pickScene(scene, ray, rules);
            ASSERT_EQ(slow.hoveredObject, fast.hoveredObject) << "seed " << seed << " ray " << i;
            ASSERT_EQ(slow.hoveredTriangle, fast.hoveredTriangle) << "seed " << seed << " ray " << i;
            ASSERT_TRUE(sameBits(slow.nearestDistance, fast.nearestDistance)) << "seed " << seed << " ray " << i;
            ASSERT_TRUE(sameBits(slow.hitPoint, fast.hitPoint)) << "seed " << seed << " ray " << i;
            ASSERT_EQ(slow.hoveredVertex, fast.hoveredVertex);
            if (slow.hoveredObject != nullptr) ++hits;
            // One object alone, in the other modes.
            SceneObject& object = *scene.objects()[kServiceObjectCount + static_cast<std::size_t>(random.pick(objects))];
            for (const MeshQuery query :
                 {MeshQuery{PickMode::FirstHit, false, {}}, MeshQuery{PickMode::Nearest, !rules.facingOnly, {}}}) {
                const MeshHit a = intersectMesh(object, ray, query);
                const MeshHit b = intersectMeshFast(object, ray, query);
                ASSERT_EQ(a.triangle, b.triangle) << "seed " << seed << " ray " << i;
                ASSERT_TRUE(sameBits(a.distance, b.distance));
            }
        }
    }
    // Enough of the rays hit something for the comparison to mean much.
    EXPECT_GT(hits, rays / 3);
}

}  // namespace
}  // namespace morvanex
