#include "modeling/mesh_picking.h"

#include <algorithm>

#include "scene/scene.h"
#include "scene/scene_object.h"

namespace morvanex {

CornerPositions::CornerPositions(const SceneObject& object, std::span<const Vec3> drawn)
    : vertices_(object.vertices.data()), count_(object.vertices.size()) {
    if (!drawn.empty() && drawn.size() >= object.vertices.size()) drawn_ = drawn.data();
}

void queryBounds(const SceneObject& object, const MeshQuery& query, Vec3& lo, Vec3& hi) {
    lo = object.boundsMin;
    hi = object.boundsMax;
    const CornerPositions positions(object, query.drawnPositions);
    if (query.drawnPositions.empty() || positions.size() == 0 ||
        query.drawnPositions.size() < object.vertices.size()) {
        return;
    }
    // Deformed objects are hit where they are drawn, so the box must hold
    // the drawn corners, not the stored ones.
    lo = hi = positions[0];
    for (std::size_t i = 1; i < positions.size(); ++i) {
        lo = componentMin(lo, positions[i]);
        hi = componentMax(hi, positions[i]);
    }
}

bool hitsBoundingBox(const Ray& ray, Vec3 lo, Vec3 hi, const Mat4& world) {
    std::array<Vec3, 8> c;
    for (int i = 0; i < 8; ++i) {
        const Vec3 corner{(i & 1) != 0 ? hi.x : lo.x, (i & 2) != 0 ? hi.y : lo.y, (i & 4) != 0 ? hi.z : lo.z};
        c[static_cast<std::size_t>(i)] = transformPoint(corner, world);
    }
    // Two triangles per face of the box.
    static constexpr int kFaces[12][3] = {{0, 1, 3}, {0, 3, 2}, {4, 6, 7}, {4, 7, 5}, {0, 4, 5}, {0, 5, 1},
                                          {2, 3, 7}, {2, 7, 6}, {0, 2, 6}, {0, 6, 4}, {1, 5, 7}, {1, 7, 3}};
    for (const auto& face : kFaces) {
        if (intersectTriangle(ray, c[static_cast<std::size_t>(face[0])], c[static_cast<std::size_t>(face[1])],
                              c[static_cast<std::size_t>(face[2])], false)) {
            return true;
        }
    }
    return false;
}

bool triangleInRange(const CornerPositions& positions, std::span<const std::int32_t> indices, std::size_t triangle) {
    for (std::size_t k = 0; k < 3; ++k) {
        const std::int32_t index = indices[3 * triangle + k];
        if (index < 0 || static_cast<std::size_t>(index) >= positions.size()) return false;
    }
    return true;
}

bool betterHit(PickMode mode, float t, std::int32_t triangle, const MeshHit& best) {
    if (mode == PickMode::FirstHit) return !best.hit || triangle < best.triangle;
    // Equal distances keep the earlier triangle, whatever order they come in.
    return t < best.distance || (best.hit && t == best.distance && triangle < best.triangle);
}

MeshHit meshHitFrom(const Ray& ray, std::int32_t triangle, const TriangleHit& hit,
                    const std::array<Vec3, 3>& corners) {
    MeshHit result;
    result.hit = true;
    result.triangle = triangle;
    result.barycentric = Vec2{hit.u, hit.v};
    result.distance = hit.t;
    result.point = ray.origin + ray.direction * hit.t;
    result.corners = corners;
    return result;
}

MeshHit intersectMesh(const SceneObject& object, const Ray& ray, const MeshQuery& query) {
    MeshHit best;
    Vec3 lo;
    Vec3 hi;
    queryBounds(object, query, lo, hi);
    if (!hitsBoundingBox(ray, lo, hi, object.worldMatrix)) return best;
    const CornerPositions positions(object, query.drawnPositions);
    const std::span<const std::int32_t> indices(object.indices);
    const std::size_t triangles = indices.size() / 3;
    const bool facing = query.facingOnly || query.mode == PickMode::FirstHit;
    for (std::size_t i = 0; i < triangles; ++i) {
        if (!triangleInRange(positions, indices, i)) continue;
        const std::array<Vec3, 3> corners{
            transformPoint(positions[static_cast<std::size_t>(indices[3 * i])], object.worldMatrix),
            transformPoint(positions[static_cast<std::size_t>(indices[3 * i + 1])], object.worldMatrix),
            transformPoint(positions[static_cast<std::size_t>(indices[3 * i + 2])], object.worldMatrix)};
        const std::optional<TriangleHit> hit = intersectTriangle(ray, corners[0], corners[1], corners[2], facing);
        const auto triangle = static_cast<std::int32_t>(i);
        if (!hit || !betterHit(query.mode, hit->t, triangle, best)) continue;
        best = meshHitFrom(ray, triangle, *hit, corners);
        if (query.mode == PickMode::FirstHit) break;
    }
    return best;
}

int nearestCorner(const std::array<Vec3, 3>& corners, Vec3 hitPoint) {
    const float d0 = distance(corners[0], hitPoint);
    const float d1 = distance(corners[1], hitPoint);
    const float d2 = distance(corners[2], hitPoint);
    // Taken literally, "0 when d1 > d0 and d0 < d2, else 1 when d0 > d1 and
    // d1 < d2, else 2" gives the far corner 2 when corners 0 and 1 tie;
    // the nearest corner with ties to the later one is what it means.
    int corner = 0;
    if (d1 <= d0) corner = 1;
    if (d2 <= (corner == 0 ? d0 : d1)) corner = 2;
    return corner;
}

bool isPickable(const Scene& scene, const SceneObject& object, const PickRules& rules) {
    if (object.ghost || !object.selectable || object.render.editorObject) return false;
    if (scene.isServiceObject(&object)) return false;
    if (object.render.hidden && !rules.editMode) return false;
    if (rules.openGroupLeader != nullptr && &object != rules.openGroupLeader &&
        object.groupLeader != rules.openGroupLeader) {
        return false;
    }
    return true;
}

std::span<const Vec3> drawnPositionsFor(const SceneObject& object, const PickRules& rules) {
    return rules.deformed != nullptr ? rules.deformed->drawnPositions(object) : std::span<const Vec3>{};
}

void takeHit(PickHit& pick, SceneObject& object, const MeshHit& hit) {
    pick.nearestDistance = hit.distance;
    pick.hoveredObject = &object;
    pick.hoveredTriangle = hit.triangle;
    pick.hitPoint = hit.point;
    pick.hitBarycentric = hit.barycentric;
    pick.hitCorners = hit.corners;
    const int corner = nearestCorner(hit.corners, hit.point);
    pick.hoveredVertex = object.indices[3 * static_cast<std::size_t>(hit.triangle) + static_cast<std::size_t>(corner)];
    pick.hoveredVertexPosition = hit.corners[static_cast<std::size_t>(corner)];
}

PickHit pickExhaustive(const Scene& scene, const Ray& ray, const PickRules& rules) {
    PickHit pick;
    for (const auto& owned : scene.objects()) {
        SceneObject& object = *owned;
        if (!isPickable(scene, object, rules)) continue;
        const MeshQuery query{PickMode::Nearest, rules.facingOnly, drawnPositionsFor(object, rules)};
        const MeshHit hit = intersectMesh(object, ray, query);
        // Strictly nearer: at equal distance the earlier object stays.
        if (hit.hit && hit.distance < pick.nearestDistance) takeHit(pick, object, hit);
    }
    return pick;
}

}  // namespace morvanex
