// Where the program keeps its files: environment, user-dirs file, folder creation.
#include "platform/system_folders.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <system_error>

#include <unistd.h>

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

bool containsComponent(const fs::path& path, const std::string& component) {
    for (const fs::path& part : path)
        if (part == fs::path(component)) return true;
    return false;
}

// Every test gets its own empty folder standing for the user's home.
class SystemFoldersTest : public testing::Test {
protected:
    void SetUp() override {
        static std::atomic<int> counter{0};
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        root_ = fs::temp_directory_path() / ("morvanex-folders-" + std::to_string(::getpid()) + "-" +
                                             std::to_string(stamp) + "-" + std::to_string(counter++));
        home_ = root_ / "home";
        ASSERT_TRUE(fs::create_directories(home_));
    }
    void TearDown() override {
        std::error_code error;
        fs::remove_all(root_, error);
    }
    void writeFile(const fs::path& path, const std::string& text) {
        fs::create_directories(path.parent_path());
        std::ofstream out(path, std::ios::binary);
        out << text;
        ASSERT_TRUE(out.good()) << path;
    }

    fs::path root_;
    fs::path home_;
    const fs::path program_ = "/opt/morvanex/bin";
};

// --- The override root -----------------------------------------------------

TEST_F(SystemFoldersTest, HomeOverridePutsEveryWritableFolderUnderTheRoot) {
    const fs::path overrideRoot = root_ / "override";
    // HOME and the XDG variables point elsewhere: the override wins over all of them.
    writeFile(home_ / ".config" / "user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Elsewhere\"\n");
    const SystemFolders folders = systemFolders(program_, lookupFrom({{kHomeOverrideVariable, overrideRoot.string()},
                                                                      {"HOME", home_.string()},
                                                                      {"XDG_DATA_HOME", (root_ / "xdg-data").string()}}));
    EXPECT_EQ(folders.programFolder, program_);
    EXPECT_EQ(folders.programDataFolder, overrideRoot / "data" / "Morvanexv4");
    EXPECT_EQ(folders.documentFolder, overrideRoot / "Documents" / "Morvanexv4");
    EXPECT_EQ(folders.musicFolder, overrideRoot / "Music");
    for (const fs::path* folder : {&folders.programDataFolder, &folders.documentFolder, &folders.musicFolder}) {
        const auto relative = folder->lexically_relative(overrideRoot);
        EXPECT_FALSE(relative.empty()) << *folder;
        EXPECT_NE(*relative.begin(), fs::path("..")) << *folder << " is not under the override root";
    }
    EXPECT_TRUE(containsComponent(folders.programDataFolder, kProductFolderName));
    EXPECT_TRUE(containsComponent(folders.documentFolder, kProductFolderName));
    EXPECT_EQ(std::string(kProductFolderName), "Morvanexv4");
    EXPECT_EQ(std::string(kHomeOverrideVariable), "MORVANEX_HOME");
}

TEST_F(SystemFoldersTest, EmptyHomeOverrideIsIgnored) {
    const SystemFolders folders =
        systemFolders(program_, lookupFrom({{kHomeOverrideVariable, ""}, {"HOME", home_.string()}}));
    EXPECT_EQ(folders.programDataFolder, home_ / ".local" / "share" / "Morvanexv4");
}

// --- Data folder ---------------------------------------------------------

TEST_F(SystemFoldersTest, DataFolderDefaultsToLocalShare) {
    const SystemFolders folders = systemFolders(program_, lookupFrom({{"HOME", home_.string()}}));
    EXPECT_EQ(folders.programFolder, program_);
    EXPECT_EQ(folders.programDataFolder, home_ / ".local" / "share" / "Morvanexv4");
}

TEST_F(SystemFoldersTest, DataFolderHonoursXdgDataHome) {
    const fs::path dataHome = root_ / "data-home";
    const SystemFolders folders =
        systemFolders(program_, lookupFrom({{"HOME", home_.string()}, {"XDG_DATA_HOME", dataHome.string()}}));
    EXPECT_EQ(folders.programDataFolder, dataHome / "Morvanexv4");
}

// --- Documents and music -------------------------------------------------

TEST_F(SystemFoldersTest, DocumentsFallBackToHomeDocumentsWithoutUserDirsFile) {
    const fs::path configHome = root_ / "config";  // exists, but holds no user-dirs file
    fs::create_directories(configHome);
    const SystemFolders folders =
        systemFolders(program_, lookupFrom({{"HOME", home_.string()}, {"XDG_CONFIG_HOME", configHome.string()}}));
    EXPECT_EQ(folders.documentFolder, home_ / "Documents" / "Morvanexv4");
    EXPECT_EQ(folders.musicFolder, home_ / "Music");
}

TEST_F(SystemFoldersTest, DocumentsFromUserDirsFileUnderXdgConfigHome) {
    const fs::path configHome = root_ / "config";
    writeFile(configHome / "user-dirs.dirs",
              "# This file is written by xdg-user-dirs-update\n"
              "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
              "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n"
              "XDG_MUSIC_DIR=\"$HOME/Musik\"\n");
    const SystemFolders folders =
        systemFolders(program_, lookupFrom({{"HOME", home_.string()}, {"XDG_CONFIG_HOME", configHome.string()}}));
    EXPECT_EQ(folders.documentFolder, home_ / "Dokumente" / "Morvanexv4");
    EXPECT_EQ(folders.musicFolder, home_ / "Musik");
}

TEST_F(SystemFoldersTest, DocumentsFromAbsolutePathInUserDirsFile) {
    const fs::path configHome = root_ / "config";
    const fs::path documents = root_ / "shared" / "Docs";
    writeFile(configHome / "user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"" + documents.string() + "\"\n");
    const SystemFolders folders =
        systemFolders(program_, lookupFrom({{"HOME", home_.string()}, {"XDG_CONFIG_HOME", configHome.string()}}));
    EXPECT_EQ(folders.documentFolder, documents / "Morvanexv4");
    // The music line is absent from that file: the music folder falls back.
    EXPECT_EQ(folders.musicFolder, home_ / "Music");
}

TEST_F(SystemFoldersTest, UserDirsFileDefaultsToHomeConfig) {
    writeFile(home_ / ".config" / "user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Mes documents\"\n");
    const SystemFolders folders = systemFolders(program_, lookupFrom({{"HOME", home_.string()}}));
    EXPECT_EQ(folders.documentFolder, home_ / "Mes documents" / "Morvanexv4");
}

TEST_F(SystemFoldersTest, XdgConfigHomeReplacesHomeConfig) {
    // The file under ~/.config must not be read once XDG_CONFIG_HOME names another folder.
    writeFile(home_ / ".config" / "user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Wrong\"\n");
    const fs::path configHome = root_ / "config";
    fs::create_directories(configHome);
    const SystemFolders folders =
        systemFolders(program_, lookupFrom({{"HOME", home_.string()}, {"XDG_CONFIG_HOME", configHome.string()}}));
    EXPECT_EQ(folders.documentFolder, home_ / "Documents" / "Morvanexv4");
}

// --- Parsing the user-dirs file ---------------------------------------------

TEST(SystemFoldersUserDirs, HomeRelativeAndAbsoluteValues) {
    const fs::path home = "/home/anne";
    EXPECT_EQ(userDirFromConfig("XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n", "XDG_DOCUMENTS_DIR", home),
              fs::path("/home/anne/Dokumente"));
    EXPECT_EQ(userDirFromConfig("XDG_DOCUMENTS_DIR=\"$HOME/a/b c\"", "XDG_DOCUMENTS_DIR", home),
              fs::path("/home/anne/a/b c"));
    EXPECT_EQ(userDirFromConfig("XDG_DOCUMENTS_DIR=\"/srv/docs\"\n", "XDG_DOCUMENTS_DIR", home), fs::path("/srv/docs"));
    // "$HOME" on its own (or with a slash) is the home folder itself.
    EXPECT_EQ(userDirFromConfig("XDG_DOCUMENTS_DIR=\"$HOME\"\n", "XDG_DOCUMENTS_DIR", home), home);
    EXPECT_EQ(userDirFromConfig("XDG_DOCUMENTS_DIR=\"$HOME/\"\n", "XDG_DOCUMENTS_DIR", home), home);
}

TEST(SystemFoldersUserDirs, CommentsAndOtherKeysAreSkipped) {
    const fs::path home = "/home/anne";
    const std::string config =
        "# XDG_DOCUMENTS_DIR=\"$HOME/Commented\"\n"
        "XDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\n"
        "XDG_DOCUMENTS_DIRECTORY=\"$HOME/LongerKey\"\n"
        "MY_XDG_DOCUMENTS_DIR=\"$HOME/Suffix\"\n"
        "\n"
        "XDG_DOCUMENTS_DIR=\"$HOME/Real\"\n"
        "XDG_MUSIC_DIR=\"/media/music\"\n";
    EXPECT_EQ(userDirFromConfig(config, "XDG_DOCUMENTS_DIR", home), fs::path("/home/anne/Real"));
    EXPECT_EQ(userDirFromConfig(config, "XDG_MUSIC_DIR", home), fs::path("/media/music"));
    EXPECT_EQ(userDirFromConfig(config, "XDG_DOWNLOAD_DIR", home), fs::path("/home/anne/Downloads"));
    EXPECT_FALSE(userDirFromConfig(config, "XDG_VIDEOS_DIR", home).has_value());
    EXPECT_FALSE(userDirFromConfig("# XDG_DOCUMENTS_DIR=\"$HOME/Commented\"\n", "XDG_DOCUMENTS_DIR", home).has_value());
    // As in a shell: leading blanks are allowed and the last assignment wins.
    EXPECT_EQ(userDirFromConfig("  XDG_DOCUMENTS_DIR=\"$HOME/First\"\nXDG_DOCUMENTS_DIR=\"$HOME/Second\"\n",
                                "XDG_DOCUMENTS_DIR", home),
              home / "Second");
    EXPECT_FALSE(userDirFromConfig("XDG_DOCUMENTS_DIR=\"$HOMEless\"\n", "XDG_DOCUMENTS_DIR", home).has_value());
}

TEST(SystemFoldersUserDirs, MalformedLinesGiveNothing) {
    const fs::path home = "/home/anne";
    const std::string key = "XDG_DOCUMENTS_DIR";
    EXPECT_FALSE(userDirFromConfig("", key, home).has_value());
    EXPECT_FALSE(userDirFromConfig("XDG_DOCUMENTS_DIR=\"$HOME/NoClosingQuote\n", key, home).has_value());
    EXPECT_FALSE(userDirFromConfig("XDG_DOCUMENTS_DIR=$HOME/Unquoted\n", key, home).has_value());
    // Neither home-relative nor absolute: not a usable folder.
    EXPECT_FALSE(userDirFromConfig("XDG_DOCUMENTS_DIR=\"relative/docs\"\n", key, home).has_value());
    EXPECT_FALSE(userDirFromConfig("XDG_DOCUMENTS_DIR=\"\"\n", key, home).has_value());
}

TEST(SystemFoldersUserDirs, BrokenLineDoesNotHideALaterGoodOne) {
    const std::string config =
        "XDG_DOCUMENTS_DIR=\"$HOME/Broken\n"
        "XDG_DOCUMENTS_DIR=\"$HOME/Good\"\n";
    EXPECT_EQ(userDirFromConfig(config, "XDG_DOCUMENTS_DIR", "/home/anne"), fs::path("/home/anne/Good"));
}

TEST(SystemFoldersUserDirs, MissingClosingQuoteDoesNotSwallowTheNextLine) {
    // The value must end on its own line, not at the quote of the next one.
    const std::string config =
        "XDG_DOCUMENTS_DIR=\"$HOME/Broken\n"
        "XDG_MUSIC_DIR=\"$HOME/Music\"\n";
    EXPECT_FALSE(userDirFromConfig(config, "XDG_DOCUMENTS_DIR", "/home/anne").has_value());
}

TEST(SystemFoldersUserDirs, WindowsLineEndingsAndTextAfterTheQuote) {
    EXPECT_EQ(userDirFromConfig("XDG_DOCUMENTS_DIR=\"$HOME/Docs\"\r\n", "XDG_DOCUMENTS_DIR", "/home/anne"),
              fs::path("/home/anne/Docs"));
    EXPECT_EQ(userDirFromConfig("XDG_DOCUMENTS_DIR=\"/data/docs\"  # shared\n", "XDG_DOCUMENTS_DIR", "/home/anne"),
              fs::path("/data/docs"));
}

// --- The process environment and the executable's folder -------------------

TEST(SystemFoldersEnvironment, ProcessEnvironmentReadsSetAndTreatsEmptyAsUnset) {
    const std::string name = "MORVANEX_FOLDERS_TEST_" + std::to_string(::getpid());
    const EnvironmentLookup env = processEnvironment();
    ::unsetenv(name.c_str());
    EXPECT_FALSE(env(name).has_value());
    ASSERT_EQ(::setenv(name.c_str(), "", 1), 0);
    EXPECT_FALSE(env(name).has_value());
    ASSERT_EQ(::setenv(name.c_str(), "/some/where", 1), 0);
    EXPECT_EQ(env(name), std::optional<std::string>("/some/where"));
    ::unsetenv(name.c_str());
}

TEST(SystemFoldersEnvironment, ExecutableFolderIsTheFolderOfThisTestProgram) {
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (error) GTEST_SKIP() << "no /proc/self/exe here";
    const fs::path folder = executableFolder();
    EXPECT_EQ(fs::weakly_canonical(folder), fs::weakly_canonical(self.parent_path()));
    EXPECT_FALSE(folder.filename().empty()) << "the trailing separator must be gone";
}

// --- Creating folders ------------------------------------------------------

TEST_F(SystemFoldersTest, EnsureFolderCreatesNestedFolders) {
    const fs::path nested = root_ / "a" / "b" / "c d" / "Morvanexv4";
    EXPECT_TRUE(ensureFolder(nested));
    EXPECT_TRUE(fs::is_directory(nested));
    // An existing folder is fine too.
    EXPECT_TRUE(ensureFolder(nested));
    EXPECT_TRUE(ensureFolder(root_));
}

TEST_F(SystemFoldersTest, EnsureFolderFailsWhenAFileIsInTheWay) {
    const fs::path file = root_ / "taken";
    writeFile(file, "not a folder");
    EXPECT_FALSE(ensureFolder(file));
    EXPECT_FALSE(ensureFolder(file / "below"));
    EXPECT_TRUE(fs::is_regular_file(file)) << "the file must be left alone";
    EXPECT_FALSE(fs::exists(file / "below"));
}

}  // namespace
}  // namespace morvanex
