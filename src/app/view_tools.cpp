#include "app/view_tools.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/application.h"
#include "app/pending_tool_hooks.h"
#include "modeling/object_groups.h"
#include "modeling/object_transform.h"
#include "modeling/scene_picking.h"
#include "render/renderer.h"
#include "render/world_lines.h"
#include "scene/animation.h"
#include "scene/scene.h"
#include "scene/scene_object.h"
#include "ui/edit_box.h"
#include "ui/image_button.h"
#include "ui/slider.h"

namespace morvanex {

namespace {

bool pressed(const ImageButton* button) { return button != nullptr && button->checked; }

// Half the size of a vertex marker's cross, per unit of distance from the eye.
constexpr float kMarkerSizePerDistance = 0.008f;
constexpr Vec4 kMarkerColour{0.0f, 0.0f, 0.0f, 0.8f};
constexpr Vec4 kSelectedVertexColour{1.0f, 0.0f, 0.0f, 1.0f};
constexpr Vec4 kRectangleColour{1.0f, 1.0f, 0.0f, 1.0f};  // seen on dark and light backgrounds
constexpr Vec4 kPivotColour{0.0f, 0.0f, 1.0f, 1.0f};
constexpr Vec4 kHandleColour{0.0f, 0.0f, 1.0f, 0.6f};

void addCross(std::vector<LineVertex>& lines, Vec3 centre, float half, const Vec4& colour) {
    for (const Vec3 axis : {Vec3{half, 0, 0}, Vec3{0, half, 0}, Vec3{0, 0, half}}) {
        lines.push_back({centre - axis, colour});
        lines.push_back({centre + axis, colour});
    }
}

bool sameGroup(const SceneObject& a, const SceneObject& b) {
    const SceneObject* leaderA = a.groupLeader != nullptr ? a.groupLeader : &a;
    const SceneObject* leaderB = b.groupLeader != nullptr ? b.groupLeader : &b;
    return leaderA == leaderB && (a.groupLeader != nullptr || b.groupLeader != nullptr);
}

// The mesh's point at the pivot is the one its rotation leaves in place.
Vec3 pivotInWorld(const SceneObject& object) { return transformPoint(object.pivot, object.worldMatrix); }

}  // namespace

// --- Which tool is pressed ----------------------------------------------------

TransformTool EditorViewTools::pressedTransformTool() const {
    const ModelingPanelWidgets& m = app_.screen.tools.modeling;
    const std::pair<const ImageButton*, TransformTool> tools[] = {
        {m.translation, TransformTool::Move},       {m.grid, TransformTool::Move},
        {m.translationX, TransformTool::MoveX},     {m.translationY, TransformTool::MoveY},
        {m.translationZ, TransformTool::MoveZ},     {m.translationPlane, TransformTool::PointMove},
        {m.translationPlane2, TransformTool::PointAlign}, {m.rotation, TransformTool::Rotate},
        {m.rotationX, TransformTool::RotateX},      {m.rotationY, TransformTool::RotateY},
        {m.rotationZ, TransformTool::RotateZ},      {m.rotationAxis, TransformTool::Pivot},
        {m.resize, TransformTool::Resize},          {m.spot, TransformTool::Spot},
    };
    for (const auto& [button, tool] : tools) {
        if (pressed(button)) return tool;
    }
    return TransformTool::None;
}

bool EditorViewTools::rectangleArmed() const {
    const ModelingPanelWidgets& m = app_.screen.tools.modeling;
    return pressed(app_.screen.top.rectangleSelection) && (pressed(m.faceSelection) || pressed(m.weightSelection));
}

bool EditorViewTools::vertexToolPressed() const {
    const ModelingPanelWidgets& m = app_.screen.tools.modeling;
    return pressed(m.weightSelection) || pressed(m.translationPlane) || pressed(m.translationPlane2);
}

Ray EditorViewTools::rayAt(int x, int y) const { return cursorRay(x, y, viewWidth_, viewHeight_, view_.view, view_.projection); }

// --- The router's questions ----------------------------------------------------

void EditorViewTools::pickAt(int x, int y) {
    // Only before the first frame is there no view to look through.
    if (pickedAt_ == std::array<int, 2>{x, y} || viewWidth_ <= 1) return;
    app_.pickUnderPointer(view_);
}

bool EditorViewTools::transformToolArmed() const {
    if (creationTools != nullptr && creationTools->transformToolArmed()) return true;
    return pick.hoveredObject != nullptr || pick.markerHovered || pick.hoveredHandle != ScaleHandle::None ||
           rectangleArmed();
}

void EditorViewTools::startToolDrag(int x, int y) {
    creationDrag_ = creationTools != nullptr && creationTools->transformToolArmed();
    if (creationDrag_) {
        creationTools->startToolDrag(x, y);
        return;
    }
    selection.dragStartCursor = {x, y};
    app_.pointerScreenPosition(selection.dragStartScreenCursor[0], selection.dragStartScreenCursor[1]);
    if (rectangleArmed()) {
        selection.rectangle = {Vec2{static_cast<float>(x), static_cast<float>(y)},
                               Vec2{static_cast<float>(x), static_cast<float>(y)}};
        selection.rectangleActive = true;
        return;
    }
    // Markers and handles belong to the current object.
    const bool onCurrent = pick.markerHovered || pick.hoveredHandle != ScaleHandle::None;
    onViewMouseDown(onCurrent ? app_.currentObject : pick.hoveredObject, x, y);
}

void EditorViewTools::continueToolDrag(int x, int y) {
    if (creationDrag_) {
        creationTools->continueToolDrag(x, y);
        return;
    }
    if (selection.rectangleActive) {
        updateRectangle(x, y);
        return;
    }
    onViewMouseMove(selection.draggedObject, x - selection.dragStartCursor[0], y - selection.dragStartCursor[1], x, y);
}

void EditorViewTools::finishToolDrag() {
    if (creationDrag_) {
        creationDrag_ = false;
        creationTools->finishToolDrag();
        return;
    }
    if (selection.rectangleActive) {
        selection.rectangleActive = false;
        if (app_.currentObject != nullptr && pressed(app_.screen.tools.modeling.weightSelection)) {
            applyRectangleWeightGradient(*app_.currentObject);
        }
        return;
    }
    onViewMouseUp(selection.draggedObject);
}

void EditorViewTools::creationMove(Vec3 pointerRay) {
    if (creationTools != nullptr) creationTools->creationMove(pointerRay);
}

bool EditorViewTools::creationClick(Vec3 pointerRay) {
    return creationTools != nullptr && creationTools->creationClick(pointerRay);
}

bool EditorViewTools::endsClickInVoid(const WindowMessage& message, const InputState& state) const {
    constexpr int kClickSlack = 2;  // pixels a click may wander
    if (message.message != wm::LButtonUp || !state.dragActive || state.toolDrag || state.panDrag ||
        !state.dragButtons[0]) {
        return false;
    }
    const ModelingPanelWidgets& m = app_.screen.tools.modeling;
    if (pressed(m.faceSelection) || pressed(m.weightSelection) || pressed(m.groupSelection)) return false;
    return std::abs(pointerX(message.lParam) - state.dragStart[0]) <= kClickSlack &&
           std::abs(pointerY(message.lParam) - state.dragStart[1]) <= kClickSlack && pick.hoveredObject == nullptr;
}

// --- Picking ----------------------------------------------------------------------

void EditorViewTools::pickUnderCursor(const FrameView& view, int width, int height) {
    view_ = view;
    viewWidth_ = std::max(width, 1);
    viewHeight_ = std::max(height, 1);
    pickedAt_ = app_.input.state.pointer;
    SceneObject* const previous = pick.hoveredObject;
    const SceneObject* const dragged = selection.draggedObject;
    const PickState before = pick;
    pick = PickState{};
    const TransformTool tool = pressedTransformTool();
    if (tool != lastTool_) {
        selection.toolStep = 0;
        lastTool_ = tool;
    }
    const int px = app_.input.state.pointer[0];
    const int py = app_.input.state.pointer[1];
    const Vec2 pointer{static_cast<float>(px), static_cast<float>(py)};
    const Ray ray = rayAt(px, py);
    // Nothing in the view lies under a panel.
    if (app_.ui.pointerOverInterface[0] && selection.draggedObject == nullptr) return;
    SceneObject* current = app_.currentObject;
    if (current != nullptr && app_.editMode) {
        if (tool == TransformTool::Resize) pickScaleHandle(*current, ray, pointer);
        if (vertexToolPressed() && pick.hoveredHandle == ScaleHandle::None) pickMarkers(*current, pointer);
        if (pick.markerHovered || pick.hoveredHandle != ScaleHandle::None) return;
    }
    const ModelingPanelWidgets& m = app_.screen.tools.modeling;
    const bool sceneSkipped = (pressed(m.sphere) && app_.primitiveClickStep() > 0) || pressed(m.surface) ||
                              pressed(m.tube) || pressed(m.helix) || pressed(m.bezier) ||
                              pressed(app_.screen.top.rectangleSelection);
    if (sceneSkipped) return;
    PickRules rules;
    rules.facingOnly = pressed(m.faceSelection);
    rules.editMode = app_.editMode;
    // Browsing an open group keeps to its members; editing it reaches every object.
    if (current != nullptr && app_.groupPageOpen() && !pressed(m.groupSelection)) {
        rules.openGroupLeader = groupLeaderOf(app_.scene, *current);
    }
    static_cast<PickHit&>(pick) = pickScene(app_.scene, ray, rules);
    // A dragged object keeps the hover whatever passes in front of it.
    if (dragged != nullptr && previous == dragged && pick.hoveredObject != dragged) pick = before;
}

const MarkerPlaces& EditorViewTools::markerPlaces(const SceneObject& object) {
    const Mat4 viewProjection = view_.view * view_.projection;
    const auto same = [](const Mat4& a, const Mat4& b) { return std::memcmp(&a, &b, sizeof(Mat4)) == 0; };
    MarkerPlaces& m = markers_;
    const bool current = m.object == &object && m.serial == object.serial && m.meshRevision == object.meshRevision &&
                         m.vertexCount == object.vertices.size() && same(m.world, object.worldMatrix);
    if (!current) {
        m.object = &object;
        m.serial = object.serial;
        m.meshRevision = object.meshRevision;
        m.vertexCount = object.vertices.size();
        m.world = object.worldMatrix;
        m.worldPlaces = vertexWorldPositions(object);
    }
    if (!current || !same(m.viewProjection, viewProjection) || m.width != viewWidth_ || m.height != viewHeight_) {
        m.viewProjection = viewProjection;
        m.width = viewWidth_;
        m.height = viewHeight_;
        m.screenPlaces = vertexScreenPositions(m.worldPlaces, viewProjection, viewWidth_, viewHeight_);
    }
    return m;
}

void EditorViewTools::pickMarkers(SceneObject& current, Vec2 pointer) {
    const MarkerPlaces& places = markerPlaces(current);
    const std::vector<Vec3>& world = places.worldPlaces;
    const std::vector<Vec2>& screen = places.screenPlaces;
    const std::int32_t vertex = markerUnderPointer(world, screen, pointer, view_.eye);
    if (vertex < 0) return;
    const auto i = static_cast<std::size_t>(vertex);
    pick.markerHovered = true;
    pick.hoveredObject = &current;
    pick.hoveredVertex = vertex;
    pick.hoveredVertexPosition = world[i];
    pick.hitPoint = world[i];
    pick.nearestDistance = distance(world[i], view_.eye);
    pick.vertexInfo = current.vertices[i];
    pick.vertexInfoShown = true;
}

void EditorViewTools::pickScaleHandle(SceneObject& current, const Ray& ray, Vec2 pointer) {
    if (current.vertices.empty()) return;
    const std::array<Vec3, 8> corners = scaleBoxCorners(current.boundsMin, current.boundsMax, current.worldMatrix);
    const std::vector<Vec2> screen =
        vertexScreenPositions(corners, view_.view * view_.projection, viewWidth_, viewHeight_);
    if (markerUnderPointer(corners, screen, pointer, view_.eye) >= 0) {
        pick.hoveredHandle = ScaleHandle::Corner;
    } else {
        pick.hoveredHandle = boxHandleFaceHit(ray, corners);
    }
    if (pick.hoveredHandle != ScaleHandle::None) pick.hoveredObject = &current;
}

// --- Mouse-down rules ----------------------------------------------------------------

void EditorViewTools::onViewMouseDown(SceneObject* object, int x, int y) {
    if (object == nullptr) return;
    const ModelingPanelWidgets& m = app_.screen.tools.modeling;
    SceneObject* current = app_.currentObject;
    selection.draggedObject = object;
    // A marker click is a click on that vertex for the point tools.
    if (isPointTool(pressedTransformTool()) && current != nullptr && (pick.markerHovered || selection.toolStep > 0)) {
        takePointClick();
        return;
    }
    // 1. Members of a selected group stand for the current object.
    if (current != nullptr && object != current && selection.groupSelected && sameGroup(*object, *current) &&
        !pressed(m.weightSelection) && !pressed(m.groupSelection)) {
        object = current;
        selection.draggedObject = object;
    }
    // 2. The link mode attaches the clicked object to the current one.
    if (current != nullptr && object != current && linkToCurrentInLinkMode(app_.scene, *current, *object)) {
        app_.bindToolPanelsToCurrentObject();
        return;
    }
    // 3. The cutter's second object.
    if (pressed(m.cutter) && object != current && object->selectable) {
        app_.secondObject = object;
        return;
    }
    // 4. Objects marked for merging.
    if (pressed(m.fusion) && current != nullptr && object != current && object->selectable) {
        auto& list = app_.mergeList;
        const auto found = std::find(list.begin(), list.end(), object);
        if (found == list.end()) {
            list.push_back(object);
        } else {
            list.erase(found);
        }
        return;
    }
    // 5. Shadows cast or not.
    if (pressed(m.shadowPlane) && object != current && object->selectable) {
        object->render.castsShadows = !object->render.castsShadows;
        app_.scene.modified = true;
        return;
    }
    // The group tool on the open group page adds or removes members.
    // (With no current object yet, the click first makes one.)
    const bool editingGroup = current != nullptr && pressed(m.groupSelection) && app_.groupPageOpen();
    if (editingGroup && object != current && object->selectable) {
        if (toggleGroupMembership(app_.scene, *current, *object) != GroupChange::Refused) {
            app_.scene.modified = true;
            app_.refreshGroupPage();
        }
        return;
    }
    // 6. Another object becomes current.
    if (object->selectable && object != current && !pressed(m.bezier) && !pressed(m.faceSelection) &&
        !editingGroup) {
        makeCurrent(*object);
        return;
    }
    if (object != current) return;
    // 7. and 8. Face and vertex capture.
    if (pressed(m.faceSelection)) {
        captureFaces(*object, true);
        return;
    }
    if (pressed(m.weightSelection)) {
        if (pick.markerHovered) captureVertices(*object, true);
        return;
    }
    // 9. The transform tools.
    if (pressedTransformTool() != TransformTool::None) beginTransformDrag(*object, x, y);
}

void EditorViewTools::makeCurrent(SceneObject& object) {
    SceneObject* previous = app_.currentObject;
    // Leaving a group closes the trajectory that was open in it.
    if (previous != nullptr && previous->groupLeader != nullptr && !sameGroup(*previous, object)) endOpenTrajectory();
    app_.currentObject = &object;
    selection.toolStep = 0;
    selection.groupSelected = false;  // the group command sets it again after
    app_.bindToolPanelsToCurrentObject();
    app_.refreshObjectPanels();
}

void EditorViewTools::selectObject(SceneObject& object) {
    if (&object == app_.currentObject || !object.selectable || pressed(app_.screen.tools.modeling.faceSelection)) return;
    if (app_.currentObject != nullptr) app_.clearSelectionMark(app_.currentObject);
    makeCurrent(object);
}

void EditorViewTools::captureFaces(SceneObject& object, bool firstPress) {
    if (pick.hoveredObject != &object || pick.hoveredTriangle < 0) return;
    if (app_.screen.tools.values.faceSliceMode) {
        const std::vector<Vec3> world = vertexWorldPositions(object);
        if (firstPress) {
            toggleFacesAtHeight(object, world, pick.hitPoint.y);
        } else {
            setFacesAtHeight(object, world, pick.hitPoint.y, selection.paintValue);
        }
    } else if (firstPress) {
        toggleFace(object, pick.hoveredTriangle);
    } else {
        setFace(object, pick.hoveredTriangle, selection.paintValue);
    }
    if (firstPress) {
        const auto t = static_cast<std::size_t>(pick.hoveredTriangle);
        selection.facePaint = true;
        selection.paintValue = t < object.faceSelected.size() && object.faceSelected[t] != 0;
    }
}

void EditorViewTools::captureVertices(SceneObject& object, bool firstPress) {
    const std::vector<Vec3> world = vertexWorldPositions(object);
    if (firstPress) {
        std::int32_t last = -1;
        selection.paintValue = toggleVerticesAt(object, world, pick.hoveredVertexPosition, last);
        if (last >= 0) pick.vertexInfo = object.vertices[static_cast<std::size_t>(last)];
        selection.vertexPaint = true;
    } else if (app_.screen.tools.values.vertexSliceMode) {
        paintVerticesInSlice(object, world, pick.hoveredVertexPosition.y, selection.paintValue);
    } else {
        paintVerticesAt(object, world, pick.hoveredVertexPosition, selection.paintValue);
    }
}

void EditorViewTools::updateRectangle(int x, int y) {
    selection.rectangle.corner = {static_cast<float>(x), static_cast<float>(y)};
    SceneObject* object = app_.currentObject;
    if (object == nullptr) return;
    const std::vector<Vec3> world = vertexWorldPositions(*object);
    const std::vector<Vec3> normals = vertexWorldNormals(*object);
    const std::vector<Vec2> screen = vertexScreenPositions(world, view_.view * view_.projection, viewWidth_, viewHeight_);
    if (pressed(app_.screen.tools.modeling.faceSelection)) {
        rectSelectFaces(*object, world, normals, screen, view_.eye, selection.rectangle, app_.screen.tools.values.selectThrough);
    } else {
        rectSelectVertices(*object, world, normals, screen, view_.eye, selection.rectangle);
    }
}

// --- Drags and mouse-up ---------------------------------------------------------------------

void EditorViewTools::onViewMouseMove(SceneObject* object, int dx, int dy, int x, int y) {
    if (object == nullptr) return;
    if (selection.facePaint) {
        captureFaces(*object, false);
    } else if (selection.vertexPaint) {
        if (pick.markerHovered) captureVertices(*object, false);
    } else if (drag.active) {
        continueTransformDrag(dx, dy, x, y);
    }
}

void EditorViewTools::onViewMouseUp(SceneObject*) {
    selection.facePaint = false;
    selection.vertexPaint = false;
    selection.draggedObject = nullptr;
    if (drag.active && drag.changed) app_.recordTransformEdit();
    if (drag.active) app_.setCursor(CursorShape::Arrow);
    drag = TransformDrag{};
    if (!isPointTool(pressedTransformTool())) selection.toolStep = 0;
}

// --- Transform drags --------------------------------------------------------------------

ObjectState* EditorViewTools::openPoint() const {
    return app_.trajectoryPointOpen() ? openTrajectoryPoint(app_.scene) : nullptr;
}

void EditorViewTools::beginTransformDrag(SceneObject& object, int x, int y) {
    const TransformTool tool = pressedTransformTool();
    if (isPointTool(tool)) return;  // those take clicks on vertices
    if (tool == TransformTool::Resize && pick.hoveredHandle == ScaleHandle::None) return;
    drag = TransformDrag{};
    drag.active = true;
    drag.tool = tool;
    drag.object = &object;
    drag.handle = pick.hoveredHandle;
    app_.setCursor(CursorShape::Move);
    rebaseTransformDrag(object, x, y);
}

void EditorViewTools::rebaseTransformDrag(SceneObject& object, int x, int y) {
    drag.referencePoint = transformPoint(object.boundsCentre, object.worldMatrix);
    drag.scaleCentre = drag.referencePoint;
    drag.startHit = dragPlaneHit(drag.referencePoint, rayAt(x, y), viewDirection(app_.camera.yaw, app_.camera.pitch),
                                 object.parent != nullptr ? &object.parent->worldMatrix : nullptr);
    const ObjectState* point = openPoint();
    drag.startPosition = point != nullptr ? point->position : object.position;
    drag.startPivot = object.pivot;
    drag.startScale = point != nullptr ? point->scale : object.scale;
    drag.startOrientation = point != nullptr ? orientationFromAxisAngle(point->rotationAxis, point->rotationAngle)
                                             : orientationFromAxisAngle(object.rotationAxis, object.rotationAngle);
}

void EditorViewTools::continueTransformDrag(int dx, int dy, int x, int y) {
    SceneObject& object = *drag.object;
    ObjectState* point = openPoint();
    Vec3& position = point != nullptr ? point->position : object.position;
    Vec3& scale = point != nullptr ? point->scale : object.scale;
    Vec3& axis = point != nullptr ? point->rotationAxis : object.rotationAxis;
    float& angle = point != nullptr ? point->rotationAngle : object.rotationAngle;
    const TransformTool tool = drag.tool;
    if (isMoveTool(tool) || tool == TransformTool::Pivot) {
        const std::optional<Vec3> hit =
            dragPlaneHit(drag.referencePoint, rayAt(x, y), viewDirection(app_.camera.yaw, app_.camera.pitch),
                         object.parent != nullptr ? &object.parent->worldMatrix : nullptr);
        // No hit (the plane seen edge-on): the component keeps its value.
        if (!hit || !drag.startHit) return;
        if (tool == TransformTool::Pivot) {
            object.pivot = drag.startPivot + (*hit - *drag.startHit);
        } else {
            position = movedPosition(tool, drag.startPosition, *drag.startHit, *hit);
        }
    } else if (tool == TransformTool::Spot) {
        turnSpotDirection(object, rotatedOrientation(tool, Quat{}, dx, dy, app_.input.state.rotationSensitivity,
                                                     app_.camera.yaw, app_.camera.pitch));
    } else if (isRotationTool(tool)) {
        // A child or a linked copy turns in its carrier's frame.
        const Mat4 frame = point != nullptr ? identity() : placingFrame(object);
        const Quat q = rotatedOrientation(tool, drag.startOrientation, dx, dy, app_.input.state.rotationSensitivity,
                                          app_.camera.yaw, app_.camera.pitch, frame);
        const AxisAngle turned = axisAngleOfOrientation(q);
        axis = turned.axis;
        angle = turned.angle;
    } else if (tool == TransformTool::Resize) {
        scale = scaledBy(drag.handle, drag.startScale, dx, dy);
        if (point == nullptr) keepScaleCentre(object);
    }
    drag.changed = true;
    afterTransformStep(object);
    // At the view's edge the pointer goes back where the press was, and the
    // drag starts again from there with what it has done so far.
    if (touchesViewEdge(x, y, viewWidth_, viewHeight_)) {
        app_.movePointerOnScreen(selection.dragStartScreenCursor[0], selection.dragStartScreenCursor[1]);
        rebaseTransformDrag(object, selection.dragStartCursor[0], selection.dragStartCursor[1]);
    }
}

void EditorViewTools::keepScaleCentre(SceneObject& object) {
    // Scaling acts about the object's origin, which may lie far from it: the
    // position makes up for it, so the middle stays where it was at the press.
    object.position = drag.startPosition;
    rebuildWorldMatrix(object);
    const Vec3 drift = drag.scaleCentre - transformPoint(object.boundsCentre, object.worldMatrix);
    object.position += transformNormal(drift, inverse(placingFrame(object)).value_or(identity()));
}

void EditorViewTools::afterTransformStep(SceneObject& object) {
    if (openPoint() != nullptr) {
        rebindOpenTrajectoryPoint(app_.scene);
    } else {
        rebuildWorldMatrix(object);
    }
    app_.scene.modified = true;
    refreshTransformWidgets();
}

void EditorViewTools::refreshTransformWidgets() {
    const ModelingPanelWidgets& m = app_.screen.tools.modeling;
    for (const auto* boxes : {&m.positionBoxes, &m.axisBoxes, &m.scaleBoxes}) {
        for (EditBox* box : *boxes) {
            if (box != nullptr && box->boundFloat != nullptr) box->setFloat(*box->boundFloat);
        }
    }
    if (m.rotationAngleSlider != nullptr && m.rotationAngleSlider->value != nullptr) m.rotationAngleSlider->syncFromValue();
}

// --- Point-to-point tools --------------------------------------------------------------------

void EditorViewTools::takePointClick() {
    SceneObject* object = app_.currentObject;
    const TransformTool tool = pressedTransformTool();
    if (object == nullptr || selection.toolStep < 0 || selection.toolStep >= 4) {
        selection.toolStep = 0;
        return;
    }
    if (pick.hoveredObject == nullptr) return;  // no vertex under the pointer
    const auto step = static_cast<std::size_t>(selection.toolStep);
    if (step == 0) {
        const ObjectState* point = openPoint();
        selection.pointToolStart = point != nullptr ? point->position : object->position;
    }
    selection.clickPoints[step] = pick.hoveredVertexPosition;
    selection.clickVertices[step] = pick.hoveredVertex;
    ++selection.toolStep;
    if (selection.toolStep == 2) {
        Vec3& position = openPoint() != nullptr ? openPoint()->position : object->position;
        position = pointMovePosition(selection.pointToolStart, selection.clickPoints[0], selection.clickPoints[1]);
        afterTransformStep(*object);
        if (tool == TransformTool::PointMove) finishPointTool(*object);
    } else if (selection.toolStep == 4) {
        const Alignment turn = alignmentAbout(selection.clickPoints[1], selection.clickPoints[2],
                                              selection.clickPoints[3], object->position,
                                              object->baseMatrix * matrixScaling(object->scale));
        object->rotationAngle = turn.rotationAngle;
        object->rotationAxis = turn.rotationAxis;
        object->pivot = turn.pivot;
        afterTransformStep(*object);
        finishPointTool(*object);
    }
}

void EditorViewTools::finishPointTool(SceneObject&) {
    // Assemblies (the tool applied to every linked member by vertex number)
    // come with the skeleton editor.
    selection.toolStep = 0;
    app_.recordTransformEdit();
}

// --- Objects that leave the scene ------------------------------------------------------------

void EditorViewTools::forgetAbsentObjects(const Scene* scene) {
    const auto gone = [scene](const SceneObject* object) {
        return object != nullptr && (scene == nullptr || scene->indexOf(object) < 0);
    };
    if (gone(pick.hoveredObject)) pick = PickState{};
    if (gone(selection.draggedObject)) {
        selection.draggedObject = nullptr;
        selection.facePaint = selection.vertexPaint = false;
    }
    if (gone(drag.object)) drag = TransformDrag{};
    if (scene == nullptr) selection.toolStep = 0;
}

// --- Drawing ------------------------------------------------------------------------------

void EditorViewTools::drawGizmoAndMarks(Renderer& renderer) {
    const SceneObject* current = app_.currentObject;
    if (current != nullptr && app_.editMode) {
        const TransformTool tool = pressedTransformTool();
        if (tool != TransformTool::None) drawTransformGizmo(renderer, *current, tool);
        if (vertexToolPressed()) drawVertexMarkers(renderer, *current);
    }
    if (selection.rectangleActive) drawRectangle(renderer);
}

void EditorViewTools::drawTransformGizmo(Renderer& renderer, const SceneObject& object, TransformTool tool) {
    const Vec3 centre = transformPoint(object.boundsCentre, object.worldMatrix);
    const float radius = std::max(length(componentMul(object.boundsMax - object.boundsMin, object.scale)) * 0.6f, 0.5f);
    renderer.gl.apply(renderer.states.depthOff);
    switch (tool) {
    case TransformTool::Move:
        for (const Vec3 axis : {Vec3{1, 0, 0}, Vec3{0, 1, 0}, Vec3{0, 0, 1}}) drawAxisLine(renderer, centre, axis, false, 0.0f);
        break;
    case TransformTool::MoveX: drawAxisLine(renderer, centre, {1, 0, 0}, false, 0.0f); break;
    case TransformTool::MoveY: drawAxisLine(renderer, centre, {0, 1, 0}, false, 0.0f); break;
    case TransformTool::MoveZ: drawAxisLine(renderer, centre, {0, 0, 1}, false, 0.0f); break;
    case TransformTool::Rotate:
    case TransformTool::Spot: drawCircle(renderer, centre, radius); break;
    // The axis the drag turns about, through the pivot.
    case TransformTool::RotateX: drawAxisLine(renderer, pivotInWorld(object), {1, 0, 0}, true, object.rotationAngle); break;
    case TransformTool::RotateY: drawAxisLine(renderer, pivotInWorld(object), {0, 1, 0}, true, object.rotationAngle); break;
    case TransformTool::RotateZ: drawAxisLine(renderer, pivotInWorld(object), {0, 0, 1}, true, object.rotationAngle); break;
    case TransformTool::Pivot: {
        std::vector<LineVertex> lines;
        addCross(lines, pivotInWorld(object), radius * 0.3f, kPivotColour);
        drawLines(renderer, lines, false);
        drawAxisLine(renderer, pivotInWorld(object), normalize(object.rotationAxis), true, object.rotationAngle);
        break;
    }
    case TransformTool::Resize: {
        const std::array<Vec3, 8> corners = scaleBoxCorners(object.boundsMin, object.boundsMax, object.worldMatrix);
        // scaleBoxCorners numbers corners by bits; boxEdgeVertices wants min-max order.
        std::vector<LineVertex> lines;
        for (std::size_t i = 0; i < 8; ++i) {
            for (std::size_t bit : {1u, 2u, 4u}) {
                if ((i & bit) == 0) {
                    lines.push_back({corners[i], kHandleColour});
                    lines.push_back({corners[i | bit], kHandleColour});
                }
            }
            addCross(lines, corners[i], radius * 0.08f, kHandleColour);
        }
        drawLines(renderer, lines, false);
        break;
    }
    default: break;
    }
    renderer.gl.apply(renderer.states.depthOn);
}

void EditorViewTools::drawVertexMarkers(Renderer& renderer, const SceneObject& object) {
    const std::vector<Vec3>& world = markerPlaces(object).worldPlaces;
    std::vector<LineVertex> lines;
    for (std::size_t i = 0; i < world.size() && lines.size() + 6 <= kMaxLineVertices; ++i) {
        const bool selected = i < object.vertexSelected.size() && object.vertexSelected[i] != 0;
        const float half = distance(world[i], view_.eye) * kMarkerSizePerDistance;
        addCross(lines, world[i], half, selected ? kSelectedVertexColour : kMarkerColour);
    }
    if (pick.markerHovered && lines.size() + 6 <= kMaxLineVertices) {
        addCross(lines, pick.hoveredVertexPosition, distance(pick.hoveredVertexPosition, view_.eye) * 0.02f, kHalfYellow);
    }
    renderer.gl.apply(renderer.states.depthOff);
    drawLines(renderer, lines, false);
    renderer.gl.apply(renderer.states.depthOn);
}

void EditorViewTools::drawRectangle(Renderer& renderer) {
    // Just beyond the near plane, so that it lies over everything.
    const ScreenRectangle& r = selection.rectangle;
    const std::array<Vec2, 4> corners{r.start, Vec2{r.corner.x, r.start.y}, r.corner, Vec2{r.start.x, r.corner.y}};
    std::vector<LineVertex> strip;
    for (std::size_t i = 0; i <= corners.size(); ++i) {
        const Vec2 c = corners[i % corners.size()];
        const Ray ray = rayAt(static_cast<int>(c.x), static_cast<int>(c.y));
        strip.push_back({ray.origin + ray.direction * (kCameraNearPlane * 1.5f), kRectangleColour});
    }
    renderer.gl.apply(renderer.states.depthOff);
    drawLines(renderer, strip, true);
    renderer.gl.apply(renderer.states.depthOn);
}

}  // namespace morvanex
