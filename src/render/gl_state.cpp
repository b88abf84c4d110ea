#include "render/gl_state.h"

#include <epoxy/gl.h>

namespace morvanex {

namespace {

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

GLenum glStencilOp(StencilOp op) {
    switch (op) {
        case StencilOp::Keep: return GL_KEEP;
        case StencilOp::Zero: return GL_ZERO;
        case StencilOp::Replace: return GL_REPLACE;
        case StencilOp::IncrementClamp: return GL_INCR;
        case StencilOp::DecrementClamp: return GL_DECR;
        case StencilOp::Invert: return GL_INVERT;
        case StencilOp::Increment: return GL_INCR_WRAP;
        case StencilOp::Decrement: return GL_DECR_WRAP;
    }
    return GL_KEEP;
}

GLenum glFactor(BlendFactor f) {
    switch (f) {
        case BlendFactor::Zero: return GL_ZERO;
        case BlendFactor::One: return GL_ONE;
        case BlendFactor::SrcAlpha: return GL_SRC_ALPHA;
        case BlendFactor::InvSrcAlpha: return GL_ONE_MINUS_SRC_ALPHA;
        case BlendFactor::SrcColour: return GL_SRC_COLOR;
        case BlendFactor::InvSrcColour: return GL_ONE_MINUS_SRC_COLOR;
        case BlendFactor::DestAlpha: return GL_DST_ALPHA;
        case BlendFactor::InvDestAlpha: return GL_ONE_MINUS_DST_ALPHA;
        case BlendFactor::BlendFactor: return GL_CONSTANT_COLOR;
    }
    return GL_ONE;
}

GLenum glBlendOp(BlendOp op) {
    switch (op) {
        case BlendOp::Add: return GL_FUNC_ADD;
        case BlendOp::Subtract: return GL_FUNC_SUBTRACT;
        case BlendOp::ReverseSubtract: return GL_FUNC_REVERSE_SUBTRACT;
        case BlendOp::Min: return GL_MIN;
        case BlendOp::Max: return GL_MAX;
    }
    return GL_FUNC_ADD;
}

void enable(GLenum cap, bool on) {
    if (on) {
        glEnable(cap);
    } else {
        glDisable(cap);
    }
}

}  // namespace

void GlState::apply(const DepthStencilState& s, std::uint32_t stencilRef) {
    if (depth_ && *depth_ == s && stencilRef_ == stencilRef) return;
    ++changes_;
    depth_ = s;
    stencilRef_ = stencilRef;
    // A disabled depth test writes no depth either, as the records mean.
    enable(GL_DEPTH_TEST, s.depthTest);
    glDepthMask(s.depthWrite ? GL_TRUE : GL_FALSE);
    glDepthFunc(glCompare(s.depthFunc));
    enable(GL_STENCIL_TEST, s.stencil);
    const GLint ref = static_cast<GLint>(stencilRef);
    glStencilFuncSeparate(GL_FRONT, glCompare(s.front.func), ref, s.stencilReadMask);
    glStencilFuncSeparate(GL_BACK, glCompare(s.back.func), ref, s.stencilReadMask);
    glStencilMask(s.stencilWriteMask);
    glStencilOpSeparate(GL_FRONT, glStencilOp(s.front.fail), glStencilOp(s.front.depthFail),
                        glStencilOp(s.front.pass));
    glStencilOpSeparate(GL_BACK, glStencilOp(s.back.fail), glStencilOp(s.back.depthFail),
                        glStencilOp(s.back.pass));
}

void GlState::apply(const RasterizerState& s) {
    if (rasterizer_ && *rasterizer_ == s) return;
    ++changes_;
    rasterizer_ = s;
    glPolygonMode(GL_FRONT_AND_BACK, s.fill == FillMode::Wireframe ? GL_LINE : GL_FILL);
    enable(GL_CULL_FACE, s.cull != CullMode::None);
    glCullFace(s.cull == CullMode::Front ? GL_FRONT : GL_BACK);
    glFrontFace(s.frontCounterClockwise ? GL_CCW : GL_CW);
    const bool bias = s.depthBias != 0 || s.slopeScaledDepthBias != 0.0f;
    enable(GL_POLYGON_OFFSET_FILL, bias);
    enable(GL_POLYGON_OFFSET_LINE, bias);
    if (bias) glPolygonOffset(s.slopeScaledDepthBias, static_cast<GLfloat>(s.depthBias));
    enable(GL_DEPTH_CLAMP, !s.depthClip);
    enable(GL_SCISSOR_TEST, s.scissor);
    enable(GL_MULTISAMPLE, s.multisample);
    // Smoothed lines only where no multisampling draws them.
    enable(GL_LINE_SMOOTH, s.antialiasedLines && !s.multisample);
}

void GlState::apply(const BlendState& s, const std::array<float, 4>& blendFactor) {
    if (blend_ && *blend_ == s && blendFactor_ == blendFactor) return;
    ++changes_;
    blend_ = s;
    blendFactor_ = blendFactor;
    if (s.enable) {
        glEnablei(GL_BLEND, 0);
    } else {
        glDisablei(GL_BLEND, 0);
    }
    glBlendFuncSeparate(glFactor(s.srcColour), glFactor(s.dstColour), glFactor(s.srcAlpha), glFactor(s.dstAlpha));
    glBlendEquationSeparate(glBlendOp(s.colourOp), glBlendOp(s.alphaOp));
    glColorMaski(0, (s.writeMask & 1) != 0, (s.writeMask & 2) != 0, (s.writeMask & 4) != 0,
                 (s.writeMask & 8) != 0);
    enable(GL_SAMPLE_ALPHA_TO_COVERAGE, s.alphaToCoverage);
    glBlendColor(blendFactor[0], blendFactor[1], blendFactor[2], blendFactor[3]);
    glDisable(GL_SAMPLE_MASK);  // sample mask all
}

void GlState::useProgram(std::uint32_t program) {
    if (program_ && *program_ == program) return;
    ++changes_;
    program_ = program;
    glUseProgram(program);
}

void GlState::bindVertexArray(std::uint32_t vertexArray) {
    if (vertexArray_ && *vertexArray_ == vertexArray) return;
    ++changes_;
    vertexArray_ = vertexArray;
    glBindVertexArray(vertexArray);
}

void GlState::bindUniformBuffer(std::uint32_t slot, std::uint32_t buffer) {
    if (slot < kSlots) {
        if (uniformBuffers_[slot] && *uniformBuffers_[slot] == buffer) return;
        uniformBuffers_[slot] = buffer;
    }
    ++changes_;
    glBindBufferBase(GL_UNIFORM_BUFFER, slot, buffer);
}

void GlState::bindSampler(std::uint32_t unit, std::uint32_t sampler) {
    if (unit < kUnits) {
        if (samplers_[unit] && *samplers_[unit] == sampler) return;
        samplers_[unit] = sampler;
    }
    ++changes_;
    glBindSampler(unit, sampler);
}

void GlState::bindSamplers(std::uint32_t first, std::uint32_t count, std::uint32_t sampler) {
    for (std::uint32_t i = 0; i < count; ++i) bindSampler(first + i, sampler);
}

void GlState::drawArrays(std::uint32_t mode, std::int32_t first, std::int32_t count, std::int32_t instances) {
    if (count <= 0 || instances <= 0) return;
    ++drawCalls_;
    if (instances == 1) glDrawArrays(mode, first, count);
    else glDrawArraysInstanced(mode, first, count, instances);
}

void GlState::drawElements(std::uint32_t mode, std::int32_t count, std::int32_t instances, std::size_t firstIndex) {
    if (count <= 0 || instances <= 0) return;
    ++drawCalls_;
    const void* offset = reinterpret_cast<const void*>(firstIndex * sizeof(std::uint32_t));
    if (instances == 1) glDrawElements(mode, count, GL_UNSIGNED_INT, offset);
    else glDrawElementsInstanced(mode, count, GL_UNSIGNED_INT, offset, instances);
}

void GlState::invalidate() {
    depth_.reset();
    rasterizer_.reset();
    blend_.reset();
    program_.reset();
    vertexArray_.reset();
    uniformBuffers_.fill(std::nullopt);
    samplers_.fill(std::nullopt);
}

}  // namespace morvanex
