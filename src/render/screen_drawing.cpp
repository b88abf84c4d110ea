#include "render/screen_drawing.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cmath>

#include "render/constant_blocks.h"
#include "render/object_gpu.h"
#include "render/renderer.h"
#include "scene/scene_object.h"

namespace morvanex {

Vec4 ByteColour::toFloat() const {
    return {static_cast<float>(r) / 255.0f, static_cast<float>(g) / 255.0f, static_cast<float>(b) / 255.0f,
            static_cast<float>(a) / 255.0f};
}

ScreenVertex screenVertex(float x, float y, const Vec4& colour, Vec2 texcoord, int targetWidth, int targetHeight) {
    const float w = static_cast<float>(std::max(targetWidth, 1));
    const float h = static_cast<float>(std::max(targetHeight, 1));
    return {{2.0f * x / w - 1.0f, 1.0f - 2.0f * y / h, 0.5f}, colour, texcoord};
}

namespace {

// One upload and one draw from the screen-quad buffer.
void drawScreenVertices(Renderer& renderer, ProgramId id, std::span<const ScreenVertex> vertices, GLenum mode) {
    if (vertices.empty()) return;
    const std::uint32_t program = renderer.shaders.program(id);
    VertexArrayFormat& layout = renderer.shaders.layout(LayoutKind::Screen);
    if (program == 0 || !layout.valid()) return;
    if (!renderer.screenQuads.write(vertices.data(), vertices.size_bytes())) return;
    renderer.gl.useProgram(program);
    layout.bind(renderer.gl, renderer.screenQuads.buffer());
    renderer.gl.drawArrays(mode, 0, static_cast<std::int32_t>(vertices.size()));
}

void drawSegment(Renderer& renderer, float x0, float y0, float x1, float y1, const Vec4& colour) {
    const ScreenVertex v[2] = {screenVertex(x0, y0, colour, {}, renderer.width(), renderer.height()),
                               screenVertex(x1, y1, colour, {}, renderer.width(), renderer.height())};
    drawScreenVertices(renderer, ProgramId::Ui, v, GL_LINE_STRIP);
}

}  // namespace

void drawScreenLine(Renderer& renderer, float x, float y, float length, std::uint8_t r, std::uint8_t g,
                    std::uint8_t b) {
    drawSegment(renderer, x, y, x + length, y, ByteColour{r, g, b, 255}.toFloat());
}

void drawVerticalLine(Renderer& renderer, float x, float y, float height, ByteColour colour) {
    drawSegment(renderer, x, y, x, y + height, colour.toFloat());
}

void drawInterfaceLineStrip(Renderer& renderer, std::span<const ScreenVertex> vertices) {
    if (vertices.size() * sizeof(ScreenVertex) > kScreenQuadBufferBytes) return;
    drawScreenVertices(renderer, ProgramId::Ui, vertices, GL_LINE_STRIP);
}

std::array<ScreenVertex, 5> frameOutlineVertices(const PixelRect& r, const Vec4& colour, int targetWidth,
                                                 int targetHeight) {
    const auto at = [&](float x, float y) { return screenVertex(x, y, colour, {}, targetWidth, targetHeight); };
    return {at(r.x, r.y), at(r.x + r.width, r.y), at(r.x + r.width, r.y + r.height), at(r.x, r.y + r.height),
            at(r.x, r.y)};
}

void drawFrameOutline(Renderer& renderer, const PixelRect& rect, ByteColour colour) {
    const auto v = frameOutlineVertices(rect, colour.toFloat(), renderer.width(), renderer.height());
    drawScreenVertices(renderer, ProgramId::Ui, v, GL_LINE_STRIP);
}

void drawGrownFrameOutline(Renderer& renderer, const PixelRect& rect, ByteColour colour) {
    drawFrameOutline(renderer, {rect.x - 5.0f, rect.y - 5.0f, rect.width + 10.0f, rect.height + 10.0f}, colour);
}

void GradientQuad::step(float dt) {
    const float f = 1.0f - std::pow(0.9f, 60.0f * dt);
    for (std::size_t i = 0; i < colours.size(); ++i) colours[i] += (targets[i] - colours[i]) * f;
}

void GradientQuad::draw(Renderer& renderer, const PixelRect& r) const {
    const int w = renderer.width();
    const int h = renderer.height();
    const ScreenVertex tl = screenVertex(r.x, r.y, colours[0], {0, 0}, w, h);
    const ScreenVertex tr = screenVertex(r.x + r.width, r.y, colours[1], {1, 0}, w, h);
    const ScreenVertex br = screenVertex(r.x + r.width, r.y + r.height, colours[2], {1, 1}, w, h);
    const ScreenVertex bl = screenVertex(r.x, r.y + r.height, colours[3], {0, 1}, w, h);
    const ScreenVertex v[6] = {tl, tr, bl, tr, br, bl};
    renderer.gl.apply(renderer.states.alpha);
    drawScreenVertices(renderer, ProgramId::Ui, v, GL_TRIANGLES);
}

void drawTexture(Renderer& renderer, unsigned texture, int textureWidth, int textureHeight, const PixelRect& r,
                 std::optional<Vec2> sourceSize, const Vec4& colour) {
    if (texture == 0) return;
    float u1 = 1.0f;
    float v1 = 1.0f;
    if (sourceSize && textureWidth > 0 && textureHeight > 0) {
        u1 = sourceSize->x / static_cast<float>(textureWidth);
        v1 = sourceSize->y / static_cast<float>(textureHeight);
    }
    const int w = renderer.width();
    const int h = renderer.height();
    const ScreenVertex tl = screenVertex(r.x, r.y, colour, {0, 0}, w, h);
    const ScreenVertex tr = screenVertex(r.x + r.width, r.y, colour, {u1, 0}, w, h);
    const ScreenVertex br = screenVertex(r.x + r.width, r.y + r.height, colour, {u1, v1}, w, h);
    const ScreenVertex bl = screenVertex(r.x, r.y + r.height, colour, {0, v1}, w, h);
    const ScreenVertex v[6] = {tl, tr, bl, tr, br, bl};
    renderer.gl.apply(renderer.states.alpha);
    renderer.gl.bindSampler(kUnitEnvironment, renderer.states.anisotropicWrap.sampler());
    renderer.gl.bindSampler(kUnitImage1, renderer.states.anisotropicWrap.sampler());
    glActiveTexture(GL_TEXTURE0 + kUnitEnvironment);
    glBindTexture(GL_TEXTURE_2D, texture);
    drawScreenVertices(renderer, ProgramId::UiTextured, v, GL_TRIANGLES);
}

void drawImage(Renderer& renderer, const TextureImage& image, const PixelRect& rect, std::optional<Vec2> sourceSize,
               const Vec4& colour) {
    drawTexture(renderer, image.texture, image.width, image.height, rect, sourceSize, colour);
}

void drawMeshInTextureSpace(Renderer& renderer, SceneObject& object, const PixelRect& rect) {
    if (!createObjectGpu(object)) return;
    ObjectGpuResources& gpu = *object.gpu;
    const std::uint32_t program = renderer.shaders.program(ProgramId::UvView);
    VertexArrayFormat& layout = renderer.shaders.layout(LayoutKind::Mesh);
    if (program == 0 || !layout.valid() || gpu.indexCount == 0 || object.render.kind != RenderKind::Mesh) return;
    MaterialBlock block;
    block.targetWidth = static_cast<float>(renderer.width());
    block.targetHeight = static_cast<float>(renderer.height());
    block.uvRectX = static_cast<std::int32_t>(std::lround(rect.x));
    block.uvRectY = static_cast<std::int32_t>(std::lround(rect.y));
    block.uvRectWidth = static_cast<std::int32_t>(std::lround(rect.width));
    block.uvRectHeight = static_cast<std::int32_t>(std::lround(rect.height));
    block.drawParameters[0] = object.materialColours[0];
    gpu.material.update(block);
    GlState& gl = renderer.gl;
    gl.bindUniformBuffer(kMaterialSlot, gpu.material.buffer());
    gl.apply(renderer.states.depthOn);
    gl.apply(renderer.states.wireNone);
    gl.useProgram(program);
    layout.bind(gl, gpu.vertexBuffer, 0, gpu.instanceBuffer, 0, gpu.indexBuffer);
    gl.drawElements(GL_TRIANGLES, gpu.indexCount);
    gl.apply(renderer.states.solidBack);
    gl.apply(renderer.states.depthOff);
}

}  // namespace morvanex
