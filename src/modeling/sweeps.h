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

    Vec3 centre() const { return {0.0f, b * 0.5f, 0.0f}; }
    // The coordinate a drag keeps: the curve lies in the plane through its
    // points with this normal.
    Vec3 planeNormal() const;
};

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

struct TubeSettings {
    int sectionSteps = 2;  // samples per section segment
    bool helix = false;
    int turns = 2;
    float pitch = 0.0f;
    bool oriented = false;  // rings turned onto the path curve
    bool half = false;      // the second half of each ring from the second profile
    bool capped = false;    // the first and last rings closed by a fan (not for the helix)
};

// The tube's section count raised to its minimum: 3 when just typed, 2 on
// any other rebuild. The profile step: at least 4. Both capped.
int tubeSectionSteps(int typed, bool justTyped);
int tubeProfileSteps(int typed);
// The section's point count rounded to the form 4k + 3 (angular tubes).
int angularSectionPoints(int count);

// The tube: rings of the section scaled by the profile's distance from the
// axis, one per profile sample; the path curve is used by the oriented
// option and the second profile by the half option.
std::unique_ptr<SceneObject> makeTube(std::string name, const CurveEditor& section, const CurveEditor& profile,
                                      const CurveEditor& path, const CurveEditor& secondProfile,
                                      const TubeSettings& settings);

// The surface: the across curve's samples moved along the depth curve's,
// acrossSteps / depthSteps samples per segment (each at least 4).
std::unique_ptr<SceneObject> makeSurface(std::string name, const CurveEditor& across, const CurveEditor& depth,
                                         int acrossSteps, int depthSteps);

}  // namespace morvanex
