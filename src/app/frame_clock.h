// The frame clock: seconds from the high-resolution counter.
#pragma once

#include <cstdint>
#include <functional>

namespace morvanex {

class FrameClock {
public:
    using CounterSource = std::function<std::uint64_t()>;

    FrameClock(CounterSource counter, std::uint64_t frequency);

    // Starts (or restarts) counting from now.
    void start();

    // Seconds since the counter's origin; while paused, the pause instant.
    double now() const;

    // Seconds since the previous delta() (or start); never negative. While
    // paused it is 0, and the paused span is not counted after resuming.
    double delta();

    void pause();
    void resume();
    bool paused() const { return paused_; }
    bool running() const { return running_; }

private:
    std::uint64_t counter() const { return counter_(); }

    CounterSource counter_;
    std::uint64_t frequency_;
    std::uint64_t previous_ = 0;
    std::uint64_t pauseMark_ = 0;
    bool running_ = false;
    bool paused_ = false;
};

}  // namespace morvanex
