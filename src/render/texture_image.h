// Images on the graphics card: a loaded image shared by name, and the
// uploads and read-backs behind it. Every function here needs the
// program's graphics context current.
//
// Orientation: rows are uploaded top first, as the file stores them, so
// texture coordinate v = 0 is the top of the image and shaders use v as
// is. Rendered images are made to sample the same way. Cube faces are
// uploaded in file order (+X, -X, +Y, -Y, +Z, -Z), top row first, which is
// what the cube-map sampling of the driver expects of such files.
//
// Textures carry no sampler state: the renderer's sampler objects decide
// filtering and addressing. Only the level range is set, so that every
// texture is complete with the levels it has.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

#include "image/image_record.h"

namespace morvanex {

// What the image file's header says.
struct ImageInfo {
    enum class Dimension : std::uint8_t { Texture2D };
    static constexpr std::uint32_t kMiscTextureCube = 0x4;

    int width = 0;
    int height = 0;
    int depth = 1;
    int arraySize = 1;  // 6 for a cube
    int mipLevels = 1;
    std::uint32_t miscFlags = 0;
    PixelFormat format = PixelFormat::Rgba8;
    Dimension dimension = Dimension::Texture2D;
    ImageFileFormat fileFormat = ImageFileFormat::Unknown;
};

ImageInfo imageInfoOf(const DecodedImage& image);

// One loaded image. Owns its textures (deleted with it, so it must go
// before the graphics context). The texture name is also what shaders
// bind: there is no separate view object.
class TextureImage {
public:
    TextureImage() = default;
    ~TextureImage();
    TextureImage(TextureImage&& other) noexcept;
    TextureImage& operator=(TextureImage&& other) noexcept;
    TextureImage(const TextureImage&) = delete;
    TextureImage& operator=(const TextureImage&) = delete;

    std::string name;  // file name, Windows-1252 text
    std::string path;  // full path text when loaded from a path
    std::int32_t listIndex = -1;
    unsigned texture = 0;        // GL texture name (2D or cube)
    unsigned target = 0;         // GL_TEXTURE_2D or GL_TEXTURE_CUBE_MAP
    unsigned normalTexture = 0;  // derived normal map (2D), made on demand
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t depth = 1;
    std::int32_t mipLevels = 0;  // levels the texture holds
    bool compressed = false;     // stored in a block format on the card
    ImageInfo imageInfo;
    std::int32_t fileSize = 0;  // low 32 bits of the source's byte count
    std::uint8_t flag = 0;

    bool isCube() const;

    // Makes (or remakes) normalTexture from level 0, with the same size and
    // mip count; false with a reason for cubes or failed uploads.
    bool makeNormalMap(std::string* error = nullptr);

private:
    void release();
};

// mipLevels: the count wanted, 0 for the full chain. When the file has
// fewer, the rest are generated: averaged when filteredMips, else by
// taking every other pixel. allowCompressedUpload: block formats go to the
// card compressed when the driver offers S3TC (they are expanded to RGBA8
// otherwise, or when levels must be generated).
struct TextureLoadOptions {
    int mipLevels = 1;
    bool filteredMips = false;
    bool allowCompressedUpload = true;
};

struct TextureResult {
    std::optional<TextureImage> image;
    std::string error;
    explicit operator bool() const { return image.has_value(); }
};

bool driverHasS3tc();

// Uploads a decoded image (2D or cube).
TextureResult createTextureImage(const DecodedImage& image, std::string name, const TextureLoadOptions& options = {});

// Reads and decodes a file; no texture is made when the file cannot be
// opened. The image is named after the file's name.
TextureResult loadTextureFile(const std::filesystem::path& path, const TextureLoadOptions& options = {});

// The same from bytes in memory (embedded images, sequence frames).
TextureResult loadTextureMemory(std::string name, std::span<const std::uint8_t> bytes,
                                const TextureLoadOptions& options = {});

// Reads a texture back as RGBA8, rows top first: every face, `mipLevels`
// levels (0: level 0 only). target is GL_TEXTURE_2D or GL_TEXTURE_CUBE_MAP.
ImageResult readTexture(unsigned texture, unsigned target, int mipLevels = 1);

// Writes a texture's level 0 (2D) as a 24-bit BMP, or all faces and levels
// as an RGBA8 DDS.
bool saveTextureBmp(unsigned texture, const std::filesystem::path& path, std::string* error = nullptr);
// The same for an image the passes drew into: drawing leaves its rows
// bottom first, so they are turned over for the file to be the right way up.
bool saveRenderedTextureBmp(unsigned texture, const std::filesystem::path& path, std::string* error = nullptr);
bool saveTextureDds(unsigned texture, unsigned target, int mipLevels, const std::filesystem::path& path,
                    std::string* error = nullptr);

}  // namespace morvanex
