// The options of the sweep panels as a person sets them: the tube or
// surface tool pressed, boxes typed into, radios, toggles and sliders
// clicked, the preview and the built "Mesh" checked afterwards.
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "app/editor_test_support.h"
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
        clickWidget(*m().tabs->tabs[1]);
    }
    ModelingPanelWidgets& m() { return app->screen.tools.modeling; }
    ToolPanelValues& values() { return app->screen.tools.values; }
    const SceneObject& preview() {
        const SceneObject* shown = app->sweeps().preview(app->scene);
        if (shown == nullptr) throw std::runtime_error("no preview");
        return *shown;
    }
    void press(Control3d& widget) {
        clickWidget(widget);
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
    void drag(int x0, int y0, int x1, int y1) {
        mouse(wm::MouseMove, x0, y0);
        frame();
        mouse(wm::LButtonDown, x0, y0, mouse_keys::Left);
        mouse(wm::MouseMove, x1, y1, mouse_keys::Left);
        mouse(wm::LButtonUp, x1, y1);
        frame();
    }
    void dragPoint(Vec3 from, Vec3 to) {
        const FrameView view = cameraFrameView(app->camera, width, height);
        const auto pixel = [&](Vec3 p) {
            const Vec4 clip = transform(Vec4{p.x, p.y, p.z, 1.0f}, view.view * view.projection);
            return std::pair{static_cast<int>(std::lround((clip.x / clip.w + 1.0f) * 0.5f * static_cast<float>(width))),
                             static_cast<int>(std::lround((1.0f - clip.y / clip.w) * 0.5f * static_cast<float>(height)))};
        };
        const auto [x0, y0] = pixel(from);
        const auto [x1, y1] = pixel(to);
        drag(x0, y0, x1, y1);
    }
};

TEST_F(SweepOptionsTest, ThicknessAndTwistRebuildThePreviewAndTheBuildButtonKeepsThem) {
    press(*m().tube);
    const int thin = preview().triangleCount;
    typeInto(*m().thicknessSlider->editBox, "0.3");
    // Two walls and the rings that join them: 10 section samples, two ends.
    EXPECT_EQ(preview().triangleCount, 2 * thin + 2 * 2 * 10);
    EXPECT_EQ(app->scene.findObject(kTubeName), &preview()) << "one preview at a time";

    const std::vector<MeshVertex> straight = preview().vertices;
    drag(m().twistSlider->knobLeft() + 6, m().twistSlider->knobTop() + 6, m().twistSlider->knobLeft() + 36,
         m().twistSlider->knobTop() + 6);
    EXPECT_GT(values().twist, 0.5f);
    EXPECT_NE(preview().vertices[straight.size() / 3].position, straight[straight.size() / 3].position);
    if (const char* folder = std::getenv("MORVANEX_TOOL_SHOTS")) {
        saveScreenshot(std::filesystem::path(folder) / "tube-twist-thickness.png");
    }
    press(*m().buildTubeButton);
    ASSERT_NE(app->currentObject, nullptr);
    EXPECT_EQ(app->currentObject->name, kLastingSweepName);
    EXPECT_EQ(app->currentObject->vertices.back().position, preview().vertices.back().position);
}

TEST_F(SweepOptionsTest, CountBoxesFollowTheirRulesAndAbsurdValuesAreCapped) {
    press(*m().tube);
    EditBox& count = *m().tubeBoxes[0];
    typeInto(count, "2");  // raised to 3 for the tube, left as typed in the box
    EXPECT_EQ(count.text, "2");
    EXPECT_EQ(app->screen.tools.values.sweepCounts[0], 3);
    typeInto(count, "12");  // not "32"
    EXPECT_EQ(app->screen.tools.values.sweepCounts[0], 12);
    typeInto(*m().tubeBoxes[2], "5");  // the section step
    EXPECT_EQ(count.text, "10");
    // 6 x (P - 1) x (S + 1) x k: 16 profile samples, 5 section points, 10 samples each.
    EXPECT_EQ(preview().vertices.size(), 6u * 15u * 5u * 10u);

    for (EditBox* box : {m().curvePointsBox, m().profilePointsBox, m().tubeBoxes[0], m().tubeBoxes[4]}) {
        typeInto(*box, "9999999999");
    }
    EXPECT_EQ(app->sweeps().curves()[0].points.size(), static_cast<std::size_t>(kMaxCurvePoints) + 1);
    EXPECT_EQ(preview().triangleCount, 0) << "too fine: refused whole";
}

TEST_F(SweepOptionsTest, ShapeAndSmoothingRadiosRemakeTheSectionOrApplyThePreset) {
    press(*m().tube);
    CurveEditor& section = app->sweeps().curves()[0];
    const Vec3 round = section.points[1].point;
    dragPoint(round, round + Vec3{5.0f, 0.0f, 0.0f});
    press(*m().sweepShapeRadios[0]);  // free: as edited
    EXPECT_GT(distance(section.points[1].point, round), 2.0f);
    press(*m().sweepShapeRadios[1]);  // round again
    EXPECT_LT(distance(section.points[1].point, round), 1e-4f);
    press(*m().smoothingRadios[1]);
    EXPECT_EQ(section.kind, CurveKind::Rectangle);
    EXPECT_EQ(section.pointCount % 4, 3);

    values().twist = 1.0f;
    press(*m().sweepShapeRadios[2]);
    EXPECT_EQ(m().tubeBoxes[0]->text, "3");
    EXPECT_EQ(m().tubeBoxes[1]->text, "4");
    EXPECT_EQ(m().twistSlider->editBox->text, "0.000");
}

TEST_F(SweepOptionsTest, SurfaceBoxesAndAxisShapeThePreviewAndComeBackWithIt) {
    press(*m().surface);
    typeInto(*m().surfaceBoxes[3], "3");
    EXPECT_EQ(app->sweeps().curves()[0].arches, 2) << "made even";
    typeInto(*m().surfaceBoxes[5], "");
    typeInto(*m().surfaceBoxes[2], "25");
    // Once left, the boxes show what the surface uses.
    EXPECT_EQ(m().surfaceBoxes[3]->text, "4.000");
    EXPECT_EQ(m().surfaceBoxes[5]->text, "4") << "at least 4";
    EXPECT_NEAR(preview().boundsMax.y, 25.0f, 0.5f);
    press(*m().sweepAxisRadios[0]);  // it faces along x now
    EXPECT_NEAR(preview().boundsMax.x, 25.0f, 0.5f);
    EXPECT_FLOAT_EQ(preview().boundsMax.y - preview().boundsMin.y, 100.0f);
    press(*m().buildSurfaceButton);

    press(*m().cube);
    values().sweepAxis = 1;  // as another surface would have left it
    ASSERT_TRUE(app->screen.top.reopenSurface->visible);
    press(*app->screen.top.reopenSurface);
    EXPECT_TRUE(m().surface->checked);
    EXPECT_TRUE(m().sweepAxisRadios[0]->checked);
    EXPECT_NEAR(preview().boundsMax.x, 25.0f, 0.5f);
}

TEST_F(SweepOptionsTest, TheTopBarReopensTheTubeOfTheCurrentMeshAndLocksItsPoints) {
    TopBarWidgets& top = app->screen.top;
    press(*m().tube);
    EXPECT_TRUE(top.lockY->visible && top.repeatTube->visible);
    EXPECT_FALSE(top.reopenTube->visible);
    press(*m().buildTubeButton);
    const SceneObject* mesh = app->currentObject;
    press(*m().cube);  // the sweep closes
    EXPECT_TRUE(top.reopenTube->visible);
    EXPECT_FALSE(top.lockY->visible);
    press(*top.reopenTube);
    EXPECT_TRUE(m().tube->checked);
    EXPECT_EQ(app->currentObject, mesh);
    EXPECT_EQ(preview().triangleCount, mesh->triangleCount);

    press(*top.lockY);  // a dragged profile point keeps its height
    CurveEditor& profile = app->sweeps().curves()[1];
    const Vec3 point = profile.points[2].point;
    dragPoint(point, point + Vec3{-4.0f, 6.0f, 0.0f});
    EXPECT_FLOAT_EQ(profile.points[2].point.y, point.y);
    EXPECT_LT(profile.points[2].point.x, point.x - 2.0f);

    press(*top.repeatTube);  // the round section's own handle rule: smooth joints
    CurveEditor& section = app->sweeps().curves()[0];
    const Vec3 first = section.points[1].point;
    dragPoint(first, first + Vec3{6.0f, 0.0f, 0.0f});
    const CurvePoint& moved = section.points[1];
    EXPECT_GT(distance(moved.point, first), 2.0f);
    EXPECT_LT(length(cross(normalize(moved.point - section.points[0].handle2), normalize(moved.handle1 - moved.point))), 1e-3f);
}

}  // namespace
}  // namespace morvanex::test
