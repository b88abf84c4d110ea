// Every format cut at many points, and seeded byte changes: each read
// returns an error or a sound partial result, never a crash, and a failed
// import leaves the scene as it was.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "import/collada_reader.h"
#include "import/import_test_support.h"
#include "import/obj_reader.h"
#include "import/three_ds_reader.h"
#include "scene/scene.h"

namespace morvanex {
namespace {

using Reader = ImportResult (*)(const std::string&);

ImportResult readObj(const std::string& s) {
    ImportOptions options;
    options.sideFiles = testing::memoryFiles({{"m.mtl", "newmtl a\nKd 1 0 0\nmap_Kd t.png\n"}});
    return importObjText(s, options);
}
ImportResult read3ds(const std::string& s) {
    return import3dsBytes(std::span(reinterpret_cast<const std::uint8_t*>(s.data()), s.size()), {});
}
ImportResult readDae(const std::string& s) {
    return importColladaBytes(std::span(reinterpret_cast<const std::uint8_t*>(s.data()), s.size()), {});
}

std::string objSample() {
    return "mtllib m.mtl\nv 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nvt 0 0\nvn 0 0 1\ng a\nusemtl a\n"
           "f 1/1/1 2/1/1 3/1/1 4/1/1\nf -1 -2 -3\nl 1 2 3\ng b\nf 1 3 4 \\\n 2\n";
}

std::string threeDsSample() {
    // Main > editor > object "o" > mesh > vertices (3), faces (1) + smoothing, texcoords (3).
    auto le = [](std::string& s, std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    auto chunk = [&](std::uint16_t id, const std::string& body) {
        std::string c;
        le(c, id, 2);
        le(c, static_cast<std::uint32_t>(body.size() + 6), 4);
        return c + body;
    };
    std::string verts;
    le(verts, 3, 2);
    for (int i = 0; i < 9; ++i) le(verts, 0x3F800000u * (i % 2), 4);
    std::string faces;
    le(faces, 1, 2);
    le(faces, 0, 2), le(faces, 1, 2), le(faces, 2, 2), le(faces, 0, 2);
    std::string smooth;
    le(smooth, 1, 4);
    faces += chunk(0x4150, smooth);
    std::string tex;
    le(tex, 3, 2);
    for (int i = 0; i < 6; ++i) le(tex, 0, 4);
    const std::string mesh = chunk(0x4100, chunk(0x4110, verts) + chunk(0x4120, faces) + chunk(0x4140, tex));
    return chunk(0x4D4D, chunk(0x3D3D, chunk(0x4000, std::string("o\0", 2) + mesh)));
}

std::string colladaSample() {
    return "<?xml version=\"1.0\"?><COLLADA><asset><up_axis>Z_UP</up_axis></asset><library_geometries>"
           "<geometry id=\"g\"><mesh><source id=\"p\"><float_array id=\"pa\" count=\"9\">0 0 0 1 0 0 0 1 0"
           "</float_array><technique_common><accessor source=\"#pa\" count=\"3\" stride=\"3\"/></technique_common>"
           "</source><vertices id=\"v\"><input semantic=\"POSITION\" source=\"#p\"/></vertices>"
           "<polylist count=\"1\"><input semantic=\"VERTEX\" source=\"#v\" offset=\"0\"/><vcount>3</vcount>"
           "<p>0 1 2</p></polylist></mesh></geometry></library_geometries><library_visual_scenes>"
           "<visual_scene id=\"s\"><node id=\"n\"><translate sid=\"t\">1 2 3</translate>"
           "<instance_geometry url=\"#g\"/></node></visual_scene></library_visual_scenes>"
           "<scene><instance_visual_scene url=\"#s\"/></scene></COLLADA>";
}

void expectSound(const ImportResult& r, const std::string& what) {
    if (!r.ok()) {
        EXPECT_TRUE(r.objects.empty()) << what;
        return;
    }
    EXPECT_TRUE(testing::indicesSound(r)) << what;
}

TEST(ImportDamage, EveryCutAndSeededChangesReturnSoundResults) {
    const std::vector<std::pair<Reader, std::string>> samples{
        {readObj, objSample()}, {read3ds, threeDsSample()}, {readDae, colladaSample()}};
    std::mt19937 random(17);
    for (const auto& [reader, sample] : samples) {
        ASSERT_GT(testing::totalTriangles(reader(sample)), 0u);
        for (std::size_t cut = 0; cut < sample.size(); ++cut) {
            expectSound(reader(sample.substr(0, cut)), "cut at " + std::to_string(cut));
        }
        for (int round = 0; round < 300; ++round) {
            std::string changed = sample;
            for (int k = 0; k < 3; ++k) {
                changed[random() % changed.size()] = static_cast<char>(random() % 256);
            }
            expectSound(reader(changed), "round " + std::to_string(round));
        }
    }
}

TEST(ImportDamage, TheReportTellsDamageFromChangesMadeToFit) {
    std::string cut3ds = threeDsSample();
    cut3ds.resize(cut3ds.size() - 5);  // the texture list's chunk now claims more than its parent holds
    std::string brokenDae = colladaSample();
    brokenDae.resize(brokenDae.find("<library_visual_scenes>"));
    const struct {
        const char* what;
        ImportResult result;
        bool damaged;
    } cases[] = {
        {"whole samples", readObj(objSample()), false},
        {"", read3ds(threeDsSample()), false},
        {"", readDae(colladaSample()), false},
        {"obj index outside its list", readObj("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 9\nf 1 2 3\n"), true},
        {"obj unreadable number", readObj("v 0 x 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n"), true},
        {"obj quad triangulated, no normals", readObj("v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3 4\n"), false},
        {"3ds chunk cut", read3ds(cut3ds), true},
        {"collada cut before its end", readDae(brokenDae), true},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(c.result.ok()) << c.what;
        EXPECT_EQ(c.result.report.damaged(), c.damaged) << c.what;
    }
}

TEST(ImportDamage, AFailedImportLeavesTheSceneAsItWas) {
    Scene scene;
    scene.addObject("kept");
    const std::size_t before = scene.objectCount();
    for (const std::string& bad : {std::string("not a 3ds file"), std::string("<COLLADA"), std::string()}) {
        ImportResult r = bad.empty() ? readDae(bad) : (bad[0] == '<' ? readDae(bad) : read3ds(bad));
        EXPECT_FALSE(r.ok()) << bad;
        if (r.ok()) addToScene(r, scene);
    }
    EXPECT_EQ(scene.objectCount(), before);
    EXPECT_EQ(scene.objects().back()->name, "kept");
}

TEST(ImportDamage, HostileCountsAndHugePolygonsStayBounded) {
    // A 3DS vertex count far past the chunk, a COLLADA array claiming a
    // billion items, an OBJ polygon of many corners.
    std::string obj = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf";
    for (int i = 0; i < 20000; ++i) obj += (i % 2) ? " 1" : " 2", obj += (i % 3) ? " 3" : " 4";
    const ImportResult big = readObj(obj + "\n");
    EXPECT_EQ(testing::totalTriangles(big), 40000u - 2u);
    std::string dae = colladaSample();
    dae.replace(dae.find("count=\"9\""), 9, "count=\"999999999\"");
    EXPECT_EQ(testing::totalTriangles(readDae(dae)), 1u);
    std::string tds = threeDsSample();
    tds[tds.find('\x10', 6) + 6] = '\xFF';  // vertex count 0xFF03
    tds[tds.find('\x10', 6) + 7] = '\xFF';
    expectSound(read3ds(tds), "hostile count");
}

}  // namespace
}  // namespace morvanex
