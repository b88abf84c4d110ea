// The whole editor in a hidden window: a real renderer with the program's
// fonts, images and label files, the application over a recording shell,
// and a driver that sends window messages through the application's own
// handler, as the window does. Frames are drawn for real, so pixels and
// screenshots can be checked.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/application.h"
#include "app/test_support.h"
#include "base/test_files.h"
#include "base/trace_log.h"
#include "image/image_codec.h"
#include "image/image_files.h"
#include "platform/system_folders.h"
#include "platform/window_messages.h"
#include "render/graphics_context.h"
#include "render/hidden_window.h"
#include "ui/control3d.h"
#include "ui/panel.h"

namespace morvanex::test {

class EditorTest : public ::testing::Test {
protected:
    // The window size; a test may change it before SetUp runs.
    int width = 1280;
    int height = 720;
    bool frenchSystem = false;

    void SetUp() override {
        ASSERT_EQ(window_.open("editor", width, height), "");
        graphics_ = &window_.graphics();
        shell.french = frenchSystem;
        // The built-in chooser answers through the interface, as tests need.
        setenv("MORVANEX_FILE_DIALOG", "builtin", 1);
        app.emplace(shell, window_.renderer(), std::nullopt);
        frame();  // start-up ends on the first frame
    }

    void TearDown() override {
        app.reset();
        window_.close();
    }

    // One frame of the frame loop, drawn into the window's targets.
    void frame(double dt = 1.0 / 60.0) {
        clock_ += dt;
        graphics_->beginFrame({0.0f, 0.0f, 0.0f, 1.0f});
        app->frameStep(clock_, dt);
    }

    // Closes the editor and starts it again over the same folders, as a
    // person quitting and coming back would.
    void restartApplication() {
        app.reset();
        app.emplace(shell, window_.renderer(), std::nullopt);
        frame();
    }

    bool send(std::uint32_t message, std::uintptr_t wParam = 0, std::intptr_t lParam = 0) {
        WindowMessage m;
        m.message = message;
        m.wParam = wParam;
        m.lParam = lParam;
        return app->handleMessage(m);
    }
    bool mouse(std::uint32_t message, int x, int y, std::uintptr_t wParam = 0) {
        shell.screenPointer = {x, y};
        return send(message, wParam, makeLParam(x, y));
    }
    // A click as a person makes it: the pointer arrives, presses, releases.
    void click(int x, int y) {
        mouse(wm::MouseMove, x, y);
        mouse(wm::LButtonDown, x, y);
        mouse(wm::LButtonUp, x, y);
    }
    // A double click as the window delivers it: press, release, then the
    // double click, whose two presses the router sends back to the window.
    void doubleClick(int x, int y) {
        mouse(wm::MouseMove, x, y);
        mouse(wm::LButtonDown, x, y);
        mouse(wm::LButtonUp, x, y);
        shell.sent.clear();
        mouse(wm::LButtonDoubleClick, x, y);
        const std::vector<WindowMessage> sent = std::move(shell.sent);
        for (const WindowMessage& m : sent) app->handleMessage(m);
        mouse(wm::LButtonUp, x, y);
    }
    // Clicks the middle of a widget of a shown panel.
    void clickWidget(const Control3d& widget) {
        click(widget.screenX() + widget.width / 2, widget.screenY() + widget.height / 2);
    }
    void keyDown(std::uint32_t key) { send(wm::KeyDown, key); }
    // Ctrl (and Shift) held around one key, as a shortcut is typed.
    void controlKey(std::uint32_t key, bool shift = false) {
        send(wm::KeyDown, vk::Control);
        if (shift) send(wm::KeyDown, vk::Shift);
        send(wm::KeyDown, key);
        send(wm::KeyUp, key);
        if (shift) send(wm::KeyUp, vk::Shift);
        send(wm::KeyUp, vk::Control);
    }
    // The pixel that shows a world point through the application's camera.
    std::pair<int, int> pixelOf(Vec3 p) {
        const FrameView view = cameraFrameView(app->camera, width, height);
        const Vec4 clip = transform(Vec4{p.x, p.y, p.z, 1.0f}, view.view * view.projection);
        return {static_cast<int>(std::lround((clip.x / clip.w + 1.0f) * 0.5f * static_cast<float>(width))),
                static_cast<int>(std::lround((1.0f - clip.y / clip.w) * 0.5f * static_cast<float>(height)))};
    }
    void type(std::string_view text) {
        for (char c : text) send(wm::Char, static_cast<unsigned char>(c));
    }

    unsigned char* pixel(int x, int y) {
        graphics_->readPixel(x, y, rgba_);
        return rgba_;
    }
    // What the window shows, as a PNG, for a person to look at.
    void saveScreenshot(const std::filesystem::path& file) {
        DecodedImage image = graphics_->readFrame();
        if (image.levels.empty()) return;
        auto& bytes = image.levels.front().bytes;
        for (std::size_t i = 3; i < bytes.size(); i += 4) bytes[i] = 255;
        writeImageFile(file, encodePng(image));
    }

    TempFolder temp;
    SystemFolders folders = withProgramFolder(foldersUnder(temp.path()));
    RecordingShell shell{folders, TraceLog(folders.programDataFolder / kTraceFileName)};
    std::optional<Application> app;

private:
    static SystemFolders withProgramFolder(SystemFolders f) {
        f.programFolder = executableFolder();
        std::filesystem::create_directories(f.programDataFolder);
        return f;
    }

    morvanex::testing::HiddenWindow window_;
    GraphicsContext* graphics_ = nullptr;
    double clock_ = 0.0;
    unsigned char rgba_[4] = {};
};

}  // namespace morvanex::test
