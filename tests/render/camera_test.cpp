#include "render/camera.h"

#include <gtest/gtest.h>

#include <cmath>

#include "scene/scene.h"

namespace morvanex {
namespace {

constexpr float kWidth = 1920.0f;
constexpr float kHeight = 1080.0f;

void expectNear(Vec3 actual, Vec3 expected, float tolerance) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

CameraFrameInput frame(float dt) {
    CameraFrameInput input;
    input.dt = dt;
    return input;
}

// A camera at rest: eye on its target, angles on theirs.
CameraState restingCamera(Vec3 eye, float yaw, float pitch) {
    CameraState camera;
    camera.eye = camera.eyeTarget = eye;
    camera.yaw = camera.yawTarget = yaw;
    camera.pitch = camera.pitchTarget = pitch;
    return camera;
}

// Clip-space test of a box: every corner inside the view volume.
bool cornersInsideClip(const std::array<Vec3, 8>& corners, const Mat4& viewProjection) {
    for (const Vec3& c : corners) {
        const Vec4 clip = transform(Vec4{c.x, c.y, c.z, 1.0f}, viewProjection);
        if (!(clip.w > 0.0f)) return false;
        if (std::abs(clip.x) > clip.w || std::abs(clip.y) > clip.w) return false;
        if (clip.z < 0.0f || clip.z > clip.w) return false;
    }
    return true;
}

// Same as the framing rule: on the back buffer, above the status line.
bool cornersOnScreen(const std::array<Vec3, 8>& corners, const Mat4& viewProjection) {
    for (const Vec3& c : corners) {
        const Vec4 clip = transform(Vec4{c.x, c.y, c.z, 1.0f}, viewProjection);
        if (!(clip.w > 0.0f) || clip.z < 0.0f || clip.z > clip.w) return false;
        const float sx = (clip.x / clip.w + 1.0f) * 0.5f * kWidth;
        const float sy = (1.0f - clip.y / clip.w) * 0.5f * kHeight;
        if (sx < 0.0f || sx > kWidth || sy < 0.0f || sy > kHeight - 20.0f) return false;
    }
    return true;
}

// ---------------------------------------------------------------------------

TEST(CameraDefaults, StartUpValues) {
    const CameraState camera;
    expectNear(camera.eyeTarget, {0.0f, 49.0f, 105.0f}, 0.0f);
    // 500 units behind the target along the start-up forward direction.
    expectNear(camera.eye, camera.eyeTarget - cameraForward(camera) * 500.0f, 1e-3f);
    expectNear(camera.eye, {0.0f, 299.0f, 538.0f}, 0.1f);
    EXPECT_FLOAT_EQ(camera.yaw, -kHalfPi);
    EXPECT_FLOAT_EQ(camera.yawTarget, -kHalfPi);
    EXPECT_FLOAT_EQ(camera.pitch, kPi / 6.0f);
    EXPECT_FLOAT_EQ(camera.pitchTarget, kPi / 6.0f);
    EXPECT_FLOAT_EQ(camera.orbitAngle, 1.5f * kPi - camera.yaw);
    EXPECT_FLOAT_EQ(camera.fieldOfView, kPi / 4.0f);
    EXPECT_FLOAT_EQ(camera.sensitivity, 1.0f);
    EXPECT_FLOAT_EQ(camera.walkSpeed, 150.0f);
    EXPECT_TRUE(camera.autoFrame);
    EXPECT_FALSE(camera.followOn);
    EXPECT_FALSE(camera.bouncing);
    EXPECT_FALSE(viewDragActive(camera));
}

TEST(CameraGlide, SameRateForAnyFrameRate) {
    CameraState fast;
    fast.eye = {0.0f, 0.0f, 0.0f};
    fast.eyeTarget = {100.0f, -50.0f, 20.0f};
    fast.yaw = 0.0f;
    fast.yawTarget = 1.0f;
    fast.pitch = 0.0f;
    fast.pitchTarget = -0.5f;
    CameraState slow = fast;

    for (int i = 0; i < 60; ++i) updateCamera(fast, frame(1.0f / 60.0f));
    for (int i = 0; i < 30; ++i) updateCamera(slow, frame(1.0f / 30.0f));

    expectNear(fast.eye, slow.eye, 1e-3f);
    EXPECT_NEAR(fast.yaw, slow.yaw, 1e-5f);
    EXPECT_NEAR(fast.pitch, slow.pitch, 1e-5f);
    // One second covers 1 - 0.9^30 of the way.
    const float covered = 1.0f - std::pow(0.9f, 30.0f);
    expectNear(fast.eye, Vec3{100.0f, -50.0f, 20.0f} * covered, 1e-3f);
    EXPECT_NEAR(fast.yaw, covered, 1e-5f);
    EXPECT_NEAR(fast.pitch, -0.5f * covered, 1e-5f);
    EXPECT_NEAR(cameraGlideFactor(1.0f / 30.0f), 0.1f, 1e-6f);
    EXPECT_FLOAT_EQ(cameraGlideFactor(0.0f), 0.0f);
}

TEST(CameraGlide, ArrivesExactlySoTheWalkCanStart) {
    CameraState camera;  // start-up glide from 500 units behind
    for (int i = 0; i < 2000; ++i) updateCamera(camera, frame(1.0f / 60.0f));
    EXPECT_EQ(camera.eye.x, camera.eyeTarget.x);
    EXPECT_EQ(camera.eye.y, camera.eyeTarget.y);
    EXPECT_EQ(camera.eye.z, camera.eyeTarget.z);
    expectNear(camera.eye, kCameraStartTarget, 1e-3f);

    // Arrived: the left button now walks forward.
    camera.lookButtons[static_cast<int>(LookButton::Left)] = true;
    const Vec3 before = camera.eye;
    updateCamera(camera, frame(0.1f));
    expectNear(camera.eye, before + cameraForward(camera) * (150.0f * 0.1f * 0.1f), 1e-3f);
}

TEST(CameraView, ForwardForKnownAngles) {
    expectNear(cameraForward(0.0f, 0.0f), {1.0f, 0.0f, 0.0f}, 1e-6f);
    expectNear(cameraForward(kHalfPi, 0.0f), {0.0f, 0.0f, 1.0f}, 1e-6f);
    expectNear(cameraForward(-kHalfPi, 0.0f), {0.0f, 0.0f, -1.0f}, 1e-6f);
    expectNear(cameraForward(0.0f, kHalfPi), {0.0f, -1.0f, 0.0f}, 1e-6f);  // looks down
    expectNear(cameraForward(-kHalfPi, kPi / 6.0f), {0.0f, -0.5f, -0.8660254f}, 1e-6f);
    expectNear(cameraForward(kPi / 4.0f, kPi / 6.0f),
               {0.6123724f, -0.5f, 0.6123724f}, 1e-6f);
    // The orbit offset at o = 3 pi / 2 - yaw points back along -forward.
    expectNear(orbitOffset(1.5f * kPi - 0.3f, 0.4f), -cameraForward(0.3f, 0.4f), 1e-5f);
}

TEST(CameraView, ViewMatrixLooksAlongForward) {
    const Vec3 eye{10.0f, 20.0f, -30.0f};
    const float angles[][2] = {{0.0f, 0.0f}, {kHalfPi, 0.0f}, {-kHalfPi, kPi / 6.0f},
                               {0.7f, -0.4f}, {2.5f, 1.2f}};
    for (const auto& a : angles) {
        const Mat4 view = cameraViewMatrix(eye, a[0], a[1]);
        expectNear(transformPoint(eye, view), {0.0f, 0.0f, 0.0f}, 1e-4f);
        expectNear(transformPoint(eye + cameraForward(a[0], a[1]) * 10.0f, view),
                   {0.0f, 0.0f, 10.0f}, 1e-4f);
    }
    // Heading +z, level: world +x is on the right, +y up.
    const Mat4 level = cameraViewMatrix({0.0f, 0.0f, 0.0f}, kHalfPi, 0.0f);
    expectNear(transformPoint({1.0f, 0.0f, 0.0f}, level), {1.0f, 0.0f, 0.0f}, 1e-6f);
    expectNear(transformPoint({0.0f, 1.0f, 0.0f}, level), {0.0f, 1.0f, 0.0f}, 1e-6f);
    // Looking down 30 degrees: a point straight ahead and level sits above the view axis.
    const Mat4 down = cameraViewMatrix({0.0f, 0.0f, 0.0f}, kHalfPi, kPi / 6.0f);
    const Vec3 ahead = transformPoint({0.0f, 0.0f, 10.0f}, down);
    EXPECT_NEAR(ahead.y, 5.0f, 1e-4f);
    EXPECT_NEAR(ahead.z, 8.660254f, 1e-4f);

    // The update leaves the same matrix in camera.view.
    CameraState camera = restingCamera(eye, 0.7f, -0.4f);
    updateCamera(camera, frame(1.0f / 60.0f));
    const Mat4 expected = cameraViewMatrix(eye, 0.7f, -0.4f);
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) EXPECT_NEAR(camera.view.m[r][c], expected.m[r][c], 1e-4f);
    }
}

TEST(CameraView, ProjectionAndNarrowTools) {
    CameraState camera;
    const Mat4 normal = cameraProjection(camera, kWidth, kHeight, false);
    EXPECT_NEAR(normal.m[1][1], 1.0f / std::tan(kPi / 8.0f), 1e-5f);
    EXPECT_NEAR(normal.m[0][0], normal.m[1][1] * kHeight / kWidth, 1e-5f);
    // Depth 0 on the near plane (1), 1 on the far plane (10000).
    EXPECT_NEAR(transformPoint({0.0f, 0.0f, 1.0f}, normal).z, 0.0f, 1e-6f);
    EXPECT_NEAR(transformPoint({0.0f, 0.0f, 10000.0f}, normal).z, 1.0f, 1e-5f);

    const Mat4 narrow = cameraProjection(camera, kWidth, kHeight, true);
    EXPECT_NEAR(narrow.m[1][1], 1.0f / std::tan(0.1f), 1e-3f);

    camera.fieldOfView = 1.0f;
    EXPECT_NEAR(cameraProjection(camera, kWidth, kHeight, false).m[1][1],
                1.0f / std::tan(0.5f), 1e-5f);
    // The tools win over the stored field of view.
    EXPECT_NEAR(cameraProjection(camera, kWidth, kHeight, true).m[1][1], narrow.m[1][1], 1e-6f);
}

TEST(CameraView, CinematicViewThroughAttachedObject) {
    CameraState camera;
    const Mat4 world = matrixRotationY(kHalfPi) * matrixTranslation(100.0f, 5.0f, 0.0f);
    const Vec3 localCentre{0.0f, 2.0f, 1.0f};
    const Mat4 view = cinematicView(camera, world, localCentre);
    const Vec3 eye = transformPoint(localCentre, world);
    expectNear(camera.eye, eye, 1e-5f);
    expectNear(camera.eyeTarget, eye, 0.0f);
    expectNear(transformPoint(eye, view), {0.0f, 0.0f, 0.0f}, 1e-4f);
    // The world position of the negated local centre is straight ahead.
    const Vec3 at = transformPoint(transformPoint(-localCentre, world), view);
    EXPECT_NEAR(at.x, 0.0f, 1e-4f);
    EXPECT_NEAR(at.y, 0.0f, 1e-4f);
    EXPECT_GT(at.z, 0.0f);
}

TEST(CameraPresetViews, AnglesOfEachView) {
    struct Case {
        PresetView view;
        float orbitAngle;
    };
    const Case cases[] = {{PresetView::East, kHalfPi},
                          {PresetView::West, -kHalfPi},
                          {PresetView::South, kPi},
                          {PresetView::North, kTwoPi}};
    for (const Case& c : cases) {
        CameraState camera = restingCamera({30.0f, 40.0f, 0.0f}, 0.2f, 0.3f);
        camera.orbitTarget = {0.0f, 0.0f, 0.0f};
        presetView(camera, c.view, std::nullopt);
        EXPECT_FLOAT_EQ(camera.orbitAngle, c.orbitAngle);
        EXPECT_FLOAT_EQ(camera.orbitPitch, 0.0f);
        EXPECT_NEAR(camera.yaw, 1.5f * kPi - c.orbitAngle, 1e-6f);
        EXPECT_FLOAT_EQ(camera.yawTarget, camera.yaw);
        EXPECT_FLOAT_EQ(camera.pitch, 0.0f);
        EXPECT_FLOAT_EQ(camera.pitchTarget, 0.0f);
        // The distance is the eye's distance from the origin (50), the
        // eye level with the orbit target and looking at it.
        EXPECT_FLOAT_EQ(camera.orbitDistance, 50.0f);
        EXPECT_NEAR(length(camera.eye - camera.orbitTarget), 50.0f, 1e-3f);
        EXPECT_NEAR(camera.eye.y, 0.0f, 1e-4f);
        expectNear(camera.eye + cameraForward(camera) * 50.0f, camera.orbitTarget, 1e-3f);
        expectNear(camera.eyeTarget, camera.eye, 0.0f);
    }
    // East puts the eye on +x of the orbit target.
    CameraState east = restingCamera({0.0f, 0.0f, 10.0f}, 0.0f, 0.0f);
    presetView(east, PresetView::East, std::nullopt);
    expectNear(east.eye, {10.0f, 0.0f, 0.0f}, 1e-4f);
}

TEST(CameraPresetViews, TopAlternatesAboveAndBelow) {
    CameraState camera = restingCamera({0.0f, 0.0f, 20.0f}, 0.0f, 0.0f);
    camera.orbitTarget = {1.0f, 2.0f, 3.0f};

    presetView(camera, PresetView::Top, std::nullopt);
    EXPECT_FLOAT_EQ(camera.pitch, kHalfPi);
    EXPECT_FLOAT_EQ(camera.orbitAngle, kPi);
    EXPECT_NEAR(camera.eye.y, camera.orbitTarget.y + 20.0f, 1e-3f);  // above
    expectNear(cameraForward(camera), {0.0f, -1.0f, 0.0f}, 1e-5f);   // looking down
    EXPECT_TRUE(camera.topViewBelow);

    presetView(camera, PresetView::Top, std::nullopt);
    EXPECT_FLOAT_EQ(camera.pitch, 1.5f * kPi);
    EXPECT_LT(camera.eye.y, camera.orbitTarget.y);                   // below
    expectNear(cameraForward(camera), {0.0f, 1.0f, 0.0f}, 1e-5f);    // looking up
    EXPECT_FALSE(camera.topViewBelow);

    presetView(camera, PresetView::Top, std::nullopt);
    EXPECT_FLOAT_EQ(camera.pitch, kHalfPi);
}

TEST(CameraPresetViews, CurrentObjectKeepsItsDistance) {
    CameraState camera = restingCamera({0.0f, 0.0f, 100.0f}, 0.0f, 0.0f);
    const Vec3 centre{0.0f, 0.0f, 90.0f};
    camera.orbitTarget = centre;
    presetView(camera, PresetView::South, centre);
    EXPECT_FLOAT_EQ(camera.objectDistance, 10.0f);
    EXPECT_NEAR(distance(camera.eye, centre), 10.0f, 1e-4f);
}

TEST(CameraFrameObject, BoxEndsFullyInsideTheView) {
    const std::array<Vec3, 8> box =
        worldBoxCorners({-5.0f, -3.0f, -4.0f}, {5.0f, 3.0f, 4.0f}, matrixTranslation(40.0f, 10.0f, -20.0f));
    const Vec3 centre{40.0f, 10.0f, -20.0f};
    const Vec3 starts[] = {{40.0f, 10.0f, -22.0f},   // far too close: grows
                           {40.0f, 600.0f, 800.0f},  // far away: shrinks
                           {-100.0f, 50.0f, 30.0f}};
    for (const Vec3& start : starts) {
        CameraState camera = restingCamera(start, -1.0f, 0.4f);
        const Mat4 projection = cameraProjection(camera, kWidth, kHeight, false);
        const Vec3 eye = frameObject(camera, centre, box, 1.0f, true, projection, kWidth, kHeight);
        // The angles are kept and the eye looks at the centre.
        EXPECT_FLOAT_EQ(camera.yaw, -1.0f);
        EXPECT_FLOAT_EQ(camera.pitch, 0.4f);
        EXPECT_FLOAT_EQ(camera.yawTarget, -1.0f);
        EXPECT_FLOAT_EQ(camera.pitchTarget, 0.4f);
        const float d = distance(eye, centre);
        expectNear(eye + cameraForward(camera) * d, centre, 1e-3f);

        const Mat4 vp = cameraViewMatrix(eye, camera.yaw, camera.pitch) * projection;
        EXPECT_TRUE(cornersInsideClip(box, vp));
        EXPECT_TRUE(cornersOnScreen(box, vp));
        // As close as the 1.1 steps allow: one step closer no longer fits.
        const Vec3 closer = centre - cameraForward(camera) * (d / 1.1f);
        EXPECT_FALSE(cornersOnScreen(box, cameraViewMatrix(closer, camera.yaw, camera.pitch) * projection));
    }
}

TEST(CameraFrameObject, FactorAutoFrameAndForce) {
    const std::array<Vec3, 8> box = worldBoxCorners({-1.0f, -1.0f, -1.0f}, {1.0f, 1.0f, 1.0f}, identity());
    const Vec3 centre{0.0f, 0.0f, 0.0f};
    CameraState camera = restingCamera({0.0f, 0.0f, -300.0f}, kHalfPi, 0.0f);
    const Mat4 projection = cameraProjection(camera, kWidth, kHeight, false);

    // Automatic framing off and no force: the eye keeps its distance.
    camera.autoFrame = false;
    expectNear(frameObject(camera, centre, box, 1.0f, false, projection, kWidth, kHeight),
               {0.0f, 0.0f, -300.0f}, 1e-3f);
    // The factor scales the distance.
    expectNear(frameObject(camera, centre, box, 2.0f, false, projection, kWidth, kHeight),
               {0.0f, 0.0f, -600.0f}, 1e-2f);
    // Forced, or with automatic framing on, the eye comes in close.
    const Vec3 forced = frameObject(camera, centre, box, 1.0f, true, projection, kWidth, kHeight);
    camera.autoFrame = true;
    const Vec3 automatic = frameObject(camera, centre, box, 1.0f, false, projection, kWidth, kHeight);
    expectNear(forced, automatic, 1e-4f);
    EXPECT_LT(distance(forced, centre), 10.0f);
    EXPECT_GT(distance(forced, centre), 1.0f);
    // An eye on the centre stays there.
    CameraState inside = restingCamera(centre, kHalfPi, 0.0f);
    expectNear(frameObject(inside, centre, box, 1.0f, true, projection, kWidth, kHeight), centre, 0.0f);
}

TEST(CameraPads, OrbitKeepsTheDistance) {
    // No object current: the distance from the orbit target.
    CameraState camera = restingCamera({0.0f, 10.0f, -40.0f}, kHalfPi, 0.0f);
    camera.orbitTarget = {0.0f, 10.0f, 0.0f};
    orbitPadPress(camera, std::nullopt);
    EXPECT_FLOAT_EQ(camera.orbitDistance, 40.0f);
    orbitPadDrag(camera, 120.0f, -60.0f, false);
    EXPECT_NEAR(distance(camera.eye, camera.orbitTarget), 40.0f, 1e-3f);
    EXPECT_NEAR(camera.orbitAngle, 1.5f * kPi - kHalfPi + 0.6f, 1e-5f);
    EXPECT_NEAR(camera.orbitPitch, 0.3f, 1e-6f);
    EXPECT_NEAR(camera.yaw, 1.5f * kPi - camera.orbitAngle, 1e-6f);
    EXPECT_FLOAT_EQ(camera.yawTarget, camera.yaw);
    EXPECT_FLOAT_EQ(camera.pitchTarget, camera.pitch);
    expectNear(camera.eyeTarget, camera.eye, 0.0f);
    // Still looking at the orbit target.
    expectNear(camera.eye + cameraForward(camera) * 40.0f, camera.orbitTarget, 1e-3f);
    orbitPadRelease(camera);
    EXPECT_NEAR(camera.orbitStart, camera.orbitAngle, 1e-5f);

    // An object current: its distance instead.
    CameraState withObject = restingCamera({0.0f, 10.0f, -40.0f}, kHalfPi, 0.0f);
    withObject.orbitTarget = {0.0f, 10.0f, 0.0f};
    orbitPadPress(withObject, Vec3{0.0f, 10.0f, -30.0f});
    EXPECT_FLOAT_EQ(withObject.objectDistance, 10.0f);
    orbitPadDrag(withObject, 50.0f, 0.0f, true);
    EXPECT_NEAR(distance(withObject.eye, withObject.orbitTarget), 10.0f, 1e-3f);
}

TEST(CameraPads, ShiftMakesPanAndZoomTenTimesFiner) {
    auto panned = [](bool shift, float dx, float dy) {
        CameraState camera = restingCamera({5.0f, 6.0f, 7.0f}, 0.3f, 0.5f);
        camera.orbitTarget = {1.0f, 1.0f, 1.0f};
        setShiftHeld(camera, shift);
        panPadPress(camera);
        panPadDrag(camera, dx, dy);
        EXPECT_FLOAT_EQ(camera.yawTarget, camera.yaw);
        EXPECT_FLOAT_EQ(camera.pitchTarget, camera.pitch);
        expectNear(camera.eyeTarget, camera.eye, 0.0f);
        // The orbit target moves with the eye.
        expectNear(camera.orbitTarget - Vec3{1.0f, 1.0f, 1.0f}, camera.eye - Vec3{5.0f, 6.0f, 7.0f}, 1e-4f);
        return camera.eye - Vec3{5.0f, 6.0f, 7.0f};
    };
    const Vec3 coarse = panned(false, 40.0f, -30.0f);
    const Vec3 fine = panned(true, 40.0f, -30.0f);
    EXPECT_GT(length(coarse), 1.0f);
    expectNear(fine * 10.0f, coarse, 1e-3f);
    // A sideways pan is level and across the view; a vertical pan is
    // twice as far per pixel.
    const Vec3 side = panned(false, 20.0f, 0.0f);
    EXPECT_NEAR(side.y, 0.0f, 1e-5f);
    EXPECT_NEAR(dot(side, cameraForward(0.3f, 0.5f)), 0.0f, 1e-4f);
    EXPECT_NEAR(length(side), 1.0f, 1e-4f);
    const Vec3 up = panned(false, 0.0f, 20.0f);
    EXPECT_NEAR(length(up), 2.0f, 1e-4f);
    EXPECT_NEAR(dot(up, cameraForward(0.3f, 0.5f)), 0.0f, 1e-4f);

    auto zoomed = [](bool shift, float dy) {
        CameraState camera = restingCamera({0.0f, 0.0f, 0.0f}, 0.0f, 0.0f);
        setShiftHeld(camera, shift);
        zoomPadPress(camera);
        zoomPadDrag(camera, dy, std::nullopt);
        expectNear(camera.eyeTarget, camera.eye, 0.0f);
        return camera.eye;
    };
    expectNear(zoomed(false, -10.0f), {5.0f, 0.0f, 0.0f}, 1e-5f);  // dragging up moves forward
    expectNear(zoomed(true, -10.0f), {0.5f, 0.0f, 0.0f}, 1e-5f);

    CameraState shifted;
    setShiftHeld(shifted, true);
    EXPECT_FLOAT_EQ(shifted.sensitivity, 0.1f);
    setShiftHeld(shifted, false);
    EXPECT_FLOAT_EQ(shifted.sensitivity, 1.0f);
}

TEST(CameraPads, ShiftLeavesOrbitAndViewDragAlone) {
    auto orbitAndDrag = [](bool shift) {
        CameraState camera = restingCamera({0.0f, 0.0f, -40.0f}, kHalfPi, 0.0f);
        setShiftHeld(camera, shift);
        orbitPadPress(camera, std::nullopt);
        orbitPadDrag(camera, 100.0f, 40.0f, false);
        orbitPadRelease(camera);
        const Vec3 orbitEye = camera.eye;
        viewDragDown(camera, LookButton::Right, {500, 400}, {600, 450});
        viewDragMove(camera, {700, 300}, 1920, 1080);
        return std::array<float, 5>{orbitEye.x, orbitEye.y, orbitEye.z, camera.yaw, camera.pitch};
    };
    const auto normal = orbitAndDrag(false);
    const auto shifted = orbitAndDrag(true);
    for (std::size_t i = 0; i < normal.size(); ++i) EXPECT_FLOAT_EQ(shifted[i], normal[i]) << i;
}

TEST(CameraPads, ZoomUpdatesTheFollowDistance) {
    CameraState camera = restingCamera({0.0f, 0.0f, 0.0f}, 0.0f, 0.0f);
    zoomPadPress(camera);
    zoomPadDrag(camera, -20.0f, Vec3{30.0f, 0.0f, 0.0f});
    EXPECT_NEAR(camera.followDistance, 20.0f, 1e-4f);
}

TEST(CameraViewDrag, TurnsFromThePressAngles) {
    CameraState camera = restingCamera({0.0f, 0.0f, 0.0f}, 0.5f, 0.1f);
    EXPECT_FALSE(viewDragMove(camera, {10, 10}, 1920, 1080));  // no button: nothing
    EXPECT_FLOAT_EQ(camera.yaw, 0.5f);

    viewDragDown(camera, LookButton::Left, {800, 500}, {810, 530});
    EXPECT_TRUE(camera.lookButtons[0]);
    EXPECT_FALSE(camera.lookButtons[1]);
    EXPECT_TRUE(viewDragActive(camera));
    EXPECT_FALSE(viewDragMove(camera, {900, 300}, 1920, 1080));
    EXPECT_NEAR(camera.yaw, 0.5f - 0.1f, 1e-6f);
    EXPECT_NEAR(camera.pitch, 0.1f + 0.1f, 1e-6f);
    // A glide does not pull the view back.
    updateCamera(camera, frame(1.0f / 60.0f));
    EXPECT_NEAR(camera.yaw, 0.4f, 1e-6f);
    viewDragUp(camera);
    EXPECT_FALSE(viewDragActive(camera));
}

TEST(CameraViewDrag, PointerPinnedAtTheEdgeKeepsTurning) {
    CameraState camera = restingCamera({0.0f, 0.0f, 0.0f}, 0.0f, 0.0f);
    viewDragDown(camera, LookButton::Right, {100, 200}, {1100, 1200});
    EXPECT_TRUE(viewDragMove(camera, {0, 200}, 1920, 1080));  // left edge: put back
    EXPECT_NEAR(camera.yaw, 0.1f, 1e-6f);
    EXPECT_EQ(camera.pressCursor.x, 1100);
    EXPECT_EQ(camera.pressCursor.y, 1200);
    // The pointer came back to the press point and reaches the edge again.
    EXPECT_TRUE(viewDragMove(camera, {0, 200}, 1920, 1080));
    EXPECT_NEAR(camera.yaw, 0.2f, 1e-6f);
    EXPECT_FALSE(viewDragMove(camera, {50, 200}, 1920, 1080));
    EXPECT_NEAR(camera.yaw, 0.25f, 1e-6f);
    EXPECT_TRUE(viewDragMove(camera, {100, 1079}, 1920, 1080));  // bottom edge
    EXPECT_NEAR(camera.pitch, -0.0005f * 879.0f, 1e-6f);
}

TEST(CameraWalk, ButtonsWalkAndReleaseCoasts) {
    CameraState camera = restingCamera({0.0f, 0.0f, 0.0f}, 0.0f, 0.0f);
    camera.lookButtons[static_cast<int>(LookButton::Left)] = true;
    updateCamera(camera, frame(0.5f));
    expectNear(camera.eye, {7.5f, 0.0f, 0.0f}, 1e-5f);  // 150 * 0.1 * 0.5
    EXPECT_FLOAT_EQ(camera.walkVelocity, 7.5f);
    expectNear(camera.eyeTarget, camera.eye, 0.0f);

    camera.lookButtons = {};
    camera.lookButtons[static_cast<int>(LookButton::Middle)] = true;
    updateCamera(camera, frame(0.5f));
    expectNear(camera.eye, {0.0f, 0.0f, 0.0f}, 1e-5f);
    EXPECT_FLOAT_EQ(camera.walkVelocity, -7.5f);

    camera.lookButtons = {};
    updateCamera(camera, frame(0.1f));
    const float coast = -7.5f * std::pow(0.9f, 2.0f);
    EXPECT_NEAR(camera.walkVelocity, coast, 1e-5f);
    EXPECT_NEAR(camera.eye.x, coast, 1e-5f);

    // No walking while the colour selector is in use.
    CameraState still = restingCamera({0.0f, 0.0f, 0.0f}, 0.0f, 0.0f);
    still.lookButtons[0] = true;
    CameraFrameInput input = frame(0.5f);
    input.backgroundSelectorActive = true;
    updateCamera(still, input);
    expectNear(still.eye, {0.0f, 0.0f, 0.0f}, 0.0f);
}

TEST(CameraWalk, BouncesOffABlockingObstacle) {
    // A wall 30 units ahead along +x; the probe sees 2 units ahead.
    const RayProbe probe = sphereObstacleProbe({ObstacleSphere{{40.0f, 0.0f, 0.0f}, 10.0f, true, 0, 0.0f}}, 2.0f);
    CameraState camera = restingCamera({0.0f, 0.0f, 0.0f}, 0.0f, 0.0f);
    camera.lookButtons[static_cast<int>(LookButton::Left)] = true;
    CameraFrameInput input = frame(1.0f / 60.0f);
    input.probe = probe;

    int frames = 0;
    while (!camera.bouncing && frames < 2000) {
        updateCamera(camera, input);
        ++frames;
    }
    ASSERT_TRUE(camera.bouncing);
    EXPECT_LT(camera.walkVelocity, 0.0f);  // reversed
    const float hitX = camera.eye.x;
    EXPECT_GT(hitX, 27.0f);
    EXPECT_LT(hitX, 30.0f);  // never inside the wall

    // The bounce pushes the eye back even with the button still held, and
    // ends once the reversed step has died down.
    updateCamera(camera, input);
    EXPECT_LT(camera.eye.x, hitX);
    int bounceFrames = 0;
    while (camera.bouncing && bounceFrames < 2000) {
        updateCamera(camera, input);
        ++bounceFrames;
    }
    EXPECT_FALSE(camera.bouncing);
    EXPECT_LT(std::abs(camera.walkVelocity), 0.001f);
    EXPECT_LT(camera.eye.x, hitX - 1.0f);

    // Walking on never gets through.
    for (int i = 0; i < 3000; ++i) updateCamera(camera, input);
    EXPECT_LT(camera.eye.x, 30.0f);

    // Without the probe the same walk goes straight through.
    CameraState free = restingCamera({0.0f, 0.0f, 0.0f}, 0.0f, 0.0f);
    free.lookButtons[0] = true;
    CameraFrameInput noTest = input;
    noTest.walkTestEnabled = false;
    for (int i = 0; i < 1000; ++i) updateCamera(free, noTest);
    EXPECT_GT(free.eye.x, 60.0f);
}

TEST(CameraWalk, WalkableGroundSetsTheHeight) {
    const RayProbe ground = [](Vec3, Vec3, float) -> std::optional<RayHit> {
        return RayHit{1.0f, 12.0f, 1, false};
    };
    CameraState camera = restingCamera({0.0f, 5.0f, 0.0f}, 0.0f, 0.3f);
    camera.lookButtons[0] = true;
    walkStep(camera, 1.0f, ground, true);
    // Level along the heading, then 0.01 below the hit height.
    EXPECT_NEAR(camera.eye.x, 15.0f * std::cos(0.3f), 1e-4f);
    EXPECT_NEAR(camera.eye.y, 11.99f, 1e-5f);
    EXPECT_NEAR(camera.eye.z, 0.0f, 1e-6f);
    EXPECT_FALSE(camera.bouncing);
    expectNear(camera.eyeTarget, camera.eye, 0.0f);
}

TEST(CameraFollow, TrailsTheAvatarInFrontOfObstacles) {
    CameraState camera = restingCamera({0.0f, 0.0f, 0.0f}, kHalfPi, 0.0f);
    camera.followOn = true;
    camera.followDistance = 20.0f;
    CameraFrameInput input = frame(1.0f / 60.0f);
    input.followCentre = Vec3{5.0f, 1.0f, 50.0f};
    updateCamera(camera, input);
    expectNear(camera.eye, {5.0f, 1.0f, 30.0f}, 1e-4f);  // behind, along -forward
    expectNear(camera.eyeTarget, camera.eye, 0.0f);

    // A wall between the avatar and the eye: the eye stays in front of it.
    input.probe = sphereObstacleProbe({ObstacleSphere{{5.0f, 1.0f, 30.0f}, 5.0f, true, 0, 0.0f}}, 1e10f);
    updateCamera(camera, input);
    EXPECT_GT(camera.eye.z, 35.0f);
    EXPECT_LT(camera.eye.z, 50.0f);
}

TEST(CameraViewpoints, GlideTurnsTheShortWay) {
    EXPECT_NEAR(wrapAngle(0.5f), 0.5f, 1e-6f);
    EXPECT_NEAR(wrapAngle(kTwoPi + 0.5f), 0.5f, 1e-5f);
    EXPECT_NEAR(wrapAngle(1.5f * kPi), -0.5f * kPi, 1e-5f);
    EXPECT_NEAR(wrapAngle(-1.5f * kPi), 0.5f * kPi, 1e-5f);
    EXPECT_NEAR(wrapAngle(kPi), kPi, 1e-6f);

    CameraState camera = restingCamera({0.0f, 0.0f, 0.0f}, 3.0f, 0.0f);
    glideToViewpoint(camera, {10.0f, 20.0f, 30.0f}, -3.0f, 0.2f);
    expectNear(camera.eyeTarget, {10.0f, 20.0f, 30.0f}, 0.0f);
    // From 3 to -3 the short way is up through pi: 3 + (2 pi - 6).
    EXPECT_NEAR(camera.yawTarget, 3.0f + (kTwoPi - 6.0f), 1e-5f);
    EXPECT_NEAR(camera.pitchTarget, 0.2f, 1e-6f);

    // A current yaw several turns round is wrapped first.
    CameraState turned = restingCamera({0.0f, 0.0f, 0.0f}, 4.0f * kPi + 0.1f, 0.0f);
    glideToViewpoint(turned, {}, 0.3f, 0.0f);
    EXPECT_NEAR(turned.yaw, 0.1f, 1e-4f);
    EXPECT_NEAR(turned.yawTarget, 0.3f, 1e-4f);
}

TEST(CameraViewpoints, PlaceCameraAtHome) {
    CameraState camera;
    camera.fieldOfView = 1.2f;
    placeCameraHome(camera);
    expectNear(camera.eyeTarget, {1.29f, 36.77f, 59.04f}, 0.0f);
    EXPECT_FLOAT_EQ(camera.yaw, -1.58f);
    EXPECT_FLOAT_EQ(camera.yawTarget, -1.58f);
    EXPECT_FLOAT_EQ(camera.pitch, 0.39f);
    EXPECT_FLOAT_EQ(camera.pitchTarget, 0.39f);
    EXPECT_FLOAT_EQ(camera.orbitPitch, 0.39f);
    EXPECT_FLOAT_EQ(camera.orbitPitchStart, 0.39f);
    EXPECT_FLOAT_EQ(camera.orbitAngle, 1.5f * kPi + 1.58f);
    EXPECT_FLOAT_EQ(camera.orbitStart, camera.orbitAngle);
    EXPECT_FLOAT_EQ(camera.fieldOfView, kPi / 4.0f);
    const Vec3 back{50.0f * std::cos(-1.58f) * std::cos(0.39f), -500.0f * std::sin(0.39f),
                    500.0f * std::sin(-1.58f) * std::cos(0.39f)};
    expectNear(camera.eye, camera.eyeTarget - back, 1e-3f);
    for (int i = 0; i < 600; ++i) updateCamera(camera, frame(1.0f / 60.0f));
    expectNear(camera.eye, camera.eyeTarget, 1e-3f);

    resetCameraAngles(camera);
    EXPECT_FLOAT_EQ(camera.yaw, -kHalfPi);
    EXPECT_FLOAT_EQ(camera.pitchTarget, kPi / 6.0f);
}

TEST(CameraSceneValues, RoundTripAndGlideInFromBehind) {
    CameraState saved = restingCamera({12.0f, 34.0f, -56.0f}, 0.8f, 0.25f);
    saved.fieldOfView = 0.9f;
    Scene scene;
    storeCameraInScene(saved, scene);
    expectNear(scene.eyeTarget, saved.eye, 0.0f);  // the file keeps the eye position
    EXPECT_FLOAT_EQ(scene.yaw, 0.8f);
    EXPECT_FLOAT_EQ(scene.pitch, 0.25f);
    EXPECT_FLOAT_EQ(scene.fieldOfView, 0.9f);

    CameraState restored;
    restoreCameraFromScene(restored, scene);
    expectNear(restored.eyeTarget, saved.eye, 0.0f);
    EXPECT_FLOAT_EQ(restored.yaw, 0.8f);
    EXPECT_FLOAT_EQ(restored.yawTarget, 0.8f);
    EXPECT_FLOAT_EQ(restored.pitch, 0.25f);
    EXPECT_FLOAT_EQ(restored.pitchTarget, 0.25f);
    EXPECT_FLOAT_EQ(restored.fieldOfView, 0.9f);
    // 500 units behind the stored eye, against the forward direction.
    expectNear(restored.eye, saved.eye - cameraForward(0.8f, 0.25f) * 500.0f, 1e-3f);
    EXPECT_NEAR(distance(restored.eye, saved.eye), 500.0f, 1e-2f);

    // It glides in along the view direction to the stored eye.
    updateCamera(restored, frame(1.0f / 60.0f));
    const Vec3 towards = normalize(saved.eye - restored.eye);
    expectNear(towards, cameraForward(0.8f, 0.25f), 1e-4f);
    EXPECT_LT(distance(restored.eye, saved.eye), 500.0f);
    for (int i = 0; i < 1200; ++i) updateCamera(restored, frame(1.0f / 60.0f));
    expectNear(restored.eye, saved.eye, 1e-3f);

    // Storing again gives the same scene values.
    Scene again;
    storeCameraInScene(restored, again);
    expectNear(again.eyeTarget, scene.eyeTarget, 1e-3f);
    EXPECT_FLOAT_EQ(again.yaw, scene.yaw);
    EXPECT_FLOAT_EQ(again.pitch, scene.pitch);
}

}  // namespace
}  // namespace morvanex
