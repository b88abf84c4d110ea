#include "app/application.h"
#include "app/button_hints.h"
#include "app/shell_services.h"
#include "ui/label_numbers.h"

namespace morvanex {

void Application::buildInterface() {
    buildGuidanceHints();
    // Creation order is the panels' first stacking order: the tool panels
    // come between the file panel and the preview panel.
    buildScreenPanels();
    buildToolPanels();
    buildScreenPanelsAfterTools();
    addButtonHints(*this);
    screen.versionText = labels.frenchText(label::kVersionText);
    shell_.setWindowTitle("Morvanex " + screen.versionText);
}

}  // namespace morvanex
