// Reading the two label files of the program folder into the label table.
// Entry n is line n + 1 of its file; a line ends at CR LF, CR or LF alike.
// A file that is missing or damaged never stops the program: its table
// stays as it was (empty at start) and widgets keep the texts they were
// built with.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "ui/label_table.h"

namespace morvanex {

class TraceLog;

inline constexpr const char* kFrenchLabelFileName = "libelles.txt";
inline constexpr const char* kEnglishLabelFileName = "libelles_en.txt";
// Longer lines keep their first kLabelLineLimit bytes.
inline constexpr std::size_t kLabelLineLimit = 1023;
// Far above any real label file; a larger file is refused before it is read.
inline constexpr std::uintmax_t kLabelFileLimit = 16u << 20;

// Appends one entry per line end found in `bytes`; a last line with no line
// end is not an entry. Returns the number of lines that were cut short.
std::size_t appendLabelLines(std::string_view bytes, std::vector<std::string>& table);

// Appends the entries of the file to `table`. Returns an empty text on
// success, else why the file was refused or read only in part.
std::string loadLabels(const std::filesystem::path& file, std::vector<std::string>& table);

// The language the user's system settings ask for.
inline Language languageFromLocale(bool frenchInterface) {
    return frenchInterface ? Language::French : Language::English;
}

// Both tables read from the program folder, one trace line for each file
// that could not be read whole.
LabelTable loadLabelTables(const std::filesystem::path& programFolder, Language language, const TraceLog& trace);

}  // namespace morvanex
