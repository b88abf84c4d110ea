// Long work in the editor: the progress bar drawn alone while a scene is
// read, and the autosave: written after its interval, put off by a drag,
// removed by a save, offered back at the next start.
#include <algorithm>
#include <array>

#include "app/editor_test_support.h"
#include "base/text_encoding.h"
#include "scene/scene_object.h"
#include "scenefile/scene_reader.h"
#include "scenefile/scene_writer.h"
#include "ui/image_button.h"
#include "ui/label_numbers.h"

namespace morvanex::test {
namespace {

namespace fs = std::filesystem;

void addTriangle(Scene& scene, const std::string& name) {
    std::vector<MeshVertex> v(3);
    v[1].position = {1, 0, 0};
    v[2].position = {0, 1, 0};
    scene.addObject(name).assignMesh(std::move(v), {0, 1, 2});
}

std::vector<std::string> savedNames(const Scene& scene) {
    std::vector<std::string> names;
    for (const auto& object : scene.objects()) {
        if (scene.isSaved(*object)) names.push_back(object->name);
    }
    return names;
}

class LongWorkTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        useFakeClock();
    }
    void useFakeClock() {
        app->clockSeconds = [this] { return fakeNow; };
    }
    fs::path archive() const { return folders.documentFolder / "Archive"; }
    fs::path autosaveOf(const std::string& name) const { return archive() / (name + "_autosave.mrx"); }
    // A saved scene "maison.mrx" of one object, opened and then edited.
    fs::path openEditedScene() {
        const fs::path file = temp / "maison.mrx";
        Scene saved;
        addTriangle(saved, "mur");
        EXPECT_TRUE(writeSceneFile(file, saved, {}).ok);
        EXPECT_TRUE(app->openScene(file, Application::SceneOpenMode::Plain));
        addTriangle(app->scene, "toit");
        app->scene.modified = true;
        return file;
    }
    // Frames over `seconds` of the fake clock.
    void editFor(double seconds) {
        frame();
        fakeNow += seconds;
        frame();
    }
    bool questionAsked(int titleLabel) const {
        return app->screen.questionDialog->visible && app->screen.questionDialog->title == app->label(titleLabel);
    }

    double fakeNow = 1000.0;
};

TEST_F(LongWorkTest, ALongOpenDrawsTheProgressBarAloneAndHidesItAfter) {
    const fs::path file = temp / "grande.mrx";
    Scene saved;
    for (int i = 0; i < 8; ++i) addTriangle(saved, "piece" + std::to_string(i));
    ASSERT_TRUE(writeSceneFile(file, saved, {}).ok);
    // Every moment is long enough, every redraw is allowed.
    app->waitingPanelDelay = 0.0;
    app->waitingPanelRedrawInterval = 0.0;
    Panel& bar = *app->screen.progressPanel;
    std::vector<int> progress;
    std::array<unsigned char, 4> inBar{};
    std::array<unsigned char, 4> outside{};
    shell.onFrame = [&] {
        EXPECT_TRUE(app->waitingPanelVisible);
        EXPECT_TRUE(bar.visible);
        progress.push_back(bar.progress);
        frame();
        std::copy_n(pixel(640, 359), 4, inBar.begin());
        std::copy_n(pixel(100, 100), 4, outside.begin());
    };

    ASSERT_TRUE(app->openScene(file, Application::SceneOpenMode::Plain));
    ASSERT_GE(progress.size(), 8u);
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_EQ(progress.back(), bar.width);
    // The full bar in the middle of the window, nothing else drawn.
    EXPECT_GT(inBar[0] + inBar[1] + inBar[2], 0);
    EXPECT_EQ(outside[0] + outside[1] + outside[2], 0);
    EXPECT_FALSE(app->waitingPanelVisible);
    EXPECT_FALSE(bar.visible);
    ASSERT_GE(shell.cursors.size(), 2u);
    EXPECT_EQ(shell.cursors.front(), CursorShape::Wait);
    EXPECT_EQ(shell.cursors.back(), CursorShape::Arrow);

    // A quick open shows nothing.
    shell.onFrame = nullptr;
    app->waitingPanelDelay = 0.3;
    const int framesBefore = shell.framesRun;
    ASSERT_TRUE(app->openScene(file, Application::SceneOpenMode::Plain));
    EXPECT_EQ(shell.framesRun, framesBefore);
}

TEST_F(LongWorkTest, AnAutosaveIsWrittenAfterTheIntervalButNotDuringADrag) {
    const fs::path file = openEditedScene();
    const std::string original = readBytes(file);
    editFor(kAutosaveIntervalSeconds - 1.0);
    EXPECT_FALSE(fs::exists(autosaveOf("maison")));

    app->input.state.dragActive = true;
    editFor(2.0);
    EXPECT_FALSE(fs::exists(autosaveOf("maison"))) << "written in the middle of a drag";
    app->input.state.dragActive = false;
    frame();
    ASSERT_TRUE(fs::exists(autosaveOf("maison")));
    EXPECT_EQ(readBytes(file), original) << "the user's own file was touched";

    // Its content is the edited scene.
    Scene back;
    ASSERT_TRUE(readSceneFile(autosaveOf("maison"), back, {}).complete());
    EXPECT_EQ(savedNames(back), (std::vector<std::string>{"mur", "toit"}));

    // A save puts the changes in the file: the autosave goes.
    ASSERT_TRUE(app->saveSceneToPath(file));
    EXPECT_FALSE(fs::exists(autosaveOf("maison")));
}

TEST_F(LongWorkTest, AnAutosaveNewerThanItsSceneIsOfferedAtStartAndRecoveredByYes) {
    const fs::path file = openEditedScene();
    editFor(kAutosaveIntervalSeconds);
    ASSERT_TRUE(fs::exists(autosaveOf("maison")));
    const std::string original = readBytes(file);
    // The program ends without a save (a crash, a power cut).
    app->scene.modified = true;
    restartApplication();

    ASSERT_TRUE(questionAsked(label::kRecoverAutosaveTitle));
    clickWidget(*app->screen.question.yesButton);
    EXPECT_EQ(savedNames(app->scene), (std::vector<std::string>{"mur", "toit"}));
    EXPECT_EQ(pathFromText(app->scene.filePath), file);
    EXPECT_TRUE(app->scene.modified) << "the recovered changes are not in the file yet";
    EXPECT_EQ(readBytes(file), original);
}

TEST_F(LongWorkTest, DecliningTheRecoveryKeepsTheAutosaveForLater) {
    openEditedScene();
    editFor(kAutosaveIntervalSeconds);
    const std::string autosaved = readBytes(autosaveOf("maison"));
    restartApplication();

    ASSERT_TRUE(questionAsked(label::kRecoverAutosaveTitle));
    clickWidget(*app->screen.question.noButton);
    EXPECT_TRUE(savedNames(app->scene).empty());
    // Still there, and still offered, after a close without changes.
    restartApplication();
    EXPECT_EQ(readBytes(autosaveOf("maison")), autosaved);
    EXPECT_TRUE(questionAsked(label::kRecoverAutosaveTitle));
}

}  // namespace
}  // namespace morvanex::test
