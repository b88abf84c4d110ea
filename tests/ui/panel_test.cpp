// Panels and the interface: stacking, routing of presses, moves and
// releases, the title bar, showing and hiding, placement in small windows,
// exclusive groups and the label refresh, driven by window messages.
#include <gtest/gtest.h>

#include "render/interface_drawing.h"
#include "ui/colour_fade.h"
#include "ui/image_button.h"
#include "ui/label.h"
#include "ui_test_support.h"

namespace morvanex {
namespace {

using testing::UiTest;

class PanelTest : public UiTest {};

TEST_F(PanelTest, APressGoesToTheTopPanelAndRaisesItBelowTheAlwaysOnTopPanel) {
    Panel& lower = makePanel("lower", 100, 100, 200, 150);
    Panel& upper = makePanel("upper", 150, 120, 200, 150);
    Panel& views = makePanel("views", 500, 10, 100, 100);
    interface_->cameraViewsPanel = &views;
    ImageButton& lowerButton = addImageButton(lower, "cube.dds", 60, 40);
    ImageButton& upperButton = addImageButton(upper, "cube.dds", 10, 30);
    ASSERT_EQ(interface_->panels.front(), &views);

    // (160, 150) lies on both buttons: only the upper panel's takes it.
    driver_->click(160, 150);
    EXPECT_EQ(host_.events, std::vector<std::string>{"button upper"});
    (void)lowerButton;
    (void)upperButton;

    // A press on the lower panel's free part raises it, but not above the
    // camera-views panel.
    driver_->click(110, 240);
    EXPECT_EQ(interface_->panels[0], &views);
    EXPECT_EQ(interface_->panels[1], &lower);
    EXPECT_EQ(interface_->panels[2], &upper);

    // The rightmost 18 pixels take the press without raising the panel.
    driver_->click(345, 200);
    EXPECT_EQ(interface_->panels[1], &lower);
}

TEST_F(PanelTest, TitleBarMovesThePanelWhileHeldButItsCloseButtonHidesIt) {
    Panel& panel = makePanel("moved", 100, 100, 200, 150, true);
    panel.hasTitleBar = true;
    driver_->move(150, 105);
    driver_->press(150, 105);
    EXPECT_EQ(interface_->movingPanel, &panel);
    driver_->move(400, 300);  // far outside the panel: it still follows
    driver_->release(400, 300);
    EXPECT_EQ(panel.x, 350);
    EXPECT_EQ(panel.y, 295);
    EXPECT_EQ(interface_->movingPanel, nullptr);

    // The close button lies in the title bar, at width - 20.
    driver_->click(panel.x + 180 + 4, panel.y + 5 + 4);
    EXPECT_FALSE(panel.visible);
    EXPECT_EQ(panel.x, 350);
}

TEST_F(PanelTest, HidingAPanelHidesItsChildrenLastFirst) {
    Panel& parent = makePanel("parent", 0, 0, 100, 100);
    Panel& first = makePanel("first", 0, 0, 50, 50);
    Panel& second = makePanel("second", 0, 0, 50, 50);
    parent.childPanels = {&first, &second};
    parent.setVisible(false);
    EXPECT_EQ(host_.events, (std::vector<std::string>{"hidden parent", "hidden second", "hidden first"}));
    EXPECT_FALSE(first.visible);
    EXPECT_FALSE(second.visible);
}

TEST_F(PanelTest, PanelsStayWholeInSmallWindowsAndFollowTheirRelativePlace) {
    Panel& wide = makePanel("wide", 500, 380, 300, 100);
    Panel& relative = makePanel("relative", 0, 0, 100, 50);
    relative.relativePlacement = true;
    relative.relX = 960.0f;  // the middle of the design width
    relative.relY = 0.5f;
    drawFrames();
    EXPECT_EQ(wide.x, kWidth - 300);
    EXPECT_EQ(wide.y, kHeight - 100);
    EXPECT_EQ(relative.x, kWidth / 2);
    EXPECT_EQ(relative.y, kHeight / 2);
}

TEST_F(PanelTest, SelectingAGroupMemberUnchecksTheOthersAndSwapsDependants) {
    Panel& panel = makePanel("tools", 0, 0, 300, 200);
    ControleGroupe& group = panel.add(std::make_unique<ControleGroupe>());
    int index = -1;
    group.boundIndex = &index;
    ImageButton& a = addGroupedImageButton(panel, "cube.dds", 10, 30, group);
    ImageButton& b = addGroupedImageButton(panel, "sphere.dds", 60, 30, group);
    bool aFlag = true;
    a.boundFlag = &aFlag;
    Label& aOption = addLabel(panel, 10, 100, "a", false, &a);
    Label& bOption = addLabel(panel, 10, 100, "b", false, &b);
    a.selectInGroup();
    EXPECT_TRUE(aOption.visible);
    bOption.setVisible(false);

    driver_->click(b.screenX() + 2, b.screenY() + 2);
    EXPECT_TRUE(b.checked);
    EXPECT_FALSE(a.checked);
    EXPECT_FALSE(aFlag);
    EXPECT_FALSE(aOption.visible);
    EXPECT_TRUE(bOption.visible);
    EXPECT_EQ(index, 1);
    EXPECT_TRUE(host_.saw("button tools"));
}

TEST_F(PanelTest, LabelsFollowTheLanguageUnlessTheTextIsNotInTheTable) {
    Panel& panel = makePanel("texts", 0, 0, 200, 100);
    Label& known = addLabel(panel, 5, 30, "Bonjour");
    Label& unknown = addLabel(panel, 5, 60, "Morvanex");
    labels_.language = Language::English;
    drawFrames();
    EXPECT_EQ(known.text, "Hello");
    EXPECT_EQ(unknown.text, "Morvanex");
    labels_.language = Language::French;
    drawFrames();
    EXPECT_EQ(known.text, "Bonjour");
}

TEST(ColourFade, NoTimeNoChangeALongFrameArrives) {
    EXPECT_EQ(fadeFactor(30.0f, 0.0f), 0.0f);
    EXPECT_NEAR(fadeFactor(30.0f, 100.0f), 1.0f, 1e-6f);
    FadeTimer timer;
    timer.start();
    float elapsed = 0.0f;
    while (!timer.step(1.0f / 120.0f)) elapsed += 1.0f / 120.0f;
    EXPECT_NEAR(elapsed, 1.46f, 0.02f);
}

TEST_F(PanelTest, AButtonDragWrapsAtTheWindowEdgeAndEndsWhereItStarted) {
    Panel& panel = makePanel("pads", 0, 0, 200, 200);
    std::vector<int> moves;
    int starts = 0;
    bool ended = false;
    ImageButton& pad = addImageButton(
        panel, "Trackball.dds", 20, 20, [&] { ++starts; }, [&](int dx, int, int) { moves.push_back(dx); },
        [&] { ended = true; });
    const int x0 = pad.screenX() + 10;
    const int y0 = pad.screenY() + 10;
    driver_->move(x0, y0);
    driver_->press(x0, y0);
    EXPECT_TRUE(pad.dragging);
    EXPECT_TRUE(host_.captured);
    EXPECT_FALSE(host_.pointerVisible);
    driver_->move(x0 + 50, y0);
    driver_->move(kWidth - 1, y0);  // the right edge: the pointer goes back to the press point
    EXPECT_EQ(host_.pointerMoves.back(), std::make_pair(x0, y0));
    EXPECT_EQ(starts, 2);
    driver_->release(x0 + 5, y0);
    EXPECT_TRUE(ended);
    EXPECT_FALSE(pad.dragging);
    EXPECT_FALSE(host_.captured);
    EXPECT_TRUE(host_.pointerVisible);
    EXPECT_EQ(interface_->capturedWidget, nullptr);
    EXPECT_EQ(moves.front(), 50);
}

TEST_F(PanelTest, AHintBubbleShowsAtOnceAndFadesWhileThePointerStays) {
    Panel& panel = makePanel("hints", 100, 100, 200, 200);
    ImageButton& button = addImageButton(panel, "cube.dds", 20, 30, {}, {}, {}, "Cube");
    const int bx = button.screenX() + 5;
    const int by = button.screenY() + 5;
    driver_->move(bx, by);
    drawFrames(30);  // half a second: the bubble is up
    EXPECT_GT(button.hintColour.w, 0.6f);
    const Rgba bubble = pixel(button.screenX() + button.width / 2, button.screenY() + button.height + 15);
    EXPECT_GT(bubble.r + bubble.g + bubble.b, 60);
    drawFrames(240);  // 4 s more: gone although the pointer stays
    EXPECT_LT(button.hintColour.w, 0.05f);
    driver_->move(10, 10);
    drawFrames(1);
    driver_->move(bx, by);  // leaving and coming back starts it again
    drawFrames(30);
    EXPECT_GT(button.hintColour.w, 0.6f);
}

TEST_F(PanelTest, APanelDrawsItsBodyOutlineAndWidgetsInFewDraws) {
    for (int i = 0; i < 6; ++i) {
        Panel& panel = makePanel("p" + std::to_string(i), 20 + i * 100, 40, 90, 300, true);
        panel.hasTitleBar = true;
        panel.title = "Panel";
        for (int j = 0; j < 5; ++j) addImageButton(panel, "cube.dds", 10, 30 + j * 50, {}, {}, {}, "Cube");
        addLabel(panel, 10, 280, "Bonjour");
    }
    drawFrames(30);
    const Rgba body = pixel(95, 100);
    EXPECT_NEAR(body.r, 30, 3);
    EXPECT_NEAR(body.b, 42, 3);
    const Rgba outline = pixel(20, 200);
    EXPECT_GT(outline.b, 200);
    EXPECT_GT(outline.g, 150);
    // Six panels of close buttons, tool images and text: a few draws, not one per widget.
    EXPECT_LE(renderer_->ui.lastDrawCalls(), 2);
}

}  // namespace
}  // namespace morvanex
