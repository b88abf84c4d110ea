// The colour fade every widget shares, and the hint delay timer.
#pragma once

#include "scene/math.h"

namespace morvanex {

// Fade rates (k of 1 - 0.9^(k dt)).
inline constexpr float kWidgetFadeRate = 30.0f;
inline constexpr float kBodyFadeRate = 60.0f;
inline constexpr float kHintFadeRate = 20.0f;

inline constexpr Vec4 kOpaqueWhite{1.0f, 1.0f, 1.0f, 1.0f};
inline constexpr Vec4 kTransparentWhite{1.0f, 1.0f, 1.0f, 0.0f};

// The share of the way a fade of rate k covers in dt seconds.
float fadeFactor(float rate, float dt);
// Moves the colour towards the target by that share.
void fadeColour(Vec4& colour, const Vec4& target, float rate, float dt);

// Delay of a hint: starts at 1 and runs down towards 0 with its rate until
// it is under 0.01 (about 1.46 s at rate 30).
struct FadeTimer {
    float value = 0.0f;
    bool active = false;
    float rate = 30.0f;

    void start() {
        value = 1.0f;
        active = true;
    }
    // True on the step that runs the timer out.
    bool step(float dt);
};

}  // namespace morvanex
