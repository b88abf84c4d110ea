#include "platform/desktop.h"

#include "platform/help_opener.h"

#include <SDL.h>

#include <cctype>

namespace morvanex {

std::uint64_t highResolutionCounter() { return SDL_GetPerformanceCounter(); }

std::uint64_t highResolutionFrequency() { return SDL_GetPerformanceFrequency(); }

std::string userLanguageCode() {
    SDL_Locale* locales = SDL_GetPreferredLocales();
    if (locales == nullptr) return {};
    std::string code = locales[0].language != nullptr ? locales[0].language : "";
    SDL_free(locales);
    for (char& c : code) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return code;
}

bool isFrenchLanguage(const std::string& languageCode) { return languageCode == "fr"; }

bool openDocument(const std::filesystem::path& path) {
    std::string error;
    return openInBrowser(path, error);
}

void soundExclamationBeep() {}

}  // namespace morvanex
