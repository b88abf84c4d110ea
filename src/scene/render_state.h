// What the scene passes read of an object besides its mesh and material:
// how it is drawn, the off-screen images it asks for, and the values a frame
// leaves behind for the next one. Run-time state, never saved; what a file
// says about drawing is in the render switches (SceneObject's accessors).
//
// The graphics resources live behind an opaque handle that the renderer
// fills; the scene model only knows how to let it go.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "scene/math.h"

namespace morvanex {

struct SceneObject;

enum class RenderKind : std::int32_t {
    None = 0,   // not drawn by the mesh path
    Lines = 1,  // a line list of the object's own vertices
    Mesh = 2,
};

// Cull modes as stored: 1 culls front faces, 2 back faces, anything else none.
inline constexpr std::int32_t kCullFront = 1;
inline constexpr std::int32_t kCullBack = 2;

// Render switches (1-based) whose meaning the passes read. Switch 1 and 7
// are the environment map and the normal map; the others are this
// program's assignment of the stored switches.
inline constexpr int kSwitchEnvironmentMap = 1;
inline constexpr int kSwitchReflective = 2;
inline constexpr int kSwitchDynamicCube = 3;
inline constexpr int kSwitchMirror = 4;
inline constexpr int kSwitchShadowMap = 5;
inline constexpr int kSwitchReflectiveAlternate = 6;
inline constexpr int kSwitchNormalMap = 7;

// The environment cube has been rendered this often (static objects stop at
// 2) or comes from a file (3).
inline constexpr std::int32_t kCubeRenderedFrames = 2;
inline constexpr std::int32_t kCubeFromFile = 3;

// Opaque graphics resources of one object (buffers, constant blocks,
// off-screen images), made and released by the renderer.
struct ObjectGpuResources;
struct ObjectGpuRelease {
    void (*release)(ObjectGpuResources*) = nullptr;
    void operator()(ObjectGpuResources* resources) const {
        if (release != nullptr) release(resources);
    }
};
using ObjectGpuHandle = std::unique_ptr<ObjectGpuResources, ObjectGpuRelease>;

struct ObjectRenderState {
    RenderKind kind = RenderKind::Mesh;
    std::int32_t cullMode = kCullBack;
    bool wireframe = false;
    bool hidden = false;          // drawn as a ghost in edit mode only
    bool ignoreDepth = false;     // drawn without the depth test
    bool castsShadows = true;     // drawn into light-view images
    bool editorObject = false;    // one of the editor's own marker objects
    std::int32_t ownInstanceCount = 1;  // instances of an editor object

    // Mirror: reflect nothing into the first image / never appear in a mirror.
    bool mirrorNoReflect = false;
    bool excludedFromMirrors = false;

    // Environment cube refreshes done (see kCubeRenderedFrames).
    std::int32_t cubeFrames = 0;

    // Light-view images: the first is drawn when lightView is on, the
    // second too when the application asks for two.
    bool lightView = false;
    Vec3 lightEye{50.0f, 100.0f, 100.0f};  // where the light looks from, world space
    Vec3 lightTarget;                       // ... and at

    // While set, the opacity glides towards this value (cleared on arrival).
    std::optional<float> opacityTarget;

    // A linked copy is drawn by its owner's instanced draw, not by itself.
    SceneObject* instanceOwner = nullptr;

    // Left by the frame for the next one.
    Vec4 highlight{1.0f, 0.0f, 0.0f, 0.5f};
    bool highlighted = false;  // hovered or selected by the current tool
    // Copied from the camera before the object is drawn.
    Mat4 view;
    Mat4 projection;
    Vec3 eyePosition;
};

}  // namespace morvanex
