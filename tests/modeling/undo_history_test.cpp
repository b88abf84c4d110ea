// Undo and redo: the objects' own histories and the steps that take objects
// out of the scene and put them back.
#include <gtest/gtest.h>

#include <memory>

#include "modeling/undo_history.h"
#include "scene/scene.h"

namespace morvanex {
namespace {

MeshVertex weighted(float w) {
    MeshVertex v;
    v.blendWeights = {w, 1.0f - w, 0.0f, 0.0f};
    return v;
}

// One weight edit as the skin tool makes it: old values recorded, new ones
// committed.
void editWeights(SceneObject& object, std::int32_t vertex, float w) {
    recordVertexChange(object, vertex);
    object.vertices[static_cast<std::size_t>(vertex)] = weighted(w);
    VertexUndoRecord record;
    record.vertexNumbers.push_back(vertex);
    record.values.push_back(weighted(w));
    commitVertexChange(object, record);
}

TEST(VertexHistory, UndoAndRedoAWeightEditAndANewEditAfterAnUndo) {
    SceneObject object("bras");
    object.assignMesh({weighted(0.1f), weighted(0.2f), weighted(0.3f)}, {0, 1, 2});
    resetVertexHistory(object);
    EXPECT_FALSE(undoVertices(object));  // cursor 0 after the build

    editWeights(object, 1, 0.9f);
    ASSERT_TRUE(undoVertices(object));
    EXPECT_FLOAT_EQ(object.vertices[1].blendWeights[0], 0.2f);
    ASSERT_TRUE(redoVertices(object));
    EXPECT_FLOAT_EQ(object.vertices[1].blendWeights[0], 0.9f);
    EXPECT_FALSE(redoVertices(object));

    // After an undo, a new edit of the same vertex must undo back to the
    // value it started from, not to the undone edit's value.
    ASSERT_TRUE(undoVertices(object));
    editWeights(object, 1, 0.5f);
    EXPECT_FALSE(redoVertices(object));
    ASSERT_TRUE(undoVertices(object));
    EXPECT_FLOAT_EQ(object.vertices[1].blendWeights[0], 0.2f);
}

TEST(VertexHistory, EntriesBeyondTheVertexCountAreSkipped) {
    SceneObject object("bras");
    object.assignMesh({weighted(0.1f), weighted(0.2f), weighted(0.3f)}, {0, 1, 2});
    resetVertexHistory(object);
    editWeights(object, 2, 0.7f);
    object.vertices.resize(2);  // the mesh shrank meanwhile
    EXPECT_TRUE(undoVertices(object));
    EXPECT_EQ(object.vertices.size(), 2u);
}

TEST(TransformHistory, UndoRestoresBitForBitAndRedoReapplies) {
    SceneObject object("boite");
    object.position = {1.1f, 2.2f, 3.3f};
    resetObjectHistory(object);
    EXPECT_FALSE(undoObject(object));  // just created: one snapshot

    object.position = {7.77f, -1.0f, 0.1f};
    object.rotationAngle = 0.3f;
    object.scale = {2.0f, 2.0f, 2.0f};
    ASSERT_TRUE(snapshotObject(object));
    EXPECT_FALSE(snapshotObject(object));  // unchanged: nothing added

    ASSERT_TRUE(undoObject(object));
    EXPECT_EQ(snapshotOf(object), (PointSnapshot{{1.1f, 2.2f, 3.3f}, {}, {0, 1, 0}, 0.0f, {1, 1, 1}}));
    EXPECT_EQ(object.worldMatrix.m[3][0], 1.1f);  // the world matrix follows
    ASSERT_TRUE(redoObject(object));
    EXPECT_EQ(object.position, (Vec3{7.77f, -1.0f, 0.1f}));
    EXPECT_EQ(object.scale, (Vec3{2.0f, 2.0f, 2.0f}));
}

TEST(TransformHistory, ANewSnapshotAfterAnUndoDropsTheRedo) {
    ObjectState point;
    point.position = {0, 0, 0};
    snapshotPoint(point);
    point.position = {1, 0, 0};
    snapshotPoint(point);
    ASSERT_TRUE(undoPoint(point));
    point.position = {0, 5, 0};
    ASSERT_TRUE(snapshotPoint(point));
    EXPECT_FALSE(redoPoint(point));
    ASSERT_TRUE(undoPoint(point));
    EXPECT_EQ(point.position, (Vec3{0, 0, 0}));  // where the drag began
}

TEST(UndoHistory, ANewStepDropsTheRedoAndTheListIsBounded) {
    UndoHistory history;
    int value = 0;
    const auto setTo = [&value](int from, int to) {
        return UndoStep{"set", [&value, from] { value = from; }, [&value, to] { value = to; }};
    };
    value = 1;
    history.record(setTo(0, 1));
    value = 2;
    history.record(setTo(1, 2));
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(value, 1);
    value = 5;
    history.record(setTo(1, 5));
    EXPECT_FALSE(history.redo());
    EXPECT_EQ(history.size(), 2u);

    for (std::size_t i = 0; i < UndoHistory::kMaxSteps + 10; ++i) history.record(setTo(0, 0));
    EXPECT_EQ(history.size(), UndoHistory::kMaxSteps);
}

struct SceneWithObjects : ::testing::Test {
    Scene scene;
    SceneObject* addMesh(const char* name) {
        SceneObject& object = scene.addObject(name);
        object.assignMesh({MeshVertex{}, MeshVertex{}, MeshVertex{}}, {0, 1, 2});
        return &object;
    }
};

TEST_F(SceneWithObjects, UndoneDeleteRestoresTheObjectAtItsPlaceWithItsLinks) {
    SceneObject* first = addMesh("a");
    SceneObject* doomed = addMesh("b");
    SceneObject* last = addMesh("c");
    SceneObject& texture = *addMesh("t");
    SceneTexture& image = scene.addTexture("bois.png");
    doomed->textures[0] = &image;
    last->groupLeader = doomed;
    first->addChild(*doomed);
    scene.currentObject = doomed;
    const std::ptrdiff_t place = scene.indexOf(doomed);
    (void)texture;

    UndoHistory history;
    history.record(removeObjectsWithUndo(scene, {doomed}));
    EXPECT_EQ(scene.indexOf(doomed), -1);
    EXPECT_EQ(last->groupLeader, nullptr);
    EXPECT_TRUE(first->children.empty());
    EXPECT_EQ(scene.currentObject, nullptr);

    ASSERT_TRUE(history.undo());
    EXPECT_EQ(scene.indexOf(doomed), place);
    EXPECT_EQ(doomed->vertexCount(), 3u);
    EXPECT_EQ(doomed->textures[0], &image);
    EXPECT_EQ(last->groupLeader, doomed);
    EXPECT_EQ(doomed->parent, first);
    ASSERT_EQ(first->children.size(), 1u);
    EXPECT_EQ(scene.currentObject, doomed);

    ASSERT_TRUE(history.redo());
    EXPECT_EQ(scene.indexOf(doomed), -1);
}

TEST_F(SceneWithObjects, UndoneCreationTakesTheObjectsOutAndRedoPutsThemBack) {
    SceneObject* source = addMesh("a");
    SceneObject* copy = addMesh("a");
    ObjectLink link;
    link.object = copy;
    source->links.push_back(link);
    UndoHistory history;
    history.record(objectsAddedStep(scene, {copy}));

    ASSERT_TRUE(history.undo());
    EXPECT_EQ(scene.indexOf(copy), -1);
    EXPECT_TRUE(source->links.empty());
    ASSERT_TRUE(history.redo());
    EXPECT_EQ(scene.indexOf(copy), scene.indexOf(source) + 1);
    ASSERT_EQ(source->links.size(), 1u);
    EXPECT_EQ(source->links[0].object, copy);
}

TEST_F(SceneWithObjects, AStepNeverTouchesANewerObjectAtTheAddressOfOneDestroyedMeanwhile) {
    SceneObject* made = addMesh("a");
    UndoHistory history;
    history.record(objectsAddedStep(scene, {made}));
    scene.removeObject(made);  // an edit that records no step
    // Whatever now sits at that address is another object.
    auto other = std::make_unique<SceneObject>("b");
    SceneObject* b = &scene.addObject(std::move(other));
    history.undo();
    EXPECT_GE(scene.indexOf(b), 0);
}

}  // namespace
}  // namespace morvanex
