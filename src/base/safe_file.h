// Replacing a file so that a crash, a full disk or a power cut never leaves
// it half written: the bytes go to a temporary file beside it, reach the
// disk, and only then take the file's place.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "base/byte_progress.h"

namespace morvanex {

// False, with the reason in `error`, when any step fails; the file then is
// exactly as it was and the temporary file is gone. A symbolic link is
// followed: the file it points to is replaced and the link stays. A target
// that exists and is not a regular file (FIFO, device, folder) is refused
// before anything is written.
// `progress`, when given, hears how many bytes reached the temporary file.
bool replaceFileSafely(const std::filesystem::path& file, std::string_view bytes, std::string* error = nullptr,
                       const ByteProgress& progress = {});
bool replaceFileSafely(const std::filesystem::path& file, std::span<const std::uint8_t> bytes,
                       std::string* error = nullptr, const ByteProgress& progress = {});
// The file's bytes are these pieces one after the other, written straight
// from where they lie.
bool replaceFileSafely(const std::filesystem::path& file, std::span<const std::span<const std::uint8_t>> pieces,
                       std::string* error = nullptr, const ByteProgress& progress = {});

}  // namespace morvanex
