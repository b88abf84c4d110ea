// A newcomer's first session, start to quit, through window messages only:
// the corner button, the panels, a box typed into, the view, every
// shortcut, a box made, moved, turned and scaled, undone by key and by
// button, saved, a new scene, the file opened again, and the ways out.
// Each step checks what a person would see change.
#include <cmath>
#include <filesystem>

#include "app/editor_test_support.h"
#include "modeling/object_transform.h"
#include "scene/scene_object.h"
#include "ui/edit_box.h"
#include "ui/file_chooser.h"
#include "ui/image_button.h"
#include "ui/label_numbers.h"
#include "ui/slider.h"
#include "ui/tab_strip.h"

namespace morvanex::test {
namespace {

class NewcomerWalkthroughTest : public EditorTest {
protected:
    NewcomerWalkthroughTest() {
        width = 1920;
        height = 1080;
    }

    ModelingPanelWidgets& modeling() { return app->screen.tools.modeling; }
    void press(Control3d& widget) {
        frame();
        clickWidget(widget);
        frame();
    }
    void clickAt(Vec3 p) {
        const auto [x, y] = pixelOf(p);
        mouse(wm::MouseMove, x, y);
        frame();
        click(x, y);
        frame();
    }
    void drag(int x0, int y0, int x1, int y1) {
        mouse(wm::MouseMove, x0, y0);
        frame();
        mouse(wm::LButtonDown, x0, y0, mouse_keys::Left);
        for (int i = 1; i <= 4; ++i) {
            mouse(wm::MouseMove, x0 + (x1 - x0) * i / 4, y0 + (y1 - y0) * i / 4, mouse_keys::Left);
        }
        mouse(wm::LButtonUp, x1, y1);
        frame();
    }
    FileChooser* shownChooser() {
        FileChooser* chooser = app->fileDialogs.builtinChooser();
        return chooser != nullptr && chooser->panel().visible ? chooser : nullptr;
    }
    bool questionShown(int titleLabel) const {
        const Panel* dialog = app->screen.questionDialog;
        return dialog->visible && dialog->title == app->label(titleLabel);
    }
    // The box's world size along each axis.
    Vec3 worldSize(const SceneObject& o) {
        const Vec3 a = transformPoint(o.boundsMin, o.worldMatrix);
        const Vec3 b = transformPoint(o.boundsMax, o.worldMatrix);
        return {std::fabs(b.x - a.x), std::fabs(b.y - a.y), std::fabs(b.z - a.z)};
    }
    Vec3 upAxis(const SceneObject& o) { return normalize(transformNormal({0, 1, 0}, o.worldMatrix)); }
    Vec3 sideAxis(const SceneObject& o) { return normalize(transformNormal({1, 0, 0}, o.worldMatrix)); }
};

TEST_F(NewcomerWalkthroughTest, FromStartToQuit) {
    // The corner button switches the editing interface on.
    press(*app->screen.cornerButton);
    ASSERT_TRUE(app->editMode);
    ASSERT_TRUE(app->screen.topBar->visible);

    // File, Display tab, a click in the walking-speed box, a value typed.
    press(*app->screen.top.fileButton);
    ASSERT_TRUE(app->screen.filePanel->visible);
    press(*app->screen.file.tabs->tabs[1]);
    EditBox& speedBox = *app->screen.file.walkSpeedSlider->editBox;
    ASSERT_TRUE(speedBox.visible);
    press(speedBox);
    ASSERT_EQ(app->ui.focusedEditBox, &speedBox);
    const std::string speedBefore = speedBox.text;
    type("7");
    // Escape gives the box back its value and its keyboard back to the editor.
    keyDown(vk::Escape);
    EXPECT_EQ(app->ui.focusedEditBox, nullptr);
    EXPECT_EQ(speedBox.text, speedBefore);
    // A click in the view ends a focus too, and the shortcuts work at once.
    press(speedBox);
    ASSERT_EQ(app->ui.focusedEditBox, &speedBox);
    press(*app->screen.file.tabs->tabs[0]);  // another widget of the same panel
    app->screen.filePanel->setVisible(false);
    click(width / 2, height - 200);
    EXPECT_EQ(app->ui.focusedEditBox, nullptr);
    controlKey('O');
    FileChooser* chooser = shownChooser();
    ASSERT_NE(chooser, nullptr);
    press(chooser->cancelButton());
    EXPECT_EQ(shownChooser(), nullptr);

    // A box in three clicks, looking down at the ground.
    CameraState& c = app->camera;
    c.eye = c.eyeTarget = {0.0f, 60.0f, -100.0f};
    c.yaw = c.yawTarget = kHalfPi;
    c.pitch = c.pitchTarget = 0.5f;
    press(*app->screen.top.modelingButton);
    ASSERT_TRUE(app->screen.modelingPanel->visible);
    press(*modeling().tabs->tabs[1]);
    press(*modeling().cube);
    const std::size_t objectsBefore = app->scene.objectCount();
    clickAt({-10.0f, 0.0f, -10.0f});
    clickAt({10.0f, 0.0f, 10.0f});
    clickAt({10.0f, 20.0f, 10.0f});
    ASSERT_EQ(app->scene.objectCount(), objectsBefore + 1);
    SceneObject* box = app->scene.objects().back().get();
    ASSERT_EQ(box->name, "boite");

    // Ctrl+Z takes it back, Ctrl+Y brings it again.
    controlKey('Z');
    EXPECT_EQ(app->scene.objectCount(), objectsBefore);
    controlKey('Y');
    ASSERT_EQ(app->scene.objectCount(), objectsBefore + 1);
    box = app->scene.objects().back().get();

    // Selected, framed with F: the camera looks at its centre.
    clickAt({0.0f, 10.0f, -10.0f});
    ASSERT_EQ(app->currentObject, box);
    keyDown('F');
    const Vec3 centre = transformPoint((box->boundsMin + box->boundsMax) * 0.5f, box->worldMatrix);
    EXPECT_LT(distance(app->camera.orbitTarget, centre), 1e-3f);
    for (int i = 0; i < 120; ++i) frame(0.05);  // the glide settles

    // Moved along x: the box follows the pointer.
    press(*modeling().tabs->tabs[0]);
    press(*modeling().translationX);
    const auto [cx, cy] = pixelOf(centre);
    const Vec3 placeBefore = box->position;
    drag(cx, cy, cx + 120, cy);
    EXPECT_GT(std::fabs(box->position.x - placeBefore.x), 1.0f);

    // Turned about y: its sides turn, its vertical axis stays vertical.
    press(*modeling().rotationY);
    const Vec3 sideBefore = sideAxis(*box);
    drag(cx, cy, cx + 80, cy);
    EXPECT_LT(dot(sideAxis(*box), sideBefore), 0.99f);
    EXPECT_GT(upAxis(*box).y, 0.999f);

    // Scaled by a drag far inwards: it shrinks but never vanishes.
    press(*modeling().resize);
    const Vec3 sizeBefore = worldSize(*box);
    drag(cx, cy, cx - 900, cy + 600);
    const Vec3 shrunk = worldSize(*box);
    EXPECT_GT(shrunk.x, 0.0f);
    EXPECT_GT(shrunk.y, 0.0f);
    EXPECT_GT(shrunk.z, 0.0f);

    // Ctrl+Z undoes the scale, the Undo button the turn: one history.
    controlKey('Z');
    EXPECT_LT(length(worldSize(*box) - sizeBefore), 1e-3f);
    press(*modeling().undoButton);
    EXPECT_GT(dot(sideAxis(*box), sideBefore), 0.9999f);
    EXPECT_GT(std::fabs(box->position.x - placeBefore.x), 1.0f);  // the move stays

    // Delete takes it away, Ctrl+Z brings it back.
    keyDown(vk::Delete);
    EXPECT_EQ(app->scene.findObject("boite"), nullptr);
    controlKey('Z');
    ASSERT_NE(app->scene.findObject("boite"), nullptr);

    // Save as: the chooser asks for a name; the file is written and named in the title.
    controlKey('S', true);
    chooser = shownChooser();
    ASSERT_NE(chooser, nullptr);
    const std::filesystem::path folder = temp.path() / "mine";
    std::filesystem::create_directories(folder);
    chooser->enterFolder(folder);
    EditBox& name = chooser->nameBox();
    click(name.screenX() + name.width - 8, name.screenY() + 8);  // its clear button
    type("maison");
    press(chooser->okButton());
    const std::filesystem::path saved = folder / "maison.mrx";
    ASSERT_TRUE(std::filesystem::exists(saved));
    EXPECT_FALSE(app->scene.modified);
    ASSERT_FALSE(shell.titles.empty());
    EXPECT_NE(shell.titles.back().find("maison.mrx"), std::string::npos);

    // A new scene (nothing to save: no question), then the file opened again.
    controlKey('N');
    EXPECT_FALSE(questionShown(label::kNewSceneQuestionTitle));
    EXPECT_EQ(app->scene.findObject("boite"), nullptr);
    controlKey('O');
    chooser = shownChooser();
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(chooser->folder(), folder);  // where the last file was chosen
    chooser->enterFolder(folder);
    for (std::size_t i = 0; i < chooser->entries().size(); ++i) {
        if (chooser->entries()[i].name == "maison.mrx") chooser->pickEntry(i);
    }
    press(chooser->okButton());
    ASSERT_NE(app->scene.findObject("boite"), nullptr);
    EXPECT_EQ(app->scene.filePath, saved);

    // Ctrl+S saves a changed scene to its own file.
    app->scene.modified = true;
    const auto writtenBefore = std::filesystem::last_write_time(saved);
    controlKey('S');
    EXPECT_FALSE(app->scene.modified);
    EXPECT_GE(std::filesystem::last_write_time(saved), writtenBefore);

    // Quit with changes to a scene that has a file: Yes saves there and closes.
    app->scene.modified = true;
    app->askCloseQuestion();
    frame();
    ASSERT_TRUE(questionShown(label::kCloseQuestionTitle));
    press(*app->screen.question.yesButton);
    EXPECT_EQ(shell.closeRequests, std::vector<bool>{true});
    EXPECT_FALSE(app->scene.modified);

    // Quit with changes to a scene never saved: Yes asks where; cancelling stays.
    shell.closeRequests.clear();
    controlKey('N');  // saved just now: no question
    ASSERT_EQ(app->scene.findObject("boite"), nullptr);
    app->scene.addObject("boite");
    app->scene.modified = true;
    app->askCloseQuestion();
    frame();
    press(*app->screen.question.yesButton);
    chooser = shownChooser();
    ASSERT_NE(chooser, nullptr);
    press(chooser->cancelButton());
    EXPECT_TRUE(shell.closeRequests.empty());
    EXPECT_TRUE(app->scene.modified);
    EXPECT_FALSE(std::filesystem::exists(app->scene.filePath));
}

}  // namespace
}  // namespace morvanex::test
