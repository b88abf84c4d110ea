// Start-up with the title scene: the carried scenes installed, the camera
// object, the title played to its end, then the command-line file.
#include "app/start_scene.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "app/application.h"
#include "app/start_scene_bytes.h"
#include "app/test_support.h"
#include "base/file_bytes.h"
#include "base/trace_log.h"
#include "render/renderer.h"
#include "scene/scene.h"
#include "scenefile/scene_writer.h"
#include "ui/label_files.h"
#include "ui/panel.h"

namespace morvanex {
namespace {

using test::readBytes;
using test::RecordingShell;
using test::TempFolder;

class StartSceneTest : public ::testing::Test {
protected:
    StartSceneTest() {
        std::filesystem::create_directories(folders.programDataFolder);
        std::filesystem::create_directories(folders.programFolder);
        std::ofstream(folders.programFolder / kFrenchLabelFileName, std::ios::binary) << "v\r\nOui\r\n";
        std::ofstream(folders.programFolder / kEnglishLabelFileName, std::ios::binary) << "v\r\nYes\r\n";
    }

    bool holdsEmbedded(const std::filesystem::path& file, std::span<const std::uint8_t> bytes) {
        const FileBytes read(file);
        return read.opened() && std::ranges::equal(read.bytes(), bytes);
    }

    // Frames of half a second until the title has gone (at most a minute).
    void playTitle(Application& application) {
        double t = 0.0;
        for (int i = 0; i < 120 && application.startSceneMode; ++i) application.frameStep(t += 0.5, 0.5);
    }

    TempFolder temp;
    SystemFolders folders = test::foldersUnder(temp.path());
    RecordingShell shell{folders, TraceLog(folders.programDataFolder / kTraceFileName)};
    Renderer renderer{shell.trace()};
};

TEST_F(StartSceneTest, TitlePlaysWithTheCameraObjectThenTheCommandLineFileOpens) {
    const std::filesystem::path house = folders.documentFolder / "Maison.mrx";
    {
        std::filesystem::create_directories(folders.documentFolder);
        Scene made;
        made.addObject("maison");
        ASSERT_TRUE(writeSceneFile(house, made, {}).ok);
    }
    Application application(shell, renderer, house.string(), StartScene::Play);

    EXPECT_TRUE(holdsEmbedded(folders.programDataFolder / "logo.mrx", embeddedTitleScene()));
    EXPECT_TRUE(holdsEmbedded(folders.programDataFolder / "camera.mrx", embeddedCameraScene()));
    SceneObject* camera = application.scene.cameraObject();
    ASSERT_NE(camera, nullptr);
    EXPECT_EQ(camera->name, "Camera");
    EXPECT_FALSE(camera->vertices.empty());  // the body of "souder 1"
    EXPECT_FLOAT_EQ(camera->rotationAngle, kHalfPi);
    EXPECT_FLOAT_EQ(camera->rotationAxis.z, -1.0f);
    EXPECT_FALSE(camera->flagF1);

    ASSERT_TRUE(application.startSceneMode);
    EXPECT_EQ(application.sceneFileName, "logo.mrx");
    ASSERT_NE(camera->animation, nullptr);  // the title's sweep
    ASSERT_NE(application.screen.cornerPanel, nullptr);
    EXPECT_FALSE(application.screen.cornerPanel->visible);
    const Vec3 firstEye = application.camera.eye;
    application.frameStep(4.0, 4.0);
    EXPECT_GT(length(application.camera.eye - firstEye), 1.0f);  // the camera moves round the title

    playTitle(application);
    ASSERT_FALSE(application.startSceneMode);
    EXPECT_EQ(application.scene.filePath, house.string());
    EXPECT_NE(application.scene.findObject("maison"), nullptr);
    EXPECT_EQ(application.scene.objectCount(), 6u);  // the file's object, the four service objects, the ground grid
    EXPECT_EQ(application.scene.cameraObject(), camera);  // the camera object stays
    EXPECT_TRUE(application.screen.cornerPanel->visible);
    EXPECT_EQ(readBytes(folders.programDataFolder / kTraceFileName), "");
}

TEST_F(StartSceneTest, SceneOpenedDuringTheTitleStaysAndEndsIt) {
    const std::filesystem::path house = folders.documentFolder / "Maison.mrx";
    std::filesystem::create_directories(folders.documentFolder);
    Scene made;
    made.addObject("maison");
    ASSERT_TRUE(writeSceneFile(house, made, {}).ok);
    Application application(shell, renderer, std::nullopt, StartScene::Play);
    application.frameStep(0.5, 0.5);
    ASSERT_TRUE(application.startSceneMode);

    ASSERT_TRUE(application.openScene(house, Application::SceneOpenMode::Plain));
    application.frameStep(1.0, 0.5);
    application.frameStep(1.5, 0.5);

    EXPECT_FALSE(application.startSceneMode);
    EXPECT_EQ(application.scene.filePath, house.string());
    const SceneObject* kept = application.scene.findObject("maison");
    ASSERT_NE(kept, nullptr);
    EXPECT_FLOAT_EQ(kept->opacity, 1.0f);  // no title fade on the user's scene
}

TEST_F(StartSceneTest, UnwritableDataFolderIsTracedAndTheEditorStarts) {
    // A file where the folder should be: nothing can be written into it.
    std::filesystem::remove_all(folders.programDataFolder);
    std::ofstream(folders.programDataFolder) << "x";
    const std::filesystem::path trace = temp.path() / "trace.txt";
    RecordingShell tracedElsewhere{folders, TraceLog(trace)};
    Application application(tracedElsewhere, renderer, std::nullopt, StartScene::Play);

    EXPECT_FALSE(application.startSceneMode);
    EXPECT_NE(application.scene.cameraObject(), nullptr);
    const std::string lines = readBytes(trace);
    EXPECT_NE(lines.find("Cannot write \"" + (folders.programDataFolder / "logo.mrx").string()), std::string::npos)
        << lines;
    EXPECT_NE(lines.find("camera.mrx"), std::string::npos) << lines;
    application.frameStep(0.0, 0.016);
    EXPECT_EQ(application.sceneFileName, "Nouvelle scene.mrx");
}

TEST(StartSceneFile, WrittenWhenMissingOrDifferent) {
    TempFolder temp;
    const std::filesystem::path file = temp.path() / "logo.mrx";
    const std::vector<std::uint8_t> bytes{1, 2, 3};
    EXPECT_EQ(installSceneFile(file, bytes), std::nullopt);
    EXPECT_EQ(readBytes(file), "\x01\x02\x03");
    std::ofstream(file, std::ios::binary) << "old";
    EXPECT_EQ(installSceneFile(file, bytes), std::nullopt);
    EXPECT_EQ(readBytes(file), "\x01\x02\x03");
}

}  // namespace
}  // namespace morvanex
