#include "modeling/object_copies.h"

#include <algorithm>
#include <memory>

#include "modeling/object_groups.h"
#include "modeling/object_transform.h"
#include "scene/scene.h"
#include "scene/scene_object.h"

namespace morvanex {

namespace {

// What a copy shares with its source besides the mesh and the links.
void copyLookAndTransform(const SceneObject& from, SceneObject& to) {
    to.baseMatrix = from.baseMatrix;
    to.pivot = from.pivot;
    to.position = from.position;
    to.positionOffset = from.positionOffset;
    to.rotationAxis = from.rotationAxis;
    to.rotationAngle = from.rotationAngle;
    to.orientation = from.orientation;
    to.angles = from.angles;
    to.scale = from.scale;
    to.opacity = from.opacity;
    to.materialColours = from.materialColours;
    to.renderSwitches = from.renderSwitches;
    to.renderValues = from.renderValues;
    to.textures = from.textures;
    to.textureEnabled = from.textureEnabled;
    to.render.kind = from.render.kind;
    to.render.cullMode = from.render.cullMode;
    to.render.castsShadows = from.render.castsShadows;
    to.objectLightFlag = from.objectLightFlag;
    to.objectLightFlagInverse = from.objectLightFlagInverse;
    to.objectLightCount = from.objectLightCount;
    to.lights = from.lights;
    to.lightParameters = from.lightParameters;
    to.profileCurves = from.profileCurves;
    to.boneNumber = from.boneNumber;
    to.styleFlag = from.styleFlag;
    to.styleValues = from.styleValues;
    to.styleColour = from.styleColour;
    to.styleMode = from.styleMode;
    to.styleScale = from.styleScale;
    to.flagV = from.flagV;
}

// Every triangle with three vertices of its own; triangles naming a
// vertex that does not exist are dropped.
void copyTrianglesUnshared(const SceneObject& from, SceneObject& to) {
    std::vector<MeshVertex> vertices;
    vertices.reserve(from.indices.size());
    for (std::size_t t = 0; t + 2 < from.indices.size(); t += 3) {
        bool whole = true;
        for (std::size_t k = 0; k < 3; ++k) {
            const std::int32_t index = from.indices[t + k];
            whole = whole && index >= 0 && static_cast<std::size_t>(index) < from.vertices.size();
        }
        if (!whole) continue;
        for (std::size_t k = 0; k < 3; ++k) vertices.push_back(from.vertices[static_cast<std::size_t>(from.indices[t + k])]);
    }
    std::vector<std::int32_t> indices(vertices.size());
    for (std::size_t i = 0; i < indices.size(); ++i) indices[i] = static_cast<std::int32_t>(i);
    to.assignMesh(std::move(vertices), std::move(indices));
}

Vec3 worldExtent(const std::vector<const SceneObject*>& objects) {
    bool any = false;
    Vec3 low;
    Vec3 high;
    for (const SceneObject* object : objects) {
        for (int corner = 0; corner < 8; ++corner) {
            const Vec3 local{(corner & 1) ? object->boundsMax.x : object->boundsMin.x,
                             (corner & 2) ? object->boundsMax.y : object->boundsMin.y,
                             (corner & 4) ? object->boundsMax.z : object->boundsMin.z};
            const Vec3 world = transformPoint(local, object->worldMatrix);
            low = any ? componentMin(low, world) : world;
            high = any ? componentMax(high, world) : world;
            any = true;
        }
    }
    return high - low;
}

SceneObject& fullCopy(Scene& scene, const SceneObject& source, Vec3 offset) {
    SceneObject& copy = scene.addObject(source.name);
    copyLookAndTransform(source, copy);
    copyTrianglesUnshared(source, copy);
    copy.position = source.position + offset;
    return copy;
}

SceneObject& instanceCopy(Scene& scene, SceneObject& source, Vec3 position) {
    SceneObject& copy = scene.addObject(source.name);
    copyLookAndTransform(source, copy);
    copy.assignMesh(source.vertices, source.indices);
    copy.position = position;
    copy.transient = true;  // the source's link record saves it
    copy.linkGroupName = source.linkGroupName;
    ObjectLink link;
    link.position = position;
    link.rotationAxis = copy.rotationAxis;
    link.rotationAngle = copy.rotationAngle;
    link.scale = copy.scale;
    link.pivot = copy.pivot;
    link.object = &copy;
    source.links.push_back(link);
    return copy;
}

}  // namespace

Vec3 copySpacing(const Scene& scene, const SceneObject& object) {
    const SceneObject* leader = groupLeaderOf(scene, object);
    if (leader == nullptr) return object.boundsMax - object.boundsMin;
    std::vector<const SceneObject*> all{leader};
    for (SceneObject* member : groupMembers(scene, *leader)) all.push_back(member);
    return worldExtent(all);
}

SceneObject& duplicateObject(Scene& scene, SceneObject& source, Vec3 offset) {
    SceneObject* leader = groupLeaderOf(scene, source);
    if (leader == nullptr) {
        SceneObject& copy = fullCopy(scene, source, offset);
        rebuildWorldMatrix(copy);
        return copy;
    }
    const std::vector<SceneObject*> members = groupMembers(scene, *leader);
    SceneObject& newLeader = fullCopy(scene, *leader, offset);
    if (leader->groupLeader == leader) newLeader.groupLeader = &newLeader;
    SceneObject* sourceCopy = &newLeader;
    for (SceneObject* member : members) {
        SceneObject& copy = fullCopy(scene, *member, offset);
        copy.groupLeader = &newLeader;
        if (member == &source) sourceCopy = &copy;
    }
    rebuildWorldMatrix(newLeader);
    for (const auto& object : scene.objects()) {
        if (object->groupLeader == &newLeader) rebuildWorldMatrix(*object);
    }
    return *sourceCopy;
}

std::vector<SceneObject*> makeInstanceArray(Scene& scene, SceneObject& source, int columns, int rows,
                                            Vec3 spacing) {
    std::vector<SceneObject*> copies;
    if (columns < 1 || rows < 1) return copies;
    if (static_cast<long long>(columns) * rows > kMaxArrayCopies) return copies;
    SceneObject* leader = groupLeaderOf(scene, source);
    std::vector<SceneObject*> carried{leader != nullptr ? leader : &source};
    if (leader != nullptr) {
        for (SceneObject* member : groupMembers(scene, *leader)) carried.push_back(member);
    }
    for (int i = 1; i <= columns; ++i) {
        for (int j = 0; j < rows; ++j) {
            const Vec3 offset{static_cast<float>(i) * spacing.x, 0.0f, static_cast<float>(j) * spacing.z};
            for (SceneObject* object : carried) copies.push_back(&instanceCopy(scene, *object, object->position + offset));
        }
    }
    for (SceneObject* object : carried) rebuildWorldMatrix(*object);
    return copies;
}

}  // namespace morvanex
