#include "app/model_import.h"

#include <optional>

#include "app/render_command.h"

#include "import/model_file.h"
#include "modeling/object_transform.h"
#include "modeling/undo_history.h"
#include "render/camera.h"
#include "scene/scene.h"

namespace morvanex {
namespace {

// The window's shape where there is no drawing surface (start-up, tests,
// files written without a window).
constexpr int kUsualViewWidth = 1280;
constexpr int kUsualViewHeight = 720;

}  // namespace

ImportResult importModelIntoScene(const std::filesystem::path& file, Scene& scene, ImportOptions options) {
    ImportResult result = importModelFile(file, std::move(options));
    if (!result.ok()) return result;
    addToScene(result, scene);
    rebuildWorldMatrices(scene);
    startEditHistories(scene);
    return result;
}

void frameImportedObject(CameraState& camera, const SceneObject& object, int viewWidth, int viewHeight) {
    // Without a drawing surface yet (start-up, tests), the usual window's shape.
    const float width = static_cast<float>(viewWidth > 0 ? viewWidth : kUsualViewWidth);
    const float height = static_cast<float>(viewHeight > 0 ? viewHeight : kUsualViewHeight);
    placeCameraHome(camera);
    const Vec3 centre = transformPoint(object.boundsCentre, object.worldMatrix);
    camera.orbitTarget = centre;
    const std::array<Vec3, 8> corners = worldBoxCorners(object.boundsMin, object.boundsMax, object.worldMatrix);
    const Mat4 projection = cameraProjection(camera, width, height, false);
    camera.eyeTarget = frameObject(camera, centre, corners, 1.0f, true, projection, width, height);
}

void placeCameraAfterImport(CameraState& camera, const Scene& scene, const ImportResult& result, int viewWidth,
                            int viewHeight) {
    if (result.placeCamera && result.frameObject != nullptr) {
        frameImportedObject(camera, *result.frameObject, viewWidth, viewHeight);
    } else if (const std::optional<SceneBox> box = userObjectsBox(scene)) {
        frameBox(camera, worldBoxCorners(box->min, box->max, identity()),
                 static_cast<float>(viewWidth > 0 ? viewWidth : kUsualViewWidth),
                 static_cast<float>(viewHeight > 0 ? viewHeight : kUsualViewHeight));
    }
    camera.eye = camera.eyeTarget;
    camera.yaw = camera.yawTarget;
    camera.pitch = camera.pitchTarget;
}

std::vector<std::string> importReportLines(const ImportReport& report) {
    std::vector<std::string> lines = report.lines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (report.entries()[i].damage) lines[i] = "damage: " + lines[i];
    }
    return lines;
}

}  // namespace morvanex
