// The options of the sweep panels as a person sets them: the tube or
// surface tool pressed, boxes typed into, radios, checks and sliders
// clicked, the preview and the built "Mesh" checked afterwards.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "app/editor_test_support.h"
#include "modeling/primitives.h"
#include "scene/scene_object.h"
#include "ui/check_box.h"
#include "ui/edit_box.h"
#include "ui/image_button.h"
#include "ui/slider.h"
#include "ui/tab_strip.h"

namespace morvanex::test {
namespace {

class SweepOptionsTest : public EditorTest {
protected:
    SweepOptionsTest() {
        width = 1920;
        height = 1080;
    }
    void SetUp() override {
        EditorTest::SetUp();
        clickWidget(*app->screen.cornerButton);  // the editing interface
        app->screen.filePanel->setVisible(false);
        app->screen.modelingPanel->setVisible(true);
        CameraState& c = app->camera;
        c.eye = c.eyeTarget = {0.0f, 40.0f, -70.0f};
        c.yaw = c.yawTarget = kHalfPi;
        c.pitch = c.pitchTarget = 0.35f;
        frame();
        clickWidget(*modeling().tabs->tabs[1]);
        frame();
    }
    ModelingPanelWidgets& modeling() { return app->screen.tools.modeling; }
    ToolPanelValues& values() { return app->screen.tools.values; }
    const SceneObject& preview() {
        const SceneObject* shown = app->sweeps().preview(app->scene);
        EXPECT_NE(shown, nullptr);
        static const SceneObject none("none");
        return shown != nullptr ? *shown : none;
    }
    void press(ImageButton* tool) {
        clickWidget(*tool);
        frame();
    }
    // Clicked, emptied with Backspace and typed into, each key applied.
    void typeInto(EditBox& box, std::string_view text) {
        click(box.boxLeft() + box.boxWidth / 3, box.boxTop() + box.boxHeight / 2);
        keyDown(vk::End);
        for (std::size_t n = box.text.size(); n > 0; --n) keyDown(vk::Back);
        type(text);
        frame();
    }
    void dragKnob(const Cursor& slider, int dx) {
        const int x = slider.knobLeft() + 6;
        const int y = slider.knobTop() + 6;
        mouse(wm::MouseMove, x, y);
        mouse(wm::LButtonDown, x, y, mouse_keys::Left);
        mouse(wm::MouseMove, x + dx, y, mouse_keys::Left);
        mouse(wm::LButtonUp, x + dx, y);
        frame();
    }
    // The pixel that shows a world point.
    std::pair<int, int> pixelOf(Vec3 p) {
        const FrameView view = cameraFrameView(app->camera, width, height);
        const Vec4 clip = transform(Vec4{p.x, p.y, p.z, 1.0f}, view.view * view.projection);
        return {static_cast<int>(std::lround((clip.x / clip.w + 1.0f) * 0.5f * static_cast<float>(width))),
                static_cast<int>(std::lround((1.0f - clip.y / clip.w) * 0.5f * static_cast<float>(height)))};
    }
    void dragPoint(Vec3 from, Vec3 to) {
        const auto [x0, y0] = pixelOf(from);
        const auto [x1, y1] = pixelOf(to);
        mouse(wm::MouseMove, x0, y0);
        frame();
        mouse(wm::LButtonDown, x0, y0, mouse_keys::Left);
        mouse(wm::MouseMove, x1, y1, mouse_keys::Left);
        mouse(wm::LButtonUp, x1, y1);
        frame();
    }
    void shot(const char* name) {
        if (const char* folder = std::getenv("MORVANEX_TOOL_SHOTS")) {
            frame();
            saveScreenshot(std::filesystem::path(folder) / name);
        }
    }
};

TEST_F(SweepOptionsTest, ThicknessAndTwistRebuildThePreviewAndTheBuildButtonKeepsThem) {
    press(modeling().tube);
    const SceneObject* first = &preview();
    const int thin = first->triangleCount;
    ASSERT_GT(thin, 0);

    typeInto(*modeling().thicknessSlider->editBox, "0.3");
    EXPECT_FLOAT_EQ(values().thickness, 0.3f);
    // Two walls and the rings that join them: 10 section samples, two ends.
    EXPECT_EQ(preview().triangleCount, 2 * thin + 2 * 2 * 10);
    EXPECT_EQ(app->scene.findObject(kTubeName), &preview()) << "one preview at a time";

    const std::vector<MeshVertex> straight = preview().vertices;
    dragKnob(*modeling().twistSlider, 30);
    EXPECT_GT(values().twist, 0.5f);
    ASSERT_EQ(preview().vertices.size(), straight.size());
    EXPECT_NE(preview().vertices[straight.size() / 3].position, straight[straight.size() / 3].position);
    shot("tube-twist-thickness.png");

    clickWidget(*modeling().buildTubeButton);
    ASSERT_NE(app->currentObject, nullptr);
    EXPECT_EQ(app->currentObject->name, kLastingSweepName);
    EXPECT_EQ(app->currentObject->triangleCount, preview().triangleCount);
    EXPECT_EQ(app->currentObject->vertices.back().position, preview().vertices.back().position);
}

TEST_F(SweepOptionsTest, TheSectionStepRoundsTheCountDownToAMultipleOfIt) {
    press(modeling().tube);
    EditBox& count = *modeling().tubeBoxes[0];
    typeInto(count, "2");  // emptied, it was raised to 3 at once
    ASSERT_EQ(count.text, "32");
    typeInto(*modeling().tubeBoxes[2], "5");
    EXPECT_EQ(count.text, "30");
    // 6 x (P - 1) x (S + 1) x k: 16 profile samples, 5 section points, 30 samples each.
    EXPECT_EQ(preview().vertices.size(), 6u * 15u * 5u * 30u);
}

TEST_F(SweepOptionsTest, ShapeAndSmoothingRadiosRemakeTheSectionOrApplyThePreset) {
    press(modeling().tube);
    CurveEditor& section = app->sweeps().curves()[0];
    const Vec3 round = section.points[1].point;
    dragPoint(round, round + Vec3{5.0f, 0.0f, 0.0f});
    ASSERT_GT(distance(section.points[1].point, round), 2.0f);

    clickWidget(*modeling().sweepShapeRadios[0]);  // free: as edited
    EXPECT_GT(distance(section.points[1].point, round), 2.0f);
    clickWidget(*modeling().sweepShapeRadios[1]);  // round again
    EXPECT_LT(distance(section.points[1].point, round), 1e-4f);

    clickWidget(*modeling().smoothingRadios[1]);
    EXPECT_EQ(section.kind, CurveKind::Rectangle);
    EXPECT_EQ(section.pointCount % 4, 3);

    values().twist = 1.0f;
    clickWidget(*modeling().sweepShapeRadios[2]);
    EXPECT_EQ(modeling().tubeBoxes[0]->text, "3");
    EXPECT_EQ(modeling().tubeBoxes[1]->text, "4");
    EXPECT_EQ(values().twist, 0.0f);
    EXPECT_EQ(modeling().twistSlider->editBox->text, "0.000");
}

TEST_F(SweepOptionsTest, SurfaceBoxesAndAxisRadiosShapeThePreview) {
    press(modeling().surface);
    EXPECT_EQ(preview().name, kSurfaceName);
    typeInto(*modeling().surfaceBoxes[3], "3");
    EXPECT_EQ(modeling().surfaceBoxes[3]->text, "4.000") << "made even";
    EXPECT_EQ(app->sweeps().curves()[0].arches, 2);
    typeInto(*modeling().surfaceBoxes[5], "");
    EXPECT_EQ(modeling().surfaceBoxes[5]->text, "4") << "at least 4";
    typeInto(*modeling().surfaceBoxes[2], "25");
    EXPECT_NEAR(preview().boundsMax.y, 25.0f, 0.5f);

    clickWidget(*modeling().sweepAxisRadios[0]);  // it faces along x now
    EXPECT_NEAR(preview().boundsMax.x, 25.0f, 0.5f);
    EXPECT_FLOAT_EQ(preview().boundsMax.y - preview().boundsMin.y, 100.0f);  // across, now along y
    shot("surface-axis-x.png");
    clickWidget(*modeling().buildSurfaceButton);
    ASSERT_NE(app->currentObject, nullptr);
    EXPECT_EQ(app->currentObject->triangleCount, preview().triangleCount);

    // Opened again from the top bar, it comes back with its own axis.
    press(modeling().cube);
    values().sweepAxis = 1;  // as another surface would have left it
    ASSERT_TRUE(app->screen.top.reopenSurface->visible);
    clickWidget(*app->screen.top.reopenSurface);
    frame();
    EXPECT_TRUE(modeling().sweepAxisRadios[0]->checked);
    EXPECT_FALSE(modeling().sweepAxisRadios[1]->checked);
    EXPECT_NEAR(preview().boundsMax.x, 25.0f, 0.5f);
}

TEST_F(SweepOptionsTest, AbsurdCountsAndSizesAreCappedNotAllocated) {
    press(modeling().tube);
    typeInto(*modeling().curvePointsBox, "999999999");
    typeInto(*modeling().profilePointsBox, "999999999");
    typeInto(*modeling().tubeBoxes[0], "99999999");
    typeInto(*modeling().tubeBoxes[4], "99999999999");
    typeInto(*modeling().thicknessSlider->editBox, "-5");
    frame();
    EXPECT_LE(app->sweeps().curves()[0].points.size(), static_cast<std::size_t>(kMaxCurvePoints) + 1);
    EXPECT_LE(preview().vertices.size(), 6u * static_cast<std::size_t>(kMaxPatchCells));
    press(modeling().surface);
    typeInto(*modeling().surfaceBoxes[3], "99999999");
    typeInto(*modeling().surfaceBoxes[6], "99999999");
    EXPECT_EQ(modeling().surfaceBoxes[6]->text, "256");
    EXPECT_LE(app->sweeps().curves()[0].arches, kMaxSurfaceSubdivisions / 2);
    EXPECT_LE(preview().vertices.size(), 6u * static_cast<std::size_t>(kMaxPatchCells));
}

TEST_F(SweepOptionsTest, TheTopBarReopensTheSweepOfTheCurrentMeshAndLocksItsPoints) {
    TopBarWidgets& top = app->screen.top;
    press(modeling().tube);
    EXPECT_TRUE(top.lockY->visible);
    EXPECT_TRUE(top.repeatTube->visible);
    EXPECT_FALSE(top.reopenTube->visible);
    values().twist = 0.5f;
    frame();
    clickWidget(*modeling().buildTubeButton);
    const SceneObject* mesh = app->currentObject;
    ASSERT_NE(mesh, nullptr);
    press(modeling().cube);  // the sweep closes
    EXPECT_TRUE(top.reopenTube->visible);
    EXPECT_FALSE(top.reopenSurface->visible);
    EXPECT_FALSE(top.lockY->visible);

    clickWidget(*top.reopenTube);
    frame();
    EXPECT_TRUE(modeling().tube->checked);
    EXPECT_EQ(app->currentObject, mesh);
    ASSERT_EQ(app->sweeps().tool(), SweepTool::Tube);
    EXPECT_EQ(preview().triangleCount, mesh->triangleCount);

    // The lock keeps a dragged profile point at its height.
    clickWidget(*top.lockY);
    ASSERT_TRUE(top.lockY->checked);
    CurveEditor& profile = app->sweeps().curves()[1];
    const Vec3 point = profile.points[2].point;
    dragPoint(point, point + Vec3{-4.0f, 6.0f, 0.0f});
    EXPECT_FLOAT_EQ(profile.points[2].point.y, point.y);
    EXPECT_LT(profile.points[2].point.x, point.x - 2.0f);

    // The handle toggle re-places the section's handles by its round rule.
    clickWidget(*top.repeatTube);
    CurveEditor& section = app->sweeps().curves()[0];
    const Vec3 first = section.points[1].point;
    dragPoint(first, first + Vec3{6.0f, 0.0f, 0.0f});
    const CurvePoint& moved = section.points[1];
    const Vec3 in = moved.point - section.points[0].handle2;
    const Vec3 out = moved.handle1 - moved.point;
    EXPECT_GT(distance(moved.point, first), 2.0f);
    EXPECT_LT(length(cross(normalize(in), normalize(out))), 1e-3f) << "a smooth joint";
}

}  // namespace
}  // namespace morvanex::test
