// What the widget toolkit asks of the application: the notifications its
// widgets send (the application's dispatchers carry them out) and the few
// desktop services a widget needs (pointer capture and position, cursor
// shape, clipboard, time). Every operation does nothing by default, so a
// host implements only what it carries out; tests record them.
#pragma once

#include <string>
#include <string_view>

#include "platform/platform_window.h"

namespace morvanex {

class Control3d;
class Panel;
class Menu;
class MenuItem;

class InterfaceHost {
public:
    virtual ~InterfaceHost() = default;

    // --- Notifications ------------------------------------------------------
    virtual void onButton(Panel& /*panel*/, Control3d& /*button*/) {}
    virtual void onCheckBox(Panel& /*panel*/, Control3d& /*box*/) {}
    virtual void onRadioButton(Panel& /*panel*/, Control3d& /*button*/) {}
    virtual void onEditCommit(Control3d& /*editBox*/) {}
    virtual void onSliderPress(Control3d& /*slider*/) {}
    virtual void onSliderDrag(Control3d& /*slider*/) {}
    virtual void onSliderRelease(Control3d& /*slider*/) {}
    virtual void onListItem(Panel& /*panel*/, Control3d& /*list*/) {}
    virtual void onTabLeave(Control3d& /*tab*/) {}
    virtual void onTabEnter(Control3d& /*tab*/) {}
    virtual void onMenuItem(Menu& /*menu*/, MenuItem& /*item*/) {}
    virtual void onRowSelected(Panel& /*panel*/, Control3d& /*row*/) {}
    // A tree row was expanded or collapsed: lay the list out again.
    virtual void onListRefresh(Control3d& /*list*/) {}
    // A drag on a preview or rotation image moved: refresh what depends on it.
    virtual void onImageDrag(Control3d& /*image*/) {}
    virtual void onPanelShown(Panel& /*panel*/) {}
    virtual void onPanelHidden(Panel& /*panel*/) {}
    // A key bar re-sorted its keys after a drag.
    virtual void markSceneModified() {}

    // --- Desktop services ---------------------------------------------------
    virtual void capturePointer(bool /*captured*/) {}
    virtual void showPointer(bool /*visible*/) {}
    virtual void setCursor(CursorShape /*shape*/) {}
    // Screen coordinates of the pointer, and moving it there.
    virtual void pointerScreenPosition(int& screenX, int& screenY) const { screenX = screenY = 0; }
    virtual void movePointerOnScreen(int /*screenX*/, int /*screenY*/) {}
    // Clipboard text as Windows-1252 bytes (converted at the platform layer).
    virtual std::string clipboardText() const { return {}; }
    virtual void setClipboardText(std::string_view /*text*/) {}
    // Seconds of a steady clock, for the caret's blinking.
    virtual double now() const { return 0.0; }
    virtual double caretBlinkSeconds() const { return 0.53; }
    // A tutorial replays events: drags then never move the pointer back.
    virtual bool tutorialPlaying() const { return false; }
};

}  // namespace morvanex
