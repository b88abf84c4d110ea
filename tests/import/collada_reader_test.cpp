// COLLADA import: primitives, axes and units, skins, the node hierarchy,
// animation channels, encodings and damage.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "import/collada_reader.h"
#include "base/test_files.h"
#include "import/import_test_support.h"

namespace morvanex {
namespace {

using testing::near;

ImportResult read(const std::string& text) {
    return importColladaBytes(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()), {});
}

std::string source(const std::string& id, const std::string& numbers, int count, int stride) {
    return "<source id=\"" + id + "\"><float_array id=\"" + id + "-a\" count=\"" + std::to_string(count) + "\">" +
           numbers + "</float_array><technique_common><accessor source=\"#" + id + "-a\" count=\"" +
           std::to_string(count / stride) + "\" stride=\"" + std::to_string(stride) +
           "\"/></technique_common></source>";
}

std::string document(const std::string& asset, const std::string& libraries, const std::string& nodes) {
    return "<?xml version=\"1.0\"?><COLLADA><asset>" + asset + "</asset>" + libraries +
           "<library_visual_scenes><visual_scene id=\"s\">" + nodes +
           "</visual_scene></library_visual_scenes><scene><instance_visual_scene url=\"#s\"/></scene></COLLADA>";
}

// A unit square (4 positions) with one normal and one texture coordinate.
std::string squareGeometry(const std::string& id, const std::string& primitive) {
    return "<geometry id=\"" + id + "\"><mesh>" + source(id + "-p", "1 2 3 1 0 0 1 1 0 0 1 0", 12, 3) +
           source(id + "-n", "0 0 1", 3, 3) + source(id + "-t", "0.25 0.25", 2, 2) + "<vertices id=\"" + id +
           "-v\"><input semantic=\"POSITION\" source=\"#" + id + "-p\"/></vertices>" + primitive + "</mesh></geometry>";
}

const std::string kInputs =
    "<input semantic=\"VERTEX\" source=\"#g-v\" offset=\"0\"/><input semantic=\"NORMAL\" source=\"#g-n\" "
    "offset=\"1\"/><input semantic=\"TEXCOORD\" source=\"#g-t\" offset=\"2\" set=\"0\"/>";

TEST(ColladaReader, PolylistOfQuadsScaleAndTexcoords) {
    const std::string geometry = squareGeometry(
        "g", "<polylist count=\"2\">" + kInputs +
                 "<vcount>4 4</vcount><p>0 0 0 1 0 0 2 0 0 3 0 0 0 0 0 1 0 0 2 0 0 3 0 0</p></polylist>");
    const ImportResult r = read(document("", "<library_geometries>" + geometry + "</library_geometries>", ""));
    ASSERT_TRUE(r.ok()) << r.error;
    ASSERT_EQ(r.objects.size(), 1u);
    const SceneObject& o = *r.objects[0];
    EXPECT_EQ(o.name, "g");
    ASSERT_EQ(o.vertices.size(), 12u);
    EXPECT_TRUE(near(o.vertices[0].position, {30, 60, 90}));
    EXPECT_TRUE(near(o.vertices[3].position, o.vertices[2].position));  // (c0, c1, c2), (c2, c3, c0)
    EXPECT_TRUE(near(o.vertices[5].position, o.vertices[0].position));
    EXPECT_TRUE(near(o.vertices[0].texcoord, {0.25f, 0.75f}));
    EXPECT_TRUE(near(o.vertices[0].texcoord2, {0.25f, 0.25f}));
    EXPECT_TRUE(near(o.vertices[0].normal, {0, 0, 1}));
}

TEST(ColladaReader, EveryPrimitiveKindSharedOffsetsUpAxisAndUnit) {
    // One offset for all inputs; triangles with two <p>, a strip, a fan and
    // a pentagon; Z up in centimetres.
    const std::string shared =
        "<input semantic=\"VERTEX\" source=\"#g-v\" offset=\"0\"/><input semantic=\"NORMAL\" source=\"#n4\" "
        "offset=\"0\"/>";
    const std::string prims = "<triangles count=\"2\">" + shared + "<p>0 1 2</p><p>0 2 3</p></triangles>" +
                              "<tristrips count=\"1\">" + shared + "<p>0 1 3 2</p></tristrips>" +
                              "<trifans count=\"1\">" + shared + "<p>0 1 2 3</p></trifans>" +
                              "<polygons count=\"1\">" + shared + "<p>0 1 2 3 0</p></polygons>" +
                              "<lines count=\"1\">" + shared + "<p>0 1</p></lines>";
    std::string geometry = squareGeometry("g", source("n4", "0 0 1 0 0 1 0 0 1 0 0 1", 12, 3) + prims);
    const ImportResult r = read(document("<unit meter=\"0.01\"/><up_axis>Z_UP</up_axis>",
                                         "<library_geometries>" + geometry + "</library_geometries>", ""));
    ASSERT_EQ(r.objects.size(), 1u);
    EXPECT_EQ(r.objects[0]->vertices.size(), 3u * (2 + 2 + 2 + 3));
    EXPECT_TRUE(near(r.objects[0]->vertices[0].position, {0.3f, 0.9f, -0.6f}));  // (1, 2, 3) -> (x, z, -y) x 0.3
    EXPECT_TRUE(near(r.objects[0]->vertices[0].normal, {0, 1, 0}));
    EXPECT_EQ(r.report.countOf("COLLADA line primitives, skipped"), 1u);
    EXPECT_EQ(r.report.countOf("Z up axis turned to Y up"), 1u);
}

TEST(ColladaReader, SkinKeepsFourLargestInfluencesAndBuildsTheSkeleton) {
    const std::string geometry = squareGeometry("g", "<triangles count=\"1\">" + kInputs +
                                                         "<p>0 0 0 1 0 0 2 0 0</p></triangles>");
    const std::string controller =
        "<library_controllers><controller id=\"c\"><skin source=\"#g\">"
        "<source id=\"j\"><Name_array count=\"5\">root arm a b c</Name_array></source>" +
        source("ibm", "1 0 0 -2  0 1 0 0  0 0 1 0  0 0 0 1  1 0 0 0  0 1 0 0  0 0 1 0  0 0 0 1 "
                      "1 0 0 0  0 1 0 0  0 0 1 0  0 0 0 1  1 0 0 0  0 1 0 0  0 0 1 0  0 0 0 1 "
                      "1 0 0 0  0 1 0 0  0 0 1 0  0 0 0 1",
               80, 16) +
        source("w", "0.1 0.2 0.3 0.4 0.5 0.25 0.75", 7, 1) +
        "<joints><input semantic=\"JOINT\" source=\"#j\"/><input semantic=\"INV_BIND_MATRIX\" source=\"#ibm\"/>"
        "</joints><vertex_weights count=\"3\"><input semantic=\"JOINT\" source=\"#j\" offset=\"0\"/>"
        "<input semantic=\"WEIGHT\" source=\"#w\" offset=\"1\"/><vcount>5 2 1</vcount>"
        "<v>0 0 1 1 2 2 3 3 4 4  0 5 1 6  0 4</v></vertex_weights></skin></controller></library_controllers>";
    const std::string nodes =
        "<node id=\"model\" name=\"model\"><translate>1 0 0</translate><instance_controller url=\"#c\"/></node>"
        "<node id=\"root\" name=\"root\" sid=\"root\"><node id=\"arm\" name=\"arm\" sid=\"arm\">"
        "<translate sid=\"t\">0 1 0</translate></node></node>";
    const ImportResult r =
        read(document("", "<library_geometries>" + geometry + "</library_geometries>" + controller, nodes));
    ASSERT_TRUE(r.ok());
    // Corner 0's largest influence is joint 4 ("c"), corners 1 and 2 lead
    // with joint 1 ("arm") and 0 ("root"): the triangle goes with corner 0.
    ASSERT_EQ(r.objects.size(), 1u);
    const MeshVertex& v0 = r.objects[0]->vertices[0];
    EXPECT_EQ(v0.blendIndices, (std::array<std::int32_t, 4>{4, 3, 2, 1}));
    EXPECT_NEAR(v0.blendWeights[0], 0.5f / 1.4f, 1e-5f);
    EXPECT_NEAR(v0.blendWeights[0] + v0.blendWeights[1] + v0.blendWeights[2] + v0.blendWeights[3], 1.0f, 1e-5f);
    const MeshVertex& v1 = r.objects[0]->vertices[1];
    EXPECT_EQ(v1.blendIndices, (std::array<std::int32_t, 4>{1, 0, -1, -1}));
    EXPECT_NEAR(v1.blendWeights[0], 0.75f, 1e-5f);
    EXPECT_EQ(v1.blendWeights[2], 0.0f);
    EXPECT_EQ(r.report.countOf(
                  "skinned vertices with more than four influences, cut to the four largest and renormalised"),
              1u);
    ASSERT_EQ(r.skeletons.size(), 1u);
    EXPECT_EQ(r.skeletons[0].bones.size(), 5u);
    EXPECT_NEAR(r.skeletons[0].bones[0].inverseBindMatrix.m[3][0], -60.0f, 1e-4f);  // -2 m x 30
}

TEST(ColladaReader, HierarchyCyclesMissingTargetsAndAnimation) {
    const std::string geometry = squareGeometry("g", "<triangles count=\"1\">" + kInputs +
                                                         "<p>0 0 0 1 0 0 2 0 0</p></triangles>") +
                                 squareGeometry("h", "<triangles count=\"1\">" +
                                                         std::string(kInputs).replace(kInputs.find("#g-v"), 4, "#h-v")
                                                             .replace(kInputs.find("#g-n"), 4, "#h-n")
                                                             .replace(kInputs.find("#g-t"), 4, "#h-t") +
                                                         "<p>0 0 0 1 0 0 2 0 0</p></triangles>");
    const std::string library =
        "<library_nodes><node id=\"loop\"><instance_node url=\"#loop\"/><instance_node url=\"#gone\"/>"
        "<instance_node url=\"other.dae#x\"/></node></library_nodes>";
    const std::string animation =
        "<library_animations><animation id=\"an\">" + source("time", "0 1", 2, 1) + source("val", "0 2", 2, 1) +
        "<sampler id=\"sm\"><input semantic=\"INPUT\" source=\"#time\"/><input semantic=\"OUTPUT\" "
        "source=\"#val\"/></sampler><channel source=\"#sm\" target=\"child/move.X\"/>"
        "<channel source=\"#sm\" target=\"nobody/move.X\"/></animation></library_animations>";
    const std::string nodes =
        "<node id=\"parent\" name=\"Parent\"><rotate>0 0 1 90</rotate><instance_geometry url=\"#g\"/>"
        "<node id=\"child\" name=\"Child\"><translate sid=\"move\">1 0 0</translate><instance_geometry url=\"#h\"/>"
        "<instance_node url=\"#loop\"/></node></node>";
    const ImportResult r = read(document("", "<library_geometries>" + geometry + "</library_geometries>" + library +
                                                 animation,
                                         nodes));
    ASSERT_TRUE(r.ok());
    ASSERT_EQ(r.objects.size(), 2u);
    SceneObject& parent = *r.objects[0];
    SceneObject& child = *r.objects[1];
    EXPECT_EQ(parent.name, "Parent");
    EXPECT_EQ(child.parent, &parent);
    EXPECT_TRUE(near(child.position, {30, 0, 0}));
    EXPECT_NEAR(parent.rotationAngle, kHalfPi, 1e-5f);
    EXPECT_EQ(r.frameObject, &parent);
    EXPECT_EQ(r.report.countOf("COLLADA node instances that contain themselves, skipped"), 1u);
    EXPECT_EQ(r.report.countOf("references to elements that are not in the file, skipped"), 1u);
    EXPECT_EQ(r.report.countOf("references to other files, not followed"), 1u);
    EXPECT_EQ(r.report.countOf("COLLADA animation channels of nodes without an object, skipped"), 1u);
    ASSERT_EQ(r.animations.size(), 1u);
    const Animation& a = *r.animations[0];
    EXPECT_EQ(a.target, &child);
    ASSERT_EQ(a.sequences.size(), 1u);
    EXPECT_EQ(a.sequences[0]->name, "Animation poser");
    ASSERT_EQ(a.sequences[0]->keyImages.size(), 2u);
    EXPECT_TRUE(near(a.sequences[0]->keyImages[1]->states[0]->position, {60, 0, 0}));
}

TEST(ColladaReader, Utf16WithByteOrderMarkAndDamage) {
    const std::string geometry = squareGeometry("g", "<triangles count=\"1\">" + kInputs +
                                                         "<p>0 0 0 1 0 0 2 0 0</p></triangles>");
    const std::string text = document("", "<library_geometries>" + geometry + "</library_geometries>", "");
    std::string utf16 = "\xFF\xFE";
    for (char c : text) utf16 += c, utf16 += '\0';
    EXPECT_EQ(testing::totalTriangles(read(utf16)), 1u);
    EXPECT_FALSE(read("<html/>").ok());
    // Cut inside the second primitive list: the geometry read so far stays.
    const std::size_t cut = text.find("</p>");
    const ImportResult partial = read(text.substr(0, cut));
    EXPECT_TRUE(partial.ok());
    EXPECT_EQ(testing::totalTriangles(partial), 1u);
    EXPECT_FALSE(partial.report.empty());
}

// Large primitives are read while another thread takes their pages: the
// same objects as on one thread, and none for corners that never came.
TEST(ColladaReader, LargePrimitivesReadTheSameOnTwoThreads) {
    std::string good, bad;
    for (int t = 0; t < 22000; ++t) {
        good += "0 0 0 1 0 0 2 0 0 ";
        bad += "9 0 0 9 0 0 9 0 0 ";
    }
    const std::string geometries =
        squareGeometry("g", "<triangles count=\"22000\">" + kInputs + "<p>" + good + "</p></triangles>") +
        squareGeometry("h", "<triangles count=\"22000\">" + kInputs + "<p>" + bad + "</p></triangles>");
    const std::string text = document("", "<library_geometries>" + geometries + "</library_geometries>", "");
    const auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    ImportOptions options;
    options.threads = 1;
    const ImportResult one = importColladaBytes(bytes, options);
    options.threads = 2;
    const ImportResult two = importColladaBytes(bytes, options);
    ASSERT_EQ(two.objects.size(), 1u);
    ASSERT_EQ(one.objects.size(), 1u);
    EXPECT_EQ(two.objects[0]->vertices.size(), 66000u);
    EXPECT_EQ(two.objects[0]->vertices.size(), one.objects[0]->vertices.size());
    EXPECT_TRUE(near(two.objects[0]->vertices.back().position, one.objects[0]->vertices.back().position));
    EXPECT_EQ(two.report.lines(), one.report.lines());
    EXPECT_TRUE(testing::indicesSound(two));
}

// A file, whose mapping is given back once the parser has its copy, reads
// as its bytes whatever the encoding, the damage or the size.
TEST(ColladaReader, AFileReadsAsItsBytes) {
    const std::string geometry = squareGeometry("g", "<triangles count=\"1\">" + kInputs +
                                                         "<p>0 0 0 1 0 0 2 0 0</p></triangles>");
    const std::string text = document("", "<library_geometries>" + geometry + "</library_geometries>", "");
    std::string utf16 = "\xFF\xFE";
    for (char c : text) utf16 += c, utf16 += '\0';
    test::TempFolder temp;
    for (const std::string& bytes : {text, utf16, text.substr(0, text.find("</p>")), std::string()}) {
        test::writeBytes(temp.path() / "a.dae", bytes);
        const ImportResult fromFile = importCollada(temp.path() / "a.dae");
        const ImportResult fromBytes = read(bytes);
        EXPECT_EQ(fromFile.error, fromBytes.error);
        EXPECT_EQ(fromFile.report.lines(), fromBytes.report.lines());
        ASSERT_EQ(fromFile.objects.size(), fromBytes.objects.size());
        for (std::size_t i = 0; i < fromFile.objects.size(); ++i) {
            EXPECT_EQ(fromFile.objects[i]->vertices.size(), fromBytes.objects[i]->vertices.size());
            EXPECT_TRUE(near(fromFile.objects[i]->boundsMax, fromBytes.objects[i]->boundsMax));
        }
    }
    EXPECT_EQ(importCollada(temp.path() / "missing.dae").error, "cannot open the file");
}

}  // namespace
}  // namespace morvanex
