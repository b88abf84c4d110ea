#include "ui/image_button.h"

#include <algorithm>
#include <cmath>

#include "render/interface_drawing.h"
#include "render/renderer.h"
#include "render/texture_image.h"
#include "ui/interface.h"
#include "ui/interface_host.h"
#include "ui/label_table.h"
#include "ui/panel.h"
#include "ui/rich_hint.h"

namespace morvanex {

namespace {

constexpr Vec4 kHalfWhite{1.0f, 1.0f, 1.0f, 0.5f};
constexpr int kThumbnailBox = 100;
constexpr int kCloseButtonFromRight = 18;
constexpr float kBubbleHeight = 30.0f;
constexpr float kBubbleOpacity = 0.7f;
constexpr int kTextButtonPadding = 15;

}  // namespace

// ---------------------------------------------------------------------------
// Placement and input

int ImageButton::left() const {
    return screenX() + (scrollsWithPanel ? static_cast<int>(panel->dragOffsetX) : 0);
}

int ImageButton::top() const {
    return screenY() + (scrollsWithPanel ? static_cast<int>(panel->dragOffsetY) : 0);
}

bool ImageButton::inside(int px, int py) const {
    const int l = left();
    const int t = top();
    return px >= l && px < l + width && py >= t && py < t + height;
}

void ImageButton::setThumbnail(const TextureImage* picture) {
    thumbnail = picture;
    if (picture == nullptr || picture->width <= 0 || picture->height <= 0) {
        thumbnailWidth = thumbnailHeight = 0;
        return;
    }
    const float scale = std::min(static_cast<float>(kThumbnailBox) / static_cast<float>(picture->width),
                                 static_cast<float>(kThumbnailBox) / static_cast<float>(picture->height));
    thumbnailWidth = std::max(1, static_cast<int>(std::lround(static_cast<float>(picture->width) * scale)));
    thumbnailHeight = std::max(1, static_cast<int>(std::lround(static_cast<float>(picture->height) * scale)));
}

void ImageButton::press(const WindowMessage& message) {
    pressX = messageX(message);
    pressY = messageY(message);
    pressWidgetX = x;
    pressWidgetY = y;
    host().pointerScreenPosition(pressScreenPoint.x, pressScreenPoint.y);
    hot = false;
    if (opensPanel != nullptr) {
        opensPanel->setVisible(true);
        host().onButton(*panel, *this);
    } else if (closesPanel) {
        panel->setVisible(false);
    } else if (toggles || textButton) {
        if (group != nullptr) checked = true;
        if (ownerList != nullptr) {
            ownerList->selectThumbnail(*this);
        } else {
            selectInGroup();
            host().onButton(*panel, *this);
        }
        hot = true;
    } else if (onDragStart) {
        interface().beginDrag(*this, message);
        onDragStart();
    } else {
        host().onButton(*panel, *this);
    }
}

bool ImageButton::handleInput(const WindowMessage& message) {
    const bool usable = enabled && visible;
    const int px = messageX(message);
    const int py = messageY(message);
    if (isLeftPress(message)) {
        if (!usable || !inside(px, py) || py >= panel->y + panel->height) return false;
        press(message);
        return true;
    }
    if (message.message == wm::MouseMove && dragging) {
        if (onDragMove) onDragMove(px - pressX, py - pressY, py);
        if (!host().tutorialPlaying() && interface().wrapAtEdge(*this, px, py) && onDragStart) onDragStart();
        return true;
    }
    if (message.message == wm::LButtonUp && dragging) {
        if (onDragEnd) onDragEnd();
        interface().endDrag(*this);
        return true;
    }
    if (message.message == wm::MouseMove) {
        if (visible && inside(px, py)) {
            hot = true;
            interface().hoveredWidget = this;
            if (toggles || textButton) host().setCursor(CursorShape::Hand);
            return true;
        }
        hot = false;
        return false;
    }
    return false;
}

void ImageButton::showDependantsIfChecked() {
    if (dependants != nullptr) dependants->showDependants(visible && checked);
}

void ImageButton::setVisible(bool value) {
    Control3d::setVisible(value);
    tint = kOpaqueWhite;
    showDependantsIfChecked();
}

void ImageButton::toggleVisible() { setVisible(!visible); }

// ---------------------------------------------------------------------------
// Drawing

void ImageButton::draw(float dt) {
    refreshLabel(labels(), captionLabel, caption);
    refreshLabel(labels(), secondLabel, secondCaption);
    if (closesPanel) x = panel->width - kCloseButtonFromRight;
    InterfaceDrawing& ui = drawing();
    const float l = static_cast<float>(left());
    const float t = static_cast<float>(top());
    const UiRect rect{l, t, static_cast<float>(width), static_cast<float>(height)};
    if (textButton) {
        fadeColour(tint, kOpaqueWhite, kWidgetFadeRate, dt);
        fadeColour(hoverOverlay, hot ? kOpaqueWhite : kTransparentWhite, kWidgetFadeRate, dt);
        const float alpha = enabled ? 1.0f : 0.5f;
        ui.imageQuad(image, rect, {tint.x, tint.y, tint.z, tint.w * alpha});
        ui.imageQuad(hoverImage, rect, {1.0f, 1.0f, 1.0f, hoverOverlay.w * alpha});
        float textLeft = l + (static_cast<float>(width) - ui.measureText(caption)) * 0.5f;
        if (showThumbnail && thumbnail != nullptr) {
            ui.imageQuad(thumbnail, {l, t, static_cast<float>(thumbnailWidth), static_cast<float>(thumbnailHeight)},
                         {1, 1, 1, alpha});
            textLeft = l + 30.0f;
        }
        ui.text(t + 2.0f, std::floor(textLeft), caption, {1.0f, 1.0f, 1.0f, alpha});
    } else {
        fadeColour(tint, hot || checked ? kOpaqueWhite : kHalfWhite, kWidgetFadeRate, dt);
        const TextureImage* shown = checked && thumbnail != nullptr ? thumbnail : image;
        ui.imageQuad(shown, rect, tint);
    }
    if (framedWhenChecked && checked) ui.outline({l - 1.0f, t - 1.0f, rect.width + 2.0f, rect.height + 2.0f}, frameColour);
}

void ImageButton::drawOverlay(float dt) {
    if (richHint != nullptr) {
        drawRichHint(dt);
        return;
    }
    if (!hintText.empty()) drawHintBubble(dt);
}

void ImageButton::drawHintBubble(float dt) {
    refreshLabel(labels(), hintLabel, hintText);
    if (hot && !wasHot_) hintTimer.start();
    wasHot_ = hot;
    hintTimer.step(dt);
    const float target = hot && hintTimer.active ? 1.0f : 0.0f;
    fadeColour(hintColour, {1.0f, 1.0f, 1.0f, target}, kHintFadeRate, dt);
    if (hintColour.w < 0.004f) return;
    InterfaceDrawing& ui = drawing();
    const float bubbleWidth = ui.measureText(hintText) + 8.0f;
    const float bubbleLeft = std::floor(static_cast<float>(left()) + (static_cast<float>(width) - bubbleWidth) * 0.5f);
    const float bubbleTop = static_cast<float>(top() + height);
    ui.imageQuad(ui.image("hint4.dds"), {bubbleLeft, bubbleTop, bubbleWidth, kBubbleHeight},
                 {1.0f, 1.0f, 1.0f, kBubbleOpacity * hintColour.w});
    ui.text(bubbleTop + 10.0f, bubbleLeft + 4.0f, hintText, {1.0f, 1.0f, 1.0f, hintColour.w});
}

void ImageButton::drawRichHint(float dt) {
    if (!hot) {
        richHint->shown = false;
        return;
    }
    richHint->x = screenX() + 40;
    richHint->y = screenY() + 80;
    richHint->draw(drawing(), dt, false, interface());
}

// ---------------------------------------------------------------------------
// Add operations

int labelOf(const Panel& panel, std::string_view text) { return panel.interface().labels().findFrench(text); }

void addDependant(Control3d& owner, Control3d& widget) {
    if (owner.dependants == nullptr) {
        owner.dependants = &owner.panel->add(std::make_unique<ControleGroupe>());
    }
    owner.dependants->dependants.push_back(&widget);
}

namespace {

ImageButton& makeButton(Panel& panel, std::string_view imageFile, int x, int y) {
    auto button = std::make_unique<ImageButton>();
    button->image = panel.renderer().ui.image(imageFile);
    if (button->image != nullptr) {
        button->width = button->image->width;
        button->height = button->image->height;
    }
    button->x = x;
    button->y = y;
    ImageButton& added = panel.add(std::move(button));
    added.itemNumber = static_cast<int>(panel.items.size());
    return added;
}

void setHint(ImageButton& button, std::string_view hint) {
    button.hintText = std::string(hint);
    button.hintLabel = labelOf(*button.panel, hint);
}

}  // namespace

ImageButton& addImageButton(Panel& panel, std::string_view imageFile, int x, int y, std::function<void()> dragStart,
                            std::function<void(int, int, int)> dragMove, std::function<void()> dragEnd,
                            std::string_view hint) {
    ImageButton& button = makeButton(panel, imageFile, x, y);
    button.boundFlag = &button.checked;
    button.onDragStart = std::move(dragStart);
    button.onDragMove = std::move(dragMove);
    button.onDragEnd = std::move(dragEnd);
    setHint(button, hint);
    return button;
}

ImageButton& addGroupedImageButton(Panel& panel, std::string_view imageFile, int x, int y, ControleGroupe& group,
                                   ControleGroupe* dependants, std::string_view hint) {
    ImageButton& button = makeButton(panel, imageFile, x, y);
    button.toggles = true;
    group.addMember(button);
    button.dependants = dependants;
    setHint(button, hint);
    return button;
}

ImageButton& addTextButton(Panel& panel, std::string_view imageFile, std::string_view hoverFile, int x, int y,
                           std::string_view caption, Panel* opens, Control3d* owner) {
    ImageButton& button = makeButton(panel, imageFile, x, y);
    button.textButton = true;
    button.hoverImage = panel.renderer().ui.image(hoverFile);
    button.caption = std::string(caption);
    button.captionLabel = labelOf(panel, caption);
    button.opensPanel = opens;
    const int captionWidth = static_cast<int>(std::ceil(panel.renderer().ui.measureText(caption)));
    button.width = std::max(button.width, captionWidth + kTextButtonPadding);
    if (owner != nullptr) addDependant(*owner, button);
    return button;
}

ImageButton& addPictureButton(Panel& panel, std::string_view imageFile, std::string_view hoverFile,
                              const TextureImage* thumbnail, int x, int y, int size, Panel* opens) {
    ImageButton& button = makeButton(panel, imageFile, x, y);
    button.hoverImage = panel.renderer().ui.image(hoverFile);
    button.setThumbnail(thumbnail);
    button.showThumbnail = thumbnail != nullptr;
    button.textButton = true;
    button.opensPanel = opens;
    if (size > 0) button.width = button.height = size;
    return button;
}

void addCloseButton(Panel& panel) {
    ImageButton& button = makeButton(panel, "close1.dds", panel.width - 20, 5);
    button.hoverImage = panel.renderer().ui.image("close1 over.dds");
    button.textButton = true;
    button.caption.assign(1, ' ');
    button.closesPanel = true;
    if (button.width == 0) button.width = button.height = 16;  // still pressable without its image
}

}  // namespace morvanex
