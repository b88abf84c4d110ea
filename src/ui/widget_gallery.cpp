#include "ui/widget_gallery.h"

#include <memory>

#include "render/interface_drawing.h"
#include "render/renderer.h"
#include "ui/check_box.h"
#include "ui/colour_widgets.h"
#include "ui/edit_box.h"
#include "ui/image.h"
#include "ui/image_button.h"
#include "ui/image_list.h"
#include "ui/interface.h"
#include "ui/key_bar.h"
#include "ui/label.h"
#include "ui/menu.h"
#include "ui/panel.h"
#include "ui/rich_hint.h"
#include "ui/slider.h"
#include "ui/tab_strip.h"
#include "ui/tree_list.h"

namespace morvanex {

namespace {

// The editor's dark panels: a slate body a little lighter at the top.
PanelColourWords galleryColours() {
    return {235, 44, 49, 60, 235, 44, 49, 60, 245, 30, 33, 41, 245, 30, 33, 41, 255, 17, 205, 255};
}

Panel& galleryPanel(Interface& ui, const std::string& title, int x, int y, int width, int height) {
    Panel& panel = ui.createPanel(title, x, y, width, height, galleryColours(), true, false);
    panel.hasTitleBar = true;
    panel.title = title;
    panel.setVisible(true);
    return panel;
}

Label& caption(Panel& panel, int x, int y, const char* text) {
    Label& label = addLabel(panel, x, y, text);
    label.textColour = {0.62f, 0.67f, 0.74f, 1.0f};
    return label;
}

Panel& buildButtons(Interface& ui, GalleryState& state) {
    Panel& panel = galleryPanel(ui, "Boutons", 20, 20, 400, 330);
    caption(panel, 12, 32, "Outils (un choisi, un survol\xE9)");
    ControleGroupe& tools = panel.add(std::make_unique<ControleGroupe>());
    const char* icons[] = {"translationx.dds", "rotation1y.dds", "resize.dds", "saisiefaces.dds",
                           "decoupeur.dds",    "tubage.dds",     "cube.dds",   "sphere.dds"};
    std::vector<ImageButton*> buttons;
    for (int i = 0; i < 8; ++i) {
        buttons.push_back(&addGroupedImageButton(panel, icons[i], 12 + (i % 4) * 48, 56 + (i / 4) * 48, tools,
                                                 nullptr, "Outil"));
    }
    buttons[0]->selectInGroup();
    buttons[1]->hot = true;
    buttons[1]->tint = {1, 1, 1, 1};
    buttons[6]->framedWhenChecked = true;
    buttons[6]->checked = true;

    caption(panel, 220, 32, "Boutons de texte");
    addTextButton(panel, "mbutton.dds", "mbuttonover.dds", 220, 56, "Normal");
    ImageButton& hovered = addTextButton(panel, "mbutton.dds", "mbuttonover.dds", 220, 88, "Survol\xE9");
    hovered.hot = true;
    hovered.hoverOverlay = {1, 1, 1, 1};
    ImageButton& disabled = addTextButton(panel, "mbutton.dds", "mbuttonover.dds", 220, 120, "D\xE9sactiv\xE9");
    disabled.enabled = false;
    addTextButton(panel, "mbuttond.dds", "mbuttonoverd.dds", 220, 152, "Principal");

    caption(panel, 12, 160, "Fichiers");
    addTextButton(panel, "open.dds", "openover.dds", 12, 184, "     Ouvrir");
    ImageButton& save = addTextButton(panel, "save.dds", "saveover.dds", 12, 218, "     Enregistrer");
    save.hot = true;
    save.hoverOverlay = {1, 1, 1, 1};
    addTextButton(panel, "undoprec.dds", "undoprecover.dds", 12, 252, "     Annuler");
    addTextButton(panel, "undosuiv.dds", "undosuivover.dds", 140, 252, "     R\xE9tablir");

    // A rich hint anchored near the hovered tool.
    auto hint = std::make_unique<RichHint>();
    hint->anchored = true;
    hint->picture = ui.drawing().image("bulle2.dds");
    hint->timer.rate = 1.0f;  // stays for the picture
    hint->addLine("D\xE9placer le long de x", ui.drawing());
    hint->addLine("Glissez vers la droite.", ui.drawing());
    buttons[1]->richHint = hint.get();
    (void)state;
    state.hints.push_back(std::move(hint));
    return panel;
}

Panel& buildInputs(Interface& ui, GalleryState& state) {
    Panel& panel = galleryPanel(ui, "Saisie", 440, 20, 400, 330);
    EditBox& focused = addEditBox(panel, "Hauteur", " :", 12, 36, "button2.dds", EditFilter::Decimal, "12.5");
    focused.boundFloat = &state.values[2];
    focused.focused = true;
    focused.caretShown = true;
    ui.focusedEditBox = &focused;
    EditBox& name = addEditBox(panel, "Nom", " :", 12, 68, "button3.dds", EditFilter::FreeText, state.name);
    name.boundString = &state.name;
    EditBox& locked = addEditBox(panel, "Copies", " :", 12, 100, "button2.dds", EditFilter::Integer, "3");
    locked.enabled = false;

    addCheckBox(panel, 230, 40, &state.flags[0], "Ombres");
    addCheckBox(panel, 230, 64, &state.flags[1], "Reflets");
    CheckBox& off = addCheckBox(panel, 230, 88, &state.flags[2], "Verrouill\xE9");
    off.enabled = false;
    ControleGroupe& choice = panel.add(std::make_unique<ControleGroupe>());
    addRadioButton(panel, choice, 230, 120, &state.integers[1], "Sommets");
    addRadioButton(panel, choice, 230, 144, &state.integers[1], "Faces");
    choice.selectIndex(1);

    addSlider(panel, 16, 160, &state.values[0], 2, "Opacit\xE9");
    Cursor& angle = addSlider(panel, 16, 215, &state.values[3], 10, "Angle");
    angle.hot = true;
    addColourSwatch(panel, 12, 262, &state.colour, nullptr);
    addColorBar(panel, 12, 296, &state.colour);
    return panel;
}

Panel& buildTabsAndMenus(Interface& ui) {
    Panel& panel = galleryPanel(ui, "Onglets", 860, 20, 400, 330);
    Onglets& tabs = addTabStrip(panel, 10, 10);
    Onglet& first = tabs.addTab("onglet8.dds", "Objet");
    Onglet& second = tabs.addTab("onglet8.dds", "Mat\xE9riau");
    tabs.addTab("onglet8.dds", "Lumi\xE8re");
    Label& objectPage = addLabel(panel, 20, 80, "Position, rotation, \xE9" "chelle", false, &first);
    objectPage.textColour = {0.85f, 0.88f, 0.92f, 1.0f};
    Label& materialPage = addLabel(panel, 20, 80, "Couleurs et textures du mat\xE9riau", false, &second);
    materialPage.textColour = {0.85f, 0.88f, 0.92f, 1.0f};
    tabs.select(1);

    Menu& menu = createMenu(ui, "Menu", 890, 130, 150, 25);
    menu.addItem("Copier");
    menu.addItem("Coller");
    MenuItem& more = menu.addItem("\xC9" "chelle");
    Menu& scales = createMenu(ui, "Echelles", 0, 0, 120, 25);
    for (const char* text : {"0.001 s", "0.01 s", "0.1 s", "1 s"}) scales.addItem(text);
    more.submenu = &scales;
    menu.panel->setVisible(true);
    // The pointer over the third row opens its sub-menu.
    WindowMessage hover;
    hover.message = wm::MouseMove;
    hover.lParam = makeLParam(menu.panel->x + 20, menu.panel->y + 3 * 25 - 12);
    ui.handleInput(hover);
    return panel;
}

Panel& buildLists(Interface& ui) {
    Panel& panel = galleryPanel(ui, "Listes", 20, 370, 600, 330);
    ImageList& list = addImageList(panel, 10, 30, 380, 280);
    const char* pictures[] = {"lune.jpg", "boite.jpg", "oxford.dds", "lune_bump.jpg", "boite_bump.jpg",
                              "fontaine.bmp", "tex_logo.dds", "information3.dds"};
    std::vector<ImageButton*> cells;
    for (const char* picture : pictures) {
        cells.push_back(&addImageListCell(list, "cadre1.dds", "cadre2.dds", ui.drawing().image(picture)));
    }
    list.selectedIndex = 4;
    cells[4]->checked = true;
    list.scroll = list.scrollTarget = -60.0f;  // scrolled: the first row is cut by the clip

    CadreList& tree = addCadreList(panel, 400, 30, 190, 270);  // and its 20-pixel band below
    Cadre& house = addCadre(tree, "Maison");
    addCadre(tree, "Toit", &house);
    Cadre& walls = addCadre(tree, "Murs", &house);
    addCadre(tree, "Porte", &walls);
    addCadre(tree, "Fen\xEAtre", &walls);
    Cadre& garden = addCadre(tree, "Jardin");
    addCadre(tree, "Arbre", &garden);
    garden.expanded = false;
    addCadre(tree, "Cam\xE9ra");
    tree.selectRow(walls);
    return panel;
}

Panel& buildKeyBar(Interface& ui, GalleryState& state) {
    Panel& panel = galleryPanel(ui, "Images cl\xE9s", 640, 370, 620, 150);
    CursorsBar& bar = addKeyBar(panel, 10, 40, 600, 90);
    state.times = {0.0f, 1.5f, 4.0f, 9.5f, 22.0f};
    for (float& time : state.times) bar.addKnob(&time);
    bar.setScale(3);
    return panel;
}

}  // namespace

std::vector<Panel*> buildWidgetGallery(Interface& ui, GalleryState& state) {
    std::vector<Panel*> panels;
    panels.push_back(&buildButtons(ui, state));
    panels.push_back(&buildInputs(ui, state));
    panels.push_back(&buildTabsAndMenus(ui));
    panels.push_back(&buildLists(ui));
    panels.push_back(&buildKeyBar(ui, state));
    return panels;
}

}  // namespace morvanex
