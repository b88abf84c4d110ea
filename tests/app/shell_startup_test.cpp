// The shell on a real (offscreen) SDL window with an OpenGL context: start-up,
// the first frame, size messages and the close request of an unmodified scene.
//
// Only unmodified scenes are closed here: a modified one would put up the
// close question in a real, blocking message box.
#include "app/shell.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <string>
#include <thread>

#include "app/application.h"
#include "app/test_support.h"
#include "app/window_rules.h"
#include "platform/message_queue.h"
#include "platform/system_folders.h"
#include "render/graphics_context.h"
#include "render/renderer.h"

namespace morvanex {
namespace {

using test::readBytes;
using test::TempFolder;

// What a plain start writes: the multisample choice, the frame targets, the
// feature check, then one line per program stage and layout, all loaded.
// The probe framebuffer's name is the driver's to pick.
void expectStartUpTrace(const std::string& trace) {
    const std::string probeLine = "CreateProbeFramebuffer,m_pFramebuffer = ";
    const std::size_t probeAt = trace.find(probeLine);
    ASSERT_NE(probeAt, std::string::npos) << trace;
    const std::size_t probeEnd = trace.find("\r\n", probeAt);
    ASSERT_NE(probeEnd, std::string::npos);
    const std::string name = trace.substr(probeAt + probeLine.size(), probeEnd - probeAt - probeLine.size());
    ASSERT_FALSE(name.empty());
    EXPECT_EQ(name.find_first_not_of("0123456789"), std::string::npos) << name;
    EXPECT_NE(name, "0");
    const std::string devicePart = "InitApp()\r\n"
              "GetMaxSamples, hr = S_OK\r\n"
              "CreateProbeFramebuffer, hr = S_OK\r\n" +
                  probeLine + name +
                  "\r\n"
                  "CreateFramebuffer, hr = S_OK\r\n"
                  "CreateColorBuffer, hr = S_OK\r\n"
                  "CreateDepthBuffer, hr = S_OK\r\n"
                  "CheckFramebufferStatus, hr = S_OK\r\n"
                  "CheckFeatureSupport, Shader model 4 ok\r\n";
    ASSERT_EQ(trace.substr(0, devicePart.size()), devicePart);
    std::size_t programLines = 0;
    for (std::size_t at = devicePart.size(); at < trace.size();) {
        const std::size_t end = trace.find("\r\n", at);
        ASSERT_NE(end, std::string::npos);
        const std::string line = trace.substr(at, end - at);
        // Every interface image asked for at start exists.
        EXPECT_NE(line.rfind("CreateTextureFromFile UI\\", 0), 0u) << line;
        EXPECT_TRUE(line.rfind("Create", 0) == 0 && line.ends_with(" ,hr = S_OK")) << line;
        ++programLines;
        at = end + 2;
    }
    EXPECT_NE(trace.find("CreateVertexShader VS_EnvMappedScene ,hr = S_OK\r\n"), std::string::npos);
    EXPECT_GE(programLines, 20u);
}

class ShellStartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        // ctest sets it; a direct run of the test program must stay headless too.
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        options.folders = test::foldersUnder(temp.path());
        // The build puts the program's shaders beside the test programs.
        options.folders.programFolder = executableFolder();
    }

    // Runs the frame loop; should it not end within the time, a quit with
    // code 99 is posted so that the test fails instead of hanging.
    static int runFrameLoopGuarded(Shell& shell) {
        std::promise<void> finished;
        std::future<void> loopEnded = finished.get_future();
        MessageQueue* queue = shell.messageQueue();
        std::thread watchdog([&loopEnded, queue] {
            if (loopEnded.wait_for(std::chrono::seconds(20)) == std::future_status::ready) return;
            WindowMessage quit;
            quit.message = wm::Quit;
            quit.wParam = 99;
            queue->postMessage(quit);
        });
        const int code = shell.runFrameLoop();
        finished.set_value();
        watchdog.join();
        return code;
    }

    TempFolder temp;
    ShellOptions options;
};

TEST_F(ShellStartupTest, StartsUpTracesAndDrawsTheFirstFrame) {
    const std::filesystem::path dataFolder = options.folders.programDataFolder;
    ASSERT_FALSE(std::filesystem::exists(dataFolder));
    Shell shell(options);

    ASSERT_TRUE(shell.startUp()) << shell.failureReason();
    EXPECT_TRUE(shell.failureReason().empty());
    EXPECT_TRUE(std::filesystem::is_directory(dataFolder));
    const std::string startTrace = readBytes(dataFolder / "trace.txt");
    expectStartUpTrace(startTrace);
    ASSERT_NE(shell.renderer(), nullptr);
    ASSERT_NE(shell.application(), nullptr);
    ASSERT_NE(shell.messageQueue(), nullptr);
    EXPECT_GT(shell.renderer()->width(), 0);
    EXPECT_GT(shell.renderer()->height(), 0);
    // Until the first frame the window shows the version the interface builder gave it.
    EXPECT_EQ(shell.window().title(), "Morvanex " + shell.application()->screen.versionText);

    shell.runOneFrame();
    // The new scene shows the file panel over the middle; the frame behind it is checked.
    shell.application()->screen.filePanel->setVisible(false);
    shell.runOneFrame();

    EXPECT_EQ(shell.window().title(), sceneWindowTitle(shell.application()->labels.language, kTitlePrefixOnOpen,
                                                       "Nouvelle scene.mrx"));
    EXPECT_EQ(shell.application()->scene.filePath,
              (options.folders.documentFolder / "Nouvelle scene.mrx").string());
    EXPECT_GT(shell.renderer()->runningClock, 0.0);

    // The frame is cleared to the new scene's background (0.73 grey).
    unsigned char rgba[4] = {0, 0, 0, 0};
    shell.renderer()->readPixel(shell.renderer()->width() / 2, shell.renderer()->height() / 2, rgba);
    EXPECT_NEAR(rgba[0], 186, 2);
    EXPECT_NEAR(rgba[1], 186, 2);
    EXPECT_NEAR(rgba[2], 186, 2);

    // A plain start logs nothing more.
    EXPECT_EQ(readBytes(dataFolder / "trace.txt"), startTrace);
    // The new scene's folder was made where the options said.
    EXPECT_TRUE(std::filesystem::is_directory(options.folders.documentFolder));
}

TEST_F(ShellStartupTest, MinimisedSizeKeepsTheTargetsRestoredSizeResizesThem) {
    Shell shell(options);
    ASSERT_TRUE(shell.startUp()) << shell.failureReason();
    const int startWidth = shell.renderer()->width();
    ASSERT_GT(startWidth, 0);

    // The window really changes size; the size messages are handed to the
    // window procedure directly so that SDL's own size events do not interfere.
    SDL_Window* window = SDL_GL_GetCurrentWindow();
    ASSERT_NE(window, nullptr);
    const int newWidth = startWidth == 640 ? 800 : 640;
    const int newHeight = 400;
    SDL_SetWindowSize(window, newWidth, newHeight);
    int drawableWidth = 0;
    int drawableHeight = 0;
    SDL_GL_GetDrawableSize(window, &drawableWidth, &drawableHeight);
    ASSERT_NE(drawableWidth, startWidth) << "the offscreen window did not change size";

    WindowMessage size;
    size.message = wm::Size;
    size.wParam = size_kind::Minimized;
    size.lParam = 0;
    shell.windowProcedure(size);
    EXPECT_EQ(shell.renderer()->width(), startWidth);

    size.wParam = size_kind::Restored;
    size.lParam = makeLParam(drawableWidth, drawableHeight);
    shell.windowProcedure(size);
    EXPECT_EQ(shell.renderer()->width(), drawableWidth);
    EXPECT_EQ(shell.renderer()->height(), drawableHeight);
    EXPECT_EQ(drawableWidth, newWidth);
    // The frame targets themselves follow, and the next frame draws at that size.
    ASSERT_NE(shell.graphics(), nullptr);
    EXPECT_EQ(shell.graphics()->width(), drawableWidth);
    EXPECT_EQ(shell.graphics()->height(), drawableHeight);
    shell.runOneFrame();
    // The new scene's file panel is clamped into the smaller window's corner.
    shell.application()->screen.filePanel->setVisible(false);
    shell.runOneFrame();
    unsigned char rgba[4] = {0, 0, 0, 0};
    shell.renderer()->readPixel(drawableWidth - 1, drawableHeight - 1, rgba);
    EXPECT_NEAR(rgba[2], 186, 2);  // the background reaches the new corner
}

TEST_F(ShellStartupTest, CloseOfAnUnmodifiedSceneEndsTheFrameLoop) {
    Shell shell(options);
    ASSERT_TRUE(shell.startUp()) << shell.failureReason();
    ASSERT_FALSE(shell.application()->scene.modified);

    WindowMessage close;
    close.message = wm::Close;
    ASSERT_TRUE(shell.postMessage(close));
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(runFrameLoopGuarded(shell), 0);
    // A normal close says nothing (no terminal bell either).
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");

    // With the window gone, no frame is drawn any more.
    const double clock = shell.renderer()->runningClock;
    shell.runOneFrame();
    EXPECT_EQ(shell.renderer()->runningClock, clock);

    shell.shutDown();
    EXPECT_EQ(shell.application(), nullptr);
    EXPECT_EQ(shell.renderer(), nullptr);
    // The destructor shuts down again: must be harmless.
}

}  // namespace
}  // namespace morvanex
