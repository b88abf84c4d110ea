// Helpers shared by the application tests: a unique temporary folder, file
// reading, and a ShellServices stand-in that records what is asked of it.
#pragma once

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "app/shell_services.h"
#include "app/trace_log.h"
#include "platform/system_folders.h"
#include "platform/window_messages.h"

namespace morvanex::test {

// A fresh folder under the system temporary folder, removed with its
// content when the object goes.
class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "morvanex-app-test-XXXXXX").string();
        if (char* made = ::mkdtemp(pattern.data()); made != nullptr) path_ = made;
        if (path_.empty()) ADD_FAILURE() << "cannot create a temporary folder from " << pattern;
    }
    ~TempFolder() {
        if (path_.empty()) return;
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::filesystem::path& child) const { return path_ / child; }

private:
    std::filesystem::path path_;
};

// Every byte of a file; empty when it cannot be read.
inline std::string readBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::filesystem::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline bool folderIsEmpty(const std::filesystem::path& folder) {
    std::error_code error;
    return std::filesystem::is_empty(folder, error) && !error;
}

// A FIFO at `path`; false when the system would not make one.
inline bool makeFifo(const std::filesystem::path& path) { return ::mkfifo(path.c_str(), 0600) == 0; }

// Runs `job` on a thread. One stuck opening `fifo` for reading is let go
// after a while, by opening the FIFO's writing end, so that the test fails
// rather than hangs.
template <class Job>
auto runWithoutBlockingOn(const std::filesystem::path& fifo, Job job) {
    auto result = std::async(std::launch::async, std::move(job));
    if (result.wait_for(std::chrono::seconds(10)) == std::future_status::timeout) {
        ADD_FAILURE() << "blocked opening " << fifo;
        const int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        result.wait();
        if (writer >= 0) ::close(writer);
    }
    return result.get();
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
    struct Question {
        std::string text;
        std::vector<std::string> buttons;
    };

    RecordingShell(SystemFolders folders, TraceLog trace) : folders_(std::move(folders)), trace_(std::move(trace)) {}

    const TraceLog& trace() const override { return trace_; }
    const SystemFolders& folders() const override { return folders_; }
    bool frenchInterface() const override { return french; }

    void setWindowTitle(std::string_view title) override { titles.emplace_back(title); }
    void showMessageBox(std::string_view text) override { messageBoxes.emplace_back(text); }
    int askWithButtons(std::string_view text, const std::vector<std::string>& buttons) override {
        questions.push_back({std::string(text), buttons});
        return answer;
    }
    bool postMessage(const WindowMessage& message) override {
        posted.push_back(message);
        return true;
    }
    void closeWindow(bool forced) override { closeRequests.push_back(forced); }
    void sendMessage(const WindowMessage& message) override { sent.push_back(message); }
    void runOneFrame() override { ++framesRun; }
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

    bool french = false;
    int answer = -1;  // the button index askWithButtons returns

    std::vector<std::string> titles;
    std::vector<std::string> messageBoxes;
    std::vector<Question> questions;
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

private:
    SystemFolders folders_;
    TraceLog trace_;
};

}  // namespace morvanex::test
