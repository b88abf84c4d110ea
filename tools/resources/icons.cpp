#include "resources/icons.h"

#include <algorithm>
#include <cmath>

namespace morvanex::resources {

DecodedImage shadowImage() {
    Canvas canvas(kShadowSize, kShadowSize, kWhite);
    const float half = kShadowSize * 0.5f;
    for (int y = 0; y < kShadowSize; ++y)
        for (int x = 0; x < kShadowSize; ++x) {
            const float dx = (static_cast<float>(x) + 0.5f - half) / half;
            const float dy = (static_cast<float>(y) + 0.5f - half) / half;
            const float d = std::min(1.0f, std::sqrt(dx * dx + dy * dy));
            const float dark = 1.0f - d * d * (3.0f - 2.0f * d);  // smooth falloff to the edge
            const auto level = static_cast<std::uint8_t>(std::lround(255.0f * (1.0f - 0.75f * dark)));
            canvas.set(x, y, {level, level, level, 255});
        }
    return canvas.image();
}

DecodedImage caretImage() { return Canvas(kCaretWidth, kCaretHeight, kWhite).image(); }

}  // namespace morvanex::resources
