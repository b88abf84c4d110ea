// libFuzzer target of the OBJ reader with its material library. The input
// is the OBJ text; a NUL byte, when there is one, starts the text of the
// library every "mtllib" statement finds.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "fuzz/import_fuzz_checks.h"
#include "import/obj_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace morvanex;
    const std::string_view all(reinterpret_cast<const char*>(data), size);
    const std::size_t nul = all.find('\0');
    const std::string_view obj = all.substr(0, nul);
    const std::string mtl(nul == std::string_view::npos ? std::string_view() : all.substr(nul + 1));
    ImportOptions options;
    options.threads = 2;
    options.sideFiles.read = [mtl](std::string_view) -> std::optional<std::string> { return mtl; };
    options.sideFiles.locate = [](std::string_view name) -> std::optional<std::string> {
        if (name.size() % 2 == 0) return std::nullopt;
        return std::string(name);
    };
    ImportResult r = importObjText(obj, options);
    fuzzing::checkResult(r);
    return 0;
}
