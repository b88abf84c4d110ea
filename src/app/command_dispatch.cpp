#include "app/application.h"

namespace morvanex {

void Application::onButton(Panel& panel, Control3d& button) { runToolPanelCommand(panel, button); }

void Application::onMenuItem(Menu&, MenuItem&) {}

}  // namespace morvanex
