#include "modeling/mesh_edits.h"

#include <utility>

#include "scene/scene_object.h"

namespace morvanex {

namespace {

// The corners of triangle t when all three name a vertex; files may hold
// indices past the vertex array, and such triangles are left alone.
bool cornersOf(const SceneObject& object, std::size_t t, std::size_t (&corner)[3]) {
    for (std::size_t k = 0; k < 3; ++k) {
        const std::int32_t index = object.indices[3 * t + k];
        if (index < 0 || static_cast<std::size_t>(index) >= object.vertices.size()) return false;
        corner[k] = static_cast<std::size_t>(index);
    }
    return true;
}

bool selected(const SceneObject& object, std::size_t t) {
    return t < object.faceSelected.size() && object.faceSelected[t] != 0;
}

}  // namespace

int reverseWinding(SceneObject& object, bool selectedOnly) {
    int reversed = 0;
    const std::size_t triangles = object.indices.size() / 3;
    for (std::size_t t = 0; t < triangles; ++t) {
        if (selectedOnly && !selected(object, t)) continue;
        std::swap(object.indices[3 * t], object.indices[3 * t + 2]);
        ++reversed;
    }
    object.meshChanged();
    return reversed;
}

int flattenSelectedTriangles(SceneObject& object) {
    int changed = 0;
    const std::size_t triangles = object.indices.size() / 3;
    for (std::size_t t = 0; t < triangles; ++t) {
        std::size_t corner[3];
        if (!selected(object, t) || !cornersOf(object, t, corner)) continue;
        const Vec3 p0 = object.vertices[corner[0]].position;
        const Vec3 normal = normalize(cross(object.vertices[corner[1]].position - p0,
                                            object.vertices[corner[2]].position - p0));
        for (std::size_t c : corner) object.vertices[c].normal = normal;
        object.faceSelected[t] = 0;
        ++changed;
    }
    object.meshChanged();
    return changed;
}

void projectTexcoordsOnXy(SceneObject& object) {
    if (object.vertices.empty()) return;
    Vec3 low = object.vertices.front().position;
    Vec3 high = low;
    for (const MeshVertex& v : object.vertices) {
        low = componentMin(low, v.position);
        high = componentMax(high, v.position);
    }
    const float sizeX = high.x - low.x;
    const float sizeY = high.y - low.y;
    for (MeshVertex& v : object.vertices) {
        v.texcoord.x = sizeX > 0.0f ? (v.position.x - low.x) / sizeX : 0.0f;
        v.texcoord.y = sizeY > 0.0f ? (v.position.y - low.y) / sizeY : 0.0f;
    }
    object.meshChanged();
}

void copySecondTexcoords(SceneObject& object) {
    for (MeshVertex& v : object.vertices) v.texcoord = v.texcoord2;
    object.meshChanged();
}

}  // namespace morvanex
