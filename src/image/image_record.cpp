#include "image/image_record.h"

#include <algorithm>

namespace morvanex {

bool isBlockCompressed(PixelFormat format) { return format != PixelFormat::Rgba8; }

int bytesPerBlock(PixelFormat format) {
    switch (format) {
    case PixelFormat::Bc1: return 8;
    case PixelFormat::Bc2:
    case PixelFormat::Bc3: return 16;
    case PixelFormat::Rgba8: break;
    }
    return 0;
}

std::uint64_t levelByteSize(PixelFormat format, int width, int height) {
    const auto w = static_cast<std::uint64_t>(std::max(width, 0));
    const auto h = static_cast<std::uint64_t>(std::max(height, 0));
    if (!isBlockCompressed(format)) return w * h * 4;
    return ((w + 3) / 4) * ((h + 3) / 4) * static_cast<std::uint64_t>(bytesPerBlock(format));
}

int mipDimension(int size, int level) {
    if (level >= 31) return 1;
    return std::max(1, size >> level);
}

int fullMipCount(int width, int height) {
    int largest = std::max(width, height);
    int count = 1;
    while (largest > 1) {
        largest >>= 1;
        ++count;
    }
    return count;
}

const char* fileFormatName(ImageFileFormat format) {
    switch (format) {
    case ImageFileFormat::Bmp: return "BMP";
    case ImageFileFormat::Jpg: return "JPG";
    case ImageFileFormat::Png: return "PNG";
    case ImageFileFormat::Tga: return "TGA";
    case ImageFileFormat::Dds: return "DDS";
    case ImageFileFormat::Unknown: break;
    }
    return "unknown";
}

bool isWellFormed(const DecodedImage& image) {
    if (image.width < 1 || image.height < 1 || image.width > kMaxImageDimension ||
        image.height > kMaxImageDimension)
        return false;
    if (image.faces != 1 && image.faces != 6) return false;
    if (image.isCube() && image.width != image.height) return false;
    if (image.mipLevels < 1 || image.mipLevels > fullMipCount(image.width, image.height)) return false;
    if (image.levels.size() != static_cast<std::size_t>(image.faces * image.mipLevels)) return false;
    for (int face = 0; face < image.faces; ++face) {
        for (int mip = 0; mip < image.mipLevels; ++mip) {
            const ImageLevel& level = image.level(face, mip);
            if (level.width != mipDimension(image.width, mip) || level.height != mipDimension(image.height, mip))
                return false;
            if (level.bytes.size() != levelByteSize(image.format, level.width, level.height)) return false;
        }
    }
    return true;
}

}  // namespace morvanex
