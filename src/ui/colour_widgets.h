// Colour widgets: the swatch that shows a bound colour and opens its picker
// panel, and the gradient bar of the picker.
#pragma once

#include <array>

#include "ui/control3d.h"
#include "scene/math.h"

namespace morvanex {

class TextureImage;

inline constexpr int kSwatchWidth = 36;
inline constexpr int kSwatchHeight = 21;
inline constexpr int kSwatchFromX = 100;  // the swatch sits right of its caption area
inline constexpr int kColorBarWidth = 144;
inline constexpr int kColorBarHeight = 14;

class Colorsel : public Control3d {
public:
    bool handleInput(const WindowMessage& message) override;
    void draw(float elapsedSeconds) override;

    Vec4* boundColour = nullptr;
    Vec4 shownColour{0.0f, 0.0f, 0.0f, 1.0f};  // fades to the bound colour
    Panel* pickerPanel = nullptr;              // placed beside the swatch every draw
    const TextureImage* frame = nullptr;       // "colorsel.dds"

private:
    void placePicker();
};

// A gradient bar: from opaque black to the bound colour at full brightness,
// or between two fixed end colours. Never takes input.
class ColorBar : public Control3d {
public:
    bool handleInput(const WindowMessage& message) override;
    void draw(float elapsedSeconds) override;

    // The four corners' targets (top-left, top-right, bottom-right, bottom-left).
    std::array<Vec4, 4> targetCorners() const;

    Vec4* boundColour = nullptr;
    Vec4 leftColour{0.0f, 0.0f, 0.0f, 1.0f};
    Vec4 rightColour{1.0f, 1.0f, 1.0f, 1.0f};
    std::array<Vec4, 4> corners{};  // faded
};

// The swatch at (x + 100, y).
Colorsel& addColourSwatch(Panel& panel, int x, int y, Vec4* bound, Panel* picker);
ColorBar& addColorBar(Panel& panel, int x, int y, Vec4* bound);
ColorBar& addColorBar(Panel& panel, int x, int y, const Vec4& left, const Vec4& right);

}  // namespace morvanex
