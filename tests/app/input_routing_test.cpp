// The message handler's order with fake receivers, the camera drag, the
// pointer ray and the touch translation.
#include "app/input_routing.h"

#include <gtest/gtest.h>

#include <cmath>

#include <string>
#include <vector>

namespace morvanex {
namespace {

WindowMessage pointer(std::uint32_t kind, int x, int y) {
    WindowMessage m;
    m.message = kind;
    m.lParam = makeLParam(x, y);
    return m;
}

WindowMessage key(std::uint32_t kind, std::uint32_t code) {
    WindowMessage m;
    m.message = kind;
    m.wParam = code;
    return m;
}

// Everything the router does to the outside, in one log.
struct FakeHost : RoutingHost {
    void sendMessage(const WindowMessage& message) override {
        sent.push_back(message);
        log.push_back("send " + std::to_string(message.message));
    }
    void runOneFrame() override { log.push_back("frame"); }
    void capturePointer(bool on) override { captured = on; }
    void showPointer(bool on) override { visible = on; }
    void movePointerOnScreen(int x, int y) override { log.push_back("pointer to " + std::to_string(x) + "," + std::to_string(y)); }
    void pointerScreenPosition(int& x, int& y) const override {
        x = 1000;
        y = 500;
    }
    void screenToClient(int& x, int& y) const override {
        x -= 10;
        y -= 20;
    }
    void applyFullScreen(bool on) override { fullScreen = on; }
    int viewWidth() const override { return 200; }
    int viewHeight() const override { return 100; }
    Mat4 viewProjection() const override { return projection; }
    bool waitingPanelShown() const override { return waiting; }
    bool inEditMode() const override { return edit; }
    void rerunCommandAfterFullScreen() override { log.push_back("rerun"); }
    void toggleFullScreenButton() override { log.push_back("toggle button"); }
    void clearInterfaceHover() override { ++hoverClears; }

    std::vector<WindowMessage> sent;
    std::vector<std::string> log;
    bool captured = false;
    bool visible = true;
    bool fullScreen = false;
    bool waiting = false;
    bool edit = true;
    int hoverClears = 0;
    Mat4 projection = perspectiveFovLH(kHalfPi, 2.0f, 1.0f, 100.0f);
};

struct FakePanel : InputPanel {
    FakePanel(std::string panelName, std::vector<std::string>& sharedLog, bool takes)
        : name(std::move(panelName)), log(sharedLog), consumes(takes) {}
    bool handleInput(const WindowMessage& message) override {
        log.push_back(name + " " + std::to_string(message.message));
        return consumes;
    }
    bool visible() const override { return shown; }
    bool acceptsInput() const override { return accepting; }

    std::string name;
    std::vector<std::string>& log;
    bool consumes;
    bool shown = true;
    bool accepting = true;
};

struct FakeTools : ViewTools {
    bool transformToolArmed() const override { return armed; }
    void startToolDrag(int x, int y) override { log.push_back("tool start " + std::to_string(x) + "," + std::to_string(y)); }
    void continueToolDrag(int x, int y) override { log.push_back("tool move " + std::to_string(x) + "," + std::to_string(y)); }
    void finishToolDrag() override { log.push_back("tool end"); }
    bool creationClick(Vec3) override { return creating; }

    std::vector<std::string> log;
    bool armed = false;
    bool creating = false;
};

class InputRoutingTest : public ::testing::Test {
protected:
    FakeHost host;
    CameraState camera;
    InputRouter router{host, camera};
};

TEST_F(InputRoutingTest, AModalPanelTakesEverything) {
    FakePanel panel("panneau", host.log, true);
    router.panels = {&panel};
    FakePanel modal("modal", host.log, false);
    router.state.modalPanel = &modal;
    EXPECT_FALSE(router.route(pointer(wm::LButtonDown, 50, 50)));  // its answer is the handler's
    EXPECT_FALSE(router.route(key(wm::KeyDown, 'A')));
    EXPECT_EQ(host.log, (std::vector<std::string>{"modal 513", "modal 256"}));
    EXPECT_FALSE(router.state.dragActive);  // nor did the camera see it
    // An input grabber, then an input object, take the same place below it.
    router.state.modalPanel = nullptr;
    FakePanel grabber("grabber", host.log, true);
    router.state.inputGrabber = &grabber;
    EXPECT_TRUE(router.route(pointer(wm::MouseMove, 1, 1)));
    EXPECT_EQ(host.log.back(), "grabber 512");
}

TEST_F(InputRoutingTest, PanelsAreOfferedTopDownAndAConsumerStopsTheCamera) {
    FakePanel top("haut", host.log, false);
    FakePanel hidden("cache", host.log, true);
    hidden.shown = false;
    FakePanel suspended("suspendu", host.log, true);
    suspended.accepting = false;
    FakePanel taker("preneur", host.log, true);
    FakePanel below("dessous", host.log, true);
    router.panels = {&top, &hidden, &suspended, &taker, &below};
    EXPECT_TRUE(router.route(pointer(wm::LButtonDown, 50, 50)));
    EXPECT_EQ(host.log, (std::vector<std::string>{"haut 513", "preneur 513"}));
    EXPECT_FALSE(router.state.dragActive);
    EXPECT_EQ(host.hoverClears, 1);

    // Nobody takes it: the camera drag starts.
    taker.consumes = false;
    below.consumes = false;
    EXPECT_TRUE(router.route(pointer(wm::LButtonDown, 50, 50)));
    EXPECT_TRUE(router.state.dragActive);
    EXPECT_TRUE(host.captured);
    EXPECT_FALSE(host.visible);
}

TEST_F(InputRoutingTest, ShiftMakesRotationFineAndStillReachesThePanels) {
    FakePanel panel("panneau", host.log, false);
    router.panels = {&panel};
    router.route(key(wm::KeyDown, vk::Shift));
    EXPECT_FLOAT_EQ(router.state.rotationSensitivity, 0.1f);
    EXPECT_TRUE(router.state.shiftHeld);
    EXPECT_FLOAT_EQ(camera.sensitivity, 0.1f);
    EXPECT_EQ(host.log, (std::vector<std::string>{"panneau 256"}));
    router.route(key(wm::SysKeyUp, vk::Shift));
    EXPECT_FLOAT_EQ(router.state.rotationSensitivity, 1.0f);
    EXPECT_FALSE(router.state.shiftHeld);
    EXPECT_FLOAT_EQ(camera.sensitivity, 1.0f);
    router.route(key(wm::SysKeyDown, vk::Shift));
    EXPECT_TRUE(router.state.shiftHeld);
}

TEST_F(InputRoutingTest, ADoubleClickArrivesAsTwoLeftDowns) {
    FakePanel panel("panneau", host.log, true);
    router.panels = {&panel};
    EXPECT_TRUE(router.route(pointer(wm::LButtonDoubleClick, 12, 34)));
    ASSERT_EQ(host.sent.size(), 2u);
    for (const WindowMessage& m : host.sent) {
        EXPECT_EQ(m.message, wm::LButtonDown);
        EXPECT_EQ(pointerX(m.lParam), 12);
        EXPECT_EQ(pointerY(m.lParam), 34);
    }
    EXPECT_EQ(host.log, (std::vector<std::string>{"send 513", "send 513"}));  // the panel saw no double click
}

TEST_F(InputRoutingTest, WhileTheWaitingPanelShowsNothingIsHandled) {
    FakePanel panel("panneau", host.log, true);
    router.panels = {&panel};
    host.waiting = true;
    EXPECT_FALSE(router.route(pointer(wm::LButtonDown, 5, 5)));
    EXPECT_FALSE(router.route(key(wm::KeyDown, 'A')));
    EXPECT_TRUE(host.log.empty());
    EXPECT_FALSE(router.state.dragActive);
}

TEST_F(InputRoutingTest, TheCameraDragTurnsFromThePressAnglesAndEndsOnRelease) {
    const float yaw = camera.yaw;
    const float pitch = camera.pitch;
    ASSERT_TRUE(router.route(pointer(wm::LButtonDown, 100, 50)));
    EXPECT_FLOAT_EQ(router.state.dragStartAngles[0], yaw);
    EXPECT_TRUE(router.route(pointer(wm::MouseMove, 150, 70)));
    EXPECT_NEAR(camera.yaw, yaw - 50 * 0.001f, 1e-6f);
    EXPECT_NEAR(camera.pitch, pitch - 20 * 0.0005f, 1e-6f);
    // Shift does not change the view drag.
    router.route(key(wm::KeyDown, vk::Shift));
    router.route(pointer(wm::MouseMove, 160, 70));
    EXPECT_NEAR(camera.yaw, yaw - 60 * 0.001f, 1e-6f);
    // At the window's edge the pointer goes back to where the drag began.
    router.route(pointer(wm::MouseMove, 199, 70));
    EXPECT_EQ(host.log.back(), "pointer to 1000,500");
    EXPECT_TRUE(router.route(pointer(wm::LButtonUp, 199, 70)));
    EXPECT_FALSE(router.state.dragActive);
    EXPECT_FALSE(host.captured);
    EXPECT_TRUE(host.visible);
    EXPECT_FALSE(viewDragActive(camera));
}

TEST_F(InputRoutingTest, ARightButtonDragEndsWithTheRightButton) {
    ASSERT_TRUE(router.route(pointer(wm::RButtonDown, 10, 10)));
    EXPECT_TRUE(router.state.dragButtons[2]);
    EXPECT_TRUE(router.route(pointer(wm::RButtonUp, 10, 10)));
    EXPECT_FALSE(router.state.dragActive);
    // A left drag is not ended by a right release.
    router.route(pointer(wm::LButtonDown, 10, 10));
    EXPECT_FALSE(router.route(pointer(wm::RButtonUp, 10, 10)));
    EXPECT_TRUE(router.state.dragActive);
}

TEST_F(InputRoutingTest, EditModeToolsGetTheirDragAndCreationClicks) {
    FakeTools tools;
    router.tools = &tools;
    tools.armed = true;
    ASSERT_TRUE(router.route(pointer(wm::LButtonDown, 30, 40)));
    router.route(pointer(wm::MouseMove, 35, 45));
    router.route(pointer(wm::LButtonUp, 35, 45));
    EXPECT_EQ(tools.log, (std::vector<std::string>{"tool start 30,40", "tool move 35,45", "tool end"}));
    // Not in edit mode the tool waits and the camera turns instead.
    host.edit = false;
    const float yaw = camera.yaw;
    router.route(pointer(wm::LButtonDown, 30, 40));
    router.route(pointer(wm::MouseMove, 40, 40));
    EXPECT_LT(camera.yaw, yaw);
    router.route(pointer(wm::LButtonUp, 40, 40));
    // A creation tool that takes the click leaves the camera alone.
    host.edit = true;
    tools.armed = false;
    tools.creating = true;
    EXPECT_TRUE(router.route(pointer(wm::LButtonDown, 30, 40)));
    EXPECT_FALSE(router.state.dragActive);
    router.route(pointer(wm::RButtonDown, 30, 40));  // the right button still turns the view
    EXPECT_TRUE(router.state.dragActive);
}

TEST_F(InputRoutingTest, EscapeLeavesAPendingModeAndPrivateMessagesRunTheirSteps) {
    router.state.pendingMode = true;
    EXPECT_TRUE(router.route(key(wm::KeyDown, vk::Escape)));
    EXPECT_FALSE(router.state.pendingMode);
    EXPECT_FALSE(router.route(key(wm::KeyDown, vk::Escape)));  // nothing pending: on to the receivers

    router.state.fullScreen = true;
    EXPECT_TRUE(router.route(key(wm::RerunAfterFullScreen, 0)));
    EXPECT_FALSE(router.state.fullScreen);
    EXPECT_EQ(host.log, (std::vector<std::string>{"frame", "frame", "rerun"}));
    host.log.clear();
    EXPECT_TRUE(router.route(key(wm::EnterFullScreen, 0)));
    EXPECT_TRUE(host.fullScreen);
    EXPECT_EQ(host.log, (std::vector<std::string>{"toggle button"}));
    EXPECT_TRUE(router.route(key(wm::SysKeyDown, vk::Return)));  // Alt+Enter
    EXPECT_FALSE(router.state.fullScreen);
    EXPECT_FALSE(host.visible);
}

TEST(PointerRay, FollowsTheProjectionsScaleTerms) {
    const Mat4 square = perspectiveFovLH(kHalfPi, 1.0f, 1.0f, 100.0f);  // m00 = m11 = 1
    Vec3 r = pointerRay(100, 50, 200, 100, square);
    EXPECT_NEAR(r.x, 0.0f, 1e-6f);
    EXPECT_NEAR(r.y, 0.0f, 1e-6f);
    EXPECT_EQ(r.z, 1.0f);
    r = pointerRay(0, 0, 200, 100, square);
    EXPECT_NEAR(r.x, -1.0f, 1e-6f);
    EXPECT_NEAR(r.y, 1.0f, 1e-6f);
    // Twice as wide: m00 is halved, the edge ray twice as far out.
    const Mat4 wide = perspectiveFovLH(kHalfPi, 2.0f, 1.0f, 100.0f);
    r = pointerRay(200, 100, 200, 100, wide);
    EXPECT_NEAR(r.x, 2.0f, 1e-5f);
    EXPECT_NEAR(r.y, -1.0f, 1e-5f);
    // A degenerate size or matrix gives a finite ray.
    r = pointerRay(5, 5, 0, 0, Mat4{{{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}});
    EXPECT_TRUE(std::isfinite(r.x) && std::isfinite(r.y));
}

WindowMessage touch(std::vector<TouchPoint> points) {
    WindowMessage m;
    m.message = wm::Touch;
    m.wParam = points.size();
    m.touchPoints = std::move(points);
    return m;
}

TEST_F(InputRoutingTest, OneFingerHoversForAFrameThenPresses) {
    FakePanel panel("panneau", host.log, true);
    router.panels = {&panel};
    // Hundredths of a screen pixel; the client origin is at (10, 20).
    router.translateTouch(touch({{5099, 7050, 1, touch_flags::Down | touch_flags::Primary}}));
    EXPECT_EQ(host.log, (std::vector<std::string>{"panneau 512", "frame", "panneau 513"}));
    EXPECT_EQ(router.state.pointer[0], 40);
    EXPECT_EQ(router.state.pointer[1], 50);
    host.log.clear();
    router.translateTouch(touch({{6000, 7000, 1, touch_flags::Move}}));
    router.translateTouch(touch({{6000, 7000, 1, touch_flags::Up}}));
    EXPECT_EQ(host.log, (std::vector<std::string>{"panneau 512", "panneau 514"}));
}

TEST_F(InputRoutingTest, ATwoFingerTouchDoesNothing) {
    FakePanel panel("panneau", host.log, true);
    router.panels = {&panel};
    router.translateTouch(touch({{100, 100, 1, touch_flags::Down}, {200, 200, 2, touch_flags::Down}}));
    EXPECT_TRUE(host.log.empty());
    EXPECT_EQ(router.state.touchBuffer.size(), 2u);
    router.translateTouch(touch({{100, 100, 1, touch_flags::Move}}));
    EXPECT_EQ(router.state.touchBuffer.size(), 2u);  // never shrinks
}

}  // namespace
}  // namespace morvanex
