// The rules around a scene file that need no application: the paths of a
// scene's own files, the backup made when it is opened, the name a save
// really uses, the check made before a scene is replaced, and the mesh
// update from another scene file.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "scenefile/scene_reader.h"

namespace morvanex {

class Scene;
struct SceneObject;

inline constexpr std::string_view kStartSceneFileName = "logo.mrx";
inline constexpr std::string_view kCameraSceneFileName = "camera.mrx";
inline constexpr std::string_view kBackupSuffix = "_back.mrx";
inline constexpr std::string_view kSceneTexturesFolderName = "Textures";

// Where a scene's files lie.
struct ScenePaths {
    std::filesystem::path scenePath;
    std::string sceneFileName;            // the last component of the scene path
    std::filesystem::path sceneFolder;    // the scene path without its extension: the scene's own files
    std::filesystem::path textureFolder;  // "Textures" beside the scene file
};
ScenePaths scenePathsOf(const std::filesystem::path& scenePath);

// Textures are looked for in the texture folder, then in the scene folder.
SceneReadOptions readOptionsFor(const ScenePaths& paths);

// Every scene but the two the program installs gets a backup when opened.
bool backedUpOnOpen(std::string_view sceneFileName);
// "<name without extension>_back.mrx" in the archive folder.
std::filesystem::path backupPathOf(const std::filesystem::path& archiveFolder, const std::filesystem::path& scenePath);

// True when `file` lies directly in `folder` (both taken as they resolve on
// disk, so a trailing separator or a link does not matter).
bool liesDirectlyIn(const std::filesystem::path& file, const std::filesystem::path& folder);

// The path a save writes: ".mrx" appended unless the name already ends so
// (in any case); a scene of the examples folder goes to the document folder
// instead, under its own name, and the user is told.
struct SaveTarget {
    std::filesystem::path path;
    bool movedOutOfExamples = false;
};
SaveTarget saveTargetFor(const std::filesystem::path& chosen, const std::filesystem::path& examplesFolder,
                         const std::filesystem::path& documentFolder);

// The thumbnail beside a scene file: its whole name followed by ".bmp".
std::filesystem::path thumbnailPathOf(const std::filesystem::path& scenePath);

// The mesh update: each saved object of `source` gives the first object of
// `target` with its name (service objects aside) its vertices and indices,
// its timed path block and its curve block; every other field of the
// target object stays. Each updated vertex is bound to the object's own
// bone alone. Returns the objects updated, in the order of `source`.
std::vector<SceneObject*> updateMeshesFrom(const Scene& source, Scene& target);

}  // namespace morvanex
