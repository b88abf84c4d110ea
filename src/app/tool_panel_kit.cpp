#include "app/tool_panel_kit.h"

#include "app/screen_builders.h"

#include "ui/check_box.h"
#include "ui/control3d.h"
#include "ui/edit_box.h"
#include "ui/image_button.h"
#include "ui/interface.h"
#include "ui/label.h"
#include "ui/slider.h"

namespace morvanex {

namespace {

// The tool panels' slate body, a little lighter at the top, with the
// accent outline.
constexpr Vec4 kCaptionColour{0.85f, 0.88f, 0.92f, 1.0f};
constexpr int kAxisBoxWidth = 72;

}  // namespace

std::string frenchLabel(LabelTable& labels, int number) {
    return labels.frenchText(number);
}

Panel& createToolPanel(Interface& ui, LabelTable& labels, int nameLabel, int x, int y, int width, int height,
                       bool grip) {
    Panel& panel = ui.createPanel(frenchLabel(labels, nameLabel), x, y, width, height, screen::panelColours(), true, grip);
    panel.hasTitleBar = true;
    return panel;
}

std::string hoverImageName(std::string_view image) {
    // The text buttons' variants put "over" after the common stem
    // ("mbuttonc.dds" hovers as "mbuttonoverc.dds"); others before the dot.
    constexpr std::string_view kTextButtonStem = "mbutton";
    std::string hover(image);
    const std::size_t at = image.starts_with(kTextButtonStem) ? kTextButtonStem.size()
                           : image.find('.') == std::string_view::npos ? image.size()
                                                                      : image.find('.');
    hover.insert(at, "over");
    return hover;
}

ImageButton& ToolPanelKit::button(int label, int x, int y, Control3d* page, std::string_view image) {
    const std::string hover = hoverImageName(image);
    ImageButton& added = addTextButton(panel_, image, hover, x, y, french(label), nullptr, page);
    added.captionLabel = label;
    return added;
}

CheckBox& ToolPanelKit::check(int label, int x, int y, bool* bound, Control3d* page) {
    CheckBox& added = addCheckBox(panel_, x, y, bound, french(label), page);
    added.captionLabel = label;
    return added;
}

RadioButton& ToolPanelKit::radio(ControleGroupe& group, int label, int x, int y, int* index, Control3d* page) {
    RadioButton& added = addRadioButton(panel_, group, x, y, index, french(label), page);
    added.captionLabel = label;
    return added;
}

RadioButton& ToolPanelKit::radio(ControleGroupe& group, std::string_view text, int x, int y, int* index,
                                 Control3d* page) {
    return addRadioButton(panel_, group, x, y, index, text, page);
}

EditBox& ToolPanelKit::box(int label, int x, int y, EditFilter filter, Control3d* page) {
    EditBox& added = addEditBox(panel_, label >= 0 ? french(label) : std::string(), label >= 0 ? " :" : "", x, y,
                                "button2.dds", filter, "0");
    if (label >= 0) added.captionLabel = label;
    added.layOutBox();
    if (page != nullptr) addDependant(*page, added);
    return added;
}

EditBox& ToolPanelKit::decimalBox(int label, int x, int y, float* bound, Control3d* page) {
    EditBox& added = box(label, x, y, EditFilter::Decimal, page);
    added.boundFloat = bound;
    if (bound != nullptr) added.setFloat(*bound);
    return added;
}

EditBox& ToolPanelKit::integerBox(int label, int x, int y, int* bound, Control3d* page) {
    EditBox& added = box(label, x, y, EditFilter::Integer, page);
    added.boundInt1 = bound;
    if (bound != nullptr) added.setInt(*bound);
    return added;
}

EditBox& ToolPanelKit::axisBox(std::string_view letter, int x, int y, float* bound, Control3d* page) {
    EditBox& added = addEditBox(panel_, letter, "", x, y, "button2.dds", EditFilter::Decimal, "0");
    added.boxWidth = kAxisBoxWidth;
    added.layOutBox();
    added.boundFloat = bound;
    if (bound != nullptr) added.setFloat(*bound);
    if (page != nullptr) addDependant(*page, added);
    return added;
}

Cursor& ToolPanelKit::slider(int label, int x, int y, float* bound, int kind, Control3d* page) {
    Cursor& added = addSlider(panel_, x, y, bound, kind, french(label), page);
    added.captionLabel = label;
    if (bound != nullptr) added.syncFromValue();
    return added;
}

Label& ToolPanelKit::text(int label, int x, int y, Control3d* page) {
    Label& added = plainText(french(label), x, y, page);
    added.captionLabel = label;
    return added;
}

Label& ToolPanelKit::plainText(std::string_view text, int x, int y, Control3d* page) {
    Label& added = addLabel(panel_, x, y, text, false, page);
    added.textColour = kCaptionColour;
    return added;
}

}  // namespace morvanex
