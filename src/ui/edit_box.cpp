#include "ui/edit_box.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cfloat>
#include <climits>

#include "render/interface_drawing.h"
#include "render/renderer.h"
#include "render/texture_image.h"
#include "ui/image_button.h"
#include "ui/interface.h"
#include "ui/interface_host.h"
#include "ui/label_table.h"
#include "ui/panel.h"
#include "ui/slider.h"

namespace morvanex {

namespace {

constexpr std::string_view kRoomProbe = "0000";
constexpr std::string_view kDecimalCharacters = "-.0123456789";
constexpr std::string_view kIntegerCharacters = "-0123456789";
constexpr int kClearSquare = 16;
constexpr float kClearFadeRate = 40.0f;
constexpr int kCaretTop = 3;
constexpr int kCaptionGap = 10;
constexpr int kTextLineHeight = 20;
constexpr Vec4 kTextColour{1.0f, 1.0f, 1.0f, 1.0f};

// Standard decimal conversion of the leading number; anything else gives 0.
float parseDecimal(std::string_view text) {
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    (void)end;
    if (error != std::errc()) return 0.0f;
    return static_cast<float>(std::clamp(value, static_cast<double>(-FLT_MAX), static_cast<double>(FLT_MAX)));
}

// The leading integer; too many digits give the nearest int, not garbage.
int parseInteger(std::string_view text) {
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range) return !text.empty() && text.front() == '-' ? INT_MIN : INT_MAX;
    if (error != std::errc()) return 0;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

bool madeOf(std::string_view text, std::string_view allowed) {
    return std::all_of(text.begin(), text.end(), [&](char c) { return allowed.find(c) != std::string_view::npos; });
}

Panel* clipboardMenuPanel(Interface& interface) {
    Control3d* item = interface.clipboardMenu.pasteItem;
    return item != nullptr ? item->panel : nullptr;
}

}  // namespace

EditBox::EditBox() { kind = "editbox"; }

// ---------------------------------------------------------------------------
// Geometry

float EditBox::textWidth(std::string_view part) const { return drawing().measureText(part); }

void EditBox::layOutBox() {
    boxX = captionX;
    if (!caption.empty()) {
        boxX = captionX + static_cast<int>(textWidth(caption) + textWidth(captionSuffix)) + kCaptionGap;
    }
    width = boxX + boxWidth - x;
    height = boxHeight;
}

int EditBox::boxLeft() const { return (panel != nullptr ? panel->x : 0) + boxX; }
int EditBox::boxTop() const { return screenY(); }

bool EditBox::insideBox(int px, int py) const {
    const int left = boxLeft();
    const int top = boxTop();
    return px >= left && px < left + boxWidth && py >= top && py < top + boxHeight;
}

bool EditBox::insideClearSquare(int px, int py) const {
    const int right = boxLeft() + boxWidth;
    const int top = boxTop();
    return px >= right - kClearSquare && px <= right && py >= top && py <= top + kClearSquare;
}

void EditBox::linkInChain(Control3d* previous, Control3d* next) {
    previousInChain = dynamic_cast<EditBox*>(previous);
    nextInChain = dynamic_cast<EditBox*>(next);
}

// ---------------------------------------------------------------------------
// Values

void EditBox::setText(std::string_view value) {
    text = std::string(value);
    caret = static_cast<int>(text.size());
}

void EditBox::setFloat(float value) {
    std::array<char, 64> buffer{};
    const auto [end, error] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, 3);
    setText(error == std::errc() ? std::string_view(buffer.data(), static_cast<std::size_t>(end - buffer.data()))
                                 : std::string_view("0.000"));
}

void EditBox::setInt(int value) {
    const long long shown = offsetByOne ? static_cast<long long>(value) - 1 : value;
    setText(std::to_string(shown));
}

bool EditBox::passesFilter(std::string_view candidate) const {
    switch (filter) {
        case EditFilter::Decimal: return madeOf(candidate, kDecimalCharacters);
        case EditFilter::Integer: return madeOf(candidate, kIntegerCharacters);
        case EditFilter::FreeText: break;
    }
    return true;
}

bool EditBox::roomForAnother(std::string_view current) const {
    std::string probe(current);
    probe += kRoomProbe;
    return textWidth(probe) <= static_cast<float>(boxWidth);
}

void EditBox::apply() {
    switch (filter) {
        case EditFilter::Decimal:
            if (boundFloat != nullptr) *boundFloat = parseDecimal(text);
            break;
        case EditFilter::Integer: {
            int value = parseInteger(text);
            if (offsetByOne && value < INT_MAX) ++value;
            for (int* bound : {boundInt1, boundInt2, boundInt3}) {
                if (bound != nullptr) *bound = value;
            }
            break;
        }
        case EditFilter::FreeText:
            if (boundString != nullptr) *boundString = text;
            break;
    }
    if (slider != nullptr) slider->valueEdited();
    host().onEditCommit(*this);
}

// ---------------------------------------------------------------------------
// Focus and caret

void EditBox::restartBlink() {
    caretPhaseStart = host().now();
    caretShown = true;
}

void EditBox::takeFocus() {
    if (interface().focusedEditBox != this) textAtFocus = text;
    interface().giveFocus(*this);
    restartBlink();
}

void EditBox::cancelEditing() {
    // Emptying the box instead would store 0 over what it held.
    setText(textAtFocus);
    apply();
    if (interface().focusedEditBox == this) interface().releaseFocus();
    focused = false;
}

void EditBox::setVisible(bool value) {
    Control3d::setVisible(value);
    if (!value && focused && panel != nullptr && interface().focusedEditBox == this) interface().releaseFocus();
}

void EditBox::placeCaret(int px) {
    const float d = static_cast<float>(px - boxLeft() + 4);
    caret = static_cast<int>(text.size());
    if (textWidth(text) < d) return;
    for (std::size_t i = 1; i <= text.size(); ++i) {
        if (textWidth(std::string_view(text).substr(0, i)) > d) {
            caret = static_cast<int>(i) - 1;
            return;
        }
    }
}

void EditBox::releaseCapture() {
    dragging = false;
    if (interface().capturedWidget == this) interface().capturedWidget = nullptr;
    host().capturePointer(false);
}

// ---------------------------------------------------------------------------
// Input

bool EditBox::handleKeyDown(std::uint32_t key) {
    const int length = static_cast<int>(text.size());
    switch (key) {
        case vk::Back:
            if (caret >= 1) {
                text.erase(static_cast<std::size_t>(caret - 1), 1);
                --caret;
                apply();
            }
            restartBlink();
            break;
        case vk::Tab:
            if (nextInChain != nullptr) {
                focused = false;
                nextInChain->takeFocus();
                nextInChain->caret = static_cast<int>(nextInChain->text.size());
            }
            break;
        case vk::Return: apply(); break;
        case vk::Shift: shiftDown = true; break;
        case vk::Menu: altDown = true; break;
        case vk::Capital: capsLock = !capsLock; break;
        case vk::Escape: cancelEditing(); break;
        case vk::End:
            caret = length;
            apply();
            break;
        case vk::Home:
            caret = 0;
            apply();
            break;
        case vk::Left:
            caret = std::max(caret - 1, 0);
            restartBlink();
            break;
        case vk::Right:
            caret = std::min(caret + 1, length);
            restartBlink();
            break;
        case vk::Delete:
            if (caret < length) {
                text.erase(static_cast<std::size_t>(caret), 1);
                apply();
            }
            restartBlink();
            break;
        default: break;
    }
    return true;
}

bool EditBox::handleKeyUp(std::uint32_t key) {
    if (key == vk::Shift) shiftDown = false;
    if (key == vk::Menu) altDown = false;
    return true;
}

bool EditBox::handleCharacter(std::uint32_t code) {
    // Control codes come from keys handled on key down (Backspace, Tab,
    // Enter, Escape, Ctrl+letter): they are never text.
    if (code < 0x20 || code == 0x7F) return true;
    if (code > 0xFF) return false;
    const char c = static_cast<char>(code);
    if (!roomForAnother(text)) return false;
    if (filter == EditFilter::Decimal && c == '.' && text.find('.') != std::string::npos) return false;
    std::string candidate = text;
    candidate.insert(static_cast<std::size_t>(std::clamp(caret, 0, static_cast<int>(text.size()))), 1, c);
    if (!passesFilter(candidate)) return false;
    text = std::move(candidate);
    caret = std::clamp(caret + 1, 0, static_cast<int>(text.size()));
    apply();
    if (onCharacter) onCharacter(static_cast<int>(code));
    return true;
}

bool EditBox::handleLeftPress(int px, int py) {
    if (!insideBox(px, py)) return false;
    placeCaret(px);
    takeFocus();
    if (insideClearSquare(px, py)) {
        text.clear();
        caret = 0;
        apply();
    }
    dragging = true;
    interface().capturedWidget = this;
    host().capturePointer(true);
    host().setCursor(CursorShape::Text);
    return true;
}

bool EditBox::handleRightPress(int px, int py) {
    if (!insideBox(px, py)) return false;
    ClipboardMenuState& menu = interface().clipboardMenu;
    menu.pasteBuffer = host().clipboardText();
    if (menu.pasteItem != nullptr) {
        menu.pasteItem->enabled = filter == EditFilter::FreeText || passesFilter(menu.pasteBuffer);
    }
    menu.target = this;
    if (Panel* menuPanel = clipboardMenuPanel(interface())) {
        menuPanel->x = px;
        menuPanel->y = py - 5;
        menuPanel->setVisible(true);
    }
    takeFocus();
    return true;
}

bool EditBox::handlePointer(const WindowMessage& message) {
    const int px = messageX(message);
    const int py = messageY(message);
    if (message.message == wm::LButtonUp && dragging) releaseCapture();
    if (!insideBox(px, py)) {
        if (Panel* menuPanel = clipboardMenuPanel(interface()); menuPanel != nullptr && menuPanel->visible) {
            menuPanel->setVisible(false);
        }
        hovered = hot = false;
        return false;
    }
    hovered = hot = true;
    host().setCursor(insideClearSquare(px, py) ? CursorShape::Arrow : CursorShape::Text);
    return true;
}

bool EditBox::handleInput(const WindowMessage& message) {
    if (!enabled || !visible) return false;
    switch (message.message) {
        case wm::KeyDown:
        case wm::SysKeyDown: return focused && handleKeyDown(static_cast<std::uint32_t>(message.wParam));
        case wm::KeyUp:
        case wm::SysKeyUp: return focused && handleKeyUp(static_cast<std::uint32_t>(message.wParam));
        case wm::Char: return focused && handleCharacter(static_cast<std::uint32_t>(message.wParam));
        case wm::LButtonDown:
        case wm::LButtonDoubleClick: return handleLeftPress(messageX(message), messageY(message));
        case wm::RButtonDown: return handleRightPress(messageX(message), messageY(message));
        case wm::MouseMove:
        case wm::LButtonUp: return handlePointer(message);
        default: return false;
    }
}

// ---------------------------------------------------------------------------
// Drawing

void EditBox::draw(float dt) {
    refreshLabel(labels(), captionLabel, caption);
    if (bottomAnchor != 0) y = captionY = panel->height - bottomAnchor;
    layOutBox();
    InterfaceDrawing& ui = drawing();
    const float alpha = enabled ? 1.0f : 0.5f;
    const Vec4 colour{kTextColour.x, kTextColour.y, kTextColour.z, alpha};
    if (!caption.empty()) {
        ui.text(static_cast<float>(panel->y + captionY), static_cast<float>(panel->x + captionX),
                caption + captionSuffix, colour);
    }
    const UiRect box{static_cast<float>(boxLeft()), static_cast<float>(boxTop()), static_cast<float>(boxWidth),
                     static_cast<float>(boxHeight)};
    ui.imageQuad(boxTexture, box, {1.0f, 1.0f, 1.0f, alpha});
    if (enabled) ui.setClip(box);
    ui.text(box.y + static_cast<float>((boxHeight - kTextLineHeight) / 2), box.x, text, colour);
    if (enabled) ui.clearClip();

    const double now = host().now();
    if (now - caretPhaseStart >= caretBlinkPeriod) {
        caretShown = !caretShown;
        caretPhaseStart = now;
    }
    // The panel clears `hot` when the pointer leaves it without passing the box.
    fadeColour(clearColour, hovered && hot ? clearHighlight : kTransparentWhite, kClearFadeRate, dt);
    if (clearColour.w > 0.004f) {
        ui.imageQuad(ui.image("c.dds"),
                     {box.x + box.width - kClearSquare, box.y, static_cast<float>(kClearSquare),
                      static_cast<float>(kClearSquare)},
                     clearColour);
    }
    if (focused && caretShown && caretTexture != nullptr) {
        const int before = std::clamp(caret, 0, static_cast<int>(text.size()));
        const float caretX = box.x + textWidth(std::string_view(text).substr(0, static_cast<std::size_t>(before)));
        ui.imageQuad(caretTexture,
                     {caretX, box.y + kCaretTop, static_cast<float>(caretTexture->width),
                      static_cast<float>(caretTexture->height)},
                     kOpaqueWhite);
    }
}

// ---------------------------------------------------------------------------
// Add operation and the clipboard menu's operations

EditBox& addEditBox(Panel& panel, std::string_view caption, std::string_view suffix, int x, int y,
                    std::string_view boxTextureFile, EditFilter filter, std::string_view initialText) {
    auto box = std::make_unique<EditBox>();
    InterfaceDrawing& ui = panel.renderer().ui;
    box->caption = std::string(caption);
    box->captionLabel = labelOf(panel, caption);
    box->captionSuffix = std::string(suffix);
    box->x = box->captionX = x;
    box->y = box->captionY = y;
    box->boxTexture = ui.image(boxTextureFile);
    if (box->boxTexture != nullptr) {
        box->boxWidth = box->boxTexture->width;
        box->boxHeight = box->boxTexture->height;
    }
    box->caretTexture = ui.image("caret.dds");
    box->filter = filter;
    EditBox& added = panel.add(std::move(box));
    added.caretBlinkPeriod = panel.interface().host().caretBlinkSeconds();
    added.setText(initialText);
    added.layOutBox();
    return added;
}

void pasteIntoEditBox(EditBox& box, std::string_view clipboardText) {
    // Typing character by character: each may go in while what is already
    // there leaves room (rule (a)); the paste stops where typing would.
    std::size_t length = 0;
    while (length < clipboardText.size() && box.roomForAnother(clipboardText.substr(0, length))) ++length;
    box.setText(clipboardText.substr(0, length));
    box.apply();
}

void copyFromEditBox(const EditBox& box) { box.host().setClipboardText(box.text); }

ClipboardActions editBoxClipboardActions() {
    ClipboardActions actions;
    // The menu acts only on the edit box that opened it.
    actions.paste = [](Control3d& target, std::string_view text) {
        if (auto* box = dynamic_cast<EditBox*>(&target)) pasteIntoEditBox(*box, text);
    };
    actions.copy = [](Control3d& target) {
        if (const auto* box = dynamic_cast<const EditBox*>(&target)) copyFromEditBox(*box);
    };
    return actions;
}

}  // namespace morvanex
