#include "app/frame_clock.h"

namespace morvanex {

FrameClock::FrameClock(CounterSource counter, std::uint64_t frequency)
    : counter_(std::move(counter)), frequency_(frequency == 0 ? 1 : frequency) {}

void FrameClock::start() {
    previous_ = counter();
    running_ = true;
    paused_ = false;
}

double FrameClock::now() const {
    const std::uint64_t at = paused_ ? pauseMark_ : counter();
    return static_cast<double>(at) / static_cast<double>(frequency_);
}

double FrameClock::delta() {
    if (paused_) return 0.0;
    const std::uint64_t at = counter();
    // A counter that went back (another core, a reset) gives no time, not a huge one.
    const double seconds = at >= previous_ ? static_cast<double>(at - previous_) / static_cast<double>(frequency_) : 0.0;
    previous_ = at;
    return seconds;
}

void FrameClock::pause() {
    if (paused_) return;
    pauseMark_ = counter();
    paused_ = true;
}

void FrameClock::resume() {
    if (!paused_) return;
    paused_ = false;
    previous_ = counter();
}

}  // namespace morvanex
