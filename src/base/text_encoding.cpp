#include "base/text_encoding.h"

#include <array>

namespace morvanex {
namespace {

// Code points of bytes 0x80 to 0x9F; 0xFFFD marks the bytes with no character.
constexpr std::array<char32_t, 32> kHighControlRange = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
    0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178,
};

bool isContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

}  // namespace

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

char32_t codePointFromCp1252(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) return kHighControlRange[byte - 0x80];
    return byte;
}

std::optional<unsigned char> cp1252FromCodePoint(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<unsigned char>(cp);
    if (cp == 0xFFFD) return std::nullopt;
    for (std::size_t i = 0; i < kHighControlRange.size(); ++i) {
        if (kHighControlRange[i] == cp) return static_cast<unsigned char>(0x80 + i);
    }
    return std::nullopt;
}

std::string utf8FromCp1252(std::string_view cp1252) {
    std::string out;
    out.reserve(cp1252.size() + cp1252.size() / 4);
    for (char c : cp1252) appendUtf8(out, codePointFromCp1252(static_cast<unsigned char>(c)));
    return out;
}

char32_t decodeUtf8(std::string_view s, std::size_t& pos) {
    if (pos >= s.size()) return 0xFFFD;
    const auto lead = static_cast<unsigned char>(s[pos]);
    std::size_t length = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        ++pos;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, cp = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, cp = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, cp = lead & 0x07, minimum = 0x10000;
    } else {
        ++pos;
        return 0xFFFD;
    }
    if (pos + length > s.size()) {
        ++pos;
        return 0xFFFD;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto b = static_cast<unsigned char>(s[pos + i]);
        if (!isContinuation(b)) {
            ++pos;
            return 0xFFFD;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    // Overlong forms, surrogates and values past Unicode are not characters.
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++pos;
        return 0xFFFD;
    }
    pos += length;
    return cp;
}

std::string cp1252FromUtf8(std::string_view utf8, char replacement) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const char32_t cp = decodeUtf8(utf8, pos);
        const auto byte = cp1252FromCodePoint(cp);
        out.push_back(byte ? static_cast<char>(*byte) : replacement);
    }
    return out;
}

std::filesystem::path pathFromText(std::string_view cp1252) {
    const std::string utf8 = utf8FromCp1252(cp1252);
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string textFromPath(const std::filesystem::path& path) {
    const std::u8string u8 = path.u8string();
    return cp1252FromUtf8(std::string_view(reinterpret_cast<const char*>(u8.data()), u8.size()));
}

}  // namespace morvanex
