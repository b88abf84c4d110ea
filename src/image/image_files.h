// Names and layouts of the image files the program reads and writes beside
// its own folder and beside scenes; no graphics calls.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace morvanex {

// The part after the last '\' (or '/') of a path text.
std::string imageBaseName(std::string_view pathText);

// Interface images, loaded at start in this order, each from the program
// folder's "UI" folder. Names are Windows-1252 texts ("imageclé.dds").
std::span<const std::string_view> interfaceImageNames();
std::filesystem::path interfaceImagePath(const std::filesystem::path& programFolder, std::string_view name);

// A texture sequence file: int32 frame count, then for each frame an int32
// byte length and that many bytes of one complete image file (little
// endian). The frames are views into `file`.
struct TextureSequenceFrames {
    std::vector<std::span<const std::uint8_t>> frames;  // the complete frames, in order
    std::string error;                                   // why reading stopped early; empty when complete
};
TextureSequenceFrames splitTextureSequence(std::span<const std::uint8_t> file);

// Frame images of a sequence are named "a18b_" + the frame number from 1.
std::string textureSequenceFrameName(int frameNumber);

// Companion files of a scene object, in the scene's folder.
inline constexpr std::string_view kEnvironmentCubeSuffix = "_Cube.dds";
inline constexpr std::string_view kBlurredShadowSuffix = "_ombrefloue.dds";
std::filesystem::path environmentCubePath(const std::filesystem::path& sceneFolder, std::string_view objectName);
std::filesystem::path blurredShadowPath(const std::filesystem::path& sceneFolder, std::string_view objectName);

// Size of the blurred shadow image and its mip count.
inline constexpr int kBlurredShadowWidth = 1920;
inline constexpr int kBlurredShadowHeight = 1080;
inline constexpr int kBlurredShadowMipLevels = 3;
// Mip levels of an environment cube read from its file.
inline constexpr int kEnvironmentCubeMipLevels = 9;

// The whole file, refusing files over `limit` bytes; false when it cannot
// be read.
bool readImageFile(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes, std::uint64_t& fileSize,
                   std::uint64_t limit = std::uint64_t{1} << 31);
bool writeImageFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

}  // namespace morvanex
