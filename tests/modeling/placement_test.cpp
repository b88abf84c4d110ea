// Where the placement tools' clicks land, the quad's corners and the
// rubber band.
#include <gtest/gtest.h>

#include "modeling/placement.h"

namespace morvanex {
namespace {

TEST(Placement, RaysLandOnPlanesInFrontOnly) {
    const Ray down{{1.0f, 10.0f, 2.0f}, {0.0f, -2.0f, 0.0f}};
    const std::optional<Vec3> ground = rayOnPlane(down, {0.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f});
    ASSERT_TRUE(ground);
    EXPECT_EQ(*ground, (Vec3{1.0f, 0.0f, 2.0f}));
    EXPECT_FALSE(rayOnPlane(down, {0.0f, 20.0f, 0.0f}, {0.0f, 1.0f, 0.0f}));  // behind the eye
    EXPECT_FALSE(rayOnPlane({{0, 1, 0}, {1, 0, 0}}, {}, {0.0f, 1.0f, 0.0f}));  // along the plane
    // The height plane stands upright and faces back along the ray.
    EXPECT_EQ(uprightNormalFacing({0.0f, -1.0f, 2.0f}), (Vec3{0.0f, 0.0f, -1.0f}));
    EXPECT_EQ(uprightNormalFacing({0.0f, -1.0f, 0.0f}), (Vec3{0.0f, 0.0f, 1.0f}));
}

TEST(Placement, ClickCountsAndHeightSteps) {
    const struct {
        PlacementTool tool;
        int clicks;
        int heightStep;  // -1: none
    } cases[] = {{PlacementTool::Box, 3, 2}, {PlacementTool::Quad, 3, 2}, {PlacementTool::Sphere, 2, -1},
                 {PlacementTool::TriangleFace, 3, -1}, {PlacementTool::QuadFace, 4, -1}, {PlacementTool::None, 0, -1}};
    for (const auto& c : cases) {
        EXPECT_EQ(placementClicks(c.tool), c.clicks);
        for (int step = 0; step < 4; ++step) EXPECT_EQ(isHeightStep(c.tool, step), step == c.heightStep);
    }
}

TEST(Placement, AxisLocksKeepThePreviousPointsOtherCoordinates) {
    const Vec3 previous{1.0f, 2.0f, 3.0f};
    const Vec3 hit{7.0f, 8.0f, 9.0f};
    EXPECT_EQ(lockedPoint(previous, hit, AxisLock::None), hit);
    EXPECT_EQ(lockedPoint(previous, hit, AxisLock::X), (Vec3{7.0f, 2.0f, 3.0f}));
    EXPECT_EQ(lockedPoint(previous, hit, AxisLock::Y), (Vec3{1.0f, 8.0f, 3.0f}));
    EXPECT_EQ(lockedPoint(previous, hit, AxisLock::Z), (Vec3{1.0f, 2.0f, 9.0f}));
}

TEST(Placement, QuadCompletesTheParallelogramFacingTheViewerFromEitherSide) {
    const Vec3 p1{0, 0, 0}, p2{4, 0, 0}, p3{4, 3, 0};
    for (const Vec3 eye : {Vec3{2, 1, -10}, Vec3{2, 1, 10}}) {
        const std::array<Vec3, 4> c = quadCorners(p1, p2, p3, eye);
        EXPECT_EQ(c[0], p1);
        EXPECT_EQ(c[2], p3);
        // The fourth point is P1 + (P3 - P2), wherever it sits in the order.
        EXPECT_TRUE(c[1] == (Vec3{0, 3, 0}) || c[3] == (Vec3{0, 3, 0}));
        EXPECT_GT(dot(cross(c[0] - c[2], c[1] - c[2]), eye - c[0]), 0.0f) << eye.z;
    }
}

TEST(Placement, RubberBandOutlinesTheBoxBeingDrawn) {
    const std::vector<Vec3> footprint = rubberBand(PlacementTool::Box, {{0, 0, 0}}, {2, 0, 3});
    EXPECT_EQ(footprint.size(), 8u);  // four edges on the ground
    const std::vector<Vec3> box = rubberBand(PlacementTool::Box, {{0, 0, 0}, {2, 0, 3}}, {2, 5, 3});
    ASSERT_EQ(box.size(), 24u);  // twelve edges
    float top = 0.0f;
    for (Vec3 p : box) top = std::max(top, p.y);
    EXPECT_EQ(top, 5.0f);
    EXPECT_TRUE(rubberBand(PlacementTool::Sphere, {}, {1, 0, 0}).empty());
}

}  // namespace
}  // namespace morvanex
