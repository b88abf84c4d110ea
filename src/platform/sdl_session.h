// Keeps SDL's video and event subsystems up for as long as one owner lives.
#pragma once

#include <string>

namespace morvanex {

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
