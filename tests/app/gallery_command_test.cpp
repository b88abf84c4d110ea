// `morvanex gallery`: the widget gallery drawn headless into a PNG.
#include "app/gallery_command.h"

#include <gtest/gtest.h>

#include <sstream>

#include "app/scene_commands.h"
#include "app/test_support.h"
#include "image/image_codec.h"

namespace morvanex {
namespace {

TEST(GalleryCommand, DrawsThePanelsIntoAnOpaquePictureAndRefusesBadArguments) {
    test::TempFolder temp;
    const auto png = temp.path() / "galerie.png";
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(runGalleryCommand({"-o", png.string(), "--size", "800x600"}, out, err), kSceneCommandOk) << err.str();
    const std::string bytes = test::readBytes(png);
    ImageResult image = decodeImage({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
    ASSERT_TRUE(image) << image.error;
    ASSERT_EQ(image.image->width, 800);
    ASSERT_EQ(image.image->height, 600);
    // The first panel's cyan outline runs down its left edge; every pixel is opaque.
    const auto& p = image.image->level(0, 0).bytes;
    const auto at = [&](int x, int y, int c) { return p[static_cast<std::size_t>((y * 800 + x) * 4 + c)]; };
    EXPECT_GT(at(20, 200, 2), 200);
    EXPECT_GT(at(20, 200, 1), 150);
    EXPECT_EQ(at(400, 300, 3), 255);

    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{}, {"-o"}, {"-o", "x.png", "--size", "10x10"}, {"-o", "x.png", "extra"}}) {
        EXPECT_EQ(runGalleryCommand(bad, out, err), kSceneCommandFailed);
    }
}

}  // namespace
}  // namespace morvanex
