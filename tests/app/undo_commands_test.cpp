// Undo and redo driven as a person drives them: the modeling panel's
// buttons and Ctrl+Z / Ctrl+Y, with the scene checked afterwards.
#include "app/editor_test_support.h"
#include "modeling/primitives.h"
#include "scene/scene_object.h"
#include "ui/image_button.h"

namespace morvanex::test {
namespace {

class UndoCommandsTest : public EditorTest {
protected:
    UndoCommandsTest() {
        width = 1920;
        height = 1080;
    }
    void openModelingPanel() {
        clickWidget(*app->screen.cornerButton);  // the editing interface, for the keys
        app->screen.modelingPanel->setVisible(true);
        frame();
    }
    ModelingPanelWidgets& modeling() { return app->screen.tools.modeling; }
};

TEST_F(UndoCommandsTest, CtrlZAfterADeleteBringsTheObjectBackAndCtrlYDeletesItAgain) {
    Scene& scene = app->scene;
    SceneObject& box = app->addPrimitive(makeBox({0, 0, 0}, {2, 0, 2}, {0, 2, 0}));
    scene.addObject("after");
    const std::ptrdiff_t place = scene.indexOf(&box);
    app->currentObject = &box;
    openModelingPanel();

    clickWidget(*modeling().deleteObjectButton);
    ASSERT_EQ(scene.indexOf(&box), -1);
    EXPECT_EQ(app->currentObject, nullptr);

    controlKey('Z');
    ASSERT_EQ(scene.indexOf(&box), place);
    EXPECT_EQ(box.triangleCount, 12);
    EXPECT_EQ(app->currentObject, &box);
    EXPECT_EQ(app->screen.modelingPanel->title, "boite");  // the panels follow it
    frame();  // and it draws again

    controlKey('Y');
    EXPECT_EQ(scene.indexOf(&box), -1);
    EXPECT_EQ(app->currentObject, nullptr);
}

TEST_F(UndoCommandsTest, TheUndoButtonRewindsAMoveThenTheMaking) {
    SceneObject& box = app->addPrimitive(makeBox({0, 0, 0}, {2, 0, 2}, {0, 2, 0}));
    app->currentObject = &box;
    openModelingPanel();
    box.position = {5.0f, 0.0f, 0.0f};
    app->recordTransformEdit();  // as a committed edit box does

    clickWidget(*modeling().undoButton);
    EXPECT_EQ(box.position, (Vec3{0.0f, 0.0f, 0.0f}));
    EXPECT_EQ(box.worldMatrix.m[3][0], 0.0f);
    clickWidget(*modeling().undoButton);  // nothing left on the box: its making
    EXPECT_EQ(app->scene.indexOf(&box), -1);
    EXPECT_EQ(app->currentObject, nullptr);

    clickWidget(*modeling().redoButton);
    ASSERT_GE(app->scene.indexOf(&box), 0);
    app->currentObject = &box;
    clickWidget(*modeling().redoButton);
    EXPECT_EQ(box.position, (Vec3{5.0f, 0.0f, 0.0f}));
}

}  // namespace
}  // namespace morvanex::test
