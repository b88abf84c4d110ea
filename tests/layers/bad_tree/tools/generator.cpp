// A build-time tool must build without GL.
#include "image/image_codec.h"
#include "render/graphics_context.h"
