// Normal maps for bump mapping, derived from a picture's brightness.
#pragma once

#include "image/image_record.h"

namespace morvanex {

inline constexpr float kNormalMapAmplitude = 10.0f;

// The first level of the first face of an RGBA8 image to a one-level RGBA8
// normal map of the same size. The height of a pixel is its luminance
// (0.2125 R + 0.7154 G + 0.0721 B, 0 to 1); the slopes are central
// differences, with the image mirrored at its edges in both directions
// (not wrapped), scaled by `amplitude`. The normal is
// (-amplitude dh/du, -amplitude dh/dv, 1) normalised, u to the right and
// v down the image (v = 0 is the top row), and is stored as
// (n + 1) / 2 * 255 in red, green and blue; alpha is 255. A flat image
// thus gives (128, 128, 255).
ImageResult computeNormalMap(const DecodedImage& image, float amplitude = kNormalMapAmplitude);

}  // namespace morvanex
