// Start-up's scenes: the carried scenes installed, the camera object, the
// title played with its fades, then the editor.
#include "app/start_scene.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "app/application.h"
#include "app/shell_services.h"
#include "app/start_scene_bytes.h"
#include "base/file_bytes.h"
#include "base/safe_file.h"
#include "base/text_encoding.h"
#include "base/trace_log.h"
#include "modeling/object_transform.h"
#include "render/renderer.h"
#include "scene/scene.h"
#include "scenefile/scene_procedures.h"
#include "scenefile/scene_reader.h"
#include "ui/panel.h"

namespace morvanex {

namespace {

// Catmull-Rom through four values, between the middle two.
float throughPoints(float p0, float p1, float p2, float p3, float s) {
    const float s2 = s * s, s3 = s2 * s;
    return 0.5f * (2.0f * p1 + (p2 - p0) * s + (2.0f * p0 - 5.0f * p1 + 4.0f * p2 - p3) * s2 +
                   (3.0f * p1 - p0 - 3.0f * p2 + p3) * s3);
}

struct SweepPoint {
    double time = 0.0;
    Vec3 eye;
    float yaw = 0.0f;
    float pitch = 0.0f;
};

}  // namespace

std::optional<std::string> installSceneFile(const std::filesystem::path& file, std::span<const std::uint8_t> bytes) {
    {
        const FileBytes present(file);
        if (present.opened() && std::ranges::equal(present.bytes(), bytes)) return std::nullopt;
    }
    std::string error;
    if (!replaceFileSafely(file, bytes, &error)) return error;
    return std::nullopt;
}

bool installCameraObject(Scene& scene, std::span<const std::uint8_t> cameraScene, std::string* why) {
    Scene source;
    const SceneReadReport report = readScene(cameraScene, source, {});
    SceneObject* body = source.findObject(kCameraBodyObjectName);
    if (body == nullptr || source.isServiceObject(body)) {
        if (why != nullptr) {
            *why = report.complete() ? std::string("no object \"") + kCameraBodyObjectName + "\""
                                     : describeReadReport(report);
        }
        return false;
    }
    DetachedObject taken = source.takeObject(body);
    taken.object->serial = 0;  // numbered afresh by the scene it joins
    SceneObject& camera = scene.addObject(std::move(taken.object));
    camera.name = kServiceObjectNames[0];
    camera.rotationAxis = {0.0f, 0.0f, -1.0f};
    camera.rotationAngle = kHalfPi;
    camera.orientation = quatFromAxisAngle(camera.rotationAxis, camera.rotationAngle);
    camera.flagF1 = false;
    // A service object: never saved, never picked.
    camera.selectable = false;
    scene.setServiceObject(ServiceSlot::Camera, &camera);
    rebuildWorldMatrix(camera);
    return true;
}

double sequenceLength(const Sequence& sequence) {
    double length = 0.0;
    for (const auto& key : sequence.keyImages) length = std::max(length, key->time);
    return length;
}

void poseTitleCamera(const TitlePlayback& title, CameraState& camera) {
    std::vector<SweepPoint> points{{0.0, title.startEye, title.startYaw, title.startPitch}};
    if (title.sequence != nullptr) {
        for (const auto& key : title.sequence->keyImages) {
            if (key->states.empty()) continue;
            const ObjectState& state = *key->states.front();
            // The yaw continues the previous one rather than jumping a turn.
            float yaw = state.angles.y;
            while (yaw - points.back().yaw > kPi) yaw -= kTwoPi;
            while (yaw - points.back().yaw < -kPi) yaw += kTwoPi;
            points.push_back({key->time, state.position, yaw, state.angles.x});
        }
    }
    std::size_t segment = 0;
    while (segment + 2 < points.size() && title.clock >= points[segment + 1].time) ++segment;
    SweepPoint pose = points[segment];
    if (segment + 1 < points.size() && points[segment + 1].time > points[segment].time) {
        const SweepPoint& a = points[segment > 0 ? segment - 1 : segment];
        const SweepPoint& b = points[segment];
        const SweepPoint& c = points[segment + 1];
        const SweepPoint& d = points[std::min(segment + 2, points.size() - 1)];
        const float s = static_cast<float>(std::clamp((title.clock - b.time) / (c.time - b.time), 0.0, 1.0));
        pose.eye = {throughPoints(a.eye.x, b.eye.x, c.eye.x, d.eye.x, s),
                    throughPoints(a.eye.y, b.eye.y, c.eye.y, d.eye.y, s),
                    throughPoints(a.eye.z, b.eye.z, c.eye.z, d.eye.z, s)};
        pose.yaw = throughPoints(a.yaw, b.yaw, c.yaw, d.yaw, s);
        pose.pitch = throughPoints(a.pitch, b.pitch, c.pitch, d.pitch, s);
    }
    camera.eye = camera.eyeTarget = pose.eye;
    camera.yaw = camera.yawTarget = pose.yaw;
    camera.pitch = camera.pitchTarget = pose.pitch;
}

// --- Start-up --------------------------------------------------------------------

void Application::prepareStartScenes(StartScene mode) {
    std::string why;
    if (!installCameraObject(scene, embeddedCameraScene(), &why)) {
        shell_.trace().line(std::string(kCameraSceneFileName) + ": " + cp1252FromUtf8(why));
    }
    if (mode == StartScene::Skip) return;
    const std::filesystem::path& dataFolder = folders.programData;
    const std::filesystem::path titleFile = dataFolder / kStartSceneFileName;
    bool titleInstalled = true;
    for (const auto& [file, bytes] : {std::pair{titleFile, embeddedTitleScene()},
                                      std::pair{dataFolder / kCameraSceneFileName, embeddedCameraScene()}}) {
        if (const std::optional<std::string> problem = installSceneFile(file, bytes)) {
            // The editor starts without its title rather than not at all.
            shell_.trace().line("Cannot write \"" + cp1252FromUtf8(textFromPath(file)) + "\": " +
                                cp1252FromUtf8(*problem));
            if (file == titleFile) titleInstalled = false;
        }
    }
    if (titleInstalled) openTitleScene(titleFile);
}

void Application::openTitleScene(const std::filesystem::path& file) {
    if (!openScene(file, SceneOpenMode::Plain)) return;
    const SceneObject* cameraTarget = scene.cameraObject();
    const Animation* animation = cameraTarget != nullptr ? cameraTarget->animation : nullptr;
    title_ = {};
    title_.path = scene.filePath;
    // The sequence playback starts with is the one the title plays.
    title_.sequence = animation != nullptr ? animation->sequenceReferences[3] : nullptr;
    title_.startEye = camera.eyeTarget;
    title_.startYaw = camera.yaw;
    title_.startPitch = camera.pitch;
    title_.opening.rate = kTitleOpeningFadeRate;
    title_.opening.start(0.0f, 1.0f);
    title_.closing.rate = kTitleClosingFadeRate;
    startSceneMode = true;
    titleOpen_ = true;
    // The corner's button comes back when the title ends.
    if (screen.cornerPanel != nullptr) screen.cornerPanel->setVisible(false);
    applyTitleFade();
    poseTitleCamera(title_, camera);
}

bool Application::titleStillShown() const {
    if (!titleOpen_ || scene.filePath != title_.path) return false;
    if (title_.sequence == nullptr) return true;
    // The sequence is the scene's: whatever replaced the scene took it along.
    for (const auto& animation : scene.animations()) {
        for (const auto& sequence : animation->sequences) {
            if (sequence.get() == title_.sequence) return true;
        }
    }
    return false;
}

void Application::advanceStartFades(double dt) {
    if (!titleStillShown()) {
        // Another scene was opened over the title: it stays, the title is over.
        titleOpen_ = false;
        title_.sequence = nullptr;
        startSceneMode = false;
        startSceneEnded_ = true;
        createTrajectoryMarkers();
        showCornerPanelButton();
        return;
    }
    const float step = static_cast<float>(dt);
    title_.clock += dt;
    title_.opening.step(step);
    const double length = title_.sequence != nullptr ? sequenceLength(*title_.sequence) : 0.0;
    if (!title_.closingStarted && title_.clock >= length) {
        title_.closingStarted = true;
        title_.closing.start(1.0f, 0.0f);
    }
    const bool closed = title_.closingStarted && title_.closing.step(step);
    poseTitleCamera(title_, camera);
    applyTitleFade();
    if (closed) endStartScene();
}

void Application::leaveTitleScene() {
    titleOpen_ = false;
    forgetSceneObjects();
    scene.clearContent();
    scene.resetLights();
    scene.viewpoints.clear();
    // The title's look and settings are not the new scene's.
    const Scene defaults;
    scene.backgroundColour = defaults.backgroundColour;
    scene.settings = defaults.settings;
    scene.fieldOfView = defaults.fieldOfView;
    scene.rangeValue = defaults.rangeValue;
    scene.filePath.clear();
    scene.modified = false;
    attachedObject = nullptr;
    renderer_.prepareScene(scene, {});
    placeCameraHome(camera);
}

void Application::applyTitleFade() {
    const float opacity = title_.opening.value * (title_.closingStarted ? title_.closing.value : 1.0f);
    for (const auto& object : scene.objects()) {
        if (scene.isSaved(*object)) object->opacity = opacity;
    }
}

}  // namespace morvanex
