#include "render/graphics_context.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <string>

#include "base/trace_log.h"
#include "platform/platform_window.h"
#include "render/renderer.h"

namespace morvanex {
namespace {

constexpr GLenum kColorFormat = GL_RGBA8;
constexpr GLenum kDepthFormat = GL_DEPTH24_STENCIL8;
constexpr int kProbeSize = 4;  // completeness does not depend on the size

// Errors left by earlier calls are not ours to report; a bounded loop, since
// a lost context may keep answering with an error.
void discardGlErrors() {
    for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) {
    }
}

ResultCode lastGlResult() { return resultFromGlError(glGetError()); }

// OpenGL's "0 samples" is the plain single-sample buffer: the 1 of the list.
GLsizei glSamples(int count) { return count > 1 ? count : 0; }

int renderbufferSamples(GLuint renderbuffer) {
    GLint samples = 0;
    glBindRenderbuffer(GL_RENDERBUFFER, renderbuffer);
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_SAMPLES, &samples);
    return std::max(1, static_cast<int>(samples));
}

// Blits ignore write masks but not the scissor test.
class ScissorOff {
public:
    ScissorOff() : wasOn_(glIsEnabled(GL_SCISSOR_TEST) == GL_TRUE) {
        if (wasOn_) glDisable(GL_SCISSOR_TEST);
    }
    ~ScissorOff() {
        if (wasOn_) glEnable(GL_SCISSOR_TEST);
    }
    ScissorOff(const ScissorOff&) = delete;
    ScissorOff& operator=(const ScissorOff&) = delete;

private:
    bool wasOn_;
};

}  // namespace

SampleModeList sampleModeListFromCounts(const std::vector<int>& counts) {
    SampleModeList list;
    list.counts = counts;
    list.qualities.assign(counts.size(), 0);
    return list;
}

SampleMode chooseSampleMode(const SampleModeList& list) {
    const std::size_t n = std::min(list.counts.size(), list.qualities.size());
    if (n > 1) return {list.counts[n - 2], list.qualities[n - 2]};
    return {};
}

SampleMode mostSamplesUpTo(const SampleModeList& list, int most) {
    SampleMode best;
    const std::size_t n = std::min(list.counts.size(), list.qualities.size());
    for (std::size_t i = 0; i < n; ++i) {
        if (list.counts[i] <= most && list.counts[i] > best.count) best = {list.counts[i], list.qualities[i]};
    }
    return best;
}

SampleProbe probeSampleCounts() {
    SampleProbe probe;
    discardGlErrors();
    GLint maxSamples = 0;
    glGetIntegerv(GL_MAX_SAMPLES, &maxSamples);
    probe.maxSamplesResult = lastGlResult();
    probe.maxSamples = std::max(1, static_cast<int>(maxSamples));

    GLint previousDraw = 0;
    GLint previousRead = 0;
    GLint previousRenderbuffer = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &previousDraw);
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &previousRead);
    glGetIntegerv(GL_RENDERBUFFER_BINDING, &previousRenderbuffer);

    GLuint framebuffer = 0;
    GLuint buffers[2] = {0, 0};
    glGenFramebuffers(1, &framebuffer);
    glGenRenderbuffers(2, buffers);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    probe.framebufferResult = lastGlResult();
    if (succeeded(probe.framebufferResult) && framebuffer != 0) {
        probe.probeFramebuffer = framebuffer;
        for (int count = 1; count <= probe.maxSamples; count *= 2) {
            discardGlErrors();
            glBindRenderbuffer(GL_RENDERBUFFER, buffers[0]);
            glRenderbufferStorageMultisample(GL_RENDERBUFFER, glSamples(count), kColorFormat, kProbeSize, kProbeSize);
            glBindRenderbuffer(GL_RENDERBUFFER, buffers[1]);
            glRenderbufferStorageMultisample(GL_RENDERBUFFER, glSamples(count), kDepthFormat, kProbeSize, kProbeSize);
            glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, buffers[0]);
            glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, buffers[1]);
            const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
            if (glGetError() != GL_NO_ERROR || status != GL_FRAMEBUFFER_COMPLETE) continue;
            // A driver may round a count up: keep what it really gives, once.
            const int actual = renderbufferSamples(buffers[0]);
            if (probe.counts.empty() || actual > probe.counts.back()) probe.counts.push_back(actual);
        }
    }
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(previousDraw));
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(previousRead));
    glBindRenderbuffer(GL_RENDERBUFFER, static_cast<GLuint>(previousRenderbuffer));
    glDeleteRenderbuffers(2, buffers);
    glDeleteFramebuffers(1, &framebuffer);
    // Single-sample drawing is always there, even when the probe was refused.
    if (probe.counts.empty() || probe.counts.front() != 1) probe.counts.insert(probe.counts.begin(), 1);
    return probe;
}

GraphicsContext::GraphicsContext(PlatformWindow& window, const TraceLog& trace)
    : GraphicsContext(window, trace, Options{}) {}

GraphicsContext::GraphicsContext(PlatformWindow& window, const TraceLog& trace, Options options)
    : window_(window), trace_(trace), options_(options) {}

GraphicsContext::~GraphicsContext() {
    if (renderer_ != nullptr) renderer_->detachGraphics(this);
    releaseAll();
}

void GraphicsContext::logResult(const char* call, ResultCode code) const {
    if (logSteps_ || failed(code)) trace_.result(call, ResultCodeName(code));
}

ResultCode GraphicsContext::chooseMultisampleMode() {
    trace_.line("InitApp()");
    const SampleProbe probe = probeSampleCounts();
    trace_.result("GetMaxSamples", AudioResultCodeName(probe.maxSamplesResult));
    trace_.result("CreateProbeFramebuffer", AudioResultCodeName(probe.framebufferResult));
    if (failed(probe.framebufferResult)) return probe.framebufferResult;
    trace_.line("CreateProbeFramebuffer,m_pFramebuffer = " + std::to_string(probe.probeFramebuffer));
    setSampleModeList(sampleModeListFromCounts(probe.counts));
    return hr::S_OK;
}

void GraphicsContext::setSampleModeList(SampleModeList list) {
    modes_ = std::move(list);
    const SampleMode mode = chooseSampleMode(modes_);
    sampleCount_ = mode.count;
    sampleQuality_ = mode.quality;
}

void GraphicsContext::chooseSampleCountAtMost(int most) {
    modes_ = sampleModeListFromCounts(probeSampleCounts().counts);
    const SampleMode mode = mostSamplesUpTo(modes_, most);
    sampleCount_ = mode.count;
    sampleQuality_ = mode.quality;
}

bool GraphicsContext::checkShaderModel4() const { return epoxy_is_desktop_gl() && epoxy_gl_version() >= 33; }

void GraphicsContext::readDrawableSize() {
    int width = 0;
    int height = 0;
    window_.drawableSize(width, height);
    // A zero-sized buffer makes no complete framebuffer.
    width_ = std::max(1, width);
    height_ = std::max(1, height);
}

ResultCode GraphicsContext::create() {
    readDrawableSize();
    syncInterval_ = verticalSync_ ? 1 : 0;
    window_.setSwapInterval(syncInterval_);

    glFrontFace(GL_CW);
    const bool clipControl = epoxy_gl_version() >= 45 || epoxy_has_gl_extension("GL_ARB_clip_control");
    if (clipControl) glClipControl(GL_LOWER_LEFT, options_.useClipControl ? GL_ZERO_TO_ONE : GL_NEGATIVE_ONE_TO_ONE);
    depthZeroToOne_ = clipControl && options_.useClipControl;
    glDepthRange(0.0, 1.0);

    logSteps_ = true;
    ResultCode code = createFramebuffer();
    if (succeeded(code)) code = createTargets();
    logSteps_ = false;
    created_ = succeeded(code);
    if (failed(code)) releaseAll();
    return code;
}

ResultCode GraphicsContext::createFramebuffer() {
    discardGlErrors();
    glGenFramebuffers(1, &framebuffer_);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);  // a name becomes a framebuffer when first bound
    if (sampleCount_ > 1) {
        glGenFramebuffers(1, &resolveFramebuffer_);
        glBindFramebuffer(GL_FRAMEBUFFER, resolveFramebuffer_);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    }
    ResultCode code = lastGlResult();
    if (succeeded(code) && framebuffer_ == 0) code = hr::E_FAIL;
    logResult("CreateFramebuffer", code);
    if (failed(code)) releaseFramebuffers();
    return code;
}

ResultCode GraphicsContext::createTargets() {
    if (framebuffer_ == 0) return hr::E_FAIL;
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);

    // The back buffer and its view: the colour renderbuffer on attachment 0,
    // with its single-sample resolve copy when drawing is multisampled.
    discardGlErrors();
    glGenRenderbuffers(1, &colorBuffer_);
    glBindRenderbuffer(GL_RENDERBUFFER, colorBuffer_);
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, glSamples(sampleCount_), kColorFormat, width_, height_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colorBuffer_);
    if (resolveFramebuffer_ != 0) {
        glGenRenderbuffers(1, &resolveBuffer_);
        glBindRenderbuffer(GL_RENDERBUFFER, resolveBuffer_);
        glRenderbufferStorage(GL_RENDERBUFFER, kColorFormat, width_, height_);
        glBindFramebuffer(GL_FRAMEBUFFER, resolveFramebuffer_);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, resolveBuffer_);
        if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
            glDeleteRenderbuffers(1, &resolveBuffer_);
            resolveBuffer_ = 0;
        }
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    }
    ResultCode code = lastGlResult();
    if (succeeded(code) && (colorBuffer_ == 0 || (resolveFramebuffer_ != 0 && resolveBuffer_ == 0))) code = hr::E_FAIL;
    logResult("CreateColorBuffer", code);
    if (failed(code)) return code;
    backBufferFormat_ = kColorFormat;
    backBufferSampleCount_ = renderbufferSamples(colorBuffer_);
    backBufferSampleQuality_ = sampleQuality_;

    // The depth-stencil buffer and its view (the attachment).
    glGenRenderbuffers(1, &depthBuffer_);
    glBindRenderbuffer(GL_RENDERBUFFER, depthBuffer_);
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, glSamples(sampleCount_), kDepthFormat, width_, height_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depthBuffer_);
    code = lastGlResult();
    if (succeeded(code) && depthBuffer_ == 0) code = hr::E_FAIL;
    logResult("CreateDepthBuffer", code);
    if (failed(code)) return code;
    depthAttached_ = true;

    code = resultFromFramebufferStatus(glCheckFramebufferStatus(GL_FRAMEBUFFER));
    logResult("CheckFramebufferStatus", code);
    if (failed(code)) return code;

    bindTargets();
    if (renderer_ != nullptr) renderer_->resizeTargets(width_, height_);
    return hr::S_OK;
}

void GraphicsContext::bindTargets() {
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glViewport(0, 0, width_, height_);
}

ResultCode GraphicsContext::resize(bool recreate) {
    if (!created_) return hr::E_FAIL;
    readDrawableSize();
    releaseTargets();
    if (recreate) {
        releaseFramebuffers();
        const ResultCode code = createFramebuffer();
        if (failed(code)) return code;
    }
    return createTargets();
}

ResultCode GraphicsContext::selectMultisampleEntry(std::size_t i) {
    if (i >= modes_.counts.size() || i >= modes_.qualities.size()) return hr::E_INVALIDARG;
    sampleCount_ = modes_.counts[i];
    sampleQuality_ = modes_.qualities[i];
    if (fullScreen_) {
        window_.setFullScreen(false);
        fullScreen_ = false;
    }
    return resize(true);
}

void GraphicsContext::setVerticalSync(bool on) {
    verticalSync_ = on;
    syncInterval_ = on ? 1 : 0;
    window_.setSwapInterval(syncInterval_);
}

void GraphicsContext::setFullScreen(bool on) {
    fullScreen_ = on;
    window_.setFullScreen(on);
}

void GraphicsContext::beginFrame(const Vec4& clearColour) {
    if (framebuffer_ == 0) return;
    bindTargets();
    // A clear obeys the write masks and the scissor; the frame's clear must not.
    GLboolean colourMask[4] = {GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE};
    GLboolean depthMask = GL_TRUE;
    glGetBooleanv(GL_COLOR_WRITEMASK, colourMask);
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthMask);
    const ScissorOff scissorOff;
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_TRUE);
    glClearColor(clearColour.x, clearColour.y, clearColour.z, clearColour.w);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColorMask(colourMask[0], colourMask[1], colourMask[2], colourMask[3]);
    glDepthMask(depthMask);
}

void GraphicsContext::resolve() {
    if (resolveFramebuffer_ == 0 || resolveBuffer_ == 0) return;
    const ScissorOff scissorOff;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, resolveFramebuffer_);
    glBlitFramebuffer(0, 0, width_, height_, 0, 0, width_, height_, GL_COLOR_BUFFER_BIT, GL_NEAREST);
}

void GraphicsContext::endFrame() {
    if (framebuffer_ == 0) {
        window_.swapBuffers();
        return;
    }
    // Multisampled buffers resolve into a copy of the same format first: a
    // resolve straight into the window's buffer needs formats the window
    // need not have.
    GLuint source = framebuffer_;
    if (resolveBuffer_ != 0) {
        resolve();
        source = resolveFramebuffer_;
    }
    int windowWidth = 0;
    int windowHeight = 0;
    window_.drawableSize(windowWidth, windowHeight);
    {
        const ScissorOff scissorOff;
        glBindFramebuffer(GL_READ_FRAMEBUFFER, source);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
        const bool sameSize = windowWidth == width_ && windowHeight == height_;
        glBlitFramebuffer(0, 0, width_, height_, 0, 0, windowWidth, windowHeight, GL_COLOR_BUFFER_BIT,
                          sameSize ? GL_NEAREST : GL_LINEAR);
    }
    window_.swapBuffers();
    bindTargets();
}

// Multisampled frames are read from their resolved copy.
void GraphicsContext::bindResolvedFrameForReading() {
    GLuint source = framebuffer_;
    if (resolveBuffer_ != 0) {
        resolve();
        source = resolveFramebuffer_;
    }
    glBindFramebuffer(GL_READ_FRAMEBUFFER, source);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
}

void GraphicsContext::readPixel(int x, int y, unsigned char rgba[4]) {
    rgba[0] = rgba[1] = rgba[2] = rgba[3] = 0;
    if (framebuffer_ == 0) return;
    bindResolvedFrameForReading();
    glReadPixels(x, height_ - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    bindTargets();
}

DecodedImage GraphicsContext::readFrame() {
    DecodedImage image;
    if (framebuffer_ == 0 || width_ <= 0 || height_ <= 0) return image;
    bindResolvedFrameForReading();
    const auto rowBytes = static_cast<std::size_t>(width_) * 4;
    std::vector<std::uint8_t> bottomUp(rowBytes * static_cast<std::size_t>(height_));
    glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    bindTargets();
    ImageLevel level;
    level.width = width_;
    level.height = height_;
    level.bytes.resize(bottomUp.size());
    for (int row = 0; row < height_; ++row) {
        std::copy_n(bottomUp.data() + static_cast<std::size_t>(height_ - 1 - row) * rowBytes, rowBytes,
                    level.bytes.data() + static_cast<std::size_t>(row) * rowBytes);
    }
    image.width = width_;
    image.height = height_;
    image.levels.push_back(std::move(level));
    return image;
}

void GraphicsContext::releaseTargets() {
    if (framebuffer_ != 0) glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    if (depthBuffer_ != 0) glDeleteRenderbuffers(1, &depthBuffer_);
    depthBuffer_ = 0;
    if (depthAttached_ && framebuffer_ != 0)
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, 0);
    depthAttached_ = false;
    if (colorBuffer_ != 0) glDeleteRenderbuffers(1, &colorBuffer_);
    colorBuffer_ = 0;
    if (resolveBuffer_ != 0) glDeleteRenderbuffers(1, &resolveBuffer_);
    resolveBuffer_ = 0;
}

void GraphicsContext::releaseFramebuffers() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    if (resolveFramebuffer_ != 0) glDeleteFramebuffers(1, &resolveFramebuffer_);
    resolveFramebuffer_ = 0;
    if (framebuffer_ != 0) glDeleteFramebuffers(1, &framebuffer_);
    framebuffer_ = 0;
}

void GraphicsContext::releaseAll() {
    created_ = false;
    // Nothing was made without a context; with none current there is nothing to call.
    if (framebuffer_ == 0 && resolveFramebuffer_ == 0 && colorBuffer_ == 0 && depthBuffer_ == 0) return;
    releaseTargets();
    releaseFramebuffers();
}

void GraphicsContext::attachRenderer(Renderer* renderer) {
    renderer_ = renderer;
    if (renderer_ != nullptr && framebuffer_ != 0) renderer_->resizeTargets(width_, height_);
}

}  // namespace morvanex
