// 3DS import: axes, winding, texture coordinates, materials, smoothing and
// chunk lengths that lie.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "import/import_test_support.h"
#include "import/three_ds_reader.h"

namespace morvanex {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::near;

void put16(Bytes& b, std::uint16_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void put32(Bytes& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void putFloat(Bytes& b, float f) {
    std::uint32_t u = 0;
    std::memcpy(&u, &f, 4);
    put32(b, u);
}
void putText(Bytes& b, const std::string& s) {
    b.insert(b.end(), s.begin(), s.end());
    b.push_back(0);
}
Bytes chunk(std::uint16_t id, const Bytes& body) {
    Bytes b;
    put16(b, id);
    put32(b, static_cast<std::uint32_t>(body.size() + 6));
    b.insert(b.end(), body.begin(), body.end());
    return b;
}
Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct MeshSpec {
    std::string name;
    std::vector<Vec3> vertices;
    std::vector<std::array<std::uint16_t, 3>> faces;
    std::vector<Vec2> texcoords;
    std::vector<std::uint32_t> smoothing;
    std::string material;
};

Bytes object(const MeshSpec& m) {
    Bytes vertices;
    put16(vertices, static_cast<std::uint16_t>(m.vertices.size()));
    for (Vec3 v : m.vertices) putFloat(vertices, v.x), putFloat(vertices, v.y), putFloat(vertices, v.z);
    Bytes faces;
    put16(faces, static_cast<std::uint16_t>(m.faces.size()));
    for (const auto& f : m.faces) put16(faces, f[0]), put16(faces, f[1]), put16(faces, f[2]), put16(faces, 0);
    if (!m.smoothing.empty()) {
        Bytes s;
        for (std::uint32_t g : m.smoothing) put32(s, g);
        faces = faces + chunk(0x4150, s);
    }
    if (!m.material.empty()) {
        Bytes g;
        putText(g, m.material);
        put16(g, static_cast<std::uint16_t>(m.faces.size()));
        for (std::uint16_t f = 0; f < m.faces.size(); ++f) put16(g, f);
        faces = faces + chunk(0x4130, g);
    }
    Bytes mesh = chunk(0x4110, vertices) + chunk(0x4120, faces);
    if (!m.texcoords.empty()) {
        Bytes t;
        put16(t, static_cast<std::uint16_t>(m.texcoords.size()));
        for (Vec2 c : m.texcoords) putFloat(t, c.x), putFloat(t, c.y);
        mesh = mesh + chunk(0x4140, t);
    }
    Bytes body;
    putText(body, m.name);
    return chunk(0x4000, body + chunk(0x4100, mesh));
}

Bytes file(const Bytes& editorContent) { return chunk(0x4D4D, chunk(0x0002, {3, 0, 0, 0}) + chunk(0x3D3D, editorContent)); }

const MeshSpec kTriangle{"tri", {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}, {{0, 1, 2}}, {}, {}, ""};

TEST(ThreeDsReader, AxesWindingAndMissingTexcoords) {
    MeshSpec second = kTriangle;
    second.name = "tri";  // names are not made unique
    second.texcoords = {{0.25f, 0.25f}, {0, 0}, {1, 1}};
    const Bytes bytes = file(object(kTriangle) + object(second) + object({"lamp", {}, {}, {}, {}, ""}));
    const ImportResult r = import3dsBytes(bytes, {});
    ASSERT_TRUE(r.ok()) << r.error;
    ASSERT_EQ(r.objects.size(), 2u);
    const auto& v = r.objects[0]->vertices;
    ASSERT_EQ(v.size(), 3u);
    EXPECT_TRUE(near(v[0].position, {1, 3, 2}));  // Y and Z exchanged
    EXPECT_TRUE(near(v[1].position, {7, 9, 8}));  // face (0, 1, 2) drawn (0, 2, 1)
    EXPECT_TRUE(near(v[0].texcoord, {0, 0}));
    EXPECT_TRUE(near(r.objects[1]->vertices[0].texcoord, {0.25f, 0.75f}));
    EXPECT_EQ(r.objects[1]->name, "tri");
    EXPECT_EQ(r.report.countOf("3DS objects without faces (lights, cameras, empty meshes), not added"), 1u);
}

TEST(ThreeDsReader, SmoothingGroupsShareNormalsAndMaterialsApply) {
    // Two faces folded along an edge: in one smoothing group they share the
    // mean normal at the edge; without groups each is flat.
    MeshSpec fold{"fold", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, {{0, 1, 2}, {0, 3, 1}}, {}, {1, 1}, "red"};
    Bytes mat;
    Bytes name;
    putText(name, "red");
    Bytes rgb;
    putFloat(rgb, 1), putFloat(rgb, 0), putFloat(rgb, 0);
    Bytes map;
    putText(map, "maps\\wood.bmp");
    mat = chunk(0xAFFF, chunk(0xA000, name) + chunk(0xA020, chunk(0x0010, rgb)) + chunk(0xA200, chunk(0xA300, map)));
    const ImportResult r = import3dsBytes(file(mat + object(fold)), {});
    ASSERT_EQ(r.objects.size(), 1u);
    const SceneObject& o = *r.objects[0];
    EXPECT_EQ(o.materialColours[0].x, 1.0f);
    ASSERT_NE(o.textures[0], nullptr);
    EXPECT_EQ(o.textures[0]->fileName, "wood.bmp");
    EXPECT_TRUE(o.textures[0]->missing);
    // Corner 0 of face 0 (vertex 0) and corner 0 of face 1 (vertex 0) share a normal.
    EXPECT_TRUE(near(o.vertices[0].normal, o.vertices[3].normal));
    EXPECT_NEAR(length(o.vertices[0].normal), 1.0f, 1e-5f);

    fold.smoothing.clear();
    const ImportResult flat = import3dsBytes(file(object(fold)), {});
    EXPECT_FALSE(near(flat.objects[0]->vertices[0].normal, flat.objects[0]->vertices[3].normal));
}

TEST(ThreeDsReader, LyingLengthsAndBadIndices) {
    EXPECT_FALSE(import3dsBytes(Bytes{1, 2, 3, 4, 5, 6, 7}, {}).ok());
    // A face pointing past the vertex list is skipped, the others kept.
    MeshSpec bad = kTriangle;
    bad.faces.push_back({0, 1, 7});
    Bytes bytes = file(object(bad) + object(kTriangle));
    ImportResult r = import3dsBytes(bytes, {});
    EXPECT_EQ(testing::totalTriangles(r), 2u);
    EXPECT_EQ(r.report.countOf("3DS faces with a vertex index outside the vertex list, skipped"), 1u);
    // A zero-length chunk after the first object: the first is kept.
    Bytes zero = object(kTriangle);
    put16(zero, 0x4000);
    put32(zero, 0);
    r = import3dsBytes(file(zero + object(kTriangle)), {});
    EXPECT_EQ(r.objects.size(), 1u);
    EXPECT_EQ(r.report.countOf("3DS chunks with an impossible length; the rest of their parent skipped"), 1u);
    // A main chunk claiming more than the file holds is cut to it.
    bytes = file(object(kTriangle));
    bytes[2] = 0xFF, bytes[3] = 0xFF, bytes[4] = 0xFF, bytes[5] = 0x7F;
    r = import3dsBytes(bytes, {});
    EXPECT_EQ(r.objects.size(), 1u);
    EXPECT_GE(r.report.countOf("3DS chunks longer than their parent, cut to it"), 1u);
}

}  // namespace
}  // namespace morvanex
