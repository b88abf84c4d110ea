// The interface texts are kept in one readable UTF-8 table (number, French,
// English, role) and turned at build time into the two label files the
// program reads: one Windows-1252 entry per line, entry n on line n + 1.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace morvanex {

// The longest entry the label reader keeps whole.
inline constexpr std::size_t kLongestLabel = 1023;
// Far beyond any number the interface uses; a larger one is a typing error.
inline constexpr int kHighestLabelNumber = 9999;

struct LabelSource {
    std::vector<std::string> french;   // Windows-1252, indexed by label number
    std::vector<std::string> english;
    std::vector<std::string> errors;   // "line N: why"; nothing is usable when not empty
};

// Rows "number<TAB>French<TAB>English[<TAB>role]"; lines starting with '#'
// and blank lines are skipped. Numbers must increase; the numbers left out
// become empty entries. Refused: malformed numbers, characters Windows-1252
// cannot write, control characters, entries longer than kLongestLabel bytes,
// and one French text given two different English texts (widgets find their
// label by the French text, so the second would show the first's English).
LabelSource parseLabelSource(std::string_view utf8);

// The label file bytes: every entry followed by CR LF.
std::string labelFileBytes(const std::vector<std::string>& entries);

}  // namespace morvanex
