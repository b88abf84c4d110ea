// Names the program gives scene files: the next free new-scene name and the
// file name shown in the title.
#include "scenefile/scene_names.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/test_files.h"

namespace morvanex {
namespace {

using test::TempFolder;

void touch(const std::filesystem::path& file) { test::writeBytes(file, "x"); }

TEST(SceneNames, NewScenePathInAnEmptyFolder) {
    TempFolder temp;
    EXPECT_EQ(newScenePath(temp.path()), temp / "Nouvelle scene.mrx");
    // Nothing is written.
    EXPECT_TRUE(test::folderIsEmpty(temp.path()));
}

TEST(SceneNames, NewScenePathSkipsTakenNames) {
    TempFolder temp;
    touch(temp / "Nouvelle scene.mrx");
    EXPECT_EQ(newScenePath(temp.path()), temp / "Nouvelle scene1.mrx");
    touch(temp / "Nouvelle scene1.mrx");
    EXPECT_EQ(newScenePath(temp.path()), temp / "Nouvelle scene2.mrx");
    EXPECT_FALSE(std::filesystem::exists(temp / "Nouvelle scene2.mrx"));
}

TEST(SceneNames, NewScenePathTakesTheFirstFreeName) {
    TempFolder temp;
    // A gap in the numbers is filled first.
    touch(temp / "Nouvelle scene.mrx");
    touch(temp / "Nouvelle scene2.mrx");
    EXPECT_EQ(newScenePath(temp.path()), temp / "Nouvelle scene1.mrx");

    // Only the plain name counts as taken when the numbered ones alone exist.
    TempFolder other;
    touch(other / "Nouvelle scene1.mrx");
    EXPECT_EQ(newScenePath(other.path()), other / "Nouvelle scene.mrx");
}

TEST(SceneNames, NewScenePathCountsPastTen) {
    TempFolder temp;
    touch(temp / "Nouvelle scene.mrx");
    for (int n = 1; n <= 10; ++n) touch(temp / ("Nouvelle scene" + std::to_string(n) + ".mrx"));
    EXPECT_EQ(newScenePath(temp.path()), temp / "Nouvelle scene11.mrx");
}

TEST(SceneNames, NewScenePathTreatsAFolderOfThatNameAsTaken) {
    TempFolder temp;
    std::filesystem::create_directory(temp / "Nouvelle scene.mrx");
    EXPECT_EQ(newScenePath(temp.path()), temp / "Nouvelle scene1.mrx");
}

TEST(SceneNames, NewScenePathIgnoresOtherFiles) {
    TempFolder temp;
    touch(temp / "Nouvelle scene.tut");
    touch(temp / "Nouvelle scene");
    touch(temp / "Ma scene.mrx");
    EXPECT_EQ(newScenePath(temp.path()), temp / "Nouvelle scene.mrx");
}

TEST(SceneNames, NewScenePathInAMissingFolderCreatesNothing) {
    TempFolder temp;
    const std::filesystem::path missing = temp / "not yet" / "documents";
    EXPECT_EQ(newScenePath(missing), missing / "Nouvelle scene.mrx");
    EXPECT_FALSE(std::filesystem::exists(temp / "not yet"));
}

TEST(SceneNames, SceneFileNameOfTakesTheLastComponent) {
    EXPECT_EQ(sceneFileNameOf("/home/jean/Documents/Morvanexv4/Nouvelle scene.mrx"), "Nouvelle scene.mrx");
    EXPECT_EQ(sceneFileNameOf("C:\\Users\\Jean\\Documents\\Ma sc\xE8ne.mrx"), "Ma sc\xE8ne.mrx");
    EXPECT_EQ(sceneFileNameOf("D:\\scenes/sub\\mixed/Last.MRX"), "Last.MRX");
    EXPECT_EQ(sceneFileNameOf("D:/scenes\\sub/mixed\\Last.MRX"), "Last.MRX");
    EXPECT_EQ(sceneFileNameOf("plain name.mrx"), "plain name.mrx");
    EXPECT_EQ(sceneFileNameOf(""), "");
    EXPECT_EQ(sceneFileNameOf("folder/"), "");
    EXPECT_EQ(sceneFileNameOf("/a.mrx"), "a.mrx");
}

}  // namespace
}  // namespace morvanex
