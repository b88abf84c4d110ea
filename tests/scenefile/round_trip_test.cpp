// What the writer writes, the reader reads back: the same scene, and the
// same bytes when written again.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "scene/scene.h"
#include "scenefile/scene_reader.h"
#include "scenefile/scene_writer.h"

namespace morvanex {
namespace {

namespace fs = std::filesystem;

MeshVertex vertexAt(float x, float y, float z) {
    MeshVertex v;
    v.position = {x, y, z};
    v.normal = {0.0f, 0.0f, -1.0f};
    v.texcoord = {x * 0.1f, y * 0.1f};
    v.texcoord2 = v.texcoord;
    return v;
}

CurvePoint curvePoint(float x, std::int32_t step = 0) {
    CurvePoint p;
    p.point = {x, 1.0f, 2.0f};
    p.handle1 = {x - 1.0f, 1.5f, 2.0f};
    p.handle2 = {x + 1.0f, 0.5f, 2.0f};
    p.step = step;
    p.resetAnimated();
    return p;
}

// An object with a value off its default in every group of fields.
SceneObject& addRichObject(Scene& scene, const std::string& name, float offset) {
    SceneObject& o = scene.addObject(name);
    o.assignMesh({vertexAt(0, 0, offset), vertexAt(1, 0, offset), vertexAt(0, 1, offset)}, {0, 1, 2});
    o.meshValueA = 7;
    o.meshValueB = -3;
    o.meshFlagA = true;
    o.baseMatrix.m[3][0] = 4.0f;
    o.pivot = {0.5f, 0.25f, 0.0f};
    o.position = {10.0f, 20.0f, offset};
    o.positionOffset = {1.0f, 0.0f, 0.0f};
    o.rotationAxis = {0.0f, 0.0f, 1.0f};
    o.rotationAngle = 0.75f;
    o.scale = {2.0f, 2.0f, 2.0f};
    o.opacity = 0.5f;
    o.materialColours[2] = {0.1f, 0.2f, 0.3f, 0.4f};
    o.renderSwitches = {true, false, true, false, false, true, false, false, true, true};
    for (std::size_t i = 0; i < o.renderValues.size(); ++i) o.renderValues[i] = 0.5f + static_cast<float>(i);
    o.objectLightFlag = true;
    o.objectLightFlagInverse = false;
    o.objectLightCount = 3;
    o.lights[2].intensity = 0.25f;
    o.lightMode = 2;
    o.lightParameters[1].values = {1, 2, 3, 4};
    o.lightParameters[1].integers = {5, 6, 7};
    o.secondMatrixFlag = true;
    o.secondMatrix.m[0][1] = 0.5f;
    o.flagP = true;
    o.valueP = 3.5f;
    o.profileCurves[0].used = true;
    o.profileCurves[0].points = {curvePoint(0), curvePoint(5)};
    o.profileCurves[2].points = {curvePoint(9)};
    o.flagE = true;
    o.flagF2 = true;
    o.valueH2 = 8.0f;
    o.flagI1 = true;
    o.timedPath.present = true;
    o.timedPath.values = {1, 2, 3, 4, 5, 6, 7, 8};
    o.timedPath.paths[0] = {curvePoint(1, 10), curvePoint(2, 20)};
    o.timedPath.paths[1] = {curvePoint(3, 30)};
    o.timedPath.paths[2] = {curvePoint(4, 40)};
    o.timedPath.paths[3] = {curvePoint(5, 50)};
    o.timedPath.pathDClosed = true;
    o.sweepCurves.present = true;
    o.sweepCurves.values = {9, 8, 7, 6, 5, 4, 3};
    o.sweepCurves.curves[0] = {curvePoint(6)};
    o.sweepCurves.curves[3] = {curvePoint(7), curvePoint(8)};
    o.styleFlag = true;
    o.styleColour = {0.5f, 0.5f, 0.5f, 1.0f};
    o.soundFileName = "ding.wav";
    o.soundEnabled = true;
    o.soundVolume = 0.3f;
    o.soundLoop = true;
    o.valueT = 11;
    o.boneNumber = 4;
    o.flagV = false;
    o.valueW = 2.5f;
    o.thirdPath.used = true;
    o.thirdPath.points = {curvePoint(11, 3)};
    o.extensionFileName = "extra.dat";
    o.extensionValueY = 12;
    o.extensionDirection = {1.0f, 0.0f, 0.0f};
    return o;
}

void buildRichScene(Scene& scene) {
    scene.eyeTarget = {100.0f, 50.0f, -300.0f};
    scene.eye = scene.eyeTarget;
    scene.pitch = 0.2f;
    scene.yaw = 1.1f;
    scene.fieldOfView = 0.9f;
    scene.rangeValue = 150.0f;
    scene.activeLightCount = 2;
    scene.lights[1].positionOrColour = {1.0f, 2.0f, 3.0f, 1.0f};
    scene.settings.shadingMode = 2;
    scene.settings.flagA = true;
    scene.settings.flagC = true;
    scene.settings.valueE = 0.125f;
    scene.settings.groundMode = 3;
    scene.settings.groundImageName = "sol.jpg";
    scene.backgroundColour = {0.1f, 0.2f, 0.3f, 1.0f};
    scene.viewpoints.push_back({{1.0f, 2.0f, 3.0f}, 0.5f, -0.25f, "vue1.bmp", ""});

    SceneObject& body = addRichObject(scene, "corps", 0.0f);
    SceneObject& arm = addRichObject(scene, "bras", 5.0f);
    SceneObject& hand = addRichObject(scene, "main", 9.0f);
    addRichObject(scene, "Arche", 12.0f);
    body.addChild(arm);
    arm.addChild(hand);

    Animation& walk = scene.addAnimation("corps");
    walk.target = &body;
    walk.animationFlag = 1;
    walk.turnValue = 0.5f;
    body.animation = arm.animation = hand.animation = &walk;
    walk.sequenceReferenceNames[0] = "marche";
    Sequence& sequence = walk.addSequence("marche");
    sequence.repeat = true;
    sequence.startKey = 1;
    sequence.pausable = true;
    for (double t : {0.0, 1.5, 3.25}) {
        KeyImage& key = sequence.addKeyImage(t);
        ObjectState& state = key.addState(&arm);
        state.position = {static_cast<float>(t), 0.0f, 0.0f};
        state.rotationAngle = 0.3f;
        state.curves[1].used = true;
        state.curves[1].points = {curvePoint(static_cast<float>(t))};
        state.soundFileName = "pas.wav";
        state.soundEnabled = true;
        key.addState(&hand).opacity = 0.5f;
    }

    Animation& cameraRide = scene.addAnimation("Camera");
    cameraRide.cameraFlag = 1;
    cameraRide.target = scene.cameraObject();
    scene.cameraObject()->animation = &cameraRide;
    cameraRide.sequenceReferenceNames[3] = "vol";
    Sequence& flight = cameraRide.addSequence("vol");
    for (double t : {3.9, 7.8, 11.66}) flight.addKeyImage(t).addState(scene.cameraObject()).position = {1.0f, 2.0f, 3.0f};
    cameraRide.resolveSequenceReferences();
    walk.resolveSequenceReferences();
}

std::vector<std::uint8_t> write(Scene& scene) { return writeScene(scene, SceneWriteOptions{}); }

class RoundTripTest : public ::testing::Test {
protected:
    void SetUp() override {
        buildRichScene(original_);
        firstBytes_ = write(original_);
        report_ = readScene(firstBytes_, copy_, SceneReadOptions{});
    }

    Scene original_;
    Scene copy_;
    std::vector<std::uint8_t> firstBytes_;
    SceneReadReport report_;
};

TEST_F(RoundTripTest, WrittenSceneReadsCompletely) {
    ASSERT_EQ(report_.status, ReadStatus::Complete) << report_.error;
    EXPECT_EQ(report_.tag, "Morvanexv4 1.16.8");
    EXPECT_EQ(report_.objectsDeclared, 4);
    EXPECT_EQ(report_.objectRecordsRead, 4);
    EXPECT_EQ(report_.animationsDeclared, 2);
    EXPECT_EQ(copy_.objectCount(), original_.objectCount());
}

TEST_F(RoundTripTest, WritingWhatWasReadGivesTheSameBytes) {
    ASSERT_TRUE(report_.complete()) << report_.error;
    const std::vector<std::uint8_t> second = write(copy_);
    ASSERT_EQ(second.size(), firstBytes_.size());
    const auto mismatch = std::mismatch(second.begin(), second.end(), firstBytes_.begin());
    EXPECT_TRUE(mismatch.first == second.end()) << "first difference at byte " << (mismatch.first - second.begin());
}

TEST_F(RoundTripTest, HeaderComesBackAndTheEyeGlidesIn) {
    EXPECT_FLOAT_EQ(copy_.eyeTarget.x, 100.0f);
    EXPECT_FLOAT_EQ(copy_.eyeTarget.z, -300.0f);
    const Vec3 d = copy_.eyeTarget - copy_.eye;
    EXPECT_NEAR(std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z), 500.0f, 0.01f);
    EXPECT_FLOAT_EQ(copy_.fieldOfView, 0.9f);
    EXPECT_EQ(copy_.activeLightCount, 2);
    EXPECT_FLOAT_EQ(copy_.lights[1].positionOrColour.y, 2.0f);
    EXPECT_EQ(copy_.settings.shadingMode, 2);
    EXPECT_TRUE(copy_.settings.flagA);
    EXPECT_EQ(copy_.settings.groundImageName, "sol.jpg");
    ASSERT_EQ(copy_.viewpoints.size(), 1u);
    EXPECT_EQ(copy_.viewpoints[0].imageFileName, "vue1.bmp");
    EXPECT_FLOAT_EQ(copy_.backgroundColour.z, 0.3f);
}

TEST_F(RoundTripTest, ObjectFieldsComeBack) {
    const SceneObject* arm = copy_.findObject("bras");
    ASSERT_NE(arm, nullptr);
    EXPECT_EQ(arm->vertexCount(), 3u);
    EXPECT_EQ(arm->indices, (std::vector<std::int32_t>{0, 1, 2}));
    EXPECT_FLOAT_EQ(arm->vertices[1].position.x, 1.0f);
    EXPECT_FLOAT_EQ(arm->position.z, 5.0f);
    EXPECT_FLOAT_EQ(arm->opacity, 0.5f);
    EXPECT_EQ(arm->renderSwitches, (std::array<bool, 10>{true, false, true, false, false, true, false, false, true, true}));
    EXPECT_FLOAT_EQ(arm->renderValues[3], 3.5f);
    EXPECT_EQ(arm->lightParameters[1].integers[2], 7);
    EXPECT_EQ(arm->timedPath.paths[0].size(), 2u);
    EXPECT_EQ(arm->timedPath.paths[0][1].step, 20);
    EXPECT_EQ(arm->sweepCurves.curves[3].size(), 2u);
    EXPECT_EQ(arm->soundFileName, "ding.wav");
    EXPECT_FALSE(arm->flagV);
    EXPECT_EQ(arm->extensionFileName, "extra.dat");
    EXPECT_EQ(arm->boneNumber, 4);
}

TEST_F(RoundTripTest, HierarchyAndAnimationsComeBack) {
    SceneObject* body = copy_.findObject("corps");
    SceneObject* arm = copy_.findObject("bras");
    SceneObject* hand = copy_.findObject("main");
    ASSERT_TRUE(body && arm && hand);
    EXPECT_EQ(arm->parent, body);
    EXPECT_EQ(hand->parent, arm);
    ASSERT_NE(body->animation, nullptr);
    EXPECT_EQ(hand->animation, body->animation);
    const Animation& walk = *body->animation;
    EXPECT_FLOAT_EQ(walk.turnValue, 0.5f);
    ASSERT_EQ(walk.sequences.size(), 1u);
    const Sequence& sequence = *walk.sequences[0];
    EXPECT_EQ(walk.sequenceReferences[0], &sequence);
    ASSERT_EQ(sequence.keyImages.size(), 3u);
    EXPECT_DOUBLE_EQ(sequence.keyImages[2]->time, 3.25);
    ASSERT_EQ(sequence.keyImages[1]->states.size(), 2u);
    EXPECT_EQ(sequence.keyImages[1]->states[0]->object, arm);
    EXPECT_EQ(sequence.keyImages[1]->states[0]->soundFileName, "pas.wav");
    EXPECT_FLOAT_EQ(sequence.keyImages[1]->states[1]->opacity, 0.5f);

    const SceneObject* camera = copy_.cameraObject();
    ASSERT_NE(camera->animation, nullptr);
    EXPECT_EQ(camera->animation->sequences[0]->keyImages.size(), 3u);
    EXPECT_EQ(report_.attachedObject, camera);
}

TEST(SceneWriter, HeaderAndEmptyTextureSlotsHaveTheirFixedBytes) {
    Scene scene;
    const std::vector<std::uint8_t> empty = writeScene(scene, {});
    // Tag, 304 header bytes with the ground image " ", object and animation counts.
    ASSERT_EQ(empty.size(), 18u + 304u + 2u + 4u + 4u);
    EXPECT_EQ(std::memcmp(empty.data(), "Morvanexv4 1.16.8\0", 18), 0);

    SceneObject& plain = scene.addObject("plain");
    plain.assignMesh({vertexAt(0, 0, 0), vertexAt(1, 0, 0), vertexAt(0, 1, 0)}, {0, 1, 2});
    const std::vector<std::uint8_t> bytes = writeScene(scene, {});
    // The three empty slots sit right before the 3 x 72 vertex bytes and 3 indices.
    const std::size_t texturesAt = bytes.size() - 4 - 3 * 4 - 3 * 72 - 6;
    const std::uint8_t expected[] = {0x20, 0, 0x20, 0, 0x20, 0};
    EXPECT_EQ(std::memcmp(bytes.data() + texturesAt, expected, 6), 0);
}

TEST(SceneWriter, ServiceGridTransientAndUnlistedObjectsAreNotWritten) {
    Scene scene;
    scene.addObject("Grille");
    scene.addObject("passing").transient = true;
    scene.addObject("hidden").listed = false;
    scene.addObject("kept");
    SceneWriteResult counts;
    const auto bytes = writeScene(scene, {}, &counts);
    EXPECT_EQ(counts.objectsWritten, 1);
    Scene copy;
    ASSERT_TRUE(readScene(bytes, copy, {}).complete());
    EXPECT_EQ(copy.objectCount(), kServiceObjectCount + 1);
    EXPECT_NE(copy.findObject("kept"), nullptr);
}

TEST(SceneWriter, EmbeddedTextureBytesTravelOnceAndAreShared) {
    Scene scene;
    scene.settings.embedTextures = true;
    SceneTexture& texture = scene.addTexture("bois.jpg");
    texture.embedded = true;
    texture.embeddedBytes = {0xFF, 0xD8, 0xFF, 0xE0, 1, 2, 3, 4};
    for (const char* name : {"a", "b", "c"}) {
        SceneObject& o = scene.addObject(name);
        o.textures[0] = &texture;
        o.textureEnabled[0] = true;
    }
    const auto bytes = writeScene(scene, {});
    Scene copy;
    const auto report = readScene(bytes, copy, {});
    ASSERT_TRUE(report.complete()) << report.error;
    ASSERT_EQ(copy.textures().size(), 1u);
    const SceneTexture* shared = copy.textures()[0].get();
    EXPECT_EQ(shared->embeddedBytes, texture.embeddedBytes);
    EXPECT_EQ(shared->embeddedLength, 8u);
    // The offset points at the bytes inside the file.
    ASSERT_LE(shared->embeddedOffset + 8, bytes.size());
    EXPECT_EQ(std::memcmp(bytes.data() + shared->embeddedOffset, texture.embeddedBytes.data(), 8), 0);
    for (const char* name : {"a", "b", "c"}) EXPECT_EQ(copy.findObject(name)->textures[0], shared) << name;
    // Only one copy of the bytes in the file.
    const auto first = std::search(bytes.begin(), bytes.end(), texture.embeddedBytes.begin(), texture.embeddedBytes.end());
    EXPECT_EQ(std::search(first + 1, bytes.end(), texture.embeddedBytes.begin(), texture.embeddedBytes.end()), bytes.end());
}

TEST(SceneWriter, LinkedCopiesAreRebuiltFromTheirOwner) {
    Scene scene;
    SceneObject& owner = scene.addObject("pilier");
    owner.assignMesh({vertexAt(0, 0, 0), vertexAt(1, 0, 0), vertexAt(0, 1, 0)}, {0, 1, 2});
    SceneObject& copyObject = scene.addObject("pilier");
    ObjectLink link;
    link.position = {50.0f, 0.0f, 0.0f};
    link.object = &copyObject;
    copyObject.position = {60.0f, 0.0f, 0.0f};  // moved since the link was made
    owner.links.push_back(link);
    owner.linkGroupName = "colonnade";
    SceneWriteResult counts;
    const auto bytes = writeScene(scene, {}, &counts);
    EXPECT_EQ(counts.objectsWritten, 1);
    Scene copy;
    ASSERT_TRUE(readScene(bytes, copy, {}).complete());
    ASSERT_EQ(copy.objectCount(), kServiceObjectCount + 2);
    const SceneObject& readOwner = *copy.objects()[kServiceObjectCount];
    const SceneObject& readCopy = *copy.objects()[kServiceObjectCount + 1];
    ASSERT_EQ(readOwner.links.size(), 1u);
    EXPECT_EQ(readOwner.links[0].object, &readCopy);
    EXPECT_FLOAT_EQ(readCopy.position.x, 60.0f);
    EXPECT_EQ(readCopy.vertices.size(), 3u);
    EXPECT_EQ(readOwner.linkGroupName, "colonnade");
}

TEST(SceneReader, LinkedCopiesCannotAskForMoreMemoryThanTheFileJustifies) {
    Scene scene;
    SceneObject& owner = scene.addObject("colonne");
    // 20,000 vertices: 1.5 MB in the file, copied once per link when read.
    std::vector<MeshVertex> vertices(20'000, vertexAt(0, 0, 0));
    std::vector<std::int32_t> indices(vertices.size());
    for (std::size_t i = 0; i < indices.size(); ++i) indices[i] = static_cast<std::int32_t>(i);
    owner.assignMesh(std::move(vertices), std::move(indices));
    owner.links.resize(400);  // 400 copies would take 600 MB
    const auto bytes = writeScene(scene, {});
    Scene copy;
    const SceneReadReport report = readScene(bytes, copy, {});
    EXPECT_EQ(report.status, ReadStatus::Damaged);
    EXPECT_NE(report.error.find("link records"), std::string::npos) << report.error;
    EXPECT_EQ(copy.objectCount(), kServiceObjectCount);

    owner.links.resize(20);  // a colonnade of 20 is fine
    Scene fine;
    EXPECT_TRUE(readScene(writeScene(scene, {}), fine, {}).complete());
    EXPECT_EQ(fine.objectCount(), kServiceObjectCount + 21);
}

TEST(SceneWriter, SelectionOnlyKeepsTheGroupAndItsAnimations) {
    Scene scene;
    SceneObject& leader = scene.addObject("chef");
    SceneObject& member = scene.addObject("membre");
    member.groupLeader = &leader;
    scene.addObject("autre");
    scene.viewpoints.push_back({});
    Animation& animation = scene.addAnimation("chef");
    animation.target = &leader;
    leader.animation = &animation;
    animation.addSequence("s");
    scene.currentObject = &member;
    SceneWriteResult counts;
    const auto bytes = writeScene(scene, {.selectionOnly = true}, &counts);
    EXPECT_EQ(counts.objectsWritten, 2);
    EXPECT_EQ(counts.animationsWritten, 0);  // its target is not the current object
    Scene copy;
    ASSERT_TRUE(readScene(bytes, copy, {}).complete());
    EXPECT_TRUE(copy.viewpoints.empty());
    EXPECT_EQ(copy.findObject("autre"), nullptr);
}

TEST(SceneWriter, ArcheIsAlwaysWrittenWithItsArchFlag) {
    Scene scene;
    scene.addObject("Arche").archFlag = false;
    Scene copy;
    ASSERT_TRUE(readScene(writeScene(scene, {}), copy, {}).complete());
    EXPECT_TRUE(copy.findObject("Arche")->archFlag);
}

class SceneFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("morvanex-scenefile-" + std::to_string(::getpid()) + "-" +
                                              ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }
    fs::path folder_;
};

TEST_F(SceneFileTest, SaveReplacesTheFileAndLeavesNoTemporary) {
    const fs::path target = folder_ / "scene.mrx";
    { std::ofstream(target) << "previous"; }
    Scene scene;
    scene.addObject("boite");
    const SceneWriteResult result = writeSceneFile(target, scene, {});
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
    Scene copy;
    EXPECT_TRUE(readSceneFile(target, copy, {}).complete());
    EXPECT_NE(copy.findObject("boite"), nullptr);
}

// Large meshes and textures go to the file from where they sit, between the
// fields: the file must hold the very bytes the writer gives in memory. Over
// 8 MB, so that the bytes in memory ask for large pages too.
TEST_F(SceneFileTest, LargeMeshesAndTexturesReachTheFileInTheirPlace) {
    Scene scene;
    buildRichScene(scene);
    scene.settings.embedTextures = true;
    SceneTexture& texture = scene.addTexture("grand.png");
    texture.embedded = true;
    texture.embeddedBytes.resize(300'000);
    for (std::size_t i = 0; i < texture.embeddedBytes.size(); ++i) texture.embeddedBytes[i] = static_cast<std::uint8_t>(i * 7);
    for (const std::size_t corners : {120'000u, 3u, 20'000u}) {
        std::vector<MeshVertex> vertices;
        std::vector<std::int32_t> indices;
        for (std::size_t i = 0; i < corners; ++i) {
            vertices.push_back(vertexAt(static_cast<float>(i), static_cast<float>(corners), 0.5f));
            indices.push_back(static_cast<std::int32_t>(corners - 1 - i));
        }
        SceneObject& o = scene.addObject("maillage" + std::to_string(corners));
        o.assignMesh(std::move(vertices), std::move(indices));
        o.textures[0] = &texture;
        o.textureEnabled[0] = true;
    }
    const fs::path target = folder_ / "large.mrx";
    ASSERT_TRUE(writeSceneFile(target, scene, {}).ok);
    std::ifstream in(target, std::ios::binary);
    const std::vector<std::uint8_t> onDisk{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::vector<std::uint8_t> inMemory = writeScene(scene, {});
    ASSERT_EQ(onDisk.size(), inMemory.size());
    EXPECT_TRUE(onDisk == inMemory);

    Scene copy;
    const SceneReadReport report = readScene(onDisk, copy, {});
    ASSERT_TRUE(report.complete()) << report.error;
    for (const char* name : {"maillage120000", "maillage3", "maillage20000"}) {
        const SceneObject* original = scene.findObject(name);
        const SceneObject* back = copy.findObject(name);
        ASSERT_NE(back, nullptr) << name;
        ASSERT_EQ(back->vertices.size(), original->vertices.size()) << name;
        EXPECT_EQ(std::memcmp(back->vertices.data(), original->vertices.data(), original->vertices.size() * sizeof(MeshVertex)), 0) << name;
        EXPECT_EQ(back->indices, original->indices) << name;
        ASSERT_NE(back->textures[0], nullptr) << name;
        EXPECT_EQ(back->textures[0]->embeddedBytes, texture.embeddedBytes) << name;
    }
}

TEST_F(SceneFileTest, FailedSaveLeavesThePreviousFileUntouched) {
    // A folder where the file should go cannot be replaced by a file.
    const fs::path target = folder_ / "blocked.mrx";
    fs::create_directories(target / "inside");
    Scene scene;
    const SceneWriteResult result = writeSceneFile(target, scene, {});
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.empty());
    EXPECT_TRUE(fs::is_directory(target / "inside"));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);

    const fs::path missingFolder = folder_ / "nowhere" / "scene.mrx";
    EXPECT_FALSE(writeSceneFile(missingFolder, scene, {}).ok);
}

TEST_F(SceneFileTest, MissingFileIsUnreadableAndTheSceneUntouched) {
    Scene scene;
    scene.addObject("mine");
    const auto report = readSceneFile(folder_ / "absent.mrx", scene, {});
    EXPECT_EQ(report.status, ReadStatus::Unreadable);
    EXPECT_FALSE(describeReadReport(report).empty());
    EXPECT_NE(scene.findObject("mine"), nullptr);
}

}  // namespace
}  // namespace morvanex
