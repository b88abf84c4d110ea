#include "app/scene_open.h"

#include "app/scene_commands.h"
#include "modeling/object_transform.h"
#include "modeling/undo_history.h"
#include "render/camera.h"
#include "scene/scene.h"

namespace morvanex {

SceneReadReport openSceneThroughReader(const std::filesystem::path& file, Scene& scene, CameraState& camera) {
    scene.clearContent();
    SceneReadReport report = readSceneFile(file, scene, commandLineReadOptions(file));
    rebuildWorldMatrices(scene);
    startEditHistories(scene);
    if (report.headerRead) restoreCameraFromScene(camera, scene);
    return report;
}

bool sceneOpened(const SceneReadReport& report) {
    return report.status == ReadStatus::Complete || report.status == ReadStatus::Damaged;
}

}  // namespace morvanex
