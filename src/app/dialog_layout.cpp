#include "app/dialog_layout.h"

#include <algorithm>

namespace morvanex {

DialogLayout layoutDialog(const DialogLayoutInput& input) {
    std::size_t longest = 0;
    for (std::string_view line : input.lines) longest = std::max(longest, line.size());
    DialogLayout layout;
    layout.width = std::max(static_cast<int>(static_cast<double>(longest) * 7.5 + 106.0), input.minimumWidth);
    // A dialog wider or taller than the window still starts on it.
    layout.x = std::max((input.viewWidth - layout.width) / 2, 0);
    layout.y = std::max((input.viewHeight - input.height) / 2, 0);
    for (std::size_t i = 0; i < layout.lineX.size(); ++i) layout.lineX[i] = (layout.width - input.lineWidths[i]) / 2;
    return layout;
}

MessageLayout layoutMessageDialog(const MessageLayoutInput& input) {
    MessageLayout layout;
    layout.checkBoxShown = !input.checkBoxCaption.empty();
    DialogLayoutInput sized = input;
    const int buttons = input.buttonWidths[0] + input.buttonWidths[1];
    sized.minimumWidth = std::max(sized.minimumWidth, buttons + 3 * kDialogMargin);
    if (layout.checkBoxShown) {
        sized.minimumWidth = std::max(sized.minimumWidth, kDialogLineX + input.checkBoxWidth + kDialogMargin);
    }
    layout.dialog = layoutDialog(sized);
    if (input.buttonWidths[1] == 0) {
        layout.buttonX = {(layout.dialog.width - buttons) / 2, 0};
    } else {
        const int gap = (layout.dialog.width - buttons) / 3;
        layout.buttonX = {gap, input.buttonWidths[0] + 2 * gap};
    }
    layout.buttonY = kMessageButtonY + (layout.checkBoxShown ? kCheckBoxButtonDrop : 0);
    return layout;
}

std::array<std::string, 3> wrapIntoDialogLines(std::string_view text, std::size_t lineLength) {
    std::array<std::string, 3> lines;
    if (lineLength < 4) lineLength = 4;
    std::size_t line = 0;
    std::size_t pos = 0;
    while (pos < text.size() && text[pos] == ' ') ++pos;
    while (pos < text.size()) {
        std::string& out = lines[line];
        const std::size_t left = text.size() - pos;
        if (left <= lineLength) {
            out = text.substr(pos);
            return lines;
        }
        // Break after the last blank that keeps the line short enough.
        std::size_t cut = text.rfind(' ', pos + lineLength);
        if (cut == std::string_view::npos || cut <= pos) cut = pos + lineLength;
        if (line == lines.size() - 1) {
            out = std::string(text.substr(pos, std::min(cut - pos, lineLength - 3))) + "...";
            return lines;
        }
        out = text.substr(pos, cut - pos);
        pos = cut;
        while (pos < text.size() && text[pos] == ' ') ++pos;
        ++line;
    }
    return lines;
}

}  // namespace morvanex
