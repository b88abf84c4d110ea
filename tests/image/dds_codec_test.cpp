#include "image/dds_codec.h"

#include <gtest/gtest.h>

#include <random>

#include "image/image_test_files.h"

namespace morvanex {
namespace {

using testing::Bytes;
using testing::DdsHeader;
using testing::Rgba;
using testing::bc1Block;
using testing::blockHeader;
using testing::makeDds;
using testing::pixelAt;

constexpr std::uint16_t kRed565 = 0xF800;
constexpr std::uint16_t kBlue565 = 0x001F;

std::array<std::uint8_t, 64> bc1(const Bytes& b) { return decodeBc1Block(std::span<const std::uint8_t, 8>(b.data(), 8)); }
Rgba px(const std::array<std::uint8_t, 64>& block, int p) {
    return {block[static_cast<std::size_t>(p * 4)], block[static_cast<std::size_t>(p * 4 + 1)],
            block[static_cast<std::size_t>(p * 4 + 2)], block[static_cast<std::size_t>(p * 4 + 3)]};
}

TEST(DdsBlocks, Bc1FourAndThreeColourModes) {
    // c0 > c1: four colours, thirds between the endpoints.
    const auto four = bc1(bc1Block(kRed565, kBlue565, {0, 1, 2, 3, 3, 2, 1, 0, 0, 0, 0, 0, 1, 1, 1, 1}));
    EXPECT_EQ(px(four, 0), (Rgba{255, 0, 0, 255}));
    EXPECT_EQ(px(four, 1), (Rgba{0, 0, 255, 255}));
    EXPECT_EQ(px(four, 2), (Rgba{170, 0, 85, 255}));
    EXPECT_EQ(px(four, 3), (Rgba{85, 0, 170, 255}));
    EXPECT_EQ(px(four, 4), (Rgba{85, 0, 170, 255}));
    EXPECT_EQ(px(four, 15), (Rgba{0, 0, 255, 255}));
    // c0 <= c1: midpoint and transparent black.
    const auto three = bc1(bc1Block(kBlue565, kRed565, {0, 1, 2, 3}));
    EXPECT_EQ(px(three, 0), (Rgba{0, 0, 255, 255}));
    EXPECT_EQ(px(three, 1), (Rgba{255, 0, 0, 255}));
    EXPECT_EQ(px(three, 2), (Rgba{127, 0, 127, 255}));
    EXPECT_EQ(px(three, 3), (Rgba{0, 0, 0, 0}));
    // 565 expansion of a mid green.
    const auto green = bc1(bc1Block(0x07E0, 0x0000, {0}));
    EXPECT_EQ(px(green, 0), (Rgba{0, 255, 0, 255}));
    const auto grey = bc1(bc1Block(static_cast<std::uint16_t>((16 << 11) | (32 << 5) | 16), 0, {0}));
    EXPECT_EQ(px(grey, 0), (Rgba{132, 130, 132, 255}));
}

TEST(DdsBlocks, Bc2ExplicitAlphaAndBc3InterpolatedAlpha) {
    // BC2: alpha nibble p for pixel p; the colour half stays in four-colour
    // mode even with c0 <= c1.
    Bytes bc2(16, 0);
    for (int p = 0; p < 16; ++p) bc2[static_cast<std::size_t>(p / 2)] |= static_cast<std::uint8_t>(p << ((p % 2) * 4));
    const Bytes colour = bc1Block(kBlue565, kRed565, {3, 3, 3, 3, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2});
    std::copy(colour.begin(), colour.end(), bc2.begin() + 8);
    const auto b2 = decodeBc2Block(std::span<const std::uint8_t, 16>(bc2.data(), 16));
    for (int p = 0; p < 16; ++p) EXPECT_EQ(b2[static_cast<std::size_t>(p * 4 + 3)], p * 17) << p;
    EXPECT_EQ(px(b2, 0), (Rgba{170, 0, 85, 0}));  // index 3 = (c0 + 2 c1) / 3, not transparent
    EXPECT_EQ(px(b2, 4), (Rgba{0, 0, 255, 68}));

    // BC3, eight-value mode (a0 > a1): indices 0..7 then again.
    auto bc3Of = [&](std::uint8_t a0, std::uint8_t a1) {
        Bytes b(16, 0);
        b[0] = a0;
        b[1] = a1;
        std::uint64_t bits = 0;
        for (int p = 0; p < 16; ++p) bits |= static_cast<std::uint64_t>(p % 8) << (3 * p);
        for (int i = 0; i < 6; ++i) b[static_cast<std::size_t>(2 + i)] = static_cast<std::uint8_t>(bits >> (8 * i));
        const Bytes c = bc1Block(kRed565, kBlue565, {});
        std::copy(c.begin(), c.end(), b.begin() + 8);
        return decodeBc3Block(std::span<const std::uint8_t, 16>(b.data(), 16));
    };
    const auto eight = bc3Of(255, 0);
    const int expectedEight[8] = {255, 0, 219, 182, 146, 109, 73, 36};
    for (int p = 0; p < 16; ++p) EXPECT_EQ(eight[static_cast<std::size_t>(p * 4 + 3)], expectedEight[p % 8]) << p;
    EXPECT_EQ(px(eight, 0), (Rgba{255, 0, 0, 255}));
    const auto six = bc3Of(0, 255);  // a0 <= a1: four steps, then 0 and 255
    const int expectedSix[8] = {0, 255, 51, 102, 153, 204, 0, 255};
    for (int p = 0; p < 8; ++p) EXPECT_EQ(six[static_cast<std::size_t>(p * 4 + 3)], expectedSix[p]) << p;
}

TEST(DdsDecode, UncompressedMaskedFormats) {
    struct Case {
        const char* what;
        DdsHeader header;
        Bytes pixel;  // one pixel's bytes
        Rgba expected;
    };
    auto header = [](std::uint32_t flags, std::uint32_t bits, std::uint32_t r, std::uint32_t g, std::uint32_t b,
                     std::uint32_t a) {
        DdsHeader h;
        h.width = 1;
        h.height = 1;
        h.pfFlags = flags;
        h.bits = bits;
        h.r = r;
        h.g = g;
        h.b = b;
        h.a = a;
        return h;
    };
    const Case cases[] = {
        {"RGBA", header(0x41, 32, 0xFF, 0xFF00, 0xFF0000, 0xFF000000u), {10, 20, 30, 40}, {10, 20, 30, 40}},
        {"BGRA", header(0x41, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000u), {10, 20, 30, 40}, {30, 20, 10, 40}},
        {"BGRX", header(0x40, 32, 0xFF0000, 0xFF00, 0xFF, 0), {10, 20, 30, 40}, {30, 20, 10, 255}},
        {"alpha mask without flag", header(0x40, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000u), {1, 2, 3, 4}, {3, 2, 1, 255}},
        {"BGR 24", header(0x40, 24, 0xFF0000, 0xFF00, 0xFF, 0), {10, 20, 30}, {30, 20, 10, 255}},
        {"RGB 24", header(0x40, 24, 0xFF, 0xFF00, 0xFF0000, 0), {10, 20, 30}, {10, 20, 30, 255}},
        {"R5G6B5", header(0x40, 16, 0xF800, 0x07E0, 0x001F, 0), {0x1F, 0xF8}, {255, 0, 255, 255}},
        {"A1R5G5B5", header(0x41, 16, 0x7C00, 0x03E0, 0x001F, 0x8000), {0x00, 0xFC}, {255, 0, 0, 255}},
        {"L8", header(0x20000, 8, 0xFF, 0, 0, 0), {77}, {77, 77, 77, 255}},
        {"A8L8", header(0x20001, 16, 0xFF, 0, 0, 0xFF00), {77, 9}, {77, 77, 77, 9}},
        {"A8", header(0x2, 8, 0, 0, 0, 0xFF), {99}, {0, 0, 0, 99}},
    };
    for (const Case& c : cases) {
        const ImageResult result = decodeDds(makeDds(c.header, c.pixel));
        ASSERT_TRUE(result) << c.what << ": " << result.error;
        EXPECT_EQ(result.image->format, PixelFormat::Rgba8) << c.what;
        EXPECT_EQ(pixelAt(result.image->level(0, 0), 0, 0), c.expected) << c.what;
    }

    // The extended header names its format instead of masks.
    DdsHeader dx10 = header(0x4, 0, 0, 0, 0, 0);
    dx10.width = 2;
    dx10.fourCc = testing::fourCc("DX10");
    Bytes ext(20, 0);
    testing::put32(ext, 0, 87);  // B8G8R8A8
    testing::put32(ext, 4, 3);   // 2D
    testing::put32(ext, 12, 1);  // one element
    const ImageResult extended = decodeDds(makeDds(dx10, testing::concat({ext, {1, 2, 3, 4, 5, 6, 7, 8}})));
    ASSERT_TRUE(extended) << extended.error;
    EXPECT_EQ(pixelAt(extended.image->level(0, 0), 1, 0), (Rgba{7, 6, 5, 8}));
}

TEST(DdsDecode, RowsStayTopFirstAndMipChainsAreRead) {
    DdsHeader h;
    h.width = 4;
    h.height = 2;
    h.mipCount = 3;  // 4x2, 2x1, 1x1
    Bytes data;
    for (int i = 0; i < 8; ++i) data.insert(data.end(), {static_cast<std::uint8_t>(i), 0, 0, 255});
    data.insert(data.end(), {100, 0, 0, 255, 101, 0, 0, 255});
    data.insert(data.end(), {200, 0, 0, 255});
    const ImageResult result = decodeDds(makeDds(h, data));
    ASSERT_TRUE(result) << result.error;
    const DecodedImage& image = *result.image;
    EXPECT_EQ(image.fileFormat, ImageFileFormat::Dds);
    ASSERT_EQ(image.mipLevels, 3);
    EXPECT_EQ(pixelAt(image.level(0, 0), 0, 0)[0], 0);  // first stored row is the top row
    EXPECT_EQ(pixelAt(image.level(0, 0), 3, 1)[0], 7);
    EXPECT_EQ(image.level(0, 1).width, 2);
    EXPECT_EQ(image.level(0, 1).height, 1);
    EXPECT_EQ(pixelAt(image.level(0, 1), 1, 0)[0], 101);
    EXPECT_EQ(pixelAt(image.level(0, 2), 0, 0)[0], 200);
}

TEST(DdsDecode, BlockFormatsCubeMapsAndPartialBlocks) {
    // 8x4 BC1: two blocks side by side, red and blue.
    const Bytes red = bc1Block(kRed565, kBlue565, {});
    const Bytes blue = bc1Block(kRed565, kBlue565, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1});
    const ImageResult two = decodeDds(makeDds(blockHeader("DXT1", 8, 4), testing::concat({red, blue})));
    ASSERT_TRUE(two) << two.error;
    EXPECT_EQ(two.image->format, PixelFormat::Bc1);
    EXPECT_EQ(two.image->level(0, 0).bytes.size(), 16u);
    const ImageResult expanded = decompressToRgba8(*two.image);
    ASSERT_TRUE(expanded);
    EXPECT_EQ(pixelAt(expanded.image->level(0, 0), 3, 3), (Rgba{255, 0, 0, 255}));
    EXPECT_EQ(pixelAt(expanded.image->level(0, 0), 4, 0), (Rgba{0, 0, 255, 255}));

    // 5x3 needs 2x1 blocks; pixels outside the image are dropped.
    const ImageResult odd = decodeDds(makeDds(blockHeader("DXT1", 5, 3), testing::concat({red, blue})));
    ASSERT_TRUE(odd) << odd.error;
    const ImageResult oddRgba = decompressToRgba8(*odd.image);
    ASSERT_TRUE(oddRgba);
    EXPECT_EQ(oddRgba.image->level(0, 0).bytes.size(), 5u * 3u * 4u);
    EXPECT_EQ(pixelAt(oddRgba.image->level(0, 0), 4, 2), (Rgba{0, 0, 255, 255}));

    // DXT3 and DXT5 sizes: 16 bytes a block.
    EXPECT_TRUE(decodeDds(makeDds(blockHeader("DXT3", 4, 4), Bytes(16, 0))));
    EXPECT_TRUE(decodeDds(makeDds(blockHeader("DXT5", 4, 4), Bytes(16, 0))));
    EXPECT_FALSE(decodeDds(makeDds(blockHeader("DXT5", 4, 4), Bytes(8, 0))));

    // A BC1 cube with two levels a face: face i is colour-indexed by i.
    DdsHeader cube = blockHeader("DXT1", 4, 4);
    cube.caps2 = testing::kDdsCubeAllFaces;
    cube.mipCount = 3;
    Bytes faces;
    for (int face = 0; face < 6; ++face)
        for (int mip = 0; mip < 3; ++mip) {
            const auto c0 = static_cast<std::uint16_t>(face << 11);
            faces = testing::concat({faces, bc1Block(c0, 0, {})});
        }
    const ImageResult cubeResult = decodeDds(makeDds(cube, faces));
    ASSERT_TRUE(cubeResult) << cubeResult.error;
    ASSERT_TRUE(cubeResult.image->isCube());
    const ImageResult cubeRgba = decompressToRgba8(*cubeResult.image);
    ASSERT_TRUE(cubeRgba);
    for (int face = 0; face < 6; ++face) {
        const int red5 = face;
        EXPECT_EQ(pixelAt(cubeRgba.image->level(face, 0), 0, 0)[0], (red5 << 3) | (red5 >> 2)) << face;
        EXPECT_EQ(cubeRgba.image->level(face, 2).width, 1);
    }
}

TEST(DdsEncode, RgbaAndCubeRoundTrips) {
    DecodedImage image = testing::makeRgbaImage(3, 2, 1, [](int, int x, int y) {
        return Rgba{static_cast<std::uint8_t>(x * 50), static_cast<std::uint8_t>(y * 90), 7, static_cast<std::uint8_t>(x + y)};
    });
    // With a mip chain.
    image.mipLevels = 2;
    ImageLevel second;
    second.width = 1;
    second.height = 1;
    second.bytes = {1, 2, 3, 4};
    image.levels.push_back(second);
    const Bytes file = encodeDds(image);
    ASSERT_FALSE(file.empty());
    const ImageResult back = decodeDds(file);
    ASSERT_TRUE(back) << back.error;
    EXPECT_EQ(back.image->mipLevels, 2);
    EXPECT_EQ(back.image->level(0, 0).bytes, image.level(0, 0).bytes);
    EXPECT_EQ(back.image->level(0, 1).bytes, second.bytes);

    const DecodedImage cube = testing::makeRgbaImage(2, 2, 6, [](int face, int x, int y) {
        return Rgba{static_cast<std::uint8_t>(face * 40), static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 255};
    });
    const ImageResult cubeBack = decodeDds(encodeDds(cube));
    ASSERT_TRUE(cubeBack) << cubeBack.error;
    ASSERT_TRUE(cubeBack.image->isCube());
    for (int face = 0; face < 6; ++face) EXPECT_EQ(cubeBack.image->level(face, 0).bytes, cube.level(face, 0).bytes);

    // A compressed record is written expanded.
    const ImageResult bc = decodeDds(makeDds(blockHeader("DXT1", 4, 4), bc1Block(kRed565, 0, {})));
    ASSERT_TRUE(bc);
    const ImageResult bcBack = decodeDds(encodeDds(*bc.image));
    ASSERT_TRUE(bcBack);
    EXPECT_EQ(bcBack.image->format, PixelFormat::Rgba8);
    EXPECT_EQ(pixelAt(bcBack.image->level(0, 0), 2, 2), (Rgba{255, 0, 0, 255}));

    DecodedImage broken = image;
    broken.levels.pop_back();
    EXPECT_TRUE(encodeDds(broken).empty());
}

TEST(DdsDamage, LyingHeadersGiveErrors) {
    const Bytes good = makeDds(DdsHeader{}, Bytes(64, 0x55));
    ASSERT_TRUE(decodeDds(good));
    for (std::size_t length = 0; length < good.size(); ++length) {
        const ImageResult cut = decodeDds(std::span<const std::uint8_t>(good.data(), length));
        EXPECT_FALSE(cut) << length;
        EXPECT_FALSE(cut.error.empty()) << length;
    }
    auto withHeader = [](auto change, Bytes data = Bytes(64, 0)) {
        DdsHeader h;
        change(h);
        return decodeDds(makeDds(h, data));
    };
    EXPECT_FALSE(withHeader([](DdsHeader& h) { h.width = 0; }));
    EXPECT_FALSE(withHeader([](DdsHeader& h) { h.height = 0; }));
    EXPECT_FALSE(withHeader([](DdsHeader& h) { h.width = 16385; }));
    EXPECT_FALSE(withHeader([](DdsHeader& h) { h.width = h.height = 0xFFFFFFFFu; }));
    EXPECT_FALSE(withHeader([](DdsHeader& h) { h.width = h.height = 16384; }));  // 1 GiB claimed, 64 bytes given
    EXPECT_FALSE(withHeader([](DdsHeader& h) { h.mipCount = 4; }));  // 4x4 has three levels
    EXPECT_FALSE(withHeader([](DdsHeader& h) { h.mipCount = 0xFFFFFFFFu; }));
    EXPECT_FALSE(withHeader([](DdsHeader& h) { h.mipCount = 3; }));  // chain claimed, top level only present
    EXPECT_FALSE(withHeader([](DdsHeader& h) { h.caps2 = 0x200 | 0x400; }));  // one face of a cube
    EXPECT_FALSE(withHeader([](DdsHeader& h) { h.caps2 = testing::kDdsCubeAllFaces; }));  // faces missing
    EXPECT_FALSE(withHeader([](DdsHeader& h) { h.caps2 = 0x200000; }));  // volume
    EXPECT_FALSE(withHeader([](DdsHeader& h) { h.bits = 0; }));
    EXPECT_FALSE(withHeader([](DdsHeader& h) { h.bits = 7; }));
    EXPECT_FALSE(withHeader([](DdsHeader& h) { h.bits = 16; }));  // masks wider than the pixel
    EXPECT_FALSE(withHeader([](DdsHeader& h) { h.r = h.g = h.b = 0; }));
    EXPECT_FALSE(withHeader([](DdsHeader& h) { h.pfFlags = 0; }));
    EXPECT_FALSE(withHeader([](DdsHeader& h) { h = blockHeader("ATI2", 4, 4); }));
    DdsHeader rect;
    rect.width = 4;
    rect.height = 2;
    rect.caps2 = testing::kDdsCubeAllFaces;
    EXPECT_FALSE(decodeDds(makeDds(rect, Bytes(6 * 32, 0))));  // cube faces must be square
    Bytes badMagic = good;
    badMagic[0] = 'X';
    EXPECT_FALSE(decodeDds(badMagic));
    Bytes badSize = good;
    testing::put32(badSize, 4, 100);
    EXPECT_FALSE(decodeDds(badSize));
    // Extended header: cut off, texture arrays, unknown formats.
    DdsHeader dx10 = blockHeader("DX10", 4, 4);
    Bytes ext(20, 0);
    testing::put32(ext, 0, 28);
    testing::put32(ext, 4, 3);
    testing::put32(ext, 12, 1);
    EXPECT_TRUE(decodeDds(makeDds(dx10, testing::concat({ext, Bytes(64, 0)}))));
    EXPECT_FALSE(decodeDds(makeDds(dx10, Bytes(10, 0))));
    testing::put32(ext, 12, 2);
    EXPECT_FALSE(decodeDds(makeDds(dx10, testing::concat({ext, Bytes(128, 0)}))));
    testing::put32(ext, 12, 1);
    testing::put32(ext, 0, 2);  // R32G32B32A32_FLOAT
    EXPECT_FALSE(decodeDds(makeDds(dx10, testing::concat({ext, Bytes(256, 0)}))));
}

// Seeded flips and cuts of valid files: decoding must never read past the
// data nor produce more pixels than the bytes can carry.
TEST(DdsDamage, RandomisedFlipsAndTruncations) {
    DdsHeader mips;
    mips.width = 8;
    mips.height = 4;
    mips.mipCount = 4;
    DdsHeader bcCube = blockHeader("DXT5", 8, 8);
    bcCube.caps2 = testing::kDdsCubeAllFaces;
    bcCube.mipCount = 2;
    DdsHeader l8;
    l8.pfFlags = 0x20000;
    l8.bits = 8;
    l8.r = 0xFF;
    l8.g = l8.b = l8.a = 0;
    const Bytes samples[] = {
        makeDds(mips, Bytes(4 * (32 + 8 + 2 + 1), 0x3C)),
        makeDds(bcCube, Bytes(6 * (64 + 16), 0xA5)),
        makeDds(l8, Bytes(16, 9)),
    };
    std::mt19937 random(20261208);
    int decoded = 0;
    for (const Bytes& sample : samples) {
        ASSERT_TRUE(decodeDds(sample));
        for (int trial = 0; trial < 3000; ++trial) {
            Bytes damaged = sample;
            const int flips = 1 + static_cast<int>(random() % 6);
            for (int i = 0; i < flips; ++i) {
                // Mostly the header: that is where lies do harm.
                const std::size_t at = random() % 4 ? random() % 148 % damaged.size() : random() % damaged.size();
                damaged[at] = static_cast<std::uint8_t>(random());
            }
            if (random() % 3 == 0) damaged.resize(random() % (damaged.size() + 1));
            const ImageResult result = decodeDds(damaged);
            if (!result) {
                EXPECT_FALSE(result.error.empty());
                continue;
            }
            ++decoded;
            ASSERT_TRUE(isWellFormed(*result.image));
            std::size_t produced = 0;
            for (const ImageLevel& level : result.image->levels) produced += level.bytes.size();
            // At most 4 output bytes for each stored byte (8-bit luminance).
            EXPECT_LE(produced, damaged.size() * 4);
        }
    }
    EXPECT_GT(decoded, 0);
}

}  // namespace
}  // namespace morvanex
