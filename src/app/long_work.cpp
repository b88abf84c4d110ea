// Long work and what keeps the user's work safe while it runs: the waiting
// panel (the progress bar alone, drawn from the work's progress), and the
// autosave with its recovery at start.
#include <algorithm>

#include "app/application.h"
#include "app/shell_services.h"
#include "base/text_encoding.h"
#include "base/trace_log.h"
#include "render/renderer.h"
#include "scenefile/scene_writer.h"
#include "ui/label_numbers.h"
#include "ui/panel.h"

namespace morvanex {

// --- The waiting panel ----------------------------------------------------------

Application::LongWork::LongWork(Application& app) : app_(app), started_(app.clockSeconds()) {}

Application::LongWork::~LongWork() {
    if (!shown_) return;
    app_.waitingPanelVisible = false;
    if (Panel* panel = app_.screen.progressPanel) panel->setVisible(false);
    app_.setCursor(CursorShape::Arrow);
    // The time the work took is not a frame's worth of animation.
    app_.shell_.restartFrameClock();
}

ByteProgress Application::LongWork::progress() {
    return [this](std::uint64_t done, std::uint64_t total) { report(done, total); };
}

void Application::LongWork::report(std::uint64_t done, std::uint64_t total) {
    Panel* panel = app_.screen.progressPanel;
    if (panel == nullptr || total == 0) return;
    // Called for every record: nothing is drawn before the work has been
    // long enough to notice, nor more often than the screen can show.
    const double now = app_.clockSeconds();
    if (now - started_ < app_.waitingPanelDelay) return;
    if (shown_ && now - lastDrawn_ < app_.waitingPanelRedrawInterval) return;
    if (!shown_) {
        shown_ = true;
        app_.waitingPanelVisible = true;
        panel->setVisible(true);
        app_.setCursor(CursorShape::Wait);
    }
    const double share = static_cast<double>(std::min(done, total)) / static_cast<double>(total);
    panel->progress = static_cast<int>(share * panel->width);
    lastDrawn_ = now;
    // The frame step draws the waiting panel alone while it is visible.
    app_.runOneFrame();
}

void Application::drawWaitingPanel() {
    Panel* panel = screen.progressPanel;
    if (panel == nullptr || !panel->visible || !renderer_.canDraw()) return;
    panel->draw(0.0f);
    renderer_.ui.flush();
}

// --- Autosave -------------------------------------------------------------------

Application::~Application() {
    if (!scene.modified) removeSceneAutosave();
}

void Application::autosaveIfDue() {
    if (startSceneMode || scene.filePath.empty()) return;
    const bool busy = input.state.dragActive || input.state.creationStep != 0;
    const double now = clockSeconds();
    if (!autosaveTimer.due(now, scene.modified, busy)) return;
    // A failed autosave waits a whole interval too, rather than retrying each frame.
    autosaveTimer.written(now);
    autosaveScene();
}

bool Application::autosaveScene() {
    const std::filesystem::path scenePath = pathFromText(scene.filePath);
    const std::filesystem::path target = autosavePathOf(folders.archive, scenePath);
    ensureFolder(folders.archive);
    storeCameraInScene(camera, scene);
    LongWork work(*this);
    SceneWriteOptions options;
    options.progress = work.progress();
    const SceneWriteResult written = writeSceneFile(target, scene, options);
    std::string error = written.error;
    if (!written.ok || !writeAutosaveNote(target, scenePath, &error)) {
        shell_.trace().line("autosave of \"" + sceneFileName + "\": " + cp1252FromUtf8(error));
        return false;
    }
    sessionAutosave_ = target;
    return true;
}

void Application::removeSceneAutosave() {
    // Only what this run wrote for this scene: an autosave the user declined
    // at start stays until the next one replaces it.
    const std::filesystem::path scenePath = pathFromText(scene.filePath);
    if (sessionAutosave_.empty() || sessionAutosave_ != autosavePathOf(folders.archive, scenePath)) return;
    removeAutosaveOf(folders.archive, scenePath);
    sessionAutosave_.clear();
}

void Application::offerAutosaveRecovery() {
    std::vector<RecoverableAutosave> found = findRecoverableAutosaves(folders.archive);
    // A file opened from the command line is what the user wants now: only
    // its own autosave may take its place.
    if (commandLineFile_) {
        const std::filesystem::path opened = pathFromText(scene.filePath);
        std::erase_if(found, [&](const RecoverableAutosave& f) { return f.scene != opened; });
    }
    if (found.empty() || scene.modified) return;
    pendingRecovery_ = found.front();
    askQuestion(label(label::kRecoverAutosaveTitle), textFromPath(found.front().scene.filename()),
                label(label::kRecoverAutosaveLine1), label(label::kRecoverAutosaveLine2));
}

bool Application::recoverAutosave(const RecoverableAutosave& found) {
    if (!openSceneFrom(found.scene, found.autosave, SceneOpenMode::Plain)) return false;
    // Written again at the next autosave, removed by the next save.
    sessionAutosave_ = found.autosave;
    return true;
}

}  // namespace morvanex
