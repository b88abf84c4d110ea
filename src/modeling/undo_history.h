// Undo and redo. Each object keeps its own vertex and transform histories
// and each trajectory point its own point history (the records are in the
// scene model); the functions below write and replay them. Changes of the
// scene's make-up (objects made or deleted) go to the UndoHistory, one
// ordered list of steps that any later edit can join with a step kind of its
// own: a name and the two functions that undo and redo it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "scene/edit_history.h"

namespace morvanex {

class Scene;
struct ObjectState;
struct SceneObject;

// --- Vertex history ---------------------------------------------------------------

// After the mesh is (re)built: one empty record, cursor 0.
void resetVertexHistory(SceneObject& object);
// Before vertex vertexNumber changes: its current value goes to the front of
// the last record. Recording after an undo first drops the undone records.
void recordVertexChange(SceneObject& object, std::int32_t vertexNumber);
// After the edit: the record of the new values becomes the last one.
void commitVertexChange(SceneObject& object, VertexUndoRecord record);
// True when vertices were written (the caller uploads the mesh again).
bool undoVertices(SceneObject& object);
bool redoVertices(SceneObject& object);

// --- Transform and point histories ------------------------------------------------

PointSnapshot snapshotOf(const SceneObject& object);
PointSnapshot snapshotOf(const ObjectState& point);
// Appends the current values unless they equal the snapshot at the cursor;
// snapshots after the cursor (undone ones) are dropped first. True when one
// was appended.
bool snapshotObject(SceneObject& object);
bool snapshotPoint(ObjectState& point);
// After the object is (re)built: the history holds its current values alone.
void resetObjectHistory(SceneObject& object);
// Both histories of every object that has none yet, after a scene was read
// or a model imported.
void startEditHistories(Scene& scene);
// True when values were written back; an object's world matrix is rebuilt.
bool undoObject(SceneObject& object);
bool redoObject(SceneObject& object);
bool undoPoint(ObjectState& point);
bool redoPoint(ObjectState& point);

// --- Steps of the scene's make-up ---------------------------------------------------

struct UndoStep {
    std::string kind;  // what the step did, for the trace and the tests
    std::function<void()> undo;
    std::function<void()> redo;
};

class UndoHistory {
public:
    // Older steps are dropped beyond this: a step may hold deleted objects.
    static constexpr std::size_t kMaxSteps = 100;

    // Appends a step already done; the undone steps after the cursor go.
    void record(UndoStep step);
    // False when there is nothing to undo or redo.
    bool undo();
    bool redo();
    bool canUndo() const { return done_ > 0; }
    bool canRedo() const { return done_ < steps_.size(); }
    // Every step dropped; for when the scene is replaced.
    void clear();

    std::size_t size() const { return steps_.size(); }
    const UndoStep* nextUndo() const { return canUndo() ? &steps_[done_ - 1] : nullptr; }
    const UndoStep* nextRedo() const { return canRedo() ? &steps_[done_] : nullptr; }

private:
    std::vector<UndoStep> steps_;
    std::size_t done_ = 0;  // steps_[0 .. done_) are done
};

// The step of objects just added to the scene: undo takes them out (kept by
// the step), redo puts them back.
UndoStep objectsAddedStep(Scene& scene, std::vector<SceneObject*> added);
// Takes the objects out of the scene and returns the step that puts them
// back; objects not in the scene, and service objects, are left alone.
UndoStep removeObjectsWithUndo(Scene& scene, std::vector<SceneObject*> removed);

}  // namespace morvanex
