// Groups of objects: a leader and the members that point at it. Clicks on a
// member of an entered group act on its leader; the group tool adds and
// removes members with a click.
#pragma once

#include <vector>

namespace morvanex {

class Scene;
struct SceneObject;

// The leader of the object's group: its own leader, or the object itself
// when others follow it; null when it belongs to no group.
SceneObject* groupLeaderOf(const Scene& scene, const SceneObject& object);
// Every object that follows the leader, in scene-list order.
std::vector<SceneObject*> groupMembers(const Scene& scene, const SceneObject& leader);

enum class GroupChange { Joined, Left, Refused };

// A click of the group tool on `clicked` while `current` is edited: a member
// of current's group leaves it, any other object joins it (current becoming
// the leader of a new group when it had none). The leader itself, and the
// leader of another group (whose members would be orphaned), are refused.
GroupChange toggleGroupMembership(const Scene& scene, SceneObject& current, SceneObject& clicked);

}  // namespace morvanex
