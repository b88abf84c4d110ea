#include "app/pending_tool_hooks.h"

#include "scene/scene_object.h"

namespace morvanex {

void recomputeObjectNormals(Scene&, SceneObject&, bool, bool) {}
void mergeObjectsInto(Scene&, SceneObject&, const std::vector<SceneObject*>&) {}
void cutObjectWith(Scene&, SceneObject&, SceneObject&, bool) {}
void detachSelectedTriangles(Scene&, SceneObject&) {}
void processInPlaceDuplicate(Scene&, SceneObject&) {}
void projectTexcoordsByMode(SceneObject&, int) {}
void applyWeightsToObject(SceneObject&) {}
void applyRectangleWeightGradient(SceneObject&) {}
bool linkToCurrentInLinkMode(Scene&, SceneObject&, SceneObject&) { return false; }
void rebuildHierarchyBones(SceneObject&) {}
void deleteOpenTrajectoryPoint(Scene&) {}
void endOpenTrajectory() {}
ObjectState* openTrajectoryPoint(Scene&) { return nullptr; }
void rebindOpenTrajectoryPoint(Scene&) {}
void turnSpotDirection(SceneObject&, Quat) {}
void attachSoundFile(SceneObject&) {}
void addImageSequenceFrame(SceneObject&) {}
void removeImageSequenceFrame(SceneObject&) {}
void chooseTextureSlot(SceneObject&, int) {}
void importAnimatedModel(Scene&) {}

}  // namespace morvanex
