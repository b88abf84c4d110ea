// Lines in the scene: overlays of the editor (gizmo circles and axes,
// trajectories, the orbit target, bounding boxes). The caller binds the
// transforms first (Renderer::setTransforms).
#pragma once

#include <span>
#include <vector>

#include "render/vertex_layouts.h"
#include "scene/math.h"

namespace morvanex {

class Renderer;

// Overlay colours.
inline constexpr Vec4 kTranslucentRed{1.0f, 0.0f, 0.0f, 0.5f};
inline constexpr Vec4 kTranslucentBlue{0.0f, 0.0f, 1.0f, 0.5f};
inline constexpr Vec4 kOpaqueRed{1.0f, 0.0f, 0.0f, 1.0f};
inline constexpr Vec4 kOpaqueBlack{0.0f, 0.0f, 0.0f, 1.0f};
inline constexpr Vec4 kFaintBlack{0.0f, 0.0f, 0.0f, 0.1f};
inline constexpr Vec4 kHalfYellow{1.0f, 1.0f, 0.0f, 0.5f};

// Vertices of one call: the world-line buffer holds this many.
inline constexpr std::size_t kMaxLineVertices = 10000;
inline constexpr int kCircleVertices = 500;

// A line strip when strip is set, else a line list ("VS_SOL" + "PS_SOL").
// Nothing is drawn for more than kMaxLineVertices vertices.
void drawLines(Renderer& renderer, std::span<const LineVertex> vertices, bool strip);
// The same vertices as a strip through "VS_line".
void drawLineStripVsLine(Renderer& renderer, std::span<const LineVertex> vertices);

// 500 vertices on the horizontal circle around centre, translucent red, no
// depth test.
void drawCircle(Renderer& renderer, Vec3 centre, float radius);
std::vector<LineVertex> circleVertices(Vec3 centre, float radius);

// A segment from -200 to +200 along direction through point, translucent
// red, no depth test; with the dial, a circle of radius 10 around the axis
// and one radius of it at the given angle.
void drawAxisLine(Renderer& renderer, Vec3 point, Vec3 direction, bool withDial, float angle);
// The dial's circle and radius of drawAxisLine (radius 10, perpendicular to
// the axis).
std::vector<LineVertex> dialVertices(Vec3 point, Vec3 direction, float angle);

// Three segments of length 1 along x, y and z centred on the point.
std::vector<LineVertex> crossVertices(Vec3 centre, const Vec4& colour);
// The twelve edges of a box given by its eight corners (worldBoxCorners order).
std::vector<LineVertex> boxEdgeVertices(std::span<const Vec3, 8> corners, const Vec4& colour);

}  // namespace morvanex
