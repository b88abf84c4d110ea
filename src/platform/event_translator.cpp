#include "platform/event_translator.h"

#include <SDL.h>

#include <cmath>
#include <string_view>

#include "base/text_encoding.h"

namespace morvanex {
namespace {

WindowMessage message(std::uint32_t id, std::uintptr_t wParam, std::intptr_t lParam) {
    WindowMessage m;
    m.message = id;
    m.wParam = wParam;
    m.lParam = lParam;
    return m;
}

bool isModifierKey(std::uint32_t virtualKey) {
    return virtualKey == vk::Shift || virtualKey == vk::Control || virtualKey == vk::Menu;
}

// Keys whose messages carry the extended-key bit on a PC keyboard.
bool isExtendedKey(int scancode) {
    switch (scancode) {
    case SDL_SCANCODE_RIGHT: case SDL_SCANCODE_LEFT: case SDL_SCANCODE_UP: case SDL_SCANCODE_DOWN:
    case SDL_SCANCODE_HOME: case SDL_SCANCODE_END: case SDL_SCANCODE_PAGEUP: case SDL_SCANCODE_PAGEDOWN:
    case SDL_SCANCODE_INSERT: case SDL_SCANCODE_DELETE: case SDL_SCANCODE_RCTRL: case SDL_SCANCODE_RALT:
    case SDL_SCANCODE_KP_ENTER: case SDL_SCANCODE_KP_DIVIDE: case SDL_SCANCODE_NUMLOCKCLEAR:
        return true;
    default:
        return false;
    }
}

}  // namespace

std::uint32_t virtualKeyFromSdl(int scancode, int keycode) {
    // Letters follow the layout (the key marked A gives 'A'); digits and the
    // rest follow the key's place, as the desktop protocol does.
    if (keycode >= 'a' && keycode <= 'z') return static_cast<std::uint32_t>(keycode - 'a' + 'A');
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z)
        return static_cast<std::uint32_t>('A' + (scancode - SDL_SCANCODE_A));
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) return static_cast<std::uint32_t>('1' + (scancode - SDL_SCANCODE_1));
    if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12) return vk::F1 + static_cast<std::uint32_t>(scancode - SDL_SCANCODE_F1);
    if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_9) return vk::Numpad0 + 1 + static_cast<std::uint32_t>(scancode - SDL_SCANCODE_KP_1);
    switch (scancode) {
    case SDL_SCANCODE_0: return '0';
    case SDL_SCANCODE_KP_0: return vk::Numpad0;
    case SDL_SCANCODE_BACKSPACE: return vk::Back;
    case SDL_SCANCODE_TAB: return vk::Tab;
    case SDL_SCANCODE_RETURN: case SDL_SCANCODE_KP_ENTER: return vk::Return;
    case SDL_SCANCODE_LSHIFT: case SDL_SCANCODE_RSHIFT: return vk::Shift;
    case SDL_SCANCODE_LCTRL: case SDL_SCANCODE_RCTRL: return vk::Control;
    case SDL_SCANCODE_LALT: case SDL_SCANCODE_RALT: return vk::Menu;
    case SDL_SCANCODE_PAUSE: return vk::Pause;
    case SDL_SCANCODE_CAPSLOCK: return vk::Capital;
    case SDL_SCANCODE_ESCAPE: return vk::Escape;
    case SDL_SCANCODE_SPACE: return vk::Space;
    case SDL_SCANCODE_PAGEUP: return vk::Prior;
    case SDL_SCANCODE_PAGEDOWN: return vk::Next;
    case SDL_SCANCODE_END: return vk::End;
    case SDL_SCANCODE_HOME: return vk::Home;
    case SDL_SCANCODE_LEFT: return vk::Left;
    case SDL_SCANCODE_UP: return vk::Up;
    case SDL_SCANCODE_RIGHT: return vk::Right;
    case SDL_SCANCODE_DOWN: return vk::Down;
    case SDL_SCANCODE_PRINTSCREEN: return vk::Snapshot;
    case SDL_SCANCODE_INSERT: return vk::Insert;
    case SDL_SCANCODE_DELETE: return vk::Delete;
    case SDL_SCANCODE_LGUI: return vk::LeftWin;
    case SDL_SCANCODE_RGUI: return vk::RightWin;
    case SDL_SCANCODE_APPLICATION: return vk::Apps;
    case SDL_SCANCODE_KP_MULTIPLY: return vk::Multiply;
    case SDL_SCANCODE_KP_PLUS: return vk::Add;
    case SDL_SCANCODE_KP_MINUS: return vk::Subtract;
    case SDL_SCANCODE_KP_PERIOD: return vk::Decimal;
    case SDL_SCANCODE_KP_DIVIDE: return vk::Divide;
    case SDL_SCANCODE_NUMLOCKCLEAR: return vk::NumLock;
    case SDL_SCANCODE_SCROLLLOCK: return vk::Scroll;
    case SDL_SCANCODE_SEMICOLON: return vk::Oem1;
    case SDL_SCANCODE_EQUALS: return vk::OemPlus;
    case SDL_SCANCODE_COMMA: return vk::OemComma;
    case SDL_SCANCODE_MINUS: return vk::OemMinus;
    case SDL_SCANCODE_PERIOD: return vk::OemPeriod;
    case SDL_SCANCODE_SLASH: return vk::Oem2;
    case SDL_SCANCODE_GRAVE: return vk::Oem3;
    case SDL_SCANCODE_LEFTBRACKET: return vk::Oem4;
    case SDL_SCANCODE_BACKSLASH: return vk::Oem5;
    case SDL_SCANCODE_RIGHTBRACKET: return vk::Oem6;
    case SDL_SCANCODE_APOSTROPHE: return vk::Oem7;
    case SDL_SCANCODE_NONUSBACKSLASH: return vk::Oem102;
    default: return 0;
    }
}

std::uint32_t controlCharacterForKey(std::uint32_t virtualKey, bool control) {
    switch (virtualKey) {
    case vk::Return: return '\r';
    case vk::Back: return '\b';
    case vk::Tab: return '\t';
    case vk::Escape: return 0x1B;
    default: break;
    }
    if (control && virtualKey >= 'A' && virtualKey <= 'Z') return virtualKey - 'A' + 1;
    return 0;
}

EventTranslator::EventTranslator(GeometrySource geometry) : geometry_(std::move(geometry)) {}

void EventTranslator::translate(const SDL_Event& event, std::vector<WindowMessage>& out) {
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: translateKey(event, out); break;
    case SDL_TEXTINPUT: translateText(event, out); break;
    case SDL_MOUSEMOTION: translateMouseMotion(event, out); break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: translateMouseButton(event, out); break;
    case SDL_MOUSEWHEEL: translateWheel(event, out); break;
    case SDL_WINDOWEVENT: translateWindowEvent(event, out); break;
    case SDL_FINGERDOWN:
    case SDL_FINGERMOTION:
    case SDL_FINGERUP: translateFinger(event, out); break;
    // A quit request from outside (a signal, the session ending) is a close
    // request: it goes through the same prompt as the window's close button.
    case SDL_QUIT: out.push_back(message(wm::Close, 0, 0)); break;
    default: break;
    }
}

void EventTranslator::trackModifier(std::uint32_t virtualKey, bool down) {
    if (virtualKey == vk::Shift) shiftDown_ = down;
    if (virtualKey == vk::Control) controlDown_ = down;
    if (virtualKey == vk::Menu) altDown_ = down;
}

void EventTranslator::translateKey(const SDL_Event& event, std::vector<WindowMessage>& out) {
    const SDL_KeyboardEvent& key = event.key;
    const bool down = event.type == SDL_KEYDOWN;
    const std::uint32_t virtualKey = virtualKeyFromSdl(key.keysym.scancode, key.keysym.sym);
    if (virtualKey == 0) return;
    if (!isModifierKey(virtualKey)) {
        shiftDown_ = (key.keysym.mod & KMOD_SHIFT) != 0;
        controlDown_ = (key.keysym.mod & KMOD_CTRL) != 0;
        altDown_ = (key.keysym.mod & KMOD_ALT) != 0;
    }
    // The Alt key itself and keys pressed with it (and F10) are system keys.
    const bool altAround = altDown_ || virtualKey == vk::Menu;
    const bool system = (altAround && !controlDown_) || virtualKey == vk::F10;
    trackModifier(virtualKey, down);

    std::uint32_t bits = 1;  // repeat count
    if (isExtendedKey(key.keysym.scancode)) bits |= key_bits::Extended;
    if (altAround) bits |= key_bits::AltDown;
    if (!down || key.repeat) bits |= key_bits::WasDown;
    if (!down) bits |= key_bits::Released;
    const std::uint32_t id = down ? (system ? wm::SysKeyDown : wm::KeyDown) : (system ? wm::SysKeyUp : wm::KeyUp);
    out.push_back(message(id, virtualKey, static_cast<std::intptr_t>(bits)));

    if (down && !system) {
        if (const std::uint32_t c = controlCharacterForKey(virtualKey, controlDown_)) out.push_back(message(wm::Char, c, static_cast<std::intptr_t>(bits)));
    }
}

void EventTranslator::translateText(const SDL_Event& event, std::vector<WindowMessage>& out) {
    const std::string_view text(event.text.text);
    std::size_t pos = 0;
    while (pos < text.size()) {
        const char32_t cp = decodeUtf8(text, pos);
        // Control characters come with their key down; text input only types.
        if (cp < 0x20 || cp == 0x7F) continue;
        if (const auto byte = cp1252FromCodePoint(cp)) out.push_back(message(wm::Char, *byte, 1));
    }
}

std::uintptr_t EventTranslator::mouseKeyFlags() const {
    std::uintptr_t flags = buttons_;
    if (shiftDown_) flags |= mouse_keys::Shift;
    if (controlDown_) flags |= mouse_keys::Control;
    return flags;
}

void EventTranslator::translateMouseMotion(const SDL_Event& event, std::vector<WindowMessage>& out) {
    pointerX_ = event.motion.x;
    pointerY_ = event.motion.y;
    WindowMessage m = message(wm::MouseMove, mouseKeyFlags(), makeLParam(pointerX_, pointerY_));
    if (event.motion.which == SDL_TOUCH_MOUSEID) m.extraInfo = kSynthesizedPointerSignature;
    out.push_back(std::move(m));
}

void EventTranslator::translateMouseButton(const SDL_Event& event, std::vector<WindowMessage>& out) {
    const SDL_MouseButtonEvent& b = event.button;
    const bool down = event.type == SDL_MOUSEBUTTONDOWN;
    std::uintptr_t flag = 0;
    std::uint32_t id = 0;
    switch (b.button) {
    case SDL_BUTTON_LEFT:
        flag = mouse_keys::Left;
        id = down ? (b.clicks == 2 ? wm::LButtonDoubleClick : wm::LButtonDown) : wm::LButtonUp;
        break;
    // Double clicks of the other buttons stay plain downs: only the left
    // button's double click has a meaning in the program.
    case SDL_BUTTON_RIGHT:
        flag = mouse_keys::Right;
        id = down ? wm::RButtonDown : wm::RButtonUp;
        break;
    case SDL_BUTTON_MIDDLE:
        flag = mouse_keys::Middle;
        id = down ? wm::MButtonDown : wm::MButtonUp;
        break;
    default: return;
    }
    if (down) buttons_ |= flag; else buttons_ &= ~flag;
    pointerX_ = b.x;
    pointerY_ = b.y;
    WindowMessage m = message(id, mouseKeyFlags(), makeLParam(pointerX_, pointerY_));
    if (b.which == SDL_TOUCH_MOUSEID) m.extraInfo = kSynthesizedPointerSignature;
    out.push_back(std::move(m));
}

void EventTranslator::translateWheel(const SDL_Event& event, std::vector<WindowMessage>& out) {
    int notches = event.wheel.y;
    if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
    if (notches == 0) return;
    const WindowGeometry g = geometry_();
#if SDL_VERSION_ATLEAST(2, 26, 0)
    pointerX_ = event.wheel.mouseX;
    pointerY_ = event.wheel.mouseY;
#endif
    // One notch is 120 units; the wheel message carries screen coordinates.
    out.push_back(message(wm::MouseWheel, makeWParam(static_cast<int>(mouseKeyFlags()), notches * 120),
                          makeLParam(g.screenX + pointerX_, g.screenY + pointerY_)));
}

void EventTranslator::emitSize(std::vector<WindowMessage>& out) {
    const WindowGeometry g = geometry_();
    std::uintptr_t kind = size_kind::Restored;
    if (g.minimized) kind = size_kind::Minimized;
    else if (g.maximized) kind = size_kind::Maximized;
    const std::intptr_t size = kind == size_kind::Minimized ? 0 : makeLParam(g.clientWidth, g.clientHeight);
    if (sizeSent_ && kind == lastSizeKind_ && size == lastSize_) return;
    sizeSent_ = true;
    lastSizeKind_ = kind;
    lastSize_ = size;
    out.push_back(message(wm::Size, kind, size));
}

void EventTranslator::translateWindowEvent(const SDL_Event& event, std::vector<WindowMessage>& out) {
    switch (event.window.event) {
    case SDL_WINDOWEVENT_SIZE_CHANGED:
    case SDL_WINDOWEVENT_MINIMIZED:
    case SDL_WINDOWEVENT_MAXIMIZED:
    case SDL_WINDOWEVENT_RESTORED: emitSize(out); break;
    case SDL_WINDOWEVENT_EXPOSED: out.push_back(message(wm::Paint, 0, 0)); break;
    case SDL_WINDOWEVENT_CLOSE: out.push_back(message(wm::Close, 0, 0)); break;
    default: break;
    }
}

void EventTranslator::translateFinger(const SDL_Event& event, std::vector<WindowMessage>& out) {
    const SDL_TouchFingerEvent& f = event.tfinger;
    const WindowGeometry g = geometry_();
    // Finger positions are fractions of the window; touch messages speak in
    // hundredths of a screen pixel.
    const Finger at{static_cast<std::int32_t>(std::lround((g.screenX + f.x * static_cast<float>(g.clientWidth)) * 100.0f)),
                    static_cast<std::int32_t>(std::lround((g.screenY + f.y * static_cast<float>(g.clientHeight)) * 100.0f))};
    const std::int64_t id = static_cast<std::int64_t>(f.fingerId);
    std::uint32_t changedFlag = touch_flags::Move | touch_flags::InRange;
    if (event.type == SDL_FINGERDOWN) changedFlag = touch_flags::Down | touch_flags::InRange;
    if (event.type == SDL_FINGERUP) changedFlag = touch_flags::Up;
    if (event.type != SDL_FINGERUP) fingers_[id] = at;
    else if (!fingers_.count(id)) fingers_[id] = at;

    WindowMessage m = message(wm::Touch, 0, 0);
    bool first = true;
    for (const auto& [fingerId, finger] : fingers_) {
        TouchPoint p;
        p.x = fingerId == id ? at.x : finger.x;
        p.y = fingerId == id ? at.y : finger.y;
        p.id = static_cast<std::uint32_t>(fingerId);
        p.flags = fingerId == id ? changedFlag : (touch_flags::Move | touch_flags::InRange);
        if (first) p.flags |= touch_flags::Primary;
        first = false;
        m.touchPoints.push_back(p);
    }
    m.wParam = m.touchPoints.size();
    if (event.type == SDL_FINGERUP) fingers_.erase(id);
    out.push_back(std::move(m));
}

}  // namespace morvanex
