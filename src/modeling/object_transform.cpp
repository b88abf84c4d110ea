#include "modeling/object_transform.h"

#include "scene/scene.h"
#include "scene/scene_object.h"

namespace morvanex {

namespace {
constexpr float kFullTurn = 6.2831855f;
}  // namespace

Quat orientationFromAxisAngle(Vec3 axis, float angle) {
    if (angle == kFullTurn) angle = 6.2821856f;
    if (angle == -kFullTurn) angle = 6.2841854f;
    return quatFromAxisAngle(axis, angle);
}

Mat4 localMatrixWithoutPosition(const SceneObject& object) {
    Mat4 w = object.baseMatrix * matrixScaling(object.scale);
    const Vec3 c = transformPoint(object.pivot, w);
    const Quat q = orientationFromAxisAngle(object.rotationAxis, object.rotationAngle);
    return w * matrixTranslation(-c) * matrixFromQuat(q) * matrixTranslation(c);
}

void rebuildWorldMatrix(SceneObject& object) {
    // Children and linked copies are placed by the object that carries them:
    // a copy moved on its own is placed again through its owner (one level
    // only, so owners that carry each other cannot loop).
    if (object.parent != nullptr) return;
    if (SceneObject* owner = object.render.instanceOwner) {
        if (owner != &object && owner->parent == nullptr && owner->render.instanceOwner == nullptr) {
            rebuildWorldMatrix(*owner);
        }
        return;
    }
    object.orientation = orientationFromAxisAngle(object.rotationAxis, object.rotationAngle);
    object.worldMatrix = localMatrixWithoutPosition(object) * matrixTranslation(object.position);
    const Mat4& leaderWorld =
        object.groupLeader != nullptr && object.groupLeader != &object ? object.groupLeader->worldMatrix
                                                                       : object.worldMatrix;
    for (ObjectLink& link : object.links) {
        SceneObject* copy = link.object;
        if (copy == nullptr || copy == &object) continue;
        copy->render.instanceOwner = &object;
        copy->orientation = orientationFromAxisAngle(copy->rotationAxis, copy->rotationAngle);
        link.relativeMatrix = localMatrixWithoutPosition(*copy) * matrixTranslation(copy->position - object.position);
        copy->worldMatrix = link.relativeMatrix * leaderWorld;
    }
}

void rebuildWorldMatrices(Scene& scene) {
    // Copies first learn who carries them, wherever they sit in the list.
    for (const auto& object : scene.objects()) {
        for (const ObjectLink& link : object->links) {
            if (link.object != nullptr && link.object != object.get()) link.object->render.instanceOwner = object.get();
        }
    }
    // Copies are placed by their owner's rebuild (once, not once per copy).
    for (const auto& object : scene.objects()) {
        if (object->render.instanceOwner == nullptr) rebuildWorldMatrix(*object);
    }
}

}  // namespace morvanex
