// Interface images drawn with the canvas. Each function draws one file of
// the interface image list; more are added the same way.
#pragma once

#include "image/image_record.h"
#include "resources/canvas.h"

namespace morvanex::resources {

inline constexpr int kBoxIconSize = 16;
inline constexpr int kCaretWidth = 2;
inline constexpr int kCaretHeight = 20;
inline constexpr int kShadowSize = 64;

DecodedImage shadowImage();         // "ombre.bmp": soft dark blot on white
DecodedImage caretImage();          // "caret.dds": white bar, one text line high
DecodedImage checkBoxImage(bool checked);        // "checked.dds" / "unchecked.dds"
DecodedImage radioButtonImage(bool selected);    // "radiobuttoncoched.dds" / "radiobutton.dds"
DecodedImage closeButtonImage(bool highlighted); // "close1 over.dds" / "close1.dds"

}  // namespace morvanex::resources
