// Importing a model file (.obj, .3ds, .dae) into a scene: what the editor's
// open and the command-line jobs share.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "import/import_result.h"

namespace morvanex {

class Scene;
struct CameraState;
struct SceneObject;

// Imports the file and, only when that succeeds, adds what it built to the
// scene and places the new objects (world matrices). A failed import leaves
// the scene exactly as it was. The returned result keeps the error, the
// report, the frame object and whether the camera should go to it; its
// lists are empty once added.
ImportResult importModelIntoScene(const std::filesystem::path& file, Scene& scene, ImportOptions options = {});

// The camera after an import that asks for it: the home viewpoint turned to
// the object's world centre, the eye target where the whole object shows.
void frameImportedObject(CameraState& camera, const SceneObject& object, int viewWidth, int viewHeight);

// The camera of a scene made from an imported model, as the editor would
// leave it: turned to the frame object when the import asks for that, else
// every object framed from the camera's present angles. The eye is there at once, for
// pictures and for scene files written without the editor.
void placeCameraAfterImport(CameraState& camera, const Scene& scene, const ImportResult& result, int viewWidth,
                            int viewHeight);

// The report for people, one line per entry: what damage dropped is said to
// be damage ("damage: faces with an index outside its list, skipped: 2").
std::vector<std::string> importReportLines(const ImportReport& report);

}  // namespace morvanex
