// Measuring and laying out a line, and the status line's text: no driver.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/text.h"
#include "render/text_status.h"
#include "render/text_test_fonts.h"

namespace morvanex {
namespace {

TEST(TextMeasure, EmptyIsZeroAndABIsTheSumOfItsWidths) {
    const FontMetrics regular = testing::testFontMetrics(false);
    const FontMetrics bold = testing::testFontMetrics(true);
    EXPECT_EQ(measureText("", regular), 0.0f);
    EXPECT_EQ(measureText("AB", regular), 6.0f + 4.0f);
    EXPECT_EQ(measureText("AB", bold), 9.0f + 4.0f);
    EXPECT_EQ(measureText("A\x01" "B\x01", regular), 10.0f);  // zero-width bytes add nothing
    FontMetrics high;
    high.glyphs[0xE9] = {0.0f, 8.5f};  // é is byte 0xE9
    EXPECT_EQ(measureText("\xE9\xE9", high), 17.0f);
}

TEST(TextQuads, SixVerticesPerByteInDeviceUnitsWithTheGlyphsTextureSpan) {
    FontMetrics metrics = testing::testFontMetrics();
    metrics.glyphs['B'] = {250.0f, 4.0f};
    TextQuadPlacement p;
    p.x = 10;
    p.top = 5;
    p.lineHeight = 20;
    p.colour = {0.25f, 0.5f, 0.75f, 1.0f};
    p.targetWidth = 100;
    p.targetHeight = 50;
    std::vector<ScreenVertex> v;
    EXPECT_EQ(appendTextQuads("B", metrics, p, v), 14.0f);
    ASSERT_EQ(v.size(), 6u);
    // x from 10 to 14 of 100, y from 5 to 25 of 50.
    const float l = 2 * 10 / 100.0f - 1, r = 2 * 14 / 100.0f - 1, t = 1 - 2 * 5 / 50.0f, b = 1 - 2 * 25 / 50.0f;
    const float u0 = 0.25f, u1 = 0.254f;
    const float want[6][4] = {{l, t, u0, 0}, {r, t, u1, 0}, {l, b, u0, 1}, {r, t, u1, 0}, {r, b, u1, 1}, {l, b, u0, 1}};
    for (std::size_t i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_FLOAT_EQ(v[i].position.x, want[i][0]);
        EXPECT_FLOAT_EQ(v[i].position.y, want[i][1]);
        EXPECT_EQ(v[i].position.z, 0.5f);
        EXPECT_FLOAT_EQ(v[i].texcoord.x, want[i][2]);
        EXPECT_EQ(v[i].texcoord.y, want[i][3]);
        EXPECT_EQ(v[i].colour.x, 0.25f);
        EXPECT_EQ(v[i].colour.y, 0.5f);
        EXPECT_EQ(v[i].colour.z, 0.75f);
        EXPECT_EQ(v[i].colour.w, 1.0f);
    }
    // Clockwise on screen (y down): the cross product of the two edges of
    // each triangle, with device y flipped back to screen y, is positive.
    for (std::size_t tri = 0; tri < 2; ++tri) {
        const Vec3& a = v[tri * 3].position;
        const Vec3& c1 = v[tri * 3 + 1].position;
        const Vec3& c2 = v[tri * 3 + 2].position;
        const float cross = (c1.x - a.x) * (-(c2.y - a.y)) - (-(c1.y - a.y)) * (c2.x - a.x);
        EXPECT_GT(cross, 0.0f) << tri;
    }
}

TEST(TextQuads, AZeroWidthByteGivesAnEmptyQuadAndLeavesThePen) {
    const FontMetrics metrics = testing::testFontMetrics();
    TextQuadPlacement p;
    p.x = 0;
    p.targetWidth = 200;
    p.targetHeight = 100;
    std::vector<ScreenVertex> v;
    EXPECT_EQ(appendTextQuads("A\x01" "B", metrics, p, v), 10.0f);
    ASSERT_EQ(v.size(), 18u);
    const float afterA = 2 * 6 / 200.0f - 1;
    for (std::size_t i = 6; i < 12; ++i) EXPECT_FLOAT_EQ(v[i].position.x, afterA) << i;  // no area
    EXPECT_FLOAT_EQ(v[12].position.x, afterA);  // B starts where A ended
    EXPECT_FLOAT_EQ(v[13].position.x, 2 * 10 / 200.0f - 1);
    // Appending keeps what the list held.
    EXPECT_EQ(appendTextQuads("", metrics, p, v), 0.0f);
    EXPECT_EQ(v.size(), 18u);
}

// Only what a person can use: no debugging indexes, the rate only while
// the frame counter is on, nothing at all when there is nothing to say.
TEST(StatusLineText, ShowsTheRateOnlyWhenAskedAndTheObjectForAPerson) {
    StatusLineState state;
    state.framesPerSecond = 59.97;
    EXPECT_EQ(statusLineText(state), "");
    state.showFrameRate = true;
    EXPECT_EQ(statusLineText(state), "Fps : 59");

    state.objectUnderPointer = true;
    state.objectName = "Cube\xE9";
    state.boundsSize = {12.049999f, 1.5f, 1.0f / 3.0f};
    state.labelOption = true;
    state.label = "Lecture du tutoriel";
    EXPECT_EQ(statusLineText(state), "Fps : 59   Cube\xE9  12.05 x 1.5 x 0.33   Lecture du tutoriel");

    state.showFrameRate = false;
    state.labelOption = false;
    state.boundsSize = {2.0f, 0.0f, 100.0f};
    EXPECT_EQ(statusLineText(state), "Cube\xE9  2 x 0 x 100");
}

}  // namespace
}  // namespace morvanex
