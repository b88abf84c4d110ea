// The arithmetic of the click tools that place primitives in the view:
// where each click lands, the quad's fourth corner, and the rubber band
// drawn while the next point is awaited.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "modeling/ray_triangle.h"
#include "scene/math.h"

namespace morvanex {

enum class PlacementTool : std::uint8_t { None, Quad, Sphere, Box, TriangleFace, QuadFace };

// Clicks that complete the tool's shape (0 for none).
int placementClicks(PlacementTool tool);
// The faces take picked vertices only; the others land on planes.
bool placesOnVertices(PlacementTool tool);
// The click after `step` earlier ones sets a height: it lands on the
// upright plane through the previous point, facing the viewer.
bool isHeightStep(PlacementTool tool, int step);

// The ray's hit on the plane through point with the given normal; none
// when the ray runs along the plane or the plane lies behind.
std::optional<Vec3> rayOnPlane(const Ray& ray, Vec3 point, Vec3 normal);
// The upright plane's normal that faces a viewer looking along direction.
Vec3 uprightNormalFacing(Vec3 direction);

// The quad's third point under an axis lock: X keeps P2's y and z, Y keeps
// its x and z, Z keeps its x and y.
enum class AxisLock : std::uint8_t { None, X, Y, Z };
Vec3 lockedPoint(Vec3 previous, Vec3 hit, AxisLock lock);

// The parallelogram P1, P2, P3, P1 + (P3 - P2), in the order that faces
// the viewer at eye.
std::array<Vec3, 4> quadCorners(Vec3 p1, Vec3 p2, Vec3 p3, Vec3 eye);

// Segment pairs (a line list) outlining the shape the points so far and
// the moving point would make.
std::vector<Vec3> rubberBand(PlacementTool tool, const std::vector<Vec3>& points, Vec3 moving);

}  // namespace morvanex
