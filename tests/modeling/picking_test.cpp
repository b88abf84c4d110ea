// Picking rules: the triangle test and its limits, ties between triangles
// and between objects, the hovered corner, the objects the scene pass
// skips, deformed objects, damaged meshes and the hierarchy cache. Every
// scene case runs through both the exhaustive loop and the hierarchy.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "modeling/mesh_picking.h"
#include "modeling/scene_picking.h"
#include "scene/scene.h"

namespace morvanex {
namespace {

SceneObject& addMesh(Scene& scene, const char* name, const std::vector<Vec3>& corners,
                     std::vector<std::int32_t> indices = {}) {
    std::vector<MeshVertex> vertices(corners.size());
    for (std::size_t i = 0; i < corners.size(); ++i) vertices[i].position = corners[i];
    if (indices.empty()) {
        for (std::size_t i = 0; i < corners.size(); ++i) indices.push_back(static_cast<std::int32_t>(i));
    }
    SceneObject& object = scene.addObject(name);
    object.assignMesh(std::move(vertices), std::move(indices));
    return object;
}

// A square in the plane z = depth: two triangles that face along +z for the
// facing rule.
std::vector<Vec3> square(float depth, float half = 1.0f) {
    return {{-half, -half, depth}, {-half, half, depth}, {half, half, depth},
            {-half, -half, depth}, {half, half, depth},  {half, -half, depth}};
}

const Ray kAlongZ{{0.2f, -0.3f, -10.0f}, {0.0f, 0.0f, 1.0f}};

// Both paths, and they must agree.
PickHit pickBoth(Scene& scene, const Ray& ray, const PickRules& rules = {}) {
    const PickHit slow = pickExhaustive(scene, ray, rules);
    const PickHit fast = pickScene(scene, ray, rules);
    EXPECT_EQ(slow.hoveredObject, fast.hoveredObject);
    EXPECT_EQ(slow.hoveredTriangle, fast.hoveredTriangle);
    EXPECT_EQ(slow.nearestDistance, fast.nearestDistance);
    EXPECT_EQ(slow.hoveredVertex, fast.hoveredVertex);
    return slow;
}

TEST(IntersectTriangle, FollowsTheDeterminantBarycentricAndFacingLimits) {
    const Vec3 a{0, 0, 5}, b{0, 1, 5}, c{1, 0, 5};
    const Ray centre{{0.25f, 0.25f, 0.0f}, {0, 0, 1}};
    const auto hit = intersectTriangle(centre, a, b, c, false);
    ASSERT_TRUE(hit);
    EXPECT_FLOAT_EQ(hit->t, 5.0f);
    // The direction is not normalised: distances are in its units.
    EXPECT_FLOAT_EQ(intersectTriangle({centre.origin, {0, 0, 2}}, a, b, c, false)->t, 2.5f);
    // (c - a) x (b - a) = (0, 0, 1) points along the ray: front for the facing rule.
    EXPECT_TRUE(intersectTriangle(centre, a, b, c, true));
    EXPECT_FALSE(intersectTriangle(centre, a, c, b, true));
    EXPECT_TRUE(intersectTriangle(centre, a, c, b, false));
    EXPECT_FALSE(intersectTriangle({{0.25f, 0.25f, 6.0f}, {0, 0, 1}}, a, b, c, false));  // behind
    EXPECT_FALSE(intersectTriangle({{0.6f, 0.6f, 0.0f}, {0, 0, 1}}, a, b, c, false));    // u + v > 1
    // An edge point is inside.
    EXPECT_TRUE(intersectTriangle({{0.0f, 0.5f, 0.0f}, {0, 0, 1}}, a, b, c, false));
    // Determinant 0.01 * 0.005 = 5e-5 is below the limit: too small to hit.
    EXPECT_FALSE(intersectTriangle({{0.001f, 0.001f, 0.0f}, {0, 0, 1}}, a, {0, 0.01f, 5}, {0.005f, 0, 5}, false));
    // A damaged corner is a miss, never a hit at "not a number".
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(intersectTriangle(centre, a, b, {nan, 0, 5}, false));
}

TEST(NearestCorner, TakesTheNearestAndTiesGoToTheLaterCorner) {
    struct Case {
        Vec3 hit;
        int corner;
    };
    const std::array<Vec3, 3> c{Vec3{0, 0, 0}, Vec3{2, 0, 0}, Vec3{0, 2, 0}};
    for (const Case& k : {Case{{0.1f, 0.1f, 0}, 0}, Case{{1.8f, 0.1f, 0}, 1}, Case{{0.1f, 1.8f, 0}, 2},
                          Case{{1.0f, 0.0f, 0}, 1},    // corners 0 and 1 equidistant
                          Case{{0.0f, 1.0f, 0}, 2},    // corners 0 and 2
                          Case{{1.0f, 1.0f, 0}, 2}}) {  // corners 1 and 2
        EXPECT_EQ(nearestCorner(c, k.hit), k.corner) << k.hit.x << ", " << k.hit.y;
    }
}

TEST(IntersectMesh, EqualDistancesKeepTheEarlierTriangleInEveryMode) {
    Scene scene;
    // The same triangle three times, then once more flipped.
    std::vector<Vec3> corners{{-1, -1, 3}, {-1, 2, 3}, {2, -1, 3}};
    const std::vector<Vec3> once = corners;
    corners.insert(corners.end(), once.begin(), once.end());
    corners.insert(corners.end(), once.begin(), once.end());
    corners.insert(corners.end(), {once[0], once[2], once[1]});
    SceneObject& object = addMesh(scene, "doubles", corners);
    for (const MeshQuery query : {MeshQuery{PickMode::Nearest, false, {}}, MeshQuery{PickMode::Nearest, true, {}},
                                  MeshQuery{PickMode::FirstHit, false, {}}}) {
        const MeshHit slow = intersectMesh(object, kAlongZ, query);
        const MeshHit fast = intersectMeshFast(object, kAlongZ, query);
        ASSERT_TRUE(slow.hit);
        EXPECT_EQ(slow.triangle, 0);
        EXPECT_EQ(fast.triangle, 0);
        EXPECT_EQ(fast.distance, slow.distance);
    }
    // Seen from behind only the flipped copy faces along the ray.
    const Ray fromBehind{{0.0f, 0.0f, 10.0f}, {0, 0, -1}};
    EXPECT_EQ(intersectMesh(object, fromBehind, {PickMode::FirstHit, false, {}}).triangle, 3);
    EXPECT_EQ(intersectMeshFast(object, fromBehind, {PickMode::FirstHit, false, {}}).triangle, 3);
    EXPECT_EQ(intersectMeshFast(object, fromBehind, {PickMode::Nearest, false, {}}).triangle, 0);
}

TEST(PickScene, AtEqualDistanceTheEarlierObjectStaysHovered) {
    Scene scene;
    SceneObject& first = addMesh(scene, "a", square(4.0f));
    addMesh(scene, "b", square(4.0f));
    SceneObject& nearer = addMesh(scene, "c", square(8.0f));
    nearer.worldMatrix = matrixTranslation(0, 0, -6);  // now at z = 2
    EXPECT_EQ(pickBoth(scene, kAlongZ).hoveredObject, &nearer);
    nearer.worldMatrix = matrixTranslation(0, 0, -4);  // z = 4: a tie with the others
    const PickHit pick = pickBoth(scene, kAlongZ);
    EXPECT_EQ(pick.hoveredObject, &first);
    EXPECT_FLOAT_EQ(pick.nearestDistance, 14.0f);
    EXPECT_FLOAT_EQ(pick.hitPoint.z, 4.0f);
    // The hovered vertex is the index-list value of the nearest corner.
    EXPECT_EQ(pick.hoveredTriangle, 1);
    EXPECT_EQ(pick.hoveredVertex, 5);  // its corner (1, -1) is nearest to (0.2, -0.3)
}

TEST(PickScene, SkipsWhatCannotBePickedOrIsNotDrawn) {
    struct Case {
        const char* what;
        void (*prepare)(Scene&, SceneObject& front, PickRules&);
        bool frontPicked;
    };
    const Case cases[] = {
        {"plain", [](Scene&, SceneObject&, PickRules&) {}, true},
        {"ghost", [](Scene&, SceneObject& o, PickRules&) { o.ghost = true; }, false},
        {"not selectable", [](Scene&, SceneObject& o, PickRules&) { o.selectable = false; }, false},
        {"marker", [](Scene&, SceneObject& o, PickRules&) { o.render.editorObject = true; }, false},
        {"hidden, play mode", [](Scene&, SceneObject& o, PickRules& r) { o.render.hidden = true; r.editMode = false; },
         false},
        {"hidden, edit mode", [](Scene&, SceneObject& o, PickRules&) { o.render.hidden = true; }, true},
        {"service object", [](Scene& s, SceneObject& o, PickRules&) { s.setServiceObject(ServiceSlot::Light, &o); },
         false},
        {"outside the open group",
         [](Scene& s, SceneObject&, PickRules& r) { r.openGroupLeader = s.objects().back().get(); }, false},
        {"member of the open group",
         [](Scene& s, SceneObject& o, PickRules& r) {
             o.groupLeader = s.objects().back().get();
             r.openGroupLeader = o.groupLeader;
         },
         true},
    };
    for (const Case& c : cases) {
        Scene scene;
        SceneObject& front = addMesh(scene, "front", square(2.0f));
        SceneObject& back = addMesh(scene, "back", square(5.0f));
        PickRules rules;
        c.prepare(scene, front, rules);
        EXPECT_EQ(pickBoth(scene, kAlongZ, rules).hoveredObject, c.frontPicked ? &front : &back) << c.what;
    }
}

TEST(PickScene, TheFaceToolTestsFrontFacesOnly) {
    Scene scene;
    std::vector<Vec3> away = square(2.0f);
    std::swap(away[1], away[2]);
    std::swap(away[4], away[5]);
    addMesh(scene, "turned away", away);
    SceneObject& back = addMesh(scene, "back", square(5.0f));
    EXPECT_NE(pickBoth(scene, kAlongZ).hoveredObject, &back);
    PickRules faces;
    faces.facingOnly = true;
    EXPECT_EQ(pickBoth(scene, kAlongZ, faces).hoveredObject, &back);
}

// Bends every vertex by an offset, as bones would.
class ShiftedShapes final : public DeformedShapes {
public:
    std::span<const Vec3> drawnPositions(const SceneObject& object) const override {
        if (&object != target) return {};
        positions.clear();
        for (const MeshVertex& v : object.vertices) positions.push_back(v.position + shift);
        return positions;
    }
    const SceneObject* target = nullptr;
    Vec3 shift;
    mutable std::vector<Vec3> positions;
};

TEST(PickScene, DeformedObjectsAreHitWhereTheyAreDrawn) {
    Scene scene;
    SceneObject& bent = addMesh(scene, "bent", square(3.0f, 0.5f));
    ShiftedShapes shapes;
    shapes.target = &bent;
    PickRules rules;
    rules.deformed = &shapes;
    const Ray aside{{5.0f, 0.0f, -10.0f}, {0, 0, 1}};
    EXPECT_EQ(pickBoth(scene, aside, rules).hoveredObject, nullptr);
    // Drawn away from its stored box, and hit there only.
    shapes.shift = {5.0f, 0.0f, 1.0f};
    const PickHit moved = pickBoth(scene, aside, rules);
    EXPECT_EQ(moved.hoveredObject, &bent);
    EXPECT_FLOAT_EQ(moved.hitPoint.z, 4.0f);
    EXPECT_EQ(pickBoth(scene, kAlongZ, rules).hoveredObject, nullptr);
    // Back at rest, the hierarchy follows again.
    shapes.shift = {};
    EXPECT_EQ(pickBoth(scene, kAlongZ, rules).hoveredObject, &bent);
    EXPECT_EQ(pickBoth(scene, aside, rules).hoveredObject, nullptr);
}

TEST(PickScene, TheHierarchyFollowsMeshChanges) {
    Scene scene;
    SceneObject& object = addMesh(scene, "edited", square(3.0f, 0.5f));
    const Ray aside{{5.0f, 0.0f, -10.0f}, {0, 0, 1}};
    EXPECT_EQ(pickScene(scene, aside, {}).hoveredObject, nullptr);
    ASSERT_NE(object.pickData, nullptr);
    // A new mesh drops the hierarchy.
    std::vector<MeshVertex> moved(object.vertices);
    for (MeshVertex& v : moved) v.position.x += 5.0f;
    object.assignMesh(moved, object.indices);
    EXPECT_EQ(object.pickData, nullptr);
    EXPECT_EQ(pickBoth(scene, aside).hoveredObject, &object);
    // An edit in place, announced.
    for (MeshVertex& v : object.vertices) v.position.x -= 5.0f;
    object.recomputeBounds();
    object.meshChanged();
    EXPECT_EQ(pickBoth(scene, aside).hoveredObject, nullptr);
    EXPECT_EQ(pickBoth(scene, kAlongZ).hoveredObject, &object);
}

TEST(PickScene, DamagedMeshesAndMatricesStillAgree) {
    Scene scene;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    // Out-of-range indices, a short index list and a corner that is not a number.
    SceneObject& broken = addMesh(scene, "broken", square(2.0f), {0, 1, 99, -4, 4, 5, 0, 1});
    SceneObject& damaged = addMesh(scene, "damaged", square(3.0f));
    damaged.vertices[2].position.x = nan;
    damaged.meshChanged();
    SceneObject& flat = addMesh(scene, "flattened", square(4.0f));
    flat.worldMatrix = matrixScaling(1.0f, 1.0f, 0.0f) * matrixTranslation(0, 0, 20);  // singular
    SceneObject& projected = addMesh(scene, "projected", square(5.0f));
    projected.worldMatrix.m[2][3] = 0.01f;  // not affine
    const PickHit pick = pickBoth(scene, kAlongZ);
    ASSERT_EQ(pick.hoveredObject, &damaged);  // triangle 1 of "broken" has index -4
    EXPECT_EQ(pick.hoveredTriangle, 1);       // triangle 0 holds the damaged corner
    broken.indices = {3, 4, 5};
    broken.meshChanged();
    EXPECT_EQ(pickBoth(scene, kAlongZ).hoveredObject, &broken);
    broken.ghost = true;
    damaged.ghost = true;
    EXPECT_EQ(pickBoth(scene, kAlongZ).hoveredObject, &projected);
    projected.ghost = true;
    EXPECT_EQ(pickBoth(scene, kAlongZ).hoveredObject, &flat);
}

}  // namespace
}  // namespace morvanex
