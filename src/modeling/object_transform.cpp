#include "modeling/object_transform.h"

#include "scene/scene.h"
#include "scene/scene_object.h"

namespace morvanex {

namespace {

constexpr float kFullTurn = 6.2831855f;
// Deeper trees than this (or a parent loop read from a damaged file) are
// not followed.
constexpr int kMaxTreeDepth = 256;

const Mat4& leaderWorldOf(const SceneObject& object) {
    return object.groupLeader != nullptr && object.groupLeader != &object ? object.groupLeader->worldMatrix
                                                                          : object.worldMatrix;
}

SceneObject* topAncestor(SceneObject& object) {
    SceneObject* top = &object;
    for (int depth = 0; top->parent != nullptr; ++depth) {
        if (depth >= kMaxTreeDepth) return nullptr;
        top = top->parent;
    }
    return top;
}

bool carriesAsLink(const SceneObject& owner, const SceneObject* object) {
    for (const ObjectLink& link : owner.links) {
        if (link.object == object) return true;
    }
    return false;
}

// The object's own matrix followed by frame, then its linked copies and
// its children placed from it.
void placeIn(SceneObject& object, const Mat4& frame, int depth) {
    object.orientation = orientationFromAxisAngle(object.rotationAxis, object.rotationAngle);
    object.worldMatrix = localMatrixWithoutPosition(object) * matrixTranslation(object.position) * frame;
    const Mat4& leaderWorld = leaderWorldOf(object);
    for (ObjectLink& link : object.links) {
        SceneObject* copy = link.object;
        if (copy == nullptr || copy == &object) continue;
        copy->render.instanceOwner = &object;
        copy->orientation = orientationFromAxisAngle(copy->rotationAxis, copy->rotationAngle);
        link.relativeMatrix = localMatrixWithoutPosition(*copy) * matrixTranslation(copy->position - object.position);
        copy->worldMatrix = link.relativeMatrix * leaderWorld;
    }
    if (depth >= kMaxTreeDepth) return;
    for (SceneObject* child : object.children) {
        // A child that is also a linked copy was placed by its link above.
        if (child == nullptr || child == &object || child->parent != &object || carriesAsLink(object, child)) continue;
        placeIn(*child, object.worldMatrix, depth + 1);
    }
}

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

Mat4 placingFrame(const SceneObject& object) {
    if (object.parent != nullptr) return object.parent->worldMatrix;
    const SceneObject* owner = object.render.instanceOwner;
    if (owner != nullptr && owner != &object && carriesAsLink(*owner, &object)) {
        return matrixTranslation(-owner->position) * leaderWorldOf(*owner);
    }
    return identity();
}

void rebuildWorldMatrix(SceneObject& object) {
    // Children and linked copies are placed by the object that carries them:
    // a child through its topmost ancestor, a copy moved on its own through
    // its owner (one level only, so owners that carry each other cannot loop).
    if (object.parent != nullptr) {
        SceneObject* top = topAncestor(object);
        if (top != nullptr && top != &object && top->render.instanceOwner == nullptr) rebuildWorldMatrix(*top);
        return;
    }
    if (SceneObject* owner = object.render.instanceOwner) {
        if (owner != &object && owner->parent == nullptr && owner->render.instanceOwner == nullptr) {
            rebuildWorldMatrix(*owner);
        }
        return;
    }
    placeIn(object, identity(), 0);
}

void rebuildWorldMatrices(Scene& scene) {
    // Copies first learn who carries them, wherever they sit in the list.
    for (const auto& object : scene.objects()) {
        for (const ObjectLink& link : object->links) {
            if (link.object != nullptr && link.object != object.get()) link.object->render.instanceOwner = object.get();
        }
    }
    // Copies and children are placed by their owner's or their root's
    // rebuild (once, not once per copy or child).
    for (const auto& object : scene.objects()) {
        if (object->render.instanceOwner == nullptr && object->parent == nullptr) rebuildWorldMatrix(*object);
    }
}

}  // namespace morvanex
