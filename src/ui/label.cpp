#include "ui/label.h"

#include "render/interface_drawing.h"
#include "render/renderer.h"
#include "ui/image_button.h"
#include "ui/label_table.h"
#include "ui/panel.h"

namespace morvanex {

bool Label::handleInput(const WindowMessage&) { return false; }

void Label::draw(float) {
    refreshLabel(labels(), captionLabel, text);
    if (bottomAnchor != 0) textY = y = panel->height - bottomAnchor;
    drawing().text(static_cast<float>(panel->y + textY), static_cast<float>(panel->x + textX), text, textColour, bold);
}

Label& addLabel(Panel& panel, int x, int y, std::string_view text, bool bold, Control3d* owner) {
    auto label = std::make_unique<Label>();
    label->x = label->textX = x;
    label->y = label->textY = y;
    label->text = std::string(text);
    label->captionLabel = labelOf(panel, text);
    label->bold = bold;
    label->width = static_cast<int>(panel.renderer().ui.measureText(text, bold));
    label->height = 20;
    Label& added = panel.add(std::move(label));
    if (owner != nullptr) addDependant(*owner, added);
    return added;
}

Label& addLabelAuto(Panel& panel, int x, int step, std::string_view text, bool bold, Control3d* owner) {
    return addLabel(panel, x, panel.nextLayoutY(step), text, bold, owner);
}

}  // namespace morvanex
