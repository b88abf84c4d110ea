#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "image/image_codec.h"
#include "image/image_files.h"
#include "resources/resource_set.h"
#include "tools_test_support.h"

namespace morvanex::resources {
namespace {

using morvanex::testing::fileBytes;
using morvanex::testing::fonts;

class ResourceGeneratorTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("morvanex_resources_" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    std::filesystem::path folder_;
};

TEST_F(ResourceGeneratorTest, ListMatchesTheBuildOutputs) {
    std::ifstream list(MORVANEX_RESOURCE_LIST_FILE);
    ASSERT_TRUE(list) << MORVANEX_RESOURCE_LIST_FILE;
    std::vector<std::string> expected;
    for (std::string line; std::getline(list, line);)
        if (!line.empty()) expected.push_back(line);
    std::vector<std::string> actual;
    for (const ResourceFile& file : resourceFiles()) actual.push_back(file.path);
    EXPECT_EQ(actual, expected);
}

TEST_F(ResourceGeneratorTest, WritesEveryFileInAReadableForm) {
    std::string why;
    ASSERT_TRUE(writeResources(fonts(), folder_, &why)) << why;
    for (const ResourceFile& file : resourceFiles()) {
        const std::vector<std::uint8_t> bytes = fileBytes(folder_ / file.path);
        ASSERT_FALSE(bytes.empty()) << file.path;
        if (file.path.ends_with(".uvs")) {
            EXPECT_EQ(bytes.size(), 2048u) << file.path;
            continue;
        }
        const ImageResult image = decodeImage(bytes);
        EXPECT_TRUE(image) << file.path << ": " << image.error;
    }
    // Every image the program loads at start is there, where its loader
    // looks ("close1 over.dds" with its space, "imageclé.dds" accented).
    for (std::string_view name : interfaceImageNames())
        EXPECT_TRUE(std::filesystem::is_regular_file(interfaceImagePath(folder_, name))) << name;
}

TEST_F(ResourceGeneratorTest, AMissingDrawingIsReportedByName) {
    ResourceContext context = fonts();
    context.iconFolder = folder_ / "nowhere";
    std::string why;
    EXPECT_FALSE(writeResources(context, folder_, &why));
    EXPECT_NE(why.find(".svg"), std::string::npos) << why;
}

TEST_F(ResourceGeneratorTest, FontFilesAgreeWithEachOther) {
    std::string why;
    ASSERT_TRUE(writeResources(fonts(), folder_, &why)) << why;
    struct Pair {
        const char* image;
        const char* metrics;
        const FontAtlas* atlas;
    };
    for (const Pair& pair : {Pair{"shaders/font.dds", "shaders/Font.uvs", &fonts().regular},
                             Pair{"shaders/fontbold.dds", "shaders/Fontbold.uvs", &fonts().bold}}) {
        const auto metrics = decodeFontMetrics(fileBytes(folder_ / pair.metrics));
        ASSERT_TRUE(metrics.has_value()) << pair.metrics;
        const ImageResult image = decodeImage(fileBytes(folder_ / pair.image));
        ASSERT_TRUE(image) << image.error;
        ASSERT_EQ(image.image->width, 1000);
        ASSERT_EQ(image.image->height, 20);
        const auto& bytes = image.image->levels[0].bytes;
        float total = 0.0f;
        for (int b = 0; b < 256; ++b) {
            const GlyphMetrics& g = (*metrics)[static_cast<std::size_t>(b)];
            total += g.width;
            if (g.width == 0.0f || b == ' ' || b == 0xA0) continue;
            int alpha = 0;
            for (int y = 0; y < 20; ++y)
                for (int x = static_cast<int>(g.left); x < static_cast<int>(g.left + g.width); ++x)
                    alpha = std::max(alpha, int{bytes[static_cast<std::size_t>((y * 1000 + x) * 4 + 3)]});
            EXPECT_GT(alpha, 128) << pair.image << " byte " << b;
        }
        EXPECT_LE(total, 1000.0f);
        EXPECT_EQ((*metrics)['\n'].width, 0.0f);
    }
    EXPECT_NE(fileBytes(folder_ / "shaders/Font.uvs"), fileBytes(folder_ / "shaders/Fontbold.uvs"));
}

TEST_F(ResourceGeneratorTest, UnreadableFontIsReported) {
    std::string why;
    EXPECT_FALSE(loadResourceContext(folder_ / "missing.ttf", MORVANEX_FONT_BOLD_FILE, MORVANEX_ICON_FOLDER, &why).has_value());
    EXPECT_NE(why.find("missing.ttf"), std::string::npos);
    const std::vector<std::uint8_t> junk(64, 0x41);
    EXPECT_FALSE(buildFontAtlas(junk, &why).has_value());
}

}  // namespace
}  // namespace morvanex::resources
