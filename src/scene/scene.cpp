#include "scene/scene.h"

#include <algorithm>
#include <cassert>

namespace morvanex {

namespace {

template <typename T, typename Pred>
void eraseIf(std::vector<T>& items, Pred pred) {
    items.erase(std::remove_if(items.begin(), items.end(), pred), items.end());
}

constexpr std::size_t slotIndex(ServiceSlot slot) {
    return static_cast<std::size_t>(slot);
}

}  // namespace

Scene::Scene() { createServiceObjects(); }

Scene::~Scene() = default;

// --- Objects ------------------------------------------------------------------

SceneObject& Scene::addObject(std::string name) {
    return addObject(std::make_unique<SceneObject>(std::move(name)));
}

SceneObject& Scene::addObject(std::unique_ptr<SceneObject> object) {
    assert(object != nullptr);
    giveSerial(*object);
    objects_.push_back(std::move(object));
    return *objects_.back();
}

void Scene::giveSerial(SceneObject& object) {
    if (object.serial == 0) object.serial = ++lastSerial_;
}

SceneObject* Scene::findObject(const SceneObject* object, std::uint64_t serial) const {
    const std::ptrdiff_t index = indexOf(object);
    if (index < 0 || serial == 0 || object->serial != serial) return nullptr;
    return objects_[static_cast<std::size_t>(index)].get();
}

SceneObject& Scene::insertObject(std::size_t index,
                                 std::unique_ptr<SceneObject> object) {
    assert(object != nullptr);
    const std::size_t first = serviceObjectsInFront(kServiceObjectCount);
    index = std::clamp(index, first, objects_.size());
    giveSerial(*object);
    const auto it = objects_.insert(
        objects_.begin() + static_cast<std::ptrdiff_t>(index), std::move(object));
    return **it;
}

bool Scene::removeObject(SceneObject* object) {
    const std::ptrdiff_t index = indexOf(object);
    if (index < 0) {
        return false;
    }
    forgetObject(object);
    objects_.erase(objects_.begin() + index);
    return true;
}

DetachedObject Scene::takeObject(SceneObject* object) {
    DetachedObject detached;
    const std::ptrdiff_t index = indexOf(object);
    if (index < 0 || isServiceObject(object)) {
        return detached;
    }
    detached.index = static_cast<std::size_t>(index);
    noteReferencesTo(detached);
    forgetObject(object);
    detached.object = std::move(objects_[detached.index]);
    objects_.erase(objects_.begin() + index);
    return detached;
}

void Scene::noteReferencesTo(DetachedObject& d) const {
    const SceneObject* object = objects_[d.index].get();
    d.wasCurrent = currentObject == object;
    for (const auto& other : objects_) {
        SceneObject* holder = other.get();
        if (holder == object) {
            continue;
        }
        if (holder->parent == object) d.parentOf.push_back(holder);
        if (holder->groupLeader == object) d.leaderOf.push_back(holder);
        if (holder->render.instanceOwner == object) d.carrierOf.push_back(holder);
        for (std::size_t i = 0; i < holder->children.size(); ++i) {
            if (holder->children[i] == object) d.childOf.push_back({holder, i});
        }
        for (std::size_t i = 0; i < holder->links.size(); ++i) {
            if (holder->links[i].object == object) d.linkedBy.push_back({holder, i, holder->links[i]});
        }
    }
    for (const auto& animation : animations_) {
        if (animation->target == object) d.targetOf.push_back(animation.get());
        for (const auto& sequence : animation->sequences) {
            for (const auto& key : sequence->keyImages) {
                for (const auto& state : key->states) {
                    if (state->object == object) d.posedBy.push_back(state.get());
                }
            }
        }
    }
    for (const auto& texture : textures_) {
        if (texture->lastAttachedObject == object) d.lastAttachedTo.push_back(texture.get());
    }
}

SceneObject* Scene::restoreObject(DetachedObject d) {
    if (d.object == nullptr) {
        return nullptr;
    }
    dropReferencesToAbsentRecords(*d.object);
    SceneObject& object = insertObject(d.index, std::move(d.object));
    const auto present = [this](const SceneObject* o) { return indexOf(o) >= 0; };
    for (SceneObject* holder : d.parentOf) {
        if (present(holder) && holder->parent == nullptr) holder->parent = &object;
    }
    for (SceneObject* holder : d.leaderOf) {
        if (present(holder) && holder->groupLeader == nullptr) holder->groupLeader = &object;
    }
    for (SceneObject* holder : d.carrierOf) {
        if (present(holder) && holder->render.instanceOwner == nullptr) holder->render.instanceOwner = &object;
    }
    // Entries go back lowest position first, so each lands where it was.
    for (const DetachedObject::ListEntry& entry : d.childOf) {
        if (!present(entry.holder)) continue;
        auto& list = entry.holder->children;
        if (std::find(list.begin(), list.end(), &object) != list.end()) continue;
        list.insert(list.begin() + static_cast<std::ptrdiff_t>(std::min(entry.position, list.size())), &object);
    }
    for (DetachedObject::LinkEntry& entry : d.linkedBy) {
        if (!present(entry.holder)) continue;
        auto& list = entry.holder->links;
        entry.link.object = &object;
        list.insert(list.begin() + static_cast<std::ptrdiff_t>(std::min(entry.position, list.size())), entry.link);
    }
    for (Animation* animation : d.targetOf) {
        const bool held = std::any_of(animations_.begin(), animations_.end(),
                                      [animation](const auto& a) { return a.get() == animation; });
        if (held && animation->target == nullptr) animation->target = &object;
    }
    for (ObjectState* state : d.posedBy) {
        if (holdsState(state) && state->object == nullptr) state->object = &object;
    }
    for (SceneTexture* texture : d.lastAttachedTo) {
        if (texture == nullptr) continue;
        const bool held = std::any_of(textures_.begin(), textures_.end(),
                                      [texture](const auto& t) { return t.get() == texture; });
        if (held && texture->lastAttachedObject == nullptr) texture->lastAttachedObject = &object;
    }
    if (d.wasCurrent) {
        currentObject = &object;
    }
    return &object;
}

void Scene::dropReferencesToAbsentRecords(SceneObject& object) const {
    const auto absent = [this](const SceneObject* o) { return o != nullptr && indexOf(o) < 0; };
    if (absent(object.parent)) object.parent = nullptr;
    if (object.groupLeader != &object && absent(object.groupLeader)) object.groupLeader = nullptr;
    if (absent(object.render.instanceOwner)) object.render.instanceOwner = nullptr;
    eraseIf(object.children, [&absent](const SceneObject* child) { return child == nullptr || absent(child); });
    eraseIf(object.links, [&absent](const ObjectLink& link) { return absent(link.object); });
    if (object.animation != nullptr &&
        std::none_of(animations_.begin(), animations_.end(),
                     [&object](const auto& a) { return a.get() == object.animation; })) {
        object.animation = nullptr;
    }
    for (SceneTexture*& texture : object.textures) {
        if (texture != nullptr &&
            std::none_of(textures_.begin(), textures_.end(), [texture](const auto& t) { return t.get() == texture; })) {
            texture = nullptr;
        }
    }
    if (object.sound != nullptr &&
        std::none_of(sounds_.begin(), sounds_.end(), [&object](const auto& s) { return s.get() == object.sound; })) {
        object.sound = nullptr;
    }
}

bool Scene::holdsState(const ObjectState* state) const {
    for (const auto& animation : animations_) {
        for (const auto& sequence : animation->sequences) {
            for (const auto& key : sequence->keyImages) {
                for (const auto& held : key->states) {
                    if (held.get() == state) return true;
                }
            }
        }
    }
    return false;
}

void Scene::forgetObject(const SceneObject* object) {
    if (currentObject == object) {
        currentObject = nullptr;
    }
    for (SceneObject*& service : serviceObjects_) {
        if (service == object) {
            service = nullptr;
        }
    }
    for (const auto& other : objects_) {
        if (other->parent == object) {
            other->parent = nullptr;
        }
        if (other->groupLeader == object) {
            other->groupLeader = nullptr;
        }
        // A copy whose owner goes is drawn on its own again.
        if (other->render.instanceOwner == object) {
            other->render.instanceOwner = nullptr;
        }
        eraseIf(other->children,
                [object](const SceneObject* child) { return child == object; });
        eraseIf(other->links, [object](const ObjectLink& link) {
            return link.object == object;
        });
    }
    for (const auto& animation : animations_) {
        animation->forgetObject(object);
    }
    for (const auto& texture : textures_) {
        if (texture->lastAttachedObject == object) {
            texture->lastAttachedObject = nullptr;
        }
    }
}

SceneObject* Scene::findObject(std::string_view name) const {
    for (const auto& object : objects_) {
        if (object->name == name) {
            return object.get();
        }
    }
    return nullptr;
}

SceneObject* Scene::findObjectBySaveIndex(std::int32_t index) const {
    if (index == 0) {
        return nullptr;
    }
    for (const auto& object : objects_) {
        if (object->saveIndex == index) {
            return object.get();
        }
    }
    return nullptr;
}

std::ptrdiff_t Scene::indexOf(const SceneObject* object) const {
    if (object == nullptr) {
        return -1;
    }
    for (std::size_t i = 0; i < objects_.size(); ++i) {
        if (objects_[i].get() == object) {
            return static_cast<std::ptrdiff_t>(i);
        }
    }
    return -1;
}

bool Scene::isSaved(const SceneObject& object) const {
    return !object.transient && object.listed && !isServiceObject(&object) &&
           object.name != "Grille";
}

// --- Service objects --------------------------------------------------------------

std::size_t Scene::serviceObjectsInFront(std::size_t slot) const {
    std::size_t count = 0;
    for (std::size_t i = 0; i < slot && i < kServiceObjectCount; ++i) {
        if (serviceObjects_[i] != nullptr) {
            ++count;
        }
    }
    return count;
}

void Scene::createServiceObjects() {
    for (SceneObject* old : serviceObjects_) {
        if (old != nullptr) {
            removeObject(old);  // also clears its slot
        }
    }
    for (std::size_t i = 0; i < kServiceObjectCount; ++i) {
        auto object = std::make_unique<SceneObject>(std::string(kServiceObjectNames[i]));
        object->listed = false;
        giveSerial(*object);
        serviceObjects_[i] = object.get();
        objects_.insert(objects_.begin() + static_cast<std::ptrdiff_t>(i),
                        std::move(object));
    }
}

SceneObject* Scene::serviceObject(ServiceSlot slot) const {
    return serviceObjects_[slotIndex(slot)];
}

bool Scene::isServiceObject(const SceneObject* object) const {
    if (object == nullptr) {
        return false;
    }
    return std::find(serviceObjects_.begin(), serviceObjects_.end(), object) !=
           serviceObjects_.end();
}

bool Scene::setServiceObject(ServiceSlot slot, SceneObject* object) {
    const std::size_t s = slotIndex(slot);
    if (indexOf(object) < 0) {
        return false;
    }
    if (serviceObjects_[s] == object) {
        return true;
    }
    // An object serves in one slot only.
    for (SceneObject*& service : serviceObjects_) {
        if (service == object) {
            service = nullptr;
        }
    }
    if (SceneObject* old = serviceObjects_[s]) {
        removeObject(old);
    }
    const std::ptrdiff_t from = indexOf(object);
    std::unique_ptr<SceneObject> owned = std::move(objects_[static_cast<std::size_t>(from)]);
    objects_.erase(objects_.begin() + from);
    const std::size_t to = serviceObjectsInFront(s);
    objects_.insert(objects_.begin() + static_cast<std::ptrdiff_t>(to), std::move(owned));
    serviceObjects_[s] = object;
    object->listed = false;
    return true;
}

void Scene::clearContent() {
    const auto removed = [this](const SceneObject* object) {
        return object != nullptr && !isServiceObject(object);
    };

    // Cut the kept objects loose while every pointer still names a live
    // record.
    for (SceneObject* service : serviceObjects_) {
        if (service == nullptr) {
            continue;
        }
        if (removed(service->parent)) {
            service->parent = nullptr;
        }
        if (removed(service->groupLeader)) {
            service->groupLeader = nullptr;
        }
        if (removed(service->render.instanceOwner)) {
            service->render.instanceOwner = nullptr;
        }
        eraseIf(service->children, removed);
        eraseIf(service->links,
                [&removed](const ObjectLink& link) { return removed(link.object); });
        service->animation = nullptr;
    }
    if (removed(currentObject)) {
        currentObject = nullptr;
    }
    for (const auto& texture : textures_) {
        if (removed(texture->lastAttachedObject)) {
            texture->lastAttachedObject = nullptr;
        }
    }

    std::vector<std::unique_ptr<SceneObject>> kept;
    kept.reserve(kServiceObjectCount);
    for (SceneObject* service : serviceObjects_) {
        if (service == nullptr) {
            continue;
        }
        const std::ptrdiff_t index = indexOf(service);
        kept.push_back(std::move(objects_[static_cast<std::size_t>(index)]));
    }
    animations_.clear();
    objects_ = std::move(kept);
}

// --- Animations -------------------------------------------------------------------

Animation& Scene::addAnimation(std::string targetName) {
    return addAnimation(std::make_unique<Animation>(std::move(targetName)));
}

Animation& Scene::addAnimation(std::unique_ptr<Animation> animation) {
    assert(animation != nullptr);
    animations_.push_back(std::move(animation));
    return *animations_.back();
}

Animation* Scene::findAnimation(std::string_view targetName) const {
    for (const auto& animation : animations_) {
        if (animation->targetName == targetName) {
            return animation.get();
        }
    }
    return nullptr;
}

bool Scene::removeAnimation(Animation* animation) {
    const auto it = std::find_if(
        animations_.begin(), animations_.end(),
        [animation](const std::unique_ptr<Animation>& a) { return a.get() == animation; });
    if (it == animations_.end()) {
        return false;
    }
    for (const auto& object : objects_) {
        if (object->animation == animation) {
            object->animation = nullptr;
        }
    }
    for (const auto& other : animations_) {
        if (other.get() == animation) {
            continue;
        }
        if (other->currentSequence != nullptr &&
            other->currentSequence->animation == animation) {
            other->currentSequence = nullptr;
        }
        for (const auto& sequence : other->sequences) {
            Sequence* next = sequence->playback.next;
            if (next != nullptr && next->animation == animation) {
                sequence->playback.next = nullptr;
            }
        }
    }
    animations_.erase(it);
    return true;
}

// --- Caches -----------------------------------------------------------------------

SceneTexture& Scene::addTexture(std::string fileName) {
    return addTexture(std::make_unique<SceneTexture>(std::move(fileName)));
}

SceneTexture& Scene::addTexture(std::unique_ptr<SceneTexture> texture) {
    assert(texture != nullptr);
    textures_.push_back(std::move(texture));
    return *textures_.back();
}

SceneTexture* Scene::findTexture(std::string_view fileName) const {
    for (const auto& texture : textures_) {
        if (texture->fileName == fileName) {
            return texture.get();
        }
    }
    return nullptr;
}

SceneSound& Scene::addSound(std::string fileName) {
    sounds_.push_back(std::make_unique<SceneSound>(std::move(fileName)));
    return *sounds_.back();
}

SceneSound* Scene::findSound(std::string_view fileName) const {
    for (const auto& sound : sounds_) {
        if (sound->fileName == fileName) {
            return sound.get();
        }
    }
    return nullptr;
}

void Scene::clearCaches() {
    for (const auto& object : objects_) {
        object->textures.fill(nullptr);
        object->textureEnabled.fill(false);
        object->sound = nullptr;
    }
    textures_.clear();
    sounds_.clear();
}

// --- Lights -----------------------------------------------------------------------

void Scene::resetLights() {
    lights.fill(SceneLight{});
    // A soft fill from the side opposite the main light: faces turned away
    // from it are not left black (an imported material often has no ambient
    // colour to fall back on).
    SceneLight& fill = lights[1];
    fill.intensity = kFillLightIntensity;
    fill.positionOrColour = {-lights[0].positionOrColour.x, -lights[0].positionOrColour.y,
                             -lights[0].positionOrColour.z, 0.0f};
    activeLightCount = 2;
}

}  // namespace morvanex
