// Plain images the renderer falls back on: solid colours, the vertex
// markers and the light falloff ramp.
#pragma once

#include "image/image_record.h"
#include "resources/canvas.h"

namespace morvanex::resources {

inline constexpr int kSolidImageSize = 16;
inline constexpr int kVertexMarkerSize = 16;
inline constexpr int kFalloffRampWidth = 256;
inline constexpr int kFalloffRampHeight = 4;

// A square of one colour, opaque.
DecodedImage solidImage(Colour colour, int size = kSolidImageSize);

// Vertex marker: a white dot with a dark rim on transparency; the selected
// marker is orange.
DecodedImage vertexMarker(bool selected);

// Light falloff: full intensity at the left edge to none at the right,
// 1 - smoothstep(u), in every channel; opaque. Rows are identical.
DecodedImage falloffRamp();

}  // namespace morvanex::resources
