#include "app/shell.h"

#include "app/application.h"
#include "app/folders.h"
#include "app/window_rules.h"
#include "base/text_encoding.h"
#include "platform/desktop.h"
#include "platform/message_queue.h"
#include "platform/sdl_session.h"
#include "render/graphics_context.h"
#include "render/renderer.h"
#include "render/result_codes.h"

namespace morvanex {

Shell::Shell(ShellOptions options)
    : options_(std::move(options)), clock_(highResolutionCounter, highResolutionFrequency()) {}

Shell::~Shell() { shutDown(); }

bool Shell::fail(std::string reason) {
    failure_ = std::move(reason);
    return false;
}

bool Shell::startUp() {
    ensureFolder(options_.folders.programDataFolder);
    trace_ = TraceLog(options_.folders.programDataFolder / kTraceFileName);

    sdl_ = std::make_unique<SdlSession>();
    if (!sdl_->ok()) return fail("cannot start the video system: " + sdl_->error());

    if (!window_.create(kWindowTitle, kInitialClientWidth, kInitialClientHeight))
        return fail("cannot create the window: " + window_.lastError());
    queue_ = std::make_unique<MessageQueue>([this] { return window_.geometry(); });
    queue_->setProcedure([this](const WindowMessage& m) { return windowProcedure(m); });

    french_ = isFrenchLanguage(userLanguageCode());
    // Folders that cannot be made are reported; the program goes on and a
    // later write to them says what failed.
    for (const FolderProblem& problem : setUpFolders(options_.folders).problems) {
        trace_.line("CreateDirectory " + textFromPath(problem.folder) + ": " + problem.reason);
    }

    const GraphicsSupport graphics = window_.createGraphicsContext();
    if (graphics == GraphicsSupport::None) return fail("cannot create an OpenGL context: " + window_.lastError());
    if (graphics == GraphicsSupport::OlderOnly) {
        window_.showMessageBox(kGraphicsTooOldMessage, kMessageCaption);
        trace_.line(kGraphicsNotOkLine);
        return fail("the graphics driver offers no OpenGL 3.3 core context");
    }
    // The sample counts can only be asked of a context, so the choice comes
    // once the window's context exists, before its frame targets.
    graphics_ = std::make_unique<GraphicsContext>(window_, trace_);
    if (!chooseMultisampleMode()) return false;
    const ResultCode created = graphics_->create();
    if (failed(created)) {
        graphics_->releaseAll();
        return fail("cannot create the frame targets: " + AudioResultCodeName(created));
    }
    if (!graphics_->checkShaderModel4()) {
        window_.showMessageBox(kGraphicsTooOldMessage, kMessageCaption);
        trace_.line(kGraphicsNotOkLine);
        return fail("the graphics driver offers no OpenGL 3.3 core context");
    }
    trace_.line(kGraphicsOkLine);

    RendererSetup setup;
    setup.programFolder = options_.folders.programFolder;
    setup.shaderErrorFile = options_.folders.programDataFolder / kShaderErrorFileName;
    renderer_ = std::make_unique<Renderer>(trace_, *graphics_, setup);
    app_ = std::make_unique<Application>(*this, *renderer_, options_.commandLineFile, options_.startScene);
    buildInterface();

    window_.showMaximized();
    resizeTargetsToWindow();
    clock_.start();
    return true;
}

int Shell::runFrameLoop() {
    WindowMessage message;
    for (;;) {
        if (queue_->peekMessage(message)) {
            if (message.message == wm::Quit) return static_cast<int>(message.wParam);
            windowProcedure(message);
            continue;
        }
        runOneFrame();
    }
}

int Shell::run() {
    if (!startUp()) {
        shutDown();
        return 1;
    }
    const int code = runFrameLoop();
    shutDown();
    return code;
}

void Shell::runOneFrame() {
    if (windowDestroyed_) return;
    renderer_->beginFrame();
    const double dt = clock_.delta();
    const double t = clock_.now();
    app_->frameStep(t, dt);
    graphics_->endFrame();
}

std::intptr_t Shell::windowProcedure(const WindowMessage& message) {
    if (isDroppedPointerMessage(message)) return 0;
    if (message.message == wm::Touch) {
        if (app_) app_->handleTouch(message);
        return 0;
    }
    if (app_) app_->handleMessage(message);
    switch (message.message) {
    case wm::Destroy: queue_->postQuitMessage(0); break;
    case wm::Size: handleSize(message); break;
    case wm::Paint: break;  // every frame is drawn by the frame loop
    case wm::Close: handleClose(); break;
    default: break;
    }
    return 0;
}

void Shell::handleSize(const WindowMessage& message) {
    if (sizeChangeResizesTargets(lastSizeKind_, message.wParam)) resizeTargetsToWindow();
    lastSizeKind_ = message.wParam;
}

void Shell::resizeTargetsToWindow() {
    // A failed resize leaves the targets unset; the next size change retries.
    if (graphics_ && graphics_->created()) graphics_->resize(false);
}

void Shell::handleClose() {
    const bool modified = app_ && app_->scene.modified;
    if (closeAction(app_ != nullptr, closeForced_, modified) == CloseAction::AskFirst) {
        app_->askCloseQuestion();
        return;
    }
    if (windowDestroyed_) return;
    soundExclamationBeep();
    // The window goes away at once; the GL context stays until shutdown has
    // released what the renderer holds in it.
    windowDestroyed_ = true;
    WindowMessage destroy;
    destroy.message = wm::Destroy;
    windowProcedure(destroy);
}

void Shell::shutDown() {
    app_.reset();
    renderer_.reset();
    // The frame targets go before the context, which goes with the window.
    if (graphics_) graphics_->releaseAll();
    graphics_.reset();
    queue_.reset();
    window_.destroyWindow();
    sdl_.reset();
}

void Shell::setWindowTitle(std::string_view title) { window_.setTitle(title); }

void Shell::sendMessage(const WindowMessage& message) {
    if (queue_) queue_->sendMessage(message);
}

void Shell::capturePointer(bool captured) { window_.setCapture(captured); }

void Shell::showPointer(bool visible) { window_.showCursor(visible); }

void Shell::movePointerOnScreen(int screenX, int screenY) { window_.moveCursorOnScreen(screenX, screenY); }

void Shell::pointerScreenPosition(int& screenX, int& screenY) const { window_.cursorScreenPosition(screenX, screenY); }

void Shell::screenToClient(int& x, int& y) const {
    const WindowGeometry geometry = window_.geometry();
    x -= geometry.screenX;
    y -= geometry.screenY;
}

void Shell::setCursor(CursorShape shape) { window_.setCursor(shape); }

std::string Shell::clipboardText() const { return cp1252FromUtf8(window_.clipboardText()); }

void Shell::setClipboardText(std::string_view text) { window_.setClipboardText(utf8FromCp1252(text)); }

void Shell::applyFullScreen(bool on) {
    if (graphics_) graphics_->setFullScreen(on);
}

bool Shell::postMessage(const WindowMessage& message) { return queue_ && queue_->postMessage(message); }

void Shell::closeWindow(bool forced) {
    closeForced_ = forced;
    WindowMessage close;
    close.message = wm::Close;
    windowProcedure(close);
}

// --- Hooks filled by the subsystems that own these steps -------------------

bool Shell::chooseMultisampleMode() {
    const ResultCode code = graphics_->chooseMultisampleMode();
    if (failed(code)) return fail("cannot choose the multisample mode: " + AudioResultCodeName(code));
    return true;
}

void Shell::buildInterface() {
    // Label tables, panels and widgets come with the main screen.
}

}  // namespace morvanex
