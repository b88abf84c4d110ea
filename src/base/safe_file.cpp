#include "base/safe_file.h"

#include <fcntl.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <system_error>

namespace morvanex {
namespace {

void setError(std::string* error, std::string text) {
    if (error != nullptr) *error = std::move(text);
}

std::string systemMessage(int code) { return std::error_code(code, std::generic_category()).message(); }

using Piece = std::span<const std::uint8_t>;

// Bytes per write: small enough for progress to move on large files, large
// enough that the calls cost nothing beside the copying.
constexpr std::size_t kWriteStep = std::size_t{1} << 20;
constexpr std::size_t kMaxPiecesPerWrite = 64;

// Where the next byte to write lies among the pieces.
struct PiecePlace {
    std::size_t piece = 0;
    std::size_t offset = 0;

    void advance(std::span<const Piece> pieces, std::size_t count) {
        while (count > 0) {
            const std::size_t left = pieces[piece].size() - offset;
            if (count < left) {
                offset += count;
                return;
            }
            count -= left;
            ++piece;
            offset = 0;
        }
        while (piece < pieces.size() && pieces[piece].empty()) ++piece;
    }
};

// Up to one step's worth of bytes from `from` on, as the system's list of pieces.
std::size_t gatherStep(std::span<const Piece> pieces, PiecePlace from, std::array<iovec, kMaxPiecesPerWrite>& list) {
    std::size_t count = 0;
    std::size_t bytes = 0;
    for (std::size_t p = from.piece; p < pieces.size() && count < list.size() && bytes < kWriteStep; ++p) {
        const std::size_t offset = p == from.piece ? from.offset : 0;
        const std::size_t take = std::min(pieces[p].size() - offset, kWriteStep - bytes);
        if (take == 0) continue;
        // The system's list takes mutable pointers but only reads through them.
        list[count++] = {const_cast<std::uint8_t*>(pieces[p].data() + offset), take};
        bytes += take;
    }
    return count;
}

// Writes every byte of the pieces in order, retrying short writes and
// interrupted calls.
bool writeAll(int fd, std::span<const Piece> pieces, const ByteProgress& progress) {
    std::uint64_t total = 0;
    for (const Piece& piece : pieces) total += piece.size();
    PiecePlace place;
    place.advance(pieces, 0);
    std::uint64_t written = 0;
    std::array<iovec, kMaxPiecesPerWrite> list{};
    while (written < total) {
        const std::size_t count = gatherStep(pieces, place, list);
        const ssize_t n = ::writev(fd, list.data(), static_cast<int>(count));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        place.advance(pieces, static_cast<std::size_t>(n));
        written += static_cast<std::uint64_t>(n);
        reportProgress(progress, written, total);
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

bool replaceFileSafely(const std::filesystem::path& requested, std::span<const Piece> pieces, std::string* error,
                       const ByteProgress& progress) {
    std::filesystem::path file;
    if (!resolveTarget(requested, file, error)) return false;
    const std::filesystem::path temporary = temporaryBeside(file);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        setError(error, "cannot create " + temporary.string() + ": " + systemMessage(errno));
        return false;
    }
    bool written = writeAll(fd, pieces, progress);
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
    const Piece whole[] = {bytes};
    return replaceFileSafely(file, whole, error, progress);
}

bool replaceFileSafely(const std::filesystem::path& file, std::string_view bytes, std::string* error,
                       const ByteProgress& progress) {
    return replaceFileSafely(file, Piece(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), error,
                             progress);
}

}  // namespace morvanex
