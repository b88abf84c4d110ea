// The frame-rate independent fades.
#include "base/fade.h"

#include <gtest/gtest.h>

#include <cmath>

namespace morvanex {
namespace {

float fadeInSteps(float from, float to, float rate, int steps, float dt) {
    float value = from;
    for (int i = 0; i < steps; ++i) value = fadeToward(value, to, rate, dt);
    return value;
}

TEST(Fade, ZeroTimeLeavesTheValue) {
    EXPECT_EQ(fadeToward(0.3f, 1.0f, 30.0f, 0.0f), 0.3f);
    EXPECT_EQ(fadeToward(-2.0f, 5.0f, 1.0f, 0.0f), -2.0f);
}

TEST(Fade, ShareOfTheWayPerSecondFollowsTheRate) {
    // Rate 1 covers a tenth of the way per second; rate 2 covers 1 - 0.9^2.
    EXPECT_NEAR(fadeToward(0.0f, 1.0f, 1.0f, 1.0f), 0.1f, 1e-6f);
    EXPECT_NEAR(fadeToward(0.0f, 1.0f, 2.0f, 1.0f), 0.19f, 1e-6f);
    // The share applies to the remaining distance, in either direction.
    EXPECT_NEAR(fadeToward(10.0f, 0.0f, 1.0f, 1.0f), 9.0f, 1e-5f);
    EXPECT_NEAR(fadeToward(-1.0f, 1.0f, 1.0f, 1.0f), -0.8f, 1e-6f);
}

TEST(Fade, LongTimeApproachesTheTargetWithoutPassingIt) {
    EXPECT_NEAR(fadeToward(0.0f, 1.0f, 30.0f, 100.0f), 1.0f, 1e-6f);
    EXPECT_NEAR(fadeToward(5.0f, -3.0f, 30.0f, 100.0f), -3.0f, 1e-5f);
    for (float dt : {0.001f, 0.016f, 0.1f, 1.0f, 10.0f}) {
        const float up = fadeToward(0.0f, 1.0f, 30.0f, dt);
        EXPECT_GE(up, 0.0f) << dt;
        EXPECT_LE(up, 1.0f) << dt;
        const float down = fadeToward(1.0f, 0.0f, 30.0f, dt);
        EXPECT_GE(down, 0.0f) << dt;
        EXPECT_LE(down, 1.0f) << dt;
    }
}

TEST(Fade, SameResultWhateverTheFrameRate) {
    for (float rate : {0.5f, 2.0f, 30.0f}) {
        const float at60 = fadeInSteps(0.0f, 1.0f, rate, 60, 1.0f / 60.0f);
        const float at30 = fadeInSteps(0.0f, 1.0f, rate, 30, 1.0f / 30.0f);
        const float once = fadeInSteps(0.0f, 1.0f, rate, 1, 1.0f);
        EXPECT_NEAR(at60, at30, 1e-4f) << "rate " << rate;
        EXPECT_NEAR(at60, once, 1e-4f) << "rate " << rate;
    }
    // Half a second at 120 frames per second against one 0.5 s frame, downwards.
    EXPECT_NEAR(fadeInSteps(8.0f, 2.0f, 3.0f, 60, 1.0f / 120.0f), fadeToward(8.0f, 2.0f, 3.0f, 0.5f), 1e-4f);
}

TEST(Fade, InactiveFadeDoesNothing) {
    Fade fade;
    EXPECT_FALSE(fade.active);
    fade.value = 0.4f;
    fade.target = 1.0f;
    EXPECT_FALSE(fade.step(1.0f));
    EXPECT_EQ(fade.value, 0.4f);
}

TEST(Fade, StopsOnTheTargetOnTheFinishingStepOnly) {
    Fade fade;
    fade.start(0.0f, 1.0f);
    ASSERT_TRUE(fade.active);
    EXPECT_EQ(fade.value, 0.0f);

    int finishingSteps = 0;
    int steps = 0;
    while (fade.active && steps < 10'000) {
        const bool finished = fade.step(1.0f / 60.0f);
        ++steps;
        if (finished) {
            ++finishingSteps;
            EXPECT_EQ(fade.value, 1.0f);  // landed exactly
            EXPECT_FALSE(fade.active);
        } else {
            EXPECT_TRUE(fade.active);
            EXPECT_GE(std::fabs(fade.target - fade.value), 0.01f) << "still running within 0.01";
        }
    }
    EXPECT_EQ(finishingSteps, 1);
    EXPECT_GT(steps, 1);
    EXPECT_LT(steps, 10'000);

    // Finished: further steps change nothing and report nothing.
    EXPECT_FALSE(fade.step(1.0f / 60.0f));
    EXPECT_EQ(fade.value, 1.0f);
}

TEST(Fade, FinishesWhenWithinOneHundredth) {
    Fade near;
    near.start(0.0f, 0.005f);
    EXPECT_TRUE(near.step(0.0f));  // already within 0.01: lands at once
    EXPECT_EQ(near.value, 0.005f);
    EXPECT_FALSE(near.active);

    Fade atLimit;
    atLimit.start(0.0f, 0.01f);
    EXPECT_FALSE(atLimit.step(0.0f));  // exactly 0.01 away is not within
    EXPECT_TRUE(atLimit.active);
    EXPECT_EQ(atLimit.value, 0.0f);

    Fade same;
    same.start(0.7f, 0.7f);
    EXPECT_TRUE(same.step(0.016f));
    EXPECT_EQ(same.value, 0.7f);
}

TEST(Fade, FadesDownwardsToo) {
    Fade fade;
    fade.start(1.0f, 0.0f);
    int steps = 0;
    while (!fade.step(0.02f) && steps < 10'000) ++steps;
    EXPECT_EQ(fade.value, 0.0f);
    EXPECT_FALSE(fade.active);
    EXPECT_LT(steps, 10'000);
}

TEST(Fade, RestartAfterFinishingRunsAgain) {
    Fade fade;
    fade.start(0.0f, 1.0f);
    fade.step(100.0f);
    ASSERT_FALSE(fade.active);
    fade.start(1.0f, 0.5f);
    EXPECT_TRUE(fade.active);
    EXPECT_FALSE(fade.step(0.0f));
    EXPECT_EQ(fade.value, 1.0f);
    EXPECT_TRUE(fade.step(100.0f));
    EXPECT_EQ(fade.value, 0.5f);
}

}  // namespace
}  // namespace morvanex
