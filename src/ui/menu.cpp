#include "ui/menu.h"

#include <memory>

#include "render/interface_drawing.h"
#include "render/renderer.h"
#include "ui/image_button.h"
#include "ui/interface.h"
#include "ui/interface_host.h"
#include "ui/label_table.h"

namespace morvanex {

namespace {

constexpr int kMenuPosition = 5;
constexpr float kPixelsPerCharacter = 7.5f;
constexpr int kWidthPadding = 10;
constexpr int kBandOffset = 20;      // bands are drawn 5 pixels below the rows they answer for
constexpr int kSubmenuRaise = 10;
constexpr float kHotBandAlpha = 0.706f;
constexpr int kTextLeft = 5;
constexpr Vec4 kMenuTextColour{0.0f, 0.0f, 0.0f, 1.0f};

// A light body, nearly opaque, under dark text.
PanelColourWords menuColours() {
    PanelColourWords words{};
    for (std::size_t i = 0; i < words.size(); i += 4) {
        words[i] = 240;
        words[i + 1] = words[i + 2] = words[i + 3] = 250;
    }
    return words;
}

}  // namespace

// ---------------------------------------------------------------------------
// Menu

bool Menu::handleInput(const WindowMessage&) { return false; }

MenuItem& Menu::addItem(std::string_view text) {
    auto row = std::make_unique<MenuItem>();
    row->menu = this;
    row->text = std::string(text);
    row->captionLabel = labelOf(*panel, text);
    MenuItem& item = panel->add(std::move(row));
    items.push_back(&item);
    item.index = static_cast<int>(panel->items.size()) - 1;
    item.rowY = item.index * kMenuRowHeight - kMenuRowHeight;
    item.y = item.rowY;
    item.height = kMenuRowHeight;
    const float textWidth = static_cast<float>(text.size()) * kPixelsPerCharacter;
    if (static_cast<float>(panel->width) < textWidth) panel->width = static_cast<int>(textWidth + kWidthPadding);
    panel->height = static_cast<int>(panel->items.size()) * kMenuRowHeight;
    for (MenuItem* each : items) each->width = panel->width;
    return item;
}

// ---------------------------------------------------------------------------
// Rows

bool MenuItem::inRow(int px, int py) const {
    const int top = panel->y + rowY;
    return px >= panel->x && px < panel->x + panel->width && py >= top && py < top + rowHeight;
}

void MenuItem::press() {
    hot = true;
    menu->hotIndex = index;
    if (replacementPanel != nullptr) {
        panel->setVisible(false);
        replacementPanel->toggleVisible();
        replacementPanel->x = panel->x;
        replacementPanel->y = panel->y;
    }
    host().onMenuItem(*menu, *this);
    if (onClick) onClick(this);
}

void MenuItem::hover() {
    hot = true;
    menu->hotIndex = index;
    menu->selectedIndex = menu->hotIndex;
    Panel* mine = submenu != nullptr ? submenu->panel : nullptr;
    if (menu->openSubmenu != nullptr && menu->openSubmenu != mine) {
        menu->openSubmenu->setVisible(false);
        menu->openSubmenu = nullptr;
    }
    if (mine == nullptr || mine->visible) return;
    mine->x = panel->x + panel->width / 2;
    mine->y = panel->y + index * kMenuRowHeight - kSubmenuRaise;
    mine->setVisible(true);
    interface().bringToFront(*mine);
    interface().popupPanel = mine;
    menu->openSubmenu = mine;
}

bool MenuItem::handleInput(const WindowMessage& message) {
    const int px = messageX(message);
    const int py = messageY(message);
    if (isLeftPress(message)) {
        if (!inRow(px, py)) return false;
        press();
        return true;
    }
    if (message.message == wm::MouseMove) {
        if (!inRow(px, py)) {
            hot = false;
            return false;
        }
        hover();
        return true;
    }
    return false;
}

void MenuItem::draw(float dt) {
    refreshLabel(labels(), captionLabel, text);
    width = panel->width;
    fadeColour(highlight, {highlight.x, highlight.y, highlight.z, hot && enabled ? kHotBandAlpha : 0.0f},
               kBodyFadeRate, dt);
    InterfaceDrawing& ui = drawing();
    const float top = static_cast<float>(panel->y + index * kMenuRowHeight - kBandOffset);
    ui.filledRect({static_cast<float>(panel->x), top, static_cast<float>(panel->width),
                   static_cast<float>(rowHeight)},
                  highlight);
    Vec4 colour = kMenuTextColour;
    colour.w = enabled ? 1.0f : 0.5f;
    ui.text(top, static_cast<float>(panel->x + kTextLeft), text, colour);
}

// ---------------------------------------------------------------------------
// The menus of the main screen

Menu& createMenu(Interface& interface, const std::string& name, int x, int y, int width, int height) {
    Panel& panel = interface.createPanel(name, x, y, width, height, menuColours());
    auto menu = std::make_unique<Menu>();
    menu->x = menu->y = kMenuPosition;
    return panel.add(std::move(menu));
}

Menu& createClipboardMenu(Interface& interface, const std::string& name, std::string_view copyText,
                          std::string_view pasteText, ClipboardActions actions) {
    Menu& menu = createMenu(interface, name, 10, 50, 100, 50);
    ClipboardMenuState& state = interface.clipboardMenu;
    MenuItem& copy = menu.addItem(copyText);
    copy.onClick = [&state, copyAction = actions.copy](MenuItem* item) {
        if (state.target != nullptr && copyAction) copyAction(*state.target);
        item->panel->setVisible(false);
    };
    MenuItem& paste = menu.addItem(pasteText);
    paste.onClick = [&state, pasteAction = actions.paste](MenuItem* item) {
        // Disabled when the clipboard text does not suit the box.
        if (item->enabled && state.target != nullptr && pasteAction) pasteAction(*state.target, state.pasteBuffer);
        item->panel->setVisible(false);
    };
    state.menu = &menu;
    state.pasteItem = &paste;
    return menu;
}

Menu& createScaleMenu(Interface& interface, const std::string& name,
                      const std::array<std::string, kScaleMenuItems>& texts, std::function<void(int index)> setScale) {
    Menu& menu = createMenu(interface, name, 10, 50, 100, 50);
    for (int i = 0; i < kScaleMenuItems; ++i) {
        MenuItem& item = menu.addItem(texts[static_cast<std::size_t>(i)]);
        item.onClick = [setScale, i](MenuItem* chosen) {
            if (setScale) setScale(i);
            chosen->panel->setVisible(false);
        };
    }
    return menu;
}

}  // namespace morvanex
