#include "ui/colour_widgets.h"

#include "render/interface_drawing.h"
#include "render/renderer.h"
#include "render/texture_image.h"
#include "ui/colour_fade.h"
#include "ui/colour_hsv.h"
#include "ui/interface.h"
#include "ui/interface_host.h"
#include "ui/panel.h"

namespace morvanex {

namespace {

constexpr int kPickerRight = 30;
constexpr int kPickerDown = 10;
constexpr float kFullBrightness = 255.0f;
constexpr Vec4 kOpaqueBlack{0.0f, 0.0f, 0.0f, 1.0f};

}  // namespace

// ---------------------------------------------------------------------------
// Swatch

void Colorsel::placePicker() {
    if (pickerPanel == nullptr) return;
    pickerPanel->x = screenX() + kPickerRight;
    pickerPanel->y = screenY() + kPickerDown;
}

bool Colorsel::handleInput(const WindowMessage& message) {
    const int px = messageX(message);
    const int py = messageY(message);
    if (isLeftPress(message)) {
        if (!enabled || !visible) return false;
        if (!contains(px, py)) {
            if (pickerPanel != nullptr && pickerPanel->visible) pickerPanel->setVisible(false);
            return false;
        }
        for (Panel* child : panel->childPanels) child->setVisible(false);
        if (pickerPanel != nullptr) {
            placePicker();
            pickerPanel->setVisible(true);
            interface().bringToFront(*pickerPanel);
        }
        return true;
    }
    if (message.message == wm::MouseMove) {
        hot = visible && contains(px, py);
        if (hot) host().setCursor(CursorShape::Hand);
        return hot;
    }
    return false;
}

void Colorsel::draw(float dt) {
    if (boundColour != nullptr) fadeColour(shownColour, *boundColour, kBodyFadeRate, dt);
    const UiRect rect{static_cast<float>(screenX()), static_cast<float>(screenY()), static_cast<float>(width),
                      static_cast<float>(height)};
    InterfaceDrawing& ui = drawing();
    ui.filledRect(rect, {shownColour.x, shownColour.y, shownColour.z, 1.0f});
    ui.imageQuad(frame, rect, kOpaqueWhite);
    placePicker();
}

// ---------------------------------------------------------------------------
// Gradient bar

bool ColorBar::handleInput(const WindowMessage&) { return false; }

std::array<Vec4, 4> ColorBar::targetCorners() const {
    Vec4 left = leftColour;
    Vec4 right = rightColour;
    if (boundColour != nullptr) {
        left = kOpaqueBlack;
        right = withBrightness(*boundColour, kFullBrightness);
        right.w = 1.0f;
    }
    return {left, right, right, left};
}

void ColorBar::draw(float dt) {
    const std::array<Vec4, 4> targets = targetCorners();
    for (std::size_t i = 0; i < corners.size(); ++i) fadeColour(corners[i], targets[i], kBodyFadeRate, dt);
    drawing().gradientQuad({static_cast<float>(screenX()), static_cast<float>(screenY()), static_cast<float>(width),
                            static_cast<float>(height)},
                           corners);
}

// ---------------------------------------------------------------------------
// Add operations

Colorsel& addColourSwatch(Panel& panel, int x, int y, Vec4* bound, Panel* picker) {
    auto swatch = std::make_unique<Colorsel>();
    swatch->x = x + kSwatchFromX;
    swatch->y = y;
    swatch->width = kSwatchWidth;
    swatch->height = kSwatchHeight;
    swatch->boundColour = bound;
    if (bound != nullptr) swatch->shownColour = *bound;
    swatch->pickerPanel = picker;
    swatch->frame = panel.renderer().ui.image("colorsel.dds");
    return panel.add(std::move(swatch));
}

namespace {

ColorBar& makeColorBar(Panel& panel, int x, int y) {
    auto bar = std::make_unique<ColorBar>();
    bar->x = x;
    bar->y = y;
    bar->width = kColorBarWidth;
    bar->height = kColorBarHeight;
    return panel.add(std::move(bar));
}

}  // namespace

ColorBar& addColorBar(Panel& panel, int x, int y, Vec4* bound) {
    ColorBar& bar = makeColorBar(panel, x, y);
    bar.boundColour = bound;
    bar.corners = bar.targetCorners();
    return bar;
}

ColorBar& addColorBar(Panel& panel, int x, int y, const Vec4& left, const Vec4& right) {
    ColorBar& bar = makeColorBar(panel, x, y);
    bar.leftColour = left;
    bar.rightColour = right;
    bar.corners = bar.targetCorners();
    return bar;
}

}  // namespace morvanex
