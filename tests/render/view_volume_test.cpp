// The view-volume test: spheres against the six planes, objects placed by
// their world matrices, and objects that are in view only through a copy.
#include <gtest/gtest.h>

#include <limits>
#include <memory>

#include "render/view_volume.h"
#include "scene/scene_object.h"

namespace morvanex {
namespace {

ViewVolume frontVolume() {
    // Eye at z = -100 looking along +z, 90 degrees vertical, square.
    const Mat4 view = lookAtLH({0, 0, -100}, {0, 0, 0}, {0, 1, 0});
    return ViewVolume::fromMatrix(view * perspectiveFovLH(kHalfPi, 1.0f, 1.0f, 1000.0f));
}

std::unique_ptr<SceneObject> unitBox() {
    auto object = std::make_unique<SceneObject>("boite");
    std::vector<MeshVertex> v(2);
    v[0].position = {-1, -1, -1};
    v[1].position = {1, 1, 1};
    object->assignMesh(std::move(v), {0, 1, 0});
    return object;
}

TEST(ViewVolume, SpheresInsideTouchingAndOutsideEachPlane) {
    const ViewVolume volume = frontVolume();
    EXPECT_TRUE(volume.containsSphere({0, 0, 0}, 1.0f));
    // At 100 units' distance the side planes are 100 units off the axis.
    EXPECT_TRUE(volume.containsSphere({99, 0, 0}, 0.5f));
    EXPECT_FALSE(volume.containsSphere({110, 0, 0}, 1.0f));
    EXPECT_TRUE(volume.containsSphere({110, 0, 0}, 10.0f));  // reaches in
    EXPECT_FALSE(volume.containsSphere({0, -120, 0}, 1.0f));
    EXPECT_FALSE(volume.containsSphere({0, 0, -150}, 10.0f));  // behind the eye
    EXPECT_FALSE(volume.containsSphere({0, 0, 950}, 10.0f));   // past the far plane
    EXPECT_TRUE(volume.containsSphere({0, 0, 895}, 10.0f));
}

TEST(ViewVolume, ObjectsArePlacedByTheirWorldMatrixAndScale) {
    const ViewVolume volume = frontVolume();
    const auto owned = unitBox();
    SceneObject& box = *owned;
    box.worldMatrix = matrixTranslation(0, 0, -150);
    EXPECT_FALSE(objectInView(box, volume));
    // Scaled up enough, the same box reaches into the view.
    box.worldMatrix = matrixScaling(80.0f) * matrixTranslation(0, 0, -150);
    EXPECT_TRUE(objectInView(box, volume));
    SceneObject empty("vide");
    EXPECT_FALSE(objectInView(empty, volume));
}

TEST(ViewVolume, AnObjectIsInViewWhenOneOfItsFirstFiftyCopiesIs) {
    const ViewVolume volume = frontVolume();
    const auto owned = unitBox();
    SceneObject& owner = *owned;
    owner.worldMatrix = matrixTranslation(0, 0, -500);
    std::vector<std::unique_ptr<SceneObject>> copies;
    for (int i = 0; i < 60; ++i) {
        copies.push_back(std::make_unique<SceneObject>("copie"));
        copies.back()->assignMesh(owner.vertices, owner.indices);
        copies.back()->worldMatrix = matrixTranslation(0, 0, -500);
        ObjectLink link;
        link.object = copies.back().get();
        owner.links.push_back(link);
    }
    EXPECT_FALSE(objectInView(owner, volume));
    copies[55]->worldMatrix = identity();  // past the fiftieth: not looked at
    EXPECT_FALSE(objectInView(owner, volume));
    copies[49]->worldMatrix = identity();
    EXPECT_TRUE(objectInView(owner, volume));
}

TEST(ViewVolume, AMatrixOfNotANumbersIsDrawnRatherThanGuessedAway) {
    const auto box = unitBox();
    box->worldMatrix.m[3][0] = std::numeric_limits<float>::quiet_NaN();
    EXPECT_TRUE(objectInView(*box, frontVolume()));
}

}  // namespace
}  // namespace morvanex
