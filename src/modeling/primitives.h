// The primitive generators: each makes a fresh object holding a plain
// triangle list (every triangle with three vertices of its own, indices 0,
// 1, 2, ...), its bounds and its normals, with fresh edit histories. The
// caller appends it to the scene; the GPU buffers follow on first draw.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "scene/math.h"
#include "scene/mesh_vertex.h"

namespace morvanex {

struct SceneObject;

// The names the objects are made with; the file format and the interface
// look them up.
inline constexpr const char* kBoxName = "boite";
inline constexpr const char* kSphereName = "Sph\xE8re";  // "Sphère", Windows-1252
inline constexpr const char* kQuadName = "Quad";
inline constexpr const char* kHeightSurfaceName = "Surface altimetrique";
inline constexpr const char* kFaceName = "Face";
inline constexpr const char* kConeName = "Cone";
inline constexpr const char* kGroundGridName = "Grille";

// A sphere budget beyond this is taken as this: the budget is typed in a
// box, and a slip must not ask for gigabytes.
inline constexpr std::int64_t kMaxSphereTriangles = 2'000'000;
// Likewise for the cells of a quad, a height surface or a grid.
inline constexpr std::int64_t kMaxPatchCells = 1'000'000;

// Normals of a triangle list: each triangle's normal normalise((p0 - p2) x
// (p1 - p2)); flat gives every corner its triangle's normal, otherwise the
// corners lying within epsilon of each other share the mean of theirs.
void computeNormals(std::vector<MeshVertex>& vertices, const std::vector<std::int32_t>& indices, float epsilon,
                    bool flat);

// Installs a triangle list on the object with flat normals, and resets its
// histories: the mesh is new.
void setMesh(SceneObject& object, std::vector<MeshVertex> vertices, std::vector<std::int32_t> indices);

// A box from two ground corners and a point giving its height; 12
// triangles, textured from a 3 x 2 atlas.
std::unique_ptr<SceneObject> makeBox(Vec3 p1, Vec3 p2, Vec3 p3);

// The smallest even ring count c (0 below a budget of 1) with 2c(c - 1)
// triangles at least the budget.
int sphereRingCount(std::int64_t triangleBudget);
std::unique_ptr<SceneObject> makeSphere(Vec3 centre, float radius, std::int64_t triangleBudget);
// The ring layout of texture coordinates, measured from the centre of the
// object's bounds: u = |sin| of the longitude, v = |sin| of the latitude.
void layOutSphereTexcoords(SceneObject& object);

// Heights of a patch: pixels packed as R | G << 8 | B << 16 | A << 24,
// row by row.
struct HeightImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

// A patch of u x v cells between four corners (in order around it), every
// vertex with the given normal, texture coordinates from 0 to 1. With
// heights, each vertex is raised along y by the image's sample at its
// coordinates times heightScale.
std::unique_ptr<SceneObject> makeQuad(int uDivisions, int vDivisions, const std::array<Vec3, 4>& corners, Vec3 normal,
                                      const HeightImage* heights = nullptr, float heightScale = 0.0f);
// The height surface: a patch centred on the origin whose footprint is the
// image's size times sizePerPixel, raised by its samples.
std::unique_ptr<SceneObject> makeHeightSurface(const HeightImage& image, float sizePerPixel, int uDivisions,
                                               int vDivisions);

// One triangle (three points) or two (four points), named "Face", turned to
// face the viewer at eye; uvs are per point.
std::unique_ptr<SceneObject> makeFace3(const std::array<Vec3, 3>& points, const std::array<Vec2, 3>& uvs, Vec3 eye);
std::unique_ptr<SceneObject> makeFace4(const std::array<Vec3, 4>& points, const std::array<Vec2, 4>& uvs, Vec3 eye);

// columns x rows cells in the plane z = centre.z, normal +z; a positive
// angle turns every position and normal about axis (through the origin).
std::unique_ptr<SceneObject> makeGrid(std::string name, int columns, int rows, float width, float depth, Vec3 centre,
                                      Vec3 axis, float angle);
// The editor's ground grid, lying in the horizontal plane.
std::unique_ptr<SceneObject> makeGroundGrid();

// n segments: n side triangles from the base circle to the apex and n base
// triangles; smoothed normals.
std::unique_ptr<SceneObject> makeCone(int segments, Vec3 baseCentre, Vec3 apex, float radius);

}  // namespace morvanex
