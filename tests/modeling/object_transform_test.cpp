// The world matrix rebuilt from the transform components, and the linked
// copies an object places.
#include <gtest/gtest.h>

#include <cmath>

#include "modeling/object_transform.h"
#include "scene/scene.h"

namespace morvanex {
namespace {

void expectNear(Vec3 a, Vec3 b) {
    EXPECT_NEAR(a.x, b.x, 1e-4f);
    EXPECT_NEAR(a.y, b.y, 1e-4f);
    EXPECT_NEAR(a.z, b.z, 1e-4f);
}

TEST(RebuildWorldMatrix, ScalesThenTurnsAboutThePivotThenMoves) {
    SceneObject object("boite");
    object.scale = {2, 2, 2};
    object.pivot = {1, 0, 0};  // in the scaled frame: x = 2
    object.rotationAxis = {0, 1, 0};
    object.rotationAngle = kHalfPi;
    object.position = {10, 0, 0};
    rebuildWorldMatrix(object);
    // The pivot stays put under the rotation; position moves everything.
    expectNear(transformPoint({1, 0, 0}, object.worldMatrix), {12, 0, 0});
    // (0,0,0) scaled is 0, 2 units from the pivot on -x; a quarter turn
    // (+x to -z) takes -x to +z.
    expectNear(transformPoint({0, 0, 0}, object.worldMatrix), {12, 0, 2});
    EXPECT_NEAR(object.orientation.w, std::cos(kPi / 4.0f), 1e-5f);
}

TEST(RebuildWorldMatrix, TheBaseMatrixComesFirstAndAFullTurnIsKept) {
    SceneObject object("importe");
    object.baseMatrix = matrixTranslation(0, 5, 0);
    object.rotationAngle = 6.2831855f;
    rebuildWorldMatrix(object);
    expectNear(transformPoint({0, 0, 0}, object.worldMatrix), {0, 5, 0});
    // Nudged off the exact full turn, the quaternion keeps its axis instead
    // of losing it to a sine of practically zero.
    EXPECT_GT(std::fabs(object.orientation.y), 1e-4f);
}

TEST(RebuildWorldMatrix, AChildIsPlacedInItsParentsFrameThroughItsParent) {
    SceneObject child("enfant");
    SceneObject parent("parent");
    parent.addChild(child);
    parent.position = {10, 0, 0};
    parent.rotationAngle = kHalfPi;  // about y: +x goes to -z
    child.position = {3, 0, 0};      // parent space
    rebuildWorldMatrix(child);
    expectNear(transformPoint({0, 0, 0}, parent.worldMatrix), {10, 0, 0});
    expectNear(transformPoint({0, 0, 0}, child.worldMatrix), {10, 0, -3});
    // Parents that hold each other (a damaged file) are not followed forever.
    SceneObject a("a");
    SceneObject b("b");
    a.parent = &b;
    b.parent = &a;
    a.children = {&b};
    b.children = {&a};
    rebuildWorldMatrix(a);
}

TEST(RebuildWorldMatrices, LinkedCopiesFollowTheirOwnerWhereverTheyAreListed) {
    Scene scene;
    SceneObject& copy = scene.addObject("pilier");  // before its owner
    SceneObject& owner = scene.addObject("pilier");
    owner.position = {10, 0, 0};
    owner.rotationAngle = kHalfPi;  // about y
    copy.position = {12, 0, 0};     // 2 to the right of the owner, parent space
    ObjectLink link;
    link.object = &copy;
    owner.links.push_back(link);
    rebuildWorldMatrices(scene);
    EXPECT_EQ(copy.render.instanceOwner, &owner);
    // The copy's offset turns with the owner: +x goes to -z.
    expectNear(transformPoint({0, 0, 0}, copy.worldMatrix), {10, 0, -2});
    expectNear(transformPoint({0, 0, 0}, owner.links[0].relativeMatrix), {2, 0, 0});
    // A copy moved by itself is placed again through its owner.
    copy.position = {13, 0, 0};
    rebuildWorldMatrix(copy);
    expectNear(transformPoint({0, 0, 0}, copy.worldMatrix), {10, 0, -3});

    // Once the owner goes, the copy is an object of its own again.
    scene.removeObject(&owner);
    EXPECT_EQ(copy.render.instanceOwner, nullptr);
    rebuildWorldMatrices(scene);
    expectNear(transformPoint({0, 0, 0}, copy.worldMatrix), {13, 0, 0});
}

}  // namespace
}  // namespace morvanex
