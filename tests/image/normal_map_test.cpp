#include "image/normal_map.h"

#include <gtest/gtest.h>

#include <cmath>

#include "image/image_test_files.h"

namespace morvanex {
namespace {

using testing::Rgba;
using testing::pixelAt;

DecodedImage grey(int width, int height, int (*level)(int x, int y)) {
    return testing::makeRgbaImage(width, height, 1, [level](int, int x, int y) {
        const auto v = static_cast<std::uint8_t>(level(x, y));
        return Rgba{v, v, v, 17};
    });
}

std::uint8_t encoded(float n) { return static_cast<std::uint8_t>(std::lround((n * 0.5f + 0.5f) * 255.0f)); }

TEST(NormalMap, FlatImageFacesStraightUp) {
    const ImageResult flat = computeNormalMap(grey(5, 3, [](int, int) { return 90; }));
    ASSERT_TRUE(flat) << flat.error;
    EXPECT_EQ(flat.image->width, 5);
    EXPECT_EQ(flat.image->mipLevels, 1);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(pixelAt(flat.image->level(0, 0), x, y), (Rgba{128, 128, 255, 255}));
    const ImageResult single = computeNormalMap(grey(1, 1, [](int, int) { return 200; }));
    ASSERT_TRUE(single);
    EXPECT_EQ(pixelAt(single.image->level(0, 0), 0, 0), (Rgba{128, 128, 255, 255}));
}

TEST(NormalMap, RampsTiltAwayFromTheRise) {
    // Brighter to the right by 10 levels a pixel: the normal leans to -u.
    const ImageResult right = computeNormalMap(grey(6, 4, [](int x, int) { return 50 + 10 * x; }));
    ASSERT_TRUE(right) << right.error;
    const float slope = kNormalMapAmplitude * 10.0f / 255.0f;  // central difference of the ramp
    const float length = std::sqrt(slope * slope + 1.0f);
    const Rgba inner = pixelAt(right.image->level(0, 0), 2, 1);
    EXPECT_NEAR(inner[0], encoded(-slope / length), 1);
    EXPECT_EQ(inner[1], 128);
    EXPECT_NEAR(inner[2], encoded(1.0f / length), 1);
    EXPECT_LT(inner[0], 100);
    // Mirrored at the edge: half the difference there, not a wrap-around
    // jump from the brightest column.
    const Rgba edge = pixelAt(right.image->level(0, 0), 0, 1);
    EXPECT_GT(edge[0], inner[0]);
    EXPECT_LT(edge[0], 128);
    EXPECT_LT(pixelAt(right.image->level(0, 0), 5, 1)[0], 128);

    // Brighter further down (v grows downwards): the normal leans to -v.
    const ImageResult down = computeNormalMap(grey(4, 6, [](int, int y) { return 20 + 30 * y; }));
    ASSERT_TRUE(down);
    const Rgba lower = pixelAt(down.image->level(0, 0), 1, 3);
    EXPECT_EQ(lower[0], 128);
    EXPECT_LT(lower[1], 128);

    // Height is luminance: a green ramp tilts more than a blue one.
    auto rampOf = [](int channel) {
        return testing::makeRgbaImage(4, 1, 1, [channel](int, int x, int) {
            Rgba p{0, 0, 0, 255};
            p[static_cast<std::size_t>(channel)] = static_cast<std::uint8_t>(x * 20);
            return p;
        });
    };
    const Rgba g = pixelAt(computeNormalMap(rampOf(1)).image->level(0, 0), 1, 0);
    const Rgba b = pixelAt(computeNormalMap(rampOf(2)).image->level(0, 0), 1, 0);
    EXPECT_LT(g[0], b[0]);
    EXPECT_LT(b[0], 128);
}

TEST(NormalMap, RefusesWhatItCannotRead) {
    EXPECT_FALSE(computeNormalMap(DecodedImage{}));
    DecodedImage compressed;
    compressed.format = PixelFormat::Bc1;
    compressed.width = compressed.height = 4;
    compressed.levels.push_back({4, 4, std::vector<std::uint8_t>(8, 0)});
    EXPECT_FALSE(computeNormalMap(compressed));
}

}  // namespace
}  // namespace morvanex
