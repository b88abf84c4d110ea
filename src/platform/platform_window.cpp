#include "platform/platform_window.h"

#include <SDL.h>

#include "base/text_encoding.h"

namespace morvanex {
namespace {

SDL_SystemCursor systemCursorFor(CursorShape shape) {
    switch (shape) {
    case CursorShape::Wait: return SDL_SYSTEM_CURSOR_WAIT;
    case CursorShape::Hand: return SDL_SYSTEM_CURSOR_HAND;
    case CursorShape::Move: return SDL_SYSTEM_CURSOR_SIZEALL;
    case CursorShape::Text: return SDL_SYSTEM_CURSOR_IBEAM;
    default: return SDL_SYSTEM_CURSOR_ARROW;
    }
}

void requestGlAttributes(bool core33) {
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    if (core33) {
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_FLAGS, SDL_GL_CONTEXT_FORWARD_COMPATIBLE_FLAG);
    }
}

}  // namespace

PlatformWindow::~PlatformWindow() {
    destroyWindow();
    for (SDL_Cursor*& cursor : cursors_) {
        if (cursor != nullptr) SDL_FreeCursor(cursor);
        cursor = nullptr;
    }
}

bool PlatformWindow::create(std::string_view title, int clientWidth, int clientHeight) {
    title_ = std::string(title);
    const std::string utf8 = utf8FromCp1252(title);
    window_ = SDL_CreateWindow(utf8.c_str(), SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, clientWidth, clientHeight,
                               SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE | SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI);
    if (window_ == nullptr) error_ = SDL_GetError();
    return window_ != nullptr;
}

GraphicsSupport PlatformWindow::createGraphicsContext() {
    if (window_ == nullptr) return GraphicsSupport::None;
    requestGlAttributes(true);
    glContext_ = SDL_GL_CreateContext(window_);
    if (glContext_ != nullptr) return GraphicsSupport::Core33;
    error_ = SDL_GetError();
    // Tell "too old" from "nothing at all": the first gets the user an explanation.
    requestGlAttributes(false);
    SDL_GLContext older = SDL_GL_CreateContext(window_);
    if (older == nullptr) return GraphicsSupport::None;
    SDL_GL_DeleteContext(older);
    return GraphicsSupport::OlderOnly;
}

void PlatformWindow::swapBuffers() {
    if (window_ != nullptr) SDL_GL_SwapWindow(window_);
}

void PlatformWindow::setSwapInterval(int interval) {
    // Adaptive sync is refused by some drivers; plain sync is the fallback.
    if (SDL_GL_SetSwapInterval(interval) != 0 && interval < 0) SDL_GL_SetSwapInterval(1);
}

void PlatformWindow::drawableSize(int& width, int& height) const {
    width = height = 0;
    if (window_ != nullptr) SDL_GL_GetDrawableSize(window_, &width, &height);
}

void PlatformWindow::showMaximized() {
    if (window_ == nullptr) return;
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window_, &width, &height);
    SDL_ShowWindow(window_);
    SDL_MaximizeWindow(window_);
    // A window manager maximises asynchronously; give it a moment.
    int newWidth = width;
    int newHeight = height;
    for (int tries = 0; tries < 20 && newWidth == width && newHeight == height; ++tries) {
        SDL_PumpEvents();
        SDL_Delay(10);
        SDL_GetWindowSize(window_, &newWidth, &newHeight);
    }
    // Without a window manager nothing maximises: fill the usable screen instead.
    SDL_Rect usable;
    if (newWidth == width && newHeight == height &&
        SDL_GetDisplayUsableBounds(SDL_GetWindowDisplayIndex(window_), &usable) == 0 &&
        (usable.w > width || usable.h > height)) {
        SDL_SetWindowPosition(window_, usable.x, usable.y);
        SDL_SetWindowSize(window_, usable.w, usable.h);
    }
}

void PlatformWindow::setTitle(std::string_view title) {
    title_ = std::string(title);
    if (window_ != nullptr) SDL_SetWindowTitle(window_, utf8FromCp1252(title).c_str());
}

WindowGeometry PlatformWindow::geometry() const {
    WindowGeometry g;
    if (window_ == nullptr) return g;
    drawableSize(g.clientWidth, g.clientHeight);
    SDL_GetWindowPosition(window_, &g.screenX, &g.screenY);
    const Uint32 flags = SDL_GetWindowFlags(window_);
    g.minimized = (flags & SDL_WINDOW_MINIMIZED) != 0;
    g.maximized = (flags & SDL_WINDOW_MAXIMIZED) != 0;
    return g;
}

bool PlatformWindow::setFullScreen(bool on) {
    if (window_ == nullptr) return false;
    return SDL_SetWindowFullscreen(window_, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) == 0;
}

void PlatformWindow::destroyWindow() {
    if (glContext_ != nullptr) SDL_GL_DeleteContext(glContext_);
    glContext_ = nullptr;
    if (window_ != nullptr) SDL_DestroyWindow(window_);
    window_ = nullptr;
}

void PlatformWindow::setCursor(CursorShape shape) {
    auto& cursor = cursors_[static_cast<std::size_t>(shape)];
    if (cursor == nullptr) cursor = SDL_CreateSystemCursor(systemCursorFor(shape));
    if (cursor != nullptr) SDL_SetCursor(cursor);
}

void PlatformWindow::showCursor(bool visible) { SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE); }

void PlatformWindow::setCapture(bool captured) { SDL_CaptureMouse(captured ? SDL_TRUE : SDL_FALSE); }

void PlatformWindow::moveCursorOnScreen(int screenX, int screenY) { SDL_WarpMouseGlobal(screenX, screenY); }

void PlatformWindow::cursorScreenPosition(int& screenX, int& screenY) const { SDL_GetGlobalMouseState(&screenX, &screenY); }

bool PlatformWindow::setClipboardText(std::string_view text) {
    return SDL_SetClipboardText(utf8FromCp1252(text).c_str()) == 0;
}

std::string PlatformWindow::clipboardText() const {
    char* utf8 = SDL_GetClipboardText();
    if (utf8 == nullptr) return {};
    std::string text = cp1252FromUtf8(utf8);
    SDL_free(utf8);
    return text;
}

void PlatformWindow::showMessageBox(std::string_view text, std::string_view caption) const {
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, utf8FromCp1252(caption).c_str(), utf8FromCp1252(text).c_str(), window_);
}

int PlatformWindow::askWithButtons(std::string_view text, std::string_view caption, const std::vector<std::string>& buttons) const {
    const std::string utf8Caption = utf8FromCp1252(caption);
    const std::string utf8Text = utf8FromCp1252(text);
    std::vector<std::string> utf8Buttons;
    for (const std::string& b : buttons) utf8Buttons.push_back(utf8FromCp1252(b));
    std::vector<SDL_MessageBoxButtonData> data;
    for (std::size_t i = 0; i < utf8Buttons.size(); ++i) {
        Uint32 flags = 0;
        if (i == 0) flags |= SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
        if (i + 1 == utf8Buttons.size()) flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
        data.push_back(SDL_MessageBoxButtonData{flags, static_cast<int>(i), utf8Buttons[i].c_str()});
    }
    const SDL_MessageBoxData box{SDL_MESSAGEBOX_WARNING, window_, utf8Caption.c_str(), utf8Text.c_str(),
                                 static_cast<int>(data.size()), data.data(), nullptr};
    int pressed = -1;
    if (SDL_ShowMessageBox(&box, &pressed) != 0) return -1;
    return pressed;
}

void showStandaloneMessageBox(std::string_view text, std::string_view caption) {
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, utf8FromCp1252(caption).c_str(), utf8FromCp1252(text).c_str(), nullptr);
}

}  // namespace morvanex
