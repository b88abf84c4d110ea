#include "image/normal_map.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace morvanex {

namespace {

// Reflects an index that fell off an edge back into [0, size).
int mirrored(int i, int size) {
    if (size == 1) return 0;
    const int period = 2 * size;
    i %= period;
    if (i < 0) i += period;
    return i < size ? i : period - 1 - i;
}

std::uint8_t encode(float component) {
    const long value = std::lround((component * 0.5f + 0.5f) * 255.0f);
    return static_cast<std::uint8_t>(std::clamp(value, 0L, 255L));
}

}  // namespace

ImageResult computeNormalMap(const DecodedImage& image, float amplitude) {
    if (!isWellFormed(image)) return ImageResult::failure("normal map: image record is not well formed");
    if (image.format != PixelFormat::Rgba8) return ImageResult::failure("normal map: source is not RGBA8");
    const ImageLevel& source = image.level(0, 0);
    const int w = source.width;
    const int h = source.height;
    std::vector<float> height(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    for (std::size_t i = 0; i < height.size(); ++i) {
        const std::uint8_t* p = source.bytes.data() + i * 4;
        height[i] = (0.2125f * p[0] + 0.7154f * p[1] + 0.0721f * p[2]) / 255.0f;
    }
    auto at = [&](int x, int y) {
        return height[static_cast<std::size_t>(mirrored(y, h)) * static_cast<std::size_t>(w) +
                      static_cast<std::size_t>(mirrored(x, w))];
    };
    DecodedImage out;
    out.fileFormat = image.fileFormat;
    out.width = w;
    out.height = h;
    ImageLevel level;
    level.width = w;
    level.height = h;
    level.bytes.resize(height.size() * 4);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const float du = (at(x + 1, y) - at(x - 1, y)) * 0.5f;
            const float dv = (at(x, y + 1) - at(x, y - 1)) * 0.5f;
            float nx = -amplitude * du;
            float ny = -amplitude * dv;
            float nz = 1.0f;
            const float length = std::sqrt(nx * nx + ny * ny + nz * nz);
            nx /= length;
            ny /= length;
            nz /= length;
            std::uint8_t* p = level.bytes.data() + (static_cast<std::size_t>(y) * static_cast<std::size_t>(w) +
                                                   static_cast<std::size_t>(x)) *
                                                      4;
            p[0] = encode(nx);
            p[1] = encode(ny);
            p[2] = encode(nz);
            p[3] = 255;
        }
    }
    out.levels.push_back(std::move(level));
    return ImageResult::success(std::move(out));
}

}  // namespace morvanex
