#include "resources/default_images.h"

#include <cmath>

namespace morvanex::resources {

DecodedImage solidImage(Colour colour, int size) { return Canvas(size, size, colour).image(); }

DecodedImage vertexMarker(bool selected) {
    Canvas canvas(kVertexMarkerSize, kVertexMarkerSize);
    const Point centre{kVertexMarkerSize * 0.5f, kVertexMarkerSize * 0.5f};
    canvas.disc(centre, 6.0f, Colour{20, 20, 20, 255});
    canvas.disc(centre, 4.5f, selected ? Colour{255, 140, 0, 255} : kWhite);
    return canvas.image();
}

DecodedImage falloffRamp() {
    Canvas canvas(kFalloffRampWidth, kFalloffRampHeight);
    for (int x = 0; x < kFalloffRampWidth; ++x) {
        const float u = static_cast<float>(x) / static_cast<float>(kFalloffRampWidth - 1);
        const float v = 1.0f - u * u * (3.0f - 2.0f * u);
        const auto level = static_cast<std::uint8_t>(std::lround(v * 255.0f));
        for (int y = 0; y < kFalloffRampHeight; ++y) canvas.set(x, y, {level, level, level, 255});
    }
    return canvas.image();
}

}  // namespace morvanex::resources
