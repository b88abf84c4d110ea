#include "modeling/selection_rules.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "scene/scene_object.h"

namespace morvanex {

namespace {

// Where a point that cannot be seen lands on screen: outside every rectangle.
constexpr float kOffScreen = -1e30f;

void fitFaceSelection(SceneObject& object) {
    object.faceSelected.resize(object.indices.size() / 3, 0);
}

void fitVertexSelection(SceneObject& object) { object.vertexSelected.resize(object.vertices.size(), 0); }

std::string fixed2(float value) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%.2f", static_cast<double>(value));
    return buffer;
}

std::string triple(Vec3 v) { return "(" + fixed2(v.x) + " , " + fixed2(v.y) + " , " + fixed2(v.z) + ")"; }

}  // namespace

Ray cursorRay(int x, int y, int width, int height, const Mat4& view, const Mat4& projection) {
    const float w = static_cast<float>(width > 0 ? width : 1);
    const float h = static_cast<float>(height > 0 ? height : 1);
    const float p11 = projection.m[0][0] != 0.0f ? projection.m[0][0] : 1.0f;
    const float p22 = projection.m[1][1] != 0.0f ? projection.m[1][1] : 1.0f;
    const Vec3 local{(2.0f * static_cast<float>(x) / w - 1.0f) / p11, -(2.0f * static_cast<float>(y) / h - 1.0f) / p22,
                     1.0f};
    const Mat4 eyeToWorld = inverse(view).value_or(identity());
    return Ray{Vec3{eyeToWorld.m[3][0], eyeToWorld.m[3][1], eyeToWorld.m[3][2]}, transformNormal(local, eyeToWorld)};
}

std::vector<Vec3> vertexWorldPositions(const SceneObject& object) {
    std::vector<Vec3> world(object.vertices.size());
    for (std::size_t i = 0; i < world.size(); ++i) world[i] = transformPoint(object.vertices[i].position, object.worldMatrix);
    return world;
}

std::vector<Vec3> vertexWorldNormals(const SceneObject& object) {
    std::vector<Vec3> normals(object.vertices.size());
    for (std::size_t i = 0; i < normals.size(); ++i) {
        normals[i] = normalize(transformNormal(object.vertices[i].normal, object.worldMatrix));
    }
    return normals;
}

std::vector<Vec2> vertexScreenPositions(std::span<const Vec3> world, const Mat4& viewProjection, int width,
                                        int height) {
    std::vector<Vec2> screen(world.size());
    for (std::size_t i = 0; i < world.size(); ++i) {
        const Vec4 clip = transform(Vec4{world[i].x, world[i].y, world[i].z, 1.0f}, viewProjection);
        if (!(clip.w > 0.0f)) {
            screen[i] = {kOffScreen, kOffScreen};
            continue;
        }
        screen[i] = {(clip.x / clip.w * 0.5f + 0.5f) * static_cast<float>(width),
                     (0.5f - clip.y / clip.w * 0.5f) * static_cast<float>(height)};
    }
    return screen;
}

bool triangleCrossesHeight(const std::array<Vec3, 3>& corners, float h) {
    bool below = false;
    bool above = false;
    for (const Vec3& c : corners) {
        below = below || c.y < h;
        above = above || c.y > h;
    }
    return below && above;
}

bool triangleCorners(const SceneObject& object, std::span<const Vec3> world, std::size_t t,
                     std::array<Vec3, 3>& corners) {
    if (3 * t + 2 >= object.indices.size()) return false;
    for (std::size_t k = 0; k < 3; ++k) {
        const std::int32_t index = object.indices[3 * t + k];
        if (index < 0 || static_cast<std::size_t>(index) >= world.size()) return false;
        corners[k] = world[static_cast<std::size_t>(index)];
    }
    return true;
}

void prepareObjectForSelection(SceneObject& object) {
    object.faceSelected.resize(object.indices.size() / 3, 0);
    object.vertexSelected.resize(object.vertices.size(), 0);
}

bool toggleFace(SceneObject& object, std::int32_t triangle) {
    fitFaceSelection(object);
    if (triangle < 0 || static_cast<std::size_t>(triangle) >= object.faceSelected.size()) return false;
    std::uint8_t& flag = object.faceSelected[static_cast<std::size_t>(triangle)];
    flag = flag != 0 ? 0 : 1;
    return flag != 0;
}

void setFace(SceneObject& object, std::int32_t triangle, bool state) {
    fitFaceSelection(object);
    if (triangle < 0 || static_cast<std::size_t>(triangle) >= object.faceSelected.size()) return;
    object.faceSelected[static_cast<std::size_t>(triangle)] = state ? 1 : 0;
}

void toggleFacesAtHeight(SceneObject& object, std::span<const Vec3> world, float h) {
    fitFaceSelection(object);
    std::array<Vec3, 3> corners{};
    for (std::size_t t = 0; t < object.faceSelected.size(); ++t) {
        if (triangleCorners(object, world, t, corners) && triangleCrossesHeight(corners, h)) {
            object.faceSelected[t] = object.faceSelected[t] != 0 ? 0 : 1;
        }
    }
}

void setFacesAtHeight(SceneObject& object, std::span<const Vec3> world, float h, bool state) {
    fitFaceSelection(object);
    std::array<Vec3, 3> corners{};
    for (std::size_t t = 0; t < object.faceSelected.size(); ++t) {
        if (triangleCorners(object, world, t, corners) && triangleCrossesHeight(corners, h)) {
            object.faceSelected[t] = state ? 1 : 0;
        }
    }
}

std::int32_t selectedFaceCount(const SceneObject& object) {
    std::int32_t count = 0;
    for (std::uint8_t flag : object.faceSelected) count += flag != 0 ? 1 : 0;
    return count;
}

bool toggleVerticesAt(SceneObject& object, std::span<const Vec3> world, Vec3 position, std::int32_t& last) {
    fitVertexSelection(object);
    last = -1;
    bool state = false;
    const std::size_t n = std::min(world.size(), object.vertexSelected.size());
    for (std::size_t i = 0; i < n; ++i) {
        if (!(world[i] == position)) continue;
        std::uint8_t& flag = object.vertexSelected[i];
        flag = flag != 0 ? 0 : 1;
        state = flag != 0;
        last = static_cast<std::int32_t>(i);
    }
    return state;
}

void paintVerticesAt(SceneObject& object, std::span<const Vec3> world, Vec3 position, bool state) {
    fitVertexSelection(object);
    const std::size_t n = std::min(world.size(), object.vertexSelected.size());
    for (std::size_t i = 0; i < n; ++i) {
        if (world[i] == position) object.vertexSelected[i] = state ? 1 : 0;
    }
}

void paintVerticesInSlice(SceneObject& object, std::span<const Vec3> world, float h, bool state) {
    fitVertexSelection(object);
    const std::size_t n = std::min(world.size(), object.vertexSelected.size());
    for (std::size_t i = 0; i < n; ++i) {
        if (std::fabs(world[i].y - h) < kVertexSliceHalfHeight) object.vertexSelected[i] = state ? 1 : 0;
    }
}

bool ScreenRectangle::contains(Vec2 p) const {
    const float left = std::min(start.x, corner.x);
    const float right = std::max(start.x, corner.x);
    const float top = std::min(start.y, corner.y);
    const float bottom = std::max(start.y, corner.y);
    return p.x > left && p.x < right && p.y > top && p.y < bottom;
}

bool facesEye(Vec3 position, Vec3 normal, Vec3 eye) { return angleBetween(eye - position, normal) < kFacingAngle; }

void rectSelectVertices(SceneObject& object, std::span<const Vec3> world, std::span<const Vec3> normals,
                        std::span<const Vec2> screen, Vec3 eye, const ScreenRectangle& rectangle) {
    fitVertexSelection(object);
    const std::size_t n = std::min({world.size(), normals.size(), screen.size(), object.vertexSelected.size()});
    std::fill(object.vertexSelected.begin(), object.vertexSelected.end(), 0);
    for (std::size_t i = 0; i < n; ++i) {
        object.vertexSelected[i] = rectangle.contains(screen[i]) && facesEye(world[i], normals[i], eye) ? 1 : 0;
    }
}

void rectSelectFaces(SceneObject& object, std::span<const Vec3> world, std::span<const Vec3> normals,
                     std::span<const Vec2> screen, Vec3 eye, const ScreenRectangle& rectangle, bool selectThrough) {
    fitFaceSelection(object);
    const std::size_t n = std::min({world.size(), normals.size(), screen.size()});
    for (std::size_t t = 0; t < object.faceSelected.size(); ++t) {
        bool inside = 3 * t + 2 < object.indices.size();
        for (std::size_t k = 0; inside && k < 3; ++k) {
            const std::int32_t index = object.indices[3 * t + k];
            if (index < 0 || static_cast<std::size_t>(index) >= n) {
                inside = false;
                break;
            }
            const auto i = static_cast<std::size_t>(index);
            inside = rectangle.contains(screen[i]) && (selectThrough || facesEye(world[i], normals[i], eye));
        }
        object.faceSelected[t] = inside ? 1 : 0;
    }
}

std::int32_t markerUnderPointer(std::span<const Vec3> world, std::span<const Vec2> screen, Vec2 pointer, Vec3 eye,
                                float radius) {
    std::int32_t best = -1;
    float bestDistance = std::numeric_limits<float>::max();
    const std::size_t n = std::min(world.size(), screen.size());
    for (std::size_t i = 0; i < n; ++i) {
        if (distance(screen[i], pointer) > radius) continue;
        const float d = distance(world[i], eye);
        if (d < bestDistance) {
            bestDistance = d;
            best = static_cast<std::int32_t>(i);
        }
    }
    return best;
}

std::array<std::string, 6> vertexReadoutLines(const MeshVertex& vertex) {
    std::array<std::string, 6> lines;
    lines[0] = "Position : " + triple(vertex.position);
    lines[1] = "Normale : " + triple(vertex.normal);
    for (std::size_t k = 0; k < 4; ++k) {
        lines[2 + k] = "Indice " + std::to_string(vertex.blendIndices[k]) + " : poids : " + fixed2(vertex.blendWeights[k]);
    }
    return lines;
}

}  // namespace morvanex
