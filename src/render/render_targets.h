// Off-screen drawing: images objects render into (mirror, light-view and
// preview images), environment cubes, and the depth targets those passes
// share. A pass saves the bound framebuffer and viewport when it begins and
// puts them back when it ends, so passes can run in the middle of a frame.
#pragma once

#include <array>
#include <cstdint>

#include "scene/math.h"

namespace morvanex {

inline constexpr int kOffscreenWidth = 1920;
inline constexpr int kOffscreenHeight = 1080;
inline constexpr int kPreviewWidth = 960;
inline constexpr int kPreviewHeight = 540;
inline constexpr int kCubeSize = 512;
inline constexpr int kRenderTextureMipLevels = 9;

// Mip levels an image of this size can hold, at most kRenderTextureMipLevels.
int renderTextureLevels(int width, int height);

// The framebuffer and viewport in force before a pass.
struct SavedTargets {
    std::int32_t framebuffer = 0;
    std::array<std::int32_t, 4> viewport{};
    static SavedTargets current();
    void restore() const;
};

// Depth buffers of the off-screen passes, made once by the renderer.
class OffscreenDepthTargets {
public:
    OffscreenDepthTargets() = default;
    ~OffscreenDepthTargets();
    OffscreenDepthTargets(const OffscreenDepthTargets&) = delete;
    OffscreenDepthTargets& operator=(const OffscreenDepthTargets&) = delete;

    // False when the driver refused one (the passes that need it then draw
    // nothing).
    bool create(int fullWidth = kOffscreenWidth, int fullHeight = kOffscreenHeight);
    void release();

    unsigned cubeDepth() const { return cubeDepth_; }  // cube texture, 6 layers
    unsigned fullDepth() const { return fullDepth_; }  // renderbuffer
    unsigned halfDepth() const { return halfDepth_; }  // renderbuffer
    int fullWidth() const { return fullWidth_; }
    int fullHeight() const { return fullHeight_; }

private:
    unsigned cubeDepth_ = 0;
    unsigned fullDepth_ = 0;
    unsigned halfDepth_ = 0;
    int fullWidth_ = 0;
    int fullHeight_ = 0;
};

// An image an object renders into: RGBA8, mip levels generated at the end
// of each pass. Made on first use.
class RenderTexture {
public:
    RenderTexture() = default;
    ~RenderTexture();
    RenderTexture(const RenderTexture&) = delete;
    RenderTexture& operator=(const RenderTexture&) = delete;

    // Makes it on first use (or at a new size), saves the current targets,
    // binds the image with the depth renderbuffer, sets the viewport and
    // clears colour and depth. False (nothing bound) when it cannot be made.
    bool begin(int width, int height, unsigned depthRenderbuffer, const Vec4& clearColour);
    // Restores the saved targets and generates the mip levels.
    void end();
    void release();

    unsigned texture() const { return texture_; }
    int width() const { return width_; }
    int height() const { return height_; }
    bool created() const { return texture_ != 0; }
    // Passes drawn into it so far.
    std::uint32_t passes() const { return passes_; }

private:
    bool create(int width, int height);

    unsigned texture_ = 0;
    unsigned framebuffer_ = 0;
    unsigned attachedDepth_ = 0;
    int width_ = 0;
    int height_ = 0;
    std::uint32_t passes_ = 0;
    SavedTargets saved_;
};

// An environment cube an object renders into in one pass (each triangle
// goes to the six layers through the cube geometry program).
class CubeRenderTarget {
public:
    CubeRenderTarget() = default;
    ~CubeRenderTarget();
    CubeRenderTarget(const CubeRenderTarget&) = delete;
    CubeRenderTarget& operator=(const CubeRenderTarget&) = delete;

    bool begin(unsigned cubeDepth, const Vec4& clearColour);
    void end();
    void release();

    unsigned texture() const { return texture_; }
    bool created() const { return texture_ != 0; }

private:
    bool create(unsigned cubeDepth);

    unsigned texture_ = 0;
    unsigned framebuffer_ = 0;
    SavedTargets saved_;
};

}  // namespace morvanex
