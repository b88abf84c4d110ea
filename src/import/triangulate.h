// Splitting polygons of any corner count into triangles.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "scene/math.h"

namespace morvanex {

enum class PolygonShape {
    Triangle,
    Convex,      // fanned
    Concave,     // ear clipped in the polygon's plane
    Degenerate,  // no area, or no ear left: fanned
    TooLarge,    // concave with more corners than ear clipping is given: fanned
};

// Concave polygons with more corners are fanned rather than ear clipped, so
// that a hostile file cannot make the import cubic in its size.
inline constexpr std::size_t kMaxEarClippedCorners = 128;

using CornerTriangle = std::array<std::uint32_t, 3>;

// Appends exactly corners.size() - 2 triangles of corner positions (indices
// into `corners`), keeping the polygon's winding. Convex polygons are fanned
// as (0, 1, 2), (2, 3, 0), (3, 4, 0), ... Needs at least three corners.
PolygonShape triangulatePolygon(std::span<const Vec3> corners, std::vector<CornerTriangle>& out);

}  // namespace morvanex
