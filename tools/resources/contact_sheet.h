// A contact sheet of the interface images the generator writes, for
// looking at them together: each image enlarged twice (nearest pixel, so
// that its pixels can be judged) on the dark panel colour, named below.
#pragma once

#include <string>

#include "image/image_record.h"
#include "resources/resource_set.h"

namespace morvanex::resources {

inline constexpr int kContactSheetWidth = 1680;
inline constexpr int kContactSheetZoom = 2;

// Empty with the reason when one of the images cannot be made.
ImageResult interfaceContactSheet(const ResourceContext& context);

}  // namespace morvanex::resources
