// Test files: a unique temporary folder, reading and writing whole files,
// FIFOs and jobs that must not block on them.
#pragma once

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <string>
#include <string_view>
#include <system_error>

namespace morvanex::test {

// A fresh folder under the system temporary folder, removed with its
// content when the object goes.
class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "morvanex-test-XXXXXX").string();
        if (char* made = ::mkdtemp(pattern.data()); made != nullptr) path_ = made;
        if (path_.empty()) ADD_FAILURE() << "cannot create a temporary folder from " << pattern;
    }
    ~TempFolder() {
        if (path_.empty()) return;
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::filesystem::path& child) const { return path_ / child; }

private:
    std::filesystem::path path_;
};

// Every byte of a file; empty when it cannot be read.
inline std::string readBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::filesystem::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline bool folderIsEmpty(const std::filesystem::path& folder) {
    std::error_code error;
    return std::filesystem::is_empty(folder, error) && !error;
}

// A FIFO at `path`; false when the system would not make one.
inline bool makeFifo(const std::filesystem::path& path) { return ::mkfifo(path.c_str(), 0600) == 0; }

// Runs `job` on a thread. One stuck opening `fifo` for reading is let go
// after a while, by opening the FIFO's writing end, so that the test fails
// rather than hangs.
template <class Job>
auto runWithoutBlockingOn(const std::filesystem::path& fifo, Job job) {
    auto result = std::async(std::launch::async, std::move(job));
    if (result.wait_for(std::chrono::seconds(10)) == std::future_status::timeout) {
        ADD_FAILURE() << "blocked opening " << fifo;
        const int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        result.wait();
        if (writer >= 0) ::close(writer);
    }
    return result.get();
}

}  // namespace morvanex::test
