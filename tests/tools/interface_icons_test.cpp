#include <gtest/gtest.h>

#include <set>
#include <string>

#include "image/dds_codec.h"
#include "image/image_codec.h"
#include "resources/interface_icons.h"
#include "resources/svg_raster.h"

namespace morvanex::resources {
namespace {

const std::filesystem::path kFolder = MORVANEX_ICON_FOLDER;

std::vector<std::uint8_t> pixels(const InterfaceIcon& icon) {
    const ImageResult image = drawInterfaceIcon(icon, kFolder);
    EXPECT_TRUE(image) << image.error;
    return image ? image.image->levels[0].bytes : std::vector<std::uint8_t>{};
}

TEST(InterfaceIconsTest, EveryDrawingDecodesAtItsSizeAndShowsSomething) {
    for (const InterfaceIcon& icon : interfaceIcons()) {
        const ImageResult drawn = drawInterfaceIcon(icon, kFolder);
        ASSERT_TRUE(drawn) << drawn.error;
        const std::vector<std::uint8_t> file =
            icon.file.ends_with(".bmp") ? encodeBmp24(*drawn.image) : encodeDds(*drawn.image);
        const ImageResult decoded = decodeImageRgba8(file);
        ASSERT_TRUE(decoded) << icon.file << ": " << decoded.error;
        EXPECT_EQ(decoded.image->width, icon.width) << icon.file;
        EXPECT_EQ(decoded.image->height, icon.height) << icon.file;
        int painted = 0;
        const std::vector<std::uint8_t>& bytes = decoded.image->levels[0].bytes;
        for (std::size_t i = 3; i < bytes.size(); i += 4) painted += bytes[i] > 0;
        EXPECT_GT(painted, icon.width * icon.height / 20) << icon.file << " is nearly empty";
    }
}

TEST(InterfaceIconsTest, HoverImagesDifferFromTheirButtons) {
    int hovers = 0;
    for (const InterfaceIcon& hover : interfaceIcons()) {
        if (hover.treatment != IconTreatment::Hover) continue;
        ++hovers;
        const InterfaceIcon* base = nullptr;
        for (const InterfaceIcon& icon : interfaceIcons())
            if (icon.source == hover.source && icon.treatment == IconTreatment::None) base = &icon;
        ASSERT_NE(base, nullptr) << hover.file << " has no plain button";
        const std::vector<std::uint8_t> a = pixels(*base), b = pixels(hover);
        ASSERT_EQ(a.size(), b.size());
        std::size_t changed = 0;
        for (std::size_t i = 0; i < a.size(); i += 4) changed += a[i] != b[i] || a[i + 1] != b[i + 1] || a[i + 2] != b[i + 2];
        EXPECT_GT(changed, a.size() / 4 / 4) << hover.file << " hardly differs from " << base->file;
    }
    EXPECT_GT(hovers, 0);
}

TEST(InterfaceIconsTest, NamesAreUniqueAndEveryDrawingIsUsed) {
    std::set<std::string> files, sources;
    for (const InterfaceIcon& icon : interfaceIcons()) {
        EXPECT_TRUE(files.insert(std::string(icon.file)).second) << icon.file;
        sources.insert(std::string(icon.source));
    }
    for (const auto& entry : std::filesystem::directory_iterator(kFolder)) {
        if (entry.path().extension() != ".svg") continue;
        EXPECT_TRUE(sources.count(entry.path().filename().string())) << entry.path() << " is drawn for nothing";
    }
}

TEST(InterfaceIconsTest, RasteriserKeepsStraightAlphaAndRefusesOtherSizes) {
    const std::string half = R"(<svg xmlns="http://www.w3.org/2000/svg" width="4" height="2">
        <rect width="2" height="2" fill="#ff8000" fill-opacity="0.5"/></svg>)";
    const ImageResult image = rasteriseSvg(half, 4, 2);
    ASSERT_TRUE(image) << image.error;
    const std::vector<std::uint8_t>& px = image.image->levels[0].bytes;
    EXPECT_NEAR(px[0], 255, 1);
    EXPECT_NEAR(px[1], 128, 2);
    EXPECT_EQ(px[2], 0);
    EXPECT_NEAR(px[3], 128, 1);
    EXPECT_EQ(px[4 * 3 + 3], 0) << "outside the rectangle nothing";

    const ImageResult resized = rasteriseSvg(half, 8, 4);
    EXPECT_FALSE(resized);
    EXPECT_NE(resized.error.find("4 x 2"), std::string::npos) << resized.error;
    EXPECT_FALSE(rasteriseSvg("<svg", 4, 2));
    EXPECT_FALSE(rasteriseSvg(R"(<svg xmlns="http://www.w3.org/2000/svg"/>)", 4, 2)) << "no size given";
}

}  // namespace
}  // namespace morvanex::resources
