// The graphics device and the frame targets of the main window.
//
// The device and its immediate context are the window's OpenGL context (made
// by PlatformWindow). The frame is drawn into an off-screen framebuffer, the
// stand-in for the swap chain's back buffer: an RGBA8 colour renderbuffer and
// a 24-bit depth + 8-bit stencil renderbuffer, both of the window's drawable
// size and of the chosen sample count. End frame resolves it into the
// window's own framebuffer and swaps with the sync interval.
//
// Conventions: depth runs 0..1 when clip control is available (see
// depthZeroToOne()), front faces are clockwise, the window origin stays at the
// lower left (clip-space y up is the top of the window, as the projection
// expects).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/image_record.h"
#include "render/result_codes.h"
#include "scene/math.h"

namespace morvanex {

class PlatformWindow;
class Renderer;
class TraceLog;

// Supported sample counts (increasing, starting at 1) and, for the same
// index, the highest quality level (always 0 here: OpenGL has no levels).
struct SampleModeList {
    std::vector<int> counts;
    std::vector<int> qualities;

    std::size_t size() const { return counts.size(); }
    bool empty() const { return counts.empty(); }
};

struct SampleMode {
    int count = 1;
    int quality = 0;
    friend bool operator==(const SampleMode&, const SampleMode&) = default;
};

// The list for the given supported counts, a quality 0 each.
SampleModeList sampleModeListFromCounts(const std::vector<int>& counts);

// The start-up choice: the second-highest entry when there is more than one
// (the highest costs too much for what it adds), otherwise 1 sample, quality 0.
SampleMode chooseSampleMode(const SampleModeList& list);
// The entry with the most samples up to `most`; 1 sample when none is.
SampleMode mostSamplesUpTo(const SampleModeList& list, int most);

// The sample counts the current context can draw into with RGBA8 colour and
// 24/8 depth-stencil: every power of two from 1 up to GL_MAX_SAMPLES whose
// framebuffer is complete, as the driver really allocates them (a driver
// that rounds a count up gives that count once). Needs a current context.
struct SampleProbe {
    ResultCode maxSamplesResult = hr::S_OK;   // asking for GL_MAX_SAMPLES
    ResultCode framebufferResult = hr::S_OK;  // making the probe's framebuffer
    int maxSamples = 1;
    unsigned probeFramebuffer = 0;  // its name, non-zero when it was made
    std::vector<int> counts;
};
SampleProbe probeSampleCounts();

class GraphicsContext {
public:
    struct Options {
        // Clip control makes the clip-space depth range 0..1; tests turn it
        // off to run the path where the vertex programs remap depth.
        bool useClipControl = true;
    };

    GraphicsContext(PlatformWindow& window, const TraceLog& trace);
    GraphicsContext(PlatformWindow& window, const TraceLog& trace, Options options);
    ~GraphicsContext();
    GraphicsContext(const GraphicsContext&) = delete;
    GraphicsContext& operator=(const GraphicsContext&) = delete;

    // Writes "InitApp()", probes the supported sample counts and picks the
    // start-up sample mode. Needs the window's context to be current.
    ResultCode chooseMultisampleMode();
    // Same choice over a given list (tests, or a list known beforehand).
    void setSampleModeList(SampleModeList list);
    // Probes the context and keeps the most samples it offers up to `most`
    // (pictures made without the interface choose quality over speed).
    void chooseSampleCountAtMost(int most);

    // Sets the context's conventions and makes the frame targets of the
    // window's drawable size. On failure everything made is released.
    ResultCode create();
    // Shader model 4 stands for an OpenGL 3.3 core context.
    bool checkShaderModel4() const;

    // Recreates the frame targets at the drawable size: false keeps the
    // framebuffer and replaces its buffers (a size change), true replaces the
    // framebuffer as well (a new sample mode). A failing step returns its
    // code and leaves the remaining targets unset. Before create() it
    // makes nothing and returns E_FAIL.
    ResultCode resize(bool recreate);
    // Picks entry i of the sample mode list (E_INVALIDARG past its end);
    // leaves full screen first, then resize(true).
    ResultCode selectMultisampleEntry(std::size_t i);

    void setVerticalSync(bool on);
    void setFullScreen(bool on);

    // Binds the frame targets, sets the viewport, clears colour and depth
    // (1.0); stencil, colour and depth write masks and scissor are left as
    // they were.
    void beginFrame(const Vec4& clearColour);
    // Resolves the frame into the window and presents it.
    void endFrame();

    // One pixel of the current frame (x from the left, y from the top), RGBA
    // bytes, read from its resolved copy; for tests and screenshots.
    void readPixel(int x, int y, unsigned char rgba[4]);
    // The whole current frame as an RGBA8 image, rows top first.
    DecodedImage readFrame();

    // Depth buffer, its attachment, the colour buffer, the framebuffers; the
    // context itself goes with the window.
    void releaseAll();

    // The renderer whose size copy is refreshed after every resize.
    void attachRenderer(Renderer* renderer);

    int width() const { return width_; }
    int height() const { return height_; }
    int sampleCount() const { return sampleCount_; }
    int sampleQuality() const { return sampleQuality_; }
    const SampleModeList& sampleModeList() const { return modes_; }
    bool verticalSync() const { return verticalSync_; }
    int syncInterval() const { return syncInterval_; }
    bool fullScreen() const { return fullScreen_; }
    // True when clip control is on with a 0..1 depth range; otherwise the
    // vertex programs map the program's 0..1 depth onto OpenGL's -1..1.
    bool depthZeroToOne() const { return depthZeroToOne_; }
    // Between a successful create() and releaseAll(), even when a resize failed.
    bool created() const { return created_; }

    // What the driver made, read back after each (re)creation.
    std::uint32_t backBufferFormat() const { return backBufferFormat_; }
    int backBufferSampleCount() const { return backBufferSampleCount_; }
    int backBufferSampleQuality() const { return backBufferSampleQuality_; }

    // OpenGL names, for tests and for passes that draw off screen and come back.
    unsigned framebuffer() const { return framebuffer_; }
    unsigned colorBuffer() const { return colorBuffer_; }
    unsigned depthBuffer() const { return depthBuffer_; }
    unsigned resolveFramebuffer() const { return resolveFramebuffer_; }
    unsigned resolveBuffer() const { return resolveBuffer_; }

private:
    ResultCode createFramebuffer();
    ResultCode createTargets();
    void bindTargets();
    void readDrawableSize();
    void releaseTargets();
    void releaseFramebuffers();
    void resolve();
    void bindResolvedFrameForReading();
    void logResult(const char* call, ResultCode code) const;

    PlatformWindow& window_;
    const TraceLog& trace_;
    Options options_;
    Renderer* renderer_ = nullptr;

    int width_ = 0;
    int height_ = 0;
    int sampleCount_ = 1;
    int sampleQuality_ = 0;
    SampleModeList modes_;
    bool verticalSync_ = true;
    int syncInterval_ = 1;
    bool fullScreen_ = false;
    bool depthZeroToOne_ = false;
    bool logSteps_ = false;  // only the first creation logs its steps
    bool created_ = false;

    std::uint32_t backBufferFormat_ = 0;
    int backBufferSampleCount_ = 0;
    int backBufferSampleQuality_ = 0;

    unsigned framebuffer_ = 0;         // the "swap chain"
    unsigned colorBuffer_ = 0;         // its back buffer and view
    unsigned depthBuffer_ = 0;         // depth-stencil buffer
    bool depthAttached_ = false;       // its view
    unsigned resolveFramebuffer_ = 0;  // single-sample copy, only with samples > 1
    unsigned resolveBuffer_ = 0;
    int resolveWidth_ = 0;
    int resolveHeight_ = 0;
};

}  // namespace morvanex
