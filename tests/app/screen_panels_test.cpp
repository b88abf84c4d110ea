// The screen panels as a person meets them: what start-up shows, the file
// panel, the dialogs' layout and the language switch.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/dialog_layout.h"
#include "app/editor_test_support.h"
#include "render/interface_drawing.h"
#include "ui/check_box.h"
#include "ui/image.h"
#include "ui/image_button.h"
#include "ui/image_list.h"
#include "ui/label.h"
#include "ui/label_numbers.h"
#include "ui/tab_strip.h"

namespace morvanex::test {
namespace {

class ScreenPanelsTest : public EditorTest {
protected:
    std::vector<Panel*> visiblePanels() const {
        std::vector<Panel*> shown;
        for (Panel* panel : app->ui.panels) {
            if (panel->visible) shown.push_back(panel);
        }
        return shown;
    }
    MainScreen& screen() { return app->screen; }
};

TEST_F(ScreenPanelsTest, StartUpShowsTheCornerPanelAndTheNewScenesFilePanelOnly) {
    // The builder leaves the corner panel alone on screen; the new scene of
    // start-up opens the file panel.
    std::vector<Panel*> shown = visiblePanels();
    std::sort(shown.begin(), shown.end());
    std::vector<Panel*> expected{screen().cornerPanel, screen().filePanel};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(shell.titles.front(), "Morvanex " + screen().versionText);
    EXPECT_FALSE(screen().versionText.empty());
    // The corner panel stays above whatever is shown.
    EXPECT_EQ(app->ui.panels.front(), screen().cornerPanel);
}

TEST_F(ScreenPanelsTest, FilePanelShowsCentredOnItsFirstTabWithNothingChosen) {
    Panel& panel = *screen().filePanel;
    FilePanelWidgets& file = screen().file;
    clickWidget(*file.tabs->tabs[1]);
    ASSERT_EQ(file.tabs->selected, 1);
    file.openChosenButton->enabled = true;
    panel.setVisible(false);
    panel.x = panel.y = 3;
    const int restartsBefore = shell.frameClockRestarts;

    panel.setVisible(true);
    frame();

    EXPECT_EQ(panel.x, (width - panel.width) / 2);
    EXPECT_EQ(panel.y, (height - panel.height) / 2);
    EXPECT_EQ(file.tabs->selected, 0);
    EXPECT_TRUE(file.thumbnails->visible);
    EXPECT_FALSE(file.openChosenButton->enabled);
    EXPECT_FALSE(file.secondListButton->enabled);
    EXPECT_EQ(file.thumbnails->selectedIndex, -1);
    EXPECT_EQ(file.thumbnails->items.size(), file.scenePaths.size());
    EXPECT_EQ(shell.frameClockRestarts, restartsBefore + 1);
}

TEST_F(ScreenPanelsTest, LanguageRadioSwitchesTheCaptionsAtTheNextFrame) {
    FilePanelWidgets& file = screen().file;
    ASSERT_EQ(app->labels.language, Language::English);  // the system is not French
    Onglet& scenesTab = *file.tabs->tabs[0];
    const std::string english = scenesTab.caption;
    EXPECT_EQ(english, app->label(label::kFileScenesTab));
    clickWidget(*file.tabs->tabs[2]);
    ASSERT_TRUE(file.frenchRadio->visible);

    clickWidget(*file.frenchRadio);
    frame();

    EXPECT_EQ(app->labels.language, Language::French);
    EXPECT_TRUE(file.french);
    EXPECT_FALSE(file.english);
    EXPECT_EQ(scenesTab.caption, app->labels.frenchText(label::kFileScenesTab));
    EXPECT_NE(scenesTab.caption, english);
    // Copies of label texts are rebuilt: the hints and the panel titles.
    EXPECT_EQ(screen().hints.panPad.lines.front(), app->labels.frenchText(label::kPanPadHint));
    EXPECT_EQ(screen().capturePanel->title, app->labels.frenchText(label::kCapturePanelTitle));
    EXPECT_FALSE(app->scene.modified);  // a setting, not a change of the scene
}

TEST_F(ScreenPanelsTest, RectangleSelectionHintShowsBesideItsButtonWhileCheckedInEditMode) {
    MainScreen& s = screen();
    RichHint& hint = s.hints.rectangleSelection;
    s.topBar->setVisible(true);
    s.top.rectangleSelection->checked = true;
    app->editMode = false;
    frame();
    EXPECT_EQ(s.hints.current, nullptr);  // hints guide the editing only

    app->editMode = true;
    frame();
    ASSERT_EQ(s.hints.current, &hint);
    EXPECT_TRUE(hint.shown);
    EXPECT_EQ(hint.x, s.topBar->x + 260 + 40);
    EXPECT_EQ(hint.y, s.topBar->y + 65 + 80);
    EXPECT_EQ(hint.lines.size(), 3u);

    s.top.rectangleSelection->checked = false;
    frame();
    EXPECT_EQ(s.hints.current, nullptr);
    EXPECT_FALSE(hint.shown);
}

TEST_F(ScreenPanelsTest, HidingTheTimelineReleasesTheCameraObjectAndHidesThePreview) {
    MainScreen& s = screen();
    s.timelinePanel->setVisible(true);
    s.previewPanel->setVisible(true);
    app->currentObject = app->scene.cameraObject();
    ASSERT_NE(app->currentObject, nullptr);
    s.top.modelingButton->enabled = false;

    s.timelinePanel->setVisible(false);

    EXPECT_FALSE(s.previewPanel->visible);
    EXPECT_EQ(app->currentObject, nullptr);
    EXPECT_TRUE(s.top.modelingButton->enabled);
}

// Panels are placed for 1920 x 1080; a smaller window keeps each one whole.
TEST_F(ScreenPanelsTest, EveryPanelStaysWholeInASmallWindow) {
    MainScreen& s = screen();
    for (Panel* panel : {s.browserPanel, s.picturePanel, s.capturePanel, s.cameraPanel, s.messageDialog,
                         s.questionDialog, s.filePanel, s.previewPanel, s.timelinePanel, s.topBar, s.cornerPanel,
                         s.logoPanel}) {
        panel->setVisible(true);
    }
    frame();
    for (Panel* panel : app->ui.panels) {
        if (!panel->visible) continue;
        EXPECT_GE(panel->x, 0) << panel->name;
        EXPECT_GE(panel->y, 0) << panel->name;
        EXPECT_LE(panel->x + panel->width, width) << panel->name;
        EXPECT_LE(panel->y + panel->height, height) << panel->name;
    }
    EXPECT_EQ(s.topBar->x, (width - s.topBar->width) / 2);  // centred every frame
    // Placed relative to the window, but never over the top bar's Help button.
    EXPECT_GE(s.cornerPanel->x, s.topBar->x + s.topBar->width);
}

// The message dialog: width from the longest line (x 7.5 + 106) unless its
// buttons or check box need more, centred; buttons in three equal gaps, and
// under the check box when there is one.
TEST_F(ScreenPanelsTest, MessageDialogIsSizedByItsLongestLineAndLaysOutItsButtons) {
    const std::string longLine(60, 'x');
    // Information shows OK alone, centred; a confirmation OK and Cancel.
    const struct {
        const char* name;
        std::string line;
        std::string third;
        std::string caption;
        bool confirmation = false;
    } cases[] = {
        {"long line", longLine, "third", ""},
        {"short line", "OK", " ", ""},
        {"long line, check box", longLine, "third", "Ne plus demander"},
        {"short line, check box, blank third line", "OK", " ", "Ne plus demander"},
        {"confirmation, long line", longLine, "third", "", true},
        {"confirmation, short line", "OK", " ", "", true},
    };
    MessageDialogWidgets& message = screen().message;
    for (const auto& c : cases) {
        message.checked = true;
        if (c.confirmation) {
            app->askConfirmation("Titre", c.line, "", c.third);
        } else {
            app->showMessage("Titre", c.line, "", c.third, c.caption);
        }
        frame();
        const Panel& dialog = *screen().messageDialog;
        const int buttons = message.okButton->width + (c.confirmation ? message.cancelButton->width : 0);
        int expectedWidth = std::max(static_cast<int>(static_cast<double>(c.line.size()) * 7.5 + 106.0),
                                     buttons + 3 * kDialogMargin);
        if (!c.caption.empty()) {
            const int box = kDialogLineX + kCheckBoxCaptionX +
                            static_cast<int>(app->ui.drawing().measureText(c.caption)) + kDialogMargin;
            expectedWidth = std::max(expectedWidth, box);
        }
        ASSERT_TRUE(dialog.visible) << c.name;
        EXPECT_EQ(dialog.title, "Titre") << c.name;
        EXPECT_EQ(dialog.width, expectedWidth) << c.name;
        EXPECT_EQ(dialog.x, (width - dialog.width) / 2) << c.name;
        EXPECT_EQ(dialog.y, (height - dialog.height) / 2) << c.name;
        EXPECT_EQ(message.cancelButton->visible, c.confirmation) << c.name;
        if (c.confirmation) {
            const int gap = (dialog.width - buttons) / 3;
            EXPECT_EQ(message.okButton->x, gap) << c.name;
            EXPECT_EQ(message.cancelButton->x, message.okButton->width + 2 * gap) << c.name;
        } else {
            EXPECT_EQ(message.okButton->x, (dialog.width - buttons) / 2) << c.name;
        }
        const bool box = !c.caption.empty();
        EXPECT_EQ(message.okButton->y, box ? 130 : 110) << c.name;
        EXPECT_EQ(message.checkBox->visible, box) << c.name;
        EXPECT_EQ(message.checked, box) << c.name;  // no caption: the flag is cleared
        const Label& first = *message.lines[0];
        EXPECT_EQ(first.text, c.line) << c.name;
        EXPECT_EQ(first.textX, (dialog.width - static_cast<int>(app->ui.drawing().measureText(c.line))) / 2)
            << c.name;
        EXPECT_NE(message.picture->texture, nullptr) << c.name;  // the default picture
    }
}

TEST(DialogLines, LongMessagesAreWrappedBetweenWordsOntoThreeLines) {
    using Lines = std::array<std::string, 3>;
    const struct {
        const char* text;
        Lines lines;
    } cases[] = {
        {"short", {"short", "", ""}},
        {"one two three four", {"one two", "three", "four"}},
        {"abcdefghijkl", {"abcdefgh", "ijkl", ""}},                // a word longer than a line is cut
        {"aaaa bbbb cccc dddd eeee", {"aaaa", "bbbb", "cccc..."}},  // what does not fit ends in dots
    };
    for (const auto& c : cases) EXPECT_EQ(wrapIntoDialogLines(c.text, 8), c.lines) << c.text;
}

TEST_F(ScreenPanelsTest, QuestionDialogKeepsItsButtonsInside) {
    QuestionDialogWidgets& question = screen().question;
    app->askQuestion(app->label(label::kNewSceneQuestionTitle), "?", "", "");
    const Panel& dialog = *screen().questionDialog;
    ASSERT_TRUE(dialog.visible);
    EXPECT_EQ(dialog.title, app->label(label::kNewSceneQuestionTitle));
    EXPECT_EQ(dialog.width, question.cancelButton->x + question.cancelButton->width + kDialogMargin);
    EXPECT_LE(question.yesButton->x + question.yesButton->width, question.noButton->x);

    app->askQuestion("Q", std::string(70, 'y'), "", "");
    EXPECT_EQ(dialog.width, static_cast<int>(70 * 7.5 + 106));
}

// Pictures of the main screen for a person to look at, written only when
// MORVANEX_SCREENSHOTS names a folder.
class ScreenshotTest : public ScreenPanelsTest {
protected:
    void shoot(const std::string& name) {
        const char* folder = std::getenv("MORVANEX_SCREENSHOTS");
        if (folder == nullptr) return;
        for (int i = 0; i < 20; ++i) frame();
        std::filesystem::create_directories(folder);
        saveScreenshot(std::filesystem::path(folder) / (name + "_" + std::to_string(width) + ".png"));
    }
    void shootTheScreen(const char* language) {
        if (std::getenv("MORVANEX_SCREENSHOTS") == nullptr) GTEST_SKIP() << "MORVANEX_SCREENSHOTS is not set";
        MainScreen& s = screen();
        s.topBar->setVisible(true);
        s.cameraPanel->setVisible(true);
        shoot(std::string("file_scenes_") + language);
        clickWidget(*s.file.tabs->tabs[1]);
        shoot(std::string("file_display_") + language);
        clickWidget(*s.file.tabs->tabs[2]);
        shoot(std::string("file_preferences_") + language);
        s.filePanel->setVisible(false);
        s.top.rectangleSelection->checked = true;
        shoot(std::string("hint_") + language);
        s.top.rectangleSelection->checked = false;
        app->showMessage(app->label(label::kDetachFromParentTitle), app->label(label::kDetachFromParentLine1),
                         app->label(label::kDetachFromParentLine2), " ", app->label(label::kFileMergeCheck));
        shoot(std::string("message_") + language);
        s.messageDialog->setVisible(false);
        app->askQuestion(app->label(label::kNewSceneQuestionTitle), app->label(label::kSaveChangesQuestionLine), "",
                         "");
        shoot(std::string("question_") + language);
        s.questionDialog->setVisible(false);
        for (Panel* panel : {s.capturePanel, s.browserPanel, s.timelinePanel, s.previewPanel, s.picturePanel,
                             s.logoPanel}) {
            panel->setVisible(true);
        }
        shoot(std::string("panels_") + language);
        for (Panel* panel : app->ui.panels) panel->setVisible(false);
        s.topBar->setVisible(true);
        s.cornerPanel->setVisible(true);
        s.cameraPanel->setVisible(true);
        clickWidget(*s.top.modelingButton);
        clickWidget(*s.top.settingsButton);
        shoot(std::string("tools_") + language);
    }
};

TEST_F(ScreenshotTest, English) { shootTheScreen("en"); }

class FrenchScreenshotTest : public ScreenshotTest {
protected:
    FrenchScreenshotTest() { frenchSystem = true; }
};
TEST_F(FrenchScreenshotTest, French) { shootTheScreen("fr"); }

class LargeScreenshotTest : public ScreenshotTest {
protected:
    LargeScreenshotTest() {
        width = 1920;
        height = 1080;
        frenchSystem = true;
    }
};
TEST_F(LargeScreenshotTest, French) { shootTheScreen("fr"); }

}  // namespace
}  // namespace morvanex::test
