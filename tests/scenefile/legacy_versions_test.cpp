// What the reader makes of scene files of older versions, written field by
// field by the test-only legacy builder: the header and the objects.
#include <gtest/gtest.h>

#include "scenefile/legacy_reading_support.h"

namespace morvanex {
namespace {

using namespace legacy_test;

// =============================================================================
// The builder itself

TEST(LegacyFileBuilder, HeaderSizesFollowTheVersion) {
    lf::LegacyScene scene;
    scene.version = "1.16.8";
    lf::LegacyFile file = lf::buildLegacyFileWithLayout(scene);
    EXPECT_EQ(file.layout.tagBytes, 18u);
    // 304 bytes of fixed rows, no viewpoint, the ground image name " ".
    EXPECT_EQ(file.layout.headerEnd - file.layout.tagBytes, 304u + 2u);
    // Object count and animation count end the file.
    EXPECT_EQ(file.bytes.size(), file.layout.headerEnd + 8u);

    scene.viewpoints.push_back({0.0f, 0.0f, {}, "ab.bmp"});
    scene.groundImageName = "sol.bmp";
    file = lf::buildLegacyFileWithLayout(scene);
    EXPECT_EQ(file.layout.headerEnd - file.layout.tagBytes, 304u + (20u + 7u) + 8u);

    // A "0.7" header stops after the eight light slots.
    scene.version = "0.7";
    file = lf::buildLegacyFileWithLayout(scene);
    EXPECT_EQ(file.layout.tagBytes, 15u);
    EXPECT_EQ(file.layout.headerEnd - file.layout.tagBytes, 32u + 4u + 8u * 24u);
}

TEST(LegacyFileBuilder, Version07ObjectRecordMatchesTheResourceSceneSize) {
    // The "0.7" resource scene holds "souder 1" (620 vertices, 3540 indices)
    // and "volume~0" (4 vertices, 6 indices) and is 43,145 bytes long.
    lf::LegacyScene scene;
    scene.version = "0.7";
    lf::LegacyObject first;
    first.name = "souder 1";
    first.vertices.resize(620);
    first.indices.resize(3540);
    lf::LegacyObject second;
    second.name = "volume~0";
    second.vertices.resize(4);
    second.indices.resize(6);
    scene.objects = {first, second};
    EXPECT_EQ(lf::buildLegacyFile(scene).size(), 43145u);
}

// =============================================================================
// Every version: header, objects, animations

class EveryVersion : public ::testing::TestWithParam<std::string> {};

TEST_P(EveryVersion, HeaderValuesPresentAreReadAndAbsentOnesKeepDefaults) {
    const std::string v = GetParam();
    lf::LegacyScene file = lf::distinctScene(v);
    file.embedTextures = true;
    const auto has = [&](const char* since) { return lf::legacyHasField(v, since); };

    Scene scene;
    const Scene fresh;
    const SceneReadReport report = read(lf::buildLegacyFile(file), scene);
    ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
    EXPECT_EQ(report.tag, tagOf(v));
    EXPECT_EQ(scene.objectCount(), kHead);
    EXPECT_TRUE(scene.animations().empty());
    EXPECT_EQ(scene.loadedVersionTag, kProgramVersionLabel);

    // Camera: the stored eye is where the view glides to.
    expectF3(scene.eyeTarget, file.cameraPosition, "eye target");
    EXPECT_NEAR(distance(scene.eye, scene.eyeTarget), 500.0f, 0.05f);
    EXPECT_FLOAT_EQ(scene.pitch, file.cameraPitch);
    EXPECT_FLOAT_EQ(scene.yaw, file.cameraYaw);
    EXPECT_FLOAT_EQ(scene.fieldOfView, file.fieldOfView);
    EXPECT_FLOAT_EQ(scene.rangeValue, file.rangeValue);
    EXPECT_EQ(scene.settings.shadingMode, file.shadingMode);

    EXPECT_EQ(scene.activeLightCount, has("0.2") ? file.activeLightCount : 1);
    for (std::size_t i = 0; i < kGlobalLightSlots; ++i) {
        expectLight(scene.lights[i], has("0.2") ? file.lights[i] : lf::LegacyLight{},
                    "scene light " + std::to_string(i));
    }

    const bool v11 = has("1.1");
    EXPECT_EQ(scene.settings.flagA, v11 && file.flagA);
    EXPECT_EQ(scene.settings.embedTextures, v11 && file.embedTextures);
    ASSERT_EQ(scene.viewpoints.size(), v11 ? file.viewpoints.size() : 0u);
    for (std::size_t i = 0; i < scene.viewpoints.size(); ++i) {
        EXPECT_FLOAT_EQ(scene.viewpoints[i].pitch, file.viewpoints[i].pitch);
        EXPECT_FLOAT_EQ(scene.viewpoints[i].yaw, file.viewpoints[i].yaw);
        expectF3(scene.viewpoints[i].eye, file.viewpoints[i].eye, "viewpoint eye");
        EXPECT_EQ(scene.viewpoints[i].imageFileName, file.viewpoints[i].imageFileName);
    }

    expectF4(scene.backgroundColour,
             has("1.6") ? file.backgroundColour : lf::F4{0.73f, 0.73f, 0.73f, 1.0f}, "background");
    EXPECT_EQ(scene.settings.flagB, has("1.10") && file.flagB);
    EXPECT_EQ(scene.settings.flagC, has("1.11") && file.flagC);
    const bool v116 = has("1.16");
    EXPECT_EQ(scene.settings.flagD, v116 && file.flagD);
    EXPECT_FLOAT_EQ(scene.settings.valueE, v116 ? file.valueE : fresh.settings.valueE);
    EXPECT_FLOAT_EQ(scene.settings.valueF, v116 ? file.valueF : fresh.settings.valueF);
    EXPECT_FLOAT_EQ(scene.settings.groundShading, v116 ? file.groundShading : 0.55f);
    expectF4(scene.settings.groundColour,
             v116 ? file.groundColour : lf::F4{0.87f, 0.87f, 0.87f, 1.0f}, "ground colour");
    EXPECT_EQ(scene.settings.groundMode, v116 ? file.groundMode : 1);
    EXPECT_FLOAT_EQ(scene.settings.groundScale, v116 ? file.groundScale : 1.0f);
    EXPECT_EQ(scene.settings.groundImageName, v116 ? file.groundImageName : std::string(" "));
}

TEST_P(EveryVersion, ObjectFieldsPresentAreReadAndAbsentOnesKeepDefaults) {
    const std::string v = GetParam();
    const auto has = [&](const char* since) { return lf::legacyHasField(v, since); };
    lf::LegacyScene file = lf::distinctScene(v);
    // The first object has links and every optional block; the second none
    // of them, a flag F1 that forces its opacity and a too-short sound name.
    lf::LegacyObject first = lf::distinctObject("premier", 0);
    lf::LegacyObject second = lf::distinctObject("second", 1);
    second.links.clear();
    second.flagF1 = false;
    second.opacity = 0.45f;
    second.timedPath.present = 0;
    second.sweepCurves.present = 0;
    second.thirdPath.used = false;
    second.profileCurves[1].used = false;
    second.soundFileName = "ab";
    second.extensionFileName = "autre.dat";
    file.objects = {first, second};

    Scene scene;
    const SceneReadReport report = read(lf::buildLegacyFile(file), scene);
    ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
    EXPECT_EQ(report.objectsDeclared, 2);
    EXPECT_EQ(report.objectRecordsRead, 2);

    const std::size_t links = has("0.5") ? first.links.size() : 0;
    ASSERT_EQ(scene.objectCount(), kHead + 2 + links);
    const SceneObject& owner = readObject(scene, 0);
    expectObject(owner, first, v, "first object");
    expectObject(readObject(scene, 1 + links), second, v, "second object");

    // Each link became an object placed right after its owner.
    for (std::size_t k = 0; k < links; ++k) {
        SCOPED_TRACE("link " + std::to_string(k) + " of a \"" + v + "\" file");
        const SceneObject& linked = readObject(scene, 1 + k);
        ASSERT_EQ(owner.links.size(), links);
        EXPECT_EQ(owner.links[k].object, &linked);
        const lf::LegacyLink& want = first.links[k];
        expectF3(linked.position, want.position, "position");
        expectF3(linked.rotationAxis, want.rotationAxis, "rotation axis");
        EXPECT_FLOAT_EQ(linked.rotationAngle, want.rotationAngle);
        expectF3(linked.scale, want.scale, "scale");
        expectF3(linked.pivot, has("0.7") ? want.pivot : first.pivot, "pivot");
        ASSERT_EQ(linked.vertexCount(), first.vertices.size());
        ASSERT_EQ(linked.indexCount(), first.indices.size());
        expectF3(linked.vertices[4].position, first.vertices[4].position, "shared mesh");
    }
}

TEST_P(EveryVersion, AnimationRecordsAreReadInTheirLayout) {
    const std::string v = GetParam();
    const auto has = [&](const char* since) { return lf::legacyHasField(v, since); };
    const bool storedBones = has("1.16.5");

    lf::LegacyScene file = lf::distinctScene(v);
    lf::LegacyObject body = lf::plainObject("corps");
    lf::LegacyObject arm = lf::plainObject("bras");
    lf::LegacyObject hand = lf::plainObject("main");
    for (auto& vertex : body.vertices) {
        vertex.w = 1.0f;
        vertex.weights = {0.5f, 0.5f, 0.0f, 0.0f};
        vertex.boneIndices = {3, 4, -1, -1};
    }
    for (auto& vertex : arm.vertices) vertex.w = 0.25f;
    for (auto& vertex : hand.vertices) vertex.w = 1.0f;
    body.boneNumber = 7;
    arm.boneNumber = 8;
    arm.boneNumberFlag = false;
    hand.boneNumber = 9;
    file.objects = {body, arm, hand};

    lf::LegacyAnimation animation;
    animation.targetName = "corps";
    animation.targetNumber = 1;
    animation.animationFlag = 1;
    animation.turnValue = 0.5f;
    animation.sequenceReferences = {"marche", "", "inconnue", "marche", ""};
    animation.children = {childRef(2, "bras", {childRef(3, "main")})};
    lf::LegacySequence walk = distinctSequence("marche");
    lf::LegacyKeyImage late{2.5, {}, {stateFor(lf::distinctState(0), 2, "bras"),
                                      stateFor(lf::distinctState(1), 3, "main")}};
    lf::LegacyKeyImage early{1.25, {}, {stateFor(lf::distinctState(2), 1, "corps")}};
    walk.keyImages = {late, early};
    animation.sequences = {walk};
    file.animations = {animation};

    Scene scene;
    const SceneReadReport report = read(lf::buildLegacyFile(file), scene);
    ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
    EXPECT_EQ(report.animationsDeclared, 1);
    EXPECT_EQ(report.animationRecordsRead, 1);
    ASSERT_EQ(scene.objectCount(), kHead + 3);
    const SceneObject& gotBody = readObject(scene, 0);
    const SceneObject& gotArm = readObject(scene, 1);
    const SceneObject& gotHand = readObject(scene, 2);

    ASSERT_EQ(scene.animations().size(), 1u);
    const Animation& anim = *scene.animations()[0];
    EXPECT_EQ(anim.target, &gotBody);
    EXPECT_EQ(anim.targetName, "corps");
    EXPECT_EQ(anim.animationFlag, 1);
    EXPECT_EQ(anim.cameraFlag, 0);
    EXPECT_FLOAT_EQ(anim.turnValue, has("1.16.6") ? animation.turnValue : kDefaultTurn);
    EXPECT_EQ(gotBody.animation, &anim);

    // The child tree gives parents, children and the driving animation.
    EXPECT_EQ(gotBody.parent, nullptr);
    EXPECT_EQ(gotArm.parent, &gotBody);
    EXPECT_EQ(gotHand.parent, &gotArm);
    EXPECT_EQ(gotBody.children, std::vector<SceneObject*>{const_cast<SceneObject*>(&gotArm)});
    EXPECT_EQ(gotArm.children, std::vector<SceneObject*>{const_cast<SceneObject*>(&gotHand)});
    EXPECT_TRUE(gotHand.children.empty());
    EXPECT_EQ(gotArm.animation, &anim);
    EXPECT_EQ(gotHand.animation, &anim);

    // Older files number the bones along the tree and bind the vertices.
    struct Skin {
        std::int32_t bone;
        bool flag;
        lf::F4 weights;
        std::array<std::int32_t, 4> bones;
    };
    const std::array<Skin, 3> skins =
        storedBones
            ? std::array<Skin, 3>{Skin{7, true, {0.5f, 0.5f, 0, 0}, {3, 4, -1, -1}},
                                  Skin{8, false, {1, 0, 0, 0}, {0, -1, -1, -1}},
                                  Skin{9, true, {1, 0, 0, 0}, {0, -1, -1, -1}}}
            : std::array<Skin, 3>{Skin{0, true, {0, 0, 0, 1}, {0, -1, -1, -1}},
                                  Skin{1, true, {0.75f, 0.25f, 0, 0}, {1, 0, -1, -1}},
                                  Skin{2, true, {0, 1, 0, 1}, {2, 1, -1, -1}}};
    const std::array<const SceneObject*, 3> tree{&gotBody, &gotArm, &gotHand};
    for (std::size_t o = 0; o < 3; ++o) {
        SCOPED_TRACE("skin of " + tree[o]->name + " in a \"" + v + "\" file");
        EXPECT_EQ(tree[o]->boneNumber, skins[o].bone);
        EXPECT_EQ(tree[o]->boneNumberFlag, skins[o].flag);
        ASSERT_FALSE(tree[o]->vertices.empty());
        for (std::size_t k = 0; k < 4; ++k) {
            EXPECT_FLOAT_EQ(tree[o]->vertices[0].blendWeights[k], skins[o].weights[k]) << "weight " << k;
            EXPECT_EQ(tree[o]->vertices[0].blendIndices[k], skins[o].bones[k]) << "bone index " << k;
        }
    }

    // The sequence, its key images in time order and their states.
    ASSERT_EQ(anim.sequences.size(), 1u);
    const Sequence& seq = *anim.sequences[0];
    expectSequence(seq, walk, v);
    EXPECT_EQ(seq.animation, &anim);
    ASSERT_EQ(seq.keyImages.size(), 2u);
    EXPECT_DOUBLE_EQ(seq.keyImages[0]->time, 1.25);
    EXPECT_DOUBLE_EQ(seq.keyImages[1]->time, 2.5);
    EXPECT_EQ(seq.keyImages[0]->number, 0);
    EXPECT_EQ(seq.keyImages[1]->number, 1);
    EXPECT_EQ(seq.keyImages[0]->displayName(), "Image cl\xE9, temps : 1.25");
    EXPECT_EQ(seq.keyImages[1]->displayName(), "Image cl\xE9, temps : 2.5");
    EXPECT_EQ(seq.keyImages[0]->sequence, &seq);
    ASSERT_EQ(seq.keyImages[0]->states.size(), 1u);
    EXPECT_EQ(seq.keyImages[0]->states[0]->object, &gotBody);
    expectState(*seq.keyImages[0]->states[0], early.states[0], v, "state of corps");
    ASSERT_EQ(seq.keyImages[1]->states.size(), 2u);
    EXPECT_EQ(seq.keyImages[1]->states[0]->object, &gotArm);
    expectState(*seq.keyImages[1]->states[0], late.states[0], v, "state of bras");
    EXPECT_EQ(seq.keyImages[1]->states[1]->object, &gotHand);
    expectState(*seq.keyImages[1]->states[1], late.states[1], v, "state of main");

    // References 1 and 4 name the sequence; a name of no sequence stays empty.
    EXPECT_EQ(anim.sequenceReferences[0], &seq);
    EXPECT_EQ(anim.sequenceReferences[1], nullptr);
    EXPECT_EQ(anim.sequenceReferences[2], nullptr);
    EXPECT_EQ(anim.sequenceReferences[3], &seq);
    EXPECT_EQ(anim.sequenceReferences[4], nullptr);
    EXPECT_EQ(seq.referenceIndex, 0);
}

INSTANTIATE_TEST_SUITE_P(LegacyVersions, EveryVersion,
                         ::testing::ValuesIn(lf::legacyVersionLadder()), paramName);

// =============================================================================
// Odd bool32 words

class OddBoolWords : public ::testing::TestWithParam<std::string> {};

TEST_P(OddBoolWords, OnlyTheFirstByteOfABool32Counts) {
    // Every true bool32 of the file holds 0xCD in its first byte only, every
    // false one 0 in its first byte and 0xCD in the three others.
    const std::string v = GetParam();
    lf::LegacyScene file = lf::distinctScene(v);
    file.trueWord = 0x000000CDu;
    file.falseWord = 0xCDCDCD00u;
    lf::LegacyObject object = lf::distinctObject("damier", 0);
    object.renderSwitches = {true, false, true, false, false, true, false, true, true, false};
    object.flagF2 = false;
    file.objects = {object};

    Scene scene;
    const SceneReadReport report = read(lf::buildLegacyFile(file), scene);
    ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
    EXPECT_EQ(scene.settings.flagA, lf::legacyHasField(v, "1.1"));
    EXPECT_EQ(scene.settings.embedTextures, false);
    EXPECT_EQ(scene.settings.flagD, lf::legacyHasField(v, "1.16"));
    ASSERT_GE(scene.objectCount(), kHead + 1);
    expectObject(readObject(scene, 0), object, v, "object");
}

INSTANTIATE_TEST_SUITE_P(LegacyVersions, OddBoolWords,
                         ::testing::Values("0.2", "1.1", "1.16", "1.16.8"), paramName);

// =============================================================================
// Field rules of single versions

TEST(LegacyObjectRules, Version12HoldsOneMoreBoolAfterFlagE) {
    for (const bool extra : {false, true}) {
        lf::LegacyScene file = lf::distinctScene("1.2");
        lf::LegacyObject object = lf::distinctObject("douze", 0);
        object.extraFlag12 = extra;
        object.flagE = !extra;
        file.objects = {object, lf::distinctObject("suivant", 1)};
        Scene scene;
        const SceneReadReport report = read(lf::buildLegacyFile(file), scene);
        ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
        ASSERT_EQ(scene.objectCount(), kHead + 6);
        EXPECT_EQ(readObject(scene, 0).flagE, !extra);
        expectObject(readObject(scene, 3), file.objects[1], "1.2", "object after");
    }
}

TEST(LegacyObjectRules, ExtensionModeWithFirstByteOtherThanOneSkips54Words) {
    for (const std::string v : {"1.16.7", "1.16.8"}) {
        lf::LegacyScene file = lf::distinctScene(v);
        lf::LegacyObject skipping = lf::distinctObject("saute", 0);
        skipping.links.clear();
        skipping.extensionMode = 2;
        lf::LegacyObject firstByteOne = lf::distinctObject("octet", 1);
        firstByteOne.links.clear();
        firstByteOne.extensionMode = 0x0201;  // only the first byte is tested
        lf::LegacyObject last = lf::distinctObject("dernier", 2);
        last.links.clear();
        file.objects = {skipping, firstByteOne, last};

        Scene scene;
        const SceneReadReport report = read(lf::buildLegacyFile(file), scene);
        ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
        ASSERT_EQ(scene.objectCount(), kHead + 3);
        expectObject(readObject(scene, 0), skipping, v, "object with mode 2");
        expectObject(readObject(scene, 1), firstByteOne, v, "object with mode 0x0201");
        expectObject(readObject(scene, 2), last, v, "last object");
    }
}

TEST(LegacyObjectRules, ExtensionMarkerZeroHoldsOneBoolAnd55Words) {
    lf::LegacyScene file = lf::distinctScene("1.16.8");
    lf::LegacyObject marked = lf::distinctObject("zero", 0);
    marked.links.clear();
    marked.extensionBlockMarker = 0;
    marked.extensionMarkerZeroFlag = true;
    lf::LegacyObject last = lf::distinctObject("apres", 1);
    last.links.clear();
    file.objects = {marked, last};

    Scene scene;
    const SceneReadReport report = read(lf::buildLegacyFile(file), scene);
    ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
    ASSERT_EQ(scene.objectCount(), kHead + 2);
    // Values 77 to 87 keep their defaults.
    expectObject(readObject(scene, 0), marked, "1.16.8", "object with marker 0");
    expectObject(readObject(scene, 1), last, "1.16.8", "object after");
}

TEST(LegacyObjectRules, StoredValueXZeroReadsAsOnePointTwo) {
    lf::LegacyScene file = lf::distinctScene("1.16.7");
    lf::LegacyObject object = lf::plainObject("x");
    object.valueX = 0.0f;
    lf::LegacyObject kept = lf::plainObject("y");
    kept.valueX = 0.5f;
    file.objects = {object, kept};
    Scene scene;
    ASSERT_TRUE(read(lf::buildLegacyFile(file), scene).complete());
    EXPECT_FLOAT_EQ(readObject(scene, 0).valueX, 1.2f);
    EXPECT_FLOAT_EQ(readObject(scene, 1).valueX, 0.5f);
}

TEST(LegacyObjectRules, FlagVDefaultsFalseForTheEarsWhenAbsent) {
    lf::LegacyScene older = lf::distinctScene("1.16.6");
    older.objects = {lf::plainObject("oreille g"), lf::plainObject("oreille d"), lf::plainObject("nez")};
    Scene olderScene;
    ASSERT_TRUE(read(lf::buildLegacyFile(older), olderScene).complete());
    EXPECT_FALSE(readObject(olderScene, 0).flagV);
    EXPECT_FALSE(readObject(olderScene, 1).flagV);
    EXPECT_TRUE(readObject(olderScene, 2).flagV);

    // Once stored, the stored value is kept, whatever the name.
    lf::LegacyScene newer = lf::distinctScene("1.16.7");
    newer.objects = {lf::plainObject("oreille g"), lf::plainObject("nez")};
    newer.objects[0].flagV = true;
    newer.objects[1].flagV = false;
    Scene newerScene;
    ASSERT_TRUE(read(lf::buildLegacyFile(newer), newerScene).complete());
    EXPECT_TRUE(readObject(newerScene, 0).flagV);
    EXPECT_FALSE(readObject(newerScene, 1).flagV);
}

TEST(LegacyObjectRules, CurveBlockWithEmptyFirstCurveIsClearedAndFullyConsumed) {
    for (const std::string v : {"1.14", "1.16.4"}) {
        lf::LegacyScene file = lf::distinctScene(v);
        lf::LegacyObject object = lf::distinctObject("balai", 0);
        object.links.clear();
        object.sweepCurves.curves[0].clear();
        lf::LegacyObject last = lf::distinctObject("apres", 1);
        last.links.clear();
        file.objects = {object, last};
        Scene scene;
        const SceneReadReport report = read(lf::buildLegacyFile(file), scene);
        ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
        ASSERT_EQ(scene.objectCount(), kHead + 2);
        EXPECT_FALSE(readObject(scene, 0).sweepCurves.present) << v;
        expectObject(readObject(scene, 1), last, v, "object after");
    }
}

TEST(LegacyObjectRules, TimedPointsBefore115aTakePathValue6AsStep) {
    for (const std::string v : {"1.12", "1.15", "1.15a"}) {
        lf::LegacyScene file = lf::distinctScene(v);
        lf::LegacyObject object = lf::plainObject("trajet");
        object.timedPath.present = 1;
        object.timedPath.values = {0, 0, 0, 0, 0, 6, 0, 0};
        object.timedPath.paths[0] = {{{1, 2, 3}, {}, {}, 40}};
        object.timedPath.paths[1] = {{{4, 5, 6}, {}, {}, 41}, {{7, 8, 9}, {}, {}, 42}};
        object.timedPath.paths[2] = {{{0, 0, 1}, {}, {}, 43}, {{0, 0, 2}, {}, {}, 44}};
        object.timedPath.paths[3] = {{{0, 1, 0}, {}, {}, 45}, {{0, 2, 0}, {}, {}, 46}};
        file.objects = {object, lf::plainObject("apres")};
        Scene scene;
        const SceneReadReport report = read(lf::buildLegacyFile(file), scene);
        ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
        const TimedPathBlock& path = readObject(scene, 0).timedPath;
        ASSERT_EQ(path.paths[1].size(), 2u) << v;
        const bool stored = v == "1.15a";
        EXPECT_EQ(path.paths[0].at(0).step, stored ? 40 : 6) << v;
        EXPECT_EQ(path.paths[1][1].step, stored ? 42 : 6) << v;
        EXPECT_EQ(path.paths[2].at(0).step, stored ? 43 : 6) << v;
        EXPECT_EQ(readObject(scene, 1).name, "apres") << v;
    }
}

// =============================================================================
// Textures

lf::LegacyObject texturedObject(std::string name, std::string texture, bool embedded,
                                std::vector<std::uint8_t> bytes, std::size_t slot = 0) {
    lf::LegacyObject object = lf::plainObject(std::move(name));
    object.textures[slot] = {std::move(texture), embedded, std::move(bytes)};
    return object;
}

class TextureReferences : public ::testing::TestWithParam<std::string> {};

// A texture file found nowhere is not drawn, but its name stays in the slot
// so that saving the scene keeps the reference.
TEST_P(TextureReferences, NameFoundNowhereStaysNamedInADisabledSlot) {
    const std::string v = GetParam();
    lf::LegacyScene file = lf::distinctScene(v);
    lf::LegacyObject object = texturedObject("mur", "absente.bmp", false, {});
    object.textures[1] = {"introuvable.bmp", false, {}};
    file.objects = {object, lf::plainObject("apres")};
    Scene scene;
    const SceneReadReport report = read(lf::buildLegacyFile(file), scene);
    ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
    ASSERT_EQ(scene.objectCount(), kHead + 2);
    const SceneObject& wall = readObject(scene, 0);
    ASSERT_NE(wall.textures[0], nullptr);
    ASSERT_NE(wall.textures[1], nullptr);
    EXPECT_EQ(wall.textures[0]->fileName, "absente.bmp");
    EXPECT_EQ(wall.textures[1]->fileName, "introuvable.bmp");
    EXPECT_TRUE(wall.textures[0]->missing);
    EXPECT_EQ(wall.textures[2], nullptr);
    for (std::size_t slot = 0; slot < 3; ++slot) EXPECT_FALSE(wall.textureEnabled[slot]) << "slot " << slot + 1;
    EXPECT_EQ(report.missingTextures, (std::vector<std::string>{"absente.bmp", "introuvable.bmp"}));
    expectObject(wall, object, v, "textured object");
    expectObject(readObject(scene, 1), file.objects[1], v, "object after");
}

INSTANTIATE_TEST_SUITE_P(LegacyVersions, TextureReferences,
                         ::testing::Values("0.2", "0.5", "1.1", "1.3", "1.16.8"), paramName);

class EmbeddedTextures : public ::testing::TestWithParam<std::string> {};

TEST_P(EmbeddedTextures, EmbeddedTextureKeepsItsBytesOffsetAndLength) {
    const std::string v = GetParam();
    const bool perTextureFlag = lf::legacyHasField(v, "1.3");
    lf::LegacyScene file = lf::distinctScene(v);
    file.embedTextures = !perTextureFlag;  // older files embed through the header only
    const std::vector<std::uint8_t> image = lf::tinyBmpImage();
    file.objects = {texturedObject("tableau", "peinture.bmp", perTextureFlag, image, 1),
                    lf::plainObject("apres")};
    const lf::LegacyFile built = lf::buildLegacyFileWithLayout(file);
    ASSERT_EQ(built.layout.textureBytes.size(), 1u);

    Scene scene;
    SceneReadOptions options;
    options.backupPath = "/tmp/sauvegarde/tableau.mrx";
    const SceneReadReport report = read(built.bytes, scene, options);
    ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
    ASSERT_EQ(scene.objectCount(), kHead + 2);
    const SceneObject& painting = readObject(scene, 0);
    EXPECT_EQ(painting.textures[0], nullptr);
    EXPECT_EQ(painting.textures[2], nullptr);
    const SceneTexture* texture = painting.textures[1];
    ASSERT_NE(texture, nullptr);
    EXPECT_TRUE(painting.textureEnabled[1]);
    EXPECT_EQ(texture->fileName, "peinture.bmp");
    EXPECT_TRUE(texture->embedded);
    EXPECT_EQ(texture->embeddedBytes, image);
    EXPECT_EQ(texture->embeddedOffset, built.layout.textureBytes[0].offset);
    EXPECT_EQ(texture->embeddedLength, image.size());
    EXPECT_EQ(texture->backupPath, options.backupPath);
    EXPECT_EQ(scene.findTexture("peinture.bmp"), texture);
    expectObject(readObject(scene, 1), file.objects[1], v, "object after");
}

TEST_P(EmbeddedTextures, TextureUsedThreeTimesCarriesItsBytesOnce) {
    const std::string v = GetParam();
    const bool perTextureFlag = lf::legacyHasField(v, "1.3");
    lf::LegacyScene file = lf::distinctScene(v);
    file.embedTextures = !perTextureFlag;
    const std::vector<std::uint8_t> image = lf::tinyBmpImage(0x10);
    file.objects = {texturedObject("planche 1", "bois.bmp", perTextureFlag, image),
                    texturedObject("planche 2", "bois.bmp", perTextureFlag, {}),
                    texturedObject("planche 3", "bois.bmp", perTextureFlag, {}, 1)};
    const lf::LegacyFile built = lf::buildLegacyFileWithLayout(file);

    Scene scene;
    const SceneReadReport report = read(built.bytes, scene);
    ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
    ASSERT_EQ(scene.objectCount(), kHead + 3);
    const SceneTexture* texture = readObject(scene, 0).textures[0];
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(readObject(scene, 1).textures[0], texture);
    EXPECT_EQ(readObject(scene, 2).textures[1], texture);
    EXPECT_TRUE(readObject(scene, 2).textureEnabled[1]);
    EXPECT_EQ(texture->embeddedBytes, image);
    EXPECT_EQ(texture->embeddedOffset, built.layout.textureBytes.at(0).offset);
    EXPECT_EQ(texture->embeddedLength, image.size());
    std::size_t named = 0;
    for (const auto& cached : scene.textures()) named += cached->fileName == "bois.bmp" ? 1u : 0u;
    EXPECT_EQ(named, 1u);
}

TEST_P(EmbeddedTextures, ZeroLengthReferenceToAnUncachedTextureLeavesTheSlotEmpty) {
    const std::string v = GetParam();
    const bool perTextureFlag = lf::legacyHasField(v, "1.3");
    lf::LegacyScene file = lf::distinctScene(v);
    file.embedTextures = !perTextureFlag;
    file.objects = {texturedObject("vide", "jamais.bmp", perTextureFlag, {}),
                    lf::plainObject("apres")};
    Scene scene;
    const SceneReadReport report = read(lf::buildLegacyFile(file), scene);
    ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
    ASSERT_EQ(scene.objectCount(), kHead + 2);
    EXPECT_EQ(readObject(scene, 0).textures[0], nullptr);
    EXPECT_FALSE(readObject(scene, 0).textureEnabled[0]);
    expectObject(readObject(scene, 1), file.objects[1], v, "object after");
}

TEST_P(EmbeddedTextures, NormalMapSwitchTurnsSlotOneIntoANormalMap) {
    const std::string v = GetParam();
    const bool perTextureFlag = lf::legacyHasField(v, "1.3");
    lf::LegacyScene file = lf::distinctScene(v);
    file.embedTextures = !perTextureFlag;
    lf::LegacyObject bumpy = texturedObject("relief", "bosses.bmp", perTextureFlag, lf::tinyBmpImage());
    bumpy.renderSwitches[6] = true;  // switch 7
    bumpy.textures[1] = {"couleur.bmp", perTextureFlag, lf::tinyBmpImage(0x80)};
    file.objects = {bumpy};
    Scene scene;
    const SceneReadReport report = read(lf::buildLegacyFile(file), scene);
    ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
    const SceneObject& object = readObject(scene, 0);
    EXPECT_TRUE(object.normalMapEnabled());
    ASSERT_NE(object.textures[0], nullptr);
    ASSERT_NE(object.textures[1], nullptr);
    EXPECT_TRUE(object.textures[0]->normalMap);
    EXPECT_FALSE(object.textures[1]->normalMap);
}

INSTANTIATE_TEST_SUITE_P(LegacyVersions, EmbeddedTextures,
                         ::testing::Values("1.1", "1.2", "1.3", "1.16.4", "1.16.8"), paramName);

}  // namespace
}  // namespace morvanex
