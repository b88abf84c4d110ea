// libFuzzer target of the COLLADA reader.
#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz/import_fuzz_checks.h"
#include "import/collada_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace morvanex;
    ImportResult r = importColladaBytes(std::span(data, size), {});
    fuzzing::checkResult(r);
    return 0;
}
