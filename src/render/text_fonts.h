// The bitmap fonts: a glyph image holds every character side by side in one
// row, and a metrics table gives, for each of the 256 byte values of
// Windows-1252 text, where its glyph starts in the image and how wide it is.
//
// Metrics file (".uvs"): exactly 2048 bytes, little endian, no header; 256
// records of 8 bytes, record i for the byte value i:
//   offset 0  float32  left edge of the glyph, in thousandths of the image
//                      width (u = left * 0.001)
//   offset 4  float32  glyph width in screen pixels, which is also its width
//                      in thousandths of the image width and its advance
// The glyph images are 1000 units wide in these terms, one row of glyphs, so
// an image 1000 pixels wide maps glyph pixels 1:1 to screen pixels.
//
// All five files sit in the shader folder (the program folder followed by
// "shaders"): font.dds, fontbold.dds, fontinvert.dds, Font.uvs and
// Fontbold.uvs.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "render/vertex_layouts.h"

namespace morvanex {

class TraceLog;
class TextureImage;
class TextureList;

inline constexpr std::size_t kFontMetricsRecords = 256;
inline constexpr std::size_t kFontMetricsRecordBytes = 8;
inline constexpr std::size_t kFontMetricsBytes = kFontMetricsRecords * kFontMetricsRecordBytes;  // 2048

inline constexpr std::string_view kRegularFontImage = "font.dds";
inline constexpr std::string_view kBoldFontImage = "fontbold.dds";
inline constexpr std::string_view kInvertedFontImage = "fontinvert.dds";
inline constexpr std::string_view kRegularFontMetrics = "Font.uvs";
inline constexpr std::string_view kBoldFontMetrics = "Fontbold.uvs";

struct GlyphMetrics {
    float left = 0.0f;   // thousandths of the image width
    float width = 0.0f;  // pixels on screen, and the advance
};

struct FontMetrics {
    std::array<GlyphMetrics, kFontMetricsRecords> glyphs{};

    const GlyphMetrics& operator[](unsigned char byte) const { return glyphs[byte]; }
    float width(unsigned char byte) const { return glyphs[byte].width; }
};

// The table from the bytes of a metrics file. Nothing when there are fewer
// than 2048 bytes; bytes past the table are ignored. A width that is not a
// finite number of zero or more, or a left edge that is not finite, reads
// as 0 (such a glyph draws nothing and does not move the pen).
std::optional<FontMetrics> parseFontMetrics(std::span<const std::uint8_t> bytes);

// The file's 2048 bytes (the size is checked before reading), for tests and
// for the font generator's checks.
std::vector<std::uint8_t> encodeFontMetrics(const FontMetrics& metrics);

// Reads a metrics file; nothing, with the reason, when the file is missing,
// unreadable or shorter than the table.
std::optional<FontMetrics> loadFontMetrics(const std::filesystem::path& path, std::string* error = nullptr);

// The loaded fonts. A missing or short metrics file leaves its table empty
// and a missing or unreadable image leaves its pointer null: text of that
// weight is then not drawn (and measures 0 without its table). The images
// belong to the renderer's texture list.
struct FontSet {
    std::optional<FontMetrics> regularMetrics;
    std::optional<FontMetrics> boldMetrics;
    TextureImage* regularImage = nullptr;
    TextureImage* boldImage = nullptr;
    TextureImage* invertedImage = nullptr;  // drawn with the regular metrics

    const FontMetrics* metrics(bool bold) const;
    const TextureImage* image(bool bold) const { return bold ? boldImage : regularImage; }
};

// Loads the three glyph images into `list` and the two metrics tables from
// the shader folder of `programFolder`. Every file that cannot be used
// writes a trace line:
//   "CreateTextureFromFile shaders\font.dds, hr = D3D11_ERROR_FILE_NOT_FOUND"
//   "CreateTextureFromFile shaders\font.dds, hr = E_FAIL" + a line with the reason
//   "ReadFile shaders\Font.uvs, hr = D3D11_ERROR_FILE_NOT_FOUND"
//   "ReadFile shaders\Font.uvs, hr = E_FAIL" + a line with the reason
FontSet loadFonts(const std::filesystem::path& programFolder, TextureList& list, const TraceLog& trace);

// What the renderer keeps for text: the fonts, the vertex list every line
// is built in (emptied after each draw, kept for its storage) and the count
// of text draw calls issued so far.
struct TextResources {
    FontSet fonts;
    std::vector<ScreenVertex> vertices;
    std::uint64_t drawCalls = 0;

    void release() { fonts = {}; vertices = {}; }
};

}  // namespace morvanex
