#include "render/camera.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "scene/scene.h"

namespace morvanex {
namespace {

// Pixel-to-motion scales of the pads and of the view drag.
constexpr float kOrbitPerPixel = 0.005f;     // radians
constexpr float kPanPerPixel = 0.05f;        // scene units
constexpr float kZoomPerPixel = 0.05f * 10.0f;
constexpr float kDragYawPerPixel = 0.001f;   // radians
constexpr float kDragPitchPerPixel = 0.0005f;

// Walk: step per second is walkSpeed * 0.1; the coast decays with 0.9^(20 dt).
constexpr float kWalkStepScale = 0.1f;
constexpr float kWalkDecayRate = 20.0f;
constexpr float kBounceEndSpeed = 0.001f;    // scene units per frame
constexpr float kHeightBelowHit = 0.01f;     // scene units

// The follow eye stays this far in front of an obstacle, scene units.
constexpr float kFollowClearance = 0.5f;

// A glide this close to its target lands on it. Without this a lerp whose
// remaining step rounds to nothing would stop a few ulps short, and the
// walk, which waits for the eye to arrive exactly, would never start.
constexpr float kGlideSnapDistance = 1e-4f;  // scene units
constexpr float kGlideSnapAngle = 1e-6f;     // radians

// Framing grows or shrinks the distance by this factor per try.
constexpr float kFrameStep = 1.1f;
constexpr int kFrameMaxSteps = 400;  // 1.1^400 is far beyond any scene

float glide(float current, float target, float a, float snap) {
    const float next = lerp(current, target, a);
    return std::abs(target - next) <= snap ? target : next;
}

Vec3 glide(Vec3 current, Vec3 target, float a) {
    return {glide(current.x, target.x, a, kGlideSnapDistance),
            glide(current.y, target.y, a, kGlideSnapDistance),
            glide(current.z, target.z, a, kGlideSnapDistance)};
}

bool equalExactly(Vec3 a, Vec3 b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

void targetsFollowCurrent(CameraState& camera) {
    camera.eyeTarget = camera.eye;
    camera.pitchTarget = camera.pitch;
    camera.yawTarget = camera.yaw;
}

float orbitAngleOfYaw(float yaw) { return 1.5f * kPi - yaw; }

// Puts the eye on the orbit sphere at the orbit angles; a jump, not a glide.
void placeOnOrbit(CameraState& camera, float distance) {
    camera.eye = camera.orbitTarget + orbitOffset(camera.orbitAngle, camera.orbitPitch) * distance;
    camera.yaw = camera.yawTarget = orbitAngleOfYaw(camera.orbitAngle);
    camera.pitch = camera.pitchTarget = camera.orbitPitch;
    camera.eyeTarget = camera.eye;
}

// True when every corner seen from eye with the angles lands on the back
// buffer (x in [0, width], y in [0, height - status line]) and between the
// near and far planes.
bool boxFits(Vec3 eye, float yaw, float pitch, std::span<const Vec3, 8> corners,
             const Mat4& projection, float width, float height) {
    const Mat4 viewProjection = cameraViewMatrix(eye, yaw, pitch) * projection;
    for (const Vec3& corner : corners) {
        const Vec4 clip = transform(Vec4{corner.x, corner.y, corner.z, 1.0f}, viewProjection);
        if (!(clip.w > 0.0f)) return false;
        const float depth = clip.z / clip.w;
        if (depth < 0.0f || depth > 1.0f) return false;
        const float sx = (clip.x / clip.w + 1.0f) * 0.5f * width;
        const float sy = (1.0f - clip.y / clip.w) * 0.5f * height;
        if (sx < 0.0f || sx > width) return false;
        if (sy < 0.0f || sy > height - kCameraStatusLineHeight) return false;
    }
    return true;
}

}  // namespace

// ---------------------------------------------------------------------------
// Obstacles

RayProbe sphereObstacleProbe(std::vector<ObstacleSphere> spheres, float reach) {
    return [spheres = std::move(spheres), reach](Vec3 origin, Vec3 direction,
                                                  float maxLength) -> std::optional<RayHit> {
        const float limit = std::min(maxLength, reach);
        const Vec3 dir = normalize(direction);
        std::optional<RayHit> nearest;
        for (const ObstacleSphere& sphere : spheres) {
            // |origin + t dir - centre| = radius, nearest t >= 0.
            const Vec3 oc = origin - sphere.centre;
            const float b = dot(oc, dir);
            const float c = dot(oc, oc) - sphere.radius * sphere.radius;
            const float disc = b * b - c;
            if (disc < 0.0f) continue;
            const float root = std::sqrt(disc);
            float t = -b - root;
            if (t < 0.0f) t = -b + root;  // origin inside the sphere
            if (t < 0.0f || t > limit) continue;
            if (c <= 0.0f) t = 0.0f;      // inside: the obstacle is right here
            if (!nearest || t < nearest->distance) {
                nearest = RayHit{t, sphere.height, sphere.walkKind, sphere.blocking};
            }
        }
        return nearest;
    };
}

// ---------------------------------------------------------------------------
// Derived values

Vec3 cameraForward(float yaw, float pitch) {
    return {std::cos(yaw) * std::cos(pitch), -std::sin(pitch), std::sin(yaw) * std::cos(pitch)};
}

Vec3 cameraForward(const CameraState& camera) { return cameraForward(camera.yaw, camera.pitch); }

Vec3 orbitOffset(float orbitAngle, float orbitPitch) {
    return {std::sin(orbitAngle) * std::cos(orbitPitch), std::sin(orbitPitch),
            std::cos(orbitAngle) * std::cos(orbitPitch)};
}

Mat4 cameraViewMatrix(Vec3 eye, float yaw, float pitch) {
    const Vec3 heading{std::cos(yaw), 0.0f, std::sin(yaw)};
    return lookAtLH(eye, eye + heading, Vec3{0.0f, 1.0f, 0.0f}) * matrixRotationX(-pitch);
}

Mat4 cameraViewMatrix(const CameraState& camera) {
    return cameraViewMatrix(camera.eye, camera.yaw, camera.pitch);
}

Mat4 cameraProjection(const CameraState& camera, float width, float height, bool narrowFieldTool) {
    const float fov = narrowFieldTool ? kCameraNarrowFieldOfView : camera.fieldOfView;
    const float aspect = height > 0.0f && width > 0.0f ? width / height : 1.0f;
    return perspectiveFovLH(fov, aspect, kCameraNearPlane, kCameraFarPlane);
}

float wrapAngle(float a) {
    float r = a - kTwoPi * std::trunc(a / kTwoPi);
    if (r > kPi) r -= kTwoPi;
    if (r < -kPi) r += kTwoPi;
    return r;
}

float cameraGlideFactor(float dt) { return 1.0f - std::pow(0.9f, 30.0f * dt); }

// ---------------------------------------------------------------------------
// Per-frame update

void updateCamera(CameraState& camera, const CameraFrameInput& input) {
    const float a = cameraGlideFactor(input.dt);
    camera.eye = glide(camera.eye, camera.eyeTarget, a);
    camera.pitch = glide(camera.pitch, camera.pitchTarget, a, kGlideSnapAngle);
    camera.yaw = glide(camera.yaw, camera.yawTarget, a, kGlideSnapAngle);

    if (equalExactly(camera.eye, camera.eyeTarget) && !input.backgroundSelectorActive) {
        if (camera.followOn && input.followCentre && input.walkTestEnabled) {
            followStep(camera, *input.followCentre, input.probe);
        } else {
            walkStep(camera, input.dt, input.probe, input.walkTestEnabled);
        }
    }
    camera.view = cameraViewMatrix(camera);
}

void walkStep(CameraState& camera, float dt, const RayProbe& probe, bool walkTestEnabled) {
    const float step = camera.walkSpeed * kWalkStepScale * dt;
    const float decay = std::pow(0.9f, kWalkDecayRate * dt);
    const bool left = camera.lookButtons[static_cast<int>(LookButton::Left)];
    const bool middle = camera.lookButtons[static_cast<int>(LookButton::Middle)];
    const Vec3 f = cameraForward(camera);

    std::optional<RayHit> hit;
    if (walkTestEnabled && probe) {
        // Probe the way the eye is about to move.
        const bool backwards = !left && (middle || camera.walkVelocity < 0.0f);
        hit = probe(camera.eye, backwards ? -f : f, kCameraWalkRayLength);
    }

    if (!hit || camera.bouncing) {
        if (camera.bouncing) {
            // Backing off: the reversed step coasts out whatever is held.
            camera.walkVelocity *= decay;
            camera.eye += f * camera.walkVelocity;
            if (std::abs(camera.walkVelocity) < kBounceEndSpeed) camera.bouncing = false;
        } else if (left) {
            camera.walkVelocity = step;
            camera.eye += f * step;
        } else if (middle) {
            camera.walkVelocity = -step;
            camera.eye -= f * step;
        } else {
            camera.walkVelocity *= decay;
            camera.eye += f * camera.walkVelocity;
        }
    } else if (hit->blocking) {
        camera.walkVelocity = -camera.walkVelocity;
        camera.bouncing = true;
    } else {
        camera.walkVelocity = left ? step : camera.walkVelocity * decay;
        if (hit->walkKind == 1 || hit->walkKind == 2) {
            const Vec3 level{std::cos(camera.yaw) * std::cos(camera.pitch), 0.0f,
                             std::sin(camera.yaw) * std::cos(camera.pitch)};
            camera.eye += level * camera.walkVelocity;
        } else {
            camera.eye.y += camera.walkVelocity;
        }
        camera.eye.y = hit->height - kHeightBelowHit;
    }
    targetsFollowCurrent(camera);
}

void followStep(CameraState& camera, Vec3 avatarCentre, const RayProbe& probe) {
    const float d = camera.followDistance;
    Vec3 eye = avatarCentre + orbitOffset(orbitAngleOfYaw(camera.yaw), camera.pitch) * d;
    if (probe && d > 0.0f) {
        const Vec3 towardsEye = normalize(eye - avatarCentre);
        if (const std::optional<RayHit> hit = probe(avatarCentre, towardsEye, d)) {
            eye = avatarCentre + towardsEye * std::max(0.0f, hit->distance - kFollowClearance);
        }
    }
    camera.eye = eye;
    targetsFollowCurrent(camera);
}

Mat4 cinematicView(CameraState& camera, const Mat4& objectWorld, Vec3 localCentre) {
    camera.eye = transformPoint(localCentre, objectWorld);
    camera.eyeTarget = camera.eye;
    const Vec3 at = transformPoint(-localCentre, objectWorld);
    camera.view = lookAtLH(camera.eye, at, Vec3{0.0f, 1.0f, 0.0f});
    return camera.view;
}

// ---------------------------------------------------------------------------
// Pads

void orbitPadPress(CameraState& camera, std::optional<Vec3> currentCentre) {
    camera.orbitStart = orbitAngleOfYaw(camera.yaw);
    camera.orbitPitchStart = camera.pitch;
    camera.orbitDistance = distance(camera.orbitTarget, camera.eye);
    if (currentCentre) camera.objectDistance = distance(*currentCentre, camera.eye);
}

void orbitPadDrag(CameraState& camera, float dx, float dy, bool objectCurrent) {
    camera.orbitAngle = camera.orbitStart + kOrbitPerPixel * dx;
    camera.orbitPitch = camera.orbitPitchStart - kOrbitPerPixel * dy;
    placeOnOrbit(camera, objectCurrent ? camera.objectDistance : camera.orbitDistance);
}

void orbitPadRelease(CameraState& camera) {
    camera.orbitStart = orbitAngleOfYaw(camera.yaw);
    camera.orbitPitchStart = camera.pitch;
}

void panPadPress(CameraState& camera) {
    camera.panStartEye = camera.eye;
    camera.panStartTarget = camera.orbitTarget;
}

void panPadDrag(CameraState& camera, float dx, float dy) {
    const float px = -dx * kPanPerPixel * camera.sensitivity;
    const float py = -dy * kPanPerPixel * camera.sensitivity;
    const float h = camera.yaw + kHalfPi;
    const Vec3 axis{std::cos(h), 0.0f, std::sin(h)};  // horizontal, across the view
    const Vec3 v = transformNormal(Vec3{std::cos(h) * px, 2.0f * py, std::sin(h) * px},
                                   matrixRotationAxis(axis, camera.pitch));
    const Vec3 shift{-v.x, v.y, -v.z};
    camera.eye = camera.panStartEye + shift;
    camera.orbitTarget = camera.panStartTarget + shift;
    targetsFollowCurrent(camera);
}

void panPadRelease(CameraState&) {}

void zoomPadPress(CameraState& camera) { camera.zoomStartEye = camera.eye; }

void zoomPadDrag(CameraState& camera, float dy, std::optional<Vec3> followCentre) {
    const float s = -dy * kZoomPerPixel * camera.sensitivity;
    camera.eye = camera.eyeTarget = camera.zoomStartEye + cameraForward(camera) * s;
    if (followCentre) camera.followDistance = distance(*followCentre, camera.eye);
}

void zoomPadRelease(CameraState&) {}

void setShiftHeld(CameraState& camera, bool held) {
    camera.sensitivity = held ? kCameraFineSensitivity : 1.0f;
}

// ---------------------------------------------------------------------------
// View drag

void viewDragDown(CameraState& camera, LookButton button, PixelPoint client, PixelPoint screen) {
    camera.lookButtons = {};
    camera.lookButtons[static_cast<int>(button)] = true;
    camera.pressPoint = client;
    camera.pressCursor = screen;
    camera.pressYaw = camera.yaw;
    camera.pressPitch = camera.pitch;
    targetsFollowCurrent(camera);
}

bool viewDragMove(CameraState& camera, PixelPoint client, int windowWidth, int windowHeight) {
    if (!viewDragActive(camera)) return false;
    camera.yaw = camera.pressYaw - kDragYawPerPixel * static_cast<float>(client.x - camera.pressPoint.x);
    camera.pitch =
        camera.pressPitch - kDragPitchPerPixel * static_cast<float>(client.y - camera.pressPoint.y);
    // The targets follow so that the glide does not pull the view back.
    camera.yawTarget = camera.yaw;
    camera.pitchTarget = camera.pitch;
    const bool atEdge = client.x == 0 || client.y == 0 || client.x == windowWidth - 1 ||
                        client.y == windowHeight - 1;
    if (atEdge) {
        // The pointer goes back to where the drag began (pressPoint in
        // client pixels): carry on from the angles reached.
        camera.pressYaw = camera.yaw;
        camera.pressPitch = camera.pitch;
    }
    return atEdge;
}

void viewDragUp(CameraState& camera) { camera.lookButtons = {}; }

bool viewDragActive(const CameraState& camera) {
    return camera.lookButtons[0] || camera.lookButtons[1] || camera.lookButtons[2];
}

// ---------------------------------------------------------------------------
// Views and viewpoints

void presetView(CameraState& camera, PresetView which, std::optional<Vec3> currentCentre) {
    camera.orbitDistance = length(camera.eye);
    if (currentCentre) camera.objectDistance = distance(*currentCentre, camera.eye);
    float angle = 0.0f;
    float pitch = 0.0f;
    switch (which) {
        case PresetView::East: angle = kHalfPi; break;
        case PresetView::West: angle = -kHalfPi; break;
        case PresetView::South: angle = kPi; break;
        case PresetView::North: angle = kTwoPi; break;
        case PresetView::Top:
            angle = kPi;
            pitch = camera.topViewBelow ? 1.5f * kPi : kHalfPi;
            camera.topViewBelow = !camera.topViewBelow;
            break;
    }
    camera.orbitAngle = angle;
    camera.orbitPitch = pitch;
    placeOnOrbit(camera, currentCentre ? camera.objectDistance : camera.orbitDistance);
}

Vec3 frameObject(CameraState& camera, Vec3 centre, std::span<const Vec3, 8> corners,
                 float factor, bool force, const Mat4& projection, float width, float height) {
    const float yaw = camera.yaw;
    const float pitch = camera.pitch;
    const Vec3 back = orbitOffset(orbitAngleOfYaw(yaw), pitch);  // = -forward
    float d = distance(centre, camera.eye);

    if ((camera.autoFrame || force) && d > 0.0f) {
        auto fits = [&](float at) {
            return boxFits(centre + back * at, yaw, pitch, corners, projection, width, height);
        };
        if (fits(d) && d > 1.0f) {
            int steps = 0;
            while (fits(d) && d > 1.0f && steps++ < kFrameMaxSteps) d /= kFrameStep;
            d *= kFrameStep;  // the last distance that fitted
        } else {
            int steps = 0;
            do {
                d *= kFrameStep;
            } while (!(fits(d) && d > 1.0f) && ++steps < kFrameMaxSteps);
        }
    }
    d *= factor;
    camera.pitch = camera.pitchTarget = pitch;
    camera.yaw = camera.yawTarget = yaw;
    return centre + back * d;
}

namespace {

// Camera-space corners of a box seen from a camera at the origin.
struct CameraSpaceBox {
    std::array<Vec3, 8> corners;
    Vec3 right, up, forward;  // world directions of the camera's axes
};

CameraSpaceBox cameraSpaceBox(float yaw, float pitch, std::span<const Vec3, 8> corners, Vec3 centre) {
    const Mat4 view = cameraViewMatrix(Vec3{}, yaw, pitch);
    CameraSpaceBox box;
    // Row vectors: a point's camera coordinates are its dot products with
    // the matrix's columns, which are therefore the camera's axes.
    box.right = {view.m[0][0], view.m[1][0], view.m[2][0]};
    box.up = {view.m[0][1], view.m[1][1], view.m[2][1]};
    box.forward = {view.m[0][2], view.m[1][2], view.m[2][2]};
    for (std::size_t i = 0; i < 8; ++i) {
        const Vec3 c = corners[i] - centre;
        box.corners[i] = {dot(c, box.right), dot(c, box.up), dot(c, box.forward)};
    }
    return box;
}

// The eye's sideways offsets (along one camera axis) that keep every
// corner within `limit` of the centre in clip units, at distance d; empty
// when there are none.
struct OffsetRange {
    float low = 0.0f;
    float high = 0.0f;
    bool empty() const { return low > high; }
};
// The eye's sideways offsets (along one camera axis) that keep every
// corner between `low` and `high` in clip units, at distance d; empty when
// there are none.
OffsetRange fittingOffsets(const CameraSpaceBox& box, int axis, float scale, float low, float high, float d) {
    OffsetRange range{-std::numeric_limits<float>::max(), std::numeric_limits<float>::max()};
    for (const Vec3& c : box.corners) {
        const float across = axis == 0 ? c.x : c.y;
        const float perClip = (c.z + d) / scale;  // world units per clip unit at that corner's depth
        range.low = std::max(range.low, across - high * perClip);
        range.high = std::min(range.high, across - low * perClip);
    }
    return range;
}

// The clip-space band [low, high] a box may fill along one axis: what the
// covered edges leave, shrunk by the margin on each side.
struct ClipBand {
    float low = -1.0f;
    float high = 1.0f;
};
ClipBand freeBand(float coveredLow, float coveredHigh, float margin) {
    const float low = -1.0f + 2.0f * std::clamp(coveredLow, 0.0f, 0.45f);
    const float high = 1.0f - 2.0f * std::clamp(coveredHigh, 0.0f, 0.45f);
    const float middle = 0.5f * (low + high);
    const float half = 0.5f * (high - low) * std::clamp(1.0f - 2.0f * margin, 0.05f, 1.0f);
    return {middle - half, middle + half};
}

}  // namespace

Vec3 frameBoxTightly(float yaw, float pitch, std::span<const Vec3, 8> corners, float xScale, float yScale,
                     float margin, CoveredEdges covered) {
    Vec3 boxMin = corners[0];
    Vec3 boxMax = corners[0];
    for (const Vec3& c : corners) {
        boxMin = componentMin(boxMin, c);
        boxMax = componentMax(boxMax, c);
    }
    const Vec3 centre = (boxMin + boxMax) * 0.5f;
    const CameraSpaceBox box = cameraSpaceBox(yaw, pitch, corners, centre);
    const ClipBand across = freeBand(0.0f, 0.0f, margin);
    const ClipBand upwards = freeBand(covered.bottom, covered.top, margin);
    xScale = std::max(xScale, 1e-6f);
    yScale = std::max(yScale, 1e-6f);
    const auto offsets = [&](int axis, float d) {
        return axis == 0 ? fittingOffsets(box, 0, xScale, across.low, across.high, d)
                         : fittingOffsets(box, 1, yScale, upwards.low, upwards.high, d);
    };
    const auto fits = [&](float d) { return !offsets(0, d).empty() && !offsets(1, d).empty(); };
    // Every corner in front of the near plane; then the nearest distance at
    // which both axes fit, found by bisection (fitting only gets easier
    // further back).
    float nearest = 0.0f;
    for (const Vec3& c : box.corners) nearest = std::max(nearest, kCameraNearPlane - c.z);
    float low = nearest + kCameraNearPlane;
    float high = std::max(low, 1.0f) * 2.0f;
    for (int i = 0; i < 64 && !fits(high); ++i) high *= 2.0f;
    if (fits(low)) {
        high = low;
    } else {
        for (int i = 0; i < 48; ++i) {
            const float mid = 0.5f * (low + high);
            (fits(mid) ? high : low) = mid;
        }
    }
    const OffsetRange sideways = offsets(0, high);
    const OffsetRange vertical = offsets(1, high);
    const float sx = sideways.empty() ? 0.0f : 0.5f * (sideways.low + sideways.high);
    const float sy = vertical.empty() ? 0.0f : 0.5f * (vertical.low + vertical.high);
    return centre + box.right * sx + box.up * sy - box.forward * high;
}

void frameBox(CameraState& camera, std::span<const Vec3, 8> corners, float width, float height,
              CoveredEdges covered) {
    const Mat4 projection = cameraProjection(camera, width, height, false);
    camera.eyeTarget = frameBoxTightly(camera.yaw, camera.pitch, corners, projection.m[0][0], projection.m[1][1],
                                       kFramingMargin, covered);
    camera.yawTarget = camera.yaw;
    camera.pitchTarget = camera.pitch;
    Vec3 boxMin = corners[0];
    Vec3 boxMax = corners[0];
    for (const Vec3& c : corners) {
        boxMin = componentMin(boxMin, c);
        boxMax = componentMax(boxMax, c);
    }
    camera.orbitTarget = (boxMin + boxMax) * 0.5f;
}

std::array<Vec3, 8> worldBoxCorners(Vec3 boundsMin, Vec3 boundsMax, const Mat4& world) {
    std::array<Vec3, 8> corners;
    for (int i = 0; i < 8; ++i) {
        const Vec3 local{(i & 1) ? boundsMax.x : boundsMin.x, (i & 2) ? boundsMax.y : boundsMin.y,
                         (i & 4) ? boundsMax.z : boundsMin.z};
        corners[static_cast<std::size_t>(i)] = transformPoint(local, world);
    }
    return corners;
}

void glideToViewpoint(CameraState& camera, Vec3 position, float yaw, float pitch) {
    camera.eyeTarget = position;
    camera.pitch = wrapAngle(camera.pitch);
    camera.yaw = wrapAngle(camera.yaw);
    camera.pitchTarget = camera.pitch + wrapAngle(pitch - camera.pitch);
    camera.yawTarget = camera.yaw + wrapAngle(yaw - camera.yaw);
}

void placeCamera(CameraState& camera, Vec3 target, float heading, float pitch) {
    camera.yaw = camera.yawTarget = -heading;
    camera.orbitAngle = camera.orbitStart = 1.5f * kPi + heading;
    camera.pitch = camera.pitchTarget = camera.orbitPitch = camera.orbitPitchStart = pitch;
    camera.fieldOfView = kCameraDefaultFieldOfView;
    camera.eyeTarget = target;
    // Back 50 units across and 500 along the rest, so that the eye glides in.
    const float c = std::cos(pitch);
    camera.eye = target - Vec3{50.0f * std::cos(camera.yaw) * c, -500.0f * std::sin(pitch),
                               500.0f * std::sin(camera.yaw) * c};
}

void placeCameraHome(CameraState& camera) {
    placeCamera(camera, kCameraHomeTarget, kCameraHomeHeading, kCameraHomePitch);
}

void resetCameraAngles(CameraState& camera) {
    camera.yaw = camera.yawTarget = kCameraDefaultYaw;
    camera.pitch = camera.pitchTarget = kCameraDefaultPitch;
    camera.orbitAngle = camera.orbitStart = orbitAngleOfYaw(kCameraDefaultYaw);
    camera.orbitPitch = camera.orbitPitchStart = kCameraDefaultPitch;
}

// ---------------------------------------------------------------------------
// Scene camera values

void storeCameraInScene(const CameraState& camera, Scene& scene) {
    scene.eye = camera.eye;
    // Where the eye is going: a save made while the view still glides in
    // must not store a point on the way (each open would move it back again).
    scene.eyeTarget = camera.eyeTarget;
    scene.yaw = camera.yaw;
    scene.pitch = camera.pitch;
    scene.fieldOfView = camera.fieldOfView;
}

void restoreCameraFromScene(CameraState& camera, const Scene& scene) {
    camera.yaw = camera.yawTarget = scene.yaw;
    camera.pitch = camera.pitchTarget = scene.pitch;
    camera.orbitAngle = camera.orbitStart = orbitAngleOfYaw(scene.yaw);
    camera.orbitPitch = camera.orbitPitchStart = scene.pitch;
    camera.fieldOfView = scene.fieldOfView;
    camera.eyeTarget = scene.eyeTarget;
    camera.eye = scene.eyeTarget - cameraForward(scene.yaw, scene.pitch) * kCameraGlideInDistance;
    camera.walkVelocity = 0.0f;
    camera.bouncing = false;
    camera.view = cameraViewMatrix(camera);
}

}  // namespace morvanex
