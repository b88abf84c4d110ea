// SDL events to window messages. The events go through SDL's own queue
// (SDL_PushEvent, then SDL_PollEvent) before they reach the translator, as
// they do in the running program.
#include "platform/event_translator.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace morvanex {
namespace {

constexpr std::uint32_t kWindowId = 1;

SDL_Event mouseMotion(int x, int y, Uint32 which = 0) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.windowID = kWindowId;
    e.motion.which = which;
    e.motion.x = x;
    e.motion.y = y;
    return e;
}

SDL_Event mouseButton(Uint32 type, Uint8 button, int x, int y, Uint8 clicks = 1, Uint32 which = 0) {
    SDL_Event e{};
    e.type = type;
    e.button.windowID = kWindowId;
    e.button.which = which;
    e.button.button = button;
    e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = clicks;
    e.button.x = x;
    e.button.y = y;
    return e;
}

// SDL tells where the pointer is with every wheel event.
SDL_Event wheel(int y, Uint32 direction = SDL_MOUSEWHEEL_NORMAL, int pointerAtX = 0, int pointerAtY = 0) {
    SDL_Event e{};
    e.type = SDL_MOUSEWHEEL;
    e.wheel.windowID = kWindowId;
    e.wheel.mouseX = pointerAtX;
    e.wheel.mouseY = pointerAtY;
    e.wheel.y = y;
    e.wheel.preciseY = static_cast<float>(y);
    e.wheel.direction = direction;
    return e;
}

SDL_Event key(Uint32 type, SDL_Scancode scancode, SDL_Keycode keycode, Uint16 mod = KMOD_NONE, Uint8 repeat = 0) {
    SDL_Event e{};
    e.type = type;
    e.key.windowID = kWindowId;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.repeat = repeat;
    e.key.keysym.scancode = scancode;
    e.key.keysym.sym = keycode;
    e.key.keysym.mod = mod;
    return e;
}

SDL_Event textInput(const char* utf8) {
    SDL_Event e{};
    e.type = SDL_TEXTINPUT;
    e.text.windowID = kWindowId;
    SDL_strlcpy(e.text.text, utf8, sizeof e.text.text);
    return e;
}

SDL_Event windowEvent(Uint8 which) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = kWindowId;
    e.window.event = which;
    return e;
}

SDL_Event finger(Uint32 type, SDL_FingerID id, float x, float y) {
    SDL_Event e{};
    e.type = type;
    e.tfinger.touchId = 1;
    e.tfinger.fingerId = id;
    e.tfinger.x = x;
    e.tfinger.y = y;
    e.tfinger.pressure = 1.0f;
    e.tfinger.windowID = kWindowId;
    return e;
}

class EventTranslatorTest : public testing::Test {
protected:
    void SetUp() override {
        ::setenv("SDL_VIDEODRIVER", "offscreen", 0);  // headless even when run by hand
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS), 0) << SDL_GetError();
        sdlUp_ = true;
        SDL_PumpEvents();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        geometry_.clientWidth = 800;
        geometry_.clientHeight = 600;
        geometry_.screenX = 100;
        geometry_.screenY = 50;
    }
    void TearDown() override {
        if (!sdlUp_) return;
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        SDL_Quit();
    }

    // Sends the event through SDL's queue and translates what comes out.
    std::vector<WindowMessage> translate(SDL_Event event) {
        std::vector<WindowMessage> out;
        if (SDL_PushEvent(&event) != 1) {
            ADD_FAILURE() << "SDL refused event 0x" << std::hex << event.type << ": " << SDL_GetError();
            return out;
        }
        // SDL_PollEvent may answer "nothing" once for the marker SDL leaves
        // at the end of each poll, so a few empty answers are not the end.
        SDL_Event polled{};
        bool found = false;
        for (int tries = 0; tries < 100 && !found; ++tries) {
            if (!SDL_PollEvent(&polled)) continue;
            found = polled.type == event.type;  // anything else is SDL's own chatter
        }
        if (!found) {
            ADD_FAILURE() << "event 0x" << std::hex << event.type << " did not come back from SDL's queue";
            return out;
        }
        translator_.translate(polled, out);
        return out;
    }

    // Translates and expects exactly one message back.
    WindowMessage one(SDL_Event event) {
        std::vector<WindowMessage> out = translate(event);
        EXPECT_EQ(out.size(), 1u) << "for event 0x" << std::hex << event.type;
        return out.empty() ? WindowMessage{} : out.front();
    }

    bool sdlUp_ = false;
    WindowGeometry geometry_;
    int geometryCalls_ = 0;
    EventTranslator translator_{[this] {
        ++geometryCalls_;
        return geometry_;
    }};
};

// --- Mouse -----------------------------------------------------------------

TEST_F(EventTranslatorTest, MouseMoveCarriesClientCoordinates) {
    const WindowMessage m = one(mouseMotion(320, 240));
    EXPECT_EQ(m.message, 0x0200u);
    EXPECT_EQ(m.message, wm::MouseMove);
    EXPECT_EQ(pointerX(m.lParam), 320);
    EXPECT_EQ(pointerY(m.lParam), 240);
    EXPECT_EQ(m.wParam, 0u);
    EXPECT_FALSE(isSynthesizedPointer(m));
    EXPECT_TRUE(m.touchPoints.empty());
}

TEST_F(EventTranslatorTest, NegativeAndLargeClientCoordinatesSurvivePacking) {
    // A captured pointer may be left of or above the window.
    WindowMessage m = one(mouseMotion(-5, -300));
    EXPECT_EQ(pointerX(m.lParam), -5);
    EXPECT_EQ(pointerY(m.lParam), -300);
    m = one(mouseButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, -1, 2000));
    EXPECT_EQ(pointerX(m.lParam), -1);
    EXPECT_EQ(pointerY(m.lParam), 2000);
    m = one(mouseMotion(3839, -2159));
    EXPECT_EQ(pointerX(m.lParam), 3839);
    EXPECT_EQ(pointerY(m.lParam), -2159);
    EXPECT_EQ(m.lParam, makeLParam(3839, -2159));
}

TEST_F(EventTranslatorTest, ButtonMessagesHaveTheirIds) {
    struct Case {
        Uint32 type;
        Uint8 button;
        std::uint32_t id;
    };
    const Case cases[] = {
        {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 0x0201},   {SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 0x0202},
        {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 0x0204},  {SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 0x0205},
        {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 0x0207}, {SDL_MOUSEBUTTONUP, SDL_BUTTON_MIDDLE, 0x0208},
    };
    for (const Case& c : cases) {
        const WindowMessage m = one(mouseButton(c.type, c.button, 12, 34));
        EXPECT_EQ(m.message, c.id) << "button " << int{c.button};
        EXPECT_EQ(pointerX(m.lParam), 12);
        EXPECT_EQ(pointerY(m.lParam), 34);
    }
}

TEST_F(EventTranslatorTest, SecondLeftClickIsADoubleClick) {
    EXPECT_EQ(one(mouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 5, 5, 1)).message, wm::LButtonDown);
    EXPECT_EQ(one(mouseButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 5, 5, 1)).message, wm::LButtonUp);
    const WindowMessage dbl = one(mouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 5, 5, 2));
    EXPECT_EQ(dbl.message, 0x0203u);
    EXPECT_EQ(dbl.wParam, mouse_keys::Left);
    // The release after a double click is a plain up.
    EXPECT_EQ(one(mouseButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 5, 5, 2)).message, wm::LButtonUp);
    // Only the left button knows double clicks.
    EXPECT_EQ(one(mouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 5, 5, 2)).message, wm::RButtonDown);
    EXPECT_EQ(one(mouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 5, 5, 2)).message, wm::MButtonDown);
}

TEST_F(EventTranslatorTest, ButtonFlagsFollowTheButtonsHeld) {
    EXPECT_EQ(one(mouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, 1)).wParam, 0x0001u);
    EXPECT_EQ(one(mouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 1, 1)).wParam, 0x0003u);
    EXPECT_EQ(one(mouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 1, 1)).wParam, 0x0013u);
    EXPECT_EQ(one(mouseMotion(2, 2)).wParam, 0x0013u);
    // A button's own up no longer counts it as held.
    EXPECT_EQ(one(mouseButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 1, 1)).wParam, 0x0012u);
    EXPECT_EQ(one(mouseButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_MIDDLE, 1, 1)).wParam, 0x0002u);
    EXPECT_EQ(one(mouseButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 1, 1)).wParam, 0x0000u);
    EXPECT_EQ(one(mouseMotion(3, 3)).wParam, 0x0000u);
}

TEST_F(EventTranslatorTest, OtherButtonsGiveNothingAndLeaveFlagsAlone) {
    EXPECT_TRUE(translate(mouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_X1, 1, 1)).empty());
    EXPECT_TRUE(translate(mouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_X2, 1, 1)).empty());
    EXPECT_EQ(one(mouseMotion(2, 2)).wParam, 0u);
}

TEST_F(EventTranslatorTest, ShiftAndControlFromKeyEventsReachMouseFlags) {
    translate(key(SDL_KEYDOWN, SDL_SCANCODE_LSHIFT, SDLK_LSHIFT, KMOD_LSHIFT));
    EXPECT_EQ(one(mouseMotion(1, 1)).wParam, 0x0004u);
    translate(key(SDL_KEYDOWN, SDL_SCANCODE_RCTRL, SDLK_RCTRL, KMOD_LSHIFT | KMOD_RCTRL));
    EXPECT_EQ(one(mouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, 1)).wParam, 0x000Du);
    translate(key(SDL_KEYUP, SDL_SCANCODE_LSHIFT, SDLK_LSHIFT, KMOD_RCTRL));
    EXPECT_EQ(one(mouseButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 1, 1)).wParam, 0x0008u);
    translate(key(SDL_KEYUP, SDL_SCANCODE_RCTRL, SDLK_RCTRL, KMOD_NONE));
    EXPECT_EQ(one(mouseMotion(1, 1)).wParam, 0x0000u);
}

TEST_F(EventTranslatorTest, ModifierStateOfOrdinaryKeysReachesMouseFlags) {
    // Shift went down while another window had the focus: the next key
    // event's modifier state tells.
    translate(key(SDL_KEYDOWN, SDL_SCANCODE_A, SDLK_a, KMOD_RSHIFT));
    EXPECT_EQ(one(mouseMotion(1, 1)).wParam, mouse_keys::Shift);
    translate(key(SDL_KEYUP, SDL_SCANCODE_A, SDLK_a, KMOD_NONE));
    EXPECT_EQ(one(mouseMotion(1, 1)).wParam, 0u);
}

TEST_F(EventTranslatorTest, MouseInputMadeFromTouchCarriesTheSignature) {
    for (const SDL_Event& e : {mouseMotion(10, 10, SDL_TOUCH_MOUSEID),
                               mouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 10, 10, 1, SDL_TOUCH_MOUSEID),
                               mouseButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 10, 10, 1, SDL_TOUCH_MOUSEID)}) {
        const WindowMessage m = one(e);
        EXPECT_TRUE(isSynthesizedPointer(m)) << "message 0x" << std::hex << m.message;
        EXPECT_EQ(m.extraInfo & kSynthesizedPointerMask, kSynthesizedPointerSignature);
    }
    for (const SDL_Event& e : {mouseMotion(10, 10, 0), mouseMotion(11, 11, 2), mouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 10, 10, 1, 0),
                               mouseButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 10, 10, 1, 3)}) {
        const WindowMessage m = one(e);
        EXPECT_FALSE(isSynthesizedPointer(m)) << "message 0x" << std::hex << m.message;
        EXPECT_EQ(m.extraInfo, 0u);
    }
}

// --- Wheel -----------------------------------------------------------------

TEST_F(EventTranslatorTest, WheelNotchIs120InTheHighWordWithScreenCoordinates) {
    WindowMessage m = one(wheel(1, SDL_MOUSEWHEEL_NORMAL, 30, 40));
    EXPECT_EQ(m.message, 0x020Au);
    EXPECT_EQ(wheelDelta(m.wParam), 120);
    EXPECT_EQ(highWord(m.wParam), 120);
    EXPECT_EQ(lowWord(m.wParam), 0);
    // Client (30, 40) seen from a client origin at (100, 50) on the screen.
    EXPECT_EQ(pointerX(m.lParam), 130);
    EXPECT_EQ(pointerY(m.lParam), 90);

    m = one(wheel(-1));
    EXPECT_EQ(wheelDelta(m.wParam), -120);
    m = one(wheel(3));
    EXPECT_EQ(wheelDelta(m.wParam), 360);
}

TEST_F(EventTranslatorTest, FlippedWheelIsTurnedBack) {
    EXPECT_EQ(wheelDelta(one(wheel(-1, SDL_MOUSEWHEEL_FLIPPED)).wParam), 120);
    EXPECT_EQ(wheelDelta(one(wheel(2, SDL_MOUSEWHEEL_FLIPPED)).wParam), -240);
}

TEST_F(EventTranslatorTest, WheelWithoutVerticalNotchGivesNothing) {
    SDL_Event sideways = wheel(0);
    sideways.wheel.x = 1;
    EXPECT_TRUE(translate(sideways).empty());
}

TEST_F(EventTranslatorTest, WheelCarriesButtonFlagsAndFollowsTheWindow) {
    translate(mouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 7, 8));
    // The window sits on a monitor left of and above the primary one.
    geometry_.screenX = -1920;
    geometry_.screenY = -100;
    const WindowMessage m = one(wheel(-2, SDL_MOUSEWHEEL_NORMAL, 7, 8));
    EXPECT_EQ(lowWord(m.wParam), mouse_keys::Right);
    EXPECT_EQ(wheelDelta(m.wParam), -240);
    EXPECT_EQ(pointerX(m.lParam), -1913);
    EXPECT_EQ(pointerY(m.lParam), -92);
}

// --- Keys --------------------------------------------------------------------

TEST_F(EventTranslatorTest, KeyDownAndUpCarryVirtualKeys) {
    WindowMessage down = one(key(SDL_KEYDOWN, SDL_SCANCODE_A, SDLK_a));
    EXPECT_EQ(down.message, 0x0100u);
    EXPECT_EQ(down.wParam, static_cast<std::uintptr_t>('A'));
    const auto downBits = static_cast<std::uint32_t>(down.lParam);
    EXPECT_EQ(downBits & 0xFFFF, 1u) << "repeat count";
    EXPECT_EQ(downBits & (key_bits::WasDown | key_bits::Released | key_bits::AltDown), 0u);

    const WindowMessage up = one(key(SDL_KEYUP, SDL_SCANCODE_A, SDLK_a));
    EXPECT_EQ(up.message, 0x0101u);
    EXPECT_EQ(up.wParam, static_cast<std::uintptr_t>('A'));
    const auto upBits = static_cast<std::uint32_t>(up.lParam);
    EXPECT_NE(upBits & key_bits::Released, 0u);
    EXPECT_NE(upBits & key_bits::WasDown, 0u);

    const WindowMessage repeated = one(key(SDL_KEYDOWN, SDL_SCANCODE_7, SDLK_7, KMOD_NONE, 1));
    EXPECT_EQ(repeated.message, wm::KeyDown);
    EXPECT_EQ(repeated.wParam, static_cast<std::uintptr_t>('7'));
    EXPECT_NE(static_cast<std::uint32_t>(repeated.lParam) & key_bits::WasDown, 0u);
    EXPECT_EQ(static_cast<std::uint32_t>(repeated.lParam) & key_bits::Released, 0u);
}

TEST_F(EventTranslatorTest, NavigationKeysAreExtended) {
    const WindowMessage left = one(key(SDL_KEYDOWN, SDL_SCANCODE_LEFT, SDLK_LEFT));
    EXPECT_EQ(left.wParam, vk::Left);
    EXPECT_NE(static_cast<std::uint32_t>(left.lParam) & key_bits::Extended, 0u);
    const WindowMessage letter = one(key(SDL_KEYDOWN, SDL_SCANCODE_B, SDLK_b));
    EXPECT_EQ(static_cast<std::uint32_t>(letter.lParam) & key_bits::Extended, 0u);
}

TEST_F(EventTranslatorTest, KeyWithoutVirtualKeyGivesNothing) {
    EXPECT_TRUE(translate(key(SDL_KEYDOWN, SDL_SCANCODE_AUDIONEXT, SDLK_AUDIONEXT)).empty());
    EXPECT_TRUE(translate(key(SDL_KEYUP, SDL_SCANCODE_AUDIONEXT, SDLK_AUDIONEXT)).empty());
}

TEST_F(EventTranslatorTest, EnterKeyDownAlsoTypesCarriageReturn) {
    const std::vector<WindowMessage> out = translate(key(SDL_KEYDOWN, SDL_SCANCODE_RETURN, SDLK_RETURN));
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].message, wm::KeyDown);
    EXPECT_EQ(out[0].wParam, vk::Return);
    EXPECT_EQ(out[1].message, 0x0102u);
    EXPECT_EQ(out[1].wParam, 13u);
    // The release types nothing.
    const std::vector<WindowMessage> up = translate(key(SDL_KEYUP, SDL_SCANCODE_RETURN, SDLK_RETURN));
    ASSERT_EQ(up.size(), 1u);
    EXPECT_EQ(up[0].message, wm::KeyUp);
    // The keypad's Enter is the same key, marked extended.
    const std::vector<WindowMessage> pad = translate(key(SDL_KEYDOWN, SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER));
    ASSERT_EQ(pad.size(), 2u);
    EXPECT_EQ(pad[0].wParam, vk::Return);
    EXPECT_NE(static_cast<std::uint32_t>(pad[0].lParam) & key_bits::Extended, 0u);
    EXPECT_EQ(pad[1].wParam, 13u);
}

TEST_F(EventTranslatorTest, EditingKeysAndControlLettersTypeControlCharacters) {
    struct Case {
        SDL_Scancode scancode;
        SDL_Keycode keycode;
        Uint16 mod;
        std::uintptr_t character;
    };
    const Case cases[] = {
        {SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE, KMOD_NONE, 8},
        {SDL_SCANCODE_TAB, SDLK_TAB, KMOD_NONE, 9},
        {SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, KMOD_NONE, 27},
        {SDL_SCANCODE_C, SDLK_c, KMOD_LCTRL, 3},
        {SDL_SCANCODE_Z, SDLK_z, KMOD_RCTRL, 26},
    };
    for (const Case& c : cases) {
        const std::vector<WindowMessage> out = translate(key(SDL_KEYDOWN, c.scancode, c.keycode, c.mod));
        ASSERT_EQ(out.size(), 2u) << "scancode " << c.scancode;
        EXPECT_EQ(out[0].message, wm::KeyDown);
        EXPECT_EQ(out[1].message, wm::Char);
        EXPECT_EQ(out[1].wParam, c.character);
        translate(key(SDL_KEYUP, c.scancode, c.keycode, KMOD_NONE));
    }
    // A plain letter types through text input, not through its key.
    EXPECT_EQ(translate(key(SDL_KEYDOWN, SDL_SCANCODE_C, SDLK_c)).size(), 1u);
}

TEST_F(EventTranslatorTest, AltMakesSystemKeys) {
    WindowMessage m = one(key(SDL_KEYDOWN, SDL_SCANCODE_LALT, SDLK_LALT, KMOD_LALT));
    EXPECT_EQ(m.message, 0x0104u);
    EXPECT_EQ(m.wParam, vk::Menu);
    EXPECT_NE(static_cast<std::uint32_t>(m.lParam) & key_bits::AltDown, 0u);

    // Alt+F: a system key, and no character.
    const std::vector<WindowMessage> withAlt = translate(key(SDL_KEYDOWN, SDL_SCANCODE_F, SDLK_f, KMOD_LALT));
    ASSERT_EQ(withAlt.size(), 1u);
    EXPECT_EQ(withAlt[0].message, wm::SysKeyDown);
    EXPECT_EQ(withAlt[0].wParam, static_cast<std::uintptr_t>('F'));
    EXPECT_NE(static_cast<std::uint32_t>(withAlt[0].lParam) & key_bits::AltDown, 0u);
    m = one(key(SDL_KEYUP, SDL_SCANCODE_F, SDLK_f, KMOD_LALT));
    EXPECT_EQ(m.message, 0x0105u);
    EXPECT_EQ(m.wParam, static_cast<std::uintptr_t>('F'));

    // Alt+Enter types no carriage return.
    const std::vector<WindowMessage> altEnter = translate(key(SDL_KEYDOWN, SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_LALT));
    ASSERT_EQ(altEnter.size(), 1u);
    EXPECT_EQ(altEnter[0].message, wm::SysKeyDown);
    translate(key(SDL_KEYUP, SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_LALT));

    m = one(key(SDL_KEYUP, SDL_SCANCODE_LALT, SDLK_LALT, KMOD_NONE));
    EXPECT_EQ(m.message, wm::SysKeyUp);
    EXPECT_EQ(m.wParam, vk::Menu);

    // With Alt released the same key is ordinary again.
    m = one(key(SDL_KEYDOWN, SDL_SCANCODE_F, SDLK_f, KMOD_NONE));
    EXPECT_EQ(m.message, wm::KeyDown);
    EXPECT_EQ(static_cast<std::uint32_t>(m.lParam) & key_bits::AltDown, 0u);
}

TEST_F(EventTranslatorTest, F10IsASystemKeyAndControlAltIsNot) {
    WindowMessage m = one(key(SDL_KEYDOWN, SDL_SCANCODE_F10, SDLK_F10));
    EXPECT_EQ(m.message, wm::SysKeyDown);
    EXPECT_EQ(m.wParam, vk::F10);
    EXPECT_EQ(one(key(SDL_KEYUP, SDL_SCANCODE_F10, SDLK_F10)).message, wm::SysKeyUp);
    // Control+Alt (AltGr on many layouts) keeps ordinary key messages.
    m = translate(key(SDL_KEYDOWN, SDL_SCANCODE_E, SDLK_e, KMOD_LCTRL | KMOD_RALT)).at(0);
    EXPECT_EQ(m.message, wm::KeyDown);
    EXPECT_EQ(m.wParam, static_cast<std::uintptr_t>('E'));
}

// --- Text ------------------------------------------------------------------

TEST_F(EventTranslatorTest, TextInputTypesWindows1252Bytes) {
    WindowMessage m = one(textInput("\xC3\xA9"));  // é
    EXPECT_EQ(m.message, 0x0102u);
    EXPECT_EQ(m.wParam, 0xE9u);
    EXPECT_EQ(one(textInput("\xE2\x82\xAC")).wParam, 0x80u);  // €
    EXPECT_EQ(one(textInput("\xC5\x93")).wParam, 0x9Cu);      // œ
    EXPECT_EQ(one(textInput("\xE2\x80\x99")).wParam, 0x92u);  // ’
    EXPECT_EQ(one(textInput("a")).wParam, static_cast<std::uintptr_t>('a'));
}

TEST_F(EventTranslatorTest, TextInputOfSeveralCharactersGivesOneMessageEach) {
    const std::vector<WindowMessage> out = translate(textInput("a\xC3\xA9\xC2\xAB"));
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0].wParam, static_cast<std::uintptr_t>('a'));
    EXPECT_EQ(out[1].wParam, 0xE9u);
    EXPECT_EQ(out[2].wParam, 0xABu);
    for (const WindowMessage& m : out) EXPECT_EQ(m.message, wm::Char);
}

TEST_F(EventTranslatorTest, CharactersWithoutAByteAreDropped) {
    EXPECT_TRUE(translate(textInput("\xE6\x97\xA5")).empty());          // CJK
    EXPECT_TRUE(translate(textInput("\xF0\x9F\x98\x80")).empty());      // emoji
    const std::vector<WindowMessage> out = translate(textInput("x\xCE\xB1y"));  // Greek alpha in between
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].wParam, static_cast<std::uintptr_t>('x'));
    EXPECT_EQ(out[1].wParam, static_cast<std::uintptr_t>('y'));
}

TEST_F(EventTranslatorTest, ControlCharactersInTextInputAreLeftToTheirKeys) {
    EXPECT_TRUE(translate(textInput("\r")).empty());
    EXPECT_TRUE(translate(textInput("\x7F")).empty());
    const std::vector<WindowMessage> out = translate(textInput("a\tb"));
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[1].wParam, static_cast<std::uintptr_t>('b'));
}

// --- Window ---------------------------------------------------------------

TEST_F(EventTranslatorTest, SizeMessageCarriesKindAndClientSize) {
    WindowMessage m = one(windowEvent(SDL_WINDOWEVENT_SIZE_CHANGED));
    EXPECT_EQ(m.message, 0x0005u);
    EXPECT_EQ(m.wParam, 0u);
    EXPECT_EQ(lowWord(static_cast<std::uintptr_t>(m.lParam)), 800);
    EXPECT_EQ(highWord(static_cast<std::uintptr_t>(m.lParam)), 600);

    geometry_.maximized = true;
    geometry_.clientWidth = 1920;
    geometry_.clientHeight = 1017;
    m = one(windowEvent(SDL_WINDOWEVENT_MAXIMIZED));
    EXPECT_EQ(m.wParam, 2u);
    EXPECT_EQ(lowWord(static_cast<std::uintptr_t>(m.lParam)), 1920);
    EXPECT_EQ(highWord(static_cast<std::uintptr_t>(m.lParam)), 1017);

    geometry_.minimized = true;
    m = one(windowEvent(SDL_WINDOWEVENT_MINIMIZED));
    EXPECT_EQ(m.wParam, 1u);

    geometry_.minimized = false;
    geometry_.maximized = false;
    geometry_.clientWidth = 1024;
    geometry_.clientHeight = 768;
    m = one(windowEvent(SDL_WINDOWEVENT_RESTORED));
    EXPECT_EQ(m.wParam, 0u);
    EXPECT_EQ(m.lParam, makeLParam(1024, 768));
}

TEST_F(EventTranslatorTest, RepeatedIdenticalSizeGivesOneMessage) {
    EXPECT_EQ(translate(windowEvent(SDL_WINDOWEVENT_SIZE_CHANGED)).size(), 1u);
    // SDL reports one resize as several events (resized, size changed, restored).
    EXPECT_TRUE(translate(windowEvent(SDL_WINDOWEVENT_SIZE_CHANGED)).empty());
    EXPECT_TRUE(translate(windowEvent(SDL_WINDOWEVENT_RESTORED)).empty());

    geometry_.clientWidth = 801;
    EXPECT_EQ(translate(windowEvent(SDL_WINDOWEVENT_SIZE_CHANGED)).size(), 1u);
    EXPECT_TRUE(translate(windowEvent(SDL_WINDOWEVENT_SIZE_CHANGED)).empty());

    geometry_.minimized = true;
    EXPECT_EQ(translate(windowEvent(SDL_WINDOWEVENT_MINIMIZED)).size(), 1u);
    EXPECT_TRUE(translate(windowEvent(SDL_WINDOWEVENT_MINIMIZED)).empty());
    // Back at the size it had before minimising: the kind changed, so it is news.
    geometry_.minimized = false;
    const std::vector<WindowMessage> restored = translate(windowEvent(SDL_WINDOWEVENT_RESTORED));
    ASSERT_EQ(restored.size(), 1u);
    EXPECT_EQ(restored[0].wParam, size_kind::Restored);
    EXPECT_EQ(restored[0].lParam, makeLParam(801, 600));

    // Maximised at the size it already had (it filled the screen): the kind alone is news.
    geometry_.maximized = true;
    const std::vector<WindowMessage> maximized = translate(windowEvent(SDL_WINDOWEVENT_MAXIMIZED));
    ASSERT_EQ(maximized.size(), 1u);
    EXPECT_EQ(maximized[0].wParam, size_kind::Maximized);
    EXPECT_EQ(maximized[0].lParam, makeLParam(801, 600));
    EXPECT_TRUE(translate(windowEvent(SDL_WINDOWEVENT_SIZE_CHANGED)).empty());
}

TEST_F(EventTranslatorTest, ExposedWindowPaintsAndOtherWindowEventsAreQuiet) {
    EXPECT_EQ(one(windowEvent(SDL_WINDOWEVENT_EXPOSED)).message, wm::Paint);
    EXPECT_TRUE(translate(windowEvent(SDL_WINDOWEVENT_MOVED)).empty());
    EXPECT_TRUE(translate(windowEvent(SDL_WINDOWEVENT_FOCUS_GAINED)).empty());
    EXPECT_TRUE(translate(windowEvent(SDL_WINDOWEVENT_ENTER)).empty());
}

TEST_F(EventTranslatorTest, CloseFromTheWindowAndFromQuit) {
    EXPECT_EQ(one(windowEvent(SDL_WINDOWEVENT_CLOSE)).message, 0x0010u);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    const WindowMessage m = one(quit);
    EXPECT_EQ(m.message, wm::Close);
    EXPECT_EQ(m.wParam, 0u);
}

// --- Touch -----------------------------------------------------------------

TEST_F(EventTranslatorTest, FingerDownGivesATouchMessageInHundredthsOfAScreenPixel) {
    const WindowMessage m = one(finger(SDL_FINGERDOWN, 7, 0.5f, 0.25f));
    EXPECT_EQ(m.message, 0x0240u);
    EXPECT_EQ(m.wParam, 1u);
    ASSERT_EQ(m.touchPoints.size(), 1u);
    // (100 + 0.5 * 800, 50 + 0.25 * 600) screen pixels.
    EXPECT_EQ(m.touchPoints[0].x, 50000);
    EXPECT_EQ(m.touchPoints[0].y, 20000);
    EXPECT_EQ(m.touchPoints[0].id, 7u);
    EXPECT_NE(m.touchPoints[0].flags & touch_flags::Down, 0u);
    EXPECT_NE(m.touchPoints[0].flags & touch_flags::Primary, 0u);
    EXPECT_NE(m.touchPoints[0].flags & touch_flags::InRange, 0u);
}

TEST_F(EventTranslatorTest, FractionalPositionsKeepTheirHundredths) {
    geometry_.screenX = 0;
    geometry_.screenY = 0;
    geometry_.clientWidth = 1001;
    geometry_.clientHeight = 3;
    const WindowMessage m = one(finger(SDL_FINGERDOWN, 1, 0.5f, 0.5f));
    ASSERT_EQ(m.touchPoints.size(), 1u);
    EXPECT_EQ(m.touchPoints[0].x, 50050);  // 500.5 pixels
    EXPECT_EQ(m.touchPoints[0].y, 150);    // 1.5 pixels
}

TEST_F(EventTranslatorTest, TwoFingersGiveCountTwoUntilOneLifts) {
    one(finger(SDL_FINGERDOWN, 7, 0.5f, 0.25f));
    WindowMessage m = one(finger(SDL_FINGERDOWN, 9, 0.25f, 0.5f));
    EXPECT_EQ(m.wParam, 2u);
    ASSERT_EQ(m.touchPoints.size(), 2u);
    const TouchPoint* first = nullptr;
    const TouchPoint* second = nullptr;
    for (const TouchPoint& p : m.touchPoints) (p.id == 7 ? first : second) = &p;
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->id, 9u);
    EXPECT_EQ(first->x, 50000);
    EXPECT_EQ(first->y, 20000);
    EXPECT_EQ(second->x, 30000);  // 100 + 0.25 * 800
    EXPECT_EQ(second->y, 35000);  // 50 + 0.5 * 600
    EXPECT_NE(second->flags & touch_flags::Down, 0u);
    EXPECT_EQ(first->flags & touch_flags::Down, 0u) << "only the new finger is down";
    int primaries = 0;
    for (const TouchPoint& p : m.touchPoints) primaries += (p.flags & touch_flags::Primary) != 0;
    EXPECT_EQ(primaries, 1);

    // The first finger moves: both still reported, with its new place.
    m = one(finger(SDL_FINGERMOTION, 7, 0.75f, 0.75f));
    EXPECT_EQ(m.wParam, 2u);
    ASSERT_EQ(m.touchPoints.size(), 2u);
    for (const TouchPoint& p : m.touchPoints) {
        if (p.id == 7) {
            EXPECT_EQ(p.x, 70000);
            EXPECT_EQ(p.y, 50000);
            EXPECT_NE(p.flags & touch_flags::Move, 0u);
        } else {
            EXPECT_EQ(p.x, 30000);
            EXPECT_EQ(p.y, 35000);
        }
    }

    // The lifted finger is reported once, marked up, then it is gone.
    m = one(finger(SDL_FINGERUP, 7, 0.75f, 0.75f));
    EXPECT_EQ(m.wParam, 2u);
    ASSERT_EQ(m.touchPoints.size(), 2u);
    for (const TouchPoint& p : m.touchPoints) {
        if (p.id == 7) EXPECT_NE(p.flags & touch_flags::Up, 0u);
        else EXPECT_EQ(p.flags & touch_flags::Up, 0u);
    }
    m = one(finger(SDL_FINGERMOTION, 9, 0.5f, 0.5f));
    EXPECT_EQ(m.wParam, 1u);
    ASSERT_EQ(m.touchPoints.size(), 1u);
    EXPECT_EQ(m.touchPoints[0].id, 9u);
    EXPECT_EQ(m.touchPoints[0].x, 50000);
    EXPECT_EQ(m.touchPoints[0].y, 35000);

    m = one(finger(SDL_FINGERUP, 9, 0.5f, 0.5f));
    EXPECT_EQ(m.wParam, 1u);
    // All fingers lifted: a new touch starts from one finger again.
    m = one(finger(SDL_FINGERDOWN, 11, 0.1f, 0.1f));
    EXPECT_EQ(m.wParam, 1u);
}

TEST_F(EventTranslatorTest, TouchCountMatchesItsPoints) {
    for (SDL_FingerID id = 1; id <= 4; ++id) {
        const WindowMessage m = one(finger(SDL_FINGERDOWN, id, 0.1f * static_cast<float>(id), 0.5f));
        EXPECT_EQ(m.wParam, static_cast<std::uintptr_t>(id));
        EXPECT_EQ(m.wParam, m.touchPoints.size());
    }
}

// --- Virtual keys and control characters -----------------------------------

TEST(EventTranslatorVirtualKeys, LettersFollowTheLayout) {
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_A, SDLK_a), static_cast<std::uint32_t>('A'));
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_Z, SDLK_z), static_cast<std::uint32_t>('Z'));
    // French AZERTY: the key in the place of Q is marked A, and so on.
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_Q, SDLK_a), static_cast<std::uint32_t>('A'));
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_A, SDLK_q), static_cast<std::uint32_t>('Q'));
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_W, SDLK_z), static_cast<std::uint32_t>('Z'));
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_SEMICOLON, SDLK_m), static_cast<std::uint32_t>('M'));
    // German QWERTZ.
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_Y, SDLK_z), static_cast<std::uint32_t>('Z'));
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_Z, SDLK_y), static_cast<std::uint32_t>('Y'));
    // A layout whose letter keys give no Latin letter keeps the key's place.
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_F, 0x0430), static_cast<std::uint32_t>('F'));
}

TEST(EventTranslatorVirtualKeys, DigitsFollowTheKeysPlace) {
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_1 + i, SDLK_1 + i), static_cast<std::uint32_t>('1' + i));
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_0, SDLK_0), static_cast<std::uint32_t>('0'));
    // AZERTY: the digit row types & and à unshifted but its keys are still digits.
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_1, SDLK_AMPERSAND), static_cast<std::uint32_t>('1'));
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_0, 0xE0), static_cast<std::uint32_t>('0'));
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_KP_0, SDLK_KP_0), vk::Numpad0);
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_KP_1, SDLK_KP_1), 0x61u);
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_KP_9, SDLK_KP_9), 0x69u);
}

TEST(EventTranslatorVirtualKeys, FunctionAndNavigationKeys) {
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_F1, SDLK_F1), 0x70u);
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_F5, SDLK_F5), 0x74u);
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_F10, SDLK_F10), 0x79u);
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_F12, SDLK_F12), 0x7Bu);
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_LEFT, SDLK_LEFT), 0x25u);
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_UP, SDLK_UP), 0x26u);
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_RIGHT, SDLK_RIGHT), 0x27u);
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_DOWN, SDLK_DOWN), 0x28u);
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_PAGEUP, SDLK_PAGEUP), 0x21u);
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_PAGEDOWN, SDLK_PAGEDOWN), 0x22u);
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_HOME, SDLK_HOME), 0x24u);
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_END, SDLK_END), 0x23u);
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_DELETE, SDLK_DELETE), 0x2Eu);
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE), 0x1Bu);
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_SPACE, SDLK_SPACE), 0x20u);
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_LSHIFT, SDLK_LSHIFT), 0x10u);
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_RSHIFT, SDLK_RSHIFT), 0x10u);
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_RCTRL, SDLK_RCTRL), 0x11u);
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_RALT, SDLK_RALT), 0x12u);
}

TEST(EventTranslatorVirtualKeys, OemKeysByPlace) {
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_SEMICOLON, SDLK_SEMICOLON), 0xBAu);
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_EQUALS, SDLK_EQUALS), 0xBBu);
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_COMMA, SDLK_COMMA), 0xBCu);
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_MINUS, SDLK_MINUS), 0xBDu);
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_PERIOD, SDLK_PERIOD), 0xBEu);
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_SLASH, SDLK_SLASH), 0xBFu);
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_GRAVE, SDLK_BACKQUOTE), 0xC0u);
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_LEFTBRACKET, SDLK_LEFTBRACKET), 0xDBu);
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_BACKSLASH, SDLK_BACKSLASH), 0xDCu);
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_RIGHTBRACKET, SDLK_RIGHTBRACKET), 0xDDu);
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_APOSTROPHE, SDLK_QUOTE), 0xDEu);
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_NONUSBACKSLASH, SDLK_LESS), 0xE2u);
    // On AZERTY the comma's place types ';' and stays the comma key.
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_M, SDLK_COMMA), static_cast<std::uint32_t>('M'));
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_COMMA, SDLK_SEMICOLON), 0xBCu);
}

TEST(EventTranslatorVirtualKeys, KeysWithoutVirtualKey) {
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_UNKNOWN, SDLK_UNKNOWN), 0u);
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_AUDIOPLAY, SDLK_AUDIOPLAY), 0u);
}

TEST(EventTranslatorVirtualKeys, ControlCharacters) {
    EXPECT_EQ(controlCharacterForKey(vk::Return, false), 13u);
    EXPECT_EQ(controlCharacterForKey(vk::Return, true), 13u);
    EXPECT_EQ(controlCharacterForKey(vk::Back, false), 8u);
    EXPECT_EQ(controlCharacterForKey(vk::Tab, false), 9u);
    EXPECT_EQ(controlCharacterForKey(vk::Escape, false), 27u);
    EXPECT_EQ(controlCharacterForKey('A', true), 1u);
    EXPECT_EQ(controlCharacterForKey('Z', true), 26u);
    EXPECT_EQ(controlCharacterForKey('A', false), 0u);
    EXPECT_EQ(controlCharacterForKey('5', true), 0u);
    EXPECT_EQ(controlCharacterForKey(vk::F1, true), 0u);
    EXPECT_EQ(controlCharacterForKey(vk::Space, false), 0u);
}

}  // namespace
}  // namespace morvanex
