// Shared fixtures of the resource generator tests: the two interface fonts
// built once per test program, and the icon folder.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "image/image_files.h"
#include "resources/font_atlas.h"
#include "resources/resource_set.h"

namespace morvanex::testing {

inline std::vector<std::uint8_t> fileBytes(const std::filesystem::path& path) {
    std::vector<std::uint8_t> bytes;
    std::uint64_t size = 0;
    if (!readImageFile(path, bytes, size)) bytes.clear();
    return bytes;
}

inline const resources::ResourceContext& fonts() {
    static const resources::ResourceContext context = [] {
        std::string why;
        auto loaded = resources::loadResourceContext(MORVANEX_FONT_REGULAR_FILE, MORVANEX_FONT_BOLD_FILE, MORVANEX_ICON_FOLDER, &why);
        if (!loaded) ADD_FAILURE() << why;
        return loaded ? std::move(*loaded) : resources::ResourceContext{};
    }();
    return context;
}

}  // namespace morvanex::testing
