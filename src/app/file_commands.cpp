// The file commands of the main screen: the open and save dialogs, the
// scene chosen in the file panel, the help document.
#include <filesystem>
#include <system_error>

#include "app/application.h"
#include "app/command_line.h"
#include "app/pending_tool_hooks.h"
#include "app/scene_commands.h"
#include "app/shell_services.h"
#include "base/text_encoding.h"
#include "base/trace_log.h"
#include "import/obj_writer.h"
#include "platform/help_opener.h"
#include "scenefile/scene_names.h"
#include "scenefile/scene_procedures.h"
#include "ui/file_chooser.h"
#include "ui/image_list.h"
#include "ui/interface.h"
#include "ui/label_numbers.h"
#include "ui/panel.h"

namespace morvanex {

namespace {

std::string utf8Text(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// The panel a press at (x, y) reaches first: the top visible one there.
const Panel* panelOnTopAt(const Interface& ui, int x, int y) {
    for (const Panel* panel : ui.panels) {
        if (panel->visible && !panel->inputSuspended && panel->contains(x, y)) return panel;
    }
    return nullptr;
}

}  // namespace

bool Application::takeDoubleClick(const WindowMessage& message) {
    if (message.message != wm::LButtonDoubleClick || waitingPanelVisible) return false;
    const int x = pointerX(message.lParam);
    const int y = pointerY(message.lParam);
    const Panel* top = panelOnTopAt(ui, x, y);
    if (top == nullptr) return false;
    // The first press of the double click already did what a click does;
    // as two more presses it would do it twice again (three folders up).
    if (FileChooser* chooser = fileDialogs.builtinChooser(); chooser != nullptr && top == &chooser->panel()) {
        return chooser->takeDoubleClick(x, y);
    }
    const FilePanelWidgets& file = screen.file;
    if (top != screen.filePanel || file.thumbnails == nullptr || !file.thumbnails->contains(x, y)) return false;
    const int chosen = file.thumbnails->selectedIndex;
    if (chosen < 0 || static_cast<std::size_t>(chosen) >= file.thumbnails->items.size()) return false;
    if (!file.thumbnails->items[static_cast<std::size_t>(chosen)]->contains(x, y)) return false;
    // The card the first press chose opens as its Open button would.
    pressButton(file.openChosenButton);
    return true;
}

void Application::chooseModelOrScene(bool meshUpdateMode) {
    FileDialogRequest request;
    request.filters = {{"3d files", {"mrx", "obj", "3ds", "dae", "tut"}}};
    request.startFolder = folders.documents;
    fileDialogs.chooseFile(request, [this, meshUpdateMode](FileDialogAnswer answer) {
        if (!answer) return;  // cancelled: nothing changes
        if (screen.filePanel != nullptr) screen.filePanel->setVisible(false);
        setCursor(CursorShape::Wait);
        if (meshUpdateMode && upperExtension(utf8Text(*answer)) == "MRX") {
            openScene(*answer, SceneOpenMode::MeshUpdate);
        } else {
            openFileByExtension(utf8Text(*answer));
        }
        setCursor(CursorShape::Arrow);
    });
}

void Application::chooseSaveAsTarget(std::function<void()> afterSaved) {
    FileDialogRequest request;
    request.save = true;
    request.filters = {{".MRX files", {"mrx", "obj"}}};
    request.startFolder = sceneDialogFolder();
    request.suggestedName = pathFromText(scene.filePath).filename();
    fileDialogs.chooseFile(request, [this, afterSaved = std::move(afterSaved)](FileDialogAnswer answer) {
        if (!answer) return;
        std::error_code error;
        // The name the save will really use is the one that must not be
        // replaced unasked.
        const bool obj = upperExtension(utf8Text(*answer)) == "OBJ";
        const std::filesystem::path target =
            obj ? *answer : saveTargetFor(*answer, folders.examples, folders.documents).path;
        if (std::filesystem::exists(target, error)) {
            pendingSaveTarget_ = *answer;
            afterSaveAs_ = afterSaved;
            askQuestion(label(label::kFileSaveButton), label(label::kOverwriteQuestionLine), "", "");
            return;
        }
        setCursor(CursorShape::Wait);
        const bool saved = saveSceneAs(*answer);
        setCursor(CursorShape::Arrow);
        // An OBJ export leaves the scene itself unsaved: nothing may go on
        // as if it were.
        if (saved && !scene.modified && afterSaved) afterSaved();
    });
}

bool Application::sceneHasFile() const {
    std::error_code error;
    return !scene.filePath.empty() && std::filesystem::is_regular_file(pathFromText(scene.filePath), error);
}

void Application::saveThen(std::function<void()> then) {
    // A scene never saved only has the name a new scene gets: the user
    // says where it goes.
    if (!sceneHasFile()) {
        chooseSaveAsTarget(std::move(then));
        return;
    }
    if (saveScene() && then) then();
}

bool Application::saveSceneAs(const std::filesystem::path& target) {
    if (upperExtension(utf8Text(target)) == "OBJ") {
        std::string error;
        if (exportObj(target, scene, error)) return true;
        const std::string shown = cp1252FromUtf8(utf8Text(target));
        shell_.trace().line("Cannot export \"" + shown + "\": " + cp1252FromUtf8(error));
        showMessage(label(label::kFileSaveButton), shown, cp1252FromUtf8(error), "");
        return false;
    }
    return saveSceneToPath(target);
}

std::optional<std::string> Application::chosenRecentScene() const {
    const FilePanelWidgets& file = screen.file;
    if (file.thumbnails == nullptr) return std::nullopt;
    const int chosen = file.thumbnails->selectedIndex;
    if (chosen < 0 || static_cast<std::size_t>(chosen) >= file.scenePaths.size()) return std::nullopt;
    return file.scenePaths[static_cast<std::size_t>(chosen)];
}

void Application::openHelp() {
    // The browser opens beside the program's window, never behind it.
    if (input.state.fullScreen) setFullScreen(false);
    const std::filesystem::path manual = manualPath(folders.program);
    std::string error;
    if (openManual(folders.program, error)) {
        shell_.trace().line("help: " + textFromPath(manual) + " handed to the web browser");
        return;
    }
    shell_.trace().line("help: " + cp1252FromUtf8(error));
    std::error_code status;
    if (!std::filesystem::is_regular_file(manual, status)) {
        showMessage(label(label::kTopBarHelpButton), cp1252FromUtf8(error), "", "");
        return;
    }
    // Nothing could show it: say where it is, so that it can be opened by hand.
    showMessage(label(label::kTopBarHelpButton), label(label::kManualNotShownLine), textFromPath(manual), "");
}

}  // namespace morvanex
