#include "image/image_codec.h"

#include <stb/stb_image.h>
#include <stb/stb_image_write.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

#include "image/dds_codec.h"

namespace morvanex {

namespace {

std::uint32_t le16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at] | (b[at + 1] << 8));
}
std::uint32_t le32(std::span<const std::uint8_t> b, std::size_t at) {
    return le16(b, at) | (le16(b, at + 2) << 16);
}
std::uint32_t be32(std::span<const std::uint8_t> b, std::size_t at) {
    return (static_cast<std::uint32_t>(b[at]) << 24) | (static_cast<std::uint32_t>(b[at + 1]) << 16) |
           (static_cast<std::uint32_t>(b[at + 2]) << 8) | static_cast<std::uint32_t>(b[at + 3]);
}

// Compressed formats can legitimately expand a lot; these bounds are far
// beyond what real pictures reach but stop a few bytes from claiming a
// gigabyte. Deflate cannot expand more than 1032 to 1; a JPEG needs at
// least some bits for every 8 x 8 block (2048 pixels a byte allows even
// very uniform progressive images); an RLE packet covers at most 128 pixels.
constexpr std::uint64_t kDeflateRatio = 1032;
constexpr std::uint64_t kJpegPixelsPerByte = 2048;

std::string checkBmp(std::span<const std::uint8_t> b, std::uint64_t width, std::uint64_t height) {
    if (b.size() < 30) return "BMP: header truncated";
    const std::uint32_t dataOffset = le32(b, 10);
    const std::uint32_t infoSize = le32(b, 14);
    std::uint32_t bits = 0;
    std::uint32_t compression = 0;
    if (infoSize == 12) {
        bits = le16(b, 24);
    } else {
        if (b.size() < 34) return "BMP: header truncated";
        bits = le16(b, 28);
        compression = le32(b, 30);
    }
    if (compression != 0 && compression != 3) return "BMP: compression " + std::to_string(compression) + " not supported";
    const std::uint64_t stride = ((width * bits + 31) / 32) * 4;
    if (dataOffset > b.size() || stride * height > b.size() - dataOffset) return "BMP: pixel data truncated";
    return {};
}

std::string checkTga(std::span<const std::uint8_t> b, std::uint64_t width, std::uint64_t height) {
    if (b.size() < 18) return "TGA: header truncated";
    const std::uint32_t idLength = b[0];
    const std::uint32_t type = b[2];
    const std::uint32_t paletteLength = le16(b, 5);
    const std::uint32_t paletteBits = b[7];
    const std::uint32_t bits = b[16];
    const std::uint64_t header = 18 + idLength + (paletteLength * paletteBits + 7) / 8;
    if (header > b.size()) return "TGA: header truncated";
    const std::uint64_t remaining = b.size() - header;
    const std::uint64_t pixelBytes = std::max<std::uint64_t>(1, (bits + 7) / 8);
    const std::uint64_t pixels = width * height;
    if (type >= 9) {
        if ((pixels + 127) / 128 * (1 + pixelBytes) > remaining) return "TGA: pixel data truncated";
    } else if (pixels * pixelBytes > remaining) {
        return "TGA: pixel data truncated";
    }
    return {};
}

std::string checkPng(std::span<const std::uint8_t> b, std::uint64_t width, std::uint64_t height) {
    if (b.size() < 29) return "PNG: header truncated";
    const std::uint64_t depth = b[24];
    const std::uint64_t colourType = b[25];
    const std::uint64_t channels = colourType == 2 ? 3 : colourType == 4 ? 2 : colourType == 6 ? 4 : 1;
    const std::uint64_t raw = height * (1 + (width * channels * depth + 7) / 8);
    if (raw > b.size() * kDeflateRatio) return "PNG: image data too short for its size";
    return {};
}

// The stb_image of this system writes past its Huffman tables when a
// table declares more than 256 codes; such streams are refused here, before
// stb sees them. Walks every marker segment, including the tables that
// progressive files place between scans.
std::string checkJpegTables(std::span<const std::uint8_t> b) {
    std::size_t pos = 2;
    while (pos + 1 < b.size()) {
        if (b[pos] != 0xFF) {
            ++pos;  // entropy-coded data or padding
            continue;
        }
        const std::uint8_t marker = b[pos + 1];
        if (marker == 0xFF || marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            pos += marker == 0xFF ? 1 : 2;
            continue;
        }
        if (marker == 0xD9) break;
        if (pos + 4 > b.size()) break;
        const std::size_t length = (static_cast<std::size_t>(b[pos + 2]) << 8) | b[pos + 3];
        const std::size_t start = pos + 4;
        const std::size_t end = std::min(b.size(), pos + 2 + std::max<std::size_t>(length, 2));
        if (marker == 0xC4) {
            std::size_t at = start;
            while (at < end) {
                std::size_t codes = 0;
                for (std::size_t i = 1; i <= 16 && at + i < b.size(); ++i) codes += b[at + i];
                if (codes > 256) return "JPG: damaged Huffman table";
                at += 17 + codes;
            }
        }
        pos = end;
    }
    return {};
}

std::string checkPlausible(ImageFileFormat format, std::span<const std::uint8_t> b, int w, int h) {
    if (w < 1 || h < 1 || w > kMaxImageDimension || h > kMaxImageDimension)
        return std::string(fileFormatName(format)) + ": unsupported size " + std::to_string(w) + " x " +
               std::to_string(h);
    const auto width = static_cast<std::uint64_t>(w);
    const auto height = static_cast<std::uint64_t>(h);
    switch (format) {
    case ImageFileFormat::Bmp: return checkBmp(b, width, height);
    case ImageFileFormat::Tga: return checkTga(b, width, height);
    case ImageFileFormat::Png: return checkPng(b, width, height);
    case ImageFileFormat::Jpg:
        if (width * height > b.size() * kJpegPixelsPerByte) return "JPG: image data too short for its size";
        return {};
    default: break;
    }
    return "unknown image format";
}

void halve(const ImageLevel& source, ImageLevel& target, bool filtered) {
    const std::size_t sw = static_cast<std::size_t>(source.width);
    for (int y = 0; y < target.height; ++y) {
        for (int x = 0; x < target.width; ++x) {
            const std::size_t x0 = static_cast<std::size_t>(std::min(2 * x, source.width - 1));
            const std::size_t y0 = static_cast<std::size_t>(std::min(2 * y, source.height - 1));
            std::uint8_t* out = target.bytes.data() + (static_cast<std::size_t>(y) * static_cast<std::size_t>(target.width) +
                                                        static_cast<std::size_t>(x)) *
                                                           4;
            if (!filtered) {
                std::memcpy(out, source.bytes.data() + (y0 * sw + x0) * 4, 4);
                continue;
            }
            const std::size_t x1 = static_cast<std::size_t>(std::min(2 * x + 1, source.width - 1));
            const std::size_t y1 = static_cast<std::size_t>(std::min(2 * y + 1, source.height - 1));
            for (std::size_t c = 0; c < 4; ++c) {
                const unsigned sum = source.bytes[(y0 * sw + x0) * 4 + c] + source.bytes[(y0 * sw + x1) * 4 + c] +
                                     source.bytes[(y1 * sw + x0) * 4 + c] + source.bytes[(y1 * sw + x1) * 4 + c];
                out[c] = static_cast<std::uint8_t>((sum + 2) / 4);
            }
        }
    }
}

}  // namespace

ImageFileFormat sniffImageFormat(std::span<const std::uint8_t> b) {
    if (looksLikeDds(b)) return ImageFileFormat::Dds;
    if (b.size() >= 2 && b[0] == 'B' && b[1] == 'M') return ImageFileFormat::Bmp;
    if (b.size() >= 8 && be32(b, 0) == 0x89504E47u && be32(b, 4) == 0x0D0A1A0Au) return ImageFileFormat::Png;
    if (b.size() >= 2 && b[0] == 0xFF && b[1] == 0xD8) return ImageFileFormat::Jpg;
    if (b.size() >= 18 && b.size() <= static_cast<std::size_t>(INT_MAX)) {
        int w = 0, h = 0, comp = 0;
        if (stbi_info_from_memory(b.data(), static_cast<int>(b.size()), &w, &h, &comp)) return ImageFileFormat::Tga;
    }
    return ImageFileFormat::Unknown;
}

ImageResult decodeImage(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) return ImageResult::failure("no image data");
    const ImageFileFormat format = sniffImageFormat(bytes);
    if (format == ImageFileFormat::Dds) return decodeDds(bytes);
    if (format == ImageFileFormat::Unknown) return ImageResult::failure("unrecognised image data");
    if (bytes.size() > static_cast<std::size_t>(INT_MAX)) return ImageResult::failure("image data too large");
    const int length = static_cast<int>(bytes.size());
    // stb parses the tables while it reads the header: check them first.
    if (format == ImageFileFormat::Jpg)
        if (std::string why = checkJpegTables(bytes); !why.empty()) return ImageResult::failure(why);
    int w = 0, h = 0, comp = 0;
    if (!stbi_info_from_memory(bytes.data(), length, &w, &h, &comp))
        return ImageResult::failure(std::string(fileFormatName(format)) + ": " + stbi_failure_reason());
    if (std::string why = checkPlausible(format, bytes, w, h); !why.empty()) return ImageResult::failure(why);

    int x = 0, y = 0;
    stbi_uc* pixels = stbi_load_from_memory(bytes.data(), length, &x, &y, &comp, 4);
    if (!pixels) return ImageResult::failure(std::string(fileFormatName(format)) + ": " + stbi_failure_reason());
    if (x != w || y != h) {
        stbi_image_free(pixels);
        return ImageResult::failure(std::string(fileFormatName(format)) + ": size changed while decoding");
    }
    DecodedImage image;
    image.format = PixelFormat::Rgba8;
    image.fileFormat = format;
    image.width = w;
    image.height = h;
    ImageLevel level;
    level.width = w;
    level.height = h;
    level.bytes.assign(pixels, pixels + static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4);
    stbi_image_free(pixels);
    image.levels.push_back(std::move(level));
    return ImageResult::success(std::move(image));
}

ImageResult decodeImageRgba8(std::span<const std::uint8_t> bytes) {
    ImageResult decoded = decodeImage(bytes);
    if (!decoded || !isBlockCompressed(decoded.image->format)) return decoded;
    return decompressToRgba8(*decoded.image);
}

std::vector<std::uint8_t> encodeBmp24(const DecodedImage& source) {
    ImageResult expanded = decompressToRgba8(source);
    if (!expanded) return {};
    const ImageLevel& level = expanded.image->level(0, 0);
    const auto width = static_cast<std::size_t>(level.width);
    const auto height = static_cast<std::size_t>(level.height);
    const std::size_t stride = (width * 3 + 3) / 4 * 4;
    const std::size_t dataSize = stride * height;
    std::vector<std::uint8_t> out(54 + dataSize, 0);
    auto put16 = [&](std::size_t at, std::uint32_t v) {
        out[at] = static_cast<std::uint8_t>(v);
        out[at + 1] = static_cast<std::uint8_t>(v >> 8);
    };
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        put16(at, v & 0xFFFF);
        put16(at + 2, v >> 16);
    };
    out[0] = 'B';
    out[1] = 'M';
    put32(2, static_cast<std::uint32_t>(out.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(width));
    put32(22, static_cast<std::uint32_t>(height));  // positive: rows bottom first
    put16(26, 1);
    put16(28, 24);
    put32(34, static_cast<std::uint32_t>(dataSize));
    put32(38, 2835);  // 72 dots an inch
    put32(42, 2835);
    for (std::size_t row = 0; row < height; ++row) {
        const std::uint8_t* from = level.bytes.data() + (height - 1 - row) * width * 4;
        std::uint8_t* target = out.data() + 54 + row * stride;
        for (std::size_t x = 0; x < width; ++x) {
            target[x * 3] = from[x * 4 + 2];
            target[x * 3 + 1] = from[x * 4 + 1];
            target[x * 3 + 2] = from[x * 4];
        }
    }
    return out;
}

ImageResult withMipLevels(const DecodedImage& image, int levels, bool filtered) {
    if (!isWellFormed(image)) return ImageResult::failure("image record is not well formed");
    const int full = fullMipCount(image.width, image.height);
    const int wanted = levels <= 0 ? full : std::min(levels, full);
    DecodedImage out;
    if (wanted > image.mipLevels && isBlockCompressed(image.format)) {
        ImageResult expanded = decompressToRgba8(image);
        if (!expanded) return expanded;
        return withMipLevels(*expanded.image, levels, filtered);
    }
    out.format = image.format;
    out.fileFormat = image.fileFormat;
    out.width = image.width;
    out.height = image.height;
    out.faces = image.faces;
    out.mipLevels = wanted;
    out.levels.reserve(static_cast<std::size_t>(image.faces * wanted));
    for (int face = 0; face < image.faces; ++face) {
        for (int mip = 0; mip < wanted; ++mip) {
            if (mip < image.mipLevels) {
                out.levels.push_back(image.level(face, mip));
                continue;
            }
            ImageLevel next;
            next.width = mipDimension(image.width, mip);
            next.height = mipDimension(image.height, mip);
            next.bytes.resize(static_cast<std::size_t>(next.width) * static_cast<std::size_t>(next.height) * 4);
            halve(out.levels.back(), next, filtered);
            out.levels.push_back(std::move(next));
        }
    }
    return ImageResult::success(std::move(out));
}

ImageResult fitToCanvas(const DecodedImage& image, int width, int height) {
    if (width < 1 || height < 1 || width > kMaxImageDimension || height > kMaxImageDimension)
        return ImageResult::failure("unsupported canvas size");
    ImageResult expanded = decompressToRgba8(image);
    if (!expanded) return expanded;
    const ImageLevel& source = expanded.image->level(0, 0);
    DecodedImage out;
    out.fileFormat = image.fileFormat;
    out.width = width;
    out.height = height;
    ImageLevel level;
    level.width = width;
    level.height = height;
    level.bytes.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4, 0);
    const std::size_t rowBytes = static_cast<std::size_t>(std::min(width, source.width)) * 4;
    for (int y = 0; y < std::min(height, source.height); ++y)
        std::memcpy(level.bytes.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width) * 4,
                    source.bytes.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(source.width) * 4,
                    rowBytes);
    out.levels.push_back(std::move(level));
    return ImageResult::success(std::move(out));
}

}  // namespace morvanex

namespace morvanex {

namespace {
void appendBytes(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(context);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}
}  // namespace

std::vector<std::uint8_t> encodePng(const DecodedImage& image) {
    std::vector<std::uint8_t> out;
    if (!isWellFormed(image) || image.format != PixelFormat::Rgba8 || image.levels.empty()) return out;
    const ImageLevel& level = image.level(0, 0);
    if (stbi_write_png_to_func(appendBytes, &out, level.width, level.height, 4, level.bytes.data(),
                               level.width * 4) == 0) {
        out.clear();
    }
    return out;
}

}  // namespace morvanex
