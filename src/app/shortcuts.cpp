// What every 3D editor's users expect beyond the buttons: keyboard
// shortcuts, the wheel zooming towards the pointer, the middle button
// panning. Shortcuts press the same buttons a click would, so they run the
// same commands with the same questions; a focused edit box keeps its keys.
#include <algorithm>
#include <cmath>

#include "app/application.h"
#include "app/render_command.h"
#include "app/shell_services.h"
#include "modeling/scene_picking.h"
#include "render/renderer.h"
#include "scene/scene_object.h"
#include "ui/control3d.h"
#include "ui/image_button.h"
#include "ui/panel.h"

namespace morvanex {

namespace {

// The status line's band at the foot of the view in edit mode, in pixels.
constexpr float kStatusLineBand = 30.0f;

// What the interface hides of the view: the top bar, and the status line
// in edit mode; framing keeps the subject out of both.
CoveredEdges coveredViewEdges(const MainScreen& screen, bool editMode, float viewHeight) {
    CoveredEdges covered;
    if (const Panel* bar = screen.topBar; bar != nullptr && bar->visible) {
        covered.top = static_cast<float>(bar->y + bar->height) / viewHeight;
    }
    if (editMode) covered.bottom = kStatusLineBand / viewHeight;
    return covered;
}

// Each wheel notch covers this share of the way to what lies under the pointer.
constexpr float kWheelStepShare = 0.2f;
// Never closer to the surface under the pointer than this share of the way.
constexpr float kWheelNearestShare = 0.05f;
// With nothing under the pointer, a notch is this share of the orbit distance, at least kWheelLeastStep.
constexpr float kWheelLeastStep = 1.0f;

}  // namespace

bool Application::handleMessage(const WindowMessage& message) {
    trackModifierKeys(message);
    if (runShortcut(message)) return true;
    if (takeDoubleClick(message)) return true;
    const bool voidClick = editMode && viewTools.endsClickInVoid(message, input.state);
    if (input.route(message)) {
        if (voidClick && currentObject != nullptr) releaseCurrentObject();
        return true;
    }
    if (message.message == wm::MouseWheel && !waitingPanelVisible) {
        int x = pointerX(message.lParam);
        int y = pointerY(message.lParam);
        screenToClient(x, y);
        const int delta = static_cast<std::int16_t>((message.wParam >> 16) & 0xFFFF);
        zoomTowardsPointer(x, y, static_cast<float>(delta) / 120.0f);
        return true;
    }
    return false;
}

void Application::trackModifierKeys(const WindowMessage& message) {
    const bool down = message.message == wm::KeyDown || message.message == wm::SysKeyDown;
    const bool up = message.message == wm::KeyUp || message.message == wm::SysKeyUp;
    if (!down && !up) return;
    if (message.wParam == vk::Control) controlHeld_ = down;
    if (message.wParam == vk::Shift) shiftHeld_ = down;
}

bool Application::runShortcut(const WindowMessage& message) {
    if (message.message != wm::KeyDown || ui.keyboardFocus() != nullptr || waitingPanelVisible || dialogWaiting()) {
        return false;
    }
    const std::uint32_t key = static_cast<std::uint32_t>(message.wParam);
    if (controlHeld_) {
        switch (key) {
            case 'O': return pressButton(screen.file.open3dButton);
            case 'S': return pressButton(shiftHeld_ ? screen.file.saveAsButton : screen.file.saveButton);
            case 'N': return pressButton(screen.file.newButton);
            case 'Z': return editMode && pressButton(screen.tools.modeling.undoButton);
            case 'Y': return editMode && pressButton(screen.tools.modeling.redoButton);
            default: return false;
        }
    }
    if (!editMode) return false;
    if (key == vk::Delete) return pressButton(screen.tools.modeling.deleteObjectButton);
    if (key == 'F') {
        frameCurrentObjectOrScene();
        return true;
    }
    return false;
}

bool Application::pressButton(Control3d* button) {
    if (button == nullptr || button->panel == nullptr || !button->enabled) return false;
    onButton(*button->panel, *button);
    return true;
}

void Application::frameCurrentObjectOrScene() {
    std::array<Vec3, 8> corners;
    if (currentObject != nullptr && !currentObject->vertices.empty()) {
        corners = worldBoxCorners(currentObject->boundsMin, currentObject->boundsMax, currentObject->worldMatrix);
    } else if (const std::optional<SceneBox> box = userObjectsBox(scene)) {
        corners = worldBoxCorners(box->min, box->max, identity());
    } else {
        return;
    }
    const float width = static_cast<float>(std::max(1, viewWidth()));
    const float height = static_cast<float>(std::max(1, viewHeight()));
    frameBox(camera, corners, width, height, coveredViewEdges(screen, editMode, height));
}

void Application::zoomTowardsPointer(int x, int y, float notches) {
    if (notches == 0.0f) return;
    const Vec3 viewDirection = pointerRay(x, y, viewWidth(), viewHeight(), viewProjection());
    const std::optional<Mat4> viewToWorld = inverse(cameraViewMatrix(camera));
    if (!viewToWorld) return;
    const Vec3 direction = normalize(transformNormal(viewDirection, *viewToWorld));
    PickRules rules;
    rules.editMode = editMode;
    const PickHit hit = pickScene(scene, Ray{camera.eye, direction}, rules);
    float step = 0.0f;
    if (hit.hoveredObject != nullptr) {
        // Towards the surface, never through it.
        step = std::min(hit.nearestDistance * kWheelStepShare * notches,
                        hit.nearestDistance * (1.0f - kWheelNearestShare));
    } else {
        step = std::max(kWheelLeastStep, distance(camera.eye, camera.orbitTarget)) * kWheelStepShare * notches;
    }
    if (!std::isfinite(step)) return;
    camera.eye += direction * step;
    camera.eyeTarget = camera.eye;
}

}  // namespace morvanex
