#include "ui/label_files.h"

#include <fstream>

#include "base/text_encoding.h"
#include "base/trace_log.h"

namespace morvanex {

std::size_t appendLabelLines(std::string_view bytes, std::vector<std::string>& table) {
    std::size_t cut = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char byte = bytes[i];
        if (byte != '\r' && byte != '\n') continue;
        std::string_view line = bytes.substr(start, i - start);
        if (line.size() > kLabelLineLimit) {
            line = line.substr(0, kLabelLineLimit);
            ++cut;
        }
        table.emplace_back(line);
        // The LF of a CR LF pair belongs to the same line end.
        if (byte == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        start = i + 1;
    }
    return cut;
}

std::string loadLabels(const std::filesystem::path& file, std::vector<std::string>& table) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error) return "cannot be read (" + error.message() + ")";
    if (size > kLabelFileLimit) return "refused: " + std::to_string(size) + " bytes is far too large for a label file";
    std::ifstream in(file, std::ios::binary);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (!in || !in.read(bytes.data(), static_cast<std::streamsize>(bytes.size())))
        return "cannot be read";
    const std::size_t cut = appendLabelLines(bytes, table);
    if (cut > 0) return std::to_string(cut) + " lines longer than " + std::to_string(kLabelLineLimit) + " bytes cut short";
    return {};
}

LabelTable loadLabelTables(const std::filesystem::path& programFolder, Language language, const TraceLog& trace) {
    std::vector<std::string> french;
    std::vector<std::string> english;
    for (const auto& [name, table] : {std::pair{kFrenchLabelFileName, &french}, std::pair{kEnglishLabelFileName, &english}}) {
        const std::filesystem::path file = programFolder / name;
        const std::string why = loadLabels(file, *table);
        if (!why.empty()) trace.line("Label file " + textFromPath(file) + ": " + why);
    }
    LabelTable labels(std::move(french), std::move(english));
    labels.language = language;
    return labels;
}

}  // namespace morvanex
