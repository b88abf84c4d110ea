#include "ui/colour_fade.h"

#include <cmath>

#include "base/fade.h"

namespace morvanex {

float fadeFactor(float rate, float dt) { return 1.0f - std::pow(0.9f, rate * dt); }

void fadeColour(Vec4& colour, const Vec4& target, float rate, float dt) {
    const float t = fadeFactor(rate, dt);
    colour += (target - colour) * t;
}

bool FadeTimer::step(float dt) {
    if (!active) return false;
    value = fadeToward(value, 0.0f, rate, dt);
    if (value >= 0.01f) return false;
    active = false;
    return true;
}

}  // namespace morvanex
