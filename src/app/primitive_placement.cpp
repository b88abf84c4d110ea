#include "app/primitive_placement.h"

#include <array>
#include <cmath>

#include "modeling/primitives.h"
#include "scene/scene_object.h"

namespace morvanex {

namespace {

constexpr std::array<Vec2, 4> kFaceUvs{Vec2{0.0f, 0.0f}, Vec2{1.0f, 0.0f}, Vec2{1.0f, 1.0f}, Vec2{0.0f, 1.0f}};

}  // namespace

int PrimitivePlacement::step() const {
    return tool_ != PlacementTool::None && tool_ == host_.pressedPlacementTool() ? static_cast<int>(points_.size()) : 0;
}

void PrimitivePlacement::reset() {
    points_.clear();
    moving_.reset();
    tool_ = PlacementTool::None;
}

std::optional<Vec3> PrimitivePlacement::pointFor(const Ray& ray) const {
    const std::optional<Vec3> marker = host_.hoveredVertexMarker();
    if (marker || placesOnVertices(tool_)) return marker;
    const Vec3 up{0.0f, 1.0f, 0.0f};
    if (points_.empty()) return rayOnPlane(ray, {0.0f, host_.groundHeight(), 0.0f}, up);
    const Vec3 previous = points_.back();
    if (!isHeightStep(tool_, static_cast<int>(points_.size()))) return rayOnPlane(ray, previous, up);
    const std::optional<Vec3> hit = rayOnPlane(ray, previous, uprightNormalFacing(ray.direction));
    if (!hit) return hit;
    return tool_ == PlacementTool::Quad ? lockedPoint(previous, *hit, host_.placementSettings().quadLock) : *hit;
}

void PrimitivePlacement::move(const Ray& worldRay) {
    const PlacementTool pressed = host_.pressedPlacementTool();
    if (pressed != tool_) {
        reset();
        tool_ = pressed;
    }
    moving_ = tool_ == PlacementTool::None ? std::nullopt : pointFor(worldRay);
}

bool PrimitivePlacement::click(const Ray& worldRay) {
    const PlacementTool pressed = host_.pressedPlacementTool();
    if (pressed != tool_) {
        reset();
        tool_ = pressed;
    }
    if (tool_ == PlacementTool::None) return false;
    const std::optional<Vec3> point = pointFor(worldRay);
    // A click off the ground or off any vertex is left to the camera.
    if (!point) return false;
    points_.push_back(*point);
    moving_ = point;
    if (static_cast<int>(points_.size()) < placementClicks(tool_)) return true;
    std::unique_ptr<SceneObject> object = makeShape();
    reset();
    host_.placePrimitive(std::move(object));
    return true;
}

std::unique_ptr<SceneObject> PrimitivePlacement::makeShape() const {
    const std::vector<Vec3>& p = points_;
    const PlacementSettings settings = host_.placementSettings();
    switch (tool_) {
        case PlacementTool::Box: return makeBox(p[0], p[1], p[2]);
        case PlacementTool::Sphere: return makeSphere(p[0], distance(p[0], p[1]), settings.sphereTriangles);
        case PlacementTool::Quad: {
            const std::array<Vec3, 4> corners = quadCorners(p[0], p[1], p[2], host_.viewerEye());
            const Vec3 normal = normalize(cross(corners[0] - corners[2], corners[1] - corners[2]));
            return makeQuad(settings.quadDivisions, settings.quadDivisions, corners, normal);
        }
        case PlacementTool::TriangleFace:
            return makeFace3({p[0], p[1], p[2]}, {kFaceUvs[0], kFaceUvs[1], kFaceUvs[2]}, host_.viewerEye());
        case PlacementTool::QuadFace: return makeFace4({p[0], p[1], p[2], p[3]}, kFaceUvs, host_.viewerEye());
        case PlacementTool::None: break;
    }
    return nullptr;
}

std::vector<Vec3> PrimitivePlacement::rubberBandLines() const {
    if (points_.empty() || !moving_ || step() == 0) return {};
    return rubberBand(tool_, points_, *moving_);
}

}  // namespace morvanex
