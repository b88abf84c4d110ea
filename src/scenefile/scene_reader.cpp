#include "scenefile/scene_reader.h"


#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <memory>
#include <system_error>
#include <vector>

#include "base/file_bytes.h"
#include "base/text_encoding.h"
#include "scene/scene.h"
#include "scenefile/record_io.h"

namespace morvanex {
namespace {

constexpr std::size_t kLongestTag = 64;
constexpr float kGlideDistance = 500.0f;  // the eye starts this far behind the stored one
// Linked copies may take this much mesh memory, plus so many times the file's size.
constexpr std::uint64_t kLinkedCopyAllowance = 256ull << 20;
constexpr std::uint64_t kLinkedCopyFactor = 16;
constexpr std::size_t kViewpointBytes = 4 + 4 + 12 + 1;

// The scene-wide values at the head of a file.
struct SceneHeader {
    Vec3 cameraPosition;
    float pitch = 0.0f;
    float yaw = 0.0f;
    float fieldOfView = 0.78539816f;
    float rangeValue = 150.0f;
    std::array<SceneLight, kGlobalLightSlots> lights{};
    std::int32_t activeLightCount = 1;
    std::vector<SavedViewpoint> viewpoints;
    Vec4 background{0.73f, 0.73f, 0.73f, 1.0f};
    SceneSettings settings;
};

// The tag: bytes up to the first 0, within a sensible length.
std::string readTag(std::span<const std::uint8_t> bytes, std::size_t& end) {
    const std::size_t limit = std::min(bytes.size(), kLongestTag);
    for (std::size_t i = 0; i < limit; ++i) {
        if (bytes[i] == 0) {
            end = i + 1;
            return std::string(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
    end = 0;
    return {};
}

SceneHeader readHeader(RecordReadContext& c) {
    ByteReader& in = c.in;
    SceneHeader h;
    h.cameraPosition = in.vec3("camera position");
    h.pitch = in.f32("camera pitch");
    h.yaw = in.f32("camera yaw");
    h.fieldOfView = in.f32("camera field of view");
    h.rangeValue = in.f32("camera range value");
    h.settings.shadingMode = in.i32("shading mode");
    if (c.version.since("0.2")) {
        h.activeLightCount = in.i32("active light count");
        for (SceneLight& light : h.lights) {
            light.intensity = in.f32("global light");
            light.positionOrColour = in.vec4("global light");
            light.secondValue = in.f32("global light");
        }
    }
    if (c.version.since("1.1")) {
        h.settings.flagA = in.bool32("scene flag A");
        h.settings.embedTextures = in.bool32("embed textures flag");
        const std::int32_t views = in.count(kViewpointBytes, "saved viewpoint count");
        for (std::int32_t i = 0; i < views && in.ok(); ++i) {
            SavedViewpoint view;
            view.pitch = in.f32("saved viewpoint");
            view.yaw = in.f32("saved viewpoint");
            view.eye = in.vec3("saved viewpoint");
            view.imageFileName = in.cstr("saved viewpoint image name");
            h.viewpoints.push_back(std::move(view));
        }
    }
    if (c.version.since("1.6")) h.background = in.vec4("background colour");
    if (c.version.since("1.10")) h.settings.flagB = in.bool32("scene flag B");
    if (c.version.since("1.11")) h.settings.flagC = in.bool32("scene flag C");
    if (c.version.since("1.16")) {
        h.settings.flagD = in.bool32("scene flag D");
        h.settings.valueE = in.f32("scene value E");
        h.settings.valueF = in.f32("scene value F");
        h.settings.groundShading = in.f32("ground shading");
        h.settings.groundColour = in.vec4("ground colour");
        h.settings.groundMode = in.i32("ground mode");
        h.settings.groundScale = in.f32("ground scale");
        h.settings.groundImageName = in.cstr("ground image name");
    }
    return h;
}

void applyHeader(const SceneHeader& h, Scene& scene) {
    // The view glides in: the eye starts behind the stored position.
    const Vec3 forward{std::cos(h.yaw) * std::cos(h.pitch), -std::sin(h.pitch), std::sin(h.yaw) * std::cos(h.pitch)};
    scene.eyeTarget = h.cameraPosition;
    scene.eye = h.cameraPosition - forward * kGlideDistance;
    scene.pitch = h.pitch;
    scene.yaw = h.yaw;
    scene.fieldOfView = h.fieldOfView;
    scene.rangeValue = h.rangeValue;
    scene.lights = h.lights;
    // The renderer reads this many slots: keep it inside the table.
    scene.activeLightCount = std::clamp<std::int32_t>(h.activeLightCount, 1, static_cast<std::int32_t>(kGlobalLightSlots));
    scene.viewpoints = h.viewpoints;
    scene.backgroundColour = h.background;
    scene.settings = h.settings;
}

// Once the records are in: parents hand their animation down their child
// trees, depth first.
void handAnimationsDown(Scene& scene) {
    std::vector<SceneObject*> stack;
    for (const auto& object : scene.objects()) {
        stack.assign(1, object.get());
        std::size_t guard = scene.objectCount() * 2 + 16;  // a loop in the tree cannot run forever
        while (!stack.empty() && guard-- > 0) {
            SceneObject* owner = stack.back();
            stack.pop_back();
            for (SceneObject* child : owner->children) {
                if (child == nullptr || child == object.get()) continue;
                child->parent = owner;
                child->animation = owner->animation;
                stack.push_back(child);
            }
        }
    }
}

SceneReadReport finish(RecordReadContext& c, SceneReadReport report) {
    if (!c.in.ok()) {
        report.status = ReadStatus::Damaged;
        report.errorOffset = c.in.failedOffset();
        report.error = "damaged at byte " + std::to_string(report.errorOffset) + " while reading " +
                       (c.record.empty() ? std::string() : c.record + ": ") + c.in.failedWhat();
    } else if (!c.in.atEnd()) {
        // No writer leaves bytes after the last record: a count changed to
        // fewer records than follow would otherwise pass for a whole file
        // and a save would drop the rest.
        report.status = ReadStatus::Damaged;
        report.errorOffset = c.in.offset();
        report.trailingBytes = c.in.remaining();
        report.error = "damaged at byte " + std::to_string(report.errorOffset) + ": " +
                       std::to_string(report.trailingBytes) + " bytes after the last record were not read";
    } else if (report.status != ReadStatus::Damaged) {
        report.status = ReadStatus::Complete;
    }
    handAnimationsDown(c.scene);
    report.attachedObject = c.attachedObject;
    report.missingTextures = std::move(c.missingTextures);
    c.scene.loadedVersionTag = std::string(kProgramVersionLabel);
    return report;
}

// The read position for whoever shows progress, once per record.
void reportPosition(const RecordReadContext& c) { reportProgress(c.options.progress, c.in.offset(), c.in.size()); }

void readAnimations(RecordReadContext& c, SceneReadReport& report) {
    report.animationsDeclared = c.in.count(kAnimationHeaderBytes, "animation count");
    for (std::int32_t i = 0; i < report.animationsDeclared && c.in.ok(); ++i) {
        if (readAnimationRecord(c)) ++report.animationRecordsRead;
        reportPosition(c);
    }
}

// Reads the tag into the report; false, with the report saying why, when
// the file is not a scene this program reads.
bool acceptTag(std::span<const std::uint8_t> bytes, SceneReadReport& report, std::size_t& tagEnd) {
    report.tag = readTag(bytes, tagEnd);
    const FileVersion version = FileVersion::fromTag(report.tag);
    if (tagEnd == 0 || (!version.known() && !isOldFamilyTag(report.tag))) {
        report.status = ReadStatus::UnknownTag;
        report.error = "not a scene file of a known version";
        return false;
    }
    if (isOldFamilyTag(report.tag) && report.tag != kOldFamilyAnimationOnlyTag) {
        report.status = ReadStatus::RefusedTag;
        report.error = "files tagged \"" + report.tag + "\" are too old to be read";
        return false;
    }
    return true;
}

}  // namespace

SceneReadReport readScene(std::span<const std::uint8_t> bytes, Scene& scene, const SceneReadOptions& options) {
    SceneReadReport report;
    std::size_t tagEnd = 0;
    if (!acceptTag(bytes, report, tagEnd)) return report;
    const FileVersion version = FileVersion::fromTag(report.tag);

    ByteReader in(bytes);
    in.skip(tagEnd, "tag");
    RecordReadContext c(in, version, scene, options);
    c.linkedCopyBudget = kLinkedCopyAllowance + kLinkedCopyFactor * static_cast<std::uint64_t>(bytes.size());
    scene.loadedVersionTag = report.tag;
    if (!version.known()) {
        // The older family's last version holds only an animation section,
        // read with the oldest layout and times written as text.
        c.decimalKeyTimes = true;
        readAnimations(c, report);
        return finish(c, report);
    }

    c.record = "the scene header";
    const SceneHeader header = readHeader(c);
    if (!in.ok()) return finish(c, report);
    report.headerRead = true;
    if (!options.keepSceneHeader) applyHeader(header, scene);
    c.embedTextures = header.settings.embedTextures;

    c.record.clear();
    report.objectsDeclared = in.count(kMinObjectRecordBytes, "object count");
    for (std::int32_t i = 0; i < report.objectsDeclared && in.ok(); ++i) {
        if (readObjectRecord(c)) ++report.objectRecordsRead;
        reportPosition(c);
    }
    if (in.ok()) {
        c.record.clear();
        readAnimations(c, report);
    }
    // A file without animations ends after their count.
    if (in.atEnd() && report.animationsDeclared == 0) reportPosition(c);
    return finish(c, report);
}

SceneReadReport checkSceneStart(std::span<const std::uint8_t> bytes) {
    SceneReadReport report;
    std::size_t tagEnd = 0;
    if (!acceptTag(bytes, report, tagEnd)) return report;
    const FileVersion version = FileVersion::fromTag(report.tag);
    report.status = ReadStatus::Complete;
    if (!version.known()) return report;  // an animation section alone: no header
    ByteReader in(bytes);
    in.skip(tagEnd, "tag");
    Scene unused;
    const SceneReadOptions options;
    RecordReadContext c(in, version, unused, options);
    readHeader(c);
    if (!in.ok()) {
        report.status = ReadStatus::Damaged;
        report.errorOffset = in.failedOffset();
        report.error = "damaged at byte " + std::to_string(report.errorOffset) + " while reading the scene header: " +
                       in.failedWhat();
        return report;
    }
    report.headerRead = true;
    return report;
}

SceneReadReport readSceneFile(const std::filesystem::path& path, Scene& scene, const SceneReadOptions& options) {
    const FileBytes file(path);
    if (!file.opened()) {
        SceneReadReport report;
        report.error = file.notRegular() ? "not a regular file" : "cannot open the file";
        return report;
    }
    SceneReadOptions withBackup = options;
    if (withBackup.backupPath.empty()) withBackup.backupPath = textFromPath(path);
    return readScene(file.bytes(), scene, withBackup);
}

std::string describeReadReport(const SceneReadReport& report) {
    switch (report.status) {
    case ReadStatus::Complete: return "read completely";
    case ReadStatus::Damaged: return report.error;
    case ReadStatus::UnknownTag: return "not a scene file of a known version";
    case ReadStatus::RefusedTag: return report.error;
    case ReadStatus::Unreadable: return report.error.empty() ? "cannot read the file" : report.error;
    }
    return report.error;
}

}  // namespace morvanex
