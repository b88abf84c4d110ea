// Our own DDS reader and writer, pure functions over bytes (no graphics
// calls), so that damaged files can be tested without a driver.
//
// Read: uncompressed pixels described by bit masks (8, 16, 24 or 32 bits a
// pixel: RGB with or without alpha in any channel order, luminance,
// alpha only), DXT1/DXT2/DXT3/DXT4/DXT5 (BC1, BC2, BC3; the premultiplied
// DXT2 and DXT4 are kept as stored), the extended "DX10" header for the
// matching formats, mip chains and complete cube maps. Masked formats come
// out as RGBA8; block formats stay compressed (decompressToRgba8 expands
// them where the driver cannot take them).
// Write: RGBA8, 2D or cube, with every mip level of the record.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "image/image_record.h"

namespace morvanex {

inline constexpr std::size_t kDdsHeaderSize = 128;  // magic + header

bool looksLikeDds(std::span<const std::uint8_t> bytes);

// Every size the header claims is checked against the bytes that follow it
// before anything is allocated.
ImageResult decodeDds(std::span<const std::uint8_t> bytes);

// One 4 x 4 block to 16 RGBA pixels, rows top first.
std::array<std::uint8_t, 64> decodeBc1Block(std::span<const std::uint8_t, 8> block);
std::array<std::uint8_t, 64> decodeBc2Block(std::span<const std::uint8_t, 16> block);
std::array<std::uint8_t, 64> decodeBc3Block(std::span<const std::uint8_t, 16> block);

// The same image in RGBA8 (a copy when it already is); fails only on a
// record that is not well formed.
ImageResult decompressToRgba8(const DecodedImage& image);

// A complete DDS file of the image in RGBA8 (block formats are expanded
// first); empty when the record is not well formed.
std::vector<std::uint8_t> encodeDds(const DecodedImage& image);

}  // namespace morvanex
