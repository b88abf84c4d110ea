// The shell: brings the program up in its fixed order, runs the frame loop,
// owns the window procedure and shuts everything down. It is the only place
// that knows the order in which the subsystems come up.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "app/frame_clock.h"
#include "app/shell_services.h"
#include "app/start_scene.h"
#include "base/trace_log.h"
#include "platform/platform_window.h"
#include "platform/system_folders.h"

namespace morvanex {

class Application;
class GraphicsContext;
class MessageQueue;
class Renderer;
class SdlSession;

struct ShellOptions {
    SystemFolders folders;
    std::optional<std::string> commandLineFile;  // opened once start-up is over
    StartScene startScene = StartScene::Skip;    // the program plays its title scene first
};

// The texts and sizes start-up uses.
inline constexpr const char* kWindowTitle = "Morvanexv4";
inline constexpr int kInitialClientWidth = 640;
inline constexpr int kInitialClientHeight = 480;
inline constexpr const char* kMessageCaption = "message";
inline constexpr const char* kGraphicsTooOldMessage =
    "Malheureusement, votre carte graphique ne supporte pas les shaders 4.x, d\xE9sol\xE9.";
inline constexpr const char* kShaderErrorFileName = "error.txt";
inline constexpr const char* kGraphicsOkLine = "CheckFeatureSupport, Shader model 4 ok";
inline constexpr const char* kGraphicsNotOkLine = "CheckFeatureSupport, Shader model 4 non ok";

class Shell final : public ShellServices {
public:
    explicit Shell(ShellOptions options);
    ~Shell() override;
    Shell(const Shell&) = delete;
    Shell& operator=(const Shell&) = delete;

    // Start-up up to the first frame; false when a step failed (the reason is
    // in failureReason()).
    bool startUp();
    // Frames and messages until the quit message; returns its exit code.
    int runFrameLoop();
    // Start-up, loop, shutdown: the exit code of the program.
    int run();

    void runOneFrame() override;
    std::intptr_t windowProcedure(const WindowMessage& message);
    void shutDown();

    const std::string& failureReason() const { return failure_; }
    Application* application() { return app_.get(); }
    Renderer* renderer() { return renderer_.get(); }
    GraphicsContext* graphics() { return graphics_.get(); }
    MessageQueue* messageQueue() { return queue_.get(); }
    PlatformWindow& window() { return window_; }

    // ShellServices
    const TraceLog& trace() const override { return trace_; }
    const SystemFolders& folders() const override { return options_.folders; }
    bool frenchInterface() const override { return french_; }
    void setWindowTitle(std::string_view title) override;
    bool postMessage(const WindowMessage& message) override;
    void closeWindow(bool forced) override;
    void sendMessage(const WindowMessage& message) override;
    void capturePointer(bool captured) override;
    void showPointer(bool visible) override;
    void movePointerOnScreen(int screenX, int screenY) override;
    void pointerScreenPosition(int& screenX, int& screenY) const override;
    void screenToClient(int& x, int& y) const override;
    void applyFullScreen(bool on) override;
    void restartFrameClock() override { clock_.start(); }
    void setCursor(CursorShape shape) override;
    std::string clipboardText() const override;
    void setClipboardText(std::string_view text) override;

private:
    bool fail(std::string reason);
    bool chooseMultisampleMode();
    void buildInterface();
    void handleSize(const WindowMessage& message);
    void handleClose();
    void resizeTargetsToWindow();

    ShellOptions options_;
    TraceLog trace_;
    std::unique_ptr<SdlSession> sdl_;
    PlatformWindow window_;
    std::unique_ptr<MessageQueue> queue_;
    FrameClock clock_;
    std::unique_ptr<GraphicsContext> graphics_;
    std::unique_ptr<Renderer> renderer_;
    std::unique_ptr<Application> app_;
    bool french_ = false;
    std::uintptr_t lastSizeKind_ = 0;
    bool closeForced_ = false;
    bool windowDestroyed_ = false;
    std::string failure_;
};

}  // namespace morvanex
