#include "render/pipeline_states.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <utility>

namespace morvanex {

namespace states {

DepthStencilState depthOn() { return DepthStencilState{}; }

DepthStencilState depthOff() {
    DepthStencilState s;
    s.depthTest = false;
    return s;
}

DepthStencilState depthStencil() {
    DepthStencilState s;
    s.stencil = true;
    s.stencilReadMask = 0;
    s.stencilWriteMask = 0;
    return s;
}

DepthStencilState depthAlways() {
    DepthStencilState s = depthStencil();
    s.depthFunc = CompareFunc::Always;
    return s;
}

RasterizerState solidBack() { return RasterizerState{}; }

RasterizerState solidFront() {
    RasterizerState s;
    s.cull = CullMode::Front;
    return s;
}

RasterizerState solidNone() {
    RasterizerState s;
    s.cull = CullMode::None;
    return s;
}

RasterizerState solidBackScissor() {
    RasterizerState s;
    s.scissor = true;
    return s;
}

RasterizerState wireNone() {
    RasterizerState s;
    s.fill = FillMode::Wireframe;
    s.cull = CullMode::None;
    return s;
}

RasterizerState wireNoneScissor() {
    RasterizerState s = wireNone();
    s.scissor = true;
    return s;
}

RasterizerState wireFrontScissor() {
    RasterizerState s = wireNoneScissor();
    s.cull = CullMode::Front;
    return s;
}

BlendState alpha() {
    BlendState s;
    s.enable = true;
    s.srcColour = BlendFactor::SrcAlpha;
    s.dstColour = BlendFactor::InvSrcAlpha;
    s.srcAlpha = BlendFactor::One;
    s.dstAlpha = BlendFactor::Zero;
    return s;
}

SamplerState anisotropicWrap(bool offered) {
    SamplerState s;
    s.filter = offered ? SamplerFilter::Anisotropic : SamplerFilter::Trilinear;
    s.maxAnisotropy = offered ? 16.0f : 1.0f;
    return s;
}

SamplerState pointWrap() {
    SamplerState s;
    s.filter = SamplerFilter::Point;
    s.maxAnisotropy = 16.0f;  // read only by anisotropic filtering
    s.comparison = CompareFunc::LessEqual;
    return s;
}

}  // namespace states

bool anisotropyOffered() {
    return epoxy_gl_version() >= 46 || epoxy_has_gl_extension("GL_EXT_texture_filter_anisotropic") ||
           epoxy_has_gl_extension("GL_ARB_texture_filter_anisotropic");
}

float maxAnisotropyOffered() {
    if (!anisotropyOffered()) return 1.0f;
    GLfloat largest = 1.0f;
    glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &largest);
    return std::max(1.0f, largest);
}

namespace {

GLenum glWrap(AddressMode mode) {
    switch (mode) {
        case AddressMode::Wrap: return GL_REPEAT;
        case AddressMode::Mirror: return GL_MIRRORED_REPEAT;
        case AddressMode::Clamp: return GL_CLAMP_TO_EDGE;
    }
    return GL_REPEAT;
}

GLenum glCompare(CompareFunc f) {
    switch (f) {
        case CompareFunc::Never: return GL_NEVER;
        case CompareFunc::Less: return GL_LESS;
        case CompareFunc::Equal: return GL_EQUAL;
        case CompareFunc::LessEqual: return GL_LEQUAL;
        case CompareFunc::Greater: return GL_GREATER;
        case CompareFunc::NotEqual: return GL_NOTEQUAL;
        case CompareFunc::GreaterEqual: return GL_GEQUAL;
        case CompareFunc::Always: return GL_ALWAYS;
    }
    return GL_ALWAYS;
}

}  // namespace

SamplerObject::~SamplerObject() { release(); }

SamplerObject::SamplerObject(SamplerObject&& other) noexcept { *this = std::move(other); }

SamplerObject& SamplerObject::operator=(SamplerObject&& other) noexcept {
    if (this != &other) {
        release();
        sampler_ = std::exchange(other.sampler_, 0);
        state_ = other.state_;
    }
    return *this;
}

bool SamplerObject::create(const SamplerState& state) {
    release();
    state_ = state;
    GLuint sampler = 0;
    glGenSamplers(1, &sampler);
    if (sampler == 0) return false;
    sampler_ = sampler;
    switch (state.filter) {
        case SamplerFilter::Point:
            glSamplerParameteri(sampler, GL_TEXTURE_MIN_FILTER, GL_NEAREST_MIPMAP_NEAREST);
            glSamplerParameteri(sampler, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
            break;
        case SamplerFilter::Trilinear:
        case SamplerFilter::Anisotropic:
            glSamplerParameteri(sampler, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
            glSamplerParameteri(sampler, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
            break;
    }
    if (anisotropyOffered()) {
        const float degree = state.filter == SamplerFilter::Anisotropic
                                 ? std::clamp(state.maxAnisotropy, 1.0f, maxAnisotropyOffered())
                                 : 1.0f;
        glSamplerParameterf(sampler, GL_TEXTURE_MAX_ANISOTROPY_EXT, degree);
    }
    glSamplerParameteri(sampler, GL_TEXTURE_WRAP_S, static_cast<GLint>(glWrap(state.u)));
    glSamplerParameteri(sampler, GL_TEXTURE_WRAP_T, static_cast<GLint>(glWrap(state.v)));
    glSamplerParameteri(sampler, GL_TEXTURE_WRAP_R, static_cast<GLint>(glWrap(state.w)));
    glSamplerParameterf(sampler, GL_TEXTURE_LOD_BIAS, state.lodBias);
    glSamplerParameterf(sampler, GL_TEXTURE_MIN_LOD, state.minLod);
    glSamplerParameterf(sampler, GL_TEXTURE_MAX_LOD, state.maxLod);
    glSamplerParameteri(sampler, GL_TEXTURE_COMPARE_MODE, GL_NONE);
    glSamplerParameteri(sampler, GL_TEXTURE_COMPARE_FUNC, static_cast<GLint>(glCompare(state.comparison)));
    return true;
}

void SamplerObject::release() {
    if (sampler_ != 0) {
        GLuint sampler = sampler_;
        glDeleteSamplers(1, &sampler);
    }
    sampler_ = 0;
}

bool PipelineStates::createSamplers() {
    const bool a = anisotropicWrap.create(states::anisotropicWrap(anisotropyOffered()));
    const bool b = pointWrap.create(states::pointWrap());
    return a && b;
}

}  // namespace morvanex
