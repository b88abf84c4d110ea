// Picking by exhaustive search: the ray against every triangle of an
// object in index order, and against every pickable object of the scene in
// list order. This is the reference the hierarchy (scene_picking.h) must
// match exactly; it also serves objects the hierarchy cannot take.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "modeling/ray_triangle.h"
#include "scene/math.h"
#include "scene/mesh_vertex.h"

namespace morvanex {

class Scene;
struct SceneObject;

enum class PickMode {
    Nearest,   // the hit with the strictly smallest distance; earlier triangles win ties
    FirstHit,  // the first hit in index order
};

// Nearest mode keeps hits closer than this within one object.
inline constexpr float kObjectHitLimit = 1e15f;
// The scene's nearest distance starts here every frame.
inline constexpr float kNothingHovered = 1e12f;

// The ray against one object (the answer of intersectMesh).
struct MeshHit {
    bool hit = false;
    std::int32_t triangle = -1;  // uses index entries 3i, 3i+1, 3i+2
    Vec2 barycentric;            // (u, v)
    float distance = kObjectHitLimit;
    Vec3 point;                  // world space
    std::array<Vec3, 3> corners{};  // world space
};

// What lies under the cursor: the picking fields of the frame's pick state.
struct PickHit {
    float nearestDistance = kNothingHovered;
    SceneObject* hoveredObject = nullptr;
    std::int32_t hoveredTriangle = -1;
    Vec3 hitPoint;
    Vec2 hitBarycentric;
    std::array<Vec3, 3> hitCorners{};
    std::int32_t hoveredVertex = -1;  // the index-list value of the nearest corner
    Vec3 hoveredVertexPosition;
};

// Bones and curve deformers draw an object's vertices away from their
// stored positions. The animation code answers with one object-space
// position per vertex; an empty answer means the stored positions.
class DeformedShapes {
public:
    virtual ~DeformedShapes() = default;
    virtual std::span<const Vec3> drawnPositions(const SceneObject& object) const = 0;
};

// The tool state that decides which objects are tested, and how.
struct PickRules {
    bool facingOnly = false;  // the face-capture tool tests front faces only
    bool editMode = true;     // hidden objects are drawn (as ghosts) only in edit mode
    // While the group panel is open: only this leader and its members.
    const SceneObject* openGroupLeader = nullptr;
    const DeformedShapes* deformed = nullptr;
};

// How one object is asked: the mode, the facing rule and the drawn
// positions (empty: the stored ones).
struct MeshQuery {
    PickMode mode = PickMode::Nearest;
    bool facingOnly = false;
    std::span<const Vec3> drawnPositions;
};

// The object-space corner positions a query tests: the drawn ones when they
// cover every vertex, else the stored ones (a short answer is ignored
// rather than read past).
class CornerPositions {
public:
    CornerPositions(const SceneObject& object, std::span<const Vec3> drawn);
    std::size_t size() const { return count_; }
    Vec3 operator[](std::size_t i) const { return drawn_ != nullptr ? drawn_[i] : vertices_[i].position; }

private:
    const MeshVertex* vertices_ = nullptr;
    const Vec3* drawn_ = nullptr;
    std::size_t count_ = 0;
};

// The object's box for the pre-test: the stored bounds, or the bounds of
// the drawn positions when the query has them.
void queryBounds(const SceneObject& object, const MeshQuery& query, Vec3& lo, Vec3& hi);

// The ray against the twelve triangles of the box lo..hi taken through the
// world matrix; any hit at all counts.
bool hitsBoundingBox(const Ray& ray, Vec3 lo, Vec3 hi, const Mat4& world);

// True when every index entry of a triangle names a position; triangles
// that do not are never hit.
bool triangleInRange(const CornerPositions& positions, std::span<const std::int32_t> indices, std::size_t triangle);

// Whether a hit (t, triangle) beats the best so far in this mode.
bool betterHit(PickMode mode, float t, std::int32_t triangle, const MeshHit& best);

// Fills a MeshHit from the winning triangle.
MeshHit meshHitFrom(const Ray& ray, std::int32_t triangle, const TriangleHit& hit,
                    const std::array<Vec3, 3>& corners);

// The ray (world space) against one object, every triangle in index order.
MeshHit intersectMesh(const SceneObject& object, const Ray& ray, const MeshQuery& query);

// The corner of a triangle nearest to the hit; of equally near corners the
// later one.
int nearestCorner(const std::array<Vec3, 3>& corners, Vec3 hitPoint);

// Skipping rules: no ghosts, no objects that cannot be selected, nothing
// that is not drawn (the camera, the service and marker objects, hidden
// objects outside edit mode), only the open group's members.
bool isPickable(const Scene& scene, const SceneObject& object, const PickRules& rules);

// The drawn positions the rules give for an object (empty: stored ones).
std::span<const Vec3> drawnPositionsFor(const SceneObject& object, const PickRules& rules);

// Makes an object's hit the scene's pick; the hovered vertex is the nearest
// corner of the hit triangle.
void takeHit(PickHit& pick, SceneObject& object, const MeshHit& hit);

// Every pickable object in list order, in nearest mode.
PickHit pickExhaustive(const Scene& scene, const Ray& ray, const PickRules& rules);

}  // namespace morvanex
