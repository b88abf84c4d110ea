#include "app/input_routing.h"

namespace morvanex {

namespace {

bool isMouseMessage(std::uint32_t m) {
    return m == wm::MouseMove || m == wm::LButtonDown || m == wm::LButtonUp || m == wm::LButtonDoubleClick ||
           m == wm::RButtonDown || m == wm::RButtonUp || m == wm::MButtonDown || m == wm::MButtonUp ||
           m == wm::MouseWheel;
}

bool isButtonDown(std::uint32_t m) { return m == wm::LButtonDown || m == wm::MButtonDown || m == wm::RButtonDown; }

LookButton buttonOf(std::uint32_t m) {
    if (m == wm::MButtonDown) return LookButton::Middle;
    if (m == wm::RButtonDown) return LookButton::Right;
    return LookButton::Left;
}

WindowMessage pointerMessage(std::uint32_t kind, int x, int y, std::uintptr_t buttons) {
    WindowMessage m;
    m.message = kind;
    m.wParam = buttons;
    m.lParam = makeLParam(x, y);
    return m;
}

}  // namespace

Vec3 pointerRay(int x, int y, int width, int height, const Mat4& projection) {
    const float w = static_cast<float>(width > 0 ? width : 1);
    const float h = static_cast<float>(height > 0 ? height : 1);
    const float m00 = projection.m[0][0] != 0.0f ? projection.m[0][0] : 1.0f;
    const float m11 = projection.m[1][1] != 0.0f ? projection.m[1][1] : 1.0f;
    return {(2.0f * static_cast<float>(x) / w - 1.0f) / m00, -(2.0f * static_cast<float>(y) / h - 1.0f) / m11, 1.0f};
}

InputRouter::InputRouter(RoutingHost& host, CameraState& camera) : host_(host), camera_(camera) {}

ViewTools& InputRouter::viewTools() { return tools != nullptr ? *tools : noTools_; }

void InputRouter::updatePointer(int x, int y) {
    state.pointer = {x, y};
    state.pointerRay = pointerRay(x, y, host_.viewWidth(), host_.viewHeight(), host_.viewProjection());
}

bool InputRouter::route(const WindowMessage& message) {
    if (routeGlobalKeys(message)) return true;
    if (routeDeferredMessage(message)) return true;
    if (message.message == wm::LButtonDoubleClick) {
        // Receivers see a double click as two presses.
        const WindowMessage down = pointerMessage(wm::LButtonDown, pointerX(message.lParam),
                                                  pointerY(message.lParam), message.wParam);
        host_.sendMessage(down);
        host_.sendMessage(down);
        return true;
    }
    if (host_.waitingPanelShown()) return false;
    if (message.message == wm::SysKeyDown && message.wParam == vk::Return) {
        state.fullScreen = !state.fullScreen;
        host_.showPointer(false);
        host_.applyFullScreen(state.fullScreen);
        return true;
    }
    if (state.dragActive) return routeDrag(message);
    if (state.modalPanel != nullptr) return state.modalPanel->handleInput(message);
    if (state.inputGrabber != nullptr) return state.inputGrabber->handleInput(message);
    if (state.inputObject != nullptr) return state.inputObject->handleInput(message);

    host_.clearInterfaceHover();
    if (isMouseMessage(message.message)) state.pointerOverInterface = false;
    for (InputPanel* panel : panels) {
        if (panel != nullptr && panel->visible() && panel->acceptsInput() && panel->handleInput(message)) return true;
    }
    if (host_.inEditMode() && routeToViewTools(message)) return true;
    return routePointer(message);
}

bool InputRouter::routeGlobalKeys(const WindowMessage& message) {
    const std::uint32_t m = message.message;
    if (m == wm::KeyDown && message.wParam == vk::Escape && state.pendingMode) {
        state.pendingMode = false;
        return true;
    }
    if ((m == wm::KeyDown || m == wm::SysKeyDown) && message.wParam == vk::Shift) {
        state.rotationSensitivity = kFineRotationSensitivity;
        state.shiftHeld = true;
        setShiftHeld(camera_, true);
    } else if ((m == wm::KeyUp || m == wm::SysKeyUp) && message.wParam == vk::Shift) {
        state.rotationSensitivity = 1.0f;
        state.shiftHeld = false;
        setShiftHeld(camera_, false);
    }
    return false;  // Shift goes on to the receivers
}

bool InputRouter::routeDeferredMessage(const WindowMessage& message) {
    switch (message.message) {
        case wm::RerunAfterFullScreen:
            state.fullScreen = false;
            host_.runOneFrame();
            host_.runOneFrame();
            host_.rerunCommandAfterFullScreen();
            return true;
        case wm::EnterFullScreen:
            state.fullScreen = true;
            host_.toggleFullScreenButton();
            host_.applyFullScreen(state.fullScreen);
            return true;
        case wm::WriteTutorial:
            state.fullScreen = false;
            host_.runOneFrame();
            host_.runOneFrame();
            host_.openTutorialSave();
            return true;
        case wm::TutorialFinished:
            state.fullScreen = false;
            host_.toggleFullScreenButton();
            host_.applyFullScreen(state.fullScreen);
            host_.showTutorialFinished();
            return true;
        case wm::TutorialIntroduction:
            host_.showTutorialIntroduction();
            return true;
        default: return false;
    }
}

bool InputRouter::routeDrag(const WindowMessage& message) {
    const std::uint32_t m = message.message;
    const int x = pointerX(message.lParam);
    const int y = pointerY(message.lParam);
    if (m == wm::MouseMove) {
        if (state.toolDrag) {
            viewTools().continueToolDrag(x, y);
        } else if (state.panDrag) {
            panPadDrag(camera_, static_cast<float>(x - state.dragStart[0]), static_cast<float>(y - state.dragStart[1]));
        } else if (viewDragMove(camera_, {x, y}, host_.viewWidth(), host_.viewHeight())) {
            // At the window's edge the pointer goes back where the drag began.
            host_.movePointerOnScreen(camera_.pressCursor.x, camera_.pressCursor.y);
        }
        return true;
    }
    // A drag begun with the right button ends with it too (it would
    // otherwise hold the pointer until another button came up).
    const bool ends = m == wm::LButtonUp || m == wm::MButtonUp || (m == wm::RButtonUp && state.dragButtons[2]);
    if (!ends) return false;
    endDrag();
    return true;
}

void InputRouter::endDrag() {
    if (state.toolDrag) viewTools().finishToolDrag();
    state.dragActive = false;
    state.toolDrag = false;
    state.panDrag = false;
    state.dragButtons = {};
    viewDragUp(camera_);
    host_.capturePointer(false);
    host_.showPointer(true);
}

bool InputRouter::routeToViewTools(const WindowMessage& message) {
    ViewTools& view = viewTools();
    if (message.message == wm::LButtonDown) view.pickAt(pointerX(message.lParam), pointerY(message.lParam));
    if (message.message == wm::LButtonDown && view.transformToolArmed() && state.creationStep == 0) {
        const int x = pointerX(message.lParam);
        const int y = pointerY(message.lParam);
        state.dragActive = true;
        state.toolDrag = true;
        state.dragButtons = {true, false, false};
        state.dragStart = {x, y};
        host_.capturePointer(true);
        view.startToolDrag(x, y);
        return true;
    }
    InputReceiver* object = view.objectUnderPointer();
    return object != nullptr && object->handleInput(message);
}

bool InputRouter::routePointer(const WindowMessage& message) {
    const std::uint32_t m = message.message;
    if (m != wm::MouseMove && !isButtonDown(m)) return false;
    const int x = pointerX(message.lParam);
    const int y = pointerY(message.lParam);
    updatePointer(x, y);
    ViewTools& view = viewTools();
    if (m == wm::MouseMove) {
        view.creationMove(state.pointerRay);
        return false;
    }
    // Creation tools take left clicks; the other buttons still turn the view.
    if (m == wm::LButtonDown && view.creationClick(state.pointerRay)) return true;
    if (view.panelButtonArmed()) return false;
    // The camera drag.
    const LookButton button = buttonOf(m);
    state.dragActive = true;
    state.toolDrag = false;
    state.dragButtons = {button == LookButton::Left, button == LookButton::Middle, button == LookButton::Right};
    state.dragStart = {x, y};
    state.dragStartAngles = {camera_.yaw, camera_.pitch};
    if (button == LookButton::Middle && host_.inEditMode()) {
        // Editors pan with the middle button; the pointer stays visible.
        state.panDrag = true;
        panPadPress(camera_);
        host_.capturePointer(true);
        return true;
    }
    int screenX = 0;
    int screenY = 0;
    host_.pointerScreenPosition(screenX, screenY);
    viewDragDown(camera_, button, {x, y}, {screenX, screenY});
    host_.capturePointer(true);
    host_.showPointer(false);
    return true;
}

void InputRouter::translateTouch(const WindowMessage& message) {
    if (message.touchPoints.size() > state.touchBuffer.size()) state.touchBuffer.resize(message.touchPoints.size());
    std::copy(message.touchPoints.begin(), message.touchPoints.end(), state.touchBuffer.begin());
    if (message.touchPoints.size() != 1) return;
    const TouchPoint& point = message.touchPoints.front();
    int x = point.x / 100;
    int y = point.y / 100;
    host_.screenToClient(x, y);
    updatePointer(x, y);
    if ((point.flags & touch_flags::Down) != 0) {
        route(pointerMessage(wm::MouseMove, x, y, 0));
        host_.runOneFrame();  // what lies under the finger is hovered first
        route(pointerMessage(wm::LButtonDown, x, y, mouse_keys::Left));
    } else if ((point.flags & touch_flags::Up) != 0) {
        route(pointerMessage(wm::LButtonUp, x, y, 0));
    } else if ((point.flags & touch_flags::Move) != 0) {
        route(pointerMessage(wm::MouseMove, x, y, mouse_keys::Left));
    }
}

}  // namespace morvanex
