#include "app/application.h"

namespace morvanex {

void Application::buildGuidanceHints() {}

void Application::chooseGuidanceHint() {}

}  // namespace morvanex
