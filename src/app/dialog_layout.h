// The size and place of the message and question dialogs, from the texts
// they show: as wide as the longest line (in characters) x 7.5 + 106
// pixels, centred in the window, each line centred in the dialog.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace morvanex {

inline constexpr int kDialogLineX = 81;
inline constexpr int kMessageButtonY = 110;
inline constexpr int kMessageCheckBoxY = 110;
inline constexpr int kCheckBoxButtonDrop = 20;  // the buttons make room for the check box
inline constexpr int kCheckBoxCaptionX = 20;    // the caption starts right of the box
inline constexpr int kDialogMargin = 10;

struct DialogLayoutInput {
    std::array<std::string_view, 3> lines;
    std::array<int, 3> lineWidths{};  // measured, in pixels
    int minimumWidth = 0;             // what the dialog's widgets need
    int viewWidth = 0;
    int viewHeight = 0;
    int height = 0;
};

struct DialogLayout {
    int width = 0;
    int x = 0;
    int y = 0;
    std::array<int, 3> lineX{};
};

DialogLayout layoutDialog(const DialogLayoutInput& input);

struct MessageLayoutInput : DialogLayoutInput {
    std::array<int, 2> buttonWidths{};  // a second width of 0: one button alone
    std::string_view checkBoxCaption;  // empty: no check box
    int checkBoxWidth = 0;             // box and caption
};

struct MessageLayout {
    DialogLayout dialog;
    std::array<int, 2> buttonX{};
    int buttonY = kMessageButtonY;
    bool checkBoxShown = false;
};

// The two buttons share the width left over in three equal gaps: g, the
// first, g, the second, g; a button alone is centred. A shown check box
// sits on the buttons' row, so they move down under it.
MessageLayout layoutMessageDialog(const MessageLayoutInput& input);

// A message of any length on the dialog's three lines: broken between words
// at most `lineLength` characters long (a longer word is cut), the last line
// ending in "..." when the text does not fit.
std::array<std::string, 3> wrapIntoDialogLines(std::string_view text, std::size_t lineLength);

}  // namespace morvanex
