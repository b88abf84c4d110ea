// Descriptions of what importing a model file would add to a scene: each
// object with its vertex and triangle counts and texture, the textures
// (missing ones marked), animations, skeletons and the import report. Plain
// text for people and one JSON object for programs, both UTF-8, in the
// manner of the scene file descriptions.
#pragma once

#include <string>
#include <string_view>

#include "import/import_result.h"
#include "import/model_file.h"

namespace morvanex {

// "complete", "damaged" (the report names damage) or "unreadable" (the
// import failed).
std::string_view importStatusName(const ImportResult& result);

// `fileName` is the file as the user named it (UTF-8). The result is the
// one the import returned, before anything was added to a scene.
std::string importInfoText(const ImportResult& result, ModelFormat format, std::string_view fileName);
std::string importInfoJson(const ImportResult& result, ModelFormat format, std::string_view fileName);

}  // namespace morvanex
