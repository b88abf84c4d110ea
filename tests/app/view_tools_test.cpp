// Selection and the transform tools driven as a person drives them: the
// pointer brought over the view, pressed, dragged and released through the
// application's message handler, with frames drawn in between.
#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "app/editor_test_support.h"
#include "modeling/object_transform.h"
#include "modeling/primitives.h"
#include "scene/scene_object.h"
#include "ui/check_box.h"
#include "ui/label.h"
#include "ui/image_button.h"

namespace morvanex::test {
namespace {

class ViewToolsTest : public EditorTest {
protected:
    ViewToolsTest() {
        width = 1920;
        height = 1080;
    }
    void SetUp() override {
        EditorTest::SetUp();
        clickWidget(*app->screen.cornerButton);  // the editing interface
        app->screen.filePanel->setVisible(false);  // shown over the view at start
        app->screen.modelingPanel->setVisible(true);
        // The eye 30 units before the origin, looking along +z.
        CameraState& camera = app->camera;
        camera.eye = camera.eyeTarget = {0.0f, 0.0f, -30.0f};
        camera.yaw = camera.yawTarget = kHalfPi;
        camera.pitch = camera.pitchTarget = 0.0f;
        box = &app->addPrimitive(makeBox({-2, -2, -2}, {2, -2, 2}, {0, 2, 0}));
        frame();
        frame();
    }
    ModelingPanelWidgets& modeling() { return app->screen.tools.modeling; }
    // Where a world point shows in the window.
    Vec2 onScreen(Vec3 p) {
        const FrameView view = cameraFrameView(app->camera, width, height);
        const Vec4 clip = transform(Vec4{p.x, p.y, p.z, 1.0f}, view.view * view.projection);
        return {(clip.x / clip.w * 0.5f + 0.5f) * static_cast<float>(width),
                (0.5f - clip.y / clip.w * 0.5f) * static_cast<float>(height)};
    }
    // The pointer arrives, and a frame finds what lies under it.
    void pointAt(int x, int y) {
        mouse(wm::MouseMove, x, y);
        frame();
    }
    void clickAt(int x, int y) {
        pointAt(x, y);
        click(x, y);
    }
    // Midway a frame is drawn, and shown as `shot` when screenshots are asked for.
    void drag(int x0, int y0, int x1, int y1, const char* shot = nullptr) {
        pointAt(x0, y0);
        mouse(wm::LButtonDown, x0, y0, mouse_keys::Left);
        mouse(wm::MouseMove, (x0 + x1) / 2, (y0 + y1) / 2, mouse_keys::Left);
        frame();
        if (shot != nullptr) screenshot(shot);
        mouse(wm::MouseMove, x1, y1, mouse_keys::Left);
        mouse(wm::LButtonUp, x1, y1);
        frame();
    }
    void screenshot(const std::string& name) {
        if (const char* folder = std::getenv("MORVANEX_SCREENSHOTS")) {
            saveScreenshot(std::filesystem::path(folder) / (name + ".png"));
        }
    }

    SceneObject* box = nullptr;
};

TEST_F(ViewToolsTest, AClickOnAnObjectMakesItCurrent) {
    ASSERT_EQ(app->currentObject, nullptr);
    pointAt(width / 2, height / 2);
    EXPECT_EQ(app->viewTools.pick.hoveredObject, box);
    EXPECT_TRUE(app->statusLine.objectUnderPointer);  // the object-name hint follows
    clickAt(width / 2, height / 2);
    EXPECT_EQ(app->currentObject, box);
    EXPECT_EQ(app->screen.modelingPanel->title, box->name);
    // A view drag keeps it; a click on nothing releases it.
    drag(width / 2 + 500, height / 2, width / 2 + 540, height / 2);
    EXPECT_EQ(app->currentObject, box);
    clickAt(width / 2 + 500, height / 2);
    EXPECT_EQ(app->currentObject, nullptr);
    // A click quicker than the frames still takes what lies under it.
    mouse(wm::MouseMove, width / 2, height / 2);
    click(width / 2, height / 2);
    EXPECT_EQ(app->currentObject, box);
}

TEST_F(ViewToolsTest, AFreeMoveKeepsTheObjectUnderThePointerAndCtrlZPutsItBack) {
    clickAt(width / 2, height / 2);
    ASSERT_EQ(app->currentObject, box);
    clickWidget(*modeling().translation);
    ASSERT_TRUE(modeling().translation->checked);

    drag(width / 2, height / 2, width / 2 + 150, height / 2 - 60);
    const Vec2 centre = onScreen(transformPoint(box->boundsCentre, box->worldMatrix));
    EXPECT_NEAR(centre.x, static_cast<float>(width / 2 + 150), 0.5f);
    EXPECT_NEAR(centre.y, static_cast<float>(height / 2 - 60), 0.5f);
    EXPECT_EQ(box->position.z, 0.0f);  // in the plane facing the eye
    screenshot("view_tools_move");

    send(wm::KeyDown, vk::Control);
    send(wm::KeyDown, 'Z');
    send(wm::KeyUp, 'Z');
    send(wm::KeyUp, vk::Control);
    EXPECT_EQ(box->position, (Vec3{0, 0, 0}));
    EXPECT_EQ(box->worldMatrix.m[3][0], 0.0f);
}

TEST_F(ViewToolsTest, AtTheWindowEdgeThePointerGoesBackAndTheDragGoesOn) {
    const int x = width / 2;
    const int y = height / 2;
    clickAt(x, y);
    clickWidget(*modeling().translationX);
    pointAt(x, y);
    mouse(wm::LButtonDown, x, y, mouse_keys::Left);
    mouse(wm::MouseMove, width - 1, y, mouse_keys::Left);
    ASSERT_FALSE(shell.pointerMoves.empty());
    EXPECT_EQ(shell.pointerMoves.back(), (std::array<int, 2>{x, y}));
    const float firstLeg = box->position.x;
    EXPECT_GT(firstLeg, 0.0f);
    mouse(wm::MouseMove, x + 100, y, mouse_keys::Left);
    mouse(wm::LButtonUp, x + 100, y);
    EXPECT_GT(box->position.x, firstLeg);
}

TEST_F(ViewToolsTest, ARotationDragTurnsAboutTheUpAxis) {
    clickAt(width / 2, height / 2);
    ASSERT_EQ(app->currentObject, box);
    clickWidget(*modeling().rotationY);
    drag(width / 2, height / 2, width / 2 + 100, height / 2);
    // 100 pixels to the right: -0.5 rad about y, kept as axis and angle.
    const Vec3 x = transformNormal({1, 0, 0}, box->worldMatrix);
    const Vec3 expected = rotate({1, 0, 0}, quatFromAxisAngle({0, 1, 0}, -0.5f));
    EXPECT_NEAR(x.x, expected.x, 1e-5f);
    EXPECT_NEAR(x.z, expected.z, 1e-5f);
    screenshot("view_tools_rotate");
}

TEST_F(ViewToolsTest, DraggingACornerHandleScalesEveryAxis) {
    clickAt(width / 2, height / 2);
    ASSERT_EQ(app->currentObject, box);
    clickWidget(*modeling().resize);
    const Vec2 corner = onScreen(scaleBoxCorners(box->boundsMin, box->boundsMax, box->worldMatrix)[0]);
    pointAt(static_cast<int>(corner.x), static_cast<int>(corner.y));
    ASSERT_EQ(app->viewTools.pick.hoveredHandle, ScaleHandle::Corner);
    screenshot("view_tools_resize");
    drag(static_cast<int>(corner.x), static_cast<int>(corner.y), static_cast<int>(corner.x) + 50,
         static_cast<int>(corner.y) + 200);
    EXPECT_EQ(box->scale, (Vec3{1.5f, 1.5f, 1.5f}));
}

TEST_F(ViewToolsTest, ABoxMadeAwayFromTheOriginTurnsAndScalesAboutItsOwnMiddle) {
    // x 6 to 10, y -1 to 3, z 4 to 8: its middle is (8, 1, 6).
    SceneObject& far = app->addPrimitive(makeBox({6, -1, 4}, {10, -1, 8}, {0, 3, 0}));
    frame();
    const Vec3 middle{8, 1, 6};
    const auto middleNow = [&] { return transformPoint(far.boundsCentre, far.worldMatrix); };
    const Vec2 seen = onScreen(middle);
    clickAt(static_cast<int>(seen.x), static_cast<int>(seen.y));
    ASSERT_EQ(app->currentObject, &far);

    clickWidget(*modeling().rotationY);
    drag(static_cast<int>(seen.x), static_cast<int>(seen.y), static_cast<int>(seen.x) + 80, static_cast<int>(seen.y));
    EXPECT_NEAR(far.rotationAngle, 0.4f, 1e-5f);
    EXPECT_NEAR(distance(middleNow(), middle), 0.0f, 1e-4f);
    const Vec3 up = normalize(transformNormal({0, 1, 0}, far.worldMatrix));
    EXPECT_NEAR(up.y, 1.0f, 1e-5f);

    clickWidget(*modeling().resize);
    frame();
    const Vec2 corner = onScreen(scaleBoxCorners(far.boundsMin, far.boundsMax, far.worldMatrix)[0]);
    pointAt(static_cast<int>(corner.x), static_cast<int>(corner.y));
    ASSERT_EQ(app->viewTools.pick.hoveredHandle, ScaleHandle::Corner);
    drag(static_cast<int>(corner.x), static_cast<int>(corner.y), static_cast<int>(corner.x) + 50,
         static_cast<int>(corner.y));
    EXPECT_EQ(far.scale, (Vec3{1.5f, 1.5f, 1.5f}));
    EXPECT_NEAR(distance(middleNow(), middle), 0.0f, 1e-4f);
}

TEST_F(ViewToolsTest, ACornerDraggedInwardsStopsShortOfZeroAndCtrlZAndTheUndoButtonShareOneHistory) {
    clickAt(width / 2, height / 2);
    ASSERT_EQ(app->currentObject, box);
    clickWidget(*modeling().resize);
    const auto dragCorner = [&](int dx, int dy) {
        frame();
        const Vec2 corner = onScreen(scaleBoxCorners(box->boundsMin, box->boundsMax, box->worldMatrix)[0]);
        const int x = static_cast<int>(corner.x);
        const int y = static_cast<int>(corner.y);
        pointAt(x, y);
        ASSERT_EQ(app->viewTools.pick.hoveredHandle, ScaleHandle::Corner);
        drag(x, y, x + dx, y + dy);
    };
    const auto controlKey = [&](std::uint32_t key) {
        send(wm::KeyDown, vk::Control);
        send(wm::KeyDown, key);
        send(wm::KeyUp, key);
        send(wm::KeyUp, vk::Control);
    };
    const Vec3 whole{1, 1, 1};
    const Vec3 least{kLeastScale, kLeastScale, kLeastScale};

    // A hundred pixels inwards would be a scale of 0: the box stays, small.
    dragCorner(-100, 90);
    EXPECT_EQ(box->scale, least);
    EXPECT_TRUE(inverse(box->worldMatrix).has_value());
    controlKey('Z');
    EXPECT_EQ(box->scale, whole);
    controlKey('Y');
    EXPECT_EQ(box->scale, least);
    clickWidget(*modeling().undoButton);
    EXPECT_EQ(box->scale, whole);

    // Outwards, after an undo: undone by the button, redone and undone by keys.
    dragCorner(100, 0);
    EXPECT_EQ(box->scale, (Vec3{2, 2, 2}));
    clickWidget(*modeling().undoButton);
    EXPECT_EQ(box->scale, whole);
    controlKey('Y');
    EXPECT_EQ(box->scale, (Vec3{2, 2, 2}));
    controlKey('Z');
    EXPECT_EQ(box->scale, whole);
    EXPECT_EQ(app->scene.indexOf(box) >= 0, true);
}

TEST_F(ViewToolsTest, TheWeightToolTakesEveryCopyOfTheCornerUnderThePointer) {
    clickAt(width / 2, height / 2);
    clickWidget(*modeling().weightSelection);
    const Vec3 corner{-2, 2, -2};
    const Vec2 at = onScreen(corner);
    pointAt(static_cast<int>(at.x), static_cast<int>(at.y));
    ASSERT_TRUE(app->viewTools.pick.markerHovered);
    EXPECT_TRUE(app->viewTools.pick.vertexInfoShown);  // the read-out follows the pointer
    frame();
    screenshot("view_tools_weights");
    click(static_cast<int>(at.x), static_cast<int>(at.y));
    std::size_t copies = 0;
    for (std::size_t i = 0; i < box->vertices.size(); ++i) {
        const bool here = box->vertices[i].position == corner;
        copies += here ? 1 : 0;
        EXPECT_EQ(box->vertexSelected[i] != 0, here);
    }
    EXPECT_GE(copies, 3u);
    // An edit of the mesh in place moves the markers with it.
    for (MeshVertex& vertex : box->vertices) vertex.position.x += 1.0f;
    box->meshChanged();
    const Vec3 shifted = corner + Vec3{1, 0, 0};
    const Vec2 moved = onScreen(shifted);
    pointAt(static_cast<int>(moved.x), static_cast<int>(moved.y));
    ASSERT_TRUE(app->viewTools.pick.markerHovered);
    EXPECT_EQ(app->viewTools.pick.hoveredVertexPosition, shifted);
}

TEST_F(ViewToolsTest, ThePointMoveTakesTheFirstClickedVertexOntoTheSecond) {
    clickAt(width / 2, height / 2);
    box->position = {1, 0, 0};
    rebuildWorldMatrix(*box);
    clickWidget(*modeling().translationPlane);
    for (const Vec3 vertex : {Vec3{-1, -2, -2}, Vec3{3, 2, -2}}) {
        const Vec2 at = onScreen(vertex);
        clickAt(static_cast<int>(at.x), static_cast<int>(at.y));
    }
    EXPECT_EQ(box->position, (Vec3{5, 4, 0}));
    EXPECT_EQ(app->viewTools.selection.toolStep, 0);
}

TEST_F(ViewToolsTest, ADeletedObjectIsForgottenBeforeTheNextFrame) {
    clickAt(width / 2, height / 2);
    ASSERT_EQ(app->viewTools.pick.hoveredObject, box);
    clickWidget(*modeling().deleteObjectButton);
    EXPECT_EQ(app->viewTools.pick.hoveredObject, nullptr);
    mouse(wm::LButtonDown, width / 2, height / 2, mouse_keys::Left);  // where it was
    mouse(wm::LButtonUp, width / 2, height / 2);
    EXPECT_EQ(app->currentObject, nullptr);
}

TEST_F(ViewToolsTest, OnceTheGroupIsEnteredAMemberDraggedMovesItsLeader) {
    SceneObject& member = app->addPrimitive(makeBox({5, -1, -1}, {7, -1, 1}, {0, 1, 0}));
    member.groupLeader = box;
    const Vec2 at = onScreen({6, 0, -1});
    clickAt(static_cast<int>(at.x), static_cast<int>(at.y));
    ASSERT_EQ(app->currentObject, &member);
    app->screen.top.enterGroup->visible = true;  // shown by the group's own commands
    frame();
    // Shown with the toggles, it is put beside them, not under one.
    clickWidget(*app->screen.top.enterGroup);
    ASSERT_EQ(app->currentObject, box);
    clickWidget(*modeling().translationX);
    drag(static_cast<int>(at.x), static_cast<int>(at.y), static_cast<int>(at.x) + 80, static_cast<int>(at.y));
    EXPECT_GT(box->position.x, 0.0f);
    EXPECT_EQ(member.position, (Vec3{0, 0, 0}));
}

TEST_F(ViewToolsTest, TheGroupToolEditsMembersAndAnOpenGroupKeepsPickingToThem) {
    SceneObject& other = app->addPrimitive(makeBox({5, -1, -1}, {7, -1, 1}, {0, 1, 0}));
    SceneObject& outsider = app->addPrimitive(makeBox({-7, -1, -1}, {-5, -1, 1}, {0, 1, 0}));
    const Vec2 otherAt = onScreen({6, 0, -1});
    const Vec2 outsiderAt = onScreen({-6, 0, -1});
    const auto clickOn = [&](Vec2 at) { clickAt(static_cast<int>(at.x), static_cast<int>(at.y)); };
    clickAt(width / 2, height / 2);
    clickWidget(*modeling().groupSelection);
    ASSERT_TRUE(app->groupPageOpen());

    clickOn(otherAt);
    EXPECT_EQ(other.groupLeader, box);
    EXPECT_EQ(app->currentObject, box);  // editing the group keeps the current object
    frame();
    screenshot("view_tools_group");
    EXPECT_EQ(app->screen.tools.settings.groupMembersText->text.rfind("Members: 1", 0), 0u)
        << app->screen.tools.settings.groupMembersText->text;

    // Browsing the open group, only its members are under the pointer.
    clickWidget(*modeling().translation);
    pointAt(static_cast<int>(outsiderAt.x), static_cast<int>(outsiderAt.y));
    EXPECT_EQ(app->viewTools.pick.hoveredObject, nullptr);
    pointAt(static_cast<int>(otherAt.x), static_cast<int>(otherAt.y));
    EXPECT_EQ(app->viewTools.pick.hoveredObject, &other);

    clickWidget(*modeling().groupSelection);
    clickOn(otherAt);
    EXPECT_EQ(other.groupLeader, nullptr);
    EXPECT_EQ(outsider.groupLeader, nullptr);
}

TEST_F(ViewToolsTest, ARectangleWithTheToggleCheckedSelectsTheFacesInsideThatFaceTheEye) {
    clickAt(width / 2, height / 2);
    ASSERT_EQ(app->currentObject, box);
    clickWidget(*modeling().faceSelection);
    ImageButton& toggle = *app->screen.top.rectangleSelection;
    clickWidget(toggle);
    ASSERT_TRUE(toggle.checked);

    // Around the whole box: only the two triangles of its front face (z = -2) look at the eye.
    const Vec2 low = onScreen({-2.5f, 2.5f, -2.0f});
    const Vec2 high = onScreen({2.5f, -2.5f, -2.0f});
    drag(static_cast<int>(low.x), static_cast<int>(low.y), static_cast<int>(high.x), static_cast<int>(high.y),
         "view_tools_rectangle");
    int selected = 0;
    for (std::size_t t = 0; t < box->faceSelected.size(); ++t) {
        if (box->faceSelected[t] == 0) continue;
        ++selected;
        EXPECT_EQ(box->vertices[static_cast<std::size_t>(box->indices[3 * t])].position.z, -2.0f);
    }
    EXPECT_EQ(selected, 2);
    // Selecting through takes the faces turned away as well: the whole box.
    clickWidget(*modeling().selectThroughCheck);
    ASSERT_TRUE(app->screen.tools.values.selectThrough);
    drag(static_cast<int>(low.x), static_cast<int>(low.y), static_cast<int>(high.x), static_cast<int>(high.y));
    EXPECT_EQ(std::count(box->faceSelected.begin(), box->faceSelected.end(), 1), 12);
    // A rectangle beside the box replaces the selection with nothing.
    drag(100, 500, 200, 600);
    EXPECT_EQ(std::count(box->faceSelected.begin(), box->faceSelected.end(), 1), 0);
}

TEST_F(ViewToolsTest, InSliceModeAClickTakesEveryFaceCrossingItsHeight) {
    clickAt(width / 2, height / 2);
    clickWidget(*modeling().faceSelection);
    clickWidget(*modeling().faceSliceCheck);
    ASSERT_TRUE(app->screen.tools.values.faceSliceMode);
    clickAt(width / 2, height / 2);
    frame();
    screenshot("view_tools_slice");
    // The four sides cross y = 0; the top and the bottom do not.
    for (std::size_t t = 0; t < box->faceSelected.size(); ++t) {
        const float y0 = box->vertices[static_cast<std::size_t>(box->indices[3 * t])].position.y;
        const float y1 = box->vertices[static_cast<std::size_t>(box->indices[3 * t + 1])].position.y;
        const float y2 = box->vertices[static_cast<std::size_t>(box->indices[3 * t + 2])].position.y;
        EXPECT_EQ(box->faceSelected[t] != 0, !(y0 == y1 && y1 == y2)) << t;
    }
}

}  // namespace
}  // namespace morvanex
