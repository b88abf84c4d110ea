#include "ui/image_list.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "render/interface_drawing.h"
#include "render/renderer.h"
#include "render/texture_image.h"
#include "ui/interface.h"
#include "ui/interface_host.h"
#include "ui/label_table.h"
#include "ui/panel.h"

namespace morvanex {

namespace {

constexpr int kCellLeft = 20;       // the first column's distance from the list's left edge
constexpr int kCellTop = 5;
constexpr int kRowSlack = 10;       // a row takes one more cell while this much is left
constexpr float kScrollHalfLife = 30.0f;  // scroll eases by 1 - 0.5^(30 dt)
constexpr float kPointerImageSize = 32.0f;
constexpr float kCellPadding = 10.0f;     // around the picture and the caption
constexpr float kCaptionFromBottom = 24.0f;
constexpr float kHoverFrameOpacity = 0.35f;
constexpr float kCardInset = 2.0f;

// The longest start of the text that fits the width, ended by "..." when
// it had to be cut.
std::string fittedText(const InterfaceDrawing& ui, const std::string& text, float width) {
    if (ui.measureText(text) <= width) return text;
    for (std::size_t kept = text.size(); kept > 0; --kept) {
        std::string shown = text.substr(0, kept - 1) + "...";
        if (ui.measureText(shown) <= width) return shown;
    }
    return {};
}

// A cell of the grid: its frame (the chosen cell in the chosen frame, a
// hovered one fading towards it), the picture centred in the upper part and
// the caption under it, cut to the cell's width.
class ListCell final : public ImageButton {
public:
    void draw(float dt) override {
        refreshLabel(labels(), captionLabel, caption);
        InterfaceDrawing& ui = drawing();
        // Cells sit side by side: a little air between the cards.
        const float l = static_cast<float>(screenX()) + kCardInset;
        const float t = static_cast<float>(screenY());
        const float w = static_cast<float>(width) - 2.0f * kCardInset;
        const float h = static_cast<float>(height);
        const float alpha = enabled ? 1.0f : 0.5f;
        // Hovered, a card only hints at the chosen frame: it must not pass
        // for the chosen one.
        fadeColour(hoverOverlay, {1.0f, 1.0f, 1.0f, hot ? kHoverFrameOpacity : 0.0f}, kWidgetFadeRate, dt);
        ui.imageQuad(image, {l, t, w, h}, {1.0f, 1.0f, 1.0f, alpha});
        ui.imageQuad(hoverImage, {l, t, w, h}, {1.0f, 1.0f, 1.0f, (checked ? 1.0f : hoverOverlay.w) * alpha});
        if (thumbnail != nullptr && thumbnailWidth > 0 && thumbnailHeight > 0) {
            const float pictureArea = h - kCaptionFromBottom - 2.0f * kCellPadding;
            const float tw = static_cast<float>(thumbnailWidth);
            const float th = static_cast<float>(thumbnailHeight);
            const float left = std::floor(l + (w - tw) * 0.5f);
            const float top = std::floor(t + kCellPadding + std::max(0.0f, pictureArea - th) * 0.5f);
            ui.imageQuad(thumbnail, {left, top, tw, th}, {1.0f, 1.0f, 1.0f, alpha});
        }
        const std::string shown = fittedText(ui, caption, w - kCellPadding);
        const float textLeft = std::floor(l + (w - ui.measureText(shown)) * 0.5f);
        ui.text(t + h - kCaptionFromBottom, textLeft, shown, {1.0f, 1.0f, 1.0f, alpha});
    }
};

}  // namespace

bool PImageList::handleInput(const WindowMessage&) { return false; }

// ---------------------------------------------------------------------------
// Layout

int ImageList::cellWidth() const { return listTemplate != nullptr ? listTemplate->cellWidth : 120; }
int ImageList::cellHeight() const { return listTemplate != nullptr ? listTemplate->cellHeight : 150; }

Control3d& ImageList::adoptCell(std::unique_ptr<Control3d> cell) {
    cell->panel = panel;
    cells_.push_back(std::move(cell));
    items.push_back(cells_.back().get());
    layout();
    return *cells_.back();
}

void ImageList::layout() {
    homes_.assign(items.size(), {});
    int column = 0;
    int rowTop = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        // A row always takes its first cell, so a list narrower than one
        // cell still shows one per row.
        if (column > 0 && width < cellWidth() * (column + 1) + kRowSlack) {
            column = 0;
            rowTop += cellHeight();
        }
        homes_[i] = {cellWidth() * column + kCellLeft, rowTop + kCellTop};
        ++column;
    }
    lastWidth = width;
    lastHeight = height;
    positionCells();
}

void ImageList::positionCells() {
    const int offset = static_cast<int>(std::lround(scroll));
    for (std::size_t i = 0; i < items.size() && i < homes_.size(); ++i) {
        items[i]->x = x + homes_[i].x + static_cast<int>(scrollX);
        items[i]->y = y + homes_[i].y + offset;
    }
}

bool ImageList::overlapsList(const Control3d& cell) const {
    return cell.x < x + width && cell.x + cell.width > x && cell.y < y + height && cell.y + cell.height > y;
}

void ImageList::selectThumbnail(ImageButton& button) {
    const auto found = std::find(items.begin(), items.end(), &button);
    if (found == items.end()) return;
    const auto index = static_cast<std::size_t>(found - items.begin());
    for (Control3d* cell : items) cell->checked = cell == &button;
    selectedIndex = static_cast<int>(index);
    scrollTarget = static_cast<float>(height) * 0.5f -
                   (static_cast<float>(homes_[index].y) + static_cast<float>(button.height) * 0.5f);
    host().onListItem(*panel, *this);
    if (listTemplate != nullptr && listTemplate->dependants != nullptr) listTemplate->dependants->showDependants(true);
}

// ---------------------------------------------------------------------------
// Input

bool ImageList::pressCells(const WindowMessage& message) {
    bool taken = false;
    // Every cell is offered the press: none stops it.
    for (Control3d* cell : items) {
        if (cell->visible && overlapsList(*cell)) taken = cell->handleInput(message) || taken;
    }
    return taken;
}

bool ImageList::moveOver(const WindowMessage& message) {
    bool taken = false;
    for (Control3d* cell : items) {
        if (cell->visible) taken = cell->handleInput(message) || taken;
    }
    const int px = messageX(message);
    const int py = messageY(message);
    const bool inside = contains(px, py);
    // Over the list's free space the arrow image follows the pointer.
    hot = inside && !taken;
    pointer_ = {px, py};
    if (hot) {
        interface().pointerImagePanel = panel;
    } else if (interface().pointerImagePanel == panel) {
        interface().pointerImagePanel = nullptr;
    }
    return taken || inside;
}

void ImageList::dragTo(int px, int py) {
    if (dragScroll) {
        scroll = scrollTarget = scrollAtPress_ + static_cast<float>(py - pressY);
        positionCells();
    }
    // Back at the press point: the drag goes on from the scroll reached.
    if (interface().wrapAtEdge(*this, px, py)) scrollAtPress_ = scroll;
}

bool ImageList::handleInput(const WindowMessage& message) {
    const int px = messageX(message);
    const int py = messageY(message);
    if (isLeftPress(message)) {
        if (!contains(px, py)) return false;
        pressCells(message);
        interface().beginDrag(*this, message);
        scrollAtPress_ = scroll;
        return true;
    }
    if (message.message == wm::MouseMove) {
        if (dragging) {
            dragTo(px, py);
            return true;
        }
        return moveOver(message);
    }
    if (message.message == wm::LButtonUp) {
        if (dragging) {
            interface().endDrag(*this);
            return true;
        }
        for (Control3d* cell : items) {
            if (cell->visible && cell->handleInput(message)) return true;
        }
        return false;
    }
    return false;
}

// ---------------------------------------------------------------------------
// Drawing

void ImageList::drawCells(float dt) {
    InterfaceDrawing& ui = drawing();
    const UiRect area{static_cast<float>(screenX()), static_cast<float>(screenY()), static_cast<float>(width),
                      static_cast<float>(height)};
    if (dragScroll) ui.setClip(area);
    for (Control3d* cell : items) {
        if (cell->visible && overlapsList(*cell)) cell->draw(dt);
    }
    if (dragScroll) ui.clearClip();
    // Hint bubbles may reach past the list.
    for (Control3d* cell : items) {
        if (cell->visible && overlapsList(*cell) && (!cell->hintText.empty() || cell->richHint != nullptr)) {
            cell->drawOverlay(dt);
        }
    }
}

void ImageList::drawPointerImage() {
    if (!hot) return;
    drawing().imageQuad(drawing().image("UI\\fleche.dds"),
                        {static_cast<float>(pointer_.x), static_cast<float>(pointer_.y), kPointerImageSize,
                         kPointerImageSize},
                        kOpaqueWhite);
}

void ImageList::draw(float dt) {
    if (autoSize) {
        width = panel->width - rightMargin - x;
        height = panel->height - bottomMargin - y;
    }
    if (width != lastWidth || height != lastHeight) layout();
    InterfaceDrawing& ui = drawing();
    const UiRect area{static_cast<float>(screenX()), static_cast<float>(screenY()), static_cast<float>(width),
                      static_cast<float>(height)};
    if (listTemplate == nullptr || listTemplate->filled) {
        PanelBodyStyle body;
        body.rect = area;
        body.corners = {backgroundColour, backgroundColour, backgroundColour, backgroundColour};
        body.outlined = false;
        ui.panelBody(body);
    }
    if (listTemplate == nullptr || listTemplate->outlined) ui.outline(area, outlineColour);
    if (!dragging) scroll += (scrollTarget - scroll) * (1.0f - std::pow(0.5f, kScrollHalfLife * dt));
    positionCells();
    drawCells(dt);
    drawPointerImage();
}

// ---------------------------------------------------------------------------
// Add operations

ImageList& addImageList(Panel& panel, int x, int y, int width, int height) {
    PImageList& listTemplate = panel.add(makeWidget<PImageList>(x, y, width, height));
    auto list = makeWidget<ImageList>(x, y, width, height);
    list->rightMargin = panel.width - x - width;
    list->bottomMargin = panel.height - y - height;
    list->listTemplate = &listTemplate;
    ImageList& added = panel.add(std::move(list));
    listTemplate.list = &added;
    added.layout();
    return added;
}

ImageButton& addImageListCell(ImageList& list, std::string_view imageFile, std::string_view hoverFile,
                              const TextureImage* thumbnail) {
    auto cell = std::make_unique<ListCell>();
    InterfaceDrawing& ui = list.panel->renderer().ui;
    cell->image = ui.image(imageFile);
    cell->hoverImage = ui.image(hoverFile);
    if (cell->image != nullptr) {
        cell->width = cell->image->width;
        cell->height = cell->image->height;
    }
    cell->setThumbnail(thumbnail);
    cell->showThumbnail = thumbnail != nullptr;
    cell->textButton = true;
    // The list, not the panel, draws and routes its cells.
    auto& button = static_cast<ImageButton&>(list.adoptCell(std::move(cell)));
    button.ownerList = &list;
    button.itemNumber = static_cast<int>(list.items.size()) - 1;
    return button;
}

void ImageList::clearCells() {
    items.clear();
    cells_.clear();
    homes_.clear();
    selectedIndex = -1;
    scroll = scrollTarget = 0.0f;
}

}  // namespace morvanex
