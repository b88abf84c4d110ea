// The file dialog request and the desktop's chooser: which chooser runs, the
// arguments it is given, how its answer is read, and a real run of a
// stand-in chooser program found on PATH.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>

#include <sys/stat.h>

#include "base/test_files.h"
#include "platform/desktop_file_chooser.h"
#include "platform/file_dialog_request.h"

namespace morvanex {
namespace {

namespace fs = std::filesystem;

EnvironmentLookup lookupFrom(std::map<std::string, std::string> variables) {
    return [variables = std::move(variables)](const std::string& name) -> std::optional<std::string> {
        const auto found = variables.find(name);
        if (found == variables.end() || found->second.empty()) return std::nullopt;
        return found->second;
    };
}

void writeExecutable(const fs::path& file, const std::string& text) {
    std::ofstream(file) << text;
    ::chmod(file.c_str(), 0755);
}

FileDialogRequest sceneSaveRequest() {
    FileDialogRequest request;
    request.save = true;
    request.title = "Enregistrer la sc\xE8ne";  // Windows-1252
    request.filters = {{"3d files", {"mrx", "OBJ"}}, {"Tout", {"*"}}};
    request.startFolder = "/home/ana/Mes sc\xC3\xA8nes";  // UTF-8
    request.suggestedName = "jardin.mrx";
    return request;
}

TEST(FileDialogRequest, FiltersMatchWhateverTheCaseAndSavedNamesGetTheFirstExtension) {
    const std::vector<FileFilter> filters{{"3d files", {"mrx", ".obj"}}, {"Animations", {"ANI"}}};
    struct Case {
        const char* file;
        bool accepted;
    };
    for (const Case& c : {Case{"a.mrx", true}, Case{"b.OBJ", true}, Case{"c.Ani", true}, Case{"d.txt", false},
                          Case{"mrx", false}}) {
        EXPECT_EQ(acceptedByFilters(c.file, filters), c.accepted) << c.file;
    }
    EXPECT_TRUE(acceptedByFilters("any.txt", {{"Tout", {"*"}}}));
    EXPECT_EQ(withDefaultExtension("/s/jardin", filters), fs::path("/s/jardin.mrx"));
    EXPECT_EQ(withDefaultExtension("/s/jardin.obj", filters), fs::path("/s/jardin.obj"));
    // The extension as the filter spells it.
    EXPECT_EQ(withDefaultExtension("/s/walk", {{"Animations", {"ANI"}}}), fs::path("/s/walk.ANI"));
}

TEST(DesktopChooser, ZenityGetsUtf8TextsTheStartNameAndBothCasesOfEachExtension) {
    FileDialogRequest request = sceneSaveRequest();
    EXPECT_EQ(zenityArguments(request),
              (std::vector<std::string>{"zenity", "--file-selection", "--title=Enregistrer la sc\xC3\xA8ne", "--save",
                                        "--filename=/home/ana/Mes sc\xC3\xA8nes/jardin.mrx",
                                        "--file-filter=3d files | *.mrx *.MRX *.obj *.OBJ",
                                        "--file-filter=Tout | *"}));
    // Opening with no name: the folder itself, ending with '/'.
    request.save = false;
    request.suggestedName.clear();
    request.title.clear();
    request.filters.resize(1);
    EXPECT_EQ(zenityArguments(request),
              (std::vector<std::string>{"zenity", "--file-selection", "--filename=/home/ana/Mes sc\xC3\xA8nes/",
                                        "--file-filter=3d files | *.mrx *.MRX *.obj *.OBJ"}));
    request.save = true;
    request.confirmOverwrite = true;
    EXPECT_EQ(zenityArguments(request)[3], "--confirm-overwrite");
}

TEST(DesktopChooser, KdialogGetsItsModeTheStartPathAndOneFilterPerLine) {
    const FileDialogRequest request = sceneSaveRequest();
    EXPECT_EQ(kdialogArguments(request),
              (std::vector<std::string>{"kdialog", "--title", "Enregistrer la sc\xC3\xA8ne", "--getsavefilename",
                                        "/home/ana/Mes sc\xC3\xA8nes/jardin.mrx",
                                        "*.mrx *.MRX *.obj *.OBJ|3d files\n*|Tout"}));
}

TEST(DesktopChooser, TheAnswerIsReadFromTheExitStatusAndTheFirstLine) {
    struct Case {
        bool exited;
        int status;
        const char* output;
        bool answered;
        std::optional<fs::path> path;
    };
    const Case cases[] = {
        {true, 0, "/s/a b.mrx\n", true, fs::path("/s/a b.mrx")},
        {true, 0, "/s/c.mrx\r\n", true, fs::path("/s/c.mrx")},
        {true, 1, "", true, std::nullopt},   // cancelled
        {true, 0, "\n", true, std::nullopt}, // nothing chosen
        {true, 255, "", false, std::nullopt},  // the chooser failed: the built-in one takes over
        {false, -1, "/s/a.mrx\n", false, std::nullopt},  // killed
    };
    for (const Case& c : cases) {
        const DesktopChooserOutcome outcome = outcomeFromChooser(c.exited, c.status, c.output);
        EXPECT_EQ(outcome.answered, c.answered) << c.output;
        if (c.answered) {
            EXPECT_EQ(outcome.path, c.path) << c.output;
        }
    }
}

TEST(DesktopChooser, TheSettingForcesAChooserOtherwiseZenityThenKdialogOnPath) {
    test::TempFolder both;
    test::TempFolder kdeOnly;
    writeExecutable(both / "zenity", "#!/bin/sh\n");
    writeExecutable(both / "kdialog", "#!/bin/sh\n");
    writeExecutable(kdeOnly / "kdialog", "#!/bin/sh\n");
    std::ofstream(kdeOnly / "zenity") << "not executable";
    const std::string bothPath = "/nonexistent:" + both.path().string();
    EXPECT_EQ(pickDesktopChooser(lookupFrom({{"PATH", bothPath}})), DesktopChooser::Zenity);
    EXPECT_EQ(pickDesktopChooser(lookupFrom({{"PATH", kdeOnly.path().string()}})), DesktopChooser::Kdialog);
    EXPECT_EQ(pickDesktopChooser(lookupFrom({{"PATH", "/nonexistent"}})), DesktopChooser::None);
    EXPECT_EQ(pickDesktopChooser(lookupFrom({{"PATH", bothPath}, {kFileDialogVariable, "builtin"}})),
              DesktopChooser::None);
    EXPECT_EQ(pickDesktopChooser(lookupFrom({{"PATH", bothPath}, {kFileDialogVariable, "kdialog"}})),
              DesktopChooser::Kdialog);
    EXPECT_EQ(pickDesktopChooser(lookupFrom({{kFileDialogVariable, "zenity"}})), DesktopChooser::Zenity);
}

// A stand-in zenity first on PATH: it answers with a path built from the
// title it was given, or cancels when FAKE_CHOOSER_EXIT says so.
class FakeChooserRun : public ::testing::Test {
protected:
    void SetUp() override {
        writeExecutable(folder_ / "zenity",
                        "#!/bin/sh\n"
                        "for a in \"$@\"; do case \"$a\" in --title=*) title=\"${a#--title=}\";; esac; done\n"
                        "[ -n \"$FAKE_CHOOSER_EXIT\" ] && exit \"$FAKE_CHOOSER_EXIT\"\n"
                        "printf '%s\\n' \"/chosen/$title.mrx\"\n");
        const char* path = std::getenv("PATH");
        savedPath_ = path != nullptr ? path : "";
        ::setenv("PATH", (folder_.path().string() + ":" + savedPath_).c_str(), 1);
    }
    void TearDown() override {
        ::setenv("PATH", savedPath_.c_str(), 1);
        ::unsetenv("FAKE_CHOOSER_EXIT");
    }

    test::TempFolder folder_;
    std::string savedPath_;
};

TEST_F(FakeChooserRun, ThePrintedPathIsTheAnswerAndArgumentsArriveWhole) {
    FileDialogRequest request;
    request.title = "my \"best\" 'scene' $HOME";
    const DesktopChooserOutcome outcome = runDesktopChooser(DesktopChooser::Zenity, request);
    ASSERT_TRUE(outcome.answered);
    EXPECT_EQ(outcome.path, fs::path("/chosen/my \"best\" 'scene' $HOME.mrx"));
}

TEST_F(FakeChooserRun, ExitOneIsACancelAndAMissingProgramIsAFailure) {
    ::setenv("FAKE_CHOOSER_EXIT", "1", 1);
    const DesktopChooserOutcome cancelled = runDesktopChooser(DesktopChooser::Zenity, FileDialogRequest{});
    EXPECT_TRUE(cancelled.answered);
    EXPECT_FALSE(cancelled.path.has_value());
    ::setenv("FAKE_CHOOSER_EXIT", "3", 1);
    EXPECT_FALSE(runDesktopChooser(DesktopChooser::Zenity, FileDialogRequest{}).answered);
    ::setenv("PATH", folder_.path().c_str(), 1);
    EXPECT_FALSE(runChildProgram({"morvanex-no-such-chooser"}).started);
}

}  // namespace
}  // namespace morvanex
