#include "labels/label_source.h"

#include <charconv>
#include <cstdio>
#include <map>
#include <optional>

#include "base/text_encoding.h"

namespace morvanex {
namespace {

std::vector<std::string_view> splitTabs(std::string_view line) {
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t tab = line.find('\t');
        fields.push_back(line.substr(0, tab));
        if (tab == std::string_view::npos) return fields;
        line.remove_prefix(tab + 1);
    }
}

std::optional<int> labelNumber(std::string_view text) {
    if (text.empty() || text.size() > 4) return std::nullopt;
    int number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size() || number < 0) return std::nullopt;
    return number;
}

// The Windows-1252 bytes of one entry, or the reason it cannot be written.
std::string toCp1252(std::string_view utf8, std::string& why) {
    std::string bytes;
    for (std::size_t pos = 0; pos < utf8.size();) {
        const std::size_t start = pos;
        const char32_t code = decodeUtf8(utf8, pos);
        if (code == U'\uFFFD' && utf8.substr(start, pos - start) != "\xEF\xBF\xBD") {
            why = "malformed UTF-8";
            return {};
        }
        if (code < 0x20 || code == 0x7F) {
            why = "control character";
            return {};
        }
        const std::optional<unsigned char> byte = cp1252FromCodePoint(code);
        if (!byte) {
            char name[16];
            std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(code));
            why = std::string("character ") + name + " has no Windows-1252 byte";
            return {};
        }
        bytes.push_back(static_cast<char>(*byte));
    }
    if (bytes.size() > kLongestLabel) why = "longer than " + std::to_string(kLongestLabel) + " bytes";
    return bytes;
}

}  // namespace

LabelSource parseLabelSource(std::string_view utf8) {
    LabelSource source;
    std::map<std::string, std::pair<std::string, int>> englishOfFrench;
    int lineNumber = 0;
    int previous = -1;
    auto fail = [&](const std::string& why) {
        source.errors.push_back("line " + std::to_string(lineNumber) + ": " + why);
    };
    while (!utf8.empty()) {
        ++lineNumber;
        const std::size_t end = utf8.find('\n');
        std::string_view line = utf8.substr(0, end);
        utf8.remove_prefix(end == std::string_view::npos ? utf8.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;

        const std::vector<std::string_view> fields = splitTabs(line);
        if (fields.size() < 3 || fields.size() > 4) {
            fail("expected number, French, English and an optional role, separated by tabs");
            continue;
        }
        const std::optional<int> number = labelNumber(fields[0]);
        if (!number || *number > kHighestLabelNumber) {
            fail("bad label number \"" + std::string(fields[0]) + "\"");
            continue;
        }
        if (*number <= previous) {
            fail("label " + std::to_string(*number) + " does not follow " + std::to_string(previous));
            continue;
        }
        previous = *number;

        std::string why;
        std::string french = toCp1252(fields[1], why);
        if (!why.empty()) {
            fail("French text of label " + std::to_string(*number) + ": " + why);
            continue;
        }
        std::string english = toCp1252(fields[2], why);
        if (!why.empty()) {
            fail("English text of label " + std::to_string(*number) + ": " + why);
            continue;
        }
        const auto [known, added] = englishOfFrench.try_emplace(french, english, *number);
        if (!added && known->second.first != english) {
            fail("label " + std::to_string(*number) + " repeats the French text of label " +
                 std::to_string(known->second.second) + " with another English text");
            continue;
        }
        const auto size = static_cast<std::size_t>(*number) + 1;
        source.french.resize(size);
        source.english.resize(size);
        source.french.back() = std::move(french);
        source.english.back() = std::move(english);
    }
    return source;
}

std::string labelFileBytes(const std::vector<std::string>& entries) {
    std::string bytes;
    for (const std::string& entry : entries) {
        bytes += entry;
        bytes += "\r\n";
    }
    return bytes;
}

}  // namespace morvanex
