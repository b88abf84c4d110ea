#include "resources/interface_icons.h"

#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "resources/svg_raster.h"

namespace morvanex::resources {

namespace {

constexpr IconTreatment kHover = IconTreatment::Hover;

// Tool buttons are 40 x 40 (rows of the modeling panel and the top bar are
// 50 and 60 pixels apart); check boxes, radio buttons and the small buttons
// of edit boxes and the camera pad 16 x 16.
constexpr InterfaceIcon kIcons[] = {
    // Boxes and small buttons.
    {"checked.dds", "checked.svg", 16, 16},
    {"unchecked.dds", "unchecked.svg", 16, 16},
    {"radiobutton.dds", "radiobutton.svg", 16, 16},
    {"radiobuttoncoched.dds", "radiobuttoncoched.svg", 16, 16},
    {"close1.dds", "close1.svg", 16, 16},
    {"close1 over.dds", "close1.svg", 16, 16, kHover},
    {"c.dds", "c.svg", 16, 16},
};

std::optional<std::string> readText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The treatment's elements go last, so that its style rules come after the
// drawing's own and win over them.
bool addTreatment(std::string& svg, const std::string& treatment) {
    const std::size_t end = svg.rfind("</svg>");
    if (end == std::string::npos) return false;
    svg.insert(end, treatment);
    return true;
}

}  // namespace

std::span<const InterfaceIcon> interfaceIcons() { return kIcons; }

ImageResult drawInterfaceIcon(const InterfaceIcon& icon, const std::filesystem::path& iconFolder) {
    const std::string source(icon.source);
    std::optional<std::string> svg = readText(iconFolder / source);
    if (!svg) return ImageResult::failure("cannot read " + (iconFolder / source).string());
    if (icon.treatment == IconTreatment::Hover) {
        const std::filesystem::path treatmentPath = iconFolder / kHoverTreatmentFile;
        const std::optional<std::string> treatment = readText(treatmentPath);
        if (!treatment) return ImageResult::failure("cannot read " + treatmentPath.string());
        if (!addTreatment(*svg, *treatment)) return ImageResult::failure(source + ": no closing </svg>");
    }
    ImageResult image = rasteriseSvg(*svg, icon.width, icon.height);
    if (!image) image.error = source + ": " + image.error;
    return image;
}

}  // namespace morvanex::resources
