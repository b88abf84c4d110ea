#include "ui/widget_gallery.h"

#include <memory>

#include "render/interface_drawing.h"
#include "render/renderer.h"
#include "ui/image.h"
#include "ui/image_button.h"
#include "ui/interface.h"
#include "ui/label.h"
#include "ui/panel.h"
#include "ui/rich_hint.h"

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

}  // namespace

std::vector<Panel*> buildWidgetGallery(Interface& ui, GalleryState& state) {
    std::vector<Panel*> panels;
    panels.push_back(&buildButtons(ui, state));
    return panels;
}

}  // namespace morvanex
