// The texture mapping panel: one tab per texture slot, the texture
// coordinate operations, the slot's mapping values and its picture.
#include "app/tool_panel_builders.h"
#include "app/tool_panel_kit.h"
#include "app/tool_panels.h"
#include "render/interface_drawing.h"
#include "ui/check_box.h"
#include "ui/edit_box.h"
#include "ui/image.h"
#include "ui/image_button.h"
#include "ui/interface.h"
#include "ui/label_numbers.h"
#include "ui/tab_strip.h"

namespace morvanex {

namespace {

constexpr int kTabStep = 5;
constexpr int kImageSize = 350;
constexpr int kValueBoxWidth = 60;

}  // namespace

Panel& buildTextureMappingPanel(Interface& ui, LabelTable& labels, ToolPanelWidgets& tools) {
    Panel& panel = createToolPanel(ui, labels, label::kMappingPanelName, 1000, 950, 360, 700, true);
    ToolPanelKit kit(panel, labels);
    panel.title = kit.french(label::kMappingPanelTitle);
    TextureMappingWidgets& w = tools.mapping;
    ToolPanelValues& v = tools.values;
    w.tabs = &addTabStrip(panel, 5, kTabStep);
    for (int number : {label::kMappingTexture1Tab, label::kMappingTexture2Tab, label::kMappingTexture3Tab}) {
        Onglet& tab = w.tabs->addTab("onglet8.dds", kit.french(number));
        tab.captionLabel = number;
    }
    // The operations act on the whole object, whichever slot is shown.
    for (std::size_t i = 0; i < w.coordinateButtons.size(); ++i) {
        const int x = 5 + 175 * static_cast<int>(i % 2);
        const int y = 62 + 32 * static_cast<int>(i / 2);
        w.coordinateButtons[i] = &kit.button(label::kMappingCopySecondSetButton + static_cast<int>(i), x, y, nullptr);
    }
    const int boxLabels[] = {label::kMappingOffsetUBox, label::kMappingOffsetVBox, label::kMappingScaleUBox,
                             label::kMappingScaleVBox};
    for (std::size_t i = 0; i < w.mappingBoxes.size(); ++i) {
        const int x = 5 + 175 * static_cast<int>(i % 2);
        const int y = 165 + 28 * static_cast<int>(i / 2);
        EditBox& box = kit.decimalBox(boxLabels[i], x, y, &v.mapping[i], nullptr);
        box.boxWidth = kValueBoxWidth;
        box.layOutBox();
        w.mappingBoxes[i] = &box;
    }
    w.sharedCheck = &kit.check(label::kMappingSharedCheck, 5, 228, &v.sharedMapping, nullptr);
    const int switchLabels[] = {label::kMappingSwitch1Check, label::kMappingSwitch2Check,
                                label::kMappingSwitch3Check};
    const int switchX[] = {5, 120, 235};
    for (std::size_t i = 0; i < w.switchChecks.size(); ++i) {
        w.switchChecks[i] = &kit.check(switchLabels[i], switchX[i], 254, &v.mappingSwitches[i], nullptr);
    }
    w.textureImage = &addImage(panel, ui.drawing().image("white.bmp"), 5, 285, kImageSize, kImageSize);
    w.textureImage->fitAspect = true;
    w.tabs->select(0);
    return panel;
}

}  // namespace morvanex
