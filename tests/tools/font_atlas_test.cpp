#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <set>

#include "image/dds_codec.h"
#include "resources/font_atlas.h"
#include "tools_test_support.h"

namespace morvanex::resources {
namespace {

using morvanex::testing::fonts;

const std::uint8_t kFrench[] = {0xE0, 0xE2, 0xE4, 0xE6, 0xE7, 0xE9, 0xE8, 0xEA, 0xEB, 0xEE, 0xEF, 0xF4, 0xF6,
                                0x9C, 0xF9, 0xFB, 0xFC, 0xFF, 0xC0, 0xC2, 0xC4, 0xC6, 0xC7, 0xC9, 0xC8, 0xCA,
                                0xCB, 0xCE, 0xCF, 0xD4, 0xD6, 0x8C, 0xD9, 0xDB, 0xDC, 0x9F, 0xAB, 0xBB, 0x80,
                                0xB0, 0x92};

std::vector<const FontAtlas*> bothAtlases() { return {&fonts().regular, &fonts().bold}; }

TEST(FontAtlasTest, CoversPrintableAsciiAndFrenchCharacters) {
    for (int b = 0x20; b <= 0x7E; ++b) EXPECT_TRUE(isCoveredCharacter(static_cast<std::uint8_t>(b))) << b;
    for (std::uint8_t b : kFrench) EXPECT_TRUE(isCoveredCharacter(b)) << int{b};
    EXPECT_FALSE(isCoveredCharacter('\n'));
    EXPECT_FALSE(isCoveredCharacter(0x00));
    EXPECT_FALSE(isCoveredCharacter(0x81));
}

TEST(FontAtlasTest, Windows1252MapsToUnicode) {
    EXPECT_EQ(unicodeFromWindows1252('A'), U'A');
    EXPECT_EQ(unicodeFromWindows1252(0xE9), U'\u00E9');
    EXPECT_EQ(unicodeFromWindows1252(0x80), U'\u20AC');
    EXPECT_EQ(unicodeFromWindows1252(0x8C), U'\u0152');
    EXPECT_EQ(unicodeFromWindows1252(0x9C), U'\u0153');
    EXPECT_EQ(unicodeFromWindows1252(0x9F), U'\u0178');
    EXPECT_EQ(unicodeFromWindows1252(0x92), U'\u2019');
    EXPECT_EQ(unicodeFromWindows1252(0x81), char32_t{0});
}

TEST(FontAtlasTest, CoveredCharactersHaveWidthsThatFitTheRow) {
    for (const FontAtlas* atlas : bothAtlases()) {
        ASSERT_EQ(atlas->width, 1000);
        ASSERT_EQ(atlas->height, 20);
        float total = 0.0f;
        for (int b = 0; b < 256; ++b) {
            const GlyphMetrics& g = atlas->metrics[static_cast<std::size_t>(b)];
            if (isCoveredCharacter(static_cast<std::uint8_t>(b))) {
                EXPECT_GT(g.width, 0.0f) << b;
                EXPECT_EQ(g.width, std::floor(g.width)) << "whole pixels, byte " << b;
                EXPECT_EQ(g.left, std::floor(g.left)) << "whole pixels, byte " << b;
                EXPECT_LE(g.left + g.width, 1000.0f) << b;
            } else {
                EXPECT_EQ(g.width, 0.0f) << b;
                EXPECT_EQ(g.left, 0.0f) << b;
            }
            total += g.width;
        }
        EXPECT_LE(total, 1000.0f);
        EXPECT_GT(total, 700.0f) << "the row is used, not a tiny font";
    }
}

TEST(FontAtlasTest, CellsFollowEachOtherInByteOrder) {
    for (const FontAtlas* atlas : bothAtlases()) {
        float expectedLeft = 0.0f;
        for (std::uint8_t b : coveredCharacters()) {
            EXPECT_EQ(atlas->metrics[b].left, expectedLeft) << int{b};
            expectedLeft += atlas->metrics[b].width;
        }
        EXPECT_TRUE(std::is_sorted(coveredCharacters().begin(), coveredCharacters().end()));
    }
}

TEST(FontAtlasTest, GlyphCellsHoldInkWhereTheMetricsSay) {
    for (const FontAtlas* atlas : bothAtlases()) {
        float end = 0.0f;
        for (std::uint8_t b : coveredCharacters()) {
            const GlyphMetrics& g = atlas->metrics[b];
            end = std::max(end, g.left + g.width);
            int lit = 0;
            for (int y = 0; y < atlas->height; ++y)
                for (int x = static_cast<int>(g.left); x < static_cast<int>(g.left + g.width); ++x)
                    if (atlas->at(x, y) > 128) ++lit;
            if (b == ' ' || b == 0xA0)
                EXPECT_EQ(lit, 0) << "spaces are blank";
            else
                EXPECT_GT(lit, 0) << "byte " << int{b} << " has no ink";
        }
        // Nothing beyond the last cell.
        for (int y = 0; y < atlas->height; ++y)
            for (int x = static_cast<int>(end); x < atlas->width; ++x) ASSERT_EQ(atlas->at(x, y), 0) << x << "," << y;
    }
}

TEST(FontAtlasTest, GlyphsSitOnOneBaselineWithinTheLine) {
    const FontAtlas& atlas = fonts().regular;
    auto inkRows = [&](std::uint8_t b) {
        const GlyphMetrics& g = atlas.metrics[b];
        int top = atlas.height, bottom = -1;
        for (int y = 0; y < atlas.height; ++y)
            for (int x = static_cast<int>(g.left); x < static_cast<int>(g.left + g.width); ++x)
                if (atlas.at(x, y) > 64) top = std::min(top, y), bottom = std::max(bottom, y);
        return std::pair{top, bottom};
    };
    const auto [hTop, hBottom] = inkRows('H');
    const auto [xTop, xBottom] = inkRows('x');
    const auto [pTop, pBottom] = inkRows('p');
    const auto [eTop, eBottom] = inkRows(0xC9);  // E acute
    EXPECT_EQ(hBottom, xBottom);
    EXPECT_LT(hTop, xTop) << "capitals are taller than x";
    EXPECT_GT(pBottom, hBottom) << "descenders go below the baseline";
    EXPECT_LT(eTop, hTop) << "the accent sits above the capital";
    EXPECT_GE(eTop, 0);
    EXPECT_LT(pBottom, atlas.height);
    EXPECT_GE(hBottom - hTop + 1, 8) << "capital height at a 20-pixel line";
}

TEST(FontAtlasTest, BoldIsHeavierThanRegular) {
    auto ink = [](const FontAtlas& atlas, std::uint8_t b) {
        const GlyphMetrics& g = atlas.metrics[b];
        long sum = 0;
        for (int y = 0; y < atlas.height; ++y)
            for (int x = static_cast<int>(g.left); x < static_cast<int>(g.left + g.width); ++x) sum += atlas.at(x, y);
        return static_cast<double>(sum) / (g.width * atlas.height);
    };
    EXPECT_GT(ink(fonts().bold, 'H'), ink(fonts().regular, 'H'));
}

TEST(FontMetricsFileTest, Is2048BytesOfLittleEndianLeftWidthPairs) {
    const FontAtlas& atlas = fonts().regular;
    const std::vector<std::uint8_t> file = encodeFontMetrics(atlas.metrics);
    ASSERT_EQ(file.size(), 2048u);
    for (int b : {int{'A'}, int{'W'}, 0xE9, 0x80}) {
        float left = 0.0f, width = 0.0f;
        std::memcpy(&left, file.data() + b * 8, 4);  // the test host is little-endian
        std::memcpy(&width, file.data() + b * 8 + 4, 4);
        EXPECT_EQ(left, atlas.metrics[static_cast<std::size_t>(b)].left);
        EXPECT_EQ(width, atlas.metrics[static_cast<std::size_t>(b)].width);
    }
    // Byte 'A' = 65: explicit bytes of its width.
    const float w = atlas.metrics['A'].width;
    const auto bits = std::bit_cast<std::uint32_t>(w);
    EXPECT_EQ(file[65 * 8 + 4], bits & 0xFF);
    EXPECT_EQ(file[65 * 8 + 7], bits >> 24);
    // A byte without a glyph is all zero.
    for (int i = 0; i < 8; ++i) EXPECT_EQ(file[10 * 8 + static_cast<std::size_t>(i)], 0) << i;
}

TEST(FontMetricsFileTest, RoundTripsAndRefusesOtherSizes) {
    const std::vector<std::uint8_t> file = encodeFontMetrics(fonts().bold.metrics);
    const auto decoded = decodeFontMetrics(file);
    ASSERT_TRUE(decoded.has_value());
    for (int b = 0; b < 256; ++b) {
        EXPECT_EQ((*decoded)[static_cast<std::size_t>(b)].left, fonts().bold.metrics[static_cast<std::size_t>(b)].left);
        EXPECT_EQ((*decoded)[static_cast<std::size_t>(b)].width, fonts().bold.metrics[static_cast<std::size_t>(b)].width);
    }
    EXPECT_FALSE(decodeFontMetrics(std::span(file).first(2047)).has_value());
}

TEST(FontImageTest, NormalAndInvertedImagesDecodeWithTheProjectReader) {
    const FontAtlas& atlas = fonts().regular;
    const ImageResult normal = decodeDds(encodeDds(fontImage(atlas, false)));
    const ImageResult inverted = decodeDds(encodeDds(fontImage(atlas, true)));
    ASSERT_TRUE(normal) << normal.error;
    ASSERT_TRUE(inverted) << inverted.error;
    EXPECT_EQ(normal.image->width, 1000);
    EXPECT_EQ(normal.image->height, 20);
    EXPECT_EQ(normal.image->mipLevels, 1);
    const auto& n = normal.image->levels[0].bytes;
    const auto& v = inverted.image->levels[0].bytes;
    const float cellsEnd = atlas.metrics[coveredCharacters().back()].left + atlas.metrics[coveredCharacters().back()].width;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 1000; ++x) {
            const std::size_t at = static_cast<std::size_t>((y * 1000 + x) * 4);
            ASSERT_EQ(n[at], 255);  // white, so the call's colour shows as is
            ASSERT_EQ(n[at + 1], 255);
            ASSERT_EQ(n[at + 2], 255);
            ASSERT_EQ(n[at + 3], atlas.at(x, y));
            if (static_cast<float>(x) < cellsEnd)
                ASSERT_EQ(v[at + 3], 255 - atlas.at(x, y)) << x;
            else
                ASSERT_EQ(v[at + 3], 0) << x;
        }
}

}  // namespace
}  // namespace morvanex::resources
