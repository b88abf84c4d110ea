// SVG drawings to RGBA images, through librsvg and cairo.
#pragma once

#include <string_view>

#include "image/image_record.h"

namespace morvanex::resources {

// Renders the whole document into a `width` x `height` RGBA8 image with
// straight (not premultiplied) alpha. The document must declare exactly that
// size in pixels: a drawing made for another size would be scaled and lose
// its pixel alignment, so it is refused with the reason.
ImageResult rasteriseSvg(std::string_view svgText, int width, int height);

}  // namespace morvanex::resources
