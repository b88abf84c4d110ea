#include "base/file_bytes.h"

#if defined(__unix__) || defined(__APPLE__)
#define MORVANEX_HAS_MMAP 1
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#define MORVANEX_HAS_MMAP 0
#include <fstream>
#include <system_error>
#endif

namespace morvanex {

FileBytes::FileBytes(const std::filesystem::path& path) {
#if MORVANEX_HAS_MMAP
    // Without O_NONBLOCK, opening a FIFO waits for a writer forever; the
    // type is checked on what was opened, so nothing can swap it between.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return;
    struct stat info {};
    const bool known = ::fstat(fd, &info) == 0;
    notRegular_ = known && !S_ISREG(info.st_mode);
    if (known && !notRegular_) {
        size_ = static_cast<std::size_t>(info.st_size);
        opened_ = true;
        if (size_ > 0) {
            void* at = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, fd, 0);
            if (at != MAP_FAILED) {
                mapped_ = static_cast<const std::uint8_t*>(at);
                ::madvise(at, size_, MADV_SEQUENTIAL);
            } else {
                opened_ = false;
            }
        }
    }
    ::close(fd);
#else
    std::error_code error;
    if (std::filesystem::exists(path, error) && !std::filesystem::is_regular_file(path, error)) {
        notRegular_ = true;
        return;
    }
    const auto size = std::filesystem::file_size(path, error);
    std::ifstream file(path, std::ios::binary);
    if (error || !file) return;
    size_ = static_cast<std::size_t>(size);
    // Every byte is overwritten by the read: no need to clear them first.
    copy_ = std::make_unique_for_overwrite<std::uint8_t[]>(size_);
    file.read(reinterpret_cast<char*>(copy_.get()), static_cast<std::streamsize>(size_));
    opened_ = static_cast<std::size_t>(file.gcount()) == size_;
#endif
}

FileBytes::~FileBytes() {
#if MORVANEX_HAS_MMAP
    if (mapped_ != nullptr) ::munmap(const_cast<std::uint8_t*>(mapped_), size_);
#endif
}

}  // namespace morvanex
