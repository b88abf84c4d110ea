// Bounding volume hierarchy over the triangles of one mesh, in object
// space: surface-area-heuristic build (16 bins along the widest axis of
// the triangle centres, one pass per level that partitions a range and
// bins both of its sides; ranges of up to 16 triangles sorted and split
// exactly; the larger subtrees built on several threads; leaves of up to
// four triangles), nodes flattened depth first, refitted in place when the
// corners move but the triangles stay the same.
//
// Queries must give exactly what the exhaustive loop gives, ties included,
// so nothing here decides a hit: leaves hand their triangles to the same
// world-space test, with the same corners. The hierarchy only skips
// triangles, and a node is skipped only when no rounding of that test could
// have accepted one of them: every box is widened by a margin (see BvhRay)
// and nodes are visited nearest first while distances compare with the
// triangle number as the tie-break.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "modeling/mesh_picking.h"
#include "scene/math.h"

namespace morvanex {

struct BvhNode {
    Vec3 lo;
    float maxEdge = 0.0f;  // longest triangle edge below this node
    Vec3 hi;
    // Inner node: index of the second child (the first follows this node).
    // Leaf: first slot of its triangles.
    std::uint32_t link = 0;
    std::uint32_t count = 0;  // 0 for an inner node
};

// The query ray in object space. A node's box is widened by
// marginPerEdgeSquared * maxEdge^2 + marginConstant before the slab test:
// the room the world-space test's rounding can give a hit outside its
// triangle (it grows with the square of the triangle's size over the
// smallest determinant accepted), plus the rounding of the world corners
// and of this ray.
struct BvhRay {
    Vec3 origin;
    Vec3 inverseDirection;  // zero components replaced by a tiny value
    float marginPerEdgeSquared = 0.0f;
    float marginConstant = 0.0f;
};

// One triangle's object-space corners as plain floats: the build writes a
// million of them once, from its threads, without clearing them first.
struct TriangleCorners {
    float v[9];

    Vec3 operator[](std::size_t k) const { return {v[3 * k], v[3 * k + 1], v[3 * k + 2]}; }
    void set(std::size_t k, Vec3 p) {
        v[3 * k] = p.x;
        v[3 * k + 1] = p.y;
        v[3 * k + 2] = p.z;
    }
    std::array<Vec3, 3> all() const { return {(*this)[0], (*this)[1], (*this)[2]}; }
};

class TriangleBvh {
public:
    // Builds over the triangles of the index list (three entries each);
    // triangles with an entry outside the positions are left out, as the
    // exhaustive loop never hits them.
    void build(const CornerPositions& positions, std::span<const std::int32_t> indices, unsigned threads);
    // Same triangles, moved corners (deformed or edited in place). After a
    // build that stopped at a corner that was not finite, a full build.
    void refit(const CornerPositions& positions, std::span<const std::int32_t> indices);

    bool empty() const { return nodes_.empty(); }
    const BvhNode& root() const { return nodes_.front(); }
    std::size_t nodeCount() const { return nodes_.size(); }
    std::span<const BvhNode> nodes() const { return nodes_; }
    std::size_t triangleCount() const { return triangles_.size(); }
    // False when a corner is not finite: no margin would then be safe.
    bool finite() const { return finite_; }

    // Distance along the ray where the widened box of a node begins, or
    // false when the ray misses it.
    static bool enters(const BvhNode& node, const BvhRay& ray, float& entry);

    // The best hit of the world ray among this mesh's triangles, under the
    // world matrix, in the given mode: the exhaustive loop's answer.
    MeshHit closestHit(const BvhRay& objectRay, const Ray& worldRay, const Mat4& world, PickMode mode,
                       bool facingOnly) const;

private:
    void refitNodes();

    std::vector<BvhNode> nodes_;
    std::vector<std::int32_t> triangles_;  // triangle number of each slot
    // By triangle number, in index order: the build and the refit then
    // read the positions in order, and the few triangles a pick tests
    // cost a jump each.
    std::unique_ptr<TriangleCorners[]> corners_;
    bool finite_ = true;
    bool abandoned_ = false;  // the last build stopped at a corner that is not finite
};

}  // namespace morvanex
