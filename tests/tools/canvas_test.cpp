#include <gtest/gtest.h>

#include "resources/canvas.h"
#include "tools_test_support.h"

namespace morvanex::resources {
namespace {

TEST(ToolsCanvasTest, FillRectReplacesWholePixelsOnly) {
    Canvas canvas(8, 8);
    canvas.fillRect(2, 3, 5, 4, kWhite);
    EXPECT_EQ(canvas.pixel(2, 3), kWhite);
    EXPECT_EQ(canvas.pixel(4, 3), kWhite);
    EXPECT_EQ(canvas.pixel(5, 3), kTransparent);
    EXPECT_EQ(canvas.pixel(2, 4), kTransparent);
    canvas.fillRect(-5, -5, 100, 1, kBlack);  // clipped, no fault
    EXPECT_EQ(canvas.pixel(7, 0), kBlack);
}

TEST(ToolsCanvasTest, BlendIsSourceOver) {
    Canvas canvas(1, 1, kBlack);
    canvas.blend(0, 0, kWhite, 0.5f);
    const Colour c = canvas.pixel(0, 0);
    EXPECT_NEAR(c.r, 128, 1);
    EXPECT_EQ(c.a, 255);
    Canvas clear(1, 1);
    clear.blend(0, 0, Colour{255, 0, 0, 255}, 0.25f);
    EXPECT_EQ(clear.pixel(0, 0).r, 255);  // colour kept, coverage in alpha
    EXPECT_NEAR(clear.pixel(0, 0).a, 64, 1);
}

TEST(ToolsCanvasTest, LineCoversItsPathAndNothingFar) {
    Canvas canvas(20, 20);
    canvas.line({2.0f, 10.0f}, {18.0f, 10.0f}, 2.0f, kWhite);
    EXPECT_EQ(canvas.pixel(10, 9).a, 255);
    EXPECT_EQ(canvas.pixel(10, 10).a, 255);
    EXPECT_EQ(canvas.pixel(10, 5).a, 0);
    EXPECT_EQ(canvas.pixel(10, 14).a, 0);
}

TEST(ToolsCanvasTest, DiscAndCircle) {
    Canvas canvas(21, 21);
    canvas.disc({10.5f, 10.5f}, 5.0f, kWhite);
    EXPECT_EQ(canvas.pixel(10, 10).a, 255);
    EXPECT_EQ(canvas.pixel(10, 17).a, 0);
    Canvas ring(21, 21);
    ring.circle({10.5f, 10.5f}, 8.0f, 1.0f, kWhite);
    EXPECT_EQ(ring.pixel(10, 10).a, 0) << "a circle is hollow";
    EXPECT_GT(ring.pixel(18, 10).a, 200);
}

TEST(ToolsCanvasTest, ArcCoversOnlyItsSweep) {
    Canvas canvas(21, 21);
    canvas.arc({10.5f, 10.5f}, 8.0f, 0.0f, 90.0f, 1.5f, kWhite);  // right to bottom
    EXPECT_GT(canvas.pixel(18, 10).a, 100);
    EXPECT_GT(canvas.pixel(10, 18).a, 100);
    EXPECT_EQ(canvas.pixel(2, 10).a, 0);
    EXPECT_EQ(canvas.pixel(10, 2).a, 0);
}

TEST(ToolsCanvasTest, PolygonAndArrowHead) {
    Canvas canvas(20, 20);
    const Point square[] = {{4, 4}, {16, 4}, {16, 16}, {4, 16}};
    canvas.polygon(square, kWhite);
    EXPECT_EQ(canvas.pixel(10, 10).a, 255);
    EXPECT_EQ(canvas.pixel(2, 10).a, 0);
    Canvas arrow(30, 20);
    arrow.arrow({2, 10}, {28, 10}, 1.0f, 8.0f, 10.0f, kWhite);
    EXPECT_GT(arrow.pixel(21, 13).a, 200) << "the head is wider than the shaft";
    EXPECT_EQ(arrow.pixel(10, 13).a, 0);
}

TEST(ToolsCanvasTest, TextUsesTheGlyphFontAndItsAdvances) {
    const FontAtlas& font = morvanex::testing::fonts().regular;
    Canvas canvas(100, 20);
    // UTF-8 is not Windows-1252: the two bytes of the accented letter
    // ("\xC3\xA9") are characters without glyphs, which do not advance.
    Canvas scratch(100, 20);
    EXPECT_EQ(scratch.text(font, 0, 0, "H\xC3\xA9", kWhite), static_cast<int>(font.metrics['H'].width));
    const int width = canvas.text(font, 3, 0, "H\xE9", Colour{255, 255, 0, 255});
    EXPECT_EQ(width, static_cast<int>(font.metrics['H'].width + font.metrics[0xE9].width));
    EXPECT_EQ(Canvas::textWidth(font, "H\xE9"), width);
    int lit = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 100; ++x) {
            const Colour c = canvas.pixel(x, y);
            if (c.a > 128) {
                ++lit;
                EXPECT_GE(x, 3);
                EXPECT_LT(x, 3 + width);
                EXPECT_EQ(c.b, 0);
            }
        }
    EXPECT_GT(lit, 10);
}

}  // namespace
}  // namespace morvanex::resources
