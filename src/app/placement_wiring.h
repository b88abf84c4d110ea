// The creation tools of the 3D view until the editor's own view tools take
// them over: the pointer ray of the router turned into a world ray for the
// primitive placement and the sweep curve editors, the application's side
// of the placement, and the overlays they draw.
#pragma once

#include <optional>

#include "app/input_routing.h"
#include "app/primitive_placement.h"
#include "app/sweep_editing.h"

namespace morvanex {

class Application;
class Control3d;

class PlacementWiring final : public ViewTools, public PlacementHost {
public:
    explicit PlacementWiring(Application& app) : app_(app) {}

    // ViewTools: a sweep control point under the pointer arms a drag; the
    // creation steps take the pointer ray.
    bool transformToolArmed() const override { return sweeps.hovering(); }
    void startToolDrag(int x, int y) override;
    void continueToolDrag(int x, int y) override;
    void finishToolDrag() override { sweeps.release(); }
    void creationMove(Vec3 pointerRay) override;
    bool creationClick(Vec3 pointerRay) override;

    // PlacementHost.
    PlacementTool pressedPlacementTool() const override;
    std::optional<Vec3> hoveredVertexMarker() const override;
    float groundHeight() const override;
    Vec3 viewerEye() const override;
    PlacementSettings placementSettings() const override;
    void placePrimitive(std::unique_ptr<SceneObject> object) override;

    // The sweep tool of a pressed button, opened on the current object's
    // curves when a sweep made it.
    void startSweep(const Control3d& button);
    // After a setting of the sweep panels changed: the shapes again when
    // it shapes the default curves, then the preview.
    void sweepSettingChanged(const Control3d& widget);
    // The "Mesh" object of the build buttons; it becomes current.
    void buildSweepObject();
    // Every frame: a sweep whose button was released closes.
    void frame();
    // In the scene overlays: the rubber band and the curve editors.
    void drawOverlays();

    PrimitivePlacement placement{*this};
    SweepEditing sweeps;

private:
    SweepTool pressedSweepTool() const;
    // Every widget of the sweep panels shows its value again (after an
    // object's settings were loaded).
    void showSweepSettings();
    // The section step box: the first count rounded down to a multiple of
    // the step, then both counts raised to their minimums.
    void applySectionStep();
    // The standard preset radio: counts, sizes and twist.
    void applyTubePreset();
    // The top bar's lock and handle-rule toggles while a sweep is open; else
    // the re-open button of the current object's sweep.
    void showTopBarSweepButtons();
    Ray worldRay(Vec3 viewDirection) const;
    Ray worldRayAt(int x, int y) const;
    void rebuildSweepPreview();
    // A sweep box the person typed into shows, once left, the value the
    // sweep uses (a count raised to its minimum while typing stays as typed).
    void showLeftSweepBox();

    Application& app_;
    bool shownForOpenSweep_ = false;
    const SceneObject* shownForObject_ = nullptr;
    SweepTool shownForTool_ = SweepTool::None;
    const Control3d* lastFocusedBox_ = nullptr;
};

}  // namespace morvanex
