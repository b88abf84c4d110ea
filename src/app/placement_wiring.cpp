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
// The standard preset of the tube's shape radios.
constexpr int kPresetSectionSteps = 3;
constexpr int kPresetProfileSteps = 4;
constexpr float kPresetSize = 20.0f;

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
    rules.ownRule = app_.screen.top.repeatTube != nullptr && app_.screen.top.repeatTube->checked;
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
    showSweepSettings();
    const SceneObject* current = app_.currentObject;
    sweeps.begin(tool, app_.screen.tools.values, current != nullptr && current->sweepCurves.present ? current : nullptr);
    rebuildSweepPreview();
}

void PlacementWiring::rebuildSweepPreview() {
    sweeps.rebuildPreview(app_.scene, app_.screen.tools.values);
    app_.forgetAbsentObjects();
}

namespace {

bool isSliderOf(const Control3d& widget, const Cursor* slider) {
    return slider != nullptr && (&widget == slider || &widget == slider->editBox);
}

template <typename List>
bool isIn(const List& list, const Control3d& widget) {
    return std::find(list.begin(), list.end(), &widget) != list.end();
}

// A raised count is shown in its box, but not while the person types into
// it: "1" turned into "3" at once would make "12" come out as "32".
void showCount(EditBox* box, int count, const Control3d* typedInto) {
    if (box != nullptr && box != typedInto) box->setInt(count);
}

void showBoundValue(EditBox& box) {
    if (box.boundFloat != nullptr) box.setFloat(*box.boundFloat);
    if (box.boundInt1 != nullptr) box.setInt(*box.boundInt1);
}

}  // namespace

void PlacementWiring::sweepSettingChanged(const Control3d& widget) {
    if (sweeps.tool() == SweepTool::None) return;
    ModelingPanelWidgets& w = app_.screen.tools.modeling;
    ToolPanelValues& v = app_.screen.tools.values;
    const auto tubeBox = [&w](std::size_t i) { return i < w.tubeBoxes.size() ? w.tubeBoxes[i] : nullptr; };
    const auto surfaceBox = [&w](std::size_t i) { return i < w.surfaceBoxes.size() ? w.surfaceBoxes[i] : nullptr; };
    const bool slider = isSliderOf(widget, w.twistSlider) || isSliderOf(widget, w.thicknessSlider);
    const bool shape = isIn(w.sweepShapeRadios, widget);
    const bool smoothing = isIn(w.smoothingRadios, widget);
    const bool reshapes = isIn(w.sweepAxisRadios, widget) || isOneOf(widget, {w.curvePointsBox, w.profilePointsBox}) ||
                          isOneOf(widget, {w.sweepOptionChecks[0], tubeBox(1), tubeBox(4), tubeBox(5)}) ||
                          isOneOf(widget, {surfaceBox(0), surfaceBox(1), surfaceBox(2), surfaceBox(3), surfaceBox(4)});
    const bool rebuilds = slider || shape || smoothing || reshapes || isIn(w.tubeBoxes, widget) ||
                          isIn(w.surfaceBoxes, widget) || isIn(w.sweepOptionChecks, widget);
    if (!rebuilds) return;
    // A count just typed is raised to its minimum where the person sees it.
    if (&widget == tubeBox(0)) {
        v.sweepCounts[0] = tubeSectionSteps(v.sweepCounts[0], true);
        showCount(tubeBox(0), v.sweepCounts[0], app_.ui.focusedEditBox);
    }
    if (&widget == tubeBox(1)) {
        v.sweepCounts[1] = tubeProfileSteps(v.sweepCounts[1]);
        showCount(tubeBox(1), v.sweepCounts[1], app_.ui.focusedEditBox);
    }
    if (&widget == tubeBox(2)) applySectionStep();
    if (&widget == surfaceBox(3)) {
        // Only a whole odd count is raised, so that the box can be typed into.
        const float typed = v.surfaceValues[3];
        if (std::isfinite(typed) && std::fabs(typed) < 1e6f && typed == std::round(typed) &&
            static_cast<long>(typed) % 2 != 0) {
            v.surfaceValues[3] = typed + 1.0f;
            if (app_.ui.focusedEditBox != surfaceBox(3)) surfaceBox(3)->setFloat(v.surfaceValues[3]);
        }
    }
    for (std::size_t i = 0; i < v.surfaceCounts.size(); ++i) {
        const int raised = std::clamp(v.surfaceCounts[i], 4, kMaxCurveSteps);
        if (raised == v.surfaceCounts[i]) continue;
        v.surfaceCounts[i] = raised;
        showCount(surfaceBox(5 + i), raised, app_.ui.focusedEditBox);
    }
    const bool preset = v.sweepShape == 2 && (shape || smoothing);
    if (preset) applyTubePreset();
    // What shapes the default curves makes them again; the rest rebuilds
    // from the curves as edited.
    if (reshapes || preset) {
        sweeps.reshape(v);
    } else if (smoothing || &widget == w.sweepShapeRadios[1]) {
        sweeps.reshapeSection(v);
    }
    rebuildSweepPreview();
}

void PlacementWiring::showSweepSettings() {
    ModelingPanelWidgets& w = app_.screen.tools.modeling;
    const ToolPanelValues& v = app_.screen.tools.values;
    for (EditBox* box : w.tubeBoxes) showBoundValue(*box);
    for (EditBox* box : w.surfaceBoxes) showBoundValue(*box);
    for (std::size_t i = 0; i < w.sweepOptionChecks.size(); ++i) {
        if (w.sweepOptionChecks[i] != nullptr) w.sweepOptionChecks[i]->checked = v.sweepOptions[i];
    }
    const auto select = [](auto& radios, int index) {
        for (std::size_t i = 0; i < radios.size(); ++i) {
            if (radios[i] != nullptr) radios[i]->checked = static_cast<int>(i) == index;
        }
    };
    select(w.sweepShapeRadios, v.sweepShape);
    select(w.smoothingRadios, v.tubeSmoothing);
    select(w.sweepAxisRadios, v.sweepAxis);
    for (Cursor* slider : {w.twistSlider, w.thicknessSlider}) {
        if (slider != nullptr) slider->syncFromValue();
    }
}

void PlacementWiring::applySectionStep() {
    ModelingPanelWidgets& w = app_.screen.tools.modeling;
    ToolPanelValues& v = app_.screen.tools.values;
    const int step = v.tubeSectionStep;
    if (step <= 0 || v.sweepCounts[0] % step == 0) return;
    v.sweepCounts[0] = tubeSectionSteps(v.sweepCounts[0] - v.sweepCounts[0] % step, true);
    v.sweepCounts[1] = tubeProfileSteps(v.sweepCounts[1]);
    for (std::size_t i = 0; i < 2 && i < w.tubeBoxes.size(); ++i) {
        showCount(w.tubeBoxes[i], v.sweepCounts[i], app_.ui.focusedEditBox);
    }
}

void PlacementWiring::applyTubePreset() {
    ModelingPanelWidgets& w = app_.screen.tools.modeling;
    ToolPanelValues& v = app_.screen.tools.values;
    v.sweepCounts = {kPresetSectionSteps, kPresetProfileSteps};
    v.sweepSizes[0] = v.sweepSizes[1] = kPresetSize;
    v.twist = 0.0f;
    for (std::size_t i = 0; i < 2 && i < w.tubeBoxes.size(); ++i) {
        showCount(w.tubeBoxes[i], v.sweepCounts[i], app_.ui.focusedEditBox);
    }
    for (std::size_t i = 0; i < 2 && 4 + i < w.tubeBoxes.size(); ++i) w.tubeBoxes[4 + i]->setFloat(v.sweepSizes[i]);
    if (w.twistSlider != nullptr) w.twistSlider->syncFromValue();
}

void PlacementWiring::showTopBarSweepButtons() {
    TopBarWidgets& top = app_.screen.top;
    const bool open = sweeps.tool() != SweepTool::None;
    const SceneObject* current = app_.currentObject;
    const SweepTool made = current != nullptr ? SweepEditing::toolThatMade(*current) : SweepTool::None;
    // Only on a change, so that the panels that hide them keep them hidden.
    if (open == shownForOpenSweep_ && current == shownForObject_ && made == shownForTool_) return;
    shownForOpenSweep_ = open;
    shownForObject_ = current;
    shownForTool_ = made;
    const auto show = [](ImageButton* button, bool shown) {
        if (button != nullptr) button->visible = shown;
    };
    // The toggles and the re-open buttons share their places.
    show(top.lockY, open);
    show(top.repeatTube, open);
    show(top.reopenTube, !open && (made == SweepTool::Tube || made == SweepTool::Helix));
    show(top.reopenSurface, !open && made == SweepTool::Surface);
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
    showTopBarSweepButtons();
    showLeftSweepBox();
}

void PlacementWiring::showLeftSweepBox() {
    const Control3d* focused = app_.ui.focusedEditBox;
    if (focused == lastFocusedBox_) return;
    const ModelingPanelWidgets& w = app_.screen.tools.modeling;
    for (const auto* boxes : {&w.tubeBoxes, &w.surfaceBoxes}) {
        for (EditBox* box : *boxes) {
            if (box == lastFocusedBox_) showBoundValue(*box);
        }
    }
    lastFocusedBox_ = focused;
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
