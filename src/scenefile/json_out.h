// A compact JSON text built in order, for the descriptions the command-line
// jobs print (`morvanex info --json`). Commas come by themselves.
#pragma once

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/text_encoding.h"
#include "scene/math.h"
#include "scenefile/scene_info.h"

namespace morvanex {

// Shortest text that reads back as the same float, whatever the locale.
inline std::string shortestNumber(float value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

// Files hold " " where a file name is absent; "" reads as none too.
inline bool isStoredFileName(std::string_view name) { return !name.empty() && name != " "; }

class JsonOut {
public:
    void beginObject() { open('{'); }
    void endObject() { close('}'); }
    void beginArray() { open('['); }
    void endArray() { close(']'); }
    void key(std::string_view name) {
        separate();
        text_ += jsonQuoted(name);
        text_ += ':';
        afterKey_ = true;
    }
    void string(std::string_view utf8) {
        separate();
        text_ += jsonQuoted(utf8);
    }
    void text(std::string_view cp1252) { string(utf8FromCp1252(cp1252)); }
    // A file name, or null where the file holds none.
    void fileName(std::string_view cp1252) {
        if (isStoredFileName(cp1252)) text(cp1252);
        else null();
    }
    // JSON has no NaN nor infinities: such values are null.
    void number(float value) {
        separate();
        text_ += std::isfinite(value) ? shortestNumber(value) : "null";
    }
    void integer(std::int64_t value) {
        separate();
        text_ += std::to_string(value);
    }
    void boolean(bool value) {
        separate();
        text_ += value ? "true" : "false";
    }
    void null() {
        separate();
        text_ += "null";
    }
    void vec(const Vec3& v) {
        beginArray();
        for (float f : {v.x, v.y, v.z}) number(f);
        endArray();
    }
    void vec(const Vec4& v) {
        beginArray();
        for (float f : {v.x, v.y, v.z, v.w}) number(f);
        endArray();
    }
    std::string take() { return std::move(text_); }

private:
    void open(char bracket) {
        separate();
        text_ += bracket;
        first_.push_back(true);
    }
    void close(char bracket) {
        text_ += bracket;
        first_.pop_back();
    }
    void separate() {
        if (afterKey_) {
            afterKey_ = false;
            return;
        }
        if (first_.empty()) return;
        if (!first_.back()) text_ += ',';
        first_.back() = false;
    }

    std::string text_;
    std::vector<bool> first_;  // per open bracket: nothing written in it yet
    bool afterKey_ = false;
};

}  // namespace morvanex
