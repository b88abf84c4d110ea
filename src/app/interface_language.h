// The interface language a person chose, kept between runs in the document
// folder beside the recent-file list: "langue.txt" holds "fr" or "en".
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "ui/label_table.h"

namespace morvanex {

inline constexpr const char* kLanguageFileName = "langue.txt";

// The language kept in the folder; nothing when none was kept or the file
// says something else (the user's locale then decides).
std::optional<Language> rememberedLanguage(const std::filesystem::path& documentFolder);

// Keeps the language for the next run; false with the reason in `error`.
bool rememberLanguage(const std::filesystem::path& documentFolder, Language language, std::string& error);

}  // namespace morvanex
