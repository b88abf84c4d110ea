#include "render/constant_blocks.h"

#include <epoxy/gl.h>

#include <utility>

namespace morvanex {

namespace {

using Members = std::vector<BlockMember>;

std::uint32_t u(std::size_t value) { return static_cast<std::uint32_t>(value); }

#define MEMBER(block, field) BlockMember{#block "." #field, u(offsetof(block, field))}

BlockDescription transformDescription() {
    return {"TransformBlock", kTransformSlot, u(sizeof(TransformBlock)),
            {MEMBER(TransformBlock, worldViewProj), MEMBER(TransformBlock, worldView),
             MEMBER(TransformBlock, world), MEMBER(TransformBlock, view), MEMBER(TransformBlock, projection),
             MEMBER(TransformBlock, second), MEMBER(TransformBlock, eyePosition),
             MEMBER(TransformBlock, eyePad), MEMBER(TransformBlock, extraInstances),
             MEMBER(TransformBlock, objectFlag0), MEMBER(TransformBlock, objectFlag1),
             MEMBER(TransformBlock, objectFlag2), MEMBER(TransformBlock, extra0),
             MEMBER(TransformBlock, extra1)}};
}

BlockDescription materialDescription() {
    Members m{
        MEMBER(MaterialBlock, opacity), MEMBER(MaterialBlock, specularPower),
        MEMBER(MaterialBlock, specularStrength), MEMBER(MaterialBlock, bumpStrength),
        MEMBER(MaterialBlock, reflection), MEMBER(MaterialBlock, scale), MEMBER(MaterialBlock, fresnelBase),
        MEMBER(MaterialBlock, constant1), MEMBER(MaterialBlock, constant2), MEMBER(MaterialBlock, constant3),
        MEMBER(MaterialBlock, ambientFloor), MEMBER(MaterialBlock, targetWidth), MEMBER(MaterialBlock, diffuse),
        MEMBER(MaterialBlock, ambientColour), MEMBER(MaterialBlock, specular), MEMBER(MaterialBlock, stateColour),
        MEMBER(MaterialBlock, centre), MEMBER(MaterialBlock, viewOrProjector), MEMBER(MaterialBlock, highlight),
        {"MaterialBlock.drawParameters[0]", u(offsetof(MaterialBlock, drawParameters)), 16},
        MEMBER(MaterialBlock, mirrorOrShadow), MEMBER(MaterialBlock, targetHeight),
        MEMBER(MaterialBlock, uvRectX), MEMBER(MaterialBlock, uvRectY), MEMBER(MaterialBlock, uvRectWidth),
        MEMBER(MaterialBlock, uvRectHeight), MEMBER(MaterialBlock, mirrorSign), MEMBER(MaterialBlock, lightPass),
        MEMBER(MaterialBlock, mirrorPass), MEMBER(MaterialBlock, highlightOn), MEMBER(MaterialBlock, reflective),
        MEMBER(MaterialBlock, reflectiveAlternate), MEMBER(MaterialBlock, normalMap),
        MEMBER(MaterialBlock, environment), MEMBER(MaterialBlock, shadowMap), MEMBER(MaterialBlock, unlit),
        MEMBER(MaterialBlock, mirrorImages), MEMBER(MaterialBlock, alphaTest), MEMBER(MaterialBlock, useTexture1),
        MEMBER(MaterialBlock, useTexture2), MEMBER(MaterialBlock, useTexture3),
        MEMBER(MaterialBlock, halfScalar), MEMBER(MaterialBlock, scalarA), MEMBER(MaterialBlock, scalarDifference),
    };
    // C++ arrays the programs declare member by member (std140 would give
    // scalar arrays a 16-byte stride).
    for (int i = 0; i < 4; ++i) {
        m.push_back({"MaterialBlock.objectScalar" + std::to_string(i),
                     u(offsetof(MaterialBlock, objectScalars) + 4 * static_cast<std::size_t>(i))});
    }
    const std::uint32_t switches = u(offsetof(MaterialBlock, switches));
    m.push_back({"MaterialBlock.switchesA", switches});
    m.push_back({"MaterialBlock.switchesB", switches + 16});
    m.push_back({"MaterialBlock.switch8", switches + 32});
    m.push_back({"MaterialBlock.switch9", switches + 36});
    const std::uint32_t pad = u(offsetof(MaterialBlock, pad));
    m.push_back({"MaterialBlock.pad0", pad});
    m.push_back({"MaterialBlock.pad1", pad + 4});
    m.push_back({"MaterialBlock.pad2", pad + 8});
    m.push_back({"MaterialBlock.pad3", pad + 12});
    return {"MaterialBlock", kMaterialSlot, u(sizeof(MaterialBlock)), std::move(m)};
}

BlockDescription lightDescription() {
    Members m{MEMBER(LightBlock, ambient),     MEMBER(LightBlock, headerPad0), MEMBER(LightBlock, headerPad1),
              MEMBER(LightBlock, headerPad2),  MEMBER(LightBlock, ambientColour),
              MEMBER(LightBlock, lightCount),  MEMBER(LightBlock, exposure),
              MEMBER(LightBlock, headerPad3),  MEMBER(LightBlock, headerPad4)};
    const std::pair<const char*, std::size_t> fields[] = {
        {"position", offsetof(LightRecord, position)},
        {"range", offsetof(LightRecord, range)},
        {"intensity", offsetof(LightRecord, intensity)},
        {"specularScale", offsetof(LightRecord, specularScale)},
        {"kind", offsetof(LightRecord, kind)},
        {"colour", offsetof(LightRecord, colour)},
        {"orientation", offsetof(LightRecord, orientation)},
        {"coneInnerCos", offsetof(LightRecord, coneInnerCos)},
        {"coneOuterCos", offsetof(LightRecord, coneOuterCos)},
        {"conePad0", offsetof(LightRecord, conePad0)},
        {"conePad1", offsetof(LightRecord, conePad1)},
        {"spare", offsetof(LightRecord, spare)},
    };
    for (int i = 0; i < kMaxLights; ++i) {
        const std::size_t base = offsetof(LightBlock, lights) + sizeof(LightRecord) * static_cast<std::size_t>(i);
        for (const auto& [field, offset] : fields) {
            m.push_back({"LightBlock.lights[" + std::to_string(i) + "]." + field, u(base + offset)});
        }
    }
    return {"LightBlock", kLightSlot, u(sizeof(LightBlock)), std::move(m)};
}

BlockDescription animatedTextureDescription() {
    return {"AnimatedTextureBlock", kAnimatedTextureSlot, u(sizeof(AnimatedTextureBlock)),
            {{"AnimatedTextureBlock.uvTransform[0]", u(offsetof(AnimatedTextureBlock, uvTransform)), 16},
             MEMBER(AnimatedTextureBlock, frame), MEMBER(AnimatedTextureBlock, frameCount),
             MEMBER(AnimatedTextureBlock, time), MEMBER(AnimatedTextureBlock, enabled),
             {"AnimatedTextureBlock.reserved[0]", u(offsetof(AnimatedTextureBlock, reserved)), 16}}};
}

BlockDescription profileCurveDescription() {
    Members m;
    for (int i = 0; i < 3; ++i) {
        const std::size_t base = sizeof(ProfileCurveRecord) * static_cast<std::size_t>(i);
        const std::string prefix = "ProfileCurveBlock.curves[" + std::to_string(i) + "].";
        m.push_back({prefix + "entries[0]", u(base + offsetof(ProfileCurveRecord, entries)), 16});
        m.push_back({prefix + "enabled", u(base + offsetof(ProfileCurveRecord, enabled))});
        m.push_back({prefix + "count", u(base + offsetof(ProfileCurveRecord, count))});
        m.push_back({prefix + "pad0", u(base + offsetof(ProfileCurveRecord, pad0))});
        m.push_back({prefix + "pad1", u(base + offsetof(ProfileCurveRecord, pad1))});
        m.push_back({prefix + "pad2", u(base + offsetof(ProfileCurveRecord, pad2))});
    }
    return {"ProfileCurveBlock", kProfileCurveSlot, u(sizeof(ProfileCurveBlock)), std::move(m)};
}

BlockDescription tintDescription() {
    return {"TintBlock", kTintSlot, u(sizeof(TintBlock)),
            {MEMBER(TintBlock, colour), MEMBER(TintBlock, multiply), MEMBER(TintBlock, replace),
             MEMBER(TintBlock, pad0), MEMBER(TintBlock, pad1)}};
}

BlockDescription bonePaletteDescription() {
    return {"BonePalette", kBonePaletteSlot, u(sizeof(BonePalette)),
            {{"BonePalette.bones[0]", u(offsetof(BonePalette, bones)), 64}}};
}

BlockDescription cubeDescription() {
    return {"CubeBlock", kCubeSlot, u(sizeof(CubeBlock)),
            {{"CubeBlock.faceViews[0]", u(offsetof(CubeBlock, faceViews)), 64}, MEMBER(CubeBlock, projection)}};
}

#undef MEMBER

}  // namespace

const std::vector<BlockDescription>& blockDescriptions() {
    static const std::vector<BlockDescription> descriptions{
        transformDescription(),   materialDescription(), cubeDescription(),
        lightDescription(),       animatedTextureDescription(), profileCurveDescription(),
        tintDescription(),        bonePaletteDescription(),
    };
    return descriptions;
}

UniformBuffer::~UniformBuffer() { release(); }

UniformBuffer::UniformBuffer(UniformBuffer&& other) noexcept { *this = std::move(other); }

UniformBuffer& UniformBuffer::operator=(UniformBuffer&& other) noexcept {
    if (this != &other) {
        release();
        buffer_ = std::exchange(other.buffer_, 0);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

bool UniformBuffer::create(std::size_t size) {
    release();
    GLuint buffer = 0;
    glGenBuffers(1, &buffer);
    if (buffer == 0) return false;
    buffer_ = buffer;
    size_ = size;
    glBindBuffer(GL_UNIFORM_BUFFER, buffer_);
    glBufferData(GL_UNIFORM_BUFFER, static_cast<GLsizeiptr>(size_), nullptr, GL_DYNAMIC_DRAW);
    glBindBuffer(GL_UNIFORM_BUFFER, 0);
    return true;
}

void UniformBuffer::release() {
    if (buffer_ != 0) {
        GLuint buffer = buffer_;
        glDeleteBuffers(1, &buffer);
    }
    buffer_ = 0;
    size_ = 0;
}

void UniformBuffer::update(const void* data, std::size_t size) {
    if (buffer_ == 0) return;
    if (size > size_) size = size_;
    glBindBuffer(GL_UNIFORM_BUFFER, buffer_);
    glBufferData(GL_UNIFORM_BUFFER, static_cast<GLsizeiptr>(size_), nullptr, GL_DYNAMIC_DRAW);
    glBufferSubData(GL_UNIFORM_BUFFER, 0, static_cast<GLsizeiptr>(size), data);
    glBindBuffer(GL_UNIFORM_BUFFER, 0);
}

void UniformBuffer::bind(std::uint32_t slot) const {
    glBindBufferBase(GL_UNIFORM_BUFFER, slot, buffer_);
}

}  // namespace morvanex
