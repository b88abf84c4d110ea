// Interface images computed with the canvas rather than drawn as SVG: the
// blurred shadow and the caret.
#pragma once

#include "image/image_record.h"
#include "resources/canvas.h"

namespace morvanex::resources {

inline constexpr int kCaretWidth = 2;
inline constexpr int kCaretHeight = 20;
inline constexpr int kShadowSize = 64;

DecodedImage shadowImage();         // "ombre.bmp": soft dark blot on white
DecodedImage caretImage();          // "caret.dds": white bar, one text line high

}  // namespace morvanex::resources
