// The bytes of a whole regular file, for readers that want them all at once.
// On POSIX systems the file is mapped, so a reader works straight on the page
// cache (no copy, no fresh memory to clear); elsewhere it is read into memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string_view>

namespace morvanex {

class FileBytes {
public:
    explicit FileBytes(const std::filesystem::path& path);
    ~FileBytes();
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;

    bool opened() const { return opened_; }
    // A FIFO, device, folder...: never read, whatever it would give.
    bool notRegular() const { return notRegular_; }
    std::span<const std::uint8_t> bytes() const {
        if (size_ == 0) return {};
        return {mapped_ != nullptr ? mapped_ : copy_.get(), size_};
    }
    std::string_view text() const {
        const std::span<const std::uint8_t> b = bytes();
        return {reinterpret_cast<const char*>(b.data()), b.size()};
    }

private:
    bool opened_ = false;
    bool notRegular_ = false;
    std::size_t size_ = 0;
    const std::uint8_t* mapped_ = nullptr;
    std::unique_ptr<std::uint8_t[]> copy_;
};

}  // namespace morvanex
