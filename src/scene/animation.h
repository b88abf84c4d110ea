// Animations: an Animation drives one target object through Sequences of
// KeyImages; each key image holds one ObjectState per object it poses.
//
// Ownership runs downwards (animation -> sequences -> key images -> states,
// all through unique_ptr so their addresses stay stable); every pointer to a
// SceneObject is non-owning and cleared by the Scene when that object goes.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "scene/curve_point.h"
#include "scene/edit_history.h"
#include "scene/math.h"
#include "scene/scene_limits.h"

namespace morvanex {

struct Animation;
struct SceneObject;
struct Sequence;
struct KeyImage;

// "Image cl\xE9, temps : " followed by the time as text, in Windows-1252
// bytes. The time is written in the shortest general form with at most six
// significant digits and a '.' decimal point whatever the locale, so a time
// that went through a float still reads "3.9" and not "3.9000000953674316".
std::string keyImageDisplayName(double seconds);

// The saved pose of one object at one key image. Vectors are in the object's
// parent space; angles in radians.
struct ObjectState {
    SceneObject* object = nullptr;  // the object posed; non-owning

    Vec3 angles;                          // vector A, per-axis angles
    Vec3 position;                        // vector B
    Vec3 handle1;                         // vector C, first handle of the path leaving this key
    Vec3 handle2;                         // vector D, second handle
    Vec3 rotationAxis{0.0f, 1.0f, 0.0f};  // vector E
    Vec3 scale{1.0f, 1.0f, 1.0f};         // vector F
    float rotationAngle = 0.0f;           // value G
    float opacity = 1.0f;                 // value H
    bool flagI = false;
    bool relativeRotation = false;  // flag J: applied on top of the current orientation
    bool flagK = false;
    float easeRate = 0.0f;     // value L, segment arriving at this key
    bool easeEnabled = false;  // flag M

    // Values of the object's three deformer curves at this key.
    std::array<FlaggedCurve, kProfileCurves> curves;

    // Sound started when playback reaches this key.
    std::string soundFileName;  // empty when none
    bool soundEnabled = false;
    float soundVolume = 1.0f;
    bool soundFlagB = false;
    float soundValue = 0.0f;
    bool soundFlagC = false;
    bool soundFlagD = false;

    // Run-time: the point's own transform edits, for undo and redo.
    SnapshotHistory history;
};

struct KeyImage {
    KeyImage(double seconds, Sequence* owner) : time(seconds), sequence(owner) {}

    double time = 0.0;              // seconds from the start of the sequence
    Sequence* sequence = nullptr;   // back pointer to the owner
    std::int32_t number = 0;        // position in time order, from 0

    std::vector<std::unique_ptr<ObjectState>> states;

    // Built from the time every time, so it can never go stale.
    std::string displayName() const { return keyImageDisplayName(time); }

    ObjectState& addState(SceneObject* object);
};

// Playback state of a sequence; never stored.
struct SequencePlayback {
    double segmentStart = 0.0;  // seconds on the frame clock
    std::int32_t keyNumber = 0;           // the key being approached
    std::int32_t previousKeyNumber = -1;  // -1 at the start
    double elapsed = 0.0;   // seconds into the current segment
    double duration = 0.0;  // seconds of the current segment
    bool finished = false;
    Sequence* next = nullptr;  // chained sequence; non-owning
    KeyImage* currentKeyImage = nullptr;
};

struct Sequence {
    Sequence(std::string sequenceName, Animation* owner)
        : name(std::move(sequenceName)), animation(owner) {}

    std::string name;
    Animation* animation = nullptr;  // back pointer to the owner

    std::int32_t value = 0;
    bool restoreCamera = false;    // flag A
    bool repeat = false;           // flag B
    std::int32_t loopBackKey = 0;  // value C
    bool flagD = false;
    bool flagE = false;
    std::int32_t startKey = 0;     // value F
    bool pathMode = false;         // flag G
    bool orientAlongPath = false;  // flag H
    bool pausable = false;         // flag I
    bool flagJ = false;

    // Which of the animation's five references names this sequence (0..4),
    // -1 when none; set by Animation::resolveSequenceReferences().
    std::int32_t referenceIndex = -1;

    std::vector<std::unique_ptr<KeyImage>> keyImages;

    SequencePlayback playback;

    KeyImage& addKeyImage(double seconds);
    // Orders the key images by time, ascending (equal times keep their
    // order), and renumbers them from 0.
    void sortKeyImages();
};

struct Animation {
    explicit Animation(std::string animatedTargetName);

    // Header: text fields hold at most kAnimationTextBytes bytes in files.
    std::string targetName;  // "Camera" for a camera animation
    std::array<std::string, kSequenceReferences> sequenceReferenceNames;
    std::uint8_t animationFlag = 0;
    std::uint8_t cameraFlag = 0;  // 1 when the target is the scene's camera
    float turnValue = -1.5707964f;  // radians

    SceneObject* target = nullptr;  // non-owning; points back here
    // Resolved from the names by resolveSequenceReferences(); point into
    // this animation's own sequences.
    std::array<Sequence*, kSequenceReferences> sequenceReferences{};

    // Bone table: the world matrix of each bone object at its bone number.
    std::array<Mat4, kBoneSlots> boneMatrices{};
    std::int32_t highestBone = 0;

    std::vector<std::unique_ptr<Sequence>> sequences;
    Sequence* currentSequence = nullptr;  // playback; non-owning

    Sequence& addSequence(std::string name);
    Sequence* findSequence(std::string_view name) const;
    // Looks each reference name up among the sequences (no match leaves the
    // reference empty) and tells every sequence which reference names it (the
    // first one when several do).
    void resolveSequenceReferences();
    // Drops every pointer this animation holds to the object (target and
    // states); the records themselves stay.
    void forgetObject(const SceneObject* object);
};

}  // namespace morvanex
