// The tools of the 3D view: what lies under the pointer each frame, the
// clicks that select objects, faces and vertices, the rectangle selection,
// and the drags of the transform tools with their gizmos. The input router
// hands every left-button press in the view here (ViewTools); the
// application owns one and draws its gizmos through the frame's overlay
// hook.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "app/input_routing.h"
#include "modeling/mesh_picking.h"
#include "modeling/selection_rules.h"
#include "modeling/transform_tools.h"
#include "render/scene_passes.h"
#include "scene/mesh_vertex.h"

namespace morvanex {

class Application;
class Renderer;
class Scene;
struct ObjectState;

// What lies under the cursor this frame, read by every tool.
struct PickState : PickHit {
    MeshVertex vertexInfo{};        // the hovered vertex's record, for the read-out
    bool vertexInfoShown = false;   // a vertex marker is hovered in a vertex tool
    bool markerHovered = false;     // the hovered vertex is a marker of the current object
    ScaleHandle hoveredHandle = ScaleHandle::None;  // a handle of the scale tool
};

// The selection state of the application beside currentObject,
// secondObject and mergeList (its option flags are the modeling panel's
// check boxes, in ToolPanelValues).
struct SelectionState {
    std::int32_t toolStep = 0;                // clicks taken by a multi-click tool
    std::array<Vec3, 4> clickPoints{};        // A, B, C, D of the point tools
    std::array<std::int32_t, 4> clickVertices{-1, -1, -1, -1};
    Vec3 pointToolStart;                      // the position when the first point was clicked
    ScreenRectangle rectangle;
    bool rectangleActive = false;
    std::array<int, 2> dragStartCursor{};        // client position of the last press
    std::array<int, 2> dragStartScreenCursor{};  // ... and on the screen, for re-centring
    SceneObject* draggedObject = nullptr;
    bool groupSelected = false;    // clicks on the current object's group act on it
    bool facePaint = false;        // a face-capture drag runs
    bool vertexPaint = false;      // a vertex-capture drag runs
    bool paintValue = false;       // the state the capture drag writes
};

// The transform drag from mouse-down to mouse-up.
struct TransformDrag {
    bool active = false;
    bool changed = false;
    TransformTool tool = TransformTool::None;
    SceneObject* object = nullptr;
    Vec3 referencePoint;
    std::optional<Vec3> startHit;
    Vec3 startPosition;
    Vec3 startPivot;
    Vec3 startScale{1.0f, 1.0f, 1.0f};
    Quat startOrientation;
    Vec3 scaleCentre;
    ScaleHandle handle = ScaleHandle::None;
};

// The world and screen places of the current object's vertices, for its
// markers: made again only when the object, its mesh, its matrix or the
// view changes, not every frame.
struct MarkerPlaces {
    const SceneObject* object = nullptr;
    std::uint64_t serial = 0;
    std::uint64_t meshRevision = 0;
    std::size_t vertexCount = 0;
    Mat4 world;
    Mat4 viewProjection;
    int width = 0;
    int height = 0;
    std::vector<Vec3> worldPlaces;
    std::vector<Vec2> screenPlaces;
};

class EditorViewTools final : public ViewTools {
public:
    explicit EditorViewTools(Application& app) : app_(app) {}

    // --- What the router asks ---------------------------------------------
    // A press in the view belongs to the tools when it lands on an object,
    // a vertex marker or a scale handle, or when a rectangle selection is armed.
    void pickAt(int x, int y) override;
    bool transformToolArmed() const override;
    void startToolDrag(int x, int y) override;
    void continueToolDrag(int x, int y) override;
    void finishToolDrag() override;
    void creationMove(Vec3 pointerRay) override;
    bool creationClick(Vec3 pointerRay) override;

    // A left click on nothing (a view drag that did not move): it releases
    // the current object unless a selection tool is pressed.
    bool endsClickInVoid(const WindowMessage& message, const InputState& state) const;

    // --- Every frame, before drawing ---------------------------------------
    // Fills pick: the handles and vertex markers first, then the scene.
    void pickUnderCursor(const FrameView& view, int width, int height);
    // The overlay hook: gizmo of the transform tool, markers, rectangle.
    void drawGizmoAndMarks(Renderer& renderer);

    // --- The three entry points of the view ---------------------------------
    void onViewMouseDown(SceneObject* object, int x, int y);
    // dx, dy from the mouse-down place.
    void onViewMouseMove(SceneObject* object, int dx, int dy, int x, int y);
    void onViewMouseUp(SceneObject* object);
    // Makes an object current unless it already is, cannot be selected or
    // the face tool is pressed.
    void selectObject(SceneObject& object);

    // The transform tool whose button is pressed, if any.
    TransformTool pressedTransformTool() const;
    // Drops every pointer to an object that left the scene (all when null).
    void forgetAbsentObjects(const Scene* scene);

    PickState pick;
    SelectionState selection;
    TransformDrag drag;
    // The placement and sweep tools: their control points arm drags before
    // the transform tools, and the creation steps take the pointer.
    ViewTools* creationTools = nullptr;

private:
    bool creationDrag_ = false;  // the drag under way belongs to the creation tools
    std::array<int, 2> pickedAt_{-1, -1};  // the pointer place the pick was made for
    MarkerPlaces markers_;
    bool rectangleArmed() const;
    bool vertexToolPressed() const;
    Ray rayAt(int x, int y) const;
    void pickMarkers(SceneObject& current, Vec2 pointer);
    const MarkerPlaces& markerPlaces(const SceneObject& object);
    void pickScaleHandle(SceneObject& current, const Ray& ray, Vec2 pointer);
    void makeCurrent(SceneObject& object);
    void captureFaces(SceneObject& object, bool firstPress);
    void captureVertices(SceneObject& object, bool firstPress);
    void updateRectangle(int x, int y);
    void beginTransformDrag(SceneObject& object, int x, int y);
    // The drag's start values taken again from the object as it is now, with
    // the press at (x, y).
    void rebaseTransformDrag(SceneObject& object, int x, int y);
    void continueTransformDrag(int dx, int dy, int x, int y);
    void takePointClick();
    void finishPointTool(SceneObject& object);
    ObjectState* openPoint() const;
    void keepScaleCentre(SceneObject& object);
    void afterTransformStep(SceneObject& object);
    void refreshTransformWidgets();
    void drawVertexMarkers(Renderer& renderer, const SceneObject& object);
    void drawTransformGizmo(Renderer& renderer, const SceneObject& object, TransformTool tool);
    void drawRectangle(Renderer& renderer);

    Application& app_;
    FrameView view_;  // of the last frame picked
    int viewWidth_ = 1;
    int viewHeight_ = 1;
    TransformTool lastTool_ = TransformTool::None;  // a new tool starts its clicks afresh
};

}  // namespace morvanex
