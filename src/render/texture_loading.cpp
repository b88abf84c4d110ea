#include "render/texture_loading.h"

#include <epoxy/gl.h>

#include <string>

#include "base/text_encoding.h"
#include "base/trace_log.h"
#include "image/image_codec.h"
#include "image/image_files.h"
#include "scene/scene_texture.h"

namespace morvanex {

namespace {

constexpr std::string_view kFileNotFound = "D3D11_ERROR_FILE_NOT_FOUND";
constexpr std::string_view kFailed = "E_FAIL";

}  // namespace

TextureImage& TextureList::add(TextureImage image) {
    image.listIndex = static_cast<std::int32_t>(images_.size());
    images_.push_back(std::make_unique<TextureImage>(std::move(image)));
    return *images_.back();
}

TextureImage* InterfaceImages::find(std::string_view name) const {
    for (TextureImage* image : slots)
        if (image && image->name == name) return image;
    return nullptr;
}

TextureImage* loadInterfaceImage(const std::filesystem::path& programFolder, std::string_view name,
                                 TextureList& list, const TraceLog& trace) {
    const std::filesystem::path path = interfaceImagePath(programFolder, name);
    const std::string call = "CreateTextureFromFile UI\\" + std::string(name);
    std::error_code ignored;
    if (!std::filesystem::is_regular_file(path, ignored)) {
        trace.result(call, kFileNotFound);
        return nullptr;
    }
    TextureResult loaded = loadTextureFile(path);
    if (!loaded) {
        trace.result(call, kFailed);
        trace.line(std::string(name) + ": " + loaded.error);
        return nullptr;
    }
    return &list.add(std::move(*loaded.image));
}

InterfaceImages loadInterfaceImages(const std::filesystem::path& programFolder, TextureList& list,
                                    const TraceLog& trace) {
    InterfaceImages images;
    for (std::string_view name : interfaceImageNames()) {
        images.slots.push_back(loadInterfaceImage(programFolder, name, list, trace));
    }
    return images;
}

TextureImage* loadSceneTexture(SceneTexture& texture, TextureList& list, const TraceLog& trace,
                               const TextureLoadOptions& options) {
    if (texture.missing) return nullptr;
    TextureResult loaded;
    if (!texture.embeddedBytes.empty()) {
        loaded = loadTextureMemory(texture.fileName, texture.embeddedBytes, options);
    } else if (!texture.fullPath.empty()) {
        loaded = loadTextureFile(pathFromText(texture.fullPath), options);
        if (loaded) loaded.image->name = texture.fileName.empty() ? loaded.image->name : texture.fileName;
    } else {
        loaded.error = "no image bytes and no path";
    }
    if (!loaded) {
        trace.result("CreateTextureFromMemory " + texture.fileName, kFailed);
        trace.line(texture.fileName + ": " + loaded.error);
        return nullptr;
    }
    TextureImage& image = list.add(std::move(*loaded.image));
    texture.gpuTexture = image.texture;
    texture.gpuView = image.texture;
    if (texture.normalMap) {
        std::string why;
        if (image.makeNormalMap(&why)) texture.gpuView = image.normalTexture;
        else trace.line(texture.fileName + ": " + why);
    }
    return &image;
}

std::size_t loadTextureSequence(const std::filesystem::path& path, TextureList& target, const TraceLog& trace,
                                const TextureLoadOptions& options) {
    std::vector<std::uint8_t> bytes;
    std::uint64_t fileSize = 0;
    if (!readImageFile(path, bytes, fileSize)) {
        trace.line("texture sequence: cannot read " + textFromPath(path));
        return 0;
    }
    const TextureSequenceFrames sequence = splitTextureSequence(bytes);
    std::size_t appended = 0;
    for (std::size_t i = 0; i < sequence.frames.size(); ++i) {
        const std::string name = textureSequenceFrameName(static_cast<int>(i + 1));
        TextureResult frame = loadTextureMemory(name, sequence.frames[i], options);
        if (!frame) {
            trace.line(name + ": " + frame.error);
            continue;
        }
        std::string why;
        if (!frame.image->makeNormalMap(&why)) trace.line(name + ": " + why);
        target.add(std::move(*frame.image));
        ++appended;
    }
    if (!sequence.error.empty()) trace.line(sequence.error);
    return appended;
}

TextureResult loadEnvironmentCube(const std::filesystem::path& path) {
    std::vector<std::uint8_t> bytes;
    std::uint64_t fileSize = 0;
    if (!readImageFile(path, bytes, fileSize)) return {std::nullopt, "cannot read " + path.string()};
    ImageResult decoded = decodeImageRgba8(bytes);
    if (!decoded) return {std::nullopt, decoded.error};
    if (!decoded.image->isCube()) return {std::nullopt, "environment cube: the file is not a cube map"};
    TextureLoadOptions options;
    options.mipLevels = kEnvironmentCubeMipLevels;
    options.filteredMips = true;
    // Levels below the first are made from it, as the cube's own renders do.
    DecodedImage top = *decoded.image;
    if (top.mipLevels > 1) {
        ImageResult firstOnly = withMipLevels(top, 1, true);
        if (!firstOnly) return {std::nullopt, firstOnly.error};
        top = std::move(*firstOnly.image);
    }
    const std::string pathText = textFromPath(path);
    TextureResult made = createTextureImage(top, imageBaseName(pathText), options);
    if (made) {
        made.image->path = pathText;
        made.image->fileSize = static_cast<std::int32_t>(static_cast<std::uint32_t>(fileSize));
        made.image->imageInfo = imageInfoOf(*decoded.image);
    }
    return made;
}

bool saveEnvironmentCube(unsigned cubeTexture, int mipLevels, const std::filesystem::path& sceneFolder,
                         std::string_view objectName, std::string* error) {
    return saveTextureDds(cubeTexture, GL_TEXTURE_CUBE_MAP, mipLevels, environmentCubePath(sceneFolder, objectName),
                          error);
}

TextureResult loadBlurredShadowImage(const std::filesystem::path& sceneFolder, std::string_view objectName) {
    const std::filesystem::path path = blurredShadowPath(sceneFolder, objectName);
    std::error_code ignored;
    if (!std::filesystem::is_regular_file(path, ignored)) return {};
    std::vector<std::uint8_t> bytes;
    std::uint64_t fileSize = 0;
    if (!readImageFile(path, bytes, fileSize)) return {std::nullopt, "cannot read " + path.string()};
    ImageResult decoded = decodeImage(bytes);
    if (!decoded) return {std::nullopt, decoded.error};
    ImageResult canvas = fitToCanvas(*decoded.image, kBlurredShadowWidth, kBlurredShadowHeight);
    if (!canvas) return {std::nullopt, canvas.error};
    TextureLoadOptions options;
    options.mipLevels = kBlurredShadowMipLevels;
    options.filteredMips = true;
    const std::string pathText = textFromPath(path);
    TextureResult made = createTextureImage(*canvas.image, imageBaseName(pathText), options);
    if (made) {
        made.image->path = pathText;
        made.image->fileSize = static_cast<std::int32_t>(static_cast<std::uint32_t>(fileSize));
        made.image->imageInfo = imageInfoOf(*decoded.image);
    }
    return made;
}

}  // namespace morvanex
