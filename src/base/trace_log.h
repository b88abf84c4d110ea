// The trace log: one plain line per event, appended to "trace.txt" in the
// program-data folder. Each line opens the file, appends the text bytes and
// CR LF, and closes it again, so that the log survives a crash right after.
// No time stamp, no level. A line that cannot be written is lost silently.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace morvanex {

inline constexpr const char* kTraceFileName = "trace.txt";

class TraceLog {
public:
    TraceLog() = default;  // logs nowhere
    explicit TraceLog(std::filesystem::path path) : path_(std::move(path)) {}

    void line(std::string_view text) const;

    // "Call, hr = RESULT": the form of every graphics and sound failure line.
    void result(std::string_view call, std::string_view resultName) const;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace morvanex
