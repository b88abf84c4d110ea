// A decoded image as it leaves the codecs and enters the texture upload:
// plain bytes, no graphics objects. Rows are stored top first, exactly as
// the file holds them, so that texture coordinate v = 0 is the top of the
// image.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace morvanex {

enum class PixelFormat : std::uint8_t {
    Rgba8,  // 4 bytes a pixel: red, green, blue, alpha
    Bc1,    // 8-byte blocks of 4 x 4 pixels (DXT1)
    Bc2,    // 16-byte blocks, explicit 4-bit alpha (DXT3)
    Bc3,    // 16-byte blocks, interpolated alpha (DXT5)
};

enum class ImageFileFormat : std::uint8_t { Unknown, Bmp, Jpg, Png, Tga, Dds };

// Larger images are refused before anything is allocated: no texture the
// program draws comes near this, and a header claiming more is damage.
inline constexpr int kMaxImageDimension = 16384;

struct ImageLevel {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bytes;  // rows top first, tightly packed (block rows when compressed)
};

struct DecodedImage {
    PixelFormat format = PixelFormat::Rgba8;
    ImageFileFormat fileFormat = ImageFileFormat::Unknown;
    int width = 0;
    int height = 0;
    int mipLevels = 1;
    int faces = 1;  // 6 for a cube, in the order +X, -X, +Y, -Y, +Z, -Z
    std::vector<ImageLevel> levels;  // faces * mipLevels entries, face after face

    bool isCube() const { return faces == 6; }
    const ImageLevel& level(int face, int mip) const { return levels[static_cast<std::size_t>(face * mipLevels + mip)]; }
    ImageLevel& level(int face, int mip) { return levels[static_cast<std::size_t>(face * mipLevels + mip)]; }
};

// Either an image or the reason there is none (for the trace log).
struct ImageResult {
    std::optional<DecodedImage> image;
    std::string error;

    explicit operator bool() const { return image.has_value(); }
    static ImageResult failure(std::string why) { return {std::nullopt, std::move(why)}; }
    static ImageResult success(DecodedImage decoded) { return {std::move(decoded), {}}; }
};

bool isBlockCompressed(PixelFormat format);
int bytesPerBlock(PixelFormat format);  // 0 for Rgba8
std::uint64_t levelByteSize(PixelFormat format, int width, int height);
int mipDimension(int size, int level);
int fullMipCount(int width, int height);
const char* fileFormatName(ImageFileFormat format);

// The record is self-consistent: level counts, sizes and byte counts agree.
bool isWellFormed(const DecodedImage& image);

}  // namespace morvanex
