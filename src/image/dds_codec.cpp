#include "image/dds_codec.h"

#include <bit>
#include <cstring>
#include <string>

namespace morvanex {

namespace {

constexpr std::uint32_t fourCc(char a, char b, char c, char d) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(a)) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(b)) << 8) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(c)) << 16) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(d)) << 24);
}

constexpr std::uint32_t kMagic = fourCc('D', 'D', 'S', ' ');

// Header flags and capability bits.
constexpr std::uint32_t kFlagCaps = 0x1;
constexpr std::uint32_t kFlagHeight = 0x2;
constexpr std::uint32_t kFlagWidth = 0x4;
constexpr std::uint32_t kFlagPitch = 0x8;
constexpr std::uint32_t kFlagPixelFormat = 0x1000;
constexpr std::uint32_t kFlagMipCount = 0x20000;
constexpr std::uint32_t kFlagDepth = 0x800000;
constexpr std::uint32_t kPfAlphaPixels = 0x1;
constexpr std::uint32_t kPfAlpha = 0x2;
constexpr std::uint32_t kPfFourCc = 0x4;
constexpr std::uint32_t kPfRgb = 0x40;
constexpr std::uint32_t kPfLuminance = 0x20000;
constexpr std::uint32_t kCapsComplex = 0x8;
constexpr std::uint32_t kCapsTexture = 0x1000;
constexpr std::uint32_t kCapsMipmap = 0x400000;
constexpr std::uint32_t kCaps2Cube = 0x200;
constexpr std::uint32_t kCaps2AllFaces = 0xFC00;
constexpr std::uint32_t kCaps2Volume = 0x200000;

// Extended header values.
constexpr std::uint32_t kDx10Texture2D = 3;
constexpr std::uint32_t kDx10MiscCube = 0x4;

std::uint32_t read32(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint32_t>(bytes[offset]) | (static_cast<std::uint32_t>(bytes[offset + 1]) << 8) |
           (static_cast<std::uint32_t>(bytes[offset + 2]) << 16) |
           (static_cast<std::uint32_t>(bytes[offset + 3]) << 24);
}

void write32(std::vector<std::uint8_t>& out, std::size_t offset, std::uint32_t value) {
    out[offset] = static_cast<std::uint8_t>(value);
    out[offset + 1] = static_cast<std::uint8_t>(value >> 8);
    out[offset + 2] = static_cast<std::uint8_t>(value >> 16);
    out[offset + 3] = static_cast<std::uint8_t>(value >> 24);
}

std::string fourCcText(std::uint32_t code) {
    std::string text;
    for (int i = 0; i < 4; ++i) {
        const auto c = static_cast<unsigned char>(code >> (8 * i));
        text += (c >= 32 && c < 127) ? static_cast<char>(c) : '?';
    }
    return text;
}

// One channel of a masked pixel format.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t maximum = 0;

    explicit Channel(std::uint32_t m = 0) : mask(m) {
        if (mask == 0) return;
        shift = std::countr_zero(mask);
        maximum = mask >> shift;
    }
    std::uint8_t extract(std::uint32_t pixel, std::uint8_t absent) const {
        if (mask == 0) return absent;
        const std::uint64_t value = (pixel & mask) >> shift;
        return static_cast<std::uint8_t>((value * 255 + maximum / 2) / maximum);
    }
};

struct MaskedFormat {
    int bitsPerPixel = 0;
    Channel red, green, blue, alpha;
    bool luminance = false;  // red mask holds the grey level
};

// What the pixel format section says the bytes are.
struct StoredFormat {
    bool block = false;
    PixelFormat blockFormat = PixelFormat::Rgba8;
    MaskedFormat masked;

    std::uint64_t levelSize(int width, int height) const {
        if (block) return levelByteSize(blockFormat, width, height);
        return static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) *
               static_cast<std::uint64_t>(masked.bitsPerPixel / 8);
    }
};

MaskedFormat maskedFromMasks(int bits, std::uint32_t r, std::uint32_t g, std::uint32_t b, std::uint32_t a) {
    MaskedFormat format;
    format.bitsPerPixel = bits;
    format.red = Channel(r);
    format.green = Channel(g);
    format.blue = Channel(b);
    format.alpha = Channel(a);
    return format;
}

std::string formatFromDx10(std::uint32_t dxgi, StoredFormat& format) {
    switch (dxgi) {
    case 28:  // R8G8B8A8_UNORM
    case 29:  // R8G8B8A8_UNORM_SRGB
        format.masked = maskedFromMasks(32, 0xFF, 0xFF00, 0xFF0000, 0xFF000000u);
        return {};
    case 87:  // B8G8R8A8_UNORM
    case 91:  // B8G8R8A8_UNORM_SRGB
        format.masked = maskedFromMasks(32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000u);
        return {};
    case 88:  // B8G8R8X8_UNORM
    case 93:  // B8G8R8X8_UNORM_SRGB
        format.masked = maskedFromMasks(32, 0xFF0000, 0xFF00, 0xFF, 0);
        return {};
    case 71:
    case 72:
        format.block = true;
        format.blockFormat = PixelFormat::Bc1;
        return {};
    case 74:
    case 75:
        format.block = true;
        format.blockFormat = PixelFormat::Bc2;
        return {};
    case 77:
    case 78:
        format.block = true;
        format.blockFormat = PixelFormat::Bc3;
        return {};
    default: break;
    }
    return "DDS: unsupported DXGI format " + std::to_string(dxgi);
}

std::string formatFromPixelFormat(std::span<const std::uint8_t> bytes, StoredFormat& format) {
    const std::uint32_t size = read32(bytes, 76);
    const std::uint32_t flags = read32(bytes, 80);
    const std::uint32_t code = read32(bytes, 84);
    const std::uint32_t bits = read32(bytes, 88);
    const std::uint32_t r = read32(bytes, 92);
    const std::uint32_t g = read32(bytes, 96);
    const std::uint32_t b = read32(bytes, 100);
    const std::uint32_t a = read32(bytes, 104);
    if (size != 32) return "DDS: bad pixel format size " + std::to_string(size);
    if (flags & kPfFourCc) {
        format.block = true;
        if (code == fourCc('D', 'X', 'T', '1')) {
            format.blockFormat = PixelFormat::Bc1;
        } else if (code == fourCc('D', 'X', 'T', '2') || code == fourCc('D', 'X', 'T', '3')) {
            format.blockFormat = PixelFormat::Bc2;
        } else if (code == fourCc('D', 'X', 'T', '4') || code == fourCc('D', 'X', 'T', '5')) {
            format.blockFormat = PixelFormat::Bc3;
        } else {
            return "DDS: unsupported FourCC '" + fourCcText(code) + "'";
        }
        return {};
    }
    if (!(flags & (kPfRgb | kPfLuminance | kPfAlpha)))
        return "DDS: unknown pixel format (flags " + std::to_string(flags) + ")";
    if (bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return "DDS: unsupported bit count " + std::to_string(bits);
    // Masks wider than the pixel would read bits that are not there.
    const std::uint32_t pixelMask = bits == 32 ? 0xFFFFFFFFu : ((1u << bits) - 1u);
    const std::uint32_t alphaMask = (flags & (kPfAlphaPixels | kPfAlpha)) ? a : 0;
    if (((r | g | b | alphaMask) & ~pixelMask) != 0) return "DDS: channel masks exceed the pixel size";
    if (flags & kPfRgb) {
        if ((r | g | b) == 0) return "DDS: RGB format without colour masks";
        format.masked = maskedFromMasks(static_cast<int>(bits), r, g, b, alphaMask);
    } else if (flags & kPfLuminance) {
        if (r == 0) return "DDS: luminance format without a mask";
        format.masked = maskedFromMasks(static_cast<int>(bits), r, 0, 0, alphaMask);
        format.masked.luminance = true;
    } else {
        if (alphaMask == 0) return "DDS: alpha format without a mask";
        format.masked = maskedFromMasks(static_cast<int>(bits), 0, 0, 0, alphaMask);
    }
    return {};
}

std::vector<std::uint8_t> expandMasked(const MaskedFormat& format, const std::uint8_t* source, int width,
                                       int height) {
    const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    const int bytesPerPixel = format.bitsPerPixel / 8;
    std::vector<std::uint8_t> out(pixels * 4);
    for (std::size_t i = 0; i < pixels; ++i) {
        std::uint32_t pixel = 0;
        for (int k = 0; k < bytesPerPixel; ++k)
            pixel |= static_cast<std::uint32_t>(source[i * static_cast<std::size_t>(bytesPerPixel) +
                                                       static_cast<std::size_t>(k)])
                     << (8 * k);
        std::uint8_t* rgba = out.data() + i * 4;
        if (format.luminance) {
            const std::uint8_t grey = format.red.extract(pixel, 0);
            rgba[0] = rgba[1] = rgba[2] = grey;
        } else {
            rgba[0] = format.red.extract(pixel, 0);
            rgba[1] = format.green.extract(pixel, 0);
            rgba[2] = format.blue.extract(pixel, 0);
        }
        rgba[3] = format.alpha.extract(pixel, 255);
    }
    return out;
}

struct Rgb {
    int r, g, b;
};

Rgb unpack565(std::uint16_t c) {
    const int r = (c >> 11) & 31;
    const int g = (c >> 5) & 63;
    const int b = c & 31;
    return {(r << 3) | (r >> 2), (g << 2) | (g >> 4), (b << 3) | (b >> 2)};
}

// The colour half of every block format; BC2 and BC3 always use the
// four-colour mode, whatever the endpoint order.
void decodeColourBlock(const std::uint8_t* block, bool allowThreeColour, std::array<std::uint8_t, 64>& out) {
    const auto c0 = static_cast<std::uint16_t>(block[0] | (block[1] << 8));
    const auto c1 = static_cast<std::uint16_t>(block[2] | (block[3] << 8));
    const Rgb e0 = unpack565(c0);
    const Rgb e1 = unpack565(c1);
    std::uint8_t palette[4][4];
    auto set = [&](int i, int r, int g, int b, int a) {
        palette[i][0] = static_cast<std::uint8_t>(r);
        palette[i][1] = static_cast<std::uint8_t>(g);
        palette[i][2] = static_cast<std::uint8_t>(b);
        palette[i][3] = static_cast<std::uint8_t>(a);
    };
    set(0, e0.r, e0.g, e0.b, 255);
    set(1, e1.r, e1.g, e1.b, 255);
    if (c0 > c1 || !allowThreeColour) {
        set(2, (2 * e0.r + e1.r + 1) / 3, (2 * e0.g + e1.g + 1) / 3, (2 * e0.b + e1.b + 1) / 3, 255);
        set(3, (e0.r + 2 * e1.r + 1) / 3, (e0.g + 2 * e1.g + 1) / 3, (e0.b + 2 * e1.b + 1) / 3, 255);
    } else {
        set(2, (e0.r + e1.r) / 2, (e0.g + e1.g) / 2, (e0.b + e1.b) / 2, 255);
        set(3, 0, 0, 0, 0);
    }
    const std::uint32_t indices = static_cast<std::uint32_t>(block[4]) | (static_cast<std::uint32_t>(block[5]) << 8) |
                                  (static_cast<std::uint32_t>(block[6]) << 16) |
                                  (static_cast<std::uint32_t>(block[7]) << 24);
    for (int p = 0; p < 16; ++p) {
        const std::uint32_t index = (indices >> (2 * p)) & 3u;
        std::memcpy(out.data() + p * 4, palette[index], 4);
    }
}

using BlockDecoder = void (*)(const std::uint8_t*, std::array<std::uint8_t, 64>&);

void bc1(const std::uint8_t* b, std::array<std::uint8_t, 64>& out) { decodeColourBlock(b, true, out); }

void bc2(const std::uint8_t* b, std::array<std::uint8_t, 64>& out) {
    decodeColourBlock(b + 8, false, out);
    for (int p = 0; p < 16; ++p) {
        const int nibble = (b[p / 2] >> ((p % 2) * 4)) & 15;
        out[static_cast<std::size_t>(p * 4 + 3)] = static_cast<std::uint8_t>(nibble * 17);
    }
}

void bc3(const std::uint8_t* b, std::array<std::uint8_t, 64>& out) {
    decodeColourBlock(b + 8, false, out);
    const int a0 = b[0];
    const int a1 = b[1];
    int palette[8] = {a0, a1, 0, 0, 0, 0, 0, 0};
    if (a0 > a1) {
        for (int i = 1; i < 7; ++i) palette[i + 1] = ((7 - i) * a0 + i * a1 + 3) / 7;
    } else {
        for (int i = 1; i < 5; ++i) palette[i + 1] = ((5 - i) * a0 + i * a1 + 2) / 5;
        palette[6] = 0;
        palette[7] = 255;
    }
    std::uint64_t indices = 0;
    for (int i = 0; i < 6; ++i) indices |= static_cast<std::uint64_t>(b[2 + i]) << (8 * i);
    for (int p = 0; p < 16; ++p)
        out[static_cast<std::size_t>(p * 4 + 3)] = static_cast<std::uint8_t>(palette[(indices >> (3 * p)) & 7u]);
}

std::vector<std::uint8_t> expandBlocks(PixelFormat format, const std::vector<std::uint8_t>& source, int width,
                                       int height) {
    const BlockDecoder decode = format == PixelFormat::Bc1 ? bc1 : format == PixelFormat::Bc2 ? bc2 : bc3;
    const auto blockBytes = static_cast<std::size_t>(bytesPerBlock(format));
    const int blocksWide = (width + 3) / 4;
    const int blocksHigh = (height + 3) / 4;
    std::vector<std::uint8_t> out(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    std::array<std::uint8_t, 64> pixels{};
    for (int by = 0; by < blocksHigh; ++by) {
        for (int bx = 0; bx < blocksWide; ++bx) {
            const std::size_t block = static_cast<std::size_t>(by) * static_cast<std::size_t>(blocksWide) +
                                      static_cast<std::size_t>(bx);
            decode(source.data() + block * blockBytes, pixels);
            for (int y = 0; y < 4 && by * 4 + y < height; ++y) {
                for (int x = 0; x < 4 && bx * 4 + x < width; ++x) {
                    const std::size_t target = (static_cast<std::size_t>(by * 4 + y) * static_cast<std::size_t>(width) +
                                                static_cast<std::size_t>(bx * 4 + x)) *
                                               4;
                    std::memcpy(out.data() + target, pixels.data() + (y * 4 + x) * 4, 4);
                }
            }
        }
    }
    return out;
}

}  // namespace

bool looksLikeDds(std::span<const std::uint8_t> bytes) { return bytes.size() >= 4 && read32(bytes, 0) == kMagic; }

ImageResult decodeDds(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kDdsHeaderSize) return ImageResult::failure("DDS: header truncated");
    if (!looksLikeDds(bytes)) return ImageResult::failure("DDS: not a DDS file");
    const std::uint32_t headerSize = read32(bytes, 4);
    const std::uint32_t flags = read32(bytes, 8);
    const std::uint32_t height = read32(bytes, 12);
    const std::uint32_t width = read32(bytes, 16);
    const std::uint32_t depth = read32(bytes, 24);
    const std::uint32_t mipCount = read32(bytes, 28);
    const std::uint32_t caps2 = read32(bytes, 112);
    if (headerSize != 124) return ImageResult::failure("DDS: bad header size " + std::to_string(headerSize));
    if (width == 0 || height == 0 || width > static_cast<std::uint32_t>(kMaxImageDimension) ||
        height > static_cast<std::uint32_t>(kMaxImageDimension))
        return ImageResult::failure("DDS: unsupported size " + std::to_string(width) + " x " + std::to_string(height));
    if ((caps2 & kCaps2Volume) || ((flags & kFlagDepth) && depth > 1))
        return ImageResult::failure("DDS: volume textures are not supported");

    StoredFormat format;
    std::size_t offset = kDdsHeaderSize;
    bool cube = (caps2 & kCaps2Cube) != 0;
    if (cube && (caps2 & kCaps2AllFaces) != kCaps2AllFaces)
        return ImageResult::failure("DDS: cube map without all six faces");
    if (read32(bytes, 84) == fourCc('D', 'X', '1', '0') && (read32(bytes, 80) & kPfFourCc)) {
        if (bytes.size() < kDdsHeaderSize + 20) return ImageResult::failure("DDS: extended header truncated");
        const std::uint32_t dxgi = read32(bytes, 128);
        const std::uint32_t dimension = read32(bytes, 132);
        const std::uint32_t misc = read32(bytes, 136);
        const std::uint32_t arraySize = read32(bytes, 140);
        if (dimension != kDx10Texture2D) return ImageResult::failure("DDS: only 2D textures and cube maps are supported");
        if (arraySize != 1) return ImageResult::failure("DDS: texture arrays are not supported");
        if (misc & kDx10MiscCube) cube = true;
        if (std::string why = formatFromDx10(dxgi, format); !why.empty()) return ImageResult::failure(why);
        offset += 20;
    } else if (std::string why = formatFromPixelFormat(bytes, format); !why.empty()) {
        return ImageResult::failure(why);
    }
    if (cube && width != height) return ImageResult::failure("DDS: cube map faces are not square");

    const int w = static_cast<int>(width);
    const int h = static_cast<int>(height);
    const int levels = mipCount == 0 ? 1 : static_cast<int>(std::min<std::uint32_t>(mipCount, 64));
    if (mipCount > static_cast<std::uint32_t>(fullMipCount(w, h)))
        return ImageResult::failure("DDS: " + std::to_string(mipCount) + " mip levels for a " + std::to_string(w) +
                                    " x " + std::to_string(h) + " image");
    const int faces = cube ? 6 : 1;

    // The whole claim is checked before any allocation.
    std::uint64_t needed = 0;
    for (int mip = 0; mip < levels; ++mip) needed += format.levelSize(mipDimension(w, mip), mipDimension(h, mip));
    needed *= static_cast<std::uint64_t>(faces);
    const std::uint64_t available = bytes.size() - offset;
    if (needed > available)
        return ImageResult::failure("DDS: data truncated (" + std::to_string(needed) + " bytes needed, " +
                                    std::to_string(available) + " present)");

    DecodedImage image;
    image.format = format.block ? format.blockFormat : PixelFormat::Rgba8;
    image.fileFormat = ImageFileFormat::Dds;
    image.width = w;
    image.height = h;
    image.mipLevels = levels;
    image.faces = faces;
    image.levels.reserve(static_cast<std::size_t>(faces * levels));
    for (int face = 0; face < faces; ++face) {
        for (int mip = 0; mip < levels; ++mip) {
            ImageLevel level;
            level.width = mipDimension(w, mip);
            level.height = mipDimension(h, mip);
            const auto size = static_cast<std::size_t>(format.levelSize(level.width, level.height));
            const std::uint8_t* source = bytes.data() + offset;
            if (format.block)
                level.bytes.assign(source, source + size);
            else
                level.bytes = expandMasked(format.masked, source, level.width, level.height);
            offset += size;
            image.levels.push_back(std::move(level));
        }
    }
    return ImageResult::success(std::move(image));
}

std::array<std::uint8_t, 64> decodeBc1Block(std::span<const std::uint8_t, 8> block) {
    std::array<std::uint8_t, 64> out{};
    bc1(block.data(), out);
    return out;
}

std::array<std::uint8_t, 64> decodeBc2Block(std::span<const std::uint8_t, 16> block) {
    std::array<std::uint8_t, 64> out{};
    bc2(block.data(), out);
    return out;
}

std::array<std::uint8_t, 64> decodeBc3Block(std::span<const std::uint8_t, 16> block) {
    std::array<std::uint8_t, 64> out{};
    bc3(block.data(), out);
    return out;
}

ImageResult decompressToRgba8(const DecodedImage& image) {
    if (!isWellFormed(image)) return ImageResult::failure("image record is not well formed");
    if (!isBlockCompressed(image.format)) return ImageResult::success(image);
    DecodedImage out = image;
    out.format = PixelFormat::Rgba8;
    for (ImageLevel& level : out.levels) level.bytes = expandBlocks(image.format, level.bytes, level.width, level.height);
    return ImageResult::success(std::move(out));
}

std::vector<std::uint8_t> encodeDds(const DecodedImage& source) {
    ImageResult expanded = decompressToRgba8(source);
    if (!expanded) return {};
    const DecodedImage& image = *expanded.image;
    std::uint64_t total = kDdsHeaderSize;
    for (const ImageLevel& level : image.levels) total += level.bytes.size();
    std::vector<std::uint8_t> out(static_cast<std::size_t>(total), 0);
    write32(out, 0, kMagic);
    write32(out, 4, 124);
    std::uint32_t flags = kFlagCaps | kFlagHeight | kFlagWidth | kFlagPitch | kFlagPixelFormat;
    if (image.mipLevels > 1) flags |= kFlagMipCount;
    write32(out, 8, flags);
    write32(out, 12, static_cast<std::uint32_t>(image.height));
    write32(out, 16, static_cast<std::uint32_t>(image.width));
    write32(out, 20, static_cast<std::uint32_t>(image.width) * 4);
    write32(out, 28, static_cast<std::uint32_t>(image.mipLevels));
    write32(out, 76, 32);
    write32(out, 80, kPfRgb | kPfAlphaPixels);
    write32(out, 88, 32);
    write32(out, 92, 0xFF);
    write32(out, 96, 0xFF00);
    write32(out, 100, 0xFF0000);
    write32(out, 104, 0xFF000000u);
    std::uint32_t caps = kCapsTexture;
    if (image.mipLevels > 1) caps |= kCapsComplex | kCapsMipmap;
    if (image.isCube()) caps |= kCapsComplex;
    write32(out, 108, caps);
    write32(out, 112, image.isCube() ? (kCaps2Cube | kCaps2AllFaces) : 0);
    std::size_t offset = kDdsHeaderSize;
    for (const ImageLevel& level : image.levels) {
        std::memcpy(out.data() + offset, level.bytes.data(), level.bytes.size());
        offset += level.bytes.size();
    }
    return out;
}

}  // namespace morvanex
