// Image files to decoded images and back, pure functions over bytes.
// BMP, JPG, PNG and TGA are read through stb_image, DDS through our own
// codec. Every decoder refuses data whose header claims more pixels than
// the bytes can hold before it allocates for them.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "image/image_record.h"

namespace morvanex {

// The format the bytes announce (by signature; TGA, which has none, by a
// plausible header), Unknown otherwise.
ImageFileFormat sniffImageFormat(std::span<const std::uint8_t> bytes);

// Any supported format. DDS block formats stay compressed; everything else
// is RGBA8, rows top first.
ImageResult decodeImage(std::span<const std::uint8_t> bytes);

// The same, but always RGBA8 (block formats expanded).
ImageResult decodeImageRgba8(std::span<const std::uint8_t> bytes);

// A 24-bit uncompressed BMP of the first level of the first face (alpha is
// dropped); empty when the record is not well formed.
std::vector<std::uint8_t> encodeBmp24(const DecodedImage& image);

// A PNG of the first level of the first face (RGBA8 only); empty when the
// record is not an RGBA8 image.
std::vector<std::uint8_t> encodePng(const DecodedImage& image);

// The image with exactly `levels` mip levels (0: the full chain; more than
// the full chain is clamped). Levels the record already has are kept; the
// missing ones are made from the previous level, averaging 2 x 2 pixels when
// `filtered`, else taking the top-left pixel of each 2 x 2. Generating
// levels expands block formats to RGBA8.
ImageResult withMipLevels(const DecodedImage& image, int levels, bool filtered);

// The first level of the first face placed at the top left of a
// width x height RGBA8 image, without scaling; what falls outside is cut
// off, what the image does not cover is transparent black.
ImageResult fitToCanvas(const DecodedImage& image, int width, int height);

}  // namespace morvanex
