// The scene procedures driven in the whole editor: open, merge, mesh update,
// save and save selection, the copies made beside a saved scene, animation
// files, and the failures that must lose nothing.
#include <signal.h>

#include "app/editor_test_support.h"
#include "app/scene_file_copies.h"
#include "scene/scene_object.h"
#include "scenefile/scene_procedures.h"
#include "scenefile/scene_reader.h"
#include "scenefile/scene_writer.h"
#include "ui/file_chooser.h"
#include "ui/image_button.h"
#include "ui/label.h"
#include "ui/label_numbers.h"

namespace morvanex::test {
namespace {

namespace fs = std::filesystem;

SceneObject& addTriangle(Scene& scene, const std::string& name, float size) {
    SceneObject& object = scene.addObject(name);
    std::vector<MeshVertex> v(3);
    v[1].position = {size, 0, 0};
    v[2].position = {0, size, 0};
    object.assignMesh(std::move(v), {0, 1, 2});
    return object;
}

void writeSceneBytes(const fs::path& file, Scene& scene) { ASSERT_TRUE(writeSceneFile(file, scene, {}).ok); }

// A scene of two objects, the first textured and animated, with a blue background.
void writeSampleScene(const fs::path& file) {
    Scene scene;
    scene.backgroundColour = {0, 0, 1, 1};
    SceneObject& box = addTriangle(scene, "boite", 2.0f);
    box.textures[0] = &scene.addTexture("bois.png");
    addTriangle(scene, "tube", 3.0f);
    Animation& animation = scene.addAnimation("boite");
    animation.target = &box;
    box.animation = &animation;
    animation.addSequence("tourne").addKeyImage(1.0).addState(&box).position = {1, 2, 3};
    writeSceneBytes(file, scene);
}

std::vector<std::string> objectNames(const Scene& scene) {
    std::vector<std::string> names;
    for (const auto& object : scene.objects()) {
        if (scene.isSaved(*object)) names.push_back(object->name);
    }
    return names;
}

class SceneProceduresTest : public EditorTest {
protected:
    fs::path documents() const { return folders.documentFolder; }
    fs::path archive() const { return folders.documentFolder / "Archive"; }
    bool messageShown() const { return app->screen.messageDialog->visible; }
    std::string messageLine(std::size_t i) const { return app->screen.message.lines[i]->text; }
    void pickInChooser(const fs::path& folder, const std::string& name) {
        FileChooser* chooser = app->fileDialogs.builtinChooser();
        ASSERT_TRUE(chooser != nullptr && chooser->panel().visible);
        chooser->enterFolder(folder);
        for (std::size_t i = 0; i < chooser->entries().size(); ++i) {
            if (chooser->entries()[i].name == name) chooser->pickEntry(i);
        }
        clickWidget(chooser->okButton());
    }
};

TEST_F(SceneProceduresTest, OpenThenSaveThenOpenGivesTheSameScene) {
    const fs::path file = temp / "maison.mrx";
    writeSampleScene(file);
    const std::string original = readBytes(file);
    test::writeBytes(archive() / "maison_back.mrx", "an older backup");

    ASSERT_TRUE(app->openScene(file, Application::SceneOpenMode::Plain));
    EXPECT_EQ(shell.titles.back(), "Morvanex \x96 maison.mrx");
    EXPECT_EQ(app->scene.filePath, file.string());
    EXPECT_EQ(objectNames(app->scene), (std::vector<std::string>{"boite", "tube"}));
    EXPECT_NE(app->scene.cameraObject(), nullptr);  // the service objects are back at the head
    // The markers and the ground grid are back too, and are never saved (the round trip below).
    EXPECT_FALSE(app->scene.lightObject()->vertices.empty());
    const SceneObject* grid = app->scene.findObject("Grille");
    ASSERT_NE(grid, nullptr);
    EXPECT_FALSE(grid->listed);
    EXPECT_EQ(readBytes(archive() / "maison_back.mrx"), original);  // the backup is replaced
    EXPECT_TRUE(fs::is_directory(temp / "maison"));                // the scene folder exists
    EXPECT_NE(readBytes(documents() / kRecentListFileName).find("maison.mrx"), std::string::npos);

    const fs::path copy = temp / "copie";
    ASSERT_TRUE(app->saveSceneToPath(copy));
    EXPECT_EQ(app->scene.filePath, (temp / "copie.mrx").string());
    EXPECT_EQ(shell.titles.back(), "Morvanex \x96 copie.mrx");
    EXPECT_TRUE(fs::is_regular_file(temp / "copie.mrx.bmp"));  // the thumbnail
    EXPECT_TRUE(fs::is_directory(temp / "copie"));
    EXPECT_FALSE(app->scene.modified);

    ASSERT_TRUE(app->openScene(temp / "copie.mrx", Application::SceneOpenMode::Plain));
    EXPECT_EQ(writeScene(app->scene, {}), std::vector<std::uint8_t>(original.begin(), original.end()));
}

TEST_F(SceneProceduresTest, TheProgramsOwnScenesMakeNoBackup) {
    for (const char* name : {"logo.mrx", "camera.mrx"}) {
        writeSampleScene(temp / name);
        ASSERT_TRUE(app->openScene(temp / name, Application::SceneOpenMode::Plain)) << name;
    }
    EXPECT_TRUE(!fs::exists(archive()) || fs::is_empty(archive()));
    // The title scene never enters the recent list.
    EXPECT_EQ(readBytes(documents() / kRecentListFileName).find("logo.mrx"), std::string::npos);
}

TEST_F(SceneProceduresTest, AFileThatCannotBeOpenedLeavesTheSceneAsItWas) {
    const fs::path kept = temp / "gardee.mrx";
    writeSampleScene(kept);
    ASSERT_TRUE(app->openScene(kept, Application::SceneOpenMode::Plain));
    app->scene.modified = true;
    const fs::path foreign = temp / "autre.mrx";
    test::writeBytes(foreign, "PK\x03\x04 not a scene");

    EXPECT_FALSE(app->openScene(foreign, Application::SceneOpenMode::Plain));
    EXPECT_TRUE(app->screen.messageDialog->visible);
    app->screen.messageDialog->setVisible(false);
    EXPECT_FALSE(app->openScene(temp / "absente.mrx", Application::SceneOpenMode::Plain));
    EXPECT_TRUE(app->screen.messageDialog->visible);
    EXPECT_EQ(objectNames(app->scene), (std::vector<std::string>{"boite", "tube"}));
    EXPECT_EQ(app->scene.filePath, kept.string());
    EXPECT_TRUE(app->scene.modified);
    EXPECT_FALSE(fs::exists(archive() / "autre_back.mrx"));
}

TEST_F(SceneProceduresTest, MergeKeepsTheHeaderAndAppendsTheObjects) {
    const fs::path current = temp / "ici.mrx";
    {
        Scene scene;
        scene.backgroundColour = {1, 0, 0, 1};
        addTriangle(scene, "sol", 1.0f);
        writeSceneBytes(current, scene);
    }
    writeSampleScene(temp / "ajout.mrx");
    ASSERT_TRUE(app->openScene(current, Application::SceneOpenMode::Plain));
    // The file panel's open button with its merge switch on.
    app->screen.file.mergeChosen = true;
    app->screen.filePanel->setVisible(true);
    frame();
    clickWidget(*app->screen.file.open3dButton);
    pickInChooser(temp.path(), "ajout.mrx");
    EXPECT_EQ(objectNames(app->scene), (std::vector<std::string>{"sol", "boite", "tube"}));
    EXPECT_FLOAT_EQ(app->scene.backgroundColour.x, 1.0f);  // the current header stays
    EXPECT_EQ(app->scene.filePath, current.string());
    EXPECT_EQ(app->scene.animations().size(), 1u);
    EXPECT_TRUE(app->scene.modified);
    EXPECT_FALSE(fs::exists(archive() / "ajout_back.mrx"));  // a merge makes no backup
}

// Which fields the update replaces is the file level's test; here, the dialog.
TEST_F(SceneProceduresTest, MeshUpdateRunsThroughItsDialogOnlyWithACurrentObject) {
    writeSampleScene(temp / "ici.mrx");
    {
        Scene update;
        addTriangle(update, "tube", 30.0f);
        writeSceneBytes(temp / "maj.mrx", update);
    }
    ASSERT_TRUE(app->openScene(temp / "ici.mrx", Application::SceneOpenMode::Plain));
    app->chooseFileForMeshUpdate();
    EXPECT_EQ(app->fileDialogs.builtinChooser(), nullptr);  // no current object: nothing happens
    app->currentObject = app->scene.findObject("boite");
    app->chooseFileForMeshUpdate();
    pickInChooser(temp.path(), "maj.mrx");
    EXPECT_FLOAT_EQ(app->scene.findObject("tube")->vertices[1].position.x, 30.0f);
    EXPECT_EQ(objectNames(app->scene), (std::vector<std::string>{"boite", "tube"}));
    EXPECT_TRUE(fs::exists(archive() / "maj_back.mrx"));
}

TEST_F(SceneProceduresTest, SaveSelectionWritesOnlyTheGroupAndItsAnimations) {
    writeSampleScene(temp / "ici.mrx");
    ASSERT_TRUE(app->openScene(temp / "ici.mrx", Application::SceneOpenMode::Plain));
    SceneObject& lid = addTriangle(app->scene, "couvercle", 1.0f);
    SceneObject* box = app->scene.findObject("boite");
    lid.groupLeader = box;
    app->currentObject = &lid;
    app->scene.modified = true;

    ASSERT_TRUE(app->saveSceneToPath(temp / "part", true));
    Scene saved;
    ASSERT_TRUE(readSceneFile(temp / "part.mrx", saved, {}).complete());
    EXPECT_EQ(objectNames(saved), (std::vector<std::string>{"boite", "couvercle"}));
    EXPECT_TRUE(saved.animations().empty());  // the box's animation is not the current object's
    // The scene is still the one the user works on, with its changes unsaved.
    EXPECT_EQ(app->scene.filePath, (temp / "ici.mrx").string());
    EXPECT_TRUE(app->scene.modified);
}

TEST_F(SceneProceduresTest, AFailedWriteKeepsTheOldFileAndSaysSo) {
    const fs::path file = temp / "ici.mrx";
    writeSampleScene(file);
    ASSERT_TRUE(app->openScene(file, Application::SceneOpenMode::Plain));
    const std::string before = readBytes(file);
    addTriangle(app->scene, "nouveau", 1.0f);
    app->scene.modified = true;

    bool savedOk = true;
    {
        const TinyFileSizeLimit diskFull;
        savedOk = app->saveSceneToPath(file);
    }

    EXPECT_FALSE(savedOk);
    EXPECT_EQ(readBytes(file), before);
    EXPECT_TRUE(app->scene.modified);
    ASSERT_TRUE(messageShown());
    EXPECT_NE(messageLine(0).find("ici.mrx"), std::string::npos);
    EXPECT_FALSE(messageLine(1).empty());  // why
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(temp.path(), error)) {
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();
    }
}

// The file's content is the file level's test; here, names and what the user sees.
TEST_F(SceneProceduresTest, AnimationFilesThroughTheApplication) {
    writeSampleScene(temp / "ici.mrx");
    ASSERT_TRUE(app->openScene(temp / "ici.mrx", Application::SceneOpenMode::Plain));
    SceneObject* tube = app->scene.findObject("tube");
    ASSERT_TRUE(app->exportAnimationFile(temp / "tourne", *app->scene.findObject("boite")));
    EXPECT_FALSE(app->exportAnimationFile(temp / "rien", *tube));  // no animation: nothing written, and said
    EXPECT_FALSE(fs::exists(temp / "rien.ANI"));
    EXPECT_TRUE(messageShown());

    ASSERT_TRUE(app->importAnimationFile(temp / "tourne.ANI", *tube));
    ASSERT_NE(tube->animation, nullptr);
    EXPECT_EQ(app->screen.tools.currentAnimation, tube->animation->sequences.at(0).get());
    EXPECT_TRUE(app->scene.modified);
}

// --- The files copied beside a saved scene ------------------------------------------

TEST(SceneFileCopies, OnlyFilesFromTheScenesOwnFoldersAreCopied) {
    TempFolder temp;
    const ScenePaths from = scenePathsOf(temp / "old" / "ici.mrx");
    const fs::path to = temp / "new" / "ici";
    fs::create_directories(from.textureFolder);
    fs::create_directories(from.sceneFolder);
    fs::create_directories(to);
    fs::create_directories(temp / "secret");
    writeBytes(temp / "secret" / "passwd", "secret");
    const struct {
        fs::path where;
        const char* name;
    } files[] = {
        {from.textureFolder, "bois.png"},       {from.sceneFolder, "pierre.png"},
        {from.sceneFolder, "boite_Cube.dds"},  {from.sceneFolder, "boite_ombrefloue.dds"},
        {from.sceneFolder, "bruit.wav"},       {from.sceneFolder, "extension.dat"},
        {from.sceneFolder, "vue1.bmp"},
    };
    for (const auto& f : files) writeBytes(f.where / f.name, f.name);
    writeBytes(to / "pierre.png", "the user's own");

    Scene scene;
    SceneObject& box = scene.addObject("boite");
    box.textures[0] = &scene.addTexture("bois.png");
    box.textures[1] = &scene.addTexture("pierre.png");
    box.textures[2] = &scene.addTexture("../../secret/passwd");
    box.setEnvMapEnabled(true);
    box.soundFileName = "bruit.wav";
    box.extensionCopyFile = true;
    box.extensionFileName = "extension.dat";
    SceneObject& hostile = scene.addObject("../../secret/passwd");
    hostile.soundFileName = "/etc/passwd";
    scene.viewpoints.push_back({});
    scene.viewpoints.back().imageFileName = "vue1.bmp";

    copyFilesBesideScene(plannedFileCopies(scene, from, to, false));
    for (const auto& f : files) EXPECT_TRUE(fs::exists(to / f.name)) << f.name;
    EXPECT_EQ(readBytes(to / "pierre.png"), "the user's own");  // never replaced
    EXPECT_FALSE(fs::exists(to / "passwd"));
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(to)) ++count;
    EXPECT_EQ(count, std::size(files));
    EXPECT_FALSE(fs::exists(temp / "secret" / "passwd_Cube.dds"));
}

}  // namespace
}  // namespace morvanex::test
