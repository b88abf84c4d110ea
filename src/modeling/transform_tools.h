// The arithmetic of the transform tools: the drag plane, and what each
// tool makes of a drag (moves, pivot moves, rotations, scaling by handles,
// point-to-point moves and alignment). The editor keeps the drag's start
// values and calls these with the pointer's current place; nothing here
// knows about windows or widgets.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "modeling/ray_triangle.h"
#include "scene/math.h"

namespace morvanex {

// Named after their buttons' images.
enum class TransformTool : std::uint8_t {
    None,
    Move,        // translation, and the grid tool, which moves the same way
    MoveX,       // translationx
    MoveY,
    MoveZ,
    PointMove,   // translationp: vertex A onto vertex B
    PointAlign,  // translationp2: A onto B, then C turned onto D about B
    Rotate,      // rotation1: free, about the camera's side and up axes
    RotateX,     // rotation1x
    RotateY,
    RotateZ,
    Pivot,       // axerot: moves the rotation pivot
    Resize,      // scaling by the corner and box handles
    Spot,        // spot1: the free rotation, applied to a light's own direction
};

bool isMoveTool(TransformTool tool);
bool isRotationTool(TransformTool tool);
bool isPointTool(TransformTool tool);

// The camera's viewing direction from its yaw and pitch.
Vec3 viewDirection(float yaw, float pitch);

// Where the ray meets the plane through referencePoint facing the camera
// (normal -viewDir); none when the ray runs parallel to it. With a parent,
// the point is given in the parent's space (a singular parent matrix
// counts as the identity).
std::optional<Vec3> dragPlaneHit(Vec3 referencePoint, const Ray& ray, Vec3 viewDir, const Mat4* parentWorld);

// The position a move tool gives: the whole drag for the free move, one
// component of it for the single-axis moves.
Vec3 movedPosition(TransformTool tool, Vec3 startPosition, Vec3 startHit, Vec3 hit);

// Radians of a rotation drag: a = -dx * 0.005 * k about the up axis,
// b = dy * 0.005 * k about the side axis (k: the rotation sensitivity).
inline constexpr float kRadiansPerPixel = 0.005f;
// The orientation a rotation tool gives after a drag of (dx, dy) pixels
// from the mouse-down place: the start orientation, then b about the side
// axis, then a about the up axis (world axes for the single-axis tools).
// frame is what follows the object's own matrix (placingFrame): the world
// axes are taken through its inverse, so that a child or a linked copy
// turns about the world axis too.
Quat rotatedOrientation(TransformTool tool, Quat start, int dx, int dy, float sensitivity, float yaw, float pitch,
                        const Mat4& frame = identity());

// Axis and angle of a quaternion as the object keeps them: the angle is
// 2 acos(w / |q|) and the axis (x, y, z) of unit length, so that the
// panel's three decimals keep its direction; a quaternion with no turn
// gives axis (1, 0, 0) and angle 0.
AxisAngle axisAngleOfOrientation(Quat q);

// Scale handles: the eight corner handles act alike; the box handle's
// faces are 0 and 1 (across y), 2 and 3 (across x), 4 and 5 (across z).
enum class ScaleHandle : std::int8_t { None = -1, BottomY, TopY, LeftX, RightX, BackZ, FrontZ, Corner };
// s = dx * 0.01 and t = dy * 0.01. A factor never comes nearer zero than
// kLeastScale nor changes sign through a drag: at zero the object would
// vanish, and its matrix could not be turned back.
inline constexpr float kScalePerPixel = 0.01f;
inline constexpr float kLeastScale = 0.01f;
Vec3 scaledBy(ScaleHandle handle, Vec3 startScale, int dx, int dy);

// The box handle: its world corners (around the object's bounds) and the
// face of it the ray meets first; None when it misses.
std::array<Vec3, 8> scaleBoxCorners(Vec3 boundsMin, Vec3 boundsMax, const Mat4& world);
ScaleHandle boxHandleFaceHit(const Ray& ray, const std::array<Vec3, 8>& corners);

// translationp: the position that takes vertex a onto vertex b.
Vec3 pointMovePosition(Vec3 startPosition, Vec3 a, Vec3 b);

// translationp2's last step: the turn that takes c onto the line from b
// through d, about b. The pivot is given in the object's unscaled frame
// (through the inverse of baseMatrix x Scale), so that b stays put
// whatever the scale.
struct Alignment {
    Vec3 rotationAxis;
    float rotationAngle = 0.0f;
    Vec3 pivot;
};
Alignment alignmentAbout(Vec3 b, Vec3 c, Vec3 d, Vec3 position, const Mat4& scaledBase);

// A pointer on the first or last row or column goes back to where the drag
// began, so that the drag can go on without limit.
bool touchesViewEdge(int x, int y, int width, int height);

}  // namespace morvanex
