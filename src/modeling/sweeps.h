// The sweep generators: a tube (or helix) swept from a section curve along
// a profile curve, and a surface swept from one curve along another. The
// curves are lists of Bezier points held by curve editors; the meshes come
// out in the generators' common form (a plain triangle list, flat normals).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "scene/curve_point.h"
#include "scene/math.h"

namespace morvanex {

struct SceneObject;

inline constexpr const char* kTubeName = "tubage";
inline constexpr const char* kSurfaceName = "surface";
inline constexpr const char* kLastingSweepName = "Mesh";

// A typed-in count beyond these is taken as these: a slip in a box must not
// ask for gigabytes.
inline constexpr int kMaxCurveSteps = 256;
inline constexpr int kMaxCurvePoints = 256;

enum class CurveKind : std::uint8_t {
    Circle,         // closed, around the vertical axis at the box's top
    Rectangle,      // closed, around the box's sides at its top
    VerticalLine,   // on the box's edge x = -a/2, from the ground to the top
    CentreLine,     // on the vertical axis, from the ground to the top
    AcrossArch,     // along x at z = 0, raised in the middle by the box's height
    DepthLine,      // along z at the ground, through the origin
};

// One curve with its bounds box: x and z from -a/2 to a/2, y from 0 to b.
struct CurveEditor {
    float a = 20.0f;
    float b = 20.0f;
    CurveKind kind = CurveKind::Circle;
    int pointCount = 1;  // n; the shapes make n + 1 points (n / 3 per side for the rectangle)
    bool closed = false;
    std::vector<CurvePoint> points;
    // The arch's count of arches across its width.
    int arches = 1;
    // 0: the handles of a line shape on the thirds of each segment (a
    // polyline); 1: placed so that the curve runs smoothly through its points.
    float smoothing = 0.0f;
    // The axis (0 x, 1 y, 2 z) the default shape's y is turned onto: the
    // surface faces along it.
    int upAxis = 1;

    Vec3 centre() const { return {0.0f, b * 0.5f, 0.0f}; }
    // The coordinate a drag keeps: the curve lies in the plane through its
    // points with this normal.
    Vec3 planeNormal() const;
    // The round section and the surface's arch re-place their handles by
    // placeHandlesSmoothly (with this tension) where other curves go back
    // to the thirds.
    bool hasOwnHandleRule() const { return kind == CurveKind::Circle || kind == CurveKind::AcrossArch; }
    float ownRuleTension() const { return kind == CurveKind::Circle ? 1.0f : smoothing; }
};

// The surface's y turned onto the axis (0 x, 2 z; any other: unchanged),
// by a rotation so that the faces keep their side.
Vec3 turnUpOnto(Vec3 p, int axis);

// Replaces the editor's points by the default shape of its kind; step is
// given to every point (the samples per segment of a profile curve).
void makeDefaultShape(CurveEditor& editor, int step);

// The curve's samples: each segment from point q to q + 1 at t = m / s,
// m = 0 .. s - 1, s being fixedStep when above 0, else point q's step
// value (at least 1); a closed curve adds the closing segment sampled at
// m = 0 .. s, so that its first point comes back.
std::vector<Vec3> sampleCurve(const std::vector<CurvePoint>& points, bool closed, int fixedStep);

// Cubic Bezier from p to the next point q through p's two handles.
Vec3 bezierPoint(const CurvePoint& p, const CurvePoint& q, float t);

// Handles re-placed at one third and two thirds of every segment.
void placeHandlesOnThirds(std::vector<CurvePoint>& points, bool closed);
// The same for the two segments that meet at one point: after it and
// before it.
void placeHandlesOnThirdsAround(std::vector<CurvePoint>& points, std::size_t index, bool closed);
// Handles along the curve's direction at each point (half the chord
// between its neighbours; at an open end, the chord to the next point),
// blended with the thirds by tension 0 .. 1: at 1 the curve passes its
// points smoothly, at 0 it is a polyline.
void placeHandlesSmoothly(std::vector<CurvePoint>& points, bool closed, float tension);

struct TubeSettings {
    int sectionSteps = 2;  // samples per section segment
    bool helix = false;
    int turns = 2;
    float pitch = 0.0f;
    bool oriented = false;  // rings turned onto the path curve
    bool half = false;      // the second half of each ring from the second profile
    bool capped = false;    // the first and last rings closed by a fan (not for the helix)
    // Radians the last ring is turned by about the sweep axis, the rings
    // between turned in proportion.
    float twist = 0.0f;
    // 0: one open wall. Above: a second wall inside, nearer the axis by
    // this fraction of the radius, joined to the first at the ends.
    float thickness = 0.0f;
};

// The thickness a tube is built with: 0 for none or nonsense, at most
// kMaxTubeThickness so that the inner wall never reaches the axis.
inline constexpr float kMaxTubeThickness = 0.95f;
float tubeThickness(float typed);

// The tube's section count raised to its minimum: 3 when just typed, 2 on
// any other rebuild. The profile step: at least 4. Both capped.
int tubeSectionSteps(int typed, bool justTyped);
int tubeProfileSteps(int typed);
// The section's point count rounded to the form 4k + 3 (angular tubes).
int angularSectionPoints(int count);
// The surface's subdivision count: an odd one raised by one, kept from 2
// to kMaxSurfaceSubdivisions; the surface rises in half as many arches.
inline constexpr int kMaxSurfaceSubdivisions = 64;
int surfaceSubdivisions(float typed);
// A typed size of a sweep's curves: finite and within +-kMaxSweepSize, else
// the fallback.
inline constexpr float kMaxSweepSize = 1e5f;
float sweepSize(float typed, float fallback);

// The tube: rings of the section scaled by the profile's distance from the
// axis, one per profile sample; the path curve is used by the oriented
// option and the second profile by the half option. A thick tube has
// twice the wall triangles plus two per section sample at each end of an
// open profile, and is closed.
std::unique_ptr<SceneObject> makeTube(std::string name, const CurveEditor& section, const CurveEditor& profile,
                                      const CurveEditor& path, const CurveEditor& secondProfile,
                                      const TubeSettings& settings);

// The surface: the across curve's samples moved along the depth curve's,
// acrossSteps / depthSteps samples per segment (each at least 4).
std::unique_ptr<SceneObject> makeSurface(std::string name, const CurveEditor& across, const CurveEditor& depth,
                                         int acrossSteps, int depthSteps);

}  // namespace morvanex
