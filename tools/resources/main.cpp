// Build-time generator of the program's data files: fonts and their
// metrics, default images, demonstration textures and interface images.
//
//   morvanex_resource_generator --regular DejaVuSans.ttf --bold DejaVuSans-Bold.ttf
//                               --icons <folder of the SVG drawings>
//                               --output <program folder> [--preview <folder>]
//
// --preview also writes the glyph images and a contact sheet of the
// interface images as PNG for looking at them.
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "image/image_codec.h"
#include "image/image_files.h"
#include "resources/contact_sheet.h"
#include "resources/resource_set.h"

namespace {

int usage() {
    std::fprintf(stderr, "usage: morvanex_resource_generator --regular FONT --bold FONT --icons FOLDER --output FOLDER [--preview FOLDER]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace morvanex::resources;
    std::filesystem::path regular, bold, icons, output, preview;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (i + 1 >= argc) return usage();
        const std::filesystem::path value = argv[++i];
        if (arg == "--regular") regular = value;
        else if (arg == "--bold") bold = value;
        else if (arg == "--icons") icons = value;
        else if (arg == "--output") output = value;
        else if (arg == "--preview") preview = value;
        else return usage();
    }
    if (regular.empty() || bold.empty() || icons.empty() || output.empty()) return usage();

    std::string why;
    const std::optional<ResourceContext> context = loadResourceContext(regular, bold, icons, &why);
    if (!context) {
        std::fprintf(stderr, "morvanex_resource_generator: %s\n", why.c_str());
        return 1;
    }
    if (!writeResources(*context, output, &why)) {
        std::fprintf(stderr, "morvanex_resource_generator: %s\n", why.c_str());
        return 1;
    }
    if (!preview.empty()) {
        std::error_code error;
        std::filesystem::create_directories(preview, error);
        const morvanex::ImageResult sheet = interfaceContactSheet(*context);
        if (!sheet) {
            std::fprintf(stderr, "morvanex_resource_generator: contact sheet: %s\n", sheet.error.c_str());
            return 1;
        }
        const bool ok = morvanex::writeImageFile(preview / "font.png", encodePng(fontImage(context->regular, false))) &&
                        morvanex::writeImageFile(preview / "fontbold.png", encodePng(fontImage(context->bold, false))) &&
                        morvanex::writeImageFile(preview / "fontinvert.png", encodePng(fontImage(context->regular, true))) &&
                        morvanex::writeImageFile(preview / "interface.png", encodePng(*sheet.image));
        if (!ok) {
            std::fprintf(stderr, "morvanex_resource_generator: cannot write the previews\n");
            return 1;
        }
    }
    std::printf("font sizes: regular %.2f px/em, bold %.2f px/em\n", static_cast<double>(context->regular.emPixels),
                static_cast<double>(context->bold.emPixels));
    return 0;
}
