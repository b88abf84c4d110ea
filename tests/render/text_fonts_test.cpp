// Reading the metrics tables and what a missing or short font file gives.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <filesystem>
#include <limits>

#include "base/trace_log.h"
#include "render/shader_test_support.h"
#include "render/text_fonts.h"
#include "render/text_test_fonts.h"
#include "render/texture_loading.h"

namespace morvanex {
namespace {

void put(std::vector<std::uint8_t>& bytes, std::size_t at, float value) {
    const auto bits = std::bit_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

TEST(FontMetricsFile, RecordIIsTheByteIAsLittleEndianLeftThenWidth) {
    std::vector<std::uint8_t> bytes(kFontMetricsBytes, 0);
    // 'A' (0x41) at 123.5 thousandths, 7 wide; é (0xE9) at 900, 11 wide.
    bytes[0x41 * 8 + 0] = 0x00;
    bytes[0x41 * 8 + 1] = 0x00;
    bytes[0x41 * 8 + 2] = 0xF7;
    bytes[0x41 * 8 + 3] = 0x42;  // 123.5f = 0x42F70000
    bytes[0x41 * 8 + 6] = 0xE0;
    bytes[0x41 * 8 + 7] = 0x40;  // 7.0f = 0x40E00000
    put(bytes, 0xE9 * 8, 900.0f);
    put(bytes, 0xE9 * 8 + 4, 11.0f);
    const auto metrics = parseFontMetrics(bytes);
    ASSERT_TRUE(metrics);
    EXPECT_EQ((*metrics)['A'].left, 123.5f);
    EXPECT_EQ(metrics->width('A'), 7.0f);
    EXPECT_EQ((*metrics)[0xE9].left, 900.0f);
    EXPECT_EQ(metrics->width(0xE9), 11.0f);
    EXPECT_EQ(metrics->width('B'), 0.0f);
    EXPECT_EQ(encodeFontMetrics(*metrics), bytes);
}

TEST(FontMetricsFile, ShortTablesKeepTheirRecordsAndBadNumbersReadAsZero) {
    std::vector<std::uint8_t> bytes(kFontMetricsBytes - 1, 0);
    put(bytes, 'A' * 8 + 4, 7.0f);
    put(bytes, 255 * 8, 9.0f);  // record 255 is cut short: it stays empty
    const auto shortTable = parseFontMetrics(bytes);
    ASSERT_TRUE(shortTable);
    EXPECT_EQ(shortTable->width('A'), 7.0f);
    EXPECT_EQ((*shortTable)[255].left, 0.0f);
    put(bytes, 'A' * 8 + 4, 0.0f);
    bytes.resize(kFontMetricsBytes + 16, 0);  // a longer file: the rest is ignored
    put(bytes, 'A' * 8 + 4, std::numeric_limits<float>::quiet_NaN());
    put(bytes, 'B' * 8 + 4, -3.0f);
    put(bytes, 'C' * 8, std::numeric_limits<float>::infinity());
    put(bytes, 'C' * 8 + 4, 5.0f);
    const auto metrics = parseFontMetrics(bytes);
    ASSERT_TRUE(metrics);
    EXPECT_EQ(metrics->width('A'), 0.0f);
    EXPECT_EQ(metrics->width('B'), 0.0f);
    EXPECT_EQ((*metrics)['C'].left, 0.0f);
    EXPECT_EQ(metrics->width('C'), 5.0f);
}

TEST(FontLoading, MissingFilesGiveNoFontShortOnesAPartialTableAndTraceLines) {
    testing::TempFolder temp;
    const std::filesystem::path folder = temp.path() / "shaders";
    std::filesystem::create_directories(folder);
    const std::vector<std::uint8_t> full = encodeFontMetrics(testing::testFontMetrics());
    // The regular table stops one record short; the bold one is missing,
    // and so are the three images.
    testing::writeBytes(folder / "Font.uvs", std::span(full).first(kFontMetricsBytes - 8));

    std::string why;
    const auto partial = loadFontMetrics(folder / "Font.uvs", &why);
    ASSERT_TRUE(partial);
    EXPECT_NE(why.find("2040"), std::string::npos) << why;
    EXPECT_EQ(partial->width('A'), testing::testFontMetrics().width('A'));
    EXPECT_EQ(partial->width(255), 0.0f);
    EXPECT_FALSE(loadFontMetrics(folder / "Fontbold.uvs", &why));

    const TraceLog trace(temp.path() / "trace.txt");
    TextureList list;  // stays empty: no image is there, nothing reaches the driver
    const FontSet fonts = loadFonts(temp.path(), list, trace);
    EXPECT_TRUE(fonts.regularMetrics);
    EXPECT_FALSE(fonts.boldMetrics);
    EXPECT_NE(fonts.metrics(false), nullptr);
    EXPECT_EQ(fonts.metrics(true), nullptr);
    EXPECT_EQ(fonts.image(false), nullptr);
    EXPECT_EQ(fonts.image(true), nullptr);
    EXPECT_EQ(fonts.invertedImage, nullptr);
    EXPECT_EQ(list.size(), 0u);
    const std::vector<std::string> lines = testing::readLines(temp.path() / "trace.txt");
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], "CreateTextureFromFile shaders\\font.dds, hr = D3D11_ERROR_FILE_NOT_FOUND");
    EXPECT_EQ(lines[1], "CreateTextureFromFile shaders\\fontbold.dds, hr = D3D11_ERROR_FILE_NOT_FOUND");
    EXPECT_EQ(lines[2], "CreateTextureFromFile shaders\\fontinvert.dds, hr = D3D11_ERROR_FILE_NOT_FOUND");
    EXPECT_EQ(lines[3], "ReadFile shaders\\Font.uvs, hr = E_FAIL");
    EXPECT_EQ(lines[4], "shaders\\Font.uvs: 2040 bytes, a metrics table needs 2048: the characters past the end draw nothing");
    EXPECT_EQ(lines[5], "ReadFile shaders\\Fontbold.uvs, hr = D3D11_ERROR_FILE_NOT_FOUND");
}

}  // namespace
}  // namespace morvanex
