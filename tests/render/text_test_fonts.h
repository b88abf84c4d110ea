// A small font written into a test program folder: glyph images 1000
// pixels wide (one metric unit a pixel) and 20 high, and metrics tables.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <vector>

#include "image/dds_codec.h"
#include "render/text_fonts.h"

namespace morvanex::testing {

inline constexpr int kTestFontWidth = 1000;
inline constexpr int kTestFontHeight = 20;

inline void writeBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// 'A': 6 pixels at 0 whose even columns are opaque and odd columns clear;
// 'B' and 'F': 4 opaque pixels at 10; byte 1: zero width. Bold: 'A' is 9
// wide.
inline FontMetrics testFontMetrics(bool bold = false) {
    FontMetrics m;
    m.glyphs['A'] = {0.0f, bold ? 9.0f : 6.0f};
    m.glyphs['B'] = {10.0f, 4.0f};
    m.glyphs['F'] = {10.0f, 4.0f};
    m.glyphs[1] = {20.0f, 0.0f};
    return m;
}

// The glyph image in colour (r, g, b): opaque where a glyph pixel is lit.
inline std::vector<std::uint8_t> testFontImage(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    DecodedImage image;
    image.format = PixelFormat::Rgba8;
    image.width = kTestFontWidth;
    image.height = kTestFontHeight;
    ImageLevel level;
    level.width = kTestFontWidth;
    level.height = kTestFontHeight;
    level.bytes.assign(static_cast<std::size_t>(kTestFontWidth * kTestFontHeight * 4), 0);
    auto lit = [](int x) { return (x < 6 && x % 2 == 0) || (x >= 10 && x < 14) || (x >= 20 && x < 30); };
    for (int y = 0; y < kTestFontHeight; ++y) {
        for (int x = 0; x < kTestFontWidth; ++x) {
            if (!lit(x)) continue;
            std::uint8_t* p = &level.bytes[static_cast<std::size_t>((y * kTestFontWidth + x) * 4)];
            p[0] = r;
            p[1] = g;
            p[2] = b;
            p[3] = 255;
        }
    }
    image.levels.push_back(std::move(level));
    return encodeDds(image);
}

// The five font files in programFolder/shaders.
inline void writeTestFonts(const std::filesystem::path& programFolder) {
    const std::filesystem::path folder = programFolder / "shaders";
    std::filesystem::create_directories(folder);
    writeBytes(folder / "font.dds", testFontImage(255, 255, 255));
    writeBytes(folder / "fontbold.dds", testFontImage(255, 255, 255));
    writeBytes(folder / "fontinvert.dds", testFontImage(255, 0, 0));
    writeBytes(folder / "Font.uvs", encodeFontMetrics(testFontMetrics(false)));
    writeBytes(folder / "Fontbold.uvs", encodeFontMetrics(testFontMetrics(true)));
}

}  // namespace morvanex::testing
