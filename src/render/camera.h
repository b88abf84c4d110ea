// View camera: its state, the view and projection it produces, the glide
// that smooths every move, and the navigation operations the pads, the
// preset buttons, the 3D view and the commands call.
//
// Pure CPU code: nothing here touches the graphics driver or the scene's
// objects. Callers pass world-space values (object centres, box corners,
// world matrices) and an obstacle probe, so every operation can be driven
// directly by widgets and by tests.
//
// Conventions: row vectors (p' = p * M), left-handed, y up, positions in
// scene units, angles in radians. Positive pitch looks down. The forward
// direction is f = (cos yaw * cos pitch, -sin pitch, sin yaw * cos pitch).
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "scene/math.h"

namespace morvanex {

class Scene;

// ---------------------------------------------------------------------------
// Constants

inline constexpr float kCameraDefaultYaw = -kHalfPi;
inline constexpr float kCameraDefaultPitch = kPi / 6.0f;
inline constexpr float kCameraDefaultFieldOfView = kPi / 4.0f;
// Field of view of the face-selection and weight-painting tools: a narrow
// view makes small faces easy to hit.
inline constexpr float kCameraNarrowFieldOfView = 0.2f;
inline constexpr float kCameraNearPlane = 1.0f;
inline constexpr float kCameraFarPlane = 10000.0f;
inline constexpr float kCameraDefaultWalkSpeed = 150.0f;
// Start-up eye target, world space.
inline constexpr Vec3 kCameraStartTarget{0.0f, 49.0f, 105.0f};
// The eye starts this far behind its target so that the view glides in.
inline constexpr float kCameraGlideInDistance = 500.0f;
// Sensitivity of the pan and zoom pads while Shift is held.
inline constexpr float kCameraFineSensitivity = 0.1f;
// Length of the walk ray, scene units.
inline constexpr float kCameraWalkRayLength = 1e10f;
// Height of the status line kept free at the bottom when framing, pixels.
inline constexpr float kCameraStatusLineHeight = 20.0f;

// Home viewpoint of the imports and the height-surface commands.
inline constexpr Vec3 kCameraHomeTarget{1.29f, 36.77f, 59.04f};
inline constexpr float kCameraHomeHeading = 1.58f;
inline constexpr float kCameraHomePitch = 0.39f;

// ---------------------------------------------------------------------------
// State

struct PixelPoint {
    int x = 0;
    int y = 0;
};

enum class LookButton { Left = 0, Middle = 1, Right = 2 };

enum class PresetView { East, West, South, North, Top };

struct CameraState {
    // Start-up: the eye 500 units behind its target along the default
    // forward direction (0, -1/2, -sqrt(3)/2), about (0, 299, 538).
    Vec3 eye = kCameraStartTarget - Vec3{0.0f, -0.5f, -0.8660254f} * kCameraGlideInDistance;
    Vec3 eyeTarget = kCameraStartTarget;  // where the eye glides to
    float yaw = kCameraDefaultYaw;        // heading
    float yawTarget = kCameraDefaultYaw;
    float pitch = kCameraDefaultPitch;    // elevation, positive looks down
    float pitchTarget = kCameraDefaultPitch;

    // Point the orbit pad turns around and the pan pad drags along.
    Vec3 orbitTarget;
    // Working angles of the orbit pad; orbitAngle = 3 pi / 2 - yaw.
    float orbitAngle = 1.5f * kPi - kCameraDefaultYaw;
    float orbitPitch = kCameraDefaultPitch;
    // Angles when the current orbit drag began.
    float orbitStart = 1.5f * kPi - kCameraDefaultYaw;
    float orbitPitchStart = kCameraDefaultPitch;
    float orbitDistance = 0.0f;   // orbit radius with no object current
    float objectDistance = 0.0f;  // orbit radius around the current object

    float fieldOfView = kCameraDefaultFieldOfView;  // vertical
    float sensitivity = 1.0f;  // pan and zoom pads; 0.1 while Shift is held

    float walkSpeed = kCameraDefaultWalkSpeed;
    float walkVelocity = 0.0f;  // signed step per frame, scene units
    bool bouncing = false;      // backing off an obstacle

    std::array<bool, 3> lookButtons{};  // indexed by LookButton
    PixelPoint pressPoint;   // client pixels where the view drag began
    PixelPoint pressCursor;  // screen pixels of the same point
    float pressYaw = 0.0f;
    float pressPitch = 0.0f;

    Vec3 panStartEye;
    Vec3 panStartTarget;
    Vec3 zoomStartEye;

    bool topViewBelow = false;  // the next top preset looks from below
    bool autoFrame = true;      // frame the current object automatically

    bool followOn = false;        // trail the avatar object
    float followDistance = 0.0f;  // kept behind the avatar; per avatar, callers swap it

    // View matrix of the last update (world to view).
    Mat4 view;
};

// ---------------------------------------------------------------------------
// Obstacles

// What a ray test reports about the first object it hits.
struct RayHit {
    float distance = 0.0f;  // along the ray direction, scene units
    float height = 0.0f;    // world y the hit record gives for the surface
    int walkKind = 0;       // 1 and 2 are walkable ground
    bool blocking = false;  // the walk bounces off it
};

// Ray test against the obstacles: origin and unit direction in world space,
// hits farther than maxLength are not reported. An empty probe means that
// nothing is in the way.
using RayProbe = std::function<std::optional<RayHit>(Vec3 origin, Vec3 direction, float maxLength)>;

// A bounding sphere standing in for an object in obstacle tests.
struct ObstacleSphere {
    Vec3 centre;
    float radius = 1.0f;
    bool blocking = true;
    int walkKind = 0;
    float height = 0.0f;  // reported as RayHit::height
};

// Probe over a list of spheres: the nearest sphere the ray enters within
// min(maxLength, reach). The reach keeps far-away obstacles from counting
// as hits for the walk, whose ray is practically endless.
RayProbe sphereObstacleProbe(std::vector<ObstacleSphere> spheres, float reach);

// ---------------------------------------------------------------------------
// Derived values

// Unit forward direction of the angles.
Vec3 cameraForward(float yaw, float pitch);
Vec3 cameraForward(const CameraState& camera);
// Offset from an orbit centre to the eye for orbit angles (o, p):
// (sin o * cos p, sin p, cos o * cos p).
Vec3 orbitOffset(float orbitAngle, float orbitPitch);

// World-to-view matrix of an eye and angles: looking along the heading,
// then tilted down by pitch.
Mat4 cameraViewMatrix(Vec3 eye, float yaw, float pitch);
Mat4 cameraViewMatrix(const CameraState& camera);
// Left-handed perspective of the camera for a back buffer of width x height
// pixels; narrowFieldTool is set while the face-selection or the
// weight-painting tool is active in the editing tab.
Mat4 cameraProjection(const CameraState& camera, float width, float height, bool narrowFieldTool);

// Angle into (-pi, pi]: a - 2 pi * trunc(a / 2 pi), then one turn off when
// still outside.
float wrapAngle(float a);

// Glide factor for dt seconds: the share of the remaining way covered,
// 1 - 0.9^(30 dt); frame-rate independent.
float cameraGlideFactor(float dt);

// ---------------------------------------------------------------------------
// Per-frame update

struct CameraFrameInput {
    float dt = 0.0f;                        // elapsed seconds
    bool backgroundSelectorActive = false;  // no walking while the colour selector is in use
    bool walkTestEnabled = true;            // obstacles are probed
    // World centre of the avatar object, when one exists.
    std::optional<Vec3> followCentre;
    RayProbe probe;  // obstacles for the walk and follow steps
};

// Once per frame before drawing: glides eye and angles towards their
// targets, then walks or follows once the eye has arrived, and sets
// camera.view.
void updateCamera(CameraState& camera, const CameraFrameInput& input);

// The walk step alone (run by updateCamera once the eye has arrived).
// Left button walks forward, middle walks back; a blocking hit reverses the
// walk and starts a bounce.
void walkStep(CameraState& camera, float dt, const RayProbe& probe, bool walkTestEnabled);

// The follow step alone: the eye trails the avatar centre at followDistance
// along the current angles, in front of any obstacle between them.
void followStep(CameraState& camera, Vec3 avatarCentre, const RayProbe& probe);

// Cinematic view through an attached object: the eye sits at the object's
// centre in world space and looks at the world position of the negated
// local centre. Sets camera.view and returns it.
Mat4 cinematicView(CameraState& camera, const Mat4& objectWorld, Vec3 localCentre);

// ---------------------------------------------------------------------------
// Pads (dx, dy: pixels from the press point)

// currentCentre: world centre of the current object, when one is current.
void orbitPadPress(CameraState& camera, std::optional<Vec3> currentCentre);
void orbitPadDrag(CameraState& camera, float dx, float dy, bool objectCurrent);
void orbitPadRelease(CameraState& camera);

void panPadPress(CameraState& camera);
void panPadDrag(CameraState& camera, float dx, float dy);
void panPadRelease(CameraState& camera);

void zoomPadPress(CameraState& camera);
// When an avatar exists (followCentre), its follow distance becomes the new
// distance from its centre to the eye.
void zoomPadDrag(CameraState& camera, float dy, std::optional<Vec3> followCentre);
void zoomPadRelease(CameraState& camera);

// Shift makes the pan and zoom pads ten times finer.
void setShiftHeld(CameraState& camera, bool held);

// ---------------------------------------------------------------------------
// View drag in the 3D view

// The caller captures the mouse and hides the pointer; client and screen
// are the pointer position in client and screen pixels.
void viewDragDown(CameraState& camera, LookButton button, PixelPoint client, PixelPoint screen);
// Returns true when the pointer touched the window edge: the caller puts it
// back at camera.pressCursor, and the drag goes on from the current angles.
bool viewDragMove(CameraState& camera, PixelPoint client, int windowWidth, int windowHeight);
// The caller releases the capture and shows the pointer.
void viewDragUp(CameraState& camera);
bool viewDragActive(const CameraState& camera);

// ---------------------------------------------------------------------------
// Views and viewpoints

// Puts the eye at the preset angles around the orbit target; the top view
// alternates between above and below.
void presetView(CameraState& camera, PresetView which, std::optional<Vec3> currentCentre);

// Eye position from which the whole box fits the back buffer with the
// current angles (kept; their targets follow). centre: the object's world
// centre; corners: its bounding box in world space (the group's box for a
// grouped object); projection: the projection in use. Without autoFrame
// and force the eye keeps its distance. Callers glide (eyeTarget) or jump
// (eye) there.
Vec3 frameObject(CameraState& camera, Vec3 centre, std::span<const Vec3, 8> corners,
                 float factor, bool force, const Mat4& projection, float width, float height);

// The share of the image left free on each side of what is framed, on its
// tightest axis (the editor's framing key and render --frame-all).
inline constexpr float kFramingMargin = 0.05f;

// Shares of the image's height that the interface hides at its top and
// bottom (a top bar, a status line): framing keeps out of them.
struct CoveredEdges {
    float top = 0.0f;
    float bottom = 0.0f;
};

// Eye position, for the given angles, from which the box fills the image as
// far as `margin` (a share of the free image kept free on each side) allows
// on its tightest axis, centred on the other, outside the covered edges.
// Unlike frameObject it keeps no fixed room for a status line and does not
// step the distance, so that the subject is framed closely. xScale and
// yScale are the projection's [0][0] and [1][1].
Vec3 frameBoxTightly(float yaw, float pitch, std::span<const Vec3, 8> corners, float xScale, float yScale,
                     float margin, CoveredEdges covered = {});

// Frames a world box with kFramingMargin at the camera's present angles:
// the eye target goes where frameBoxTightly says (the eye glides there) and
// the orbit target to the box's centre.
void frameBox(CameraState& camera, std::span<const Vec3, 8> corners, float width, float height,
              CoveredEdges covered = {});

// The eight corners of a local box placed by a world matrix.
std::array<Vec3, 8> worldBoxCorners(Vec3 boundsMin, Vec3 boundsMax, const Mat4& world);

// Glides to a stored viewpoint, turning the short way.
void glideToViewpoint(CameraState& camera, Vec3 position, float yaw, float pitch);

// Eye target T, heading h, pitch p: the eye jumps back and up from T and
// glides in.
void placeCamera(CameraState& camera, Vec3 target, float heading, float pitch);
void placeCameraHome(CameraState& camera);

// Angles back to their start-up values.
void resetCameraAngles(CameraState& camera);

// ---------------------------------------------------------------------------
// Scene camera values

// Writes eye, angles and field of view into the scene. The scene file keeps
// the eye where the user put it (its target), even while it still glides.
void storeCameraInScene(const CameraState& camera, Scene& scene);
// Takes the scene's stored eye as the eye target, its angles and field of
// view; the eye starts kCameraGlideInDistance behind and glides in.
void restoreCameraFromScene(CameraState& camera, const Scene& scene);

}  // namespace morvanex
