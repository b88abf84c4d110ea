#include "ui/tree_list.h"

#include <algorithm>
#include <cmath>

#include "render/interface_drawing.h"
#include "render/renderer.h"
#include "ui/interface.h"
#include "ui/interface_host.h"
#include "ui/panel.h"

namespace morvanex {

namespace {

constexpr int kLabelTop = 2;
constexpr int kLabelBottom = 20;
constexpr int kTextInset = 4;
constexpr int kBandHeight = 20;
constexpr int kMaxDepth = 64;               // deeper chains are drawn at this level
constexpr float kScrollHalfLife = 30.0f;    // scroll eases by 1 - 0.5^(30 dt)
constexpr Vec4 kSelectedColour{212.0f / 255.0f, 246.0f / 255.0f, 1.0f, 1.0f};
constexpr Vec4 kHotColour{212.0f / 255.0f, 246.0f / 255.0f, 1.0f, 0.5f};
constexpr Vec4 kOutlineColour{0.45f, 0.45f, 0.45f, 1.0f};
constexpr Vec4 kMarkColour{0.3f, 0.3f, 0.3f, 1.0f};

bool insideRect(int px, int py, int left, int top, int w, int h) {
    return px >= left && px < left + w && py >= top && py < top + h;
}

}  // namespace

// ---------------------------------------------------------------------------
// Rows

int Cadre::depth() const {
    int levels = 0;
    for (const Cadre* up = parentRow; up != nullptr && levels < kMaxDepth; up = up->parentRow) ++levels;
    return levels;
}

bool Cadre::hasChildren() const {
    return std::any_of(list->items.begin(), list->items.end(), [this](const Cadre* row) { return row->parentRow == this; });
}

int Cadre::labelLeft() const { return panel->x + x + static_cast<int>(list->scrollX); }

bool Cadre::inLabelArea(int px, int py) const {
    return insideRect(px, py, labelLeft(), panel->y + y + kLabelTop, width + kLabelExtraWidth, kLabelBottom - kLabelTop);
}

bool Cadre::inExpandBox(int px, int py) const {
    return insideRect(px, py, labelLeft() - kExpandBoxSize, panel->y + y, kExpandBoxSize, kExpandBoxSize);
}

bool Cadre::handleDrag(const WindowMessage& message) {
    const int px = messageX(message);
    const int py = messageY(message);
    if (message.message == wm::MouseMove) {
        if (onDragMove) onDragMove(px - pressX, py - pressY, py);
        if (!host().tutorialPlaying() && interface().wrapAtEdge(*this, px, py) && onDragStart) onDragStart();
        return true;
    }
    if (message.message == wm::LButtonUp) {
        if (onDragEnd) onDragEnd();
        interface().endDrag(*this);
        return true;
    }
    return false;
}

bool Cadre::handleInput(const WindowMessage& message) {
    if (dragging) return handleDrag(message);
    const int px = messageX(message);
    const int py = messageY(message);
    if (isLeftPress(message)) {
        if (!enabled) return false;
        if (inExpandBox(px, py) && hasChildren()) {
            expanded = !expanded;
            list->layout();
            host().onListRefresh(*list);
            return true;
        }
        if (!inLabelArea(px, py)) return false;
        list->selectRow(*this);
        if (onDragStart) {
            interface().beginDrag(*this, message);
            onDragStart();
        }
        return true;
    }
    if (message.message == wm::MouseMove) {
        hot = inLabelArea(px, py);
        if (!hot) return false;
        interface().hoveredWidget = this;
        host().setCursor(CursorShape::Hand);
        return true;
    }
    return false;
}

// ---------------------------------------------------------------------------
// The list

int CadreList::indexOf(const Cadre& row) const {
    const auto found = std::find(items.begin(), items.end(), &row);
    return found == items.end() ? -1 : static_cast<int>(found - items.begin());
}

Cadre& CadreList::addRow(std::string_view text, Cadre* parent) {
    auto row = std::make_unique<Cadre>();
    row->list = this;
    row->panel = panel;
    row->parentRow = parent;
    row->label = std::string(text);
    row->width = static_cast<int>(std::ceil(panel->renderer().ui.measureText(text)));
    row->height = kTreeRowHeight;
    std::size_t position = items.size();
    if (parent != nullptr && indexOf(*parent) >= 0) {
        // After the parent and everything under it, so that the tree reads in order.
        position = static_cast<std::size_t>(indexOf(*parent)) + 1;
        const auto under = [parent](const Cadre* candidate) {
            for (const Cadre* up = candidate->parentRow; up != nullptr; up = up->parentRow) {
                if (up == parent) return true;
            }
            return false;
        };
        while (position < items.size() && under(items[position])) ++position;
    }
    if (selectedIndex >= static_cast<int>(position)) ++selectedIndex;
    items.insert(items.begin() + static_cast<std::ptrdiff_t>(position), row.get());
    rows_.push_back(std::move(row));
    layout();
    return *items[position];
}

void CadreList::layout() {
    const int offset = static_cast<int>(std::lround(scroll));
    int shown = 0;
    for (Cadre* row : items) {
        bool open = true;
        for (const Cadre* up = row->parentRow; up != nullptr && open; up = up->parentRow) open = up->expanded;
        row->visible = open;
        if (!open) {
            row->hot = false;
            continue;
        }
        row->x = x + row->depth() * kTreeIndent + kExpandBoxSize;
        row->y = y + shown * kTreeRowHeight + offset;
        ++shown;
    }
}

void CadreList::selectRow(Cadre& row) {
    for (Cadre* each : items) each->checked = each == &row;
    selectedIndex = indexOf(row);
    host().onRowSelected(*panel, row);
}

void CadreList::clearRows() {
    Interface& shared = interface();
    for (const auto& row : rows_) {
        if (shared.hoveredWidget == row.get()) shared.hoveredWidget = nullptr;
        if (shared.capturedWidget == row.get()) shared.endDrag(*row);
    }
    items.clear();
    rows_.clear();
    selectedIndex = -1;
}

bool CadreList::rowInList(const Cadre& row) const {
    return row.visible && row.y < y + height && row.y + row.height > y;
}

bool CadreList::handleInput(const WindowMessage& message) {
    const int px = messageX(message);
    const int py = messageY(message);
    const bool inside = contains(px, py);
    if (isLeftPress(message)) {
        if (!inside) return false;
        for (Cadre* row : items) {
            if (rowInList(*row) && row->handleInput(message)) return true;
        }
        return false;
    }
    if (message.message == wm::MouseMove) {
        hot = inside;
        bool taken = false;
        for (Cadre* row : items) {
            if (inside && rowInList(*row)) {
                taken = row->handleInput(message) || taken;
            } else {
                row->hot = false;
            }
        }
        return taken;
    }
    return false;
}

// ---------------------------------------------------------------------------
// Drawing

void CadreList::drawExpandBox(const Cadre& row, float left, float top) {
    InterfaceDrawing& ui = drawing();
    const float cx = left - static_cast<float>(kExpandBoxSize) * 0.5f;
    const float cy = top + static_cast<float>(kExpandBoxSize) * 0.5f;
    // A small filled triangle: pointing down when open, right when folded.
    for (int i = 0; i < 5; ++i) {
        const float step = static_cast<float>(i);
        const float length = static_cast<float>(9 - 2 * i);
        if (row.expanded) {
            ui.horizontalLine(cx - 4.0f + step, cy - 2.0f + step, length, kMarkColour);
        } else {
            ui.verticalLine(cx - 2.0f + step, cy - 4.0f + step, length, kMarkColour);
        }
    }
}

void CadreList::drawRow(Cadre& row, float dt) {
    InterfaceDrawing& ui = drawing();
    const float left = static_cast<float>(row.labelLeft());
    const float top = static_cast<float>(panel->y + row.y);
    const UiRect labelArea{left, top + kLabelTop, static_cast<float>(row.width + kLabelExtraWidth),
                           static_cast<float>(kLabelBottom - kLabelTop)};
    if (row.checked) {
        ui.filledRect(labelArea, kSelectedColour);
    } else if (row.hot) {
        ui.filledRect(labelArea, kHotColour);
    }
    if (row.hasChildren()) drawExpandBox(row, left, top);
    fadeColour(row.tint, {0.0f, 0.0f, 0.0f, row.enabled ? 1.0f : 0.5f}, kWidgetFadeRate, dt);
    ui.text(top + kLabelTop, left + kTextInset, row.label, row.tint);
}

void CadreList::draw(float dt) {
    if (autoSize) {
        width = panel->width - rightMargin - x;
        height = panel->height - bottomMargin - y;
    }
    // The panel clears `hot` when the pointer leaves it; the rows follow.
    if (!hot) {
        for (Cadre* row : items) row->hot = false;
    }
    scroll += (scrollTarget - scroll) * (1.0f - std::pow(0.5f, kScrollHalfLife * dt));
    layout();
    InterfaceDrawing& ui = drawing();
    const UiRect area{static_cast<float>(screenX()), static_cast<float>(screenY()), static_cast<float>(width),
                      static_cast<float>(height)};
    PanelBodyStyle body;
    body.rect = area;
    body.corners = {backgroundColour, backgroundColour, backgroundColour, backgroundColour};
    body.outlined = false;
    ui.panelBody(body);
    ui.filledRect({area.x, area.y + area.height, area.width, static_cast<float>(kBandHeight)}, bandColour);
    ui.outline(area, kOutlineColour);
    ui.setClip(area);
    for (Cadre* row : items) {
        if (rowInList(*row)) drawRow(*row, dt);
    }
    ui.clearClip();
}

// ---------------------------------------------------------------------------
// Add operations

CadreList& addCadreList(Panel& panel, int x, int y, int width, int height) {
    auto list = makeWidget<CadreList>(x, y, width, height);
    list->rightMargin = panel.width - x - width;
    list->bottomMargin = panel.height - y - height;
    return panel.add(std::move(list));
}

Cadre& addCadre(CadreList& list, std::string_view label, Cadre* parentRow) {
    return list.addRow(label, parentRow);
}

}  // namespace morvanex
