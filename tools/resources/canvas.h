// A small RGBA drawing surface for the images the generator draws: filled
// and outlined rectangles, antialiased lines, arcs, discs, arrows and
// polygons, and text in the generated bitmap font. Coordinates are pixels,
// x to the right and y down, (0, 0) the top-left corner of the top-left
// pixel; a pixel's centre is at (x + 0.5, y + 0.5).
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "image/image_record.h"
#include "resources/font_atlas.h"

namespace morvanex::resources {

struct Colour {
    std::uint8_t r = 0, g = 0, b = 0, a = 255;
    bool operator==(const Colour&) const = default;
};

inline constexpr Colour kTransparent{0, 0, 0, 0};
inline constexpr Colour kWhite{255, 255, 255, 255};
inline constexpr Colour kBlack{0, 0, 0, 255};

struct Point {
    float x = 0.0f, y = 0.0f;
};

class Canvas {
public:
    Canvas(int width, int height, Colour fill = kTransparent);

    int width() const { return width_; }
    int height() const { return height_; }
    Colour pixel(int x, int y) const;

    // Replaces a pixel; outside the canvas nothing happens.
    void set(int x, int y, Colour colour);
    // Source-over blend of the colour at a fraction of its alpha.
    void blend(int x, int y, Colour colour, float coverage = 1.0f);

    void fill(Colour colour);
    // Whole pixels from (x0, y0) up to but not including (x1, y1), replaced.
    void fillRect(int x0, int y0, int x1, int y1, Colour colour);
    // The rectangle's border, `thickness` pixels inside its edges, blended.
    void strokeRect(int x0, int y0, int x1, int y1, Colour colour, int thickness = 1);
    // Rounded rectangle over [x0, x1) x [y0, y1), antialiased, blended.
    void fillRoundedRect(float x0, float y0, float x1, float y1, float radius, Colour colour);
    // Top-to-bottom colour ramp over the rectangle, replaced.
    void verticalGradient(int x0, int y0, int x1, int y1, Colour top, Colour bottom);

    // Antialiased strokes with round ends, `width` pixels thick.
    void line(Point from, Point to, float width, Colour colour);
    void polyline(std::span<const Point> points, float width, Colour colour);
    // Angles in degrees, 0 to the right, increasing clockwise on screen.
    void arc(Point centre, float radius, float startDegrees, float endDegrees, float width, Colour colour);
    void circle(Point centre, float radius, float width, Colour colour);
    void disc(Point centre, float radius, Colour colour);
    // A shaft from `from` to `to` with a filled head at `to`.
    void arrow(Point from, Point to, float width, float headLength, float headWidth, Colour colour);
    // Filled polygon (even-odd rule), 4 x 4 samples a pixel.
    void polygon(std::span<const Point> points, Colour colour);

    // Windows-1252 text in the glyph font with its top at y; returns the
    // width drawn (the sum of the glyph advances).
    int text(const FontAtlas& font, int x, int y, std::string_view text, Colour colour);
    static int textWidth(const FontAtlas& font, std::string_view text);

    // The canvas as a one-level RGBA8 image.
    DecodedImage image() const;

private:
    template <typename Coverage>
    void shade(float x0, float y0, float x1, float y1, Colour colour, Coverage coverage);

    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint8_t> pixels_;
};

}  // namespace morvanex::resources
