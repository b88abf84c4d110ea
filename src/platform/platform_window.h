// The program's one window, its OpenGL context, cursors, pointer capture,
// clipboard and modal message boxes, on SDL.
//
// Texts given here are the program's 8-bit Windows-1252 texts; they are
// converted to UTF-8 on their way to the desktop.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "platform/event_translator.h"

struct SDL_Window;
struct SDL_Cursor;

namespace morvanex {

enum class CursorShape { Arrow, Wait, Hand, Move, Text, Count };

// What the graphics driver can give this window.
enum class GraphicsSupport {
    Core33,     // an OpenGL 3.3 core context (or newer) is current
    OlderOnly,  // the driver only offers an older context: the program cannot run on it
    None,       // no OpenGL context at all
};

class PlatformWindow {
public:
    PlatformWindow() = default;
    ~PlatformWindow();
    PlatformWindow(const PlatformWindow&) = delete;
    PlatformWindow& operator=(const PlatformWindow&) = delete;

    // Creates the hidden, resizable window at the default position with the
    // given client size.
    bool create(std::string_view title, int clientWidth, int clientHeight);
    bool exists() const { return window_ != nullptr; }
    const std::string& lastError() const { return error_; }

    GraphicsSupport createGraphicsContext();
    void swapBuffers();
    void setSwapInterval(int interval);
    // Size of the drawable surface in pixels.
    void drawableSize(int& width, int& height) const;

    void showMaximized();
    void setTitle(std::string_view title);
    const std::string& title() const { return title_; }
    WindowGeometry geometry() const;
    bool setFullScreen(bool on);  // desktop full screen
    void destroyWindow();

    void setCursor(CursorShape shape);
    void showCursor(bool visible);
    void setCapture(bool captured);
    void moveCursorOnScreen(int screenX, int screenY);
    void cursorScreenPosition(int& screenX, int& screenY) const;

    bool setClipboardText(std::string_view text);
    std::string clipboardText() const;

    // Modal box with one OK button, captioned "message" by the callers.
    void showMessageBox(std::string_view text, std::string_view caption) const;
    // Modal box with the given buttons; the index of the one pressed, or -1
    // when the box could not be shown or was dismissed.
    int askWithButtons(std::string_view text, std::string_view caption, const std::vector<std::string>& buttons) const;

private:
    SDL_Window* window_ = nullptr;
    void* glContext_ = nullptr;
    std::array<SDL_Cursor*, static_cast<std::size_t>(CursorShape::Count)> cursors_{};
    std::string title_;
    std::string error_;
};

// A message box with no window behind it, for failures before the window exists.
void showStandaloneMessageBox(std::string_view text, std::string_view caption);

}  // namespace morvanex
