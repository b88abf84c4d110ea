#include "app/application.h"

namespace morvanex {

void Application::buildToolPanels() {}

bool Application::runToolPanelCommand(Panel&, Control3d&) { return false; }

void Application::refreshToolPanelOnShown(Panel&) {}

void Application::onToolPanelHidden(Panel&) {}

bool Application::answerToolPanelMessage(const std::string&) { return false; }

}  // namespace morvanex
