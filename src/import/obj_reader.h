// Wavefront OBJ import.
//
// Every group ("g", and "o" too) becomes one object, split further where
// "usemtl" changes the material inside it; meshes hold one vertex per
// triangle corner. Axes: the file's X is mirrored, the winding reversed, and
// positions scaled (10 scene units per file unit by default). Polygons of any
// corner count are triangulated in their plane; negative (relative) indices,
// line continuations, CRLF and missing normals or texture coordinates are
// read. What is skipped or changed is counted in the report.
//
// Large files are parsed in parallel: the text is cut at line ends, the
// pieces are parsed apart and joined in file order, so the result is the same
// as a sequential read.
#pragma once

#include <filesystem>
#include <string_view>

#include "import/import_result.h"

namespace morvanex {

// Reads an OBJ text held in memory. Material libraries and textures are
// looked up through options.sideFiles.
ImportResult importObjText(std::string_view text, const ImportOptions& options);

// Reads an OBJ file. Side files are looked for beside it unless the options
// name other ones; objects without a group take the file's name.
ImportResult importObj(const std::filesystem::path& path, ImportOptions options = {});

}  // namespace morvanex
