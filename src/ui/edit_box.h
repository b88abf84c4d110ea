// Edit boxes: one line of text typed into a box, bound to a float, up to
// three ints or a string. Every change of the text commits at once (the
// bound variables are written and the application told); Enter commits
// too, for whoever expects it to. The right button opens the clipboard
// menu, whose Paste and Copy call the two functions at the end.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "ui/colour_fade.h"
#include "ui/control3d.h"
#include "ui/menu.h"

namespace morvanex {

class Cursor;
class TextureImage;

// What a box accepts: any text, a decimal number or an integer.
enum class EditFilter { FreeText = 0, Decimal = 1, Integer = 2 };

inline constexpr std::size_t kEditBoxCapacity = 1000;  // glyphs of its text line

class EditBox : public Control3d {
public:
    EditBox();

    bool handleInput(const WindowMessage& message) override;
    void setVisible(bool visible) override;  // a hidden box gives up the focus
    void draw(float elapsedSeconds) override;
    void linkInChain(Control3d* previous, Control3d* next) override;

    // Value setters for the application: they show a value, they do not
    // commit it.
    void setText(std::string_view value);  // caret to the end
    void setFloat(float value);            // fixed, 3 decimals
    void setInt(int value);                // value - 1 when offsetByOne

    // Writes the text to the bound variables, re-synchronises the linked
    // slider and tells the application (after every change of the text).
    void apply();
    // Whether the text would pass the box's filter.
    bool passesFilter(std::string_view candidate) const;
    // Typing rule (a): a character may be typed while the text followed by
    // "0000" is no wider than the box.
    bool roomForAnother(std::string_view current) const;

    // The box starts after the caption and its suffix.
    void layOutBox();
    // Focus moves here from the box that had it.
    void takeFocus();
    // Escape: the text it had when it took the focus comes back (and is
    // committed), and the focus ends.
    void cancelEditing();

    int boxLeft() const;  // screen x of the box
    int boxTop() const;   // screen y of the box
    bool insideBox(int px, int py) const;
    bool insideClearSquare(int px, int py) const;

    std::string caption;        // drawn left of the box (label-refreshed)
    std::string captionSuffix;
    int captionX = 0;           // relative to the panel
    int captionY = 0;
    int boxX = 0;               // relative to the panel: after the caption
    int bottomAnchor = 0;       // when non-zero, y = panel height - bottomAnchor
    int boxWidth = 0;           // from the box texture
    int boxHeight = 0;
    std::string text;
    int caret = 0;              // 0..length
    double caretBlinkPeriod = 0.53;
    double caretPhaseStart = 0.0;
    bool caretShown = true;
    std::function<void(int)> onCharacter;  // each character accepted
    bool shiftDown = false;
    bool altDown = false;
    bool capsLock = false;
    const TextureImage* boxTexture = nullptr;
    const TextureImage* caretTexture = nullptr;
    float* boundFloat = nullptr;
    std::string* boundString = nullptr;
    int* boundInt1 = nullptr;
    int* boundInt2 = nullptr;
    int* boundInt3 = nullptr;
    Cursor* slider = nullptr;   // linked slider, re-synchronised after each change
    EditFilter filter = EditFilter::FreeText;
    EditBox* nextInChain = nullptr;      // the Tab chain, rebuilt by the panel every frame
    EditBox* previousInChain = nullptr;
    bool hovered = false;       // pointer over the box: the clear button shows
    bool offsetByOne = false;   // an integer box showing one less than it stores
    Vec4 clearColour = kTransparentWhite;
    Vec4 clearHighlight = kOpaqueWhite;
    std::string textAtFocus;    // what Escape brings back

private:
    bool handleKeyDown(std::uint32_t key);
    bool handleKeyUp(std::uint32_t key);
    bool handleCharacter(std::uint32_t code);
    bool handleLeftPress(int px, int py);
    bool handleRightPress(int px, int py);
    bool handlePointer(const WindowMessage& message);
    void placeCaret(int px);
    void restartBlink();
    void releaseCapture();
    float textWidth(std::string_view part) const;
};

EditBox& addEditBox(Panel& panel, std::string_view caption, std::string_view suffix, int x, int y,
                    std::string_view boxTextureFile, EditFilter filter, std::string_view initialText);

// The clipboard menu's operations. Paste: the box takes the longest prefix
// of the text that typing could have entered (rule (a)), caret at the end,
// and commits. Copy: the box's whole text goes to the clipboard.
void pasteIntoEditBox(EditBox& box, std::string_view clipboardText);
void copyFromEditBox(const EditBox& box);
// What the clipboard menu does with the edit box it was opened on.
ClipboardActions editBoxClipboardActions();

}  // namespace morvanex
