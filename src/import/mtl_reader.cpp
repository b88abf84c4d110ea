#include "import/mtl_reader.h"

#include <algorithm>

#include "import/text_scan.h"

namespace morvanex {

namespace {

Vec4 readColour(const char* p, const char* end, Vec4 previous, ImportReport& report) {
    float r = 0, g = 0, b = 0;
    if (!scan::number(p, end, r)) {
        // "Kd spectral ..." and "Kd xyz ..." forms are not read.
        report.count("material colours in a form not read");
        return previous;
    }
    if (!scan::number(p, end, g)) g = r;
    if (!scan::number(p, end, b)) b = g;
    return {r, g, b, previous.w};
}

bool isOptionValue(std::string_view w) {
    if (w == "on" || w == "off") return true;
    float f = 0;
    const char* p = w.data();
    return scan::number(p, w.data() + w.size(), f) && p == w.data() + w.size();
}

}  // namespace

const ObjMaterial* MtlLibrary::find(std::string_view name) const {
    for (auto it = materials.rbegin(); it != materials.rend(); ++it) {
        if (it->name == name) return &*it;
    }
    return nullptr;
}

std::string textureFileFromStatement(std::string_view rest) {
    const char* p = rest.data();
    const char* end = rest.data() + rest.size();
    for (;;) {
        const char* before = p;
        const std::string_view w = scan::word(p, end);
        if (w.size() < 2 || w.front() != '-') {
            p = before;
            break;
        }
        // An option: its values follow until the next word that is neither a
        // number nor on/off.
        for (;;) {
            const char* at = p;
            const std::string_view v = scan::word(p, end);
            if (v.empty() || !isOptionValue(v)) {
                p = at;
                break;
            }
        }
    }
    return std::string(scan::trim(std::string_view(p, static_cast<std::size_t>(end - p))));
}

void readMtl(std::string_view text, MtlLibrary& into, ImportReport& report) {
    ObjMaterial* current = nullptr;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t lineEnd = text.find('\n', at);
        if (lineEnd == std::string_view::npos) lineEnd = text.size();
        const char* p = text.data() + at;
        const char* end = text.data() + lineEnd;
        at = lineEnd + 1;
        const std::string_view key = scan::word(p, end);
        if (key.empty() || key.front() == '#') continue;
        const std::string_view rest = scan::trim(std::string_view(p, static_cast<std::size_t>(end - p)));
        if (key == "newmtl") {
            into.materials.push_back({});
            current = &into.materials.back();
            current->name = std::string(rest);
            continue;
        }
        if (current == nullptr) {
            report.count("material statements before any material, skipped");
            continue;
        }
        if (key == "Kd") {
            current->diffuse = readColour(p, end, current->diffuse, report);
        } else if (key == "Ks") {
            current->specular = readColour(p, end, current->specular, report);
        } else if (key == "d" || key == "Tr") {
            float value = 1.0f;
            const char* q = p;
            if (scan::word(q, end) == "-halo") p = q;
            if (scan::number(p, end, value)) {
                value = std::clamp(value, 0.0f, 1.0f);
                current->diffuse.w = key == "d" ? value : 1.0f - value;
            }
        } else if (key == "map_Kd") {
            current->diffuseMap = textureFileFromStatement(rest);
        }
    }
}

}  // namespace morvanex
