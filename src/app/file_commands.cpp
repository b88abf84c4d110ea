// The file commands of the main screen: the open and save dialogs, the
// scene chosen in the file panel, the help document.
#include "app/application.h"

namespace morvanex {

std::optional<std::string> Application::chosenRecentScene() const { return std::nullopt; }

void Application::chooseModelOrScene(bool) {}

void Application::chooseSaveAsTarget(bool) {}

bool Application::saveSceneAs(const std::filesystem::path&, bool) { return false; }

void Application::openHelp() {}

}  // namespace morvanex
