#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "image/dds_codec.h"
#include "image/image_codec.h"
#include "image/normal_map.h"
#include "resources/default_images.h"
#include "resources/demo_textures.h"
#include "resources/icons.h"
#include "resources/resource_set.h"

namespace morvanex::resources {
namespace {

Colour pixelOf(const DecodedImage& image, int x, int y) {
    const auto& b = image.levels[0].bytes;
    const std::size_t at = static_cast<std::size_t>((y * image.width + x) * 4);
    return {b[at], b[at + 1], b[at + 2], b[at + 3]};
}

DecodedImage decoded(const std::vector<std::uint8_t>& bytes) {
    ImageResult result = decodeImageRgba8(bytes);
    EXPECT_TRUE(result) << result.error;
    return result ? std::move(*result.image) : DecodedImage{};
}

bool allPixels(const DecodedImage& image, Colour colour) {
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (!(pixelOf(image, x, y) == colour)) return false;
    return true;
}

TEST(ResourceImagesTest, SolidBmpsHaveTheirColour) {
    const DecodedImage white = decoded(encodeBmp24(solidImage(kWhite)));
    const DecodedImage red = decoded(encodeBmp24(solidImage({255, 0, 0, 255})));
    const DecodedImage black = decoded(encodeBmp24(solidImage(kBlack)));
    EXPECT_EQ(white.width, kSolidImageSize);
    EXPECT_EQ(white.height, kSolidImageSize);
    EXPECT_TRUE(allPixels(white, kWhite));
    EXPECT_TRUE(allPixels(red, Colour{255, 0, 0, 255}));
    EXPECT_TRUE(allPixels(black, kBlack));
}

TEST(ResourceImagesTest, FalloffRampGoesFromFullToNone) {
    const DecodedImage ramp = decoded(encodeDds(falloffRamp()));
    ASSERT_EQ(ramp.width, kFalloffRampWidth);
    ASSERT_EQ(ramp.height, kFalloffRampHeight);
    EXPECT_EQ(pixelOf(ramp, 0, 0), kWhite);
    EXPECT_EQ(pixelOf(ramp, kFalloffRampWidth - 1, 0), kBlack);
    for (int x = 1; x < kFalloffRampWidth; ++x) {
        EXPECT_LE(pixelOf(ramp, x, 0).r, pixelOf(ramp, x - 1, 0).r) << x;
        EXPECT_EQ(pixelOf(ramp, x, kFalloffRampHeight - 1), pixelOf(ramp, x, 0));
    }
}

TEST(ResourceImagesTest, VertexMarkersAreDotsOnTransparency) {
    const DecodedImage plain = decoded(encodeDds(vertexMarker(false)));
    const DecodedImage selected = decoded(encodeDds(vertexMarker(true)));
    ASSERT_EQ(plain.width, kVertexMarkerSize);
    EXPECT_EQ(pixelOf(plain, 0, 0).a, 0);
    EXPECT_EQ(pixelOf(plain, 8, 8), kWhite);
    const Colour c = pixelOf(selected, 8, 8);
    EXPECT_EQ(c.a, 255);
    EXPECT_GT(c.r, c.b) << "the selected marker is orange, not white";
}

TEST(ResourceImagesTest, ComputedInterfaceImages) {
    const DecodedImage caret = decoded(encodeDds(caretImage()));
    EXPECT_EQ(caret.width, kCaretWidth);
    EXPECT_EQ(caret.height, kCaretHeight);
    EXPECT_TRUE(allPixels(caret, kWhite));

    const DecodedImage shadow = decoded(encodeBmp24(shadowImage()));
    EXPECT_EQ(shadow.width, kShadowSize);
    EXPECT_LT(pixelOf(shadow, 32, 32).r, 100) << "dark in the middle";
    EXPECT_EQ(pixelOf(shadow, 0, 0), kWhite) << "clear at the corner";
}

// Spread of luminance and of the derived normals of a height image.
void expectRelief(const DecodedImage& height) {
    std::set<int> levels;
    for (int y = 0; y < height.height; ++y)
        for (int x = 0; x < height.width; ++x) {
            const Colour c = pixelOf(height, x, y);
            EXPECT_EQ(c.r, c.g);
            levels.insert(c.r);
        }
    EXPECT_GT(levels.size(), 64u) << "a height image with many levels";
    const ImageResult normals = computeNormalMap(height);
    ASSERT_TRUE(normals) << normals.error;
    int tilted = 0;
    for (int y = 0; y < height.height; ++y)
        for (int x = 0; x < height.width; ++x)
            if (pixelOf(*normals.image, x, y).b < 230) ++tilted;
    EXPECT_GT(tilted, height.width * height.height / 50) << "the relief tilts the normals";
}

TEST(ResourceImagesTest, MoonTexturesAreCrateredWithRelief) {
    const TexturePair moon = moonTextures(128);
    const DecodedImage colour = decoded(encodeJpg(moon.colour));
    const DecodedImage height = decoded(encodeJpg(moon.height));
    EXPECT_EQ(colour.width, 128);
    EXPECT_EQ(height.height, 128);
    EXPECT_EQ(pixelOf(colour, 5, 5).a, 255);
    expectRelief(moon.height);
    // Greyish: no channel far from the others.
    const Colour c = pixelOf(moon.colour, 40, 40);
    EXPECT_LT(std::abs(int{c.r} - int{c.b}), 40);
}

TEST(ResourceImagesTest, CrateTexturesAreWoodWithRaisedFrame) {
    const TexturePair crate = crateTextures(256);
    expectRelief(crate.height);
    const Colour wood = pixelOf(crate.colour, 128, 60);
    EXPECT_GT(wood.r, wood.g);
    EXPECT_GT(wood.g, wood.b) << "brown";
    // The frame stands above the planks.
    EXPECT_GT(pixelOf(crate.height, 128, 12).r, pixelOf(crate.height, 60, 150).r);
}

TEST(ResourceImagesTest, DemonstrationTexturesAreTheSameEveryRun) {
    EXPECT_EQ(moonTextures(64).height.levels[0].bytes, moonTextures(64).height.levels[0].bytes);
    EXPECT_EQ(crateTextures(64).colour.levels[0].bytes, crateTextures(64).colour.levels[0].bytes);
}

TEST(ResourceImagesTest, EncodersRefuseBadRecords) {
    EXPECT_TRUE(encodeJpg(DecodedImage{}).empty());
    EXPECT_TRUE(encodePng(DecodedImage{}).empty());
}

}  // namespace
}  // namespace morvanex::resources
