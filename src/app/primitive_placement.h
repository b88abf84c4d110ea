// The click tools of the primitives page (quad, sphere, cube, triangle and
// quad faces): each click lands a point; the last one makes the object.
// Between clicks the moving point follows the pointer for the rubber band.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "app/creation_steps.h"
#include "modeling/placement.h"

namespace morvanex {

struct SceneObject;

struct PlacementSettings {
    int quadDivisions = 10;
    std::int64_t sphereTriangles = 800;
    AxisLock quadLock = AxisLock::None;
};

// What the placement reads from the editor and gives back to it.
class PlacementHost {
public:
    virtual ~PlacementHost() = default;
    virtual PlacementTool pressedPlacementTool() const = 0;
    // The vertex marker under the pointer, when the marker layer shows.
    virtual std::optional<Vec3> hoveredVertexMarker() const = 0;
    virtual float groundHeight() const = 0;
    virtual Vec3 viewerEye() const = 0;
    virtual PlacementSettings placementSettings() const = 0;
    // The finished object goes into the scene, and the tool is released.
    virtual void placePrimitive(std::unique_ptr<SceneObject> object) = 0;
};

class PrimitivePlacement final : public CreationSteps {
public:
    explicit PrimitivePlacement(PlacementHost& host) : host_(host) {}

    void move(const Ray& worldRay) override;
    bool click(const Ray& worldRay) override;

    // Clicks taken so far by the pressed tool (0 when another is pressed).
    int step() const;
    // The rubber band's segment pairs; empty before the first click.
    std::vector<Vec3> rubberBandLines() const;
    // Drops the points taken: another tool was pressed.
    void reset();

private:
    std::optional<Vec3> pointFor(const Ray& worldRay) const;
    std::unique_ptr<SceneObject> makeShape() const;

    PlacementHost& host_;
    PlacementTool tool_ = PlacementTool::None;
    std::vector<Vec3> points_;
    std::optional<Vec3> moving_;
};

}  // namespace morvanex
