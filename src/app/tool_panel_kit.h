// The small vocabulary the tool panel builders share: widgets captioned by
// label number (given the French entry and the number, so that they follow
// the language), each optionally on a page (a tab or a tool button whose
// dependants it joins).
#pragma once

#include <string>
#include <string_view>

#include "ui/edit_box.h"
#include "ui/label_table.h"
#include "ui/panel.h"

namespace morvanex {

class CheckBox;
class Control3d;
class ControleGroupe;
class Cursor;
class EditBox;
class ImageButton;
class Interface;
class Label;
class RadioButton;

// The French entry of a label: what widgets are created with.
std::string frenchLabel(LabelTable& labels, int number);

// The hover image of a button image: "mbuttonc.dds" -> "mbuttonoverc.dds",
// "cube.dds" -> "cubeover.dds".
std::string hoverImageName(std::string_view image);

// A tool panel: hidden, title bar, close button, named after a label.
Panel& createToolPanel(Interface& ui, LabelTable& labels, int nameLabel, int x, int y, int width, int height,
                       bool grip = false);

class ToolPanelKit {
public:
    ToolPanelKit(Panel& panel, LabelTable& labels) : panel_(panel), labels_(labels) {}

    std::string french(int number) const { return frenchLabel(labels_, number); }

    ImageButton& button(int label, int x, int y, Control3d* page, std::string_view image = "mbutton.dds");
    CheckBox& check(int label, int x, int y, bool* bound, Control3d* page);
    RadioButton& radio(ControleGroupe& group, int label, int x, int y, int* index, Control3d* page);
    RadioButton& radio(ControleGroupe& group, std::string_view text, int x, int y, int* index, Control3d* page);
    EditBox& decimalBox(int label, int x, int y, float* bound, Control3d* page);
    EditBox& integerBox(int label, int x, int y, int* bound, Control3d* page);
    // A narrow box after a one-letter caption, for the x, y, z rows.
    EditBox& axisBox(std::string_view letter, int x, int y, float* bound, Control3d* page);
    Cursor& slider(int label, int x, int y, float* bound, int kind, Control3d* page);
    Label& text(int label, int x, int y, Control3d* page);
    Label& plainText(std::string_view text, int x, int y, Control3d* page);

    Panel& panel() { return panel_; }

private:
    EditBox& box(int label, int x, int y, EditFilter filter, Control3d* page);

    Panel& panel_;
    LabelTable& labels_;
};

}  // namespace morvanex
