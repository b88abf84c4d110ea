#include "resources/contact_sheet.h"

#include <algorithm>
#include <vector>

#include "base/text_encoding.h"
#include "image/image_codec.h"
#include "resources/canvas.h"

namespace morvanex::resources {

namespace {

constexpr Colour kSheetBackground{27, 30, 36, 255};
constexpr Colour kCellBackground{36, 40, 48, 255};
constexpr Colour kLabelColour{150, 160, 175, 255};
constexpr int kMargin = 12;
constexpr int kLabelHeight = 20;

struct SheetItem {
    std::string label;  // Windows-1252, for the glyph font
    DecodedImage image;
};

struct Placed {
    int x = 0, y = 0, width = 0, height = 0;  // the cell: the enlarged image with its name below
};

Placed cellSize(const FontAtlas& font, const SheetItem& item) {
    return {0, 0, std::max(item.image.width * kContactSheetZoom, Canvas::textWidth(font, item.label)) + 8,
            item.image.height * kContactSheetZoom + kLabelHeight + 8};
}

// Left to right, a new row when the sheet is full; each row as tall as its
// tallest cell.
std::vector<Placed> layOut(const FontAtlas& font, const std::vector<SheetItem>& items, int& sheetHeight) {
    std::vector<Placed> placed;
    int x = kMargin, y = kMargin, rowHeight = 0;
    for (const SheetItem& item : items) {
        const Placed size = cellSize(font, item);
        const int w = size.width, h = size.height;
        if (x + w > kContactSheetWidth - kMargin && x > kMargin) {
            x = kMargin;
            y += rowHeight + kMargin;
            rowHeight = 0;
        }
        placed.push_back({x, y, w, h});
        x += w + kMargin;
        rowHeight = std::max(rowHeight, h);
    }
    sheetHeight = y + rowHeight + kMargin;
    return placed;
}

void paste(Canvas& sheet, const DecodedImage& image, int left, int top) {
    const std::vector<std::uint8_t>& bytes = image.levels.front().bytes;
    for (int y = 0; y < image.height * kContactSheetZoom; ++y)
        for (int x = 0; x < image.width * kContactSheetZoom; ++x) {
            const std::size_t at =
                static_cast<std::size_t>(((y / kContactSheetZoom) * image.width + x / kContactSheetZoom) * 4);
            sheet.blend(left + x, top + y, {bytes[at], bytes[at + 1], bytes[at + 2], bytes[at + 3]});
        }
}

}  // namespace

ImageResult interfaceContactSheet(const ResourceContext& context) {
    std::vector<SheetItem> items;
    for (const ResourceFile& file : resourceFiles()) {
        // The demonstration textures are pictures, not part of the interface.
        if (!file.path.starts_with("UI/") || file.path.ends_with(".jpg")) continue;
        std::string why;
        const std::vector<std::uint8_t> bytes = file.make(context, &why);
        ImageResult image = decodeImageRgba8(bytes);
        if (!image) return ImageResult::failure(file.path + ": " + (why.empty() ? image.error : why));
        items.push_back({cp1252FromUtf8(file.path.substr(3)), std::move(*image.image)});
    }
    int height = 0;
    const std::vector<Placed> cells = layOut(context.regular, items, height);
    Canvas sheet(kContactSheetWidth, height, kSheetBackground);
    for (std::size_t i = 0; i < items.size(); ++i) {
        const Placed& cell = cells[i];
        sheet.fillRect(cell.x, cell.y, cell.x + cell.width, cell.y + cell.height, kCellBackground);
        paste(sheet, items[i].image, cell.x + 4, cell.y + 4);
        sheet.text(context.regular, cell.x + 4, cell.y + cell.height - kLabelHeight - 2, items[i].label, kLabelColour);
    }
    return ImageResult::success(sheet.image());
}

}  // namespace morvanex::resources
