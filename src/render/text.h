// Lines of text drawn from the bitmap fonts (text_fonts.h). There is no
// wrapping, kerning or scaling: every byte advances the pen by its metric
// width whatever the line height, and the line height only stretches the
// glyph image vertically. All positions are pixels of the drawing area,
// x from the left, y from the top.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "render/text_fonts.h"
#include "render/vertex_layouts.h"
#include "scene/math.h"

namespace morvanex {

class Renderer;

inline constexpr std::int32_t kTextLineHeight = 20;
// One line goes to the driver in one draw from the 360000-byte glyph
// buffer: at most 10000 vertices, 1666 characters of six vertices.
inline constexpr std::size_t kVerticesPerGlyph = 6;
inline constexpr std::size_t kMaxLineGlyphs = 1666;
// Glyphs a widget's text line holds, and a panel's.
inline constexpr std::size_t kWidgetTextCapacity = 1000;
inline constexpr std::size_t kPanelTextCapacity = 300;

// Width in pixels of the text: the sum of its bytes' metric widths.
float measureText(std::string_view text, const FontMetrics& metrics);

struct TextQuadPlacement {
    float x = 0.0f;      // pen start
    float top = 0.0f;
    float lineHeight = static_cast<float>(kTextLineHeight);
    Vec4 colour{1.0f, 1.0f, 1.0f, 1.0f};
    int targetWidth = 1;   // the drawing area, for the device coordinates
    int targetHeight = 1;
};

// Appends six vertices (two clockwise triangles: top-left, top-right,
// bottom-left, then top-right, bottom-right, bottom-left) for each byte of
// `text`, in device coordinates x' = 2x / W - 1, y' = 1 - 2y / H, depth 0.5,
// v = 0 at the top of the glyph and 1 at the bottom. A zero-width byte gives
// an empty quad and leaves the pen where it is. Returns the pen after the
// last byte.
float appendTextQuads(std::string_view text, const FontMetrics& metrics, const TextQuadPlacement& placement,
                      std::vector<ScreenVertex>& out);

// Builds one line in the renderer's vertex list and draws it in one call
// with the interface program ("VS" + "PS"), the glyph image on the image
// unit with the point-wrap sampler, no depth test and alpha blending. Draws
// nothing (and issues no call) for empty text or when the image, the table
// or the program is missing. Text past `maxGlyphs` (at most 1666) is cut.
void drawTextLine(Renderer& renderer, const TextureImage* image, const FontMetrics* metrics, std::string_view text,
                  const TextQuadPlacement& placement, std::size_t maxGlyphs = kMaxLineGlyphs);

// The text object of a widget or overlay: measures and draws single lines
// of Windows-1252 text in the renderer's fonts.
class TextLine {
public:
    explicit TextLine(Renderer& renderer, std::size_t capacity = kWidgetTextCapacity);

    // Width of the text in the bold or regular table; kept as lastWidth.
    float measure(std::string_view text, bool bold = false);
    // White, 20 pixels high, top at y, starting at x + leftOffset.
    void draw(float y, float x, std::string_view text, bool bold = false);
    // The given colour and this object's line height.
    void drawColoured(float y, float x, std::string_view text, const Vec4& colour, bool bold = false);
    // As drawColoured, from the inverted glyph image with the regular table.
    void drawInverted(float y, float x, std::string_view text, const Vec4& colour);

    std::size_t capacity() const { return capacity_; }

    std::int32_t leftOffset = 0;
    std::int32_t lineHeight = kTextLineHeight;
    float lastWidth = 0.0f;

private:
    void drawWith(const TextureImage* image, const FontMetrics* metrics, float y, float x, std::string_view text,
                  const Vec4& colour, float height);

    Renderer* renderer_;
    std::size_t capacity_;
};

}  // namespace morvanex
