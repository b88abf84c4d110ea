// The base of every widget, and the exclusive groups widgets belong to.
//
// Coordinates are integer pixels of the window's client area, y downwards;
// a widget's x and y are relative to its panel's top-left corner. Widgets
// edit the variables they are bound to directly and report actions to the
// interface host; they never call GL (they draw through the renderer's
// interface drawing operations).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/window_messages.h"

namespace morvanex {

class ControleGroupe;
class Interface;
class InterfaceDrawing;
class InterfaceHost;
class LabelTable;
class Panel;
struct RichHint;

struct ScreenPoint {
    int x = 0;
    int y = 0;
};

class Control3d {
public:
    Control3d() = default;
    virtual ~Control3d();
    Control3d(const Control3d&) = delete;
    Control3d& operator=(const Control3d&) = delete;

    // True when the message was consumed. The base consumes everything.
    virtual bool handleInput(const WindowMessage& message);
    virtual void setVisible(bool visible);
    virtual void toggleVisible();
    virtual void draw(float elapsedSeconds);
    // Second pass for hint bubbles, above every widget of the panel.
    virtual void drawOverlay(float elapsedSeconds);
    // Text buffers go with the graphics device; nothing to release here.
    virtual void releaseGpuResources();
    // The panel links its visible edit boxes for the Tab key every frame;
    // only edit boxes keep the links.
    virtual void linkInChain(Control3d* previous, Control3d* next);

    // Checks itself, then asks its exclusive group to select it.
    void selectInGroup();

    // The widget's rectangle on screen: the panel's position plus its own,
    // less the panel's content offset (already applied to panel->y while
    // the panel offers it input or draws it).
    int screenX() const;
    int screenY() const;
    bool contains(int px, int py) const;

    // The owner objects a widget reaches through its panel.
    Interface& interface() const;
    InterfaceHost& host() const;
    InterfaceDrawing& drawing() const;
    const LabelTable& labels() const;

    bool visible = true;
    Panel* panel = nullptr;  // owner, not owned
    bool hot = false;        // the pointer is over it
    int pressX = 0;          // client position of the last left press
    int pressY = 0;
    ScreenPoint pressScreenPoint;  // screen position of that press, restored after a drag
    int pressWidgetX = 0;    // own x, y at that press
    int pressWidgetY = 0;
    bool dragging = false;   // holds the pointer capture
    bool checked = false;
    bool* boundFlag = nullptr;  // kept equal to `checked` where a widget binds it
    std::function<void()> onDragStart;
    std::function<void(int dx, int dy, int y)> onDragMove;
    std::function<void()> onDragEnd;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool enabled = true;     // accepts presses; a disabled widget is still drawn
    bool focused = false;    // keyboard focus (edit boxes)
    ControleGroupe* dependants = nullptr;  // widgets whose visibility follows this one
    ControleGroupe* group = nullptr;       // the exclusive group it belongs to
    std::string kind;        // "editbox" for edit boxes: keyboard routing and the Tab chain
    int captionLabel = -1;   // label numbers of its texts, -1 for none
    int secondLabel = -1;
    int hintLabel = -1;
    std::string hintText;    // the hint bubble's text; empty: no bubble
    RichHint* richHint = nullptr;  // picture-and-text hint (image buttons), not owned
};

// A group of widgets: the members of an exclusive choice (at most one is
// checked) and the dependants shown only while the owning widget is checked.
// Never drawn and never consumes input; it only refers to widgets.
class ControleGroupe : public Control3d {
public:
    bool handleInput(const WindowMessage& message) override;

    // Unchecks every other member (clearing its bound flag and hiding its
    // dependants), stores the member's index, then shows the member's
    // dependants. The caller checks the member itself.
    void select(Control3d& member);
    void selectIndex(std::size_t index);
    // Every member unchecked, its bound flag false, its dependants hidden.
    void clear();
    void showDependants(bool visible);
    // Adds a widget as a member and makes the group its `group`.
    void addMember(Control3d& member);

    std::vector<Control3d*> members;
    std::vector<Control3d*> dependants;  // hides Control3d::dependants: a group is nobody's owner
    int* boundIndex = nullptr;
};

// A widget of type W with its rectangle (relative to the panel it will be
// added to).
template <class W>
std::unique_ptr<W> makeWidget(int x, int y, int width, int height) {
    auto widget = std::make_unique<W>();
    widget->x = x;
    widget->y = y;
    widget->width = width;
    widget->height = height;
    return widget;
}

// Client coordinates of a mouse message.
inline int messageX(const WindowMessage& m) { return pointerX(m.lParam); }
inline int messageY(const WindowMessage& m) { return pointerY(m.lParam); }
inline bool isLeftPress(const WindowMessage& m) {
    return m.message == wm::LButtonDown || m.message == wm::LButtonDoubleClick;
}
inline bool isKeyMessage(const WindowMessage& m) {
    return m.message == wm::KeyDown || m.message == wm::KeyUp || m.message == wm::Char ||
           m.message == wm::SysKeyDown || m.message == wm::SysKeyUp;
}

}  // namespace morvanex
