// libFuzzer target of the 3DS reader.
#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz/import_fuzz_checks.h"
#include "import/three_ds_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace morvanex;
    ImportResult r = import3dsBytes(std::span(data, size), {});
    fuzzing::checkResult(r);
    return 0;
}
