// The scrolling thumbnail grid: a frame (the template) holding a list of
// cells laid out left to right in rows, scrolled by dragging, clipped to
// its rectangle. A press on a cell selects it in the list.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "ui/colour_fade.h"
#include "ui/control3d.h"
#include "ui/image_button.h"

namespace morvanex {

class ImageList;
class TextureImage;

// The grid's template and frame. Its dependants are the list's option
// group, shown when a cell is selected.
class PImageList : public Control3d {
public:
    bool handleInput(const WindowMessage& message) override;

    ImageList* list = nullptr;
    int cellWidth = 120;
    int cellHeight = 150;
    bool outlined = true;
    bool filled = true;
};

class ImageList : public Control3d, public ThumbnailList {
public:
    bool handleInput(const WindowMessage& message) override;
    void draw(float elapsedSeconds) override;
    // Selects the cell: it alone checked, scrolled to the middle of the
    // list, the application told, the option group shown.
    void selectThumbnail(ImageButton& button) override;

    // Takes a cell into the list (out of any panel's items: the list draws
    // and routes its cells) and lays the grid out again.
    Control3d& adoptCell(std::unique_ptr<Control3d> cell);
    // Places the cells in rows for the current width.
    void layout();
    // Drops every cell (the list is filled again).
    void clearCells();

    std::vector<Control3d*> items;  // the cells, in order; owned by the list
    int lastWidth = 0;              // the size of the last layout
    int lastHeight = 0;
    bool dragScroll = true;         // a drag scrolls; drawing is clipped to the list
    float scrollX = 0.0f;
    float scroll = 0.0f;            // pixels the cells are moved down (negative: scrolled down)
    float scrollTarget = 0.0f;
    bool autoSize = true;           // the size follows the panel's, keeping its margins
    int rightMargin = 0;
    int bottomMargin = 0;
    int selectedIndex = -1;
    PImageList* listTemplate = nullptr;
    Vec4 backgroundColour{1.0f, 1.0f, 1.0f, 240.0f / 255.0f};
    Vec4 outlineColour{0.45f, 0.45f, 0.45f, 1.0f};

private:
    int cellWidth() const;
    int cellHeight() const;
    void positionCells();
    bool overlapsList(const Control3d& cell) const;
    bool pressCells(const WindowMessage& message);
    bool moveOver(const WindowMessage& message);
    void dragTo(int px, int py);
    void drawCells(float dt);
    void drawPointerImage();

    std::vector<std::unique_ptr<Control3d>> cells_;
    std::vector<ScreenPoint> homes_;  // each cell's place relative to the list, unscrolled
    float scrollAtPress_ = 0.0f;
    ScreenPoint pointer_;             // where the pointer image is drawn while `hot`
};

// Add operations: the frame and its list at (x, y), width x height, the
// margins to the panel's right and bottom edges kept; a thumbnail cell.
ImageList& addImageList(Panel& panel, int x, int y, int width, int height);
ImageButton& addImageListCell(ImageList& list, std::string_view imageFile, std::string_view hoverFile,
                              const TextureImage* thumbnail = nullptr);

}  // namespace morvanex
