// What the view tools ask of a creation tool: follow the pointer's world
// ray, and take a click on it (true when the click was the tool's).
#pragma once

#include "modeling/ray_triangle.h"

namespace morvanex {

class CreationSteps {
public:
    virtual ~CreationSteps() = default;
    virtual void move(const Ray& /*worldRay*/) {}
    virtual bool click(const Ray& /*worldRay*/) { return false; }
};

}  // namespace morvanex
