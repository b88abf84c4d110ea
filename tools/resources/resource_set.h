// Every file the generator writes into the program folder, and how each is
// made. The list is also kept in outputs.txt for the build.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "image/image_record.h"
#include "resources/font_atlas.h"

namespace morvanex::resources {

// What the makers draw with.
struct ResourceContext {
    FontAtlas regular;
    FontAtlas bold;
    std::filesystem::path iconFolder;  // the SVG drawings of the interface images
};

struct ResourceFile {
    std::string path;  // relative to the program folder, '/' separated, UTF-8: "UI/white.bmp"
    // The file's bytes; empty with the reason when it cannot be made.
    std::function<std::vector<std::uint8_t>(const ResourceContext&, std::string* why)> make;
};

const std::vector<ResourceFile>& resourceFiles();

// Encoders for the file kinds the generator writes (PNG: encodePng of the
// image codec).
std::vector<std::uint8_t> encodeJpg(const DecodedImage& image, int quality = 92);

// Reads both fonts, builds their atlases and notes the icon folder; empty
// with the reason on failure.
std::optional<ResourceContext> loadResourceContext(const std::filesystem::path& regularFont,
                                                   const std::filesystem::path& boldFont,
                                                   const std::filesystem::path& iconFolder, std::string* why);

// Writes every resource file under the program folder (folders created);
// false with the reason on the first failure.
bool writeResources(const ResourceContext& context, const std::filesystem::path& programFolder, std::string* why);

}  // namespace morvanex::resources
