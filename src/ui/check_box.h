// Check boxes and radio buttons: a small image that shows a bound flag, and
// a caption beside it. A check box inverts its flag (and optional state);
// a radio button is one choice of an exclusive group.
#pragma once

#include <string>
#include <string_view>

#include "ui/colour_fade.h"
#include "ui/control3d.h"

namespace morvanex {

class TextureImage;

// What check boxes and radio buttons share: the box image, the caption and
// the hover tint.
class ToggleBox : public Control3d {
public:
    void draw(float elapsedSeconds) override;
    bool insideBox(int px, int py) const { return contains(px, py); }

    int boxX = 0;   // relative to the panel (the widget's own x, y)
    int boxY = 0;
    const TextureImage* checkedImage = nullptr;
    const TextureImage* uncheckedImage = nullptr;
    std::string caption;  // label-refreshed, at (boxX + 20, boxY - 4)
    Vec4 tint = kOpaqueWhite;

protected:
    virtual bool showsChecked() const = 0;
    bool handleHover(const WindowMessage& message);
};

class CheckBox : public ToggleBox {
public:
    bool handleInput(const WindowMessage& message) override;
    void setVisible(bool visible) override;

    // boundFlag (required) is inverted by a press; boundState, when set, is
    // inverted with it and chooses the image.
    int* boundState = nullptr;

protected:
    bool showsChecked() const override;
};

class RadioButton : public ToggleBox {
public:
    bool handleInput(const WindowMessage& message) override;
    void setVisible(bool visible) override;

protected:
    bool showsChecked() const override { return checked; }
};

CheckBox& addCheckBox(Panel& panel, int x, int y, bool* bound, std::string_view caption, Control3d* owner = nullptr);
CheckBox& addCheckBoxAuto(Panel& panel, int x, int step, bool* bound, std::string_view caption,
                          Control3d* owner = nullptr);
// Bound to a flag (its initial state is read from it) or to the group's
// index (the button starts checked when the index names it).
RadioButton& addRadioButton(Panel& panel, ControleGroupe& group, int x, int y, bool* bound, std::string_view caption,
                            Control3d* owner = nullptr);
RadioButton& addRadioButton(Panel& panel, ControleGroupe& group, int x, int y, int* boundIndex,
                            std::string_view caption, Control3d* owner = nullptr);
RadioButton& addRadioButtonAuto(Panel& panel, ControleGroupe& group, int x, int step, bool* bound,
                                std::string_view caption, Control3d* owner = nullptr);
RadioButton& addRadioButtonAuto(Panel& panel, ControleGroupe& group, int x, int step, int* boundIndex,
                                std::string_view caption, Control3d* owner = nullptr);

}  // namespace morvanex
