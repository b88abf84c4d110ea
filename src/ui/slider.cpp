#include "ui/slider.h"

#include "render/interface_drawing.h"
#include "render/renderer.h"
#include "render/texture_image.h"
#include "ui/colour_hsv.h"
#include "ui/edit_box.h"
#include "ui/image_button.h"
#include "ui/interface.h"
#include "ui/interface_host.h"
#include "ui/key_bar.h"
#include "ui/label_table.h"
#include "ui/panel.h"

namespace morvanex {

namespace {

constexpr double kPixels = kTrackLength;
constexpr int kPastTheEnd = kTrackLength + 1;  // the knob runs free up to here
constexpr int kBrightnessKind = 3;
constexpr int kCaptionAboveTrack = 23;
constexpr int kEditBoxFromTrack = 157;
constexpr int kEditBoxAboveTrack = 5;
constexpr std::string_view kTrackImage = "scrollbar8.dds";
constexpr std::string_view kKnobImage = "scrollbar4.dds";
constexpr std::string_view kValueBoxImage = "button2.dds";
constexpr Vec4 kHotTint{0.46f, 1.0f, 1.0f, 0.8f};
constexpr Vec4 kRestTint{1.0f, 1.0f, 1.0f, 0.9f};
constexpr Vec4 kCaptionColour{1.0f, 1.0f, 1.0f, 1.0f};

constexpr SliderKindRange kKinds[] = {
    {},                                    // 0: none
    {kPi / kPixels, kPi, 0.0f},            // 1: half turn
    {1.0 / kPixels, 1.0f, 0.0f},           // 2: unit
    {255.0 / kPixels, 255.0f, 0.0f},       // 3: colour brightness
    {4.0 * kPi / kPixels, kTwoPi, -kTwoPi},  // 4: two turns either way
    {32.0 / kPixels, 32.0f, 0.0f},         // 5
    {0.01, 1e14f, 0.0f},                   // 6: unbounded in practice
    {10.0 / kPixels, 1.0f, 0.0f},          // 7: reaches its maximum early
    {200.0 / kPixels, 200.0f, 0.0f},       // 8
    {5.0 / kPixels, 1.0f, 0.0f},           // 9: reaches its maximum early
    {kTwoPi / kPixels, kPi, -kPi},         // 10: a turn either way
    {0.2 / kPixels, 0.2f, 0.0f},           // 11
    {0.1 / kPixels, 0.1f, 0.0f},           // 12
    {100.0 / kPixels, 100.0f, 0.0f},       // 13
};

bool centredKind(int kind) { return kind == 4 || kind == 10; }

}  // namespace

SliderKindRange sliderKindRange(int kind) {
    if (kind < 1 || kind >= static_cast<int>(std::size(kKinds))) return {};
    return kKinds[kind];
}

// ---------------------------------------------------------------------------
// Track

bool ScrollBar::handleInput(const WindowMessage&) { return false; }

void ScrollBar::draw(float) {
    drawing().imageQuad(texture,
                        {static_cast<float>(screenX()), static_cast<float>(screenY()), static_cast<float>(width),
                         static_cast<float>(height)},
                        kOpaqueWhite);
}

// ---------------------------------------------------------------------------
// Knob geometry and values

double Cursor::effectiveScale() const { return keyBar != nullptr ? keyBar->secondsPerPixel : scale; }

int Cursor::knobLeft() const {
    const int knobWidth = knobImage != nullptr ? knobImage->width : 0;
    const int origin = keyBar != nullptr ? keyBar->barLeft() : (track != nullptr ? track->screenX() : screenX());
    return origin + static_cast<int>(knobPos) - knobWidth / 2;
}

int Cursor::knobTop() const {
    const int knobHeight = knobImage != nullptr ? knobImage->height : 0;
    if (keyBar != nullptr) return keyBar->knobRowTop(*this);
    if (track != nullptr) return track->screenY() + track->height / 2 - knobHeight / 2;
    return screenY();
}

bool Cursor::insideKnob(int px, int py) const {
    if (knobImage == nullptr) return false;
    const int left = knobLeft();
    const int top = knobTop();
    return px >= left && px < left + knobImage->width && py >= top && py < top + knobImage->height;
}

void Cursor::applyBrightnessToColour() {
    if (colour != nullptr && value != nullptr) *colour = withBrightness(*colour, *value);
}

void Cursor::resyncSiblings() {
    for (Cursor* sibling : siblings) {
        if (sibling != nullptr) sibling->syncFromValue();
    }
}

void Cursor::valueEdited() {
    if (sliderKind == kBrightnessKind) {
        applyBrightnessToColour();
        resyncSiblings();
    }
    // Only the knob follows: the box keeps the text being typed.
    placeKnobFromValue();
}

void Cursor::placeKnobFromValue() {
    const double s = effectiveScale();
    const float v = value != nullptr ? *value : 0.0f;
    knobPos = s != 0.0 ? static_cast<float>(v / s) : 0.0f;
    if (s != 0.0 && centredKind(sliderKind)) knobPos += static_cast<float>(maxValue / s);
}

void Cursor::syncFromValue() {
    if (sliderKind == kBrightnessKind && colour != nullptr && value != nullptr) *value = brightnessOf(*colour);
    placeKnobFromValue();
    if (editBox != nullptr) editBox->setFloat(value != nullptr ? *value : 0.0f);
}

// ---------------------------------------------------------------------------
// Input

void Cursor::press(const WindowMessage& message) {
    Panel* popup = interface().popupPanel;
    if (popup != nullptr && popup->visible) popup->setVisible(false);
    valueAtPress = value != nullptr ? *value : 0.0f;
    knobPosAtPress = knobPos;
    interface().beginDrag(*this, message);
    if (keyBar != nullptr) keyBar->knobPressed(*this);
    host().onSliderPress(*this);
}

void Cursor::dragTo(int px, int py) {
    const int dx = px - pressX;
    const float p = knobPosAtPress + static_cast<float>(dx);
    float v = 0.0f;
    if (p < 0.0f) {
        knobPos = 0.0f;
        v = minValue;
    } else if (p < static_cast<float>(kPastTheEnd) || keyBar != nullptr) {
        knobPos = p;
        v = static_cast<float>(valueAtPress + static_cast<double>(dx) * effectiveScale());
    } else {
        knobPos = static_cast<float>(kTrackLength);
        v = maxValue;
    }
    if (value != nullptr) *value = v;
    if (editBox != nullptr) editBox->setFloat(v);
    if (linkedSibling != nullptr) linkedSibling->syncFromValue();
    // Back at the press point, the drag goes on from where the knob is.
    if (interface().wrapAtEdge(*this, px, py)) {
        knobPosAtPress = knobPos;
        valueAtPress = v;
    }
    if (sliderKind == kBrightnessKind) {
        applyBrightnessToColour();
        resyncSiblings();
    }
    host().onSliderDrag(*this);
}

void Cursor::release() {
    interface().endDrag(*this);
    if (keyBar != nullptr) keyBar->knobReleased(*this);
    host().onSliderRelease(*this);
}

bool Cursor::handleInput(const WindowMessage& message) {
    const int px = messageX(message);
    const int py = messageY(message);
    if (isLeftPress(message)) {
        if (!enabled || !visible || !insideKnob(px, py)) return false;
        press(message);
        return true;
    }
    if (dragging && message.message == wm::MouseMove) {
        dragTo(px, py);
        return true;
    }
    if (dragging && message.message == wm::LButtonUp) {
        release();
        return true;
    }
    if (message.message == wm::MouseMove) {
        hot = visible && insideKnob(px, py);
        return hot;
    }
    return false;
}

// ---------------------------------------------------------------------------
// Drawing

void Cursor::draw(float dt) {
    refreshLabel(labels(), captionLabel, caption);
    fadeColour(tint, hot ? kHotTint : kRestTint, kWidgetFadeRate, dt);
    InterfaceDrawing& ui = drawing();
    if (knobImage != nullptr) {
        ui.imageQuad(knobImage,
                     {static_cast<float>(knobLeft()), static_cast<float>(knobTop()),
                      static_cast<float>(knobImage->width), static_cast<float>(knobImage->height)},
                     tint);
    }
    if (track != nullptr && !caption.empty()) {
        ui.text(static_cast<float>(track->screenY() - kCaptionAboveTrack), static_cast<float>(track->screenX()),
                caption, kCaptionColour);
    }
}

// ---------------------------------------------------------------------------
// Add operation

Cursor& addSlider(Panel& panel, int x, int y, float* bound, int kind, std::string_view caption, Control3d* owner) {
    InterfaceDrawing& ui = panel.renderer().ui;
    auto track = std::make_unique<ScrollBar>();
    track->texture = ui.image(kTrackImage);
    track->x = x;
    track->y = y;
    track->width = track->texture != nullptr ? track->texture->width : kTrackLength;
    track->height = track->texture != nullptr ? track->texture->height : 0;
    ScrollBar& addedTrack = panel.add(std::move(track));

    auto knob = std::make_unique<Cursor>();
    knob->track = &addedTrack;
    knob->knobImage = ui.image(kKnobImage);
    knob->x = x;
    knob->y = y;
    knob->width = kTrackLength;
    knob->height = knob->knobImage != nullptr ? knob->knobImage->height : 0;
    knob->value = bound;
    knob->sliderKind = kind;
    const SliderKindRange range = sliderKindRange(kind);
    knob->scale = range.scale;
    knob->maxValue = range.maxValue;
    knob->minValue = range.minValue;
    knob->caption = std::string(caption);
    knob->captionLabel = labelOf(panel, caption);
    Cursor& addedKnob = panel.add(std::move(knob));

    EditBox& box = addEditBox(panel, "", "", x + kEditBoxFromTrack, y - kEditBoxAboveTrack, kValueBoxImage,
                              EditFilter::Decimal, "0.5");
    box.boundFloat = bound;
    box.slider = &addedKnob;
    addedKnob.editBox = &box;
    if (owner != nullptr) {
        addDependant(*owner, addedTrack);
        addDependant(*owner, addedKnob);
        addDependant(*owner, box);
    }
    return addedKnob;
}

}  // namespace morvanex
