// The interface: every panel in stacking order and the state the widgets
// share (the panel being moved, the widget holding the capture, the focused
// edit box, the hovered button, whether the pointer is over a panel, the
// open pop-up menu). The application owns one and offers it every window
// message and one draw per frame.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "platform/window_messages.h"
#include "ui/panel.h"

namespace morvanex {

class Control3d;
class InterfaceDrawing;
class InterfaceHost;
class LabelTable;
class Menu;
class Renderer;

// The clipboard menu an edit box opens with the right button: what it
// pastes and into which box.
struct ClipboardMenuState {
    Menu* menu = nullptr;         // set by whoever builds the menu
    Control3d* pasteItem = nullptr;
    Control3d* target = nullptr;  // the edit box it acts on
    std::string pasteBuffer;      // the clipboard text when it was opened (Windows-1252)
};

class Interface {
public:
    Interface(Renderer& renderer, InterfaceHost& host, const LabelTable& labels);
    ~Interface();
    Interface(const Interface&) = delete;
    Interface& operator=(const Interface&) = delete;

    // A hidden panel (no title bar, side handle or extended body; outline
    // and title underline on), with its close button as item 0 and its
    // resize grip when asked, placed on top of the stacking order.
    Panel& createPanel(const std::string& name, int x, int y, int width, int height,
                       const PanelColourWords& colours, bool hasCloseButton = false, bool hasGrip = false);

    // The stacking counter goes to the panel; the two always-on-top panels
    // stay above it. `shown`: raised because it was shown (the corner panel
    // then goes over the camera-views panel), else by a press.
    void bringToFront(Panel& panel, bool shown = false);

    // The moving panel, the captured widget, then the panels from the top
    // down (hidden and suspended ones skipped); true when one consumed it.
    // A press that no edit box claims ends the keyboard focus.
    bool handleInput(const WindowMessage& message);
    // Every visible panel from the bottom up, then one flush of the drawing.
    void draw(float elapsedSeconds);
    // The topmost visible panel whose rectangle holds the point, or none.
    Panel* panelAt(int x, int y) const;
    // During draw(): the panels drawn so far this frame, the lowest first.
    const std::vector<const Panel*>& panelsDrawnBelow() const { return drawnPanels_; }

    // The size of the drawing area panels are placed and clamped in.
    void setViewSize(int width, int height);
    int viewWidth() const { return viewWidth_; }
    int viewHeight() const { return viewHeight_; }

    // The capture and drag protocol (press, moves, release) shared by the
    // widgets that drag: capture, hidden pointer, the press point restored.
    void beginDrag(Control3d& widget, const WindowMessage& press);
    // Puts the pointer back at the press point when it reaches an edge of
    // the window, so that a drag can go on forever; true when it did.
    bool wrapAtEdge(Control3d& widget, int clientX, int clientY);
    void endDrag(Control3d& widget);

    // Keyboard focus: an edit box takes it by a press or Tab, and gives it
    // back on a press elsewhere, on Escape, or when it or its panel is
    // hidden, so that the application's shortcuts work again.
    void giveFocus(Control3d& box);
    void releaseFocus();
    // The focused box, or none once the box or its panel is hidden.
    Control3d* keyboardFocus();

    // The owner objects the widgets reach.
    Renderer& renderer() const { return renderer_; }
    InterfaceDrawing& drawing() const;
    InterfaceHost& host() const { return host_; }
    const LabelTable& labels() const { return labels_; }

    // Panels, index 0 on top (drawn last, offered input first). Owned.
    std::vector<Panel*> panels;
    int stackingCounter = 0;
    Panel* cameraViewsPanel = nullptr;  // the two always-on-top panels
    Panel* cornerPanel = nullptr;
    Panel* movingPanel = nullptr;
    Control3d* capturedWidget = nullptr;
    Control3d* focusedEditBox = nullptr;
    Control3d* hoveredWidget = nullptr;
    // Set by any panel under the pointer of a mouse message; the first is
    // cleared before each mouse message is offered. The 3D view ignores
    // what the interface has under the pointer.
    std::array<bool, 2> pointerOverInterface{};
    Panel* popupPanel = nullptr;        // the open pop-up menu
    ClipboardMenuState clipboardMenu;
    Panel* pointerImagePanel = nullptr; // whose arrow image follows the pointer over a list

private:
    void sortPanels();
    bool offerToPanels(const WindowMessage& message);
    bool onClipboardMenu(const WindowMessage& message) const;

    Renderer& renderer_;
    InterfaceHost& host_;
    const LabelTable& labels_;
    std::vector<std::unique_ptr<Panel>> ownedPanels_;
    int viewWidth_ = 1920;
    int viewHeight_ = 1080;
    bool focusGiven_ = false;
    std::vector<const Panel*> drawnPanels_;  // an edit box took the focus during the message being routed
};

// Hooks the widget catalogue fills: the close button every panel with one
// gets as item 0, and the resize grip. Defined with the image button and
// the image widget.
void addCloseButton(Panel& panel);
Image& addGripImage(Panel& panel);

}  // namespace morvanex
