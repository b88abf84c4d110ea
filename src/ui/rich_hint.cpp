#include "ui/rich_hint.h"

#include <algorithm>
#include <cmath>

#include "render/interface_drawing.h"

namespace morvanex {

namespace {

constexpr float kLineSpacing = 20.0f;
constexpr float kPictureOpacity = 0.6f;

}  // namespace

void RichHint::addLine(std::string_view text, const InterfaceDrawing& drawing) {
    lines.emplace_back(text);
    float widest = 0.0f;
    for (const std::string& line : lines) widest = std::max(widest, drawing.measureText(line));
    width = static_cast<int>(widest) + 40;
    height = static_cast<int>(static_cast<double>(lines.size()) * 22.0 * 1.55);
}

void RichHint::draw(InterfaceDrawing& drawing, float dt, bool followPointer, const Interface&) {
    float baseX = 0.0f;
    float baseY = 0.0f;
    if (anchored) {
        baseX = static_cast<float>(x - 10);
        baseY = static_cast<float>(y - 13);
        if (!shown) {
            shown = true;
            timer.start();
            colour = kTransparentWhite;
        }
        timer.step(dt);
        const float target = timer.value >= 0.01f && timer.active ? 1.0f : 0.0f;
        fadeColour(colour, {1.0f, 1.0f, 1.0f, target}, kHintFadeRate, dt);
    } else {
        colour = kOpaqueWhite;
        baseX = static_cast<float>(freeX);
        baseY = static_cast<float>(freeY + 120);
    }
    if (followPointer) {
        baseX = static_cast<float>(pointerX + 30);
        baseY = static_cast<float>(pointerY);
    }
    if (colour.w < 0.004f) return;
    if (picture != nullptr) {
        const float left = static_cast<float>(x - 20);
        const float top = static_cast<float>(y) - 0.52f * static_cast<float>(height);
        drawing.imageQuad(picture, {left, top, static_cast<float>(width), static_cast<float>(height)},
                          {1.0f, 1.0f, 1.0f, kPictureOpacity * colour.w});
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        drawing.text(baseY + kLineSpacing * static_cast<float>(i), baseX, lines[i], {1.0f, 1.0f, 1.0f, colour.w});
    }
}

}  // namespace morvanex
