// The button dispatcher driven as a person drives it: clicks and keys sent
// through the application's message handler, then the panels, the scene
// and what was asked of the window checked.
#include <filesystem>

#include "app/editor_test_support.h"
#include "scene/scene_object.h"
#include "scenefile/scene_reader.h"
#include "scenefile/scene_writer.h"
#include "ui/edit_box.h"
#include "ui/file_chooser.h"
#include "ui/image_button.h"
#include "ui/label_numbers.h"
#include "ui/tab_strip.h"
#include "ui/tree_list.h"

namespace morvanex::test {
namespace {

class CommandDispatchTest : public EditorTest {
protected:
    // The design size: no panel covers another's buttons.
    CommandDispatchTest() {
        width = 1920;
        height = 1080;
    }

    // The corner button switches the editing interface on: the top bar shows.
    void openEditingInterface() {
        clickWidget(*app->screen.cornerButton);
        frame();
    }
    void press(Control3d* widget) {
        ASSERT_NE(widget, nullptr);
        ASSERT_NE(widget->panel, nullptr);
        app->screen.top.settingsButton->enabled = true;
        if (!widget->panel->visible) widget->panel->setVisible(true);
        frame();
        clickWidget(*widget);
    }
    bool chooserShown() const {
        const FileChooser* chooser = app->fileDialogs.builtinChooser();
        return chooser != nullptr && chooser->panel().visible;
    }
    // The built-in chooser opened by a command, in `folder`, with the file
    // of that name picked as a click on its line would.
    void pickInChooser(const std::filesystem::path& folder, const std::string& name) {
        FileChooser* chooser = app->fileDialogs.builtinChooser();
        ASSERT_TRUE(chooser != nullptr && chooser->panel().visible);
        chooser->enterFolder(folder);
        for (std::size_t i = 0; i < chooser->entries().size(); ++i) {
            if (chooser->entries()[i].name == name) chooser->pickEntry(i);
        }
        clickWidget(chooser->okButton());
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
    openEditingInterface();
    Panel& picture = *app->screen.picturePanel;
    picture.setVisible(true);
    press(app->screen.tools.modeling.groupSelection);
    EXPECT_TRUE(picture.visible);
    press(app->screen.camera.topView);
    EXPECT_FALSE(picture.visible);
}

TEST_F(CommandDispatchTest, TheGridToolDisablesTheSettingsButtonUntilAnotherPress) {
    openEditingInterface();
    app->screen.modelingPanel->setVisible(true);
    app->screen.tools.modeling.tabs->select(1);  // the creation tools
    press(app->screen.tools.modeling.grid);
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
    EXPECT_FALSE(chooserShown());

    send(wm::RerunAfterFullScreen);
    EXPECT_EQ(app->deferredWidget, nullptr);
    EXPECT_TRUE(chooserShown());
}

// A scene that has its file: Yes saves then closes; No closes; Cancel keeps the window.
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
    ASSERT_TRUE(app->saveSceneToPath(temp.path() / "a.mrx"));
    for (const Case& c : cases) {
        shell.closeRequests.clear();
        app->scene.modified = true;
        app->askCloseQuestion();
        frame();
        ASSERT_TRUE(questionShown(label::kCloseQuestionTitle));
        clickWidget(*(app->screen.question.*c.button));
        EXPECT_FALSE(app->screen.questionDialog->visible);
        EXPECT_FALSE(chooserShown());
        EXPECT_EQ(shell.closeRequests, c.closeRequests);
        EXPECT_EQ(!app->scene.modified, c.saved);
    }
}

// A scene never saved has only the name a new scene gets: Yes asks where
// to save it; cancelling that cancels the quit, choosing a name saves there
// and closes. The other save questions (new, open) go the same way.
TEST_F(CommandDispatchTest, YesForASceneWithoutAFileAsksWhereAndCancelKeepsEverything) {
    const std::filesystem::path unnamed = app->scene.filePath;
    ASSERT_FALSE(std::filesystem::exists(unnamed));
    app->scene.addObject("boite");
    app->scene.modified = true;
    app->askCloseQuestion();
    frame();
    clickWidget(*app->screen.question.yesButton);
    ASSERT_TRUE(chooserShown());
    EXPECT_TRUE(shell.closeRequests.empty());
    clickWidget(app->fileDialogs.builtinChooser()->cancelButton());
    EXPECT_TRUE(shell.closeRequests.empty());
    EXPECT_TRUE(app->scene.modified);
    EXPECT_FALSE(std::filesystem::exists(unnamed));

    app->askCloseQuestion();
    frame();
    clickWidget(*app->screen.question.yesButton);
    ASSERT_TRUE(chooserShown());
    app->fileDialogs.builtinChooser()->nameBox().setText((temp.path() / "mine").string());
    clickWidget(app->fileDialogs.builtinChooser()->okButton());
    EXPECT_TRUE(std::filesystem::exists(temp.path() / "mine.mrx"));
    EXPECT_FALSE(std::filesystem::exists(unnamed));
    EXPECT_EQ(shell.closeRequests, std::vector<bool>{true});
}

TEST_F(CommandDispatchTest, NewOverAModifiedSceneWithoutAFileSavesWhereTheUserSaysThenStartsAfresh) {
    openEditingInterface();
    const std::filesystem::path unnamed = app->scene.filePath;
    app->scene.addObject("boite");
    app->scene.modified = true;
    controlKey('N');
    frame();
    ASSERT_TRUE(questionShown(label::kNewSceneQuestionTitle));
    clickWidget(*app->screen.question.yesButton);
    ASSERT_TRUE(chooserShown());
    EXPECT_NE(app->scene.findObject("boite"), nullptr);
    FileChooser& chooser = *app->fileDialogs.builtinChooser();
    chooser.enterFolder(temp.path());
    chooser.nameBox().setText("kept.mrx");
    clickWidget(chooser.okButton());
    EXPECT_TRUE(std::filesystem::exists(temp.path() / "kept.mrx"));
    EXPECT_FALSE(std::filesystem::exists(unnamed));
    EXPECT_EQ(app->scene.findObject("boite"), nullptr);  // the new scene
    EXPECT_FALSE(app->scene.modified);
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

TEST_F(CommandDispatchTest, OpenThroughTheBuiltInChooserOpensTheSceneCancelChangesNothing) {
    Scene source;
    source.addObject("maison");
    const std::vector<std::uint8_t> bytes = writeScene(source, {});
    writeBytes(temp.path() / "maison.mrx", std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    openEditingInterface();
    app->scene.addObject("boite");

    press(app->screen.file.open3dButton);
    ASSERT_TRUE(chooserShown());
    clickWidget(app->fileDialogs.builtinChooser()->cancelButton());
    EXPECT_FALSE(chooserShown());
    EXPECT_NE(app->scene.findObject("boite"), nullptr);

    press(app->screen.file.open3dButton);
    pickInChooser(temp.path(), "maison.mrx");
    EXPECT_FALSE(chooserShown());
    EXPECT_NE(app->scene.findObject("maison"), nullptr);
    EXPECT_EQ(app->scene.findObject("boite"), nullptr);
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

TEST_F(CommandDispatchTest, KeysFrameDeleteAndSaveThroughTheirCommands) {
    openEditingInterface();
    SceneObject& box = app->scene.addObject("boite");
    box.vertices.resize(3);
    box.boundsMin = {-1.0f, -1.0f, -1.0f};
    box.boundsMax = {1.0f, 1.0f, 1.0f};
    box.worldMatrix = matrixTranslation(50.0f, 0.0f, 0.0f);
    app->currentObject = &box;
    keyDown('F');
    EXPECT_LT(distance(app->camera.orbitTarget, Vec3{50.0f, 0.0f, 0.0f}), 1e-4f);
    keyDown(vk::Delete);
    EXPECT_EQ(app->scene.findObject("boite"), nullptr);
    EXPECT_EQ(app->currentObject, nullptr);

    controlKey('S');
    EXPECT_TRUE(std::filesystem::exists(app->scene.filePath));
    EXPECT_FALSE(app->scene.modified);
}

TEST_F(CommandDispatchTest, TheWheelZoomsTowardsThePointerAndTheMiddleButtonPans) {
    openEditingInterface();
    app->screen.filePanel->setVisible(false);
    const Vec3 before = app->camera.eye;
    const int x = width / 2;
    const int y = height / 2;
    send(wm::MouseWheel, static_cast<std::uintptr_t>(120) << 16, makeLParam(x, y));
    // The empty scene: one notch goes a fifth of the way to the orbit target, straight ahead.
    const Vec3 moved = app->camera.eye - before;
    EXPECT_GT(dot(moved, cameraForward(app->camera)), 0.99f * length(moved));
    EXPECT_GT(length(moved), 0.0f);

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

// While a question or a message waits, the keyboard's shortcuts do nothing
// behind it (the autosave question at start, Ctrl+O).
TEST_F(CommandDispatchTest, AWaitingQuestionOrMessageBlocksTheShortcuts) {
    openEditingInterface();
    app->askQuestion(app->label(label::kRecoverAutosaveTitle), "a.mrx", "", "");
    controlKey('O');
    EXPECT_FALSE(chooserShown());
    clickWidget(*app->screen.question.noButton);
    app->showMessage("Information", "line", "", "");
    controlKey('O');
    EXPECT_FALSE(chooserShown());
    clickWidget(*app->screen.message.okButton);
    controlKey('O');
    EXPECT_TRUE(chooserShown());
}

// The window turns a double click into two more presses: in the chooser
// the first press already entered the folder, and the others must not go
// on climbing.
TEST_F(CommandDispatchTest, DoubleClickingTheParentLineGoesUpOneFolder) {
    const std::filesystem::path deep = temp.path() / "a" / "b" / "c";
    std::filesystem::create_directories(deep);
    openEditingInterface();
    controlKey('O');
    ASSERT_TRUE(chooserShown());
    FileChooser& chooser = *app->fileDialogs.builtinChooser();
    chooser.enterFolder(deep);
    frame();
    const Cadre& parent = *chooser.list().items.front();
    ASSERT_EQ(parent.label, "..");
    doubleClick(parent.labelLeft() + 6, parent.screenY() + 10);
    EXPECT_EQ(chooser.folder(), temp.path() / "a" / "b");
}

}  // namespace
}  // namespace morvanex::test
