// Opening a scene file straight through the reader: the stored camera comes
// back gliding in, world matrices are rebuilt, and what a damaged file held
// before the damage is kept.
#include "app/scene_open.h"

#include <gtest/gtest.h>

#include "app/test_support.h"
#include "render/camera.h"
#include "scene/scene.h"
#include "scenefile/scene_writer.h"

namespace morvanex {
namespace {

namespace fs = std::filesystem;

void addTriangle(Scene& scene, const std::string& name, Vec3 position) {
    SceneObject& object = scene.addObject(name);
    std::vector<MeshVertex> v(3);
    v[1].position = {1, 0, 0};
    v[2].position = {0, 1, 0};
    object.assignMesh(std::move(v), {0, 1, 2});
    object.position = position;
}

TEST(OpenSceneThroughReader, TheStoredCameraRoundTripsThroughTheFileAndGlidesIn) {
    test::TempFolder temp;
    const fs::path file = temp.path() / "vue.mrx";
    CameraState saved;
    saved.eye = saved.eyeTarget = {12.0f, 34.0f, -56.0f};
    saved.yaw = saved.yawTarget = 0.8f;
    saved.pitch = saved.pitchTarget = 0.25f;
    saved.fieldOfView = 0.9f;
    {
        Scene scene;
        storeCameraInScene(saved, scene);
        addTriangle(scene, "triangle", {5, 0, 0});
        ASSERT_TRUE(writeSceneFile(file, scene, {}).ok);
    }

    Scene scene;
    CameraState camera;
    const SceneReadReport report = openSceneThroughReader(file, scene, camera);
    ASSERT_TRUE(sceneOpened(report));
    EXPECT_NEAR(distance(camera.eyeTarget, saved.eye), 0.0f, 1e-4f);
    EXPECT_FLOAT_EQ(camera.yaw, 0.8f);
    EXPECT_FLOAT_EQ(camera.pitch, 0.25f);
    EXPECT_FLOAT_EQ(camera.fieldOfView, 0.9f);
    EXPECT_NEAR(distance(camera.eye, saved.eye), kCameraGlideInDistance, 1e-2f);
    for (int i = 0; i < 1200; ++i) {
        CameraFrameInput input;
        input.dt = 1.0f / 60.0f;
        updateCamera(camera, input);
    }
    EXPECT_NEAR(distance(camera.eye, saved.eye), 0.0f, 1e-3f);

    // The objects are placed for drawing.
    const SceneObject* triangle = scene.findObject("triangle");
    ASSERT_NE(triangle, nullptr);
    EXPECT_FLOAT_EQ(transformPoint({0, 0, 0}, triangle->worldMatrix).x, 5.0f);

    // Stored again, the camera writes the same file values.
    Scene again;
    storeCameraInScene(camera, again);
    EXPECT_NEAR(distance(again.eyeTarget, saved.eye), 0.0f, 1e-3f);
}

TEST(OpenSceneThroughReader, AnUnreadableFileLeavesAnEmptySceneAndTheCameraAsItWas) {
    test::TempFolder temp;
    Scene scene;
    addTriangle(scene, "ancien", {});
    CameraState camera;
    const Vec3 eyeBefore = camera.eye;
    const SceneReadReport report = openSceneThroughReader(temp.path() / "absent.mrx", scene, camera);
    EXPECT_FALSE(sceneOpened(report));
    EXPECT_EQ(scene.findObject("ancien"), nullptr);  // the open replaced the content
    EXPECT_NE(scene.cameraObject(), nullptr);         // the service objects stay
    EXPECT_EQ(camera.eye.x, eyeBefore.x);
    EXPECT_EQ(camera.eye.z, eyeBefore.z);
}

TEST(OpenSceneThroughReader, BytesAfterTheLastRecordOpenAsDamageWithTheirError) {
    test::TempFolder temp;
    const fs::path file = temp.path() / "rallonge.mrx";
    {
        Scene scene;
        addTriangle(scene, "triangle", {});
        ASSERT_TRUE(writeSceneFile(file, scene, {}).ok);
    }
    const std::string whole = test::readBytes(file);
    test::writeBytes(file, whole + "junk");

    Scene scene;
    CameraState camera;
    const SceneReadReport report = openSceneThroughReader(file, scene, camera);
    ASSERT_TRUE(sceneOpened(report));
    EXPECT_EQ(report.status, ReadStatus::Damaged);
    EXPECT_NE(scene.findObject("triangle"), nullptr);
    // What the editor tells the user.
    EXPECT_EQ(describeReadReport(report),
              "damaged at byte " + std::to_string(whole.size()) + ": 4 bytes after the last record were not read");
}

}  // namespace
}  // namespace morvanex
