#include "import/model_file.h"

#include <cctype>
#include <string>

#include "import/collada_reader.h"
#include "import/obj_reader.h"
#include "import/three_ds_reader.h"

namespace morvanex {

ModelFormat modelFormatOf(const std::filesystem::path& path) {
    std::string ext = path.extension().string();
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == ".obj") return ModelFormat::Obj;
    if (ext == ".3ds") return ModelFormat::ThreeDs;
    if (ext == ".dae") return ModelFormat::Collada;
    return ModelFormat::None;
}

std::string_view modelFormatName(ModelFormat format) {
    switch (format) {
    case ModelFormat::Obj: return "OBJ";
    case ModelFormat::ThreeDs: return "3DS";
    case ModelFormat::Collada: return "COLLADA";
    case ModelFormat::None: break;
    }
    return {};
}

ImportResult importModelFile(const std::filesystem::path& path, ImportOptions options) {
    ImportResult result;
    switch (modelFormatOf(path)) {
    case ModelFormat::Obj: result = importObj(path, std::move(options)); break;
    case ModelFormat::ThreeDs: result = import3ds(path, std::move(options)); break;
    case ModelFormat::Collada: result = importCollada(path, std::move(options)); break;
    case ModelFormat::None: result.error = "not a model file the program imports (.obj, .3ds or .dae)"; break;
    }
    if (result.ok() && result.objects.empty()) {
        // Textures and animations without objects would point at nothing.
        ImportResult empty;
        empty.report = std::move(result.report);
        empty.error = "nothing to import: the file holds no faces";
        return empty;
    }
    return result;
}

}  // namespace morvanex
