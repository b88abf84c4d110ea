// The program's image loads: the texture list, the interface images read at
// start, scene textures, texture sequences, environment cubes, blurred
// shadow images and viewpoint snapshots. Graphics context must be current.
#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string_view>
#include <vector>

#include "render/texture_image.h"

namespace morvanex {

class TraceLog;
struct SceneTexture;

// Loaded images in load order; a record keeps its address and its
// listIndex for as long as the list lives. No sharing by name here: the
// scene's texture cache does that.
class TextureList {
public:
    TextureImage& add(TextureImage image);
    std::size_t size() const { return images_.size(); }
    TextureImage& operator[](std::size_t i) { return *images_[i]; }
    const TextureImage& operator[](std::size_t i) const { return *images_[i]; }
    void clear() { images_.clear(); }

private:
    std::vector<std::unique_ptr<TextureImage>> images_;
};

// One slot per name of interfaceImageNames(), in that order; a slot is
// empty (null) when its image could not be loaded, and widgets drawing
// with it draw nothing.
struct InterfaceImages {
    std::vector<TextureImage*> slots;
    // First loaded image of that name (Windows-1252 text), or null.
    TextureImage* find(std::string_view name) const;
};

// Loads every interface image from programFolder/UI into `list`. A missing
// or unreadable image writes
//   "CreateTextureFromFile UI\<name>, hr = D3D11_ERROR_FILE_NOT_FOUND"
// (or "..., hr = E_FAIL" followed by a line with the reason when the file
// is there but not a readable image) and leaves its slot empty.
// One interface image by its name in the UI folder, added to `list`; null
// with the same trace lines when it cannot be loaded.
TextureImage* loadInterfaceImage(const std::filesystem::path& programFolder, std::string_view name,
                                 TextureList& list, const TraceLog& trace);

InterfaceImages loadInterfaceImages(const std::filesystem::path& programFolder, TextureList& list,
                                    const TraceLog& trace);

// Makes the image of a scene texture from its embedded bytes, else from
// its full path, adds it to `list`, sets texture.gpuTexture and
// texture.gpuView to the GL texture name, and makes the normal map when
// texture.normalMap is set (gpuView then names the normal map). Null (with a trace line) when it cannot be
// made; missing textures are not tried.
TextureImage* loadSceneTexture(SceneTexture& texture, TextureList& list, const TraceLog& trace,
                               const TextureLoadOptions& options = {});

// Appends one image per readable frame, named "a18b_<frame number>" and
// with its normal map, in file order; returns how many were appended.
// Damaged frames and a file that ends early are traced and skipped.
std::size_t loadTextureSequence(const std::filesystem::path& path, TextureList& target, const TraceLog& trace,
                                const TextureLoadOptions& options = {});

// An environment cube file (a six-face DDS of any supported format) as an
// RGBA8 cube of up to 9 mip levels, the levels below the first generated
// by averaging.
TextureResult loadEnvironmentCube(const std::filesystem::path& path);
bool saveEnvironmentCube(unsigned cubeTexture, int mipLevels, const std::filesystem::path& sceneFolder,
                         std::string_view objectName, std::string* error = nullptr);

// The object's blurred shadow image when its file exists: placed unscaled
// on a 1920 x 1080 RGBA8 image of 3 averaged mip levels. No image and no
// error when there is no file.
TextureResult loadBlurredShadowImage(const std::filesystem::path& sceneFolder, std::string_view objectName);

}  // namespace morvanex
