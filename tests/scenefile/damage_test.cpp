// Damaged scene files: every cut of several files, seeded random changes and
// hand-made hostile values. Whatever the bytes, the reader returns, keeps
// exactly the records that were complete, and leaves no pointer of the scene
// aimed at something that is not in it.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <span>
#include <string>
#include <unordered_set>
#include <vector>

#include <unistd.h>

#include "scene/scene.h"
#include "scenefile/byte_writer.h"
#include "scenefile/legacy_file_builder.h"
#include "scenefile/scene_reader.h"
#include "scenefile/scene_writer.h"

namespace morvanex {
namespace {

namespace fs = std::filesystem;
namespace lf = morvanex::testing;

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kHeaderBytesOfAnAnimation = 6 * 255 + 2;

// --- Checking a scene after a read ---------------------------------------------

// Why the scene is not sound, or "" when it is: every pointer between its
// records names a record that is in it, the trees are trees, and every mesh
// indexes only its own vertices.
std::string sceneProblem(const Scene& scene) {
    std::unordered_set<const SceneObject*> objects;
    for (const auto& o : scene.objects()) objects.insert(o.get());
    std::unordered_set<const Animation*> animations;
    for (const auto& a : scene.animations()) animations.insert(a.get());
    std::unordered_set<const SceneTexture*> textures;
    for (const auto& t : scene.textures()) textures.insert(t.get());
    std::unordered_set<const SceneSound*> sounds;
    for (const auto& s : scene.sounds()) sounds.insert(s.get());
    const auto inScene = [&objects](const SceneObject* o) { return o == nullptr || objects.count(o) != 0; };

    std::unordered_set<const SceneTexture*> used;
    for (std::size_t i = 0; i < scene.objects().size(); ++i) {
        const SceneObject& o = *scene.objects()[i];
        const std::string who = "object " + std::to_string(i) + " \"" + o.name + "\": ";
        if (o.animation != nullptr && animations.count(o.animation) == 0) return who + "animation not in the scene";
        if (!inScene(o.parent)) return who + "parent not in the scene";
        if (!inScene(o.groupLeader)) return who + "group leader not in the scene";
        std::size_t steps = 0;
        for (const SceneObject* up = o.parent; up != nullptr; up = up->parent) {
            if (!inScene(up)) return who + "an ancestor is not in the scene";
            if (++steps > scene.objectCount()) return who + "its parents form a loop";
        }
        for (const SceneObject* child : o.children) {
            if (child == nullptr || !inScene(child)) return who + "child not in the scene";
            if (child->parent != &o) return who + "lists a child whose parent is another object";
        }
        for (const ObjectLink& link : o.links) {
            if (!inScene(link.object)) return who + "linked object not in the scene";
        }
        for (const SceneTexture* t : o.textures) {
            if (t != nullptr && textures.count(t) == 0) return who + "texture not in the scene";
            if (t != nullptr) used.insert(t);
        }
        if (o.sound != nullptr && sounds.count(o.sound) == 0) return who + "sound not in the scene";
        const auto vertexCount = static_cast<std::int64_t>(o.vertices.size());
        for (std::int32_t index : o.indices) {
            if (index < 0 || index >= vertexCount) return who + "index " + std::to_string(index) + " outside the vertices";
        }
        if (o.faceSelected.size() != o.indices.size() / 3) return who + "face selection does not match the indices";
        if (o.legacyPoints.size() > kLegacyArrayCapacity) return who + "more than 100 legacy points";
    }
    for (const auto& t : scene.textures()) {
        if (!inScene(t->lastAttachedObject)) return "texture \"" + t->fileName + "\": last attached object not in the scene";
        if (used.count(t.get()) == 0) return "texture \"" + t->fileName + "\" is used by no object";
    }
    for (const auto& a : scene.animations()) {
        const std::string who = "animation \"" + a->targetName + "\": ";
        if (!inScene(a->target)) return who + "target not in the scene";
        for (const Sequence* reference : a->sequenceReferences) {
            if (reference != nullptr && reference->animation != a.get()) return who + "reference to another animation's sequence";
        }
        for (const auto& sequence : a->sequences) {
            if (sequence->animation != a.get()) return who + "sequence of another animation";
            for (const auto& key : sequence->keyImages) {
                if (key->sequence != sequence.get()) return who + "key image of another sequence";
                for (const auto& state : key->states) {
                    if (!inScene(state->object)) return who + "state of an object not in the scene";
                }
            }
        }
    }
    return {};
}

// Every object's parent and children by name, in list order.
std::string treeLinks(const Scene& scene) {
    std::string links;
    for (const auto& o : scene.objects()) {
        links += o->name + " <" + (o->parent != nullptr ? o->parent->name : "") + "> [";
        for (const SceneObject* child : o->children) links += child->name + ",";
        links += "]\n";
    }
    return links;
}

// The same of the scene written and read back.
std::string treeLinksAfterSaving(Scene& scene) {
    Scene saved;
    const Bytes bytes = writeScene(scene, SceneWriteOptions{});
    if (!readScene(bytes, saved, SceneReadOptions{}).complete()) return "not read back";
    return treeLinks(saved);
}

// The objects a read added: those after the first `before`.
std::vector<const SceneObject*> objectsAfter(const Scene& scene, std::size_t before) {
    std::vector<const SceneObject*> added;
    for (std::size_t i = before; i < scene.objects().size(); ++i) added.push_back(scene.objects()[i].get());
    return added;
}

bool samePositions(const SceneObject& a, const SceneObject& b) {
    if (a.vertices.size() != b.vertices.size()) return false;
    for (std::size_t i = 0; i < a.vertices.size(); ++i) {
        const Vec3& p = a.vertices[i].position;
        const Vec3& q = b.vertices[i].position;
        if (std::memcmp(&p, &q, sizeof p) != 0) return false;
    }
    return true;
}

// The byte offset an error text names ("damaged at byte 1234 while ...").
bool offsetNamed(const std::string& error, std::size_t& offset) {
    static const std::string kLead = "damaged at byte ";
    if (error.rfind(kLead, 0) != 0) return false;
    const char* digits = error.c_str() + kLead.size();
    char* end = nullptr;
    const unsigned long long value = std::strtoull(digits, &end, 10);
    if (end == digits || *end != ' ') return false;
    offset = static_cast<std::size_t>(value);
    return true;
}

void putI32(Bytes& bytes, std::size_t at, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i) bytes.at(at + i) = static_cast<std::uint8_t>(v >> (8 * i));
}

std::int32_t getI32(const Bytes& bytes, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(bytes.at(at + i)) << (8 * i);
    return static_cast<std::int32_t>(v);
}

SceneReadReport readBytes(std::span<const std::uint8_t> bytes, Scene& scene) {
    return readScene(bytes, scene, SceneReadOptions{});
}

// --- Newest files, written from scenes built here -----------------------------------

MeshVertex vertexAt(float x, float y, float z) {
    MeshVertex v;
    v.position = {x, y, z};
    v.normal = {0.0f, 1.0f, 0.0f};
    v.texcoord = {x * 0.25f, y * 0.5f};
    v.texcoord2 = v.texcoord;
    v.blendWeights = {0.75f, 0.25f, 0.0f, 0.0f};
    v.blendIndices = {1, 2, -1, -1};
    return v;
}

CurvePoint curvePoint(float x, std::int32_t step = 0) {
    CurvePoint p;
    p.point = {x, 2.0f, -1.0f};
    p.handle1 = {x - 0.5f, 2.5f, -1.0f};
    p.handle2 = {x + 0.5f, 1.5f, -1.0f};
    p.step = step;
    p.resetAnimated();
    return p;
}

Bytes imageBytes(std::uint8_t seed, std::size_t size) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(seed + i * 7);
    return bytes;
}

// A mesh of `vertexCount` vertices and `triangles` triangles over them.
void giveMesh(SceneObject& o, std::size_t vertexCount, std::size_t triangles, float shift) {
    std::vector<MeshVertex> vertices;
    for (std::size_t i = 0; i < vertexCount; ++i) {
        const float f = static_cast<float>(i);
        vertices.push_back(vertexAt(f + shift, f * 0.5f, shift - f));
    }
    std::vector<std::int32_t> indices;
    for (std::size_t t = 0; t < triangles; ++t) {
        for (std::size_t k = 0; k < 3; ++k) indices.push_back(static_cast<std::int32_t>((t + k) % vertexCount));
    }
    o.assignMesh(std::move(vertices), std::move(indices));
}

void attachTexture(SceneObject& o, std::size_t slot, SceneTexture& texture) {
    o.textures[slot] = &texture;
    o.textureEnabled[slot] = true;
}

constexpr std::size_t kNewestObjects = 4;
constexpr std::size_t kNewestAnimations = 2;

// The first `objectLimit` objects of one scene and, when all objects are
// there, its first `animationLimit` animations. Every record comes out the
// same whatever the limits, so smaller scenes tell where records end.
void buildNewestScene(Scene& scene, std::size_t objectLimit, std::size_t animationLimit) {
    scene.eyeTarget = {5.0f, 6.0f, 7.0f};
    scene.pitch = 0.125f;
    scene.yaw = -0.5f;
    scene.activeLightCount = 3;
    scene.settings.groundImageName = "sol.jpg";
    scene.viewpoints.push_back({{1.0f, 2.0f, 3.0f}, 0.25f, 0.5f, "vue.bmp", ""});
    SceneTexture& skin = scene.addTexture("peau.bmp");
    skin.embedded = true;
    skin.embeddedBytes = imageBytes(0x10, 70);
    SceneTexture& pattern = scene.addTexture("motif.bmp");
    pattern.embedded = true;
    pattern.embeddedBytes = imageBytes(0x80, 33);

    std::vector<SceneObject*> made;
    const auto add = [&](const char* name, std::size_t vertices, std::size_t triangles) -> SceneObject* {
        if (made.size() >= objectLimit) return nullptr;
        SceneObject& o = scene.addObject(name);
        giveMesh(o, vertices, triangles, static_cast<float>(made.size()) * 10.0f);
        made.push_back(&o);
        return &o;
    };
    if (SceneObject* o = add("corps", 5, 3)) {
        attachTexture(*o, 0, skin);
        o->profileCurves[0] = {true, {curvePoint(1), curvePoint(2), curvePoint(3)}};
        o->timedPath.present = true;
        o->timedPath.values = {1, 2, 3, 4, 5, 6, 7, 8};
        o->timedPath.paths[0] = {curvePoint(4, 10), curvePoint(5, 11)};
        o->timedPath.paths[1] = {curvePoint(6, 12)};
        o->timedPath.paths[2] = {curvePoint(7, 13)};
        o->timedPath.paths[3] = {curvePoint(8, 14)};
        o->soundFileName = "pas.wav";
        o->soundEnabled = true;
    }
    if (SceneObject* o = add("bras", 4, 2)) {
        attachTexture(*o, 0, skin);  // the bytes travel once: this one says 0
        attachTexture(*o, 2, pattern);
        o->linkGroupName = "chaine";
        ObjectLink first;
        first.position = {3.0f, 0.0f, 0.0f};
        ObjectLink second;
        second.position = {-3.0f, 1.0f, 0.0f};
        second.scale = {2.0f, 2.0f, 2.0f};
        o->links = {first, second};
    }
    if (SceneObject* o = add("main", 3, 1)) {
        o->sweepCurves.present = true;
        o->sweepCurves.values = {7, 6, 5, 4, 3, 2, 1};
        o->sweepCurves.curves[0] = {curvePoint(9), curvePoint(10)};
        o->sweepCurves.curves[2] = {curvePoint(11)};
        o->thirdPath = {true, {curvePoint(12, 3), curvePoint(13, 4)}};
        o->extensionFileName = "extra.dat";
    }
    if (SceneObject* o = add("pied", 4, 2)) {
        o->profileCurves[2] = {true, {curvePoint(14)}};
        attachTexture(*o, 1, pattern);
    }

    if (made.size() < kNewestObjects) return;
    SceneObject& body = *made[0];
    SceneObject& arm = *made[1];
    SceneObject& hand = *made[2];
    SceneObject& foot = *made[3];
    if (animationLimit >= 1) {
        body.addChild(arm);
        arm.addChild(hand);
        body.addChild(foot);
        Animation& walk = scene.addAnimation("corps");
        walk.target = &body;
        walk.animationFlag = 1;
        walk.turnValue = 0.25f;
        body.animation = arm.animation = hand.animation = foot.animation = &walk;
        walk.sequenceReferenceNames[0] = "marche";
        walk.sequenceReferenceNames[3] = "saut";
        Sequence& march = walk.addSequence("marche");
        march.repeat = true;
        for (double t : {0.0, 1.5}) {
            KeyImage& key = march.addKeyImage(t);
            ObjectState& state = key.addState(&arm);
            state.position = {static_cast<float>(t), 1.0f, 0.0f};
            state.curves[1] = {true, {curvePoint(static_cast<float>(t))}};
            state.soundFileName = "clac.wav";
            state.soundEnabled = true;
            key.addState(&hand).opacity = 0.5f;
        }
        Sequence& jump = walk.addSequence("saut");
        jump.addKeyImage(0.5).addState(&foot).scale = {1.0f, 2.0f, 1.0f};
        walk.resolveSequenceReferences();
    }
    if (animationLimit >= 2) {
        Animation& ride = scene.addAnimation("Camera");
        ride.cameraFlag = 1;
        ride.target = scene.cameraObject();
        scene.cameraObject()->animation = &ride;
        ride.sequenceReferenceNames[3] = "vol";
        Sequence& flight = ride.addSequence("vol");
        for (double t : {1.0, 4.0}) {
            flight.addKeyImage(t).addState(scene.cameraObject()).position = {static_cast<float>(t), 9.0f, 0.0f};
        }
        ride.resolveSequenceReferences();
    }
}

Bytes writeNewest(std::size_t objectLimit, std::size_t animationLimit) {
    Scene scene;
    buildNewestScene(scene, objectLimit, animationLimit);
    return writeScene(scene, SceneWriteOptions{});
}

// A file and where its records end.
struct MappedFile {
    std::string name;
    Bytes bytes;
    std::size_t tagBytes = 0;
    std::size_t objectCountAt = 0;
    std::vector<std::size_t> objectEnd;     // one per object record
    std::size_t animationCountAt = 0;
    std::vector<std::size_t> animationEnd;  // one per animation record, when known
};

// True when `a` and `b` agree on their first `length` bytes, except the four
// at `countAt` (a count that differs between the two).
bool samePrefix(const Bytes& a, const Bytes& b, std::size_t length, std::size_t countAt) {
    if (a.size() < length || b.size() < length) return false;
    for (std::size_t i = 0; i < length; ++i) {
        if (i >= countAt && i < countAt + 4) continue;
        if (a[i] != b[i]) return false;
    }
    return true;
}

const MappedFile& newestFile() {
    static const MappedFile file = [] {
        MappedFile f;
        f.name = "newest";
        f.bytes = writeNewest(kNewestObjects, kNewestAnimations);
        f.tagBytes = kNewestFileTag.size() + 1;
        const Bytes empty = writeNewest(0, 0);
        f.objectCountAt = empty.size() - 8;  // the header, then two counts of 0
        for (std::size_t k = 1; k <= kNewestObjects; ++k) {
            const Bytes fewer = writeNewest(k, 0);
            f.objectEnd.push_back(fewer.size() - 4);  // the animation count follows
            if (!samePrefix(fewer, f.bytes, f.objectEnd.back(), f.objectCountAt)) ADD_FAILURE() << "object records move with the object count";
        }
        f.animationCountAt = f.objectEnd.back();
        for (std::size_t j = 1; j <= kNewestAnimations; ++j) {
            const Bytes fewer = writeNewest(kNewestObjects, j);
            f.animationEnd.push_back(fewer.size());
            if (!samePrefix(fewer, f.bytes, fewer.size(), f.animationCountAt)) ADD_FAILURE() << "animation records move";
        }
        if (f.animationEnd.back() != f.bytes.size()) ADD_FAILURE() << "the last animation does not end the file";
        return f;
    }();
    return file;
}

// --- Older files, from the legacy builder ---------------------------------------------

lf::LegacyChild childRef(std::int32_t saveIndex, std::string name, std::vector<lf::LegacyChild> children = {}) {
    return {saveIndex, std::move(name), std::move(children)};
}

lf::LegacyState stateOf(const std::string& version, std::int32_t saveIndex, const std::string& name, int seed) {
    lf::LegacyState state = lf::distinctState(seed);
    if (lf::legacyHasField(version, "1.8")) state.objectIndex = saveIndex;
    else state.objectName = name;
    return state;
}

lf::LegacyState plainState(const std::string& version, std::int32_t saveIndex, const std::string& name) {
    lf::LegacyState state;
    if (lf::legacyHasField(version, "1.8")) state.objectIndex = saveIndex;
    else state.objectName = name;
    state.vectorB = {1.0f, 2.0f, 3.0f};
    return state;
}

// Three objects (the first two with two links each: save indices 1 to 3 and
// 4 to 6, the third 7), an embedded texture used twice, an animation with a
// child tree and two sequences, and a camera animation.
lf::LegacyScene legacyScene(const std::string& version) {
    lf::LegacyScene scene = lf::distinctScene(version);
    lf::LegacyObject first = lf::distinctObject("premier", 0);
    // One point a curve is enough here, and keeps every cut of the file quick.
    const auto onePoint = [](std::vector<lf::LegacyCurvePoint>& points) { points.resize(std::min<std::size_t>(points.size(), 1)); };
    for (auto& curve : first.profileCurves) onePoint(curve.points);
    for (auto& path : first.timedPath.paths) onePoint(path);
    for (auto& curve : first.sweepCurves.curves) onePoint(curve);
    onePoint(first.thirdPath.points);
    first.textures[0] = {"peau.bmp", true, lf::tinyBmpImage(0x40)};
    lf::LegacyObject second = lf::plainObject("second");
    second.links = first.links;
    second.textures[1] = {"peau.bmp", true, {}};  // its bytes came with the first
    lf::LegacyObject third = lf::plainObject("troisieme");
    scene.objects = {first, second, third};

    lf::LegacyAnimation walk;
    walk.targetName = "premier";
    walk.targetNumber = 1;
    walk.sequenceReferences[0] = "marche";
    walk.children = {childRef(4, "second", {childRef(7, "troisieme")})};
    lf::LegacySequence march;
    march.name = "marche";
    for (double t : {1.25, 0.0}) {
        lf::LegacyKeyImage key;
        key.time = t;
        key.states = {stateOf(version, 4, "second", 1)};
        march.keyImages.push_back(key);
    }
    march.keyImages.back().states.push_back(plainState(version, 7, "troisieme"));
    lf::LegacySequence rest;
    rest.name = "repos";
    rest.keyImages.push_back({0.5, "", {plainState(version, 1, "premier")}});
    walk.sequences = {march, rest};

    lf::LegacyAnimation ride;
    ride.targetName = "Camera";
    ride.cameraFlag = 1;
    lf::LegacySequence flight;
    flight.name = "vol";
    for (double t : {1.0, 3.0}) flight.keyImages.push_back({t, "", {plainState(version, 0, "Camera")}});
    ride.sequences = {flight};
    scene.animations = {walk, ride};
    return scene;
}

MappedFile legacyFile(const std::string& version) {
    const lf::LegacyFile built = lf::buildLegacyFileWithLayout(legacyScene(version));
    MappedFile f;
    f.name = version;
    f.bytes = built.bytes;
    f.tagBytes = built.layout.tagBytes;
    f.objectCountAt = built.layout.headerEnd;
    f.objectEnd = built.layout.objectEnd;
    f.animationCountAt = built.layout.animationCountAt;
    return f;
}

const std::vector<std::string>& legacyVersions() {
    static const std::vector<std::string> versions{"0.2", "0.7", "1.6", "1.15", "1.16.4"};
    return versions;
}

std::vector<MappedFile> everyFile() {
    std::vector<MappedFile> files{newestFile()};
    for (const std::string& version : legacyVersions()) files.push_back(legacyFile(version));
    return files;
}

// --- Every cut -------------------------------------------------------------------

// The owners of the object records in a read scene, each followed by its
// linked copies; returns how many listed objects the first `records` records
// make.
std::size_t objectsOfRecords(const std::vector<const SceneObject*>& read, std::size_t records) {
    std::size_t at = 0;
    for (std::size_t r = 0; r < records && at < read.size(); ++r) at += 1 + read[at]->links.size();
    return at;
}

void checkEveryCut(const MappedFile& file) {
    SCOPED_TRACE("file " + file.name);
    Scene intact;
    const SceneReadReport whole = readBytes(file.bytes, intact);
    ASSERT_EQ(whole.status, ReadStatus::Complete) << whole.error;
    ASSERT_EQ(whole.objectRecordsRead, static_cast<std::int32_t>(file.objectEnd.size()));
    ASSERT_GT(whole.animationRecordsRead, 0);
    ASSERT_EQ(sceneProblem(intact), "");
    const auto intactObjects = objectsAfter(intact, kServiceObjectCount);
    ASSERT_EQ(objectsOfRecords(intactObjects, file.objectEnd.size()), intactObjects.size());

    std::int32_t animationsBefore = 0;
    for (std::size_t cut = 0; cut < file.bytes.size(); ++cut) {
        Scene scene;
        const SceneReadReport report = readBytes(std::span(file.bytes.data(), cut), scene);
        const std::string where = "cut at " + std::to_string(cut) + ": " + report.error;
        if (cut < file.tagBytes) {
            ASSERT_EQ(report.status, ReadStatus::UnknownTag) << where;
            ASSERT_EQ(scene.objectCount(), kServiceObjectCount) << where;
            ASSERT_TRUE(scene.animations().empty()) << where;
            continue;
        }
        ASSERT_EQ(report.status, ReadStatus::Damaged) << where;
        std::size_t named = 0;
        ASSERT_TRUE(offsetNamed(report.error, named)) << where;
        ASSERT_EQ(named, report.errorOffset) << where;
        ASSERT_LE(named, cut) << where;

        // Exactly the object records that end before the cut are kept, each
        // whole, in the order of the intact read.
        const auto complete = static_cast<std::size_t>(
            std::count_if(file.objectEnd.begin(), file.objectEnd.end(), [cut](std::size_t end) { return end <= cut; }));
        ASSERT_EQ(report.objectRecordsRead, static_cast<std::int32_t>(complete)) << where;
        const auto kept = objectsAfter(scene, kServiceObjectCount);
        ASSERT_EQ(kept.size(), objectsOfRecords(intactObjects, complete)) << where;
        for (std::size_t i = 0; i < kept.size(); ++i) {
            ASSERT_EQ(kept[i]->name, intactObjects[i]->name) << where;
            ASSERT_TRUE(samePositions(*kept[i], *intactObjects[i])) << where << " (object " << i << ")";
            ASSERT_EQ(kept[i]->indices, intactObjects[i]->indices) << where << " (object " << i << ")";
            ASSERT_EQ(kept[i]->links.size(), intactObjects[i]->links.size()) << where;
        }

        // Animations: none before the animation count; then the whole records
        // and, of one cut short, what was read whole of it.
        if (cut < file.animationCountAt + 4) {
            ASSERT_EQ(report.animationRecordsRead, 0) << where;
        } else if (!file.animationEnd.empty()) {
            const auto wholeRecords = std::count_if(file.animationEnd.begin(), file.animationEnd.end(),
                                                     [cut](std::size_t end) { return end <= cut; });
            ASSERT_EQ(report.animationRecordsRead, wholeRecords) << where;
        }
        ASSERT_GE(report.animationRecordsRead, animationsBefore) << where;
        ASSERT_LT(report.animationRecordsRead, whole.animationRecordsRead) << where;
        animationsBefore = report.animationRecordsRead;
        const auto wholeAnimations = static_cast<std::size_t>(report.animationRecordsRead);
        ASSERT_GE(scene.animations().size(), wholeAnimations) << where;
        ASSERT_LE(scene.animations().size(), wholeAnimations + 1) << where;
        for (std::size_t a = 0; a < scene.animations().size(); ++a) {
            const Animation& got = *scene.animations()[a];
            const Animation& want = *intact.animations()[a];
            ASSERT_EQ(got.targetName, want.targetName) << where;
            if (a < wholeAnimations) ASSERT_EQ(got.sequences.size(), want.sequences.size()) << where;
            else ASSERT_LT(got.sequences.size(), want.sequences.size()) << where;
            for (std::size_t s = 0; s < got.sequences.size(); ++s) {
                ASSERT_EQ(got.sequences[s]->keyImages.size(), want.sequences[s]->keyImages.size()) << where;
            }
        }
        ASSERT_EQ(sceneProblem(scene), "") << where;
        // A save keeps the parents and children the read shows.
        ASSERT_EQ(treeLinksAfterSaving(scene), treeLinks(scene)) << where;
    }
    // The last cut leaves only the end of the last animation out.
    EXPECT_EQ(animationsBefore, whole.animationRecordsRead - 1);
}

TEST(SceneFileDamage, NewestFileRecordBoundariesAreWhereTheWriterPutsThem) {
    const MappedFile& file = newestFile();
    ASSERT_EQ(file.objectEnd.size(), kNewestObjects);
    ASSERT_EQ(getI32(file.bytes, file.objectCountAt), static_cast<std::int32_t>(kNewestObjects));
    ASSERT_EQ(getI32(file.bytes, file.animationCountAt), static_cast<std::int32_t>(kNewestAnimations));
    // Small enough that every cut under the sanitizers stays quick.
    EXPECT_LT(file.bytes.size(), 20000u);
    Scene scene;
    ASSERT_TRUE(readBytes(file.bytes, scene).complete());
    // Two textures, their bytes once each; the linked copies come back.
    EXPECT_EQ(scene.textures().size(), 2u);
    EXPECT_EQ(scene.objectCount(), kServiceObjectCount + kNewestObjects + 2);
    EXPECT_EQ(scene.animations().size(), kNewestAnimations);
}

TEST(SceneFileDamage, EveryCutOfTheNewestFileKeepsExactlyTheCompleteRecords) {
    checkEveryCut(newestFile());
}

class LegacyFileDamage : public ::testing::TestWithParam<std::string> {};

TEST_P(LegacyFileDamage, EveryCutKeepsExactlyTheCompleteRecords) {
    const MappedFile file = legacyFile(GetParam());
    ASSERT_EQ(file.objectEnd.size(), 3u);
    checkEveryCut(file);
}

INSTANTIATE_TEST_SUITE_P(SceneFileDamage, LegacyFileDamage, ::testing::ValuesIn(legacyVersions()),
                         [](const ::testing::TestParamInfo<std::string>& param) {
                             std::string name = "v" + param.param;
                             std::replace(name.begin(), name.end(), '.', '_');
                             return name;
                         });

TEST(SceneFileDamage, OlderFamilyAnimationFileSurvivesEveryCut) {
    lf::LegacyScene legacy;
    legacy.version = "Morvanexv3 1.0";
    lf::LegacyAnimation ride;
    ride.targetName = "Camera";
    lf::LegacySequence flight;
    flight.name = "vol";
    for (double t : {0.5, 1.75, 3.0}) flight.keyImages.push_back({t, "", {stateOf("Morvanexv3 1.0", 0, "Camera", 1)}});
    ride.sequences = {flight};
    legacy.animations = {ride, ride};
    const Bytes bytes = lf::buildLegacyFile(legacy);
    Scene intact;
    ASSERT_TRUE(readBytes(bytes, intact).complete());
    const std::size_t tagBytes = std::string("Morvanexv3 1.0").size() + 1;
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        Scene scene;
        const SceneReadReport report = readBytes(std::span(bytes.data(), cut), scene);
        ASSERT_EQ(report.status, cut < tagBytes ? ReadStatus::UnknownTag : ReadStatus::Damaged) << cut;
        ASSERT_LE(report.errorOffset, cut);
        ASSERT_EQ(scene.objectCount(), kServiceObjectCount);
        ASSERT_EQ(sceneProblem(scene), "") << cut;
    }
}

// --- Random changes ----------------------------------------------------------------

// One random change: bytes flipped, a count overwritten with a hostile
// value, bytes inserted or bytes deleted; never inside the tag.
void damage(Bytes& bytes, std::size_t tagBytes, std::mt19937& random) {
    if (bytes.size() <= tagBytes + 8) return;
    std::uniform_int_distribution<std::size_t> anywhere(tagBytes, bytes.size() - 5);
    std::uniform_int_distribution<int> byteValue(0, 255);
    switch (std::uniform_int_distribution<int>(0, 4)(random)) {
    case 0: {
        const int flips = std::uniform_int_distribution<int>(1, 8)(random);
        for (int i = 0; i < flips; ++i) bytes[anywhere(random)] ^= static_cast<std::uint8_t>(1 + byteValue(random) % 255);
        break;
    }
    case 1: {
        static constexpr std::int32_t kHostile[] = {0x7FFFFFFF, INT32_MIN, -1, -2, 0x40000000, 0x10000, 1000000, 0};
        const std::int32_t value = kHostile[std::uniform_int_distribution<std::size_t>(0, std::size(kHostile) - 1)(random)];
        putI32(bytes, anywhere(random), value);
        break;
    }
    case 2: {
        const std::size_t at = anywhere(random);
        const std::size_t count = std::uniform_int_distribution<std::size_t>(1, 16)(random);
        Bytes inserted(count);
        for (auto& b : inserted) b = static_cast<std::uint8_t>(byteValue(random));
        bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), inserted.begin(), inserted.end());
        break;
    }
    case 3: {
        const std::size_t at = anywhere(random);
        const std::size_t count = std::min(bytes.size() - at, std::uniform_int_distribution<std::size_t>(1, 64)(random));
        bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.begin() + static_cast<std::ptrdiff_t>(at + count));
        break;
    }
    default: {
        // A small count made larger: the records after it are read askew.
        const std::size_t at = anywhere(random);
        const auto grown = static_cast<std::uint32_t>(getI32(bytes, at)) + std::uniform_int_distribution<std::uint32_t>(1, 3)(random);
        putI32(bytes, at, static_cast<std::int32_t>(grown));
        break;
    }
    }
}

TEST(SceneFileDamage, SeededRandomChangesNeverBreakTheReader) {
    const std::vector<MappedFile> files = everyFile();
    constexpr int kRoundsPerFile = 500;
    int complete = 0;
    int damaged = 0;
    for (std::size_t f = 0; f < files.size(); ++f) {
        const MappedFile& file = files[f];
        std::mt19937 random(static_cast<std::uint32_t>(20240611 + f));
        for (int round = 0; round < kRoundsPerFile; ++round) {
            Bytes bytes = file.bytes;
            const int changes = std::uniform_int_distribution<int>(1, 3)(random);
            for (int i = 0; i < changes; ++i) damage(bytes, file.tagBytes, random);
            const std::string where = file.name + " round " + std::to_string(round);

            Scene scene;
            const SceneReadReport report = readBytes(bytes, scene);
            ASSERT_TRUE(report.status == ReadStatus::Complete || report.status == ReadStatus::Damaged ||
                        report.status == ReadStatus::UnknownTag)
                << where << ": " << report.error;
            ASSERT_LE(report.errorOffset, bytes.size()) << where;
            ASSERT_EQ(sceneProblem(scene), "") << where << ": " << report.error;
            if (report.status == ReadStatus::UnknownTag) continue;
            (report.complete() ? complete : damaged) += 1;

            // What was kept writes as a file that reads completely.
            const Bytes again = writeScene(scene, SceneWriteOptions{});
            Scene second;
            const SceneReadReport back = readBytes(again, second);
            ASSERT_EQ(back.status, ReadStatus::Complete) << where << ": " << back.error;
            ASSERT_EQ(sceneProblem(second), "") << where;
        }
    }
    // The changes reached both outcomes, each often (about half and half).
    const int rounds = static_cast<int>(files.size()) * kRoundsPerFile;
    EXPECT_GT(complete, rounds / 5);
    EXPECT_GT(damaged, rounds / 5);
}

// --- Hostile values at known places ----------------------------------------------------

// One object "boite" of 4 vertices and 6 indices whose texture slot 3 holds
// the embedded bytes of "t.bmp"; offsets of its fields.
struct OneObjectFile {
    Bytes bytes;
    std::size_t objectCountAt = 0;
    std::size_t objectStart = 0;
    std::size_t vertexCountAt = 0;
    std::size_t indexCountAt = 0;
    std::size_t textureLengthAt = 0;
    std::size_t verticesAt = 0;
    std::size_t indicesAt = 0;
    std::size_t animationCountAt = 0;
};

constexpr std::size_t kBoxVertices = 4;
constexpr std::size_t kBoxIndices = 6;
constexpr std::size_t kBoxTextureBytes = 50;

void buildBoxScene(Scene& scene) {
    SceneObject& box = scene.addObject("boite");
    giveMesh(box, kBoxVertices, kBoxIndices / 3, 0.0f);
    SceneTexture& texture = scene.addTexture("t.bmp");
    texture.embedded = true;
    texture.embeddedBytes = imageBytes(3, kBoxTextureBytes);
    attachTexture(box, 2, texture);
}

OneObjectFile boxFile() {
    OneObjectFile f;
    Scene scene;
    buildBoxScene(scene);
    f.bytes = writeScene(scene, SceneWriteOptions{});
    Scene empty;
    f.objectCountAt = writeScene(empty, SceneWriteOptions{}).size() - 8;
    f.objectStart = f.objectCountAt + 4;
    f.vertexCountAt = f.objectStart + std::string("boite").size() + 1;
    f.indexCountAt = f.vertexCountAt + 4;
    f.animationCountAt = f.bytes.size() - 4;
    f.indicesAt = f.animationCountAt - 4 * kBoxIndices;
    f.verticesAt = f.indicesAt - sizeof(MeshVertex) * kBoxVertices;
    f.textureLengthAt = f.verticesAt - kBoxTextureBytes - 4;
    return f;
}

TEST(SceneFileDamage, BoxFileOffsetsAreRight) {
    const OneObjectFile f = boxFile();
    EXPECT_EQ(getI32(f.bytes, f.objectCountAt), 1);
    EXPECT_EQ(getI32(f.bytes, f.vertexCountAt), static_cast<std::int32_t>(kBoxVertices));
    EXPECT_EQ(getI32(f.bytes, f.indexCountAt), static_cast<std::int32_t>(kBoxIndices));
    EXPECT_EQ(getI32(f.bytes, f.textureLengthAt), static_cast<std::int32_t>(kBoxTextureBytes));
    EXPECT_EQ(getI32(f.bytes, f.animationCountAt), 0);
    Scene scene;
    ASSERT_TRUE(readBytes(f.bytes, scene).complete());
    ASSERT_EQ(scene.objectCount(), kServiceObjectCount + 1);
    EXPECT_EQ(scene.textures().size(), 1u);
}

// Reads `bytes` into a fresh scene, expecting damage named `what` at `at` and
// taking no more than a moment.
SceneReadReport expectDamage(const Bytes& bytes, Scene& scene, const std::string& what, std::size_t at) {
    const auto start = std::chrono::steady_clock::now();
    const SceneReadReport report = readBytes(bytes, scene);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(report.status, ReadStatus::Damaged) << report.error;
    EXPECT_NE(report.error.find(what), std::string::npos) << report.error;
    EXPECT_EQ(report.errorOffset, at) << report.error;
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(took).count(), 1000) << "the read took long";
    EXPECT_EQ(sceneProblem(scene), "");
    return report;
}

TEST(SceneFileDamage, HugeVertexAndIndexCountsAreRefusedBeforeAllocating) {
    for (const std::int32_t huge : {0x7FFFFFFF, 0x40000000, 0x00FFFFFF, -1, INT32_MIN}) {
        SCOPED_TRACE(huge);
        {
            OneObjectFile f = boxFile();
            putI32(f.bytes, f.vertexCountAt, huge);
            Scene scene;
            expectDamage(f.bytes, scene, "vertex array", f.verticesAt);
            EXPECT_EQ(scene.objectCount(), kServiceObjectCount);
            EXPECT_TRUE(scene.textures().empty());
        }
        {
            OneObjectFile f = boxFile();
            putI32(f.bytes, f.indexCountAt, huge);
            Scene scene;
            expectDamage(f.bytes, scene, "index array", f.indicesAt);
            EXPECT_EQ(scene.objectCount(), kServiceObjectCount);
            EXPECT_TRUE(scene.textures().empty());
        }
    }
}

TEST(SceneFileDamage, HugeOrNegativeCountsOfObjectsAndAnimationsAreDamage) {
    const OneObjectFile f = boxFile();
    for (const std::int32_t value : {-1, INT32_MIN, 0x7FFFFFFF}) {
        SCOPED_TRACE(value);
        Bytes objects = f.bytes;
        putI32(objects, f.objectCountAt, value);
        Scene a;
        const SceneReadReport report = expectDamage(objects, a, "object count", f.objectCountAt);
        EXPECT_EQ(report.objectRecordsRead, 0);
        EXPECT_EQ(a.objectCount(), kServiceObjectCount);

        Bytes animations = f.bytes;
        putI32(animations, f.animationCountAt, value);
        Scene b;
        expectDamage(animations, b, "animation count", f.animationCountAt);
        // The complete object before the count stays.
        EXPECT_EQ(b.objectCount(), kServiceObjectCount + 1);
    }
}

TEST(SceneFileDamage, BytesAfterTheLastRecordAreDamage) {
    // Whatever a read leaves unread would be lost by the next save.
    const MappedFile& file = newestFile();
    struct Case {
        const char* what;
        Bytes bytes;
        std::size_t unreadFrom;
        std::int32_t objectRecords;
    };
    Bytes zerosBeforeCount = file.bytes;
    zerosBeforeCount.insert(zerosBeforeCount.begin() + static_cast<std::ptrdiff_t>(file.objectCountAt), 8, 0);
    Bytes oneMore = file.bytes;
    oneMore.push_back(0);
    const Case cases[] = {
        // Read as no objects and no animations: the six records follow unread.
        {"eight zeros before the object count", zerosBeforeCount, file.objectCountAt + 8, 0},
        {"one byte after the last animation", oneMore, file.bytes.size(), static_cast<std::int32_t>(kNewestObjects)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Scene scene;
        const SceneReadReport report = expectDamage(c.bytes, scene, "after the last record", c.unreadFrom);
        EXPECT_EQ(report.trailingBytes, c.bytes.size() - c.unreadFrom);
        EXPECT_NE(report.error.find(std::to_string(report.trailingBytes) + " bytes"), std::string::npos) << report.error;
        EXPECT_EQ(report.objectRecordsRead, c.objectRecords);
        EXPECT_TRUE(report.headerRead);
    }
}

TEST(SceneFileDamage, AnimationCountBeyondWhatTheFileCouldHold) {
    const OneObjectFile f = boxFile();
    // One animation whose header is the last thing in the file still fits
    // the count; two cannot.
    Bytes bytes = f.bytes;
    bytes.resize(bytes.size() + kHeaderBytesOfAnAnimation, 0);
    putI32(bytes, f.animationCountAt, 2);
    Scene scene;
    expectDamage(bytes, scene, "animation count", f.animationCountAt);
    EXPECT_EQ(scene.objectCount(), kServiceObjectCount + 1);
    EXPECT_TRUE(scene.animations().empty());
}

TEST(SceneFileDamage, EmbeddedTextureLengthRunningPastTheEnd) {
    for (const std::int32_t length : {0x7FFFFFFF, -5, 1 << 20}) {
        OneObjectFile f = boxFile();
        putI32(f.bytes, f.textureLengthAt, length);
        Scene scene;
        expectDamage(f.bytes, scene, "embedded texture length", f.textureLengthAt);
        EXPECT_EQ(scene.objectCount(), kServiceObjectCount);
        EXPECT_TRUE(scene.textures().empty());
    }
    // Exactly one byte too many for the rest of the file.
    OneObjectFile f = boxFile();
    putI32(f.bytes, f.textureLengthAt, static_cast<std::int32_t>(f.bytes.size() - f.textureLengthAt - 4 + 1));
    Scene scene;
    expectDamage(f.bytes, scene, "embedded texture length", f.textureLengthAt);
}

TEST(SceneFileDamage, TextureOfADiscardedObjectIsNotKept) {
    // The length swallows the vertices: the texture bytes read fine, then the
    // record runs out. The object goes, and its texture must go with it: the
    // texture would otherwise point at the discarded object.
    OneObjectFile f = boxFile();
    putI32(f.bytes, f.textureLengthAt, static_cast<std::int32_t>(kBoxTextureBytes + sizeof(MeshVertex) * 2));
    Scene scene;
    const SceneReadReport report = readBytes(f.bytes, scene);
    EXPECT_EQ(report.status, ReadStatus::Damaged);
    EXPECT_EQ(scene.objectCount(), kServiceObjectCount);
    EXPECT_TRUE(scene.textures().empty());
    EXPECT_EQ(sceneProblem(scene), "");

    // A texture already in the scene keeps its last attached object when the
    // record that referred to it is discarded.
    Scene existing;
    SceneObject& owner = existing.addObject("deja la");
    SceneTexture& cached = existing.addTexture("t.bmp");
    cached.lastAttachedObject = &owner;
    attachTexture(owner, 0, cached);
    readBytes(f.bytes, existing);
    EXPECT_EQ(existing.textures().size(), 1u);
    EXPECT_EQ(cached.lastAttachedObject, &owner);
    EXPECT_EQ(sceneProblem(existing), "");
}

TEST(SceneFileDamage, IndexOutsideTheVerticesIsDamage) {
    for (const std::int32_t index : {static_cast<std::int32_t>(kBoxVertices), 1000, -1, INT32_MIN}) {
        OneObjectFile f = boxFile();
        putI32(f.bytes, f.indicesAt + 4 * 4, index);
        Scene scene;
        const SceneReadReport report = expectDamage(f.bytes, scene, "index", f.animationCountAt);
        EXPECT_NE(report.error.find("outside the vertices"), std::string::npos) << report.error;
        EXPECT_EQ(scene.objectCount(), kServiceObjectCount);
        EXPECT_TRUE(scene.textures().empty());
    }
    // The last vertex is a fine index.
    OneObjectFile f = boxFile();
    putI32(f.bytes, f.indicesAt, static_cast<std::int32_t>(kBoxVertices - 1));
    Scene scene;
    EXPECT_TRUE(readBytes(f.bytes, scene).complete());
}

TEST(SceneFileDamage, TextWithoutItsZeroAtTheEndOfTheFile) {
    // The header's last text runs to the end of the file.
    const Bytes empty = writeNewest(0, 0);
    const std::size_t groundName = empty.size() - 8 - (std::string("sol.jpg").size() + 1);
    ASSERT_EQ(std::string(empty.begin() + static_cast<std::ptrdiff_t>(groundName), empty.end() - 9), "sol.jpg");
    Bytes header(empty.begin(), empty.end() - 9);
    Scene first;
    expectDamage(header, first, "ground image name", groundName);

    // An object name that never ends (long enough for the object count to
    // fit what remains).
    const OneObjectFile f = boxFile();
    Bytes name(f.bytes.begin(), f.bytes.begin() + static_cast<std::ptrdiff_t>(f.objectStart));
    for (int i = 0; i < 20; ++i) {
        for (char c : std::string("sans fin ")) name.push_back(static_cast<std::uint8_t>(c));
    }
    Scene second;
    expectDamage(name, second, "object name", f.objectStart);
    EXPECT_EQ(second.objectCount(), kServiceObjectCount);

    // A name that ends exactly on the last byte is whole: the record then runs out.
    name.push_back(0);
    Scene third;
    expectDamage(name, third, "vertex count", name.size());
}

TEST(SceneFileDamage, LegacyPointCountOver100IsDamage) {
    for (const std::size_t count : {100u, 101u}) {
        lf::LegacyScene legacy = lf::distinctScene("1.6");
        lf::LegacyObject keep = lf::plainObject("garde");
        lf::LegacyObject points = lf::plainObject("points");
        points.legacyPoints.assign(count, std::array<lf::F3, 4>{lf::F3{1, 2, 3}, lf::F3{4, 5, 6}, lf::F3{7, 8, 9}, lf::F3{1, 1, 1}});
        legacy.objects = {keep, points};
        const Bytes bytes = lf::buildLegacyFile(legacy);
        Scene scene;
        const SceneReadReport report = readBytes(bytes, scene);
        EXPECT_EQ(sceneProblem(scene), "");
        if (count == 100) {
            EXPECT_TRUE(report.complete()) << report.error;
            ASSERT_EQ(scene.objectCount(), kServiceObjectCount + 2);
            EXPECT_EQ(scene.objects().back()->legacyPoints.size(), 100u);
        } else {
            EXPECT_EQ(report.status, ReadStatus::Damaged);
            EXPECT_NE(report.error.find("legacy points"), std::string::npos) << report.error;
            EXPECT_EQ(report.objectRecordsRead, 1);
            ASSERT_EQ(scene.objectCount(), kServiceObjectCount + 1);
            EXPECT_EQ(scene.objects().back()->name, "garde");
        }
    }
}

// A newest file of the box scene with `objects` more plain objects, and one
// hand-written animation of target 1 whose child tree is a chain of
// `references`, each the only child of the one before.
Bytes fileWithChain(std::size_t objects, const std::vector<std::int32_t>& references) {
    Scene scene;
    buildBoxScene(scene);
    for (std::size_t i = 0; i < objects; ++i) giveMesh(scene.addObject("maillon " + std::to_string(i)), 3, 1, 0.0f);
    Bytes bytes = writeScene(scene, SceneWriteOptions{});
    bytes.resize(bytes.size() - 4);  // the animation count of 0
    ByteWriter out;
    out.i32(1);
    out.fixedText("boite", 255);
    for (int r = 0; r < 5; ++r) out.fixedText("", 255);
    out.byte(0);
    out.byte(0);
    out.f32(0.0f);
    out.i32(1);  // target: the box
    out.i32(references.empty() ? 0 : 1);
    for (std::size_t level = 0; level < references.size(); ++level) {
        out.i32(references[level]);
        out.i32(level + 1 < references.size() ? 1 : 0);
    }
    out.i32(0);  // no sequences
    const std::vector<std::uint8_t> tail = out.joined();
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    return bytes;
}

std::size_t depthBelow(const SceneObject& top) {
    std::size_t depth = 0;
    for (const SceneObject* o = &top; !o->children.empty(); o = o->children.front()) ++depth;
    return depth;
}

TEST(SceneFileDamage, DeeplyNestedChildTreeDoesNotExhaustTheStack) {
    constexpr std::size_t kLevels = 100000;
    struct Case {
        const char* what;
        std::vector<std::int32_t> references;
        std::size_t depth;
    };
    std::vector<Case> cases;
    cases.push_back({"missing objects", std::vector<std::int32_t>(kLevels, 0), 0});
    std::vector<std::int32_t> twoObjects(kLevels);
    for (std::size_t i = 0; i < kLevels; ++i) twoObjects[i] = i % 2 == 0 ? 2 : 3;
    cases.push_back({"two objects again and again", twoObjects, 2});
    std::vector<std::int32_t> itself(kLevels, 1);
    cases.push_back({"the target itself", itself, 0});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Bytes bytes = fileWithChain(2, c.references);
        Scene scene;
        const auto start = std::chrono::steady_clock::now();
        const SceneReadReport report = readBytes(bytes, scene);
        EXPECT_LT(std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start).count(), 10);
        ASSERT_TRUE(report.complete()) << report.error;
        ASSERT_EQ(sceneProblem(scene), "");
        EXPECT_EQ(depthBelow(*scene.objects()[kServiceObjectCount]), c.depth);
        // What was read writes and reads back.
        const Bytes again = writeScene(scene, SceneWriteOptions{});
        Scene second;
        EXPECT_TRUE(readBytes(again, second).complete());
        // Cut anywhere inside the tree: damage, the objects stay, and so do
        // the links read before the cut.
        Scene cut;
        const SceneReadReport damaged = readBytes(std::span(bytes.data(), bytes.size() - 4 * kLevels), cut);
        EXPECT_EQ(damaged.status, ReadStatus::Damaged);
        EXPECT_EQ(cut.objectCount(), kServiceObjectCount + 3);
        EXPECT_EQ(depthBelow(*cut.objects()[kServiceObjectCount]), c.depth);
        EXPECT_EQ(treeLinksAfterSaving(cut), treeLinks(cut));
        EXPECT_EQ(sceneProblem(cut), "");
    }

    // A long chain of distinct objects: deep, read, written and read again.
    constexpr std::size_t kDistinct = 400;
    std::vector<std::int32_t> chain;
    for (std::size_t i = 0; i < kDistinct; ++i) chain.push_back(static_cast<std::int32_t>(i + 2));
    const Bytes bytes = fileWithChain(kDistinct, chain);
    Scene scene;
    ASSERT_TRUE(readBytes(bytes, scene).complete());
    ASSERT_EQ(sceneProblem(scene), "");
    EXPECT_EQ(depthBelow(*scene.objects()[kServiceObjectCount]), kDistinct);
    Scene second;
    ASSERT_TRUE(readBytes(writeScene(scene, SceneWriteOptions{}), second).complete());
    EXPECT_EQ(depthBelow(*second.objects()[kServiceObjectCount]), kDistinct);
}

// An older file names its children, and a tree may name the same objects
// again and again; whatever is done once per object of the tree (binding the
// vertices to the skeleton) must not be done once per mention.
TEST(SceneFileDamage, TreeNamingTheSameBigObjectsOverAndOverStaysQuick) {
    constexpr std::size_t kVertices = 20000;
    constexpr std::size_t kLevels = 100000;
    lf::LegacyScene legacy;
    legacy.version = "1.6";
    legacy.objects = {lf::plainObject("a"), lf::plainObject("b"), lf::plainObject("c")};
    for (std::size_t k = 1; k < 3; ++k) legacy.objects[k].vertices.resize(kVertices);
    Bytes bytes = lf::buildLegacyFile(legacy);
    bytes.resize(bytes.size() - 4);  // the animation count of 0
    lf::LegacyByteWriter out;
    out.i32(1);
    out.fixedText("a", 255);
    for (int r = 0; r < 5; ++r) out.fixedText("", 255);
    out.u8(0);
    out.u8(0);
    out.i32(1);  // a > b > c > b > c ...
    for (std::size_t level = 0; level < kLevels; ++level) {
        out.cstr(level % 2 == 0 ? "b" : "c");
        out.i32(level + 1 < kLevels ? 1 : 0);
    }
    out.i32(0);  // no sequences
    bytes.insert(bytes.end(), out.data().begin(), out.data().end());

    Scene scene;
    const auto start = std::chrono::steady_clock::now();
    const SceneReadReport report = readBytes(bytes, scene);
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    ASSERT_TRUE(report.complete()) << report.error;
    EXPECT_LT(took.count(), 3000) << "the read took " << took.count() << " ms";
    ASSERT_EQ(sceneProblem(scene), "");
    const auto objects = objectsAfter(scene, kServiceObjectCount);
    ASSERT_EQ(objects.size(), 3u);
    // The tree is a > b > c, and the vertices follow their bones.
    EXPECT_EQ(objects[1]->parent, objects[0]);
    EXPECT_EQ(objects[2]->parent, objects[1]);
    for (const SceneObject* o : {objects[1], objects[2]}) {
        ASSERT_EQ(o->vertices.size(), kVertices);
        EXPECT_EQ(o->vertices.front().blendIndices[0], o->boneNumber);
        EXPECT_EQ(o->vertices.back().blendIndices[0], o->boneNumber);
    }
}

// Animations of one file each give a child tree; an object a later tree
// takes leaves the tree it was in, so that no list of children ever loops.
TEST(SceneFileDamage, ChildTakenByALaterTreeLeavesItsFormerParent) {
    Scene built;
    buildBoxScene(built);  // 1: boite
    for (const char* name : {"b", "c", "d"}) giveMesh(built.addObject(name), 3, 1, 0.0f);  // 2, 3, 4
    Bytes bytes = writeScene(built, SceneWriteOptions{});
    bytes.resize(bytes.size() - 4);
    ByteWriter out;
    out.i32(3);
    // Each animation: target, then the tree as (reference, child count) pairs.
    const auto animation = [&out](const char* name, std::int32_t target, std::vector<std::int32_t> tree) {
        out.fixedText(name, 255);
        for (int r = 0; r < 5; ++r) out.fixedText("", 255);
        out.byte(0);
        out.byte(0);
        out.f32(0.0f);
        out.i32(target);
        for (std::int32_t word : tree) out.i32(word);
        out.i32(0);  // no sequences
    };
    animation("boite", 1, {1, 2, 1, 3, 0});  // boite > b > c
    animation("d", 4, {1, 2, 0});            // d > b: b leaves boite
    animation("c", 3, {1, 1, 0});            // c > boite: boite is no longer above c
    const std::vector<std::uint8_t> tail = out.joined();
    bytes.insert(bytes.end(), tail.begin(), tail.end());

    Scene scene;
    const SceneReadReport report = readBytes(bytes, scene);
    ASSERT_TRUE(report.complete()) << report.error;
    ASSERT_EQ(sceneProblem(scene), "");
    const auto objects = objectsAfter(scene, kServiceObjectCount);
    ASSERT_EQ(objects.size(), 4u);
    const SceneObject& box = *objects[0];
    const SceneObject& b = *objects[1];
    const SceneObject& c = *objects[2];
    const SceneObject& d = *objects[3];
    EXPECT_EQ(b.parent, &d);
    EXPECT_EQ(c.parent, &b);
    EXPECT_EQ(box.parent, &c);
    EXPECT_TRUE(box.children.empty());
    EXPECT_EQ(d.children, std::vector<SceneObject*>{const_cast<SceneObject*>(&b)});
    // Writing walks the trees: it must end.
    Scene second;
    EXPECT_TRUE(readBytes(writeScene(scene, SceneWriteOptions{}), second).complete());
    EXPECT_EQ(sceneProblem(second), "");
}

TEST(SceneFileDamage, UnknownTagAddsNothing) {
    Bytes notTerminated(100, 'M');
    Bytes otherVersion;
    for (char ch : std::string("Morvanexv4 9.9")) otherVersion.push_back(static_cast<std::uint8_t>(ch));
    otherVersion.push_back(0);
    otherVersion.resize(otherVersion.size() + 400, 0);
    Bytes afterLongTag = newestFile().bytes;
    afterLongTag.insert(afterLongTag.begin(), 70, 'x');
    for (const Bytes* bytes : {&notTerminated, &otherVersion, &afterLongTag}) {
        Scene scene;
        SceneObject& kept = scene.addObject("deja la");
        scene.backgroundColour = {0.5f, 0.5f, 0.5f, 1.0f};
        const SceneReadReport report = readBytes(*bytes, scene);
        EXPECT_EQ(report.status, ReadStatus::UnknownTag);
        EXPECT_EQ(scene.objectCount(), kServiceObjectCount + 1);
        EXPECT_EQ(scene.objects().back().get(), &kept);
        EXPECT_TRUE(scene.animations().empty());
        EXPECT_TRUE(scene.textures().empty());
        EXPECT_FLOAT_EQ(scene.backgroundColour.x, 0.5f);
        EXPECT_EQ(report.objectRecordsRead, 0);
    }
    Scene empty;
    EXPECT_EQ(readBytes({}, empty).status, ReadStatus::UnknownTag);
}

TEST(SceneFileDamage, ObjectsAlreadyInTheSceneAreNeverLost) {
    const MappedFile& file = newestFile();
    std::mt19937 random(777);
    for (std::size_t cut = 0; cut <= file.bytes.size(); cut += 37) {
        for (const bool changed : {false, true}) {
            Bytes bytes(file.bytes.begin(), file.bytes.begin() + static_cast<std::ptrdiff_t>(cut));
            if (changed) damage(bytes, file.tagBytes, random);
            Scene scene;
            SceneObject& mine = scene.addObject("mien");
            giveMesh(mine, 5, 2, 1.0f);
            SceneObject& other = scene.addObject("corps");  // same name as an object of the file
            giveMesh(other, 3, 1, 2.0f);
            mine.addChild(other);
            Animation& own = scene.addAnimation("mien");
            own.target = &mine;
            mine.animation = other.animation = &own;
            own.addSequence("a moi").addKeyImage(1.0).addState(&other);
            SceneTexture& texture = scene.addTexture("peau.bmp");  // same name as a texture of the file
            attachTexture(mine, 0, texture);
            texture.lastAttachedObject = &mine;

            const SceneReadReport report = readBytes(bytes, scene);
            const std::string where = "cut " + std::to_string(cut) + (changed ? " changed" : "") + ": " + report.error;
            ASSERT_GE(scene.objectCount(), kServiceObjectCount + 2) << where;
            ASSERT_EQ(scene.objects()[kServiceObjectCount].get(), &mine) << where;
            ASSERT_EQ(scene.objects()[kServiceObjectCount + 1].get(), &other) << where;
            ASSERT_EQ(mine.vertices.size(), 5u) << where;
            ASSERT_EQ(other.vertices.size(), 3u) << where;
            ASSERT_EQ(other.parent, &mine) << where;
            ASSERT_EQ(mine.textures[0], &texture) << where;
            ASSERT_FALSE(scene.animations().empty()) << where;
            ASSERT_EQ(scene.animations().front().get(), &own) << where;
            ASSERT_EQ(own.sequences.size(), 1u) << where;
            ASSERT_EQ(scene.textures().front().get(), &texture) << where;
            ASSERT_EQ(sceneProblem(scene), "") << where;
        }
    }
}

TEST(SceneFileDamage, KeepingTheHeaderReadsTheSameRecords) {
    const MappedFile& file = newestFile();
    for (std::size_t cut = file.tagBytes; cut < file.bytes.size(); cut += 53) {
        Scene plain;
        const SceneReadReport a = readBytes(std::span(file.bytes.data(), cut), plain);
        Scene kept;
        kept.backgroundColour = {0.25f, 0.0f, 0.0f, 1.0f};
        SceneReadOptions options;
        options.keepSceneHeader = true;
        const SceneReadReport b = readScene(std::span(file.bytes.data(), cut), kept, options);
        ASSERT_EQ(a.status, b.status) << cut;
        ASSERT_EQ(a.error, b.error) << cut;
        ASSERT_EQ(a.objectRecordsRead, b.objectRecordsRead) << cut;
        ASSERT_EQ(plain.objectCount(), kept.objectCount()) << cut;
        ASSERT_FLOAT_EQ(kept.backgroundColour.x, 0.25f) << cut;
        ASSERT_EQ(sceneProblem(kept), "") << cut;
    }
}

// --- Files on disk ----------------------------------------------------------------------

class DamagedFileOnDisk : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("morvanex_damage_" + std::to_string(::getpid()));
        fs::create_directories(folder_);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    fs::path put(const std::string& name, std::span<const std::uint8_t> bytes) {
        const fs::path path = folder_ / name;
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path;
    }
    fs::path folder_;
};

TEST_F(DamagedFileOnDisk, TruncatedFileReadsLikeTheTruncatedBytes) {
    const MappedFile& file = newestFile();
    std::vector<std::size_t> cuts{0, 1, file.tagBytes - 1, file.tagBytes, file.objectCountAt + 2};
    for (std::size_t end : file.objectEnd) {
        cuts.push_back(end - 1);
        cuts.push_back(end);
    }
    for (std::size_t end : file.animationEnd) cuts.push_back(end - 1);
    for (std::size_t cut = 0; cut < file.bytes.size(); cut += 211) cuts.push_back(cut);
    for (std::size_t cut : cuts) {
        const std::span<const std::uint8_t> bytes(file.bytes.data(), cut);
        const fs::path path = put("coupe.mrx", bytes);
        Scene fromDisk;
        const SceneReadReport disk = readSceneFile(path, fromDisk, SceneReadOptions{});
        Scene fromMemory;
        const SceneReadReport memory = readBytes(bytes, fromMemory);
        ASSERT_EQ(disk.status, memory.status) << cut;
        ASSERT_EQ(disk.error, memory.error) << cut;
        ASSERT_EQ(disk.errorOffset, memory.errorOffset) << cut;
        ASSERT_EQ(disk.objectRecordsRead, memory.objectRecordsRead) << cut;
        ASSERT_EQ(disk.animationRecordsRead, memory.animationRecordsRead) << cut;
        ASSERT_EQ(fromDisk.objectCount(), fromMemory.objectCount()) << cut;
        ASSERT_EQ(fromDisk.textures().size(), fromMemory.textures().size()) << cut;
        ASSERT_EQ(sceneProblem(fromDisk), "") << cut;
    }
}

TEST_F(DamagedFileOnDisk, MissingFileIsUnreadableAndLeavesTheSceneAlone) {
    Scene scene;
    scene.addObject("deja la");
    const SceneReadReport report = readSceneFile(folder_ / "absent.mrx", scene, SceneReadOptions{});
    EXPECT_EQ(report.status, ReadStatus::Unreadable);
    EXPECT_EQ(scene.objectCount(), kServiceObjectCount + 1);
    // A folder is no scene file either.
    const SceneReadReport folder = readSceneFile(folder_, scene, SceneReadOptions{});
    EXPECT_NE(folder.status, ReadStatus::Complete);
    EXPECT_EQ(scene.objectCount(), kServiceObjectCount + 1);
}

}  // namespace
}  // namespace morvanex
