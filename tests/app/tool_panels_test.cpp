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

TEST_F(ToolPanelsTest, DeleteRemovesTheCurrentObjectUnlessCopiesAreLinkedToIt) {
    SceneObject& linked = quad();
    SceneObject& copy = scene().addObject("copy");
    linked.links.push_back(ObjectLink{});
    linked.links.back().object = &copy;
    pressTool(modeling().translation);
    clickWidget(*modeling().deleteObjectButton);
    EXPECT_EQ(objectsNamed("quad"), 1u) << "refused: a copy is linked to it";

    SceneObject& plain = quad();
    app->mergeList = {&plain};
    show(app->screen.modelingPanel);
    clickWidget(*modeling().deleteObjectButton);
    EXPECT_EQ(objectsNamed("quad"), 1u);
    EXPECT_EQ(app->currentObject, nullptr);
    EXPECT_TRUE(app->mergeList.empty());
    EXPECT_TRUE(scene().modified);
}

TEST_F(ToolPanelsTest, DuplicatePlacesAFullCopyOneWidthAlong) {
    SceneObject& source = quad({5, 1, 2});
    source.indices = {0, 1, 2, 3, 4, 99};  // a damaged triangle is not copied
    pressTool(modeling().cloner);
    ASSERT_TRUE(modeling().duplicateButton->visible);
    clickWidget(*modeling().duplicateButton);
    ASSERT_EQ(objectsNamed("quad"), 2u);
    const SceneObject& copy = *scene().objects().back();
    EXPECT_FLOAT_EQ(copy.position.x, 7.0f);
    EXPECT_FLOAT_EQ(copy.position.z, 2.0f);
    EXPECT_EQ(copy.indices, (std::vector<std::int32_t>{0, 1, 2}));
    EXPECT_FALSE(copy.transient);
}

TEST_F(ToolPanelsTest, InstanceArrayMakesColumnsTimesRowsLinkedCopies) {
    SceneObject& source = quad({1, 0, 0});
    source.boundsMax.z = 3.0f;  // spacing (2, 1, 3)
    tools().values.arrayColumns = 2;
    tools().values.arrayRows = 3;
    pressTool(modeling().cloner);
    clickWidget(*modeling().arrayButton);
    ASSERT_EQ(source.links.size(), 6u);
    std::vector<std::pair<float, float>> places;
    for (const ObjectLink& link : source.links) {
        ASSERT_NE(link.object, nullptr);
        EXPECT_TRUE(link.object->transient);
        places.emplace_back(link.object->position.x, link.object->position.z);
    }
    EXPECT_EQ(places, (std::vector<std::pair<float, float>>{{3, 0}, {3, 3}, {3, 6}, {5, 0}, {5, 3}, {5, 6}}));
}

TEST_F(ToolPanelsTest, FaceCommandsReverseAndFlattenTheSelectedTriangles) {
    SceneObject& object = quad();
    object.faceSelected = {0, 1};
    pressTool(modeling().faceSelection);
    clickWidget(*modeling().flipFacesButton);
    EXPECT_EQ(object.indices, (std::vector<std::int32_t>{0, 1, 2, 5, 4, 3}));
    clickWidget(*modeling().flatFacesButton);
    EXPECT_FLOAT_EQ(object.vertices[3].normal.z, -1.0f) << "the reversed triangle faces away";
    EXPECT_FLOAT_EQ(object.vertices[0].normal.z, 0.0f) << "unselected: untouched";
    EXPECT_EQ(object.faceSelected[1], 0) << "deselected";

    show(app->screen.settingsPanel);
    clickWidget(*tools().settings.tabs->tabs[4]);
    clickWidget(*tools().settings.flipAllFacesButton);
    EXPECT_EQ(object.indices, (std::vector<std::int32_t>{2, 1, 0, 3, 4, 5}));
    EXPECT_EQ(tools().settings.objectInfo->text.rfind("Size (", 0), 0u) << "in the interface's language";
}

TEST_F(ToolPanelsTest, MappingButtonsRewriteTheFirstCoordinateSet) {
    SceneObject& object = quad();
    object.vertices[2].texcoord2 = {0.25f, 0.75f};
    show(app->screen.textureMappingPanel);
    clickWidget(*tools().mapping.coordinateButtons[0]);
    EXPECT_FLOAT_EQ(object.vertices[2].texcoord.y, 0.75f);
    clickWidget(*tools().mapping.coordinateButtons[4]);
    for (const MeshVertex& v : object.vertices) {
        EXPECT_FLOAT_EQ(v.texcoord.x, v.position.x / 2.0f);
        EXPECT_FLOAT_EQ(v.texcoord.y, v.position.y);
    }
    for (MeshVertex& v : object.vertices) v.position.y = 0.0f;  // flat: no division by zero
    clickWidget(*tools().mapping.coordinateButtons[4]);
    EXPECT_FLOAT_EQ(object.vertices[2].texcoord.y, 0.0f);
}

TEST_F(ToolPanelsTest, ToolPressSelectsItInItsGroupAndRunsItsSetup) {
    SceneObject& marked = quad();
    app->mergeList = {&marked};
    pressTool(modeling().cloner);
    EXPECT_TRUE(modeling().cloner->checked);
    EXPECT_FALSE(modeling().translation->checked);
    EXPECT_FALSE(modeling().positionBoxes[0]->visible);
    clickWidget(*modeling().fusion);
    EXPECT_TRUE(app->mergeList.empty());
    EXPECT_FALSE(modeling().duplicateButton->visible);
    EXPECT_TRUE(modeling().mergeButton->visible);

    clickWidget(*modeling().tabs->tabs[1]);
    tools().values.primitiveSize = 3.0f;
    clickWidget(*modeling().quad);
    EXPECT_EQ(modeling().primitiveCaption->captionLabel, label::kQuadCaption);
    EXPECT_FLOAT_EQ(tools().values.primitiveSize, 10.0f);
    EXPECT_FLOAT_EQ(tools().values.heightSurfaceSize, 100.0f);
}

TEST_F(ToolPanelsTest, ShowingAndHidingTheModelingPanelResetsItsTools) {
    SceneObject& object = quad({4, 0, 0});
    pressTool(modeling().resize);
    EXPECT_EQ(modeling().scaleBoxes[0]->boundFloat, &object.scale.x);
    app->screen.modelingPanel->setVisible(false);
    EXPECT_FALSE(modeling().resize->checked);
    show(app->screen.modelingPanel);
    EXPECT_TRUE(modeling().translation->checked);
    EXPECT_EQ(modeling().positionBoxes[0]->text, "4.000");
    EXPECT_EQ(app->screen.modelingPanel->title, "quad");
}

TEST_F(ToolPanelsTest, AnimationsAreMadeAndDeletedForTheCurrentObject) {
    SceneObject& object = quad();
    show(app->screen.animationPanel);
    clickWidget(*tools().animation.newButton);
    ASSERT_EQ(scene().animations().size(), 1u);
    const Animation& animation = *scene().animations().front();
    EXPECT_EQ(animation.target, &object);
    ASSERT_EQ(animation.sequences.size(), 1u);
    EXPECT_EQ(animation.sequences.front()->name, "Nouvelle animation");
    EXPECT_EQ(tools().animation.animations->items.size(), 1u);
    clickWidget(*tools().animation.deleteButton);
    EXPECT_TRUE(animation.sequences.empty());
    EXPECT_TRUE(tools().animation.animations->items.empty());
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
