// The geometry of selecting: the cursor ray, face and vertex capture (by
// triangle, by point or by horizontal slice), rectangle selection on
// screen, the vertex markers under the pointer and the vertex read-out.
//
// Meshes keep one vertex per triangle corner, so a geometric corner is
// stored several times; vertex capture therefore works on world positions,
// never on vertex numbers. Every function takes the world positions (and
// where needed the screen positions) of the object's vertices, found once
// per action by vertexWorldPositions / vertexScreenPositions.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "modeling/ray_triangle.h"
#include "scene/math.h"
#include "scene/mesh_vertex.h"

namespace morvanex {

struct SceneObject;

// The world ray under pixel (x, y) of a width x height view: the eye as
// origin and the view-space direction ((2x / w - 1) / P11, -(2y / h - 1) /
// P22, 1) turned by the inverse view. Not normalised.
Ray cursorRay(int x, int y, int width, int height, const Mat4& view, const Mat4& projection);

// Every vertex of the object through its world matrix.
std::vector<Vec3> vertexWorldPositions(const SceneObject& object);
// Every vertex normal turned by the world matrix (unit length).
std::vector<Vec3> vertexWorldNormals(const SceneObject& object);
// Pixel positions of world points; a point behind the eye gets a position
// no rectangle contains.
std::vector<Vec2> vertexScreenPositions(std::span<const Vec3> world, const Mat4& viewProjection, int width,
                                        int height);

// A triangle crosses the plane y = h when one corner lies strictly below
// and another strictly above.
bool triangleCrossesHeight(const std::array<Vec3, 3>& corners, float h);

// The three world corners of triangle t; false when its indices do not
// name vertices.
bool triangleCorners(const SceneObject& object, std::span<const Vec3> world, std::size_t t,
                     std::array<Vec3, 3>& corners);

// The per-triangle and per-vertex selection flags sized to the mesh, before a
// selection tool works on it.
void prepareObjectForSelection(SceneObject& object);

// Face capture. The selection array is resized to the triangle count
// first, so a stale one is never read past. Return the new state.
bool toggleFace(SceneObject& object, std::int32_t triangle);
void setFace(SceneObject& object, std::int32_t triangle, bool state);
void toggleFacesAtHeight(SceneObject& object, std::span<const Vec3> world, float h);
void setFacesAtHeight(SceneObject& object, std::span<const Vec3> world, float h, bool state);
std::int32_t selectedFaceCount(const SceneObject& object);

// Vertex capture: every stored copy of a corner at exactly this position.
// Returns the new state; `last` receives the last vertex found (-1: none).
bool toggleVerticesAt(SceneObject& object, std::span<const Vec3> world, Vec3 position, std::int32_t& last);
void paintVerticesAt(SceneObject& object, std::span<const Vec3> world, Vec3 position, bool state);
// The slice variant: every vertex whose height lies strictly within 0.1
// of h.
void paintVerticesInSlice(SceneObject& object, std::span<const Vec3> world, float h, bool state);
inline constexpr float kVertexSliceHalfHeight = 0.1f;

// Two screen corners in any order; a point on the border is outside.
struct ScreenRectangle {
    Vec2 start;
    Vec2 corner;
    bool contains(Vec2 p) const;
};

// The facing test of rectangle selection: the vertex faces the eye when
// the angle between (eye - position) and its normal is below pi / 2.
bool facesEye(Vec3 position, Vec3 normal, Vec3 eye);

// The rectangle replaces the previous selection.
void rectSelectVertices(SceneObject& object, std::span<const Vec3> world, std::span<const Vec3> normals,
                        std::span<const Vec2> screen, Vec3 eye, const ScreenRectangle& rectangle);
void rectSelectFaces(SceneObject& object, std::span<const Vec3> world, std::span<const Vec3> normals,
                     std::span<const Vec2> screen, Vec3 eye, const ScreenRectangle& rectangle, bool selectThrough);

// The vertex marker under the pointer: of the markers whose screen
// position lies within `radius` pixels, the one nearest the eye (the first
// of equals). -1 when none.
inline constexpr float kMarkerPickRadius = 6.0f;
std::int32_t markerUnderPointer(std::span<const Vec3> world, std::span<const Vec2> screen, Vec2 pointer, Vec3 eye,
                                float radius = kMarkerPickRadius);

// The read-out of a vertex: "Position : (x , y , z)", "Normale : (...)"
// and four "Indice k : poids : w" lines, floats with two decimals.
std::array<std::string, 6> vertexReadoutLines(const MeshVertex& vertex);

}  // namespace morvanex
