#include "platform/desktop.h"

#include <SDL.h>

#include <cctype>
#include <cstdio>

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
    const std::u8string u8 = std::filesystem::absolute(path).u8string();
    const std::string url = "file://" + std::string(u8.begin(), u8.end());
    return SDL_OpenURL(url.c_str()) == 0;
}

void soundExclamationBeep() {
    // SDL has no system sound; the terminal bell is the closest stand-in.
    std::fputc('\a', stderr);
    std::fflush(stderr);
}

}  // namespace morvanex
