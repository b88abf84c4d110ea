// The frame clock on a counter the test controls.
#include "app/frame_clock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>


namespace morvanex {
namespace {

constexpr std::uint64_t kFrequency = 1000;  // counter ticks per second

class FrameClockTest : public ::testing::Test {
protected:
    std::uint64_t ticks = 0;
    FrameClock clock{[this] { return ticks; }, kFrequency};
};

TEST_F(FrameClockTest, NowIsCounterOverFrequency) {
    ticks = 2500;
    EXPECT_DOUBLE_EQ(clock.now(), 2.5);
    ticks = 2501;
    EXPECT_DOUBLE_EQ(clock.now(), 2.501);

    // A large counter with a realistic frequency keeps its precision.
    std::uint64_t big = 3'600'000'000'123ULL;  // one hour at 1 GHz, plus 123 ns
    FrameClock fine([&big] { return big; }, 1'000'000'000ULL);
    EXPECT_NEAR(fine.now(), 3600.000000123, 1e-9);
}

TEST_F(FrameClockTest, ZeroFrequencyDoesNotDivideByZero) {
    std::uint64_t at = 7;
    FrameClock odd([&at] { return at; }, 0);
    EXPECT_TRUE(std::isfinite(odd.now()));
    odd.start();
    at = 9;
    EXPECT_TRUE(std::isfinite(odd.delta()));
}

TEST_F(FrameClockTest, RunsOnlyAfterStart) {
    EXPECT_FALSE(clock.running());
    EXPECT_FALSE(clock.paused());
    clock.start();
    EXPECT_TRUE(clock.running());
    EXPECT_FALSE(clock.paused());
}

TEST_F(FrameClockTest, DeltaMeasuresSinceStartThenSincePreviousDelta) {
    ticks = 10'000;  // the counter's origin is not the start
    clock.start();
    ticks = 10'050;
    EXPECT_DOUBLE_EQ(clock.delta(), 0.050);
    ticks = 10'060;
    EXPECT_DOUBLE_EQ(clock.delta(), 0.010);
    // No time passed: nothing is counted twice.
    EXPECT_DOUBLE_EQ(clock.delta(), 0.0);
    ticks = 12'060;
    EXPECT_DOUBLE_EQ(clock.delta(), 2.0);
}

TEST_F(FrameClockTest, RestartForgetsTheTimeBefore) {
    clock.start();
    ticks = 5000;
    clock.start();
    ticks = 5100;
    EXPECT_DOUBLE_EQ(clock.delta(), 0.1);
}

TEST_F(FrameClockTest, CounterGoingBackGivesZeroThenCountsFromTheNewValue) {
    ticks = 1000;
    clock.start();
    ticks = 400;  // another core, or a counter reset
    EXPECT_DOUBLE_EQ(clock.delta(), 0.0);
    // The next frame counts from where the counter went, not from the old
    // high mark (which would freeze the clock until it is passed again).
    ticks = 500;
    EXPECT_DOUBLE_EQ(clock.delta(), 0.1);
    ticks = 0;
    EXPECT_GE(clock.delta(), 0.0);
}

TEST_F(FrameClockTest, PauseFreezesNowAndDelta) {
    clock.start();
    ticks = 2000;
    EXPECT_DOUBLE_EQ(clock.delta(), 2.0);
    clock.pause();
    EXPECT_TRUE(clock.paused());
    EXPECT_TRUE(clock.running());
    ticks = 5000;
    EXPECT_DOUBLE_EQ(clock.now(), 2.0);  // the pause instant
    EXPECT_DOUBLE_EQ(clock.delta(), 0.0);
    ticks = 6000;
    EXPECT_DOUBLE_EQ(clock.delta(), 0.0);  // asking while paused changes nothing
    EXPECT_DOUBLE_EQ(clock.now(), 2.0);
}

TEST_F(FrameClockTest, PausedSpanIsNotCountedAfterResume) {
    clock.start();
    ticks = 2000;
    EXPECT_DOUBLE_EQ(clock.delta(), 2.0);
    clock.pause();
    ticks = 9000;
    EXPECT_DOUBLE_EQ(clock.delta(), 0.0);
    clock.resume();
    EXPECT_FALSE(clock.paused());
    ticks = 9250;
    EXPECT_DOUBLE_EQ(clock.delta(), 0.25);
    // now() follows the counter again.
    EXPECT_DOUBLE_EQ(clock.now(), 9.25);
}

TEST_F(FrameClockTest, PausingOrResumingTwiceIsHarmless) {
    clock.start();
    ticks = 1000;
    clock.delta();
    clock.pause();
    ticks = 3000;
    clock.pause();  // must not move the pause instant
    EXPECT_DOUBLE_EQ(clock.now(), 1.0);

    ticks = 5000;
    clock.resume();
    ticks = 6000;
    clock.resume();  // not paused: must not forget the second since resuming
    ticks = 7000;
    EXPECT_DOUBLE_EQ(clock.delta(), 2.0);
}

TEST_F(FrameClockTest, ResumeWithoutPauseKeepsTheRunningDelta) {
    clock.start();
    ticks = 1500;
    clock.resume();
    EXPECT_DOUBLE_EQ(clock.delta(), 1.5);
}

TEST_F(FrameClockTest, StartWhilePausedRunsAgain) {
    clock.start();
    clock.pause();
    ticks = 4000;
    clock.start();
    EXPECT_FALSE(clock.paused());
    ticks = 4300;
    EXPECT_DOUBLE_EQ(clock.delta(), 0.3);
    EXPECT_DOUBLE_EQ(clock.now(), 4.3);
}

}  // namespace
}  // namespace morvanex
