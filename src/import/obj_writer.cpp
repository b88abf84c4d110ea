#include "import/obj_writer.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <unordered_set>

#include "base/safe_file.h"
#include "base/text_encoding.h"
#include "scene/scene.h"

namespace morvanex {

namespace {

constexpr float kFileUnitsPerSceneUnit = 0.1f;

struct ExportCorner {
    Vec3 position;  // scene space as placed
    Vec3 normal;    // as stored
    Vec2 texcoord;  // as stored
    std::int32_t weldGroup = -1;
    std::int32_t texcoordIndex = -1;
    std::array<std::int64_t, 3> key{};  // position to 5 decimals
};

// "%g": six significant digits, the shortest form.
void appendNumber(std::string& out, float value) {
    char buffer[32];
    if (!std::isfinite(value) || value == 0.0f) value = 0.0f;  // no "-0" for a mirrored 0
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                 std::chars_format::general, 6);
    out.append(buffer, r.ptr);
}

void appendIndex(std::string& out, std::int64_t value) {
    char buffer[24];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, r.ptr);
}

std::int64_t quantise(float v) {
    const double q = std::nearbyint(static_cast<double>(v) * 1e5);
    return std::isfinite(q) ? static_cast<std::int64_t>(std::clamp(q, -9e18, 9e18)) : 0;
}

void collect(const SceneObject& object, std::vector<ExportCorner>& corners, std::vector<std::size_t>& objectStarts) {
    objectStarts.push_back(corners.size());
    for (std::int32_t index : object.indices) {
        if (index < 0 || static_cast<std::size_t>(index) >= object.vertices.size()) continue;
        const MeshVertex& v = object.vertices[static_cast<std::size_t>(index)];
        ExportCorner c;
        // Skinned objects are written as placed by their world matrix; the
        // bone pose is applied by the skin code once it exists.
        c.position = transformPoint(v.position, object.worldMatrix);
        c.normal = v.normal;
        c.texcoord = v.texcoord;
        c.key = {quantise(c.position.x), quantise(c.position.y), quantise(c.position.z)};
        corners.push_back(c);
    }
    // Whole triangles only.
    corners.resize(objectStarts.back() + (corners.size() - objectStarts.back()) / 3 * 3);
}

}  // namespace

std::vector<const SceneObject*> exportableObjects(const Scene& scene) {
    std::vector<const SceneObject*> out;
    std::unordered_set<const SceneObject*> seen;
    const auto visit = [&](const SceneObject* object, auto& self) -> void {
        if (object == nullptr || !scene.isSaved(*object) || !seen.insert(object).second) return;
        out.push_back(object);
        for (const SceneObject* child : object->children) self(child, self);
    };
    for (const auto& object : scene.objects()) {
        if (object->parent == nullptr) visit(object.get(), visit);
    }
    return out;
}

std::string objText(const std::vector<const SceneObject*>& objects) {
    std::vector<ExportCorner> corners;
    std::vector<std::size_t> objectStarts;
    for (const SceneObject* object : objects) collect(*object, corners, objectStarts);

    // Weld groups by position, numbered in order of first appearance; their
    // normal is the normalised mean of their members'.
    std::vector<std::uint32_t> order(corners.size());
    for (std::uint32_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::uint32_t a, std::uint32_t b) { return corners[a].key < corners[b].key; });
    std::vector<std::uint32_t> leaderOf(corners.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        const bool sameAsPrevious = i > 0 && corners[order[i]].key == corners[order[i - 1]].key;
        leaderOf[order[i]] = sameAsPrevious ? leaderOf[order[i - 1]] : order[i];
    }
    std::vector<std::uint32_t> leaders;
    std::vector<Vec3> normalSums;
    std::vector<std::int32_t> groupOfLeader(corners.size(), -1);
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const std::uint32_t leader = leaderOf[i];
        if (groupOfLeader[leader] < 0) {
            groupOfLeader[leader] = static_cast<std::int32_t>(leaders.size());
            leaders.push_back(leader);
            normalSums.push_back({});
        }
        corners[i].weldGroup = groupOfLeader[leader];
        normalSums[static_cast<std::size_t>(corners[i].weldGroup)] += corners[i].normal;
    }
    // Texture coordinates, each distinct value once.
    std::map<std::pair<float, float>, std::int32_t> texcoordIndex;
    std::vector<Vec2> texcoords;
    for (ExportCorner& c : corners) {
        const auto [it, added] = texcoordIndex.emplace(std::make_pair(c.texcoord.x, c.texcoord.y),
                                                       static_cast<std::int32_t>(texcoords.size()));
        if (added) texcoords.push_back(c.texcoord);
        c.texcoordIndex = it->second;
    }

    std::string out;
    out.reserve(corners.size() * 40 + leaders.size() * 80);
    for (std::uint32_t leader : leaders) {
        const Vec3 p = corners[leader].position;
        out += "v ";
        appendNumber(out, -p.x * kFileUnitsPerSceneUnit);
        out += ' ';
        appendNumber(out, p.y * kFileUnitsPerSceneUnit);
        out += ' ';
        appendNumber(out, p.z * kFileUnitsPerSceneUnit);
        out += " \r\n";
    }
    for (Vec2 t : texcoords) {
        out += "vt ";
        appendNumber(out, t.x);
        out += ' ';
        appendNumber(out, 1.0f - t.y);  // stored flipped on import
        out += " \r\n";
    }
    for (const Vec3& sum : normalSums) {
        const Vec3 n = normalize(sum);
        out += "vn ";
        appendNumber(out, -n.x);  // mirrored with the positions
        out += ' ';
        appendNumber(out, n.y);
        out += ' ';
        appendNumber(out, n.z);
        out += " \r\n";
    }
    std::size_t object = 0;
    std::size_t written = SIZE_MAX;
    for (std::size_t t = 0; t + 2 < corners.size(); t += 3) {
        while (object + 1 < objectStarts.size() && objectStarts[object + 1] <= t) ++object;
        if (object != written) {
            out += "g " + objects[object]->name + "\r\n";
            written = object;
        }
        out += 'f';
        for (int k = 2; k >= 0; --k) {
            const ExportCorner& c = corners[t + static_cast<std::size_t>(k)];
            out += ' ';
            appendIndex(out, c.weldGroup + 1);
            out += '/';
            appendIndex(out, c.texcoordIndex + 1);
            out += '/';
            appendIndex(out, c.weldGroup + 1);
        }
        out += " \r\n";
    }
    return out;
}

std::filesystem::path objExportPath(const std::filesystem::path& chosen) {
    std::string ext = chosen.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::toupper(c); });
    if (ext == ".OBJ") return chosen;
    std::filesystem::path out = chosen;
    out += ".obj";
    return out;
}

bool exportObj(const std::filesystem::path& path, const Scene& scene, std::string& error) {
    const std::string text = objText(exportableObjects(scene));
    // Written beside the target and renamed over it: a failed export leaves
    // an older file as it was, and a FIFO or device is never written to.
    std::string why;
    if (!replaceFileSafely(path, text, &why)) {
        error = "cannot write " + textFromPath(path) + ": " + why;
        return false;
    }
    return true;
}

}  // namespace morvanex
