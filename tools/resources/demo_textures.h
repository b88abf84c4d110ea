// The demonstration textures of the interface: a cratered moon and a
// wooden crate, each with a grey height image whose brightness is the
// height the normal-map derivation turns into relief. All tile seamlessly
// and are the same for every build (fixed seeds).
#pragma once

#include "image/image_record.h"

namespace morvanex::resources {

inline constexpr int kDemoTextureSize = 512;

struct TexturePair {
    DecodedImage colour;  // RGBA8, opaque
    DecodedImage height;  // RGBA8, grey (r = g = b), opaque; white is high
};

TexturePair moonTextures(int size = kDemoTextureSize);
TexturePair crateTextures(int size = kDemoTextureSize);

}  // namespace morvanex::resources
