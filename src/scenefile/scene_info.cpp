#include "scenefile/scene_info.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "base/text_encoding.h"
#include "scene/scene.h"
#include "scenefile/file_versions.h"
#include "scenefile/json_out.h"

namespace morvanex {
namespace {

bool isControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

const char* hexDigits() { return "0123456789abcdef"; }

std::string number(float value) { return shortestNumber(value); }

bool isFileName(std::string_view name) { return isStoredFileName(name); }

// What a describer needs beyond the scene: the numbers the file gives the
// objects and which objects are linked copies of which.
struct ObjectTable {
    std::vector<const SceneObject*> listed;  // file order, service objects left out
    std::unordered_map<const SceneObject*, std::size_t> numberOf;  // from 1
    std::unordered_map<const SceneObject*, std::size_t> copyOf;    // copy -> owner's number

    explicit ObjectTable(const Scene& scene) {
        for (const auto& object : scene.objects()) {
            if (scene.isServiceObject(object.get())) continue;
            listed.push_back(object.get());
            numberOf[object.get()] = listed.size();
        }
        for (const SceneObject* owner : listed) {
            for (const ObjectLink& link : owner->links) {
                if (link.object != nullptr) copyOf[link.object] = numberOf[owner];
            }
        }
    }

    std::size_t ownerNumber(const SceneObject* object) const {
        const auto found = copyOf.find(object);
        return found == copyOf.end() ? 0 : found->second;
    }
};

const SceneTexture* textureInSlot(const SceneObject& object, std::size_t slot) {
    return object.textureEnabled[slot] ? object.textures[slot] : nullptr;
}

bool isCameraAnimation(const Scene& scene, const Animation& animation) {
    return animation.cameraFlag != 0 || (animation.target != nullptr && animation.target == scene.cameraObject());
}

std::size_t targetChildCount(const Animation& animation) {
    return animation.target != nullptr ? animation.target->children.size() : 0;
}

bool wasRead(const SceneReadReport& report) {
    return report.status == ReadStatus::Complete || report.status == ReadStatus::Damaged;
}

// The header's values are in the scene only when the reader got through it.
bool headerWasRead(const SceneReadReport& report) {
    return report.headerRead;
}

// --- Plain text ------------------------------------------------------------------

// Control characters spelt out, so that a name cannot break the layout or
// steer the terminal.
std::string withoutControls(std::string_view utf8) {
    std::string out;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (isControl(byte)) {
            out += "\\x";
            out.push_back(hexDigits()[byte >> 4]);
            out.push_back(hexDigits()[byte & 0x0F]);
        } else {
            out.push_back(c);
        }
    }
    return out;
}

// A Windows-1252 text for the terminal.
std::string shown(std::string_view cp1252) { return withoutControls(utf8FromCp1252(cp1252)); }

std::string quotedName(std::string_view cp1252) { return '"' + shown(cp1252) + '"'; }

std::string fileNameOrNone(std::string_view cp1252) { return isFileName(cp1252) ? quotedName(cp1252) : "none"; }

std::string yesNo(bool value) { return value ? "yes" : "no"; }

std::string vec(const Vec3& v) { return "(" + number(v.x) + ", " + number(v.y) + ", " + number(v.z) + ")"; }

std::string vec(const Vec4& v) {
    return "(" + number(v.x) + ", " + number(v.y) + ", " + number(v.z) + ", " + number(v.w) + ")";
}

std::string counted(std::size_t n, std::string_view one, std::string_view many) {
    return std::to_string(n) + " " + std::string(n == 1 ? one : many);
}

void textHeader(std::string& out, const Scene& scene) {
    const SceneSettings& s = scene.settings;
    out += "header:\n";
    out += "  camera position: " + vec(scene.eyeTarget) + "\n";
    out += "  pitch: " + number(scene.pitch) + " rad\n";
    out += "  yaw: " + number(scene.yaw) + " rad\n";
    out += "  field of view: " + number(scene.fieldOfView) + " rad\n";
    out += "  range value: " + number(scene.rangeValue) + "\n";
    out += "  shading mode: " + std::to_string(s.shadingMode) + "\n";
    out += "  lights in use: " + std::to_string(scene.activeLightCount) + "\n";
    const auto inUse = static_cast<std::size_t>(std::max(scene.activeLightCount, 0));
    for (std::size_t i = 0; i < inUse && i < scene.lights.size(); ++i) {
        const SceneLight& light = scene.lights[i];
        out += "    light " + std::to_string(i + 1) + ": intensity " + number(light.intensity) + ", position or colour " +
               vec(light.positionOrColour) + ", value " + number(light.secondValue) + "\n";
    }
    out += "  embed textures: " + yesNo(s.embedTextures) + "\n";
    out += "  saved viewpoints: " + std::to_string(scene.viewpoints.size()) + "\n";
    for (std::size_t i = 0; i < scene.viewpoints.size(); ++i) {
        const SavedViewpoint& view = scene.viewpoints[i];
        out += "    viewpoint " + std::to_string(i + 1) + ": eye " + vec(view.eye) + ", pitch " + number(view.pitch) +
               " rad, yaw " + number(view.yaw) + " rad, image " + fileNameOrNone(view.imageFileName) + "\n";
    }
    out += "  background colour: " + vec(scene.backgroundColour) + "\n";
    out += "  flags A, B, C, D: " + yesNo(s.flagA) + ", " + yesNo(s.flagB) + ", " + yesNo(s.flagC) + ", " + yesNo(s.flagD) +
           "\n";
    out += "  values E, F: " + number(s.valueE) + ", " + number(s.valueF) + "\n";
    out += "  ground: shading " + number(s.groundShading) + ", colour " + vec(s.groundColour) + ", mode " +
           std::to_string(s.groundMode) + ", scale " + number(s.groundScale) + ", image " +
           fileNameOrNone(s.groundImageName) + "\n";
}

void textObjects(std::string& out, const ObjectTable& table) {
    out += "objects: " + std::to_string(table.listed.size()) + "\n";
    for (const SceneObject* o : table.listed) {
        out += "  " + std::to_string(table.numberOf.at(o)) + ". " + quotedName(o->name) + "\n";
        out += "     " + counted(o->vertexCount(), "vertex", "vertices") + ", " +
               counted(o->indexCount() / 3, "triangle", "triangles") + "\n";
        out += "     textures:";
        for (std::size_t slot = 0; slot < kTextureSlots; ++slot) {
            const SceneTexture* texture = textureInSlot(*o, slot);
            out += slot == 0 ? " " : ", ";
            out += texture != nullptr ? quotedName(texture->fileName) : "none";
        }
        out += "\n";
        if (o->links.empty()) out += "     links: none\n";
        else out += "     links: " + std::to_string(o->links.size()) + " in group " + quotedName(o->linkGroupName) + "\n";
        if (const std::size_t owner = table.ownerNumber(o); owner != 0) {
            out += "     linked copy of object " + std::to_string(owner) + "\n";
        }
        out += "     parent: " + (o->parent != nullptr ? quotedName(o->parent->name) : std::string("none")) + "\n";
        out += "     children:";
        if (o->children.empty()) out += " none";
        for (std::size_t i = 0; i < o->children.size(); ++i) {
            const SceneObject* child = o->children[i];
            out += i == 0 ? " " : ", ";
            out += child != nullptr ? quotedName(child->name) : "none";
        }
        out += "\n";
        out += "     bone number: " + std::to_string(o->boneNumber) + "\n";
    }
}

void textAnimations(std::string& out, const Scene& scene) {
    out += "animations: " + std::to_string(scene.animations().size()) + "\n";
    std::size_t index = 0;
    for (const auto& animation : scene.animations()) {
        out += "  " + std::to_string(++index) + ". " + quotedName(animation->targetName) +
               (isCameraAnimation(scene, *animation) ? " (camera)" : " (object)") + ", " +
               counted(targetChildCount(*animation), "child", "children") + "\n";
        if (animation->sequences.empty()) out += "     no sequences\n";
        for (const auto& sequence : animation->sequences) {
            out += "     sequence " + quotedName(sequence->name) + ": " +
                   counted(sequence->keyImages.size(), "key image", "key images") + "\n";
        }
    }
}

// --- JSON ------------------------------------------------------------------------

void jsonHeader(JsonOut& j, const Scene& scene) {
    const SceneSettings& s = scene.settings;
    j.beginObject();
    j.key("cameraPosition");
    j.vec(scene.eyeTarget);
    j.key("pitch");
    j.number(scene.pitch);
    j.key("yaw");
    j.number(scene.yaw);
    j.key("fieldOfView");
    j.number(scene.fieldOfView);
    j.key("rangeValue");
    j.number(scene.rangeValue);
    j.key("shadingMode");
    j.integer(s.shadingMode);
    j.key("activeLightCount");
    j.integer(scene.activeLightCount);
    j.key("lights");
    j.beginArray();
    const auto inUse = static_cast<std::size_t>(std::max(scene.activeLightCount, 0));
    for (std::size_t i = 0; i < inUse && i < scene.lights.size(); ++i) {
        const SceneLight& light = scene.lights[i];
        j.beginObject();
        j.key("intensity");
        j.number(light.intensity);
        j.key("positionOrColour");
        j.vec(light.positionOrColour);
        j.key("secondValue");
        j.number(light.secondValue);
        j.endObject();
    }
    j.endArray();
    j.key("embedTextures");
    j.boolean(s.embedTextures);
    j.key("viewpoints");
    j.beginArray();
    for (const SavedViewpoint& view : scene.viewpoints) {
        j.beginObject();
        j.key("eye");
        j.vec(view.eye);
        j.key("pitch");
        j.number(view.pitch);
        j.key("yaw");
        j.number(view.yaw);
        j.key("image");
        j.fileName(view.imageFileName);
        j.endObject();
    }
    j.endArray();
    j.key("backgroundColour");
    j.vec(scene.backgroundColour);
    j.key("flagA");
    j.boolean(s.flagA);
    j.key("flagB");
    j.boolean(s.flagB);
    j.key("flagC");
    j.boolean(s.flagC);
    j.key("flagD");
    j.boolean(s.flagD);
    j.key("valueE");
    j.number(s.valueE);
    j.key("valueF");
    j.number(s.valueF);
    j.key("ground");
    j.beginObject();
    j.key("shading");
    j.number(s.groundShading);
    j.key("colour");
    j.vec(s.groundColour);
    j.key("mode");
    j.integer(s.groundMode);
    j.key("scale");
    j.number(s.groundScale);
    j.key("image");
    j.fileName(s.groundImageName);
    j.endObject();
    j.endObject();
}

void jsonObjects(JsonOut& j, const ObjectTable& table) {
    j.beginArray();
    for (const SceneObject* o : table.listed) {
        j.beginObject();
        j.key("number");
        j.integer(static_cast<std::int64_t>(table.numberOf.at(o)));
        j.key("name");
        j.text(o->name);
        j.key("vertices");
        j.integer(static_cast<std::int64_t>(o->vertexCount()));
        j.key("triangles");
        j.integer(static_cast<std::int64_t>(o->indexCount() / 3));
        j.key("textures");
        j.beginArray();
        for (std::size_t slot = 0; slot < kTextureSlots; ++slot) {
            const SceneTexture* texture = textureInSlot(*o, slot);
            if (texture != nullptr) j.text(texture->fileName);
            else j.null();
        }
        j.endArray();
        j.key("linkCount");
        j.integer(static_cast<std::int64_t>(o->links.size()));
        j.key("linkGroup");
        if (o->links.empty()) j.null();
        else j.text(o->linkGroupName);
        j.key("linkedCopyOf");
        if (const std::size_t owner = table.ownerNumber(o); owner != 0) j.integer(static_cast<std::int64_t>(owner));
        else j.null();
        j.key("parent");
        if (o->parent != nullptr) j.text(o->parent->name);
        else j.null();
        j.key("children");
        j.beginArray();
        for (const SceneObject* child : o->children) {
            if (child != nullptr) j.text(child->name);
        }
        j.endArray();
        j.key("boneNumber");
        j.integer(o->boneNumber);
        j.endObject();
    }
    j.endArray();
}

void jsonAnimations(JsonOut& j, const Scene& scene) {
    j.beginArray();
    for (const auto& animation : scene.animations()) {
        j.beginObject();
        j.key("target");
        j.text(animation->targetName);
        j.key("camera");
        j.boolean(isCameraAnimation(scene, *animation));
        j.key("children");
        j.integer(static_cast<std::int64_t>(targetChildCount(*animation)));
        j.key("sequences");
        j.beginArray();
        for (const auto& sequence : animation->sequences) {
            j.beginObject();
            j.key("name");
            j.text(sequence->name);
            j.key("keyImages");
            j.integer(static_cast<std::int64_t>(sequence->keyImages.size()));
            j.endObject();
        }
        j.endArray();
        j.endObject();
    }
    j.endArray();
}

}  // namespace

std::string_view readStatusName(ReadStatus status) {
    switch (status) {
    case ReadStatus::Complete: return "complete";
    case ReadStatus::Damaged: return "damaged";
    case ReadStatus::UnknownTag: return "unknown-tag";
    case ReadStatus::RefusedTag: return "refused-tag";
    case ReadStatus::Unreadable: return "unreadable";
    }
    return "unreadable";
}

std::string readProgressText(const SceneReadReport& report) {
    std::string out = std::to_string(report.objectRecordsRead) + " of " + std::to_string(report.objectsDeclared) +
                      " object records, ";
    // The animations come last: a damaged file whose animation count is 0
    // stopped before it, unless the damage is what follows the last record.
    if (report.status == ReadStatus::Damaged && report.animationsDeclared == 0 && report.trailingBytes == 0) {
        return out + "animations not reached";
    }
    return out + std::to_string(report.animationRecordsRead) + " of " + std::to_string(report.animationsDeclared) +
           " animation records";
}

std::string validUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto byte = static_cast<unsigned char>(text[pos]);
        if (byte < 0x80) {
            out.push_back(text[pos++]);
            continue;
        }
        appendUtf8(out, decodeUtf8(text, pos));
    }
    return out;
}

std::string jsonQuoted(std::string_view utf8) {
    std::string out = "\"";
    for (const char c : validUtf8(utf8)) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out.push_back('\\');
            out.push_back(c);
        } else if (isControl(byte)) {
            out += "\\u00";
            out.push_back(hexDigits()[byte >> 4]);
            out.push_back(hexDigits()[byte & 0x0F]);
        } else {
            out.push_back(c);
        }
    }
    out.push_back('"');
    return out;
}

std::string sceneInfoText(const Scene& scene, const SceneReadReport& report, std::string_view fileName) {
    std::string out;
    out += "file: " + withoutControls(validUtf8(fileName)) + "\n";
    out += "tag: " + quotedName(report.tag) + "\n";
    out += "status: " + std::string(readStatusName(report.status)) + "\n";
    if (report.status != ReadStatus::Complete) out += "error: " + shown(describeReadReport(report)) + "\n";
    if (!wasRead(report)) return out;
    if (report.status == ReadStatus::Damaged) {
        out += "error offset: " + std::to_string(report.errorOffset) + "\n";
        out += "read: " + readProgressText(report) + "\n";
    }
    if (headerWasRead(report)) textHeader(out, scene);
    else out += "header: none read\n";
    textObjects(out, ObjectTable(scene));
    textAnimations(out, scene);
    return out;
}

std::string sceneInfoJson(const Scene& scene, const SceneReadReport& report, std::string_view fileName) {
    JsonOut j;
    j.beginObject();
    j.key("file");
    j.string(fileName);
    j.key("tag");
    j.text(report.tag);
    j.key("status");
    j.string(readStatusName(report.status));
    j.key("error");
    if (report.status == ReadStatus::Complete) j.null();
    else j.text(describeReadReport(report));
    j.key("errorOffset");
    if (report.status == ReadStatus::Damaged) j.integer(static_cast<std::int64_t>(report.errorOffset));
    else j.null();
    j.key("unreadBytes");
    j.integer(static_cast<std::int64_t>(report.trailingBytes));
    j.key("objectsDeclared");
    j.integer(report.objectsDeclared);
    j.key("objectRecordsRead");
    j.integer(report.objectRecordsRead);
    j.key("animationsDeclared");
    j.integer(report.animationsDeclared);
    j.key("animationRecordsRead");
    j.integer(report.animationRecordsRead);
    j.key("header");
    if (headerWasRead(report)) jsonHeader(j, scene);
    else j.null();
    // A file not read at all has nothing to list, whatever the scene holds.
    j.key("objects");
    if (wasRead(report)) {
        jsonObjects(j, ObjectTable(scene));
    } else {
        j.beginArray();
        j.endArray();
    }
    j.key("animations");
    if (wasRead(report)) {
        jsonAnimations(j, scene);
    } else {
        j.beginArray();
        j.endArray();
    }
    j.endObject();
    return j.take() + "\n";
}

}  // namespace morvanex
