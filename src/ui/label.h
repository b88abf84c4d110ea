// Plain text on a panel.
#pragma once

#include <string>
#include <string_view>

#include "ui/control3d.h"
#include "scene/math.h"

namespace morvanex {

class Label : public Control3d {
public:
    bool handleInput(const WindowMessage& message) override;
    void draw(float elapsedSeconds) override;

    int textX = 0;   // relative to the panel
    int textY = 0;
    std::string text;  // label-refreshed
    bool bold = false;
    Vec4 textColour{0.0f, 0.0f, 0.0f, 1.0f};
    float scale = 1.0f;
    int bottomAnchor = 0;  // when non-zero, y = panel height - bottomAnchor
};

Label& addLabel(Panel& panel, int x, int y, std::string_view text, bool bold = false, Control3d* owner = nullptr);
Label& addLabelAuto(Panel& panel, int x, int step, std::string_view text, bool bold = false,
                    Control3d* owner = nullptr);

}  // namespace morvanex
