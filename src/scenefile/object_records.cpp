// Object records of scene files: the record itself, then its three texture
// references, its vertices, its indices and, in old files, the legacy block.
// The reader and the writer below follow the same field order; every field
// read only since some version is written always.
#include <algorithm>
#include <bit>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <system_error>

#include "base/text_encoding.h"
#include "scene/scene.h"
#include "scenefile/record_io.h"

namespace morvanex {
namespace {

constexpr std::size_t kCurvePointBytes = 36;
constexpr std::size_t kTimedPointBytes = 40;
constexpr std::size_t kOldVertexBytes = 44;
constexpr std::size_t kLinkBytes = 52;
constexpr std::size_t kOldLinkBytes = 40;
constexpr std::size_t kLegacyRecordBytes = 80;
constexpr std::size_t kLegacyPointBytes = 48;
constexpr std::size_t kLegacyEntryBytes = 16 + 7;  // at least seven empty texts
constexpr std::size_t kExtensionTailWords = 54;    // fields 83 to 88
constexpr std::size_t kReservedWords = 40;
constexpr const char* kEmptyName = " ";
constexpr std::size_t kTimedPathDefaultStep = 5;   // path value 6

// --- Reading ----------------------------------------------------------------

CurvePoint readCurvePoint(ByteReader& in, bool timed, std::int32_t defaultStep) {
    CurvePoint p;
    p.point = in.vec3("curve point");
    p.handle1 = in.vec3("curve point handle");
    p.handle2 = in.vec3("curve point handle");
    p.step = timed ? in.i32("timed point step") : defaultStep;
    p.resetAnimated();
    return p;
}

// A counted list of curve points; timed points carry their step since
// "1.15a", before that they take the path's default step.
std::vector<CurvePoint> readCurve(RecordReadContext& c, bool timed, std::int32_t defaultStep, const char* what) {
    const bool stepStored = timed && c.version.since("1.15a");
    const std::size_t size = stepStored ? kTimedPointBytes : kCurvePointBytes;
    const std::int32_t n = c.in.count(size, what);
    std::vector<CurvePoint> points;
    points.reserve(static_cast<std::size_t>(n));
    for (std::int32_t i = 0; i < n && c.in.ok(); ++i) points.push_back(readCurvePoint(c.in, stepStored, defaultStep));
    return points;
}

// The third timed path came after the step was stored: always 40 bytes.
std::vector<CurvePoint> readTimedCurve(ByteReader& in, const char* what) {
    const std::int32_t n = in.count(kTimedPointBytes, what);
    std::vector<CurvePoint> points;
    points.reserve(static_cast<std::size_t>(n));
    for (std::int32_t i = 0; i < n && in.ok(); ++i) points.push_back(readCurvePoint(in, true, 0));
    return points;
}

SceneLight readLight(ByteReader& in) {
    SceneLight light;
    light.intensity = in.f32("light intensity");
    light.positionOrColour = in.vec4("light position");
    light.secondValue = in.f32("light value");
    return light;
}

void readMeshAndTransform(RecordReadContext& c, SceneObject& o, std::int32_t& vertexCount, std::int32_t& indexCount) {
    ByteReader& in = c.in;
    vertexCount = in.i32("vertex count");
    indexCount = in.i32("index count");
    o.meshValueA = in.i32("mesh value A");
    o.meshValueB = in.i32("mesh value B");
    o.triangleCount = in.i32("triangle count");
    o.meshFlagA = in.bool32("mesh flag A");
    o.meshFlagB = in.bool32("mesh flag B");
    o.baseMatrix = in.mat4("local matrix");
    o.pivot = in.vec3("pivot");
    o.position = in.vec3("position");
    o.positionOffset = in.vec3("position offset");
    o.rotationAxis = in.vec3("rotation axis");
    o.rotationAngle = in.f32("rotation angle");
    o.scale = in.vec3("scale");
    o.opacity = in.f32("opacity");
}

void readMaterial(RecordReadContext& c, SceneObject& o) {
    ByteReader& in = c.in;
    for (Vec4& colour : o.materialColours) colour = in.vec4("material colour");
    // Switches 1 and 3 to 10; switch 2 comes later in the record.
    o.renderSwitches[0] = in.bool32("render switch");
    for (std::size_t s = 2; s < 10; ++s) o.renderSwitches[s] = in.bool32("render switch");
    for (std::size_t v = 0; v < 3; ++v) o.renderValues[v] = in.f32("render value");
    if (c.version.since("0.9")) o.renderValues[3] = in.f32("render value 4");
    for (std::size_t v = 4; v < 10; ++v) o.renderValues[v] = in.f32("render value");
}

void readObjectLights(RecordReadContext& c, SceneObject& o) {
    ByteReader& in = c.in;
    if (c.version.since("0.2")) {
        o.objectLightFlag = in.bool32("object light flag");
        o.objectLightFlagInverse = !o.objectLightFlag;
        o.objectLightCount = in.i32("object light count");
        for (SceneLight& light : o.lights) light = readLight(in);
        o.renderSwitches[1] = in.bool32("render switch 2");
        o.lightFlagB = in.bool32("light flag B");
        o.lightMode = in.i32("light mode");
    }
    if (c.version.since("0.5")) {
        for (LightParameterBlock& block : o.lightParameters) {
            for (float& v : block.values) v = in.f32("light parameters");
            for (std::int32_t& v : block.integers) v = in.i32("light parameters");
        }
    } else {
        // Older files kept these values among the render values 5 to 8.
        for (LightParameterBlock& block : o.lightParameters) {
            std::copy(o.renderValues.begin() + 4, o.renderValues.begin() + 8, block.values.begin());
        }
    }
}

void readLinks(RecordReadContext& c, SceneObject& o) {
    if (!c.version.since("0.5")) return;
    ByteReader& in = c.in;
    const bool pivotStored = c.version.since("0.7");
    const std::int32_t n = in.count(pivotStored ? kLinkBytes : kOldLinkBytes, "link count");
    if (n != 0) o.linkGroupName = in.cstr("link group name");
    for (std::int32_t i = 0; i < n && in.ok(); ++i) {
        ObjectLink link;
        link.position = in.vec3("link position");
        link.rotationAxis = in.vec3("link rotation axis");
        link.rotationAngle = in.f32("link rotation angle");
        link.scale = in.vec3("link scale");
        // Before the pivot was stored a linked copy keeps its owner's.
        link.pivot = pivotStored ? in.vec3("link pivot") : o.pivot;
        o.links.push_back(link);
    }
}

void readProfileCurves(RecordReadContext& c, SceneObject& o) {
    static constexpr std::array<VersionName, kProfileCurves> kSince{"1.0", "1.7", "1.16.1"};
    for (std::size_t k = 0; k < kProfileCurves; ++k) {
        if (!c.version.since(kSince[k])) continue;
        o.profileCurves[k].used = c.in.bool32("profile curve flag");
        o.profileCurves[k].points = readCurve(c, false, 0, "profile curve");
    }
}

void readFlags(RecordReadContext& c, SceneObject& o) {
    ByteReader& in = c.in;
    if (c.version.since("1.1")) {
        o.flagE = in.bool32("object flag E");
        if (c.version.is("1.2")) in.skip(4, "object flag of 1.2 files");
    }
    if (c.version.since("1.6")) {
        o.flagF1 = in.bool32("object flag F1");
        o.flagF2 = in.bool32("object flag F2");
    }
    if (c.version.since("1.9")) o.flagG = in.bool32("object flag G");
    if (c.version.since("1.11")) {
        o.valueH1 = in.f32("object value H1");
        o.valueH2 = in.f32("object value H2");
        o.flagI1 = in.bool32("object flag I1");
        o.flagI2 = in.bool32("object flag I2");
    }
}

void readTimedPathBlock(RecordReadContext& c, SceneObject& o) {
    if (!c.version.since("1.12")) return;
    ByteReader& in = c.in;
    TimedPathBlock& block = o.timedPath;
    block.present = in.i32("timed path block flag") != 0;
    if (!block.present) return;
    for (std::int32_t& v : block.values) v = in.i32("timed path values");
    const std::int32_t step = block.values[kTimedPathDefaultStep];
    block.paths[0] = readCurve(c, true, step, "timed path A");
    block.paths[1] = readCurve(c, true, step, "timed path B");
    block.paths[2] = readCurve(c, true, step, "timed path C");
    if (c.version.since("1.13")) {
        block.paths[3] = readCurve(c, true, step, "timed path D");
        block.pathDClosed = in.bool32("timed path D closed");
    }
}

void readSweepCurveBlock(RecordReadContext& c, SceneObject& o) {
    if (!c.version.since("1.14")) return;
    ByteReader& in = c.in;
    SweepCurveBlock& block = o.sweepCurves;
    block.present = in.i32("curve block flag") != 0;
    if (!block.present) return;
    block.values[0] = in.i32("curve block value 1");
    if (c.version.since("1.16.4")) block.values[1] = in.i32("curve block value 2");
    for (std::size_t v = 2; v < 7; ++v) block.values[v] = in.i32("curve block values");
    block.curves[0] = readCurve(c, false, 0, "block curve 1");
    if (c.version.since("1.16.4")) {
        block.curves[1] = readCurve(c, false, 0, "block curve 2");
        block.curves[2] = readCurve(c, false, 0, "block curve 3");
    }
    block.curves[3] = readCurve(c, false, 0, "block curve 4");
    if (block.curves[0].empty()) block.present = false;
}

void readStyleAndSound(RecordReadContext& c, SceneObject& o) {
    if (!c.version.since("1.16")) return;
    ByteReader& in = c.in;
    o.styleFlag = in.bool32("style flag");
    for (float& v : o.styleValues) v = in.f32("style values");
    o.styleColour = in.vec4("style colour");
    o.styleMode = in.i32("style mode");
    o.styleScale = in.f32("style scale");
    std::string sound = in.cstr("sound file name");
    // Names of two characters or fewer are placeholders, not files.
    o.soundFileName = sound.size() > 2 ? std::move(sound) : std::string();
    o.soundFlagA = in.bool32("sound flag A");
    o.soundEnabled = in.bool32("sound enabled");
    o.soundValue = in.f32("sound value");
    o.soundFlagB = in.bool32("sound flag B");
    o.soundVolume = in.f32("sound volume");
    o.soundFlagC = in.bool32("sound flag C");
    o.soundLoop = in.bool32("sound loop");
}

void readLateFields(RecordReadContext& c, SceneObject& o) {
    ByteReader& in = c.in;
    if (c.version.since("1.16.3")) {
        o.flagS = in.bool32("object flag S");
        o.valueS = in.f32("object value S");
        o.valueT = in.i32("object value T");
    }
    if (c.version.since("1.16.5")) {
        o.boneNumberFlag = in.bool32("bone-number flag");
        o.boneNumber = in.i32("bone number");
    }
    if (!c.version.since("1.16.7")) return;
    o.flagV = in.bool32("object flag V");
    o.valueV = in.f32("object value V");
    o.meshFlagC = in.bool32("mesh flag C");
    o.archFlag = in.bool32("arch flag");
    o.thirdPath.used = in.bool32("third path flag");
    if (o.thirdPath.used) o.thirdPath.points = readTimedCurve(in, "third path");
    o.flagW = in.bool32("object flag W");
    o.valueW = in.f32("object value W");
    o.valueX = in.f32("object value X");
    if (o.valueX == 0.0f) o.valueX = 1.2f;
    o.extensionBlockMarker = in.i32("extension block marker");
    if (o.extensionBlockMarker == 0) {
        in.skip(4 + 55 * 4, "extension block");
        o.extensionBlockMarker = 1;
        return;
    }
    o.extensionValuesA[0] = in.f32("extension values");
    o.extensionValuesA[1] = in.f32("extension values");
    o.extensionFlagA = in.bool32("extension flags");
    o.extensionCopyFile = in.bool32("extension flags");
    o.extensionFileName = in.cstr("extension file name");
    o.extensionFlagC = in.bool32("extension flag C");
    o.extensionValueY = in.i32("extension value Y");
    o.extensionMode = in.i32("extension mode");
    if ((o.extensionMode & 0xFF) != 1) {
        in.skip(kExtensionTailWords * 4, "extension values");
        return;
    }
    o.extensionValueZ = in.f32("extension value Z");
    o.extensionDirection = in.vec3("extension direction");
    o.extensionColour1 = in.vec4("extension colour 1");
    o.extensionValuesB[0] = in.f32("extension values");
    o.extensionValuesB[1] = in.f32("extension values");
    o.extensionColour2 = in.vec4("extension colour 2");
    in.skip(kReservedWords * 4, "reserved extension words");
}

// Only the name's last component is looked for, so that a name such as
// "../../secret" or "/etc/x" cannot reach outside the two folders.
std::filesystem::path findTextureFile(const SceneReadOptions& options, const std::string& name) {
    const std::string_view leaf = textureFileLeaf(name);
    if (leaf.empty()) return {};
    std::error_code error;
    for (const auto& folder : {options.textureFolder, options.sceneFolder}) {
        if (folder.empty()) continue;
        const auto candidate = folder / pathFromText(leaf);
        if (std::filesystem::is_regular_file(candidate, error)) return candidate;
    }
    return {};
}

// One texture reference as read: an empty slot, or a name with, when
// embedded, the image file's bytes.
struct TextureReference {
    bool present = false;
    std::string name;
    bool withBytes = false;  // embedded: the bytes (maybe none) are in the file
    std::span<const std::uint8_t> bytes;
    std::size_t bytesAt = 0;
};

TextureReference readTextureReference(RecordReadContext& c) {
    ByteReader& in = c.in;
    TextureReference reference;
    std::string name = in.cstr("texture name");
    if (!in.ok() || name == kEmptyName) return reference;
    bool embedded = false;
    if (c.version.since("1.3")) embedded = in.bool32("texture embedded flag");
    reference.withBytes = c.embedTextures || embedded;
    if (reference.withBytes) {
        const std::int32_t length = in.count(1, "embedded texture length");
        reference.bytesAt = in.offset();
        reference.bytes = in.bytes(static_cast<std::size_t>(length), "embedded texture bytes");
    }
    if (!in.ok()) return reference;
    reference.present = true;
    reference.name = std::move(name);
    return reference;
}

// Puts a texture reference of a whole record in its slot; only then does
// the scene's texture cache change, so that a discarded record leaves no
// texture behind and none pointing at it. A texture already in the cache is
// shared.
void attachTextureReference(RecordReadContext& c, SceneObject& o, std::size_t slot, const TextureReference& reference) {
    if (!reference.present) return;
    const std::string& name = reference.name;
    const std::span<const std::uint8_t> bytes = reference.bytes;
    const std::size_t bytesAt = reference.bytesAt;
    SceneTexture* texture = c.scene.findTexture(name);
    if (texture == nullptr && !bytes.empty()) {
        texture = &c.scene.addTexture(name);
        texture->embedded = true;
        texture->embeddedBytes.assign(bytes.begin(), bytes.end());
        texture->embeddedOffset = bytesAt;
        texture->embeddedLength = static_cast<std::uint32_t>(bytes.size());
        texture->backupPath = c.options.backupPath;
    } else if (texture == nullptr && !reference.withBytes) {
        texture = &c.scene.addTexture(name);
        const auto file = findTextureFile(c.options, name);
        if (file.empty()) {
            // Keep the name so that saving does not lose the reference; the
            // slot stays disabled until the file turns up.
            texture->missing = true;
            c.missingTextures.push_back(name);
        } else {
            texture->fullPath = textFromPath(file);
        }
    }
    // A reference without bytes to a texture not seen before leaves its slot empty.
    if (texture == nullptr) return;
    o.textures[slot] = texture;
    texture->lastAttachedObject = &o;
    if (texture->missing) return;
    if (slot == 0 && o.normalMapEnabled()) texture->normalMap = true;
    o.textureEnabled[slot] = true;
}

MeshVertex vertexFromOldLayout(ByteReader& in) {
    MeshVertex v;
    v.position = in.vec3("vertex position");
    const float w = in.f32("vertex weight");
    v.blendWeights = {1.0f - w, 0.0f, 0.0f, 0.0f};
    v.blendIndices = {0, -1, -1, -1};
    v.normal = in.vec3("vertex normal");
    v.texcoord.x = in.f32("vertex texcoord");
    v.texcoord.y = in.f32("vertex texcoord");
    v.texcoord2.x = in.f32("vertex texcoord");
    v.texcoord2.y = in.f32("vertex texcoord");
    return v;
}

void readVertices(RecordReadContext& c, SceneObject& o, std::int32_t declared) {
    ByteReader& in = c.in;
    const bool fullLayout = c.version.since("1.16.5");
    const std::size_t size = fullLayout ? sizeof(MeshVertex) : kOldVertexBytes;
    if (declared < 0 || static_cast<std::uint64_t>(declared) > in.remaining() / size) {
        in.fail("vertex array (count does not fit the file)");
        return;
    }
    const auto n = static_cast<std::size_t>(declared);
    if (fullLayout && std::endian::native == std::endian::little) {
        // The file holds the vertices exactly as memory does: each is moved
        // once, its second texture coordinates rebuilt on the way.
        const auto bytes = in.bytes(n * size, "vertex array");
        if (!in.ok()) return;
        o.vertices.reserve(n);
        for (std::size_t i = 0; i < n; ++i) {
            MeshVertex v;
            std::memcpy(&v, bytes.data() + i * size, size);
            v.texcoord2 = v.texcoord;
            o.vertices.push_back(v);
        }
        return;
    } else if (fullLayout) {
        o.vertices.resize(n);
        for (MeshVertex& v : o.vertices) {
            v.position = in.vec3("vertex");
            for (float& w : v.blendWeights) w = in.f32("vertex");
            for (std::int32_t& b : v.blendIndices) b = in.i32("vertex");
            v.normal = in.vec3("vertex");
            v.texcoord = {in.f32("vertex"), in.f32("vertex")};
            v.texcoord2 = {in.f32("vertex"), in.f32("vertex")};
        }
    } else {
        o.vertices.reserve(n);
        for (std::size_t i = 0; i < n && in.ok(); ++i) o.vertices.push_back(vertexFromOldLayout(in));
    }
    // The second texture coordinates are always rebuilt from the first.
    for (MeshVertex& v : o.vertices) v.texcoord2 = v.texcoord;
}

void readIndices(RecordReadContext& c, SceneObject& o, std::int32_t declared) {
    ByteReader& in = c.in;
    if (declared < 0 || static_cast<std::uint64_t>(declared) > in.remaining() / 4) {
        in.fail("index array (count does not fit the file)");
        return;
    }
    const auto n = static_cast<std::size_t>(declared);
    const auto bytes = in.bytes(n * 4, "index array");
    if (!in.ok()) return;
    o.indices.resize(n);
    if constexpr (std::endian::native == std::endian::little) {
        if (n != 0) std::memcpy(o.indices.data(), bytes.data(), bytes.size());
    } else {
        ByteReader each(bytes);
        for (std::int32_t& index : o.indices) index = each.i32("index");
    }
    // An index past the vertices would send every later user of the mesh
    // out of bounds: such a mesh is damaged.
    const auto vertexCount = static_cast<std::int64_t>(o.vertices.size());
    const bool outside = std::any_of(o.indices.begin(), o.indices.end(),
                                     [vertexCount](std::int32_t i) { return i < 0 || i >= vertexCount; });
    if (outside) in.fail("index array (an index lies outside the vertices)");
}

void readLegacyBlock(RecordReadContext& c, SceneObject& o) {
    if (!c.version.before("1.7") || !c.version.known()) return;
    ByteReader& in = c.in;
    const std::int32_t records = in.count(kLegacyRecordBytes, "legacy records");
    for (std::int32_t i = 0; i < records && in.ok(); ++i) {
        std::array<std::uint8_t, kLegacyRecordBytes> record{};
        const auto bytes = in.bytes(kLegacyRecordBytes, "legacy record");
        if (in.ok()) std::copy(bytes.begin(), bytes.end(), record.begin());
        o.legacyRecords.push_back(record);
    }
    const std::int32_t points = in.count(kLegacyPointBytes, "legacy points");
    if (static_cast<std::size_t>(points) > kLegacyArrayCapacity) {
        in.fail("legacy points (more than 100)");
        return;
    }
    for (std::int32_t i = 0; i < points && in.ok(); ++i) {
        std::array<Vec3, 4> entry;
        for (Vec3& p : entry) p = in.vec3("legacy point");
        o.legacyPoints.push_back(entry);
    }
    const std::int32_t names = in.count(1, "legacy names");
    for (std::int32_t i = 0; i < names && in.ok(); ++i) o.legacyNames.push_back(in.cstr("legacy name"));
    const std::int32_t entries = in.count(kLegacyEntryBytes, "legacy entries");
    for (std::int32_t i = 0; i < entries && in.ok(); ++i) {
        LegacyEntry entry;
        const auto header = in.bytes(entry.header.size(), "legacy entry");
        if (in.ok()) std::copy(header.begin(), header.end(), entry.header.begin());
        for (std::string& text : entry.texts) text = in.cstr("legacy entry text");
        o.legacyEntries.push_back(std::move(entry));
    }
}

// Old curves lay in another frame of reference.
void moveOldCurvesToPresentFrame(const FileVersion& version, SceneObject& o) {
    auto shift = [](std::vector<CurvePoint>& points, auto change) {
        for (CurvePoint& p : points) {
            for (Vec3* v : {&p.point, &p.handle1, &p.handle2, &p.animatedPoint, &p.animatedHandle1, &p.animatedHandle2}) change(*v);
        }
    };
    if (version.between("1.0", "1.16") && o.profileCurves[0].used) {
        shift(o.profileCurves[0].points, [](Vec3& v) { v.y -= 10.0f; });
    }
    if (version.between("1.7", "1.16") && o.profileCurves[1].used) {
        const float minX = o.boundsMin.x;
        shift(o.profileCurves[1].points, [minX](Vec3& v) {
            v.x = minX;
            v.y -= 10.0f;
        });
    }
}

void applyDefaultProfileCurves(SceneObject&) {
    // An unused profile curve gets the object's default curve, which comes
    // with the curve deformers.
}

// A linked copy: the owner's mesh and look, placed by the link.
std::unique_ptr<SceneObject> makeLinkedObject(const SceneObject& owner, const ObjectLink& link) {
    auto copy = std::make_unique<SceneObject>(owner.name);
    copy->vertices = owner.vertices;
    copy->indices = owner.indices;
    copy->triangleCount = owner.triangleCount;
    copy->meshValueA = owner.meshValueA;
    copy->meshValueB = owner.meshValueB;
    copy->boundsMin = owner.boundsMin;
    copy->boundsMax = owner.boundsMax;
    copy->boundsCentre = owner.boundsCentre;
    copy->faceSelected.assign(owner.faceSelected.size(), 0);
    copy->baseMatrix = owner.baseMatrix;
    copy->materialColours = owner.materialColours;
    copy->renderSwitches = owner.renderSwitches;
    copy->renderValues = owner.renderValues;
    copy->textures = owner.textures;
    copy->textureEnabled = owner.textureEnabled;
    copy->opacity = owner.opacity;
    copy->linkGroupName = owner.linkGroupName;
    copy->position = link.position;
    copy->rotationAxis = link.rotationAxis;
    copy->rotationAngle = link.rotationAngle;
    copy->scale = link.scale;
    copy->pivot = link.pivot;
    return copy;
}

// --- Writing ----------------------------------------------------------------

void writeCurve(ByteWriter& out, const std::vector<CurvePoint>& points, bool timed, std::size_t count) {
    out.i32(static_cast<std::int32_t>(count));
    for (std::size_t i = 0; i < count; ++i) {
        // A parallel path shorter than its leader is padded with plain points.
        const CurvePoint p = i < points.size() ? points[i] : CurvePoint{};
        out.vec3(p.point);
        out.vec3(p.handle1);
        out.vec3(p.handle2);
        if (timed) out.i32(p.step);
    }
}

void writeCurve(ByteWriter& out, const std::vector<CurvePoint>& points, bool timed) {
    writeCurve(out, points, timed, points.size());
}

void writeLight(ByteWriter& out, const SceneLight& light) {
    out.f32(light.intensity);
    out.vec4(light.positionOrColour);
    out.f32(light.secondValue);
}

bool readWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
    std::ifstream in(pathFromText(path), std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

// The image bytes of an embedded texture: kept in memory since it was read,
// else from the file it came from (none when that cannot be read).
void writeTextureBytes(ByteWriter& out, const SceneTexture& texture) {
    if (!texture.embeddedBytes.empty()) {
        out.i32(static_cast<std::int32_t>(texture.embeddedBytes.size()));
        out.bytesInPlace(texture.embeddedBytes);
        return;
    }
    std::vector<std::uint8_t> bytes;
    if (texture.fullPath.empty() || !readWholeFile(texture.fullPath, bytes)) bytes.clear();
    out.i32(static_cast<std::int32_t>(bytes.size()));
    out.bytesOwned(std::move(bytes));
}

void writeTextureReference(RecordWriteContext& c, const SceneObject& o, std::size_t slot) {
    // A slot keeps its texture's name even while the texture is disabled or
    // its file is missing.
    const SceneTexture* texture = o.textures[slot];
    if (texture == nullptr) {
        c.out.cstr(kEmptyName);
        return;
    }
    c.out.cstr(texture->fileName.empty() ? kEmptyName : texture->fileName);
    if (texture->fileName.empty()) return;
    c.out.bool32(texture->embedded);
    if (!(c.embedTextures || texture->embedded)) return;
    // The bytes travel once per file, at the first reference.
    if (!c.texturesWritten.insert(texture).second) {
        c.out.i32(0);
        return;
    }
    writeTextureBytes(c.out, *texture);
}

void writeRecordFields(RecordWriteContext& c, const SceneObject& o) {
    ByteWriter& out = c.out;
    out.cstr(o.name);
    out.i32(static_cast<std::int32_t>(o.vertices.size()));
    out.i32(static_cast<std::int32_t>(o.indices.size()));
    out.i32(o.meshValueA);
    out.i32(o.meshValueB);
    out.i32(o.triangleCount);
    out.bool32(o.meshFlagA);
    out.bool32(o.meshFlagB);
    out.mat4(o.baseMatrix);
    out.vec3(o.pivot);
    out.vec3(o.position);
    out.vec3(o.positionOffset);
    out.vec3(o.rotationAxis);
    out.f32(o.rotationAngle);
    out.vec3(o.scale);
    out.f32(o.opacity);
    for (const Vec4& colour : o.materialColours) out.vec4(colour);
    out.bool32(o.renderSwitches[0]);
    for (std::size_t s = 2; s < 10; ++s) out.bool32(o.renderSwitches[s]);
    for (float v : o.renderValues) out.f32(v);
    out.bool32(o.objectLightFlag);
    out.i32(o.objectLightCount);
    for (const SceneLight& light : o.lights) writeLight(out, light);
    out.bool32(o.renderSwitches[1]);
    out.bool32(o.lightFlagB);
    out.i32(o.lightMode);
    for (const LightParameterBlock& block : o.lightParameters) {
        for (float v : block.values) out.f32(v);
        for (std::int32_t v : block.integers) out.i32(v);
    }
    out.i32(static_cast<std::int32_t>(o.links.size()));
    if (!o.links.empty()) out.cstr(o.linkGroupName);
    for (const ObjectLink& link : o.links) {
        // A copy moved in the editor is written where it now stands.
        const SceneObject* copy = link.object;
        out.vec3(copy != nullptr ? copy->position : link.position);
        out.vec3(copy != nullptr ? copy->rotationAxis : link.rotationAxis);
        out.f32(copy != nullptr ? copy->rotationAngle : link.rotationAngle);
        out.vec3(copy != nullptr ? copy->scale : link.scale);
        out.vec3(copy != nullptr ? copy->pivot : link.pivot);
    }
    out.bool32(o.secondMatrixFlag);
    out.mat4(o.secondMatrix);
    out.bool32(o.flagP);
    out.f32(o.valueP);
    for (const FlaggedCurve& curve : o.profileCurves) {
        out.bool32(curve.used);
        writeCurve(out, curve.points, false);
    }
    out.bool32(o.flagE);
    out.bool32(o.flagF1);
    out.bool32(o.flagF2);
    out.bool32(o.flagG);
    out.f32(o.valueH1);
    out.f32(o.valueH2);
    out.bool32(o.flagI1);
    out.bool32(o.flagI2);
}

void writeSweepBlocks(RecordWriteContext& c, const SceneObject& o) {
    ByteWriter& out = c.out;
    const TimedPathBlock& path = o.timedPath;
    out.i32(path.present ? 1 : 0);
    if (path.present) {
        for (std::int32_t v : path.values) out.i32(v);
        writeCurve(out, path.paths[0], true);
        // Paths B, C and D run in parallel: all three are written with B's length.
        const std::size_t parallel = path.paths[1].size();
        for (std::size_t k = 1; k < 4; ++k) writeCurve(out, path.paths[k], true, parallel);
        out.bool32(path.pathDClosed);
    }
    const SweepCurveBlock& block = o.sweepCurves;
    out.i32(block.present ? 1 : 0);
    if (block.present) {
        for (std::int32_t v : block.values) out.i32(v);
        for (const auto& curve : block.curves) writeCurve(out, curve, false);
    }
}

void writeStyleSoundAndLateFields(RecordWriteContext& c, const SceneObject& o) {
    ByteWriter& out = c.out;
    out.bool32(o.styleFlag);
    for (float v : o.styleValues) out.f32(v);
    out.vec4(o.styleColour);
    out.i32(o.styleMode);
    out.f32(o.styleScale);
    const bool hasSound = o.soundEnabled && !o.soundFileName.empty();
    out.cstr(hasSound ? o.soundFileName : kEmptyName);
    out.bool32(o.soundFlagA);
    out.bool32(o.soundEnabled);
    out.f32(o.soundValue);
    out.bool32(o.soundFlagB);
    out.f32(o.soundVolume);
    out.bool32(o.soundFlagC);
    out.bool32(o.soundLoop);
    out.bool32(o.flagS);
    out.f32(o.valueS);
    out.i32(o.valueT);
    out.bool32(o.boneNumberFlag);
    out.i32(o.boneNumber);
    out.bool32(o.flagV);
    out.f32(o.valueV);
    out.bool32(o.meshFlagC);
    out.bool32(o.archFlag || o.name == "Arche");
    out.bool32(o.thirdPath.used);
    if (o.thirdPath.used) writeCurve(out, o.thirdPath.points, true);
    out.bool32(o.flagW);
    out.f32(o.valueW);
    out.f32(o.valueX);
    out.i32(1);  // extension block marker
    out.f32(o.extensionValuesA[0]);
    out.f32(o.extensionValuesA[1]);
    out.bool32(o.extensionFlagA);
    out.bool32(o.extensionCopyFile);
    out.cstr(o.extensionFileName.empty() ? kEmptyName : o.extensionFileName);
    out.bool32(o.extensionFlagC);
    out.i32(o.extensionValueY);
    out.i32(o.extensionMode);
    out.f32(o.extensionValueZ);
    out.vec3(o.extensionDirection);
    out.vec4(o.extensionColour1);
    out.f32(o.extensionValuesB[0]);
    out.f32(o.extensionValuesB[1]);
    out.vec4(o.extensionColour2);
    out.zeros(kReservedWords * 4);
}

void writeMesh(RecordWriteContext& c, const SceneObject& o) {
    ByteWriter& out = c.out;
    if constexpr (std::endian::native == std::endian::little) {
        // Stored as they sit in memory; the object outlives the write.
        const auto* vertexBytes = reinterpret_cast<const std::uint8_t*>(o.vertices.data());
        out.bytesInPlace({vertexBytes, o.vertices.size() * sizeof(MeshVertex)});
        const auto* indexBytes = reinterpret_cast<const std::uint8_t*>(o.indices.data());
        out.bytesInPlace({indexBytes, o.indices.size() * sizeof(std::int32_t)});
    } else {
        for (const MeshVertex& v : o.vertices) {
            out.vec3(v.position);
            for (float w : v.blendWeights) out.f32(w);
            for (std::int32_t b : v.blendIndices) out.i32(b);
            out.vec3(v.normal);
            out.f32(v.texcoord.x);
            out.f32(v.texcoord.y);
            out.f32(v.texcoord2.x);
            out.f32(v.texcoord2.y);
        }
        for (std::int32_t index : o.indices) out.i32(index);
    }
}

}  // namespace

bool readObjectRecord(RecordReadContext& c) {
    ByteReader& in = c.in;
    std::string name = in.cstr("object name");
    if (!in.ok()) return false;
    c.record = "object " + std::to_string(c.bySaveIndex.size()) + " \"" + name + "\"";
    auto object = std::make_unique<SceneObject>(std::move(name));
    SceneObject& o = *object;
    std::int32_t vertexCount = 0;
    std::int32_t indexCount = 0;
    readMeshAndTransform(c, o, vertexCount, indexCount);
    readMaterial(c, o);
    readObjectLights(c, o);
    readLinks(c, o);
    if (c.version.since("0.8")) {
        o.secondMatrixFlag = in.bool32("second matrix flag");
        o.secondMatrix = in.mat4("second matrix");
    }
    if (c.version.since("0.95")) {
        o.flagP = in.bool32("object flag P");
        o.valueP = in.f32("object value P");
    }
    readProfileCurves(c, o);
    readFlags(c, o);
    readTimedPathBlock(c, o);
    readSweepCurveBlock(c, o);
    readStyleAndSound(c, o);
    readLateFields(c, o);
    std::array<TextureReference, kTextureSlots> textureReferences;
    for (std::size_t slot = 0; slot < kTextureSlots; ++slot) {
        if (slot == 2 && !c.version.since("0.5")) break;
        textureReferences[slot] = readTextureReference(c);
    }
    readVertices(c, o, vertexCount);
    readIndices(c, o, indexCount);
    readLegacyBlock(c, o);
    if (!in.ok()) return false;
    // Every link becomes a full copy of the mesh: a small file must not be
    // able to ask for gigabytes that way.
    const std::uint64_t copyBytes = static_cast<std::uint64_t>(o.vertices.size()) * sizeof(MeshVertex) + o.indices.size() * 4;
    c.linkedCopyBytes += copyBytes * o.links.size();
    if (c.linkedCopyBytes > c.linkedCopyBudget) {
        in.fail("link records (their copies need more memory than such a file can justify)");
        return false;
    }

    for (std::size_t slot = 0; slot < kTextureSlots; ++slot) attachTextureReference(c, o, slot, textureReferences[slot]);

    if (!o.flagF1) o.opacity = 0.2f;
    // Sounds are shared by name; the clip itself is loaded by the sound player.
    if (o.soundEnabled && !o.soundFileName.empty()) {
        o.sound = c.scene.findSound(o.soundFileName);
        if (o.sound == nullptr) o.sound = &c.scene.addSound(o.soundFileName);
    }
    o.faceSelected.assign(o.indices.size() / 3, 0);
    o.recomputeBounds();
    applyDefaultProfileCurves(o);
    moveOldCurvesToPresentFrame(c.version, o);

    SceneObject& owner = c.scene.addObject(std::move(object));
    owner.saveIndex = static_cast<std::int32_t>(c.bySaveIndex.size());
    c.bySaveIndex.push_back(&owner);
    for (ObjectLink& link : owner.links) {
        SceneObject& linked = c.scene.addObject(makeLinkedObject(owner, link));
        linked.saveIndex = static_cast<std::int32_t>(c.bySaveIndex.size());
        c.bySaveIndex.push_back(&linked);
        link.object = &linked;
    }
    return true;
}

void writeObjectRecord(RecordWriteContext& c, const SceneObject& o) {
    writeRecordFields(c, o);
    writeSweepBlocks(c, o);
    writeStyleSoundAndLateFields(c, o);
    for (std::size_t slot = 0; slot < kTextureSlots; ++slot) writeTextureReference(c, o, slot);
    writeMesh(c, o);
}

SceneObject* RecordReadContext::objectBySaveIndex(std::int32_t index) const {
    if (index <= 0 || static_cast<std::size_t>(index) >= bySaveIndex.size()) return nullptr;
    return bySaveIndex[static_cast<std::size_t>(index)];
}

SceneObject* RecordReadContext::objectByName(const std::string& name) const {
    for (std::size_t i = 1; i < bySaveIndex.size(); ++i) {
        if (bySaveIndex[i]->name == name) return bySaveIndex[i];
    }
    return nullptr;
}

}  // namespace morvanex
