// Keeps SDL's video and event subsystems up for as long as one owner lives.
#pragma once

#include <string>

namespace morvanex {

// For jobs without a window of their own (render, benchmarks): with no
// display to show a window on, SDL's offscreen driver is used, unless a
// driver was chosen already. Call before the session starts.
void preferOffscreenVideoWithoutDisplay();

class SdlSession {
public:
    SdlSession();
    ~SdlSession();
    SdlSession(const SdlSession&) = delete;
    SdlSession& operator=(const SdlSession&) = delete;

    bool ok() const { return ok_; }
    const std::string& error() const { return error_; }

private:
    bool ok_ = false;
    std::string error_;
};

}  // namespace morvanex
