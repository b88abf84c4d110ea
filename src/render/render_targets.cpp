#include "render/render_targets.h"

#include <epoxy/gl.h>

#include <algorithm>

namespace morvanex {

int renderTextureLevels(int width, int height) {
    int size = std::max(width, height);
    int levels = 1;
    while (size > 1 && levels < kRenderTextureMipLevels) {
        size /= 2;
        ++levels;
    }
    return levels;
}

SavedTargets SavedTargets::current() {
    SavedTargets saved;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &saved.framebuffer);
    glGetIntegerv(GL_VIEWPORT, saved.viewport.data());
    return saved;
}

void SavedTargets::restore() const {
    glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(framebuffer));
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
}

namespace {

GLuint makeDepthRenderbuffer(int width, int height) {
    GLuint buffer = 0;
    glGenRenderbuffers(1, &buffer);
    glBindRenderbuffer(GL_RENDERBUFFER, buffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT32F, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    if (glGetError() != GL_NO_ERROR) {
        glDeleteRenderbuffers(1, &buffer);
        return 0;
    }
    return buffer;
}

// Colour and depth are written whole by every pass: clear both with the
// masks open, whatever the frame left them at.
void clearTarget(const Vec4& colour) {
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_TRUE);
    glDisable(GL_SCISSOR_TEST);
    glClearColor(colour.x, colour.y, colour.z, colour.w);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void allocateLevels(GLenum target, int levels) {
    glTexParameteri(target, GL_TEXTURE_BASE_LEVEL, 0);
    glTexParameteri(target, GL_TEXTURE_MAX_LEVEL, levels - 1);
}

}  // namespace

// --- Depth targets -------------------------------------------------------------

OffscreenDepthTargets::~OffscreenDepthTargets() { release(); }

bool OffscreenDepthTargets::create(int fullWidth, int fullHeight) {
    release();
    fullWidth_ = fullWidth;
    fullHeight_ = fullHeight;
    fullDepth_ = makeDepthRenderbuffer(fullWidth, fullHeight);
    halfDepth_ = makeDepthRenderbuffer(kPreviewWidth, kPreviewHeight);
    glGenTextures(1, &cubeDepth_);
    glBindTexture(GL_TEXTURE_CUBE_MAP, cubeDepth_);
    for (int face = 0; face < 6; ++face) {
        glTexImage2D(static_cast<GLenum>(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face), 0, GL_DEPTH_COMPONENT32F, kCubeSize,
                     kCubeSize, 0, GL_DEPTH_COMPONENT, GL_FLOAT, nullptr);
    }
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    allocateLevels(GL_TEXTURE_CUBE_MAP, 1);
    glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
    if (glGetError() != GL_NO_ERROR) {
        glDeleteTextures(1, &cubeDepth_);
        cubeDepth_ = 0;
    }
    return fullDepth_ != 0 && halfDepth_ != 0 && cubeDepth_ != 0;
}

void OffscreenDepthTargets::release() {
    if (fullDepth_ != 0) glDeleteRenderbuffers(1, &fullDepth_);
    if (halfDepth_ != 0) glDeleteRenderbuffers(1, &halfDepth_);
    if (cubeDepth_ != 0) glDeleteTextures(1, &cubeDepth_);
    fullDepth_ = halfDepth_ = cubeDepth_ = 0;
}

// --- Render textures ---------------------------------------------------------------

RenderTexture::~RenderTexture() { release(); }

bool RenderTexture::create(int width, int height) {
    release();
    const int levels = renderTextureLevels(width, height);
    glGenTextures(1, &texture_);
    glBindTexture(GL_TEXTURE_2D, texture_);
    int w = width;
    int h = height;
    for (int level = 0; level < levels; ++level) {
        glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        w = std::max(1, w / 2);
        h = std::max(1, h / 2);
    }
    allocateLevels(GL_TEXTURE_2D, levels);
    glBindTexture(GL_TEXTURE_2D, 0);
    glGenFramebuffers(1, &framebuffer_);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture_, 0);
    width_ = width;
    height_ = height;
    return glGetError() == GL_NO_ERROR;
}

bool RenderTexture::begin(int width, int height, unsigned depthRenderbuffer, const Vec4& clearColour) {
    if (width <= 0 || height <= 0) return false;
    saved_ = SavedTargets::current();
    if (texture_ == 0 || width != width_ || height != height_) {
        if (!create(width, height)) {
            release();
            saved_.restore();
            return false;
        }
    }
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    if (attachedDepth_ != depthRenderbuffer) {
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depthRenderbuffer);
        attachedDepth_ = depthRenderbuffer;
    }
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        saved_.restore();
        return false;
    }
    glViewport(0, 0, width_, height_);
    clearTarget(clearColour);
    return true;
}

void RenderTexture::end() {
    saved_.restore();
    glBindTexture(GL_TEXTURE_2D, texture_);
    glGenerateMipmap(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
    ++passes_;
}

void RenderTexture::release() {
    if (framebuffer_ != 0) glDeleteFramebuffers(1, &framebuffer_);
    if (texture_ != 0) glDeleteTextures(1, &texture_);
    framebuffer_ = texture_ = attachedDepth_ = 0;
    width_ = height_ = 0;
}

// --- Cube targets ------------------------------------------------------------------

CubeRenderTarget::~CubeRenderTarget() { release(); }

bool CubeRenderTarget::create(unsigned cubeDepth) {
    release();
    const int levels = renderTextureLevels(kCubeSize, kCubeSize);
    glGenTextures(1, &texture_);
    glBindTexture(GL_TEXTURE_CUBE_MAP, texture_);
    for (int level = 0, size = kCubeSize; level < levels; ++level, size = std::max(1, size / 2)) {
        for (int face = 0; face < 6; ++face) {
            glTexImage2D(static_cast<GLenum>(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face), level, GL_RGBA8, size, size, 0,
                         GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        }
    }
    allocateLevels(GL_TEXTURE_CUBE_MAP, levels);
    glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
    glGenFramebuffers(1, &framebuffer_);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glFramebufferTexture(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, texture_, 0);
    glFramebufferTexture(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, cubeDepth, 0);
    const bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    return glGetError() == GL_NO_ERROR && complete;
}

bool CubeRenderTarget::begin(unsigned cubeDepth, const Vec4& clearColour) {
    if (cubeDepth == 0) return false;
    saved_ = SavedTargets::current();
    if (texture_ == 0 && !create(cubeDepth)) {
        release();
        saved_.restore();
        return false;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glViewport(0, 0, kCubeSize, kCubeSize);
    clearTarget(clearColour);
    return true;
}

void CubeRenderTarget::end() {
    saved_.restore();
    glBindTexture(GL_TEXTURE_CUBE_MAP, texture_);
    glGenerateMipmap(GL_TEXTURE_CUBE_MAP);
    glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
}

void CubeRenderTarget::release() {
    if (framebuffer_ != 0) glDeleteFramebuffers(1, &framebuffer_);
    if (texture_ != 0) glDeleteTextures(1, &texture_);
    framebuffer_ = texture_ = 0;
}

}  // namespace morvanex
