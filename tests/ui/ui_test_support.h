// Driving real panels the way a person does: window messages in, then the
// state and the pixels checked. A hidden window gives the renderer a real
// context, its fonts and interface images (from the build's program
// folder); RecordingHost writes down what the widgets ask of the
// application; UiDriver sends the messages.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/trace_log.h"
#include "platform/platform_window.h"
#include "platform/sdl_session.h"
#include "platform/system_folders.h"
#include "platform/window_messages.h"
#include "render/graphics_context.h"
#include "render/hidden_window.h"
#include "render/renderer.h"
#include "ui/control3d.h"
#include "ui/interface.h"
#include "ui/interface_host.h"
#include "ui/label_table.h"
#include "ui/panel.h"

namespace morvanex::testing {

// What the widgets told the application, one line each ("button <panel>"),
// and the desktop state they left (capture, pointer, cursor, clipboard).
class RecordingHost : public InterfaceHost {
public:
    std::vector<std::string> events;
    bool captured = false;
    bool pointerVisible = true;
    CursorShape cursor = CursorShape::Arrow;
    int pointerScreenX = 0;  // the screen is the client area here
    int pointerScreenY = 0;
    std::vector<std::pair<int, int>> pointerMoves;  // where the pointer was put back
    std::string clipboard;
    double clock = 0.0;

    void onButton(Panel& panel, Control3d&) override { events.push_back("button " + panel.name); }
    void onCheckBox(Panel& panel, Control3d&) override { events.push_back("checkbox " + panel.name); }
    void onRadioButton(Panel& panel, Control3d&) override { events.push_back("radio " + panel.name); }
    void onEditCommit(Control3d&) override { events.push_back("commit"); }
    void onSliderPress(Control3d&) override { events.push_back("slider press"); }
    void onSliderDrag(Control3d&) override { events.push_back("slider drag"); }
    void onSliderRelease(Control3d&) override { events.push_back("slider release"); }
    void onListItem(Panel& panel, Control3d&) override { events.push_back("list item " + panel.name); }
    void onTabLeave(Control3d&) override { events.push_back("tab leave"); }
    void onTabEnter(Control3d&) override { events.push_back("tab enter"); }
    void onMenuItem(Menu&, MenuItem&) override { events.push_back("menu item"); }
    void onRowSelected(Panel& panel, Control3d&) override { events.push_back("row " + panel.name); }
    void onListRefresh(Control3d&) override { events.push_back("list refresh"); }
    void onPanelShown(Panel& panel) override { events.push_back("shown " + panel.name); }
    void onPanelHidden(Panel& panel) override { events.push_back("hidden " + panel.name); }
    void markSceneModified() override { events.push_back("modified"); }

    void capturePointer(bool on) override { captured = on; }
    void showPointer(bool visible) override { pointerVisible = visible; }
    void setCursor(CursorShape shape) override { cursor = shape; }
    void pointerScreenPosition(int& x, int& y) const override {
        x = pointerScreenX;
        y = pointerScreenY;
    }
    void movePointerOnScreen(int x, int y) override {
        pointerScreenX = x;
        pointerScreenY = y;
        pointerMoves.emplace_back(x, y);
    }
    std::string clipboardText() const override { return clipboard; }
    void setClipboardText(std::string_view text) override { clipboard = std::string(text); }
    double now() const override { return clock; }

    bool saw(const std::string& event) const {
        for (const auto& e : events)
            if (e == event) return true;
        return false;
    }
};

// Sends messages as the window would: the pointer follows every mouse message.
class UiDriver {
public:
    UiDriver(Interface& interface, RecordingHost& host) : interface_(interface), host_(host) {}

    bool send(std::uint32_t message, std::uintptr_t wParam = 0, std::intptr_t lParam = 0) {
        WindowMessage m;
        m.message = message;
        m.wParam = wParam;
        m.lParam = lParam;
        return interface_.handleInput(m);
    }
    bool mouse(std::uint32_t message, int x, int y) {
        host_.pointerScreenX = x;
        host_.pointerScreenY = y;
        return send(message, 0, makeLParam(x, y));
    }
    bool move(int x, int y) { return mouse(wm::MouseMove, x, y); }
    bool press(int x, int y) { return mouse(wm::LButtonDown, x, y); }
    bool release(int x, int y) { return mouse(wm::LButtonUp, x, y); }
    bool rightPress(int x, int y) { return mouse(wm::RButtonDown, x, y); }
    bool click(int x, int y) {
        move(x, y);
        const bool taken = press(x, y);
        release(x, y);
        return taken;
    }
    // Press at (x0, y0), move in `steps` to (x1, y1), release there.
    void drag(int x0, int y0, int x1, int y1, int steps = 4) {
        move(x0, y0);
        press(x0, y0);
        for (int i = 1; i <= steps; ++i) move(x0 + (x1 - x0) * i / steps, y0 + (y1 - y0) * i / steps);
        release(x1, y1);
    }
    bool keyDown(std::uint32_t key) { return send(wm::KeyDown, key); }
    bool keyUp(std::uint32_t key) { return send(wm::KeyUp, key); }
    bool character(char c) { return send(wm::Char, static_cast<unsigned char>(c)); }
    void type(std::string_view text) {
        for (char c : text) character(c);
    }

private:
    Interface& interface_;
    RecordingHost& host_;
};

// A hidden window, a renderer with the program's fonts and images, and an
// interface over a small label table.
class UiTest : public ::testing::Test {
protected:
    static constexpr int kWidth = 640;
    static constexpr int kHeight = 400;

    void SetUp() override {
        ASSERT_EQ(window_.open("ui", kWidth, kHeight), "");
        graphics_ = &window_.graphics();
        renderer_ = &window_.renderer();
        interface_ = std::make_unique<Interface>(*renderer_, host_, labels_);
        interface_->setViewSize(graphics_->width(), graphics_->height());
        driver_ = std::make_unique<UiDriver>(*interface_, host_);
    }

    void TearDown() override {
        interface_.reset();
        window_.close();
    }

    // A shown panel with an opaque dark body.
    Panel& makePanel(const std::string& name, int x, int y, int width, int height, bool closeButton = false) {
        PanelColourWords colours{};
        for (int i = 0; i < 5; ++i) {
            colours[static_cast<std::size_t>(i * 4)] = 255;
            colours[static_cast<std::size_t>(i * 4 + 1)] = 30;
            colours[static_cast<std::size_t>(i * 4 + 2)] = 34;
            colours[static_cast<std::size_t>(i * 4 + 3)] = 42;
        }
        Panel& panel = interface_->createPanel(name, x, y, width, height, colours, closeButton);
        panel.setVisible(true);
        host_.events.clear();
        return panel;
    }

    // Draws the panels as a frame does, `frames` times with dt each.
    void drawFrames(int frames = 1, float dt = 1.0f / 60.0f) {
        for (int i = 0; i < frames; ++i) {
            graphics_->beginFrame({0.0f, 0.0f, 0.0f, 1.0f});
            interface_->draw(dt);
        }
    }

    struct Rgba {
        int r = 0, g = 0, b = 0, a = 0;
    };
    Rgba pixel(int x, int y) {
        unsigned char rgba[4] = {};
        graphics_->readPixel(x, y, rgba);
        return {rgba[0], rgba[1], rgba[2], rgba[3]};
    }

    HiddenWindow window_;
    GraphicsContext* graphics_ = nullptr;
    Renderer* renderer_ = nullptr;
    RecordingHost host_;
    LabelTable labels_{{"", "Fermer", "Bonjour"}, {"", "Close", "Hello"}};
    std::unique_ptr<Interface> interface_;
    std::unique_ptr<UiDriver> driver_;
};

}  // namespace morvanex::testing
