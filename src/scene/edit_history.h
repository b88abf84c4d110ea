// The per-record edit histories: the vertex history and the transform
// history every object keeps, and the point history of a trajectory point.
// The records live with what they describe, so they go with it; the
// operations on them belong to the modeling code.
#pragma once

#include <cstdint>
#include <vector>

#include "scene/math.h"
#include "scene/mesh_vertex.h"

namespace morvanex {

// The transform values of an object or of a trajectory point at one moment.
struct PointSnapshot {
    Vec3 position;
    Vec3 angles;  // per-axis angles, radians
    Vec3 rotationAxis{0.0f, 1.0f, 0.0f};
    float rotationAngle = 0.0f;  // radians
    Vec3 scale{1.0f, 1.0f, 1.0f};

};

// Exactly equal values (a drag that ends where it began records nothing).
inline bool operator==(const PointSnapshot& a, const PointSnapshot& b) {
    return a.position == b.position && a.angles == b.angles && a.rotationAxis == b.rotationAxis &&
           a.rotationAngle == b.rotationAngle && a.scale == b.scale;
}

// Snapshots in the order they were taken; cursor names the one that
// reflects the current state, -1 when there is none.
struct SnapshotHistory {
    std::vector<PointSnapshot> records;
    std::int32_t cursor = -1;
};

// Vertex values by vertex number. Entries may name a vertex twice; applied
// in list order, the later entry wins.
struct VertexUndoRecord {
    std::vector<std::int32_t> vertexNumbers;
    std::vector<MeshVertex> values;
};

struct VertexHistory {
    std::vector<VertexUndoRecord> records;
    std::int32_t cursor = -1;
};

}  // namespace morvanex
