#include "scenefile/scene_names.h"

#include <system_error>

namespace morvanex {

std::filesystem::path newScenePath(const std::filesystem::path& folder) {
    const std::string stem = "Nouvelle scene";
    std::error_code error;
    std::filesystem::path candidate = folder / (stem + ".mrx");
    // The count is bounded by the files the folder can hold, so this ends.
    for (unsigned n = 1; std::filesystem::exists(candidate, error); ++n) {
        candidate = folder / (stem + std::to_string(n) + ".mrx");
    }
    return candidate;
}

std::string sceneFileNameOf(const std::string& scenePath) {
    const auto cut = scenePath.find_last_of("/\\");
    return cut == std::string::npos ? scenePath : scenePath.substr(cut + 1);
}

}  // namespace morvanex
