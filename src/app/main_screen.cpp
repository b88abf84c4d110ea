#include "app/application.h"

namespace morvanex {

void Application::buildInterface() {
    buildGuidanceHints();
    buildScreenPanels();
    buildToolPanels();
}

}  // namespace morvanex
