// The file-level rules of opening and saving: the names a save uses, the
// backup names, the check made before a scene is given up, the mesh update
// and animation files.
#include <gtest/gtest.h>

#include "base/test_files.h"
#include "scene/scene.h"
#include "scenefile/animation_file.h"
#include "scenefile/scene_procedures.h"
#include "scenefile/scene_reader.h"
#include "scenefile/scene_writer.h"

namespace morvanex {
namespace {

namespace fs = std::filesystem;

void giveTriangle(SceneObject& object, float size) {
    std::vector<MeshVertex> v(3);
    v[1].position = {size, 0, 0};
    v[2].position = {0, size, 0};
    object.assignMesh(std::move(v), {0, 1, 2});
}

TEST(SaveTarget, ExtensionAndExamplesRules) {
    test::TempFolder temp;
    const fs::path examples = temp / "exemples";
    const fs::path documents = temp / "docs";
    fs::create_directories(examples);
    const struct {
        fs::path chosen;
        fs::path expected;
        bool moved;
    } cases[] = {
        {temp / "scene", temp / "scene.mrx", false},
        {temp / "scene.MRX", temp / "scene.MRX", false},  // the test ignores case
        {temp / "notes.txt", temp / "notes.txt.mrx", false},
        {examples / "voiture.mrx", documents / "voiture.mrx", true},
        {temp / "exemples2" / "a.mrx", temp / "exemples2" / "a.mrx", false},
    };
    for (const auto& c : cases) {
        const SaveTarget target = saveTargetFor(c.chosen, examples.string() + "/", documents);
        EXPECT_EQ(target.path, c.expected) << c.chosen;
        EXPECT_EQ(target.movedOutOfExamples, c.moved) << c.chosen;
    }
    // A scene saved as "scene" gets its folder and thumbnail from the new name.
    const ScenePaths paths = scenePathsOf(temp / "scene.mrx");
    EXPECT_EQ(paths.sceneFileName, "scene.mrx");
    EXPECT_EQ(paths.sceneFolder, temp / "scene");
    EXPECT_EQ(paths.textureFolder, temp / "Textures");
    EXPECT_EQ(thumbnailPathOf(paths.scenePath), temp / "scene.mrx.bmp");
}

TEST(Backup, TheProgramsOwnScenesAreNeverBackedUp) {
    EXPECT_FALSE(backedUpOnOpen("logo.mrx"));
    EXPECT_FALSE(backedUpOnOpen("camera.mrx"));
    EXPECT_TRUE(backedUpOnOpen("maison.mrx"));
    EXPECT_EQ(backupPathOf("/a/Archive", "/b/maison.mrx"), fs::path("/a/Archive/maison_back.mrx"));
}

TEST(CheckSceneStart, RefusesWhatWouldLeaveNothing) {
    Scene scene;
    scene.addObject("boite");
    const std::vector<std::uint8_t> whole = writeScene(scene, {});
    const std::string tag(kNewestFileTag);
    const struct {
        const char* name;
        std::vector<std::uint8_t> bytes;
        ReadStatus status;
    } cases[] = {
        {"whole", whole, ReadStatus::Complete},
        {"cut in the objects", {whole.begin(), whole.end() - 10}, ReadStatus::Complete},
        {"cut in the header", {whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(tag.size()) + 30},
         ReadStatus::Damaged},
        {"empty", {}, ReadStatus::UnknownTag},
        {"another file", {'P', 'K', 3, 4, 0, 0}, ReadStatus::UnknownTag},
    };
    for (const auto& c : cases) EXPECT_EQ(checkSceneStart(c.bytes).status, c.status) << c.name;
}

TEST(MeshUpdate, ReplacesOnlyTheNamesakesGeometry) {
    Scene source;
    SceneObject& newArm = source.addObject("bras");
    giveTriangle(newArm, 9.0f);
    newArm.vertices[0].blendIndices = {7, 8, -1, -1};
    newArm.timedPath.present = true;
    newArm.timedPath.values[0] = 42;
    newArm.position = {100, 0, 0};
    giveTriangle(source.addObject("nouveau"), 1.0f);

    Scene target;
    SceneObject& arm = target.addObject("bras");
    giveTriangle(arm, 1.0f);
    arm.boneNumber = 3;
    arm.position = {1, 2, 3};
    arm.materialColours[0] = {1, 0, 0, 1};
    SceneObject& leg = target.addObject("jambe");
    giveTriangle(leg, 1.0f);
    const std::size_t objectsBefore = target.objectCount();

    const std::vector<SceneObject*> updated = updateMeshesFrom(source, target);
    ASSERT_EQ(updated, std::vector<SceneObject*>{&arm});
    EXPECT_FLOAT_EQ(arm.vertices[1].position.x, 9.0f);
    EXPECT_EQ(arm.vertices[0].blendIndices[0], 3);  // bound to the object's own bone
    EXPECT_EQ(arm.vertices[0].blendIndices[1], -1);
    EXPECT_EQ(arm.timedPath.values[0], 42);
    // Everything else stays.
    EXPECT_FLOAT_EQ(arm.position.x, 1.0f);
    EXPECT_FLOAT_EQ(arm.materialColours[0].y, 0.0f);
    EXPECT_FLOAT_EQ(leg.vertices[1].position.x, 1.0f);
    EXPECT_EQ(target.objectCount(), objectsBefore);  // "nouveau" is not added
}

// An arm with a hand below it, animated; the file carries its sequences.
struct AnimatedArm {
    explicit AnimatedArm(Scene& scene) : arm(scene.addObject("bras")), hand(scene.addObject("main")) {
        arm.addChild(hand);
        animation = &scene.addAnimation("bras");
        animation->target = &arm;
        arm.animation = hand.animation = animation;
    }
    SceneObject& arm;
    SceneObject& hand;
    Animation* animation = nullptr;
};

TEST(AnimationFile, RoundTripsOntoAnObjectOfTheSameShape) {
    Scene scene;
    AnimatedArm source(scene);
    Sequence& wave = source.animation->addSequence("salut");
    wave.repeat = true;
    KeyImage& key = wave.addKeyImage(1.5);
    key.addState(&source.arm).position = {1, 2, 3};
    key.addState(&source.hand).position = {4, 5, 6};
    source.animation->addSequence("repos").addKeyImage(0.0);
    const std::vector<std::uint8_t> bytes = writeAnimationBytes(scene, source.arm);
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data())), std::string(kNewestFileTag));

    Scene other;
    SceneObject& arm = other.addObject("autre bras");
    SceneObject& hand = other.addObject("autre main");
    arm.addChild(hand);
    const AnimationFileResult read = readAnimationBytes(bytes, other, arm);
    ASSERT_TRUE(read.ok) << read.error;
    ASSERT_NE(read.animation, nullptr);
    EXPECT_EQ(read.animation->target, &arm);
    EXPECT_EQ(arm.animation, read.animation);
    EXPECT_EQ(hand.animation, read.animation);
    ASSERT_EQ(read.animation->sequences.size(), 2u);
    const Sequence& back = *read.animation->sequences[0];
    EXPECT_EQ(back.name, "salut");
    EXPECT_TRUE(back.repeat);
    ASSERT_EQ(back.keyImages.size(), 1u);
    ASSERT_EQ(back.keyImages[0]->states.size(), 2u);
    EXPECT_EQ(back.keyImages[0]->states[0]->object, &arm);
    EXPECT_EQ(back.keyImages[0]->states[1]->object, &hand);
    EXPECT_FLOAT_EQ(back.keyImages[0]->states[1]->position.z, 6.0f);

    // A second import adds to what the object has: nothing is lost.
    EXPECT_TRUE(readAnimationBytes(bytes, other, arm).ok);
    EXPECT_EQ(read.animation->sequences.size(), 4u);
    EXPECT_EQ(other.animations().size(), 1u);
    // Save indices are back to 0 once written.
    EXPECT_EQ(source.arm.saveIndex, 0);
}

TEST(AnimationFile, NothingToWriteAndNothingReadFromAForeignFile) {
    Scene scene;
    SceneObject& lonely = scene.addObject("seul");
    EXPECT_TRUE(writeAnimationBytes(scene, lonely).empty());

    AnimatedArm target(scene);
    const std::vector<std::uint8_t> foreign{'R', 'I', 'F', 'F', 0, 1, 2, 3};
    const std::size_t animationsBefore = scene.animations().size();
    EXPECT_FALSE(readAnimationBytes(foreign, scene, lonely).ok);
    EXPECT_EQ(lonely.animation, nullptr);
    EXPECT_EQ(scene.animations().size(), animationsBefore);
}

TEST(AnimationFile, TheExtensionIsAddedWhenMissing) {
    EXPECT_EQ(animationFilePathFor("/a/marche"), fs::path("/a/marche.ANI"));
    EXPECT_EQ(animationFilePathFor("/a/marche.ani"), fs::path("/a/marche.ani"));
    EXPECT_EQ(animationFilePathFor("/a/marche.txt"), fs::path("/a/marche.txt.ANI"));
}

}  // namespace
}  // namespace morvanex
