// Scene: the one scene of the program. It owns every object, animation,
// texture and sound record; all other pointers between records are
// non-owning, and the Scene clears them when the record they point at goes.
//
// The owning lists are private so that removal always goes through the
// operations that clear those pointers; plain settings are public members.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "scene/animation.h"
#include "scene/math.h"
#include "scene/scene_light.h"
#include "scene/scene_limits.h"
#include "scene/scene_object.h"
#include "scene/scene_texture.h"

namespace morvanex {

// A sound of the scene's sound cache, shared by name. The clip itself is
// held by the sound subsystem.
struct SceneSound {
    SceneSound() = default;
    explicit SceneSound(std::string name) : fileName(std::move(name)) {}

    std::string fileName;  // the cache key
};

// A camera viewpoint the user saved, with its 192 x 108 thumbnail.
struct SavedViewpoint {
    Vec3 eye;           // world space
    float yaw = 0.0f;   // radians
    float pitch = 0.0f; // radians
    std::string imageFileName;
    std::string imagePath;
};

// Scene-wide values kept in the scene file header. Lettered members are
// application settings, kept and written back unchanged.
struct SceneSettings {
    std::int32_t shadingMode = 0;
    bool flagA = false;
    bool embedTextures = false;  // every texture reference carries its bytes
    bool flagB = false;
    bool flagC = false;
    bool flagD = false;
    float valueE = 0.0f;
    float valueF = 0.0f;
    float groundShading = 0.55f;
    Vec4 groundColour{0.87f, 0.87f, 0.87f, 1.0f};
    std::int32_t groundMode = 1;
    float groundScale = 1.0f;
    std::string groundImageName = " ";  // " " when none
};

// An object taken out of the scene, with every place that pointed at it, so
// that putting it back restores it as it was (the undo of a deletion).
struct DetachedObject {
    struct ListEntry {  // the object's entry in another object's list
        SceneObject* holder = nullptr;
        std::size_t position = 0;
    };
    struct LinkEntry {
        SceneObject* holder = nullptr;
        std::size_t position = 0;
        ObjectLink link;
    };

    std::unique_ptr<SceneObject> object;  // null when nothing was taken
    std::size_t index = 0;                // its place in the object list
    bool wasCurrent = false;
    std::vector<SceneObject*> parentOf;       // objects whose parent it was
    std::vector<SceneObject*> leaderOf;       // group members it led
    std::vector<SceneObject*> carrierOf;      // instance copies it carried
    std::vector<ListEntry> childOf;           // child lists that named it
    std::vector<LinkEntry> linkedBy;          // link records that named it
    std::vector<Animation*> targetOf;
    std::vector<ObjectState*> posedBy;
    std::vector<SceneTexture*> lastAttachedTo;
};

// The four objects the application creates for its own use. They sit at the
// head of the object list in this order and are never saved.
enum class ServiceSlot : std::size_t {
    Camera = 0,            // target of camera animations
    Light = 1,             // light marker sphere
    TrajectoryMarker = 2,  // drawn at the points of an open trajectory
    GroupMarker = 3,       // drawn at group points
};

inline constexpr std::array<std::string_view, kServiceObjectCount>
    kServiceObjectNames{"Camera", "light", "PointTrajectoire ", "PointGroupe"};

class Scene {
public:
    // A fresh scene already holds its four service objects.
    Scene();
    ~Scene();
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // --- Objects (draw, pick and save order) ------------------------------------
    const std::vector<std::unique_ptr<SceneObject>>& objects() const {
        return objects_;
    }
    std::size_t objectCount() const { return objects_.size(); }

    SceneObject& addObject(std::string name);  // appended at the end
    SceneObject& addObject(std::unique_ptr<SceneObject> object);
    // Inserts at index, never in front of the service objects.
    SceneObject& insertObject(std::size_t index,
                              std::unique_ptr<SceneObject> object);

    // Destroys the object after clearing every pointer to it the scene
    // holds: the current object, a service slot, parents, child lists, group
    // leaders, link entries (removed from their owner's list), animation
    // targets, object states and textures' last-attached object. Returns
    // false when the object is not in this scene.
    bool removeObject(SceneObject* object);

    // Takes the object out as removeObject does, but hands it over with
    // what pointed at it instead of destroying it. Service objects and
    // objects of other scenes are not taken (the result holds no object).
    DetachedObject takeObject(SceneObject* object);
    // Puts a taken object back at its place and re-points what pointed at
    // it. Whatever went from the scene meanwhile is left out: the object's
    // own pointers to records no longer here are cleared first. Objects
    // taken one after another are restored in the reverse order. Returns
    // the object, or null when the record holds none.
    SceneObject* restoreObject(DetachedObject detached);

    SceneObject* findObject(std::string_view name) const;  // first match
    SceneObject* findObjectBySaveIndex(std::int32_t index) const;  // 0: none
    // Position in the object list, -1 when absent.
    std::ptrdiff_t indexOf(const SceneObject* object) const;
    // The object at this address when it is still the one with this serial.
    SceneObject* findObject(const SceneObject* object, std::uint64_t serial) const;

    // Saved objects are those that are not transient, are listed, are not
    // service objects and are not named "Grille".
    bool isSaved(const SceneObject& object) const;

    // --- Service objects --------------------------------------------------------
    // Creates the four service objects (unlisted) at the head of the list,
    // named after kServiceObjectNames; existing ones are removed first.
    void createServiceObjects();
    SceneObject* serviceObject(ServiceSlot slot) const;
    SceneObject* cameraObject() const { return serviceObject(ServiceSlot::Camera); }
    SceneObject* lightObject() const { return serviceObject(ServiceSlot::Light); }
    bool isServiceObject(const SceneObject* object) const;
    // Makes an object of this scene the service object of a slot: it is
    // unlisted and moved to the slot's place at the head of the list; the
    // previous occupant is removed. Returns false when the object is not in
    // this scene.
    bool setServiceObject(ServiceSlot slot, SceneObject* object);

    // Empties the object and animation lists but keeps the four service
    // objects, the same records at the same addresses, at the head: they are
    // cut loose from everything removed (parents, children, links, group
    // leaders) and lose their animation. Textures, sounds, lights, camera and
    // settings stay.
    void clearContent();

    // --- Animations ---------------------------------------------------------------
    const std::vector<std::unique_ptr<Animation>>& animations() const {
        return animations_;
    }
    Animation& addAnimation(std::string targetName);
    Animation& addAnimation(std::unique_ptr<Animation> animation);
    Animation* findAnimation(std::string_view targetName) const;
    // Destroys the animation after clearing the objects' pointers to it and
    // other animations' chaining to its sequences.
    bool removeAnimation(Animation* animation);

    // --- Texture and sound caches (shared by name) ------------------------------------
    // Adding never merges: look the name up first.
    const std::vector<std::unique_ptr<SceneTexture>>& textures() const {
        return textures_;
    }
    SceneTexture& addTexture(std::string fileName);
    SceneTexture& addTexture(std::unique_ptr<SceneTexture> texture);
    SceneTexture* findTexture(std::string_view fileName) const;

    const std::vector<std::unique_ptr<SceneSound>>& sounds() const {
        return sounds_;
    }
    SceneSound& addSound(std::string fileName);
    SceneSound* findSound(std::string_view fileName) const;

    // Drops every texture and sound and empties the objects' slots that
    // pointed at them; for when the scene is replaced.
    void clearCaches();

    // --- Lights -------------------------------------------------------------------
    // The lights of a scene the program makes (new scenes, imports): the
    // default light and a softer fill from the opposite side, so that every
    // face gets some light; the other slots back to their default. A scene
    // read from a file takes the file's lights instead.
    void resetLights();
    static constexpr float kFillLightIntensity = 0.4f;

    std::array<SceneLight, kGlobalLightSlots> lights{};
    std::int32_t activeLightCount = 1;  // 1..8

    // --- Camera (world space, radians) ---------------------------------------------
    Vec3 eye;
    Vec3 eyeTarget;  // where the eye glides to
    float yaw = 0.0f;
    float pitch = 0.0f;
    float fieldOfView = 0.78539816f;  // pi / 4
    float rangeValue = 150.0f;
    std::vector<SavedViewpoint> viewpoints;

    // --- Look and settings ----------------------------------------------------------
    Vec4 backgroundColour{0.73f, 0.73f, 0.73f, 1.0f};
    SceneSettings settings;

    // --- File state -----------------------------------------------------------------
    std::string filePath;  // scene file last opened or saved
    // Tag of the file being read; the program's label outside reads so that
    // no version test matches.
    std::string loadedVersionTag{kProgramVersionLabel};
    bool modified = false;

    // The object the panels and tools work on; non-owning.
    SceneObject* currentObject = nullptr;

private:
    void forgetObject(const SceneObject* object);
    void giveSerial(SceneObject& object);
    void noteReferencesTo(DetachedObject& detached) const;
    void dropReferencesToAbsentRecords(SceneObject& object) const;
    bool holdsState(const ObjectState* state) const;
    std::size_t serviceObjectsInFront(std::size_t slot) const;

    std::vector<std::unique_ptr<SceneObject>> objects_;
    std::array<SceneObject*, kServiceObjectCount> serviceObjects_{};
    std::vector<std::unique_ptr<Animation>> animations_;
    std::vector<std::unique_ptr<SceneTexture>> textures_;
    std::vector<std::unique_ptr<SceneSound>> sounds_;
    std::uint64_t lastSerial_ = 0;
};

}  // namespace morvanex
