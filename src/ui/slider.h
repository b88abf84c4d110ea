// Sliders: a knob (`Cursor`) dragged along a 144-pixel track (`ScrollBar`),
// with a decimal edit box beside it showing the value. The kind fixes the
// value per pixel and the range. The knobs of the key bar are sliders too:
// their value is a key's time, their scale the bar's seconds per pixel.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "ui/colour_fade.h"
#include "ui/control3d.h"

namespace morvanex {

class CursorsBar;
class EditBox;
class TextureImage;

inline constexpr int kTrackLength = 144;

// Value per pixel and range of a slider kind; kinds outside the table have
// none (colour bars driven by the application).
struct SliderKindRange {
    double scale = 0.0;
    float maxValue = 0.0f;
    float minValue = 0.0f;
};
SliderKindRange sliderKindRange(int kind);

// The track: an image that never takes input.
class ScrollBar : public Control3d {
public:
    bool handleInput(const WindowMessage& message) override;
    void draw(float elapsedSeconds) override;

    const TextureImage* texture = nullptr;
};

class Cursor : public Control3d {
public:
    bool handleInput(const WindowMessage& message) override;
    void draw(float elapsedSeconds) override;

    // Knob position from the value (the key bar's scale for a key knob,
    // kinds 4 and 10 offset by half their range); the edit box shows the
    // value. Kind 3 first takes the value from its colour. Not clamped.
    void syncFromValue();
    // The linked edit box committed a new value: kind 3 carries it into its
    // colour, then the knob follows.
    void valueEdited();
    // Value per pixel: the key bar's seconds per pixel for a key knob.
    double effectiveScale() const;

    // Screen rectangle of the knob image, centred on the knob position.
    int knobLeft() const;
    int knobTop() const;
    bool insideKnob(int px, int py) const;

    ScrollBar* track = nullptr;
    float knobPos = 0.0f;        // pixels along the track (a key knob: along the bar)
    float* value = nullptr;      // bound
    double scale = 0.0;          // value per pixel
    float maxValue = 0.0f;
    float minValue = 0.0f;
    float valueAtPress = 0.0f;
    float knobPosAtPress = 0.0f;
    int sliderKind = 0;
    std::string caption;         // label-refreshed, 23 pixels above the track
    EditBox* editBox = nullptr;  // linked decimal box
    CursorsBar* keyBar = nullptr;  // set for the knobs of a key bar
    Cursor* linkedSibling = nullptr;  // re-synchronised on every drag step
    // Kind 3: the colour whose brightness (HSV value, 0..255) the slider
    // edits, and the three sliders re-synchronised when it changes.
    Vec4* colour = nullptr;
    std::array<Cursor*, 3> siblings{};
    const TextureImage* knobImage = nullptr;
    Vec4 tint{1.0f, 1.0f, 1.0f, 0.9f};

private:
    void press(const WindowMessage& message);
    void dragTo(int px, int py);
    void release();
    void placeKnobFromValue();
    void applyBrightnessToColour();
    void resyncSiblings();
};

// The track at (x, y), its knob, and a decimal edit box at (x + 157, y - 5)
// showing "0.5", all linked; with an owner, all three are its dependants.
Cursor& addSlider(Panel& panel, int x, int y, float* bound, int kind, std::string_view caption,
                  Control3d* owner = nullptr);

}  // namespace morvanex
