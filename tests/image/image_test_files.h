// Small image files built byte by byte for the image tests.
#pragma once

#include <algorithm>

#include <array>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "image/image_record.h"

namespace morvanex::testing {

using Bytes = std::vector<std::uint8_t>;

inline void put32(Bytes& b, std::size_t at, std::uint32_t v) {
    if (b.size() < at + 4) b.resize(at + 4);
    for (int i = 0; i < 4; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

inline constexpr std::uint32_t fourCc(const char (&s)[5]) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(s[0])) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(s[1])) << 8) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(s[2])) << 16) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(s[3])) << 24);
}

struct DdsHeader {
    std::uint32_t width = 4;
    std::uint32_t height = 4;
    std::uint32_t mipCount = 0;
    std::uint32_t pfFlags = 0x41;  // RGB | alpha pixels
    std::uint32_t fourCc = 0;
    std::uint32_t bits = 32;
    std::uint32_t r = 0xFF, g = 0xFF00, b = 0xFF0000, a = 0xFF000000u;
    std::uint32_t caps2 = 0;
};

inline constexpr std::uint32_t kDdsCubeAllFaces = 0x200 | 0xFC00;

// The 128 header bytes followed by `data`.
inline Bytes makeDds(const DdsHeader& h, const Bytes& data) {
    Bytes out(128 + data.size(), 0);
    put32(out, 0, fourCc("DDS "));
    put32(out, 4, 124);
    put32(out, 8, 0x1 | 0x2 | 0x4 | 0x1000 | (h.mipCount ? 0x20000u : 0u));
    put32(out, 12, h.height);
    put32(out, 16, h.width);
    put32(out, 28, h.mipCount);
    put32(out, 76, 32);
    put32(out, 80, h.pfFlags);
    put32(out, 84, h.fourCc);
    put32(out, 88, h.bits);
    put32(out, 92, h.r);
    put32(out, 96, h.g);
    put32(out, 100, h.b);
    put32(out, 104, h.a);
    put32(out, 108, 0x1000);
    put32(out, 112, h.caps2);
    std::copy(data.begin(), data.end(), out.begin() + 128);
    return out;
}

inline DdsHeader blockHeader(const char (&code)[5], std::uint32_t width, std::uint32_t height) {
    DdsHeader h;
    h.width = width;
    h.height = height;
    h.pfFlags = 0x4;
    h.fourCc = fourCc(code);
    h.bits = 0;
    h.r = h.g = h.b = h.a = 0;
    return h;
}

// A BC1 block: endpoints (RGB565) and 16 two-bit indices, pixel 0 first.
inline Bytes bc1Block(std::uint16_t c0, std::uint16_t c1, std::initializer_list<int> indices) {
    Bytes b(8, 0);
    b[0] = static_cast<std::uint8_t>(c0);
    b[1] = static_cast<std::uint8_t>(c0 >> 8);
    b[2] = static_cast<std::uint8_t>(c1);
    b[3] = static_cast<std::uint8_t>(c1 >> 8);
    std::uint32_t bits = 0;
    int p = 0;
    for (int i : indices) bits |= static_cast<std::uint32_t>(i & 3) << (2 * p++);
    put32(b, 4, bits);
    return b;
}

inline Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

// An RGBA8 image whose pixel (x, y) of `face` is fill(face, x, y).
template <typename Fill>
DecodedImage makeRgbaImage(int width, int height, int faces, Fill fill) {
    DecodedImage image;
    image.width = width;
    image.height = height;
    image.faces = faces;
    for (int face = 0; face < faces; ++face) {
        ImageLevel level;
        level.width = width;
        level.height = height;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const std::array<std::uint8_t, 4> p = fill(face, x, y);
                level.bytes.insert(level.bytes.end(), p.begin(), p.end());
            }
        image.levels.push_back(std::move(level));
    }
    return image;
}

inline std::array<std::uint8_t, 4> pixelAt(const ImageLevel& level, int x, int y) {
    std::array<std::uint8_t, 4> p{};
    std::memcpy(p.data(), level.bytes.data() + (static_cast<std::size_t>(y * level.width + x)) * 4, 4);
    return p;
}

using Rgba = std::array<std::uint8_t, 4>;

}  // namespace morvanex::testing
