// The interface over the view as a newcomer meets it: the keyboard focus of
// an edit box, the hover marks of the view beside the panels, and panels
// stacked over one another. Driven through the application's handler.
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/editor_test_support.h"
#include "modeling/primitives.h"
#include "scene/scene_object.h"
#include "ui/edit_box.h"
#include "ui/image_button.h"
#include "ui/slider.h"
#include "ui/tab_strip.h"

namespace morvanex::test {
namespace {

class EditorInterfaceTest : public EditorTest {
protected:
    EditorInterfaceTest() {
        width = 1920;
        height = 1080;
    }
    void SetUp() override {
        EditorTest::SetUp();
        clickWidget(*app->screen.cornerButton);  // the editing interface
        frame();
    }
    MainScreen& screen() { return app->screen; }
    // Ctrl+N over a modified scene asks first: the shortcut reached the
    // application. The question is put away again.
    bool shortcutsWork() {
        app->scene.modified = true;
        controlKey('N');
        Panel& question = *screen().questionDialog;
        const bool asked = question.visible;
        question.setVisible(false);
        return asked;
    }
    // Corner, File, Display tab, a click in the walking-speed box.
    EditBox& focusWalkingSpeedBox() {
        FilePanelWidgets& file = screen().file;
        if (!screen().filePanel->visible) clickWidget(*screen().top.fileButton);
        frame();
        clickWidget(*file.tabs->tabs[1]);
        frame();
        EditBox& box = *file.walkSpeedSlider->editBox;
        click(box.boxLeft() + box.boxWidth / 3, box.boxTop() + box.boxHeight / 2);
        return box;
    }
    void settle(int frames = 20) {
        for (int i = 0; i < frames; ++i) frame(0.1);
    }
    void screenshot(const std::string& name) {
        if (const char* folder = std::getenv("MORVANEX_SCREENSHOTS")) {
            saveScreenshot(std::filesystem::path(folder) / (name + ".png"));
        }
    }
    std::vector<std::array<unsigned char, 3>> strip(int left, int right, int top, int bottom) {
        std::vector<std::array<unsigned char, 3>> pixels;
        for (int y = top; y < bottom; y += 2) {
            for (int x = left; x < right; x += 2) {
                const unsigned char* p = pixel(x, y);
                pixels.push_back({p[0], p[1], p[2]});
            }
        }
        return pixels;
    }
};

int largestDifference(const std::vector<std::array<unsigned char, 3>>& a,
                      const std::vector<std::array<unsigned char, 3>>& b) {
    int largest = a.size() == b.size() ? 0 : 255;
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
        for (std::size_t c = 0; c < 3; ++c) largest = std::max(largest, std::abs(a[i][c] - b[i][c]));
    }
    return largest;
}

TEST_F(EditorInterfaceTest, EveryWayOutOfAnEditBoxGivesTheKeysBackToTheShortcuts) {
    struct Way {
        const char* name;
        std::function<void()> leave;
    };
    const Panel& file = *screen().filePanel;
    const std::vector<Way> ways = {
        {"a click in the 3D view", [&] { click(960, 950); }},
        {"a click on the panel's empty space", [&] { click(file.x + file.width - 40, file.y + file.height - 20); }},
        {"a click on another tab", [&] { clickWidget(*screen().file.tabs->tabs[2]); }},
        {"the panel's close button", [&] { clickWidget(*file.items[0]); }},
        {"Escape", [&] { keyDown(vk::Escape); }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        EditBox& box = focusWalkingSpeedBox();
        ASSERT_TRUE(box.focused);
        ASSERT_FALSE(shortcutsWork());  // the box keeps its keys
        way.leave();
        frame();
        EXPECT_FALSE(box.focused);  // no caret left behind
        EXPECT_EQ(app->ui.focusedEditBox, nullptr);
        EXPECT_TRUE(shortcutsWork());
    }
}

TEST_F(EditorInterfaceTest, EscapeBringsBackTheValueTheBoxHadWhenItTookTheFocus) {
    EditBox& box = focusWalkingSpeedBox();
    const std::string before = box.text;
    const float speed = app->camera.walkSpeed;
    keyDown(vk::End);
    type("7");
    ASSERT_NE(app->camera.walkSpeed, speed);
    keyDown(vk::Escape);
    EXPECT_EQ(box.text, before);
    EXPECT_FLOAT_EQ(app->camera.walkSpeed, speed);
    EXPECT_FALSE(box.focused);
}

TEST_F(EditorInterfaceTest, HidingTheEditingInterfaceEndsTheFocus) {
    EditBox& box = focusWalkingSpeedBox();
    ASSERT_TRUE(box.focused);
    clickWidget(*screen().cornerButton);  // off: every panel of the editor goes
    frame();
    clickWidget(*screen().cornerButton);
    frame();
    EXPECT_FALSE(box.focused);
    EXPECT_TRUE(shortcutsWork());
}

class ViewHoverTest : public EditorInterfaceTest {
protected:
    void SetUp() override {
        EditorInterfaceTest::SetUp();
        screen().filePanel->setVisible(false);
        // The eye 30 units before the origin, looking along +z at a box.
        CameraState& camera = app->camera;
        camera.eye = camera.eyeTarget = {0.0f, 0.0f, -30.0f};
        camera.yaw = camera.yawTarget = kHalfPi;
        camera.pitch = camera.pitchTarget = 0.0f;
        box = &app->addPrimitive(makeBox({-2, -2, -2}, {2, -2, 2}, {0, 2, 0}));
        pointAt(centreX, centreY);
    }
    void pointAt(int x, int y) {
        mouse(wm::MouseMove, x, y);
        frame();
        frame();
    }
    bool hoverMarked() const {
        return app->statusLine.objectUnderPointer || app->frameSettings.tools.hovered != nullptr;
    }

    const int centreX = 960;
    const int centreY = 540;
    SceneObject* box = nullptr;
};

TEST_F(ViewHoverTest, TheViewMarksWhatIsUnderThePointerOnlyWhileThePointerIsOverTheView) {
    ASSERT_TRUE(app->statusLine.objectUnderPointer);
    ASSERT_EQ(app->frameSettings.tools.hovered, box);
    // A panel comes up under the resting pointer: no message tells the view.
    screen().filePanel->setVisible(true);
    frame();
    EXPECT_FALSE(hoverMarked());
    screen().filePanel->setVisible(false);
    frame();
    EXPECT_TRUE(hoverMarked());
    // The pointer left the window.
    shell.screenPointer = {-20, centreY};
    frame();
    EXPECT_FALSE(hoverMarked());
}

TEST_F(ViewHoverTest, TheObjectNameLiesUnderThePanels) {
    // An opaque panel begins just right of the pointer, where the name is written.
    Panel& panel = *screen().filePanel;
    panel.setVisible(true);
    for (std::size_t i = 0; i < panel.bodyColours.size(); ++i) panel.bodyColours[i].a = 255;
    panel.x = centreX + 35;
    panel.y = centreY - 250;
    pointAt(centreX, centreY);
    settle();
    ASSERT_TRUE(app->statusLine.objectUnderPointer);
    const auto named = [&](const char* name) {
        box->name = name;
        frame();
        return strip(panel.x + 2, panel.x + 300, centreY, centreY + 20);
    };
    screenshot("object-name-under-panel");
    EXPECT_EQ(named("WWWWWWWWWWWWWWWWWWWW"), named("i"));
}

TEST_F(EditorInterfaceTest, APanelOverAnotherHidesItAndStaysTranslucentOverTheView) {
    // Whatever the lower panel shows cannot change the upper one's pixels.
    screen().filePanel->setVisible(false);
    const PanelColourWords translucent{230, 54, 105, 192, 230, 54, 105, 192, 240, 10, 73, 179, 240, 10, 73, 179,
                                       240, 17, 207, 255};
    Panel& below = app->ui.createPanel("dessous", 300, 300, 400, 300, translucent);
    Panel& above = app->ui.createPanel("dessus", 500, 400, 400, 300, translucent);
    below.setVisible(true);
    above.setVisible(true);
    const auto overlap = [&] { return strip(above.x + 2, below.x + below.width - 2, above.y + 2, above.y + 100); };
    const auto paintBelow = [&](ArgbColour colour) {
        below.bodyColours.fill(colour);
        settle(5);
        return overlap();
    };
    const auto overPanel = paintBelow({255, 255, 0, 0});
    screenshot("panel-over-panel");
    // A tenth of the red or blue below would show as some 25 levels.
    EXPECT_LE(largestDifference(overPanel, paintBelow({255, 0, 0, 255})), 3);
    // Over the view alone the same body lets the view show through.
    below.setVisible(false);
    settle(5);
    EXPECT_GT(largestDifference(overlap(), overPanel), 10);
}

TEST_F(EditorInterfaceTest, ToolButtonsShowTheirHintBubbleOnHover) {
    screen().filePanel->setVisible(false);
    clickWidget(*screen().top.modelingButton);
    settle();
    ImageButton& tool = *screen().tools.modeling.rotationY;
    ASSERT_TRUE(screen().modelingPanel->visible && tool.visible);
    const int below = tool.screenY() + tool.height + 12;
    const auto bubble = [&] { return strip(tool.screenX() - 20, tool.screenX() + tool.width + 20, below, below + 10); };
    const auto without = bubble();
    mouse(wm::MouseMove, tool.screenX() + tool.width / 2, tool.screenY() + tool.height / 2);
    for (int i = 0; i < 10; ++i) frame(0.05);  // half a second
    screenshot("tool-hint");
    EXPECT_EQ(tool.hintText, "Rotate about y");
    EXPECT_GT(tool.hintColour.w, 0.5f);
    EXPECT_NE(bubble(), without);
}

TEST_F(EditorInterfaceTest, AButtonLosesItsHighlightWhereverThePointerGoes) {
    ImageButton& ghost = *screen().top.clearGhosts;
    const ImageButton& pad = *screen().camera.orbitPad;
    const std::vector<std::pair<const char*, std::array<int, 2>>> places = {
        {"the view", {960, 900}},
        {"a button of a panel above", {pad.screenX() + pad.width / 2, pad.screenY() + pad.height / 2}},
    };
    for (const auto& [name, place] : places) {
        SCOPED_TRACE(name);
        mouse(wm::MouseMove, ghost.screenX() + ghost.width / 2, ghost.screenY() + ghost.height / 2);
        frame();
        ASSERT_TRUE(ghost.hot);
        mouse(wm::MouseMove, place[0], place[1]);
        frame();
        EXPECT_FALSE(ghost.hot);
    }
}

}  // namespace
}  // namespace morvanex::test
