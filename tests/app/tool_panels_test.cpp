// The four tool panels as a person uses them: shown, clicked, and the scene
// checked afterwards.
#include <cmath>
#include <cstdlib>

#include "app/editor_test_support.h"
#include "scene/animation.h"
#include "ui/check_box.h"
#include "ui/edit_box.h"
#include "ui/image_button.h"
#include "ui/image_list.h"
#include "ui/label.h"
#include "ui/label_numbers.h"
#include "ui/tab_strip.h"

namespace morvanex::test {
namespace {

class ToolPanelsTest : public EditorTest {
protected:
    ToolPanelsTest() {
        width = 1920;
        height = 1080;
    }

    ToolPanelWidgets& tools() { return app->screen.tools; }
    ModelingPanelWidgets& modeling() { return tools().modeling; }
    Scene& scene() { return app->scene; }

    // A 2 x 1 x 0 quad of two triangles at the position, made current.
    SceneObject& quad(Vec3 position = {}) {
        SceneObject& object = scene().addObject("quad");
        std::vector<MeshVertex> v(6);
        const Vec3 corners[] = {{0, 0, 0}, {2, 0, 0}, {2, 1, 0}, {0, 0, 0}, {2, 1, 0}, {0, 1, 0}};
        for (std::size_t i = 0; i < 6; ++i) v[i].position = corners[i];
        object.assignMesh(v, {0, 1, 2, 3, 4, 5});
        object.position = position;
        app->currentObject = &object;
        return object;
    }

    void show(Panel* panel) {
        ASSERT_NE(panel, nullptr);
        panel->setVisible(true);
        frame();
    }
    // Shows the modeling panel and presses a tool of its first tab.
    void pressTool(ImageButton* tool) {
        show(app->screen.modelingPanel);
        clickWidget(*tool);
        frame();
    }
    std::size_t objectsNamed(std::string_view name) {
        std::size_t count = 0;
        for (const auto& object : scene().objects()) count += object->name == name;
        return count;
    }
};

TEST_F(ToolPanelsTest, PanelsAreBuiltHiddenWithTheirWidgets) {
    for (Panel* panel : {app->screen.settingsPanel, app->screen.modelingPanel, app->screen.textureMappingPanel,
                         app->screen.animationPanel}) {
        ASSERT_NE(panel, nullptr);
        EXPECT_FALSE(panel->visible);
    }
    EXPECT_EQ(tools().settings.tabs->tabs.size(), 6u);
    EXPECT_EQ(modeling().tabs->tabs.size(), 2u);
    EXPECT_EQ(tools().mapping.tabs->tabs.size(), 3u);
    EXPECT_EQ(modeling().editTools->members.size(), 23u);
    EXPECT_EQ(modeling().createTools->members.size(), 10u);
}

// Screenshots for a person to look at: MORVANEX_TOOL_SHOTS=folder.
TEST_F(ToolPanelsTest, Screenshots) {
    const char* folder = std::getenv("MORVANEX_TOOL_SHOTS");
    if (folder == nullptr) GTEST_SKIP() << "MORVANEX_TOOL_SHOTS not set";
    quad();
    for (Panel* panel : {app->screen.settingsPanel, app->screen.modelingPanel, app->screen.textureMappingPanel,
                         app->screen.animationPanel}) {
        show(panel);
    }
    clickWidget(*tools().animation.newButton);
    frame();
    frame();
    saveScreenshot(std::filesystem::path(folder) / "tools-shown.png");
    clickWidget(*modeling().cloner);
    clickWidget(*tools().settings.tabs->tabs[2]);
    frame();
    saveScreenshot(std::filesystem::path(folder) / "tools-cloner-material.png");
    clickWidget(*modeling().tabs->tabs[1]);
    frame();
    clickWidget(*modeling().tube);
    clickWidget(*tools().settings.tabs->tabs[4]);
    app->screen.settingsPanel->setVisible(true);
    frame();
    frame();
    saveScreenshot(std::filesystem::path(folder) / "tools-tube-rendering.png");
    clickWidget(*modeling().surface);
    frame();
    saveScreenshot(std::filesystem::path(folder) / "tools-surface.png");
}

}  // namespace
}  // namespace morvanex::test
