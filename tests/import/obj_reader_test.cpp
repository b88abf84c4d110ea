// OBJ import: axes, grouping, indices of every form, polygons, materials,
// damage and the report.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "import/import_mesh.h"
#include "import/import_test_support.h"
#include "import/obj_reader.h"
#include "scene/scene.h"

namespace morvanex {
namespace {

using testing::memoryFiles;
using testing::near;

ImportResult read(std::string_view text, SideFiles side = {}, unsigned threads = 1) {
    ImportOptions options;
    options.sideFiles = std::move(side);
    options.threads = threads;
    return importObjText(text, options);
}

TEST(ObjReader, BareTriangleIsMirroredReversedAndScaled) {
    const ImportResult r = read("v 1 2 3\nv 4 5 6\nv 7 8 9\nf 1 2 3\n");
    ASSERT_TRUE(r.ok());
    ASSERT_EQ(r.objects.size(), 1u);
    const SceneObject& o = *r.objects[0];
    ASSERT_EQ(o.vertices.size(), 3u);
    EXPECT_TRUE(near(o.vertices[0].position, {-70, 80, 90}));  // corner 3 first
    EXPECT_TRUE(near(o.vertices[2].position, {-10, 20, 30}));
    EXPECT_TRUE(near(o.vertices[0].texcoord, {0, 1}));
    EXPECT_EQ(o.indices, (std::vector<std::int32_t>{0, 1, 2}));
    EXPECT_EQ(o.materialColours[1].x, 0.1f);
    // No normals in the file: the face's own.
    const Vec3 flat = triangleNormal(o.vertices[0].position, o.vertices[1].position, o.vertices[2].position);
    EXPECT_TRUE(near(o.vertices[1].normal, flat));
    EXPECT_EQ(r.report.countOf("triangles without normals, given flat normals"), 1u);
}

TEST(ObjReader, FullQuadAndTexcoordFlip) {
    const ImportResult r = read(
        "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nvt 0.25 0.25\nvn 1 0 0\n"
        "g quad\nf 1/1/1 2/1/1 3/1/1 4/1/1\n");
    ASSERT_EQ(r.objects.size(), 1u);
    const SceneObject& o = *r.objects[0];
    EXPECT_EQ(o.name, "quad");
    ASSERT_EQ(o.vertices.size(), 6u);
    // (c2, c1, c0), (c0, c3, c2)
    const Vec3 expected[6] = {{-10, 10, 0}, {-10, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 10, 0}, {-10, 10, 0}};
    for (int i = 0; i < 6; ++i) EXPECT_TRUE(near(o.vertices[i].position, expected[i])) << i;
    EXPECT_TRUE(near(o.vertices[0].texcoord, {0.25f, 0.75f}));
    EXPECT_TRUE(near(o.vertices[0].normal, {-1, 0, 0}));
}

TEST(ObjReader, IndexFormsRelativeIndicesAndMissingParts) {
    const ImportResult r = read(
        "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0.5 0.5\nvn 0 0 1\n"
        "f -3/-1/-1 -2/-1/-1 -1/-1/-1\n"  // relative
        "f 1//1 2//1 3//1\n"               // no texture coordinate
        "f 1/1 2/1 3/1\n");                // no normal
    ASSERT_EQ(r.objects.size(), 1u);
    const auto& v = r.objects[0]->vertices;
    ASSERT_EQ(v.size(), 9u);
    EXPECT_TRUE(near(v[0].position, {0, 10, 0}));
    EXPECT_TRUE(near(v[0].texcoord, {0.5f, 0.5f}));
    EXPECT_TRUE(near(v[3].texcoord, {0, 1}));
    EXPECT_TRUE(near(v[3].normal, {0, 0, 1}));
    EXPECT_TRUE(near(v[6].texcoord, {0.5f, 0.5f}));
}

TEST(ObjReader, GroupsNamesAndMaterialsSplitObjects) {
    const std::string mtl =
        "newmtl red\nKd 1 0 0\nmap_Kd -s 1 1 1 textures\\brick wall.png\n"
        "newmtl blue\nKd 0 0 1\nd 0.5\nmap_Kd nowhere.png\n";
    const ImportResult r = read(
        "mtllib my lib.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\n"
        "f 1 2 3\n"                                  // before any group: default name
        "g first second\nusemtl red\nf 1 2 3\nusemtl blue\nf 1 2 3\n"
        "g second\nf 1 2 3\nusemtl unknown\nf 1 2 3\n"
        "g empty\n",
        memoryFiles({{"my lib.mtl", mtl}, {"textures\\brick wall.png", "x"}}));
    std::vector<std::string> names;
    for (const auto& o : r.objects) names.push_back(o->name);
    EXPECT_EQ(names, (std::vector<std::string>{"objet", "second", "second_blue", "second1", "second1_unknown"}));
    const SceneObject& red = *r.objects[1];
    EXPECT_EQ(red.materialColours[0].x, 1.0f);
    ASSERT_NE(red.textures[0], nullptr);
    EXPECT_EQ(red.textures[0]->fileName, "brick wall.png");
    EXPECT_TRUE(red.textureEnabled[0]);
    const SceneObject& blue = *r.objects[2];
    EXPECT_FLOAT_EQ(blue.opacity, 0.5f);
    ASSERT_NE(blue.textures[0], nullptr);
    EXPECT_TRUE(blue.textures[0]->missing);
    EXPECT_FALSE(blue.textureEnabled[0]);
    EXPECT_EQ(r.report.countOf("texture file not found: nowhere.png"), 1u);
    EXPECT_EQ(r.report.countOf("material not found in the material libraries: unknown"), 1u);
}

TEST(ObjReader, ConcavePolygonIsEarClippedNotFanned) {
    // An arrow head, concave at corner 3: fanning from corner 1 would cover
    // the notch.
    const ImportResult r = read("v 0 0 0\nv 2 1 0\nv 4 0 0\nv 2 3 0\nf 1 2 3 4\n");
    ASSERT_EQ(r.objects.size(), 1u);
    const auto& v = r.objects[0]->vertices;
    ASSERT_EQ(v.size(), 6u);
    float area = 0;
    for (std::size_t i = 0; i < v.size(); i += 3) {
        area += length(cross(v[i + 1].position - v[i].position, v[i + 2].position - v[i].position)) * 0.5f;
        EXPECT_GT(v[i].normal.z, 0.0f);  // every triangle faces the same way
    }
    EXPECT_NEAR(area, 4.0f * 100.0f, 1e-2f);  // true area 4, scaled by 10 x 10
    EXPECT_EQ(r.report.countOf("concave polygons, ear clipped in their plane"), 1u);
}

TEST(ObjReader, DamageSkipsStatementsNotTheFile) {
    const ImportResult r = read(
        "v 0 0 0\r\nv 1 0 \\\r\n 0\r\nv 0 1 0\r\n"
        "vp 0.5\r\ncurv 0 1 1 2\r\n"     // free-form: skipped, file goes on
        "f 1 2 9\r\nf 1 2 x\r\nf 1 2\r\nf 0 1 2\r\n"
        "f 1 2 3\r\n");
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(testing::totalTriangles(r), 1u);
    EXPECT_TRUE(near(r.objects[0]->vertices[1].position, {-10, 0, 0}));  // continued line read
    EXPECT_EQ(r.report.countOf("free-form curve and surface statements, skipped"), 2u);
    EXPECT_EQ(r.report.countOf("faces with an index outside its list, skipped"), 2u);
    EXPECT_EQ(r.report.countOf("face or line statements with unreadable indices, skipped"), 1u);
    EXPECT_EQ(r.report.countOf("faces with fewer than three corners, skipped"), 1u);
}

TEST(ObjReader, ParallelReadMatchesSequential) {
    // Big enough to be cut into pieces; relative indices and group and
    // material changes cross the cuts.
    std::string text = "mtllib m.mtl\n";
    for (int i = 0; i < 60000; ++i) {
        if (i % 7000 == 0) text += "g part" + std::to_string(i % 3) + "\n";
        if (i % 5000 == 0) text += "usemtl m" + std::to_string(i % 2) + "\n";
        const float f = static_cast<float>(i);
        text += "v " + std::to_string(f) + " 1.5 2\nv 1 " + std::to_string(f) + " 0\nv 0 0 " +
                std::to_string(f) + "\nvt 0.5 0.25\nvn 0 1 0\n";
        // The later pieces hold absolute indices only, joined without a
        // check per face.
        text += (i % 2 == 0 && i < 30000) ? "f -3/-1/-1 -2/-1/-1 -1/-1/-1\n"
                             : "f " + std::to_string(3 * i + 1) + " " + std::to_string(3 * i + 2) + " " +
                                   std::to_string(3 * i + 3) + " " + std::to_string(3 * i) + "\n";
    }
    ASSERT_GT(text.size(), std::size_t{1} << 20);
    const ImportResult one = read(text, {}, 1);
    const ImportResult four = read(text, {}, 4);
    ASSERT_EQ(one.objects.size(), four.objects.size());
    for (std::size_t i = 0; i < one.objects.size(); ++i) {
        EXPECT_EQ(one.objects[i]->name, four.objects[i]->name);
        ASSERT_EQ(one.objects[i]->vertices.size(), four.objects[i]->vertices.size());
        EXPECT_EQ(0, std::memcmp(one.objects[i]->vertices.data(), four.objects[i]->vertices.data(),
                                 one.objects[i]->vertices.size() * sizeof(MeshVertex)));
        // The bounds found while building are those of the vertices.
        SceneObject& built = *four.objects[i];
        const Vec3 foundMin = built.boundsMin, foundMax = built.boundsMax;
        built.recomputeBounds();
        EXPECT_TRUE(testing::near(foundMin, built.boundsMin, 0.0f) && testing::near(foundMax, built.boundsMax, 0.0f));
    }
    EXPECT_EQ(one.report.lines(), four.report.lines());
}

TEST(ObjReader, AddToSceneSharesTexturesAndFailureLeavesSceneAlone) {
    Scene scene;
    const std::size_t before = scene.objectCount();
    ImportResult missing = importObj("/nonexistent/file.obj");
    EXPECT_FALSE(missing.ok());
    EXPECT_EQ(scene.objectCount(), before);

    SceneTexture& cached = scene.addTexture("a.png");
    ImportResult r = read("mtllib l.mtl\nusemtl m\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n",
                          memoryFiles({{"l.mtl", "newmtl m\nmap_Kd a.png\n"}, {"a.png", ""}}));
    ASSERT_EQ(addToScene(r, scene), 1u);
    EXPECT_EQ(scene.objectCount(), before + 1);
    EXPECT_EQ(scene.objects().back()->textures[0], &cached);
    EXPECT_EQ(scene.textures().size(), 1u);
    EXPECT_TRUE(r.objects.empty());
}

}  // namespace
}  // namespace morvanex
