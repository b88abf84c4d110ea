// Where the program finds its resources and keeps its files.
//
// Paths here are native file-system paths (UTF-8 on Linux); the rest of the
// program turns them into its 8-bit texts through the text converters.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace morvanex {

// Name of the folder the program keeps beside the user's data and documents.
inline constexpr const char* kProductFolderName = "Morvanexv4";

// Puts every writable folder under one root, so tests never touch the real home.
inline constexpr const char* kHomeOverrideVariable = "MORVANEX_HOME";

struct SystemFolders {
    std::filesystem::path programFolder;      // the executable's folder: read-only resources
    std::filesystem::path programDataFolder;  // trace log, start scenes
    std::filesystem::path documentFolder;     // the user's scenes, recent list, archive
    std::filesystem::path musicFolder;        // where the sound dialog starts
};

// Reads one environment variable; nothing when unset or empty.
using EnvironmentLookup = std::function<std::optional<std::string>(const std::string&)>;

EnvironmentLookup processEnvironment();

// The documents and music folders the desktop names in its user-dirs file
// ("XDG_DOCUMENTS_DIR" = "$HOME/Documents" style lines); nothing when absent.
std::optional<std::filesystem::path> userDirFromConfig(const std::string& configText,
                                                       const std::string& key,
                                                       const std::filesystem::path& home);

SystemFolders systemFolders(const std::filesystem::path& programFolder, const EnvironmentLookup& env);

// The folder of the running executable (falls back to the current folder).
std::filesystem::path executableFolder();

// Creates the folder and its parents when missing; false when it cannot exist.
bool ensureFolder(const std::filesystem::path& folder);

}  // namespace morvanex
