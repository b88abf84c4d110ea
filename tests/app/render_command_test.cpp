// `morvanex render` in-process: its arguments, its exit statuses, and the
// PNG it writes for scenes written to a temporary folder.
#include "app/render_command.h"

#include <gtest/gtest.h>

#include <sstream>

#include "app/scene_commands.h"
#include "app/test_support.h"
#include "image/image_codec.h"
#include "render/scene_test_support.h"
#include "scene/scene.h"
#include "scenefile/scene_writer.h"

namespace morvanex {
namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

Outcome render(const std::vector<std::string>& arguments) {
    std::ostringstream out;
    std::ostringstream err;
    Outcome result;
    result.status = runRenderCommand(arguments, out, err);
    result.out = out.str();
    result.err = err.str();
    return result;
}

// A red box in front of the stored camera, which looks along +z.
void writeBoxScene(const fs::path& file, bool withBlueBox = false) {
    Scene scene;
    scene.eye = scene.eyeTarget = {0.0f, 0.0f, -100.0f};
    scene.yaw = kHalfPi;
    scene.pitch = 0.0f;
    testing::addBox(scene, "rouge", {0, 0, 0}, {10, 10, 10}, {1, 0, 0, 1});
    if (withBlueBox) testing::addBox(scene, "bleu", {0, 0, 30}, {10, 10, 10}, {0, 0, 1, 1});
    ASSERT_TRUE(writeSceneFile(file, scene, {}).ok);
}

DecodedImage readPng(const fs::path& file) {
    const std::string bytes = test::readBytes(file);
    ImageResult image = decodeImage({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
    EXPECT_TRUE(image) << image.error;
    return image ? std::move(*image.image) : DecodedImage{};
}

struct Pixel {
    int r, g, b;
};
Pixel pixelAt(const DecodedImage& image, int x, int y) {
    const auto& bytes = image.level(0, 0).bytes;
    const auto i = static_cast<std::size_t>((y * image.width + x) * 4);
    return {bytes[i], bytes[i + 1], bytes[i + 2]};
}

// Mean x of the pixels where blue clearly dominates; -1 when there are none.
double blueCentreX(const DecodedImage& image) {
    double sum = 0.0;
    int count = 0;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const Pixel p = pixelAt(image, x, y);
            if (p.b > 30 && p.b > 2 * p.r + 10 && p.b > 2 * p.g + 10) {
                sum += x;
                ++count;
            }
        }
    }
    return count == 0 ? -1.0 : sum / count;
}

TEST(RenderArguments, DefaultsAndEveryOption) {
    ParsedRenderRequest parsed = parseRenderArguments({"-o", "out.png"});
    ASSERT_TRUE(parsed.request) << parsed.error;
    EXPECT_FALSE(parsed.request->sceneFile);
    EXPECT_EQ(parsed.request->width, kDefaultRenderWidth);
    EXPECT_EQ(parsed.request->frames, kDefaultRenderFrames);

    parsed = parseRenderArguments({"scène.mrx", "-o", "o.png", "--size", "320x200", "--time", "2.5", "--frames", "7",
                                   "--view", "north", "--frame-all", "--samples", "2"});
    ASSERT_TRUE(parsed.request) << parsed.error;
    EXPECT_EQ(*parsed.request->sceneFile, "scène.mrx");
    EXPECT_EQ(parsed.request->width, 320);
    EXPECT_EQ(parsed.request->height, 200);
    EXPECT_EQ(parsed.request->startTime, 2.5);
    EXPECT_EQ(parsed.request->frames, 7);
    EXPECT_EQ(parsed.request->view, PresetView::North);
    EXPECT_TRUE(parsed.request->frameAll);
    EXPECT_EQ(parsed.request->samples, 2);
}

TEST(RenderArguments, RefusesWhatCannotBeRendered) {
    const std::vector<std::vector<std::string>> bad = {
        {},                                      // no output
        {"a.mrx"},                               // still no output
        {"-o"},                                  // option without its value
        {"-o", "o.png", "--size", "0x10"},
        {"-o", "o.png", "--size", "100"},
        {"-o", "o.png", "--size", "100000x10"},  // absurd: refused before any allocation
        {"-o", "o.png", "--frames", "0"},
        {"-o", "o.png", "--frames", "many"},
        {"-o", "o.png", "--time", "-1"},
        {"-o", "o.png", "--time", "nan"},
        {"-o", "o.png", "--view", "up"},
        {"-o", "o.png", "--samples", "0"},
        {"-o", "o.png", "--samples", "65"},
        {"-o", "o.png", "a.mrx", "b.mrx"},
        {"-o", "o.png", "--fast"},
    };
    for (const auto& arguments : bad) {
        const ParsedRenderRequest parsed = parseRenderArguments(arguments);
        EXPECT_FALSE(parsed.request) << ::testing::PrintToString(arguments);
        EXPECT_FALSE(parsed.error.empty());
    }
    const Outcome outcome = render({"--size", "10x10"});
    EXPECT_EQ(outcome.status, kSceneCommandFailed);
    EXPECT_NE(outcome.err.find("-o OUT.png is required"), std::string::npos) << outcome.err;
}

TEST(RenderCommand, WithoutAFileAnEmptySceneIsDrawn) {
    test::TempFolder temp;
    const fs::path png = temp.path() / "vide.png";
    const Outcome outcome = render({"-o", png.string(), "--size", "64x48", "--frames", "2"});
    ASSERT_EQ(outcome.status, kSceneCommandOk) << outcome.err;
    const DecodedImage image = readPng(png);
    EXPECT_EQ(image.width, 64);
    EXPECT_EQ(image.height, 48);
    // The background of a new scene, everywhere.
    const Pixel p = pixelAt(image, 32, 24);
    EXPECT_NEAR(p.r, 186, 2);
    EXPECT_NEAR(p.b, 186, 2);
}

TEST(RenderCommand, TheStoredCameraGlidesInAndShowsTheScene) {
    test::TempFolder temp;
    const fs::path scene = temp.path() / "boite.mrx";
    writeBoxScene(scene);
    const fs::path png = temp.path() / "boite.png";
    const Outcome outcome = render({scene.string(), "-o", png.string(), "--size", "160x90"});
    ASSERT_EQ(outcome.status, kSceneCommandOk) << outcome.err;
    const DecodedImage image = readPng(png);
    const Pixel centre = pixelAt(image, 80, 45);
    EXPECT_GT(centre.r, 2 * centre.g + 20);
    const Pixel corner = pixelAt(image, 2, 2);
    EXPECT_NEAR(corner.r, 186, 2);  // background

    // The box, 20 units wide at 90 units, spans about 22 pixels. After one
    // frame the eye is still some 500 units further back: the box is a few
    // pixels across.
    const fs::path early = temp.path() / "tot.png";
    ASSERT_EQ(render({scene.string(), "-o", early.string(), "--size", "160x90", "--frames", "1"}).status,
              kSceneCommandOk);
    const DecodedImage first = readPng(early);
    EXPECT_NEAR(pixelAt(first, 80 + 8, 45).r, 186, 2);
    EXPECT_GT(pixelAt(image, 80 + 8, 45).r, 2 * pixelAt(image, 80 + 8, 45).g + 20);
}

TEST(RenderCommand, PresetViewsLookFromTheirSide) {
    test::TempFolder temp;
    const fs::path scene = temp.path() / "deux.mrx";
    writeBoxScene(scene, true);  // the blue box lies on +z of the red one
    const auto blueX = [&](const std::string& side) {
        const fs::path png = temp.path() / (side + ".png");
        const Outcome outcome =
            render({scene.string(), "-o", png.string(), "--size", "160x90", "--frames", "2", "--view", side,
                    "--frame-all"});
        EXPECT_EQ(outcome.status, kSceneCommandOk) << outcome.err;
        return blueCentreX(readPng(png));
    };
    // From the east (+x) +z is on the right; from the west on the left.
    const double east = blueX("east");
    const double west = blueX("west");
    EXPECT_GT(east, 80.0);
    EXPECT_GE(west, 0.0);
    EXPECT_LT(west, 80.0);
}

// Pixels that are neither the grey background nor a shade of the box's
// pure red: the blends of the two that only antialiasing makes along a
// silhouette.
int blendedPixels(const DecodedImage& image) {
    int count = 0;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const Pixel p = pixelAt(image, x, y);
            if (p.g > 12 && p.g < 174 && p.r > p.g + 8) ++count;
        }
    }
    return count;
}

TEST(RenderCommand, SilhouettesAreAntialiasedUnlessOneSampleIsAsked) {
    test::TempFolder temp;
    const fs::path scene = temp.path() / "biais.mrx";
    {
        Scene tilted;
        tilted.eye = tilted.eyeTarget = {-60.0f, 40.0f, -80.0f};
        tilted.yaw = kHalfPi - 0.6f;
        tilted.pitch = 0.35f;
        SceneObject& box = testing::addBox(tilted, "rouge", {0, 0, 0}, {10, 10, 10}, {1, 0, 0, 1});
        box.materialColours.fill({1, 0, 0, 1});  // every shade of it has no green
        ASSERT_TRUE(writeSceneFile(scene, tilted, {}).ok);
    }
    const auto blended = [&](const std::string& samples) {
        const fs::path png = temp.path() / ("s" + samples + ".png");
        const Outcome outcome = render({scene.string(), "-o", png.string(), "--size", "160x90", "--samples", samples});
        EXPECT_EQ(outcome.status, kSceneCommandOk) << outcome.err;
        EXPECT_NE(outcome.out.find(samples == "1" ? "1 sample per pixel" : samples + " samples per pixel"),
                  std::string::npos)
            << outcome.out;
        return blendedPixels(readPng(png));
    };
    EXPECT_EQ(blended("1"), 0);
    EXPECT_GT(blended("4"), 20);
}

TEST(RenderCommand, FrameAllFillsTheImageWithBothBoxes) {
    test::TempFolder temp;
    const fs::path scene = temp.path() / "loin.mrx";
    {
        Scene apart;
        apart.eye = apart.eyeTarget = {0.0f, 0.0f, -100.0f};
        apart.yaw = kHalfPi;
        testing::addBox(apart, "rouge", {0, 0, 0}, {5, 5, 5}, {1, 0, 0, 1});
        testing::addBox(apart, "bleu", {200, 30, 0}, {5, 5, 5}, {0, 0, 1, 1});
        ASSERT_TRUE(writeSceneFile(scene, apart, {}).ok);
    }
    const fs::path png = temp.path() / "tout.png";
    ASSERT_EQ(render({scene.string(), "-o", png.string(), "--size", "160x90", "--frames", "2", "--frame-all",
                      "--samples", "1"})
                  .status,
              kSceneCommandOk);
    const DecodedImage image = readPng(png);
    int left = image.width, right = -1, top = image.height, bottom = -1, red = 0, blue = 0;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const Pixel p = pixelAt(image, x, y);
            const bool isRed = p.r > 2 * p.g + 20;
            const bool isBlue = p.b > 2 * p.r + 10 && p.b > 2 * p.g + 10;
            if (!isRed && !isBlue) continue;
            red += isRed;
            blue += isBlue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    EXPECT_GT(red, 0);
    EXPECT_GT(blue, 0);
    const double spanX = (right - left + 1) / static_cast<double>(image.width);
    const double spanY = (bottom - top + 1) / static_cast<double>(image.height);
    EXPECT_GE(std::max(spanX, spanY), 0.85) << spanX << " x " << spanY;
    EXPECT_GT(left, 0);  // and the margin is kept
    EXPECT_LT(right, image.width - 1);
}

TEST(RenderCommand, UnreadableAndDamagedFiles) {
    test::TempFolder temp;
    const fs::path png = temp.path() / "out.png";
    Outcome outcome = render({(temp.path() / "absent.mrx").string(), "-o", png.string(), "--frames", "1"});
    EXPECT_EQ(outcome.status, kSceneCommandFailed);
    EXPECT_FALSE(outcome.err.empty());
    EXPECT_FALSE(fs::exists(png));  // nothing written for a scene that was not read

    const fs::path scene = temp.path() / "abime.mrx";
    writeBoxScene(scene, true);
    std::string bytes = test::readBytes(scene);
    bytes.resize(bytes.size() - 40);  // the second box loses its end
    test::writeBytes(scene, bytes);
    outcome = render({scene.string(), "-o", png.string(), "--size", "160x90"});
    EXPECT_EQ(outcome.status, kSceneCommandDamaged) << outcome.err;
    EXPECT_NE(outcome.err.find("rendering what could be read"), std::string::npos) << outcome.err;
    const DecodedImage image = readPng(png);
    const Pixel centre = pixelAt(image, 80, 45);
    EXPECT_GT(centre.r, 2 * centre.g + 20);  // the complete red box is drawn
}

TEST(RenderCommand, NeitherFileNorOutputMayBeAFifo) {
    test::TempFolder temp;
    const fs::path fifo = temp.path() / "fifo";
    ASSERT_TRUE(test::makeFifo(fifo));
    const fs::path png = temp.path() / "out.png";
    const Outcome input =
        test::runWithoutBlockingOn(fifo, [&] { return render({fifo.string(), "-o", png.string(), "--frames", "1"}); });
    EXPECT_EQ(input.status, kSceneCommandFailed);
    EXPECT_NE(input.err.find("not a regular file"), std::string::npos) << input.err;
    EXPECT_FALSE(fs::exists(png));

    const Outcome output = render({"-o", fifo.string(), "--frames", "1", "--size", "16x16"});
    EXPECT_EQ(output.status, kSceneCommandFailed);
    EXPECT_NE(output.err.find("not a regular file"), std::string::npos) << output.err;
    EXPECT_TRUE(fs::is_fifo(fifo));
}

}  // namespace
}  // namespace morvanex
