// Material libraries named by OBJ files: colours and the colour texture.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "import/import_mesh.h"
#include "import/import_report.h"

namespace morvanex {

struct ObjMaterial {
    std::string name;
    Vec4 diffuse = kImportedDiffuse;  // Kd, alpha from d or Tr
    Vec4 specular = kImportedSpecular;  // Ks
    std::string diffuseMap;  // map_Kd file name as written; empty when none
};

struct MtlLibrary {
    std::vector<ObjMaterial> materials;
    // The last definition of a name wins, as when libraries are read in turn.
    const ObjMaterial* find(std::string_view name) const;
};

// Adds the materials of one library text to `into`.
void readMtl(std::string_view text, MtlLibrary& into, ImportReport& report);

// The file name of a texture statement's rest of line: options ("-s 1 1 1",
// "-clamp on", ...) are stepped over; the name may contain spaces.
std::string textureFileFromStatement(std::string_view rest);

}  // namespace morvanex
