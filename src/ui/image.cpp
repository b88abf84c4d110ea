#include "ui/image.h"

#include <algorithm>

#include "render/interface_drawing.h"
#include "render/renderer.h"
#include "render/texture_image.h"
#include "ui/interface.h"
#include "ui/interface_host.h"
#include "ui/panel.h"

namespace morvanex {

namespace {

constexpr float kTurnPerPixel = -0.005f;  // radians

}  // namespace

bool Image::handleGripDrag(const WindowMessage& message) {
    const int px = messageX(message);
    const int py = messageY(message);
    if (isLeftPress(message)) {
        if (!contains(px, py)) return false;
        widthAtPress_ = panel->width;
        heightAtPress_ = panel->height;
        interface().beginDrag(*this, message);
        return true;
    }
    if (!dragging) return false;
    if (message.message == wm::MouseMove) {
        // The grip sits at the bottom-right corner: the panel grows as the
        // pointer moves right and down, never below its creation size.
        int dx = px - pressX;
        int dy = py - pressY;
        if (keepSquare) dx = dy = (dx + dy) / 2;
        if (widthAtPress_ + dx > panel->homeWidth) panel->width = widthAtPress_ + dx;
        if (heightAtPress_ + dy > panel->homeHeight) panel->height = heightAtPress_ + dy;
        host().onImageDrag(*this);
        return true;
    }
    if (message.message == wm::LButtonUp) {
        interface().endDrag(*this);
        return true;
    }
    return false;
}

bool Image::handleTurnDrag(const WindowMessage& message) {
    const int px = messageX(message);
    const int py = messageY(message);
    if (isLeftPress(message)) {
        if (!contains(px, py)) return false;
        interface().beginDrag(*this, message);
        return true;
    }
    if (!dragging) return false;
    if (message.message == wm::MouseMove) {
        if (onTurn) {
            onTurn(kTurnPerPixel * static_cast<float>(px - pressX), kTurnPerPixel * static_cast<float>(py - pressY));
        }
        host().onImageDrag(*this);
        // The rotation ball measures from the press point again after a wrap.
        if (interface().wrapAtEdge(*this, px, py) && role == Role::RotationBall && onTurn) onTurn(0.0f, 0.0f);
        return true;
    }
    if (message.message == wm::LButtonUp) {
        interface().endDrag(*this);
        return true;
    }
    return false;
}

bool Image::handleInput(const WindowMessage& message) {
    switch (role) {
        case Role::Decoration: return false;
        case Role::ResizeGrip: return handleGripDrag(message);
        case Role::PreviewOrbit:
        case Role::RotationBall: return handleTurnDrag(message);
    }
    return false;
}

void Image::draw(float dt) {
    if (anchoredBottomRight) {
        x = panel->width - width;
        y = panel->height - height;
    }
    fadeColour(colour, kOpaqueWhite, kWidgetFadeRate, dt);
    if (texture == nullptr) return;
    UiRect rect{static_cast<float>(screenX()), static_cast<float>(screenY()), static_cast<float>(width),
                static_cast<float>(height)};
    if (fitAspect && texture->width > 0 && texture->height > 0) {
        const float scale = std::min(rect.width / static_cast<float>(texture->width),
                                     rect.height / static_cast<float>(texture->height));
        const float w = static_cast<float>(texture->width) * scale;
        const float h = static_cast<float>(texture->height) * scale;
        rect = {rect.x + (rect.width - w) * 0.5f, rect.y + (rect.height - h) * 0.5f, w, h};
    }
    drawing().imageQuad(texture, rect, colour);
}

Image& addImage(Panel& panel, const TextureImage* texture, int x, int y, int width, int height) {
    auto image = std::make_unique<Image>();
    image->texture = texture;
    image->x = x;
    image->y = y;
    image->width = width > 0 ? width : (texture != nullptr ? texture->width : 0);
    image->height = height > 0 ? height : (texture != nullptr ? texture->height : 0);
    Image& added = panel.add(std::move(image));
    added.itemNumber = static_cast<int>(panel.items.size());
    return added;
}

Image& addImageAuto(Panel& panel, const TextureImage* texture, int x, int step, int width, int height) {
    return addImage(panel, texture, x, panel.nextLayoutY(step), width, height);
}

Image& addGripImage(Panel& panel) {
    Image& grip = addImage(panel, panel.renderer().ui.image("redim.dds"), panel.width - 18, panel.height - 18);
    if (grip.width == 0) grip.width = grip.height = 18;
    grip.anchoredBottomRight = true;
    grip.role = Image::Role::ResizeGrip;
    return grip;
}

}  // namespace morvanex
