#include "start_scenes/letter_outlines.h"

#include <cmath>
#include <utility>

#include <stb/stb_truetype.h>

namespace morvanex {

namespace {

void fail(std::string* why, std::string text) {
    if (why != nullptr) *why = std::move(text);
}

// Appends the glyph's contours, shifted right by `penX` font units.
void appendGlyph(const stbtt_fontinfo& info, int glyph, double penX, double scale, int curveSteps,
                 std::vector<Contour>& out) {
    stbtt_vertex* vertices = nullptr;
    const int count = stbtt_GetGlyphShape(&info, glyph, &vertices);
    Contour current;
    Point2 last;
    const auto at = [&](double x, double y) { return Point2{(penX + x) * scale, y * scale}; };
    const auto finishContour = [&] {
        // The last point repeats the first in TrueType outlines.
        if (current.size() > 1 && current.front().x == current.back().x && current.front().y == current.back().y) {
            current.pop_back();
        }
        if (current.size() >= 3) out.push_back(std::move(current));
        current.clear();
    };
    for (int i = 0; i < count; ++i) {
        const stbtt_vertex& v = vertices[i];
        const Point2 p = at(v.x, v.y);
        switch (v.type) {
        case STBTT_vmove:
            finishContour();
            current.push_back(p);
            break;
        case STBTT_vline: current.push_back(p); break;
        case STBTT_vcurve: {
            const Point2 c = at(v.cx, v.cy);
            for (int s = 1; s <= curveSteps; ++s) {
                const double t = static_cast<double>(s) / curveSteps, u = 1.0 - t;
                current.push_back({u * u * last.x + 2 * u * t * c.x + t * t * p.x,
                                   u * u * last.y + 2 * u * t * c.y + t * t * p.y});
            }
            break;
        }
        case STBTT_vcubic: {
            const Point2 c1 = at(v.cx, v.cy), c2 = at(v.cx1, v.cy1);
            for (int s = 1; s <= curveSteps; ++s) {
                const double t = static_cast<double>(s) / curveSteps, u = 1.0 - t;
                current.push_back({u * u * u * last.x + 3 * u * u * t * c1.x + 3 * u * t * t * c2.x + t * t * t * p.x,
                                   u * u * u * last.y + 3 * u * u * t * c1.y + 3 * u * t * t * c2.y + t * t * t * p.y});
            }
            break;
        }
        default: break;
        }
        last = p;
    }
    finishContour();
    stbtt_FreeShape(&info, vertices);
}

}  // namespace

std::optional<TextOutline> outlineText(std::span<const std::uint8_t> fontFile, std::string_view text, double height,
                                       int curveSteps, std::string* why) {
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
    const double scale = stbtt_ScaleForMappingEmToPixels(&info, static_cast<float>(height));
    TextOutline outline;
    double pen = 0.0;
    int previous = 0;
    for (char letter : text) {
        const int glyph = stbtt_FindGlyphIndex(&info, static_cast<unsigned char>(letter));
        if (glyph == 0) {
            fail(why, std::string("the font has no letter ") + letter);
            return std::nullopt;
        }
        if (previous != 0) pen += stbtt_GetGlyphKernAdvance(&info, previous, glyph);
        appendGlyph(info, glyph, pen, scale, curveSteps, outline.contours);
        int advance = 0, bearing = 0;
        stbtt_GetGlyphHMetrics(&info, glyph, &advance, &bearing);
        pen += advance;
        previous = glyph;
    }
    outline.width = pen * scale;
    return outline;
}

}  // namespace morvanex
