#include "resources/icons.h"

#include <algorithm>
#include <cmath>

namespace morvanex::resources {

namespace {

constexpr Colour kFrame{200, 200, 210, 255};
constexpr Colour kWell{40, 44, 52, 230};
constexpr Colour kMark{120, 220, 255, 255};

}  // namespace

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

DecodedImage checkBoxImage(bool checked) {
    Canvas canvas(kBoxIconSize, kBoxIconSize);
    canvas.fillRoundedRect(1.0f, 1.0f, 15.0f, 15.0f, 3.0f, kFrame);
    canvas.fillRoundedRect(2.5f, 2.5f, 13.5f, 13.5f, 2.0f, kWell);
    if (checked) {
        const Point tick[] = {{4.5f, 8.0f}, {7.0f, 10.8f}, {11.8f, 4.8f}};
        canvas.polyline(tick, 2.0f, kMark);
    }
    return canvas.image();
}

DecodedImage radioButtonImage(bool selected) {
    Canvas canvas(kBoxIconSize, kBoxIconSize);
    const Point centre{8.0f, 8.0f};
    canvas.disc(centre, 7.0f, kFrame);
    canvas.disc(centre, 5.5f, kWell);
    if (selected) canvas.disc(centre, 3.0f, kMark);
    return canvas.image();
}

DecodedImage closeButtonImage(bool highlighted) {
    Canvas canvas(kBoxIconSize, kBoxIconSize);
    canvas.fillRoundedRect(0.5f, 0.5f, 15.5f, 15.5f, 3.0f, highlighted ? Colour{220, 60, 50, 255} : Colour{90, 94, 104, 255});
    canvas.line({4.5f, 4.5f}, {11.5f, 11.5f}, 2.0f, kWhite);
    canvas.line({11.5f, 4.5f}, {4.5f, 11.5f}, 2.0f, kWhite);
    return canvas.image();
}

}  // namespace morvanex::resources
