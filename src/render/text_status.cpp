#include "render/text_status.h"

#include <cmath>
#include <locale>
#include <iomanip>
#include <sstream>
#include <vector>

#include "render/renderer.h"
#include "render/text.h"
#include "scene/scene_limits.h"

namespace morvanex {

namespace {

std::string truncatedRate(double framesPerSecond) {
    if (!std::isfinite(framesPerSecond)) return "0";
    return std::to_string(static_cast<long long>(std::trunc(framesPerSecond)));
}

// As the selected object's box label writes sizes (the fonts lack the
// multiplication sign).
constexpr const char* kTimes = " x ";

// At most two decimals, without trailing zeros: 12.05, 1.5, 2.
std::string shortNumber(float value) {
    if (!std::isfinite(value)) return "?";
    std::ostringstream text;
    text.imbue(std::locale::classic());
    text << std::fixed << std::setprecision(2) << value;
    std::string s = text.str();
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    return s == "-0" ? "0" : s;
}

}  // namespace

std::string statusLineText(const StatusLineState& state) {
    std::vector<std::string> parts;
    if (state.showFrameRate) parts.push_back("Fps : " + truncatedRate(state.framesPerSecond));
    if (state.objectUnderPointer) {
        const Vec3& size = state.boundsSize;
        parts.push_back(state.objectName + "  " + shortNumber(size.x) + kTimes + shortNumber(size.y) + kTimes +
                        shortNumber(size.z));
    }
    if (state.labelOption && !state.label.empty()) parts.push_back(state.label);
    std::string text;
    for (const std::string& part : parts) text += (text.empty() ? "" : "   ") + part;
    return text;
}

void drawStatusLine(Renderer& renderer, const StatusLineState& state) {
    const std::string text = statusLineText(state);
    if (text.empty()) return;
    TextLine line(renderer, kMaxLineGlyphs);
    line.draw(static_cast<float>(renderer.height() - 30), 10.0f, text);
}

}  // namespace morvanex
