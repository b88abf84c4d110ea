#include "resources/interface_icons.h"

#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "resources/svg_raster.h"

namespace morvanex::resources {

namespace {

constexpr IconTreatment kHover = IconTreatment::Hover;

// Tool buttons are 40 x 40 (rows of the modeling panel and the top bar are
// 50 and 60 pixels apart); check boxes, radio buttons and the small buttons
// of edit boxes and of the camera panel's view cross 16 x 16. Stretched
// images (bubbles, bands, frames) are drawn near the size they are shown at.
constexpr InterfaceIcon kIcons[] = {
    // Boxes and small buttons.
    {"checked.dds", "checked.svg", 16, 16},
    {"unchecked.dds", "unchecked.svg", 16, 16},
    {"radiobutton.dds", "radiobutton.svg", 16, 16},
    {"radiobuttoncoched.dds", "radiobuttoncoched.svg", 16, 16},
    {"close1.dds", "close1.svg", 16, 16},
    {"close1 over.dds", "close1.svg", 16, 16, kHover},
    {"c.dds", "c.svg", 16, 16},
    {"cercle.dds", "cercle.svg", 16, 16},
    {"cerclen.dds", "cerclen.svg", 16, 16},
    // Sliders, swatches, grips, pointers.
    {"scrollbar8.dds", "scrollbar8.svg", 144, 8},
    {"scrollbar4.dds", "scrollbar4.svg", 12, 20},
    {"colorsel.dds", "colorsel.svg", 36, 21},
    {"redim.dds", "redim.svg", 18, 18},
    {"redim1.bmp", "redim1.svg", 18, 18},
    {"fleche.dds", "fleche.svg", 32, 32},
    // Hint bubbles (stretched behind their text) and the message picture.
    {"hint4.dds", "hint4.svg", 192, 30},
    {"bulle2.dds", "bulle2.svg", 256, 128},
    {"bulle3.dds", "bulle3.svg", 256, 128},
    {"information3.dds", "information3.svg", 56, 56},
    // Tabs.
    {"onglet1.dds", "onglet1.svg", 64, 24},
    {"onglet2.dds", "onglet2.svg", 96, 24},
    {"onglet3b.dds", "onglet3b.svg", 120, 24},
    {"onglet5.dds", "onglet5.svg", 48, 24},
    {"onglet6.dds", "onglet6.svg", 96, 24},
    {"onglet7.dds", "onglet7.svg", 150, 24},
    {"onglet8.dds", "onglet8.svg", 64, 24},
    // Text buttons (the caption is written over them) and their hover images.
    {"button2.dds", "button2.svg", 90, 24},
    {"button3.dds", "button3.svg", 120, 24},
    {"mbutton.dds", "mbutton.svg", 150, 26},
    {"mbuttonover.dds", "mbutton.svg", 150, 26, kHover},
    {"mbuttonc.dds", "mbuttonc.svg", 100, 26},
    {"mbuttonoverc.dds", "mbuttonc.svg", 100, 26, kHover},
    {"mbuttond.dds", "mbuttond.svg", 150, 26},
    {"mbuttonoverd.dds", "mbuttond.svg", 150, 26, kHover},
    {"mbuttonw.dds", "mbuttonw.svg", 300, 26},
    {"fichier.dds", "fichier.svg", 160, 28},
    {"fichierover.dds", "fichier.svg", 160, 28, kHover},
    {"open.dds", "open.svg", 160, 28},
    {"openover.dds", "open.svg", 160, 28, kHover},
    {"save.dds", "save.svg", 160, 28},
    {"saveover.dds", "save.svg", 160, 28, kHover},
    {"undoprec.dds", "undoprec.svg", 120, 28},
    {"undoprecover.dds", "undoprec.svg", 120, 28, kHover},
    {"undosuiv.dds", "undosuiv.svg", 120, 28},
    {"undosuivover.dds", "undosuiv.svg", 120, 28, kHover},
    // Frames, rows and panel pieces.
    {"cadre1.dds", "cadre1.svg", 120, 150},
    {"cadre2.dds", "cadre2.svg", 120, 150},
    {"cadre3.dds", "cadre3.svg", 64, 64},
    {"cadre4.dds", "cadre4.svg", 256, 32},
    {"cadre5.dds", "cadre5.svg", 128, 128},
    {"cadret.dds", "cadret.svg", 200, 22},
    {"cadretover.dds", "cadret.svg", 200, 22, kHover},
    {"fenetre1.bmp", "fenetre1.svg", 64, 64},
    // Key bar: track, overlay, sound band, keys.
    {"cursorsbar3.bmp", "cursorsbar3.svg", 64, 87},
    {"cursorsbar4.dds", "cursorsbar4.svg", 64, 87},
    {"avsound.bmp", "avsound.svg", 32, 5},
    {"pis.dds", "pis.svg", 12, 24},
    {"pis2.dds", "pis2.svg", 12, 24},
    {"pis4.dds", "pis4.svg", 12, 24},
    // Camera panel: drag pads and the cross of view buttons.
    {"Trackball.dds", "Trackball.svg", 88, 88},
    {"lateral.dds", "lateral.svg", 76, 88},
    {"zoom.dds", "zoom.svg", 88, 64},
    {"vuesest.dds", "vuesest.svg", 16, 16},
    {"vuesouest.dds", "vuesouest.svg", 16, 16},
    {"vuessud.dds", "vuessud.svg", 16, 16},
    {"vuesnord.dds", "vuesnord.svg", 16, 16},
    {"vueshaut.dds", "vueshaut.svg", 16, 16},
    // Top bar toggles and the corner button.
    {"toggle.dds", "toggle.svg", 40, 40},
    {"toggleover.dds", "toggle.svg", 40, 40, kHover},
    {"wireframe1.dds", "wireframe1.svg", 40, 40},
    {"zoomauto.dds", "zoomauto.svg", 40, 40},
    {"avatar6.dds", "avatar6.svg", 40, 40},
    {"cinematique1.dds", "cinematique1.svg", 40, 40},
    {"fantome.dds", "fantome.svg", 40, 40},
    {"fantome1.dds", "fantome1.svg", 40, 40},
    {"vgroupe.dds", "vgroupe.svg", 40, 40},
    {"vdgroupe.dds", "vdgroupe.svg", 40, 40},
    {"rectselection2.dds", "rectselection2.svg", 30, 30},
    {"cadenasy.dds", "cadenasy.svg", 40, 40},
    {"reptub.dds", "reptub.svg", 40, 40},
    {"selection4.dds", "selection4.svg", 40, 40},
    // Tools of the modeling panel: moves, rotations, pivot, scale.
    {"translation.dds", "translation.svg", 40, 40},
    {"translationx.dds", "translationx.svg", 40, 40},
    {"translationy.dds", "translationy.svg", 40, 40},
    {"translationz.dds", "translationz.svg", 40, 40},
    {"translationp.dds", "translationp.svg", 40, 40},
    {"translationp2.dds", "translationp2.svg", 40, 40},
    {"ombrep.dds", "ombrep.svg", 40, 40},
    {"clé.dds", "cle.svg", 40, 40},
    {"rotation1.dds", "rotation1.svg", 40, 40},
    {"rotation1x.dds", "rotation1x.svg", 40, 40},
    {"rotation1y.dds", "rotation1y.svg", 40, 40},
    {"rotation1z.dds", "rotation1z.svg", 40, 40},
    {"bezier.dds", "bezier.svg", 40, 40},
    {"cloner1.dds", "cloner1.svg", 40, 40},
    {"axerot.dds", "axerot.svg", 40, 40},
    {"resize.dds", "resize.svg", 40, 40},
    // Selection, mesh, sound and light tools.
    {"saisiefaces.dds", "saisiefaces.svg", 40, 40},
    {"saisiegroupe.dds", "saisiegroupe.svg", 40, 40},
    {"saisiepoids.dds", "saisiepoids.svg", 40, 40},
    {"fusion.dds", "fusion.svg", 40, 40},
    {"decoupeur.dds", "decoupeur.svg", 40, 40},
    {"son3.dds", "son3.svg", 40, 40},
    {"spot1.dds", "spot1.svg", 40, 40},
    // Primitives and sweeps (the sweeps also sit on the top bar).
    {"quad.dds", "quad.svg", 40, 40},
    {"sphere.dds", "sphere.svg", 40, 40},
    {"cube.dds", "cube.svg", 40, 40},
    {"tubage.dds", "tubage.svg", 40, 40},
    {"surfaceur.dds", "surfaceur.svg", 40, 40},
    {"face1a.dds", "face1a.svg", 40, 40},
    {"face2.dds", "face2.svg", 40, 40},
    {"altimetre.dds", "altimetre.svg", 40, 40},
    {"grille.dds", "grille.svg", 40, 40},
    // Pictograms of the animation, sound and group panels.
    {"eclairagedir.dds", "eclairagedir.svg", 40, 40},
    {"cinematique.dds", "cinematique.svg", 40, 40},
    {"animation.dds", "animation.svg", 40, 40},
    {"animation1.dds", "animation1.svg", 40, 40},
    {"texanim.dds", "texanim.svg", 40, 40},
    {"film.dds", "film.svg", 40, 40},
    {"imageclé.dds", "imagecle.svg", 40, 40},
    {"marche.dds", "marche.svg", 40, 40},
    {"marche1.dds", "marche1.svg", 40, 40},
    {"son1.dds", "son1.svg", 40, 40},
    {"son2.dds", "son2.svg", 40, 40},
    {"ok.dds", "ok.svg", 40, 40},
    {"groupe.dds", "groupe.svg", 40, 40},
    {"groupe1c.dds", "groupe1c.svg", 40, 40},
    {"groupe2c.dds", "groupe2c.svg", 40, 40},
    {"groupe3c.dds", "groupe3c.svg", 40, 40},
    {"groupe4c.dds", "groupe4c.svg", 40, 40},
    {"groupe5c.dds", "groupe5c.svg", 40, 40},
    {"groupe1d.dds", "groupe1d.svg", 40, 40},
    {"groupe1e.dds", "groupe1e.svg", 40, 40},
    {"groupe2d.dds", "groupe2d.svg", 40, 40},
    {"selectionmulti.dds", "selectionmulti.svg", 40, 40},
    // The name of the program, a cloth texture and a fountain droplet.
    {"tex_logo.dds", "tex_logo.svg", 70, 20},
    {"oxford.dds", "oxford.svg", 64, 64},
    {"fontaine.bmp", "fontaine.svg", 32, 32},
};

std::optional<std::string> readText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The treatment's elements go last, so that its style rules come after the
// drawing's own and win over them.
bool addTreatment(std::string& svg, const std::string& treatment) {
    const std::size_t end = svg.rfind("</svg>");
    if (end == std::string::npos) return false;
    svg.insert(end, treatment);
    return true;
}

}  // namespace

std::span<const InterfaceIcon> interfaceIcons() { return kIcons; }

ImageResult drawInterfaceIcon(const InterfaceIcon& icon, const std::filesystem::path& iconFolder) {
    const std::string source(icon.source);
    std::optional<std::string> svg = readText(iconFolder / source);
    if (!svg) return ImageResult::failure("cannot read " + (iconFolder / source).string());
    if (icon.treatment == IconTreatment::Hover) {
        const std::filesystem::path treatmentPath = iconFolder / kHoverTreatmentFile;
        const std::optional<std::string> treatment = readText(treatmentPath);
        if (!treatment) return ImageResult::failure("cannot read " + treatmentPath.string());
        if (!addTreatment(*svg, *treatment)) return ImageResult::failure(source + ": no closing </svg>");
    }
    ImageResult image = rasteriseSvg(*svg, icon.width, icon.height);
    if (!image) image.error = source + ": " + image.error;
    return image;
}

}  // namespace morvanex::resources
