// 3DS import: one object per mesh object of the file that has faces (split
// by material where its faces use several), its Z-up axes turned Y-up by
// exchanging Y and Z and the winding reversed. Smoothing groups give shared
// normals; faces outside every group are flat. Lights, cameras, keyframes
// and the mesh matrix are read past.
//
// Chunk lengths are never trusted beyond the bytes that hold them: a chunk
// that claims more than its parent is cut to it, one too short to hold its
// header ends its parent's walk, and what was read before stays.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

#include "import/import_result.h"

namespace morvanex {

ImportResult import3dsBytes(std::span<const std::uint8_t> bytes, const ImportOptions& options);
ImportResult import3ds(const std::filesystem::path& path, ImportOptions options = {});

}  // namespace morvanex
