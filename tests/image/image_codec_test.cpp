#include "image/image_codec.h"

#include <gtest/gtest.h>

#include <stb/stb_image_write.h>

#include <cstdlib>
#include <random>

#include "image/dds_codec.h"
#include "image/image_test_files.h"

namespace morvanex {
namespace {

using testing::Bytes;
using testing::Rgba;
using testing::pixelAt;

void appendBytes(void* context, void* data, int size) {
    auto* out = static_cast<Bytes*>(context);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

// 8x8 in four flat quadrants (so that JPEG keeps the colours), with alpha
// varying in the lower half.
DecodedImage quadrants() {
    return testing::makeRgbaImage(8, 8, 1, [](int, int x, int y) {
        const bool right = x >= 4;
        const bool bottom = y >= 4;
        return Rgba{static_cast<std::uint8_t>(right ? 240 : 20), static_cast<std::uint8_t>(bottom ? 200 : 40),
                    static_cast<std::uint8_t>(right == bottom ? 180 : 60), static_cast<std::uint8_t>(bottom ? 128 : 255)};
    });
}

Bytes writeWith(const char* format, const DecodedImage& image) {
    Bytes out;
    const ImageLevel& level = image.level(0, 0);
    const std::string f = format;
    if (f == "png")
        stbi_write_png_to_func(appendBytes, &out, level.width, level.height, 4, level.bytes.data(), level.width * 4);
    else if (f == "tga")
        stbi_write_tga_to_func(appendBytes, &out, level.width, level.height, 4, level.bytes.data());
    else if (f == "jpg")
        stbi_write_jpg_to_func(appendBytes, &out, level.width, level.height, 4, level.bytes.data(), 100);
    return out;
}

TEST(ImageCodec, StbFormatsLoadTopRowFirst) {
    const DecodedImage image = quadrants();
    for (const char* format : {"png", "tga"}) {
        const Bytes file = writeWith(format, image);
        const ImageResult result = decodeImage(file);
        ASSERT_TRUE(result) << format << ": " << result.error;
        EXPECT_EQ(result.image->width, 8);
        EXPECT_EQ(result.image->format, PixelFormat::Rgba8);
        EXPECT_EQ(result.image->level(0, 0).bytes, image.level(0, 0).bytes) << format;
    }
    EXPECT_EQ(decodeImage(writeWith("png", image)).image->fileFormat, ImageFileFormat::Png);
    EXPECT_EQ(decodeImage(writeWith("tga", image)).image->fileFormat, ImageFileFormat::Tga);

    const ImageResult jpg = decodeImage(writeWith("jpg", image));
    ASSERT_TRUE(jpg) << jpg.error;
    EXPECT_EQ(jpg.image->fileFormat, ImageFileFormat::Jpg);
    for (auto [x, y] : {std::pair{1, 1}, std::pair{6, 1}, std::pair{1, 6}, std::pair{6, 6}}) {
        const Rgba got = pixelAt(jpg.image->level(0, 0), x, y);
        const Rgba want = pixelAt(image.level(0, 0), x, y);
        for (int c = 0; c < 3; ++c) EXPECT_NEAR(got[static_cast<std::size_t>(c)], want[static_cast<std::size_t>(c)], 12) << x << "," << y;
        EXPECT_EQ(got[3], 255);  // JPEG has no alpha
    }
}

TEST(ImageCodec, Bmp24SaveLoadRoundTrip) {
    // Width 3: rows need padding to four bytes.
    const DecodedImage image = testing::makeRgbaImage(3, 2, 1, [](int, int x, int y) {
        return Rgba{static_cast<std::uint8_t>(10 + x), static_cast<std::uint8_t>(100 + y), static_cast<std::uint8_t>(200 + x + y), 7};
    });
    const Bytes file = encodeBmp24(image);
    ASSERT_EQ(file.size(), 54u + 2u * 12u);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[28], 24);
    // Bottom row first, blue-green-red.
    EXPECT_EQ(file[54], 200 + 1);
    EXPECT_EQ(file[55], 101);
    EXPECT_EQ(file[56], 10);
    const ImageResult back = decodeImage(file);
    ASSERT_TRUE(back) << back.error;
    EXPECT_EQ(back.image->fileFormat, ImageFileFormat::Bmp);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            Rgba want = pixelAt(image.level(0, 0), x, y);
            want[3] = 255;
            EXPECT_EQ(pixelAt(back.image->level(0, 0), x, y), want) << x << "," << y;
        }
    // DDS files go through the same entry, block formats kept or expanded.
    const Bytes dds = testing::makeDds(testing::blockHeader("DXT1", 4, 4), testing::bc1Block(0xF800, 0, {}));
    EXPECT_EQ(decodeImage(dds).image->format, PixelFormat::Bc1);
    EXPECT_EQ(decodeImageRgba8(dds).image->format, PixelFormat::Rgba8);
    EXPECT_TRUE(encodeBmp24(DecodedImage{}).empty());
}

TEST(ImageCodec, MipChainsAndCanvas) {
    const DecodedImage image = testing::makeRgbaImage(4, 2, 1, [](int, int x, int y) {
        return Rgba{static_cast<std::uint8_t>(x * 40), static_cast<std::uint8_t>(y * 100), 0, 255};
    });
    const ImageResult box = withMipLevels(image, 0, true);
    ASSERT_TRUE(box) << box.error;
    ASSERT_EQ(box.image->mipLevels, 3);
    EXPECT_EQ(pixelAt(box.image->level(0, 1), 0, 0), (Rgba{20, 50, 0, 255}));   // mean of x 0,1 and y 0,1
    EXPECT_EQ(pixelAt(box.image->level(0, 1), 1, 0), (Rgba{100, 50, 0, 255}));
    EXPECT_EQ(pixelAt(box.image->level(0, 2), 0, 0), (Rgba{60, 50, 0, 255}));
    const ImageResult point = withMipLevels(image, 9, false);  // clamped to the full chain
    ASSERT_TRUE(point);
    ASSERT_EQ(point.image->mipLevels, 3);
    EXPECT_EQ(pixelAt(point.image->level(0, 1), 1, 0), (Rgba{80, 0, 0, 255}));
    const ImageResult one = withMipLevels(*box.image, 1, true);
    ASSERT_TRUE(one);
    EXPECT_EQ(one.image->levels.size(), 1u);

    // Block formats stay compressed unless levels must be made.
    testing::DdsHeader h = testing::blockHeader("DXT1", 8, 8);
    h.mipCount = 2;
    const ImageResult bc = decodeDds(testing::makeDds(h, Bytes(32 + 8, 0)));
    ASSERT_TRUE(bc) << bc.error;
    EXPECT_EQ(withMipLevels(*bc.image, 1, true).image->format, PixelFormat::Bc1);
    const ImageResult grown = withMipLevels(*bc.image, 4, true);
    ASSERT_TRUE(grown);
    EXPECT_EQ(grown.image->format, PixelFormat::Rgba8);
    EXPECT_EQ(grown.image->mipLevels, 4);

    const ImageResult canvas = fitToCanvas(image, 3, 4);
    ASSERT_TRUE(canvas) << canvas.error;
    EXPECT_EQ(pixelAt(canvas.image->level(0, 0), 2, 1), (Rgba{80, 100, 0, 255}));
    EXPECT_EQ(pixelAt(canvas.image->level(0, 0), 0, 3), (Rgba{0, 0, 0, 0}));
    EXPECT_FALSE(fitToCanvas(image, 0, 4));
}

Bytes bmpHeader(std::int32_t width, std::int32_t height, std::uint16_t bits) {
    Bytes b(54, 0);
    b[0] = 'B';
    b[1] = 'M';
    testing::put32(b, 10, 54);
    testing::put32(b, 14, 40);
    testing::put32(b, 18, static_cast<std::uint32_t>(width));
    testing::put32(b, 22, static_cast<std::uint32_t>(height));
    b[26] = 1;
    b[28] = static_cast<std::uint8_t>(bits);
    return b;
}

Bytes tgaHeader(std::uint16_t width, std::uint16_t height, std::uint8_t type) {
    Bytes b(18, 0);
    b[2] = type;
    b[12] = static_cast<std::uint8_t>(width);
    b[13] = static_cast<std::uint8_t>(width >> 8);
    b[14] = static_cast<std::uint8_t>(height);
    b[15] = static_cast<std::uint8_t>(height >> 8);
    b[16] = 32;
    return b;
}

TEST(ImageDamage, AbsurdSizesAndCutsGiveErrors) {
    EXPECT_FALSE(decodeImage({}));
    EXPECT_FALSE(decodeImage(Bytes{1, 2, 3, 4, 5}));
    EXPECT_FALSE(decodeImage(Bytes(200, 0xEE)));

    Bytes smallBmp = bmpHeader(2, 2, 24);
    smallBmp.resize(54 + 16, 0x40);
    ASSERT_TRUE(decodeImage(smallBmp));
    Bytes bigBmp = bmpHeader(16000, 16000, 24);  // 768 MB claimed by 70 bytes
    bigBmp.resize(70, 0);
    EXPECT_FALSE(decodeImage(bigBmp));
    EXPECT_FALSE(decodeImage(bmpHeader(20000, 2, 24)));
    EXPECT_FALSE(decodeImage(bmpHeader(0, 2, 24)));
    Bytes cutBmp = smallBmp;
    cutBmp.resize(60);
    EXPECT_FALSE(decodeImage(cutBmp));

    Bytes tga = tgaHeader(2, 2, 2);
    tga.resize(18 + 16, 0x80);
    ASSERT_TRUE(decodeImage(tga));
    Bytes bigTga = tgaHeader(16000, 16000, 2);
    bigTga.resize(40, 0);
    EXPECT_FALSE(decodeImage(bigTga));
    Bytes rleTga = tgaHeader(16000, 16000, 10);  // run-length: still far too short
    rleTga.resize(40, 0xFF);
    EXPECT_FALSE(decodeImage(rleTga));

    const Bytes png = writeWith("png", quadrants());
    Bytes bigPng = png;  // IHDR claims 16384 x 16384
    bigPng[16] = 0; bigPng[17] = 0; bigPng[18] = 0x40; bigPng[19] = 0;
    bigPng[20] = 0; bigPng[21] = 0; bigPng[22] = 0x40; bigPng[23] = 0;
    EXPECT_FALSE(decodeImage(bigPng));
    const Bytes jpg = writeWith("jpg", quadrants());
    for (const Bytes* file : {&png, &jpg}) {
        for (std::size_t length : {std::size_t{8}, std::size_t{30}, file->size() / 2}) {
            Bytes cut(file->begin(), file->begin() + static_cast<std::ptrdiff_t>(length));
            const ImageResult result = decodeImage(cut);
            if (!result) {
                EXPECT_FALSE(result.error.empty());
            }
        }
    }
    Bytes bigJpg = jpg;  // the SOF0 height and width fields
    for (std::size_t i = 2; i + 8 < bigJpg.size(); ++i)
        if (bigJpg[i] == 0xFF && bigJpg[i + 1] == 0xC0) {
            bigJpg[i + 5] = 0x40; bigJpg[i + 6] = 0;
            bigJpg[i + 7] = 0x40; bigJpg[i + 8] = 0;
            break;
        }
    EXPECT_FALSE(decodeImage(bigJpg));

    // A Huffman table declaring more than 256 codes, also behind a start
    // that only looks like JPEG after its first marker.
    Bytes overfull = jpg;
    for (std::size_t i = 2; i + 21 < overfull.size(); ++i)
        if (overfull[i] == 0xFF && overfull[i + 1] == 0xC4) {
            for (std::size_t k = 0; k < 16; ++k) overfull[i + 5 + k] = 0xFF;
            break;
        }
    const ImageResult tables = decodeImage(overfull);
    EXPECT_FALSE(tables);
    EXPECT_NE(tables.error.find("Huffman"), std::string::npos) << tables.error;
    Bytes hidden = overfull;
    hidden[2] = 0x00;
    EXPECT_FALSE(decodeImage(hidden));
}

// Seeded damage of the stb formats: no crash, and what decodes is sane.
TEST(ImageDamage, RandomisedFlipsAndTruncations) {
    const DecodedImage image = quadrants();
    const Bytes samples[] = {writeWith("png", image), writeWith("tga", image), writeWith("jpg", image),
                             encodeBmp24(image)};
    std::mt19937 random(9050702);
    for (const Bytes& sample : samples) {
        ASSERT_TRUE(decodeImage(sample));
        for (int trial = 0; trial < 1500; ++trial) {
            Bytes damaged = sample;
            const int flips = 1 + static_cast<int>(random() % 4);
            for (int i = 0; i < flips; ++i) damaged[random() % damaged.size()] = static_cast<std::uint8_t>(random());
            if (random() % 3 == 0) damaged.resize(random() % (damaged.size() + 1));
            const ImageResult result = decodeImage(damaged);
            if (result) {
                ASSERT_TRUE(isWellFormed(*result.image));
            } else {
                EXPECT_FALSE(result.error.empty());
            }
        }
    }
}

}  // namespace
}  // namespace morvanex
