// The file commands of the main screen: the open and save dialogs, the
// scene chosen in the file panel, the help document.
#include "app/application.h"
#include "base/text_encoding.h"
#include "platform/help_opener.h"
#include "app/shell_services.h"
#include "base/trace_log.h"
#include "ui/label_numbers.h"

namespace morvanex {

std::optional<std::string> Application::chosenRecentScene() const { return std::nullopt; }

void Application::chooseModelOrScene(bool) {}

void Application::chooseSaveAsTarget(bool) {}

bool Application::saveSceneAs(const std::filesystem::path&, bool) { return false; }

void Application::openHelp() {
    // The browser opens beside the program's window, never behind it.
    if (input.state.fullScreen) setFullScreen(false);
    std::string error;
    if (!openManual(folders.program, error)) {
        shell_.trace().line("help: " + cp1252FromUtf8(error));
        showMessage(label(label::kTopBarHelpButton), cp1252FromUtf8(error), "", "");
    }
}

}  // namespace morvanex
