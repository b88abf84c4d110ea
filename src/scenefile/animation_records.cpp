// Animation records of scene files: the 1532-byte header, the target, its
// child tree, and the sequences with their key images and object states.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "scene/scene.h"
#include "scenefile/record_io.h"

namespace morvanex {
namespace {

constexpr std::size_t kTextField = kAnimationTextFieldBytes;
constexpr std::size_t kOldSequenceBytes = 284;
constexpr std::size_t kOldStateBytes = 40;
constexpr std::size_t kSequenceReservedWords = 64;
constexpr std::size_t kCurvePointBytes = 36;
constexpr const char* kCameraName = "Camera";
constexpr std::int32_t kBraBone = 53;
constexpr std::int32_t kBriefsBone = 54;

// --- Child trees ----------------------------------------------------------------

// Walks one child tree, depth first, the owner first; the visit order is
// what older files number bones by. The walk keeps its own stack so that a
// deeply nested (or hostile) tree cannot exhaust the program's stack.
struct TreeWalk {
    RecordReadContext& c;
    Animation* animation;
    std::int32_t runningBone = 0;
    std::vector<SceneObject*> visited;  // found objects, target first, each once
    std::unordered_set<const SceneObject*> seen;

    // A tree may name an object again and again: keep it once, so that what
    // is done to the visited objects afterwards costs no more than they are.
    void visit(SceneObject& object) {
        if (seen.insert(&object).second) visited.push_back(&object);
    }

    SceneObject* readReference() {
        if (c.version.since("1.8")) return c.objectBySaveIndex(c.in.i32("child reference"));
        return c.objectByName(c.in.cstr("child name"));
    }

    void numberBone(SceneObject& object) {
        if (!c.version.before("1.16.5")) return;
        if (object.name == "soutien gorge") {
            object.boneNumber = kBraBone;
            return;
        }
        object.boneNumber = object.name == "culotte" ? kBriefsBone : runningBone;
        if (object.name != "culotte") object.boneNumberFlag = true;
        ++runningBone;
    }

    static bool isAncestorOrSelf(const SceneObject* candidate, const SceneObject* of) {
        for (const SceneObject* o = of; o != nullptr; o = o->parent) {
            if (o == candidate) return true;
        }
        return false;
    }

    void attach(SceneObject& owner, SceneObject& child) {
        // A child that is already above its owner would make the tree a loop.
        if (isAncestorOrSelf(&child, &owner)) return;
        // An object has one parent: taken by another tree, it leaves the one
        // it was in, so that no list of children can ever lead back to itself.
        if (child.parent != nullptr && child.parent != &owner) child.parent->removeChild(&child);
        child.parent = &owner;
        child.animation = owner.animation;
        owner.addChild(child);
    }

    // Reads the tree of `target` (null when the target was not found: the
    // tree is still read, and dropped, so the next record starts right).
    void read(SceneObject* target) {
        struct Level {
            SceneObject* owner;
            std::int32_t left;
        };
        runningBone = 0;
        if (target != nullptr) {
            visit(*target);
            numberBone(*target);
        }
        std::vector<Level> stack;
        stack.push_back({target, c.in.count(4, "child count")});
        while (!stack.empty() && c.in.ok()) {
            if (stack.back().left == 0) {
                stack.pop_back();
                continue;
            }
            --stack.back().left;
            SceneObject* owner = stack.back().owner;
            SceneObject* child = readReference();
            if (owner == nullptr) child = nullptr;  // below a missing object: read and drop
            if (child != nullptr) {
                attach(*owner, *child);
                visit(*child);
                numberBone(*child);
            }
            stack.push_back({child, c.in.count(4, "child count")});
        }
    }
};

// Older files bound the vertices to the skeleton when the tree was read.
void bindOldVerticesToSkeleton(const std::vector<SceneObject*>& objects) {
    for (SceneObject* object : objects) {
        for (MeshVertex& v : object->vertices) {
            auto& w = v.blendWeights;
            auto& b = v.blendIndices;
            if (w[0] == -1.0f) {
                w[0] = 1.0f;
                w[3] = 1.0f;
            }
            if (w[0] == 0.0f) w[3] = 1.0f;
            b[0] = object->boneNumber;
            if (object->parent != nullptr && w[0] != 1.0f) {
                b[1] = object->parent->boneNumber;
                w[1] = 1.0f - w[0];
            }
        }
    }
}

// --- Sequences, key images, states ------------------------------------------------

std::vector<CurvePoint> readCurvePoints(ByteReader& in, const char* what) {
    const std::int32_t n = in.count(kCurvePointBytes, what);
    std::vector<CurvePoint> points;
    points.reserve(static_cast<std::size_t>(n));
    for (std::int32_t i = 0; i < n && in.ok(); ++i) {
        CurvePoint p;
        p.point = in.vec3(what);
        p.handle1 = in.vec3(what);
        p.handle2 = in.vec3(what);
        p.resetAnimated();
        points.push_back(p);
    }
    return points;
}

std::uint8_t byteAt(std::span<const std::uint8_t> block, std::size_t at) { return at < block.size() ? block[at] : 0; }

std::int32_t i32At(std::span<const std::uint8_t> block, std::size_t at) {
    ByteReader r(block.subspan(std::min(at, block.size())));
    return r.i32("value");
}

Vec3 vec3At(std::span<const std::uint8_t> block, std::size_t at) {
    ByteReader r(block.subspan(std::min(at, block.size())));
    return r.vec3("value");
}

// The first files kept a state as 40 raw bytes: angles about X, Y, Z, then a
// position, then two flags. The rotation as axis and angle is derived from
// the angles: q = qZ(z) * qY(-y) * qX(x).
void readOldState(ByteReader& in, ObjectState& s) {
    const auto block = in.bytes(kOldStateBytes, "object state");
    if (!in.ok()) return;
    s.angles = vec3At(block, 0);
    s.position = vec3At(block, 24);
    s.flagI = byteAt(block, 36) != 0;
    s.flagK = byteAt(block, 37) != 0;
    const Quat qx = quatFromAxisAngle({1, 0, 0}, s.angles.x);
    const Quat qy = quatFromAxisAngle({0, 1, 0}, -s.angles.y);
    const Quat qz = quatFromAxisAngle({0, 0, 1}, s.angles.z);
    const Quat q = quatMultiply(quatMultiply(qz, qy), qx);
    const float length = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w);
    if (length == 0.0f) {
        s.rotationAxis = {1.0f, 0.0f, 0.0f};
        s.rotationAngle = 0.0f;
        return;
    }
    s.rotationAxis = Vec3{q.x, q.y, q.z} / length;
    s.rotationAngle = 2.0f * std::acos(std::clamp(q.w, -1.0f, 1.0f));
}

void readState(RecordReadContext& c, ObjectState& s) {
    ByteReader& in = c.in;
    if (c.version.before("0.3")) {
        readOldState(in, s);
        return;
    }
    s.angles = in.vec3("state vector A");
    s.position = in.vec3("state vector B");
    if (c.version.since("0.6")) {
        s.handle1 = in.vec3("state vector C");
        s.handle2 = in.vec3("state vector D");
    }
    s.rotationAxis = in.vec3("state vector E");
    s.scale = in.vec3("state vector F");
    s.rotationAngle = in.f32("state value G");
    s.opacity = in.f32("state value H");
    s.flagI = in.bool32("state flag I");
    if (c.version.since("1.16")) s.relativeRotation = in.bool32("state flag J");
    s.flagK = in.bool32("state flag K");
    if (c.version.since("1.4")) {
        s.easeRate = in.f32("state value L");
        s.easeEnabled = in.bool32("state flag M");
    }
    static constexpr std::array<VersionName, kProfileCurves> kCurveSince{"1.0", "1.7", "1.16.1"};
    for (std::size_t k = 0; k < kProfileCurves; ++k) {
        if (!c.version.since(kCurveSince[k])) continue;
        s.curves[k].used = in.bool32("state curve flag");
        s.curves[k].points = readCurvePoints(in, "state curve");
    }
    if (c.version.since("1.16.2")) {
        std::string sound = in.cstr("state sound name");
        s.soundFileName = sound == " " ? std::string() : std::move(sound);
        s.soundEnabled = in.bool32("state sound flag");
        s.soundVolume = in.f32("state sound volume");
        s.soundFlagB = in.bool32("state sound flag B");
        s.soundValue = in.f32("state sound value");
        s.soundFlagC = in.bool32("state sound flag C");
        s.soundFlagD = in.bool32("state sound flag D");
    }
}

double readKeyTime(RecordReadContext& c) {
    if (!c.decimalKeyTimes) return c.in.f64("key image time");
    const std::string text = c.in.cstr("key image time");
    double seconds = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(seconds)) c.in.fail("key image time (not a number)");
    return seconds;
}

void readKeyImage(RecordReadContext& c, Sequence& sequence, bool cameraAnimation) {
    ByteReader& in = c.in;
    const double time = readKeyTime(c);
    const std::int32_t states = in.count(1, "state count");
    if (!in.ok()) return;
    KeyImage& key = sequence.addKeyImage(time);
    for (std::int32_t i = 0; i < states && in.ok(); ++i) {
        SceneObject* object = nullptr;
        if (c.version.since("1.8")) object = c.objectBySaveIndex(in.i32("state object"));
        else object = c.objectByName(in.cstr("state object name"));
        if (cameraAnimation) object = c.scene.cameraObject();
        ObjectState scratch;
        ObjectState& state = object != nullptr ? key.addState(object) : scratch;
        readState(c, state);
    }
}

void readSequenceFields(RecordReadContext& c, Sequence& s) {
    ByteReader& in = c.in;
    if (c.version.before("0.3")) {
        const auto block = in.bytes(kOldSequenceBytes, "sequence");
        if (!in.ok()) return;
        const auto nameEnd = std::find(block.begin(), block.begin() + 264, std::uint8_t{0});
        s.name.assign(block.begin(), nameEnd);
        s.loopBackKey = i32At(block, 264);
        s.startKey = i32At(block, 268);
        s.flagE = byteAt(block, 272) != 0;
        s.restoreCamera = byteAt(block, 274) != 0;
        s.repeat = byteAt(block, 275) != 0;
        s.flagD = byteAt(block, 280) != 0;
        return;
    }
    s.value = in.i32("sequence value");
    s.name = in.cstr("sequence name");
    s.restoreCamera = in.bool32("sequence flag A");
    s.repeat = in.bool32("sequence flag B");
    s.loopBackKey = in.i32("sequence value C");
    s.flagD = in.bool32("sequence flag D");
    s.flagE = in.bool32("sequence flag E");
    s.startKey = in.i32("sequence value F");
    if (c.version.since("0.4")) {
        s.pathMode = in.bool32("sequence flag G");
        s.orientAlongPath = in.bool32("sequence flag H");
    }
    if (c.version.since("1.16.8")) {
        s.pausable = in.bool32("sequence flag I");
        s.flagJ = in.bool32("sequence flag J");
        in.skip(kSequenceReservedWords * 4, "sequence reserved words");
    }
}

void readSequences(RecordReadContext& c, Animation& animation, bool cameraAnimation) {
    ByteReader& in = c.in;
    const std::int32_t count = in.count(4, "sequence count");
    for (std::int32_t i = 0; i < count && in.ok(); ++i) {
        Sequence& sequence = animation.addSequence("");
        readSequenceFields(c, sequence);
        const std::int32_t keys = in.count(8, "key image count");
        for (std::int32_t k = 0; k < keys && in.ok(); ++k) readKeyImage(c, sequence, cameraAnimation);
        if (!in.ok()) {
            // Cut short by damage: only whole sequences are kept.
            animation.sequences.pop_back();
            return;
        }
        sequence.sortKeyImages();
    }
}

// --- Writing --------------------------------------------------------------------

// Only saved children are written: the others have no number to refer to.
std::vector<const SceneObject*> savedChildren(const SceneObject& owner) {
    std::vector<const SceneObject*> children;
    for (const SceneObject* child : owner.children) {
        if (child != nullptr && child->saveIndex > 0) children.push_back(child);
    }
    return children;
}

void writeChildTree(ByteWriter& out, const SceneObject& owner) {
    struct Level {
        std::vector<const SceneObject*> children;
        std::size_t next;
    };
    std::vector<Level> stack;
    stack.push_back({savedChildren(owner), 0});
    out.i32(static_cast<std::int32_t>(stack.back().children.size()));
    while (!stack.empty()) {
        Level& level = stack.back();
        if (level.next == level.children.size()) {
            stack.pop_back();
            continue;
        }
        const SceneObject* child = level.children[level.next++];
        out.i32(child->saveIndex);
        Level below{savedChildren(*child), 0};
        out.i32(static_cast<std::int32_t>(below.children.size()));
        stack.push_back(std::move(below));
    }
}

void writeCurvePoints(ByteWriter& out, const std::vector<CurvePoint>& points) {
    out.i32(static_cast<std::int32_t>(points.size()));
    for (const CurvePoint& p : points) {
        out.vec3(p.point);
        out.vec3(p.handle1);
        out.vec3(p.handle2);
    }
}

void writeState(ByteWriter& out, const ObjectState& s) {
    out.vec3(s.angles);
    out.vec3(s.position);
    out.vec3(s.handle1);
    out.vec3(s.handle2);
    out.vec3(s.rotationAxis);
    out.vec3(s.scale);
    out.f32(s.rotationAngle);
    out.f32(s.opacity);
    out.bool32(s.flagI);
    out.bool32(s.relativeRotation);
    out.bool32(s.flagK);
    out.f32(s.easeRate);
    out.bool32(s.easeEnabled);
    for (const FlaggedCurve& curve : s.curves) {
        out.bool32(curve.used);
        writeCurvePoints(out, curve.points);
    }
    const bool hasSound = s.soundEnabled && !s.soundFileName.empty();
    out.cstr(hasSound ? s.soundFileName : " ");
    out.bool32(s.soundEnabled);
    out.f32(s.soundVolume);
    out.bool32(s.soundFlagB);
    out.f32(s.soundValue);
    out.bool32(s.soundFlagC);
    out.bool32(s.soundFlagD);
}

// A state is written while its object is still saved and still driven by
// the animation that holds the state.
bool stateIsWritten(const Scene& scene, const Animation& animation, const ObjectState& state) {
    const SceneObject* object = state.object;
    if (object == nullptr) return false;
    // The camera is never numbered: its states refer to it by 0.
    if (animation.cameraFlag != 0 && object == scene.cameraObject()) return true;
    return object->saveIndex > 0 && object->animation == &animation;
}

void writeSequence(RecordWriteContext& c, const Animation& animation, const Sequence& s) {
    ByteWriter& out = c.out;
    out.i32(s.value);
    out.cstr(s.name);
    out.bool32(s.restoreCamera);
    out.bool32(s.repeat);
    out.i32(s.loopBackKey);
    out.bool32(s.flagD);
    out.bool32(s.flagE);
    out.i32(s.startKey);
    out.bool32(s.pathMode);
    out.bool32(s.orientAlongPath);
    out.bool32(s.pausable);
    out.bool32(s.flagJ);
    out.zeros(kSequenceReservedWords * 4);
    out.i32(static_cast<std::int32_t>(s.keyImages.size()));
    for (const auto& key : s.keyImages) {
        out.f64(key->time);
        const std::size_t countAt = out.reserveI32();
        std::int32_t written = 0;
        for (const auto& state : key->states) {
            if (!stateIsWritten(c.scene, animation, *state)) continue;
            out.i32(state->object->saveIndex);
            writeState(out, *state);
            ++written;
        }
        out.patchI32(countAt, written);
    }
}

}  // namespace

AnimationHeader readAnimationHeader(ByteReader& in) {
    AnimationHeader h;
    h.targetName = in.fixedText(kTextField, "animation target name");
    for (std::string& reference : h.references) reference = in.fixedText(kTextField, "sequence reference");
    h.animationFlag = in.byte("animation flag");
    h.cameraFlag = in.byte("camera flag");
    return h;
}

void writeAnimationHeader(ByteWriter& out, const Animation& animation) {
    out.fixedText(animation.targetName, kTextField);
    for (std::size_t r = 0; r < kSequenceReferences; ++r) {
        const std::string& name = animation.sequenceReferenceNames[r];
        // The starting reference is written as " " when unset.
        out.fixedText(r == 3 && name.empty() ? std::string_view(" ") : std::string_view(name), kTextField);
    }
    out.byte(animation.animationFlag);
    out.byte(animation.cameraFlag);
}

void readAnimationSequences(RecordReadContext& c, Animation& animation, bool cameraAnimation) {
    readSequences(c, animation, cameraAnimation);
}

void writeAnimationSequences(RecordWriteContext& c, const Animation& animation) {
    c.out.i32(static_cast<std::int32_t>(animation.sequences.size()));
    for (const auto& sequence : animation.sequences) writeSequence(c, animation, *sequence);
}

bool readAnimationRecord(RecordReadContext& c) {
    ByteReader& in = c.in;
    c.record = "animation " + std::to_string(c.scene.animations().size() + 1);
    const AnimationHeader header = readAnimationHeader(in);
    float turnValue = -1.5707964f;
    if (c.version.since("1.16.6")) turnValue = in.f32("animation turn value");
    std::int32_t targetNumber = 0;
    if (c.version.since("1.8")) targetNumber = in.i32("animation target number");
    if (!in.ok()) return false;

    SceneObject* camera = c.scene.cameraObject();
    const bool cameraAnimation = header.cameraFlag != 0 || header.targetName == kCameraName;
    SceneObject* target = nullptr;
    if (cameraAnimation) target = camera;
    else if (c.version.since("1.8")) target = c.objectBySaveIndex(targetNumber);
    else target = c.objectByName(header.targetName);

    // Sequences of a second camera animation join the first.
    Animation* reused = cameraAnimation && camera != nullptr ? camera->animation : nullptr;
    std::unique_ptr<Animation> fresh;
    if (reused == nullptr) fresh = std::make_unique<Animation>(cameraAnimation ? std::string(kCameraName) : header.targetName);
    Animation& animation = reused != nullptr ? *reused : *fresh;
    animation.animationFlag = header.animationFlag;
    animation.cameraFlag = cameraAnimation ? 1 : 0;
    animation.turnValue = turnValue;
    if (target != nullptr) {
        animation.targetName = target->name;
        animation.target = target;
    }
    for (std::size_t r = 0; r < kSequenceReferences; ++r) {
        if (reused == nullptr || !header.references[r].empty()) animation.sequenceReferenceNames[r] = header.references[r];
    }
    const std::size_t sequencesBefore = animation.sequences.size();
    SceneObject* const previousAnimationOwner = target;
    Animation* const previousAnimation = target != nullptr ? target->animation : nullptr;
    if (target != nullptr) target->animation = &animation;

    TreeWalk walk{c, &animation, 0, {}, {}};
    walk.read(target);
    if (c.version.before("1.16.5") && target != nullptr) bindOldVerticesToSkeleton(walk.visited);
    readSequences(c, animation, cameraAnimation);
    const bool whole = in.ok();
    // The objects the tree reached stop pointing to an animation that is not kept.
    const auto letGo = [&] {
        for (SceneObject* object : walk.visited) {
            if (object->animation == fresh.get()) object->animation = nullptr;
        }
        if (previousAnimationOwner != nullptr) previousAnimationOwner->animation = previousAnimation;
    };
    // Damage keeps what was read whole, the links the tree made and the whole
    // sequences, so that a save writes what was shown rather than dropping
    // links that the objects still hold.
    const bool readSomething = walk.visited.size() > 1 || animation.sequences.size() > sequencesBefore;
    if (!whole && !readSomething) {
        if (fresh) letGo();
        return false;
    }
    animation.resolveSequenceReferences();
    // The last animation read decides what the cinematic camera rides.
    c.attachedObject = animation.sequenceReferences[3] != nullptr ? target : nullptr;
    if (!fresh) return whole;
    if (target == nullptr || c.scene.findAnimation(animation.targetName) != nullptr) {
        // Not listed: the objects it reached must not keep pointing to it.
        letGo();
        return whole;
    }
    c.scene.addAnimation(std::move(fresh));
    return whole;
}

bool animationIsWritten(const Scene& scene, const Animation& animation, bool selectionOnly) {
    const SceneObject* target = animation.target;
    if (target == nullptr || scene.indexOf(target) < 0) return false;
    const bool camera = animation.cameraFlag != 0 && target == scene.cameraObject();
    if (!camera && target->saveIndex <= 0) return false;
    if (selectionOnly && target != scene.currentObject) return false;
    return !target->children.empty() || !animation.sequences.empty();
}

void writeAnimationRecord(RecordWriteContext& c, const Animation& animation) {
    ByteWriter& out = c.out;
    const SceneObject& target = *animation.target;
    writeAnimationHeader(out, animation);
    out.f32(animation.turnValue);
    out.i32(target.saveIndex);
    writeChildTree(out, target);
    writeAnimationSequences(c, animation);
}

}  // namespace morvanex
