// Helpers shared by the application tests (with the test files of the base
// layer): a ShellServices stand-in that records what is asked of it.
#pragma once

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>

#include <array>
#include <functional>
#include <sstream>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "app/scene_commands.h"
#include "app/shell_services.h"
#include "base/test_files.h"
#include "base/trace_log.h"
#include "platform/system_folders.h"
#include "platform/window_messages.h"

namespace morvanex::test {

// What a command-line subcommand printed and returned.
struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

inline Outcome runCommand(const std::string& command, const std::vector<std::string>& arguments) {
    std::ostringstream out;
    std::ostringstream err;
    Outcome result;
    result.status = runSceneCommand(command, arguments, out, err);
    result.out = out.str();
    result.err = err.str();
    return result;
}

inline bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// True when the text holds a UTF-8 multi-byte sequence (a lead byte followed
// by its continuation bytes); Windows-1252 texts of French words do not.
inline bool containsUtf8MultiByteSequence(std::string_view text) {
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const auto next = static_cast<unsigned char>(text[i + 1]);
        if (lead >= 0xC2 && lead <= 0xF4 && next >= 0x80 && next <= 0xBF) return true;
    }
    return false;
}

// While it lives, no file may grow past a few bytes: a disk that "fills
// up" (root ignores permissions, not this). The signal a write past the
// limit would raise is ignored, so the write fails instead.
class TinyFileSizeLimit {
public:
    TinyFileSizeLimit() {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit tiny = saved_;
        tiny.rlim_cur = 64;
        setrlimit(RLIMIT_FSIZE, &tiny);
    }
    ~TinyFileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    TinyFileSizeLimit(const TinyFileSizeLimit&) = delete;
    TinyFileSizeLimit& operator=(const TinyFileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
};

// Folders under one root: program data and documents are not created here.
inline SystemFolders foldersUnder(const std::filesystem::path& root) {
    SystemFolders folders;
    folders.programFolder = root / "program";
    folders.programDataFolder = root / "data" / kProductFolderName;
    folders.documentFolder = root / "documents" / kProductFolderName;
    folders.musicFolder = root / "music";
    return folders;
}

// A ShellServices that records every request and answers questions with a
// preset button index.
class RecordingShell final : public ShellServices {
public:
    RecordingShell(SystemFolders folders, TraceLog trace) : folders_(std::move(folders)), trace_(std::move(trace)) {}

    const TraceLog& trace() const override { return trace_; }
    const SystemFolders& folders() const override { return folders_; }
    bool frenchInterface() const override { return french; }

    void setWindowTitle(std::string_view title) override { titles.emplace_back(title); }
    bool postMessage(const WindowMessage& message) override {
        posted.push_back(message);
        return true;
    }
    void closeWindow(bool forced) override { closeRequests.push_back(forced); }
    void sendMessage(const WindowMessage& message) override { sent.push_back(message); }
    void runOneFrame() override {
        ++framesRun;
        if (onFrame) onFrame();
    }
    void capturePointer(bool captured) override { pointerCaptured = captured; }
    void showPointer(bool visible) override { pointerVisible = visible; }
    void movePointerOnScreen(int screenX, int screenY) override { pointerMoves.push_back({screenX, screenY}); }
    void pointerScreenPosition(int& screenX, int& screenY) const override {
        screenX = screenPointer[0];
        screenY = screenPointer[1];
    }
    void screenToClient(int& x, int& y) const override {
        x -= clientOrigin[0];
        y -= clientOrigin[1];
    }
    void applyFullScreen(bool on) override { fullScreen = on; }
    void restartFrameClock() override { ++frameClockRestarts; }
    void setCursor(CursorShape shape) override { cursors.push_back(shape); }

    bool french = false;

    std::vector<std::string> titles;
    std::vector<WindowMessage> posted;
    std::vector<bool> closeRequests;  // the `forced` flag of each closeWindow
    std::vector<WindowMessage> sent;
    int framesRun = 0;
    bool pointerCaptured = false;
    bool pointerVisible = true;
    std::vector<std::array<int, 2>> pointerMoves;
    std::array<int, 2> screenPointer{};
    std::array<int, 2> clientOrigin{};
    bool fullScreen = false;
    int frameClockRestarts = 0;
    std::vector<CursorShape> cursors;
    // Runs inside each runOneFrame the application asks for (a frame drawn
    // from the middle of long work).
    std::function<void()> onFrame;

private:
    SystemFolders folders_;
    TraceLog trace_;
};

}  // namespace morvanex::test
