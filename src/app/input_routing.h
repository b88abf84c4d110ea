// The one path every window message takes through the application: global
// keys, the application's own deferred messages, a drag in progress, a
// modal panel, a grabber, an object holding the input, the panels from the
// top down, the edit-mode tools, then the pointer ray, the creation tools
// and the camera drag. Touch input is turned into pointer messages first.
//
// Receivers that arrive with later subsystems (panels, tools, objects that
// take input) plug in through the interfaces below; until then the lists
// are empty and the camera drag is what the 3D view does.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "platform/window_messages.h"
#include "render/camera.h"
#include "scene/math.h"

namespace morvanex {

// Anything that can take a message: a panel, an input grabber, an object's
// input operation. True when it handled the message.
class InputReceiver {
public:
    virtual ~InputReceiver() = default;
    virtual bool handleInput(const WindowMessage& message) = 0;
};

// A panel as the router sees it.
class InputPanel : public InputReceiver {
public:
    virtual bool visible() const = 0;
    virtual bool acceptsInput() const = 0;
};

// The tools of the 3D view as the router sees them. Every answer is "no
// tool" until the tools exist.
class ViewTools {
public:
    virtual ~ViewTools() = default;
    // A press may come before a frame has looked under the pointer's new
    // place: what lies under (x, y) is found again first.
    virtual void pickAt(int /*x*/, int /*y*/) {}
    // A transform tool is pressed and waits for a drag on an object.
    virtual bool transformToolArmed() const { return false; }
    virtual void startToolDrag(int /*x*/, int /*y*/) {}
    virtual void continueToolDrag(int /*x*/, int /*y*/) {}
    virtual void finishToolDrag() {}
    // The object under the pointer with its input operation, or none.
    virtual InputReceiver* objectUnderPointer() { return nullptr; }
    // A creation tool follows the pointer ray / takes a click on it.
    virtual void creationMove(Vec3 /*pointerRay*/) {}
    virtual bool creationClick(Vec3 /*pointerRay*/) { return false; }
    // A panel button waits for a click in the view (no camera drag then).
    virtual bool panelButtonArmed() const { return false; }
};

// What the router asks of the window and of the rest of the application.
class RoutingHost {
public:
    virtual ~RoutingHost() = default;
    // Synchronously through the whole handler, as a message sent to the window.
    virtual void sendMessage(const WindowMessage& message) = 0;
    virtual void runOneFrame() = 0;
    virtual void capturePointer(bool captured) = 0;
    virtual void showPointer(bool visible) = 0;
    virtual void movePointerOnScreen(int screenX, int screenY) = 0;
    virtual void pointerScreenPosition(int& screenX, int& screenY) const = 0;
    virtual void screenToClient(int& x, int& y) const = 0;
    virtual void applyFullScreen(bool on) = 0;
    virtual int viewWidth() const = 0;
    virtual int viewHeight() const = 0;
    virtual Mat4 viewProjection() const = 0;  // the camera's projection in use
    virtual bool waitingPanelShown() const = 0;
    virtual bool inEditMode() const = 0;
    // Deferred commands (numbers 1046 to 1054) and the interface hover.
    virtual void rerunCommandAfterFullScreen() {}
    virtual void toggleFullScreenButton() {}
    virtual void openTutorialSave() {}
    virtual void showTutorialFinished() {}
    virtual void showTutorialIntroduction() {}
    virtual void clearInterfaceHover() {}
};

inline constexpr float kFineRotationSensitivity = 0.1f;

struct InputState {
    bool dragActive = false;
    bool toolDrag = false;  // the drag belongs to a transform tool, not the camera
    bool panDrag = false;   // the middle button slides the view while editing
    std::array<bool, 3> dragButtons{};  // left, middle, right
    std::array<std::int32_t, 2> dragStart{};
    std::array<float, 2> dragStartAngles{};  // yaw, pitch
    float rotationSensitivity = 1.0f;
    bool shiftHeld = false;
    Vec3 pointerRay{0.0f, 0.0f, 1.0f};
    std::array<std::int32_t, 2> pointer{};
    bool pointerOverInterface = false;
    std::int32_t creationStep = 0;
    bool fullScreen = false;
    bool pendingMode = false;  // a two-state mode Escape leaves
    InputReceiver* modalPanel = nullptr;
    InputReceiver* inputGrabber = nullptr;
    InputReceiver* inputObject = nullptr;
    std::vector<TouchPoint> touchBuffer;  // grown to the most fingers seen, never shrunk
};

// The view-space direction under a pixel: ((2x / w - 1) / m00,
// -(2y / h - 1) / m11, 1) with the projection's scale terms.
Vec3 pointerRay(int x, int y, int width, int height, const Mat4& projection);

class InputRouter {
public:
    InputRouter(RoutingHost& host, CameraState& camera);

    // The handler; true when a step handled the message.
    bool route(const WindowMessage& message);
    // Touch messages: one finger becomes pointer messages, more do nothing.
    void translateTouch(const WindowMessage& message);

    // Panels in stacking order, the topmost first (not owned).
    std::vector<InputPanel*> panels;
    ViewTools* tools = nullptr;  // null: no tools
    InputState state;

private:
    bool routeGlobalKeys(const WindowMessage& message);
    bool routeDeferredMessage(const WindowMessage& message);
    bool routeDrag(const WindowMessage& message);
    bool routeToViewTools(const WindowMessage& message);
    bool routePointer(const WindowMessage& message);
    void endDrag();
    void updatePointer(int x, int y);
    ViewTools& viewTools();

    RoutingHost& host_;
    CameraState& camera_;
    ViewTools noTools_;
};

}  // namespace morvanex
