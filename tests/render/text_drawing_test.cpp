// Lines of text drawn through the renderer into its 64 x 64 frame, read
// back pixel by pixel.
#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <filesystem>

#include "base/trace_log.h"
#include "platform/system_folders.h"
#include "render/gl_fixture.h"
#include "render/graphics_context.h"
#include "render/renderer.h"
#include "render/shader_test_support.h"
#include "render/text.h"
#include "render/text_status.h"
#include "render/text_test_fonts.h"

namespace morvanex {
namespace {

using Pixel = std::array<int, 4>;

class TextDrawing : public testing::GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        if (HasFatalFailure()) return;
        // The program folder: the built programs and the test font.
        const std::filesystem::path shaders = temp_.path() / "shaders";
        std::filesystem::create_directories(shaders);
        for (const auto& entry : std::filesystem::directory_iterator(executableFolder() / "shaders"))
            std::filesystem::copy_file(entry.path(), shaders / entry.path().filename());
        testing::writeTestFonts(temp_.path());

        graphics_.setSampleModeList(sampleModeListFromCounts({1}));
        ASSERT_EQ(graphics_.create(), hr::S_OK);
        RendererSetup setup;
        setup.programFolder = temp_.path();
        setup.shaderErrorFile = temp_.path() / "error.txt";
        renderer_ = std::make_unique<Renderer>(trace_, graphics_, setup);
        ASSERT_EQ(renderer_->programFailures(), 0) << testing::readText(temp_.path() / "error.txt");
        ASSERT_EQ(renderer_->width(), 64);
        ASSERT_EQ(renderer_->height(), 64);
        ASSERT_NE(renderer_->text.fonts.regularImage, nullptr);
        ASSERT_NE(renderer_->text.fonts.invertedImage, nullptr);
        ASSERT_TRUE(renderer_->text.fonts.regularMetrics);
        renderer_->clearColour = {0, 0, 1, 1};  // blue: glyph pixels are lit in red
        renderer_->beginFrame();
    }

    void TearDown() override {
        renderer_.reset();
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }

    Pixel pixel(int x, int y) const {
        unsigned char rgba[4] = {};
        renderer_->readPixel(x, y, rgba);
        return {rgba[0], rgba[1], rgba[2], rgba[3]};
    }
    bool lit(int x, int y) const {
        const Pixel p = pixel(x, y);
        return p[0] > 0;
    }
    // The background colour (alpha follows the source under the alpha blend).
    bool clear(int x, int y) const {
        const Pixel p = pixel(x, y);
        return p[0] == 0 && p[1] == 0 && p[2] == 255;
    }

    testing::TempFolder temp_;
    TraceLog trace_{temp_.path() / "trace.txt"};
    GraphicsContext graphics_{window_, trace_};
    std::unique_ptr<Renderer> renderer_;
};

TEST_F(TextDrawing, GlyphPixelsLandOneToOneInsideTheMeasuredWidthInOneCall) {
    TextLine line(*renderer_);
    line.leftOffset = 5;
    const float width = line.measure("A\x01" "B");
    EXPECT_EQ(width, 10.0f);
    EXPECT_EQ(line.lastWidth, 10.0f);
    const std::uint64_t before = renderer_->text.drawCalls;
    line.draw(20, 5, "A\x01" "B");  // pen from 10, rows 20 to 39
    EXPECT_EQ(renderer_->text.drawCalls, before + 1);
    EXPECT_TRUE(renderer_->text.vertices.empty());

    // A's even columns, then B's four, then nothing.
    for (int x = 0; x < 64; ++x) {
        const bool want = (x >= 10 && x < 16 && (x - 10) % 2 == 0) || (x >= 16 && x < 20);
        for (int y : {20, 30, 39}) EXPECT_EQ(lit(x, y), want) << x << "," << y;
        EXPECT_FALSE(lit(x, 19)) << x;
        EXPECT_FALSE(lit(x, 40)) << x;
    }
    EXPECT_EQ(pixel(16, 25), (Pixel{255, 255, 255, 255}));
    EXPECT_TRUE(clear(11, 25));  // clear glyph pixels blend away

    // Point sampling: a pen a quarter pixel off still gives whole texels.
    line.draw(44, 10.25f - 5.0f, "A");
    EXPECT_EQ(pixel(10, 50), (Pixel{255, 255, 255, 255}));
    EXPECT_TRUE(clear(11, 50));
    EXPECT_EQ(pixel(12, 50), (Pixel{255, 255, 255, 255}));

    // A long line is still one call; nothing for an empty one.
    line.draw(0, 0, std::string(1200, 'B'));
    EXPECT_EQ(renderer_->text.drawCalls, before + 3);
    line.draw(0, 0, "");
    EXPECT_EQ(renderer_->text.drawCalls, before + 3);
}

TEST_F(TextDrawing, ColouredInvertedAndStatusLines) {
    TextLine line(*renderer_);
    line.lineHeight = 10;
    line.drawColoured(2, 10, "B", {1.0f, 0.5f, 0.0f, 1.0f});  // rows 2 to 11, the glyph squeezed
    const Pixel orange = pixel(11, 6);
    EXPECT_EQ(orange[0], 255);
    EXPECT_NEAR(orange[1], 128, 1);
    EXPECT_EQ(orange[2], 0);
    EXPECT_TRUE(lit(11, 11));
    EXPECT_FALSE(lit(11, 12));
    EXPECT_FALSE(lit(11, 1));
    EXPECT_FALSE(lit(14, 6));

    line.drawInverted(2, 30, "B", {1, 1, 1, 1});  // the inverted image is red
    EXPECT_EQ(pixel(31, 6), (Pixel{255, 0, 0, 255}));

    // "Fps : ..." starts with F, the only other glyph of the test font:
    // x 10 to 13, rows 64 - 30 = 34 to 53.
    const std::uint64_t before = renderer_->text.drawCalls;
    drawStatusLine(*renderer_, StatusLineState{});  // nothing to say: nothing drawn
    EXPECT_EQ(renderer_->text.drawCalls, before);
    StatusLineState withRate;
    withRate.showFrameRate = true;
    drawStatusLine(*renderer_, withRate);
    EXPECT_EQ(renderer_->text.drawCalls, before + 1);
    EXPECT_EQ(pixel(10, 34), (Pixel{255, 255, 255, 255}));
    EXPECT_TRUE(lit(13, 53));
    EXPECT_FALSE(lit(13, 54));
    EXPECT_FALSE(lit(13, 33));
    EXPECT_FALSE(lit(14, 40));
}

}  // namespace
}  // namespace morvanex
