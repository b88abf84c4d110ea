#include "modeling/undo_history.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "modeling/object_transform.h"
#include "scene/scene.h"

namespace morvanex {

namespace {

template <typename History>
bool hasUndone(const History& history) {
    return history.cursor + 1 < static_cast<std::int32_t>(history.records.size());
}

// A new edit after an undo replaces what was undone: kept, the undone
// records would be replayed over the new edit's starting values.
template <typename History>
void dropUndone(History& history) {
    if (history.cursor >= 0 && hasUndone(history)) {
        history.records.resize(static_cast<std::size_t>(history.cursor) + 1);
    }
}

void applyVertexRecord(SceneObject& object, const VertexUndoRecord& record) {
    const std::size_t count = std::min(record.vertexNumbers.size(), record.values.size());
    for (std::size_t i = 0; i < count; ++i) {
        const std::int32_t number = record.vertexNumbers[i];
        if (number >= 0 && static_cast<std::size_t>(number) < object.vertices.size()) {
            object.vertices[static_cast<std::size_t>(number)] = record.values[i];
        }
    }
    object.meshChanged();
}

template <typename Target>
bool appendSnapshot(SnapshotHistory& history, const Target& target) {
    const PointSnapshot now = snapshotOf(target);
    dropUndone(history);
    if (history.cursor >= 0 && history.records[static_cast<std::size_t>(history.cursor)] == now) return false;
    history.records.push_back(now);
    history.cursor = static_cast<std::int32_t>(history.records.size()) - 1;
    return true;
}

// Objects and trajectory points name their transform fields alike.
template <typename Target>
void copyTransform(Target& target, const PointSnapshot& s) {
    target.position = s.position;
    target.angles = s.angles;
    target.rotationAxis = s.rotationAxis;
    target.rotationAngle = s.rotationAngle;
    target.scale = s.scale;
}

void writeBack(SceneObject& object, const PointSnapshot& s) {
    copyTransform(object, s);
    rebuildWorldMatrix(object);
}

void writeBack(ObjectState& point, const PointSnapshot& s) { copyTransform(point, s); }

// Moves the cursor one step (-1 undo, +1 redo) and writes the snapshot
// found there back; false at either end.
template <typename Target>
bool stepSnapshots(SnapshotHistory& history, Target& target, int direction) {
    const std::int32_t next = history.cursor + direction;
    if (history.cursor < 0 || next < 0 || next >= static_cast<std::int32_t>(history.records.size())) return false;
    history.cursor = next;
    writeBack(target, history.records[static_cast<std::size_t>(next)]);
    return true;
}

}  // namespace

// --- Vertex history -----------------------------------------------------------------

void resetVertexHistory(SceneObject& object) {
    object.vertexHistory.records.assign(1, VertexUndoRecord{});
    object.vertexHistory.cursor = 0;
}

void recordVertexChange(SceneObject& object, std::int32_t vertexNumber) {
    if (vertexNumber < 0 || static_cast<std::size_t>(vertexNumber) >= object.vertices.size()) return;
    VertexHistory& history = object.vertexHistory;
    if (history.records.empty()) resetVertexHistory(object);
    dropUndone(history);
    VertexUndoRecord& last = history.records.back();
    last.vertexNumbers.insert(last.vertexNumbers.begin(), vertexNumber);
    last.values.insert(last.values.begin(), object.vertices[static_cast<std::size_t>(vertexNumber)]);
}

void commitVertexChange(SceneObject& object, VertexUndoRecord record) {
    VertexHistory& history = object.vertexHistory;
    if (history.records.empty()) resetVertexHistory(object);
    dropUndone(history);
    history.records.push_back(std::move(record));
    history.cursor = static_cast<std::int32_t>(history.records.size()) - 1;
}

bool undoVertices(SceneObject& object) {
    VertexHistory& history = object.vertexHistory;
    if (history.cursor <= 0) return false;
    history.cursor -= 1;
    applyVertexRecord(object, history.records[static_cast<std::size_t>(history.cursor)]);
    return true;
}

bool redoVertices(SceneObject& object) {
    VertexHistory& history = object.vertexHistory;
    if (history.cursor < 0 || !hasUndone(history)) return false;
    history.cursor += 1;
    applyVertexRecord(object, history.records[static_cast<std::size_t>(history.cursor)]);
    return true;
}

// --- Transform and point histories -------------------------------------------------

PointSnapshot snapshotOf(const SceneObject& object) {
    return {object.position, object.angles, object.rotationAxis, object.rotationAngle, object.scale};
}

PointSnapshot snapshotOf(const ObjectState& point) {
    return {point.position, point.angles, point.rotationAxis, point.rotationAngle, point.scale};
}

bool snapshotObject(SceneObject& object) { return appendSnapshot(object.transformHistory, object); }
bool snapshotPoint(ObjectState& point) { return appendSnapshot(point.history, point); }

void resetObjectHistory(SceneObject& object) {
    object.transformHistory = SnapshotHistory{};
    snapshotObject(object);
}

void startEditHistories(Scene& scene) {
    for (const auto& object : scene.objects()) {
        if (object->transformHistory.cursor >= 0) continue;
        resetVertexHistory(*object);
        resetObjectHistory(*object);
    }
}

bool undoObject(SceneObject& object) { return stepSnapshots(object.transformHistory, object, -1); }
bool redoObject(SceneObject& object) { return stepSnapshots(object.transformHistory, object, +1); }
bool undoPoint(ObjectState& point) { return stepSnapshots(point.history, point, -1); }
bool redoPoint(ObjectState& point) { return stepSnapshots(point.history, point, +1); }

// --- Steps of the scene's make-up ------------------------------------------------------

void UndoHistory::record(UndoStep step) {
    steps_.resize(done_);
    steps_.push_back(std::move(step));
    if (steps_.size() > kMaxSteps) steps_.erase(steps_.begin());
    done_ = steps_.size();
}

bool UndoHistory::undo() {
    if (!canUndo()) return false;
    done_ -= 1;
    if (steps_[done_].undo) steps_[done_].undo();
    return true;
}

bool UndoHistory::redo() {
    if (!canRedo()) return false;
    if (steps_[done_].redo) steps_[done_].redo();
    done_ += 1;
    return true;
}

void UndoHistory::clear() {
    steps_.clear();
    done_ = 0;
}

namespace {

// Objects that a step takes out of the scene and puts back. They are named
// by address and serial, so an object destroyed meanwhile by an edit that
// records no step is never mistaken for a newer one at the same address.
struct HeldObjects {
    struct Named {
        SceneObject* object = nullptr;
        std::uint64_t serial = 0;
    };
    Scene* scene = nullptr;
    std::vector<Named> objects;          // in list order
    std::vector<DetachedObject> taken;   // while out, in the order taken
};

void takeOut(HeldObjects& held) {
    if (!held.taken.empty()) return;
    for (const HeldObjects::Named& named : held.objects) {
        SceneObject* object = held.scene->findObject(named.object, named.serial);
        if (object == nullptr) continue;
        DetachedObject detached = held.scene->takeObject(object);
        if (detached.object != nullptr) held.taken.push_back(std::move(detached));
    }
}

void putBack(HeldObjects& held) {
    for (auto it = held.taken.rbegin(); it != held.taken.rend(); ++it) held.scene->restoreObject(std::move(*it));
    held.taken.clear();
}

std::shared_ptr<HeldObjects> holdObjects(Scene& scene, const std::vector<SceneObject*>& objects) {
    auto held = std::make_shared<HeldObjects>();
    held->scene = &scene;
    for (SceneObject* object : objects) {
        if (object != nullptr && scene.indexOf(object) >= 0 && !scene.isServiceObject(object)) {
            held->objects.push_back({object, object->serial});
        }
    }
    return held;
}

}  // namespace

UndoStep objectsAddedStep(Scene& scene, std::vector<SceneObject*> added) {
    const auto held = holdObjects(scene, added);
    return {"add objects", [held] { takeOut(*held); }, [held] { putBack(*held); }};
}

UndoStep removeObjectsWithUndo(Scene& scene, std::vector<SceneObject*> removed) {
    const auto held = holdObjects(scene, removed);
    takeOut(*held);
    return {"delete objects", [held] { putBack(*held); }, [held] { takeOut(*held); }};
}

}  // namespace morvanex
