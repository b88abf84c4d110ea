#include "app/interface_language.h"

#include <cstdint>
#include <string_view>
#include <system_error>

#include "base/file_bytes.h"
#include "base/safe_file.h"

namespace morvanex {
namespace {

constexpr std::string_view kFrenchCode = "fr";
constexpr std::string_view kEnglishCode = "en";
// A longer file is not ours: no reason to read it all.
constexpr std::uintmax_t kLargestLanguageFile = 64;

}  // namespace

std::optional<Language> rememberedLanguage(const std::filesystem::path& documentFolder) {
    const std::filesystem::path file = documentFolder / kLanguageFileName;
    std::error_code status;
    if (!std::filesystem::is_regular_file(file, status)) return std::nullopt;
    const std::uintmax_t size = std::filesystem::file_size(file, status);
    if (status || size > kLargestLanguageFile) return std::nullopt;
    const FileBytes bytes(file);
    if (!bytes.opened()) return std::nullopt;
    std::string text(bytes.text());
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
    if (text == kFrenchCode) return Language::French;
    if (text == kEnglishCode) return Language::English;
    return std::nullopt;
}

bool rememberLanguage(const std::filesystem::path& documentFolder, Language language, std::string& error) {
    std::error_code status;
    std::filesystem::create_directories(documentFolder, status);
    const std::string text = std::string(language == Language::French ? kFrenchCode : kEnglishCode) + "\r\n";
    return replaceFileSafely(documentFolder / kLanguageFileName, text, &error);
}

}  // namespace morvanex
