#include "ui/interface.h"

#include <algorithm>

#include "render/interface_drawing.h"
#include "render/renderer.h"
#include "ui/control3d.h"
#include "ui/interface_host.h"

namespace morvanex {

namespace {

constexpr int kAboveAll = 99999;
constexpr int kBelowCorner = 99998;

bool isMouseMessage(const WindowMessage& m) {
    return m.message >= wm::MouseMove && m.message <= wm::MButtonUp;
}

bool isPress(const WindowMessage& m) {
    return m.message == wm::LButtonDown || m.message == wm::LButtonDoubleClick || m.message == wm::RButtonDown ||
           m.message == wm::MButtonDown;
}

}  // namespace

Interface::Interface(Renderer& renderer, InterfaceHost& host, const LabelTable& labels)
    : renderer_(renderer), host_(host), labels_(labels) {}

Interface::~Interface() = default;

InterfaceDrawing& Interface::drawing() const { return renderer_.ui; }

Panel& Interface::createPanel(const std::string& name, int x, int y, int width, int height,
                              const PanelColourWords& colours, bool withCloseButton, bool withGrip) {
    ownedPanels_.push_back(std::make_unique<Panel>(*this, name, x, y, width, height, colours));
    Panel& panel = *ownedPanels_.back();
    if (withCloseButton) {
        panel.hasCloseButton = true;
        addCloseButton(panel);
    }
    if (withGrip) {
        panel.hasGrip = true;
        addGripImage(panel);
    }
    panel.stackingNumber = ++stackingCounter;
    panels.push_back(&panel);
    sortPanels();
    return panel;
}

void Interface::sortPanels() {
    // Stable, so that panels of equal rank keep their order between frames.
    std::stable_sort(panels.begin(), panels.end(),
                     [](const Panel* a, const Panel* b) { return a->stackingNumber > b->stackingNumber; });
}

void Interface::bringToFront(Panel& panel, bool shown) {
    panel.stackingNumber = ++stackingCounter;
    if (shown) {
        if (cameraViewsPanel != nullptr) cameraViewsPanel->stackingNumber = kBelowCorner;
        if (cornerPanel != nullptr) cornerPanel->stackingNumber = kAboveAll;
    } else if (cameraViewsPanel != nullptr) {
        cameraViewsPanel->stackingNumber = kAboveAll;
    }
    sortPanels();
    if (cameraViewsPanel != nullptr) cameraViewsPanel->stackingNumber = kAboveAll;
}

bool Interface::handleInput(const WindowMessage& message) {
    if (isMouseMessage(message)) pointerOverInterface[0] = false;
    Control3d* const focusBefore = isPress(message) ? keyboardFocus() : nullptr;
    focusGiven_ = false;
    const bool move = message.message == wm::MouseMove;
    Control3d* const hoveredBefore = hoveredWidget;
    if (move) hoveredWidget = nullptr;
    const bool consumed = offerToPanels(message);
    // A move that a panel above took never reached the widget the pointer
    // left: its highlight goes here.
    if (move && hoveredBefore != nullptr && hoveredBefore != hoveredWidget && hoveredBefore != capturedWidget) {
        hoveredBefore->hot = false;
    }
    // A press in the view, on another widget or on empty space ends the
    // focus; the clipboard menu acts on the box and leaves it focused.
    if (focusBefore != nullptr && !focusGiven_ && focusedEditBox == focusBefore && !onClipboardMenu(message)) {
        releaseFocus();
    }
    return consumed;
}

bool Interface::offerToPanels(const WindowMessage& message) {
    if (movingPanel != nullptr && movingPanel->handleInput(message)) return true;
    if (capturedWidget != nullptr && capturedWidget->handleInput(message)) return true;
    // A press may re-sort the list while it is walked.
    const std::vector<Panel*> order = panels;
    for (Panel* panel : order) {
        if (!panel->visible || panel->inputSuspended) continue;
        if (panel->handleInput(message)) return true;
    }
    return false;
}

bool Interface::onClipboardMenu(const WindowMessage& message) const {
    const Control3d* item = clipboardMenu.pasteItem;
    const Panel* menu = item != nullptr ? item->panel : nullptr;
    return menu != nullptr && menu->visible && menu->contains(messageX(message), messageY(message));
}

// ---------------------------------------------------------------------------
// Keyboard focus

void Interface::giveFocus(Control3d& box) {
    if (focusedEditBox != nullptr && focusedEditBox != &box) focusedEditBox->focused = false;
    box.focused = true;
    focusedEditBox = &box;
    focusGiven_ = true;
}

void Interface::releaseFocus() {
    if (focusedEditBox != nullptr) focusedEditBox->focused = false;
    focusedEditBox = nullptr;
}

Control3d* Interface::keyboardFocus() {
    Control3d* box = focusedEditBox;
    if (box != nullptr && (!box->visible || (box->panel != nullptr && !box->panel->visible))) releaseFocus();
    return focusedEditBox;
}

void Interface::draw(float elapsedSeconds) {
    keyboardFocus();  // a box hidden by a command since the last message shows no caret
    drawnPanels_.clear();
    for (auto panel = panels.rbegin(); panel != panels.rend(); ++panel) {
        if (!(*panel)->visible) continue;
        (*panel)->draw(elapsedSeconds);
        if (!(*panel)->progressBar) drawnPanels_.push_back(*panel);
    }
    drawnPanels_.clear();
    renderer_.ui.flush();
}

Panel* Interface::panelAt(int x, int y) const {
    for (Panel* panel : panels) {
        if (panel->visible && panel->contains(x, y)) return panel;
    }
    return nullptr;
}

void Interface::setViewSize(int width, int height) {
    viewWidth_ = std::max(width, 1);
    viewHeight_ = std::max(height, 1);
}

// ---------------------------------------------------------------------------
// Capture and drag

void Interface::beginDrag(Control3d& widget, const WindowMessage& press) {
    widget.dragging = true;
    widget.pressX = messageX(press);
    widget.pressY = messageY(press);
    widget.pressWidgetX = widget.x;
    widget.pressWidgetY = widget.y;
    capturedWidget = &widget;
    host_.capturePointer(true);
    host_.showPointer(false);
    host_.pointerScreenPosition(widget.pressScreenPoint.x, widget.pressScreenPoint.y);
}

bool Interface::wrapAtEdge(Control3d& widget, int clientX, int clientY) {
    const bool atEdge = clientX + 1 >= viewWidth_ || clientY + 1 >= viewHeight_ || clientX <= 0 || clientY <= 0;
    if (!atEdge) return false;
    host_.movePointerOnScreen(widget.pressScreenPoint.x, widget.pressScreenPoint.y);
    return true;
}

void Interface::endDrag(Control3d& widget) {
    widget.dragging = false;
    if (capturedWidget == &widget) capturedWidget = nullptr;
    host_.capturePointer(false);
    host_.setCursor(CursorShape::Arrow);
    host_.showPointer(true);
    host_.movePointerOnScreen(widget.pressScreenPoint.x, widget.pressScreenPoint.y);
}

}  // namespace morvanex
