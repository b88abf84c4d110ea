// The four tool panels as a whole: built once, refreshed when shown,
// reset when hidden, and the confirmations of the questions they ask.
#include "app/application.h"
#include "app/pending_tool_hooks.h"
#include "app/tool_panel_builders.h"
#include "scene/animation.h"
#include "ui/image_button.h"
#include "ui/label_numbers.h"
#include "ui/tab_strip.h"

namespace morvanex {

void Application::buildToolPanels() {
    ToolPanelWidgets& tools = screen.tools;
    screen.settingsPanel = &buildSettingsPanel(ui, labels, tools);
    screen.modelingPanel = &buildModelingPanel(ui, labels, tools);
    screen.textureMappingPanel = &buildTextureMappingPanel(ui, labels, tools);
    screen.animationPanel = &buildAnimationPanel(ui, labels, tools);
    bindToolPanelsToCurrentObject();
}

void Application::refreshToolPanelOnShown(Panel& panel) {
    ToolPanelWidgets& tools = screen.tools;
    if (&panel == screen.settingsPanel) {
        tools.settings.tabs->select(0);
        bindToolPanelsToCurrentObject();
    } else if (&panel == screen.modelingPanel) {
        tools.modeling.tabs->select(0);
        pressTranslationTool();
        bindToolPanelsToCurrentObject();
    } else if (&panel == screen.textureMappingPanel) {
        panel.title = label(label::kMappingPanelTitle);
        if (currentObject != nullptr) tools.mapping.tabs->select(0);
    } else if (&panel == screen.animationPanel) {
        for (ImageButton* sweep : {screen.top.reopenTube, screen.top.reopenSurface}) {
            if (sweep != nullptr) sweep->setVisible(false);
        }
        panel.title = label(tools.animation.cameraMode ? label::kTopBarCameraAnimationButton
                                                       : label::kTopBarObjectAnimationButton);
        refreshAnimationList();
    }
}

void Application::onToolPanelHidden(Panel& panel) {
    ToolPanelWidgets& tools = screen.tools;
    if (&panel == screen.modelingPanel) {
        releaseModelingTools();
        Onglets& tabs = *tools.modeling.tabs;
        tabs.select(0);
        onTabEnter(*tabs.tabs.front());
    } else if (&panel == screen.animationPanel) {
        endOpenTrajectory();
        tools.currentAnimation = nullptr;
        for (Panel* follower : {screen.timelinePanel, screen.previewPanel}) {
            if (follower != nullptr) follower->setVisible(false);
        }
        if (screen.top.modelingButton != nullptr) screen.top.modelingButton->enabled = true;
    }
}

bool Application::answerToolPanelMessage(const std::string& title) {
    if (title == label(label::kDetachSelectionTitle)) {
        if (currentObject != nullptr) {
            detachSelectedTriangles(scene, *currentObject);
            screen.tools.modeling.tabs->select(0);
            pressTranslationTool();
            scene.modified = true;
        }
        return true;
    }
    if (title == label(label::kDetachFromParentTitle)) {
        detachCurrentFromParent();
        return true;
    }
    return false;
}

}  // namespace morvanex
