#include "app/import_info.h"

#include <cstdint>
#include <unordered_map>

#include "app/model_import.h"
#include "base/text_encoding.h"
#include "scene/animation.h"
#include "scenefile/json_out.h"
#include "scenefile/scene_info.h"

namespace morvanex {
namespace {

std::size_t keyImageCount(const Animation& animation) {
    std::size_t n = 0;
    for (const auto& sequence : animation.sequences) n += sequence->keyImages.size();
    return n;
}

// The texture an object shows (slot 1), or none.
const SceneTexture* colourTexture(const SceneObject& object) { return object.textures[0]; }

std::string counted(std::size_t n, std::string_view one, std::string_view many) {
    return std::to_string(n) + " " + std::string(n == 1 ? one : many);
}

// Control characters spelt out, so that a name cannot steer the terminal.
std::string withoutControls(std::string_view utf8) {
    std::string out;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            static constexpr char kHex[] = "0123456789abcdef";
            out += "\\x";
            out.push_back(kHex[byte >> 4]);
            out.push_back(kHex[byte & 0x0F]);
        } else {
            out.push_back(c);
        }
    }
    return out;
}

// Names are Windows-1252 inside the program.
std::string shown(std::string_view cp1252) { return withoutControls(utf8FromCp1252(cp1252)); }

std::string quotedName(std::string_view cp1252) { return '"' + shown(cp1252) + '"'; }

void textObjects(std::string& out, const ImportResult& result) {
    out += "objects: " + std::to_string(result.objects.size()) + "\n";
    std::size_t number = 0;
    for (const auto& o : result.objects) {
        out += "  " + std::to_string(++number) + ". " + quotedName(o->name) + "\n";
        out += "     " + counted(o->vertexCount(), "vertex", "vertices") + ", " +
               counted(o->indexCount() / 3, "triangle", "triangles") + "\n";
        const SceneTexture* texture = colourTexture(*o);
        out += "     texture: " +
               (texture == nullptr ? std::string("none")
                                   : quotedName(texture->fileName) + (texture->missing ? " (missing)" : "")) +
               "\n";
        if (o->parent != nullptr) out += "     parent: " + quotedName(o->parent->name) + "\n";
    }
}

void textRest(std::string& out, const ImportResult& result) {
    out += "textures: " + std::to_string(result.textures.size()) + "\n";
    for (const auto& t : result.textures) {
        out += "  " + quotedName(t->fileName) + ": " + (t->missing ? std::string("missing") : shown(t->fullPath)) + "\n";
    }
    out += "animations: " + std::to_string(result.animations.size()) + "\n";
    for (const auto& a : result.animations) {
        out += "  " + quotedName(a->targetName) + ": " + counted(keyImageCount(*a), "key image", "key images") + "\n";
    }
    out += "skeletons: " + std::to_string(result.skeletons.size()) + "\n";
    for (const ImportedSkeleton& s : result.skeletons) {
        out += "  " + quotedName(s.name) + ": " + counted(s.bones.size(), "bone", "bones") + "\n";
    }
}

void textReport(std::string& out, const ImportResult& result) {
    const std::vector<std::string> lines = importReportLines(result.report);
    if (lines.empty()) {
        out += "report: nothing skipped or changed\n";
        return;
    }
    out += "report:\n";
    for (const std::string& line : lines) out += "  " + shown(line) + "\n";
}

void jsonObjects(JsonOut& j, const ImportResult& result) {
    j.beginArray();
    for (const auto& o : result.objects) {
        j.beginObject();
        j.key("name");
        j.text(o->name);
        j.key("vertices");
        j.integer(static_cast<std::int64_t>(o->vertexCount()));
        j.key("triangles");
        j.integer(static_cast<std::int64_t>(o->indexCount() / 3));
        j.key("texture");
        if (const SceneTexture* texture = colourTexture(*o)) j.text(texture->fileName);
        else j.null();
        j.key("parent");
        if (o->parent != nullptr) j.text(o->parent->name);
        else j.null();
        j.endObject();
    }
    j.endArray();
}

void jsonRest(JsonOut& j, const ImportResult& result) {
    j.key("textures");
    j.beginArray();
    for (const auto& t : result.textures) {
        j.beginObject();
        j.key("file");
        j.text(t->fileName);
        j.key("path");
        if (t->missing) j.null();
        else j.text(t->fullPath);
        j.key("missing");
        j.boolean(t->missing);
        j.endObject();
    }
    j.endArray();
    j.key("animations");
    j.beginArray();
    for (const auto& a : result.animations) {
        j.beginObject();
        j.key("target");
        j.text(a->targetName);
        j.key("keyImages");
        j.integer(static_cast<std::int64_t>(keyImageCount(*a)));
        j.endObject();
    }
    j.endArray();
    j.key("skeletons");
    j.beginArray();
    for (const ImportedSkeleton& s : result.skeletons) {
        j.beginObject();
        j.key("name");
        j.text(s.name);
        j.key("bones");
        j.integer(static_cast<std::int64_t>(s.bones.size()));
        j.endObject();
    }
    j.endArray();
}

void jsonReport(JsonOut& j, const ImportReport& report) {
    j.beginArray();
    for (const ImportReport::Entry& e : report.entries()) {
        j.beginObject();
        j.key("text");
        j.text(e.what);
        j.key("count");
        if (e.count == 0) j.null();
        else j.integer(static_cast<std::int64_t>(e.count));
        j.key("damage");
        j.boolean(e.damage);
        j.endObject();
    }
    j.endArray();
}

}  // namespace

std::string_view importStatusName(const ImportResult& result) {
    if (!result.ok()) return "unreadable";
    return result.report.damaged() ? "damaged" : "complete";
}

std::string importInfoText(const ImportResult& result, ModelFormat format, std::string_view fileName) {
    std::string out;
    out += "file: " + withoutControls(validUtf8(fileName)) + "\n";
    out += "format: " + std::string(modelFormatName(format)) + "\n";
    out += "status: " + std::string(importStatusName(result)) + "\n";
    if (!result.ok()) out += "error: " + shown(result.error) + "\n";
    textObjects(out, result);
    textRest(out, result);
    textReport(out, result);
    return out;
}

std::string importInfoJson(const ImportResult& result, ModelFormat format, std::string_view fileName) {
    JsonOut j;
    j.beginObject();
    j.key("file");
    j.string(fileName);
    j.key("format");
    j.string(modelFormatName(format));
    j.key("status");
    j.string(importStatusName(result));
    j.key("error");
    if (result.ok()) j.null();
    else j.text(result.error);
    j.key("objects");
    jsonObjects(j, result);
    jsonRest(j, result);
    j.key("report");
    jsonReport(j, result.report);
    j.endObject();
    return j.take() + "\n";
}

}  // namespace morvanex
