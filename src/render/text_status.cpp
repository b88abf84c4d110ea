#include "render/text_status.h"

#include <cmath>
#include <locale>
#include <sstream>

#include "render/renderer.h"
#include "render/text.h"
#include "scene/scene_limits.h"

namespace morvanex {

namespace {

std::string truncatedRate(double framesPerSecond) {
    if (!std::isfinite(framesPerSecond)) return "0";
    return std::to_string(static_cast<long long>(std::trunc(framesPerSecond)));
}

}  // namespace

std::string statusLineText(const StatusLineState& state) {
    std::ostringstream text;
    text.imbue(std::locale::classic());
    text << "Fps : " << truncatedRate(state.framesPerSecond) << "   " << kProgramVersionLabel;
    if (state.objectUnderPointer) {
        text << ' ' << state.objectName << '(' << state.boundsSize.x << " , " << state.boundsSize.y << " , "
             << state.boundsSize.z << ")\n : face " << state.faceIndex;
    }
    if (state.labelOption) text << ' ' << state.label;
    text << ' ' << state.lastPickedIndex;
    return text.str();
}

void drawStatusLine(Renderer& renderer, const StatusLineState& state) {
    TextLine line(renderer, kMaxLineGlyphs);
    line.draw(static_cast<float>(renderer.height() - 30), 10.0f, statusLineText(state));
}

}  // namespace morvanex
