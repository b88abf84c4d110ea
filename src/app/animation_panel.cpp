// The animation panel: the animations of the current object (or of the
// camera in camera mode) as a thumbnail grid, the buttons that make,
// delete, open and save them, and the selected animation's options.
#include <memory>

#include "app/tool_panel_builders.h"
#include "app/tool_panel_kit.h"
#include "app/tool_panels.h"
#include "ui/check_box.h"
#include "ui/edit_box.h"
#include "ui/image_button.h"
#include "ui/image_list.h"
#include "ui/interface.h"
#include "ui/label_numbers.h"

namespace morvanex {

namespace {

constexpr int kCellPitch = 85;

}  // namespace

Panel& buildAnimationPanel(Interface& ui, LabelTable& labels, ToolPanelWidgets& tools) {
    Panel& panel = createToolPanel(ui, labels, label::kAnimationPanelName, 100, 360, 355, 490);
    ToolPanelKit kit(panel, labels);
    panel.title = kit.french(label::kAnimationPanelTitle);
    AnimationPanelWidgets& w = tools.animation;
    ToolPanelValues& v = tools.values;
    w.animations = &addImageList(panel, 5, 30, 345, 170);
    w.animations->autoSize = false;
    w.animations->listTemplate->cellWidth = kCellPitch;
    w.animations->listTemplate->cellHeight = kCellPitch;
    w.newButton = &kit.button(label::kAnimationNewButton, 5, 218, nullptr);
    w.deleteButton = &kit.button(label::kAnimationDeleteButton, 180, 218, nullptr);
    w.openFileButton = &kit.button(label::kAnimationOpenFileButton, 5, 250, nullptr, "open.dds");
    w.saveFileButton = &kit.button(label::kAnimationSaveFileButton, 180, 250, nullptr, "save.dds");

    // The options of the selected animation: shown when a cell is chosen.
    Control3d& options = *w.animations->listTemplate;
    w.nameBox = &addEditBox(panel, kit.french(label::kAnimationNameBox), " :", 5, 292, "button3.dds",
                            EditFilter::FreeText, "");
    w.nameBox->captionLabel = label::kAnimationNameBox;
    w.nameBox->boundString = &v.animationName;
    addDependant(options, *w.nameBox);
    ControleGroupe& roles = panel.add(std::make_unique<ControleGroupe>());
    for (std::size_t i = 0; i < w.roleRadios.size(); ++i) {
        const int x = 5 + 175 * static_cast<int>(i % 2);
        const int y = 325 + 25 * static_cast<int>(i / 2);
        w.roleRadios[i] =
            &kit.radio(roles, label::kAnimationRole0Radio + static_cast<int>(i), x, y, &v.animationRole, &options);
    }
    w.repeatCheck = &kit.check(label::kAnimationRepeatCheck, 5, 410, &v.animationRepeat, &options);
    w.autoplayCheck = &kit.check(label::kAnimationAutoplayCheck, 180, 410, &v.animationAutoplay, &options);
    if (options.dependants != nullptr) options.dependants->showDependants(false);
    return panel;
}

}  // namespace morvanex
