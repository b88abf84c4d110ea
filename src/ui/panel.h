// A floating panel of widgets. Panels are made hidden by the interface
// (Interface::createPanel), own their widgets, and route the messages the
// interface offers them to the widgets; they draw their body, title and
// widgets each frame.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/window_messages.h"
#include "scene/math.h"

namespace morvanex {

class Control3d;
class Image;
class Interface;
class Renderer;

// One colour of the creation words: alpha, red, green, blue, 0..255.
struct ArgbColour {
    int a = 255;
    int r = 255;
    int g = 255;
    int b = 255;
    Vec4 toFloat() const;
};
// Five colours of four words each; the first four colour the body's corners.
using PanelColourWords = std::array<int, 20>;

inline constexpr int kTitleBarHeight = 20;
inline constexpr int kSideHandleWidth = 20;
inline constexpr int kPanelEdgeStrip = 18;   // presses in the rightmost pixels do not raise the panel
inline constexpr int kLayoutCursorStart = 25;
inline constexpr float kDesignWidth = 1920.0f;  // the width relative x positions are given in

class Panel {
public:
    Panel(Interface& interface, std::string name, int x, int y, int width, int height,
          const PanelColourWords& colours);
    ~Panel();
    Panel(const Panel&) = delete;
    Panel& operator=(const Panel&) = delete;

    // Appends a widget, makes this panel its owner and returns it.
    template <class Widget>
    Widget& add(std::unique_ptr<Widget> widget) {
        Widget& added = *widget;
        adopt(std::move(widget));
        return added;
    }
    // Advances the auto-layout cursor by the step and returns the new y.
    int nextLayoutY(int step);

    void setVisible(bool visible);
    void toggleVisible();
    // Placement, body, title, side handle, widgets, Tab chain, hints.
    void draw(float elapsedSeconds);
    bool handleInput(const WindowMessage& message);

    bool contains(int px, int py) const { return px >= x && px < x + width && py >= y && py < y + height; }
    Interface& interface() const { return *interface_; }
    Renderer& renderer() const;

    std::vector<std::unique_ptr<Control3d>> items;  // in insertion order
    std::vector<Panel*> childPanels;  // hidden with this one, not owned
    bool visible = false;
    bool inputSuspended = false;  // the interface offers it nothing
    bool hasTitleBar = false;
    bool hasSideHandle = false;
    bool hasGrip = false;
    std::string title;
    int homeX = 0;
    int homeY = 0;
    std::array<ArgbColour, 4> bodyColours{};  // targets of the body's corners
    PanelColourWords styleWords{};
    int x = 0;
    int y = 0;
    bool extendedBody = false;   // an 80-pixel tapered band below the body
    float relX = 0.0f;           // x in a 1920-wide design space
    float relY = 0.0f;           // y as a share of the window height
    int width = 0;
    int homeWidth = 0;
    int height = 0;
    int homeHeight = 0;
    float dragOffsetX = 0.0f;    // added to buttons that scroll with the panel
    float dragOffsetY = 0.0f;
    float contentOffset = 0.0f;  // subtracted from every item's y (collapsed sections)
    int stackingNumber = 0;
    bool bodyDragScroll = false; // dragging the empty body sets dragOffsetY
    bool progressBar = false;    // a centred progress bar of `progress` pixels
    int progress = 0;
    int layoutCursor = kLayoutCursorStart;
    std::array<Vec4, 4> currentColours{};  // the body's corners, fading to bodyColours
    int pressX = 0;
    int pressY = 0;
    int pressRelY = 0;
    int pressPanelX = 0;
    int pressPanelY = 0;
    bool moving = false;         // dragged by its title bar or side handle
    bool bodyPressed = false;
    std::string name;
    bool outlined = true;
    bool hasCloseButton = false; // item 0 is the close button
    bool centreEachFrame = false;
    bool centreOnShow = false;
    bool relativePlacement = false;
    Image* originImage = nullptr;  // an image at the origin, hidden at creation
    bool titleUnderline = true;
    // The two panels of the top row that take pointer moves outside their
    // rectangle (the main screen sets it).
    bool takesMovesOutside = false;

private:
    void adopt(std::unique_ptr<Control3d> widget);
    void place();
    void drawProgressBar();
    void drawBody(float elapsedSeconds);
    void hidePanelsBelow(const std::array<Vec4, 4>& corners);
    void drawItems(float elapsedSeconds);
    void linkTabChain();
    bool offerToItems(const WindowMessage& message, bool titleBarOnly);
    bool offerKeyToEditBoxes(const WindowMessage& message);
    bool handlePress(const WindowMessage& message);
    bool handleMove(const WindowMessage& message);
    bool handleRelease(const WindowMessage& message);
    void notePointerOver(int px, int py);
    bool inTitleBar(int px, int py) const;
    bool inSideHandle(int px) const;
    bool itemTakesOffset(std::size_t index) const { return !(hasCloseButton && index == 0); }

    Interface* interface_;
};

}  // namespace morvanex
