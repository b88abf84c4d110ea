// The entry point of the file dialogs: the desktop's chooser answers at
// once; when it cannot run, the built-in panel takes over and answers later.
#include "app/file_dialogs.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>

#include <sys/stat.h>

#include "base/test_files.h"
#include "ui/edit_box.h"
#include "ui/file_chooser.h"
#include "ui/ui_test_support.h"

namespace morvanex {
namespace {

namespace fs = std::filesystem;

EnvironmentLookup lookupFrom(std::map<std::string, std::string> variables) {
    return [variables = std::move(variables)](const std::string& name) -> std::optional<std::string> {
        const auto found = variables.find(name);
        if (found == variables.end()) return std::nullopt;
        return found->second;
    };
}

class FileDialogsTest : public testing::UiTest {
protected:
    FileDialogRequest sceneRequest() const {
        FileDialogRequest request;
        request.filters = {{"3d files", {"mrx"}}};
        request.startFolder = folder_.path();
        return request;
    }

    test::TempFolder folder_;
    std::vector<FileDialogAnswer> answers_;
    FileDialogCallback record = [this](FileDialogAnswer answer) { answers_.push_back(std::move(answer)); };
};

TEST_F(FileDialogsTest, TheDesktopChooserAnswersBeforeTheCallReturnsAndNoPanelIsMade) {
    const fs::path program = folder_ / "zenity";
    std::ofstream(program) << "#!/bin/sh\nprintf '/picked/scene.mrx\\n'\n";
    ::chmod(program.c_str(), 0755);
    const std::string savedPath = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
    ::setenv("PATH", (folder_.path().string() + ":" + savedPath).c_str(), 1);
    FileDialogs dialogs(*interface_, lookupFrom({{"PATH", folder_.path().string()}}), folder_.path());
    EXPECT_EQ(dialogs.desktopChooser(), DesktopChooser::Zenity);
    dialogs.chooseFile(sceneRequest(), record);
    ::setenv("PATH", savedPath.c_str(), 1);
    ASSERT_EQ(answers_.size(), 1u);
    EXPECT_EQ(answers_[0], fs::path("/picked/scene.mrx"));
    EXPECT_EQ(dialogs.builtinChooser(), nullptr);
}

TEST_F(FileDialogsTest, AChooserThatCannotStartLeavesItToTheBuiltInPanelForGood) {
    FileDialogs dialogs(*interface_, lookupFrom({{kFileDialogVariable, "kdialog"}}), folder_.path());
    const std::string savedPath = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
    ::setenv("PATH", folder_.path().c_str(), 1);  // no kdialog there
    dialogs.chooseFile(sceneRequest(), record);
    ::setenv("PATH", savedPath.c_str(), 1);
    EXPECT_TRUE(answers_.empty());
    EXPECT_EQ(dialogs.desktopChooser(), DesktopChooser::None);
    FileChooser* chooser = dialogs.builtinChooser();
    ASSERT_NE(chooser, nullptr);
    EXPECT_TRUE(chooser->panel().visible);
    EXPECT_EQ(chooser->folder(), folder_.path());

    // A second request cancels the first and reuses the panel.
    dialogs.chooseFile(sceneRequest(), record);
    EXPECT_EQ(dialogs.builtinChooser(), chooser);
    ASSERT_EQ(answers_.size(), 1u);
    EXPECT_FALSE(answers_[0].has_value());
    chooser->cancel();
    EXPECT_EQ(answers_.size(), 2u);
}

// Where the last file was chosen is where the next dialog opens, whatever
// folder its command starts in; a cancel leaves that alone.
TEST_F(FileDialogsTest, TheNextDialogOpensInTheFolderOfTheLastChosenFile) {
    fs::create_directory(folder_ / "models");
    std::ofstream(folder_ / "models" / "m.mrx") << "m";
    FileDialogs dialogs(*interface_, lookupFrom({{kFileDialogVariable, "builtin"}}), folder_.path());
    dialogs.chooseFile(sceneRequest(), record);
    FileChooser* chooser = dialogs.builtinChooser();
    ASSERT_NE(chooser, nullptr);
    chooser->enterFolder(folder_ / "models");
    chooser->nameBox().setText("m.mrx");
    chooser->confirm();
    ASSERT_EQ(answers_.size(), 1u);
    EXPECT_EQ(answers_[0], folder_ / "models" / "m.mrx");

    dialogs.chooseFile(sceneRequest(), record);
    EXPECT_EQ(chooser->folder(), folder_ / "models");
    chooser->enterFolder(folder_.path());
    chooser->cancel();
    dialogs.chooseFile(sceneRequest(), record);
    EXPECT_EQ(chooser->folder(), folder_ / "models");
}

}  // namespace
}  // namespace morvanex
