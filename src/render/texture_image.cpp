#include "render/texture_image.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <utility>

#include "base/text_encoding.h"
#include "image/dds_codec.h"
#include "image/image_codec.h"
#include "image/image_files.h"
#include "image/normal_map.h"

namespace morvanex {

namespace {

// Keeps the caller's binding and pixel-transfer state: loads happen in the
// middle of drawing code that does not expect them to change.
class TransferState {
public:
    explicit TransferState(GLenum target) : target_(target) {
        glGetIntegerv(target == GL_TEXTURE_CUBE_MAP ? GL_TEXTURE_BINDING_CUBE_MAP : GL_TEXTURE_BINDING_2D, &bound_);
        glGetIntegerv(GL_UNPACK_ALIGNMENT, &unpackAlignment_);
        glGetIntegerv(GL_PACK_ALIGNMENT, &packAlignment_);
        glGetIntegerv(GL_PIXEL_UNPACK_BUFFER_BINDING, &unpackBuffer_);
        glGetIntegerv(GL_PIXEL_PACK_BUFFER_BINDING, &packBuffer_);
        glBindBuffer(GL_PIXEL_UNPACK_BUFFER, 0);
        glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
    }
    ~TransferState() {
        glBindTexture(target_, static_cast<GLuint>(bound_));
        glPixelStorei(GL_UNPACK_ALIGNMENT, unpackAlignment_);
        glPixelStorei(GL_PACK_ALIGNMENT, packAlignment_);
        glBindBuffer(GL_PIXEL_UNPACK_BUFFER, static_cast<GLuint>(unpackBuffer_));
        glBindBuffer(GL_PIXEL_PACK_BUFFER, static_cast<GLuint>(packBuffer_));
    }
    TransferState(const TransferState&) = delete;
    TransferState& operator=(const TransferState&) = delete;

private:
    GLenum target_;
    GLint bound_ = 0;
    GLint unpackAlignment_ = 4;
    GLint packAlignment_ = 4;
    GLint unpackBuffer_ = 0;
    GLint packBuffer_ = 0;
};

GLenum compressedFormat(PixelFormat format) {
    switch (format) {
    case PixelFormat::Bc1: return GL_COMPRESSED_RGBA_S3TC_DXT1_EXT;
    case PixelFormat::Bc2: return GL_COMPRESSED_RGBA_S3TC_DXT3_EXT;
    case PixelFormat::Bc3: return GL_COMPRESSED_RGBA_S3TC_DXT5_EXT;
    case PixelFormat::Rgba8: break;
    }
    return 0;
}

GLenum faceTarget(GLenum target, int face) {
    return target == GL_TEXTURE_CUBE_MAP ? static_cast<GLenum>(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face) : target;
}

std::string glErrorText(GLenum code) { return "GL error " + std::to_string(code); }

void drainErrors() {
    while (glGetError() != GL_NO_ERROR) {
    }
}

TextureResult failure(std::string why) { return {std::nullopt, std::move(why)}; }

}  // namespace

ImageInfo imageInfoOf(const DecodedImage& image) {
    ImageInfo info;
    info.width = image.width;
    info.height = image.height;
    info.arraySize = image.faces;
    info.mipLevels = image.mipLevels;
    info.miscFlags = image.isCube() ? ImageInfo::kMiscTextureCube : 0;
    info.format = image.format;
    info.fileFormat = image.fileFormat;
    return info;
}

TextureImage::~TextureImage() { release(); }

TextureImage::TextureImage(TextureImage&& other) noexcept { *this = std::move(other); }

TextureImage& TextureImage::operator=(TextureImage&& other) noexcept {
    if (this == &other) return *this;
    release();
    name = std::move(other.name);
    path = std::move(other.path);
    listIndex = other.listIndex;
    texture = std::exchange(other.texture, 0u);
    target = other.target;
    normalTexture = std::exchange(other.normalTexture, 0u);
    width = other.width;
    height = other.height;
    depth = other.depth;
    mipLevels = other.mipLevels;
    compressed = other.compressed;
    imageInfo = other.imageInfo;
    fileSize = other.fileSize;
    flag = other.flag;
    return *this;
}

void TextureImage::release() {
    if (texture) glDeleteTextures(1, &texture);
    if (normalTexture) glDeleteTextures(1, &normalTexture);
    texture = 0;
    normalTexture = 0;
}

bool TextureImage::isCube() const { return target == GL_TEXTURE_CUBE_MAP; }

bool TextureImage::makeNormalMap(std::string* error) {
    auto fail = [&](std::string why) {
        if (error) *error = std::move(why);
        return false;
    };
    if (!texture || isCube()) return fail("normal map: needs a 2D texture");
    ImageResult source = readTexture(texture, GL_TEXTURE_2D, 1);
    if (!source) return fail(source.error);
    ImageResult normals = computeNormalMap(*source.image);
    if (!normals) return fail(normals.error);
    TextureLoadOptions options;
    options.mipLevels = mipLevels;
    options.filteredMips = true;
    TextureResult made = createTextureImage(*normals.image, name, options);
    if (!made) return fail(made.error);
    if (normalTexture) glDeleteTextures(1, &normalTexture);
    normalTexture = std::exchange(made.image->texture, 0u);
    return true;
}

bool driverHasS3tc() { return epoxy_has_gl_extension("GL_EXT_texture_compression_s3tc"); }

TextureResult createTextureImage(const DecodedImage& source, std::string name, const TextureLoadOptions& options) {
    if (!isWellFormed(source)) return failure("image record is not well formed");
    const int full = fullMipCount(source.width, source.height);
    const int wanted = options.mipLevels <= 0 ? full : std::min(options.mipLevels, full);
    const bool keepBlocks = isBlockCompressed(source.format) && options.allowCompressedUpload &&
                            wanted <= source.mipLevels && driverHasS3tc();
    ImageResult prepared = withMipLevels(source, wanted, options.filteredMips);
    if (prepared && !keepBlocks && isBlockCompressed(prepared.image->format))
        prepared = decompressToRgba8(*prepared.image);
    if (!prepared) return failure(prepared.error);
    const DecodedImage& image = *prepared.image;

    const GLenum target = image.isCube() ? GL_TEXTURE_CUBE_MAP : GL_TEXTURE_2D;
    TextureImage made;
    made.name = std::move(name);
    made.target = target;
    made.width = image.width;
    made.height = image.height;
    made.mipLevels = image.mipLevels;
    made.compressed = isBlockCompressed(image.format);
    made.imageInfo = imageInfoOf(source);
    {
        TransferState state(target);
        drainErrors();
        glGenTextures(1, &made.texture);
        glBindTexture(target, made.texture);
        for (int face = 0; face < image.faces; ++face) {
            for (int mip = 0; mip < image.mipLevels; ++mip) {
                const ImageLevel& level = image.level(face, mip);
                if (made.compressed)
                    glCompressedTexImage2D(faceTarget(target, face), mip, compressedFormat(image.format), level.width,
                                           level.height, 0, static_cast<GLsizei>(level.bytes.size()),
                                           level.bytes.data());
                else
                    glTexImage2D(faceTarget(target, face), mip, GL_RGBA8, level.width, level.height, 0, GL_RGBA,
                                 GL_UNSIGNED_BYTE, level.bytes.data());
            }
        }
        glTexParameteri(target, GL_TEXTURE_BASE_LEVEL, 0);
        glTexParameteri(target, GL_TEXTURE_MAX_LEVEL, image.mipLevels - 1);
        if (const GLenum code = glGetError(); code != GL_NO_ERROR) return failure("texture upload: " + glErrorText(code));
    }
    return {std::move(made), {}};
}

TextureResult loadTextureMemory(std::string name, std::span<const std::uint8_t> bytes,
                                const TextureLoadOptions& options) {
    ImageResult decoded = decodeImage(bytes);
    if (!decoded) return failure(decoded.error);
    TextureResult made = createTextureImage(*decoded.image, std::move(name), options);
    if (made) made.image->fileSize = static_cast<std::int32_t>(static_cast<std::uint32_t>(bytes.size()));
    return made;
}

TextureResult loadTextureFile(const std::filesystem::path& path, const TextureLoadOptions& options) {
    std::vector<std::uint8_t> bytes;
    std::uint64_t fileSize = 0;
    if (!readImageFile(path, bytes, fileSize)) return failure("cannot read " + path.string());
    const std::string pathText = textFromPath(path);
    TextureResult made = loadTextureMemory(imageBaseName(pathText), bytes, options);
    if (made) {
        made.image->path = pathText;
        made.image->fileSize = static_cast<std::int32_t>(static_cast<std::uint32_t>(fileSize));
    }
    return made;
}

ImageResult readTexture(unsigned texture, unsigned target, int mipLevels) {
    if (!texture || (target != GL_TEXTURE_2D && target != GL_TEXTURE_CUBE_MAP))
        return ImageResult::failure("read back: no texture");
    TransferState state(target);
    drainErrors();
    glBindTexture(target, texture);
    DecodedImage image;
    image.faces = target == GL_TEXTURE_CUBE_MAP ? 6 : 1;
    GLint width = 0, height = 0;
    glGetTexLevelParameteriv(faceTarget(target, 0), 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(faceTarget(target, 0), 0, GL_TEXTURE_HEIGHT, &height);
    if (width < 1 || height < 1 || width > kMaxImageDimension || height > kMaxImageDimension)
        return ImageResult::failure("read back: texture has no level 0");
    image.width = width;
    image.height = height;
    image.mipLevels = std::clamp(mipLevels, 1, fullMipCount(width, height));
    for (int face = 0; face < image.faces; ++face) {
        for (int mip = 0; mip < image.mipLevels; ++mip) {
            ImageLevel level;
            level.width = mipDimension(width, mip);
            level.height = mipDimension(height, mip);
            level.bytes.resize(static_cast<std::size_t>(levelByteSize(PixelFormat::Rgba8, level.width, level.height)));
            glGetTexImage(faceTarget(target, face), mip, GL_RGBA, GL_UNSIGNED_BYTE, level.bytes.data());
            image.levels.push_back(std::move(level));
        }
    }
    if (const GLenum code = glGetError(); code != GL_NO_ERROR) return ImageResult::failure("read back: " + glErrorText(code));
    return ImageResult::success(std::move(image));
}

bool saveTextureBmp(unsigned texture, const std::filesystem::path& path, std::string* error) {
    ImageResult image = readTexture(texture, GL_TEXTURE_2D, 1);
    if (!image) {
        if (error) *error = image.error;
        return false;
    }
    if (!writeImageFile(path, encodeBmp24(*image.image))) {
        if (error) *error = "cannot write " + path.string();
        return false;
    }
    return true;
}

bool saveRenderedTextureBmp(unsigned texture, const std::filesystem::path& path, std::string* error) {
    ImageResult image = readTexture(texture, GL_TEXTURE_2D, 1);
    if (!image) {
        if (error) *error = image.error;
        return false;
    }
    ImageLevel& level = image.image->levels.front();
    const auto rowBytes = static_cast<std::size_t>(level.width) * 4;
    for (std::size_t top = 0, bottom = static_cast<std::size_t>(level.height); top + 1 < bottom; ++top, --bottom) {
        std::swap_ranges(level.bytes.begin() + static_cast<std::ptrdiff_t>(top * rowBytes),
                         level.bytes.begin() + static_cast<std::ptrdiff_t>((top + 1) * rowBytes),
                         level.bytes.begin() + static_cast<std::ptrdiff_t>((bottom - 1) * rowBytes));
    }
    if (!writeImageFile(path, encodeBmp24(*image.image))) {
        if (error) *error = "cannot write " + path.string();
        return false;
    }
    return true;
}

bool saveTextureDds(unsigned texture, unsigned target, int mipLevels, const std::filesystem::path& path,
                    std::string* error) {
    ImageResult image = readTexture(texture, target, mipLevels);
    if (!image) {
        if (error) *error = image.error;
        return false;
    }
    if (!writeImageFile(path, encodeDds(*image.image))) {
        if (error) *error = "cannot write " + path.string();
        return false;
    }
    return true;
}

}  // namespace morvanex
