#include "render/texture_image.h"

#include <epoxy/gl.h>
#include <gtest/gtest.h>
#include <stb/stb_image_write.h>

#include <fstream>
#include <sstream>
#include <unistd.h>

#include "base/trace_log.h"
#include "gl_fixture.h"
#include "image/dds_codec.h"
#include "image/image_codec.h"
#include "image/image_files.h"
#include "image/image_test_files.h"
#include "render/texture_loading.h"
#include "scene/scene_texture.h"

namespace morvanex {
namespace {

using testing::Bytes;
using testing::Rgba;
using testing::pixelAt;

class TextureGl : public testing::GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        folder_ = std::filesystem::temp_directory_path() / ("morvanex-textures-" + std::to_string(::getpid()));
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_ / "UI");
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    static void write(const std::filesystem::path& path, const Bytes& bytes) { ASSERT_TRUE(writeImageFile(path, bytes)); }
    std::string traceText() const {
        std::ifstream in(folder_ / "trace.txt", std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::filesystem::path folder_;
};

DecodedImage gradient(int width, int height, int faces = 1) {
    return testing::makeRgbaImage(width, height, faces, [](int face, int x, int y) {
        return Rgba{static_cast<std::uint8_t>(x * 60), static_cast<std::uint8_t>(y * 60), static_cast<std::uint8_t>(face * 40), 200};
    });
}

Bytes pngOf(const DecodedImage& image) {
    Bytes out;
    stbi_write_png_to_func(
        [](void* context, void* data, int size) {
            auto* bytes = static_cast<std::uint8_t*>(data);
            static_cast<Bytes*>(context)->insert(static_cast<Bytes*>(context)->end(), bytes, bytes + size);
        },
        &out, image.width, image.height, 4, image.level(0, 0).bytes.data(), image.width * 4);
    return out;
}

TEST_F(TextureGl, UploadsReadBackAndSaves) {
    // RGBA with a generated chain, top row first.
    TextureLoadOptions full;
    full.mipLevels = 0;
    full.filteredMips = true;
    TextureResult rgba = createTextureImage(gradient(4, 4), "g.png", full);
    ASSERT_TRUE(rgba) << rgba.error;
    EXPECT_EQ(rgba.image->target, static_cast<unsigned>(GL_TEXTURE_2D));
    EXPECT_EQ(rgba.image->mipLevels, 3);
    ImageResult back = readTexture(rgba.image->texture, GL_TEXTURE_2D, 3);
    ASSERT_TRUE(back) << back.error;
    EXPECT_EQ(back.image->level(0, 0).bytes, gradient(4, 4).level(0, 0).bytes);
    EXPECT_EQ(pixelAt(back.image->level(0, 2), 0, 0), (Rgba{90, 90, 0, 200}));

    // BC1 on the card compressed when the driver can, expanded otherwise:
    // both read back the same pixels.
    const Bytes bc1 = testing::makeDds(testing::blockHeader("DXT1", 4, 4),
                                       testing::bc1Block(0xF800, 0x001F, {0, 1, 2, 3, 3, 2, 1, 0, 0, 0, 0, 0, 1, 1, 1, 1}));
    TextureResult packed = loadTextureMemory("b.dds", bc1);
    ASSERT_TRUE(packed) << packed.error;
    EXPECT_EQ(packed.image->compressed, driverHasS3tc());
    EXPECT_EQ(packed.image->fileSize, static_cast<std::int32_t>(bc1.size()));
    EXPECT_EQ(packed.image->imageInfo.format, PixelFormat::Bc1);
    TextureLoadOptions cpu;
    cpu.allowCompressedUpload = false;
    TextureResult expanded = loadTextureMemory("b.dds", bc1, cpu);
    ASSERT_TRUE(expanded) << expanded.error;
    EXPECT_FALSE(expanded.image->compressed);
    const ImageResult a = readTexture(packed.image->texture, GL_TEXTURE_2D);
    const ImageResult b = readTexture(expanded.image->texture, GL_TEXTURE_2D);
    ASSERT_TRUE(a && b);
    // Decoders may round the interpolated thirds either way.
    ASSERT_EQ(a.image->level(0, 0).bytes.size(), b.image->level(0, 0).bytes.size());
    for (std::size_t i = 0; i < a.image->level(0, 0).bytes.size(); ++i)
        EXPECT_NEAR(a.image->level(0, 0).bytes[i], b.image->level(0, 0).bytes[i], 1) << i;
    EXPECT_EQ(pixelAt(b.image->level(0, 0), 2, 0), (Rgba{170, 0, 85, 255}));

    // A cube keeps its faces in order.
    TextureResult cube = loadTextureMemory("c.dds", encodeDds(gradient(2, 2, 6)));
    ASSERT_TRUE(cube) << cube.error;
    EXPECT_TRUE(cube.image->isCube());
    EXPECT_EQ(cube.image->imageInfo.miscFlags, ImageInfo::kMiscTextureCube);
    const ImageResult faces = readTexture(cube.image->texture, GL_TEXTURE_CUBE_MAP);
    ASSERT_TRUE(faces) << faces.error;
    for (int face = 0; face < 6; ++face) EXPECT_EQ(pixelAt(faces.image->level(face, 0), 1, 1), (Rgba{60, 60, static_cast<std::uint8_t>(face * 40), 200}));

    // Normal map of a flat image.
    TextureResult flat = createTextureImage(testing::makeRgbaImage(2, 2, 1, [](int, int, int) { return Rgba{9, 9, 9, 9}; }), "f");
    ASSERT_TRUE(flat);
    ASSERT_TRUE(flat.image->makeNormalMap());
    const ImageResult normals = readTexture(flat.image->normalTexture, GL_TEXTURE_2D);
    ASSERT_TRUE(normals);
    EXPECT_EQ(pixelAt(normals.image->level(0, 0), 1, 0), (Rgba{128, 128, 255, 255}));
    EXPECT_FALSE(cube.image->makeNormalMap());

    // Saves: BMP of a 2D level, DDS of a cube with its levels.
    ASSERT_TRUE(saveTextureBmp(rgba.image->texture, folder_ / "shot.bmp"));
    TextureResult shot = loadTextureFile(folder_ / "shot.bmp");
    ASSERT_TRUE(shot) << shot.error;
    EXPECT_EQ(shot.image->name, "shot.bmp");
    EXPECT_EQ(readTexture(shot.image->texture, GL_TEXTURE_2D).image->level(0, 0).bytes[4], 60);
    ASSERT_TRUE(saveEnvironmentCube(cube.image->texture, 1, folder_, "Boule"));
    TextureResult cubeAgain = loadEnvironmentCube(folder_ / "Boule_Cube.dds");
    ASSERT_TRUE(cubeAgain) << cubeAgain.error;
    EXPECT_TRUE(cubeAgain.image->isCube());
    EXPECT_EQ(cubeAgain.image->mipLevels, 2);  // 2 x 2 has two levels of the nine asked for
    EXPECT_FALSE(loadEnvironmentCube(folder_ / "shot.bmp"));  // not a cube

    // Bad data makes nothing.
    EXPECT_FALSE(loadTextureMemory("x", Bytes(10, 1)));
    EXPECT_FALSE(loadTextureFile(folder_ / "absent.dds"));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextureGl, SceneInterfaceSequenceAndShadowFiles) {
    const TraceLog trace(folder_ / "trace.txt");
    TextureList list;

    // Embedded scene texture, with its normal map.
    SceneTexture embedded("bois.png");
    embedded.embedded = true;
    embedded.embeddedBytes = pngOf(gradient(3, 2));
    embedded.normalMap = true;
    TextureImage* made = loadSceneTexture(embedded, list, trace);
    ASSERT_NE(made, nullptr) << traceText();
    EXPECT_EQ(made->name, "bois.png");
    EXPECT_EQ(made->listIndex, 0);
    EXPECT_EQ(embedded.gpuTexture, made->texture);
    EXPECT_NE(made->normalTexture, 0u);
    SceneTexture onDisk("sol.bmp");
    write(folder_ / "sol.bmp", encodeBmp24(gradient(2, 2)));
    onDisk.fullPath = (folder_ / "sol.bmp").string();
    ASSERT_NE(loadSceneTexture(onDisk, list, trace), nullptr);
    SceneTexture lost("perdu.jpg");
    lost.fullPath = (folder_ / "perdu.jpg").string();
    EXPECT_EQ(loadSceneTexture(lost, list, trace), nullptr);
    EXPECT_EQ(lost.gpuTexture, 0u);
    EXPECT_EQ(list.size(), 2u);

    // Interface images: a few present, one damaged, the rest missing.
    const Bytes dds = encodeDds(gradient(2, 2));
    write(folder_ / "UI" / "fleche.dds", dds);
    write(folder_ / "UI" / "close1 over.dds", dds);
    write(folder_ / "UI" / "imagecl\xC3\xA9.dds", dds);
    write(folder_ / "UI" / "selection4.dds", dds);
    write(folder_ / "UI" / "white.bmp", encodeBmp24(gradient(2, 2)));
    write(folder_ / "UI" / "ok.dds", Bytes(dds.begin(), dds.begin() + 100));
    const InterfaceImages ui = loadInterfaceImages(folder_, list, trace);
    ASSERT_EQ(ui.slots.size(), interfaceImageNames().size());
    EXPECT_NE(ui.slots[0], nullptr);
    EXPECT_EQ(ui.slots[1], nullptr);
    EXPECT_NE(ui.find("close1 over.dds"), nullptr);
    EXPECT_NE(ui.find("imagecl\xE9.dds"), nullptr);
    EXPECT_NE(ui.find("white.bmp"), nullptr);
    EXPECT_EQ(ui.find("ok.dds"), nullptr);
    EXPECT_EQ(list.size(), 2u + 6u);  // selection4.dds twice: two records
    const std::string log = traceText();
    EXPECT_NE(log.find("CreateTextureFromFile UI\\zoomauto.dds, hr = D3D11_ERROR_FILE_NOT_FOUND\r\n"), std::string::npos);
    EXPECT_NE(log.find("CreateTextureFromFile UI\\ok.dds, hr = E_FAIL\r\n"), std::string::npos);
    EXPECT_EQ(log.find("UI\\fleche.dds"), std::string::npos);

    // A sequence of three frames, the second unreadable, cut off after the third.
    Bytes sequence;
    const Bytes frames[] = {pngOf(gradient(2, 2)), Bytes{1, 2, 3}, dds};
    testing::put32(sequence, 0, 4);
    for (const Bytes& frame : frames) {
        testing::put32(sequence, sequence.size(), static_cast<std::uint32_t>(frame.size()));
        sequence.insert(sequence.end(), frame.begin(), frame.end());
    }
    write(folder_ / "anim.seq", sequence);
    TextureList animation;
    EXPECT_EQ(loadTextureSequence(folder_ / "anim.seq", animation, trace), 2u);
    ASSERT_EQ(animation.size(), 2u);
    EXPECT_EQ(animation[0].name, "a18b_1");
    EXPECT_EQ(animation[1].name, "a18b_3");
    EXPECT_NE(animation[1].normalTexture, 0u);

    // Blurred shadow: nothing when absent; placed on 1920 x 1080 when there.
    TextureResult none = loadBlurredShadowImage(folder_, "Boule");
    EXPECT_FALSE(none);
    EXPECT_TRUE(none.error.empty());
    write(folder_ / "Boule_ombrefloue.dds", dds);
    TextureResult shadow = loadBlurredShadowImage(folder_, "Boule");
    ASSERT_TRUE(shadow) << shadow.error;
    EXPECT_EQ(shadow.image->width, 1920);
    EXPECT_EQ(shadow.image->height, 1080);
    EXPECT_EQ(shadow.image->mipLevels, 3);
    EXPECT_EQ(shadow.image->imageInfo.width, 2);
    const ImageResult shadowPixels = readTexture(shadow.image->texture, GL_TEXTURE_2D);
    ASSERT_TRUE(shadowPixels);
    EXPECT_EQ(pixelAt(shadowPixels.image->level(0, 0), 1, 1), (Rgba{60, 60, 0, 200}));
    EXPECT_EQ(pixelAt(shadowPixels.image->level(0, 0), 5, 5), (Rgba{0, 0, 0, 0}));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
}  // namespace morvanex
