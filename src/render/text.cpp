#include "render/text.h"

#include <epoxy/gl.h>

#include <algorithm>

#include "render/constant_blocks.h"
#include "render/renderer.h"

namespace morvanex {

float measureText(std::string_view text, const FontMetrics& metrics) {
    float width = 0.0f;
    for (char c : text) width += metrics.width(static_cast<unsigned char>(c));
    return width;
}

float appendTextQuads(std::string_view text, const FontMetrics& metrics, const TextQuadPlacement& placement,
                      std::vector<ScreenVertex>& out) {
    const float sx = 2.0f / static_cast<float>(std::max(placement.targetWidth, 1));
    const float sy = 2.0f / static_cast<float>(std::max(placement.targetHeight, 1));
    const float top = 1.0f - placement.top * sy;
    const float bottom = 1.0f - (placement.top + placement.lineHeight) * sy;
    const Vec4 colour = placement.colour;
    out.reserve(out.size() + text.size() * kVerticesPerGlyph);
    float pen = placement.x;
    for (char c : text) {
        const GlyphMetrics& glyph = metrics[static_cast<unsigned char>(c)];
        const float u0 = glyph.left * 0.001f;
        const float u1 = (glyph.left + glyph.width) * 0.001f;
        const float left = pen * sx - 1.0f;
        const float right = (pen + glyph.width) * sx - 1.0f;
        const ScreenVertex topLeft{{left, top, 0.5f}, colour, {u0, 0.0f}};
        const ScreenVertex topRight{{right, top, 0.5f}, colour, {u1, 0.0f}};
        const ScreenVertex bottomLeft{{left, bottom, 0.5f}, colour, {u0, 1.0f}};
        const ScreenVertex bottomRight{{right, bottom, 0.5f}, colour, {u1, 1.0f}};
        out.insert(out.end(), {topLeft, topRight, bottomLeft, topRight, bottomRight, bottomLeft});
        pen += glyph.width;
    }
    return pen;
}

void drawTextLine(Renderer& renderer, const TextureImage* image, const FontMetrics* metrics, std::string_view text,
                  const TextQuadPlacement& placement, std::size_t maxGlyphs) {
    if (image == nullptr || image->texture == 0 || metrics == nullptr || text.empty()) return;
    const std::uint32_t program = renderer.shaders.program(ProgramId::UiTextured);
    VertexArrayFormat& layout = renderer.shaders.layout(LayoutKind::Screen);
    if (program == 0 || !layout.valid()) return;

    std::vector<ScreenVertex>& vertices = renderer.text.vertices;
    vertices.clear();
    appendTextQuads(text.substr(0, std::min(maxGlyphs, kMaxLineGlyphs)), *metrics, placement, vertices);
    const bool written = renderer.glyphs.write(vertices.data(), vertices.size() * sizeof(ScreenVertex));
    const auto count = static_cast<GLsizei>(vertices.size());
    vertices.clear();
    if (!written) return;

    GlState& gl = renderer.gl;
    gl.apply(renderer.states.depthOff);
    gl.apply(renderer.states.alpha);
    gl.useProgram(program);
    // The interface program reads its image on one unit; the point sampler
    // goes with it so that glyph pixels land 1:1 on screen pixels.
    gl.bindSampler(kUnitEnvironment, renderer.states.pointWrap.sampler());
    glActiveTexture(GL_TEXTURE0 + kUnitEnvironment);
    glBindTexture(GL_TEXTURE_2D, image->texture);
    layout.bind(gl, renderer.glyphs.buffer());
    glDrawArrays(GL_TRIANGLES, 0, count);
    ++renderer.text.drawCalls;
}

TextLine::TextLine(Renderer& renderer, std::size_t capacity) : renderer_(&renderer), capacity_(capacity) {}

float TextLine::measure(std::string_view text, bool bold) {
    const FontMetrics* metrics = renderer_->text.fonts.metrics(bold);
    lastWidth = metrics != nullptr ? measureText(text, *metrics) : 0.0f;
    return lastWidth;
}

void TextLine::draw(float y, float x, std::string_view text, bool bold) {
    const FontSet& fonts = renderer_->text.fonts;
    drawWith(fonts.image(bold), fonts.metrics(bold), y, x, text, {1.0f, 1.0f, 1.0f, 1.0f},
             static_cast<float>(kTextLineHeight));
}

void TextLine::drawColoured(float y, float x, std::string_view text, const Vec4& colour, bool bold) {
    const FontSet& fonts = renderer_->text.fonts;
    drawWith(fonts.image(bold), fonts.metrics(bold), y, x, text, colour, static_cast<float>(lineHeight));
}

void TextLine::drawInverted(float y, float x, std::string_view text, const Vec4& colour) {
    const FontSet& fonts = renderer_->text.fonts;
    drawWith(fonts.invertedImage, fonts.metrics(false), y, x, text, colour, static_cast<float>(lineHeight));
}

void TextLine::drawWith(const TextureImage* image, const FontMetrics* metrics, float y, float x,
                        std::string_view text, const Vec4& colour, float height) {
    TextQuadPlacement placement;
    placement.x = x + static_cast<float>(leftOffset);
    placement.top = y;
    placement.lineHeight = height;
    placement.colour = colour;
    placement.targetWidth = renderer_->width();
    placement.targetHeight = renderer_->height();
    drawTextLine(*renderer_, image, metrics, text, placement, capacity_);
}

}  // namespace morvanex
