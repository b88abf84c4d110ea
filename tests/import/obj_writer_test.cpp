// OBJ export: welding, axes, and a round trip through the reader.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "import/import_test_support.h"
#include "import/obj_reader.h"
#include "import/obj_writer.h"
#include "scene/scene.h"

namespace morvanex {
namespace {

std::size_t linesStarting(const std::string& text, std::string_view prefix) {
    std::size_t n = 0;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find('\n', at);
        if (text.compare(at, prefix.size(), prefix) == 0) ++n;
        at = end == std::string::npos ? text.size() : end + 1;
    }
    return n;
}

TEST(ObjWriter, WeldsSharedCornersWithTheirMeanNormal) {
    const ImportResult r = importObjText(
        "v 1 2 3\nv 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0.25 0.25\nvn 1 0 0\nvn 0 1 0\n"
        "g a\nf 2/1/1 3/1/1 4/1/1\nf 4/1/2 3/1/2 1/1/2\n",
        {});
    std::vector<const SceneObject*> objects;
    for (const auto& o : r.objects) objects.push_back(o.get());
    const std::string text = objText(objects);
    EXPECT_EQ(linesStarting(text, "v "), 4u);
    EXPECT_EQ(linesStarting(text, "f "), 2u);
    EXPECT_NE(text.find("v 1 2 3 \r\n"), std::string::npos);       // axes and scale undone
    EXPECT_NE(text.find("vt 0.25 0.25 \r\n"), std::string::npos);  // texture coordinate as in the file
    EXPECT_NE(text.find("vn 0.707107 0.707107 0 \r\n"), std::string::npos);  // mean of the shared corners
    EXPECT_NE(text.find("g a\r\n"), std::string::npos);
}

// Triangles as sorted lists of rounded corner positions, for comparing meshes
// whatever the corner order.
std::vector<std::array<std::array<long, 3>, 3>> triangleSet(const ImportResult& r) {
    std::vector<std::array<std::array<long, 3>, 3>> out;
    for (const auto& o : r.objects) {
        for (std::size_t i = 0; i + 2 < o->indices.size(); i += 3) {
            std::array<std::array<long, 3>, 3> t;
            for (int k = 0; k < 3; ++k) {
                const Vec3 p = o->vertices[static_cast<std::size_t>(o->indices[i + k])].position;
                t[k] = {std::lround(p.x * 100), std::lround(p.y * 100), std::lround(p.z * 100)};
            }
            std::rotate(t.begin(), std::min_element(t.begin(), t.end()), t.end());  // keep the winding
            out.push_back(t);
        }
    }
    std::sort(out.begin(), out.end());
    return out;
}

TEST(ObjWriter, ExportThenImportGivesTheSameTriangles) {
    std::string text = "g shape\n";
    for (int i = 0; i < 20; ++i) {
        text += "v " + std::to_string(i * 0.37) + " " + std::to_string(i % 5) + " " + std::to_string(-i * 1.1) + "\n";
    }
    for (int i = 0; i + 3 < 20; i += 2) {
        text += "f " + std::to_string(i + 1) + " " + std::to_string(i + 2) + " " + std::to_string(i + 3) + " " +
                std::to_string(i + 4) + "\n";
    }
    text += "g other\nf 1 5 9\n";
    ImportResult first = importObjText(text, {});
    Scene scene;
    addToScene(first, scene);
    const std::string written = objText(exportableObjects(scene));
    const ImportResult again = importObjText(written, {});
    ASSERT_EQ(again.objects.size(), 2u);
    EXPECT_EQ(again.objects[0]->name, "shape");
    ImportResult reread = importObjText(text, {});
    EXPECT_EQ(triangleSet(again), triangleSet(reread));
}

TEST(ObjWriter, ExportPathGetsTheExtension) {
    EXPECT_EQ(objExportPath("/a/b"), "/a/b.obj");
    EXPECT_EQ(objExportPath("/a/b.OBJ"), "/a/b.OBJ");
    EXPECT_EQ(objExportPath("/a/b.mrx"), "/a/b.mrx.obj");
}

}  // namespace
}  // namespace morvanex
