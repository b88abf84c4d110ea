// Bitmap fonts for the text drawing: one glyph image, 1000 pixels wide and
// one 20-pixel line high, holding every character side by side in one row,
// and a metrics table of 256 records indexed by Windows-1252 byte.
//
// Record i: the left edge of the glyph of byte i in the image and its width,
// both in thousandths of the image width. The image is exactly 1000 pixels
// wide, so one unit is one image pixel and one screen pixel: the widths are
// whole pixels and are also the advances. Bytes without a glyph have an
// all-zero record. The glyphs lie in ascending byte order from x = 0, with
// no gap between cells; the whole cell (all 20 rows) belongs to its glyph.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "image/image_record.h"

namespace morvanex::resources {

inline constexpr int kFontImageWidth = 1000;
inline constexpr int kFontImageHeight = 20;
inline constexpr float kFontMetricUnits = 1000.0f;  // metric units across the image
inline constexpr std::size_t kFontMetricsFileSize = 2048;

struct GlyphMetrics {
    float left = 0.0f;   // thousandths of the image width (= image pixels)
    float width = 0.0f;  // screen pixels = thousandths of the image width = advance
};
using FontMetrics = std::array<GlyphMetrics, 256>;

struct FontAtlas {
    int width = kFontImageWidth;
    int height = kFontImageHeight;
    std::vector<std::uint8_t> coverage;  // width * height, rows top first, 0 = empty, 255 = full ink
    FontMetrics metrics{};
    float emPixels = 0.0f;  // the size the glyphs were drawn at (pixels per em)
    int baseline = 0;       // row of the baseline, counted from the top

    std::uint8_t at(int x, int y) const { return coverage[static_cast<std::size_t>(y * width + x)]; }
};

// The Windows-1252 bytes every font carries, ascending: printable ASCII and
// what French text needs (accented letters of both cases, the ligatures,
// guillemets, euro, degree, typographic apostrophe, no-break space).
std::span<const std::uint8_t> coveredCharacters();
bool isCoveredCharacter(std::uint8_t byte);

// The Unicode code point of a Windows-1252 byte; 0 for the five undefined
// bytes.
char32_t unicodeFromWindows1252(std::uint8_t byte);

// Rasterises the covered characters of a TrueType font at the largest size
// whose advances fit the 1000 pixels of the row (pixel-aligned, no scaling
// afterwards). Empty, with the reason in `why`, when the font cannot be read
// or lacks a covered character.
std::optional<FontAtlas> buildFontAtlas(std::span<const std::uint8_t> fontFile, std::string* why = nullptr);

// The 2048-byte metrics file: 256 records of two little-endian 32-bit
// floats (left, width).
std::vector<std::uint8_t> encodeFontMetrics(const FontMetrics& metrics);
std::optional<FontMetrics> decodeFontMetrics(std::span<const std::uint8_t> file);

// The glyph image in RGBA8: white everywhere; alpha is the ink coverage,
// or, inverted, the opposite inside every glyph cell (a solid band with the
// letters cut out) and 0 beyond the last cell.
DecodedImage fontImage(const FontAtlas& atlas, bool inverted);

}  // namespace morvanex::resources
