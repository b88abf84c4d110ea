#include "resources/canvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace morvanex::resources {

namespace {

float clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }

float distanceToSegment(Point p, Point a, Point b) {
    const float dx = b.x - a.x, dy = b.y - a.y;
    const float length2 = dx * dx + dy * dy;
    float t = length2 > 0.0f ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0.0f;
    t = clamp01(t);
    const float ex = p.x - (a.x + t * dx), ey = p.y - (a.y + t * dy);
    return std::sqrt(ex * ex + ey * ey);
}

std::uint8_t mix(std::uint8_t a, std::uint8_t b, float t) {
    return static_cast<std::uint8_t>(std::lround(static_cast<float>(a) + (static_cast<float>(b) - static_cast<float>(a)) * t));
}

}  // namespace

Canvas::Canvas(int width, int height, Colour fill) : width_(width), height_(height) {
    pixels_.resize(static_cast<std::size_t>(width * height * 4));
    this->fill(fill);
}

Colour Canvas::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return kTransparent;
    const std::size_t at = static_cast<std::size_t>((y * width_ + x) * 4);
    return {pixels_[at], pixels_[at + 1], pixels_[at + 2], pixels_[at + 3]};
}

void Canvas::set(int x, int y, Colour colour) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    const std::size_t at = static_cast<std::size_t>((y * width_ + x) * 4);
    pixels_[at] = colour.r;
    pixels_[at + 1] = colour.g;
    pixels_[at + 2] = colour.b;
    pixels_[at + 3] = colour.a;
}

void Canvas::blend(int x, int y, Colour colour, float coverage) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    const float sa = clamp01(coverage) * static_cast<float>(colour.a) / 255.0f;
    if (sa <= 0.0f) return;
    const Colour dst = pixel(x, y);
    const float da = static_cast<float>(dst.a) / 255.0f;
    const float oa = sa + da * (1.0f - sa);
    auto channel = [&](std::uint8_t s, std::uint8_t d) {
        const float v = (static_cast<float>(s) * sa + static_cast<float>(d) * da * (1.0f - sa)) / oa;
        return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0f, 255.0f)));
    };
    set(x, y, {channel(colour.r, dst.r), channel(colour.g, dst.g), channel(colour.b, dst.b),
               static_cast<std::uint8_t>(std::lround(oa * 255.0f))});
}

void Canvas::fill(Colour colour) { fillRect(0, 0, width_, height_, colour); }

void Canvas::fillRect(int x0, int y0, int x1, int y1, Colour colour) {
    for (int y = std::max(0, y0); y < std::min(height_, y1); ++y)
        for (int x = std::max(0, x0); x < std::min(width_, x1); ++x) set(x, y, colour);
}

void Canvas::strokeRect(int x0, int y0, int x1, int y1, Colour colour, int thickness) {
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const bool border = x < x0 + thickness || x >= x1 - thickness || y < y0 + thickness || y >= y1 - thickness;
            if (border) blend(x, y, colour);
        }
}

template <typename Coverage>
void Canvas::shade(float x0, float y0, float x1, float y1, Colour colour, Coverage coverage) {
    const int ix0 = std::max(0, static_cast<int>(std::floor(x0)) - 1);
    const int iy0 = std::max(0, static_cast<int>(std::floor(y0)) - 1);
    const int ix1 = std::min(width_, static_cast<int>(std::ceil(x1)) + 1);
    const int iy1 = std::min(height_, static_cast<int>(std::ceil(y1)) + 1);
    for (int y = iy0; y < iy1; ++y)
        for (int x = ix0; x < ix1; ++x) {
            const float c = coverage(Point{static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f});
            if (c > 0.0f) blend(x, y, colour, c);
        }
}

void Canvas::fillRoundedRect(float x0, float y0, float x1, float y1, float radius, Colour colour) {
    const float r = std::max(0.0f, std::min({radius, (x1 - x0) * 0.5f, (y1 - y0) * 0.5f}));
    shade(x0, y0, x1, y1, colour, [&](Point p) {
        const float qx = std::max({x0 + r - p.x, p.x - (x1 - r), 0.0f});
        const float qy = std::max({y0 + r - p.y, p.y - (y1 - r), 0.0f});
        const float outside = std::sqrt(qx * qx + qy * qy) - r;
        const float inside = std::min({p.x - x0, x1 - p.x, p.y - y0, y1 - p.y});
        const float edge = (qx > 0.0f || qy > 0.0f) ? -outside : inside;
        return clamp01(edge + 0.5f);
    });
}

void Canvas::verticalGradient(int x0, int y0, int x1, int y1, Colour top, Colour bottom) {
    const int span = std::max(1, y1 - y0 - 1);
    for (int y = y0; y < y1; ++y) {
        const float t = static_cast<float>(y - y0) / static_cast<float>(span);
        const Colour c{mix(top.r, bottom.r, t), mix(top.g, bottom.g, t), mix(top.b, bottom.b, t), mix(top.a, bottom.a, t)};
        for (int x = x0; x < x1; ++x) set(x, y, c);
    }
}

void Canvas::line(Point from, Point to, float width, Colour colour) {
    const float half = width * 0.5f;
    shade(std::min(from.x, to.x) - half, std::min(from.y, to.y) - half, std::max(from.x, to.x) + half,
          std::max(from.y, to.y) + half, colour,
          [&](Point p) { return clamp01(half - distanceToSegment(p, from, to) + 0.5f); });
}

void Canvas::polyline(std::span<const Point> points, float width, Colour colour) {
    if (points.empty()) return;
    float x0 = points[0].x, y0 = points[0].y, x1 = x0, y1 = y0;
    for (Point p : points) {
        x0 = std::min(x0, p.x), y0 = std::min(y0, p.y), x1 = std::max(x1, p.x), y1 = std::max(y1, p.y);
    }
    const float half = width * 0.5f;
    // One pass over the whole path so that joints are not blended twice.
    shade(x0 - half, y0 - half, x1 + half, y1 + half, colour, [&](Point p) {
        float nearest = distanceToSegment(p, points[0], points[0]);
        for (std::size_t i = 1; i < points.size(); ++i)
            nearest = std::min(nearest, distanceToSegment(p, points[i - 1], points[i]));
        return clamp01(half - nearest + 0.5f);
    });
}

void Canvas::arc(Point centre, float radius, float startDegrees, float endDegrees, float width, Colour colour) {
    const float sweep = endDegrees - startDegrees;
    const int steps = std::max(8, static_cast<int>(std::ceil(std::abs(sweep) / 360.0f * radius * 2.0f * std::numbers::pi_v<float>)));
    std::vector<Point> points;
    for (int i = 0; i <= steps; ++i) {
        const float a = (startDegrees + sweep * static_cast<float>(i) / static_cast<float>(steps)) * std::numbers::pi_v<float> / 180.0f;
        points.push_back({centre.x + radius * std::cos(a), centre.y + radius * std::sin(a)});
    }
    polyline(points, width, colour);
}

void Canvas::circle(Point centre, float radius, float width, Colour colour) {
    const float half = width * 0.5f;
    shade(centre.x - radius - half, centre.y - radius - half, centre.x + radius + half, centre.y + radius + half, colour,
          [&](Point p) {
              const float d = std::hypot(p.x - centre.x, p.y - centre.y);
              return clamp01(half - std::abs(d - radius) + 0.5f);
          });
}

void Canvas::disc(Point centre, float radius, Colour colour) {
    shade(centre.x - radius, centre.y - radius, centre.x + radius, centre.y + radius, colour,
          [&](Point p) { return clamp01(radius - std::hypot(p.x - centre.x, p.y - centre.y) + 0.5f); });
}

void Canvas::arrow(Point from, Point to, float width, float headLength, float headWidth, Colour colour) {
    const float dx = to.x - from.x, dy = to.y - from.y;
    const float length = std::hypot(dx, dy);
    if (length <= 0.0f) return;
    const float ux = dx / length, uy = dy / length;
    const Point base{to.x - ux * headLength, to.y - uy * headLength};
    line(from, base, width, colour);
    const Point head[3] = {to, {base.x - uy * headWidth * 0.5f, base.y + ux * headWidth * 0.5f},
                           {base.x + uy * headWidth * 0.5f, base.y - ux * headWidth * 0.5f}};
    polygon(head, colour);
}

void Canvas::polygon(std::span<const Point> points, Colour colour) {
    if (points.size() < 3) return;
    float x0 = points[0].x, y0 = points[0].y, x1 = x0, y1 = y0;
    for (Point p : points) {
        x0 = std::min(x0, p.x), y0 = std::min(y0, p.y), x1 = std::max(x1, p.x), y1 = std::max(y1, p.y);
    }
    auto inside = [&](float px, float py) {
        bool in = false;
        for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
            const Point a = points[i], b = points[j];
            if ((a.y > py) != (b.y > py) && px < (b.x - a.x) * (py - a.y) / (b.y - a.y) + a.x) in = !in;
        }
        return in;
    };
    shade(x0, y0, x1, y1, colour, [&](Point p) {
        int hits = 0;
        for (int sy = 0; sy < 4; ++sy)
            for (int sx = 0; sx < 4; ++sx)
                if (inside(p.x - 0.5f + (static_cast<float>(sx) + 0.5f) / 4.0f, p.y - 0.5f + (static_cast<float>(sy) + 0.5f) / 4.0f))
                    ++hits;
        return static_cast<float>(hits) / 16.0f;
    });
}

int Canvas::text(const FontAtlas& font, int x, int y, std::string_view text, Colour colour) {
    int pen = x;
    for (char ch : text) {
        const GlyphMetrics& glyph = font.metrics[static_cast<std::uint8_t>(ch)];
        const int left = static_cast<int>(glyph.left);
        const int w = static_cast<int>(glyph.width);
        for (int row = 0; row < font.height; ++row)
            for (int column = 0; column < w; ++column) {
                const std::uint8_t ink = font.at(left + column, row);
                if (ink) blend(pen + column, y + row, colour, static_cast<float>(ink) / 255.0f);
            }
        pen += w;
    }
    return pen - x;
}

int Canvas::textWidth(const FontAtlas& font, std::string_view text) {
    int total = 0;
    for (char ch : text) total += static_cast<int>(font.metrics[static_cast<std::uint8_t>(ch)].width);
    return total;
}

DecodedImage Canvas::image() const {
    DecodedImage image;
    image.format = PixelFormat::Rgba8;
    image.width = width_;
    image.height = height_;
    image.levels.push_back({width_, height_, pixels_});
    return image;
}

}  // namespace morvanex::resources
