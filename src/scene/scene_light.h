// One light slot, shared by the scene's global lights and each object's own.
#pragma once

#include "scene/math.h"

namespace morvanex {

struct SceneLight {
    float intensity = 1.0f;
    // World-space position (w = 0) or an RGBA colour, depending on the slot's
    // use by the shading pass.
    Vec4 positionOrColour{50.0f, 100.0f, 100.0f, 0.0f};
    float secondValue = 1.0f;
};

}  // namespace morvanex
