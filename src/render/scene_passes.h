// The passes of one frame: the off-screen images objects ask for (mirrors,
// environment cubes, light-view images), the scene objects with their
// program and state choices, the editor overlays, then the widgets. Also
// the preview image drawn on demand.
//
// The application tells the passes what its tools and panels are doing
// through SceneFrameSettings; the parts whose owners come later (trajectory
// and curve overlays, gizmos, widgets, status line) are callbacks that stay
// empty until then.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "render/camera.h"
#include "render/constant_blocks.h"
#include "render/view_volume.h"
#include "scene/math.h"

namespace morvanex {

class Renderer;
class Scene;
struct SceneObject;

struct FrameView {
    Mat4 view;
    Mat4 projection;
    Vec3 eye;
};

// The view of the camera for a drawing area of width x height pixels (the
// narrow field of the face and weight tools off).
FrameView cameraFrameView(const CameraState& camera, int width, int height);

enum class ProfileTool : std::uint8_t { None, Tube, Helix, HeightSurface };

// The tool state the passes read.
struct ToolDrawState {
    ProfileTool profileTool = ProfileTool::None;
    SceneObject* profileObject = nullptr;  // the tool's profile object, or the height surface's own
    bool edgeDisplayTool = false;     // a transform mode or a modelling tool that shows edges
    bool selectionTool = false;       // the face, weight or group selection tools
    bool faceTool = false;            // face selection
    bool pointerTool = false;
    bool isolatingTool = false;       // only the selected object is drawn
    bool plainMaterialTool = false;   // materials drawn as neutral grey
    bool singleInstanceTool = false;  // copies are not drawn
    const SceneObject* hovered = nullptr;
    std::int32_t hoveredFace = -1;
};

struct SceneFrameSettings {
    bool editMode = true;
    bool edgeOption = false;       // the edges of the hovered or selected object
    bool secondLightView = false;  // light-view objects render their second image
    ToolDrawState tools;
    // The camera's orbit target, shown as a small cross in edit mode.
    std::optional<Vec3> orbitTarget;
    // Overlays of other owners, in their place in the order: trajectories,
    // profile curves, gizmo, hover and selection marks (before the bounding
    // box); the status line (last).
    std::function<void()> drawTrajectoriesAndCurves;
    std::function<void()> drawGizmoAndMarks;
    std::function<void()> drawStatusLine;
    // The widgets (last in the list first) and what comes after them.
    std::function<void()> drawWidgets;
    std::function<void()> drawInterfaceExtras;
};

enum class BlendVariant : std::uint8_t { Default, Stencil, Blend };

// How one object is drawn by the per-object procedure.
struct ObjectDrawArgs {
    const FrameView* view = nullptr;
    double time = 0.0;
    SceneObject* environmentSource = nullptr;  // the object whose cube is being rendered
    bool lightPass = false;                    // into a light-view image
    std::int32_t mirrorSign = 0;               // -1 below a mirror, +1 reflected
    BlendVariant blend = BlendVariant::Default;
    bool suppressOverlays = false;
    int targetWidth = 0;  // the image drawn into, pixels
    int targetHeight = 0;
};

// Counts of the last frame, for tests and the benchmark.
struct FrameStatistics {
    int objectsDrawn = 0;
    int objectsOutsideView = 0;
    int mirrorPasses = 0;
    int cubePasses = 0;
    int lightViewPasses = 0;
};

// The label line of the selected object's bounding box: its name and its
// scaled size along x, y and z.
std::string boundingBoxLabel(const SceneObject& object);

class ScenePasses {
public:
    explicit ScenePasses(Renderer& renderer);

    // The frame procedure; the frame has been cleared to the background.
    FrameStatistics drawFrame(Scene& scene, const FrameView& view, const SceneFrameSettings& settings, double time,
                              double elapsed);
    // The per-object procedure.
    void drawObject(Scene& scene, SceneObject& object, const ObjectDrawArgs& args);
    // The 960 x 540 preview image (renderer.preview) of the listed, visible
    // objects, or only the current object and those sharing its skeleton.
    bool drawPreviewImage(Scene& scene, const FrameView& view, bool selectionOnly, double time);

    // The light block an object is lit with: the scene's lights in use, or
    // its own when its object-light flag is set.
    static LightBlock lightBlockFor(const Scene& scene, const SceneObject& object);
    // The view of the scene reflected in a horizontal mirror at height h.
    static Mat4 mirrorView(const Mat4& view, float mirrorHeight);
    // The six face views of a cube rendered from p (+x, -x, +y, -y, +z, -z).
    static std::array<Mat4, 6> cubeFaceViews(Vec3 p);

    const FrameStatistics& statistics() const { return stats_; }

private:
    bool skippedInFrame(const Scene& scene, const SceneObject& object) const;
    bool eligibleForPass(const Scene& scene, const SceneObject& object, const SceneObject& passOwner) const;
    void drawProfileToolObjects(Scene& scene, const FrameView& view, double time);
    void runObjectPasses(Scene& scene, SceneObject& object, const FrameView& view, double time);
    void mirrorPass(Scene& scene, SceneObject& mirror, const FrameView& view, double time);
    void cubePass(Scene& scene, SceneObject& object, double time);
    void lightViewPasses(Scene& scene, SceneObject& object, double time);
    void drawEditorOverlays(Scene& scene, const FrameView& view);
    void drawBoundingBoxLabel(const SceneObject& object, const std::array<Vec3, 8>& corners, const FrameView& view);
    void drawObjectOverlays(Scene& scene, SceneObject& object, const ObjectDrawArgs& args);
    void drawSelectedFaces(SceneObject& object);
    // The light's view of an object's light-view images: from its light eye
    // to its light target, the camera's field of view.
    FrameView lightFrameView(const Scene& scene, const SceneObject& object) const;
    // Fills and binds the object's blocks; returns the material features
    // (DrawFeature bits) the draw uses.
    std::uint32_t fillBlocks(Scene& scene, SceneObject& object, const ObjectDrawArgs& args);
    void bindObjectTextures(SceneObject& object, const ObjectDrawArgs& args);
    bool hiddenByTool(const Scene& scene, const SceneObject& object) const;
    static bool isIndexedObject(const SceneObject& object);

    Renderer& renderer_;
    SceneFrameSettings settings_;
    FrameStatistics stats_;
    bool inCubePass_ = false;
    bool inMirrorPass_ = false;
};

}  // namespace morvanex
