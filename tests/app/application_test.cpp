// The application against a recording shell: the end of start-up (new scene,
// title, command-line file), the frame time and the close question.
//
// The renderer here is never drawn with: its constructor only keeps the
// trace log, and the frame step only advances its running clock, so no
// graphics context is needed.
#include "app/application.h"

#include <gtest/gtest.h>


#include <cstdlib>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "app/test_support.h"
#include "base/trace_log.h"
#include "render/renderer.h"
#include "scene/animation.h"
#include "scene/scene_object.h"
#include "scenefile/scene_reader.h"
#include "scenefile/scene_writer.h"
#include "ui/file_chooser.h"
#include "ui/label.h"
#include "ui/label_files.h"
#include "ui/panel.h"

namespace morvanex {
namespace {

using test::readBytes;
using test::RecordingShell;
using test::TempFolder;

bool nearlyEqual(Vec3 a, Vec3 b) { return length(a - b) <= 1e-3f * (1.0f + length(a)); }

// What the message dialog says, its lines joined; empty while it is hidden.
std::string messageShown(const Application& application) {
    const Panel* dialog = application.screen.messageDialog;
    if (dialog == nullptr || !dialog->visible) return {};
    std::string text;
    for (const Label* line : application.screen.message.lines) {
        if (line == nullptr || line->text.empty() || line->text == " ") continue;
        text += (text.empty() ? "" : " ") + line->text;
    }
    return text;
}

constexpr const char* kNewSceneTitle = "Morvanex \x96 Nouvelle scene.mrx";
// The interface builder's title ("Morvanex " and label 0 of the test labels), before the scene's.
constexpr const char* kBuilderTitle = "Morvanex v";

class ApplicationTest : public ::testing::Test {
protected:
    ApplicationTest() {
        // A desktop chooser would wait for a person: the built-in one answers through the interface.
        setenv("MORVANEX_FILE_DIALOG", "builtin", 1);
        std::filesystem::create_directories(folders.programDataFolder);
        // The label files installed beside the program.
        std::filesystem::create_directories(folders.programFolder);
        std::ofstream(folders.programFolder / kFrenchLabelFileName, std::ios::binary) << "v\r\nOui\r\n";
        std::ofstream(folders.programFolder / kEnglishLabelFileName, std::ios::binary) << "v\r\nYes\r\n";
    }

    std::filesystem::path documents() const { return folders.documentFolder; }
    std::filesystem::path traceFile() const { return folders.programDataFolder / kTraceFileName; }

    Application& makeApplication(std::optional<std::string> commandLineFile = std::nullopt) {
        app.emplace(shell, renderer, std::move(commandLineFile));
        return *app;
    }

    TempFolder temp;
    SystemFolders folders = test::foldersUnder(temp.path());
    RecordingShell shell{folders, TraceLog(folders.programDataFolder / kTraceFileName)};
    Renderer renderer{shell.trace()};
    std::optional<Application> app;
};

TEST_F(ApplicationTest, FirstFrameStartsANewSceneInTheDocumentsFolder) {
    Application& application = makeApplication();
    SceneObject* camera = application.scene.cameraObject();
    ASSERT_NE(camera, nullptr);
    // Left-overs of a title scene that the new scene must clear.
    camera->opacity = 0.25f;
    camera->animation = &application.scene.addAnimation("Camera");
    ASSERT_FALSE(std::filesystem::exists(documents()));

    application.frameStep(0.5, 1.0 / 60.0);

    EXPECT_TRUE(std::filesystem::is_directory(documents()));  // made for the scene
    EXPECT_EQ(application.scene.filePath, (documents() / "Nouvelle scene.mrx").string());
    EXPECT_EQ(application.sceneFileName, "Nouvelle scene.mrx");
    EXPECT_EQ(shell.titles, (std::vector<std::string>{kBuilderTitle, kNewSceneTitle}));
    EXPECT_EQ(camera->opacity, 1.0f);
    EXPECT_EQ(camera->animation, nullptr);
    EXPECT_EQ(application.attachedObject, nullptr);
    EXPECT_FALSE(application.startSceneMode);

    // Nothing is said and nothing is written for a plain start.
    EXPECT_TRUE(messageShown(*app).empty());
    EXPECT_TRUE(shell.closeRequests.empty());
    EXPECT_FALSE(std::filesystem::exists(documents() / "Nouvelle scene.mrx"));
    EXPECT_FALSE(std::filesystem::exists(traceFile()));
}

TEST_F(ApplicationTest, LabelsAreReadFromTheProgramFolderInTheSystemLanguage) {
    shell.french = false;
    Application& application = makeApplication();
    EXPECT_EQ(application.labels.language, Language::English);
    EXPECT_EQ(application.labels.text(1), "Yes");
    EXPECT_EQ(application.labels.findFrench("Oui"), 1);

    std::filesystem::remove(folders.programFolder / kEnglishLabelFileName);
    shell.french = true;
    Application& french = makeApplication();
    EXPECT_EQ(french.labels.language, Language::French);
    EXPECT_EQ(french.labels.text(1), "Oui");
    EXPECT_NE(readBytes(traceFile()).find(kEnglishLabelFileName), std::string::npos);
}

TEST_F(ApplicationTest, NewSceneNameSkipsAnExistingScene) {
    std::filesystem::create_directories(documents());
    test::writeBytes(documents() / "Nouvelle scene.mrx", "scene");
    Application& application = makeApplication();

    application.frameStep(0.0, 0.0);

    EXPECT_EQ(application.scene.filePath, (documents() / "Nouvelle scene1.mrx").string());
    EXPECT_EQ(application.sceneFileName, "Nouvelle scene1.mrx");
    EXPECT_EQ(shell.titles, (std::vector<std::string>{kBuilderTitle, "Morvanex \x96 Nouvelle scene1.mrx"}));
    EXPECT_EQ(readBytes(documents() / "Nouvelle scene.mrx"), "scene");  // left alone
}

TEST_F(ApplicationTest, StartUpEndsOnceOnly) {
    Application& application = makeApplication();
    application.frameStep(0.0, 0.016);
    ASSERT_EQ(shell.titles.size(), 2u);

    // Were the new scene started again, the camera would be reset and the
    // next free name (now "1") taken.
    test::writeBytes(documents() / "Nouvelle scene.mrx", "saved meanwhile");
    application.scene.cameraObject()->opacity = 0.5f;
    application.frameStep(0.016, 0.016);
    application.frameStep(0.032, 0.016);

    EXPECT_EQ(shell.titles.size(), 2u);
    EXPECT_EQ(application.scene.filePath, (documents() / "Nouvelle scene.mrx").string());
    EXPECT_EQ(application.scene.cameraObject()->opacity, 0.5f);
    EXPECT_TRUE(messageShown(*app).empty());
}

TEST_F(ApplicationTest, FrameStepKeepsFrameTimeAndAccumulatesTheRunningClock) {
    Application& application = makeApplication();
    EXPECT_EQ(renderer.runningClock, 0.0);
    application.frameStep(10.0, 0.25);
    EXPECT_DOUBLE_EQ(application.frameTime, 10.0);
    EXPECT_DOUBLE_EQ(renderer.runningClock, 0.25);
    application.frameStep(10.5, 0.5);
    application.frameStep(10.5, 0.0);
    EXPECT_DOUBLE_EQ(application.frameTime, 10.5);
    EXPECT_DOUBLE_EQ(renderer.runningClock, 0.75);
    for (int i = 0; i < 100; ++i) application.frameStep(11.0 + i * 0.01, 0.01);
    EXPECT_NEAR(renderer.runningClock, 1.75, 1e-9);
}

TEST_F(ApplicationTest, InterfaceFadeAdvancesWithTheFrames) {
    Application& application = makeApplication();
    application.interfaceFade.start(0.0f, 1.0f);
    application.frameStep(0.0, 0.1);
    const float afterOne = application.interfaceFade.value;
    EXPECT_GT(afterOne, 0.0f);
    EXPECT_LT(afterOne, 1.0f);
    for (int i = 0; i < 100 && application.interfaceFade.active; ++i) application.frameStep(0.1 * i, 0.1);
    EXPECT_FALSE(application.interfaceFade.active);
    EXPECT_EQ(application.interfaceFade.value, 1.0f);
}

// --- The file named on the command line -------------------------------------

class CommandLineFileTest : public ApplicationTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(CommandLineFileTest, IsReportedOnceThenANewSceneStarts) {
    const std::string file = std::string("/home/jean/Mes scenes/") + GetParam();
    Application& application = makeApplication(file);

    application.frameStep(0.0, 0.016);

    const std::string message = messageShown(application);
    ASSERT_FALSE(message.empty());
    EXPECT_NE(message.find(file), std::string::npos) << message;
    // The same text goes to the trace log, as one line.
    EXPECT_EQ(readBytes(traceFile()), message + "\r\n");
    // The new scene still starts: the user is not left without one.
    EXPECT_EQ(shell.titles, (std::vector<std::string>{kBuilderTitle, kNewSceneTitle}));
    EXPECT_EQ(application.scene.filePath, (documents() / "Nouvelle scene.mrx").string());

    // Said once, not on every frame.
    application.frameStep(0.016, 0.016);
    EXPECT_EQ(readBytes(traceFile()), message + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(Application, CommandLineFileTest,
                         ::testing::Values("Maison.mrx", "Cours 1.TUT", "voiture.obj", "arbre.3ds", "piece.dae",
                                           "notes.txt", "sans extension"));

TEST(ApplicationCommandLineFile, KindsGetTheirOwnMessages) {
    auto messageFor = [](const std::string& file) {
        TempFolder temp;
        const SystemFolders folders = test::foldersUnder(temp.path());
        RecordingShell shell(folders, TraceLog());
        Renderer renderer(shell.trace());
        Application application(shell, renderer, file);
        application.frameStep(0.0, 0.0);
        return messageShown(application);
    };
    // What the message says about the file, after its name.
    auto reasonFor = [&](const std::string& file) {
        const std::string message = messageFor(file);
        const std::size_t at = message.find(file);
        return at == std::string::npos ? std::string() : message.substr(at + file.size());
    };
    const std::string scene = reasonFor("a.mrx");
    const std::string unknown = reasonFor("a.txt");
    ASSERT_FALSE(scene.empty());
    ASSERT_FALSE(unknown.empty());
    // A known kind that cannot be opened yet is not called unknown, and
    // each known kind is told apart; models are imported, not opened.
    EXPECT_NE(scene, unknown);
    EXPECT_NE(reasonFor("a.tut"), scene);
    EXPECT_NE(reasonFor("a.tut"), unknown);
    EXPECT_EQ(messageFor("a.obj").rfind("Cannot import", 0), 0u) << messageFor("a.obj");
    // The kind does not depend on the extension's case.
    EXPECT_EQ(reasonFor("B.MRX"), scene);
    EXPECT_EQ(reasonFor("b.Tut"), reasonFor("a.tut"));
    EXPECT_EQ(messageFor("b.DAE").rfind("Cannot import", 0), 0u);
    EXPECT_EQ(reasonFor("b.Txt"), unknown);
}

TEST_F(ApplicationTest, CommandLineFileIsNamedInWindows1252) {
    // The command line gives UTF-8; the message box and trace take Windows-1252.
    Application& application = makeApplication(std::string("/home/jean/Vue g\xC3\xA9n\xC3\xA9rale.mrx"));
    application.frameStep(0.0, 0.0);
    const std::string message = messageShown(application);
    ASSERT_FALSE(message.empty());
    EXPECT_NE(message.find("/home/jean/Vue g\xE9n\xE9rale.mrx"), std::string::npos) << message;
    EXPECT_FALSE(test::containsUtf8MultiByteSequence(message));
    EXPECT_EQ(readBytes(traceFile()), message + "\r\n");
}

// --- The close question -------------------------------------------------------

TEST_F(ApplicationTest, CloseQuestionSaveWritesTheSceneThenCloses) {
    Application& application = makeApplication();
    application.frameStep(0.0, 0.0);  // names the new scene in the documents folder
    ASSERT_TRUE(application.saveSceneToPath(documents() / "Nouvelle scene.mrx"));  // it has its file now
    application.scene.addObject("boite");
    application.scene.modified = true;
    application.answerCloseQuestion(CloseAnswer::Save);
    EXPECT_TRUE(messageShown(*app).empty());
    ASSERT_EQ(shell.closeRequests.size(), 1u);
    EXPECT_FALSE(application.scene.modified);
    Scene saved;
    EXPECT_TRUE(readSceneFile(documents() / "Nouvelle scene.mrx", saved, {}).complete());
    EXPECT_NE(saved.findObject("boite"), nullptr);
}

TEST_F(ApplicationTest, CloseQuestionSaveThatFailsSaysWhyAndStaysOpen) {
    Application& application = makeApplication();
    ASSERT_TRUE(application.saveSceneToPath(temp.path() / "scene.mrx"));
    application.scene.addObject("boite");
    application.scene.modified = true;
    {
        const test::TinyFileSizeLimit diskFull;
        application.answerCloseQuestion(CloseAnswer::Save);
    }
    EXPECT_NE(messageShown(application).find("scene.mrx"), std::string::npos);
    EXPECT_TRUE(shell.closeRequests.empty());  // nothing was saved: the window must not go
    EXPECT_TRUE(application.scene.modified);
}

TEST_F(ApplicationTest, AnswersGivenDirectly) {
    Application& application = makeApplication();
    application.answerCloseQuestion(CloseAnswer::Cancel);
    EXPECT_TRUE(shell.closeRequests.empty());
    // A scene without a file: the save-as dialog asks where it goes first.
    application.answerCloseQuestion(CloseAnswer::Save);
    EXPECT_TRUE(shell.closeRequests.empty());
    const FileChooser* chooser = application.fileDialogs.builtinChooser();
    EXPECT_TRUE(chooser != nullptr && chooser->panel().visible);
    application.answerCloseQuestion(CloseAnswer::Discard);
    EXPECT_EQ(shell.closeRequests, (std::vector<bool>{true}));
}


}  // namespace
}  // namespace morvanex

namespace morvanex {
namespace {

// Until the full open procedure exists, a scene named on the command line is
// read straight into the scene.
TEST_F(ApplicationTest, CommandLineSceneIsReadIntoTheScene) {
    Scene source;
    source.addObject("boite");
    source.addObject("tube");
    const std::vector<std::uint8_t> bytes = writeScene(source, {});
    const std::filesystem::path file = temp.path() / "maison.mrx";
    test::writeBytes(file, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));

    Application& application = makeApplication(file.string());
    application.frameStep(0.0, 0.0);
    EXPECT_TRUE(messageShown(*app).empty());
    EXPECT_EQ(shell.titles, (std::vector<std::string>{kBuilderTitle, "Morvanex \x96 maison.mrx"}));
    EXPECT_NE(application.scene.findObject("tube"), nullptr);
    EXPECT_EQ(application.scene.filePath, file.string());
}

TEST_F(ApplicationTest, DamagedCommandLineSceneKeepsWhatWasReadAndSaysWhere) {
    Scene source;
    source.addObject("boite");
    source.addObject("tube");
    std::vector<std::uint8_t> bytes = writeScene(source, {});
    bytes.resize(bytes.size() - 20);  // the second object is cut short
    const std::filesystem::path file = temp.path() / "abimee.mrx";
    test::writeBytes(file, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));

    Application& application = makeApplication(file.string());
    application.frameStep(0.0, 0.0);
    EXPECT_NE(messageShown(application).find("damaged at byte"), std::string::npos) << messageShown(application);
    EXPECT_NE(application.scene.findObject("boite"), nullptr);
    EXPECT_EQ(application.scene.findObject("tube"), nullptr);
    EXPECT_EQ(shell.titles, (std::vector<std::string>{kBuilderTitle, "Morvanex \x96 abimee.mrx"}));
}

// A model named on the command line is imported into the new scene; the
// camera turns to it. Damage and changes are said once; a failed import
// adds nothing.
TEST_F(ApplicationTest, CommandLineModelIsImportedIntoTheNewScene) {
    const struct {
        const char* name;
        const char* text;
        std::size_t objectsAdded;
        std::size_t messages;
        const char* message;
    } cases[] = {
        {"triangle.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nvn 0 0 1\ng tri\nf 1//1 2//1 3//1\n", 1, 0, ""},
        {"damaged.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\nf 1 2 7\n", 1, 1, "is damaged: faces with an index"},
        {"quad.obj", "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3 4\n", 1, 1, "with changes: polygons with more than three corners, triangulated: 1"},
        {"empty.obj", "# no faces\n", 0, 1, "Cannot import"},
    };
    for (const auto& c : cases) {
        TempFolder home;
        const SystemFolders where = test::foldersUnder(home.path());
        RecordingShell recorder(where, TraceLog());
        Renderer unused(recorder.trace());
        const std::filesystem::path file = home.path() / c.name;
        test::writeBytes(file, c.text);
        Application application(recorder, unused, file.string());
        const std::size_t before = application.scene.objectCount();
        const Vec3 eyeTarget = application.camera.eyeTarget;

        application.frameStep(0.0, 0.0);

        EXPECT_EQ(application.scene.objectCount(), before + c.objectsAdded) << c.name;
        const std::string message = messageShown(application);
        EXPECT_EQ(message.empty(), c.messages == 0) << c.name << ": " << message;
        if (c.messages > 0) {
            EXPECT_NE(message.find(c.message), std::string::npos) << c.name << ": " << message;
        }
        // The model does not become the scene's file: it is saved as a new scene.
        EXPECT_EQ(recorder.titles.back(), kNewSceneTitle) << c.name;
        if (c.objectsAdded == 0) continue;
        const SceneObject& imported = *application.scene.objects().back();
        EXPECT_TRUE(application.scene.modified);
        EXPECT_TRUE(nearlyEqual(application.camera.orbitTarget,
                               transformPoint(imported.boundsCentre, imported.worldMatrix)))
            << c.name;
        EXPECT_FALSE(nearlyEqual(application.camera.eyeTarget, eyeTarget)) << c.name;
    }
}

TEST_F(ApplicationTest, TheRecentListKeepsOpenedAndSavedScenesAcrossRuns) {
    const auto writeFile = [&](const std::string& name) {
        Scene source;
        source.addObject("boite");
        const std::vector<std::uint8_t> bytes = writeScene(source, {});
        const std::filesystem::path file = temp.path() / name;
        test::writeBytes(file, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        return file;
    };
    const std::filesystem::path first = writeFile("Premiere.mrx");
    const std::filesystem::path second = writeFile("seconde.mrx");
    const std::filesystem::path list = documents() / kRecentListFileName;

    makeApplication(first.string()).frameStep(0.0, 0.0);
    app.reset();  // the program ends; the list stays
    makeApplication(second.string()).frameStep(0.0, 0.0);
    app.reset();
    makeApplication(first.string()).frameStep(0.0, 0.0);
    // Newest first, each scene once, paths kept exactly (capitals included).
    EXPECT_EQ(readBytes(list), first.string() + "\r\n" + second.string() + "\r\n");
    // The next run's file panel lists find them.
    EXPECT_EQ(app->recentFiles.waitUntilDone().recent.size(), 2u);

    // Saving puts the saved scene first.
    app->scene.modified = true;
    ASSERT_TRUE(app->saveSceneToPath(documents() / "sauvee.mrx"));
    EXPECT_EQ(parseListLines(readBytes(list)).front(), (documents() / "sauvee.mrx").string());
}

TEST_F(ApplicationTest, DraggingInTheViewTurnsTheCamera) {
    Application& application = makeApplication();
    application.frameStep(0.0, 0.0);
    application.screen.filePanel->setVisible(false);  // the new scene showed it
    const float yaw = application.camera.yaw;
    WindowMessage down;
    down.message = wm::LButtonDown;
    down.lParam = makeLParam(100, 100);
    EXPECT_TRUE(application.handleMessage(down));
    EXPECT_TRUE(shell.pointerCaptured);
    WindowMessage move = down;
    move.message = wm::MouseMove;
    move.lParam = makeLParam(300, 100);
    application.handleMessage(move);
    EXPECT_NEAR(application.camera.yaw, yaw - 0.2f, 1e-5f);
    WindowMessage up = move;
    up.message = wm::LButtonUp;
    application.handleMessage(up);
    EXPECT_FALSE(shell.pointerCaptured);
    EXPECT_TRUE(shell.pointerVisible);
}

TEST_F(ApplicationTest, APressOnAPanelStaysInTheInterfaceAndLeavesTheCameraAlone) {
    Application& application = makeApplication();
    application.frameStep(0.0, 0.0);
    Panel& panel = application.ui.createPanel("outils", 50, 50, 200, 200, PanelColourWords{});
    panel.hasTitleBar = true;
    panel.setVisible(true);
    const float yaw = application.camera.yaw;
    WindowMessage down;
    down.message = wm::LButtonDown;
    down.lParam = makeLParam(100, 55);  // the title bar
    EXPECT_TRUE(application.handleMessage(down));
    EXPECT_EQ(application.ui.movingPanel, &panel);
    WindowMessage move = down;
    move.message = wm::MouseMove;
    move.lParam = makeLParam(300, 155);
    application.handleMessage(move);
    WindowMessage up = move;
    up.message = wm::LButtonUp;
    application.handleMessage(up);
    EXPECT_EQ(panel.x, 250);
    EXPECT_EQ(panel.y, 150);
    EXPECT_FLOAT_EQ(application.camera.yaw, yaw);
    EXPECT_FALSE(shell.pointerCaptured);
}

TEST_F(ApplicationTest, TheCinematicViewLooksThroughTheAttachedObjectOutsideEditMode) {
    Application& application = makeApplication();
    application.frameStep(0.0, 0.0);
    SceneObject& rider = application.scene.addObject("nacelle");
    rider.worldMatrix = matrixTranslation(10.0f, 20.0f, 30.0f);
    application.attachedObject = &rider;
    application.cinematicMode = true;
    application.editMode = true;
    application.frameStep(0.1, 0.1);
    EXPECT_NE(application.camera.eye.x, 10.0f);  // edit mode: the camera is the user's
    application.editMode = false;
    application.frameStep(0.2, 0.1);
    EXPECT_FLOAT_EQ(application.camera.eye.x, 10.0f);
    EXPECT_FLOAT_EQ(application.camera.eye.y, 20.0f);
    EXPECT_FLOAT_EQ(application.camera.eyeTarget.z, 30.0f);
}

}  // namespace
}  // namespace morvanex
