// The graphics device and frame targets on the offscreen driver: the sample
// mode choice, creation, the resize rules, frame clears and release.
#include "render/graphics_context.h"

#include <SDL.h>
#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "app/window_rules.h"
#include "base/test_files.h"
#include "base/trace_log.h"
#include "render/gl_fixture.h"
#include "render/renderer.h"

namespace morvanex {
namespace {

// --- The start-up choice over given lists (no driver) ----------------------

TEST(GraphicsContextSampleChoiceTest, OneSampleOnlyKeepsOneAndQualityZero) {
    EXPECT_EQ(chooseSampleMode(sampleModeListFromCounts({1})), (SampleMode{1, 0}));
    EXPECT_EQ(chooseSampleMode(SampleModeList{}), (SampleMode{1, 0}));
    // A lone entry is not taken even when it is not 1.
    EXPECT_EQ(chooseSampleMode(sampleModeListFromCounts({4})), (SampleMode{1, 0}));
}

TEST(GraphicsContextSampleChoiceTest, TakesTheSecondHighestEntry) {
    EXPECT_EQ(chooseSampleMode(sampleModeListFromCounts({1, 2, 4, 8})), (SampleMode{4, 0}));
    EXPECT_EQ(chooseSampleMode(sampleModeListFromCounts({1, 4})), (SampleMode{1, 0}));
    EXPECT_EQ(chooseSampleMode(sampleModeListFromCounts({1, 2, 4, 8, 16, 32})), (SampleMode{16, 0}));
    // The quality comes from the same entry.
    SampleModeList withLevels{{1, 2, 4, 8}, {0, 3, 5, 7}};
    EXPECT_EQ(chooseSampleMode(withLevels), (SampleMode{4, 5}));
}

TEST(GraphicsContextSampleChoiceTest, ListFromCountsHasQualityZeroEach) {
    const SampleModeList list = sampleModeListFromCounts({1, 2, 4, 8});
    EXPECT_EQ(list.counts, (std::vector<int>{1, 2, 4, 8}));
    EXPECT_EQ(list.qualities, (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(list.size(), 4u);
}

TEST(GraphicsContextSampleChoiceTest, ContextTakesTheChoiceOfAnInjectedList) {
    PlatformWindow noWindow;
    const TraceLog noTrace;
    GraphicsContext graphics(noWindow, noTrace);
    EXPECT_EQ(graphics.sampleCount(), 1);
    graphics.setSampleModeList(sampleModeListFromCounts({1, 2, 4, 8}));
    EXPECT_EQ(graphics.sampleCount(), 4);
    EXPECT_EQ(graphics.sampleQuality(), 0);
    graphics.setSampleModeList(sampleModeListFromCounts({1}));
    EXPECT_EQ(graphics.sampleCount(), 1);
    EXPECT_EQ(graphics.sampleQuality(), 0);
    // Defaults of the settings that exist before any device.
    EXPECT_TRUE(graphics.verticalSync());
    EXPECT_EQ(graphics.syncInterval(), 1);
    EXPECT_FALSE(graphics.fullScreen());
    EXPECT_FALSE(graphics.created());
}

// --- On the driver ----------------------------------------------------------

struct RenderbufferInfo {
    GLint width = 0, height = 0, samples = 0, format = 0, depthBits = 0, stencilBits = 0;
};

RenderbufferInfo describe(GLuint renderbuffer) {
    RenderbufferInfo info;
    glBindRenderbuffer(GL_RENDERBUFFER, renderbuffer);
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_WIDTH, &info.width);
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_HEIGHT, &info.height);
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_SAMPLES, &info.samples);
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_INTERNAL_FORMAT, &info.format);
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_DEPTH_SIZE, &info.depthBits);
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_STENCIL_SIZE, &info.stencilBits);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    return info;
}

GLint attachedName(GLuint framebuffer, GLenum attachment) {
    GLint name = 0;
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, attachment, GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME, &name);
    return name;
}

class GraphicsContextTest : public testing::GlTest {
protected:
    std::string trace() const { return test::readBytes(temp / "trace.txt"); }

    void resizeWindow(int width, int height) {
        SDL_Window* window = SDL_GL_GetCurrentWindow();
        ASSERT_NE(window, nullptr);
        SDL_SetWindowSize(window, width, height);
        int w = 0;
        int h = 0;
        window_.drawableSize(w, h);
        ASSERT_EQ(w, width) << "the offscreen window did not change size";
        ASSERT_EQ(h, height);
    }

    // The targets match the graphics context's size and sample count.
    void expectTargets(const GraphicsContext& graphics, int width, int height, int samples) {
        ASSERT_TRUE(graphics.created());
        EXPECT_EQ(graphics.width(), width);
        EXPECT_EQ(graphics.height(), height);
        EXPECT_TRUE(glIsFramebuffer(graphics.framebuffer()));
        glBindFramebuffer(GL_FRAMEBUFFER, graphics.framebuffer());
        EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
        EXPECT_EQ(attachedName(graphics.framebuffer(), GL_COLOR_ATTACHMENT0), static_cast<GLint>(graphics.colorBuffer()));
        EXPECT_EQ(attachedName(graphics.framebuffer(), GL_DEPTH_ATTACHMENT), static_cast<GLint>(graphics.depthBuffer()));
        EXPECT_EQ(attachedName(graphics.framebuffer(), GL_STENCIL_ATTACHMENT), static_cast<GLint>(graphics.depthBuffer()));

        const RenderbufferInfo colour = describe(graphics.colorBuffer());
        EXPECT_EQ(colour.width, width);
        EXPECT_EQ(colour.height, height);
        EXPECT_EQ(colour.format, GL_RGBA8);
        EXPECT_EQ(std::max(1, colour.samples), samples);
        const RenderbufferInfo depth = describe(graphics.depthBuffer());
        EXPECT_EQ(depth.width, width);
        EXPECT_EQ(depth.height, height);
        EXPECT_EQ(depth.format, GL_DEPTH24_STENCIL8);
        EXPECT_EQ(depth.depthBits, 24);
        EXPECT_EQ(depth.stencilBits, 8);
        EXPECT_EQ(std::max(1, depth.samples), samples);
        EXPECT_EQ(graphics.backBufferSampleCount(), samples);
        EXPECT_EQ(graphics.backBufferFormat(), static_cast<std::uint32_t>(GL_RGBA8));

        // A multisampled frame has a single-sample copy of the same size to resolve into.
        if (samples > 1) {
            EXPECT_TRUE(glIsFramebuffer(graphics.resolveFramebuffer()));
            const RenderbufferInfo resolved = describe(graphics.resolveBuffer());
            EXPECT_EQ(resolved.width, width);
            EXPECT_EQ(resolved.height, height);
            EXPECT_EQ(resolved.samples, 0);
        } else {
            EXPECT_EQ(graphics.resolveFramebuffer(), 0u);
        }

        GLint binding = 0;
        glGetIntegerv(GL_FRAMEBUFFER_BINDING, &binding);
        GLint viewport[4] = {0, 0, 0, 0};
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(viewport[2], width);
        EXPECT_EQ(viewport[3], height);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }

    // Depth and stencil at the centre of the frame, through a single-sample copy.
    void readDepthStencil(const GraphicsContext& graphics, float& depth, int& stencil) {
        GLuint framebuffer = 0;
        GLuint buffer = 0;
        glGenFramebuffers(1, &framebuffer);
        glGenRenderbuffers(1, &buffer);
        glBindRenderbuffer(GL_RENDERBUFFER, buffer);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, graphics.width(), graphics.height());
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffer);
        glFramebufferRenderbuffer(GL_DRAW_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, buffer);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, graphics.framebuffer());
        glBlitFramebuffer(0, 0, graphics.width(), graphics.height(), 0, 0, graphics.width(), graphics.height(),
                          GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT, GL_NEAREST);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
        GLubyte stencilValue = 0;
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(graphics.width() / 2, graphics.height() / 2, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
        glReadPixels(graphics.width() / 2, graphics.height() / 2, 1, 1, GL_STENCIL_INDEX, GL_UNSIGNED_BYTE,
                     &stencilValue);
        stencil = stencilValue;
        glBindFramebuffer(GL_FRAMEBUFFER, graphics.framebuffer());
        glDeleteRenderbuffers(1, &buffer);
        glDeleteFramebuffers(1, &framebuffer);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }

    void expectFrameClears(GraphicsContext& graphics, Renderer& renderer);
    void expectRowsFromTheTop(GraphicsContext& graphics);

    test::TempFolder temp;
    TraceLog log{temp / "trace.txt"};
};

TEST_F(GraphicsContextTest, ProbeGivesAnIncreasingListStartingAtOne) {
    GLint maxSamples = 0;
    glGetIntegerv(GL_MAX_SAMPLES, &maxSamples);
    const SampleProbe probe = probeSampleCounts();
    EXPECT_EQ(probe.maxSamplesResult, hr::S_OK);
    EXPECT_EQ(probe.framebufferResult, hr::S_OK);
    EXPECT_EQ(probe.maxSamples, std::max(1, maxSamples));
    EXPECT_NE(probe.probeFramebuffer, 0u);
    // The probe leaves nothing behind.
    EXPECT_FALSE(glIsFramebuffer(probe.probeFramebuffer));
    ASSERT_FALSE(probe.counts.empty());
    EXPECT_EQ(probe.counts.front(), 1);
    for (std::size_t i = 1; i < probe.counts.size(); ++i) {
        EXPECT_GT(probe.counts[i], probe.counts[i - 1]);
        EXPECT_LE(probe.counts[i], probe.maxSamples);
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(GraphicsContextTest, ChoosingTheModeTracesTheProbeAndTakesTheSecondHighest) {
    GraphicsContext graphics(window_, log);
    ASSERT_EQ(graphics.chooseMultisampleMode(), hr::S_OK);
    const SampleModeList& list = graphics.sampleModeList();
    ASSERT_FALSE(list.empty());
    EXPECT_EQ(list.counts.front(), 1);
    EXPECT_EQ(list.qualities, std::vector<int>(list.size(), 0));
    const SampleMode expected = list.size() > 1 ? SampleMode{list.counts[list.size() - 2], 0} : SampleMode{1, 0};
    EXPECT_EQ(graphics.sampleCount(), expected.count);
    EXPECT_EQ(graphics.sampleQuality(), 0);

    const std::string lines = trace();
    const std::string head = "InitApp()\r\nGetMaxSamples, hr = S_OK\r\nCreateProbeFramebuffer, hr = S_OK\r\n"
                             "CreateProbeFramebuffer,m_pFramebuffer = ";
    ASSERT_EQ(lines.compare(0, head.size(), head), 0) << lines;
    const std::string name = lines.substr(head.size(), lines.size() - head.size() - 2);
    EXPECT_EQ(lines.substr(lines.size() - 2), "\r\n");
    ASSERT_FALSE(name.empty());
    EXPECT_EQ(name.find_first_not_of("0123456789"), std::string::npos) << name;
    EXPECT_NE(std::stoul(name), 0u);
}

TEST_F(GraphicsContextTest, CreateMakesCompleteTargetsOfTheWindowSizeWithTheChosenSamples) {
    GraphicsContext graphics(window_, log);
    ASSERT_EQ(graphics.chooseMultisampleMode(), hr::S_OK);
    const std::string probeLines = trace();
    ASSERT_EQ(graphics.create(), hr::S_OK);
    int width = 0;
    int height = 0;
    window_.drawableSize(width, height);
    expectTargets(graphics, width, height, graphics.sampleCount());
    EXPECT_EQ(trace(), probeLines +
                           "CreateFramebuffer, hr = S_OK\r\nCreateColorBuffer, hr = S_OK\r\n"
                           "CreateDepthBuffer, hr = S_OK\r\nCheckFramebufferStatus, hr = S_OK\r\n");
    EXPECT_TRUE(graphics.checkShaderModel4());

    // The program's conventions: clockwise front faces, depth 0..1 where clip control exists.
    GLint frontFace = 0;
    glGetIntegerv(GL_FRONT_FACE, &frontFace);
    EXPECT_EQ(frontFace, GL_CW);
    const bool clipControl = epoxy_gl_version() >= 45 || epoxy_has_gl_extension("GL_ARB_clip_control");
    EXPECT_EQ(graphics.depthZeroToOne(), clipControl);
    if (clipControl) {
        GLint origin = 0;
        GLint depthMode = 0;
        glGetIntegerv(GL_CLIP_ORIGIN, &origin);
        glGetIntegerv(GL_CLIP_DEPTH_MODE, &depthMode);
        EXPECT_EQ(origin, GL_LOWER_LEFT);
        EXPECT_EQ(depthMode, GL_ZERO_TO_ONE);
    }
}

TEST_F(GraphicsContextTest, EverySupportedSampleCountMakesCompleteTargets) {
    GraphicsContext graphics(window_, log);
    ASSERT_EQ(graphics.chooseMultisampleMode(), hr::S_OK);
    ASSERT_EQ(graphics.create(), hr::S_OK);
    const SampleModeList list = graphics.sampleModeList();
    for (std::size_t i = 0; i < list.size(); ++i) {
        SCOPED_TRACE("entry " + std::to_string(i));
        ASSERT_EQ(graphics.selectMultisampleEntry(i), hr::S_OK);
        EXPECT_EQ(graphics.sampleCount(), list.counts[i]);
        EXPECT_EQ(graphics.sampleQuality(), list.qualities[i]);
        expectTargets(graphics, 64, 64, list.counts[i]);
    }
    // An entry past the list changes nothing.
    const unsigned framebuffer = graphics.framebuffer();
    EXPECT_EQ(graphics.selectMultisampleEntry(list.size()), hr::E_INVALIDARG);
    EXPECT_EQ(graphics.framebuffer(), framebuffer);
    EXPECT_EQ(graphics.sampleCount(), list.counts.back());
}

TEST_F(GraphicsContextTest, ClipControlCanBeLeftOff) {
    GraphicsContext graphics(window_, log, GraphicsContext::Options{false});
    graphics.setSampleModeList(sampleModeListFromCounts({1}));
    ASSERT_EQ(graphics.create(), hr::S_OK);
    EXPECT_FALSE(graphics.depthZeroToOne());
    if (epoxy_gl_version() >= 45 || epoxy_has_gl_extension("GL_ARB_clip_control")) {
        GLint depthMode = 0;
        glGetIntegerv(GL_CLIP_DEPTH_MODE, &depthMode);
        EXPECT_EQ(depthMode, GL_NEGATIVE_ONE_TO_ONE);
    }
    expectTargets(graphics, 64, 64, 1);
}

TEST_F(GraphicsContextTest, AFailingStepReturnsItsCodeTracesItAndReleasesEverything) {
    GLint maxSamples = 0;
    glGetIntegerv(GL_MAX_SAMPLES, &maxSamples);
    GraphicsContext graphics(window_, log);
    // A sample count past what the driver allows: the colour buffer is refused.
    graphics.setSampleModeList(sampleModeListFromCounts({1, maxSamples * 4, maxSamples * 8}));
    ASSERT_EQ(graphics.sampleCount(), maxSamples * 4);
    // Drivers answer with an invalid value or an invalid operation.
    const ResultCode code = graphics.create();
    EXPECT_TRUE(code == hr::E_INVALIDARG || code == hr::E_FAIL) << std::hex << code;
    EXPECT_FALSE(graphics.created());
    EXPECT_EQ(graphics.colorBuffer(), 0u);
    EXPECT_EQ(graphics.depthBuffer(), 0u);
    EXPECT_EQ(graphics.resolveFramebuffer(), 0u);
    EXPECT_EQ(trace(), "CreateFramebuffer, hr = S_OK\r\nCreateColorBuffer, hr = " + ResultCodeName(code) + "\r\n");
    EXPECT_EQ(graphics.resize(false), hr::E_FAIL);  // nothing to resize
    EXPECT_EQ(graphics.framebuffer(), 0u);
    // Frames without targets are harmless.
    graphics.beginFrame({0, 0, 0, 1});
    graphics.endFrame();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(GraphicsContextTest, SizeMessagesFollowTheResizeRules) {
    GraphicsContext graphics(window_, log);
    ASSERT_EQ(graphics.chooseMultisampleMode(), hr::S_OK);
    ASSERT_EQ(graphics.create(), hr::S_OK);
    const Renderer renderer(log, graphics);
    EXPECT_EQ(renderer.width(), 64);
    const int samples = graphics.sampleCount();
    const std::string createdTrace = trace();

    // The size handler of the window: resize(false) when the rule says so.
    std::uintptr_t lastKind = size_kind::Restored;
    auto sizeMessage = [&](std::uintptr_t kind) {
        if (sizeChangeResizesTargets(lastKind, kind)) {
            EXPECT_EQ(graphics.resize(false), hr::S_OK);
        }
        lastKind = kind;
    };

    resizeWindow(96, 80);
    sizeMessage(size_kind::Minimized);
    expectTargets(graphics, 64, 64, samples);
    sizeMessage(size_kind::Maximized);  // straight from minimised: the size is the old one
    expectTargets(graphics, 64, 64, samples);
    EXPECT_EQ(renderer.width(), 64);

    const unsigned framebuffer = graphics.framebuffer();
    sizeMessage(size_kind::Restored);
    expectTargets(graphics, 96, 80, samples);
    EXPECT_EQ(graphics.framebuffer(), framebuffer);  // a size change keeps the framebuffer
    EXPECT_EQ(renderer.width(), 96);
    EXPECT_EQ(renderer.height(), 80);

    resizeWindow(72, 40);
    sizeMessage(size_kind::Maximized);  // from restored: resizes
    expectTargets(graphics, 72, 40, samples);
    EXPECT_EQ(renderer.width(), 72);
    EXPECT_EQ(renderer.height(), 40);
    // Resizes that succeed log nothing.
    EXPECT_EQ(trace(), createdTrace);
}

TEST_F(GraphicsContextTest, SelectingAnotherEntryRecreatesAndLeavesFullScreenFirst) {
    GraphicsContext graphics(window_, log);
    graphics.setSampleModeList(sampleModeListFromCounts(probeSampleCounts().counts));
    ASSERT_EQ(graphics.create(), hr::S_OK);
    const Renderer renderer(log, graphics);
    const std::size_t last = graphics.sampleModeList().size() - 1;

    graphics.setFullScreen(true);
    EXPECT_TRUE(graphics.fullScreen());
    ASSERT_EQ(graphics.selectMultisampleEntry(last), hr::S_OK);
    EXPECT_FALSE(graphics.fullScreen());
    EXPECT_EQ(SDL_GetWindowFlags(SDL_GL_GetCurrentWindow()) & SDL_WINDOW_FULLSCREEN, 0u);
    // Recreated at the window's size as it is now, with the entry's samples.
    int width = 0;
    int height = 0;
    window_.drawableSize(width, height);
    expectTargets(graphics, width, height, graphics.sampleModeList().counts[last]);
    EXPECT_EQ(renderer.width(), width);

    ASSERT_EQ(graphics.selectMultisampleEntry(0), hr::S_OK);
    expectTargets(graphics, width, height, 1);
}

TEST_F(GraphicsContextTest, VerticalSyncSetsTheSyncInterval) {
    GraphicsContext graphics(window_, log);
    graphics.setVerticalSync(false);
    EXPECT_FALSE(graphics.verticalSync());
    EXPECT_EQ(graphics.syncInterval(), 0);
    graphics.setVerticalSync(true);
    EXPECT_TRUE(graphics.verticalSync());
    EXPECT_EQ(graphics.syncInterval(), 1);
    graphics.setVerticalSync(false);
    graphics.setSampleModeList(sampleModeListFromCounts({1}));
    ASSERT_EQ(graphics.create(), hr::S_OK);
    EXPECT_EQ(graphics.syncInterval(), 0);  // creation keeps the setting
}

TEST_F(GraphicsContextTest, BeginFrameClearsColourAndDepthAndEndFrameShowsTheFrame) {
    GraphicsContext graphics(window_, log);
    ASSERT_EQ(graphics.chooseMultisampleMode(), hr::S_OK);
    ASSERT_EQ(graphics.create(), hr::S_OK);
    Renderer renderer(log, graphics);
    for (std::size_t entry = 0; entry < graphics.sampleModeList().size(); ++entry) {
        SCOPED_TRACE("samples " + std::to_string(graphics.sampleModeList().counts[entry]));
        ASSERT_EQ(graphics.selectMultisampleEntry(entry), hr::S_OK);
        expectFrameClears(graphics, renderer);
    }
}

void GraphicsContextTest::expectFrameClears(GraphicsContext& graphics, Renderer& renderer) {
    // Stencil 5 and depth 0.25 beforehand; write masks off and a scissor
    // that the frame's clear must ignore and give back as they were.
    glBindFramebuffer(GL_FRAMEBUFFER, graphics.framebuffer());
    glClearStencil(5);
    glClearDepth(0.25);
    glClear(GL_STENCIL_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDepthMask(GL_FALSE);
    glColorMask(GL_TRUE, GL_FALSE, GL_TRUE, GL_TRUE);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 2, 2);

    renderer.clearColour = {0.28f, 0.63f, 1.0f, 1.0f};
    renderer.beginFrame();

    GLboolean depthMask = GL_TRUE;
    GLboolean colourMask[4] = {GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE};
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthMask);
    glGetBooleanv(GL_COLOR_WRITEMASK, colourMask);
    EXPECT_EQ(depthMask, GL_FALSE);
    EXPECT_EQ(colourMask[1], GL_FALSE);
    EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
    glDepthMask(GL_TRUE);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);

    float depth = 0.0f;
    int stencil = 0;
    glDisable(GL_SCISSOR_TEST);  // the test's own copy must see the whole frame
    readDepthStencil(graphics, depth, stencil);
    glEnable(GL_SCISSOR_TEST);   // the presentation must not care
    EXPECT_FLOAT_EQ(depth, 1.0f);
    EXPECT_EQ(stencil, 5);  // untouched

    graphics.endFrame();
    // Corners and centre of the resolved frame (the scissor covers only one corner).
    for (auto [x, y] : {std::pair{0, 0}, std::pair{63, 0}, std::pair{0, 63}, std::pair{63, 63}, std::pair{32, 32}}) {
        unsigned char rgba[4] = {0, 0, 0, 0};
        renderer.readPixel(x, y, rgba);
        EXPECT_NEAR(rgba[0], 71, 1) << x << "," << y;
        EXPECT_NEAR(rgba[1], 161, 1) << x << "," << y;
        EXPECT_EQ(rgba[2], 255) << x << "," << y;
        EXPECT_EQ(rgba[3], 255) << x << "," << y;
    }
    // Another colour the next frame, read before it is presented too.
    renderer.clearColour = {1.0f, 0.0f, 0.0f, 1.0f};
    renderer.beginFrame();
    unsigned char rgba[4] = {0, 0, 0, 0};
    renderer.readPixel(10, 20, rgba);
    EXPECT_EQ(rgba[0], 255);
    EXPECT_EQ(rgba[1], 0);
    EXPECT_EQ(rgba[2], 0);
    graphics.endFrame();
    glDisable(GL_SCISSOR_TEST);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(GraphicsContextTest, ReadPixelCountsRowsFromTheTop) {
    GraphicsContext graphics(window_, log);
    graphics.setSampleModeList(sampleModeListFromCounts(probeSampleCounts().counts));
    ASSERT_EQ(graphics.create(), hr::S_OK);
    for (std::size_t entry = 0; entry < graphics.sampleModeList().size(); ++entry) {
        SCOPED_TRACE("samples " + std::to_string(graphics.sampleModeList().counts[entry]));
        ASSERT_EQ(graphics.selectMultisampleEntry(entry), hr::S_OK);
        expectRowsFromTheTop(graphics);
    }
}

void GraphicsContextTest::expectRowsFromTheTop(GraphicsContext& graphics) {
    graphics.beginFrame({0.0f, 0.0f, 1.0f, 1.0f});
    // Paint the top rows red: with the lower-left origin they are the last rows.
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 64 - 8, 64, 8);
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    graphics.endFrame();
    unsigned char top[4] = {0, 0, 0, 0};
    unsigned char bottom[4] = {0, 0, 0, 0};
    graphics.readPixel(5, 2, top);
    graphics.readPixel(5, 60, bottom);
    EXPECT_EQ(top[0], 255);
    EXPECT_EQ(top[2], 0);
    EXPECT_EQ(bottom[0], 0);
    EXPECT_EQ(bottom[2], 255);
}

TEST_F(GraphicsContextTest, ReleaseAllLeavesNoObjects) {
    GraphicsContext graphics(window_, log);
    // A multisampled mode, so that the resolve copy exists too.
    const std::vector<int> counts = probeSampleCounts().counts;
    graphics.setSampleModeList(sampleModeListFromCounts(counts));
    // Before creation a choice only sets the mode that creation will use.
    if (counts.size() > 1) {
        ASSERT_EQ(graphics.selectMultisampleEntry(counts.size() - 1), hr::E_FAIL);
        EXPECT_EQ(graphics.framebuffer(), 0u);
    }
    ASSERT_EQ(graphics.create(), hr::S_OK);
    if (counts.size() > 1) {
        EXPECT_EQ(graphics.backBufferSampleCount(), counts.back());
        ASSERT_EQ(graphics.selectMultisampleEntry(counts.size() - 1), hr::S_OK);
    }
    const unsigned framebuffer = graphics.framebuffer();
    const unsigned resolveFramebuffer = graphics.resolveFramebuffer();
    const unsigned colour = graphics.colorBuffer();
    const unsigned depth = graphics.depthBuffer();
    const unsigned resolved = graphics.resolveBuffer();
    ASSERT_TRUE(glIsFramebuffer(framebuffer));
    ASSERT_TRUE(glIsRenderbuffer(colour));
    ASSERT_TRUE(glIsRenderbuffer(depth));
    if (counts.size() > 1) {
        ASSERT_TRUE(glIsFramebuffer(resolveFramebuffer));
        ASSERT_TRUE(glIsRenderbuffer(resolved));
    }

    graphics.releaseAll();
    EXPECT_FALSE(graphics.created());
    EXPECT_FALSE(glIsFramebuffer(framebuffer));
    EXPECT_FALSE(glIsFramebuffer(resolveFramebuffer));
    EXPECT_FALSE(glIsRenderbuffer(colour));
    EXPECT_FALSE(glIsRenderbuffer(depth));
    EXPECT_FALSE(glIsRenderbuffer(resolved));
    EXPECT_EQ(graphics.framebuffer(), 0u);
    EXPECT_EQ(graphics.colorBuffer(), 0u);
    EXPECT_EQ(graphics.depthBuffer(), 0u);
    EXPECT_EQ(graphics.resolveFramebuffer(), 0u);
    EXPECT_EQ(graphics.resolveBuffer(), 0u);
    GLint binding = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &binding);
    EXPECT_EQ(binding, 0);

    graphics.releaseAll();  // twice is harmless
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
}  // namespace morvanex
