#include "ui/key_bar.h"

#include <algorithm>

#include "render/interface_drawing.h"
#include "render/renderer.h"
#include "render/texture_image.h"
#include "ui/interface.h"
#include "ui/interface_host.h"
#include "ui/panel.h"

namespace morvanex {

namespace {

constexpr std::string_view kTrackImage = "cursorsbar3.bmp";
constexpr std::string_view kOverlayImage = "cursorsbar4.dds";
constexpr std::string_view kSoundBandImage = "avsound.bmp";
constexpr std::string_view kKnobImage = "pis.dds";
constexpr std::string_view kSelectedKnobImage = "pis2.dds";
constexpr std::string_view kInsertKnobImage = "pis4.dds";
constexpr int kSoundLengthBand = 77;  // below the bar's top
constexpr int kSoundPlayedBand = 74;
constexpr float kSoundBandHeight = 5.0f;
constexpr int kMenuAbovePointer = 5;

}  // namespace

bool PCursorsBar::handleInput(const WindowMessage&) { return false; }

CursorsBar::CursorsBar() {
    kind = "keybar";
    insertKnob.keyBar = this;
    insertKnob.value = &insertTime;
    insertKnob.visible = false;
}

// ---------------------------------------------------------------------------
// Knobs and scale

Cursor& CursorsBar::addKnob(float* time) {
    auto knob = std::make_unique<Cursor>();
    knob->panel = panel;
    knob->keyBar = this;
    knob->value = time;
    knob->knobImage = drawing().image(kKnobImage);
    knob->syncFromValue();
    knobs.push_back(std::move(knob));
    return *knobs.back();
}

void CursorsBar::clearKnobs() {
    if (interface().capturedWidget != nullptr) {
        for (const auto& knob : knobs) {
            if (interface().capturedWidget == knob.get()) interface().endDrag(*knob);
        }
    }
    knobs.clear();
}

void CursorsBar::setScale(int index) {
    scaleIndex = std::clamp(index, 0, static_cast<int>(kKeyBarScales.size()) - 1);
    secondsPerPixel = kKeyBarScales[static_cast<std::size_t>(scaleIndex)];
    for (const auto& knob : knobs) knob->syncFromValue();
}

Cursor* CursorsBar::selectedKnob() const {
    for (const auto& knob : knobs) {
        if (knob->checked) return knob.get();
    }
    return nullptr;
}

int CursorsBar::barLeft() const { return screenX() + static_cast<int>(scrollOffset); }
int CursorsBar::barTop() const { return screenY(); }

int CursorsBar::knobRowTop(const Cursor& knob) const {
    return barTop() + (&knob == &insertKnob ? kInsertionBandTop : kKeyKnobTop);
}

void CursorsBar::knobPressed(Cursor& pressed) {
    if (&pressed == &insertKnob) return;
    for (const auto& knob : knobs) knob->checked = knob.get() == &pressed;
}

void CursorsBar::knobReleased(Cursor&) {
    sortKnobs();
    if (onKeysSorted) onKeysSorted();
    host().markSceneModified();
}

void CursorsBar::sortKnobs() {
    std::stable_sort(knobs.begin(), knobs.end(), [](const auto& a, const auto& b) {
        const float ta = a->value != nullptr ? *a->value : 0.0f;
        const float tb = b->value != nullptr ? *b->value : 0.0f;
        return ta < tb;
    });
}

// ---------------------------------------------------------------------------
// Input

bool CursorsBar::inside(int px, int py) const { return contains(px, py); }

bool CursorsBar::inInsertionBand(int py) const {
    const int top = barTop();
    return py >= top + kInsertionBandTop && py < top + kInsertionBandBottom;
}

bool CursorsBar::offerToKnobs(const WindowMessage& message) {
    bool taken = false;
    for (const auto& knob : knobs) {
        if (!knob->visible) continue;
        // Moves reach every knob so that each knows whether it is hot.
        if (knob->handleInput(message)) {
            taken = true;
            if (message.message != wm::MouseMove) return true;
        }
    }
    return taken;
}

bool CursorsBar::handlePress(const WindowMessage& message) {
    const int px = messageX(message);
    const int py = messageY(message);
    if (!enabled || !inside(px, py)) return false;
    if (offerToKnobs(message)) return true;
    if (inInsertionBand(py) && insertKnob.handleInput(message)) return true;
    interface().beginDrag(*this, message);
    scrolling = true;
    offsetAtPress_ = scrollOffset;
    return true;
}

bool CursorsBar::handleMove(const WindowMessage& message) {
    const int px = messageX(message);
    const int py = messageY(message);
    if (scrolling) {
        if (scrollEnabled) scrollOffset = std::min(0.0f, static_cast<float>(px - (pressX - offsetAtPress_)));
        // Back at the press point, the scroll goes on from where it is.
        if (interface().wrapAtEdge(*this, px, py)) offsetAtPress_ = scrollOffset;
        return true;
    }
    if (!inside(px, py)) {
        hot = false;
        return false;
    }
    hot = true;
    if (scaleMenu != nullptr && scaleMenu->visible) scaleMenu->setVisible(false);
    insertKnob.visible = false;
    offerToKnobs(message);
    if (inInsertionBand(py)) {
        insertKnob.visible = true;
        insertKnob.knobPos = static_cast<float>(px - barLeft());
        insertTime = static_cast<float>(insertKnob.knobPos * secondsPerPixel);
        insertKnob.handleInput(message);
    }
    return true;
}

bool CursorsBar::handleRelease(const WindowMessage& message) {
    if (scrolling) {
        scrolling = false;
        interface().endDrag(*this);
        return true;
    }
    if (!inside(messageX(message), messageY(message))) return false;
    return offerToKnobs(message);
}

bool CursorsBar::handleRightPress(const WindowMessage& message) {
    const int px = messageX(message);
    const int py = messageY(message);
    if (!enabled || !inside(px, py)) return false;
    if (scaleMenu != nullptr) {
        scaleMenu->x = px;
        scaleMenu->y = py - kMenuAbovePointer;
        scaleMenu->setVisible(true);
        interface().popupPanel = scaleMenu;
    }
    return true;
}

bool CursorsBar::handleInput(const WindowMessage& message) {
    if (!visible) return false;
    switch (message.message) {
        case wm::LButtonDown:
        case wm::LButtonDoubleClick: return handlePress(message);
        case wm::MouseMove: return handleMove(message);
        case wm::LButtonUp: return handleRelease(message);
        case wm::RButtonDown: return handleRightPress(message);
        default: return false;
    }
}

// ---------------------------------------------------------------------------
// Drawing

void CursorsBar::drawSound(InterfaceDrawing& ui, float left, float top) {
    if (sound->drawWaveform) sound->drawWaveform(ui, left, top, secondsPerPixel);
    const TextureImage* band = ui.image(kSoundBandImage);
    const auto pixels = [&](double seconds) { return static_cast<float>(seconds / secondsPerPixel); };
    ui.imageQuad(band, {left, top + kSoundLengthBand, pixels(sound->lengthSeconds), kSoundBandHeight}, kOpaqueWhite);
    ui.imageQuad(band, {left, top + kSoundPlayedBand, pixels(sound->playedSeconds), kSoundBandHeight}, kOpaqueWhite);
}

void CursorsBar::draw(float dt) {
    if (deleteKeyButton != nullptr) deleteKeyButton->enabled = selectedKnob() != nullptr;
    InterfaceDrawing& ui = drawing();
    const float left = static_cast<float>(barLeft());
    const float top = static_cast<float>(barTop());
    if (clipped) {
        ui.setClip({static_cast<float>(screenX()), top, static_cast<float>(width), static_cast<float>(height)});
    }
    const UiRect track{left, top, static_cast<float>(kKeyBarTrackWidth) - scrollOffset, static_cast<float>(height)};
    ui.imageQuad(ui.image(kTrackImage), track, kOpaqueWhite);
    if (sound != nullptr) drawSound(ui, left, top);
    ui.imageQuad(ui.image(kOverlayImage), track, kOpaqueWhite);
    const TextureImage* knobImage = ui.image(kKnobImage);
    const TextureImage* selectedImage = ui.image(kSelectedKnobImage);
    for (const auto& knob : knobs) {
        if (!knob->visible) continue;
        knob->knobImage = knob->checked && selectedImage != nullptr ? selectedImage : knobImage;
        knob->draw(dt);
    }
    if (insertKnob.visible) insertKnob.draw(dt);
    if (clipped) ui.clearClip();
}

// ---------------------------------------------------------------------------
// Add operation

CursorsBar& addKeyBar(Panel& panel, int x, int y, int width, int height, Panel* scaleMenu) {
    PCursorsBar& addedPattern = panel.add(makeWidget<PCursorsBar>(x, y, width, height));
    auto bar = makeWidget<CursorsBar>(x, y, width, height);
    bar->clipped = addedPattern.clipped;
    bar->scrollEnabled = addedPattern.scrollEnabled;
    bar->scaleMenu = scaleMenu;
    CursorsBar& added = panel.add(std::move(bar));
    added.insertKnob.panel = &panel;
    added.insertKnob.knobImage = panel.renderer().ui.image(kInsertKnobImage);
    addedPattern.bar = &added;
    return added;
}

}  // namespace morvanex
