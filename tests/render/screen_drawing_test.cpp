// Pixel-space drawing for widgets: the pixel mapping, outlines, gradient
// fades, images and the UV view, drawn into the frame and read back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "render/screen_drawing.h"
#include "render/world_lines.h"
#include "render/scene_test_support.h"

namespace morvanex {
namespace {

using testing::Rgba;

TEST(ScreenVertex, PixelsMapToDeviceCoordinatesWithYDown) {
    const ScreenVertex topLeft = screenVertex(0, 0, {}, {}, 200, 100);
    EXPECT_FLOAT_EQ(topLeft.position.x, -1.0f);
    EXPECT_FLOAT_EQ(topLeft.position.y, 1.0f);
    EXPECT_FLOAT_EQ(topLeft.position.z, 0.5f);
    const ScreenVertex centre = screenVertex(100, 50, {}, {}, 200, 100);
    EXPECT_FLOAT_EQ(centre.position.x, 0.0f);
    EXPECT_FLOAT_EQ(centre.position.y, 0.0f);
    // A zero-sized target does not divide by zero.
    EXPECT_TRUE(std::isfinite(screenVertex(5, 5, {}, {}, 0, 0).position.x));
}

TEST(ScreenShapes, OutlinesCloseAndGradientsGlideFrameRateFree) {
    const auto outline = frameOutlineVertices({10, 20, 30, 40}, {1, 1, 1, 1}, 100, 100);
    EXPECT_EQ(outline.front().position.x, outline.back().position.x);
    EXPECT_EQ(outline.front().position.y, outline.back().position.y);

    GradientQuad a;
    GradientQuad b;
    a.targets.fill({1, 1, 1, 1});
    b.targets.fill({1, 1, 1, 1});
    for (int i = 0; i < 60; ++i) a.step(1.0f / 60.0f);
    for (int i = 0; i < 30; ++i) b.step(1.0f / 30.0f);
    EXPECT_NEAR(a.colours[2].x, b.colours[2].x, 1e-4f);
    EXPECT_GT(a.colours[2].x, 0.99f);  // 1 - 0.9^60 after one second
}

TEST(WorldLineShapes, CirclesDialsCrossesAndBoxes) {
    const std::vector<LineVertex> circle = circleVertices({1, 2, 3}, 10.0f);
    ASSERT_EQ(circle.size(), 500u);
    EXPECT_NEAR(circle[0].position.x, 11.0f, 1e-5f);
    EXPECT_EQ(circle[125].position.y, 2.0f);
    EXPECT_NEAR(circle[125].position.z, 13.0f, 1e-3f);  // a quarter round: +z

    const std::vector<LineVertex> dial = dialVertices({0, 0, 0}, {0, 1, 0}, 0.0f);
    ASSERT_EQ(dial.size(), 502u);
    for (const LineVertex& v : dial) EXPECT_NEAR(v.position.y, 0.0f, 1e-5f);  // perpendicular to the axis
    EXPECT_NEAR(length(dial.back().position), 10.0f, 1e-4f);

    const std::vector<LineVertex> cross = crossVertices({5, 5, 5}, kTranslucentBlue);
    ASSERT_EQ(cross.size(), 6u);
    EXPECT_NEAR(distance(cross[0].position, cross[1].position), 1.0f, 1e-6f);

    std::array<Vec3, 8> corners;
    for (int i = 0; i < 8; ++i) corners[static_cast<std::size_t>(i)] = {float(i & 1), float((i >> 1) & 1), float(i >> 2)};
    const std::vector<LineVertex> box = boxEdgeVertices(corners, kTranslucentRed);
    ASSERT_EQ(box.size(), 24u);
    for (std::size_t i = 0; i < box.size(); i += 2) EXPECT_FLOAT_EQ(distance(box[i].position, box[i + 1].position), 1.0f);
}

class ScreenDrawingTest : public testing::SceneDrawingTest {};

TEST_F(ScreenDrawingTest, OutlinesLinesAndImagesLandOnTheirPixels) {
    graphics_->beginFrame({0, 0, 0, 1});
    renderer_->gl.invalidate();
    drawFrameOutline(*renderer_, {20, 20, 40, 30}, ByteColour{255, 0, 0, 255});
    drawScreenLine(*renderer_, 10, 100, 50, 0, 255, 0);
    drawVerticalLine(*renderer_, 140, 10, 50, ByteColour{0, 0, 255, 255});
    const Rgba edge = pixel(40, 20);
    EXPECT_GT(edge.r, 200);
    EXPECT_TRUE(isBackground(pixel(40, 35)));  // inside the outline
    EXPECT_GT(pixel(30, 100).g, 200);
    // A line on a pixel edge lights the column on one side of it.
    EXPECT_GT(std::max(pixel(139, 30).b, pixel(140, 30).b), 200);

    const TextureImage* white = renderer_->whiteImage();
    ASSERT_NE(white, nullptr);
    drawImage(*renderer_, *white, {100, 70, 20, 20}, std::nullopt, {1.0f, 0.5f, 0.0f, 1.0f});
    const Rgba tinted = pixel(110, 80);
    EXPECT_GT(tinted.r, 240);
    EXPECT_NEAR(tinted.g, 128, 3);
    EXPECT_TRUE(isBackground(pixel(95, 80)));
}

TEST_F(ScreenDrawingTest, AMeshIsLaidOutByItsTextureCoordinatesInTheRectangle) {
    SceneObject& quad = testing::addFloor(scene_, "plan", 0.0f, 10.0f, {0, 1, 0, 1});
    graphics_->beginFrame({0, 0, 0, 1});
    renderer_->gl.invalidate();
    drawMeshInTextureSpace(*renderer_, quad, {40, 30, 80, 60});
    // The quad's corners (0,0) and (1,1) span the rectangle: its outline
    // and diagonal are drawn, nothing outside it.
    EXPECT_GT(pixel(41, 31).g + pixel(40, 30).g, 100);
    EXPECT_TRUE(isBackground(pixel(20, 20)));
    EXPECT_TRUE(isBackground(pixel(130, 100)));
}

}  // namespace
}  // namespace morvanex
