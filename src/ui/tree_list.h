// The tree list: rows under parent rows, indented by level, each with a
// label that selects it and, for a row with children, a box that folds
// them away. The list owns its rows, lays them out, scrolls and clips them.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/colour_fade.h"
#include "ui/control3d.h"

namespace morvanex {

class CadreList;

inline constexpr int kTreeRowHeight = 24;   // pixels per row
inline constexpr int kTreeIndent = 16;      // pixels per level
inline constexpr int kExpandBoxSize = 24;   // the box left of the label
inline constexpr int kLabelExtraWidth = 34; // the label area reaches past the text

class Cadre : public Control3d {
public:
    // Label area: select (or start a row drag); expand box: fold or unfold.
    bool handleInput(const WindowMessage& message) override;

    CadreList* list = nullptr;
    Cadre* parentRow = nullptr;     // null for top-level rows
    bool expanded = true;
    std::string label;
    Vec4 tint{0.0f, 0.0f, 0.0f, 1.0f};  // the label's colour, faded

    int depth() const;
    bool hasChildren() const;
    // Screen rectangles: the label area (from the indented x, 34 pixels
    // wider than the text, y + 2 to y + 20) and the box just left of it.
    bool inLabelArea(int px, int py) const;
    bool inExpandBox(int px, int py) const;
    int labelLeft() const;

private:
    bool handleDrag(const WindowMessage& message);
};

class CadreList : public Control3d {
public:
    bool handleInput(const WindowMessage& message) override;
    void draw(float elapsedSeconds) override;

    // Appends a row after its parent's last descendant (at the end for a
    // top-level row).
    Cadre& addRow(std::string_view label, Cadre* parentRow = nullptr);
    // Hides the rows under folded parents and stacks the others.
    void layout();
    void selectRow(Cadre& row);
    // Removes every row (a list refilled from scratch); the interface keeps
    // no pointer to any of them.
    void clearRows();
    int indexOf(const Cadre& row) const;

    std::vector<Cadre*> items;  // the rows in tree order; owned by the list
    bool autoSize = true;       // the size follows the panel's, keeping its margins
    int rightMargin = 0;
    int bottomMargin = 0;
    float scrollX = 0.0f;       // horizontal shift of every label
    float scroll = 0.0f;        // pixels the rows are moved down (negative: scrolled down)
    float scrollTarget = 0.0f;
    int selectedIndex = -1;
    Vec4 backgroundColour{1.0f, 1.0f, 1.0f, 240.0f / 255.0f};
    Vec4 bandColour{0.85f, 0.88f, 0.92f, 240.0f / 255.0f};  // the 20-pixel band under the list

private:
    bool rowInList(const Cadre& row) const;
    void drawRow(Cadre& row, float dt);
    void drawExpandBox(const Cadre& row, float left, float top);

    std::vector<std::unique_ptr<Cadre>> rows_;
};

// Add operations: a tree list at (x, y), width x height, keeping its
// margins to the panel's right and bottom edges; a row.
CadreList& addCadreList(Panel& panel, int x, int y, int width, int height);
Cadre& addCadre(CadreList& list, std::string_view label, Cadre* parentRow = nullptr);

}  // namespace morvanex
