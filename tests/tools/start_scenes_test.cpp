// The start scenes' maker: letters filled and made solid, and the two
// scenes as the program reads them back.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <tuple>

#include "base/file_bytes.h"
#include "scene/scene.h"
#include "scenefile/scene_reader.h"
#include "scenefile/scene_writer.h"
#include "start_scenes/extrusion.h"
#include "start_scenes/letter_outlines.h"
#include "start_scenes/polygon_fill.h"
#include "start_scenes/start_scenes.h"

namespace morvanex {
namespace {

const FileBytes& boldFont() {
    static const FileBytes font(MORVANEX_TITLE_FONT_FILE);
    return font;
}

std::vector<Shape> shapesOf(std::string_view text, double em = 36.0) {
    std::string why;
    auto outline = outlineText(boldFont().bytes(), text, em, 5, &why);
    EXPECT_TRUE(outline.has_value()) << why;
    return outline ? groupContours(outline->contours) : std::vector<Shape>{};
}

double triangleArea(const Triangle2& t) {
    return 0.5 * ((t[1].x - t[0].x) * (t[2].y - t[0].y) - (t[1].y - t[0].y) * (t[2].x - t[0].x));
}

struct GlyphCase {
    const char* text;
    std::size_t shapes;
    std::size_t holes;
};

class LetterFill : public ::testing::TestWithParam<GlyphCase> {};

TEST_P(LetterFill, CoversTheOutlineExactlyAndNothingOutside) {
    const GlyphCase c = GetParam();
    const std::vector<Shape> shapes = shapesOf(c.text);
    ASSERT_EQ(shapes.size(), c.shapes);
    std::size_t holes = 0;
    for (const Shape& shape : shapes) {
        holes += shape.holes.size();
        double outlineArea = signedArea(shape.outer);
        for (const Contour& hole : shape.holes) outlineArea += signedArea(hole);  // holes are clockwise
        double filled = 0.0;
        for (const Triangle2& t : fillShape(shape)) {
            const double area = triangleArea(t);
            EXPECT_GT(area, 0.0);
            filled += area;
            const Point2 centre{(t[0].x + t[1].x + t[2].x) / 3, (t[0].y + t[1].y + t[2].y) / 3};
            EXPECT_TRUE(pointInContour(shape.outer, centre));
            for (const Contour& hole : shape.holes) EXPECT_FALSE(pointInContour(hole, centre));
        }
        EXPECT_NEAR(filled, outlineArea, 1e-6 * outlineArea) << c.text;
    }
    EXPECT_EQ(holes, c.holes) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Glyphs, LetterFill,
                         ::testing::Values(GlyphCase{"o", 1, 1}, GlyphCase{"a", 1, 1}, GlyphCase{"B", 1, 2},
                                           GlyphCase{"M", 1, 0}, GlyphCase{"%", 3, 2}));

TEST(LetterSolid, IsClosedWithOutwardNormals) {
    const std::vector<Shape> shapes = shapesOf(kTitleText);
    ExtrusionStyle style;
    style.depth = 7.0;
    const std::vector<MeshVertex> vertices = extrudeShapes(shapes, style);
    ASSERT_EQ(vertices.size() % 3, 0u);

    // Closed: every edge is walked once each way.
    using Key = std::tuple<float, float, float, float, float, float>;
    std::map<Key, int> edges;
    double volume = 0.0;
    for (std::size_t i = 0; i < vertices.size(); i += 3) {
        const Vec3 p[3] = {vertices[i].position, vertices[i + 1].position, vertices[i + 2].position};
        for (int k = 0; k < 3; ++k) {
            const Vec3 a = p[k], b = p[(k + 1) % 3];
            ++edges[{a.x, a.y, a.z, b.x, b.y, b.z}];
        }
        // Each corner's normal leans the way of its face's outward normal.
        const Vec3 face = cross(p[1] - p[0], p[2] - p[0]);
        for (int k = 0; k < 3; ++k) EXPECT_GT(dot(face, vertices[i + k].normal), 0.0f);
        volume += dot(p[0], cross(p[1], p[2])) / 6.0;
    }
    for (const auto& [key, count] : edges) {
        const auto& [ax, ay, az, bx, by, bz] = key;
        const auto reverse = edges.find({bx, by, bz, ax, ay, az});
        ASSERT_NE(reverse, edges.end());
        EXPECT_EQ(reverse->second, count);
    }
    // Outward faces give the solid a positive volume: its area times depth.
    double area = 0.0;
    for (const Shape& shape : shapes) {
        area += signedArea(shape.outer);
        for (const Contour& hole : shape.holes) area += signedArea(hole);
    }
    EXPECT_NEAR(volume, area * style.depth, 1e-3 * area * style.depth);
}

TEST(StartScenes, TitleReadsBackWithSixMeshesAndTheCameraSweep) {
    Scene made;
    std::string why;
    ASSERT_TRUE(buildTitleScene(made, boldFont().bytes(), &why)) << why;
    const std::vector<std::uint8_t> bytes = writeScene(made, {});
    const std::string tag = "Morvanexv4 1.16.8";
    ASSERT_GT(bytes.size(), tag.size());
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(tag.size())), tag);

    Scene read;
    const SceneReadReport report = readScene(bytes, read, {});
    ASSERT_TRUE(report.complete()) << describeReadReport(report);
    EXPECT_EQ(report.objectRecordsRead, 6);
    for (const auto& object : read.objects()) {
        if (read.isServiceObject(object.get())) continue;
        EXPECT_FALSE(object->vertices.empty()) << object->name;
        EXPECT_EQ(object->indices.size(), object->vertices.size()) << object->name;
    }
    ASSERT_EQ(read.animations().size(), 1u);
    const Animation& animation = *read.animations().front();
    EXPECT_EQ(animation.target, read.cameraObject());
    ASSERT_EQ(animation.sequences.size(), 1u);
    const Sequence& sequence = *animation.sequences.front();
    EXPECT_EQ(sequence.name, kTitleSequenceName);
    EXPECT_EQ(animation.sequenceReferences[3], &sequence);  // the one playback starts with
    ASSERT_EQ(sequence.keyImages.size(), 3u);
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_NEAR(sequence.keyImages[k]->time, kTitleKeyTimes[k], 1e-5);
        EXPECT_EQ(sequence.keyImages[k]->states.size(), 1u);
    }
    EXPECT_EQ(report.attachedObject, read.cameraObject());
}

TEST(StartScenes, CameraSceneHoldsTheBodyAndItsViewVolume) {
    Scene made;
    buildCameraScene(made);
    Scene read;
    const SceneReadReport report = readScene(writeScene(made, {}), read, {});
    ASSERT_TRUE(report.complete()) << describeReadReport(report);
    EXPECT_EQ(report.objectRecordsRead, 2);
    for (const char* name : {kCameraBodyName, kViewVolumeName}) {
        const SceneObject* object = read.findObject(name);
        ASSERT_NE(object, nullptr) << name;
        EXPECT_FALSE(object->vertices.empty()) << name;
    }
}

}  // namespace
}  // namespace morvanex
