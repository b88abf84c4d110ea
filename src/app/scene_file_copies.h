// The files a scene uses besides its own file (textures, environment cubes,
// blurred shadows, sounds, extension files, viewpoint images), copied into
// the scene folder when the scene is saved so that the folder travels whole.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace morvanex {

class Scene;
struct ScenePaths;

struct FileCopy {
    std::filesystem::path source;
    std::filesystem::path destination;
};

// What a save copies. Every name comes from the scene, which may have come
// from a hostile file: only the last component of a name is used, and it is
// looked for only in the folders the scene was read from (its texture
// folder, then its scene folder), so no name can reach a file elsewhere.
// Files already in the new scene folder are left out, as are textures that
// travel inside the scene file. `selectionOnly`: the objects a selection
// save writes, and no viewpoint image.
std::vector<FileCopy> plannedFileCopies(const Scene& scene, const ScenePaths& readFrom,
                                        const std::filesystem::path& sceneFolder, bool selectionOnly);

// Copies each file; a destination that exists is never replaced. Returns
// one line per copy that failed.
std::vector<std::string> copyFilesBesideScene(const std::vector<FileCopy>& copies);

}  // namespace morvanex
