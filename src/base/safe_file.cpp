#include "base/safe_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

namespace morvanex {
namespace {

void setError(std::string* error, std::string text) {
    if (error != nullptr) *error = std::move(text);
}

std::string systemMessage(int code) { return std::error_code(code, std::generic_category()).message(); }

// Bytes per write: small enough for progress to move on large files.
constexpr std::size_t kWriteStep = std::size_t{1} << 20;

// Writes every byte, retrying short writes and interrupted calls.
bool writeAll(int fd, std::string_view bytes, const ByteProgress& progress) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const std::size_t step = std::min(kWriteStep, bytes.size() - written);
        const ssize_t n = ::write(fd, bytes.data() + written, step);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        written += static_cast<std::size_t>(n);
        reportProgress(progress, written, bytes.size());
    }
    return true;
}

// A name beside the file that nothing uses yet.
std::filesystem::path temporaryBeside(const std::filesystem::path& file) {
    std::error_code ignored;
    for (unsigned n = 0;; ++n) {
        std::filesystem::path candidate = file;
        candidate += ".saving" + std::to_string(n);
        if (!std::filesystem::exists(candidate, ignored)) return candidate;
    }
}

// The file the bytes replace: `file` itself or, through symbolic links, the
// file it points to, so that the link stays a link. Anything that exists and
// is not a regular file (a FIFO, a device, a folder) is refused: renaming
// over it would destroy it, and writing into it is not what a save means.
bool resolveTarget(const std::filesystem::path& file, std::filesystem::path& target, std::string* error) {
    constexpr int kMaxLinks = 40;  // as the system allows before ELOOP
    target = file;
    for (int hops = 0;; ++hops) {
        std::error_code code;
        const std::filesystem::file_status status = std::filesystem::symlink_status(target, code);
        if (status.type() == std::filesystem::file_type::not_found) return true;
        if (code) {
            setError(error, "cannot replace " + file.string() + ": " + code.message());
            return false;
        }
        if (std::filesystem::is_regular_file(status)) return true;
        if (!std::filesystem::is_symlink(status)) {
            setError(error, "not a regular file: left as it was");
            return false;
        }
        if (hops == kMaxLinks) {
            setError(error, "cannot replace " + file.string() + ": " + systemMessage(ELOOP));
            return false;
        }
        const std::filesystem::path points = std::filesystem::read_symlink(target, code);
        if (code) {
            setError(error, "cannot replace " + file.string() + ": " + code.message());
            return false;
        }
        target = points.is_absolute() ? points : target.parent_path() / points;
    }
}

}  // namespace

bool replaceFileSafely(const std::filesystem::path& requested, std::string_view bytes, std::string* error,
                       const ByteProgress& progress) {
    std::filesystem::path file;
    if (!resolveTarget(requested, file, error)) return false;
    const std::filesystem::path temporary = temporaryBeside(file);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        setError(error, "cannot create " + temporary.string() + ": " + systemMessage(errno));
        return false;
    }
    bool written = writeAll(fd, bytes, progress);
    int code = written ? 0 : errno;
    // On disk before the rename, so a power cut cannot leave an empty list.
    if (written && ::fsync(fd) != 0) {
        written = false;
        code = errno;
    }
    if (::close(fd) != 0 && written) {
        written = false;
        code = errno;
    }
    std::error_code renameError;
    if (written) std::filesystem::rename(temporary, file, renameError);
    if (!written || renameError) {
        setError(error, !written ? "cannot write " + temporary.string() + ": " + systemMessage(code)
                                 : "cannot replace " + file.string() + ": " + renameError.message());
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return false;
    }
    // The rename itself reaches the disk with its folder; a failure here
    // leaves either the old or the new list, both whole.
    const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
    const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
    return true;
}

bool replaceFileSafely(const std::filesystem::path& file, std::span<const std::uint8_t> bytes, std::string* error,
                       const ByteProgress& progress) {
    return replaceFileSafely(file, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), error,
                             progress);
}

}  // namespace morvanex
