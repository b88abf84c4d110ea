#include "app/application.h"

#include <chrono>
#include <filesystem>
#include <thread>

#include "app/command_line.h"
#include "app/interface_language.h"
#include "app/model_import.h"
#include "app/scene_commands.h"
#include "app/screen_builders.h"
#include "app/shell_services.h"
#include "app/window_rules.h"
#include "base/text_encoding.h"
#include "base/trace_log.h"
#include "import/model_file.h"
#include "render/renderer.h"
#include "scene/scene_object.h"
#include "scenefile/scene_names.h"
#include "ui/image_button.h"
#include "ui/label_files.h"
#include "ui/label_numbers.h"

namespace morvanex {

namespace {

// Command-line words are UTF-8.
std::filesystem::path pathOfArgument(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace

Application::Application(ShellServices& shell, Renderer& renderer, std::optional<std::string> commandLineFile,
                         StartScene startScene)
    : input(*this, camera),
      ui(renderer, *this, labels),
      folders(programFolders(shell.folders())),
      shell_(shell),
      renderer_(renderer),
      commandLineFile_(std::move(commandLineFile)),
      passes_(renderer) {
    clockSeconds = [this] { return now(); };
    // A language chosen in an earlier run wins over the locale.
    const Language language =
        rememberedLanguage(folders.documents).value_or(languageFromLocale(shell.frenchInterface()));
    labels = loadLabelTables(shell.folders().programFolder, language, shell.trace());
    buildInterface();
    // Gathered while the interface is built; the file panel waits for it.
    recentFiles.start({folders.examples, folders.documents, {}});
    // The title plays while the rest of start-up settles.
    prepareStartScenes(startScene);
    frameSettings.drawStatusLine = [this] { drawStatusLine(renderer_, statusLine); };
    frameSettings.drawWidgets = [this] {
        layOutTopBarToggles();
        if (editMode) drawObjectNameHint();
        screen::keepCornerBesideTopBar(screen, viewWidth());
        ui.draw(static_cast<float>(frameDelta_));
        // Over every panel, and only while the editing interface is on.
        if (editMode) {
            chooseGuidanceHint();
            renderer_.ui.flush();
        }
    };
    input.panels.push_back(&interfaceReceiver_);
    viewTools.creationTools = &creationTools_;
    input.tools = &viewTools;
    frameSettings.drawTrajectoriesAndCurves = [this] { creationTools_.drawOverlays(); };
    frameSettings.drawGizmoAndMarks = [this] { viewTools.drawGizmoAndMarks(renderer_); };
    renderer_.clearColour = scene.backgroundColour;
}

void Application::setCursor(CursorShape shape) { shell_.setCursor(shape); }

std::string Application::clipboardText() const { return shell_.clipboardText(); }

void Application::setClipboardText(std::string_view text) { shell_.setClipboardText(text); }

double Application::now() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void Application::frameStep(double t, double dt) {
    frameTime = t;
    frameDelta_ = dt;
    // Panels shown before the drawing (start-up, commands) centre in this size.
    ui.setViewSize(renderer_.width(), renderer_.height());
    renderer_.runningClock += dt;
    if (startSceneMode) advanceStartFades(dt);
    // With no title scene playing, start-up ends on the first frame.
    if (!startSceneMode && !startSceneEnded_) endStartScene();
    interfaceFade.step(static_cast<float>(dt));
    if (waitingPanelVisible) {
        drawWaitingPanel();
        return;
    }
    autosaveIfDue();
    updateSceneForFrame(dt);
    rebuildLightServiceMatrix();
    updateCamera(dt);
    updateObjectSounds();
    creationTools_.frame();
    drawFrame();
    // A cinematic camera gives the rest of the system some air.
    if (attachedObject != nullptr && !editMode) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void Application::endStartScene() {
    startSceneMode = false;
    startSceneEnded_ = true;
    if (titleOpen_) leaveTitleScene();
    createTrajectoryMarkers();
    resetCameraAngles();
    attachedObject = nullptr;
    showCornerPanelButton();
    handleCommandLineFile();
    offerAutosaveRecovery();
}

void Application::handleCommandLineFile() {
    if (!commandLineFile_) {
        startNewScene();
        return;
    }
    const std::string& file = *commandLineFile_;
    if (modelFormatOf(pathOfArgument(file)) != ModelFormat::None) {
        // A model named at start-up arrives in a new scene of its own.
        beginNewScene();
        if (!openFileByExtension(file)) showFilePanel();
        return;
    }
    openFileByExtension(file);
}

void Application::beginNewScene() {
    const auto& documents = shell_.folders().documentFolder;
    ensureFolder(documents);
    scene.filePath = textFromPath(newScenePath(documents));
    // A new scene's own lights, not the last file's or the title's.
    scene.resetLights();
    sceneFileName = sceneFileNameOf(scene.filePath);
    shell_.setWindowTitle(sceneWindowTitle(labels.language, kTitlePrefixOnOpen, sceneFileName));
    if (SceneObject* cameraTarget = scene.cameraObject()) {
        cameraTarget->opacity = 1.0f;
        cameraTarget->animation = nullptr;
    }
}

void Application::startNewScene() {
    beginNewScene();
    showFilePanel();
}

bool Application::openFileByExtension(const std::string& path) {
    const std::string ext = upperExtension(path);
    if (ext == "MRX") return openSceneFile(path);
    if (modelFormatOf(pathOfArgument(path)) != ModelFormat::None) return importModel(path);
    // Tutorials arrive with their subsystem; until then the user is told
    // plainly and gets an empty scene rather than a half-open one.
    const std::string text = "Cannot open \"" + cp1252FromUtf8(path) + "\": " +
                             (ext == "TUT" ? std::string("opening tutorial files is not available in this version.")
                                           : std::string("this kind of file is not known."));
    tellUser(label::kCannotOpenTitle, text);
    startNewScene();
    return false;
}

bool Application::importModel(const std::string& path) {
    const std::filesystem::path file = pathOfArgument(path);
    const std::string shown = cp1252FromUtf8(path);
    LongWork work(*this);
    ImportOptions options;
    options.progress = work.progress();
    const ImportResult result = importModelIntoScene(file, scene, std::move(options));
    if (!result.ok()) {
        tellUser(label::kCannotOpenTitle, "Cannot import \"" + shown + "\": " + cp1252FromUtf8(result.error) + ".");
        return false;
    }
    renderer_.prepareScene(scene, {});
    if (result.placeCamera && result.frameObject != nullptr) {
        frameImportedObject(camera, *result.frameObject, viewWidth(), viewHeight());
    }
    // Every line of the report goes to the trace, and the person is told what
    // was dropped or changed: damage first, then what was made to fit.
    std::string damage;
    std::string changes;
    for (const std::string& line : importReportLines(result.report)) {
        shell_.trace().line("\"" + shown + "\": " + cp1252FromUtf8(line));
        const bool damaged = line.rfind("damage: ", 0) == 0;
        std::string& list = damaged ? damage : changes;
        list += (list.empty() ? "" : "; ") + cp1252FromUtf8(damaged ? line.substr(8) : line);
    }
    if (!damage.empty()) {
        tellUser(label::kDamagedFileTitle, "\"" + shown + "\" is damaged: " + damage +
                                               ". What could be read is imported." +
                                               (changes.empty() ? "" : " Also: " + changes + "."));
    } else if (!changes.empty()) {
        tellUser(label::kImportReportTitle, "\"" + shown + "\" is imported with changes: " + changes + ".");
    }
    return true;
}

void Application::handleTouch(const WindowMessage& message) { input.translateTouch(message); }

// --- Routing host --------------------------------------------------------------

void Application::sendMessage(const WindowMessage& message) { shell_.sendMessage(message); }
void Application::runOneFrame() { shell_.runOneFrame(); }
void Application::capturePointer(bool captured) { shell_.capturePointer(captured); }
void Application::showPointer(bool visible) { shell_.showPointer(visible); }
void Application::movePointerOnScreen(int screenX, int screenY) { shell_.movePointerOnScreen(screenX, screenY); }
void Application::pointerScreenPosition(int& screenX, int& screenY) const {
    shell_.pointerScreenPosition(screenX, screenY);
}
void Application::screenToClient(int& x, int& y) const { shell_.screenToClient(x, y); }
void Application::applyFullScreen(bool on) { shell_.applyFullScreen(on); }
int Application::viewWidth() const { return renderer_.width(); }
int Application::viewHeight() const { return renderer_.height(); }
Mat4 Application::viewProjection() const {
    return cameraFrameView(camera, renderer_.width(), renderer_.height()).projection;
}

void Application::askCloseQuestion() {
    // The answer comes back through the question dialog's buttons.
    askQuestion(label(label::kCloseQuestionTitle), label(label::kSaveChangesQuestionLine), "", "");
}

void Application::answerCloseQuestion(CloseAnswer answer) {
    switch (answer) {
    case CloseAnswer::Save: saveThen([this] { shell_.closeWindow(true); }); break;
    case CloseAnswer::Discard: shell_.closeWindow(true); break;
    case CloseAnswer::Cancel: break;
    }
}

// --- Hooks filled by the subsystems that own these steps -------------------

void Application::updateSceneForFrame(double) {
    // Posing at the open key, world matrices and playback come with the
    // transform and animation subsystems.
}

void Application::rebuildLightServiceMatrix() {
    // Comes with the object transforms.
}

void Application::updateCamera(double dt) {
    CameraFrameInput frame;
    frame.dt = static_cast<float>(dt);
    // Obstacles for the walk and the avatar of the follow mode come with
    // picking; until then nothing is in the way.
    morvanex::updateCamera(camera, frame);
    if (cinematicMode && !editMode && attachedObject != nullptr) {
        cinematicView(camera, attachedObject->worldMatrix, attachedObject->boundsCentre);
    }
}

void Application::updateObjectSounds() {
    // Comes with sound playback.
}

void Application::drawFrame() {
    if (!renderer_.canDraw()) return;
    const FrameView view = cameraFrameView(camera, renderer_.width(), renderer_.height());
    frameSettings.editMode = editMode;
    frameSettings.orbitTarget = camera.orbitTarget;
    pickUnderPointer(view);
    statusLine.showFrameRate = screen.file.frameCounterOn;
    statusLine.framesPerSecond = frameDelta_ > 0.0 ? 1.0 / frameDelta_ : 0.0;
    passes_.drawFrame(scene, view, frameSettings, frameTime, frameDelta_);
    // The next frame is cleared to this scene's background.
    renderer_.clearColour = scene.backgroundColour;
}

void Application::pickUnderPointer(const FrameView& view) {
    viewTools.pickUnderCursor(view, renderer_.width(), renderer_.height());
    // The hover marks belong to the view: none while the pointer is over a
    // panel or outside the window, whatever the last pick found there.
    // A dragged object keeps its mark wherever the pointer goes.
    const PickState nothing{};
    const bool marked = viewTools.selection.draggedObject != nullptr || pointerOverView();
    const PickState& pick = marked ? viewTools.pick : nothing;
    scene.currentObject = currentObject;
    const ModelingPanelWidgets& m = screen.tools.modeling;
    ToolDrawState& tools = frameSettings.tools;
    tools.faceTool = m.faceSelection != nullptr && m.faceSelection->checked;
    tools.selectionTool = tools.faceTool || (m.weightSelection != nullptr && m.weightSelection->checked) ||
                          (m.groupSelection != nullptr && m.groupSelection->checked);
    tools.pointerTool = editMode;
    tools.hovered = pick.hoveredObject;
    tools.hoveredFace = tools.faceTool && pick.hoveredObject == currentObject ? pick.hoveredTriangle : -1;
    // Markers and handles are not the object itself.
    const SceneObject* hovered = editMode && pick.hoveredTriangle >= 0 ? pick.hoveredObject : nullptr;
    statusLine.objectUnderPointer = hovered != nullptr;
    statusLine.objectName = hovered != nullptr ? hovered->name : std::string();
    statusLine.boundsSize = hovered != nullptr ? hovered->boundsMax - hovered->boundsMin : Vec3{};
}

bool Application::pointerOverView() const {
    int x = 0;
    int y = 0;
    pointerScreenPosition(x, y);
    screenToClient(x, y);
    const bool inWindow = x >= 0 && y >= 0 && x < viewWidth() && y < viewHeight();
    return inWindow && !ui.pointerOverInterface[0] && ui.panelAt(x, y) == nullptr;
}

void Application::createTrajectoryMarkers() {
    // Comes with the trajectory editor.
}

void Application::resetCameraAngles() { morvanex::resetCameraAngles(camera); }

void Application::showCornerPanelButton() {
    if (screen.cornerPanel != nullptr && !screen.cornerPanel->visible) screen.cornerPanel->setVisible(true);
}

void Application::showFilePanel() {
    // Shown, it centres itself in the window and comes to the front.
    if (screen.filePanel != nullptr) screen.filePanel->setVisible(true);
}

void Application::rememberRecentFile(const std::string& pathText) {
    // The file panel shows the new list at its next showing.
    screen.file.listStale = true;
    const RecentUpdate update = addRecentFile(folders.documents, folders.examples, pathText);
    if (update.outcome == RecentUpdate::Outcome::Failed) {
        shell_.trace().line(std::string(kRecentListFileName) + ": " + update.error);
    }
}

}  // namespace morvanex
