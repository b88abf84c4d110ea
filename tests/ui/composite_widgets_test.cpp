// The composite widgets driven by window messages against real panels: tab
// strips, pop-up menus and their two main-screen menus, thumbnail grids and
// tree lists.
#include <gtest/gtest.h>

#include "ui/image_button.h"
#include "ui/image_list.h"
#include "ui/label.h"
#include "ui/menu.h"
#include "ui/tab_strip.h"
#include "ui/tree_list.h"
#include "ui_test_support.h"

namespace morvanex {
namespace {

using testing::UiTest;

class CompositeTest : public UiTest {
protected:
    // A menu shown at (x, y) with rows of the given texts.
    Menu& shownMenu(const std::string& name, int x, int y, std::initializer_list<const char*> texts) {
        Menu& menu = createMenu(*interface_, name, x, y, 100, 50);
        for (const char* text : texts) menu.addItem(text);
        menu.panel->setVisible(true);
        host_.events.clear();
        return menu;
    }
    // The middle of row `index` (1-based) of a menu.
    static std::pair<int, int> rowPoint(const Menu& menu, int index) {
        return {menu.panel->x + 10, menu.panel->y + (index - 1) * kMenuRowHeight + 12};
    }
    void clickRow(const Menu& menu, int index) {
        const auto [px, py] = rowPoint(menu, index);
        driver_->click(px, py);
    }
};

// ---------------------------------------------------------------------------
// Tab strip

TEST_F(CompositeTest, TabsOverlapByOnePixelAndAPressSwapsPagesAndHidesChildPanels) {
    Panel& panel = makePanel("tabs", 50, 40, 300, 200);
    Panel& child = makePanel("child", 400, 40, 100, 100);
    panel.childPanels.push_back(&child);
    Onglets& strip = addTabStrip(panel, 10, 5);
    Onglet& first = strip.addTab("onglet8.dds", "Un");
    Onglet& second = strip.addTab("onglet8.dds", "Deux");
    Label& firstPage = addLabel(panel, 10, 80, "page 1", false, &first);
    Label& secondPage = addLabel(panel, 10, 80, "page 2", false, &second);
    strip.select(0);
    EXPECT_EQ(strip.stripY, 30);
    EXPECT_EQ(second.x, first.x + first.width - 1);
    EXPECT_TRUE(firstPage.visible);
    EXPECT_FALSE(secondPage.visible);

    host_.events.clear();
    driver_->click(second.screenX() + 5, second.screenY() + 5);
    EXPECT_EQ(host_.events, (std::vector<std::string>{"tab leave", "tab enter", "hidden child"}));
    EXPECT_EQ(strip.selected, 1);
    EXPECT_TRUE(second.checked);
    EXPECT_FALSE(first.checked);
    EXPECT_FALSE(firstPage.visible);
    EXPECT_TRUE(secondPage.visible);

    // The selected tab again: left and entered again, child panels hidden.
    child.setVisible(true);
    host_.events.clear();
    driver_->click(second.screenX() + 5, second.screenY() + 5);
    EXPECT_EQ(host_.events, (std::vector<std::string>{"tab leave", "tab enter", "hidden child"}));
    EXPECT_TRUE(secondPage.visible);
    EXPECT_FALSE(child.visible);

    driver_->move(first.screenX() + 5, first.screenY() + 5);
    EXPECT_TRUE(first.hot);
    EXPECT_FALSE(second.hot);
}

TEST_F(CompositeTest, TheStripLineRunsBesideTheSelectedTabInAccentOrGrey) {
    struct Case {
        bool greyed;
        int r, g, b;
    };
    for (const Case& c : {Case{false, 17, 207, 255}, Case{true, 90, 90, 90}}) {
        Panel& panel = makePanel(c.greyed ? "grey" : "accent", 20, 20, 300, 100);
        Onglets& strip = addTabStrip(panel, 10, 0);
        strip.greyed = c.greyed;
        strip.addTab("onglet8.dds", "Un", "onglet1.dds");
        Onglet& second = strip.addTab("onglet8.dds", "Deux");
        strip.select(1);
        drawFrames(30);
        const int lineY = panel.y + strip.stripY + second.height;
        const Rgba right = pixel(second.screenX() + second.width + 40, lineY);
        EXPECT_NEAR(right.r, c.r, 3) << c.greyed;
        EXPECT_NEAR(right.g, c.g, 3) << c.greyed;
        EXPECT_NEAR(right.b, c.b, 3) << c.greyed;
        // Under the selected tab the line is not drawn: the tab covers it.
        const Rgba under = pixel(second.screenX() + second.width / 2, lineY);
        EXPECT_FALSE(under.r == c.r && under.g == c.g && under.b == c.b) << c.greyed;
        panel.setVisible(false);
    }
}

// ---------------------------------------------------------------------------
// Menus

TEST_F(CompositeTest, AMenuPanelWidensForLongTextsAndGrowsOneRowPerItem) {
    struct Case {
        int startWidth;
        std::size_t textLength;
        int width;
    };
    for (const Case& c : {Case{100, 20, 160}, Case{149, 20, 160}, Case{150, 20, 150}, Case{200, 4, 200}}) {
        Menu& menu = createMenu(*interface_, "menu", 0, 0, c.startWidth, 10);
        menu.addItem("first");
        menu.addItem(std::string(c.textLength, 'a'));
        EXPECT_EQ(menu.panel->width, c.width) << c.startWidth;
        EXPECT_EQ(menu.panel->height, 3 * kMenuRowHeight);  // the menu itself and two rows
        EXPECT_EQ(menu.items[1]->index, 2);
        EXPECT_EQ(menu.items[1]->rowY, kMenuRowHeight);
    }
}

TEST_F(CompositeTest, HoveringARowOpensItsSubmenuBesideItAndAnotherRowClosesIt) {
    Menu& menu = shownMenu("main", 100, 100, {"Fichier", "Edition", "Vue"});
    Menu& sub = createMenu(*interface_, "sub", 0, 0, 100, 50);
    sub.addItem("Ouvrir");
    menu.items[1]->submenu = &sub;

    const auto [px, py] = rowPoint(menu, 2);
    driver_->move(px, py);
    EXPECT_TRUE(sub.panel->visible);
    EXPECT_EQ(sub.panel->x, 100 + menu.panel->width / 2);
    EXPECT_EQ(sub.panel->y, 100 + 2 * kMenuRowHeight - 10);
    EXPECT_EQ(interface_->popupPanel, sub.panel);
    EXPECT_EQ(interface_->panels.front(), sub.panel);
    EXPECT_EQ(menu.selectedIndex, 2);
    EXPECT_TRUE(menu.items[1]->hot);

    const auto [qx, qy] = rowPoint(menu, 3);
    driver_->move(qx, qy);
    EXPECT_FALSE(sub.panel->visible);
    EXPECT_FALSE(menu.items[1]->hot);
    EXPECT_EQ(menu.selectedIndex, 3);
}

TEST_F(CompositeTest, AHotRowIsDrawnAsALightBand) {
    Menu& menu = shownMenu("bands", 100, 100, {"Un", "Deux"});
    const auto [px, py] = rowPoint(menu, 2);
    driver_->move(px, py);
    drawFrames(60);
    // The band of row 2 lies at panel y + 2 * 25 - 20; its right end holds no text.
    const Rgba band = pixel(100 + menu.panel->width - 25, 100 + 2 * kMenuRowHeight - 20 + 12);
    EXPECT_NEAR(band.r, 212, 12);
    EXPECT_NEAR(band.g, 246, 6);
    const Rgba other = pixel(100 + menu.panel->width - 25, 100 + kMenuRowHeight - 20 + 12);
    EXPECT_NEAR(other.r, 235, 4);  // the light body (alpha 240 over black), no band
}

TEST_F(CompositeTest, ClipboardMenuCopiesAndPastesIntoItsTargetThenHides) {
    std::vector<std::string> calls;
    ClipboardActions actions;
    actions.copy = [&](Control3d&) { calls.push_back("copy"); };
    actions.paste = [&](Control3d&, std::string_view text) { calls.push_back("paste " + std::string(text)); };
    Menu& menu = createClipboardMenu(*interface_, "clipboard", "Copier", "Coller", actions);
    ASSERT_EQ(interface_->clipboardMenu.menu, &menu);
    ASSERT_EQ(interface_->clipboardMenu.pasteItem, menu.items[1]);
    Panel& owner = makePanel("owner", 300, 300, 100, 60);
    Control3d target;
    target.panel = &owner;
    interface_->clipboardMenu.target = &target;
    interface_->clipboardMenu.pasteBuffer = "12.5";

    struct Case {
        int row;
        bool pasteEnabled;
        std::vector<std::string> calls;
    };
    const Case cases[] = {{1, true, {"copy"}}, {2, false, {}}, {2, true, {"paste 12.5"}}};
    for (const Case& c : cases) {
        calls.clear();
        menu.items[1]->enabled = c.pasteEnabled;
        menu.panel->setVisible(true);
        host_.events.clear();
        clickRow(menu, c.row);
        EXPECT_EQ(calls, c.calls) << c.row;
        EXPECT_FALSE(menu.panel->visible) << c.row;
        EXPECT_TRUE(host_.saw("menu item"));
    }
}

TEST_F(CompositeTest, ScaleMenuItemsSetTheirScaleAndHideTheMenu) {
    int scale = -1;
    Menu& menu = createScaleMenu(*interface_, "scales", {"1", "2", "3", "4", "5", "6"},
                                 [&](int index) { scale = index; });
    ASSERT_EQ(menu.items.size(), 6u);
    menu.panel->setVisible(true);
    clickRow(menu, 5);
    EXPECT_EQ(scale, 4);
    EXPECT_FALSE(menu.panel->visible);
}


// ---------------------------------------------------------------------------
// Image list

TEST_F(CompositeTest, TheGridPutsAsManyCellsInARowAsItsWidthHolds) {
    struct Case {
        int width;
        int perRow;
    };
    for (const Case& c : {Case{100, 1}, Case{129, 1}, Case{249, 1}, Case{260, 2}, Case{380, 3}}) {
        Panel& panel = makePanel("grid", 0, 0, 600, 390);
        ImageList& list = addImageList(panel, 7, 30, c.width, 300);
        for (int i = 0; i < 4; ++i) addImageListCell(list, "cadre1.dds", "cadre2.dds");
        drawFrames();
        for (int i = 0; i < 4; ++i) {
            const Control3d& cell = *list.items[static_cast<std::size_t>(i)];
            EXPECT_EQ(cell.x, 7 + 120 * (i % c.perRow) + 20) << c.width << " cell " << i;
            EXPECT_EQ(cell.y, 30 + 150 * (i / c.perRow) + 5) << c.width << " cell " << i;
        }
        panel.setVisible(false);
    }
}

TEST_F(CompositeTest, DraggingTheListScrollsItAndItsCellsStayInsideIt) {
    Panel& panel = makePanel("scenes", 100, 50, 300, 260);
    ImageList& list = addImageList(panel, 20, 30, 260, 200);
    for (int i = 0; i < 6; ++i) addImageListCell(list, "cadre1.dds", "cadre2.dds");
    const int listTop = 50 + 30;
    const int freeX = 100 + 20 + 10;  // left of the first column
    driver_->move(freeX, 250);
    driver_->press(freeX, 250);
    EXPECT_TRUE(host_.captured);
    EXPECT_FALSE(host_.pointerVisible);
    EXPECT_EQ(interface_->capturedWidget, &list);
    for (int py = 240; py >= 150; py -= 10) driver_->move(freeX, py);
    driver_->release(freeX, 150);
    EXPECT_FALSE(host_.captured);
    EXPECT_TRUE(host_.pointerVisible);
    EXPECT_FLOAT_EQ(list.scroll, -100.0f);
    EXPECT_FLOAT_EQ(list.scrollTarget, -100.0f);
    drawFrames();
    const Control3d& first = *list.items[0];
    EXPECT_EQ(first.y, 30 + 5 - 100);
    const int cellMiddle = first.screenX() + first.width / 2;
    // Above the list the cell scrolled there is clipped away: the panel body shows.
    drawFrames(50);
    const Rgba above = pixel(cellMiddle, listTop - 3);
    EXPECT_NEAR(above.r, 30, 3);
    EXPECT_NEAR(above.b, 42, 3);
    // Inside, the dark cell covers the list's light background.
    EXPECT_LT(pixel(cellMiddle, listTop + 20).r, 120);
    EXPECT_GT(pixel(freeX, listTop + 20).r, 200);

    // At the window's bottom edge the pointer goes back and the drag goes on.
    driver_->press(freeX, 200);
    driver_->move(freeX, kHeight - 1);
    EXPECT_EQ(host_.pointerMoves.back(), std::make_pair(freeX, 200));
    const float wrapped = list.scroll;
    driver_->move(freeX, 190);
    EXPECT_FLOAT_EQ(list.scroll, wrapped - 10.0f);
    driver_->release(freeX, 190);
}

TEST_F(CompositeTest, PressingACellSelectsItCentresItAndShowsTheOptionGroup) {
    Panel& panel = makePanel("animations", 100, 50, 300, 260);
    ImageList& list = addImageList(panel, 20, 30, 260, 200);
    for (int i = 0; i < 4; ++i) addImageListCell(list, "cadre1.dds", "cadre2.dds");
    Label& option = addLabel(panel, 10, 240, "options", false, list.listTemplate);
    option.setVisible(false);
    ImageButton& third = static_cast<ImageButton&>(*list.items[2]);
    driver_->click(third.screenX() + 60, third.screenY() + 20);
    EXPECT_TRUE(host_.saw("list item animations"));
    EXPECT_EQ(list.selectedIndex, 2);
    EXPECT_TRUE(third.checked);
    EXPECT_FALSE(list.items[0]->checked);
    EXPECT_TRUE(option.visible);
    drawFrames(60);
    // The cell's middle at the list's middle.
    EXPECT_NEAR(third.y + third.height / 2, list.y + list.height / 2, 1);

    // Over the free space the arrow image follows the pointer; over a cell it does not.
    driver_->move(100 + 20 + 5, 50 + 30 + 100);
    EXPECT_TRUE(list.hot);
    EXPECT_EQ(interface_->pointerImagePanel, &panel);
    driver_->move(third.screenX() + 60, third.screenY() + 20);
    EXPECT_FALSE(list.hot);
    EXPECT_EQ(interface_->pointerImagePanel, nullptr);
}


// ---------------------------------------------------------------------------
// Tree list

class TreeListTest : public CompositeTest {
protected:
    void SetUp() override {
        CompositeTest::SetUp();
        panel_ = &makePanel("tree", 100, 40, 300, 300);
        list_ = &addCadreList(*panel_, 10, 30, 280, 240);
        a_ = &addCadre(*list_, "Scene");
        b_ = &addCadre(*list_, "Lumiere");
        a1_ = &addCadre(*list_, "Cube", a_);  // after its parent, before the next top-level row
        a1a_ = &addCadre(*list_, "Os", a1_);
    }
    // The middle of a row's label, and of its expand box.
    std::pair<int, int> labelPoint(const Cadre& row) const {
        return {row.labelLeft() + 10, panel_->y + row.y + 10};
    }
    std::pair<int, int> boxPoint(const Cadre& row) const {
        return {row.labelLeft() - kExpandBoxSize / 2, panel_->y + row.y + 10};
    }
    Panel* panel_ = nullptr;
    CadreList* list_ = nullptr;
    Cadre* a_ = nullptr;
    Cadre* b_ = nullptr;
    Cadre* a1_ = nullptr;
    Cadre* a1a_ = nullptr;
};

TEST_F(TreeListTest, FoldingARowHidesEveryRowUnderItAndUnfoldingBringsThemBack) {
    ASSERT_EQ(list_->items, (std::vector<Cadre*>{a_, a1_, a1a_, b_}));
    EXPECT_EQ(a1_->x - a_->x, kTreeIndent);
    EXPECT_EQ(a1a_->x - a1_->x, kTreeIndent);
    EXPECT_EQ(b_->y, a_->y + 3 * kTreeRowHeight);

    const auto [bx, by] = boxPoint(*a_);
    driver_->click(bx, by);
    EXPECT_FALSE(a_->expanded);
    EXPECT_FALSE(a1_->visible);
    EXPECT_FALSE(a1a_->visible);
    EXPECT_EQ(b_->y, a_->y + kTreeRowHeight);
    EXPECT_TRUE(host_.saw("list refresh"));
    EXPECT_FALSE(host_.saw("row tree"));  // the box does not select

    driver_->click(bx, by);
    EXPECT_TRUE(a1_->visible);
    EXPECT_TRUE(a1a_->visible);
    EXPECT_EQ(b_->y, a_->y + 3 * kTreeRowHeight);

    // A row without children has no box to press.
    host_.events.clear();
    const auto [lx, ly] = boxPoint(*b_);
    driver_->click(lx, ly);
    EXPECT_TRUE(b_->expanded);
    EXPECT_TRUE(host_.events.empty());
}

TEST_F(TreeListTest, TheLabelAreaSelectsTheRowAndShowsTheHandWhileHovered) {
    const auto [lx, ly] = labelPoint(*a1_);
    driver_->move(lx, ly);
    EXPECT_TRUE(a1_->hot);
    EXPECT_EQ(interface_->hoveredWidget, a1_);
    EXPECT_EQ(host_.cursor, CursorShape::Hand);
    driver_->press(lx, ly);
    driver_->release(lx, ly);
    EXPECT_TRUE(host_.saw("row tree"));
    EXPECT_EQ(list_->selectedIndex, 1);
    EXPECT_TRUE(a1_->checked);

    // Past the label area (34 pixels beyond the text) nothing is selected.
    host_.events.clear();
    driver_->click(a_->labelLeft() + a_->width + kLabelExtraWidth + 5, panel_->y + a_->y + 10);
    EXPECT_FALSE(host_.saw("row tree"));
    EXPECT_EQ(list_->selectedIndex, 1);

    driver_->move(5, 5);  // off the panel: nothing stays hot
    drawFrames(30);
    EXPECT_FALSE(a1_->hot);
    const Rgba highlight = pixel(a1_->labelLeft() + a1_->width + 20, panel_->y + a1_->y + 10);
    EXPECT_NEAR(highlight.r, 212, 6);
    EXPECT_NEAR(highlight.g, 246, 6);
}

}  // namespace
}  // namespace morvanex
