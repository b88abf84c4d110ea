// The fixed state set, the GL state layer's skipping of repeats, the
// samplers, and the vertex layouts.
#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include "render/constant_blocks.h"
#include "render/gl_state.h"
#include "render/pipeline_states.h"
#include "render/vertex_layouts.h"
#include "render/gl_fixture.h"

namespace morvanex {
namespace {

TEST(PipelineStates, TheFixedSetHoldsItsSettings) {
    const PipelineStates s;
    EXPECT_TRUE(s.depthOn.depthTest && s.depthOn.depthWrite && !s.depthOn.stencil);
    EXPECT_EQ(s.depthOn.depthFunc, CompareFunc::Less);
    EXPECT_EQ(s.depthOn.front, (StencilFace{StencilOp::Keep, StencilOp::Keep, StencilOp::Keep, CompareFunc::Always}));
    EXPECT_FALSE(s.depthOff.depthTest);
    EXPECT_TRUE(s.depthStencil.stencil);
    EXPECT_EQ(s.depthStencil.stencilReadMask, 0);
    EXPECT_EQ(s.depthStencil.stencilWriteMask, 0);
    EXPECT_EQ(s.depthAlways.depthFunc, CompareFunc::Always);
    EXPECT_TRUE(s.depthAlways.stencil);

    EXPECT_EQ(s.solidBack.cull, CullMode::Back);
    EXPECT_FALSE(s.solidBack.frontCounterClockwise);
    EXPECT_TRUE(s.solidBack.depthClip && s.solidBack.multisample && s.solidBack.antialiasedLines);
    EXPECT_FALSE(s.solidBack.scissor);
    EXPECT_EQ(s.solidFront.cull, CullMode::Front);
    EXPECT_EQ(s.solidNone.cull, CullMode::None);
    EXPECT_TRUE(s.solidBackScissor.scissor);
    EXPECT_EQ(s.wireNone.fill, FillMode::Wireframe);
    EXPECT_EQ(s.wireNone.cull, CullMode::None);
    EXPECT_FALSE(s.wireNone.scissor);
    EXPECT_TRUE(s.wireNoneScissor.scissor);
    EXPECT_EQ(s.wireFrontScissor.cull, CullMode::Front);
    EXPECT_TRUE(s.wireFrontScissor.scissor);

    EXPECT_TRUE(s.alpha.enable);
    EXPECT_EQ(s.alpha.srcColour, BlendFactor::SrcAlpha);
    EXPECT_EQ(s.alpha.dstColour, BlendFactor::InvSrcAlpha);
    EXPECT_EQ(s.alpha.srcAlpha, BlendFactor::One);
    EXPECT_EQ(s.alpha.dstAlpha, BlendFactor::Zero);
    EXPECT_EQ(s.alpha.writeMask, 0xF);
    EXPECT_FALSE(s.alpha.alphaToCoverage);

    EXPECT_EQ(states::anisotropicWrap(true).filter, SamplerFilter::Anisotropic);
    EXPECT_EQ(states::anisotropicWrap(true).maxAnisotropy, 16.0f);
    EXPECT_EQ(states::anisotropicWrap(false).filter, SamplerFilter::Trilinear);
    EXPECT_EQ(states::pointWrap().filter, SamplerFilter::Point);
    EXPECT_EQ(states::pointWrap().comparison, CompareFunc::LessEqual);
    EXPECT_EQ(states::pointWrap().minLod, 0.0f);
    EXPECT_GT(states::pointWrap().maxLod, 1e38f);
}

class PipelineStatesGl : public testing::GlTest {};

TEST_F(PipelineStatesGl, StateLayerSendsChangesAndSkipsRepeats) {
    GlState gl;
    const PipelineStates s;
    gl.apply(s.depthOn);
    gl.apply(s.solidBack);
    gl.apply(s.alpha);
    EXPECT_EQ(gl.changes(), 3u);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(glIsEnabledi(GL_BLEND, 0));
    GLint value = 0;
    glGetIntegerv(GL_FRONT_FACE, &value);
    EXPECT_EQ(value, GL_CW);
    glGetIntegerv(GL_CULL_FACE_MODE, &value);
    EXPECT_EQ(value, GL_BACK);
    glGetIntegerv(GL_BLEND_SRC_RGB, &value);
    EXPECT_EQ(value, GL_SRC_ALPHA);
    glGetIntegerv(GL_BLEND_DST_RGB, &value);
    EXPECT_EQ(value, GL_ONE_MINUS_SRC_ALPHA);
    glGetIntegerv(GL_BLEND_DST_ALPHA, &value);
    EXPECT_EQ(value, GL_ZERO);
    glGetIntegerv(GL_DEPTH_FUNC, &value);
    EXPECT_EQ(value, GL_LESS);

    // Repeats cost nothing.
    gl.apply(states::depthOn());
    gl.apply(states::solidBack());
    gl.apply(states::alpha());
    EXPECT_EQ(gl.changes(), 3u);

    gl.apply(s.depthOff);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    gl.apply(s.wireFrontScissor);
    GLint modes[2] = {};
    glGetIntegerv(GL_POLYGON_MODE, modes);
    EXPECT_EQ(modes[0], GL_LINE);
    EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
    glGetIntegerv(GL_CULL_FACE_MODE, &value);
    EXPECT_EQ(value, GL_FRONT);
    gl.apply(s.depthAlways);
    EXPECT_TRUE(glIsEnabled(GL_STENCIL_TEST));
    glGetIntegerv(GL_DEPTH_FUNC, &value);
    EXPECT_EQ(value, GL_ALWAYS);
    glGetIntegerv(GL_STENCIL_WRITEMASK, &value);
    EXPECT_EQ(value & 0xFF, 0);
    EXPECT_EQ(gl.changes(), 6u);

    UniformBuffer block;
    ASSERT_TRUE(block.create(sizeof(TransformBlock)));
    gl.bindUniformBuffer(kTransformSlot, block.buffer());
    gl.bindUniformBuffer(kTransformSlot, block.buffer());
    gl.bindVertexArray(0);
    gl.bindVertexArray(0);
    gl.useProgram(0);
    gl.useProgram(0);
    EXPECT_EQ(gl.changes(), 9u);
    glGetIntegeri_v(GL_UNIFORM_BUFFER_BINDING, kTransformSlot, &value);
    EXPECT_EQ(static_cast<GLuint>(value), block.buffer());

    SamplerObject sampler;
    ASSERT_TRUE(sampler.create(states::pointWrap()));
    gl.bindSamplers(0, 2, sampler.sampler());
    gl.bindSamplers(0, 2, sampler.sampler());
    EXPECT_EQ(gl.changes(), 11u);

    // After someone else touched GL, invalidate() makes the layer resend.
    glEnable(GL_DEPTH_TEST);
    gl.apply(s.depthAlways);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    gl.invalidate();
    gl.apply(s.depthOff);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_EQ(gl.changes(), 12u);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(PipelineStatesGl, SamplersFollowTheirRecords) {
    PipelineStates s;
    ASSERT_TRUE(s.createSamplers());
    GLint value = 0;
    glGetSamplerParameteriv(s.anisotropicWrap.sampler(), GL_TEXTURE_MIN_FILTER, &value);
    EXPECT_EQ(value, GL_LINEAR_MIPMAP_LINEAR);
    glGetSamplerParameteriv(s.anisotropicWrap.sampler(), GL_TEXTURE_WRAP_R, &value);
    EXPECT_EQ(value, GL_REPEAT);
    if (anisotropyOffered()) {
        EXPECT_EQ(s.anisotropicWrap.state().filter, SamplerFilter::Anisotropic);
        GLfloat degree = 0.0f;
        glGetSamplerParameterfv(s.anisotropicWrap.sampler(), GL_TEXTURE_MAX_ANISOTROPY_EXT, &degree);
        EXPECT_EQ(degree, std::min(16.0f, maxAnisotropyOffered()));
    } else {
        EXPECT_EQ(s.anisotropicWrap.state().filter, SamplerFilter::Trilinear);
    }
    glGetSamplerParameteriv(s.pointWrap.sampler(), GL_TEXTURE_MAG_FILTER, &value);
    EXPECT_EQ(value, GL_NEAREST);
    glGetSamplerParameteriv(s.pointWrap.sampler(), GL_TEXTURE_COMPARE_FUNC, &value);
    EXPECT_EQ(value, GL_LEQUAL);
    glGetSamplerParameteriv(s.pointWrap.sampler(), GL_TEXTURE_WRAP_S, &value);
    EXPECT_EQ(value, GL_REPEAT);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(VertexLayouts, ElementsAndGlAttributes) {
    EXPECT_EQ(layoutElements(LayoutKind::Line).size(), 2u);
    EXPECT_EQ(layoutElements(LayoutKind::Screen).size(), 3u);
    EXPECT_EQ(layoutElements(LayoutKind::Mesh).size(), 21u);
    EXPECT_EQ(layoutStride(LayoutKind::Mesh, 0), 72u);
    EXPECT_EQ(layoutStride(LayoutKind::Mesh, 1), 144u);
    EXPECT_EQ(layoutStride(LayoutKind::Line, 0), 28u);
    EXPECT_EQ(layoutStride(LayoutKind::Screen, 0), 36u);

    // The four weights and the four bone numbers become one attribute each;
    // the instance data is nine per-instance vec4s.
    const std::vector<GlAttribute> mesh = glAttributes(layoutElements(LayoutKind::Mesh));
    ASSERT_EQ(mesh.size(), 15u);
    EXPECT_EQ(mesh[1].components, 4);
    EXPECT_EQ(mesh[1].offset, 12u);
    EXPECT_FALSE(mesh[1].integer);
    EXPECT_EQ(mesh[2].components, 4);
    EXPECT_EQ(mesh[2].offset, 28u);
    EXPECT_TRUE(mesh[2].integer);
    EXPECT_EQ(mesh[3].offset, 44u);
    EXPECT_EQ(mesh[5].offset, 64u);
    for (std::size_t i = 0; i < mesh.size(); ++i) {
        EXPECT_EQ(mesh[i].location, i);
        EXPECT_EQ(mesh[i].divisor, i >= 6 ? 1u : 0u);
        EXPECT_EQ(mesh[i].slot, i >= 6 ? 1u : 0u);
        if (i >= 6) {
            EXPECT_EQ(mesh[i].offset, 16u * (i - 6));
            EXPECT_EQ(mesh[i].components, 4);
        }
    }
    const InstanceRecord fresh;
    EXPECT_EQ(fresh.colour.x, 1.0f);
    EXPECT_EQ(fresh.colour.y, 0.0f);
    EXPECT_EQ(fresh.colour.w, 0.5f);
    EXPECT_EQ(fresh.matrix.m[3][3], 0.0f);
    EXPECT_EQ(fresh.matrix2.m[0][0], 0.0f);
}

TEST(ConstantBlocks, RecordsAndDescriptionsAgree) {
    // Matrices go in transposed.
    const Mat4 t = matrixTranslation(1, 2, 3);
    EXPECT_EQ(gpuMatrix(t).m[0][3], 1.0f);
    EXPECT_EQ(gpuMatrix(t).m[2][3], 3.0f);
    std::size_t total = 0;
    for (const BlockDescription& b : blockDescriptions()) {
        SCOPED_TRACE(b.name);
        total += b.size;
        for (const BlockMember& m : b.members) {
            EXPECT_LT(m.offset, b.size) << m.name;
            EXPECT_EQ(m.offset % 4, 0u) << m.name;
        }
    }
    EXPECT_EQ(total, 544u + 544u + 448u + 4656u + 96u + 816u + 32u + 3840u);
    const MaterialBlock material;
    EXPECT_EQ(material.fresnelBase, 0.16f);
    EXPECT_EQ(material.constant1, 1.5f);
    EXPECT_EQ(material.constant2, 1.5f);
    EXPECT_EQ(material.constant3, 0.0f);
    EXPECT_EQ(material.ambientFloor, 0.15f);
}

}  // namespace
}  // namespace morvanex
