#include "render/renderer.h"

#include "base/text_encoding.h"
#include "base/trace_log.h"
#include "image/image_files.h"
#include "render/graphics_context.h"
#include "render/object_gpu.h"
#include "scene/scene.h"
#include "scene/scene_object.h"

namespace morvanex {

Renderer::Renderer(const TraceLog& trace) : trace_(trace) {}

Renderer::Renderer(const TraceLog& trace, GraphicsContext& graphics, const RendererSetup& setup)
    : trace_(trace), graphics_(&graphics), canDraw_(true) {
    graphics_->attachRenderer(this);
    ShaderOptions options;
    options.depthZeroToOne = graphics.depthZeroToOne();
    if (!setup.programFolder.empty()) programFailures_ = shaders.load(setup.programFolder, trace_, setup.shaderErrorFile, options);
    if (!states.createSamplers()) trace_.line("CreateSamplerState, hr = E_FAIL");
    if (!transformBlock.create(sizeof(TransformBlock))) trace_.line("CreateBuffer TransformBlock, hr = E_OUTOFMEMORY");
    if (!screenQuads.create(kScreenQuadBufferBytes) || !glyphs.create(kGlyphBufferBytes) ||
        !worldLines.create(kWorldLineBufferBytes)) {
        trace_.line("CreateBuffer dynamic vertex buffers, hr = E_OUTOFMEMORY");
    }
    if (!setup.programFolder.empty()) {
        interfaceImages = loadInterfaceImages(setup.programFolder, textures, trace_);
        text.fonts = loadFonts(setup.programFolder, textures, trace_);
        whiteImage_ = interfaceImages.find("white.bmp");
        markerImage_ = interfaceImages.find("vertice.dds");
        ui.setProgramFolder(setup.programFolder, &trace_);
    }
    if (!offscreenDepth.create()) trace_.line("CreateTexture2D off-screen depth targets, hr = E_OUTOFMEMORY");
    // Loading bound objects behind the state layer's back.
    gl.invalidate();
}

Renderer::~Renderer() {
    // GPU resources go while the context still lives.
    ui.releaseGpuResources();
    preview.release();
    offscreenDepth.release();
    interfaceImages.slots.clear();
    text.release();
    textures.clear();
    transformBlock.release();
    screenQuads.release();
    glyphs.release();
    worldLines.release();
    states.anisotropicWrap.release();
    states.pointWrap.release();
    shaders.release();
    if (graphics_ != nullptr) graphics_->attachRenderer(nullptr);
}

void Renderer::setTransforms(const Mat4& world, const Mat4& view, const Mat4& projection) {
    TransformBlock block;
    const Mat4 worldView = world * view;
    block.worldViewProj = gpuMatrix(worldView * projection);
    block.worldView = gpuMatrix(worldView);
    block.world = gpuMatrix(world);
    block.view = gpuMatrix(view);
    block.projection = gpuMatrix(projection);
    transformBlock.update(block);
    gl.bindUniformBuffer(kTransformSlot, transformBlock.buffer());
}

int Renderer::prepareScene(Scene& scene, const std::filesystem::path& sceneFolder) {
    if (!canDraw_) return 0;
    int failures = 0;
    TextureLoadOptions options;
    options.mipLevels = 0;  // the full chain: scene textures are seen from afar
    options.filteredMips = true;
    for (const auto& texture : scene.textures()) {
        if (texture->gpuTexture != 0 || texture->missing) continue;
        if (loadSceneTexture(*texture, textures, trace_, options) == nullptr) ++failures;
    }
    for (const auto& object : scene.objects()) {
        if (!createObjectGpu(*object)) {
            trace_.line("CreateBuffer " + object->name + ", hr = E_OUTOFMEMORY");
            continue;
        }
        if (!sceneFolder.empty()) loadSavedEnvironmentCube(*object, sceneFolder);
    }
    gl.invalidate();
    return failures;
}

void Renderer::loadSavedEnvironmentCube(SceneObject& object, const std::filesystem::path& sceneFolder) {
    if (!object.envMapEnabled() || object.dynamicCube() || object.gpu->loadedCube != 0) return;
    const std::filesystem::path path = environmentCubePath(sceneFolder, object.name);
    std::error_code ignored;
    if (!std::filesystem::is_regular_file(path, ignored)) return;
    TextureResult cube = loadEnvironmentCube(path);
    if (!cube) {
        trace_.line("CreateTextureFromFile " + textFromPath(path.filename()) + ", hr = E_FAIL");
        trace_.line(cube.error);
        return;
    }
    object.gpu->loadedCube = textures.add(std::move(*cube.image)).texture;
    object.render.cubeFrames = kCubeFromFile;
}

void Renderer::detachGraphics(const GraphicsContext* graphics) {
    if (graphics_ == graphics) graphics_ = nullptr;
}

void Renderer::resizeTargets(int width, int height) {
    width_ = width > 0 ? width : 1;
    height_ = height > 0 ? height : 1;
}

void Renderer::beginFrame() {
    if (graphics_ != nullptr) graphics_->beginFrame(clearColour);
}

void Renderer::readPixel(int x, int y, unsigned char rgba[4]) const {
    rgba[0] = rgba[1] = rgba[2] = rgba[3] = 0;
    if (graphics_ != nullptr) graphics_->readPixel(x, y, rgba);
}

}  // namespace morvanex
