#include "app/sweep_editing.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <filesystem>

#include "app/tool_panels.h"
#include "modeling/object_transform.h"
#include "modeling/placement.h"
#include "scene/scene.h"
#include "scene/scene_texture.h"
#include "scene/scene_object.h"

namespace morvanex {

namespace {

constexpr int kOverlaySteps = 12;
constexpr float kPointReach = 0.02f;  // how far off the ray a point is still under it, per unit of depth
constexpr float kMarkSize = 0.4f;
constexpr std::array<Vec4, 4> kCurveColours{Vec4{1.0f, 0.2f, 0.1f, 1.0f}, Vec4{0.1f, 0.3f, 1.0f, 1.0f},
                                            Vec4{0.1f, 0.7f, 0.2f, 1.0f}, Vec4{0.9f, 0.7f, 0.0f, 1.0f}};
constexpr Vec4 kHandleColour{0.3f, 0.3f, 0.3f, 1.0f};
constexpr Vec4 kHoverColour{1.0f, 1.0f, 0.0f, 1.0f};

// The sweep block's values: counts, sizes, tool, options, turns.
enum BlockValue : std::size_t { kFirstCount, kSecondCount, kWidth, kHeight, kToolValue, kOptionBits, kTurns };
constexpr std::int32_t kAngularBit = 1 << 7;
constexpr int kAxisShift = 8;  // the surface's axis, two bits

constexpr int toolValue(SweepTool tool) { return static_cast<int>(tool); }

Vec3& partOf(CurvePoint& p, int part) { return part == 0 ? p.point : part == 1 ? p.handle1 : p.handle2; }
Vec3 partOf(const CurvePoint& p, int part) { return part == 0 ? p.point : part == 1 ? p.handle1 : p.handle2; }

CurveEditor editor(CurveKind kind, float a, float b, int points) {
    CurveEditor e;
    e.kind = kind;
    e.a = a;
    e.b = b;
    e.pointCount = points;
    return e;
}

TubeSettings tubeSettings(SweepTool tool, const ToolPanelValues& v) {
    TubeSettings s;
    s.sectionSteps = v.sweepCounts[0];
    s.helix = tool == SweepTool::Helix || v.sweepOptions[1];
    s.turns = std::isfinite(v.tubeTurns) ? static_cast<int>(std::clamp(v.tubeTurns, -1.0f, 100.0f)) : 0;
    s.pitch = std::isfinite(v.helixPitch) ? v.helixPitch : 0.0f;
    s.oriented = v.sweepOptions[2];
    s.half = v.sweepOptions[3];
    s.capped = v.sweepOptions[4];
    s.twist = v.twist;
    s.thickness = v.thickness;
    return s;
}

CurveEditor sectionEditor(const ToolPanelValues& v) {
    const bool smooth = v.tubeSmoothing == 0;
    const int points = smooth ? v.sweepCurvePoints : angularSectionPoints(v.sweepCurvePoints);
    CurveEditor section = editor(smooth ? CurveKind::Circle : CurveKind::Rectangle, sweepSize(v.sweepSizes[0], 20.0f),
                                 sweepSize(v.sweepSizes[1], 20.0f), points);
    makeDefaultShape(section, tubeProfileSteps(v.sweepCounts[1]));
    return section;
}

void addSegment(std::vector<LineVertex>& lines, Vec3 a, Vec3 b, const Vec4& colour) {
    lines.push_back({a, colour});
    lines.push_back({b, colour});
}

void addMark(std::vector<LineVertex>& lines, Vec3 p, const Vec4& colour) {
    for (Vec3 axis : {Vec3{kMarkSize, 0.0f, 0.0f}, Vec3{0.0f, kMarkSize, 0.0f}, Vec3{0.0f, 0.0f, kMarkSize}}) {
        addSegment(lines, p - axis, p + axis, colour);
    }
}

}  // namespace

void SweepEditing::begin(SweepTool tool, const ToolPanelValues& values, const SceneObject* madeBySweep) {
    tool_ = tool;
    hovered_ = {};
    grabbed_ = {};
    reshape(values);
    if (madeBySweep == nullptr || !madeBySweep->sweepCurves.present) return;
    // The object's own curves replace the default shapes they stand for.
    const SweepCurveBlock& block = madeBySweep->sweepCurves;
    for (std::size_t i = 0; i < curves_.size(); ++i) {
        if (block.curves[i].empty()) continue;
        curves_[i].points = block.curves[i];
        if (curves_[i].points.size() > static_cast<std::size_t>(kMaxCurvePoints) + 1) {
            curves_[i].points.resize(static_cast<std::size_t>(kMaxCurvePoints) + 1);
        }
    }
}

void SweepEditing::reshape(const ToolPanelValues& v) {
    if (tool_ == SweepTool::Surface) {
        const std::array<float, 5>& s = v.surfaceValues;
        const int arches = surfaceSubdivisions(s[3]) / 2;
        // Two points to an arch at least: its top and its foot.
        curves_[0] = editor(CurveKind::AcrossArch, sweepSize(s[0], 100.0f), sweepSize(s[2], 10.0f),
                            std::max(v.sweepCurvePoints, 2 * arches));
        curves_[0].arches = arches;
        curves_[1] = editor(CurveKind::DepthLine, sweepSize(s[1], 100.0f), 0.0f, v.sweepProfilePoints);
        for (std::size_t i = 0; i < 2; ++i) {
            curves_[i].smoothing = std::isfinite(s[4]) ? std::clamp(s[4], 0.0f, 1.0f) : 0.0f;
            curves_[i].upAxis = std::clamp(v.sweepAxis, 0, 2);
            makeDefaultShape(curves_[i], 1);
        }
        curves_[2] = curves_[3] = CurveEditor{};
        return;
    }
    const float a = sweepSize(v.sweepSizes[0], 20.0f);
    const float b = sweepSize(v.sweepSizes[1], 20.0f);
    curves_[0] = sectionEditor(v);
    curves_[1] = editor(CurveKind::VerticalLine, a, b, v.sweepProfilePoints);
    curves_[2] = editor(CurveKind::CentreLine, a, b, v.sweepProfilePoints);
    const int step = tubeProfileSteps(v.sweepCounts[1]);
    for (std::size_t i = 1; i < 3; ++i) {
        curves_[i].closed = v.sweepOptions[0];
        makeDefaultShape(curves_[i], step);
    }
    curves_[3] = curves_[1];
}

void SweepEditing::reshapeSection(const ToolPanelValues& v) {
    if (tool_ == SweepTool::Tube || tool_ == SweepTool::Helix) curves_[0] = sectionEditor(v);
}

void SweepEditing::end(Scene& scene) {
    if (SceneObject* old = preview(scene)) scene.removeObject(old);
    preview_ = nullptr;
    tool_ = SweepTool::None;
    hovered_ = {};
    grabbed_ = {};
    curves_ = {};
}

void SweepEditing::loadSettings(const SceneObject& object, ToolPanelValues& v) {
    const SweepCurveBlock& block = object.sweepCurves;
    if (!block.present) return;
    const auto& values = block.values;
    const bool surface = values[kToolValue] == toolValue(SweepTool::Surface);
    std::array<int, 2>& counts = surface ? v.surfaceCounts : v.sweepCounts;
    counts = {values[kFirstCount], values[kSecondCount]};
    if (!surface) {
        v.sweepSizes[0] = static_cast<float>(values[kWidth]);
        v.sweepSizes[1] = static_cast<float>(values[kHeight]);
        v.tubeTurns = static_cast<float>(values[kTurns]);
        v.tubeSmoothing = (values[kOptionBits] & kAngularBit) != 0 ? 1 : 0;
    } else {
        v.sweepAxis = std::clamp(values[kOptionBits] >> kAxisShift & 3, 0, 2);
    }
    for (std::size_t i = 0; i < v.sweepOptions.size(); ++i) v.sweepOptions[i] = (values[kOptionBits] >> i & 1) != 0;
}

SweepTool SweepEditing::toolThatMade(const SceneObject& object) {
    if (!object.sweepCurves.present) return SweepTool::None;
    switch (object.sweepCurves.values[kToolValue]) {
        case toolValue(SweepTool::Helix): return SweepTool::Helix;
        case toolValue(SweepTool::Surface): return SweepTool::Surface;
        default: return SweepTool::Tube;
    }
}

SceneObject* SweepEditing::preview(const Scene& scene) const {
    return preview_ != nullptr ? scene.findObject(preview_, previewSerial_) : nullptr;
}

std::unique_ptr<SceneObject> SweepEditing::build(const ToolPanelValues& v, const char* name) const {
    std::unique_ptr<SceneObject> object;
    if (tool_ == SweepTool::Surface) {
        object = makeSurface(name, curves_[0], curves_[1], v.surfaceCounts[0], v.surfaceCounts[1]);
    } else {
        object = makeTube(name, curves_[0], curves_[1], curves_[2], curves_[3], tubeSettings(tool_, v));
    }
    // The object keeps what it was made from, so that its tool can reopen it.
    SweepCurveBlock& block = object->sweepCurves;
    block.present = true;
    const bool surface = tool_ == SweepTool::Surface;
    block.values[kFirstCount] = surface ? v.surfaceCounts[0] : v.sweepCounts[0];
    block.values[kSecondCount] = surface ? v.surfaceCounts[1] : v.sweepCounts[1];
    block.values[kWidth] = static_cast<std::int32_t>(std::lround(sweepSize(v.sweepSizes[0], 20.0f)));
    block.values[kHeight] = static_cast<std::int32_t>(std::lround(sweepSize(v.sweepSizes[1], 20.0f)));
    block.values[kToolValue] = toolValue(tool_);
    std::int32_t bits = v.tubeSmoothing != 0 ? kAngularBit : 0;
    for (std::size_t i = 0; i < v.sweepOptions.size(); ++i) bits |= v.sweepOptions[i] ? 1 << i : 0;
    if (surface) bits |= std::clamp(v.sweepAxis, 0, 2) << kAxisShift;
    block.values[kOptionBits] = bits;
    block.values[kTurns] = tubeSettings(tool_, v).turns;
    for (std::size_t i = 0; i < curves_.size(); ++i) block.curves[i] = curves_[i].points;
    return object;
}

float SweepEditing::sweepOpacity(const Scene& scene) {
    for (const auto& texture : scene.textures()) {
        if (std::filesystem::path(texture->fileName).stem() == "masque") return 0.5f;
    }
    return 1.0f;
}

void SweepEditing::rebuildPreview(Scene& scene, const ToolPanelValues& values) {
    if (SceneObject* old = preview(scene)) scene.removeObject(old);
    preview_ = nullptr;
    secondProfileUsed_ = values.sweepOptions[3];
    if (tool_ == SweepTool::None) return;
    SceneObject& added = scene.addObject(build(values, tool_ == SweepTool::Surface ? kSurfaceName : kTubeName));
    rebuildWorldMatrix(added);
    added.opacity = sweepOpacity(scene);
    preview_ = &added;
    previewSerial_ = added.serial;
}

std::unique_ptr<SceneObject> SweepEditing::buildLasting(const ToolPanelValues& values) const {
    if (tool_ == SweepTool::None) return nullptr;
    return build(values, kLastingSweepName);
}

SweepEditing::PointRef SweepEditing::pointUnder(const Ray& ray) const {
    PointRef best;
    float bestReach = kPointReach;
    const float scale = lengthSquared(ray.direction);
    if (!(scale > 0.0f)) return best;
    for (int c = 0; c < usedCurves(); ++c) {
        const auto& points = curves_[static_cast<std::size_t>(c)].points;
        for (std::size_t i = 0; i < points.size(); ++i) {
            for (int part = 0; part < 3; ++part) {
                const Vec3 q = partOf(points[i], part);
                const float t = dot(q - ray.origin, ray.direction) / scale;
                if (!(t > 0.0f)) continue;
                const float depth = t * std::sqrt(scale);
                const float reach = distance(q, ray.origin + ray.direction * t) / depth;
                // Points win over their handles where they coincide; the
                // first curve over the later ones.
                if (reach < bestReach || (reach == bestReach && part == 0 && best.part != 0)) {
                    bestReach = reach;
                    best = {c, static_cast<int>(i), part};
                }
            }
        }
    }
    return best;
}

bool SweepEditing::hover(const Ray& worldRay) {
    hovered_ = tool_ == SweepTool::None ? PointRef{} : pointUnder(worldRay);
    return hovering();
}

bool SweepEditing::grab(const Ray& worldRay) {
    grabbed_ = tool_ == SweepTool::None ? PointRef{} : pointUnder(worldRay);
    if (dragging()) {
        const CurvePoint& p = curves_[static_cast<std::size_t>(grabbed_.curve)].points[static_cast<std::size_t>(grabbed_.point)];
        grabHeight_ = partOf(p, grabbed_.part).y;
    }
    return dragging();
}

bool SweepEditing::drag(const Ray& worldRay, SweepDragRules rules) {
    if (!dragging()) return false;
    CurveEditor& curve = curves_[static_cast<std::size_t>(grabbed_.curve)];
    if (static_cast<std::size_t>(grabbed_.point) >= curve.points.size()) return false;
    CurvePoint& p = curve.points[static_cast<std::size_t>(grabbed_.point)];
    const Vec3 from = partOf(p, grabbed_.part);
    const std::optional<Vec3> to = rayOnPlane(worldRay, from, curve.planeNormal());
    if (!to) return false;
    Vec3 delta = *to - from;
    if (rules.keepHeight) delta.y = grabHeight_ - from.y;
    partOf(p, grabbed_.part) += delta;
    // A point carries its handles along.
    if (grabbed_.part == 0) {
        p.handle1 += delta;
        p.handle2 += delta;
    }
    p.resetAnimated();
    if (grabbed_.part != 0) return true;
    if ((rules.straighten || rules.ownRule) && curve.hasOwnHandleRule()) {
        placeHandlesSmoothly(curve.points, curve.closed, curve.ownRuleTension());
    } else if (rules.straighten) {
        placeHandlesOnThirdsAround(curve.points, static_cast<std::size_t>(grabbed_.point), curve.closed);
    }
    return true;
}

std::vector<LineVertex> SweepEditing::overlayLines() const {
    std::vector<LineVertex> lines;
    for (int c = 0; c < usedCurves(); ++c) {
        const CurveEditor& curve = curves_[static_cast<std::size_t>(c)];
        const Vec4& colour = kCurveColours[static_cast<std::size_t>(c)];
        const std::vector<Vec3> samples = sampleCurve(curve.points, curve.closed, kOverlaySteps);
        for (std::size_t i = 0; i + 1 < samples.size(); ++i) addSegment(lines, samples[i], samples[i + 1], colour);
        for (std::size_t i = 0; i < curve.points.size(); ++i) {
            const CurvePoint& p = curve.points[i];
            const bool hot = hovered_.curve == c && hovered_.point == static_cast<int>(i);
            addMark(lines, p.point, hot && hovered_.part == 0 ? kHoverColour : colour);
            if (i + 1 == curve.points.size() && !curve.closed) continue;
            addSegment(lines, p.point, p.handle1, kHandleColour);
            addSegment(lines, p.handle2, curve.points[(i + 1) % curve.points.size()].point, kHandleColour);
            addMark(lines, p.handle1, hot && hovered_.part == 1 ? kHoverColour : kHandleColour);
            addMark(lines, p.handle2, hot && hovered_.part == 2 ? kHoverColour : kHandleColour);
        }
    }
    return lines;
}

}  // namespace morvanex
