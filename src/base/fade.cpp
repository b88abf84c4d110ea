#include "base/fade.h"

#include <cmath>

namespace morvanex {

float fadeToward(float value, float target, float rate, float dt) {
    const float share = 1.0f - std::pow(0.9f, rate * dt);
    return value + (target - value) * share;
}

bool Fade::step(float dt) {
    if (!active) return false;
    value = fadeToward(value, target, rate, dt);
    if (std::fabs(target - value) >= 0.01f) return false;
    value = target;
    active = false;
    return true;
}

}  // namespace morvanex
