// The value widgets driven by window messages against real panels: edit
// boxes (typing rules, keys, commit, the Tab chain, the clipboard menu,
// caret and clear button), check boxes and radio buttons, sliders and the
// colour widgets.
#include <gtest/gtest.h>

#include <cmath>

#include "render/interface_drawing.h"
#include "ui/check_box.h"
#include "ui/colour_hsv.h"
#include "ui/colour_widgets.h"
#include "ui/edit_box.h"
#include "ui/label.h"
#include "ui/slider.h"
#include "ui_test_support.h"

namespace morvanex {
namespace {

using testing::UiTest;

constexpr std::string_view kWideBox = "cadret.dds";    // 200 x 22
constexpr std::string_view kNarrowBox = "button2.dds";  // 90 x 24

class ValueWidgetsTest : public UiTest {
protected:
    Panel& panel() {
        if (panel_ == nullptr) panel_ = &makePanel("values", 20, 20, 560, 340);
        return *panel_;
    }
    EditBox& box(EditFilter filter, int y = 40, std::string_view texture = kWideBox, std::string_view text = "") {
        return addEditBox(panel(), "", "", 10, y, texture, filter, text);
    }
    // A click inside the box near its left end: the box takes the focus.
    void focus(EditBox& edit) { driver_->click(edit.boxLeft() + 2, edit.boxTop() + 5); }
    // The box's clear button, at its right end: emptied, focused.
    void clearBox(EditBox& edit) { driver_->click(edit.boxLeft() + edit.boxWidth - 8, edit.boxTop() + 8); }

    Panel* panel_ = nullptr;
};

// ---------------------------------------------------------------------------
// Edit boxes

TEST_F(ValueWidgetsTest, TypingKeepsOnlyWhatTheFilterAllowsAndCommitsEachChange) {
    struct Case {
        EditFilter filter;
        std::string_view typed;
        std::string_view text;
        float number;
    };
    const Case cases[] = {
        {EditFilter::Decimal, "1.5.2", "1.52", 1.52f},  // one decimal point only
        {EditFilter::Decimal, "5-", "5-", 5.0f},        // "-" goes anywhere; the number stops before it
        {EditFilter::Decimal, "x-1", "-1", -1.0f},
        {EditFilter::Integer, "12.5", "125", 125.0f},
        {EditFilter::FreeText, "a#$%'b", "a#$%'b", 0.0f},  // punctuation is text, not a key
    };
    int y = 30;
    for (const Case& c : cases) {
        EditBox& edit = box(c.filter, y += 30);
        float boundFloat = -7.0f;
        int boundInt = -7;
        std::string boundString;
        edit.boundFloat = &boundFloat;
        edit.boundInt1 = &boundInt;
        edit.boundString = &boundString;
        focus(edit);
        host_.events.clear();
        driver_->type(c.typed);
        EXPECT_EQ(edit.text, c.text) << c.typed;
        EXPECT_EQ(edit.caret, static_cast<int>(c.text.size()));
        EXPECT_EQ(host_.events.size(), c.text.size()) << "one commit per accepted character";
        if (c.filter == EditFilter::Decimal) {
            EXPECT_FLOAT_EQ(boundFloat, c.number) << c.typed;
        } else if (c.filter == EditFilter::Integer) {
            EXPECT_EQ(boundInt, static_cast<int>(c.number));
        } else {
            EXPECT_EQ(boundString, c.text);
        }
    }
}

TEST_F(ValueWidgetsTest, ARefusedCharacterIsNotConsumedAndEnterCommits) {
    EditBox& edit = box(EditFilter::Decimal);
    float value = 0.0f;
    edit.boundFloat = &value;
    focus(edit);
    driver_->type("1.5");
    EXPECT_FALSE(driver_->character('.'));
    EXPECT_FALSE(driver_->character('z'));
    EXPECT_TRUE(driver_->character('2'));
    EXPECT_EQ(edit.text, "1.52");
    value = 0.0f;  // the application changed it meanwhile
    host_.events.clear();
    EXPECT_TRUE(driver_->keyDown(vk::Return));
    EXPECT_FLOAT_EQ(value, 1.52f);
    EXPECT_EQ(host_.events, std::vector<std::string>{"commit"});
    EXPECT_TRUE(driver_->character('\r'));  // the character of Enter is no text
    EXPECT_EQ(edit.text, "1.52");
}

TEST_F(ValueWidgetsTest, TypingStopsWhenTheTextAndFourDigitsFillTheBoxUntilACharacterGoes) {
    EditBox& edit = box(EditFilter::Integer, 40, kNarrowBox);
    focus(edit);
    driver_->type(std::string(40, '8'));
    const std::string full = edit.text;
    ASSERT_GT(full.size(), 2u);
    ASSERT_LT(full.size(), 40u);
    EXPECT_GT(renderer_->ui.measureText(full + "0000"), 90.0f);
    EXPECT_LE(renderer_->ui.measureText(full.substr(1) + "0000"), 90.0f);
    EXPECT_FALSE(driver_->character('1'));
    driver_->keyDown(vk::Back);
    EXPECT_TRUE(driver_->character('1'));
    EXPECT_EQ(edit.text, full.substr(1) + "1");
}

TEST_F(ValueWidgetsTest, BackspaceAtTheStartAndDeleteAtTheEndDoNothing) {
    EditBox& edit = box(EditFilter::FreeText, 40, kWideBox, "abc");
    focus(edit);
    driver_->keyDown(vk::Home);
    host_.events.clear();
    driver_->keyDown(vk::Back);
    driver_->keyDown(vk::End);
    driver_->keyDown(vk::Delete);
    EXPECT_EQ(edit.text, "abc");
    EXPECT_EQ(host_.events, std::vector<std::string>{"commit"});  // End alone commits
    driver_->keyDown(vk::Left);
    driver_->keyDown(vk::Delete);
    EXPECT_EQ(edit.text, "ab");
    driver_->keyDown(vk::Left);
    driver_->keyDown(vk::Back);
    EXPECT_EQ(edit.text, "b");
    EXPECT_EQ(edit.caret, 0);
}

TEST_F(ValueWidgetsTest, EscapeBringsBackWhatTheBoxHeldWhenFocusedAndEndsTheFocus) {
    // Not an empty box: that would store 0 over a typed coordinate.
    EditBox& decimal = box(EditFilter::Decimal, 40, kWideBox, "2.5");
    EditBox& integer = box(EditFilter::Integer, 80, kWideBox, "42");
    EditBox& text = box(EditFilter::FreeText, 120, kWideBox, "name");
    float f = 2.5f;
    int i1 = 42, i3 = 42;
    std::string s = "name";
    decimal.boundFloat = &f;
    integer.boundInt1 = &i1;
    integer.boundInt3 = &i3;
    text.boundString = &s;
    for (EditBox* edit : {&decimal, &integer, &text}) {
        const std::string held = edit->text;
        clearBox(*edit);
        driver_->type("7");
        ASSERT_EQ(edit->text, "7");
        driver_->keyDown(vk::Escape);
        EXPECT_EQ(edit->text, held);
        EXPECT_FALSE(edit->focused);
        EXPECT_EQ(interface_->focusedEditBox, nullptr);
    }
    EXPECT_EQ(f, 2.5f);
    EXPECT_EQ(i1, 42);
    EXPECT_EQ(i3, 42);
    EXPECT_EQ(s, "name");
}

TEST_F(ValueWidgetsTest, AnIntegerBoxOffsetByOneShowsOneLessThanItStores) {
    EditBox& edit = box(EditFilter::Integer);
    edit.offsetByOne = true;
    int stored = 0;
    edit.boundInt2 = &stored;
    edit.setInt(5);
    EXPECT_EQ(edit.text, "4");
    focus(edit);
    driver_->keyDown(vk::End);
    driver_->character('0');
    EXPECT_EQ(stored, 41);
    edit.setFloat(2.0f / 3.0f);
    EXPECT_EQ(edit.text, "0.667");
    EXPECT_EQ(edit.caret, 5);
}

TEST_F(ValueWidgetsTest, TabMovesThroughTheVisibleBoxesAndWrapsToTheFirst) {
    EditBox& first = box(EditFilter::FreeText, 40, kWideBox, "one");
    EditBox& second = box(EditFilter::FreeText, 80, kWideBox, "two");
    EditBox& third = box(EditFilter::FreeText, 120, kWideBox, "three");
    drawFrames();  // the panel links the chain as it draws
    focus(first);
    driver_->keyDown(vk::Tab);
    EXPECT_FALSE(first.focused);
    EXPECT_TRUE(second.focused);
    EXPECT_EQ(interface_->focusedEditBox, &second);
    EXPECT_EQ(second.caret, 3);

    second.setVisible(false);
    drawFrames();
    focus(first);
    driver_->keyDown(vk::Tab);
    EXPECT_TRUE(third.focused);
    EXPECT_EQ(third.caret, 5);
    driver_->keyDown(vk::Tab);  // the last box hands the focus to the first
    EXPECT_TRUE(first.focused);
    EXPECT_FALSE(third.focused);
    // Characters reach only the focused box.
    driver_->character('!');
    EXPECT_EQ(third.text, "three");
    EXPECT_EQ(first.text, "one!");  // Tab put the caret at the end
}

TEST_F(ValueWidgetsTest, APressPlacesTheCaretHoldsThePointerAndTheClearSquareEmptiesTheBox) {
    EditBox& edit = box(EditFilter::Decimal, 40, kWideBox, "12345");
    float value = 12345.0f;
    edit.boundFloat = &value;
    const int twoDigits = static_cast<int>(renderer_->ui.measureText("12"));
    // d = pointer - left + 4 lands just past "12": "123" is the first wider prefix.
    driver_->move(edit.boxLeft() + twoDigits - 3, edit.boxTop() + 5);
    driver_->press(edit.boxLeft() + twoDigits - 3, edit.boxTop() + 5);
    EXPECT_EQ(edit.caret, 2);
    EXPECT_TRUE(edit.focused);
    EXPECT_EQ(interface_->capturedWidget, &edit);
    EXPECT_EQ(host_.cursor, CursorShape::Text);
    driver_->release(edit.boxLeft() + twoDigits - 3, edit.boxTop() + 5);
    EXPECT_EQ(interface_->capturedWidget, nullptr);

    const int right = edit.boxLeft() + edit.boxWidth;
    driver_->move(right - 8, edit.boxTop() + 8);
    EXPECT_EQ(host_.cursor, CursorShape::Arrow);
    driver_->press(right - 16, edit.boxTop() + 16);  // both ends of the square count
    EXPECT_EQ(edit.text, "");
    EXPECT_EQ(value, 0.0f);
    driver_->release(right - 16, edit.boxTop() + 16);
}

TEST_F(ValueWidgetsTest, TheRightButtonOpensTheClipboardMenuAndPasteKeepsWhatTypingAllows) {
    Panel& menu = makePanel("clipboard", 300, 250, 100, 50);
    menu.setVisible(false);
    Label& pasteItem = addLabel(menu, 5, 25, "Coller");  // stands in for the menu's paste row
    interface_->clipboardMenu.pasteItem = &pasteItem;
    EditBox& edit = box(EditFilter::Integer, 40, kNarrowBox);
    int value = 0;
    edit.boundInt1 = &value;

    host_.clipboard = "12.5";
    EXPECT_TRUE(driver_->rightPress(edit.boxLeft() + 10, edit.boxTop() + 6));
    EXPECT_TRUE(menu.visible);
    EXPECT_EQ(menu.x, edit.boxLeft() + 10);
    EXPECT_EQ(menu.y, edit.boxTop() + 1);
    EXPECT_FALSE(pasteItem.enabled);  // not an integer
    EXPECT_EQ(interface_->clipboardMenu.target, &edit);
    EXPECT_EQ(interface_->clipboardMenu.pasteBuffer, "12.5");
    EXPECT_TRUE(edit.focused);

    host_.clipboard = std::string(30, '7');
    driver_->rightPress(edit.boxLeft() + 10, edit.boxTop() + 6);
    EXPECT_TRUE(pasteItem.enabled);
    pasteIntoEditBox(edit, interface_->clipboardMenu.pasteBuffer);
    const std::string pasted = edit.text;
    ASSERT_FALSE(pasted.empty());
    ASSERT_LT(pasted.size(), 30u);
    // The last character could still be typed; one more could not.
    EXPECT_TRUE(edit.roomForAnother(pasted.substr(0, pasted.size() - 1)));
    EXPECT_FALSE(edit.roomForAnother(pasted));
    EXPECT_EQ(edit.caret, static_cast<int>(pasted.size()));
    EXPECT_EQ(value, std::stoi(pasted));

    // Leaving the box hides the menu; copying an empty box empties the clipboard.
    driver_->move(edit.boxLeft() + 10, edit.boxTop() + 100);
    EXPECT_FALSE(menu.visible);
    clearBox(edit);
    copyFromEditBox(edit);
    EXPECT_EQ(host_.clipboard, "");
}

TEST_F(ValueWidgetsTest, TheCaretBlinksAndTheClearButtonFadesInOverTheBox) {
    EditBox& edit = box(EditFilter::FreeText, 40, kWideBox, "ab");
    focus(edit);
    driver_->keyDown(vk::End);
    driver_->move(300, 300);  // off the box: no clear button yet
    drawFrames(10);
    const int caretX = edit.boxLeft() + static_cast<int>(renderer_->ui.measureText("ab"));
    const int caretY = edit.boxTop() + 12;
    const int right = edit.boxLeft() + edit.boxWidth;
    const Rgba clearBefore = pixel(right - 8, edit.boxTop() + 4);
    EXPECT_GT(pixel(caretX, caretY).g, 200);
    host_.clock += edit.caretBlinkPeriod + 0.01;  // the phase turns: the caret hides
    drawFrames();
    EXPECT_LT(pixel(caretX, caretY).g, 120);

    driver_->move(edit.boxLeft() + 50, edit.boxTop() + 5);
    EXPECT_TRUE(edit.hovered);
    drawFrames(30);
    const Rgba clearAfter = pixel(right - 8, edit.boxTop() + 4);
    EXPECT_GT(clearAfter.g, clearBefore.g + 40);
}

// ---------------------------------------------------------------------------
// Check boxes and radio buttons

TEST_F(ValueWidgetsTest, ACheckBoxInvertsItsFlagAndStateAndShowsTheImageOfTheState) {
    bool flag = false;
    int state = 1;
    CheckBox& check = addCheckBox(panel(), 20, 60, &flag, "Ombres");
    check.boundState = &state;
    Label& option = addLabel(panel(), 40, 90, "option", false, &check);
    option.setVisible(false);
    const int bx = check.screenX() + 8;
    const int by = check.screenY() + 8;

    drawFrames(20);
    const Rgba fromState = pixel(bx, by);  // state 1: checked image although the flag is false
    check.boundState = nullptr;
    drawFrames(20);
    const Rgba fromFlag = pixel(bx, by);
    EXPECT_NE(fromState.r + fromState.g + fromState.b, fromFlag.r + fromFlag.g + fromFlag.b);
    check.boundState = &state;

    driver_->click(bx, by);
    EXPECT_TRUE(flag);
    EXPECT_EQ(state, 0);
    EXPECT_TRUE(option.visible);
    EXPECT_EQ(host_.events.back(), "checkbox values");
    driver_->move(300, 300);
    drawFrames(20);
    const Rgba afterClick = pixel(bx, by);  // state 0 now: unchecked image
    EXPECT_EQ(afterClick.r + afterClick.g + afterClick.b, fromFlag.r + fromFlag.g + fromFlag.b);

    check.enabled = false;
    driver_->click(bx, by);
    EXPECT_TRUE(flag);
    check.enabled = true;
    check.setVisible(false);
    EXPECT_FALSE(option.visible);
    check.setVisible(true);
    EXPECT_TRUE(option.visible);
}

TEST_F(ValueWidgetsTest, RadioButtonsSelectOneOfTheirGroupThroughAFlagOrAnIndex) {
    ControleGroupe& byIndex = panel().add(std::make_unique<ControleGroupe>());
    int index = 1;
    RadioButton& a = addRadioButton(panel(), byIndex, 20, 40, &index, "a");
    RadioButton& b = addRadioButton(panel(), byIndex, 20, 70, &index, "b");
    EXPECT_FALSE(a.checked);
    EXPECT_TRUE(b.checked);
    driver_->click(a.screenX() + 5, a.screenY() + 5);
    EXPECT_EQ(index, 0);
    EXPECT_TRUE(a.checked);
    EXPECT_FALSE(b.checked);
    EXPECT_EQ(host_.events.back(), "radio values");

    ControleGroupe& byFlag = panel().add(std::make_unique<ControleGroupe>());
    bool first = true, second = false;
    RadioButton& c = addRadioButtonAuto(panel(), byFlag, 200, 20, &first, "c");
    RadioButton& d = addRadioButtonAuto(panel(), byFlag, 200, 30, &second, "d");
    Label& dOption = addLabel(panel(), 250, 200, "d option", false, &d);
    dOption.setVisible(false);
    EXPECT_EQ(c.y, 45);
    EXPECT_EQ(d.y, 75);
    EXPECT_TRUE(c.checked);
    driver_->click(d.screenX() + 5, d.screenY() + 5);
    EXPECT_TRUE(second);
    EXPECT_FALSE(first);
    EXPECT_TRUE(dOption.visible);
}

// ---------------------------------------------------------------------------
// Sliders

// The knob's centre on screen, where a press takes it.
ScreenPoint knobCentre(const Cursor& knob) {
    return {knob.track->screenX() + static_cast<int>(knob.knobPos), knob.track->screenY() + 4};
}

TEST_F(ValueWidgetsTest, ASliderDraggedPastEitherEndShowsItsLimitAndBetweenFollowsTheMotion) {
    struct Case {
        int kind;
        int motion;          // pixels from the knob at 0
        float expected;      // value after the drag
        float knobPos;
    };
    const Case cases[] = {
        {2, 300, 1.0f, 144.0f},
        {7, 300, 1.0f, 144.0f},   // reaches 1 after 14 pixels, still shows its maximum at the end
        {9, 300, 1.0f, 144.0f},
        {7, 20, 20.0f * 10.0f / 144.0f, 20.0f},  // not clamped between the ends
        {13, 72, 50.0f, 72.0f},
        {4, -100, -kTwoPi, 0.0f},  // from the middle to left of the track: the minimum
    };
    int y = 40;
    for (const Case& c : cases) {
        float value = 0.0f;
        Cursor& knob = addSlider(panel(), 150, y += 40, &value, c.kind, "Angle");
        knob.syncFromValue();
        const ScreenPoint from = knobCentre(knob);
        host_.events.clear();
        driver_->drag(from.x, from.y, from.x + c.motion, from.y, 2);
        EXPECT_NEAR(value, c.expected, 1e-4f) << "kind " << c.kind;
        EXPECT_FLOAT_EQ(knob.knobPos, c.knobPos) << "kind " << c.kind;
        EXPECT_EQ(knob.editBox->text.substr(0, 4), std::to_string(c.expected).substr(0, 4));
        EXPECT_EQ(host_.events, (std::vector<std::string>{"slider press", "slider drag", "slider drag",
                                                          "slider release"}));
        EXPECT_EQ(interface_->capturedWidget, nullptr);
    }
}

TEST_F(ValueWidgetsTest, ASliderDragGoesOnAfterThePointerWrapsAtTheWindowEdge) {
    float value = 0.0f;
    Cursor& knob = addSlider(panel(), 300, 60, &value, 2, "");
    const ScreenPoint from = knobCentre(knob);
    driver_->move(from.x, from.y);
    driver_->press(from.x, from.y);
    driver_->move(from.x + 100, from.y);
    EXPECT_NEAR(value, 100.0f / 144.0f, 1e-5f);
    driver_->move(kWidth - 1, from.y);  // past the end, at the edge: back to the press point
    EXPECT_EQ(host_.pointerMoves.back(), std::make_pair(from.x, from.y));
    EXPECT_FLOAT_EQ(value, 1.0f);
    driver_->move(from.x - 44, from.y);  // measured from the knob where the wrap left it
    EXPECT_NEAR(value, 1.0f - 44.0f / 144.0f, 1e-5f);
    EXPECT_FLOAT_EQ(knob.knobPos, 100.0f);
    driver_->release(from.x - 44, from.y);
    EXPECT_TRUE(host_.pointerVisible);
}

TEST_F(ValueWidgetsTest, TheSliderAndItsBoxFollowEachOther) {
    float angle = 0.0f;
    Panel& popup = makePanel("popup", 400, 300, 50, 30);
    interface_->popupPanel = &popup;
    Cursor& knob = addSlider(panel(), 40, 80, &angle, 10, "Angle");
    EXPECT_EQ(knob.editBox->text, "0.5");
    knob.syncFromValue();  // a centred kind: 0 sits in the middle
    EXPECT_FLOAT_EQ(knob.knobPos, 72.0f);
    EXPECT_EQ(knob.editBox->text, "0.000");
    EXPECT_EQ(knob.editBox->x, 40 + 157);
    EXPECT_EQ(knob.editBox->y, 75);

    clearBox(*knob.editBox);
    driver_->type("1.5");
    EXPECT_FLOAT_EQ(angle, 1.5f);
    EXPECT_NEAR(knob.knobPos, 1.5f / (kTwoPi / 144.0f) + 72.0f, 1e-3f);
    EXPECT_EQ(knob.editBox->text, "1.5");  // the box keeps what is typed

    const ScreenPoint at = knobCentre(knob);
    driver_->move(at.x, at.y);
    EXPECT_TRUE(knob.hot);
    driver_->press(at.x, at.y);
    EXPECT_FALSE(popup.visible);  // a press on a knob closes the pop-up menu
    driver_->release(at.x, at.y);
    drawFrames(20);
    const Rgba knobPixel = pixel(at.x, at.y);
    EXPECT_GT(knobPixel.r + knobPixel.g + knobPixel.b, 3 * 90);
}

TEST_F(ValueWidgetsTest, TheBrightnessSliderChangesOnlyHowBrightItsColourIs) {
    Vec4 colour{0.5f, 0.25f, 0.0f, 1.0f};
    float brightness = 0.0f;
    float sibling = 0.0f;
    Cursor& knob = addSlider(panel(), 40, 80, &brightness, 3, "Valeur");
    Cursor& other = addSlider(panel(), 40, 140, &sibling, 3, "Autre");
    knob.colour = &colour;
    other.colour = &colour;
    knob.siblings[0] = &other;
    knob.syncFromValue();
    EXPECT_NEAR(brightness, 127.5f, 1e-3f);
    EXPECT_NEAR(knob.knobPos, 72.0f, 1e-3f);

    const ScreenPoint from = knobCentre(knob);
    driver_->drag(from.x, from.y, from.x + 72, from.y, 3);
    EXPECT_NEAR(brightness, 255.0f, 1e-3f);
    EXPECT_NEAR(colour.x, 1.0f, 1e-6f);
    EXPECT_NEAR(colour.y, 0.5f, 1.0f / 255.0f);  // hue and saturation kept, to a colour step
    EXPECT_EQ(colour.z, 0.0f);
    EXPECT_NEAR(sibling, 255.0f, 1e-3f);  // the sibling re-read the colour

    clearBox(*knob.editBox);
    driver_->type("51");
    EXPECT_NEAR(colour.x, 0.2f, 1e-6f);  // a typed brightness reaches the colour
    EXPECT_NEAR(other.knobPos, 51.0f / (255.0f / 144.0f), 1e-3f);
}

// ---------------------------------------------------------------------------
// Colour swatch and colour bar

TEST_F(ValueWidgetsTest, TheSwatchShowsItsColourAndOpensItsPickerBesideIt) {
    Vec4 colour{1.0f, 0.0f, 0.0f, 1.0f};
    Panel& picker = makePanel("picker", 0, 0, 160, 120);
    Panel& other = makePanel("other child", 0, 0, 50, 50);
    picker.setVisible(false);
    panel().childPanels = {&other};
    Colorsel& swatch = addColourSwatch(panel(), 10, 200, &colour, &picker);
    EXPECT_EQ(swatch.x, 110);

    driver_->move(swatch.screenX() + 18, swatch.screenY() + 10);
    EXPECT_EQ(host_.cursor, CursorShape::Hand);
    driver_->press(swatch.screenX() + 18, swatch.screenY() + 10);
    EXPECT_TRUE(picker.visible);
    EXPECT_FALSE(other.visible);
    EXPECT_EQ(interface_->panels.front(), &picker);
    EXPECT_EQ(picker.x, swatch.screenX() + 30);
    EXPECT_EQ(picker.y, swatch.screenY() + 10);
    picker.setVisible(false);
    drawFrames(30);
    const Rgba shown = pixel(swatch.screenX() + 18, swatch.screenY() + 10);
    EXPECT_GT(shown.r, 200);
    EXPECT_LT(shown.g, 60);

    picker.setVisible(true);
    driver_->press(400, 330);  // anywhere else on the panel
    EXPECT_FALSE(picker.visible);
}

TEST_F(ValueWidgetsTest, AColourBarRunsFromBlackToItsColourAtFullBrightness) {
    Vec4 colour{0.4f, 0.2f, 0.0f, 1.0f};
    ColorBar& bar = addColorBar(panel(), 20, 100, &colour);
    const auto corners = bar.targetCorners();
    EXPECT_EQ(corners[0].x, 0.0f);
    EXPECT_FLOAT_EQ(corners[1].x, 1.0f);
    EXPECT_FLOAT_EQ(corners[1].y, 128.0f / 255.0f);
    ColorBar& fixed = addColorBar(panel(), 20, 130, {0, 0, 1, 1}, {0, 1, 0, 1});
    drawFrames(30);
    const Rgba left = pixel(bar.screenX() + 1, bar.screenY() + 7);
    const Rgba right = pixel(bar.screenX() + 142, bar.screenY() + 7);
    EXPECT_LT(left.r, 20);
    EXPECT_GT(right.r, 230);
    EXPECT_NEAR(right.g, 126, 6);
    EXPECT_GT(pixel(fixed.screenX() + 1, fixed.screenY() + 7).b, 230);
    EXPECT_GT(pixel(fixed.screenX() + 142, fixed.screenY() + 7).g, 230);
    EXPECT_FALSE(driver_->click(bar.screenX() + 5, bar.screenY() + 5) && host_.saw("button values"));
}

TEST(ColourBrightness, ARoundTripKeepsHueAndSaturation) {
    const Vec4 grey{0.0f, 0.0f, 0.0f, 0.5f};
    const Vec4 lit = withBrightness(grey, 200.0f);
    EXPECT_FLOAT_EQ(lit.x, 200.0f / 255.0f);
    EXPECT_FLOAT_EQ(lit.z, 200.0f / 255.0f);
    EXPECT_EQ(lit.w, 0.5f);
    const Vec4 teal{0.0f, 0.6f, 0.3f, 1.0f};
    const Vec4 darker = withBrightness(teal, 51.0f);
    EXPECT_FLOAT_EQ(darker.y, 0.2f);
    EXPECT_FLOAT_EQ(darker.z, 26.0f / 255.0f);  // 25.5 lands on a whole step
    EXPECT_NEAR(brightnessOf(darker), 51.0f, 1e-3f);
    EXPECT_EQ(withBrightness(teal, 999.0f).y, 1.0f);  // clamped to the range
}

}  // namespace
}  // namespace morvanex
