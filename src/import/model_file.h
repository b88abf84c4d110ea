// The model files the program imports, told apart by their extension.
#pragma once

#include <filesystem>
#include <string_view>

#include "import/import_result.h"

namespace morvanex {

enum class ModelFormat { None, Obj, ThreeDs, Collada };

// By the extension, in any case: .obj, .3ds, .dae; None for anything else.
ModelFormat modelFormatOf(const std::filesystem::path& path);

// "OBJ", "3DS" or "COLLADA"; empty for None.
std::string_view modelFormatName(ModelFormat format);

// Imports the file with the reader its extension names. A file that gives no
// object at all fails too: there would be nothing to add.
ImportResult importModelFile(const std::filesystem::path& path, ImportOptions options = {});

}  // namespace morvanex
