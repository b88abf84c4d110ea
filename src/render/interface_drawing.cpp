#include "render/interface_drawing.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cmath>

#include "base/trace_log.h"
#include "render/constant_blocks.h"
#include "render/renderer.h"
#include "render/text.h"
#include "render/texture_image.h"

namespace morvanex {

namespace {

constexpr std::size_t kInitialBufferBytes = 1 << 20;  // about 29000 vertices, a busy frame of panels
constexpr int kAtlasSize = 2048;      // pixels a side: every interface image and the three glyph rows fit
constexpr int kAtlasLargestImage = 1024;
constexpr int kWhiteBlock = 4;        // pixels a side, at the atlas's top-left corner
constexpr float kExtendedBand = 80.0f;
constexpr Vec4 kPanelOutline{17.0f / 255.0f, 205.0f / 255.0f, 1.0f, 1.0f};

std::string_view withoutFolder(std::string_view fileName) {
    const std::size_t separator = fileName.find_last_of("/\\");
    return separator == std::string_view::npos ? fileName : fileName.substr(separator + 1);
}

}  // namespace

InterfaceDrawing::InterfaceDrawing(Renderer& renderer) : renderer_(renderer) {}

InterfaceDrawing::~InterfaceDrawing() { releaseGpuResources(); }

void InterfaceDrawing::setProgramFolder(std::filesystem::path folder, const TraceLog* trace) {
    programFolder_ = std::move(folder);
    trace_ = trace;
}

const TextureImage* InterfaceDrawing::image(std::string_view fileName) {
    const std::string_view name = withoutFolder(fileName);
    if (name.empty()) return nullptr;
    if (TextureImage* found = renderer_.interfaceImages.find(name)) return found;
    if (!renderer_.canDraw() || programFolder_.empty() || trace_ == nullptr) return nullptr;
    if (std::find(missingImages_.begin(), missingImages_.end(), name) != missingImages_.end()) return nullptr;
    TextureImage* loaded = loadInterfaceImage(programFolder_, name, renderer_.textures, *trace_);
    if (loaded == nullptr) {
        missingImages_.emplace_back(name);
        return nullptr;
    }
    // Kept with the start-up images so that the next widget finds it.
    renderer_.interfaceImages.slots.push_back(loaded);
    return loaded;
}

bool InterfaceDrawing::recording() const { return renderer_.canDraw(); }

ScreenVertex InterfaceDrawing::vertexAt(float x, float y, const Vec4& colour, Vec2 uv) const {
    const float w = static_cast<float>(std::max(renderer_.width(), 1));
    const float h = static_cast<float>(std::max(renderer_.height(), 1));
    return {{2.0f * x / w - 1.0f, 1.0f - 2.0f * y / h, 0.5f}, colour, uv};
}

void InterfaceDrawing::appendQuads(unsigned texture, std::size_t count) {
    const auto first = static_cast<std::uint32_t>(vertices_.size() / 4 - count);
    if (!commands_.empty()) {
        Command& last = commands_.back();
        if (last.texture == texture && last.clip == clip_ && last.firstQuad + last.quads == first) {
            last.quads += static_cast<std::uint32_t>(count);
            return;
        }
    }
    commands_.push_back({texture, clip_, first, static_cast<std::uint32_t>(count)});
}

void InterfaceDrawing::appendQuad(unsigned texture, const UiRect& r, Vec2 uv0, Vec2 uv1,
                                  const std::array<Vec4, 4>& c) {
    if (!recording() || !(r.width > 0.0f) || !(r.height > 0.0f)) return;
    const ScreenVertex topLeft = vertexAt(r.x, r.y, c[0], uv0);
    const ScreenVertex topRight = vertexAt(r.x + r.width, r.y, c[1], {uv1.x, uv0.y});
    const ScreenVertex bottomRight = vertexAt(r.x + r.width, r.y + r.height, c[2], uv1);
    const ScreenVertex bottomLeft = vertexAt(r.x, r.y + r.height, c[3], {uv0.x, uv1.y});
    // Corners in the order of the index pattern.
    vertices_.insert(vertices_.end(), {topLeft, topRight, bottomRight, bottomLeft});
    appendQuads(texture, 1);
}

void InterfaceDrawing::imageQuad(const TextureImage* image, const UiRect& rect, const Vec4& colour) {
    imageQuad(image, rect, {0.0f, 0.0f}, {1.0f, 1.0f}, colour);
}

void InterfaceDrawing::imageQuad(const TextureImage* image, const UiRect& rect, Vec2 uv0, Vec2 uv1,
                                 const Vec4& colour) {
    if (image == nullptr || image->texture == 0 || !recording()) return;
    const AtlasPlace& place = atlasPlace(*image);
    const std::array<Vec4, 4> corners{colour, colour, colour, colour};
    if (!place.inAtlas) {
        appendQuad(image->texture, rect, uv0, uv1, corners);
        return;
    }
    const Vec2 size = place.uv1 - place.uv0;
    appendQuad(0, rect, {place.uv0.x + uv0.x * size.x, place.uv0.y + uv0.y * size.y},
               {place.uv0.x + uv1.x * size.x, place.uv0.y + uv1.y * size.y}, corners);
}

void InterfaceDrawing::gradientQuad(const UiRect& rect, const std::array<Vec4, 4>& corners) {
    if (!recording()) return;
    const Vec2 white = whiteUv();
    appendQuad(0, rect, white, white, corners);
}

void InterfaceDrawing::filledRect(const UiRect& rect, const Vec4& colour) {
    gradientQuad(rect, {colour, colour, colour, colour});
}

void InterfaceDrawing::horizontalLine(float x, float y, float length, const Vec4& colour) {
    filledRect({x, y, length, 1.0f}, colour);
}

void InterfaceDrawing::verticalLine(float x, float y, float length, const Vec4& colour) {
    filledRect({x, y, 1.0f, length}, colour);
}

void InterfaceDrawing::outline(const UiRect& r, const Vec4& colour) {
    if (!(r.width > 0.0f) || !(r.height > 0.0f)) return;
    horizontalLine(r.x, r.y, r.width, colour);
    horizontalLine(r.x, r.y + r.height - 1.0f, r.width, colour);
    verticalLine(r.x, r.y + 1.0f, r.height - 2.0f, colour);
    verticalLine(r.x + r.width - 1.0f, r.y + 1.0f, r.height - 2.0f, colour);
}

void InterfaceDrawing::panelBody(const PanelBodyStyle& style) {
    const UiRect& r = style.rect;
    gradientQuad(r, style.corners);
    if (style.extended && recording()) {
        // The band below tapers from the full width at the top to a third
        // of it, fading out: six vertices, two triangles and a quad's half.
        const Vec4 top = style.corners[3];
        Vec4 faded = top;
        faded.w = 0.0f;
        const float bottom = r.y + r.height + kExtendedBand;
        const Vec2 white = whiteUv();
        const ScreenVertex a = vertexAt(r.x, r.y + r.height, top, white);
        const ScreenVertex b = vertexAt(r.x + r.width, r.y + r.height, style.corners[2], white);
        const ScreenVertex c = vertexAt(r.x, bottom, faded, white);
        const ScreenVertex d = vertexAt(r.x + r.width / 3.0f, bottom, faded, white);
        vertices_.insert(vertices_.end(), {a, b, d, c});
        appendQuads(0, 1);
    }
    if (style.outlined) outline(r, kPanelOutline);
}

float InterfaceDrawing::measureText(std::string_view text, bool bold) const {
    const FontMetrics* metrics = renderer_.text.fonts.metrics(bold);
    return metrics != nullptr ? morvanex::measureText(text, *metrics) : 0.0f;
}

float InterfaceDrawing::appendText(const TextureImage* glyphs, bool bold, float top, float left,
                                   std::string_view text, const Vec4& colour) {
    const FontMetrics* metrics = renderer_.text.fonts.metrics(bold);
    if (metrics == nullptr) return left;
    if (!recording() || glyphs == nullptr || glyphs->texture == 0 || text.empty()) {
        return left + morvanex::measureText(text, *metrics);
    }
    // One quad a glyph, written straight into the list in the atlas's
    // texture coordinates: glyph rows are read 1:1 on whole pixels.
    const AtlasPlace& place = atlasPlace(*glyphs);
    const Vec2 uvOrigin = place.inAtlas ? place.uv0 : Vec2{0.0f, 0.0f};
    const Vec2 uvSize = place.inAtlas ? place.uv1 - place.uv0 : Vec2{1.0f, 1.0f};
    const float sx = 2.0f / static_cast<float>(std::max(renderer_.width(), 1));
    const float sy = 2.0f / static_cast<float>(std::max(renderer_.height(), 1));
    const float rowTop = std::round(top);
    const float yTop = 1.0f - rowTop * sy;
    const float yBottom = 1.0f - (rowTop + static_cast<float>(kTextLineHeight)) * sy;
    const float vTop = uvOrigin.y;
    const float vBottom = uvOrigin.y + uvSize.y;
    const std::string_view shown = text.substr(0, kMaxLineGlyphs);
    const std::size_t before = vertices_.size();
    vertices_.reserve(before + shown.size() * 4);
    float pen = std::round(left);
    for (const char c : shown) {
        const GlyphMetrics& glyph = (*metrics)[static_cast<unsigned char>(c)];
        const float u0 = uvOrigin.x + glyph.left * 0.001f * uvSize.x;
        const float u1 = uvOrigin.x + (glyph.left + glyph.width) * 0.001f * uvSize.x;
        const float x0 = pen * sx - 1.0f;
        const float x1 = (pen + glyph.width) * sx - 1.0f;
        vertices_.push_back({{x0, yTop, 0.5f}, colour, {u0, vTop}});
        vertices_.push_back({{x1, yTop, 0.5f}, colour, {u1, vTop}});
        vertices_.push_back({{x1, yBottom, 0.5f}, colour, {u1, vBottom}});
        vertices_.push_back({{x0, yBottom, 0.5f}, colour, {u0, vBottom}});
        pen += glyph.width;
    }
    appendQuads(place.inAtlas ? 0u : glyphs->texture, (vertices_.size() - before) / 4);
    return pen;
}

float InterfaceDrawing::text(float top, float left, std::string_view text, const Vec4& colour, bool bold) {
    return appendText(renderer_.text.fonts.image(bold), bold, top, left, text, colour);
}

float InterfaceDrawing::invertedText(float top, float left, std::string_view text, const Vec4& colour) {
    return appendText(renderer_.text.fonts.invertedImage, false, top, left, text, colour);
}

void InterfaceDrawing::setClip(const UiRect& rect) {
    const int x = static_cast<int>(std::floor(rect.x));
    const int y = static_cast<int>(std::floor(rect.y));
    clip_ = ClipRect{x, y, std::max(0, static_cast<int>(std::ceil(rect.x + rect.width)) - x),
                     std::max(0, static_cast<int>(std::ceil(rect.y + rect.height)) - y)};
}

void InterfaceDrawing::clearClip() { clip_.reset(); }

bool InterfaceDrawing::ensureAtlas() {
    if (atlas_ != 0) return true;
    glGenTextures(1, &atlas_);
    if (atlas_ == 0) return false;
    glBindTexture(GL_TEXTURE_2D, atlas_);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kAtlasSize, kAtlasSize, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    const std::vector<std::uint8_t> white(kWhiteBlock * kWhiteBlock * 4, 255);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, kWhiteBlock, kWhiteBlock, GL_RGBA, GL_UNSIGNED_BYTE, white.data());
    shelfX_ = kWhiteBlock;
    shelfY_ = 0;
    shelfHeight_ = kWhiteBlock;
    return true;
}

Vec2 InterfaceDrawing::whiteUv() const {
    // The middle of the white block: filtering there reads white only.
    constexpr float centre = (kWhiteBlock * 0.5f) / static_cast<float>(kAtlasSize);
    return {centre, centre};
}

const InterfaceDrawing::AtlasPlace& InterfaceDrawing::atlasPlace(const TextureImage& image) {
    if (auto found = places_.find(&image); found != places_.end()) return found->second;
    AtlasPlace& place = places_[&image];
    // Only images that live as long as the program: the interface's own and
    // the glyph rows (a scene texture may go with its scene).
    const FontSet& fonts = renderer_.text.fonts;
    const auto& slots = renderer_.interfaceImages.slots;
    const bool lasting = &image == fonts.regularImage || &image == fonts.boldImage ||
                         &image == fonts.invertedImage || std::find(slots.begin(), slots.end(), &image) != slots.end();
    const int w = image.width;
    const int h = image.height;
    if (!lasting || w <= 0 || h <= 0 || w > kAtlasLargestImage || h > kAtlasLargestImage || !ensureAtlas()) {
        return place;
    }
    // One pixel of its own edge around it, so that filtering at the border
    // of a stretched image never reads a neighbour.
    const int paddedWidth = w + 2;
    const int paddedHeight = h + 2;
    if (shelfX_ + paddedWidth > kAtlasSize) {
        shelfX_ = 0;
        shelfY_ += shelfHeight_;
        shelfHeight_ = 0;
    }
    if (shelfY_ + paddedHeight > kAtlasSize) return place;  // full: drawn from its own texture
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4);
    glBindTexture(GL_TEXTURE_2D, image.texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    std::vector<std::uint8_t> padded(static_cast<std::size_t>(paddedWidth) * static_cast<std::size_t>(paddedHeight) * 4);
    for (int y = 0; y < paddedHeight; ++y) {
        const int sy = std::clamp(y - 1, 0, h - 1);
        for (int x = 0; x < paddedWidth; ++x) {
            const int sx = std::clamp(x - 1, 0, w - 1);
            const std::size_t from = (static_cast<std::size_t>(sy) * static_cast<std::size_t>(w) + static_cast<std::size_t>(sx)) * 4;
            const std::size_t to = (static_cast<std::size_t>(y) * static_cast<std::size_t>(paddedWidth) + static_cast<std::size_t>(x)) * 4;
            std::copy_n(pixels.begin() + static_cast<std::ptrdiff_t>(from), 4, padded.begin() + static_cast<std::ptrdiff_t>(to));
        }
    }
    glBindTexture(GL_TEXTURE_2D, atlas_);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexSubImage2D(GL_TEXTURE_2D, 0, shelfX_, shelfY_, paddedWidth, paddedHeight, GL_RGBA, GL_UNSIGNED_BYTE,
                    padded.data());
    const float size = static_cast<float>(kAtlasSize);
    place.inAtlas = true;
    place.uv0 = {static_cast<float>(shelfX_ + 1) / size, static_cast<float>(shelfY_ + 1) / size};
    place.uv1 = {static_cast<float>(shelfX_ + 1 + w) / size, static_cast<float>(shelfY_ + 1 + h) / size};
    shelfX_ += paddedWidth;
    shelfHeight_ = std::max(shelfHeight_, paddedHeight);
    return place;
}

bool InterfaceDrawing::ensureIndices(std::size_t quads) {
    if (indexBuffer_ != 0 && indexedQuads_ >= quads) return true;
    std::size_t wanted = std::max<std::size_t>(indexedQuads_ * 2, 4096);
    while (wanted < quads) wanted *= 2;
    std::vector<std::uint32_t> pattern(wanted * 6);
    for (std::size_t q = 0; q < wanted; ++q) {
        const auto base = static_cast<std::uint32_t>(q * 4);
        // top-left, top-right, bottom-left; top-right, bottom-right, bottom-left
        const std::uint32_t quad[6] = {base, base + 1, base + 3, base + 1, base + 2, base + 3};
        std::copy(quad, quad + 6, pattern.begin() + static_cast<std::ptrdiff_t>(q * 6));
    }
    if (indexBuffer_ == 0) glGenBuffers(1, &indexBuffer_);
    if (indexBuffer_ == 0) return false;
    // Filled through the copy target: the element binding belongs to
    // whichever vertex array is bound.
    glBindBuffer(GL_COPY_WRITE_BUFFER, indexBuffer_);
    glBufferData(GL_COPY_WRITE_BUFFER, static_cast<GLsizeiptr>(pattern.size() * sizeof(std::uint32_t)),
                 pattern.data(), GL_STATIC_DRAW);
    glBindBuffer(GL_COPY_WRITE_BUFFER, 0);
    indexedQuads_ = wanted;
    return true;
}

bool InterfaceDrawing::ensureGpuResources() {
    if (!ensureAtlas() || !ensureIndices(vertices_.size() / 4)) return false;
    const std::size_t bytes = vertices_.size() * sizeof(ScreenVertex);
    if (buffer_.capacity() < bytes || buffer_.buffer() == 0) {
        std::size_t capacity = std::max(buffer_.capacity(), kInitialBufferBytes);
        while (capacity < bytes) capacity *= 2;
        buffer_.release();
        if (!buffer_.create(capacity)) return false;
    }
    return true;
}

void InterfaceDrawing::flush() {
    lastDrawCalls_ = 0;
    if (commands_.empty() || !recording()) {
        vertices_.clear();
        commands_.clear();
        return;
    }
    const std::uint32_t program = renderer_.shaders.program(ProgramId::UiTextured);
    VertexArrayFormat& layout = renderer_.shaders.layout(LayoutKind::Screen);
    if (program != 0 && layout.valid() && ensureGpuResources() &&
        buffer_.write(vertices_.data(), vertices_.size() * sizeof(ScreenVertex))) {
        GlState& gl = renderer_.gl;
        gl.apply(renderer_.states.depthOff);
        gl.apply(renderer_.states.alpha);
        gl.useProgram(program);
        layout.bind(gl, buffer_.buffer(), 0, 0, 0, indexBuffer_);
        glActiveTexture(GL_TEXTURE0 + kUnitEnvironment);
        const int height = renderer_.height();
        bool clipped = false;
        for (const Command& command : commands_) {
            // The atlas filters through its own settings (linear, no
            // mipmaps: drawn 1:1 on whole pixels it reads exact texels);
            // an image of its own through the smooth sampler.
            gl.bindSampler(kUnitEnvironment, command.texture == 0 ? 0u : renderer_.states.anisotropicWrap.sampler());
            glBindTexture(GL_TEXTURE_2D, command.texture != 0 ? command.texture : atlas_);
            if (command.clip) {
                if (!clipped) glEnable(GL_SCISSOR_TEST);
                clipped = true;
                // GL counts scissor rows from the bottom.
                glScissor(command.clip->x, height - command.clip->y - command.clip->height, command.clip->width,
                          command.clip->height);
            } else if (clipped) {
                glDisable(GL_SCISSOR_TEST);
                clipped = false;
            }
            gl.drawElements(GL_TRIANGLES, static_cast<std::int32_t>(command.quads * 6), 1,
                            static_cast<std::size_t>(command.firstQuad) * 6);
            ++lastDrawCalls_;
        }
        if (clipped) glDisable(GL_SCISSOR_TEST);
    }
    vertices_.clear();
    commands_.clear();
}

void InterfaceDrawing::releaseGpuResources() {
    buffer_.release();
    if (indexBuffer_ != 0 && renderer_.canDraw()) glDeleteBuffers(1, &indexBuffer_);
    indexBuffer_ = 0;
    indexedQuads_ = 0;
    if (atlas_ != 0 && renderer_.canDraw()) glDeleteTextures(1, &atlas_);
    atlas_ = 0;
    places_.clear();
}

}  // namespace morvanex
