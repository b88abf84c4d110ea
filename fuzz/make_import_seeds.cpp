// Writes the seed corpora of the importer fuzzers: small OBJ (with a
// material library after a NUL byte), 3DS and COLLADA files.
//
//   make_import_seeds FOLDER     (writes FOLDER/obj, FOLDER/3ds, FOLDER/dae)
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

void write(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string le(std::uint32_t v, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
    return s;
}
std::string chunk(std::uint16_t id, const std::string& body) {
    return le(id, 2) + le(static_cast<std::uint32_t>(body.size() + 6), 4) + body;
}
std::string f32(float f) {
    std::uint32_t u = 0;
    static_assert(sizeof u == sizeof f);
    std::memcpy(&u, &f, 4);
    return le(u, 4);
}

std::string threeDs(bool withMaterial) {
    std::string verts = le(4, 2);
    const float p[12] = {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 1};
    for (float v : p) verts += f32(v);
    std::string faces = le(2, 2) + le(0, 2) + le(1, 2) + le(2, 2) + le(0, 2) + le(0, 2) + le(2, 2) + le(3, 2) + le(0, 2);
    faces += chunk(0x4150, le(1, 4) + le(3, 4));
    std::string material;
    if (withMaterial) {
        faces += chunk(0x4130, std::string("m\0", 2) + le(2, 2) + le(0, 2) + le(1, 2));
        material = chunk(0xAFFF, chunk(0xA000, std::string("m\0", 2)) +
                                     chunk(0xA020, chunk(0x0011, std::string("\xFF\x80\x00", 3))) +
                                     chunk(0xA200, chunk(0xA300, std::string("wood.bmp\0", 9))));
    }
    std::string tex = le(4, 2);
    for (int i = 0; i < 8; ++i) tex += f32(static_cast<float>(i % 2));
    const std::string mesh = chunk(0x4100, chunk(0x4110, verts) + chunk(0x4120, faces) + chunk(0x4140, tex) +
                                               chunk(0x4160, std::string(48, '\0')));
    return chunk(0x4D4D, chunk(0x0002, le(3, 4)) +
                             chunk(0x3D3D, chunk(0x3D3E, le(3, 4)) + material +
                                               chunk(0x4000, std::string("box\0", 4) + mesh)));
}

const char* kCollada = R"(<?xml version="1.0" encoding="utf-8"?>
<COLLADA version="1.4.1"><asset><unit meter="0.01"/><up_axis>Z_UP</up_axis></asset>
<library_images><image id="img"><init_from>tex%20ture.png</init_from></image></library_images>
<library_effects><effect id="fx"><profile_COMMON><newparam sid="surf"><surface type="2D"><init_from>img</init_from></surface></newparam>
<newparam sid="samp"><sampler2D><source>surf</source></sampler2D></newparam><technique sid="c"><phong>
<diffuse><texture texture="samp" texcoord="uv"/></diffuse></phong></technique></profile_COMMON></effect></library_effects>
<library_materials><material id="mat"><instance_effect url="#fx"/></material></library_materials>
<library_geometries><geometry id="g"><mesh>
<source id="p"><float_array id="pa" count="12">0 0 0 1 0 0 1 1 0 0 1 0</float_array><technique_common><accessor source="#pa" count="4" stride="3"/></technique_common></source>
<source id="n"><float_array id="na" count="3">0 0 1</float_array><technique_common><accessor source="#na" count="1" stride="3"/></technique_common></source>
<source id="t"><float_array id="ta" count="8">0 0 1 0 1 1 0 1</float_array><technique_common><accessor source="#ta" count="4" stride="2"/></technique_common></source>
<vertices id="v"><input semantic="POSITION" source="#p"/></vertices>
<polylist count="2" material="sym"><input semantic="VERTEX" source="#v" offset="0"/><input semantic="NORMAL" source="#n" offset="1"/><input semantic="TEXCOORD" source="#t" offset="2" set="0"/><vcount>4 3</vcount><p>0 0 0 1 0 1 2 0 2 3 0 3 0 0 0 2 0 2 3 0 3</p></polylist>
<polygons count="1"><input semantic="VERTEX" source="#v" offset="0"/><p>0 1 2 3</p><ph><p>0 1 2</p><h>1 2 3</h></ph></polygons>
<tristrips count="1"><input semantic="VERTEX" source="#v" offset="0"/><p>0 1 3 2</p></tristrips>
<trifans count="1"><input semantic="VERTEX" source="#v" offset="0"/><p>0 1 2 3</p></trifans>
</mesh></geometry></library_geometries>
<library_controllers><controller id="c"><skin source="#g"><bind_shape_matrix>1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1</bind_shape_matrix>
<source id="j"><Name_array id="ja" count="2">root arm</Name_array><technique_common><accessor source="#ja" count="2"/></technique_common></source>
<source id="ib"><float_array id="iba" count="32">1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1 1 0 0 -1 0 1 0 0 0 0 1 0 0 0 0 1</float_array><technique_common><accessor source="#iba" count="2" stride="16"/></technique_common></source>
<source id="w"><float_array id="wa" count="3">1 0.5 0.5</float_array><technique_common><accessor source="#wa" count="3"/></technique_common></source>
<joints><input semantic="JOINT" source="#j"/><input semantic="INV_BIND_MATRIX" source="#ib"/></joints>
<vertex_weights count="4"><input semantic="JOINT" source="#j" offset="0"/><input semantic="WEIGHT" source="#w" offset="1"/><vcount>1 2 1 1</vcount><v>0 0 0 1 1 2 1 0 0 0</v></vertex_weights></skin></controller></library_controllers>
<library_animations><animation id="a"><source id="tin"><float_array id="tina" count="2">0 1</float_array><technique_common><accessor source="#tina" count="2"/></technique_common></source>
<source id="tout"><float_array id="touta" count="2">0 90</float_array><technique_common><accessor source="#touta" count="2"/></technique_common></source>
<sampler id="s"><input semantic="INPUT" source="#tin"/><input semantic="OUTPUT" source="#tout"/></sampler><channel source="#s" target="arm/r.ANGLE"/></animation></library_animations>
<library_nodes><node id="lib"><instance_node url="#lib"/></node></library_nodes>
<library_visual_scenes><visual_scene id="vs"><node id="model" name="model"><matrix>1 0 0 1 0 1 0 0 0 0 1 0 0 0 0 1</matrix><instance_controller url="#c"><bind_material><technique_common><instance_material symbol="sym" target="#mat"/></technique_common></bind_material></instance_controller></node>
<node id="root" sid="root" name="root"><node id="arm" sid="arm" name="arm"><translate>0 1 0</translate><rotate sid="r">0 0 1 0</rotate><instance_node url="#lib"/></node></node></visual_scene></library_visual_scenes>
<scene><instance_visual_scene url="#vs"/></scene></COLLADA>
)";

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_import_seeds FOLDER\n");
        return 2;
    }
    const fs::path root = argv[1];
    for (const char* sub : {"obj", "3ds", "dae"}) fs::create_directories(root / sub);
    const std::string mtl = "newmtl red\nKd 1 0 0\nd 0.5\nmap_Kd -s 1 1 1 tex\\brick.png\nnewmtl blue\nKs 0 0 1\n";
    write(root / "obj" / "quads.obj",
          "mtllib lib.mtl\nv 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0.5 0.2 0\nvt 0 0\nvt 1 1\nvn 0 0 1\n"
          "g a b\nusemtl red\nf 1/1/1 2/2/1 3/1/1 4/2/1\nf -1//1 -2//1 -3//1\nusemtl blue\nf 1 5 3 \\\n 4\n"
          "o other\nl 1 2 3\ns 1\np 1\nvp 0.5\nf 1/1 2/2 3/1\r\n" + std::string(1, '\0') + mtl);
    write(root / "obj" / "bare.obj", "v 1 2 3\nv 4 5 6\nv 7 8 9\nf 1 2 3\n");
    write(root / "3ds" / "box.3ds", threeDs(true));
    write(root / "3ds" / "plain.3ds", threeDs(false));
    write(root / "dae" / "scene.dae", kCollada);
    return 0;
}
