// Buttons: image buttons (tools, toggles, drag pads), text buttons (a
// caption over two cross-faded images), close buttons and thumbnail
// buttons, with their hint bubbles.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "ui/colour_fade.h"
#include "ui/control3d.h"

namespace morvanex {

class TextureImage;
class ImageButton;

// A list whose cells are thumbnail buttons: a press on one selects it there.
class ThumbnailList {
public:
    virtual ~ThumbnailList() = default;
    virtual void selectThumbnail(ImageButton& button) = 0;
};

class ImageButton : public Control3d {
public:
    bool handleInput(const WindowMessage& message) override;
    void setVisible(bool visible) override;
    void toggleVisible() override;
    void draw(float elapsedSeconds) override;
    void drawOverlay(float elapsedSeconds) override;

    Vec4 tint = kOpaqueWhite;          // faded colour of the image
    Vec4 hoverOverlay = kTransparentWhite;  // the hover image of text buttons
    Vec4 hintColour = kTransparentWhite;    // the hint bubble
    int itemNumber = 0;                // panel items after it was added (its index in an image list)
    const TextureImage* image = nullptr;       // main image; its size gives width and height
    const TextureImage* hoverImage = nullptr;  // text buttons: faded in while hot
    const TextureImage* thumbnail = nullptr;   // optional picture
    int thumbnailWidth = 0;            // fitted into 100 x 100, aspect kept
    int thumbnailHeight = 0;
    bool toggles = false;              // a click checks it (and selects it in its group)
    bool closesPanel = false;          // a click hides its panel; kept 18 pixels from the right edge
    bool scrollsWithPanel = false;     // the panel's drag offsets move it
    bool framedWhenChecked = false;
    bool textButton = false;
    std::string caption;
    std::string secondCaption;
    ThumbnailList* ownerList = nullptr;  // set for the cells of an image list
    Panel* opensPanel = nullptr;       // a click shows this pop-up instead
    bool showThumbnail = false;
    FadeTimer hintTimer;
    Vec4 frameColour{1.0f, 1.0f, 0.0f, 1.0f};

    // Fits the thumbnail's size into 100 x 100 keeping its proportions.
    void setThumbnail(const TextureImage* picture);

private:
    int left() const;
    int top() const;
    bool inside(int px, int py) const;
    void press(const WindowMessage& message);
    void showDependantsIfChecked();
    void drawHintBubble(float dt);
    void drawRichHint(float dt);
    bool wasHot_ = false;
};

// Add operations of the panel.
ImageButton& addImageButton(Panel& panel, std::string_view imageFile, int x, int y,
                            std::function<void()> dragStart = {},
                            std::function<void(int, int, int)> dragMove = {}, std::function<void()> dragEnd = {},
                            std::string_view hint = {});
ImageButton& addGroupedImageButton(Panel& panel, std::string_view imageFile, int x, int y, ControleGroupe& group,
                                   ControleGroupe* dependants = nullptr, std::string_view hint = {});
ImageButton& addTextButton(Panel& panel, std::string_view imageFile, std::string_view hoverFile, int x, int y,
                           std::string_view caption, Panel* opens = nullptr, Control3d* owner = nullptr);
ImageButton& addPictureButton(Panel& panel, std::string_view imageFile, std::string_view hoverFile,
                              const TextureImage* thumbnail, int x, int y, int size, Panel* opens = nullptr);

// Appends the widget to the owner's dependants (made on first use; the
// panel keeps the group).
void addDependant(Control3d& owner, Control3d& widget);
// The label number of a text given at creation: its entry in the French
// table, or -1 (the text is then shown as given in both languages).
int labelOf(const Panel& panel, std::string_view text);

}  // namespace morvanex
