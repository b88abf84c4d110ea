// The animation key bar: one knob per key along a time line that scrolls
// sideways. A knob's position is its key's time divided by the bar's
// seconds per pixel; dragging a knob changes the time and is not held to
// the visible part. Pointing into the insertion band under the keys shows
// the insertion knob there; the right button opens the scale menu.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "ui/slider.h"

namespace morvanex {

class InterfaceDrawing;

inline constexpr std::array<double, 8> kKeyBarScales{0.001, 0.005, 0.01, 0.1, 0.3, 0.6, 1.0, 10.0};
inline constexpr int kKeyBarStartScale = 3;
inline constexpr int kInsertionBandTop = 32;     // below the bar's top
inline constexpr int kInsertionBandBottom = 46;
inline constexpr int kKeyKnobTop = 5;            // the row of key knobs, below the bar's top
inline constexpr int kKeyBarTrackWidth = 1000;   // the track image's drawn width at scroll 0

// The sound a bar shows (the sound subsystem fills it): its length and the
// part already played, in seconds, and its own waveform drawing at the
// bar's scale. Left unset until sounds exist.
struct KeyBarSound {
    double lengthSeconds = 0.0;
    double playedSeconds = 0.0;
    std::function<void(InterfaceDrawing& drawing, float barLeft, float barTop, double secondsPerPixel)> drawWaveform;
};

class CursorsBar;

// The template the panel's add operation makes: the bar's rectangle, the
// cell size of the list templates, and the flags the bar starts with. It
// never draws and never takes input.
class PCursorsBar : public Control3d {
public:
    bool handleInput(const WindowMessage& message) override;

    int cellWidth = 120;
    int cellHeight = 150;
    bool clipped = true;        // the bar draws inside its own rectangle
    bool scrollEnabled = true;  // dragging the empty bar scrolls it
    CursorsBar* bar = nullptr;
};

class CursorsBar : public Control3d {
public:
    CursorsBar();

    bool handleInput(const WindowMessage& message) override;
    void draw(float elapsedSeconds) override;

    // A knob for a key whose time (seconds) is bound; placed from it.
    Cursor& addKnob(float* time);
    void clearKnobs();
    // Seconds per pixel from the scale table (0..7); every knob follows.
    void setScale(int index);
    // The knob pressed last, or none.
    Cursor* selectedKnob() const;

    // Screen position of time 0 (scrolled) and of the bar's top.
    int barLeft() const;
    int barTop() const;
    // Top of a knob: keys in their row, the insertion knob in its band.
    int knobRowTop(const Cursor& knob) const;

    // Called by the knobs.
    void knobPressed(Cursor& knob);
    void knobReleased(Cursor& knob);

    std::vector<std::unique_ptr<Cursor>> knobs;  // one per key, sorted by time after each drag
    bool scrolling = false;
    bool scrollEnabled = true;
    bool clipped = true;
    float scrollOffset = 0.0f;   // never positive
    Cursor insertKnob;           // shown in the insertion band under the pointer
    float insertTime = 0.0f;     // the insertion knob's time, bound to it
    double secondsPerPixel = kKeyBarScales[kKeyBarStartScale];
    int scaleIndex = kKeyBarStartScale;
    Panel* scaleMenu = nullptr;  // the pop-up the right button opens

    // Hooks for the subsystems that come later:
    // the animation's keys follow the knobs after they were sorted by time;
    std::function<void()> onKeysSorted;
    // the sound shown on the bar (none until sounds exist);
    const KeyBarSound* sound = nullptr;
    // the modeling panel's delete-point button, enabled while a knob is
    // selected (set only for the timeline panel's bar).
    Control3d* deleteKeyButton = nullptr;

private:
    bool inside(int px, int py) const;
    bool inInsertionBand(int py) const;
    bool offerToKnobs(const WindowMessage& message);
    bool handlePress(const WindowMessage& message);
    bool handleMove(const WindowMessage& message);
    bool handleRelease(const WindowMessage& message);
    bool handleRightPress(const WindowMessage& message);
    void sortKnobs();
    void drawSound(InterfaceDrawing& ui, float left, float top);
    float offsetAtPress_ = 0.0f;
};

// The bar at (x, y) of the given size, with its scale menu; made through
// its template (returned bar's `panel` is the panel).
CursorsBar& addKeyBar(Panel& panel, int x, int y, int width, int height, Panel* scaleMenu = nullptr);

}  // namespace morvanex
