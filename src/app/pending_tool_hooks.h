// The steps of the tool panels' commands whose owning subsystem is not
// built yet. Each is empty until its owner fills it; the comment names the
// owner.
#pragma once

#include <vector>

#include "scene/math.h"

namespace morvanex {

class Scene;
struct ObjectState;
struct SceneObject;

// Mesh operations: normals with the two options of the settings panel.
void recomputeObjectNormals(Scene& scene, SceneObject& object, bool smoothSharpEdges, bool weldVertices);
// Mesh operations: the merge of the marked objects into the target.
void mergeObjectsInto(Scene& scene, SceneObject& target, const std::vector<SceneObject*>& merged);
// Mesh operations: the cut of an object by a second one.
void cutObjectWith(Scene& scene, SceneObject& object, SceneObject& cutter, bool keepBoth);
// Mesh operations: the selected triangles moved into a new object.
void detachSelectedTriangles(Scene& scene, SceneObject& object);
// Mesh operations: the geometry of an in-place duplicate recomputed.
void processInPlaceDuplicate(Scene& scene, SceneObject& copy);
// Texture coordinates: projection modes 1, 3 and 6.
void projectTexcoordsByMode(SceneObject& object, int mode);
// Skeleton and skin weights: the weight panel's weights applied, and the
// hierarchy record's bones rebuilt.
void applyWeightsToObject(SceneObject& object);
// Skeleton and skin weights: the weight gradient applied to the vertices a
// selection rectangle took, when the gradient option is on.
void applyRectangleWeightGradient(SceneObject& object);
// Skeleton editor: in link mode the clicked object is attached to the
// current one as its child (and joins its group); false when link mode is
// off or the object is already linked.
bool linkToCurrentInLinkMode(Scene& scene, SceneObject& current, SceneObject& clicked);
void rebuildHierarchyBones(SceneObject& object);
// Trajectory editor: the open point deleted; the open trajectory ended.
void deleteOpenTrajectoryPoint(Scene& scene);
void endOpenTrajectory();
// Trajectory editor: the point whose transform the undo buttons act on
// while a trajectory is open (null until the editor exists), and its
// widgets re-bound after an undo or redo wrote it back.
ObjectState* openTrajectoryPoint(Scene& scene);
void rebindOpenTrajectoryPoint(Scene& scene);
// Lighting: a light object's own spot direction turned by the spot tool;
// `dragTurn` is the free rotation of the drag since the press.
void turnSpotDirection(SceneObject& light, Quat dragTurn);
// Sound: a sound file chosen and attached to the object.
void attachSoundFile(SceneObject& object);
// Texture loading: the frames of the object's animated texture.
void addImageSequenceFrame(SceneObject& object);
void removeImageSequenceFrame(SceneObject& object);
// Texture loading: the browser opened on a texture slot of the object.
void chooseTextureSlot(SceneObject& object, int slot);
// Import: an animated model and its companion files.
void importAnimatedModel(Scene& scene);

}  // namespace morvanex
