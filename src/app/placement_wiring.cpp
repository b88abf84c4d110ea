#include "app/placement_wiring.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "app/application.h"
#include "modeling/primitives.h"
#include "render/renderer.h"
#include "render/world_lines.h"
#include "scene/scene_object.h"
#include "ui/check_box.h"
#include "ui/control3d.h"
#include "ui/edit_box.h"
#include "ui/image_button.h"
#include "ui/slider.h"

namespace morvanex {

namespace {

constexpr Vec4 kRubberBandColour{1.0f, 0.5f, 0.0f, 1.0f};
constexpr int kMaxQuadDivisions = 1000;

bool isOneOf(const Control3d& widget, std::initializer_list<const Control3d*> widgets) {
    return std::find(widgets.begin(), widgets.end(), &widget) != widgets.end();
}

}  // namespace

// --- Rays ---------------------------------------------------------------------------

Ray PlacementWiring::worldRay(Vec3 viewDirection) const {
    const std::optional<Mat4> toWorld = inverse(app_.camera.view);
    Ray ray;
    ray.origin = app_.camera.eye;
    ray.direction = toWorld ? transformNormal(viewDirection, *toWorld) : viewDirection;
    return ray;
}

Ray PlacementWiring::worldRayAt(int x, int y) const {
    return worldRay(pointerRay(x, y, app_.viewWidth(), app_.viewHeight(), app_.viewProjection()));
}

// --- View tools -----------------------------------------------------------------------

void PlacementWiring::startToolDrag(int x, int y) { sweeps.grab(worldRayAt(x, y)); }

void PlacementWiring::continueToolDrag(int x, int y) {
    SweepDragRules rules;
    rules.keepHeight = app_.screen.top.lockY != nullptr && app_.screen.top.lockY->checked;
    rules.straighten = app_.input.state.shiftHeld;
    if (sweeps.drag(worldRayAt(x, y), rules)) rebuildSweepPreview();
}

void PlacementWiring::creationMove(Vec3 pointerRay) {
    const Ray ray = worldRay(pointerRay);
    sweeps.hover(ray);
    placement.move(ray);
    app_.input.state.creationStep = placement.step();
}

bool PlacementWiring::creationClick(Vec3 pointerRay) {
    const bool taken = placement.click(worldRay(pointerRay));
    app_.input.state.creationStep = placement.step();
    return taken;
}

// --- Placement host ------------------------------------------------------------------

PlacementTool PlacementWiring::pressedPlacementTool() const {
    const ModelingPanelWidgets& w = app_.screen.tools.modeling;
    if (!app_.editMode || w.createTools == nullptr) return PlacementTool::None;
    const std::pair<const ImageButton*, PlacementTool> tools[] = {
        {w.quad, PlacementTool::Quad},
        {w.sphere, PlacementTool::Sphere},
        {w.cube, PlacementTool::Box},
        {w.triangleFace, PlacementTool::TriangleFace},
        {w.quadFace, PlacementTool::QuadFace},
    };
    for (const auto& [button, tool] : tools) {
        if (button != nullptr && button->checked) return tool;
    }
    return PlacementTool::None;
}

std::optional<Vec3> PlacementWiring::hoveredVertexMarker() const {
    // Comes with picking: the vertex marker under the pointer while the marker layer shows.
    return std::nullopt;
}

float PlacementWiring::groundHeight() const {
    const SceneObject* grid = app_.scene.findObject(kGroundGridName);
    return grid != nullptr ? grid->position.y : 0.0f;
}

Vec3 PlacementWiring::viewerEye() const { return app_.camera.eye; }

PlacementSettings PlacementWiring::placementSettings() const {
    PlacementSettings settings;
    const float size = app_.screen.tools.values.primitiveSize;
    settings.quadDivisions = std::isfinite(size) ? static_cast<int>(std::clamp(size, 0.0f, float{kMaxQuadDivisions})) : 0;
    return settings;
}

void PlacementWiring::placePrimitive(std::unique_ptr<SceneObject> object) {
    if (object == nullptr) return;
    app_.addPrimitive(std::move(object));
    if (ControleGroupe* tools = app_.screen.tools.modeling.createTools) tools->clear();
}

// --- Sweeps ---------------------------------------------------------------------------

SweepTool PlacementWiring::pressedSweepTool() const {
    const ModelingPanelWidgets& w = app_.screen.tools.modeling;
    if (w.tube != nullptr && w.tube->checked) return SweepTool::Tube;
    if (w.helix != nullptr && w.helix->checked) return SweepTool::Helix;
    if (w.surface != nullptr && w.surface->checked) return SweepTool::Surface;
    return SweepTool::None;
}

void PlacementWiring::startSweep(const Control3d& button) {
    const ModelingPanelWidgets& w = app_.screen.tools.modeling;
    const SweepTool tool = &button == w.surface ? SweepTool::Surface
                           : &button == w.helix ? SweepTool::Helix
                                                : SweepTool::Tube;
    sweeps.end(app_.scene);
    const SceneObject* current = app_.currentObject;
    sweeps.begin(tool, app_.screen.tools.values, current != nullptr && current->sweepCurves.present ? current : nullptr);
    rebuildSweepPreview();
}

void PlacementWiring::rebuildSweepPreview() {
    sweeps.rebuildPreview(app_.scene, app_.screen.tools.values);
    app_.forgetAbsentObjects();
}

void PlacementWiring::sweepSettingChanged(const Control3d& widget) {
    if (sweeps.tool() == SweepTool::None) return;
    ModelingPanelWidgets& w = app_.screen.tools.modeling;
    ToolPanelValues& v = app_.screen.tools.values;
    const bool tubeBox = std::find(w.tubeBoxes.begin(), w.tubeBoxes.end(), &widget) != w.tubeBoxes.end();
    const bool surfaceBox = std::find(w.surfaceBoxes.begin(), w.surfaceBoxes.end(), &widget) != w.surfaceBoxes.end();
    const bool option = std::find(w.sweepOptionChecks.begin(), w.sweepOptionChecks.end(), &widget) !=
                        w.sweepOptionChecks.end();
    const bool radio = isOneOf(widget, {w.smoothingRadios[0], w.smoothingRadios[1], w.sweepShapeRadios[0],
                                        w.sweepShapeRadios[1], w.sweepShapeRadios[2]});
    const bool points = isOneOf(widget, {w.curvePointsBox, w.profilePointsBox});
    if (!tubeBox && !surfaceBox && !option && !radio && !points) return;
    // A count just typed is raised to its minimum where the person sees it.
    if (!w.tubeBoxes.empty() && &widget == w.tubeBoxes[0]) {
        v.sweepCounts[0] = tubeSectionSteps(v.sweepCounts[0], true);
        w.tubeBoxes[0]->setInt(v.sweepCounts[0]);
    }
    if (w.tubeBoxes.size() > 1 && &widget == w.tubeBoxes[1]) {
        v.sweepCounts[1] = tubeProfileSteps(v.sweepCounts[1]);
        w.tubeBoxes[1]->setInt(v.sweepCounts[1]);
    }
    for (std::size_t i = 0; i < v.surfaceCounts.size(); ++i) v.surfaceCounts[i] = std::clamp(v.surfaceCounts[i], 4, kMaxCurveSteps);
    // What shapes the default curves makes them again; the rest rebuilds from the curves as edited.
    const auto tubeBoxAt = [&w](std::size_t i) -> const Control3d* { return i < w.tubeBoxes.size() ? w.tubeBoxes[i] : nullptr; };
    const bool reshapes = points || surfaceBox ||
                          isOneOf(widget, {w.smoothingRadios[0], w.smoothingRadios[1], w.sweepShapeRadios[1],
                                           w.sweepOptionChecks[0], tubeBoxAt(1), tubeBoxAt(4), tubeBoxAt(5)});
    if (reshapes) sweeps.reshape(v);
    rebuildSweepPreview();
}

void PlacementWiring::buildSweepObject() {
    std::unique_ptr<SceneObject> object = sweeps.buildLasting(app_.screen.tools.values);
    if (object == nullptr) return;
    object->opacity = SweepEditing::sweepOpacity(app_.scene);
    app_.currentObject = &app_.addPrimitive(std::move(object));
}

void PlacementWiring::frame() {
    if (sweeps.tool() != SweepTool::None && pressedSweepTool() != sweeps.tool()) {
        sweeps.end(app_.scene);
        app_.forgetAbsentObjects();
    }
}

void PlacementWiring::drawOverlays() {
    std::vector<LineVertex> lines = sweeps.overlayLines();
    for (Vec3 p : placement.rubberBandLines()) lines.push_back({p, kRubberBandColour});
    if (lines.empty()) return;
    Renderer& renderer = app_.renderer_;
    // Seen through the objects they shape.
    renderer.gl.apply(renderer.states.depthOff);
    const std::span<const LineVertex> all(lines);
    for (std::size_t from = 0; from < all.size(); from += kMaxLineVertices) {
        drawLines(renderer, all.subspan(from, std::min(kMaxLineVertices, all.size() - from)), false);
    }
    renderer.gl.apply(renderer.states.depthOn);
}

}  // namespace morvanex
