// The interface drawing operations the widgets use: textured and coloured
// quads, lines, outlines, panel bodies and text, in pixels of the drawing
// area (x from the left, y from the top), depth 0.5, no depth test, alpha
// blending. Nothing is sent when an operation is called: every operation
// appends triangles to one vertex list, and consecutive operations with the
// same image, sampling and clip rectangle share one draw command. flush()
// uploads the list once and issues one draw per command, so a frame of
// panels costs tens of draws, not one per widget (the draw-list model of
// immediate-mode toolkits). Lines are one-pixel quads, so they batch too.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "render/dynamic_buffer.h"
#include "render/vertex_layouts.h"
#include "scene/math.h"

namespace morvanex {

class Renderer;
class TextureImage;
class TraceLog;

// A rectangle in pixels of the drawing area.
struct UiRect {
    float x = 0.0f;
    float y = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
};

// What a panel body is drawn from (the body operation of the widget
// framework): the rectangle, the four animated corner colours (RGBA floats,
// top-left, top-right, bottom-right, bottom-left), the outline, and the
// extended form (an 80-pixel band below, tapering to the left).
struct PanelBodyStyle {
    UiRect rect;
    std::array<Vec4, 4> corners{};
    bool outlined = true;
    bool extended = false;
};

class InterfaceDrawing {
public:
    explicit InterfaceDrawing(Renderer& renderer);
    ~InterfaceDrawing();
    InterfaceDrawing(const InterfaceDrawing&) = delete;
    InterfaceDrawing& operator=(const InterfaceDrawing&) = delete;

    // Where button images are loaded from by name (the program folder).
    void setProgramFolder(std::filesystem::path folder, const TraceLog* trace);

    // An interface image by file name ("UI\translation.dds" or
    // "translation.dds"): found among those loaded, else loaded from the
    // program's UI folder and kept. Null when it cannot be loaded (widgets
    // drawing with it then draw nothing); each missing name is traced once.
    const TextureImage* image(std::string_view fileName);

    // The whole image stretched over the rectangle, times the colour.
    void imageQuad(const TextureImage* image, const UiRect& rect, const Vec4& colour);
    // Part of the image: texture coordinates from uv0 (top left) to uv1.
    void imageQuad(const TextureImage* image, const UiRect& rect, Vec2 uv0, Vec2 uv1, const Vec4& colour);
    // A filled quad with its four corner colours (top-left, top-right,
    // bottom-right, bottom-left).
    void gradientQuad(const UiRect& rect, const std::array<Vec4, 4>& corners);
    void filledRect(const UiRect& rect, const Vec4& colour);
    void horizontalLine(float x, float y, float length, const Vec4& colour);
    void verticalLine(float x, float y, float length, const Vec4& colour);
    // A one-pixel frame just inside the rectangle.
    void outline(const UiRect& rect, const Vec4& colour);
    void panelBody(const PanelBodyStyle& style);

    // Width in pixels of the text (Windows-1252) in the interface font.
    float measureText(std::string_view text, bool bold = false) const;
    // The text with its top-left corner at (left, top), 20 pixels high.
    // Returns the pen position after the last glyph.
    float text(float top, float left, std::string_view text, const Vec4& colour, bool bold = false);
    // From the inverted glyph image (light text on dark fields).
    float invertedText(float top, float left, std::string_view text, const Vec4& colour);

    // Clips what follows to the rectangle until clearClip() (or the next
    // setClip); the clip of a scrolling list.
    void setClip(const UiRect& rect);
    void clearClip();

    // Uploads the vertex list and issues the draws, then empties the list.
    // Safe to call with nothing recorded; records nothing and draws nothing
    // for a renderer without a graphics context.
    void flush();

    // What the last flush sent, and the vertices waiting now.
    int lastDrawCalls() const { return lastDrawCalls_; }
    std::size_t pendingVertices() const { return vertices_.size(); }
    std::size_t pendingCommands() const { return commands_.size(); }

    // The device is rebuilt: every GL object goes (made again on first use).
    void releaseGpuResources();

private:
    struct ClipRect {
        int x, y, width, height;
        friend bool operator==(const ClipRect&, const ClipRect&) = default;
    };
    struct Command {
        unsigned texture = 0;  // 0: the atlas
        std::optional<ClipRect> clip;
        std::uint32_t firstQuad = 0;
        std::uint32_t quads = 0;
    };

    // Where an image lies in the atlas (texture coordinates of its pixels).
    struct AtlasPlace {
        bool inAtlas = false;
        Vec2 uv0;
        Vec2 uv1;
    };

    bool recording() const;
    void appendQuad(unsigned texture, const UiRect& rect, Vec2 uv0, Vec2 uv1, const std::array<Vec4, 4>& corners);
    void appendQuads(unsigned texture, std::size_t count);
    // The image's place in the atlas, copying it there on first use; not in
    // the atlas (drawn from its own texture) when it is not an interface
    // image or does not fit.
    const AtlasPlace& atlasPlace(const TextureImage& image);
    bool ensureAtlas();
    bool ensureIndices(std::size_t quads);
    Vec2 whiteUv() const;
    ScreenVertex vertexAt(float x, float y, const Vec4& colour, Vec2 uv) const;
    float appendText(const TextureImage* glyphs, bool bold, float top, float left, std::string_view text,
                     const Vec4& colour);
    bool ensureGpuResources();

    Renderer& renderer_;
    std::filesystem::path programFolder_;
    const TraceLog* trace_ = nullptr;
    std::vector<ScreenVertex> vertices_;
    std::vector<Command> commands_;
    std::optional<ClipRect> clip_;
    std::vector<std::string> missingImages_;
    DynamicVertexBuffer buffer_;
    unsigned indexBuffer_ = 0;     // the quad pattern, grown as lists grow
    std::size_t indexedQuads_ = 0;
    unsigned atlas_ = 0;
    int shelfX_ = 0;       // the packer's next free place
    int shelfY_ = 0;
    int shelfHeight_ = 0;
    std::unordered_map<const TextureImage*, AtlasPlace> places_;
    int lastDrawCalls_ = 0;
};

}  // namespace morvanex
