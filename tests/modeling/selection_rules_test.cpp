// Face and vertex capture, slices, rectangle selection, markers, the
// cursor ray and the vertex read-out.
#include "modeling/selection_rules.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "modeling/primitives.h"
#include "scene/scene_object.h"

namespace morvanex {
namespace {

TEST(SelectionRules, ATriangleCrossesAHeightOnlyWithCornersStrictlyOnBothSides) {
    struct Case {
        std::array<Vec3, 3> corners;
        bool crosses;
    };
    const Case cases[] = {
        {{Vec3{0, -1, 0}, Vec3{1, 1, 0}, Vec3{0, 1, 1}}, true},
        {{Vec3{0, 0, 0}, Vec3{1, 1, 0}, Vec3{0, 1, 1}}, false},  // one corner on the plane, the others above
        {{Vec3{0, -1, 0}, Vec3{1, -2, 0}, Vec3{0, 0, 1}}, false},
    };
    for (const Case& c : cases) EXPECT_EQ(triangleCrossesHeight(c.corners, 0.0f), c.crosses);
}

TEST(SelectionRules, ClickingACubeCornerTogglesEveryStoredCopyOfIt) {
    auto box = makeBox({-1, -1, -1}, {1, -1, 1}, {0, 1, 0});
    const std::vector<Vec3> world = vertexWorldPositions(*box);
    const Vec3 corner{1, 1, 1};
    const auto copies = std::count(world.begin(), world.end(), corner);
    ASSERT_GE(copies, 3);
    std::int32_t last = -1;
    EXPECT_TRUE(toggleVerticesAt(*box, world, corner, last));
    EXPECT_EQ(std::count(box->vertexSelected.begin(), box->vertexSelected.end(), 1), copies);
    EXPECT_EQ(world[static_cast<std::size_t>(last)], corner);
    EXPECT_FALSE(toggleVerticesAt(*box, world, corner, last));
    EXPECT_EQ(std::count(box->vertexSelected.begin(), box->vertexSelected.end(), 1), 0);
}

TEST(SelectionRules, SlicesTakeFacesAcrossTheHeightAndVerticesStrictlyWithinATenth) {
    auto box = makeBox({-1, -1, -1}, {1, -1, 1}, {0, 1, 0});
    const std::vector<Vec3> world = vertexWorldPositions(*box);
    toggleFacesAtHeight(*box, world, 0.0f);
    EXPECT_EQ(selectedFaceCount(*box), 8);  // the four sides, not the top and bottom
    setFacesAtHeight(*box, world, 0.5f, false);
    EXPECT_EQ(selectedFaceCount(*box), 0);

    paintVerticesInSlice(*box, world, 0.9f, true);  // the top lies a tenth away: on the border, outside
    EXPECT_EQ(std::count(box->vertexSelected.begin(), box->vertexSelected.end(), 1), 0);
    paintVerticesInSlice(*box, world, 0.95f, true);
    EXPECT_EQ(std::count(box->vertexSelected.begin(), box->vertexSelected.end(), 1),
              std::count_if(world.begin(), world.end(), [](Vec3 p) { return p.y == 1.0f; }));
}

// Two triangles facing -z (towards an eye at z = -10), on given pixels.
struct ScreenQuad {
    SceneObject object{"quad"};
    std::vector<Vec3> world{{0, 0, 0}, {0, 1, 0}, {1, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}};
    std::vector<Vec3> normals = std::vector<Vec3>(6, Vec3{0, 0, -1});
    std::vector<Vec2> screen{{10, 10}, {10, 20}, {20, 10}, {20, 10}, {10, 20}, {30, 20}};
    Vec3 eye{0.5f, 0.5f, -10.0f};
    ScreenQuad() {
        object.vertices.resize(6);
        object.indices = {0, 1, 2, 3, 4, 5};
    }
};

TEST(SelectionRules, RectangleSelectionIsExclusiveOfItsBorderAndTheSameDrawnEitherWay) {
    ScreenQuad q;
    // x up to 25: the second triangle's corner at 30 is outside.
    for (const ScreenRectangle& r : {ScreenRectangle{{5, 5}, {25, 25}}, ScreenRectangle{{25, 25}, {5, 5}}}) {
        rectSelectFaces(q.object, q.world, q.normals, q.screen, q.eye, r, false);
        EXPECT_EQ(q.object.faceSelected, (std::vector<std::uint8_t>{1, 0}));
    }
    rectSelectFaces(q.object, q.world, q.normals, q.screen, q.eye, {{10, 5}, {35, 25}}, false);  // x = 10 on the border
    EXPECT_EQ(q.object.faceSelected, (std::vector<std::uint8_t>{0, 0}));

    rectSelectVertices(q.object, q.world, q.normals, q.screen, q.eye, {{5, 5}, {20, 25}});
    EXPECT_EQ(q.object.vertexSelected, (std::vector<std::uint8_t>{1, 1, 0, 0, 1, 0}));
}

TEST(SelectionRules, RectangleSelectionSkipsFacesTurnedAwayUnlessSelectingThrough) {
    ScreenQuad q;
    q.eye = {0.5f, 0.5f, 10.0f};  // behind the quad
    const ScreenRectangle all{{0, 0}, {100, 100}};
    rectSelectFaces(q.object, q.world, q.normals, q.screen, q.eye, all, false);
    EXPECT_EQ(q.object.faceSelected, (std::vector<std::uint8_t>{0, 0}));
    rectSelectFaces(q.object, q.world, q.normals, q.screen, q.eye, all, true);
    EXPECT_EQ(q.object.faceSelected, (std::vector<std::uint8_t>{1, 1}));
}

TEST(SelectionRules, FaceCaptureOnAStaleOrEmptySelectionNeverReadsPastIt) {
    ScreenQuad q;
    EXPECT_TRUE(toggleFace(q.object, 1));
    EXPECT_FALSE(toggleFace(q.object, 7));
    EXPECT_EQ(q.object.faceSelected, (std::vector<std::uint8_t>{0, 1}));
}

TEST(SelectionRules, TheMarkerUnderThePointerIsTheNearestToTheEye) {
    const std::vector<Vec3> world{{0, 0, 5}, {0, 0, 2}, {0, 0, 1}};
    const std::vector<Vec2> screen{{100, 100}, {103, 100}, {120, 100}};
    EXPECT_EQ(markerUnderPointer(world, screen, {101, 100}, {0, 0, 0}), 1);
    EXPECT_EQ(markerUnderPointer(world, screen, {300, 100}, {0, 0, 0}), -1);
}

TEST(SelectionRules, TheCursorRayLeavesTheEyeThroughThePixel) {
    const Mat4 projection = perspectiveFovLH(kHalfPi, 1.0f, 1.0f, 100.0f);
    const Mat4 view = lookAtLH({1, 2, 3}, {1, 2, 10}, {0, 1, 0});
    const Ray centre = cursorRay(50, 50, 100, 100, view, projection);
    EXPECT_NEAR(centre.origin.x, 1.0f, 1e-5f);
    EXPECT_NEAR(centre.origin.z, 3.0f, 1e-5f);
    EXPECT_NEAR(centre.direction.z, 1.0f, 1e-5f);
    const Ray corner = cursorRay(100, 0, 100, 100, view, projection);  // 45 degrees right and up
    EXPECT_NEAR(corner.direction.x, 1.0f, 1e-5f);
    EXPECT_NEAR(corner.direction.y, 1.0f, 1e-5f);
}

TEST(SelectionRules, TheReadoutWritesTwoDecimalsAndUnusedSlots) {
    MeshVertex v;
    v.position = {1, -2.5f, 0};
    v.normal = {0, 1, 0};
    v.blendIndices = {3, -1, -1, -1};
    v.blendWeights = {0.5f, 0, 0, 0};
    const auto lines = vertexReadoutLines(v);
    EXPECT_EQ(lines[0], "Position : (1.00 , -2.50 , 0.00)");
    EXPECT_EQ(lines[1], "Normale : (0.00 , 1.00 , 0.00)");
    EXPECT_EQ(lines[2], "Indice 3 : poids : 0.50");
    EXPECT_EQ(lines[5], "Indice -1 : poids : 0.00");
}

}  // namespace
}  // namespace morvanex
