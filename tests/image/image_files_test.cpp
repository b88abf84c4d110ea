#include "image/image_files.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "image/image_test_files.h"

namespace morvanex {
namespace {

using testing::Bytes;

Bytes sequenceOf(std::initializer_list<Bytes> frames, std::int64_t count = -1) {
    Bytes out;
    testing::put32(out, 0, static_cast<std::uint32_t>(count == -1 ? static_cast<std::int64_t>(frames.size()) : count));
    for (const Bytes& frame : frames) {
        testing::put32(out, out.size(), static_cast<std::uint32_t>(frame.size()));
        out.insert(out.end(), frame.begin(), frame.end());
    }
    return out;
}

TEST(ImageFiles, TextureSequencesSplitIntoFrames) {
    const Bytes file = sequenceOf({Bytes{1, 2, 3}, Bytes{}, Bytes{9}});
    const TextureSequenceFrames all = splitTextureSequence(file);
    EXPECT_TRUE(all.error.empty());
    ASSERT_EQ(all.frames.size(), 3u);
    EXPECT_EQ(Bytes(all.frames[0].begin(), all.frames[0].end()), (Bytes{1, 2, 3}));
    EXPECT_TRUE(all.frames[1].empty());
    EXPECT_EQ(all.frames[2][0], 9);

    Bytes cut = file;
    cut.pop_back();  // the last frame is one byte short
    const TextureSequenceFrames early = splitTextureSequence(cut);
    EXPECT_EQ(early.frames.size(), 2u);
    EXPECT_FALSE(early.error.empty());

    // Counts and lengths that the bytes cannot back.
    EXPECT_TRUE(splitTextureSequence(sequenceOf({Bytes{1}}, 0x7FFFFFFF)).frames.size() == 1);
    EXPECT_FALSE(splitTextureSequence(sequenceOf({}, -3)).error.empty());
    EXPECT_FALSE(splitTextureSequence(Bytes{1, 0}).error.empty());
    Bytes lying = sequenceOf({Bytes{1, 2}});
    testing::put32(lying, 4, 0xFFFFFFF0u);
    EXPECT_TRUE(splitTextureSequence(lying).frames.empty());
    EXPECT_EQ(textureSequenceFrameName(1), "a18b_1");
    EXPECT_EQ(textureSequenceFrameName(12), "a18b_12");
}

TEST(ImageFiles, NamesAndCompanionPaths) {
    EXPECT_EQ(imageBaseName("C:\\prog\\UI\\close1 over.dds"), "close1 over.dds");
    EXPECT_EQ(imageBaseName("scenes/tex/bois.jpg"), "bois.jpg");
    EXPECT_EQ(imageBaseName("plain.bmp"), "plain.bmp");
    const std::filesystem::path folder = "/tmp/scene folder";
    EXPECT_EQ(environmentCubePath(folder, "Boule"), folder / "Boule_Cube.dds");
    EXPECT_EQ(blurredShadowPath(folder, "Boule"), folder / "Boule_ombrefloue.dds");
    EXPECT_EQ(environmentCubePath(folder, "Th\xE9i\xE8re").filename().string(), "Th\xC3\xA9i\xC3\xA8re_Cube.dds");
    // Object names come from scene files: they never lead out of the folder.
    EXPECT_EQ(environmentCubePath(folder, "../../etc/passwd"), folder / "passwd_Cube.dds");
    EXPECT_EQ(blurredShadowPath(folder, "..\\x"), folder / "x_ombrefloue.dds");

    const auto names = interfaceImageNames();
    ASSERT_EQ(names.size(), 101u);
    EXPECT_EQ(names.front(), "fleche.dds");
    EXPECT_EQ(names.back(), "selectionmulti.dds");
    EXPECT_EQ(names[14], "white.bmp");
    EXPECT_EQ(std::count(names.begin(), names.end(), "selection4.dds"), 2);
    EXPECT_EQ(std::count(names.begin(), names.end(), "close1 over.dds"), 1);
    EXPECT_EQ(std::count(names.begin(), names.end(), "cadre5.dds"), 1);
    EXPECT_EQ(std::count(names.begin(), names.end(), "groupe3c.dds"), 1);
    EXPECT_EQ(std::count(names.begin(), names.end(), "imagecl\xE9.dds"), 1);
    EXPECT_EQ(interfaceImagePath("/opt/m", "imagecl\xE9.dds"), std::filesystem::path("/opt/m/UI/imagecl\xC3\xA9.dds"));
    EXPECT_EQ(interfaceImagePath("/opt/m", "close1 over.dds").filename().string(), "close1 over.dds");
}

}  // namespace
}  // namespace morvanex
