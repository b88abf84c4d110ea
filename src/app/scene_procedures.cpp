// The scene procedures: opening (plain, merge, mesh update), saving (the
// whole scene or the selection), and animation files, with the dialogs of
// the panel buttons that start them.
#include <system_error>

#include "app/application.h"
#include "app/command_line.h"
#include "app/scene_file_copies.h"
#include "app/shell_services.h"
#include "app/window_rules.h"
#include "base/file_bytes.h"
#include "base/text_encoding.h"
#include "base/trace_log.h"
#include "modeling/object_transform.h"
#include "modeling/primitives.h"
#include "render/renderer.h"
#include "render/texture_image.h"
#include "scene/scene_object.h"
#include "scenefile/animation_file.h"
#include "scenefile/scene_procedures.h"
#include "scenefile/scene_reader.h"
#include "scenefile/scene_writer.h"
#include "ui/label_numbers.h"
#include "ui/panel.h"

namespace morvanex {

namespace {


// Paths reach the commands as UTF-8 from the command line and the dialogs.
std::filesystem::path pathOfUtf8(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string shownPath(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return cp1252FromUtf8(std::string(text.begin(), text.end()));
}

// Marker spheres stay small: they only show where a light or a marker is.
constexpr std::int64_t kMarkerTriangles = 200;

void giveMarkerSphere(SceneObject* object, float radius, Vec3 position) {
    if (object == nullptr) return;
    const std::unique_ptr<SceneObject> sphere = makeSphere({}, radius, kMarkerTriangles);
    setMesh(*object, sphere->vertices, sphere->indices);
    object->position = position;
    object->render.editorObject = true;  // drawn by the editor's own passes, not with the scene
    object->materialColours[0] = {0.57f, 0.57f, 0.57f, 1.0f};
    object->materialColours[1] = {0.67f, 0.67f, 0.67f, 1.0f};
}

// What a freshly opened scene gets back, none of it saved: the light, the
// trajectory-point and the group markers, and the ground grid. The other
// trajectory markers come with the trajectory editor.
void recreateServiceMarkers(Scene& scene) {
    giveMarkerSphere(scene.lightObject(), 2.0f, {});
    giveMarkerSphere(scene.serviceObject(ServiceSlot::TrajectoryMarker), 5.0f, {10.0f, 10.0f, 0.0f});
    giveMarkerSphere(scene.serviceObject(ServiceSlot::GroupMarker), 5.0f, {10.0f, 10.0f, 0.0f});
    if (scene.findObject(kGroundGridName) == nullptr) {
        SceneObject& grid = scene.addObject(makeGroundGrid());
        grid.listed = false;
        // A faint guide while editing, gone when the scene plays.
        grid.render.hidden = true;
    }
}

FileDialogRequest animationFileRequest(bool save, const std::filesystem::path& startFolder) {
    FileDialogRequest request;
    request.save = save;
    request.filters = {{".ANI files", {"ani"}}};
    request.startFolder = startFolder;
    return request;
}

}  // namespace

// --- Opening ---------------------------------------------------------------------

bool Application::openSceneFile(const std::string& path) {
    const bool opened =
        openScene(pathOfUtf8(path), screen.file.mergeChosen ? SceneOpenMode::Merge : SceneOpenMode::Plain);
    // Nothing open yet (a file named at start-up): the user still gets a scene.
    if (!opened && scene.filePath.empty()) startNewScene();
    return opened;
}

bool Application::openScene(const std::filesystem::path& chosen, SceneOpenMode mode) {
    return openSceneFrom(chosen, chosen, mode);
}

bool Application::openSceneFrom(const std::filesystem::path& chosen, const std::filesystem::path& content,
                                SceneOpenMode mode) {
    if (mode == SceneOpenMode::MeshUpdate && currentObject == nullptr) return false;
    std::error_code error;
    const std::filesystem::path file = std::filesystem::absolute(chosen, error).lexically_normal();
    const std::filesystem::path contentFile = std::filesystem::absolute(content, error).lexically_normal();
    // A recovered autosave is the scene with changes not yet in its file.
    const bool recovering = contentFile != file;
    const std::string shown = shownPath(recovering ? content : chosen);
    const auto refuse = [&](const std::string& why) {
        tellUser(label::kCannotOpenTitle, "Cannot open \"" + shown + "\": " + why + ".");
        return false;
    };
    // Everything that would leave the user with nothing is found before the
    // scene is touched.
    const FileBytes data(contentFile);
    if (!data.opened()) return refuse(data.notRegular() ? "not a regular file" : "cannot open the file");
    const SceneReadReport check = checkSceneStart(data.bytes());
    if (check.status != ReadStatus::Complete) return refuse(cp1252FromUtf8(describeReadReport(check)));

    const ScenePaths paths = scenePathsOf(file);
    SceneReadOptions options = readOptionsFor(paths);
    options.backupPath = textFromPath(contentFile);
    LongWork work(*this);
    options.progress = work.progress();
    if (!recovering && mode != SceneOpenMode::Merge && backedUpOnOpen(paths.sceneFileName)) {
        const std::filesystem::path backup = backupPathOf(folders.archive, file);
        ensureFolder(folders.archive);
        if (std::filesystem::copy_file(file, backup, std::filesystem::copy_options::overwrite_existing, error)) {
            options.backupPath = textFromPath(backup);
        } else {
            shell_.trace().line("backup of \"" + shown + "\": " + cp1252FromUtf8(error.message()));
        }
    }
    ensureFolder(paths.sceneFolder);
    for (const auto& object : scene.objects()) object->saveIndex = 0;

    SceneReadReport report;
    if (mode == SceneOpenMode::MeshUpdate) {
        Scene source;
        options.keepSceneHeader = true;
        report = readScene(data.bytes(), source, options);
        const std::vector<SceneObject*> updated = updateMeshesFrom(source, scene);
        for (SceneObject* object : updated) meshEdited(*object);
        shell_.trace().line("\"" + shown + "\": " + std::to_string(updated.size()) + " meshes updated");
    } else if (mode == SceneOpenMode::Merge) {
        options.keepSceneHeader = true;
        report = readScene(data.bytes(), scene, options);
        rebuildWorldMatrices(scene);
        renderer_.prepareScene(scene, paths.sceneFolder);
        scene.modified = true;
    } else {
        forgetSceneObjects();
        scene.clearContent();
        scene.resetLights();
        scene.viewpoints.clear();
        recreateServiceMarkers(scene);
        scene.filePath = textFromPath(file);
        sceneFileName = paths.sceneFileName;
        shell_.setWindowTitle(sceneWindowTitle(labels.language, kTitlePrefixOnOpen, sceneFileName));
        rememberRecentFile(scene.filePath);
        report = readScene(data.bytes(), scene, options);
        rebuildWorldMatrices(scene);
        if (report.headerRead) restoreCameraFromScene(camera, scene);
        renderer_.prepareScene(scene, paths.sceneFolder);
        attachedObject = report.attachedObject;
        scene.modified = recovering;
    }
    if (report.status == ReadStatus::Damaged) {
        // What was whole is kept; the user is told where the file broke.
        tellUser(label::kDamagedFileTitle, "\"" + shown + "\" is damaged: " + cp1252FromUtf8(report.error) +
                                               ". What could be read before the damage is open.");
    }
    return true;
}

std::filesystem::path Application::sceneDialogFolder() const {
    const std::filesystem::path current = pathFromText(scene.filePath);
    return current.has_parent_path() ? current.parent_path() : folders.documents;
}

void Application::chooseFileForMeshUpdate() {
    if (currentObject == nullptr) return;
    FileDialogRequest request;
    request.filters = {{".MRX files", {"mrx"}}};
    request.startFolder = sceneDialogFolder();
    fileDialogs.chooseFile(request, [this](FileDialogAnswer answer) {
        if (!answer) return;
        setCursor(CursorShape::Wait);
        openScene(*answer, SceneOpenMode::MeshUpdate);
        setCursor(CursorShape::Arrow);
    });
}

// --- Saving --------------------------------------------------------------------------

bool Application::saveScene() {
    if (scene.filePath.empty()) {
        tellUser(label::kCannotSaveTitle, shell_.frenchInterface() ? "La sc\xE8ne n'a pas encore de nom de fichier."
                                                                   : "The scene has no file name yet.");
        return false;
    }
    return saveSceneToPath(pathFromText(scene.filePath));
}

bool Application::saveSceneToPath(const std::filesystem::path& chosen, bool selectionOnly) {
    const SaveTarget target = saveTargetFor(chosen, folders.examples, folders.documents);
    const ScenePaths readFrom = scenePathsOf(pathFromText(scene.filePath));
    const ScenePaths paths = scenePathsOf(target.path);
    const std::string shown = shownPath(target.path);
    storeCameraInScene(camera, scene);
    SceneWriteOptions options;
    options.selectionOnly = selectionOnly;
    LongWork work(*this);
    options.progress = work.progress();
    // The writer's selection is the object the panels work on.
    SceneObject* const writersCurrent = std::exchange(scene.currentObject, currentObject);
    const SceneWriteResult written = writeSceneFile(target.path, scene, options);
    scene.currentObject = writersCurrent;
    if (!written.ok) {
        // The previous file is untouched: the write went to a temporary file.
        const std::string why = cp1252FromUtf8(written.error);
        shell_.trace().line("Cannot save \"" + shown + "\": " + why);
        showMessage(label(label::kFileSaveButton), shown, why, "");
        return false;
    }

    ensureFolder(paths.sceneFolder);
    if (renderer_.canDraw()) {
        const FrameView view = cameraFrameView(camera, renderer_.width(), renderer_.height());
        std::string error;
        const bool drawn = passes_.drawPreviewImage(scene, view, selectionOnly, frameTime);
        if (!drawn || !saveRenderedTextureBmp(renderer_.preview.texture(), thumbnailPathOf(target.path), &error)) {
            shell_.trace().line("thumbnail of \"" + shown + "\": " + (drawn ? error : std::string("not drawn")));
        }
    }
    const std::vector<std::string> failures =
        copyFilesBesideScene(plannedFileCopies(scene, readFrom, paths.sceneFolder, selectionOnly));
    for (const std::string& failure : failures) shell_.trace().line("copy beside \"" + shown + "\": " + failure);

    if (!selectionOnly) {
        // What the autosave kept is in the file now.
        removeAutosaveOf(folders.archive, pathFromText(scene.filePath));
        removeAutosaveOf(folders.archive, target.path);
        scene.filePath = textFromPath(target.path);
        sceneFileName = paths.sceneFileName;
        shell_.setWindowTitle(sceneWindowTitle(labels.language, kTitlePrefixOnSave, sceneFileName));
        scene.modified = false;
    }
    rememberRecentFile(textFromPath(target.path));
    if (target.movedOutOfExamples) {
        showMessage(label(label::kExamplesFolderTitle), label(label::kExamplesFolderLine1),
                    label(label::kExamplesFolderLine2), "");
    } else if (!failures.empty()) {
        showMessage(label(label::kFileSaveButton), shown,
                    std::to_string(failures.size()) + " file(s) could not be copied beside the scene:",
                    cp1252FromUtf8(failures.front()));
    }
    return true;
}

void Application::chooseSelectionSaveTarget() {
    if (currentObject == nullptr) return;
    FileDialogRequest request;
    request.save = true;
    request.confirmOverwrite = true;
    request.filters = {{".MRX files", {"mrx"}}};
    request.startFolder = sceneDialogFolder();
    fileDialogs.chooseFile(request, [this](FileDialogAnswer answer) {
        if (!answer) return;
        setCursor(CursorShape::Wait);
        saveSceneToPath(*answer, true);
        setCursor(CursorShape::Arrow);
    });
}

// --- Animation files ----------------------------------------------------------------

bool Application::exportAnimationFile(const std::filesystem::path& chosen, SceneObject& target) {
    const std::filesystem::path file = animationFilePathFor(chosen);
    const AnimationFileResult result = writeAnimationFile(file, scene, target);
    if (result.ok) return true;
    const std::string shown = shownPath(file);
    shell_.trace().line("Cannot save \"" + shown + "\": " + cp1252FromUtf8(result.error));
    showMessage(label(label::kFileSaveButton), shown, cp1252FromUtf8(result.error), "");
    return false;
}

bool Application::importAnimationFile(const std::filesystem::path& file, SceneObject& target) {
    const AnimationFileResult result = readAnimationFile(file, scene, target);
    if (result.sequencesAdded > 0) {
        scene.modified = true;
        if (!result.animation->sequences.empty()) screen.tools.currentAnimation = result.animation->sequences.back().get();
    }
    if (result.ok) return true;
    const std::string shown = shownPath(file);
    shell_.trace().line("\"" + shown + "\": " + cp1252FromUtf8(result.error));
    showMessage(label(label::kFileOpenButton), shown, cp1252FromUtf8(result.error), "");
    return result.sequencesAdded > 0;
}

void Application::chooseAnimationFileToOpen(SceneObject& target) {
    const auto request = animationFileRequest(false, sceneDialogFolder());
    fileDialogs.chooseFile(request, [this, &target](FileDialogAnswer answer) {
        // The object may have gone while the chooser was open.
        if (!answer || scene.indexOf(&target) < 0) return;
        importAnimationFile(*answer, target);
        refreshAnimationList();
    });
}

void Application::chooseAnimationFileTarget(SceneObject& target) {
    auto request = animationFileRequest(true, sceneDialogFolder());
    request.confirmOverwrite = true;
    fileDialogs.chooseFile(request, [this, &target](FileDialogAnswer answer) {
        if (!answer || scene.indexOf(&target) < 0) return;
        exportAnimationFile(*answer, target);
    });
}

}  // namespace morvanex
