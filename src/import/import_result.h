// What every importer returns: freshly built objects that are not yet in any
// scene, an error text and the report. The caller adds them to the scene with
// addToScene() only when it wants them, so a failed import leaves the scene
// exactly as it was.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/byte_progress.h"
#include "import/import_report.h"
#include "scene/animation.h"
#include "scene/math.h"
#include "scene/scene_object.h"
#include "scene/scene_texture.h"

namespace morvanex {

class Scene;

// Files a model names beside itself (material libraries, texture images).
// The importers only ever ask through this, so that tests and the fuzzers can
// hand them bytes from memory.
struct SideFiles {
    // The bytes of a side file, or nothing when there is none of that name.
    std::function<std::optional<std::string>(std::string_view name)> read;
    // The full path of an existing side file (for texture records), or nothing.
    std::function<std::optional<std::string>(std::string_view name)> locate;
};

// Side files looked up in a folder: the name as written (backslashes taken as
// folder separators), then its last part alone.
SideFiles sideFilesIn(const std::filesystem::path& folder);

struct ImportOptions {
    // Scene units per file unit; 0 takes the format's own (OBJ 10, 3DS 1,
    // COLLADA 30 per metre).
    float scale = 0.0f;
    SideFiles sideFiles;  // empty functions: no side files
    // Name of objects whose file gives them none (OBJ faces before any group).
    std::string defaultName = "objet";
    // Worker threads of the OBJ and COLLADA readers; 0 uses the machine's cores.
    unsigned threads = 0;
    // Hears how far the import is, in bytes of the file: the bytes parsed,
    // then for the objects built after the parse the share of the file's
    // bytes that work stands for. Called on the caller's thread only.
    ByteProgress progress{};
};

// Reports `share` (0 to 1) of the whole import of a file of `total` bytes.
void reportImportShare(const ImportOptions& options, std::uint64_t total, double share);

// One joint of an imported skin. Binding and playback come later; these are
// the values they need.
struct ImportedBone {
    std::string jointName;
    SceneObject* object = nullptr;  // the object that moves with the joint, or none
    std::int32_t parent = -1;       // index of the parent bone, -1 for a root
    Mat4 inverseBindMatrix;         // scene units, scene axes
};

struct ImportedSkeleton {
    std::string name;               // the top-level node's name
    SceneObject* root = nullptr;    // the object the skeleton is attached to
    std::vector<ImportedBone> bones;  // in the skin's joint order (blend index)
};

struct ImportResult {
    std::string error;  // empty when the import succeeded
    ImportReport report;

    // Built in file order; owned here until addToScene() hands them over.
    // Parents, children, textures and animations point only at records of
    // this result.
    std::vector<std::unique_ptr<SceneObject>> objects;
    std::vector<std::unique_ptr<Animation>> animations;
    // Textures named by the objects, one record per file name.
    std::vector<std::unique_ptr<SceneTexture>> textures;
    std::vector<ImportedSkeleton> skeletons;

    // The object the camera should frame afterwards (the model's root for
    // COLLADA, the last object otherwise); null when nothing was built.
    SceneObject* frameObject = nullptr;
    // True when the view should go to the home viewpoint and frame
    // frameObject (OBJ and COLLADA; a 3DS import leaves the camera alone).
    bool placeCamera = false;

    bool ok() const { return error.empty(); }
    // The texture record of a file name, made on first use.
    SceneTexture& texture(std::string_view fileName);
};

// Puts the image a material names into the object's first texture slot:
// the record of its file name (the name's last component, whatever the
// separators), found through the side files or marked missing and reported.
void attachMaterialImage(SceneObject& object, const std::string& mapName, const ImportOptions& options,
                         ImportResult& result);

// The path form of a reader: the file must open as a regular file; side
// files are looked for beside it unless the options say where. `read` gets
// the file's bytes and the completed options.
ImportResult importFromFile(const std::filesystem::path& path, ImportOptions options,
                            const std::function<ImportResult(std::span<const std::uint8_t>, const ImportOptions&)>& read);

// Appends the result's objects (in order) and animations to the scene. Its
// textures join the scene's cache: a name the cache holds already is shared
// and the result's record dropped. Sets the scene's loaded version tag to the
// program's label and marks the scene modified. Returns the number of
// objects added; the result is left empty.
std::size_t addToScene(ImportResult& result, Scene& scene);

}  // namespace morvanex

