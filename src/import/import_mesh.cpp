#include "import/import_mesh.h"

#include <algorithm>
#include <numeric>
#include <utility>


namespace morvanex {

std::unique_ptr<SceneObject> newImportedObject(std::string name) {
    auto object = std::make_unique<SceneObject>(std::move(name));
    object->materialColours[0] = kImportedDiffuse;
    object->materialColours[1] = kImportedAmbient;
    object->materialColours[2] = kImportedSpecular;
    return object;
}

void giveCornerMesh(SceneObject& object, std::vector<MeshVertex> vertices) {
    std::vector<std::int32_t> indices(vertices.size());
    std::iota(indices.begin(), indices.end(), 0);
    object.assignMesh(std::move(vertices), std::move(indices));
}

std::vector<std::int32_t> cornerIndices(std::size_t count) {
    std::vector<std::int32_t> indices;
    indices.reserve(count);
    for (std::size_t i = 0; i < count; ++i) indices.push_back(static_cast<std::int32_t>(i));
    return indices;
}

void giveCornerMesh(SceneObject& object, std::vector<MeshVertex> vertices, std::vector<std::int32_t> indices,
                    const PositionBounds& bounds) {
    object.assignMesh(std::move(vertices), std::move(indices), bounds.min, bounds.max);
}

Vec3 triangleNormal(Vec3 a, Vec3 b, Vec3 c) { return normalize(cross(b - a, c - a)); }

}  // namespace morvanex
