// The built-in file chooser driven by window messages: what it lists, moving
// between folders, and the answers of OK and Cancel when opening and saving.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "base/test_files.h"
#include "image/image_codec.h"
#include "image/image_files.h"
#include "ui/edit_box.h"
#include "ui/file_chooser.h"
#include "ui/image_button.h"
#include "ui/label_files.h"
#include "ui/label_numbers.h"
#include "ui/tree_list.h"
#include "ui_test_support.h"

namespace morvanex {
namespace {

namespace fs = std::filesystem;

class FileChooserTest : public testing::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        // The program's own labels, so that the chooser's texts are the real ones.
        std::vector<std::string> french;
        std::vector<std::string> english;
        ASSERT_EQ(loadLabels(executableFolder() / kFrenchLabelFileName, french), "");
        ASSERT_EQ(loadLabels(executableFolder() / kEnglishLabelFileName, english), "");
        labels_ = LabelTable(french, english);
        labels_.language = Language::English;
        std::ofstream(folder_ / "b.obj") << "o";
        std::ofstream(folder_ / "A.mrx") << "m";
        std::ofstream(folder_ / "c.txt") << "t";
        std::ofstream(folder_ / ".hidden.mrx") << "h";
        fs::create_directory(folder_ / "sub");
        std::ofstream(folder_ / "sub" / "deep.mrx") << "d";
        chooser_ = std::make_unique<FileChooser>(*interface_, folder_.path());
    }

    void open(bool save, fs::path start = {}) {
        FileDialogRequest request;
        request.save = save;
        request.filters = {{"3d files", {"mrx", "obj"}}};
        request.startFolder = start.empty() ? folder_.path() : start;
        chooser_->open(request, [this](FileDialogAnswer answer) { answers_.push_back(std::move(answer)); });
        drawFrames(2);
    }

    std::vector<std::string> rows() const {
        std::vector<std::string> texts;
        for (const Cadre* row : chooser_->list().items) texts.push_back(row->label);
        return texts;
    }
    void clickRow(const std::string& text) {
        for (const Cadre* row : chooser_->list().items) {
            if (row->label == text) {
                driver_->click(row->labelLeft() + 6, row->screenY() + 10);
                drawFrames(1);
                return;
            }
        }
        ADD_FAILURE() << "no row " << text;
    }
    void clickButton(const Control3d& button) {
        driver_->click(button.screenX() + button.width / 2, button.screenY() + button.height / 2);
    }

    test::TempFolder folder_;
    std::unique_ptr<FileChooser> chooser_;
    std::vector<FileDialogAnswer> answers_;
};

TEST(ChooserFolders, MissingFoldersFallBackToTheNearestOneAboveThenTheFallback) {
    test::TempFolder folder;
    EXPECT_EQ(openingFolder(folder / "gone" / "deeper", "/"), folder.path());
    EXPECT_EQ(openingFolder({}, folder.path()), folder.path());
    EXPECT_EQ(openingFolder("relative-and-missing", folder.path()), folder.path());
    EXPECT_TRUE(listFolder(folder / "gone", {}).empty());
}

TEST_F(FileChooserTest, ListsFoldersFirstThenTheWantedFilesSortedWithoutHiddenOnes) {
    open(false);
    EXPECT_TRUE(chooser_->panel().visible);
    EXPECT_EQ(chooser_->panel().title, "Open a file");
    EXPECT_EQ(rows(), (std::vector<std::string>{"..", "sub/", "A.mrx", "b.obj"}));
}

TEST_F(FileChooserTest, ClickingFoldersEntersThemAndClickingAFileThenOkAnswersItsPath) {
    open(false);
    clickRow("sub/");
    EXPECT_EQ(chooser_->folder(), folder_ / "sub");
    EXPECT_EQ(rows(), (std::vector<std::string>{"..", "deep.mrx"}));
    clickRow("..");
    EXPECT_EQ(chooser_->folder(), folder_.path());
    clickRow("b.obj");
    EXPECT_EQ(chooser_->nameBox().text, "b.obj");
    EXPECT_TRUE(answers_.empty());
    clickButton(chooser_->okButton());
    ASSERT_EQ(answers_.size(), 1u);
    EXPECT_EQ(answers_[0], folder_ / "b.obj");
    EXPECT_FALSE(chooser_->panel().visible);
}

TEST_F(FileChooserTest, CancelTheCloseButtonAndEscapeAnswerNothing) {
    open(false);
    clickButton(chooser_->cancelButton());
    open(false);
    clickButton(*chooser_->panel().items[0]);
    open(false);
    driver_->type("A.mrx");
    driver_->keyDown(vk::Escape);
    ASSERT_EQ(answers_.size(), 3u);
    for (const FileDialogAnswer& answer : answers_) EXPECT_FALSE(answer.has_value());
    EXPECT_FALSE(chooser_->panel().visible);
}

TEST_F(FileChooserTest, OpeningAMissingFileIsRefusedAndTheDialogStays) {
    open(false);
    driver_->type("nothing.mrx");
    clickButton(chooser_->okButton());
    EXPECT_TRUE(answers_.empty());
    EXPECT_EQ(chooser_->message(), "File not found.");
    EXPECT_TRUE(chooser_->panel().visible);
}

TEST_F(FileChooserTest, SavingATypedNameAddsTheFirstExtensionAndEnterConfirms) {
    open(true, folder_ / "sub");
    EXPECT_EQ(chooser_->panel().title, "Save a file");
    driver_->type("garden");
    driver_->keyDown(vk::Return);
    ASSERT_EQ(answers_.size(), 1u);
    EXPECT_EQ(answers_[0], folder_ / "sub" / "garden.mrx");

    // A folder typed in the box is entered; a name in a missing folder is refused.
    open(true);
    driver_->type("sub");
    clickButton(chooser_->okButton());
    EXPECT_EQ(chooser_->folder(), folder_ / "sub");
    driver_->type("missing/x");
    clickButton(chooser_->okButton());
    EXPECT_EQ(chooser_->message(), "Folder not found.");
    EXPECT_EQ(answers_.size(), 1u);
}

// A suggested or picked name is chosen whole: typing replaces it; a click in
// the box keeps it to edit.
TEST_F(FileChooserTest, TypingReplacesASuggestedOrPickedNameAndAClickKeepsIt) {
    FileDialogRequest request;
    request.save = true;
    request.filters = {{"3d files", {"mrx", "obj"}}};
    request.startFolder = folder_.path();
    request.suggestedName = "Nouvelle scene.mrx";
    const auto ask = [&] {
        chooser_->open(request, [this](FileDialogAnswer answer) { answers_.push_back(std::move(answer)); });
        drawFrames(2);
    };
    ask();
    driver_->keyDown('G');  // a key comes down before its character
    driver_->type("garden");
    driver_->keyDown(vk::Return);
    ask();
    clickRow("b.obj");
    driver_->type("house");
    driver_->keyDown(vk::Return);
    ask();
    const EditBox& name = chooser_->nameBox();
    driver_->click(name.boxLeft() + 2, name.boxTop() + 8);
    driver_->type("2");
    driver_->keyDown(vk::Return);
    ASSERT_EQ(answers_.size(), 3u);
    EXPECT_EQ(answers_[0], folder_ / "garden.mrx");
    EXPECT_EQ(answers_[1], folder_ / "house.mrx");
    EXPECT_EQ(answers_[2], folder_ / "2Nouvelle scene.mrx");
}

TEST_F(FileChooserTest, ALongFolderScrollsWithItsStripAndTheScreenshotIsWritten) {
    for (int i = 0; i < 40; ++i) std::ofstream(folder_ / ("scene " + std::to_string(100 + i) + ".mrx")) << "s";
    open(false);
    CadreList& list = chooser_->list();
    const int stripX = list.screenX() + list.width - 8;
    driver_->click(stripX, list.screenY() + list.height - 4);  // the down arrow
    drawFrames(30);
    EXPECT_LT(list.scroll, -static_cast<float>(2 * kTreeRowHeight));
    driver_->click(stripX, list.screenY() + 4);  // back up
    drawFrames(30);
    EXPECT_NEAR(list.scroll, 0.0f, 1.0f);
    clickRow("scene 103.mrx");
    EXPECT_EQ(chooser_->nameBox().text, "scene 103.mrx");
    // For a person to look at: MORVANEX_SCREENSHOT_FOLDER=... ui_tests
    if (const char* shots = std::getenv("MORVANEX_SCREENSHOT_FOLDER")) {
        drawFrames(30);
        DecodedImage image = graphics_->readFrame();
        ASSERT_FALSE(image.levels.empty());
        auto& bytes = image.levels.front().bytes;
        for (std::size_t i = 3; i < bytes.size(); i += 4) bytes[i] = 255;  // as the window shows it
        writeImageFile(fs::path(shots) / "file_chooser.png", encodePng(image));
    }
}

}  // namespace
}  // namespace morvanex
