#include "ui/check_box.h"

#include "render/interface_drawing.h"
#include "render/renderer.h"
#include "render/texture_image.h"
#include "ui/image_button.h"
#include "ui/interface.h"
#include "ui/interface_host.h"
#include "ui/label_table.h"
#include "ui/panel.h"

namespace morvanex {

namespace {

constexpr Vec4 kHotTint{0.46f, 1.0f, 1.0f, 1.0f};
constexpr Vec4 kCaptionColour{1.0f, 1.0f, 1.0f, 1.0f};
constexpr int kCaptionRight = 20;
constexpr int kCaptionAbove = 4;
constexpr int kDefaultBoxSize = 16;

template <class Box>
Box& makeBox(Panel& panel, int x, int y, std::string_view checkedFile, std::string_view uncheckedFile,
             std::string_view caption, Control3d* owner) {
    auto box = std::make_unique<Box>();
    InterfaceDrawing& ui = panel.renderer().ui;
    box->checkedImage = ui.image(checkedFile);
    box->uncheckedImage = ui.image(uncheckedFile);
    box->x = box->boxX = x;
    box->y = box->boxY = y;
    box->width = box->checkedImage != nullptr ? box->checkedImage->width : kDefaultBoxSize;
    box->height = box->checkedImage != nullptr ? box->checkedImage->height : kDefaultBoxSize;
    box->caption = std::string(caption);
    box->captionLabel = labelOf(panel, caption);
    Box& added = panel.add(std::move(box));
    if (owner != nullptr) addDependant(*owner, added);
    return added;
}

}  // namespace

// ---------------------------------------------------------------------------
// Shared drawing and hover

void ToggleBox::draw(float dt) {
    refreshLabel(labels(), captionLabel, caption);
    if (enabled) {
        fadeColour(tint, hot ? kHotTint : kOpaqueWhite, kWidgetFadeRate, dt);
    } else {
        tint = {1.0f, 1.0f, 1.0f, 0.5f};
    }
    InterfaceDrawing& ui = drawing();
    const float left = static_cast<float>(screenX());
    const float top = static_cast<float>(screenY());
    ui.imageQuad(showsChecked() ? checkedImage : uncheckedImage,
                 {left, top, static_cast<float>(width), static_cast<float>(height)}, tint);
    ui.text(top - kCaptionAbove, left + kCaptionRight, caption,
            {kCaptionColour.x, kCaptionColour.y, kCaptionColour.z, enabled ? 1.0f : 0.5f});
}

bool ToggleBox::handleHover(const WindowMessage& message) {
    if (message.message != wm::MouseMove) return false;
    hot = visible && insideBox(messageX(message), messageY(message));
    return hot;
}

// ---------------------------------------------------------------------------
// Check box

bool CheckBox::showsChecked() const {
    if (boundState != nullptr) return *boundState == 1;
    return boundFlag != nullptr && *boundFlag;
}

bool CheckBox::handleInput(const WindowMessage& message) {
    if (!isLeftPress(message)) return handleHover(message);
    if (!enabled || !visible || !insideBox(messageX(message), messageY(message))) return false;
    if (boundFlag != nullptr) {
        *boundFlag = !*boundFlag;
        checked = *boundFlag;
        if (dependants != nullptr) dependants->showDependants(*boundFlag);
    }
    if (boundState != nullptr) *boundState = *boundState == 1 ? 0 : 1;
    host().onCheckBox(*panel, *this);
    return true;
}

void CheckBox::setVisible(bool value) {
    Control3d::setVisible(value);
    tint = kOpaqueWhite;
    if (dependants != nullptr) dependants->showDependants(value && boundFlag != nullptr && *boundFlag);
}

// ---------------------------------------------------------------------------
// Radio button

bool RadioButton::handleInput(const WindowMessage& message) {
    if (!isLeftPress(message)) return handleHover(message);
    if (!enabled || !visible || !insideBox(messageX(message), messageY(message))) return false;
    if (boundFlag != nullptr) *boundFlag = true;
    selectInGroup();
    host().onRadioButton(*panel, *this);
    return true;
}

void RadioButton::setVisible(bool value) {
    Control3d::setVisible(value);
    tint = kOpaqueWhite;
    if (dependants != nullptr) dependants->showDependants(value && checked);
}

// ---------------------------------------------------------------------------
// Add operations

CheckBox& addCheckBox(Panel& panel, int x, int y, bool* bound, std::string_view caption, Control3d* owner) {
    CheckBox& box = makeBox<CheckBox>(panel, x, y, "checked.dds", "unchecked.dds", caption, owner);
    box.boundFlag = bound;
    box.checked = bound != nullptr && *bound;
    return box;
}

CheckBox& addCheckBoxAuto(Panel& panel, int x, int step, bool* bound, std::string_view caption, Control3d* owner) {
    return addCheckBox(panel, x, panel.nextLayoutY(step), bound, caption, owner);
}

RadioButton& addRadioButton(Panel& panel, ControleGroupe& group, int x, int y, bool* bound,
                            std::string_view caption, Control3d* owner) {
    RadioButton& button =
        makeBox<RadioButton>(panel, x, y, "radiobuttoncoched.dds", "radiobutton.dds", caption, owner);
    group.addMember(button);
    button.boundFlag = bound;
    button.checked = bound != nullptr && *bound;
    return button;
}

RadioButton& addRadioButton(Panel& panel, ControleGroupe& group, int x, int y, int* boundIndex,
                            std::string_view caption, Control3d* owner) {
    RadioButton& button =
        makeBox<RadioButton>(panel, x, y, "radiobuttoncoched.dds", "radiobutton.dds", caption, owner);
    group.addMember(button);
    group.boundIndex = boundIndex;
    button.checked = boundIndex != nullptr && *boundIndex == static_cast<int>(group.members.size()) - 1;
    return button;
}

RadioButton& addRadioButtonAuto(Panel& panel, ControleGroupe& group, int x, int step, bool* bound,
                                std::string_view caption, Control3d* owner) {
    return addRadioButton(panel, group, x, panel.nextLayoutY(step), bound, caption, owner);
}

RadioButton& addRadioButtonAuto(Panel& panel, ControleGroupe& group, int x, int step, int* boundIndex,
                                std::string_view caption, Control3d* owner) {
    return addRadioButton(panel, group, x, panel.nextLayoutY(step), boundIndex, caption, owner);
}

}  // namespace morvanex
