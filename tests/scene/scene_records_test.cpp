#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "scene/animation.h"
#include "scene/mesh_vertex.h"
#include "scene/scene.h"
#include "scene/scene_object.h"

namespace morvanex {
namespace {

void expectVec3(const Vec3& v, float x, float y, float z) {
    EXPECT_FLOAT_EQ(v.x, x);
    EXPECT_FLOAT_EQ(v.y, y);
    EXPECT_FLOAT_EQ(v.z, z);
}

void expectVec4(const Vec4& v, float x, float y, float z, float w) {
    EXPECT_FLOAT_EQ(v.x, x);
    EXPECT_FLOAT_EQ(v.y, y);
    EXPECT_FLOAT_EQ(v.z, z);
    EXPECT_FLOAT_EQ(v.w, w);
}

bool isIdentity(const Mat4& m) {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            if (m.m[r][c] != (r == c ? 1.0f : 0.0f)) {
                return false;
            }
        }
    }
    return true;
}

TEST(SceneObjectTest, FreshObjectHasNeutralTransformAndNoTextures) {
    const SceneObject object("boite");
    EXPECT_EQ(object.name, "boite");
    EXPECT_FLOAT_EQ(object.opacity, 1.0f);
    expectVec3(object.scale, 1.0f, 1.0f, 1.0f);
    expectVec3(object.rotationAxis, 0.0f, 1.0f, 0.0f);
    EXPECT_FLOAT_EQ(object.rotationAngle, 0.0f);
    expectVec3(object.positionOffset, 0.0f, 0.0f, 0.0f);
    EXPECT_TRUE(isIdentity(object.baseMatrix));
    for (std::size_t slot = 0; slot < kTextureSlots; ++slot) {
        EXPECT_EQ(object.textures[slot], nullptr) << "slot " << slot;
        EXPECT_FALSE(object.textureEnabled[slot]) << "slot " << slot;
    }
    EXPECT_EQ(object.vertexCount(), 0u);
    EXPECT_EQ(object.indexCount(), 0u);
    EXPECT_EQ(object.parent, nullptr);
    EXPECT_EQ(object.animation, nullptr);
    EXPECT_TRUE(object.listed);
    EXPECT_FALSE(object.transient);
    EXPECT_EQ(object.saveIndex, 0);
}

TEST(SceneObjectTest, FlagVIsFalseOnlyForTheEarObjects) {
    EXPECT_FALSE(SceneObject("oreille g").flagV);
    EXPECT_FALSE(SceneObject("oreille d").flagV);
    EXPECT_TRUE(SceneObject("oreille").flagV);
    EXPECT_TRUE(SceneObject("Oreille g").flagV);
    EXPECT_TRUE(SceneObject("tete").flagV);
}

TEST(SceneObjectTest, SkinSoundAndExtensionDefaults) {
    const SceneObject object("tubage");
    EXPECT_TRUE(object.boneNumberFlag);
    EXPECT_EQ(object.boneNumber, 0);
    EXPECT_FLOAT_EQ(object.soundVolume, 1.0f);
    EXPECT_EQ(object.sound, nullptr);
    EXPECT_TRUE(object.flagF1);
    EXPECT_FALSE(object.flagF2);

    EXPECT_FLOAT_EQ(object.styleValues[2], 0.55f);
    expectVec4(object.styleColour, 0.87f, 0.87f, 0.87f, 1.0f);
    EXPECT_EQ(object.styleMode, 1);
    EXPECT_FLOAT_EQ(object.valueW, 2.0f);

    EXPECT_EQ(object.extensionBlockMarker, 1);
    EXPECT_FLOAT_EQ(object.extensionValuesA[0], 5.0f);
    EXPECT_FLOAT_EQ(object.extensionValuesA[1], 15.0f);
    EXPECT_EQ(object.extensionFileName, " ");
    EXPECT_FLOAT_EQ(object.extensionValueZ, 1.0f);
    expectVec3(object.extensionDirection, -0.458f, 0.074f, 0.145f);
    expectVec4(object.extensionColour1, 0.7f, 0.7f, 0.7f, 1.0f);
    expectVec4(object.extensionColour2, 0.7f, 0.7f, 0.7f, 1.0f);
    EXPECT_FLOAT_EQ(object.extensionValuesB[0], 8.4f);
    EXPECT_FLOAT_EQ(object.extensionValuesB[1], 1.528f);

    for (const SceneLight& light : object.lights) {
        EXPECT_FLOAT_EQ(light.intensity, 1.0f);
        expectVec4(light.positionOrColour, 50.0f, 100.0f, 100.0f, 0.0f);
    }
    for (const FlaggedCurve& curve : object.profileCurves) {
        EXPECT_FALSE(curve.used);
        EXPECT_TRUE(curve.points.empty());
    }
    EXPECT_FALSE(object.timedPath.present);
    EXPECT_FALSE(object.sweepCurves.present);
}

TEST(SceneObjectTest, NamedRenderSwitchesMapToTheirNumbers) {
    SceneObject object("Quad");
    for (int n = 1; n <= static_cast<int>(kRenderSwitches); ++n) {
        EXPECT_FALSE(object.renderSwitch(n));
    }
    object.setEnvMapEnabled(true);
    EXPECT_TRUE(object.renderSwitch(1));
    EXPECT_TRUE(object.renderSwitches[0]);
    object.setRenderSwitch(7, true);
    EXPECT_TRUE(object.normalMapEnabled());
    EXPECT_FALSE(object.renderSwitch(2));
}

TEST(SceneObjectTest, AssignMeshSetsCountsSelectionAndBounds) {
    SceneObject object("Face");
    std::vector<MeshVertex> vertices(3);
    vertices[0].position = {-1.0f, 0.0f, 2.0f};
    vertices[1].position = {3.0f, 4.0f, 2.0f};
    vertices[2].position = {1.0f, -2.0f, 0.0f};
    object.assignMesh(vertices, {0, 1, 2});
    EXPECT_EQ(object.vertexCount(), 3u);
    EXPECT_EQ(object.indexCount(), 3u);
    EXPECT_EQ(object.triangleCount, 1);
    EXPECT_EQ(object.faceSelected.size(), 1u);
    expectVec3(object.boundsMin, -1.0f, -2.0f, 0.0f);
    expectVec3(object.boundsMax, 3.0f, 4.0f, 2.0f);
    expectVec3(object.boundsCentre, 1.0f, 1.0f, 1.0f);
}

TEST(SceneObjectTest, AddChildListsOnceAndRemoveChildClearsParent) {
    SceneObject parent("bras");
    SceneObject child("main");
    parent.addChild(child);
    parent.addChild(child);
    ASSERT_EQ(parent.children.size(), 1u);
    EXPECT_EQ(child.parent, &parent);
    EXPECT_TRUE(parent.removeChild(&child));
    EXPECT_TRUE(parent.children.empty());
    EXPECT_EQ(child.parent, nullptr);
    EXPECT_FALSE(parent.removeChild(&child));
}

TEST(MeshVertexTest, UnboundVertexFollowsItsObjectThroughTheFirstPair) {
    const MeshVertex vertex;
    EXPECT_FLOAT_EQ(vertex.blendWeights[0], 1.0f);
    EXPECT_FLOAT_EQ(vertex.blendWeights[1], 0.0f);
    EXPECT_FLOAT_EQ(vertex.blendWeights[2], 0.0f);
    EXPECT_FLOAT_EQ(vertex.blendWeights[3], 0.0f);
    EXPECT_EQ(vertex.blendIndices[0], 0);
    EXPECT_EQ(vertex.blendIndices[1], -1);
    EXPECT_EQ(vertex.blendIndices[2], -1);
    EXPECT_EQ(vertex.blendIndices[3], -1);
}

TEST(MeshVertexTest, BytesFollowTheFixedLayout) {
    MeshVertex vertex;
    vertex.position = {1.0f, 2.0f, 3.0f};
    vertex.blendIndices[3] = 59;
    vertex.normal = {0.0f, 0.0f, 1.0f};
    vertex.texcoord2 = {0.25f, 0.75f};
    unsigned char bytes[sizeof(MeshVertex)];
    std::memcpy(bytes, &vertex, sizeof bytes);

    float f = 0.0f;
    std::int32_t i = 0;
    std::memcpy(&f, bytes + 8, 4);
    EXPECT_FLOAT_EQ(f, 3.0f);  // position.z
    std::memcpy(&f, bytes + 12, 4);
    EXPECT_FLOAT_EQ(f, 1.0f);  // first weight
    std::memcpy(&i, bytes + 28 + 12, 4);
    EXPECT_EQ(i, 59);  // fourth bone number
    std::memcpy(&f, bytes + 52, 4);
    EXPECT_FLOAT_EQ(f, 1.0f);  // normal.z
    std::memcpy(&f, bytes + 68, 4);
    EXPECT_FLOAT_EQ(f, 0.75f);  // texcoord2.y
}

TEST(SceneTest, FreshSceneDefaults) {
    const Scene scene;
    EXPECT_EQ(scene.activeLightCount, 1);
    for (const SceneLight& light : scene.lights) {
        EXPECT_FLOAT_EQ(light.intensity, 1.0f);
        expectVec4(light.positionOrColour, 50.0f, 100.0f, 100.0f, 0.0f);
        EXPECT_FLOAT_EQ(light.secondValue, 1.0f);
    }
    expectVec4(scene.backgroundColour, 0.73f, 0.73f, 0.73f, 1.0f);
    EXPECT_NEAR(scene.fieldOfView, 3.14159265 / 4.0, 1e-6);
    EXPECT_FLOAT_EQ(scene.rangeValue, 150.0f);
    EXPECT_FLOAT_EQ(scene.settings.groundShading, 0.55f);
    expectVec4(scene.settings.groundColour, 0.87f, 0.87f, 0.87f, 1.0f);
    EXPECT_EQ(scene.settings.groundMode, 1);
    EXPECT_FLOAT_EQ(scene.settings.groundScale, 1.0f);
    EXPECT_EQ(scene.settings.groundImageName, " ");
    EXPECT_FALSE(scene.settings.embedTextures);
    EXPECT_EQ(scene.loadedVersionTag, kProgramVersionLabel);
    EXPECT_FALSE(scene.modified);
    EXPECT_EQ(scene.currentObject, nullptr);
    EXPECT_TRUE(scene.animations().empty());
    EXPECT_TRUE(scene.viewpoints.empty());
}

TEST(SceneTest, ServiceObjectsLeadTheListAndAreNeverSaved) {
    const Scene scene;
    ASSERT_EQ(scene.objectCount(), kServiceObjectCount);
    for (std::size_t i = 0; i < kServiceObjectCount; ++i) {
        const SceneObject* object = scene.objects()[i].get();
        EXPECT_EQ(scene.serviceObject(static_cast<ServiceSlot>(i)), object);
        EXPECT_EQ(object->name, kServiceObjectNames[i]);
        EXPECT_TRUE(scene.isServiceObject(object));
        EXPECT_FALSE(scene.isSaved(*object)) << object->name;
    }
    ASSERT_NE(scene.cameraObject(), nullptr);
    EXPECT_EQ(scene.cameraObject()->name, "Camera");
    ASSERT_NE(scene.lightObject(), nullptr);
    EXPECT_EQ(scene.lightObject()->name, "light");
}

TEST(SceneTest, SavedObjectsExcludeTransientUnlistedAndGrid) {
    Scene scene;
    SceneObject& plain = scene.addObject("boite");
    SceneObject& grid = scene.addObject("Grille");
    SceneObject& transient = scene.addObject("PointTrajectoire");
    transient.transient = true;
    SceneObject& unlisted = scene.addObject("surface");
    unlisted.listed = false;
    // A user object that happens to be named like a service object is saved.
    SceneObject& namesake = scene.addObject("Camera");

    EXPECT_TRUE(scene.isSaved(plain));
    EXPECT_FALSE(scene.isSaved(grid));
    EXPECT_FALSE(scene.isSaved(transient));
    EXPECT_FALSE(scene.isSaved(unlisted));
    EXPECT_TRUE(scene.isSaved(namesake));
    EXPECT_FALSE(scene.isServiceObject(&namesake));
    EXPECT_EQ(scene.findObject("Camera"), scene.cameraObject());
}

TEST(SceneTest, RemoveObjectClearsEveryPointerToIt) {
    Scene scene;
    SceneObject& leader = scene.addObject("corps");
    SceneObject& doomed = scene.addObject("bras");
    SceneObject& grandchild = scene.addObject("main");
    leader.addChild(doomed);
    doomed.addChild(grandchild);
    grandchild.groupLeader = &doomed;
    ObjectLink link;
    link.object = &doomed;
    leader.links.push_back(link);
    scene.currentObject = &doomed;

    Animation& ownAnimation = scene.addAnimation("bras");
    ownAnimation.target = &doomed;
    doomed.animation = &ownAnimation;
    Animation& posing = scene.addAnimation("corps");
    posing.target = &leader;
    KeyImage& key = posing.addSequence("marche").addKeyImage(1.5);
    key.addState(&leader);
    key.addState(&doomed);

    SceneTexture& texture = scene.addTexture("peau.dds");
    texture.lastAttachedObject = &doomed;
    doomed.textures[0] = &texture;

    const std::size_t before = scene.objectCount();
    ASSERT_TRUE(scene.removeObject(&doomed));
    EXPECT_EQ(scene.objectCount(), before - 1);
    EXPECT_EQ(scene.indexOf(&leader), static_cast<std::ptrdiff_t>(kServiceObjectCount));

    EXPECT_EQ(scene.currentObject, nullptr);
    EXPECT_TRUE(leader.children.empty());
    EXPECT_TRUE(leader.links.empty());
    EXPECT_EQ(grandchild.parent, nullptr);
    EXPECT_EQ(grandchild.groupLeader, nullptr);
    EXPECT_EQ(ownAnimation.target, nullptr);
    EXPECT_EQ(posing.target, &leader);
    ASSERT_EQ(key.states.size(), 2u);
    EXPECT_EQ(key.states[0]->object, &leader);
    EXPECT_EQ(key.states[1]->object, nullptr);
    EXPECT_EQ(texture.lastAttachedObject, nullptr);
    // Shared records outlive the objects that used them.
    EXPECT_EQ(scene.findTexture("peau.dds"), &texture);

    SceneObject stranger("ailleurs");
    EXPECT_FALSE(scene.removeObject(&stranger));
    EXPECT_FALSE(scene.removeObject(nullptr));
}

TEST(SceneTest, RemovingAServiceObjectEmptiesItsSlot) {
    Scene scene;
    SceneObject* camera = scene.cameraObject();
    scene.currentObject = camera;
    ASSERT_TRUE(scene.removeObject(camera));
    EXPECT_EQ(scene.cameraObject(), nullptr);
    EXPECT_EQ(scene.currentObject, nullptr);
    EXPECT_EQ(scene.objectCount(), kServiceObjectCount - 1);
}

TEST(SceneTest, ClearContentKeepsTheServiceObjectsAndCutsThemLoose) {
    Scene scene;
    SceneObject* camera = scene.cameraObject();
    SceneObject& body = scene.addObject("corps");
    body.addChild(*camera);
    camera->addChild(scene.addObject("tete"));
    Animation& animation = scene.addAnimation("Camera");
    animation.target = camera;
    camera->animation = &animation;
    scene.currentObject = &body;
    SceneTexture& texture = scene.addTexture("sol.png");
    texture.lastAttachedObject = &body;

    scene.clearContent();

    ASSERT_EQ(scene.objectCount(), kServiceObjectCount);
    EXPECT_EQ(scene.objects()[0].get(), camera);
    EXPECT_EQ(scene.cameraObject(), camera);
    EXPECT_EQ(camera->parent, nullptr);
    EXPECT_TRUE(camera->children.empty());
    EXPECT_EQ(camera->animation, nullptr);
    EXPECT_TRUE(scene.animations().empty());
    EXPECT_EQ(scene.currentObject, nullptr);
    EXPECT_EQ(texture.lastAttachedObject, nullptr);
    EXPECT_EQ(scene.findTexture("sol.png"), &texture);
}

TEST(SceneTest, SetServiceObjectReplacesTheSlotAtTheHead) {
    Scene scene;
    scene.addObject("volume~0");
    SceneObject& imported = scene.addObject("souder 1");
    imported.name = "Camera";
    SceneObject* oldCamera = scene.cameraObject();
    ASSERT_TRUE(scene.setServiceObject(ServiceSlot::Camera, &imported));
    EXPECT_EQ(scene.cameraObject(), &imported);
    EXPECT_EQ(scene.indexOf(&imported), 0);
    EXPECT_EQ(scene.indexOf(oldCamera), -1);
    EXPECT_FALSE(imported.listed);
    EXPECT_EQ(scene.objectCount(), kServiceObjectCount + 1);
    // Ordinary insertions never land in front of the service objects.
    SceneObject& early = scene.insertObject(0, std::make_unique<SceneObject>("Cone"));
    EXPECT_EQ(scene.indexOf(&early), static_cast<std::ptrdiff_t>(kServiceObjectCount));
}

TEST(SceneTest, TexturesAndSoundsAreFoundByFileName) {
    Scene scene;
    EXPECT_EQ(scene.findTexture("bois.jpg"), nullptr);
    SceneTexture& wood = scene.addTexture("bois.jpg");
    SceneTexture& stone = scene.addTexture("pierre.jpg");
    stone.embedded = true;
    stone.embeddedBytes = {0x42, 0x4D};
    EXPECT_EQ(scene.findTexture("bois.jpg"), &wood);
    EXPECT_EQ(scene.findTexture("pierre.jpg"), &stone);
    EXPECT_EQ(scene.findTexture("Bois.jpg"), nullptr);  // names are exact keys

    SceneSound& bell = scene.addSound("cloche.wav");
    EXPECT_EQ(scene.findSound("cloche.wav"), &bell);
    EXPECT_EQ(scene.findSound("gong.wav"), nullptr);

    SceneObject& object = scene.addObject("boite");
    object.textures[1] = &stone;
    object.textureEnabled[1] = true;
    object.sound = &bell;
    scene.clearCaches();
    EXPECT_EQ(scene.findTexture("pierre.jpg"), nullptr);
    EXPECT_EQ(object.textures[1], nullptr);
    EXPECT_FALSE(object.textureEnabled[1]);
    EXPECT_EQ(object.sound, nullptr);
}

TEST(AnimationTest, KeyImageDisplayNameShowsTheTime) {
    EXPECT_EQ(keyImageDisplayName(3.9), "Image cl\xE9, temps : 3.9");
    EXPECT_EQ(keyImageDisplayName(11.66), "Image cl\xE9, temps : 11.66");
    EXPECT_EQ(keyImageDisplayName(0.0), "Image cl\xE9, temps : 0");
    // A time that went through a float reads the same.
    EXPECT_EQ(keyImageDisplayName(static_cast<double>(7.8f)),
              "Image cl\xE9, temps : 7.8");
    const KeyImage key(2.5, nullptr);
    EXPECT_EQ(key.displayName(), "Image cl\xE9, temps : 2.5");
}

TEST(AnimationTest, FreshAnimationDefaults) {
    const Animation animation("Camera");
    EXPECT_EQ(animation.targetName, "Camera");
    EXPECT_FLOAT_EQ(animation.turnValue, -1.5707964f);
    EXPECT_EQ(animation.target, nullptr);
    EXPECT_EQ(animation.animationFlag, 0);
    EXPECT_EQ(animation.cameraFlag, 0);
    for (std::size_t i = 0; i < kSequenceReferences; ++i) {
        EXPECT_TRUE(animation.sequenceReferenceNames[i].empty());
        EXPECT_EQ(animation.sequenceReferences[i], nullptr);
    }
    EXPECT_EQ(animation.boneMatrices.size(), kBoneSlots);
    EXPECT_TRUE(isIdentity(animation.boneMatrices[59]));
    EXPECT_TRUE(animation.sequences.empty());
}

TEST(AnimationTest, KeyImagesSortByTimeAndKnowTheirSequence) {
    Animation animation("Camera");
    Sequence& sequence = animation.addSequence("Nouvelle animation");
    EXPECT_EQ(sequence.animation, &animation);
    KeyImage& late = sequence.addKeyImage(11.66);
    KeyImage& early = sequence.addKeyImage(3.9);
    KeyImage& middle = sequence.addKeyImage(7.8);
    sequence.sortKeyImages();
    ASSERT_EQ(sequence.keyImages.size(), 3u);
    EXPECT_EQ(sequence.keyImages[0].get(), &early);
    EXPECT_EQ(sequence.keyImages[1].get(), &middle);
    EXPECT_EQ(sequence.keyImages[2].get(), &late);
    EXPECT_EQ(early.number, 0);
    EXPECT_EQ(middle.number, 1);
    EXPECT_EQ(late.number, 2);
    EXPECT_EQ(late.sequence, &sequence);
    EXPECT_EQ(sequence.playback.previousKeyNumber, -1);
}

TEST(AnimationTest, SequenceReferencesResolveByName) {
    Animation animation("Camera");
    Sequence& walk = animation.addSequence("Nouvelle animation");
    Sequence& idle = animation.addSequence("repos");
    animation.sequenceReferenceNames[0] = "Nouvelle animation";
    animation.sequenceReferenceNames[3] = "Nouvelle animation";
    animation.sequenceReferenceNames[4] = "absente";
    animation.resolveSequenceReferences();
    EXPECT_EQ(animation.sequenceReferences[0], &walk);
    EXPECT_EQ(animation.sequenceReferences[3], &walk);
    EXPECT_EQ(animation.sequenceReferences[4], nullptr);
    EXPECT_EQ(walk.referenceIndex, 0);
    EXPECT_EQ(idle.referenceIndex, -1);
}

TEST(AnimationTest, FreshObjectStateIsANeutralPose) {
    KeyImage key(0.0, nullptr);
    SceneObject object("tete");
    const ObjectState& state = key.addState(&object);
    EXPECT_EQ(state.object, &object);
    expectVec3(state.scale, 1.0f, 1.0f, 1.0f);
    EXPECT_FLOAT_EQ(state.opacity, 1.0f);
    EXPECT_FLOAT_EQ(state.rotationAngle, 0.0f);
    EXPECT_FLOAT_EQ(state.soundVolume, 1.0f);
    for (const FlaggedCurve& curve : state.curves) {
        EXPECT_FALSE(curve.used);
    }
}

TEST(SceneTest, RemoveAnimationClearsTheObjectsThatItDrove) {
    Scene scene;
    SceneObject& body = scene.addObject("corps");
    Animation& animation = scene.addAnimation("corps");
    animation.target = &body;
    body.animation = &animation;
    Sequence& first = animation.addSequence("un");
    Animation& other = scene.addAnimation("autre");
    Sequence& chained = other.addSequence("deux");
    chained.playback.next = &first;
    other.currentSequence = &first;

    EXPECT_EQ(scene.findAnimation("corps"), &animation);
    ASSERT_TRUE(scene.removeAnimation(&animation));
    EXPECT_EQ(body.animation, nullptr);
    EXPECT_EQ(chained.playback.next, nullptr);
    EXPECT_EQ(other.currentSequence, nullptr);
    EXPECT_EQ(scene.findAnimation("corps"), nullptr);
    Animation stranger("ailleurs");
    EXPECT_FALSE(scene.removeAnimation(&stranger));
}

}  // namespace
}  // namespace morvanex
