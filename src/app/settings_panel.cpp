// The settings panel: six tabs over the current object's settings (object,
// group, material, reflections, rendering, lights).
#include <memory>

#include "app/tool_panel_builders.h"
#include "app/tool_panel_kit.h"
#include "app/tool_panels.h"
#include "scene/scene_object.h"
#include "ui/check_box.h"
#include "ui/colour_widgets.h"
#include "ui/edit_box.h"
#include "ui/image_button.h"
#include "ui/image_list.h"
#include "ui/interface.h"
#include "ui/label.h"
#include "ui/label_numbers.h"
#include "ui/slider.h"
#include "ui/tab_strip.h"

namespace morvanex {

namespace {

constexpr int kTabStep = 5;
constexpr int kSlotPictureSize = 100;
constexpr int kUnitSlider = 2;

void buildObjectPage(ToolPanelKit& kit, Onglet& page, SettingsPanelWidgets& w) {
    w.objectInfo = &kit.plainText(" ", 10, 65, &page);
    w.nameBox = &addEditBox(kit.panel(), kit.french(label::kAnimationNameBox), " :", 10, 110, "button3.dds",
                            EditFilter::FreeText, "");
    w.nameBox->captionLabel = label::kAnimationNameBox;
    addDependant(page, *w.nameBox);
    w.saveSelectionButton = &kit.button(label::kSettingsSaveSelectionButton, 10, 150, &page);
    w.updateMeshButton = &kit.button(label::kSettingsUpdateMeshButton, 10, 185, &page);
    w.importAnimatedButton = &kit.button(label::kSettingsImportAnimatedButton, 10, 370, &page);
    w.animatedEntries = &addImageList(kit.panel(), 5, 410, 380, 180);
    w.animatedEntries->autoSize = false;
    addDependant(page, *w.animatedEntries->listTemplate);
    addDependant(page, *w.animatedEntries);
}

void buildGroupPage(ToolPanelKit& kit, Onglet& page, SettingsPanelWidgets& w, ToolPanelValues& v) {
    w.groupCaption = &kit.plainText(" ", 10, 65, &page);
    w.applyToGroupCheck = &kit.check(label::kSettingsApplyToGroupCheck, 10, 100, &v.applyToGroup, &page);
    w.groupMembersText = &kit.plainText(" ", 10, 135, &page);
    w.detachFromParentButton = &kit.button(label::kSettingsDetachFromParentButton, 25, 560, &page);
}

void buildMaterialPage(ToolPanelKit& kit, Onglet& page, SettingsPanelWidgets& w, ToolPanelValues& v) {
    kit.text(label::kSettingsColourCaption, 10, 65, &page);
    w.colourSwatch = &addColourSwatch(kit.panel(), 10, 90, &v.colour, nullptr);
    addDependant(page, *w.colourSwatch);
    w.opacitySlider = &kit.slider(label::kSettingsOpacitySlider, 10, 175, &v.opacity, kUnitSlider, &page);
    w.textureOpacityCheck = &kit.check(label::kSettingsTextureOpacityCheck, 10, 205, &v.textureOpacity, &page);
    w.animatedTextureCheck = &kit.check(label::kSettingsAnimatedTextureCheck, 10, 235, &v.animatedTexture, &page);
    w.addFrameButton = &kit.button(label::kSettingsAddFrameButton, 10, 450, &page);
    w.removeFrameButton = &kit.button(label::kSettingsRemoveFrameButton, 10, 485, &page);
    const int slotY[] = {85, 205, 325};
    for (std::size_t slot = 0; slot < w.textureSlotButtons.size(); ++slot) {
        ImageButton& picture = addPictureButton(kit.panel(), "cadre1.dds", "cadre2.dds", nullptr, 250,
                                                slotY[slot], kSlotPictureSize);
        picture.caption = std::string(kTextureSlotNames[slot]);
        addDependant(page, picture);
        w.textureSlotButtons[slot] = &picture;
    }
}

void buildReflectionsPage(ToolPanelKit& kit, Onglet& page, SettingsPanelWidgets& w, ToolPanelValues& v) {
    w.liveReflectionCheck = &kit.check(label::kSettingsLiveReflectionCheck, 10, 70, &v.reflectionFlags[0], &page);
    w.frozenReflectionCheck = &kit.check(label::kSettingsFrozenReflectionCheck, 10, 100, &v.reflectionFlags[1], &page);
    w.reflectionRefreshCheck =
        &kit.check(label::kSettingsReflectionRefreshCheck, 10, 130, &v.reflectionFlags[2], &page);
    w.saveCubeCheck = &kit.check(label::kSettingsSaveCubeMapCheck, 10, 160, &v.saveCube, &page);
}

void buildRenderingPage(ToolPanelKit& kit, Onglet& page, SettingsPanelWidgets& w, ToolPanelValues& v) {
    w.recomputeNormalsButton = &kit.button(label::kSettingsRecomputeNormalsButton, 25, 380, &page);
    w.normalsSecondPassCheck = &kit.check(label::kSettingsNormalsSecondPassCheck, 25, 426, &v.normalsWeld, &page);
    w.normalsOptionCheck = &kit.check(label::kSettingsNormalsOptionCheck, 200, 426, &v.normalsSmoothSharp, &page);
    w.flipAllFacesButton = &kit.button(label::kSettingsFlipAllFacesButton, 25, 495, &page);
}

void buildLightsPage(ToolPanelKit& kit, Onglet& page, SettingsPanelWidgets& w, ToolPanelValues& v) {
    ControleGroupe& source = kit.panel().add(std::make_unique<ControleGroupe>());
    w.sceneLightsRadio = &kit.radio(source, label::kSettingsSceneLightsRadio, 10, 70, &v.lightSource, &page);
    w.objectLightsRadio = &kit.radio(source, label::kSettingsObjectLightsRadio, 200, 70, &v.lightSource, &page);
    const int boxLabels[] = {label::kSettingsLightXBox, label::kSettingsLightYBox, label::kSettingsLightZBox};
    float* coordinates[] = {&v.lightPosition.x, &v.lightPosition.y, &v.lightPosition.z};
    for (std::size_t i = 0; i < w.lightBoxes.size(); ++i) {
        w.lightBoxes[i] = &kit.decimalBox(boxLabels[i], 10, 110 + 30 * static_cast<int>(i), coordinates[i], &page);
    }
}

}  // namespace

Panel& buildSettingsPanel(Interface& ui, LabelTable& labels, ToolPanelWidgets& tools) {
    Panel& panel = createToolPanel(ui, labels, label::kSettingsPanelName, 70, 255, 390, 625);
    ToolPanelKit kit(panel, labels);
    SettingsPanelWidgets& w = tools.settings;
    ToolPanelValues& v = tools.values;
    w.tabs = &addTabStrip(panel, 5, kTabStep);
    auto tab = [&](int number) -> Onglet& {
        Onglet& added = w.tabs->addTab("onglet8.dds", kit.french(number));
        added.captionLabel = number;
        return added;
    };
    Onglet& object = tab(label::kSettingsObjectTab);
    Onglet& group = tab(label::kSettingsGroupTab);
    Onglet& material = tab(label::kSettingsMaterialTab);
    Onglet& reflections = tab(label::kSettingsReflectionsTab);
    Onglet& rendering = tab(label::kSettingsRenderingTab);
    Onglet& lights = tab(label::kSettingsLightsTab);
    buildObjectPage(kit, object, w);
    buildGroupPage(kit, group, w, v);
    buildMaterialPage(kit, material, w, v);
    buildReflectionsPage(kit, reflections, w, v);
    buildRenderingPage(kit, rendering, w, v);
    buildLightsPage(kit, lights, w, v);
    w.tabs->select(0);
    return panel;
}

}  // namespace morvanex
