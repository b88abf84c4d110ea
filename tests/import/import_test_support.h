// Helpers shared by the import tests: side files held in memory and quick
// looks at the objects an import built.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "import/import_result.h"

namespace morvanex::testing {

// Side files served from a map of name -> bytes.
inline SideFiles memoryFiles(std::map<std::string, std::string> files) {
    auto shared = std::make_shared<std::map<std::string, std::string>>(std::move(files));
    SideFiles side;
    side.read = [shared](std::string_view name) -> std::optional<std::string> {
        const auto it = shared->find(std::string(name));
        if (it == shared->end()) return std::nullopt;
        return it->second;
    };
    side.locate = [shared](std::string_view name) -> std::optional<std::string> {
        if (shared->count(std::string(name)) == 0) return std::nullopt;
        return "/memory/" + std::string(name);
    };
    return side;
}

inline bool near(Vec3 a, Vec3 b, float eps = 1e-4f) {
    return std::abs(a.x - b.x) <= eps && std::abs(a.y - b.y) <= eps && std::abs(a.z - b.z) <= eps;
}
inline bool near(Vec2 a, Vec2 b, float eps = 1e-4f) {
    return std::abs(a.x - b.x) <= eps && std::abs(a.y - b.y) <= eps;
}

inline std::size_t totalTriangles(const ImportResult& r) {
    std::size_t n = 0;
    for (const auto& o : r.objects) n += o->indices.size() / 3;
    return n;
}

// Every index of every object lies inside its vertices.
inline bool indicesSound(const ImportResult& r) {
    for (const auto& o : r.objects) {
        if (o->indices.size() % 3 != 0) return false;
        for (std::int32_t i : o->indices) {
            if (i < 0 || static_cast<std::size_t>(i) >= o->vertices.size()) return false;
        }
    }
    return true;
}

}  // namespace morvanex::testing
