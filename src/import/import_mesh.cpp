#include "import/import_mesh.h"

#include <algorithm>
#include <numeric>
#include <utility>

#include "import/parallel.h"

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

void giveCornerMesh(SceneObject& object, std::vector<MeshVertex> vertices, const PositionBounds& bounds,
                    unsigned threads) {
    std::vector<std::int32_t> indices(vertices.size());
    constexpr std::size_t kSlice = std::size_t{1} << 20;
    const std::size_t slices = (indices.size() + kSlice - 1) / kSlice;
    runParallel(slices, threads, [&](std::size_t i) {
        const std::size_t begin = i * kSlice, end = std::min(indices.size(), begin + kSlice);
        std::iota(indices.begin() + static_cast<std::ptrdiff_t>(begin), indices.begin() + static_cast<std::ptrdiff_t>(end),
                  static_cast<std::int32_t>(begin));
    });
    object.assignMesh(std::move(vertices), std::move(indices), bounds.min, bounds.max);
}

Vec3 triangleNormal(Vec3 a, Vec3 b, Vec3 c) { return normalize(cross(b - a, c - a)); }

}  // namespace morvanex
