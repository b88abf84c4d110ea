// The placement and sweep tools driven as a person drives them: a tool
// pressed on the modeling panel's second tab, clicks in the view, the
// object in the scene, Ctrl+Z.
#include <cmath>
#include <cstdlib>

#include "app/editor_test_support.h"
#include "app/primitive_placement.h"
#include "render/scene_passes.h"
#include "scene/scene_object.h"
#include "ui/image_button.h"
#include "ui/tab_strip.h"

namespace morvanex::test {
namespace {

class PlacementToolsTest : public EditorTest {
protected:
    PlacementToolsTest() {
        width = 1920;
        height = 1080;
    }
    void SetUp() override {
        EditorTest::SetUp();
        clickWidget(*app->screen.cornerButton);  // the editing interface
        app->screen.filePanel->setVisible(false);  // a new scene opens on it
        app->screen.modelingPanel->setVisible(true);
        // Looking towards +z and down at the ground from 60 up.
        CameraState& c = app->camera;
        c.eye = c.eyeTarget = {0.0f, 60.0f, -100.0f};
        c.yaw = c.yawTarget = kHalfPi;
        c.pitch = c.pitchTarget = 0.5f;
        frame();
        clickWidget(*modeling().tabs->tabs[1]);
        frame();
    }
    ModelingPanelWidgets& modeling() { return app->screen.tools.modeling; }
    void clickAt(Vec3 p) {
        const auto [x, y] = pixelOf(p);
        click(x, y);
        frame();
    }};

TEST_F(PlacementToolsTest, ThreeClicksWithTheCubeToolMakeABoxThatCtrlZTakesBack) {
    clickWidget(*modeling().cube);
    ASSERT_TRUE(modeling().cube->checked);
    const std::size_t before = app->scene.objectCount();

    clickAt({-10.0f, 0.0f, 0.0f});
    EXPECT_EQ(app->placement().step(), 1);  // the cube hint of step 2 shows now
    clickAt({10.0f, 0.0f, 15.0f});
    EXPECT_EQ(app->placement().step(), 2);
    const auto [x, y] = pixelOf({10.0f, 8.0f, 15.0f});
    mouse(wm::MouseMove, x, y);
    EXPECT_FALSE(app->placement().rubberBandLines().empty());
    frame();
    if (const char* folder = std::getenv("MORVANEX_SCREENSHOTS")) saveScreenshot(std::filesystem::path(folder) / "cube-height.png");
    clickAt({10.0f, 8.0f, 15.0f});

    ASSERT_EQ(app->scene.objectCount(), before + 1);
    const SceneObject& box = *app->scene.objects().back();
    EXPECT_EQ(box.name, "boite");
    EXPECT_EQ(box.triangleCount, 12);
    // Within a pixel's reach at this distance.
    const Vec3 size = box.boundsMax - box.boundsMin;
    EXPECT_NEAR(size.x, 20.0f, 0.3f);
    EXPECT_NEAR(size.y, 8.0f, 0.3f);
    EXPECT_NEAR(size.z, 15.0f, 0.3f);
    EXPECT_NEAR(box.boundsMin.y, 0.0f, 0.01f);
    EXPECT_FALSE(modeling().cube->checked);  // the tool is released
    EXPECT_EQ(app->placement().step(), 0);

    controlKey('Z');
    EXPECT_EQ(app->scene.objectCount(), before);
}

TEST_F(PlacementToolsTest, TheSphereToolTakesACentreAndARadius) {
    clickWidget(*modeling().sphere);
    clickAt({0.0f, 0.0f, 10.0f});
    clickAt({6.0f, 0.0f, 10.0f});
    const SceneObject& sphere = *app->scene.objects().back();
    EXPECT_EQ(sphere.name, "Sph\xE8re");
    EXPECT_NEAR(sphere.boundsMax.x - sphere.boundsMin.x, 12.0f, 0.3f);
}

TEST_F(PlacementToolsTest, TheQuadToolStandsAWallOnTwoGroundPointsFacingTheViewer) {
    clickWidget(*modeling().quad);
    EXPECT_EQ(app->screen.tools.values.primitiveSize, 10.0f);  // ten cells each way
    clickAt({-10.0f, 0.0f, 10.0f});
    clickAt({10.0f, 0.0f, 10.0f});
    clickAt({10.0f, 10.0f, 10.0f});
    const SceneObject& quad = *app->scene.objects().back();
    ASSERT_EQ(quad.name, "Quad");
    EXPECT_EQ(quad.triangleCount, 200);
    EXPECT_NEAR(quad.boundsMax.x - quad.boundsMin.x, 20.0f, 0.3f);
    EXPECT_NEAR(quad.boundsMax.y - quad.boundsMin.y, 10.0f, 0.3f);
    EXPECT_LT(quad.vertices.front().normal.z, -0.99f);  // towards the eye at z = -100
}

TEST_F(PlacementToolsTest, TheTubeToolShowsAPreviewThatTheBuildButtonMakesLasting) {
    clickWidget(*modeling().tube);
    frame();
    const SceneObject* preview = app->sweeps().preview(app->scene);
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->name, "tubage");
    EXPECT_GT(preview->triangleCount, 0);
    if (const char* folder = std::getenv("MORVANEX_SCREENSHOTS")) saveScreenshot(std::filesystem::path(folder) / "tube.png");

    // Dragging the section's first point outwards widens the tube.
    const Vec3 first = app->sweeps().curves()[0].points[0].point;
    const float before = preview->boundsMax.x;
    const auto [x0, y0] = pixelOf(first);
    const auto [x1, y1] = pixelOf(first + Vec3{6.0f, 0.0f, 0.0f});
    mouse(wm::MouseMove, x0, y0);
    mouse(wm::LButtonDown, x0, y0, mouse_keys::Left);
    mouse(wm::MouseMove, x1, y1, mouse_keys::Left);
    mouse(wm::LButtonUp, x1, y1);
    frame();
    preview = app->sweeps().preview(app->scene);
    ASSERT_NE(preview, nullptr);
    EXPECT_GT(preview->boundsMax.x, before + 3.0f);

    const std::size_t count = app->scene.objectCount();
    clickWidget(*modeling().buildTubeButton);
    ASSERT_EQ(app->scene.objectCount(), count + 1);
    ASSERT_NE(app->currentObject, nullptr);
    EXPECT_EQ(app->currentObject->name, "Mesh");
    EXPECT_EQ(app->currentObject->triangleCount, preview->triangleCount);
    EXPECT_TRUE(app->currentObject->sweepCurves.present);

    // Another tool closes the sweep: its preview leaves the scene.
    clickWidget(*modeling().cube);
    frame();
    EXPECT_EQ(app->scene.findObject("tubage"), nullptr);
}

// The face tools take the hovered vertex markers only; a click beside any
// marker is left to the camera.
class MarkerHost final : public PlacementHost {
public:
    PlacementTool pressedPlacementTool() const override { return tool; }
    std::optional<Vec3> hoveredVertexMarker() const override { return marker; }
    float groundHeight() const override { return 0.0f; }
    Vec3 viewerEye() const override { return {0.0f, 0.0f, -50.0f}; }
    PlacementSettings placementSettings() const override { return {}; }
    void placePrimitive(std::unique_ptr<SceneObject> object) override { placed.push_back(std::move(object)); }

    PlacementTool tool = PlacementTool::QuadFace;
    std::optional<Vec3> marker;
    std::vector<std::unique_ptr<SceneObject>> placed;
};

TEST(FacePlacement, FourMarkersMakeTwoTrianglesFacingTheViewer) {
    MarkerHost host;
    PrimitivePlacement placement(host);
    const Ray ray{{0.0f, 0.0f, -50.0f}, {0.0f, 0.0f, 1.0f}};
    EXPECT_FALSE(placement.click(ray));  // no marker under the pointer
    for (Vec3 p : {Vec3{0, 0, 0}, Vec3{0, 4, 0}, Vec3{4, 4, 0}, Vec3{4, 0, 0}}) {
        host.marker = p;
        EXPECT_TRUE(placement.click(ray));
    }
    ASSERT_EQ(host.placed.size(), 1u);
    const SceneObject& face = *host.placed.front();
    EXPECT_EQ(face.name, "Face");
    EXPECT_EQ(face.triangleCount, 2);
    EXPECT_LT(face.vertices.front().normal.z, -0.99f);
    EXPECT_EQ(placement.step(), 0);

    // Pressing another tool drops the points taken so far.
    placement.click(ray);
    host.tool = PlacementTool::TriangleFace;
    EXPECT_EQ(placement.step(), 0);
    placement.click(ray);
    placement.click(ray);
    EXPECT_EQ(host.placed.size(), 1u);
    EXPECT_EQ(placement.step(), 2);
}

}  // namespace
}  // namespace morvanex::test
