#include "modeling/object_groups.h"

#include "scene/scene.h"
#include "scene/scene_object.h"

namespace morvanex {

SceneObject* groupLeaderOf(const Scene& scene, const SceneObject& object) {
    if (object.groupLeader != nullptr) return object.groupLeader;
    for (const auto& other : scene.objects()) {
        if (other.get() != &object && other->groupLeader == &object) return const_cast<SceneObject*>(&object);
    }
    return nullptr;
}

std::vector<SceneObject*> groupMembers(const Scene& scene, const SceneObject& leader) {
    std::vector<SceneObject*> members;
    for (const auto& other : scene.objects()) {
        if (other.get() != &leader && other->groupLeader == &leader) members.push_back(other.get());
    }
    return members;
}

GroupChange toggleGroupMembership(const Scene& scene, SceneObject& current, SceneObject& clicked) {
    SceneObject* leader = groupLeaderOf(scene, current);
    if (leader == nullptr) leader = &current;
    if (&clicked == leader) return GroupChange::Refused;
    if (clicked.groupLeader == leader) {
        clicked.groupLeader = nullptr;
        return GroupChange::Left;
    }
    if (!groupMembers(scene, clicked).empty()) return GroupChange::Refused;
    clicked.groupLeader = leader;
    return GroupChange::Joined;
}

}  // namespace morvanex
