// The help opener: file URLs, the manual beside the program, the xdg-open fallback.
#include "platform/help_opener.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <system_error>
#include <thread>

#include <unistd.h>

#include "platform/system_folders.h"

namespace morvanex {
namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(HelpOpener, FileUrlEncodesEverythingButUnreservedBytesAndSlashes) {
    struct Case {
        const char* path;
        const char* url;
    };
    const Case cases[] = {
        {"/usr/share/morvanex/manual.html", "file:///usr/share/morvanex/manual.html"},
        {"/home/me/My Programs/manual.html", "file:///home/me/My%20Programs/manual.html"},
        {"/home/r\xC3\xA9mi/\xE6\x96\x87.html", "file:///home/r%C3%A9mi/%E6%96%87.html"},
        {"/tmp/a#b/100%/x?y=1&z.html", "file:///tmp/a%23b/100%25/x%3Fy%3D1%26z.html"},
        {"/opt/a-b_c.d~e/./f/../g.html", "file:///opt/a-b_c.d~e/g.html"},
    };
    for (const Case& c : cases) EXPECT_EQ(fileUrl(fs::path(c.path)), c.url) << c.path;
}

TEST(HelpOpener, FileUrlOfARelativePathStartsAtTheCurrentFolder) {
    const std::string url = fileUrl("manual.html");
    EXPECT_EQ(url.rfind("file:///", 0), 0u) << url;
    EXPECT_EQ(url.substr(url.size() - std::string("/manual.html").size()), "/manual.html");
}

// The build copies the manual beside the program, which is also where the
// test programs are written.
TEST(HelpOpener, TheManualLiesBesideTheProgramAndNamesEveryShortcut) {
    const fs::path manual = manualPath(executableFolder());
    ASSERT_TRUE(fs::is_regular_file(manual)) << manual;
    const std::string text = readFile(manual);
    for (const char* shortcut : {"Ctrl+O", "Ctrl+S", "Ctrl+Shift+S", "Ctrl+N", "Ctrl+Z", "Ctrl+Y", "Delete",
                                 "<kbd>F</kbd>", "Mouse wheel", "Middle button drag", "text box has the keyboard focus"})
        EXPECT_NE(text.find(shortcut), std::string::npos) << shortcut;
    // Self-contained: it must open from the program folder with no network
    // and run nothing.
    for (const char* outside : {"<script", "<link", "http:", "https:", "src="})
        EXPECT_EQ(text.find(outside), std::string::npos) << outside;
}

TEST(HelpOpener, AMissingManualIsNamedInTheError) {
    const fs::path folder = fs::temp_directory_path() / ("morvanex-no-manual-" + std::to_string(::getpid()));
    std::string error;
    EXPECT_FALSE(openManual(folder, error));
    EXPECT_EQ(error, "the user manual is missing: " + manualPath(folder).string());
}

// A folder put first on PATH for the duration of a test, holding a fake
// xdg-open that writes the argument it was given to a file.
class FakeXdgOpen : public testing::Test {
protected:
    void SetUp() override {
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        folder_ = fs::temp_directory_path() / ("morvanex-xdg-" + std::to_string(::getpid()) + "-" + std::to_string(stamp));
        ASSERT_TRUE(fs::create_directories(folder_ / "bin"));
        const char* path = std::getenv("PATH");
        if (path != nullptr) savedPath_ = path;
    }
    void TearDown() override {
        if (savedPath_) ::setenv("PATH", savedPath_->c_str(), 1);
        else ::unsetenv("PATH");
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    void installFakeOpener() {
        const fs::path script = folder_ / "bin" / "xdg-open";
        std::ofstream(script) << "#!/bin/sh\nprintf '%s' \"$1\" > \"" << (folder_ / "arg.tmp").string() << "\" && mv \""
                              << (folder_ / "arg.tmp").string() << "\" \"" << argumentFile().string() << "\"\n";
        fs::permissions(script, fs::perms::owner_all, fs::perm_options::add);
    }
    // An xdg-open such as a desktop without a browser has: it gives up.
    void installOpenerThatFindsNoBrowser() {
        const fs::path script = folder_ / "bin" / "xdg-open";
        std::ofstream(script) << "#!/bin/sh\nexit 3\n";
        fs::permissions(script, fs::perms::owner_all, fs::perm_options::add);
    }
    void putFakeFolderFirstOnPath(bool keepSystemFolders) {
        std::string path = (folder_ / "bin").string();
        if (keepSystemFolders) path += ":" + savedPath_.value_or("/usr/bin:/bin");
        ::setenv("PATH", path.c_str(), 1);
    }
    fs::path argumentFile() const { return folder_ / "arg.txt"; }
    // The opener does not wait for its child: wait here, a bounded while.
    std::optional<std::string> waitForArgument() const {
        for (int tries = 0; tries < 500; ++tries) {
            if (fs::exists(argumentFile())) return readFile(argumentFile());
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return std::nullopt;
    }

    fs::path folder_;
    std::optional<std::string> savedPath_;
};

TEST_F(FakeXdgOpen, TheFallbackHandsTheUrlToXdgOpenAsOneArgument) {
    installFakeOpener();
    putFakeFolderFirstOnPath(true);
    const std::string url = fileUrl("/home/me/My Programs/n\xC3\xB6tes #1.html");
    std::string error;
    ASSERT_TRUE(openWithXdgOpen(url, error)) << error;
    const std::optional<std::string> argument = waitForArgument();
    ASSERT_TRUE(argument.has_value()) << "xdg-open never ran";
    EXPECT_EQ(*argument, "file:///home/me/My%20Programs/n%C3%B6tes%20%231.html");
}

TEST_F(FakeXdgOpen, NoXdgOpenOnThePathIsReported) {
    putFakeFolderFirstOnPath(false);  // an empty folder and nothing else
    std::string error;
    EXPECT_FALSE(openWithXdgOpen("file:///tmp/x.html", error));
    EXPECT_EQ(error.rfind("cannot start xdg-open: ", 0), 0u) << error;
}

// Without a browser the manual must not be reported as shown: the caller
// then tells where the manual is.
TEST_F(FakeXdgOpen, NoBrowserMeansTheManualWasNotShown) {
    const fs::path manual = manualPath(executableFolder());
    for (const bool haveOpener : {false, true}) {
        if (haveOpener) installOpenerThatFindsNoBrowser();
        putFakeFolderFirstOnPath(false);
        std::string error;
        EXPECT_FALSE(openInBrowser(manual, error)) << haveOpener;
        EXPECT_NE(error.find(haveOpener ? "exit status 3" : "cannot start xdg-open"), std::string::npos) << error;
    }
}

}  // namespace
}  // namespace morvanex
