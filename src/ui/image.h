// Pictures on a panel: decorations, the resize grip, and the drag-to-turn
// previews (the application turns the preview camera or the selected object
// from the drag it is told about).
#pragma once

#include <string_view>

#include "ui/colour_fade.h"
#include "ui/control3d.h"

namespace morvanex {

class TextureImage;

class Image : public Control3d {
public:
    enum class Role { Decoration, ResizeGrip, PreviewOrbit, RotationBall };

    bool handleInput(const WindowMessage& message) override;
    void draw(float elapsedSeconds) override;

    const TextureImage* texture = nullptr;
    Vec4 colour = kOpaqueWhite;
    int itemNumber = 0;
    bool anchoredBottomRight = false;  // placed at the panel's bottom-right corner every draw
    bool keepSquare = false;           // a grip that resizes both sides alike
    bool fitAspect = false;            // the texture keeps its proportions inside the rectangle
    Role role = Role::Decoration;
    // Preview roles: called with the drag since the press, in radians
    // (-0.005 per pixel); the application turns what the preview shows.
    std::function<void(float dYaw, float dPitch)> onTurn;

private:
    bool handleGripDrag(const WindowMessage& message);
    bool handleTurnDrag(const WindowMessage& message);
    int widthAtPress_ = 0;
    int heightAtPress_ = 0;
};

// Add operations of the panel. With size 0 the image keeps its texture's size.
Image& addImage(Panel& panel, const TextureImage* texture, int x, int y, int width = 0, int height = 0);
Image& addImageAuto(Panel& panel, const TextureImage* texture, int x, int step, int width = 0, int height = 0);

}  // namespace morvanex
