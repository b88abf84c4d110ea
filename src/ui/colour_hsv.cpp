#include "ui/colour_hsv.h"

#include <algorithm>
#include <cmath>

namespace morvanex {

namespace {

struct Hsv {
    float hue = 0.0f;         // degrees, 0..360
    float saturation = 0.0f;  // 0..1
    float value = 0.0f;       // 0..255
};

Hsv toHsv(const Vec4& c) {
    const float r = std::clamp(c.x, 0.0f, 1.0f) * 255.0f;
    const float g = std::clamp(c.y, 0.0f, 1.0f) * 255.0f;
    const float b = std::clamp(c.z, 0.0f, 1.0f) * 255.0f;
    const float high = std::max({r, g, b});
    const float low = std::min({r, g, b});
    const float range = high - low;
    Hsv hsv;
    hsv.value = high;
    hsv.saturation = high > 0.0f ? range / high : 0.0f;
    if (range <= 0.0f) return hsv;
    if (high == r) {
        hsv.hue = 60.0f * std::fmod((g - b) / range + 6.0f, 6.0f);
    } else if (high == g) {
        hsv.hue = 60.0f * ((b - r) / range + 2.0f);
    } else {
        hsv.hue = 60.0f * ((r - g) / range + 4.0f);
    }
    return hsv;
}

float toStep(float component255) {
    return static_cast<float>(std::lround(std::clamp(component255, 0.0f, 255.0f))) * (1.0f / 255.0f);
}

}  // namespace

float brightnessOf(const Vec4& colour) { return toHsv(colour).value; }

Vec4 withBrightness(const Vec4& colour, float value255) {
    const Hsv hsv = toHsv(colour);
    const float v = std::clamp(value255, 0.0f, 255.0f);
    const float chroma = v * hsv.saturation;
    const float sector = hsv.hue / 60.0f;
    const float second = chroma * (1.0f - std::fabs(std::fmod(sector, 2.0f) - 1.0f));
    float r = 0.0f, g = 0.0f, b = 0.0f;
    switch (static_cast<int>(sector) % 6) {
        case 0: r = chroma; g = second; break;
        case 1: r = second; g = chroma; break;
        case 2: g = chroma; b = second; break;
        case 3: g = second; b = chroma; break;
        case 4: r = second; b = chroma; break;
        default: r = chroma; b = second; break;
    }
    const float base = v - chroma;
    return {toStep(r + base), toStep(g + base), toStep(b + base), colour.w};
}

}  // namespace morvanex
