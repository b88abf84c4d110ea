#include "app/application.h"

namespace morvanex {

void Application::buildScreenPanels() {}

void Application::showMessage(std::string_view, std::string_view, std::string_view, std::string_view,
                              std::string_view, std::string_view) {}

void Application::askQuestion(std::string_view, std::string_view, std::string_view, std::string_view,
                              std::string_view) {}

void Application::onPanelShown(Panel& panel) { refreshToolPanelOnShown(panel); }

void Application::onPanelHidden(Panel& panel) { onToolPanelHidden(panel); }

}  // namespace morvanex
