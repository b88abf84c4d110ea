// Desktop services that need no window: the high-resolution counter, the
// user's language, opening a document with its own program, the beep.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace morvanex {

std::uint64_t highResolutionCounter();
std::uint64_t highResolutionFrequency();

// The user's preferred language as a lower-case code ("fr", "en"); empty when unknown.
std::string userLanguageCode();

// True when a language code selects the French interface.
bool isFrenchLanguage(const std::string& languageCode);

// Opens a file (the manual, say) with the program the desktop associates with it.
bool openDocument(const std::filesystem::path& path);

// The warning sound of a refused or unanswered action. Empty until the
// sound subsystem can play a system sound: the terminal bell it once wrote
// to stderr rang at every normal exit and showed up in every log.
void soundExclamationBeep();

}  // namespace morvanex
