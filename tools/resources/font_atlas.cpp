#include "resources/font_atlas.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include <stb/stb_truetype.h>

namespace morvanex::resources {

namespace {

// 0x80 to 0x9F of Windows-1252; the rest of the page is Latin-1.
constexpr std::array<char32_t, 32> kWindows1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

constexpr std::array<std::uint8_t, 42> kFrenchCharacters = {
    0x80,  // euro
    0x8C,  // OE ligature
    0x92,  // right single quotation mark (typographic apostrophe)
    0x9C,  // oe ligature
    0x9F,  // Y diaeresis
    0xA0,  // no-break space (before : ; ! ? and inside guillemets)
    0xAB,  // left guillemet
    0xB0,  // degree
    0xBB,  // right guillemet
    // capitals: A grave, A circumflex, A diaeresis, AE, C cedilla, E grave,
    // E acute, E circumflex, E diaeresis, I circumflex, I diaeresis,
    // O circumflex, O diaeresis, U grave, U circumflex, U diaeresis
    0xC0, 0xC2, 0xC4, 0xC6, 0xC7, 0xC8, 0xC9, 0xCA, 0xCB, 0xCE, 0xCF, 0xD4, 0xD6, 0xD9, 0xDB, 0xDC,
    // the same in lower case
    0xE0, 0xE2, 0xE4, 0xE6, 0xE7, 0xE8, 0xE9, 0xEA, 0xEB, 0xEE, 0xEF, 0xF4, 0xF6, 0xF9, 0xFB, 0xFC,
    0xFF,  // y diaeresis
};

constexpr std::array<std::uint8_t, 95 + kFrenchCharacters.size()> makeCovered() {
    std::array<std::uint8_t, 95 + kFrenchCharacters.size()> all{};
    std::size_t n = 0;
    for (int b = 0x20; b <= 0x7E; ++b) all[n++] = static_cast<std::uint8_t>(b);
    for (std::uint8_t b : kFrenchCharacters) all[n++] = b;
    return all;
}
constexpr auto kCovered = makeCovered();

// Sizes tried, largest first, in quarter pixels per em.
constexpr float kLargestEm = 16.0f;
constexpr float kSmallestEm = 8.0f;
constexpr float kEmStep = 0.25f;
// Horizontal sub-pixel offsets tried for each glyph.
constexpr int kShiftSteps = 8;

bool fail(std::string* why, std::string text) {
    if (why) *why = std::move(text);
    return false;
}

struct Glyph {
    std::uint8_t byte = 0;
    int index = 0;    // glyph index in the font
    int advance = 0;  // whole pixels at the chosen size
};

}  // namespace

std::span<const std::uint8_t> coveredCharacters() { return kCovered; }

bool isCoveredCharacter(std::uint8_t byte) {
    return std::find(kCovered.begin(), kCovered.end(), byte) != kCovered.end();
}

char32_t unicodeFromWindows1252(std::uint8_t byte) {
    if (byte >= 0x80 && byte <= 0x9F) return kWindows1252High[byte - 0x80u];
    return byte;
}

std::optional<FontAtlas> buildFontAtlas(std::span<const std::uint8_t> fontFile, std::string* why) {
    if (fontFile.size() < 12) {
        fail(why, "font file too short");
        return std::nullopt;
    }
    const int offset = stbtt_GetFontOffsetForIndex(fontFile.data(), 0);
    stbtt_fontinfo info{};
    if (offset < 0 || !stbtt_InitFont(&info, fontFile.data(), offset)) {
        fail(why, "not a TrueType font");
        return std::nullopt;
    }

    std::vector<Glyph> glyphs;
    for (std::uint8_t byte : kCovered) {
        const char32_t code = unicodeFromWindows1252(byte);
        const int index = stbtt_FindGlyphIndex(&info, static_cast<int>(code));
        if (index == 0) {
            fail(why, "the font has no glyph for U+" + std::to_string(static_cast<unsigned>(code)));
            return std::nullopt;
        }
        glyphs.push_back({byte, index, 0});
    }

    int ascent = 0, descent = 0, lineGap = 0;
    stbtt_GetFontVMetrics(&info, &ascent, &descent, &lineGap);

    // The largest size whose whole-pixel advances fit the row and whose
    // ascent and descent fit the line.
    float em = kLargestEm;
    float scale = 0.0f;
    for (; em >= kSmallestEm; em -= kEmStep) {
        scale = stbtt_ScaleForMappingEmToPixels(&info, em);
        if (static_cast<float>(ascent - descent) * scale > static_cast<float>(kFontImageHeight)) continue;
        int total = 0;
        for (Glyph& glyph : glyphs) {
            int advance = 0, bearing = 0;
            stbtt_GetGlyphHMetrics(&info, glyph.index, &advance, &bearing);
            glyph.advance = std::max(1, static_cast<int>(std::lround(static_cast<float>(advance) * scale)));
            total += glyph.advance;
        }
        if (total <= kFontImageWidth) break;
    }
    if (em < kSmallestEm) {
        fail(why, "the covered characters do not fit the glyph row");
        return std::nullopt;
    }

    FontAtlas atlas;
    atlas.emPixels = em;
    atlas.coverage.assign(static_cast<std::size_t>(atlas.width * atlas.height), 0);
    // Ascent and descent centred in the line, baseline on a whole row.
    const float ascentPixels = static_cast<float>(ascent) * scale;
    const float spare = static_cast<float>(kFontImageHeight) - static_cast<float>(ascent - descent) * scale;
    atlas.baseline = static_cast<int>(std::lround(spare * 0.5f + ascentPixels));

    int left = 0;
    for (const Glyph& glyph : glyphs) {
        atlas.metrics[glyph.byte] = {static_cast<float>(left), static_cast<float>(glyph.advance)};
        // Point sampling shows every glyph pixel as it is, so each glyph is
        // drawn at the horizontal sub-pixel offset that gives it the
        // sharpest stems (most coverage near 0 or 255); the baseline stays
        // on its row and the advance is unchanged.
        int x0 = 0, y0 = 0, w = 0, h = 0;
        std::vector<unsigned char> bitmap;
        double sharpest = -1.0;
        for (int step = 0; step < kShiftSteps; ++step) {
            const float shift = static_cast<float>(step) / static_cast<float>(kShiftSteps);
            int bx0 = 0, by0 = 0, bx1 = 0, by1 = 0;
            stbtt_GetGlyphBitmapBoxSubpixel(&info, glyph.index, scale, scale, shift, 0.0f, &bx0, &by0, &bx1, &by1);
            const int bw = bx1 - bx0, bh = by1 - by0;
            if (bw <= 0 || bh <= 0) break;
            std::vector<unsigned char> candidate(static_cast<std::size_t>(bw * bh));
            stbtt_MakeGlyphBitmapSubpixel(&info, candidate.data(), bw, bh, bw, scale, scale, shift, 0.0f, glyph.index);
            double sum = 0.0, squares = 0.0;
            for (unsigned char c : candidate) {
                sum += c;
                squares += static_cast<double>(c) * c;
            }
            const double sharpness = sum > 0.0 ? squares / sum : 0.0;
            if (sharpness > sharpest + 1e-9) {
                sharpest = sharpness;
                x0 = bx0, y0 = by0, w = bw, h = bh;
                bitmap = std::move(candidate);
            }
        }
        if (w > 0 && h > 0) {
            // Keep the ink inside its own cell: a glyph that overhangs its
            // advance is moved in (and cut only when wider than the cell).
            int inkLeft = x0;
            if (inkLeft + w > glyph.advance) inkLeft = glyph.advance - w;
            if (inkLeft < 0) inkLeft = 0;
            for (int row = 0; row < h; ++row) {
                const int y = atlas.baseline + y0 + row;
                if (y < 0 || y >= atlas.height) continue;
                for (int column = 0; column < w; ++column) {
                    const int cellX = inkLeft + column;
                    if (cellX >= glyph.advance) break;
                    atlas.coverage[static_cast<std::size_t>(y * atlas.width + left + cellX)] =
                        bitmap[static_cast<std::size_t>(row * w + column)];
                }
            }
        }
        left += glyph.advance;
    }
    return atlas;
}

std::vector<std::uint8_t> encodeFontMetrics(const FontMetrics& metrics) {
    std::vector<std::uint8_t> file;
    file.reserve(kFontMetricsFileSize);
    auto put = [&file](float value) {
        const auto bits = std::bit_cast<std::uint32_t>(value);
        for (int shift = 0; shift < 32; shift += 8) file.push_back(static_cast<std::uint8_t>(bits >> shift));
    };
    for (const GlyphMetrics& glyph : metrics) {
        put(glyph.left);
        put(glyph.width);
    }
    return file;
}

std::optional<FontMetrics> decodeFontMetrics(std::span<const std::uint8_t> file) {
    if (file.size() != kFontMetricsFileSize) return std::nullopt;
    auto get = [&file](std::size_t at) {
        std::uint32_t bits = 0;
        for (int i = 0; i < 4; ++i) bits |= static_cast<std::uint32_t>(file[at + static_cast<std::size_t>(i)]) << (8 * i);
        return std::bit_cast<float>(bits);
    };
    FontMetrics metrics{};
    for (std::size_t i = 0; i < metrics.size(); ++i) metrics[i] = {get(i * 8), get(i * 8 + 4)};
    return metrics;
}

DecodedImage fontImage(const FontAtlas& atlas, bool inverted) {
    DecodedImage image;
    image.format = PixelFormat::Rgba8;
    image.fileFormat = ImageFileFormat::Dds;
    image.width = atlas.width;
    image.height = atlas.height;
    ImageLevel level{atlas.width, atlas.height, {}};
    level.bytes.assign(static_cast<std::size_t>(atlas.width * atlas.height * 4), 255);
    std::vector<bool> inCell(static_cast<std::size_t>(atlas.width), false);
    for (const GlyphMetrics& glyph : atlas.metrics) {
        const int from = static_cast<int>(glyph.left);
        const int to = std::min(atlas.width, from + static_cast<int>(glyph.width));
        for (int x = std::max(0, from); x < to; ++x) inCell[static_cast<std::size_t>(x)] = true;
    }
    for (int y = 0; y < atlas.height; ++y)
        for (int x = 0; x < atlas.width; ++x) {
            const std::uint8_t ink = atlas.at(x, y);
            std::uint8_t alpha = ink;
            if (inverted) alpha = inCell[static_cast<std::size_t>(x)] ? static_cast<std::uint8_t>(255 - ink) : 0;
            level.bytes[static_cast<std::size_t>((y * atlas.width + x) * 4 + 3)] = alpha;
        }
    image.levels.push_back(std::move(level));
    return image;
}

}  // namespace morvanex::resources
