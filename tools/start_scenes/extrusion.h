// Solid letters: filled shapes given depth, with side walls along every
// contour. The result is a closed triangle list, one vertex per corner,
// normals pointing out of the solid.
#pragma once

#include <vector>

#include "scene/mesh_vertex.h"
#include "start_scenes/polygon_fill.h"

namespace morvanex {

struct ExtrusionStyle {
    double depth = 1.0;  // the solid spans z from -depth / 2 (front) to +depth / 2
    // Neighbouring wall faces meeting at less than this angle share a
    // smoothed normal (round letters look round); sharper corners stay crisp.
    double smoothAngleDegrees = 35.0;
};

// Shapes in the x-y plane (y up) become solids; the front faces look
// towards -z. Texture coordinates run over the shapes' bounds.
std::vector<MeshVertex> extrudeShapes(const std::vector<Shape>& shapes, const ExtrusionStyle& style);

}  // namespace morvanex
