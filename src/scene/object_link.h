// A linked copy of an object: its saved transform and the object that
// carries it in the scene.
#pragma once

#include "scene/math.h"

namespace morvanex {

struct SceneObject;

struct ObjectLink {
    // Saved transform of the linked object, in its owner's parent space.
    Vec3 position;
    Vec3 rotationAxis{0.0f, 1.0f, 0.0f};
    float rotationAngle = 0.0f;  // radians
    Vec3 scale{1.0f, 1.0f, 1.0f};
    Vec3 pivot;

    // Run-time: placement relative to the owner, refreshed on every
    // world-matrix rebuild of the owner.
    Mat4 relativeMatrix;

    // The linked object; owned by the scene, not by the link.
    SceneObject* object = nullptr;
};

}  // namespace morvanex
