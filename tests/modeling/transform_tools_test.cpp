// What each transform tool makes of a drag: the drag plane, moves,
// rotations, scaling by handles, point-to-point alignment, the edge rule.
#include "modeling/transform_tools.h"

#include <gtest/gtest.h>

#include "modeling/object_transform.h"
#include "scene/scene.h"
#include "scene/scene_object.h"

namespace morvanex {
namespace {

void expectNear(Vec3 a, Vec3 b, float tolerance = 1e-5f) {
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
    EXPECT_NEAR(a.z, b.z, tolerance);
}

TEST(TransformTools, EachMoveToolTakesItsShareOfTheDrag) {
    const Vec3 start{1, 2, 3};
    const Vec3 startHit{10, 10, 10};
    const Vec3 hit{12, 7, 14};  // a drag of (2, -3, 4)
    const std::pair<TransformTool, Vec3> cases[] = {
        {TransformTool::Move, {3, -1, 7}},
        {TransformTool::MoveX, {3, 2, 3}},
        {TransformTool::MoveY, {1, -1, 3}},
        {TransformTool::MoveZ, {1, 2, 7}},
    };
    for (const auto& [tool, expected] : cases) EXPECT_EQ(movedPosition(tool, start, startHit, hit), expected);
}

TEST(TransformTools, TheDragPlaneFacesTheCameraAndAnEdgeOnPlaneGivesNoHit) {
    expectNear(viewDirection(kHalfPi, 0.0f), {0, 0, 1});
    const Vec3 forward{0, 0, 1};
    const Ray ray{{0, 0, 0}, {0.5f, 0.25f, 1.0f}};
    const std::optional<Vec3> hit = dragPlaneHit({7, 7, 10}, ray, forward, nullptr);
    ASSERT_TRUE(hit);
    expectNear(*hit, {5, 2.5f, 10});
    // A parent two units along x: the point in its space.
    const Mat4 parent = matrixTranslation(2, 0, 0);
    expectNear(*dragPlaneHit({7, 7, 10}, ray, forward, &parent), {3, 2.5f, 10});
    EXPECT_FALSE(dragPlaneHit({7, 7, 10}, Ray{{0, 0, 0}, {1, 0, 0}}, forward, nullptr));
}

TEST(TransformTools, ARotationDragOfAHundredPixelsTurnsHalfARadianOrATwentiethWithShift) {
    for (const float sensitivity : {1.0f, 0.1f}) {
        const Quat q = rotatedOrientation(TransformTool::Rotate, Quat{}, 100, 0, sensitivity, 0.3f, 0.0f);
        const AxisAngle kept = axisAngleOfOrientation(q);
        // Stored as the object keeps it, the turn is about the up axis.
        const Vec3 turned = rotate({1, 0, 0}, orientationFromAxisAngle(kept.axis, kept.angle));
        const float expected = -0.5f * sensitivity;
        expectNear(turned, rotate({1, 0, 0}, quatFromAxisAngle({0, 1, 0}, expected)));
        EXPECT_NEAR(kept.angle, 0.5f * sensitivity, 1e-5f);
    }
}

TEST(TransformTools, SingleAxisRotationsTurnAboutTheirWorldAxisAfterTheStart) {
    const Quat start = quatFromAxisAngle({0, 1, 0}, 0.7f);
    const Quat q = rotatedOrientation(TransformTool::RotateX, start, 0, 40, 1.0f, 1.0f, 0.4f);
    const Vec3 expected = rotate(rotate({0, 0, 1}, start), quatFromAxisAngle({1, 0, 0}, 0.2f));
    expectNear(rotate({0, 0, 1}, q), expected);
    // A horizontal drag leaves x and z rotations alone.
    const Quat still = rotatedOrientation(TransformTool::RotateZ, start, 80, 0, 1.0f, 1.0f, 0.4f);
    expectNear(rotate({1, 0, 0}, still), rotate({1, 0, 0}, start));
}

// How the turned object stands before the drag.
enum class Standing { Plain, Turned, Scaled, Parented, Linked };

TEST(TransformTools, ASingleAxisDragTurnsAboutThatWorldAxisThroughThePivotHoweverTheObjectStands) {
    struct Case {
        TransformTool tool;
        Vec3 axis;
        float angle;  // what the drag below gives
        Standing standing;
    };
    // dx = 80 gives -0.4 rad about y; dy = 60 gives 0.3 rad about x or z.
    const Case cases[] = {
        {TransformTool::RotateX, {1, 0, 0}, 0.3f, Standing::Plain},
        {TransformTool::RotateY, {0, 1, 0}, -0.4f, Standing::Plain},
        {TransformTool::RotateZ, {0, 0, 1}, 0.3f, Standing::Plain},
        {TransformTool::RotateY, {0, 1, 0}, -0.4f, Standing::Turned},
        {TransformTool::RotateX, {1, 0, 0}, 0.3f, Standing::Scaled},
        {TransformTool::RotateY, {0, 1, 0}, -0.4f, Standing::Parented},
        {TransformTool::RotateZ, {0, 0, 1}, 0.3f, Standing::Parented},
        {TransformTool::RotateY, {0, 1, 0}, -0.4f, Standing::Linked},
        {TransformTool::RotateX, {1, 0, 0}, 0.3f, Standing::Linked},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.standing) * 10 + static_cast<int>(c.tool));
        Scene scene;
        SceneObject& carrier = scene.addObject("porteur");
        SceneObject& object = scene.addObject("boite");
        carrier.position = {5, 1, -2};
        carrier.rotationAxis = normalize(Vec3{1, 2, 0.5f});
        carrier.rotationAngle = 0.9f;
        carrier.scale = {2, 2, 2};
        object.position = {8, 3, 1};
        object.pivot = {1, 2, 0.5f};
        object.rotationAxis = normalize(Vec3{0.3f, 1, -0.6f});
        object.rotationAngle = c.standing == Standing::Plain ? 0.0f : 0.7f;
        if (c.standing == Standing::Scaled) object.scale = {2, 0.5f, 3};
        if (c.standing == Standing::Parented) carrier.addChild(object);
        if (c.standing == Standing::Linked) {
            ObjectLink link;
            link.object = &object;
            carrier.links.push_back(link);
        }
        rebuildWorldMatrices(scene);
        const Mat4 before = object.worldMatrix;
        // The mesh's point at the pivot.
        const Vec3 pivotBefore = transformPoint(object.pivot, before);

        const int dx = c.tool == TransformTool::RotateY ? 80 : 0;
        const int dy = c.tool == TransformTool::RotateY ? 0 : 60;
        const Quat start = orientationFromAxisAngle(object.rotationAxis, object.rotationAngle);
        const AxisAngle kept = axisAngleOfOrientation(
            rotatedOrientation(c.tool, start, dx, dy, 1.0f, 0.3f, 0.2f, placingFrame(object)));
        object.rotationAxis = kept.axis;
        object.rotationAngle = kept.angle;
        rebuildWorldMatrix(object);

        // What the drag did, in world space: the axis stays, the pivot stays,
        // a direction across the axis turns by the angle.
        const Mat4 turn = inverse(before).value() * object.worldMatrix;
        expectNear(normalize(transformNormal(c.axis, turn)), c.axis, 1e-4f);
        expectNear(transformPoint(object.pivot, object.worldMatrix), pivotBefore, 1e-3f);
        const Vec3 across = normalize(cross(c.axis, Vec3{0.3f, 0.5f, 0.8f}));
        expectNear(normalize(transformNormal(across, turn)), rotate(across, quatFromAxisAngle(c.axis, c.angle)), 1e-4f);
        // Kept as a unit axis, which the panel's three decimals show whole.
        EXPECT_NEAR(length(object.rotationAxis), 1.0f, 1e-5f);
    }
}

TEST(TransformTools, AxisAndAngleOfAnyQuaternionAreNumbers) {
    const AxisAngle none = axisAngleOfOrientation(Quat{0, 0, 0, 0});
    EXPECT_EQ(none.axis, (Vec3{1, 0, 0}));
    EXPECT_EQ(none.angle, 0.0f);
    // Not of unit length: the angle comes from w / |q|.
    const AxisAngle doubled = axisAngleOfOrientation(Quat{0, 0, 0, 2});
    EXPECT_EQ(doubled.angle, 0.0f);
}

TEST(TransformTools, HandlesScaleTheirAxesButNeverToZeroNorThroughIt) {
    const Vec3 start{1, 1, 1};
    const std::pair<ScaleHandle, Vec3> cases[] = {
        {ScaleHandle::Corner, {1.5f, 1.5f, 1.5f}},
        {ScaleHandle::BottomY, {1, 0.8f, 1}},
        {ScaleHandle::TopY, {1, 0.8f, 1}},
        {ScaleHandle::RightX, {1.5f, 1, 1}},
        {ScaleHandle::FrontZ, {1, 1, 1.5f}},
    };
    for (const auto& [handle, expected] : cases) expectNear(scaledBy(handle, start, 50, -20), expected);
    struct Shrink {
        Vec3 from;
        int dx;
        Vec3 expected;
    };
    const Shrink shrunk[] = {
        {{1, 1, 1}, -100, {kLeastScale, kLeastScale, kLeastScale}},  // exactly to zero
        {{2, 0.5f, 1}, -150, {0.5f, kLeastScale, kLeastScale}},
        {{-1, -1, 3}, 150, {-kLeastScale, -kLeastScale, 4.5f}},  // a mirrored axis stays mirrored
    };
    for (const Shrink& c : shrunk) expectNear(scaledBy(ScaleHandle::Corner, c.from, c.dx, 0), c.expected);
    expectNear(scaledBy(ScaleHandle::LeftX, start, -300, 0), {kLeastScale, 1, 1});
    expectNear(scaledBy(ScaleHandle::LeftX, {-1, 1, 1}, 300, 0), {-kLeastScale, 1, 1});
}

TEST(TransformTools, TheBoxHandleFaceHitIsTheNearestOne) {
    const auto corners = scaleBoxCorners({-1, -1, -1}, {1, 1, 1}, identity());
    EXPECT_EQ(boxHandleFaceHit(Ray{{0, 0, -10}, {0, 0, 1}}, corners), ScaleHandle::BackZ);
    EXPECT_EQ(boxHandleFaceHit(Ray{{0, 10, 0}, {0, -1, 0}}, corners), ScaleHandle::TopY);
    EXPECT_EQ(boxHandleFaceHit(Ray{{5, 5, -10}, {0, 0, 1}}, corners), ScaleHandle::None);
}

TEST(TransformTools, PointAlignmentTurnsAboutBEvenOnAScaledObject) {
    SceneObject object("o");
    object.scale = {2, 2, 2};
    object.position = {10, 0, 0};
    rebuildWorldMatrix(object);
    // Local (1, 0, 0) lies at B = (12, 0, 0); local (1, 1, 0) at C = (12, 2, 0).
    const Vec3 b{12, 0, 0};
    const Vec3 c{12, 2, 0};
    const Vec3 d{14, 0, 0};  // C turned a quarter about B onto this line
    object.position = pointMovePosition(object.position, b, b);
    const Alignment turn = alignmentAbout(b, c, d, object.position, object.baseMatrix * matrixScaling(object.scale));
    EXPECT_NEAR(turn.rotationAngle, kHalfPi, 1e-5f);
    object.rotationAxis = turn.rotationAxis;
    object.rotationAngle = turn.rotationAngle;
    object.pivot = turn.pivot;
    rebuildWorldMatrix(object);
    expectNear(transformPoint({1, 0, 0}, object.worldMatrix), b);
    expectNear(transformPoint({1, 1, 0}, object.worldMatrix), d, 1e-4f);
}

}  // namespace
}  // namespace morvanex
