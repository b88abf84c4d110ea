// Drawing in pixels of the drawing area, for the widgets: lines, outlines,
// colour quads, images and the UV view of a mesh. A pixel (x, y), x from the
// left and y from the top, lands at x' = 2x / width - 1, y' = 1 - 2y / height,
// depth 0.5.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "render/vertex_layouts.h"
#include "scene/math.h"

namespace morvanex {

class Renderer;
class TextureImage;
struct SceneObject;

struct ByteColour {
    std::uint8_t r = 255;
    std::uint8_t g = 255;
    std::uint8_t b = 255;
    std::uint8_t a = 255;
    Vec4 toFloat() const;
};

struct PixelRect {
    float x = 0.0f;
    float y = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
};

// The screen vertex of a pixel.
ScreenVertex screenVertex(float x, float y, const Vec4& colour, Vec2 texcoord, int targetWidth, int targetHeight);

// From (x, y) to (x + length, y), opaque.
void drawScreenLine(Renderer& renderer, float x, float y, float length, std::uint8_t r, std::uint8_t g,
                    std::uint8_t b);
// From (x, y) to (x, y + height).
void drawVerticalLine(Renderer& renderer, float x, float y, float height, ByteColour colour);
// Given vertices as one strip ("VS" + "PSUntex"); nothing for more than the
// buffer holds (10000).
void drawInterfaceLineStrip(Renderer& renderer, std::span<const ScreenVertex> vertices);
// Closed outline of the rectangle (five vertices); the grown form lies 5
// pixels outside it on every side.
void drawFrameOutline(Renderer& renderer, const PixelRect& rect, ByteColour colour);
void drawGrownFrameOutline(Renderer& renderer, const PixelRect& rect, ByteColour colour);
std::array<ScreenVertex, 5> frameOutlineVertices(const PixelRect& rect, const Vec4& colour, int targetWidth,
                                                 int targetHeight);

// A colour quad whose corner colours glide towards their targets (top-left,
// top-right, bottom-right, bottom-left).
struct GradientQuad {
    std::array<Vec4, 4> colours{};
    std::array<Vec4, 4> targets{};
    // Moves each colour by the factor 1 - 0.9^(60 dt).
    void step(float dt);
    void draw(Renderer& renderer, const PixelRect& rect) const;
};

// A textured quad ("VS" + "PS", anisotropic sampling). With a source size
// the texture coordinates cover that many pixels of the image from its top
// left; without one the whole image.
void drawImage(Renderer& renderer, const TextureImage& image, const PixelRect& rect,
               std::optional<Vec2> sourceSize, const Vec4& colour);
// Same from a bare texture name and its size.
void drawTexture(Renderer& renderer, unsigned texture, int textureWidth, int textureHeight, const PixelRect& rect,
                 std::optional<Vec2> sourceSize, const Vec4& colour);

// The object's triangles laid out by their texture coordinates inside the
// rectangle ("VS_UV" + "PS_SOL"), with the depth test; solid-back and
// depth-off afterwards.
void drawMeshInTextureSpace(Renderer& renderer, SceneObject& object, const PixelRect& rect);

}  // namespace morvanex
