// What the reader makes of scene files of older versions, written field by
// field by the test-only legacy builder: animations, tags, merging, damage.
#include <gtest/gtest.h>

#include "scenefile/legacy_reading_support.h"

namespace morvanex {
namespace {

using namespace legacy_test;

// =============================================================================
// Animation targets, trees and states

lf::LegacyAnimation cameraAnimation(std::string sequenceName, std::vector<double> times) {
    lf::LegacyAnimation animation;
    animation.targetName = "Camera";
    animation.cameraFlag = 1;
    animation.sequenceReferences = {sequenceName, "", "", sequenceName, ""};
    lf::LegacySequence seq = distinctSequence(std::move(sequenceName), true);
    for (std::size_t i = 0; i < times.size(); ++i) {
        seq.keyImages.push_back(
            {times[i], {}, {stateFor(lf::distinctState(static_cast<int>(i)), 0, "Camera")}});
    }
    animation.sequences = {seq};
    return animation;
}

class CameraAnimations : public ::testing::TestWithParam<std::string> {};

TEST_P(CameraAnimations, CameraAnimationLandsOnTheCameraObject) {
    const std::string v = GetParam();
    lf::LegacyScene file = lf::distinctScene(v);
    file.objects = {lf::plainObject("decor")};
    file.animations = {cameraAnimation("Nouvelle animation", {3.9, 7.8, 11.66})};
    Scene scene;
    const SceneReadReport report = read(lf::buildLegacyFile(file), scene);
    ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
    ASSERT_EQ(scene.animations().size(), 1u);
    const Animation& anim = *scene.animations()[0];
    ASSERT_NE(scene.cameraObject(), nullptr);
    EXPECT_EQ(anim.target, scene.cameraObject());
    EXPECT_EQ(scene.cameraObject()->animation, &anim);
    EXPECT_EQ(anim.targetName, "Camera");
    EXPECT_EQ(anim.cameraFlag, 1);
    EXPECT_EQ(readObject(scene, 0).animation, nullptr);
    ASSERT_EQ(anim.sequences.size(), 1u);
    const Sequence& seq = *anim.sequences[0];
    expectSequence(seq, file.animations[0].sequences[0], v);
    ASSERT_EQ(seq.keyImages.size(), 3u);
    EXPECT_EQ(seq.keyImages[0]->displayName(), "Image cl\xE9, temps : 3.9");
    EXPECT_EQ(seq.keyImages[2]->displayName(), "Image cl\xE9, temps : 11.66");
    for (std::size_t k = 0; k < 3; ++k) {
        ASSERT_EQ(seq.keyImages[k]->states.size(), 1u);
        EXPECT_EQ(seq.keyImages[k]->states[0]->object, scene.cameraObject());
        expectState(*seq.keyImages[k]->states[0], file.animations[0].sequences[0].keyImages[k].states[0],
                    v, "camera state " + std::to_string(k));
    }
}

TEST_P(CameraAnimations, CameraFlagOrCameraNameEachMakeACameraAnimation) {
    const std::string v = GetParam();
    for (const bool byFlag : {true, false}) {
        lf::LegacyScene file = lf::distinctScene(v);
        file.objects = {lf::plainObject("Camera 2")};
        lf::LegacyAnimation animation = cameraAnimation("vol", {1.0});
        animation.targetName = byFlag ? "Camera 2" : "Camera";
        animation.cameraFlag = byFlag ? 1 : 0;
        animation.targetNumber = byFlag ? 1 : 0;
        file.animations = {animation};
        Scene scene;
        const SceneReadReport report = read(lf::buildLegacyFile(file), scene);
        ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
        ASSERT_EQ(scene.animations().size(), 1u) << (byFlag ? "by flag" : "by name");
        const Animation& anim = *scene.animations()[0];
        EXPECT_EQ(anim.target, scene.cameraObject()) << (byFlag ? "by flag" : "by name");
        EXPECT_EQ(anim.targetName, "Camera");
        EXPECT_EQ(anim.cameraFlag, 1);
        EXPECT_EQ(readObject(scene, 0).animation, nullptr);
    }
}

TEST_P(CameraAnimations, TwoCameraAnimationsMergeIntoOne) {
    const std::string v = GetParam();
    lf::LegacyScene file = lf::distinctScene(v);
    file.animations = {cameraAnimation("aller", {1.0, 2.0}), cameraAnimation("retour", {0.5})};
    Scene scene;
    const SceneReadReport report = read(lf::buildLegacyFile(file), scene);
    ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
    EXPECT_EQ(report.animationRecordsRead, 2);
    ASSERT_EQ(scene.animations().size(), 1u);
    const Animation& anim = *scene.animations()[0];
    EXPECT_EQ(anim.target, scene.cameraObject());
    EXPECT_EQ(scene.cameraObject()->animation, &anim);
    ASSERT_EQ(anim.sequences.size(), 2u);
    EXPECT_EQ(anim.sequences[0]->name, "aller");
    EXPECT_EQ(anim.sequences[1]->name, "retour");
    EXPECT_EQ(anim.sequences[0]->keyImages.size(), 2u);
    EXPECT_EQ(anim.sequences[1]->keyImages.size(), 1u);
    EXPECT_EQ(anim.sequences[1]->animation, &anim);
}

INSTANTIATE_TEST_SUITE_P(LegacyVersions, CameraAnimations,
                         ::testing::Values("0.1", "0.2", "0.7", "1.7", "1.8", "1.16.5", "1.16.8"),
                         paramName);

TEST(LegacyAnimationTargets, ByNameBeforeVersion18TheFirstOfTheName) {
    lf::LegacyScene file = lf::distinctScene("1.7");
    file.objects = {lf::plainObject("jumeau"), lf::plainObject("jumeau"), lf::plainObject("autre")};
    lf::LegacyAnimation animation;
    animation.targetName = "jumeau";
    animation.children = {childRef(0, "autre")};
    lf::LegacySequence seq = distinctSequence("s");
    seq.keyImages = {{1.0, {}, {stateFor(lf::distinctState(0), 0, "jumeau")}}};
    animation.sequences = {seq};
    file.animations = {animation};
    Scene scene;
    const SceneReadReport report = read(lf::buildLegacyFile(file), scene);
    ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
    ASSERT_EQ(scene.animations().size(), 1u);
    const Animation& anim = *scene.animations()[0];
    EXPECT_EQ(anim.target, &readObject(scene, 0));
    EXPECT_EQ(readObject(scene, 1).animation, nullptr);
    EXPECT_EQ(readObject(scene, 2).parent, &readObject(scene, 0));
    EXPECT_EQ(anim.sequences.at(0)->keyImages.at(0)->states.at(0)->object, &readObject(scene, 0));
}

TEST(LegacyAnimationTargets, BySaveIndexSinceVersion18WithLinkedObjectsNumbered) {
    // Save indices: "chaine" 1, its two linked copies 2 and 3, "jumeau" 4
    // and 5.
    for (const std::string v : {"1.8", "1.16.8"}) {
        lf::LegacyScene file = lf::distinctScene(v);
        lf::LegacyObject chain = lf::plainObject("chaine");
        chain.links = {lf::LegacyLink{}, lf::LegacyLink{}};
        file.objects = {chain, lf::plainObject("jumeau"), lf::plainObject("jumeau")};
        lf::LegacyAnimation animation;
        animation.targetName = "jumeau";
        animation.targetNumber = 5;
        animation.children = {childRef(4, "jumeau"), childRef(3, "chaine")};
        lf::LegacySequence seq = distinctSequence("s");
        seq.keyImages = {{1.0, {}, {stateFor(lf::distinctState(0), 2, "chaine"),
                                    stateFor(lf::distinctState(1), 5, "jumeau")}}};
        animation.sequences = {seq};
        file.animations = {animation};
        Scene scene;
        const SceneReadReport report = read(lf::buildLegacyFile(file), scene);
        ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
        ASSERT_EQ(scene.objectCount(), kHead + 5);
        ASSERT_EQ(scene.animations().size(), 1u);
        const Animation& anim = *scene.animations()[0];
        const SceneObject& target = readObject(scene, 4);
        EXPECT_EQ(anim.target, &target) << v;
        EXPECT_EQ(target.animation, &anim);
        EXPECT_EQ(readObject(scene, 3).parent, &target) << v;
        EXPECT_EQ(readObject(scene, 2).parent, &target) << v;
        EXPECT_EQ(target.children.size(), 2u);
        const KeyImage& key = *anim.sequences.at(0)->keyImages.at(0);
        ASSERT_EQ(key.states.size(), 2u);
        EXPECT_EQ(key.states[0]->object, &readObject(scene, 1)) << v;
        EXPECT_EQ(key.states[1]->object, &target) << v;
    }
}

TEST(LegacyAnimationTargets, MissingTargetDropsItsAnimationButNotTheNext) {
    for (const std::string v : {"1.7", "1.16.8"}) {
        lf::LegacyScene file = lf::distinctScene(v);
        file.objects = {lf::plainObject("present"), lf::plainObject("enfant")};
        lf::LegacyAnimation lost;
        lost.targetName = "fantome";
        lost.targetNumber = 9;
        lost.children = {childRef(2, "enfant", {childRef(7, "inconnu")})};
        lf::LegacySequence lostSeq = distinctSequence("perdue");
        lostSeq.keyImages = {{1.0, {}, {stateFor(lf::distinctState(0), 1, "present")}}};
        lost.sequences = {lostSeq};
        lf::LegacyAnimation kept;
        kept.targetName = "present";
        kept.targetNumber = 1;
        lf::LegacySequence keptSeq = distinctSequence("gardee");
        keptSeq.keyImages = {{2.0, {}, {stateFor(lf::distinctState(1), 1, "present")}}};
        kept.sequences = {keptSeq};
        file.animations = {lost, kept};

        Scene scene;
        const SceneReadReport report = read(lf::buildLegacyFile(file), scene);
        ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
        ASSERT_EQ(scene.animations().size(), 1u) << v;
        const Animation& anim = *scene.animations()[0];
        EXPECT_EQ(anim.target, &readObject(scene, 0));
        ASSERT_EQ(anim.sequences.size(), 1u);
        expectSequence(*anim.sequences[0], keptSeq, v);
        const KeyImage& key = *anim.sequences[0]->keyImages.at(0);
        ASSERT_EQ(key.states.size(), 1u);
        expectState(*key.states[0], keptSeq.keyImages[0].states[0], v, "state of the kept animation");
    }
}

TEST(LegacyAnimationTrees, BoneNumbersComeFromTheTreeBeforeVersion1165) {
    // Target, a child "soutien gorge" and its child "x"; a second child
    // "culotte" after them.
    lf::LegacyScene file = lf::distinctScene("1.16.4");
    file.objects = {lf::plainObject("buste"), lf::plainObject("soutien gorge"), lf::plainObject("x"),
                    lf::plainObject("culotte"), lf::plainObject("y")};
    lf::LegacyAnimation animation;
    animation.targetName = "buste";
    animation.targetNumber = 1;
    animation.children = {childRef(2, "soutien gorge", {childRef(3, "x")}), childRef(4, "culotte"),
                          childRef(5, "y")};
    file.animations = {animation};
    Scene scene;
    const SceneReadReport report = read(lf::buildLegacyFile(file), scene);
    ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
    EXPECT_EQ(readObject(scene, 0).boneNumber, 0);
    EXPECT_EQ(readObject(scene, 1).boneNumber, 53);
    EXPECT_EQ(readObject(scene, 2).boneNumber, 1);
    EXPECT_EQ(readObject(scene, 3).boneNumber, 54);
    // "culotte" advances the running number, "soutien gorge" does not.
    EXPECT_EQ(readObject(scene, 4).boneNumber, 3);
    EXPECT_EQ(readObject(scene, 2).parent, &readObject(scene, 1));
    EXPECT_TRUE(readObject(scene, 2).boneNumberFlag);
}

TEST(LegacyAnimationTrees, StoredBoneNumbersAreKeptSinceVersion1165) {
    lf::LegacyScene file = lf::distinctScene("1.16.5");
    file.objects = {lf::plainObject("buste"), lf::plainObject("soutien gorge"), lf::plainObject("x")};
    file.objects[0].boneNumber = 12;
    file.objects[1].boneNumber = 13;
    file.objects[1].boneNumberFlag = false;
    file.objects[2].boneNumber = 14;
    lf::LegacyAnimation animation;
    animation.targetName = "buste";
    animation.targetNumber = 1;
    animation.children = {childRef(2, "soutien gorge", {childRef(3, "x")})};
    file.animations = {animation};
    Scene scene;
    const SceneReadReport report = read(lf::buildLegacyFile(file), scene);
    ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
    EXPECT_EQ(readObject(scene, 0).boneNumber, 12);
    EXPECT_EQ(readObject(scene, 1).boneNumber, 13);
    EXPECT_FALSE(readObject(scene, 1).boneNumberFlag);
    EXPECT_EQ(readObject(scene, 2).boneNumber, 14);
}

TEST(LegacyKeyImageStates, StateOfAMissingObjectIsDroppedWithoutLosingTheNextOnes) {
    for (const std::string v : {"0.2", "0.5", "1.7", "1.8", "1.16.8"}) {
        lf::LegacyScene file = lf::distinctScene(v);
        file.objects = {lf::plainObject("tete"), lf::plainObject("pied")};
        lf::LegacyAnimation animation;
        animation.targetName = "tete";
        animation.targetNumber = 1;
        lf::LegacySequence seq = distinctSequence("pas");
        seq.keyImages = {{0.5, {}, {stateFor(lf::distinctState(0), 1, "tete"),
                                    stateFor(lf::distinctState(1), 42, "efface"),
                                    stateFor(lf::distinctState(2), 2, "pied")}},
                         {0.75, {}, {stateFor(lf::distinctState(3), 2, "pied")}}};
        animation.sequences = {seq};
        file.animations = {animation};
        Scene scene;
        const SceneReadReport report = read(lf::buildLegacyFile(file), scene);
        ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
        ASSERT_EQ(scene.animations().size(), 1u) << v;
        const Sequence& gotSeq = *scene.animations()[0]->sequences.at(0);
        ASSERT_EQ(gotSeq.keyImages.size(), 2u) << v;
        const KeyImage& first = *gotSeq.keyImages[0];
        ASSERT_EQ(first.states.size(), 2u) << v;
        EXPECT_EQ(first.states[0]->object, &readObject(scene, 0));
        EXPECT_EQ(first.states[1]->object, &readObject(scene, 1));
        expectState(*first.states[1], seq.keyImages[0].states[2], v, "state after the dropped one");
        ASSERT_EQ(gotSeq.keyImages[1]->states.size(), 1u) << v;
        expectState(*gotSeq.keyImages[1]->states[0], seq.keyImages[1].states[0], v, "state of the next key");
    }
}

TEST(LegacyKeyImageStates, KeyImagesComeBackSortedByTime) {
    lf::LegacyScene file = lf::distinctScene("1.16.8");
    file.animations = {cameraAnimation("desordre", {11.66, 3.9, 7.8, 0.25})};
    Scene scene;
    ASSERT_TRUE(read(lf::buildLegacyFile(file), scene).complete());
    ASSERT_EQ(scene.animations().size(), 1u);
    const Sequence& seq = *scene.animations()[0]->sequences.at(0);
    ASSERT_EQ(seq.keyImages.size(), 4u);
    const std::array<double, 4> times{0.25, 3.9, 7.8, 11.66};
    const std::array<int, 4> stored{3, 1, 2, 0};  // position of each in the file
    for (std::size_t k = 0; k < 4; ++k) {
        EXPECT_DOUBLE_EQ(seq.keyImages[k]->time, times[k]);
        EXPECT_EQ(seq.keyImages[k]->number, static_cast<std::int32_t>(k));
        ASSERT_EQ(seq.keyImages[k]->states.size(), 1u);
        // Each key image keeps its own states.
        expectState(*seq.keyImages[k]->states[0],
                    file.animations[0].sequences[0].keyImages[static_cast<std::size_t>(stored[k])].states[0],
                    "1.16.8", "state of key " + std::to_string(k));
    }
    EXPECT_EQ(seq.keyImages[0]->displayName(), "Image cl\xE9, temps : 0.25");
}

TEST(LegacyOldestStates, ZeroAnglesGiveVectorEZeroAndValueGZero) {
    lf::LegacyScene file = lf::distinctScene("0.2");
    lf::LegacyAnimation animation = cameraAnimation("zero", {1.0});
    lf::LegacyState& state = animation.sequences[0].keyImages[0].states[0];
    state.vectorA = {0.0f, 0.0f, 0.0f};
    file.animations = {animation};
    Scene scene;
    ASSERT_TRUE(read(lf::buildLegacyFile(file), scene).complete());
    ASSERT_EQ(scene.animations().size(), 1u);
    const ObjectState& got = *scene.animations()[0]->sequences.at(0)->keyImages.at(0)->states.at(0);
    expectF3(got.rotationAxis, lf::F3{0.0f, 0.0f, 0.0f}, "vector E");
    EXPECT_FLOAT_EQ(got.rotationAngle, 0.0f);
    expectF3(got.position, state.vectorB, "vector B");
    EXPECT_EQ(got.flagI, state.flagI);
    EXPECT_EQ(got.flagK, state.flagK);
}

TEST(LegacyOldestStates, AnglesBecomeAxisAndAngleAndTheSequenceBlockIsRead) {
    lf::LegacyScene file = lf::distinctScene("0.1");
    lf::LegacyAnimation animation = cameraAnimation("tourne", {1.0, 2.0, 3.0});
    auto& keys = animation.sequences[0].keyImages;
    keys[0].states[0].vectorA = {0.0f, 0.0f, kHalfPi};
    keys[1].states[0].vectorA = {0.0f, 0.5f, 0.0f};
    keys[2].states[0].vectorA = {0.3f, -0.4f, 0.5f};
    keys[2].states[0].flagI = false;
    file.animations = {animation};
    Scene scene;
    ASSERT_TRUE(read(lf::buildLegacyFile(file), scene).complete());
    ASSERT_EQ(scene.animations().size(), 1u);
    const Sequence& seq = *scene.animations()[0]->sequences.at(0);
    expectSequence(seq, animation.sequences[0], "0.1");
    ASSERT_EQ(seq.keyImages.size(), 3u);
    // A quarter turn about Z: E = (0, 0, sin(pi/4)), G = pi/2.
    const ObjectState& quarter = *seq.keyImages[0]->states.at(0);
    EXPECT_NEAR(quarter.rotationAxis.z, std::sin(kPi / 4.0f), 1e-6f);
    EXPECT_NEAR(quarter.rotationAngle, kHalfPi, 1e-5f);
    // The Y angle turns the other way.
    const ObjectState& aboutY = *seq.keyImages[1]->states.at(0);
    EXPECT_NEAR(aboutY.rotationAxis.y, -std::sin(0.25f), 1e-6f);
    EXPECT_NEAR(aboutY.rotationAngle, 0.5f, 1e-5f);
    for (std::size_t k = 0; k < 3; ++k) {
        expectState(*seq.keyImages[k]->states.at(0), keys[k].states[0], "0.1", "state " + std::to_string(k));
    }
}

// =============================================================================
// Tags

TEST(LegacyTags, OlderFamilyAnimationFileReadsDecimalTimes) {
    lf::LegacyScene file;
    file.version = "Morvanexv3 1.0";
    lf::LegacyAnimation animation = cameraAnimation("ancienne", {3.9, 1.5});
    animation.sequences[0].keyImages[0].timeText = "3.9";
    animation.sequences[0].keyImages[1].timeText = "1.5";
    file.animations = {animation};
    Scene scene;
    const SceneReadReport report = read(lf::buildLegacyFile(file), scene);
    ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
    EXPECT_EQ(report.tag, "Morvanexv3 1.0");
    EXPECT_EQ(scene.objectCount(), kHead);
    ASSERT_EQ(scene.animations().size(), 1u);
    const Animation& anim = *scene.animations()[0];
    EXPECT_EQ(anim.target, scene.cameraObject());
    EXPECT_FLOAT_EQ(anim.turnValue, kDefaultTurn);
    ASSERT_EQ(anim.sequences.size(), 1u);
    const Sequence& seq = *anim.sequences[0];
    // Read with the oldest layout: the 284-byte sequence block.
    expectSequence(seq, animation.sequences[0], "0.1");
    ASSERT_EQ(seq.keyImages.size(), 2u);
    EXPECT_NEAR(seq.keyImages[0]->time, 1.5, 1e-6);
    EXPECT_NEAR(seq.keyImages[1]->time, 3.9, 1e-6);
    EXPECT_EQ(seq.keyImages[1]->displayName(), "Image cl\xE9, temps : 3.9");
    ASSERT_EQ(seq.keyImages[0]->states.size(), 1u);
    EXPECT_EQ(seq.keyImages[0]->states[0]->object, scene.cameraObject());
    expectState(*seq.keyImages[0]->states[0], animation.sequences[0].keyImages[1].states[0], "0.1",
                "state at 1.5 s");
}

TEST(LegacyTags, UnknownTagsAddNothing) {
    const std::vector<std::string> tags{"Morvanexv4 1.17", "Morvanexv4 1.9a", "Morvanexv4 1.16.9",
                                        "Morvanexv4 ", "Morvanexv4 1.16.8 ", "garbage",
                                        "Morvanexv3 1.1"};
    for (const auto& tag : tags) {
        lf::LegacyScene file = lf::distinctScene("1.16.8");
        file.tagOverride = tag;
        file.objects = {lf::distinctObject("objet", 0)};
        file.animations = {cameraAnimation("s", {1.0})};
        Scene scene;
        const SceneReadReport report = read(lf::buildLegacyFile(file), scene);
        EXPECT_EQ(report.status, ReadStatus::UnknownTag) << "\"" << tag << "\"";
        EXPECT_EQ(scene.objectCount(), kHead) << tag;
        EXPECT_TRUE(scene.animations().empty()) << tag;
        expectF4(scene.backgroundColour, lf::F4{0.73f, 0.73f, 0.73f, 1.0f}, "background after " + tag);
        EXPECT_EQ(scene.activeLightCount, 1) << tag;
    }
    // Bytes that are no text at all.
    const std::vector<std::uint8_t> noise{0xFF, 0x10, 0x00, 0x01, 0x00, 0x00, 0x00};
    Scene scene;
    EXPECT_EQ(read(noise, scene).status, ReadStatus::UnknownTag);
    EXPECT_EQ(scene.objectCount(), kHead);
}

TEST(LegacyTags, OlderFamilyTagsWithUnreadBlocksAreRefused) {
    for (const std::string tag : {"Morvanexv3 0.6", "Morvanexv3 0.8", "Morvanexv3 0.9"}) {
        lf::LegacyByteWriter bytes;
        bytes.cstr(tag);
        bytes.i32(16);  // a view settings block of 16 bytes
        bytes.zeros(16);
        bytes.i32(0);
        Scene scene;
        const SceneReadReport report = read(bytes.data(), scene);
        EXPECT_EQ(report.status, ReadStatus::RefusedTag) << tag;
        EXPECT_EQ(report.tag, tag);
        EXPECT_EQ(scene.objectCount(), kHead) << tag;
        EXPECT_TRUE(scene.animations().empty()) << tag;
    }
}

// =============================================================================
// Merging

TEST(LegacyMerge, KeptHeaderLeavesTheSceneSettingsButAddsTheContent) {
    for (const std::string v : {"0.1", "1.16.8"}) {
        lf::LegacyScene file = lf::distinctScene(v);
        file.objects = {lf::plainObject("ajoute")};
        file.animations = {cameraAnimation("s", {1.0})};
        Scene scene;
        const Scene fresh;
        SceneReadOptions options;
        options.keepSceneHeader = true;
        const SceneReadReport report = read(lf::buildLegacyFile(file), scene, options);
        ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
        ASSERT_EQ(scene.objectCount(), kHead + 1) << v;
        EXPECT_EQ(readObject(scene, 0).name, "ajoute");
        EXPECT_EQ(scene.animations().size(), 1u) << v;
        expectF3(scene.eyeTarget, fresh.eyeTarget, "eye target " + v);
        EXPECT_FLOAT_EQ(scene.fieldOfView, fresh.fieldOfView) << v;
        EXPECT_EQ(scene.settings.shadingMode, fresh.settings.shadingMode) << v;
        expectF4(scene.backgroundColour, lf::F4{0.73f, 0.73f, 0.73f, 1.0f}, "background " + v);
        EXPECT_EQ(scene.activeLightCount, 1) << v;
        EXPECT_TRUE(scene.viewpoints.empty()) << v;
        EXPECT_EQ(scene.settings.groundImageName, " ") << v;
    }
}

// =============================================================================
// Damage

TEST(LegacyDamage, TruncatedObjectIsDiscardedAndEarlierOnesKept) {
    for (const std::string v : {"0.7", "1.16.8"}) {
        lf::LegacyScene file = lf::distinctScene(v);
        file.objects = {lf::plainObject("entier"), lf::plainObject("coupe")};
        const lf::LegacyFile built = lf::buildLegacyFileWithLayout(file);
        // Cut the file in the middle of the second object's vertices.
        std::vector<std::uint8_t> bytes = built.bytes;
        bytes.resize(built.layout.objectEnd[1] - 40);
        Scene scene;
        const SceneReadReport report = read(bytes, scene);
        EXPECT_EQ(report.status, ReadStatus::Damaged) << v;
        EXPECT_EQ(report.objectRecordsRead, 1) << v;
        EXPECT_LE(report.errorOffset, bytes.size()) << v;
        ASSERT_EQ(scene.objectCount(), kHead + 1) << v;
        EXPECT_EQ(readObject(scene, 0).name, "entier");
    }
}

}  // namespace
}  // namespace morvanex
