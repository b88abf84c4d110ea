#include "scenefile/scene_procedures.h"

#include <algorithm>
#include <cctype>
#include <system_error>

#include "base/text_encoding.h"
#include "scene/scene.h"

namespace morvanex {

namespace {

std::filesystem::path resolved(const std::filesystem::path& path) {
    std::error_code error;
    std::filesystem::path out = std::filesystem::weakly_canonical(path, error);
    if (error) out = std::filesystem::absolute(path, error).lexically_normal();
    // "a/b/" and "a/b" are the same folder.
    if (!out.has_filename() && out.has_parent_path()) out = out.parent_path();
    return out;
}

bool endsWithMrx(const std::string& text) {
    if (text.size() < 4) return false;
    std::string last = text.substr(text.size() - 4);
    std::transform(last.begin(), last.end(), last.begin(), [](unsigned char c) { return std::toupper(c); });
    return last == ".MRX";
}

}  // namespace

ScenePaths scenePathsOf(const std::filesystem::path& scenePath) {
    ScenePaths paths;
    paths.scenePath = scenePath;
    paths.sceneFileName = textFromPath(scenePath.filename());
    paths.sceneFolder = scenePath.parent_path() / scenePath.stem();
    paths.textureFolder = scenePath.parent_path() / kSceneTexturesFolderName;
    return paths;
}

SceneReadOptions readOptionsFor(const ScenePaths& paths) {
    SceneReadOptions options;
    options.textureFolder = paths.textureFolder;
    options.sceneFolder = paths.sceneFolder;
    return options;
}

bool backedUpOnOpen(std::string_view sceneFileName) {
    return sceneFileName != kStartSceneFileName && sceneFileName != kCameraSceneFileName;
}

std::filesystem::path backupPathOf(const std::filesystem::path& archiveFolder, const std::filesystem::path& scenePath) {
    std::filesystem::path name = scenePath.stem();
    name += std::string(kBackupSuffix);
    return archiveFolder / name;
}

bool liesDirectlyIn(const std::filesystem::path& file, const std::filesystem::path& folder) {
    if (folder.empty()) return false;
    return resolved(resolved(file).parent_path()) == resolved(folder);
}

SaveTarget saveTargetFor(const std::filesystem::path& chosen, const std::filesystem::path& examplesFolder,
                         const std::filesystem::path& documentFolder) {
    SaveTarget target;
    target.path = chosen;
    if (!endsWithMrx(textFromPath(chosen))) target.path += ".mrx";
    if (liesDirectlyIn(target.path, examplesFolder)) {
        // The examples come with the program: they stay as they came.
        target.path = documentFolder / target.path.filename();
        target.movedOutOfExamples = true;
    }
    return target;
}

std::filesystem::path thumbnailPathOf(const std::filesystem::path& scenePath) {
    std::filesystem::path thumbnail = scenePath;
    thumbnail += ".bmp";
    return thumbnail;
}

std::vector<SceneObject*> updateMeshesFrom(const Scene& source, Scene& target) {
    std::vector<SceneObject*> updated;
    for (const auto& record : source.objects()) {
        if (!source.isSaved(*record)) continue;
        SceneObject* namesake = nullptr;
        for (const auto& object : target.objects()) {
            if (object->name == record->name && !target.isServiceObject(object.get())) {
                namesake = object.get();
                break;
            }
        }
        if (namesake == nullptr) continue;
        std::vector<MeshVertex> vertices = record->vertices;
        // The object moves with its own bone only.
        for (MeshVertex& v : vertices) {
            v.blendIndices[0] = namesake->boneNumber;
            v.blendIndices[1] = -1;
        }
        namesake->assignMesh(std::move(vertices), record->indices);
        namesake->timedPath = record->timedPath;
        namesake->sweepCurves = record->sweepCurves;
        if (std::find(updated.begin(), updated.end(), namesake) == updated.end()) updated.push_back(namesake);
    }
    return updated;
}

}  // namespace morvanex
