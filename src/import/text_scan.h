// Small scanners over text held in memory, shared by the OBJ and MTL readers.
// They never read past `end`.
#pragma once

#include <charconv>
#include <cstdint>
#include <string_view>

namespace morvanex::scan {

inline bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

inline const char* skipBlanks(const char* p, const char* end) {
    while (p < end && isBlank(*p)) ++p;
    return p;
}

// The next blank-separated word; p moves past it.
inline std::string_view word(const char*& p, const char* end) {
    p = skipBlanks(p, end);
    const char* start = p;
    while (p < end && !isBlank(*p)) ++p;
    return {start, static_cast<std::size_t>(p - start)};
}

inline std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

// A float after blanks; false (p unchanged past the blanks) when none.
inline bool number(const char*& p, const char* end, float& out) {
    p = skipBlanks(p, end);
    const char* start = p;
    if (start < end && *start == '+') ++start;
    const auto [next, error] = std::from_chars(start, end, out);
    if (error == std::errc::result_out_of_range) {
        // Too large or too small for a float: still a number, so step over it.
        const char* q = start;
        while (q < end && !isBlank(*q)) ++q;
        out = 0.0f;
        p = q;
        return true;
    }
    if (error != std::errc{} || next == start) return false;
    p = next;
    return true;
}

// A signed integer, clamped to the int32 range (an index that large is out
// of range anyway).
inline bool integer(const char*& p, const char* end, std::int32_t& out) {
    const char* start = p;
    if (start < end && *start == '+') ++start;
    std::int64_t value = 0;
    const auto [next, error] = std::from_chars(start, end, value);
    if (next == start) return false;
    if (error == std::errc::result_out_of_range) {
        out = (start < end && *start == '-') ? INT32_MIN + 1 : INT32_MAX;
        const char* q = start + 1;
        while (q < end && (*q >= '0' && *q <= '9')) ++q;
        p = q;
        return true;
    }
    if (value > INT32_MAX) value = INT32_MAX;
    if (value < INT32_MIN + 1) value = INT32_MIN + 1;
    out = static_cast<std::int32_t>(value);
    p = next;
    return true;
}

}  // namespace morvanex::scan
