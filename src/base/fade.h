// Fades: values eased towards a target at a rate that does not depend on the
// frame rate.
#pragma once

namespace morvanex {

// Moves `value` towards `target` by the factor 1 - 0.9^(rate * dt): the same
// share of the way per second whatever the frame rate. dt in seconds.
float fadeToward(float value, float target, float rate, float dt);

// A fade that runs until its value is within 0.01 of its target, then lands
// on the target and stops.
struct Fade {
    float value = 0.0f;
    float target = 0.0f;
    float rate = 30.0f;
    bool active = false;

    void start(float from, float to) {
        value = from;
        target = to;
        active = true;
    }
    // Advances by dt seconds; true on the step that finishes the fade.
    bool step(float dt);
};

}  // namespace morvanex
