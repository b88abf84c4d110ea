// What the application asks of the shell that owns the window. The shell
// implements it on the real window; tests give a recording stand-in.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/platform_window.h"
#include "platform/system_folders.h"
#include "platform/window_messages.h"

namespace morvanex {

class TraceLog;

class ShellServices {
public:
    virtual ~ShellServices() = default;

    virtual const TraceLog& trace() const = 0;
    virtual const SystemFolders& folders() const = 0;
    virtual bool frenchInterface() const = 0;

    virtual void setWindowTitle(std::string_view title) = 0;

    virtual bool postMessage(const WindowMessage& message) = 0;
    // Closes the window again; a forced close asks nothing.
    virtual void closeWindow(bool forced) = 0;

    // Input routing's needs: a synchronous send through the window
    // procedure, one whole frame, the pointer and full screen.
    virtual void sendMessage(const WindowMessage& message) = 0;
    virtual void runOneFrame() = 0;
    virtual void capturePointer(bool captured) = 0;
    virtual void showPointer(bool visible) = 0;
    virtual void movePointerOnScreen(int screenX, int screenY) = 0;
    virtual void pointerScreenPosition(int& screenX, int& screenY) const = 0;
    virtual void screenToClient(int& x, int& y) const = 0;
    virtual void applyFullScreen(bool on) = 0;
    // The next frame's elapsed time is measured from now (a panel appeared).
    virtual void restartFrameClock() {}

    // The widgets' needs: the pointer's shape and the clipboard, whose text
    // crosses as Windows-1252 bytes.
    virtual void setCursor(CursorShape /*shape*/) {}
    virtual std::string clipboardText() const { return {}; }
    virtual void setClipboardText(std::string_view /*text*/) {}
};

}  // namespace morvanex
