#include "render/scene_passes.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "render/camera.h"
#include "render/object_gpu.h"
#include "render/renderer.h"
#include "render/text.h"
#include "render/world_lines.h"
#include "scene/scene.h"
#include "scene/scene_object.h"

namespace morvanex {

namespace {

constexpr float kOpacityGlideRate = 30.0f;
constexpr float kCubeNear = 0.5f;
constexpr float kCubeFar = 1000.0f;
constexpr Vec4 kLightViewClear{1.0f, 1.0f, 1.0f, 0.0f};
constexpr Vec4 kNeutralColour{0.7f, 0.7f, 0.7f, 1.0f};
constexpr Vec4 kNeutralAmbient{0.1f, 0.1f, 0.1f, 1.0f};

Vec3 worldCentre(const SceneObject& object) { return transformPoint(object.boundsCentre, object.worldMatrix); }

void bindTexture(std::uint32_t unit, GLenum target, unsigned texture) {
    glActiveTexture(GL_TEXTURE0 + unit);
    glBindTexture(target, texture);
}

// Nothing bound on the units a mesh program may sample, so no image drawn
// into by a pass can be read by it.
void clearTextureUnits() {
    for (std::uint32_t unit = 0; unit < kTextureUnitsUsed; ++unit) {
        glActiveTexture(GL_TEXTURE0 + unit);
        glBindTexture(GL_TEXTURE_2D, 0);
        if (unit == kUnitEnvironment) glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
    }
}

unsigned sceneTextureName(const SceneObject& object, std::size_t slot, bool normalMap) {
    const SceneTexture* texture = object.textures[slot];
    if (texture == nullptr || !object.textureEnabled[slot] || texture->missing) return 0;
    return normalMap && texture->gpuView != 0 ? texture->gpuView : texture->gpuTexture;
}

bool sharesSkeleton(const SceneObject& a, const SceneObject* b) {
    return b != nullptr && a.animation != nullptr && a.animation == b->animation;
}

void glideOpacity(SceneObject& object, float dt) {
    if (!object.render.opacityTarget) return;
    const float target = *object.render.opacityTarget;
    object.opacity += (target - object.opacity) * (1.0f - std::pow(0.9f, kOpacityGlideRate * dt));
    if (std::fabs(target - object.opacity) < 0.01f) {
        object.opacity = target;
        object.render.opacityTarget.reset();
    }
}

// The arguments of a draw into an off-screen image of the given size.
ObjectDrawArgs passArgs(const FrameView& view, double time, int width, int height) {
    ObjectDrawArgs args;
    args.view = &view;
    args.time = time;
    args.targetWidth = width;
    args.targetHeight = height;
    return args;
}

}  // namespace

FrameView cameraFrameView(const CameraState& camera, int width, int height) {
    return {camera.view,
            cameraProjection(camera, static_cast<float>(width), static_cast<float>(height), false), camera.eye};
}

ScenePasses::ScenePasses(Renderer& renderer) : renderer_(renderer) {}

// --- Shared computations ---------------------------------------------------------

LightBlock ScenePasses::lightBlockFor(const Scene& scene, const SceneObject& object) {
    LightBlock block;
    const auto add = [&block](const SceneLight& light) {
        if (block.lightCount >= kMaxLights) return;
        LightRecord& record = block.lights[static_cast<std::size_t>(block.lightCount++)];
        const Vec4& p = light.positionOrColour;
        record.position = {p.x, p.y, p.z, 1.0f};
        record.intensity = light.intensity;
        record.specularScale = light.secondValue;
        record.kind = kLightPoint;
    };
    if (object.objectLightFlag) {
        const auto count = static_cast<std::size_t>(std::clamp(object.objectLightCount, 0, 8));
        for (std::size_t i = 0; i < count; ++i) add(object.lights[i]);
    } else {
        const auto count = static_cast<std::size_t>(std::clamp(scene.activeLightCount, 1, 8));
        for (std::size_t i = 0; i < count; ++i) add(scene.lights[i]);
    }
    // Light objects follow the scene's slots once they exist.
    return block;
}

Mat4 ScenePasses::mirrorView(const Mat4& view, float h) {
    // Reflect the world in the plane y = h, then look as the camera does.
    return matrixScaling(1.0f, -1.0f, 1.0f) * matrixTranslation(0.0f, 2.0f * h, 0.0f) * view;
}

std::array<Mat4, 6> ScenePasses::cubeFaceViews(Vec3 p) {
    return {lookAtLH(p, p + Vec3{1, 0, 0}, {0, 1, 0}),  lookAtLH(p, p - Vec3{1, 0, 0}, {0, 1, 0}),
            lookAtLH(p, p + Vec3{0, 1, 0}, {0, 0, -1}), lookAtLH(p, p - Vec3{0, 1, 0}, {0, 0, 1}),
            lookAtLH(p, p + Vec3{0, 0, 1}, {0, 1, 0}),  lookAtLH(p, p - Vec3{0, 0, 1}, {0, 1, 0})};
}

bool ScenePasses::isIndexedObject(const SceneObject& object) {
    return object.name == "Vertice" || object.render.editorObject;
}

bool ScenePasses::hiddenByTool(const Scene& scene, const SceneObject& object) const {
    return settings_.tools.isolatingTool && scene.currentObject != nullptr && &object != scene.currentObject;
}

bool ScenePasses::skippedInFrame(const Scene& scene, const SceneObject& object) const {
    if (&object == scene.cameraObject() || object.render.editorObject) return true;
    if (object.render.hidden && !settings_.editMode) return true;
    // A linked copy is drawn by its owner's instanced draw.
    if (object.render.instanceOwner != nullptr) return true;
    return object.render.kind == RenderKind::None;
}

bool ScenePasses::eligibleForPass(const Scene& scene, const SceneObject& object, const SceneObject& passOwner) const {
    return &object != &passOwner && !skippedInFrame(scene, object) && !object.vertices.empty() &&
           !hiddenByTool(scene, object);
}

// --- Frame ---------------------------------------------------------------------------

FrameStatistics ScenePasses::drawFrame(Scene& scene, const FrameView& view, const SceneFrameSettings& settings,
                                       double time, double elapsed) {
    settings_ = settings;
    stats_ = {};
    const auto dt = static_cast<float>(elapsed);
    if (settings_.tools.profileTool != ProfileTool::None) {
        drawProfileToolObjects(scene, view, time);
    } else {
        const ViewVolume volume = ViewVolume::fromMatrix(view.view * view.projection);
        for (const auto& owned : scene.objects()) {
            SceneObject& object = *owned;
            object.render.view = view.view;
            object.render.projection = view.projection;
            if (skippedInFrame(scene, object) || object.vertices.empty()) continue;
            if (!objectInView(object, volume)) {
                ++stats_.objectsOutsideView;
                continue;
            }
            runObjectPasses(scene, object, view, time);
            object.render.eyePosition = view.eye;
            glideOpacity(object, dt);
            if (hiddenByTool(scene, object)) continue;
            ObjectDrawArgs args;
            args.view = &view;
            args.time = time;
            drawObject(scene, object, args);
            ++stats_.objectsDrawn;
        }
    }
    if (settings_.editMode) drawEditorOverlays(scene, view);
    renderer_.gl.apply(renderer_.states.solidBack);
    renderer_.gl.apply(renderer_.states.depthOff);
    if (settings_.drawWidgets) settings_.drawWidgets();
    if (settings_.editMode && settings_.drawInterfaceExtras) settings_.drawInterfaceExtras();
    return stats_;
}

void ScenePasses::drawProfileToolObjects(Scene& scene, const FrameView& view, double time) {
    std::vector<SceneObject*> shown;
    const ToolDrawState& tools = settings_.tools;
    if (tools.profileTool == ProfileTool::Tube || tools.profileTool == ProfileTool::Helix) {
        if (SceneObject* mask = scene.findObject("masque")) shown.push_back(mask);
    }
    for (SceneObject* object : {tools.profileObject, scene.currentObject}) {
        if (object != nullptr && std::find(shown.begin(), shown.end(), object) == shown.end()) shown.push_back(object);
    }
    ObjectDrawArgs args;
    args.view = &view;
    args.time = time;
    for (SceneObject* object : shown) {
        object->render.view = view.view;
        object->render.projection = view.projection;
        object->render.eyePosition = view.eye;
        drawObject(scene, *object, args);
        ++stats_.objectsDrawn;
    }
}

void ScenePasses::runObjectPasses(Scene& scene, SceneObject& object, const FrameView& view, double time) {
    if (!object.links.empty() && object.gpu) uploadInstanceRecords(object);
    if (object.isMirror() && !hiddenByTool(scene, object)) mirrorPass(scene, object, view, time);
    if (object.envMapEnabled()) {
        const bool refresh = object.render.cubeFrames != kCubeFromFile &&
                             (object.dynamicCube() || object.render.cubeFrames < kCubeRenderedFrames);
        if (refresh) cubePass(scene, object, time);
    }
    if (object.render.lightView) lightViewPasses(scene, object, time);
}

// --- Off-screen passes ----------------------------------------------------------------

void ScenePasses::mirrorPass(Scene& scene, SceneObject& mirror, const FrameView& view, double time) {
    if (!createObjectGpu(mirror)) return;
    ObjectGpuResources& gpu = *mirror.gpu;
    const float height = worldCentre(mirror).y;
    const int w = renderer_.offscreenDepth.fullWidth();
    const int h = renderer_.offscreenDepth.fullHeight();
    const unsigned depth = renderer_.offscreenDepth.fullDepth();
    ++stats_.mirrorPasses;
    inMirrorPass_ = true;
    if (!mirror.render.mirrorNoReflect && gpu.mirrorImages[0].begin(w, h, depth, scene.backgroundColour)) {
        renderer_.gl.invalidate();
        ObjectDrawArgs args = passArgs(view, time, w, h);
        args.mirrorSign = -1;
        for (const auto& other : scene.objects()) {
            if (!eligibleForPass(scene, *other, mirror) || worldCentre(*other).y >= height + 5.0f) continue;
            drawObject(scene, *other, args);
        }
        gpu.mirrorImages[0].end();
    }
    if (gpu.mirrorImages[1].begin(w, h, depth, scene.backgroundColour)) {
        renderer_.gl.invalidate();
        FrameView reflected{mirrorView(view.view, height), view.projection,
                            {view.eye.x, 2.0f * height - view.eye.y, view.eye.z}};
        ObjectDrawArgs args = passArgs(reflected, time, w, h);
        args.mirrorSign = 1;
        for (const auto& other : scene.objects()) {
            if (!eligibleForPass(scene, *other, mirror) || other->render.excludedFromMirrors) continue;
            drawObject(scene, *other, args);
        }
        gpu.mirrorImages[1].end();
    }
    inMirrorPass_ = false;
    renderer_.gl.invalidate();
}

void ScenePasses::cubePass(Scene& scene, SceneObject& object, double time) {
    if (!createObjectGpu(object)) return;
    ObjectGpuResources& gpu = *object.gpu;
    const Vec3 p = worldCentre(object);
    CubeBlock block;
    const std::array<Mat4, 6> views = cubeFaceViews(p);
    for (std::size_t i = 0; i < views.size(); ++i) block.faceViews[i] = gpuMatrix(views[i]);
    const Mat4 projection = perspectiveFovLH(kHalfPi, 1.0f, kCubeNear, kCubeFar);
    block.projection = gpuMatrix(projection);
    if (!gpu.cube.begin(renderer_.offscreenDepth.cubeDepth(), scene.backgroundColour)) return;
    renderer_.gl.invalidate();
    gpu.cubeViews.update(block);
    renderer_.gl.bindUniformBuffer(kCubeSlot, gpu.cubeViews.buffer());
    ++stats_.cubePasses;
    inCubePass_ = true;
    const FrameView faceView{views[0], projection, p};
    ObjectDrawArgs args = passArgs(faceView, time, kCubeSize, kCubeSize);
    args.environmentSource = &object;
    for (const auto& other : scene.objects()) {
        if (eligibleForPass(scene, *other, object)) drawObject(scene, *other, args);
    }
    inCubePass_ = false;
    gpu.cube.end();
    renderer_.gl.invalidate();
    if (object.render.cubeFrames < kCubeRenderedFrames) ++object.render.cubeFrames;
}

void ScenePasses::lightViewPasses(Scene& scene, SceneObject& object, double time) {
    if (!createObjectGpu(object)) return;
    ObjectGpuResources& gpu = *object.gpu;
    const FrameView light = lightFrameView(scene, object);
    const ViewVolume region = ViewVolume::fromMatrix(light.view * light.projection);
    const int w = renderer_.offscreenDepth.fullWidth();
    const int h = renderer_.offscreenDepth.fullHeight();
    const int images = settings_.secondLightView ? 2 : 1;
    for (int i = 0; i < images; ++i) {
        RenderTexture& image = gpu.lightViews[static_cast<std::size_t>(i)];
        if (!image.begin(w, h, renderer_.offscreenDepth.fullDepth(), kLightViewClear)) continue;
        renderer_.gl.invalidate();
        ++stats_.lightViewPasses;
        ObjectDrawArgs args = passArgs(light, time, w, h);
        args.lightPass = true;
        args.suppressOverlays = true;
        for (const auto& other : scene.objects()) {
            if (!eligibleForPass(scene, *other, object) || !other->render.castsShadows) continue;
            if (!objectInView(*other, region)) continue;
            drawObject(scene, *other, args);
        }
        image.end();
        renderer_.gl.invalidate();
    }
}

FrameView ScenePasses::lightFrameView(const Scene& scene, const SceneObject& object) const {
    const float aspect = static_cast<float>(std::max(renderer_.width(), 1)) /
                         static_cast<float>(std::max(renderer_.height(), 1));
    const float fov = scene.fieldOfView > 0.0f && scene.fieldOfView < kPi ? scene.fieldOfView : kCameraDefaultFieldOfView;
    return {lookAtLH(object.render.lightEye, object.render.lightTarget, {0.0f, 1.0f, 0.0f}),
            perspectiveFovLH(fov, aspect, kCameraNearPlane, kCameraFarPlane), object.render.lightEye};
}

bool ScenePasses::drawPreviewImage(Scene& scene, const FrameView& view, bool selectionOnly, double time) {
    RenderTexture& preview = renderer_.preview;
    if (!preview.begin(kPreviewWidth, kPreviewHeight, renderer_.offscreenDepth.halfDepth(), scene.backgroundColour)) {
        return false;
    }
    renderer_.gl.invalidate();
    const ViewVolume volume = ViewVolume::fromMatrix(view.view * view.projection);
    ObjectDrawArgs args = passArgs(view, time, kPreviewWidth, kPreviewHeight);
    args.suppressOverlays = true;
    for (const auto& owned : scene.objects()) {
        SceneObject& object = *owned;
        object.render.view = view.view;
        object.render.projection = view.projection;
        if (!object.listed || skippedInFrame(scene, object) || !objectInView(object, volume)) continue;
        if (selectionOnly && &object != scene.currentObject && !sharesSkeleton(object, scene.currentObject)) continue;
        drawObject(scene, object, args);
    }
    preview.end();
    renderer_.gl.invalidate();
    return true;
}

// --- One object -------------------------------------------------------------------------

void ScenePasses::drawObject(Scene& scene, SceneObject& object, const ObjectDrawArgs& args) {
    if (args.view == nullptr || !createObjectGpu(object)) return;
    ObjectGpuResources& gpu = *object.gpu;
    if (gpu.uploadedKind != object.render.kind) uploadObjectMesh(object);
    GlState& gl = renderer_.gl;
    const PipelineStates& states = renderer_.states;

    gl.bindSamplers(0, kTextureUnitsUsed, states.anisotropicWrap.sampler());
    const std::int32_t cull = object.render.cullMode;
    RasterizerState rasterizer = object.render.wireframe ? states.wireNone
                                 : cull == kCullFront     ? states.solidFront
                                 : cull == kCullBack      ? states.solidBack
                                                          : states.solidNone;
    // A reflected view turns every winding around: front faces are the
    // other way round there, so that culling and lighting stay as seen.
    if (args.mirrorSign > 0) rasterizer.frontCounterClockwise = !rasterizer.frontCounterClockwise;
    gl.apply(rasterizer);
    gl.apply(args.blend == BlendVariant::Stencil ? states.depthStencil : states.depthOn);
    gl.apply(states.alpha);
    if (object.render.ignoreDepth) gl.apply(states.depthOff);

    const std::uint32_t features = fillBlocks(scene, object, args);

    if (object.render.kind == RenderKind::Lines) {
        const std::uint32_t program = renderer_.shaders.program(inCubePass_ ? ProgramId::WorldLinesCube
                                                                            : ProgramId::WorldLines);
        VertexArrayFormat& layout = renderer_.shaders.layout(LayoutKind::Line);
        if (program == 0 || !layout.valid()) return;
        gl.useProgram(program);
        layout.bind(gl, gpu.vertexBuffer);
        gl.drawArrays(GL_LINES, 0, gpu.vertexCount);
        return;
    }
    if (object.render.kind != RenderKind::Mesh || gpu.indexCount == 0) return;

    const bool indexed = isIndexedObject(object);
    const bool reflectiveVariant = inCubePass_ ? object.reflective() && object.reflectiveAlternate()
                                               : !object.reflective() && object.reflectiveAlternate();
    ProgramId id = inCubePass_ ? (reflectiveVariant ? ProgramId::MeshReflectiveCube : ProgramId::MeshCube)
                               : (reflectiveVariant ? ProgramId::MeshReflective : ProgramId::Mesh);
    // Without a normal map the triangle frame is never read.
    const bool needsTriangleFrame = !gpu.everyNormalSet || (object.normalMapEnabled() && object.textures[0] != nullptr);
    if (!inCubePass_ && !needsTriangleFrame) {
        id = reflectiveVariant ? ProgramId::MeshReflectiveDirect : ProgramId::MeshDirect;
    }
    if (object.render.wireframe) id = inCubePass_ ? ProgramId::MeshWireframeCube : ProgramId::MeshWireframe;
    if (indexed) id = ProgramId::Indexed;
    // Made for the features this object uses (the others cost nothing then).
    const std::uint32_t program = renderer_.shaders.program(id, features);
    VertexArrayFormat& layout = renderer_.shaders.layout(LayoutKind::Mesh);
    if (program == 0 || !layout.valid()) return;

    bindObjectTextures(object, args);
    gl.useProgram(program);
    layout.bind(gl, gpu.vertexBuffer, 0, gpu.instanceBuffer, 0, gpu.indexBuffer);
    std::int32_t instances = gpu.instanceCount;
    // Never more copies than the instance buffer holds records for.
    if (indexed) instances = std::clamp(object.render.ownInstanceCount, 1, gpu.instanceCount);
    else if (settings_.tools.singleInstanceTool) instances = 1;
    gl.drawElements(GL_TRIANGLES, gpu.indexCount, instances);

    const bool offscreen = inCubePass_ || inMirrorPass_ || args.lightPass;
    if (!args.suppressOverlays && !offscreen && !object.render.editorObject && &object != scene.cameraObject()) {
        drawObjectOverlays(scene, object, args);
    }
    gl.apply(states.depthOn);

    const bool marked = (settings_.tools.pointerTool && settings_.tools.hovered == &object) ||
                        (settings_.tools.selectionTool && scene.currentObject == &object);
    object.render.highlight = marked ? kHalfYellow : kTranslucentRed;
    object.render.highlighted = marked;
}

std::uint32_t ScenePasses::fillBlocks(Scene& scene, SceneObject& object, const ObjectDrawArgs& args) {
    ObjectGpuResources& gpu = *object.gpu;
    const FrameView& view = *args.view;
    const Mat4& world = object.worldMatrix;

    TransformBlock transform;
    const Mat4 worldView = world * view.view;
    transform.worldViewProj = gpuMatrix(worldView * view.projection);
    transform.worldView = gpuMatrix(worldView);
    transform.world = gpuMatrix(world);
    transform.view = gpuMatrix(view.view);
    transform.projection = gpuMatrix(view.projection);
    transform.second = gpuMatrix(object.parent != nullptr ? object.parent->worldMatrix : object.secondMatrix);
    transform.eyePosition = view.eye;
    transform.extraInstances = gpu.instanceCount - 1;
    gpu.transform.update(transform);

    const int targetWidth = args.targetWidth > 0 ? args.targetWidth : renderer_.width();
    const int targetHeight = args.targetHeight > 0 ? args.targetHeight : renderer_.height();
    MaterialBlock material;
    material.opacity = object.opacity;
    if (object.render.hidden && settings_.editMode) material.opacity = 0.2f;
    material.specularPower = object.renderValues[0];
    material.specularStrength = object.renderValues[1];
    material.bumpStrength = object.renderValues[2];
    material.targetWidth = static_cast<float>(targetWidth);
    material.targetHeight = static_cast<float>(targetHeight);
    material.diffuse = object.materialColours[0];
    material.ambientColour = object.materialColours[1];
    material.specular = object.materialColours[2];
    if (args.mirrorSign > 0 && object.parent != nullptr) {
        material.specular = {material.specular.x * 0.7f, material.specular.y * 0.7f, material.specular.z * 0.7f,
                             material.specular.w};
    }
    if (settings_.tools.plainMaterialTool) {
        material.diffuse = kNeutralColour;
        material.ambientColour = kNeutralAmbient;
        material.specular = kNeutralColour;
    }
    const Vec3 centre = worldCentre(object);
    material.centre = {centre.x, centre.y, centre.z, 1.0f};
    material.viewOrProjector = gpuMatrix(view.view);
    material.highlight = object.render.highlight;
    material.highlightOn = object.render.highlighted ? 1 : 0;
    material.mirrorSign = args.mirrorSign;
    material.lightPass = args.lightPass ? 1 : 0;
    material.mirrorPass = args.mirrorSign != 0 ? 1 : 0;
    material.reflective = object.reflective() ? 1 : 0;
    material.reflectiveAlternate = object.reflectiveAlternate() ? 1 : 0;
    material.useTexture1 = sceneTextureName(object, 0, false) != 0 ? 1 : 0;
    material.useTexture2 = sceneTextureName(object, 1, false) != 0 ? 1 : 0;
    material.useTexture3 = sceneTextureName(object, 2, false) != 0 ? 1 : 0;
    material.normalMap = object.normalMapEnabled() && material.useTexture1 != 0 ? 1 : 0;
    const bool ownCube = gpu.loadedCube != 0 || gpu.cube.created();
    material.environment = object.envMapEnabled() && ownCube && args.environmentSource == nullptr ? 1 : 0;
    material.shadowMap = object.shadowMapEnabled() && gpu.lightViews[0].created() ? 1 : 0;
    if (material.shadowMap != 0) {
        const FrameView light = lightFrameView(scene, object);
        material.mirrorOrShadow = gpuMatrix(light.view * light.projection);
    }
    material.mirrorImages = object.isMirror() && gpu.mirrorImages[1].created() && !inMirrorPass_ ? 1 : 0;
    for (std::size_t i = 0; i < material.switches.size(); ++i) material.switches[i] = object.renderSwitches[i] ? 1 : 0;
    gpu.material.update(material);

    // The scene's lights change rarely; the cached block skips the upload.
    gpu.lights.update(lightBlockFor(scene, object));
    // Texture animation and profile curves come with their owners; until
    // then the blocks say "off".
    gpu.animatedTexture.update(AnimatedTextureBlock{});
    gpu.profileCurves.update(ProfileCurveBlock{});
    gpu.tint.update(TintBlock{});
    // Skinned objects fill the palette from their bones (skeleton owner);
    // every other object has its world matrix in entry 0.
    BonePalette bones;
    bones.bones[0] = gpuMatrix(world);
    gpu.bones.update(bones);

    GlState& gl = renderer_.gl;
    gl.bindUniformBuffer(kTransformSlot, gpu.transform.buffer());
    gl.bindUniformBuffer(kMaterialSlot, gpu.material.buffer());
    gl.bindUniformBuffer(kLightSlot, gpu.lights.buffer());
    gl.bindUniformBuffer(kAnimatedTextureSlot, gpu.animatedTexture.buffer());
    gl.bindUniformBuffer(kProfileCurveSlot, gpu.profileCurves.buffer());
    gl.bindUniformBuffer(kTintSlot, gpu.tint.buffer());
    gl.bindUniformBuffer(kBonePaletteSlot, gpu.bones.buffer());

    std::uint32_t features = 0;
    if (material.useTexture1 != 0) features |= kFeatureTexture1;
    if (material.useTexture2 != 0) features |= kFeatureTexture2;
    if (material.useTexture3 != 0) features |= kFeatureTexture3;
    if (material.normalMap != 0) features |= kFeatureNormalMap;
    if (material.environment != 0) features |= kFeatureEnvironment;
    if (material.shadowMap != 0) features |= kFeatureShadowMap;
    if (material.mirrorImages != 0) features |= kFeatureMirror;
    if (transform.objectFlag0 != 0) features |= kFeatureSkinned;
    return features;
}

void ScenePasses::bindObjectTextures(SceneObject& object, const ObjectDrawArgs& args) {
    ObjectGpuResources& gpu = *object.gpu;
    clearTextureUnits();
    bindTexture(kUnitTexture1, GL_TEXTURE_2D, sceneTextureName(object, 0, object.normalMapEnabled()));
    bindTexture(kUnitTexture2, GL_TEXTURE_2D, sceneTextureName(object, 1, false));
    unsigned third = sceneTextureName(object, 2, false);
    if (third == 0 && renderer_.whiteImage() != nullptr) third = renderer_.whiteImage()->texture;
    bindTexture(kUnitTexture3, GL_TEXTURE_2D, third);
    if (renderer_.markerImage() != nullptr) bindTexture(kUnitMarker, GL_TEXTURE_2D, renderer_.markerImage()->texture);
    if (object.shadowMapEnabled()) {
        bindTexture(kUnitLightView, GL_TEXTURE_2D, gpu.lightViews[0].texture());
        bindTexture(kUnitImage2, GL_TEXTURE_2D, gpu.lightViews[1].texture());
    }
    // In a cube pass the source's own cube is the target being drawn: it is
    // never bound for reading.
    if (args.environmentSource == nullptr && object.envMapEnabled()) {
        const unsigned cube = gpu.loadedCube != 0 ? gpu.loadedCube : gpu.cube.texture();
        bindTexture(kUnitEnvironment, GL_TEXTURE_CUBE_MAP, cube);
    }
    if (object.isMirror() && !inMirrorPass_) {
        bindTexture(kUnitImage1, GL_TEXTURE_2D, gpu.mirrorImages[1].texture());
        if (!object.shadowMapEnabled()) bindTexture(kUnitImage2, GL_TEXTURE_2D, gpu.mirrorImages[0].texture());
    }
    glActiveTexture(GL_TEXTURE0);
}

void ScenePasses::drawObjectOverlays(Scene& scene, SceneObject& object, const ObjectDrawArgs&) {
    ObjectGpuResources& gpu = *object.gpu;
    GlState& gl = renderer_.gl;
    const PipelineStates& states = renderer_.states;
    const ToolDrawState& tools = settings_.tools;
    const std::uint32_t wire = renderer_.shaders.program(ProgramId::MeshWireframe);
    if (wire == 0) return;
    const auto drawWire = [&](std::int32_t instances) {
        gl.useProgram(wire);
        gl.drawElements(GL_TRIANGLES, gpu.indexCount, instances);
    };
    if (tools.edgeDisplayTool) {
        clearTextureUnits();
        if (renderer_.markerImage() != nullptr) {
            bindTexture(kUnitEnvironment, GL_TEXTURE_2D, renderer_.markerImage()->texture);
        }
        glActiveTexture(GL_TEXTURE0);
        gl.apply(states.wireNone);
        if (object.name == "Vertice") gl.apply(states.depthOff);
        drawWire(gpu.instanceCount);
        gl.apply(states.depthOn);
        gl.apply(states.solidBack);
    }
    const bool toolObject = &object == tools.hovered || &object == scene.currentObject;
    if (settings_.edgeOption && toolObject) {
        gl.apply(states.solidBack);
        gl.apply(states.depthOff);
        drawWire(1);
    }
    if (&object == scene.currentObject && tools.selectionTool) {
        gl.apply(states.wireNone);
        drawWire(1);
        if (tools.faceTool) drawSelectedFaces(object);
    }
}

void ScenePasses::drawSelectedFaces(SceneObject& object) {
    ObjectGpuResources& gpu = *object.gpu;
    GlState& gl = renderer_.gl;
    const std::uint32_t faces = renderer_.shaders.program(ProgramId::MeshFaces);
    if (faces == 0) return;
    gl.useProgram(faces);
    gl.apply(renderer_.states.depthOff);
    gl.apply(renderer_.states.solidNone);
    const std::int32_t face = settings_.tools.hoveredFace;
    const auto faceCount = static_cast<std::int32_t>(gpu.indexCount / 3);
    // Hidden faces come with the face tools; until then every face shows.
    if (face >= 0 && face < faceCount) {
        gl.drawElements(GL_TRIANGLES, 3, 1, static_cast<std::size_t>(face) * 3);
    }
    // The selected faces in runs of consecutive triangles, one draw each.
    const std::size_t n = std::min(object.faceSelected.size(), static_cast<std::size_t>(faceCount));
    for (std::size_t i = 0; i < n;) {
        if (object.faceSelected[i] == 0) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < n && object.faceSelected[end] != 0) ++end;
        gl.drawElements(GL_TRIANGLES, static_cast<std::int32_t>((end - i) * 3), 1, i * 3);
        i = end;
    }
}

// --- Editor overlays --------------------------------------------------------------------

std::string boundingBoxLabel(const SceneObject& object) {
    const Vec3 size = componentMul(object.boundsMax - object.boundsMin, object.scale);
    char dimensions[96];
    std::snprintf(dimensions, sizeof dimensions, "  %.2f x %.2f x %.2f", static_cast<double>(std::fabs(size.x)),
                  static_cast<double>(std::fabs(size.y)), static_cast<double>(std::fabs(size.z)));
    return object.name + dimensions;
}

void ScenePasses::drawBoundingBoxLabel(const SceneObject& object, const std::array<Vec3, 8>& corners,
                                       const FrameView& view) {
    // Above the highest corner in front of the eye, where the box ends on screen.
    const Mat4 viewProjection = view.view * view.projection;
    std::optional<Vec2> at;
    for (const Vec3& corner : corners) {
        const Vec4 clip = transform(Vec4{corner.x, corner.y, corner.z, 1.0f}, viewProjection);
        if (clip.w <= 0.0f) continue;
        const Vec2 pixel{(clip.x / clip.w * 0.5f + 0.5f) * static_cast<float>(renderer_.width()),
                         (0.5f - clip.y / clip.w * 0.5f) * static_cast<float>(renderer_.height())};
        if (!at || pixel.y < at->y) at = pixel;
    }
    if (!at) return;
    TextLine label(renderer_);
    label.drawColoured(at->y - static_cast<float>(kTextLineHeight), at->x, boundingBoxLabel(object), kOpaqueBlack);
}

void ScenePasses::drawEditorOverlays(Scene& scene, const FrameView& view) {
    renderer_.setTransforms(identity(), view.view, view.projection);
    GlState& gl = renderer_.gl;
    gl.apply(renderer_.states.alpha);
    gl.apply(renderer_.states.solidBack);
    gl.apply(renderer_.states.depthOn);
    if (settings_.drawTrajectoriesAndCurves) settings_.drawTrajectoriesAndCurves();
    if (settings_.drawGizmoAndMarks) settings_.drawGizmoAndMarks();
    renderer_.setTransforms(identity(), view.view, view.projection);
    const SceneObject* selected = scene.currentObject;
    if (selected != nullptr && !selected->vertices.empty()) {
        gl.apply(renderer_.states.depthOn);
        const std::array<Vec3, 8> corners = worldBoxCorners(selected->boundsMin, selected->boundsMax,
                                                            selected->worldMatrix);
        const std::vector<LineVertex> box = boxEdgeVertices(corners, kTranslucentRed);
        drawLines(renderer_, box, false);
        drawBoundingBoxLabel(*selected, corners, view);
    }
    if (settings_.orbitTarget) {
        gl.apply(renderer_.states.depthOff);
        const std::vector<LineVertex> cross = crossVertices(*settings_.orbitTarget, kTranslucentBlue);
        drawLines(renderer_, cross, false);
    }
    if (settings_.drawStatusLine) settings_.drawStatusLine();
}

}  // namespace morvanex
