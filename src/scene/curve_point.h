// Points of profile curves, deformer curves, sweep curves and timed paths.
#pragma once

#include <cstdint>
#include <vector>

#include "scene/math.h"

namespace morvanex {

// A Bezier point with its two handles, in the frame of the curve's owner
// (object space for an object's curves). Only the point, the handles and the
// step value are stored in files; the rest is run-time state.
struct CurvePoint {
    Vec3 point;
    Vec3 handle1;
    Vec3 handle2;
    // Time or step value of a point of a timed path; unused elsewhere.
    std::int32_t step = 0;

    // Copies of point and handles as interpolated by playback; the deformers
    // read these, so they start equal to the base values.
    Vec3 animatedPoint;
    Vec3 animatedHandle1;
    Vec3 animatedHandle2;

    bool selected = false;  // picked in a curve editor

    // Puts the animated copies back on the base point and handles.
    void resetAnimated() {
        animatedPoint = point;
        animatedHandle1 = handle1;
        animatedHandle2 = handle2;
    }
};

// A curve with its "used" switch, as objects and object states keep them.
struct FlaggedCurve {
    bool used = false;
    std::vector<CurvePoint> points;
};

}  // namespace morvanex
