// Writing the scene's meshes as Wavefront OBJ text.
//
// Corners at the same position (to 5 decimals) are welded into one "v" line
// and share the mean of their normals; texture coordinates keep their own
// "vt" lines so that seams survive. Axes are turned back into the file's:
// X mirrored, winding reversed, a tenth of a scene unit per file unit.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace morvanex {

class Scene;
struct SceneObject;

// In scene list order, each top-level object the scene saves, then its
// children depth first (each once).
std::vector<const SceneObject*> exportableObjects(const Scene& scene);

// The OBJ text of the objects, lines ending in " \r\n".
std::string objText(const std::vector<const SceneObject*>& objects);

// The path a save as OBJ writes: ".obj" appended unless it ends so already
// (in any case).
std::filesystem::path objExportPath(const std::filesystem::path& chosen);

// Writes the scene's exportable meshes to `path` as given, safely (a
// temporary file beside it renamed over it). False, with an error text for
// the user, when the file cannot be written; it is then as it was.
bool exportObj(const std::filesystem::path& path, const Scene& scene, std::string& error);

}  // namespace morvanex
