// Writes the seed corpus of the scene reader fuzzer: a handful of small
// newest-version scene files made with writeScene.
//
//   make_seeds FOLDER
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "scene/scene.h"
#include "scenefile/scene_writer.h"

namespace {

using namespace morvanex;

void giveMesh(SceneObject& o, int vertexCount, int triangles, float shift) {
    std::vector<MeshVertex> vertices;
    for (int i = 0; i < vertexCount; ++i) {
        MeshVertex v;
        const float f = static_cast<float>(i);
        v.position = {f + shift, f * 0.5f, -f};
        v.normal = {0.0f, 1.0f, 0.0f};
        v.texcoord = {f * 0.25f, 0.5f};
        v.texcoord2 = v.texcoord;
        vertices.push_back(v);
    }
    std::vector<std::int32_t> indices;
    for (int t = 0; t < triangles; ++t) {
        for (int k = 0; k < 3; ++k) indices.push_back((t + k) % vertexCount);
    }
    o.assignMesh(std::move(vertices), std::move(indices));
}

CurvePoint point(float x, std::int32_t step = 0) {
    CurvePoint p;
    p.point = {x, 1.0f, 2.0f};
    p.handle1 = {x - 1.0f, 1.0f, 2.0f};
    p.handle2 = {x + 1.0f, 1.0f, 2.0f};
    p.step = step;
    p.resetAnimated();
    return p;
}

SceneTexture& embeddedTexture(Scene& scene, const char* name, std::uint8_t shade) {
    SceneTexture& texture = scene.addTexture(name);
    texture.embedded = true;
    for (int i = 0; i < 24; ++i) texture.embeddedBytes.push_back(static_cast<std::uint8_t>(shade + i));
    return texture;
}

// Objects with textures, curves and links; an animation with a child tree,
// sequences, key images and states.
void richScene(Scene& scene) {
    scene.settings.groundImageName = "sol.jpg";
    scene.viewpoints.push_back({{1.0f, 2.0f, 3.0f}, 0.5f, 0.25f, "vue.bmp", ""});
    SceneTexture& skin = embeddedTexture(scene, "peau.bmp", 0x20);
    SceneObject& body = scene.addObject("corps");
    giveMesh(body, 6, 3, 0.0f);
    body.textures[0] = &skin;
    body.textureEnabled[0] = true;
    body.profileCurves[0] = {true, {point(1), point(2)}};
    body.timedPath.present = true;
    body.timedPath.paths[0] = {point(3, 1)};
    body.timedPath.paths[1] = {point(4, 2)};
    SceneObject& arm = scene.addObject("bras");
    giveMesh(arm, 4, 2, 5.0f);
    arm.textures[1] = &skin;
    arm.textureEnabled[1] = true;
    arm.linkGroupName = "chaine";
    arm.links.resize(2);
    arm.links[1].position = {2.0f, 0.0f, 0.0f};
    arm.sweepCurves.present = true;
    arm.sweepCurves.curves[0] = {point(5)};
    arm.thirdPath = {true, {point(6, 3)}};
    SceneObject& hand = scene.addObject("main");
    giveMesh(hand, 3, 1, 9.0f);
    body.addChild(arm);
    arm.addChild(hand);

    Animation& walk = scene.addAnimation("corps");
    walk.target = &body;
    body.animation = arm.animation = hand.animation = &walk;
    walk.sequenceReferenceNames[0] = "marche";
    walk.sequenceReferenceNames[3] = "marche";
    Sequence& march = walk.addSequence("marche");
    for (double t : {0.0, 1.0, 2.5}) {
        KeyImage& key = march.addKeyImage(t);
        ObjectState& state = key.addState(&arm);
        state.position = {static_cast<float>(t), 0.0f, 0.0f};
        state.curves[0] = {true, {point(static_cast<float>(t))}};
        state.soundFileName = "pas.wav";
        state.soundEnabled = true;
        key.addState(&hand).opacity = 0.5f;
    }
    walk.resolveSequenceReferences();
}

void cameraScene(Scene& scene) {
    SceneObject& box = scene.addObject("boite");
    giveMesh(box, 3, 1, 0.0f);
    Animation& ride = scene.addAnimation("Camera");
    ride.cameraFlag = 1;
    ride.target = scene.cameraObject();
    scene.cameraObject()->animation = &ride;
    ride.sequenceReferenceNames[3] = "vol";
    Sequence& flight = ride.addSequence("vol");
    for (double t : {1.0, 2.0}) flight.addKeyImage(t).addState(scene.cameraObject()).position = {1.0f, 2.0f, 3.0f};
    ride.resolveSequenceReferences();
}

void meshesOnly(Scene& scene) {
    for (int i = 0; i < 3; ++i) giveMesh(scene.addObject("objet " + std::to_string(i)), 3 + i, 1 + i, static_cast<float>(i));
    scene.settings.embedTextures = true;
    SceneTexture& texture = embeddedTexture(scene, "motif.bmp", 0x90);
    scene.objects().back()->textures[2] = &texture;
    scene.objects().back()->textureEnabled[2] = true;
}

bool save(const std::filesystem::path& path, Scene& scene) {
    const std::vector<std::uint8_t> bytes = writeScene(scene, SceneWriteOptions{});
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds FOLDER\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "make_seeds: cannot create %s\n", argv[1]);
        return 1;
    }
    struct Seed {
        const char* name;
        void (*build)(Scene&);
    };
    const Seed seeds[] = {
        {"empty.mrx", [](Scene&) {}},
        {"rich.mrx", richScene},
        {"camera.mrx", cameraScene},
        {"meshes.mrx", meshesOnly},
        {"rich_and_camera.mrx", [](Scene& scene) {
             richScene(scene);
             cameraScene(scene);
         }},
    };
    for (const Seed& seed : seeds) {
        Scene scene;
        seed.build(scene);
        if (!save(folder / seed.name, scene)) {
            std::fprintf(stderr, "make_seeds: cannot write %s\n", seed.name);
            return 1;
        }
    }
    std::printf("make_seeds: %zu seeds in %s\n", std::size(seeds), argv[1]);
    return 0;
}
