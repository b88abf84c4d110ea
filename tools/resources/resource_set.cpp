#include "resources/resource_set.h"

#include <stb/stb_image_write.h>

#include "image/dds_codec.h"
#include "image/image_codec.h"
#include "image/image_files.h"
#include "resources/default_images.h"
#include "resources/demo_textures.h"
#include "resources/icons.h"

namespace morvanex::resources {

namespace {

void appendBytes(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(context);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

// Opaque RGB from the first level.
std::vector<std::uint8_t> rgbOf(const DecodedImage& image) {
    const ImageLevel& level = image.levels.front();
    std::vector<std::uint8_t> rgb;
    rgb.reserve(static_cast<std::size_t>(level.width * level.height * 3));
    for (std::size_t i = 0; i + 3 < level.bytes.size(); i += 4) rgb.insert(rgb.end(), {level.bytes[i], level.bytes[i + 1], level.bytes[i + 2]});
    return rgb;
}

using Maker = std::function<std::vector<std::uint8_t>(const ResourceContext&)>;

Maker dds(DecodedImage (*draw)()) {
    return [draw](const ResourceContext&) { return encodeDds(draw()); };
}
Maker bmp(DecodedImage (*draw)()) {
    return [draw](const ResourceContext&) { return encodeBmp24(draw()); };
}

std::vector<ResourceFile> makeList() {
    std::vector<ResourceFile> files;
    // Fonts and their metrics, read from the shaders folder.
    files.push_back({"shaders/font.dds", [](const ResourceContext& c) { return encodeDds(fontImage(c.regular, false)); }});
    files.push_back({"shaders/fontbold.dds", [](const ResourceContext& c) { return encodeDds(fontImage(c.bold, false)); }});
    files.push_back({"shaders/fontinvert.dds", [](const ResourceContext& c) { return encodeDds(fontImage(c.regular, true)); }});
    files.push_back({"shaders/Font.uvs", [](const ResourceContext& c) { return encodeFontMetrics(c.regular.metrics); }});
    files.push_back({"shaders/Fontbold.uvs", [](const ResourceContext& c) { return encodeFontMetrics(c.bold.metrics); }});
    // Plain images.
    files.push_back({"UI/white.bmp", bmp([] { return solidImage(kWhite); })});
    files.push_back({"UI/red.bmp", bmp([] { return solidImage({255, 0, 0, 255}); })});
    files.push_back({"UI/black.bmp", bmp([] { return solidImage(kBlack); })});
    files.push_back({"UI/vertice.dds", dds([] { return vertexMarker(false); })});
    files.push_back({"UI/vertice1.dds", dds([] { return vertexMarker(true); })});
    files.push_back({"UI/FalloffRamp.dds", dds(falloffRamp)});
    // Demonstration textures.
    files.push_back({"UI/lune.jpg", [](const ResourceContext&) { return encodeJpg(moonTextures().colour); }});
    files.push_back({"UI/lune_bump.jpg", [](const ResourceContext&) { return encodeJpg(moonTextures().height); }});
    files.push_back({"UI/boite.jpg", [](const ResourceContext&) { return encodeJpg(crateTextures().colour); }});
    files.push_back({"UI/boite_bump.jpg", [](const ResourceContext&) { return encodeJpg(crateTextures().height); }});
    // Drawn interface images.
    files.push_back({"UI/ombre.bmp", bmp(shadowImage)});
    files.push_back({"UI/caret.dds", dds(caretImage)});
    files.push_back({"UI/checked.dds", dds([] { return checkBoxImage(true); })});
    files.push_back({"UI/unchecked.dds", dds([] { return checkBoxImage(false); })});
    files.push_back({"UI/radiobutton.dds", dds([] { return radioButtonImage(false); })});
    files.push_back({"UI/radiobuttoncoched.dds", dds([] { return radioButtonImage(true); })});
    files.push_back({"UI/close1.dds", dds([] { return closeButtonImage(false); })});
    files.push_back({"UI/close1 over.dds", dds([] { return closeButtonImage(true); })});
    return files;
}

}  // namespace

const std::vector<ResourceFile>& resourceFiles() {
    static const std::vector<ResourceFile> files = makeList();
    return files;
}

std::vector<std::uint8_t> encodeJpg(const DecodedImage& image, int quality) {
    std::vector<std::uint8_t> out;
    if (!isWellFormed(image) || image.format != PixelFormat::Rgba8) return out;
    const std::vector<std::uint8_t> rgb = rgbOf(image);
    if (!stbi_write_jpg_to_func(appendBytes, &out, image.width, image.height, 3, rgb.data(), quality)) out.clear();
    return out;
}

std::optional<ResourceContext> loadResourceContext(const std::filesystem::path& regularFont,
                                                   const std::filesystem::path& boldFont, std::string* why) {
    ResourceContext context;
    for (int which = 0; which < 2; ++which) {
        const std::filesystem::path& path = which == 0 ? regularFont : boldFont;
        std::vector<std::uint8_t> bytes;
        std::uint64_t size = 0;
        if (!readImageFile(path, bytes, size)) {
            if (why) *why = "cannot read " + path.string();
            return std::nullopt;
        }
        std::string reason;
        std::optional<FontAtlas> atlas = buildFontAtlas(bytes, &reason);
        if (!atlas) {
            if (why) *why = path.string() + ": " + reason;
            return std::nullopt;
        }
        (which == 0 ? context.regular : context.bold) = std::move(*atlas);
    }
    return context;
}

bool writeResources(const ResourceContext& context, const std::filesystem::path& programFolder, std::string* why) {
    for (const ResourceFile& file : resourceFiles()) {
        const std::filesystem::path path = programFolder / std::filesystem::path(file.path);
        std::error_code error;
        std::filesystem::create_directories(path.parent_path(), error);
        const std::vector<std::uint8_t> bytes = file.make(context);
        if (bytes.empty() || !writeImageFile(path, bytes)) {
            if (why) *why = "cannot make " + path.string();
            return false;
        }
    }
    return true;
}

}  // namespace morvanex::resources
