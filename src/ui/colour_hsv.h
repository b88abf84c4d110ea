// Brightness of a colour through a round trip to hue, saturation and value:
// the value slider and the colour bar change only how bright a colour is.
// Colours are RGBA floats 0..1; the value is given on 0..255.
#pragma once

#include "scene/math.h"

namespace morvanex {

// The HSV value (the largest component) on 0..255.
float brightnessOf(const Vec4& colour);
// The same hue and saturation at the given value (0..255, clamped); each
// component lands on a whole 0..255 step, as the colour is stored; alpha
// is kept.
Vec4 withBrightness(const Vec4& colour, float value255);

}  // namespace morvanex
