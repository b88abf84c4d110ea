// The button dispatcher: widgets carry no commands of their own, so every
// press reaches onButton, which recognises the widget by identity and runs
// its command. Tests run in a fixed order; the rules shared by every press
// run first. The tool panels' commands live with those panels.
#include <filesystem>

#include "app/application.h"
#include "app/command_line.h"
#include "app/shell_services.h"
#include "base/text_encoding.h"
#include "render/renderer.h"
#include "scene/scene_object.h"
#include "ui/check_box.h"
#include "ui/control3d.h"
#include "ui/image_button.h"
#include "ui/key_bar.h"
#include "ui/label_numbers.h"
#include "ui/menu.h"
#include "ui/panel.h"
#include "ui/tab_strip.h"

namespace morvanex {

namespace {

bool is(const Control3d& widget, const Control3d* field) { return field != nullptr && &widget == field; }

void setShown(Control3d* widget, bool shown) {
    if (widget != nullptr) widget->setVisible(shown);
}

// The toggles of the top bar and the corner are plain buttons: the
// command turns them over.
bool turnOver(Control3d& button) {
    button.checked = !button.checked;
    return button.checked;
}

void setChecked(Control3d* widget, bool checked) {
    if (widget != nullptr) widget->checked = checked;
}

void hidePanel(Panel* panel) {
    if (panel != nullptr && panel->visible) panel->setVisible(false);
}

void showPanel(Panel* panel) {
    if (panel != nullptr && !panel->visible) panel->setVisible(true);
}

}  // namespace

void Application::onButton(Panel& panel, Control3d& button) {
    applyRulesOfEveryPress(button);
    if (runScreenCommand(button)) return;
    if (answerDialog(button)) return;
    runToolPanelCommand(panel, button);
}

void Application::applyRulesOfEveryPress(Control3d& button) {
    if (!is(button, screen.top.rectangleSelection)) setChecked(screen.top.rectangleSelection, false);
    if (!is(button, screen.tools.modeling.groupSelection)) hidePanel(screen.picturePanel);
    // The grid tool makes the ground grid current: the settings panel has
    // nothing to show for it.
    if (screen.top.settingsButton != nullptr) screen.top.settingsButton->enabled = !is(button, screen.tools.modeling.grid);
}

bool Application::runScreenCommand(Control3d& button) {
    return runTopBarCommand(button) || runCornerCommand(button) || runCameraPanelCommand(button) ||
           runFilePanelCommand(button) || runCapturePanelCommand(button) || runBrowserCommand(button);
}

// --- Top bar -------------------------------------------------------------------

bool Application::runTopBarCommand(Control3d& button) {
    TopBarWidgets& top = screen.top;
    if (is(button, top.modelingButton)) {
        // The panel itself opens through the button; its own refresh selects
        // the first tab and the translation tool.
        if (currentObject == nullptr && screen.modelingPanel != nullptr) screen.modelingPanel->title.clear();
        shell_.restartFrameClock();
        return true;
    }
    if (is(button, top.cameraAnimationButton) || is(button, top.objectAnimationButton)) {
        const bool cameraMode = is(button, top.cameraAnimationButton);
        screen.tools.animation.cameraMode = cameraMode;
        if (screen.animationPanel != nullptr) {
            screen.animationPanel->title =
                label(cameraMode ? label::kTopBarCameraAnimationButton : label::kTopBarObjectAnimationButton);
        }
        // New animations then belong to the camera object.
        if (cameraMode) releaseCurrentObject();
        refreshAnimationList();
        return true;
    }
    if (is(button, top.quitButton)) {
        WindowMessage close;
        close.message = wm::Close;
        shell_.postMessage(close);
        return true;
    }
    if (is(button, top.helpButton)) {
        openHelp();
        return true;
    }
    if (is(button, top.fullScreen)) {
        setFullScreen(!input.state.fullScreen);
        return true;
    }
    if (is(button, top.wireframe)) {
        // The edges of the hovered or selected object.
        frameSettings.edgeOption = turnOver(button);
        return true;
    }
    if (is(button, top.autoZoom)) {
        // The button shows the inverse of the flag.
        autoZoom = !turnOver(button);
        return true;
    }
    if (is(button, top.rectangleSelection) || is(button, top.lockY) || is(button, top.repeatTube)) {
        turnOver(button);
        return true;
    }
    if (is(button, top.makeGhost)) {
        if (currentObject != nullptr) {
            currentObject->ghost = true;
            scene.modified = true;
        }
        return true;
    }
    if (is(button, top.clearGhosts)) {
        for (const auto& object : scene.objects()) object->ghost = false;
        scene.modified = true;
        return true;
    }
    if (is(button, top.walk)) {
        toggleWalkMode(turnOver(button));
        return true;
    }
    if (is(button, top.cinematic)) {
        toggleCinematicMode(turnOver(button));
        return true;
    }
    if (is(button, top.enterGroup)) {
        enterCurrentGroup();
        return true;
    }
    if (is(button, top.leaveGroup)) {
        leaveGroup();
        return true;
    }
    if (is(button, top.reopenTube) || is(button, top.reopenSurface)) {
        reopenSweepTool(is(button, top.reopenTube));
        return true;
    }
    // The panel buttons open their panels through `opensPanel`.
    return is(button, top.fileButton) || is(button, top.captureButton) || is(button, top.settingsButton);
}

void Application::setFullScreen(bool on) {
    input.state.fullScreen = on;
    setChecked(screen.top.fullScreen, on);
    applyFullScreen(on);
}

void Application::toggleFullScreenButton() { setChecked(screen.top.fullScreen, input.state.fullScreen); }

void Application::toggleWalkMode(bool on) {
    if (on) {
        walkMode = true;
        if (screen.file.walkRadio != nullptr) screen.file.walkRadio->selectInGroup();
        setChecked(screen.top.cinematic, false);
        cinematicMode = false;
        switchAnimationsToWalkMode(true);
    } else {
        if (screen.file.normalViewRadio != nullptr) screen.file.normalViewRadio->selectInGroup();
        walkMode = false;
        switchAnimationsToWalkMode(false);
    }
    savedWalkMode = walkMode;
}

void Application::toggleCinematicMode(bool on) {
    cinematicMode = on;
    if (!on && playbackTarget_ != nullptr) {
        // Back to where the viewer stood when the playback started.
        restoreCameraOfStartedPlayback();
        return;
    }
    if (screen.file.cinematicRadio != nullptr) screen.file.cinematicRadio->selectInGroup();
    // The radio's group sets the flags it binds; the button's state wins.
    cinematicMode = on;
    setChecked(screen.top.walk, false);
    switchAnimationsToWalkMode(false);
    walkMode = false;
    savedWalkMode = false;
}

void Application::leaveGroup() {
    if (currentObject != nullptr) clearSelectionMark(currentObject->groupLeader);
    releaseCurrentObject();
    releaseModelingTools();
    selectFirstTab(screen.tools.modeling.tabs);
    hidePanel(screen.settingsPanel);
    setShown(screen.top.leaveGroup, false);
    refreshObjectPanels();
}

void Application::reopenSweepTool(bool tube) {
    showPanel(screen.modelingPanel);
    if (screen.tools.modeling.tabs != nullptr) {
        screen.tools.modeling.tabs->select(1);
        enterModelingTab(1);
    }
    const ModelingPanelWidgets& m = screen.tools.modeling;
    const bool helix = currentObject != nullptr && SweepEditing::toolThatMade(*currentObject) == SweepTool::Helix;
    Control3d* tool = !tube ? m.surface : helix ? m.helix : m.tube;
    if (tool == nullptr || screen.modelingPanel == nullptr) return;
    tool->selectInGroup();
    onButton(*screen.modelingPanel, *tool);
}

// --- Corner button -------------------------------------------------------------

bool Application::runCornerCommand(Control3d& button) {
    if (!is(button, screen.cornerButton)) return false;
    editMode = turnOver(button);
    setChecked(screen.top.autoZoom, !autoZoom);
    setChecked(screen.top.walk, walkMode);
    if (editMode) {
        switchEditingInterfaceOn();
    } else {
        switchEditingInterfaceOff();
    }
    return true;
}

void Application::switchEditingInterfaceOn() {
    secondObject = nullptr;
    selectFirstTab(screen.tools.settings.tabs);
    showPanel(screen.cameraPanel);
    showPanel(screen.topBar);
    // No walking while editing; the mode comes back with the player.
    savedWalkMode = walkMode;
    walkMode = false;
    setShown(screen.top.enterGroup, false);
    setShown(screen.top.leaveGroup, false);
    if (screen.animationPanel != nullptr && screen.animationPanel->visible && screen.tools.currentAnimation != nullptr) {
        selectCurrentAnimationAgain();
    } else if (playbackTarget_ != nullptr) {
        restoreCameraOfStartedPlayback();
    }
}

void Application::switchEditingInterfaceOff() {
    walkMode = savedWalkMode;
    for (Panel* panel : {screen.modelingPanel, screen.picturePanel, screen.browserPanel, screen.textureMappingPanel,
                         screen.settingsPanel, screen.topBar, screen.cameraPanel}) {
        hidePanel(panel);
    }
    for (Control3d* button : {static_cast<Control3d*>(screen.top.reopenTube), static_cast<Control3d*>(screen.top.reopenSurface),
                              static_cast<Control3d*>(screen.top.enterGroup), static_cast<Control3d*>(screen.top.leaveGroup)}) {
        setShown(button, false);
    }
    clearSelectionMark(currentObject);
    releaseCurrentObject();
    secondObject = nullptr;
    camera.orbitTarget = camera.eye;
    releaseModelingTools();
    selectFirstTab(screen.tools.settings.tabs);
    selectFirstTab(screen.tools.modeling.tabs);
    screen.tools.animation.cameraMode = screen.animationPanel != nullptr && screen.animationPanel->visible &&
                                        screen.animationPanel->title == label(label::kTopBarCameraAnimationButton);
    setChecked(screen.top.wireframe, false);
    frameSettings.edgeOption = false;
}

// --- Camera panel ----------------------------------------------------------------

bool Application::runCameraPanelCommand(Control3d& button) {
    const CameraPanelWidgets& pads = screen.camera;
    const std::pair<const Control3d*, PresetView> views[] = {
        {pads.eastView, PresetView::East},   {pads.westView, PresetView::West}, {pads.southView, PresetView::South},
        {pads.northView, PresetView::North}, {pads.topView, PresetView::Top},
    };
    for (const auto& [widget, view] : views) {
        if (is(button, widget)) {
            presetView(camera, view, currentObjectCentre());
            // Seen from the new side, what is looked at fits the free part of the view.
            frameCurrentObjectOrScene();
            return true;
        }
    }
    return is(button, pads.orbitPad) || is(button, pads.panPad) || is(button, pads.zoomPad);
}

// --- File panel ------------------------------------------------------------------

bool Application::runFilePanelCommand(Control3d& button) {
    FilePanelWidgets& file = screen.file;
    if (is(button, file.open3dButton)) {
        if (leaveFullScreenFirst(button)) return true;
        // A merge only adds to the scene: nothing to save first.
        if (!screen.file.mergeChosen && askToSaveFirst(button, label::kOpenFileQuestionTitle)) return true;
        chooseModelOrScene(false);
        return true;
    }
    if (is(button, file.saveAsButton)) {
        if (leaveFullScreenFirst(button)) return true;
        chooseSaveAsTarget();
        return true;
    }
    if (is(button, file.openChosenButton)) {
        if (!screen.file.mergeChosen && askToSaveFirst(button, label::kOpenSceneQuestionTitle)) return true;
        openChosenScene();
        return true;
    }
    if (is(button, file.importButton)) {
        // Adds to the scene: nothing to save first.
        importChosenScene();
        return true;
    }
    if (is(button, file.saveButton)) {
        hidePanel(screen.filePanel);
        saveScene();
        return true;
    }
    if (is(button, file.newButton)) {
        if (askToSaveFirst(button, label::kNewSceneQuestionTitle)) return true;
        makeNewScene();
        return true;
    }
    return false;
}

bool Application::leaveFullScreenFirst(Control3d& button) {
    if (!input.state.fullScreen) return false;
    // The file chooser runs in a window: leave full screen, then run the
    // command again once the window has settled.
    setFullScreen(false);
    deferredWidget = &button;
    WindowMessage rerun;
    rerun.message = wm::RerunAfterFullScreen;
    shell_.postMessage(rerun);
    return true;
}

void Application::rerunCommandAfterFullScreen() {
    Control3d* widget = deferredWidget;
    deferredWidget = nullptr;
    if (widget != nullptr && screen.browserPanel != nullptr) onButton(*screen.browserPanel, *widget);
}

bool Application::askToSaveFirst(Control3d& button, int titleLabel) {
    if (!scene.modified) return false;
    interruptedCommand_ = &button;
    askQuestion(label(titleLabel), label(label::kSaveChangesQuestionLine), "", "");
    return true;
}

void Application::makeNewScene() {
    forgetSceneObjects();
    scene.clearContent();
    scene.modified = false;
    renderer_.prepareScene(scene, {});
    beginNewScene();
}

void Application::openChosenScene() {
    const std::optional<std::string> path = chosenRecentScene();
    if (!path) return;
    hidePanel(screen.filePanel);
    setCursor(CursorShape::Wait);
    openFileByExtension(utf8FromCp1252(*path));
    setCursor(CursorShape::Arrow);
}

void Application::importChosenScene() {
    const std::optional<std::string> path = chosenRecentScene();
    if (!path) return;
    hidePanel(screen.filePanel);
    setCursor(CursorShape::Wait);
    if (upperExtension(*path) == "MRX") {
        openScene(pathFromText(*path), SceneOpenMode::Merge);
    } else {
        openFileByExtension(utf8FromCp1252(*path));
    }
    setCursor(CursorShape::Arrow);
}

// --- Capture and browser panels ----------------------------------------------------

bool Application::runCapturePanelCommand(Control3d& button) {
    if (is(button, screen.capture.saveViewButton)) {
        saveViewpointHook();
        return true;
    }
    if (is(button, screen.capture.deleteViewButton)) {
        deleteChosenViewpointHook();
        return true;
    }
    return false;
}

bool Application::runBrowserCommand(Control3d& button) {
    if (!is(button, screen.browser.chooseFileButton)) return false;
    if (leaveFullScreenFirst(button)) return true;
    chooseTextureFileHook();
    return true;
}

// --- The two dialogs ----------------------------------------------------------------

bool Application::answerDialog(Control3d& button) {
    const MessageDialogWidgets& message = screen.message;
    const QuestionDialogWidgets& question = screen.question;
    if (is(button, message.okButton) || is(button, message.cancelButton)) {
        const std::string title = screen.messageDialog != nullptr ? screen.messageDialog->title : std::string();
        hidePanel(screen.messageDialog);
        if (is(button, message.okButton)) answerToolPanelMessage(title);
        return true;
    }
    Answer answer = Answer::Cancel;
    if (is(button, question.yesButton)) {
        answer = Answer::Yes;
    } else if (is(button, question.noButton)) {
        answer = Answer::No;
    } else if (!is(button, question.cancelButton)) {
        return false;
    }
    const std::string title = screen.questionDialog != nullptr ? screen.questionDialog->title : std::string();
    hidePanel(screen.questionDialog);
    answerQuestion(title, answer);
    return true;
}

void Application::answerQuestion(const std::string& title, Answer answer) {
    // The dialogs keep no identifier: the title says which question this is,
    // tested in a fixed order.
    const int saveQuestions[] = {label::kNewSceneQuestionTitle, label::kOpenSceneQuestionTitle,
                                 label::kOpenFileQuestionTitle};
    for (const int number : saveQuestions) {
        if (title != label(number)) continue;
        Control3d* command = interruptedCommand_;
        interruptedCommand_ = nullptr;
        if (answer == Answer::Cancel || command == nullptr) return;
        // Saved, or the changes are given up: the command runs again and
        // finds nothing left to ask about.
        const auto rerun = [this, command] {
            scene.modified = false;
            if (screen.filePanel != nullptr) onButton(*screen.filePanel, *command);
        };
        if (answer == Answer::Yes) {
            saveThen(rerun);
        } else {
            rerun();
        }
        return;
    }
    if (title == label(label::kCloseQuestionTitle)) {
        answerCloseQuestion(answer == Answer::Yes ? CloseAnswer::Save
                            : answer == Answer::No ? CloseAnswer::Discard
                                                   : CloseAnswer::Cancel);
        return;
    }
    if (title == label(label::kRecoverAutosaveTitle)) {
        const std::optional<RecoverableAutosave> found = std::exchange(pendingRecovery_, std::nullopt);
        if (answer == Answer::Yes && found) recoverAutosave(*found);
        return;
    }
    if (title == label(label::kFileSaveButton)) {
        const std::optional<std::filesystem::path> target = std::exchange(pendingSaveTarget_, std::nullopt);
        const std::function<void()> afterSaved = std::exchange(afterSaveAs_, nullptr);
        if (answer != Answer::Yes || !target) return;
        if (saveSceneAs(*target) && !scene.modified && afterSaved) afterSaved();
    }
}

// --- Menus ------------------------------------------------------------------------

void Application::onMenuItem(Menu& menu, MenuItem&) {
    // The menus act through their rows; what follows here is what the rest
    // of the screen shows of the change.
    if (&menu == screen.scaleMenu && screen.keyBar != nullptr) {
        const int scale = screen.keyBar->scaleIndex;
        if (scale >= 0 && scale < static_cast<int>(screen.keyBarScaleRadios.size())) {
            if (RadioButton* radio = screen.keyBarScaleRadios[static_cast<std::size_t>(scale)]) radio->selectInGroup();
        }
    }
}

// --- Shared steps ------------------------------------------------------------------

void Application::forgetSceneObjects() {
    releaseCurrentObject();
    secondObject = nullptr;
    mergeList.clear();
    viewTools.forgetAbsentObjects(nullptr);
    screen.tools.currentAnimation = nullptr;
    undoHistory.clear();
}

void Application::releaseCurrentObject() {
    currentObject = nullptr;
    viewTools.selection.groupSelected = false;
    // The object widgets must not keep pointing into the released object.
    bindToolPanelsToCurrentObject();
}

void Application::selectFirstTab(Onglets* tabs) {
    if (tabs != nullptr) tabs->select(0);
}

std::optional<Vec3> Application::currentObjectCentre() const {
    if (currentObject == nullptr) return std::nullopt;
    return transformPoint(currentObject->boundsCentre, currentObject->worldMatrix);
}

// --- Hooks of the subsystems that own these steps ------------------------------------

void Application::switchAnimationsToWalkMode(bool) {
    // Which sequence references move in walk mode comes with the animation subsystem.
}

void Application::selectCurrentAnimationAgain() {
    // Comes with the animation panel's list.
}

void Application::clearSelectionMark(SceneObject* object) {
    // An object is marked while it waits in the merge list.
    std::erase(mergeList, object);
}

void Application::enterCurrentGroup() {
    // The group's leader becomes current, and clicks on any member act on it.
    if (currentObject == nullptr || currentObject->groupLeader == nullptr) return;
    viewTools.selectObject(*currentObject->groupLeader);
    viewTools.selection.groupSelected = true;
}

void Application::enterModelingTab(int) {
    // The tab's own refresh comes with the value dispatchers.
}

void Application::refreshObjectPanels() {
    // The object lists come with the value dispatchers.
}

void Application::saveViewpointHook() {
    // Viewpoint files come with the viewpoint store; until then the button says so.
    tellNotBuiltYet();
}

void Application::deleteChosenViewpointHook() {
    // Viewpoint files come with the viewpoint store; until then the button says so.
    tellNotBuiltYet();
}

void Application::tellNotBuiltYet() {
    showMessage(label(label::kNotBuiltYetTitle), label(label::kNotBuiltYetLine), "", "");
}

void Application::chooseTextureFileHook() {
    // Texture slots of the current object come with texture editing.
}

}  // namespace morvanex
