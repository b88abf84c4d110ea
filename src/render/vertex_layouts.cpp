#include "render/vertex_layouts.h"

#include <epoxy/gl.h>

#include "render/gl_state.h"

#include <cstring>
#include <utility>

namespace morvanex {

namespace {

constexpr VertexElement kLineElements[] = {
    {"POSITION", 0, VertexFormat::Float3, 0},
    {"COLOR", 0, VertexFormat::Float4, 12},
};

constexpr VertexElement kScreenElements[] = {
    {"POSITION", 0, VertexFormat::Float3, 0},
    {"COLOR", 0, VertexFormat::Float4, 12},
    {"TEXCOORD", 0, VertexFormat::Float2, 28},
};

constexpr VertexElement kMeshElements[] = {
    {"POSITION", 0, VertexFormat::Float3, 0},
    {"BLENDWEIGHT", 0, VertexFormat::Float1, 12},
    {"BLENDWEIGHT", 1, VertexFormat::Float1, 16},
    {"BLENDWEIGHT", 2, VertexFormat::Float1, 20},
    {"BLENDWEIGHT", 3, VertexFormat::Float1, 24},
    {"BLENDINDICES", 0, VertexFormat::UInt1, 28},
    {"BLENDINDICES", 1, VertexFormat::UInt1, 32},
    {"BLENDINDICES", 2, VertexFormat::UInt1, 36},
    {"BLENDINDICES", 3, VertexFormat::UInt1, 40},
    {"NORMAL", 0, VertexFormat::Float3, 44},
    {"TEXCOORD", 0, VertexFormat::Float2, 56},
    {"TEXCOORD", 1, VertexFormat::Float2, 64},
    {"TEXCOORD", 2, VertexFormat::Float4, 0, 1, true},
    {"TEXCOORD", 3, VertexFormat::Float4, 16, 1, true},
    {"TEXCOORD", 4, VertexFormat::Float4, 32, 1, true},
    {"TEXCOORD", 5, VertexFormat::Float4, 48, 1, true},
    {"TEXCOORD", 6, VertexFormat::Float4, 64, 1, true},
    {"TEXCOORD", 7, VertexFormat::Float4, 80, 1, true},
    {"TEXCOORD", 8, VertexFormat::Float4, 96, 1, true},
    {"TEXCOORD", 9, VertexFormat::Float4, 112, 1, true},
    {"TEXCOORD", 10, VertexFormat::Float4, 128, 1, true},
};
static_assert(std::size(kMeshElements) == 21);
static_assert(offsetof(MeshVertex, blendIndices) == 28 && offsetof(MeshVertex, normal) == 44);

int components(VertexFormat format) {
    switch (format) {
        case VertexFormat::Float1: return 1;
        case VertexFormat::Float2: return 2;
        case VertexFormat::Float3: return 3;
        case VertexFormat::Float4: return 4;
        case VertexFormat::UInt1: return 1;
    }
    return 1;
}

bool scalar(VertexFormat format) { return format == VertexFormat::Float1 || format == VertexFormat::UInt1; }

}  // namespace

std::span<const VertexElement> layoutElements(LayoutKind kind) {
    switch (kind) {
        case LayoutKind::Line: return kLineElements;
        case LayoutKind::Screen: return kScreenElements;
        case LayoutKind::Mesh: return kMeshElements;
    }
    return {};
}

std::uint32_t layoutStride(LayoutKind kind, std::uint32_t slot) {
    switch (kind) {
        case LayoutKind::Line: return slot == 0 ? sizeof(LineVertex) : 0;
        case LayoutKind::Screen: return slot == 0 ? sizeof(ScreenVertex) : 0;
        case LayoutKind::Mesh: return slot == 0 ? sizeof(MeshVertex) : sizeof(InstanceRecord);
    }
    return 0;
}

const char* layoutName(LayoutKind kind) {
    switch (kind) {
        case LayoutKind::Line: return "LineVertex";
        case LayoutKind::Screen: return "ScreenVertex";
        case LayoutKind::Mesh: return "MeshVertex";
    }
    return "";
}

std::vector<GlAttribute> glAttributes(std::span<const VertexElement> elements) {
    std::vector<GlAttribute> result;
    const VertexElement* previous = nullptr;
    for (const VertexElement& e : elements) {
        const bool integer = e.format == VertexFormat::UInt1;
        // A scalar that continues the previous scalar of its semantic joins it.
        if (previous && !result.empty() && scalar(e.format) && previous->format == e.format &&
            std::strcmp(previous->semantic, e.semantic) == 0 &&
            e.semanticIndex == previous->semanticIndex + 1 && e.offset == previous->offset + 4 &&
            e.slot == previous->slot && result.back().components < 4) {
            ++result.back().components;
        } else {
            result.push_back({static_cast<std::uint32_t>(result.size()), components(e.format), integer,
                              e.offset, e.slot, e.perInstance ? 1u : 0u});
        }
        previous = &e;
    }
    return result;
}

VertexArrayFormat::~VertexArrayFormat() { release(); }

VertexArrayFormat::VertexArrayFormat(VertexArrayFormat&& other) noexcept { *this = std::move(other); }

VertexArrayFormat& VertexArrayFormat::operator=(VertexArrayFormat&& other) noexcept {
    if (this != &other) {
        release();
        kind_ = other.kind_;
        vao_ = std::exchange(other.vao_, 0);
        attributes_ = std::move(other.attributes_);
        buffers_ = std::exchange(other.buffers_, {});
        offsets_ = std::exchange(other.offsets_, {});
        indexBuffer_ = std::exchange(other.indexBuffer_, 0);
    }
    return *this;
}

bool VertexArrayFormat::create(LayoutKind kind) {
    release();
    kind_ = kind;
    attributes_ = glAttributes(layoutElements(kind));
    GLuint vao = 0;
    glGenVertexArrays(1, &vao);
    vao_ = vao;
    if (vao_ == 0) return false;
    glBindVertexArray(vao_);
    for (const GlAttribute& a : attributes_) glVertexAttribDivisor(a.location, a.divisor);
    glBindVertexArray(0);
    return true;
}

void VertexArrayFormat::release() {
    if (vao_ != 0) {
        GLuint vao = vao_;
        glDeleteVertexArrays(1, &vao);
    }
    vao_ = 0;
    buffers_ = {};
    offsets_ = {};
    indexBuffer_ = 0;
}

void VertexArrayFormat::bind(GlState& state, std::uint32_t slot0Buffer, std::uint32_t slot0Offset, std::uint32_t slot1Buffer,
                             std::uint32_t slot1Offset, std::uint32_t indexBuffer) {
    if (vao_ == 0) return;
    state.bindVertexArray(vao_);
    const std::array<std::uint32_t, 2> buffers{slot0Buffer, slot1Buffer};
    const std::array<std::uint32_t, 2> offsets{slot0Offset, slot1Offset};
    for (std::uint32_t slot = 0; slot < 2; ++slot) {
        if (buffers[slot] == buffers_[slot] && offsets[slot] == offsets_[slot]) continue;
        const GLsizei stride = static_cast<GLsizei>(layoutStride(kind_, slot));
        if (buffers[slot] != 0) glBindBuffer(GL_ARRAY_BUFFER, buffers[slot]);
        for (const GlAttribute& a : attributes_) {
            if (a.slot != slot) continue;
            if (buffers[slot] == 0) {
                glDisableVertexAttribArray(a.location);
                continue;
            }
            const auto* pointer =
                reinterpret_cast<const void*>(static_cast<std::uintptr_t>(offsets[slot] + a.offset));
            if (a.integer) {
                glVertexAttribIPointer(a.location, a.components, GL_UNSIGNED_INT, stride, pointer);
            } else {
                glVertexAttribPointer(a.location, a.components, GL_FLOAT, GL_FALSE, stride, pointer);
            }
            glEnableVertexAttribArray(a.location);
        }
        buffers_[slot] = buffers[slot];
        offsets_[slot] = offsets[slot];
    }
    if (indexBuffer != indexBuffer_) {
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
        indexBuffer_ = indexBuffer;
    }
}

}  // namespace morvanex
