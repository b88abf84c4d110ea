// One mesh vertex: the same 72 bytes in memory, in GPU vertex buffers and in
// scene files, so arrays of them are copied in one move.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "scene/math.h"

namespace morvanex {

struct MeshVertex {
    Vec3 position;  // object space
    // Skin: up to four (bone number, weight) pairs. An unbound vertex follows
    // its object entirely through the first pair; -1 marks an unused bone.
    // Weights are not normalised.
    std::array<float, 4> blendWeights{1.0f, 0.0f, 0.0f, 0.0f};
    std::array<std::int32_t, 4> blendIndices{0, -1, -1, -1};
    Vec3 normal;     // object space
    Vec2 texcoord;   // colour texture coordinates
    Vec2 texcoord2;  // second set; the file reader makes it equal to the first
};

// The byte layout is part of the file format and of the vertex programs'
// input layout: keep it fixed.
static_assert(sizeof(MeshVertex) == 72);
static_assert(std::is_standard_layout_v<MeshVertex>);
static_assert(std::is_trivially_copyable_v<MeshVertex>);
static_assert(offsetof(MeshVertex, position) == 0);
static_assert(offsetof(MeshVertex, blendWeights) == 12);
static_assert(offsetof(MeshVertex, blendIndices) == 28);
static_assert(offsetof(MeshVertex, normal) == 44);
static_assert(offsetof(MeshVertex, texcoord) == 56);
static_assert(offsetof(MeshVertex, texcoord2) == 64);

}  // namespace morvanex
