// The program's folders: how they are built from the platform's roots and
// which of them are created at start-up.
#include "app/folders.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/test_support.h"

namespace morvanex {
namespace {

namespace fs = std::filesystem;

bool isFolder(const fs::path& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

bool pathExists(const fs::path& path) {
    std::error_code error;
    return fs::exists(path, error);
}

TEST(Folders, BuiltBesideTheProgramAndUnderTheRoots) {
    SystemFolders system;
    system.programFolder = "/Opt/MorVanex";  // the case is kept: the file system tells A from a
    system.programDataFolder = "/Data/Morvanexv4";
    system.documentFolder = "/Home/Me/Documents/Morvanexv4";
    system.musicFolder = "/Home/Me/Music";

    const ProgramFolders english = programFolders(system);  // one manual for both languages
    EXPECT_EQ(english.program, fs::path("/Opt/MorVanex"));
    EXPECT_EQ(english.shaders, fs::path("/Opt/MorVanex/shaders"));
    EXPECT_EQ(english.interface, fs::path("/Opt/MorVanex/UI"));
    EXPECT_EQ(english.examples, fs::path("/Opt/MorVanex/exemples"));
    EXPECT_EQ(english.manual, fs::path("/Opt/MorVanex/manual.html"));
    EXPECT_EQ(english.programData, fs::path("/Data/Morvanexv4"));
    EXPECT_EQ(english.documents, fs::path("/Home/Me/Documents/Morvanexv4"));
    EXPECT_EQ(english.archive, fs::path("/Home/Me/Documents/Morvanexv4/Archive"));
    EXPECT_EQ(english.music, fs::path("/Home/Me/Music"));


    // The writable folders and the resource folders that hold a cache; never
    // the examples (they come with the program) nor the music folder.
    const auto created = foldersToCreate(english);
    EXPECT_EQ(created, (std::vector<fs::path>{english.programData, english.documents, english.archive,
                                              english.shaders, english.interface}));
}

TEST(Folders, SetUpCreatesTheFoldersThatMustExist) {
    test::TempFolder root;
    const SystemFolders system = test::foldersUnder(root.path());

    const FolderSetup setup = setUpFolders(system);
    EXPECT_TRUE(setup.ok());
    EXPECT_TRUE(setup.problems.empty());
    for (const auto& folder : {setup.folders.shaders, setup.folders.interface, setup.folders.programData,
                               setup.folders.documents, setup.folders.archive}) {
        EXPECT_TRUE(isFolder(folder)) << folder;
    }
    EXPECT_FALSE(pathExists(setup.folders.examples));
    EXPECT_FALSE(pathExists(setup.folders.music));
    EXPECT_FALSE(pathExists(setup.folders.manual));

    // Again, with every folder already there: nothing to report, nothing lost.
    test::writeBytes(setup.folders.archive / "scene_back.mrx", "kept");
    const FolderSetup again = setUpFolders(system);
    EXPECT_TRUE(again.ok());
    EXPECT_EQ(test::readBytes(setup.folders.archive / "scene_back.mrx"), "kept");
}

TEST(Folders, AFileInTheWayIsReportedAndTheOthersAreStillMade) {
    test::TempFolder root;
    const SystemFolders system = test::foldersUnder(root.path());
    fs::create_directories(system.documentFolder.parent_path());
    test::writeBytes(system.documentFolder, "not a folder");

    const FolderSetup setup = setUpFolders(system);
    EXPECT_FALSE(setup.ok());
    ASSERT_EQ(setup.problems.size(), 2u);  // the document folder, and the archive inside it
    EXPECT_EQ(setup.problems[0].folder, setup.folders.documents);
    EXPECT_EQ(setup.problems[1].folder, setup.folders.archive);
    for (const auto& problem : setup.problems) EXPECT_FALSE(problem.reason.empty());

    EXPECT_EQ(test::readBytes(system.documentFolder), "not a folder");  // left as it was
    EXPECT_TRUE(isFolder(setup.folders.programData));
    EXPECT_TRUE(isFolder(setup.folders.shaders));
    EXPECT_TRUE(isFolder(setup.folders.interface));
}

TEST(Folders, CreateFolderMakesParentsAndRefusesWhatIsNotAFolder) {
    test::TempFolder root;
    EXPECT_FALSE(createFolder(root / "a" / "b" / "c").has_value());
    EXPECT_TRUE(isFolder(root / "a" / "b" / "c"));
    EXPECT_FALSE(createFolder(root / "a").has_value());  // already there

    test::writeBytes(root / "file", "x");
    const auto inTheWay = createFolder(root / "file");
    ASSERT_TRUE(inTheWay.has_value());
    EXPECT_EQ(inTheWay->folder, root / "file");
    EXPECT_FALSE(inTheWay->reason.empty());
    EXPECT_TRUE(createFolder(root / "file" / "below").has_value());  // a file as a parent
    EXPECT_TRUE(createFolder(fs::path()).has_value());
}

}  // namespace
}  // namespace morvanex
