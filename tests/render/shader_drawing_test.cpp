// One draw through each program family into a small off-screen target, read
// back where the pixels must (and must not) land.
#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "base/trace_log.h"
#include "platform/system_folders.h"
#include "render/constant_blocks.h"
#include "render/gl_fixture.h"
#include "render/gl_state.h"
#include "render/pipeline_states.h"
#include "render/shader_library.h"
#include "render/shader_test_support.h"
#include "render/vertex_layouts.h"

namespace morvanex {
namespace {

constexpr int kSize = 32;
using Pixel = std::array<int, 4>;

// Clip x or y of the centre of pixel i.
constexpr float centre(int i) { return (static_cast<float>(i) + 0.5f) / kSize * 2.0f - 1.0f; }

class ShaderDrawing : public testing::GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_EQ(library_.load(executableFolder(), TraceLog(), temp_.path() / "error.txt"), 0)
            << testing::readText(temp_.path() / "error.txt");
        glGenFramebuffers(1, &fbo_);
        glGenTextures(1, &colour_);
        glBindTexture(GL_TEXTURE_2D, colour_);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kSize, kSize, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        glGenRenderbuffers(1, &depth_);
        glBindRenderbuffer(GL_RENDERBUFFER, depth_);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, kSize, kSize);
        glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colour_, 0);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth_);
        ASSERT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
        glViewport(0, 0, kSize, kSize);
        glGenBuffers(2, buffers_);
        ASSERT_TRUE(transform_.create(sizeof(TransformBlock)));
        ASSERT_TRUE(material_.create(sizeof(MaterialBlock)));
        ASSERT_TRUE(lights_.create(sizeof(LightBlock)));
        ASSERT_TRUE(bones_.create(sizeof(BonePalette)));
        ASSERT_TRUE(cube_.create(sizeof(CubeBlock)));
        ASSERT_TRUE(tint_.create(sizeof(TintBlock)));
        ASSERT_TRUE(animation_.create(sizeof(AnimatedTextureBlock)));
        bonePalette_.bones[0] = gpuMatrix(identity());
        upload();
        state_.apply(states::depthOff());
        state_.apply(states::solidNone());
        state_.apply(BlendState{});
    }

    void TearDown() override {
        glDeleteBuffers(2, buffers_);
        glDeleteRenderbuffers(1, &depth_);
        glDeleteTextures(1, &colour_);
        glDeleteFramebuffers(1, &fbo_);
        library_.release();
    }

    void upload() {
        transform_.update(transformBlock_);
        material_.update(materialBlock_);
        lights_.update(lightBlock_);
        bones_.update(bonePalette_);
        cube_.update(cubeBlock_);
        tint_.update(tintBlock_);
        animation_.update(animationBlock_);
        transform_.bind(kTransformSlot);
        material_.bind(kMaterialSlot);
        lights_.bind(kLightSlot);
        bones_.bind(kBonePaletteSlot);
        cube_.bind(kCubeSlot);
        tint_.bind(kTintSlot);
        animation_.bind(kAnimatedTextureSlot);
    }

    void clear() {
        glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
        glClearColor(0, 0, 0, 0);
        glClearDepth(1.0);
        glDepthMask(GL_TRUE);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        state_.invalidate();
        state_.apply(states::depthOff());
        state_.apply(states::solidNone());
        state_.apply(BlendState{});
    }

    Pixel pixel(int x, int y) {  // GL window coordinates: y from the bottom
        unsigned char rgba[4] = {};
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        return {rgba[0], rgba[1], rgba[2], rgba[3]};
    }

    template <class Vertex>
    void vertices(const std::vector<Vertex>& v) {
        glBindBuffer(GL_ARRAY_BUFFER, buffers_[0]);
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(v.size() * sizeof(Vertex)), v.data(), GL_STREAM_DRAW);
    }

    void drawMesh(ProgramId id, const std::vector<MeshVertex>& v, const std::vector<InstanceRecord>& instances = {}) {
        upload();
        vertices(v);
        if (!instances.empty()) {
            glBindBuffer(GL_ARRAY_BUFFER, buffers_[1]);
            glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(instances.size() * sizeof(InstanceRecord)),
                         instances.data(), GL_STREAM_DRAW);
        }
        ASSERT_NE(library_.program(id), 0u);
        state_.useProgram(library_.program(id));
        library_.layout(LayoutKind::Mesh).bind(state_, buffers_[0], 0, instances.empty() ? 0 : buffers_[1], 0);
        glDrawArraysInstanced(GL_TRIANGLES, 0, static_cast<GLsizei>(v.size()),
                              instances.empty() ? 1 : static_cast<GLsizei>(instances.size()));
        ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }

    // A clockwise (front-facing) triangle around (cx, cy), facing the viewer.
    static std::vector<MeshVertex> triangle(float cx, float cy, float r, float z = 0.5f) {
        std::vector<MeshVertex> v(3);
        const Vec3 corners[3] = {{cx - r, cy - r, z}, {cx, cy + r, z}, {cx + r, cy - r, z}};
        const Vec2 uvs[3] = {{0, 1}, {0.5f, 0}, {1, 1}};
        for (int i = 0; i < 3; ++i) {
            v[static_cast<std::size_t>(i)].position = corners[i];
            v[static_cast<std::size_t>(i)].normal = {0, 0, -1};
            v[static_cast<std::size_t>(i)].texcoord = uvs[i];
        }
        return v;
    }

    testing::TempFolder temp_;
    ShaderLibrary library_;
    GlState state_;
    GLuint fbo_ = 0, colour_ = 0, depth_ = 0;
    GLuint buffers_[2] = {};
    UniformBuffer transform_, material_, lights_, bones_, cube_, tint_, animation_;
    TransformBlock transformBlock_;
    MaterialBlock materialBlock_;
    LightBlock lightBlock_;
    BonePalette bonePalette_;
    CubeBlock cubeBlock_;
    TintBlock tintBlock_;
    AnimatedTextureBlock animationBlock_;
};

TEST_F(ShaderDrawing, InterfaceAndLinePrograms) {
    {
        SCOPED_TRACE("PSUntex: vertex colour");
        clear();
        const std::vector<ScreenVertex> quad = {
            {{-1, -1, 0.5f}, {0, 1, 0, 1}, {0, 1}}, {{-1, 1, 0.5f}, {0, 1, 0, 1}, {0, 0}},
            {{1, -1, 0.5f}, {0, 1, 0, 1}, {1, 1}},  {{1, 1, 0.5f}, {0, 1, 0, 1}, {1, 0}}};
        vertices(quad);
        state_.useProgram(library_.program(ProgramId::Ui));
        library_.layout(LayoutKind::Screen).bind(state_, buffers_[0]);
        glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
        EXPECT_EQ(pixel(16, 16), (Pixel{0, 255, 0, 255}));
    }
    {
        SCOPED_TRACE("PS: vertex colour times the image, v = 0 at the top");
        clear();
        // Two rows: the first uploaded (the top of the image) red, then blue.
        const unsigned char texels[] = {255, 0, 0, 255, 0, 0, 255, 255};
        GLuint texture = 0;
        glGenTextures(1, &texture);
        glActiveTexture(GL_TEXTURE0 + kUnitEnvironment);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
        SamplerObject point;
        ASSERT_TRUE(point.create(states::pointWrap()));
        state_.bindSampler(kUnitEnvironment, point.sampler());
        const Vec4 c{1, 1, 0.5f, 1};
        const std::vector<ScreenVertex> quad = {{{-1, -1, 0.5f}, c, {0, 1}}, {{-1, 1, 0.5f}, c, {0, 0}},
                                                {{1, -1, 0.5f}, c, {1, 1}}, {{1, 1, 0.5f}, c, {1, 0}}};
        vertices(quad);
        state_.useProgram(library_.program(ProgramId::UiTextured));
        library_.layout(LayoutKind::Screen).bind(state_, buffers_[0]);
        glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
        EXPECT_EQ(pixel(16, 28), (Pixel{255, 0, 0, 255}));  // top of the target: top of the image
        EXPECT_EQ(pixel(16, 3), (Pixel{0, 0, 128, 255}));
        state_.bindSampler(kUnitEnvironment, 0);
        glDeleteTextures(1, &texture);
    }
    for (ProgramId id : {ProgramId::WorldLines, ProgramId::LineStrip}) {
        SCOPED_TRACE(id == ProgramId::WorldLines ? "VS_SOL + PS_SOL" : "VS_line + PS_SOL");
        clear();
        transformBlock_.worldViewProj = gpuMatrix(matrixTranslation(0, centre(20), 0));
        const std::vector<LineVertex> line = {{{-1, 0, 0.5f}, {0, 0, 1, 1}}, {{1, 0, 0.5f}, {0, 0, 1, 1}}};
        upload();
        vertices(line);
        state_.useProgram(library_.program(id));
        library_.layout(LayoutKind::Line).bind(state_, buffers_[0]);
        glDrawArrays(GL_LINE_STRIP, 0, 2);
        EXPECT_EQ(pixel(16, 20), (Pixel{0, 0, 255, 255}));
        EXPECT_EQ(pixel(16, 16), (Pixel{0, 0, 0, 0}));
        transformBlock_ = TransformBlock{};
    }
    {
        SCOPED_TRACE("VS_UV: texture space inside the UV rectangle");
        clear();
        materialBlock_.targetWidth = kSize;
        materialBlock_.targetHeight = kSize;
        materialBlock_.uvRectX = 8;
        materialBlock_.uvRectY = 8;
        materialBlock_.uvRectWidth = 16;
        materialBlock_.uvRectHeight = 16;
        materialBlock_.drawParameters[0] = {1, 1, 0, 1};
        std::vector<MeshVertex> v = triangle(0, 0, 0.5f);
        v[0].texcoord = {0, 0};
        v[1].texcoord = {1, 0};
        v[2].texcoord = {0, 1};
        drawMesh(ProgramId::UvView, v);
        // uv (0.2, 0.2): pixel (11.2, 11.2) from the top left.
        EXPECT_EQ(pixel(11, kSize - 1 - 11), (Pixel{255, 255, 0, 255}));
        EXPECT_EQ(pixel(21, kSize - 1 - 21), (Pixel{0, 0, 0, 0}));  // uv (0.8, 0.8): outside
        EXPECT_EQ(pixel(4, kSize - 1 - 4), (Pixel{0, 0, 0, 0}));    // outside the rectangle
        materialBlock_ = MaterialBlock{};
    }
}

TEST_F(ShaderDrawing, MeshPrograms) {
    lightBlock_.lightCount = 1;
    lightBlock_.ambient = 0.2f;
    lightBlock_.lights[0].kind = kLightDirectional;
    lightBlock_.lights[0].colour = {1, 1, 1, 1};
    transformBlock_.eyePosition = {0, 0, -10};
    Pixel facing{}, away{};
    {
        SCOPED_TRACE("PS_EnvMap: lit from the front is brighter than lit from behind");
        lightBlock_.lights[0].position = {0, 0, 1, 0};  // shining into the screen, onto the front
        clear();
        drawMesh(ProgramId::Mesh, triangle(0, 0, 0.8f));
        facing = pixel(16, 14);
        lightBlock_.lights[0].position = {0, 0, -1, 0};
        clear();
        drawMesh(ProgramId::Mesh, triangle(0, 0, 0.8f));
        away = pixel(16, 14);
        EXPECT_GT(facing[0], away[0] + 100) << facing[0] << " vs " << away[0];
        EXPECT_GT(away[0], 20);  // ambient light
        EXPECT_EQ(facing[3], 255);
    }
    {
        SCOPED_TRACE("a point light reaches only within its range; 32 lights add up");
        lightBlock_.lights[0].kind = kLightPoint;
        lightBlock_.lights[0].position = {0, 0, -1, 1};
        lightBlock_.lights[0].range = 1.0f;  // the surface lies 1.5 away
        clear();
        drawMesh(ProgramId::Mesh, triangle(0, 0, 0.8f));
        const Pixel outOfRange = pixel(16, 14);
        EXPECT_EQ(outOfRange, away);
        lightBlock_.lights[0].range = 10.0f;
        clear();
        drawMesh(ProgramId::Mesh, triangle(0, 0, 0.8f));
        const Pixel inRange = pixel(16, 14);
        EXPECT_GT(inRange[0], away[0] + 60);
        // The last of 32 records counts too.
        lightBlock_.lights[31] = lightBlock_.lights[0];
        lightBlock_.lights[0].colour = {0, 0, 0, 1};
        lightBlock_.lightCount = 32;
        for (int i = 1; i < 31; ++i) lightBlock_.lights[static_cast<std::size_t>(i)].colour = {0, 0, 0, 1};
        clear();
        drawMesh(ProgramId::Mesh, triangle(0, 0, 0.8f));
        EXPECT_EQ(pixel(16, 14), inRange);
        lightBlock_.lightCount = 1;
        lightBlock_.lights[0] = lightBlock_.lights[31];
    }
    {
        SCOPED_TRACE("PS_EnvMap1: the environment cube shows in the reflection");
        GLuint cube = 0;
        glGenTextures(1, &cube);
        glActiveTexture(GL_TEXTURE0 + kUnitEnvironment);
        glBindTexture(GL_TEXTURE_CUBE_MAP, cube);
        const unsigned char green[4] = {0, 255, 0, 255};
        for (int f = 0; f < 6; ++f) {
            glTexImage2D(GL_TEXTURE_CUBE_MAP_POSITIVE_X + static_cast<GLenum>(f), 0, GL_RGBA8, 1, 1, 0, GL_RGBA,
                         GL_UNSIGNED_BYTE, green);
        }
        glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAX_LEVEL, 0);
        glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        materialBlock_.reflection = 1.0f;
        materialBlock_.specular = {1, 1, 1, 1};
        materialBlock_.diffuse = {1, 0, 0, 1};
        clear();
        drawMesh(ProgramId::MeshReflective, triangle(0, 0, 0.8f));
        const Pixel reflected = pixel(16, 14);
        EXPECT_GT(reflected[1], 200);
        EXPECT_LT(reflected[0], 40);
        clear();
        drawMesh(ProgramId::Mesh, triangle(0, 0, 0.8f));  // the plain variant does not reflect
        EXPECT_GT(pixel(16, 14)[0], 200);
        glDeleteTextures(1, &cube);
        materialBlock_ = MaterialBlock{};
    }
    {
        SCOPED_TRACE("PS_wireframe and PS_wireframe1: flat overlay colours");
        materialBlock_.highlight = {0, 1, 0, 1};
        clear();
        drawMesh(ProgramId::MeshWireframe, triangle(0, 0, 0.8f));
        EXPECT_EQ(pixel(16, 14), (Pixel{0, 255, 0, 255}));
        materialBlock_.drawParameters[0] = {1, 0, 1, 1};
        clear();
        drawMesh(ProgramId::MeshFaces, triangle(0, 0, 0.8f));
        EXPECT_EQ(pixel(16, 14), (Pixel{255, 0, 255, 255}));
        // Wireframe fill draws the edges only.
        clear();
        state_.apply(states::wireNone());
        drawMesh(ProgramId::MeshWireframe, triangle(0, 0, 0.8f));
        EXPECT_EQ(pixel(16, 14), (Pixel{0, 0, 0, 0}));
        EXPECT_EQ(pixel(16, 3), (Pixel{0, 255, 0, 255}));  // the bottom edge
    }
    {
        SCOPED_TRACE("VS_EnvMappedScene: a skinned vertex follows its bone");
        std::vector<MeshVertex> v = triangle(0, 0, 0.2f);
        for (MeshVertex& m : v) {
            m.blendIndices = {1, -1, -1, -1};  // -1: no bone, whatever its weight
            m.blendWeights = {1, 1, 0, 0};
        }
        bonePalette_.bones[1] = gpuMatrix(matrixTranslation(0.5f, 0, 0));
        transformBlock_.objectFlag0 = 1;  // skinned
        clear();
        drawMesh(ProgramId::MeshWireframe, v);
        EXPECT_EQ(pixel(24, 15), (Pixel{0, 255, 0, 255}));
        EXPECT_EQ(pixel(16, 15), (Pixel{0, 0, 0, 0}));
        // Not flagged as skinned, the same vertices follow the world matrix.
        transformBlock_.objectFlag0 = 0;
        clear();
        drawMesh(ProgramId::MeshWireframe, v);
        EXPECT_EQ(pixel(16, 15), (Pixel{0, 255, 0, 255}));
        bonePalette_.bones[1] = gpuMatrix(identity());
    }
    {
        SCOPED_TRACE("depth 0..1: in front of the near plane is clipped, up to the far plane is kept");
        clear();
        drawMesh(ProgramId::MeshWireframe, triangle(0, 0, 0.8f, -0.05f));
        EXPECT_EQ(pixel(16, 14), (Pixel{0, 0, 0, 0}));
        drawMesh(ProgramId::MeshWireframe, triangle(0, 0, 0.8f, 0.98f));
        EXPECT_EQ(pixel(16, 14), (Pixel{0, 255, 0, 255}));
    }
    {
        SCOPED_TRACE("VS_indexed + PS_indexed: one copy per instance record, in its colour");
        std::vector<InstanceRecord> records(3);
        records[1].matrix = matrixTranslation(-0.5f, 0, 0);
        records[1].colour = {0, 1, 0, 1};
        records[2].matrix = matrixTranslation(0.5f, 0.5f, 0);
        records[2].colour = {0, 0, 1, 1};
        clear();
        drawMesh(ProgramId::Indexed, triangle(0, 0, 0.2f), records);
        EXPECT_EQ(pixel(16, 15), (Pixel{255, 0, 0, 128}));  // a fresh record: the object itself
        EXPECT_EQ(pixel(8, 15), (Pixel{0, 255, 0, 255}));
        EXPECT_EQ(pixel(24, 23), (Pixel{0, 0, 255, 255}));
        EXPECT_EQ(pixel(24, 15), (Pixel{0, 0, 0, 0}));
    }
}

TEST_F(ShaderDrawing, CubeMapProgramsWriteEverySixFaces) {
    constexpr int kFace = 16;
    GLuint cube = 0, cubeFbo = 0, readFbo = 0;
    glGenTextures(1, &cube);
    glBindTexture(GL_TEXTURE_CUBE_MAP, cube);
    for (int f = 0; f < 6; ++f) {
        glTexImage2D(GL_TEXTURE_CUBE_MAP_POSITIVE_X + static_cast<GLenum>(f), 0, GL_RGBA8, kFace, kFace, 0, GL_RGBA,
                     GL_UNSIGNED_BYTE, nullptr);
    }
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAX_LEVEL, 0);
    glGenFramebuffers(1, &cubeFbo);
    glGenFramebuffers(1, &readFbo);

    auto face = [&](int f, int x, int row) {  // row 0: the top of the face image
        glBindFramebuffer(GL_READ_FRAMEBUFFER, readFbo);
        glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0,
                               GL_TEXTURE_CUBE_MAP_POSITIVE_X + static_cast<GLenum>(f), cube, 0);
        unsigned char rgba[4] = {};
        glReadPixels(x, row, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        return Pixel{rgba[0], rgba[1], rgba[2], rgba[3]};
    };
    auto begin = [&]() {
        glBindFramebuffer(GL_FRAMEBUFFER, cubeFbo);
        glFramebufferTexture(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, cube, 0);  // layered: all six faces
        ASSERT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
        glViewport(0, 0, kFace, kFace);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
    };

    for (Mat4& view : cubeBlock_.faceViews) view = gpuMatrix(identity());
    cubeBlock_.faceViews[3] = gpuMatrix(matrixTranslation(5, 0, 0));  // this face sees nothing
    cubeBlock_.projection = gpuMatrix(identity());
    materialBlock_.highlight = {0, 1, 0, 1};
    {
        SCOPED_TRACE("GS_SetupNormalInterpCM: each triangle to the six faces, back faces still culled");
        begin();
        state_.apply(states::solidBack());
        // In the upper half of the face views: rows from the top of each image.
        drawMesh(ProgramId::MeshWireframeCube, triangle(0, 0.5f, 0.3f));
        for (int f = 0; f < 6; ++f) {
            SCOPED_TRACE("face " + std::to_string(f));
            EXPECT_EQ(face(f, 8, 4), (f == 3 ? Pixel{0, 0, 0, 0} : Pixel{0, 255, 0, 255}));
            EXPECT_EQ(face(f, 8, 12), (Pixel{0, 0, 0, 0}));
        }
        begin();
        std::vector<MeshVertex> back = triangle(0, 0.5f, 0.3f);
        std::swap(back[1], back[2]);  // counter-clockwise: a back face
        drawMesh(ProgramId::MeshWireframeCube, back);
        EXPECT_EQ(face(0, 8, 4), (Pixel{0, 0, 0, 0}));
        state_.apply(states::solidNone());
    }
    {
        SCOPED_TRACE("GS_SOL: line objects to the six faces");
        begin();
        const std::vector<LineVertex> line = {{{-1, 0.5f, 0.5f}, {1, 0, 0, 1}}, {{1, 0.5f, 0.5f}, {1, 0, 0, 1}}};
        upload();
        vertices(line);
        state_.useProgram(library_.program(ProgramId::WorldLinesCube));
        library_.layout(LayoutKind::Line).bind(state_, buffers_[0]);
        glDrawArrays(GL_LINES, 0, 2);
        ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        for (int f = 0; f < 6; ++f) {
            SCOPED_TRACE("face " + std::to_string(f));
            // Clip y 0.5 is a quarter of the way down the image: row 4 from the top.
            const Pixel p = face(f, 8, 3);
            const Pixel q = face(f, 8, 4);
            const bool drawn = p == Pixel{255, 0, 0, 255} || q == Pixel{255, 0, 0, 255};
            EXPECT_EQ(drawn, f != 3);
        }
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &readFbo);
    glDeleteFramebuffers(1, &cubeFbo);
    glDeleteTextures(1, &cube);
}

}  // namespace
}  // namespace morvanex
