// The command-line jobs on model files (.obj, .3ds, .dae), in-process on
// small files written to a temporary folder: what info describes, what
// convert writes, what render draws, and the exit statuses of each.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/render_command.h"
#include "app/scene_commands.h"
#include "app/test_support.h"
#include "image/image_codec.h"
#include "import/obj_reader.h"
#include "modeling/object_transform.h"
#include "render/camera.h"
#include "scene/scene.h"
#include "scene/scene_object.h"
#include "scenefile/scene_reader.h"

namespace morvanex {
namespace {

namespace fs = std::filesystem;

using test::Outcome;
using test::contains;
Outcome run(const std::string& command, const std::vector<std::string>& arguments) {
    return test::runCommand(command, arguments);
}

// A unit square as one quad, with a material whose texture is not there.
constexpr const char* kQuadObj =
    "mtllib m.mtl\nv 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\ng carre\nusemtl brique\nf 1 2 3 4\n";
constexpr const char* kQuadMtl = "newmtl brique\nKd 1 0 0\nmap_Kd brique.png\n";
// One good triangle and one face naming a position the file lacks.
constexpr const char* kDamagedObj = "v 0 0 0\nv 1 0 0\nv 0 1 0\ng tri\nf 1 2 3\nf 1 2 9\n";

// A 3DS file of one object named "tri": a closed tetrahedron, seen from
// wherever the camera stands.
std::string triangle3ds() {
    const auto le = [](std::string& s, std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    const auto chunk = [&](std::uint16_t id, const std::string& body) {
        std::string c;
        le(c, id, 2);
        le(c, static_cast<std::uint32_t>(body.size() + 6), 4);
        return c + body;
    };
    std::string vertices;
    le(vertices, 4, 2);
    for (const float f : {0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f}) {
        std::uint32_t bits;
        std::memcpy(&bits, &f, 4);
        le(vertices, bits, 4);
    }
    std::string faces;
    le(faces, 4, 2);
    for (const std::uint32_t v : {0u, 2u, 1u, 0u, 0u, 1u, 3u, 0u, 0u, 3u, 2u, 0u, 1u, 2u, 3u, 0u}) le(faces, v, 2);
    const std::string mesh = chunk(0x4100, chunk(0x4110, vertices) + chunk(0x4120, faces));
    return chunk(0x4D4D, chunk(0x3D3D, chunk(0x4000, std::string("tri\0", 4) + mesh)));
}

constexpr const char* kTriangleDae =
    "<?xml version=\"1.0\"?><COLLADA><library_geometries><geometry id=\"g\"><mesh>"
    "<source id=\"p\"><float_array id=\"pa\" count=\"9\">0 0 0 1 0 0 0 1 0</float_array><technique_common>"
    "<accessor source=\"#pa\" count=\"3\" stride=\"3\"/></technique_common></source>"
    "<vertices id=\"v\"><input semantic=\"POSITION\" source=\"#p\"/></vertices><triangles count=\"1\">"
    "<input semantic=\"VERTEX\" source=\"#v\" offset=\"0\"/><p>0 1 2</p></triangles></mesh></geometry>"
    "</library_geometries></COLLADA>";

class ModelCommands : public ::testing::Test {
protected:
    ModelCommands() {
        write("carre.obj", kQuadObj);
        write("m.mtl", kQuadMtl);
        write("abime.obj", kDamagedObj);
        write("tri.3ds", triangle3ds());
        write("tri.dae", kTriangleDae);
        write("vide.obj", "# nothing\n");
        write("faux.dae", "<COLLADA><library_geometries>");
    }
    std::string write(const std::string& name, const std::string& bytes) {
        test::writeBytes(folder_.path() / name, bytes);
        return at(name);
    }
    std::string at(const std::string& name) const { return (folder_.path() / name).string(); }

    test::TempFolder folder_;
};

TEST_F(ModelCommands, InfoTellsWhatAnImportWouldAddAndExitsByItsReport) {
    const struct {
        const char* file;
        int status;
        std::vector<const char*> said;  // in the text output
    } cases[] = {
        {"carre.obj", kSceneCommandOk,
         {"format: OBJ\n", "status: complete\n", "\"carre\"\n     6 vertices, 2 triangles\n",
          "texture: \"brique.png\" (missing)", "\"brique.png\": missing\n",
          "polygons with more than three corners, triangulated: 1\n"}},
        {"abime.obj", kSceneCommandDamaged,
         {"status: damaged\n", "damage: faces with an index outside its list, skipped: 1\n"}},
        {"tri.3ds", kSceneCommandOk, {"format: 3DS\n", "\"tri\"\n     12 vertices, 4 triangles\n"}},
        {"tri.dae", kSceneCommandOk, {"format: COLLADA\n", "objects: 1\n", "animations: 0\n", "skeletons: 0\n"}},
        {"vide.obj", kSceneCommandFailed, {"status: unreadable\n", "error: nothing to import"}},
        {"absent.3ds", kSceneCommandFailed, {"error: cannot open the file\n"}},
    };
    for (const auto& c : cases) {
        const Outcome text = run("info", {at(c.file)});
        EXPECT_EQ(text.status, c.status) << c.file << ": " << text.err;
        // Only a file that was imported is described on stdout, as for scene files.
        const Outcome json = run("info", {"--json", at(c.file)});
        EXPECT_EQ(json.status, c.status) << c.file;
        ASSERT_FALSE(json.out.empty()) << c.file;
        EXPECT_EQ(json.out.substr(json.out.size() - 2), "}\n") << c.file;
        if (c.status == kSceneCommandFailed) {
            EXPECT_TRUE(text.out.empty()) << text.out;
            EXPECT_FALSE(text.err.empty()) << c.file;
            EXPECT_TRUE(contains(json.out, "\"status\":\"unreadable\",\"error\":\"")) << json.out;
            continue;
        }
        for (const char* part : c.said) EXPECT_TRUE(contains(text.out, part)) << c.file << " lacks " << part << "\n" << text.out;
    }
    const Outcome quad = run("info", {at("carre.obj"), "--json"});
    EXPECT_TRUE(contains(quad.out, "\"objects\":[{\"name\":\"carre\",\"vertices\":6,\"triangles\":2,"
                                   "\"texture\":\"brique.png\",\"parent\":null}]"))
        << quad.out;
    EXPECT_TRUE(contains(quad.out, "\"textures\":[{\"file\":\"brique.png\",\"path\":null,\"missing\":true}]"));
    EXPECT_TRUE(contains(quad.out, "{\"text\":\"polygons with more than three corners, triangulated\","
                                   "\"count\":1,\"damage\":false}"));
}

TEST_F(ModelCommands, ConvertWritesModelsAsScenesAndScenesAsObj) {
    // A model becomes a scene file holding its objects.
    Outcome r = run("convert", {at("carre.obj"), at("carre.mrx")});
    ASSERT_EQ(r.status, kSceneCommandOk) << r.err;
    EXPECT_TRUE(contains(r.err, "warning: polygons with more than three corners, triangulated: 1")) << r.err;
    Scene read;
    ASSERT_EQ(readSceneFile(at("carre.mrx"), read, {}).status, ReadStatus::Complete);
    ASSERT_NE(read.findObject("carre"), nullptr);
    EXPECT_EQ(read.findObject("carre")->indexCount(), 6u);

    // That scene file written as OBJ imports to the same triangles.
    r = run("convert", {at("carre.mrx"), at("retour.obj")});
    ASSERT_EQ(r.status, kSceneCommandOk) << r.err;
    EXPECT_TRUE(contains(r.out, "1 object written as OBJ")) << r.out;
    const ImportResult back = importObj(at("retour.obj"));
    ASSERT_EQ(back.objects.size(), 1u);
    EXPECT_EQ(back.objects[0]->name, "carre");
    EXPECT_EQ(back.objects[0]->indexCount(), 6u);

    // A model straight to OBJ: 3DS and COLLADA files are read, never written.
    EXPECT_EQ(run("convert", {at("tri.3ds"), at("tri.obj")}).status, kSceneCommandOk);
    EXPECT_EQ(importObj(at("tri.obj")).objects.size(), 1u);
    r = run("convert", {at("carre.obj"), at("carre.dae")});
    EXPECT_EQ(r.status, kSceneCommandFailed);
    EXPECT_FALSE(fs::exists(at("carre.dae")));
}

// A scene made from a model opens as the editor shows it after the import:
// looking at the model (OBJ frames it, 3DS gets everything framed), under
// lights that reach every side.
TEST_F(ModelCommands, ConvertedModelScenesOpenLookingAtTheModel) {
    for (const char* model : {"carre.obj", "tri.3ds"}) {
        const std::string scene = at(std::string(model) + ".mrx");
        ASSERT_EQ(run("convert", {at(model), scene}).status, kSceneCommandOk) << model;
        Scene read;
        ASSERT_EQ(readSceneFile(scene, read, {}).status, ReadStatus::Complete) << model;
        rebuildWorldMatrices(read);
        const SceneObject* object = read.findObject(model[0] == 'c' ? "carre" : "tri");
        ASSERT_NE(object, nullptr) << model;
        CameraState camera;
        camera.fieldOfView = read.fieldOfView;
        const Mat4 viewProjection =
            cameraViewMatrix(read.eyeTarget, read.yaw, read.pitch) * cameraProjection(camera, 1280.0f, 720.0f, false);
        for (const Vec3& p : worldBoxCorners(object->boundsMin, object->boundsMax, object->worldMatrix)) {
            const Vec4 clip = transform(Vec4{p.x, p.y, p.z, 1.0f}, viewProjection);
            ASSERT_GT(clip.w, 0.0f) << model;
            EXPECT_LE(std::abs(clip.x / clip.w), 1.0f) << model;
            EXPECT_LE(std::abs(clip.y / clip.w), 1.0f) << model;
        }
        EXPECT_GE(read.activeLightCount, 2) << model;
    }
}

TEST_F(ModelCommands, ConvertRefusesDamagedOrUnimportableModelsUnlessTold) {
    Outcome r = run("convert", {at("abime.obj"), at("abime.mrx")});
    EXPECT_EQ(r.status, kSceneCommandDamaged);
    EXPECT_TRUE(contains(r.err, "not converted")) << r.err;
    EXPECT_FALSE(fs::exists(at("abime.mrx")));

    r = run("convert", {"--keep-damaged", at("abime.obj"), at("abime.mrx")});
    EXPECT_EQ(r.status, kSceneCommandDamaged);
    Scene read;
    ASSERT_EQ(readSceneFile(at("abime.mrx"), read, {}).status, ReadStatus::Complete);
    ASSERT_NE(read.findObject("tri"), nullptr);
    EXPECT_EQ(read.findObject("tri")->indexCount(), 3u);  // the good triangle only

    for (const char* bad : {"vide.obj", "faux.dae", "absent.3ds"}) {
        r = run("convert", {at(bad), at("sortie.mrx")});
        EXPECT_EQ(r.status, kSceneCommandFailed) << bad;
        EXPECT_FALSE(fs::exists(at("sortie.mrx"))) << bad;
    }
}

// The share of the image that differs from its corner (the background).
double shareDrawn(const fs::path& png) {
    const std::string bytes = test::readBytes(png);
    const ImageResult image = decodeImage({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
    if (!image) return 0.0;
    const auto& pixels = image.image->level(0, 0).bytes;
    const std::size_t count = pixels.size() / 4;
    std::size_t drawn = 0;
    for (std::size_t i = 0; i < count; ++i) {
        int difference = 0;
        for (std::size_t k = 0; k < 3; ++k) difference += std::abs(pixels[i * 4 + k] - pixels[k]);
        drawn += difference > 12 ? 1 : 0;
    }
    return static_cast<double>(drawn) / static_cast<double>(count);
}

TEST_F(ModelCommands, RenderDrawsAnImportedModelInView) {
    // OBJ asks for the camera to frame its object; 3DS leaves it alone, so
    // everything is framed instead. Either way the model is seen.
    for (const char* model : {"carre.obj", "tri.3ds", "tri.dae"}) {
        const fs::path png = folder_.path() / (std::string(model) + ".png");
        std::ostringstream out, err;
        const int status = runRenderCommand({at(model), "-o", png.string(), "--size", "240x180", "--frames", "2",
                                             "--samples", "1"},
                                            out, err);
        ASSERT_EQ(status, kSceneCommandOk) << model << ": " << err.str();
        EXPECT_GT(shareDrawn(png), 0.05) << model;
    }
    std::ostringstream out, err;
    const fs::path png = folder_.path() / "vide.png";
    EXPECT_EQ(runRenderCommand({at("vide.obj"), "-o", png.string(), "--frames", "1"}, out, err), kSceneCommandFailed);
    EXPECT_FALSE(fs::exists(png));
    EXPECT_EQ(runRenderCommand({at("abime.obj"), "-o", png.string(), "--frames", "1", "--size", "16x16"}, out, err),
              kSceneCommandDamaged);
    EXPECT_TRUE(fs::exists(png));  // what could be read is drawn
}

}  // namespace
}  // namespace morvanex
