// Pop-up menus: a hidden panel of rows, each a text that highlights under
// the pointer, may open a sub-menu on hover, and acts on a press. Two menus
// of the main screen are built here: the edit boxes' clipboard menu and the
// key bar's scale menu.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/colour_fade.h"
#include "ui/control3d.h"
#include "ui/panel.h"

namespace morvanex {

class MenuItem;

inline constexpr int kMenuRowHeight = 25;

// The menu itself sits on its panel as item 0 at (5, 5): the rows number
// from 1, so their bands start 5 pixels down. It draws nothing and takes no
// input; its rows do.
class Menu : public Control3d {
public:
    bool handleInput(const WindowMessage& message) override;

    // Appends a row; the panel widens to fit its text and grows one row.
    MenuItem& addItem(std::string_view text);

    std::vector<MenuItem*> items;  // owned by the panel
    Panel* openSubmenu = nullptr;  // the sub-menu panel open now
    int hotIndex = 0;
    int selectedIndex = 0;
};

class MenuItem : public Control3d {
public:
    bool handleInput(const WindowMessage& message) override;
    void draw(float elapsedSeconds) override;

    Menu* menu = nullptr;
    Menu* submenu = nullptr;            // opened while the pointer is over the row
    Panel* replacementPanel = nullptr;  // shown in the menu's place on a press
    std::string text;                   // label-refreshed
    int index = 0;                      // 1-based row number
    int rowHeight = kMenuRowHeight;
    int rowY = 0;                       // index * 25 - 25, from the panel's top
    std::function<void(MenuItem*)> onClick;
    Vec4 highlight{212.0f / 255.0f, 246.0f / 255.0f, 1.0f, 0.0f};

private:
    bool inRow(int px, int py) const;
    void press();
    void hover();
};

// A menu on its own hidden panel (no close button, no grip).
Menu& createMenu(Interface& interface, const std::string& name, int x, int y, int width, int height);

// What the clipboard menu does to its target edit box; the edit box
// provides both (the menu only knows the target as a widget).
struct ClipboardActions {
    // Replaces the box's text with what of `text` the box accepts.
    std::function<void(Control3d& target, std::string_view text)> paste;
    // Puts the box's whole text on the clipboard.
    std::function<void(Control3d& target)> copy;
};

// The edit boxes' menu: copy, then paste (acting on the interface's
// clipboard state: target, paste buffer, the paste item's enabled flag).
// Registers itself as the interface's clipboard menu.
Menu& createClipboardMenu(Interface& interface, const std::string& name, std::string_view copyText,
                          std::string_view pasteText, ClipboardActions actions);

// The key bar's scale menu: item i sets scale i (0 to 5).
inline constexpr int kScaleMenuItems = 6;
Menu& createScaleMenu(Interface& interface, const std::string& name,
                      const std::array<std::string, kScaleMenuItems>& texts, std::function<void(int index)> setScale);

}  // namespace morvanex
