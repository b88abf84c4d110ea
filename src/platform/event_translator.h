// Turns SDL events into window messages (see window_messages.h).
//
// The translator keeps the little state the message protocol needs and SDL
// events do not carry: which buttons and modifiers are down, the fingers on a
// touch screen, and the last size reported, so that one size change gives one
// size message.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "platform/window_messages.h"

union SDL_Event;

namespace morvanex {

struct WindowGeometry {
    int clientWidth = 0;   // pixels
    int clientHeight = 0;  // pixels
    int screenX = 0;       // client origin on the screen, pixels
    int screenY = 0;
    bool minimized = false;
    bool maximized = false;
};

class EventTranslator {
public:
    using GeometrySource = std::function<WindowGeometry()>;

    explicit EventTranslator(GeometrySource geometry);

    // Appends the messages that `event` stands for (often none, sometimes two:
    // a key down is followed by its character message, as a message loop's
    // key translation would produce).
    void translate(const SDL_Event& event, std::vector<WindowMessage>& out);

private:
    void translateKey(const SDL_Event& event, std::vector<WindowMessage>& out);
    void translateText(const SDL_Event& event, std::vector<WindowMessage>& out);
    void translateMouseMotion(const SDL_Event& event, std::vector<WindowMessage>& out);
    void translateMouseButton(const SDL_Event& event, std::vector<WindowMessage>& out);
    void translateWheel(const SDL_Event& event, std::vector<WindowMessage>& out);
    void translateWindowEvent(const SDL_Event& event, std::vector<WindowMessage>& out);
    void translateFinger(const SDL_Event& event, std::vector<WindowMessage>& out);
    void emitSize(std::vector<WindowMessage>& out);
    std::uintptr_t mouseKeyFlags() const;
    void trackModifier(std::uint32_t virtualKey, bool down);

    GeometrySource geometry_;
    std::uintptr_t buttons_ = 0;  // mouse_keys::Left/Right/Middle currently down
    bool shiftDown_ = false;
    bool controlDown_ = false;
    bool altDown_ = false;
    int pointerX_ = 0;
    int pointerY_ = 0;
    struct Finger {
        std::int32_t x = 0;  // hundredths of a screen pixel
        std::int32_t y = 0;
    };
    std::map<std::int64_t, Finger> fingers_;
    bool sizeSent_ = false;
    std::uintptr_t lastSizeKind_ = 0;
    std::intptr_t lastSize_ = 0;
};

// The virtual-key code of an SDL key (0 when it has none).
std::uint32_t virtualKeyFromSdl(int scancode, int keycode);

// The character message a key down makes for keys that type no text through
// SDL's text input (Enter, Backspace, Tab, Escape, Control+letter); 0 for none.
std::uint32_t controlCharacterForKey(std::uint32_t virtualKey, bool control);

}  // namespace morvanex
