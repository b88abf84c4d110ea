// The key bar: knob positions and times at every scale, key drags that
// re-sort the keys, the insertion band, scrolling, the scale menu and the
// clipped drawing.
#include <gtest/gtest.h>

#include "ui/image_button.h"
#include "ui/key_bar.h"
#include "ui_test_support.h"

namespace morvanex {
namespace {

using testing::UiTest;

class KeyBarTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        scales_ = &makePanel("scales", 0, 0, 100, 50);
        scales_->setVisible(false);
        timeline_ = &makePanel("timeline", 10, 40, 600, 140);
        bar_ = &addKeyBar(*timeline_, 1, 25, 500, 87, scales_);
        host_.events.clear();
    }
    ScreenPoint centreOf(const Cursor& knob) const { return {knob.knobLeft() + 6, knob.knobTop() + 12}; }
    int top() const { return bar_->barTop(); }

    Panel* scales_ = nullptr;
    Panel* timeline_ = nullptr;
    CursorsBar* bar_ = nullptr;
};

TEST_F(KeyBarTest, KnobPositionsAreTimesOverTheSecondsPerPixelAtEveryScale) {
    EXPECT_EQ(bar_->scaleIndex, 3);
    EXPECT_DOUBLE_EQ(bar_->secondsPerPixel, 0.1);
    const double expected[] = {0.001, 0.005, 0.01, 0.1, 0.3, 0.6, 1.0, 10.0};
    float time = 0.0f;
    Cursor& knob = bar_->addKnob(&time);
    for (int index = 0; index < 8; ++index) {
        const double spp = expected[index];
        time = static_cast<float>(50.0 * spp);
        bar_->setScale(index);
        EXPECT_DOUBLE_EQ(bar_->secondsPerPixel, spp) << index;
        EXPECT_NEAR(knob.knobPos, 50.0f, 1e-3f) << index;
        // Dragging the knob 40 pixels adds 40 pixels' worth of seconds.
        const ScreenPoint at = centreOf(knob);
        driver_->drag(at.x, at.y, at.x + 40, at.y, 2);
        EXPECT_NEAR(time, 90.0 * spp, 1e-4 * spp + 1e-6) << index;
        EXPECT_NEAR(knob.knobPos, 90.0f, 1e-3f) << index;
    }
    bar_->setScale(12);  // out of the table: the coarsest scale
    EXPECT_EQ(bar_->scaleIndex, 7);
}

TEST_F(KeyBarTest, ReleasingADraggedKeySortsTheKeysSelectsItAndMarksTheScene) {
    float times[] = {1.0f, 3.0f, 5.0f};
    for (float& t : times) bar_->addKnob(&t);
    int sorted = 0;
    bar_->onKeysSorted = [&] { ++sorted; };
    ImageButton& deleteButton = addImageButton(*timeline_, "cube.dds", 550, 30);
    bar_->deleteKeyButton = &deleteButton;
    drawFrames();
    EXPECT_FALSE(deleteButton.enabled);

    Cursor& first = *bar_->knobs[0];
    const ScreenPoint at = centreOf(first);
    driver_->drag(at.x, at.y, at.x + 600, at.y, 3);  // far past the visible bar: not held back
    EXPECT_NEAR(times[0], 61.0f, 1e-4f);
    EXPECT_EQ(bar_->knobs.back().get(), &first);
    EXPECT_EQ(*bar_->knobs.front()->value, 3.0f);
    EXPECT_EQ(sorted, 1);
    EXPECT_TRUE(host_.saw("modified"));
    EXPECT_EQ(bar_->selectedKnob(), &first);
    drawFrames();
    EXPECT_TRUE(deleteButton.enabled);

    // Left of time 0 the key stops at 0.
    const ScreenPoint second = centreOf(*bar_->knobs[0]);
    driver_->drag(second.x, second.y, second.x - 200, second.y, 2);
    EXPECT_EQ(times[1], 0.0f);
}

TEST_F(KeyBarTest, DraggingTheEmptyBarScrollsButNeverPastTheStart) {
    float time = 2.0f;
    Cursor& knob = bar_->addKnob(&time);
    const int x0 = 300;
    const int y0 = top() + 65;  // below the insertion band
    driver_->drag(x0, y0, x0 + 50, y0);
    EXPECT_EQ(bar_->scrollOffset, 0.0f);
    driver_->drag(x0, y0, x0 - 80, y0);
    EXPECT_EQ(bar_->scrollOffset, -80.0f);
    EXPECT_EQ(knob.knobLeft(), bar_->screenX() - 80 + 20 - 6);
    EXPECT_FALSE(host_.captured);
    driver_->drag(x0, y0, x0 + 30, y0);
    EXPECT_EQ(bar_->scrollOffset, -50.0f);
    driver_->drag(x0, y0, x0 + 200, y0);
    EXPECT_EQ(bar_->scrollOffset, 0.0f);
    EXPECT_EQ(time, 2.0f);  // scrolling moves no key
}

TEST_F(KeyBarTest, TheInsertionBandShowsTheInsertionKnobUnderThePointer) {
    const int x = bar_->barLeft() + 120;
    driver_->move(x, top() + 38);
    EXPECT_TRUE(bar_->insertKnob.visible);
    EXPECT_FLOAT_EQ(bar_->insertKnob.knobPos, 120.0f);
    EXPECT_NEAR(bar_->insertTime, 12.0f, 1e-4f);
    driver_->press(x, top() + 38);
    EXPECT_TRUE(host_.saw("slider press"));
    driver_->release(x, top() + 38);
    driver_->move(x, top() + 60);
    EXPECT_FALSE(bar_->insertKnob.visible);
}

TEST_F(KeyBarTest, TheRightButtonOpensTheScaleMenuAndAMoveOverTheBarClosesIt) {
    const int x = bar_->barLeft() + 200;
    EXPECT_TRUE(driver_->rightPress(x, top() + 20));
    EXPECT_TRUE(scales_->visible);
    EXPECT_EQ(scales_->x, x);
    EXPECT_EQ(scales_->y, top() + 15);
    EXPECT_EQ(interface_->popupPanel, scales_);
    driver_->move(x + 150, top() + 60);
    EXPECT_FALSE(scales_->visible);
    EXPECT_FALSE(driver_->rightPress(x, top() + 100));  // under the bar: not its press
}

TEST_F(KeyBarTest, KnobsAndTheSoundBandsAreDrawnOnlyInsideTheBar) {
    float inside = 10.0f;   // 100 pixels in
    float outside = 52.0f;  // 520 pixels in: past the bar's 500, still on the panel
    Cursor& shown = bar_->addKnob(&inside);
    Cursor& clipped = bar_->addKnob(&outside);
    KeyBarSound sound;
    sound.lengthSeconds = 30.0;  // 300 pixels at 0.1 s a pixel
    double waveScale = 0.0;
    sound.drawWaveform = [&](InterfaceDrawing&, float, float, double spp) { waveScale = spp; };
    bar_->sound = &sound;
    drawFrames(20);
    EXPECT_DOUBLE_EQ(waveScale, 0.1);
    const Rgba band = pixel(bar_->barLeft() + 290, top() + 79);
    const Rgba pastBand = pixel(bar_->barLeft() + 310, top() + 79);
    EXPECT_NE(band.r + band.g + band.b, pastBand.r + pastBand.g + pastBand.b);
    const ScreenPoint a = centreOf(shown);
    const ScreenPoint b = centreOf(clipped);
    const Rgba lit = pixel(a.x, a.y);
    const Rgba hidden = pixel(b.x, b.y);
    EXPECT_GT(lit.r + lit.g + lit.b, 3 * 120);
    EXPECT_LT(hidden.r + hidden.g + hidden.b, 3 * 60);
}

}  // namespace
}  // namespace morvanex
