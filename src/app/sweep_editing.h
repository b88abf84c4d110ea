// The sweep tools while they are pressed: their curve editors, the live
// preview object rebuilt after every change, the control points dragged
// with the mouse, and the lasting object the build buttons make.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "modeling/ray_triangle.h"
#include "modeling/sweeps.h"
#include "render/vertex_layouts.h"

namespace morvanex {

class Scene;
struct SceneObject;
struct ToolPanelValues;

enum class SweepTool : std::uint8_t { None, Tube, Helix, Surface };

// keepHeight: the height stays at the grab's (the vertical lock);
// straighten: a moved point's handles and its neighbour's go back on the
// straight lines between the points (Shift), or, on a curve with a rule of
// its own, all of that curve's handles are placed by it; ownRule: that rule
// without Shift (the top bar's toggle).
struct SweepDragRules {
    bool keepHeight = false;
    bool straighten = false;
    bool ownRule = false;
};

class SweepEditing {
public:
    // The tool's curve editors: from the object's kept curves when it was
    // made by a sweep, else the default shapes of the settings.
    void begin(SweepTool tool, const ToolPanelValues& values, const SceneObject* madeBySweep);
    // The preview leaves the scene and the editors close.
    void end(Scene& scene);
    SweepTool tool() const { return tool_; }

    // Settings kept by an object a sweep made, back into the panel values.
    static void loadSettings(const SceneObject& object, ToolPanelValues& values);
    // The tool that made an object (None when no sweep did).
    static SweepTool toolThatMade(const SceneObject& object);
    // The default shapes again, from the settings as they are now.
    void reshape(const ToolPanelValues& values);
    // The tube's section alone back to its default shape.
    void reshapeSection(const ToolPanelValues& values);
    // The previous preview out of the scene, a new one in (not an edit of
    // the scene: nothing is recorded).
    void rebuildPreview(Scene& scene, const ToolPanelValues& values);
    // Half see-through while a texture named "masque" is loaded.
    static float sweepOpacity(const Scene& scene);
    // The lasting "Mesh" object, keeping its curves and settings.
    std::unique_ptr<SceneObject> buildLasting(const ToolPanelValues& values) const;

    // Control points under the pointer ray, grabbed and dragged in their
    // curve's plane. drag() is true when a point moved.
    bool hover(const Ray& worldRay);
    bool hovering() const { return hovered_.curve >= 0; }
    bool grab(const Ray& worldRay);
    bool drag(const Ray& worldRay, SweepDragRules rules = {});
    bool dragging() const { return grabbed_.curve >= 0; }
    void release() { grabbed_ = {}; }

    // The curves, their handles and their control points as a line list.
    std::vector<LineVertex> overlayLines() const;

    const std::array<CurveEditor, 4>& curves() const { return curves_; }
    std::array<CurveEditor, 4>& curves() { return curves_; }
    SceneObject* preview(const Scene& scene) const;

private:
    struct PointRef {
        int curve = -1;
        int point = 0;
        int part = 0;  // 0 the point, 1 and 2 its handles
    };
    PointRef pointUnder(const Ray& worldRay) const;
    // The second profile lies on the first until the half option uses it.
    int usedCurves() const { return tool_ == SweepTool::Surface ? 2 : secondProfileUsed_ ? 4 : 3; }
    std::unique_ptr<SceneObject> build(const ToolPanelValues& values, const char* name) const;

    SweepTool tool_ = SweepTool::None;
    // Tube: section, profile, path, second profile. Surface: across, depth.
    std::array<CurveEditor, 4> curves_;
    SceneObject* preview_ = nullptr;
    std::uint64_t previewSerial_ = 0;
    PointRef hovered_;
    PointRef grabbed_;
    float grabHeight_ = 0.0f;
    bool secondProfileUsed_ = false;
};

}  // namespace morvanex
