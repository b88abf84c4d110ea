#include "resources/resource_set.h"

#include <stb/stb_image_write.h>

#include "image/dds_codec.h"
#include "image/image_codec.h"
#include "image/image_files.h"
#include "resources/default_images.h"
#include "resources/demo_textures.h"
#include "resources/icons.h"
#include "resources/interface_icons.h"

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

using Maker = std::function<std::vector<std::uint8_t>(const ResourceContext&, std::string*)>;

Maker dds(DecodedImage (*draw)()) {
    return [draw](const ResourceContext&, std::string*) { return encodeDds(draw()); };
}
Maker bmp(DecodedImage (*draw)()) {
    return [draw](const ResourceContext&, std::string*) { return encodeBmp24(draw()); };
}
Maker jpg(DecodedImage (*draw)()) {
    return [draw](const ResourceContext&, std::string*) { return encodeJpg(draw()); };
}
Maker font(bool bold, bool inverted) {
    return [bold, inverted](const ResourceContext& c, std::string*) {
        return encodeDds(fontImage(bold ? c.bold : c.regular, inverted));
    };
}
Maker fontMetrics(bool bold) {
    return [bold](const ResourceContext& c, std::string*) { return encodeFontMetrics((bold ? c.bold : c.regular).metrics); };
}

// A drawn icon in the format its name asks for: uncompressed DDS keeps the
// alpha, BMP is opaque.
Maker icon(const InterfaceIcon& drawing) {
    return [&drawing](const ResourceContext& c, std::string* why) {
        ImageResult image = drawInterfaceIcon(drawing, c.iconFolder);
        if (!image) {
            if (why) *why = image.error;
            return std::vector<std::uint8_t>{};
        }
        return drawing.file.ends_with(".bmp") ? encodeBmp24(*image.image) : encodeDds(*image.image);
    };
}

std::vector<ResourceFile> makeList() {
    std::vector<ResourceFile> files;
    // Fonts and their metrics, read from the shaders folder.
    files.push_back({"shaders/font.dds", font(false, false)});
    files.push_back({"shaders/fontbold.dds", font(true, false)});
    files.push_back({"shaders/fontinvert.dds", font(false, true)});
    files.push_back({"shaders/Font.uvs", fontMetrics(false)});
    files.push_back({"shaders/Fontbold.uvs", fontMetrics(true)});
    // Plain images.
    files.push_back({"UI/white.bmp", bmp([] { return solidImage(kWhite); })});
    files.push_back({"UI/red.bmp", bmp([] { return solidImage({255, 0, 0, 255}); })});
    files.push_back({"UI/black.bmp", bmp([] { return solidImage(kBlack); })});
    files.push_back({"UI/vertice.dds", dds([] { return vertexMarker(false); })});
    files.push_back({"UI/vertice1.dds", dds([] { return vertexMarker(true); })});
    files.push_back({"UI/FalloffRamp.dds", dds(falloffRamp)});
    // Demonstration textures.
    files.push_back({"UI/lune.jpg", jpg([] { return moonTextures().colour; })});
    files.push_back({"UI/lune_bump.jpg", jpg([] { return moonTextures().height; })});
    files.push_back({"UI/boite.jpg", jpg([] { return crateTextures().colour; })});
    files.push_back({"UI/boite_bump.jpg", jpg([] { return crateTextures().height; })});
    // Interface images computed rather than drawn.
    files.push_back({"UI/ombre.bmp", bmp(shadowImage)});
    files.push_back({"UI/caret.dds", dds(caretImage)});
    // Drawn interface images.
    for (const InterfaceIcon& drawing : interfaceIcons()) files.push_back({"UI/" + std::string(drawing.file), icon(drawing)});
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
                                                   const std::filesystem::path& boldFont,
                                                   const std::filesystem::path& iconFolder, std::string* why) {
    ResourceContext context;
    context.iconFolder = iconFolder;
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
        std::string reason;
        const std::vector<std::uint8_t> bytes = file.make(context, &reason);
        if (bytes.empty()) {
            if (why) *why = "cannot make " + path.string() + (reason.empty() ? "" : ": " + reason);
            return false;
        }
        if (!writeImageFile(path, bytes)) {
            if (why) *why = "cannot write " + path.string();
            return false;
        }
    }
    return true;
}

}  // namespace morvanex::resources
