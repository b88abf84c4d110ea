#include "scene/scene_object.h"

#include <algorithm>
#include <cassert>
#include <utility>

namespace morvanex {

SceneObject::SceneObject(std::string objectName)
    : name(std::move(objectName)), flagV(defaultFlagV(name)) {}

bool SceneObject::defaultFlagV(std::string_view objectName) {
    return objectName != "oreille d" && objectName != "oreille g";
}

void SceneObject::assignMesh(std::vector<MeshVertex> newVertices,
                             std::vector<std::int32_t> newIndices) {
    vertices = std::move(newVertices);
    indices = std::move(newIndices);
    triangleCount = static_cast<std::int32_t>(indices.size() / 3);
    faceSelected.assign(indices.size() / 3, 0);
    vertexSelected.assign(vertices.size(), 0);
    recomputeBounds();
    meshChanged();
}

void SceneObject::assignMesh(std::vector<MeshVertex> newVertices, std::vector<std::int32_t> newIndices,
                             Vec3 knownMin, Vec3 knownMax) {
    vertices = std::move(newVertices);
    indices = std::move(newIndices);
    triangleCount = static_cast<std::int32_t>(indices.size() / 3);
    faceSelected.assign(indices.size() / 3, 0);
    vertexSelected.assign(vertices.size(), 0);
    if (vertices.empty()) {
        boundsMin = boundsMax = boundsCentre = Vec3{};
        return;
    }
    boundsMin = knownMin;
    boundsMax = knownMax;
    boundsCentre = Vec3{(knownMin.x + knownMax.x) * 0.5f, (knownMin.y + knownMax.y) * 0.5f,
                        (knownMin.z + knownMax.z) * 0.5f};
}

void SceneObject::recomputeBounds() {
    if (vertices.empty()) {
        boundsMin = boundsMax = boundsCentre = Vec3{};
        return;
    }
    Vec3 lo = vertices.front().position;
    Vec3 hi = lo;
    for (const MeshVertex& v : vertices) {
        lo.x = std::min(lo.x, v.position.x);
        lo.y = std::min(lo.y, v.position.y);
        lo.z = std::min(lo.z, v.position.z);
        hi.x = std::max(hi.x, v.position.x);
        hi.y = std::max(hi.y, v.position.y);
        hi.z = std::max(hi.z, v.position.z);
    }
    boundsMin = lo;
    boundsMax = hi;
    boundsCentre = Vec3{(lo.x + hi.x) * 0.5f, (lo.y + hi.y) * 0.5f,
                        (lo.z + hi.z) * 0.5f};
}

bool SceneObject::renderSwitch(int number) const {
    assert(number >= 1 && number <= static_cast<int>(kRenderSwitches));
    return renderSwitches[static_cast<std::size_t>(number - 1)];
}

void SceneObject::setRenderSwitch(int number, bool on) {
    assert(number >= 1 && number <= static_cast<int>(kRenderSwitches));
    renderSwitches[static_cast<std::size_t>(number - 1)] = on;
}

void SceneObject::addChild(SceneObject& child) {
    child.parent = this;
    if (std::find(children.begin(), children.end(), &child) == children.end()) {
        children.push_back(&child);
    }
}

bool SceneObject::removeChild(const SceneObject* child) {
    const auto it = std::find(children.begin(), children.end(), child);
    if (it == children.end()) {
        return false;
    }
    SceneObject* removed = *it;
    children.erase(it);
    if (removed->parent == this) {
        removed->parent = nullptr;
    }
    return true;
}

}  // namespace morvanex
