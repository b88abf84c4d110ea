// Window messages as the rest of the program sees them.
//
// Input arrives from SDL but is turned into messages that carry the numeric
// ids, virtual-key codes and parameter packing of the classic desktop window
// protocol, so that routing code, recorded tutorial files and the private
// messages keep one meaning whatever the platform underneath.
#pragma once

#include <cstdint>
#include <vector>

namespace morvanex {

namespace wm {
constexpr std::uint32_t Destroy = 0x0002;
constexpr std::uint32_t Size = 0x0005;
constexpr std::uint32_t Paint = 0x000F;
constexpr std::uint32_t Close = 0x0010;
constexpr std::uint32_t Quit = 0x0012;
constexpr std::uint32_t KeyDown = 0x0100;
constexpr std::uint32_t KeyUp = 0x0101;
constexpr std::uint32_t Char = 0x0102;
constexpr std::uint32_t SysKeyDown = 0x0104;
constexpr std::uint32_t SysKeyUp = 0x0105;
constexpr std::uint32_t MouseMove = 0x0200;
constexpr std::uint32_t LButtonDown = 0x0201;
constexpr std::uint32_t LButtonUp = 0x0202;
constexpr std::uint32_t LButtonDoubleClick = 0x0203;
constexpr std::uint32_t RButtonDown = 0x0204;
constexpr std::uint32_t RButtonUp = 0x0205;
constexpr std::uint32_t MButtonDown = 0x0207;
constexpr std::uint32_t MButtonUp = 0x0208;
constexpr std::uint32_t MouseWheel = 0x020A;
constexpr std::uint32_t CaptureChanged = 0x0215;  // lParam: the window gaining the capture
constexpr std::uint32_t Touch = 0x0240;

// The application's own deferred messages, posted to its own window.
constexpr std::uint32_t RerunAfterFullScreen = 1046;
constexpr std::uint32_t EnterFullScreen = 1048;
constexpr std::uint32_t WriteTutorial = 1050;
constexpr std::uint32_t TutorialFinished = 1052;
constexpr std::uint32_t TutorialIntroduction = 1054;
}  // namespace wm

// Size-message kinds (wParam of wm::Size).
namespace size_kind {
constexpr std::uintptr_t Restored = 0;
constexpr std::uintptr_t Minimized = 1;
constexpr std::uintptr_t Maximized = 2;
}  // namespace size_kind

// Button and modifier flags in wParam of the mouse messages.
namespace mouse_keys {
constexpr std::uintptr_t Left = 0x0001;
constexpr std::uintptr_t Right = 0x0002;
constexpr std::uintptr_t Shift = 0x0004;
constexpr std::uintptr_t Control = 0x0008;
constexpr std::uintptr_t Middle = 0x0010;
}  // namespace mouse_keys

// Virtual-key codes (wParam of the key messages). Letters and digits are
// their upper-case ASCII codes.
namespace vk {
constexpr std::uint32_t Back = 0x08;
constexpr std::uint32_t Tab = 0x09;
constexpr std::uint32_t Return = 0x0D;
constexpr std::uint32_t Shift = 0x10;
constexpr std::uint32_t Control = 0x11;
constexpr std::uint32_t Menu = 0x12;  // Alt
constexpr std::uint32_t Pause = 0x13;
constexpr std::uint32_t Capital = 0x14;
constexpr std::uint32_t Escape = 0x1B;
constexpr std::uint32_t Space = 0x20;
constexpr std::uint32_t Prior = 0x21;
constexpr std::uint32_t Next = 0x22;
constexpr std::uint32_t End = 0x23;
constexpr std::uint32_t Home = 0x24;
constexpr std::uint32_t Left = 0x25;
constexpr std::uint32_t Up = 0x26;
constexpr std::uint32_t Right = 0x27;
constexpr std::uint32_t Down = 0x28;
constexpr std::uint32_t Snapshot = 0x2C;
constexpr std::uint32_t Insert = 0x2D;
constexpr std::uint32_t Delete = 0x2E;
constexpr std::uint32_t LeftWin = 0x5B;
constexpr std::uint32_t RightWin = 0x5C;
constexpr std::uint32_t Apps = 0x5D;
constexpr std::uint32_t Numpad0 = 0x60;
constexpr std::uint32_t Multiply = 0x6A;
constexpr std::uint32_t Add = 0x6B;
constexpr std::uint32_t Subtract = 0x6D;
constexpr std::uint32_t Decimal = 0x6E;
constexpr std::uint32_t Divide = 0x6F;
constexpr std::uint32_t F1 = 0x70;
constexpr std::uint32_t F10 = 0x79;
constexpr std::uint32_t NumLock = 0x90;
constexpr std::uint32_t Scroll = 0x91;
constexpr std::uint32_t Oem1 = 0xBA;  // ; :
constexpr std::uint32_t OemPlus = 0xBB;
constexpr std::uint32_t OemComma = 0xBC;
constexpr std::uint32_t OemMinus = 0xBD;
constexpr std::uint32_t OemPeriod = 0xBE;
constexpr std::uint32_t Oem2 = 0xBF;  // / ?
constexpr std::uint32_t Oem3 = 0xC0;  // ` ~
constexpr std::uint32_t Oem4 = 0xDB;  // [
constexpr std::uint32_t Oem5 = 0xDC;  // backslash
constexpr std::uint32_t Oem6 = 0xDD;  // ]
constexpr std::uint32_t Oem7 = 0xDE;  // '
constexpr std::uint32_t Oem102 = 0xE2;  // < > on ISO keyboards
}  // namespace vk

// Flags of one touch point.
namespace touch_flags {
constexpr std::uint32_t Move = 0x0001;
constexpr std::uint32_t Down = 0x0002;
constexpr std::uint32_t Up = 0x0004;
constexpr std::uint32_t InRange = 0x0008;
constexpr std::uint32_t Primary = 0x0010;
}  // namespace touch_flags

// One finger of a touch message. Coordinates are in hundredths of a screen
// pixel, as touch hardware reports them.
struct TouchPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::uint32_t id = 0;
    std::uint32_t flags = 0;
};

// Marks mouse messages that the system made up from touch or pen input.
constexpr std::uint32_t kSynthesizedPointerSignature = 0xFF515700;
constexpr std::uint32_t kSynthesizedPointerMask = 0xFFFFFF00;

struct WindowMessage {
    std::uint32_t message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
    std::uint32_t extraInfo = 0;           // kSynthesizedPointerSignature for touch-made mouse input
    std::vector<TouchPoint> touchPoints;   // wm::Touch only: every finger down, wParam = count
};

// Parameter packing helpers.
constexpr std::intptr_t makeLParam(int low, int high) {
    return static_cast<std::intptr_t>(
        static_cast<std::uint32_t>(static_cast<std::uint16_t>(low)) |
        (static_cast<std::uint32_t>(static_cast<std::uint16_t>(high)) << 16));
}
constexpr std::uintptr_t makeWParam(int low, int high) {
    return static_cast<std::uintptr_t>(makeLParam(low, high)) & 0xFFFFFFFFu;
}
constexpr std::uint16_t lowWord(std::uintptr_t v) { return static_cast<std::uint16_t>(v & 0xFFFF); }
constexpr std::uint16_t highWord(std::uintptr_t v) { return static_cast<std::uint16_t>((v >> 16) & 0xFFFF); }
// Client coordinates are signed: a captured pointer may leave the window.
constexpr int pointerX(std::intptr_t lParam) { return static_cast<std::int16_t>(lowWord(static_cast<std::uintptr_t>(lParam))); }
constexpr int pointerY(std::intptr_t lParam) { return static_cast<std::int16_t>(highWord(static_cast<std::uintptr_t>(lParam))); }
constexpr int wheelDelta(std::uintptr_t wParam) { return static_cast<std::int16_t>(highWord(wParam)); }

constexpr bool isSynthesizedPointer(const WindowMessage& m) {
    return (m.extraInfo & kSynthesizedPointerMask) == kSynthesizedPointerSignature;
}

// Bits of lParam in key messages.
namespace key_bits {
constexpr std::uint32_t Extended = 1u << 24;
constexpr std::uint32_t AltDown = 1u << 29;
constexpr std::uint32_t WasDown = 1u << 30;
constexpr std::uint32_t Released = 1u << 31;
}  // namespace key_bits

}  // namespace morvanex
