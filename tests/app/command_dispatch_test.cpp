// The button dispatcher driven as a person drives it: clicks and keys sent
// through the application's message handler, then the panels, the scene
// and what was asked of the window checked.
#include <filesystem>

#include "app/editor_test_support.h"
#include "scene/scene_object.h"
#include "scenefile/scene_reader.h"
#include "ui/edit_box.h"
#include "ui/image_button.h"
#include "ui/label_numbers.h"

namespace morvanex::test {
namespace {

class CommandDispatchTest : public EditorTest {
protected:
    // The corner button switches the editing interface on: the top bar shows.
    void openEditingInterface() {
        clickWidget(*app->screen.cornerButton);
        frame();
    }
    void press(Control3d* widget) {
        ASSERT_NE(widget, nullptr);
        ASSERT_NE(widget->panel, nullptr);
        app->screen.top.settingsButton->enabled = true;
        widget->panel->setVisible(true);
        frame();
        clickWidget(*widget);
    }
    void controlKey(std::uint32_t key, bool shift = false) {
        send(wm::KeyDown, vk::Control);
        if (shift) send(wm::KeyDown, vk::Shift);
        send(wm::KeyDown, key);
        send(wm::KeyUp, key);
        if (shift) send(wm::KeyUp, vk::Shift);
        send(wm::KeyUp, vk::Control);
    }
    bool questionShown(int titleLabel) const {
        const Panel* dialog = app->screen.questionDialog;
        return dialog->visible && dialog->title == app->label(titleLabel);
    }
};

TEST_F(CommandDispatchTest, CornerThenFileButtonShowsTheFilePanelCentred) {
    EXPECT_FALSE(app->screen.topBar->visible);
    openEditingInterface();
    ASSERT_TRUE(app->screen.topBar->visible);
    clickWidget(*app->screen.top.fileButton);
    frame();
    const Panel& file = *app->screen.filePanel;
    ASSERT_TRUE(file.visible);
    EXPECT_EQ(file.x, (width - file.width) / 2);
    EXPECT_EQ(file.y, (height - file.height) / 2);
}

TEST_F(CommandDispatchTest, EveryPressHidesThePicturePanelButTheGroupTool) {
    Panel& picture = *app->screen.picturePanel;
    picture.setVisible(true);
    press(app->screen.tools.groupSelectionTool);
    EXPECT_TRUE(picture.visible);
    press(app->screen.camera.topView);
    EXPECT_FALSE(picture.visible);
}

TEST_F(CommandDispatchTest, TheGridToolDisablesTheSettingsButtonUntilAnotherPress) {
    press(app->screen.tools.gridTool);
    EXPECT_FALSE(app->screen.top.settingsButton->enabled);
    clickWidget(*app->screen.camera.topView);
    EXPECT_TRUE(app->screen.top.settingsButton->enabled);
}

TEST_F(CommandDispatchTest, TheCornerButtonKeepsWalkModeForThePlayer) {
    app->walkMode = true;
    openEditingInterface();
    EXPECT_TRUE(app->editMode);
    EXPECT_FALSE(app->walkMode);  // no walking while editing
    clickWidget(*app->screen.cornerButton);
    EXPECT_FALSE(app->editMode);
    EXPECT_TRUE(app->walkMode);
    EXPECT_FALSE(app->screen.topBar->visible);
}

TEST_F(CommandDispatchTest, AFileCommandInFullScreenRunsOnceTheWindowIsBack) {
    openEditingInterface();
    app->input.state.fullScreen = true;
    press(app->screen.file.saveAsButton);
    EXPECT_FALSE(shell.fullScreen);
    ASSERT_EQ(shell.posted.size(), 1u);
    EXPECT_EQ(shell.posted[0].message, wm::RerunAfterFullScreen);
    EXPECT_EQ(app->deferredWidget, app->screen.file.saveAsButton);
    EXPECT_FALSE(app->fileDialogs.builtInChooserShown());

    send(wm::RerunAfterFullScreen);
    EXPECT_EQ(app->deferredWidget, nullptr);
    EXPECT_TRUE(app->fileDialogs.builtInChooserShown());
}

// Yes saves then closes; No closes; Cancel keeps the window.
TEST_F(CommandDispatchTest, TheCloseQuestionIsAnsweredOnTheQuestionDialog) {
    struct Case {
        ImageButton* QuestionDialogWidgets::*button;
        std::vector<bool> closeRequests;
        bool saved;
    };
    const Case cases[] = {
        {&QuestionDialogWidgets::yesButton, {true}, true},
        {&QuestionDialogWidgets::noButton, {true}, false},
        {&QuestionDialogWidgets::cancelButton, {}, false},
    };
    for (const Case& c : cases) {
        shell.closeRequests.clear();
        std::filesystem::remove(app->scene.filePath);
        app->scene.modified = true;
        app->askCloseQuestion();
        frame();
        ASSERT_TRUE(questionShown(label::kCloseQuestionTitle));
        clickWidget(*(app->screen.question.*c.button));
        EXPECT_FALSE(app->screen.questionDialog->visible);
        EXPECT_EQ(shell.closeRequests, c.closeRequests);
        EXPECT_EQ(std::filesystem::exists(app->scene.filePath), c.saved);
    }
}

TEST_F(CommandDispatchTest, NewSceneOverAModifiedSceneAsksThenRunsAgain) {
    openEditingInterface();
    app->scene.addObject("boite");
    app->scene.modified = true;
    controlKey('N');
    frame();
    ASSERT_TRUE(questionShown(label::kNewSceneQuestionTitle));
    EXPECT_NE(app->scene.findObject("boite"), nullptr);
    clickWidget(*app->screen.question.noButton);
    EXPECT_EQ(app->scene.findObject("boite"), nullptr);
    EXPECT_FALSE(app->scene.modified);
}

TEST_F(CommandDispatchTest, AShortcutTypedIntoAFocusedEditBoxGoesToTheBox) {
    openEditingInterface();
    app->scene.modified = true;
    EditBox box;
    app->ui.focusedEditBox = &box;
    controlKey('N');
    EXPECT_FALSE(app->screen.questionDialog->visible);
    app->ui.focusedEditBox = nullptr;
    controlKey('N');
    EXPECT_TRUE(app->screen.questionDialog->visible);
}

TEST_F(CommandDispatchTest, TheWheelZoomsTowardsThePointerAndTheMiddleButtonPans) {
    openEditingInterface();
    app->camera.eye = app->camera.eyeTarget = {0.0f, 0.0f, -100.0f};
    app->camera.orbitTarget = {0.0f, 0.0f, 0.0f};
    const Vec3 before = app->camera.eye;
    const int x = width / 2;
    const int y = height / 2;
    send(wm::MouseWheel, static_cast<std::uintptr_t>(120) << 16, makeLParam(x, y));
    const Vec3 moved = app->camera.eye - before;
    EXPECT_GT(length(moved), 0.0f);
    EXPECT_LT(distance(app->camera.eye, app->camera.orbitTarget), distance(before, app->camera.orbitTarget));

    const Vec3 eye = app->camera.eye;
    const Vec3 target = app->camera.orbitTarget;
    mouse(wm::MouseMove, x, y);
    mouse(wm::MButtonDown, x, y);
    mouse(wm::MouseMove, x + 40, y);
    mouse(wm::MButtonUp, x + 40, y);
    const Vec3 shift = app->camera.eye - eye;
    EXPECT_GT(length(shift), 0.0f);
    EXPECT_LT(length(shift - (app->camera.orbitTarget - target)), 1e-3f);  // eye and target slide together
}

}  // namespace
}  // namespace morvanex::test
