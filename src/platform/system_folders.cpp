#include "platform/system_folders.h"

#include <SDL.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <system_error>

namespace morvanex {
namespace {

std::string readWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::filesystem::path homeFolder(const EnvironmentLookup& env) {
    if (auto home = env("HOME")) return *home;
    return std::filesystem::current_path();
}

std::filesystem::path userDir(const EnvironmentLookup& env, const std::filesystem::path& home,
                              const std::string& key, const char* fallbackName) {
    std::filesystem::path configHome = home / ".config";
    if (auto xdg = env("XDG_CONFIG_HOME")) configHome = *xdg;
    const std::string config = readWholeFile(configHome / "user-dirs.dirs");
    if (auto named = userDirFromConfig(config, key, home)) return *named;
    return home / fallbackName;
}

}  // namespace

EnvironmentLookup processEnvironment() {
    return [](const std::string& name) -> std::optional<std::string> {
        const char* value = std::getenv(name.c_str());
        if (value == nullptr || *value == '\0') return std::nullopt;
        return std::string(value);
    };
}

std::optional<std::filesystem::path> userDirFromConfig(const std::string& configText, const std::string& key,
                                                       const std::filesystem::path& home) {
    std::istringstream lines(configText);
    std::string line;
    const std::string prefix = key + "=\"";
    std::optional<std::filesystem::path> found;  // the last assignment wins, as in a shell
    while (std::getline(lines, line)) {
        const auto start = line.find_first_not_of(" \t");
        if (start == std::string::npos) continue;
        line.erase(0, start);
        if (line.rfind(prefix, 0) != 0) continue;
        const auto close = line.find('"', prefix.size());
        if (close == std::string::npos) continue;
        std::string value = line.substr(prefix.size(), close - prefix.size());
        if (value == "$HOME" || value == "$HOME/") {
            found = home;
        } else if (value.rfind("$HOME/", 0) == 0) {
            found = home / value.substr(6);
        } else if (!value.empty() && value[0] == '/') {
            found = std::filesystem::path(value);
        }
    }
    return found;
}

SystemFolders systemFolders(const std::filesystem::path& programFolder, const EnvironmentLookup& env) {
    SystemFolders folders;
    folders.programFolder = programFolder;
    if (auto root = env(kHomeOverrideVariable)) {
        const std::filesystem::path base = *root;
        folders.programDataFolder = base / "data" / kProductFolderName;
        folders.documentFolder = base / "Documents" / kProductFolderName;
        folders.musicFolder = base / "Music";
        return folders;
    }
    const std::filesystem::path home = homeFolder(env);
    std::filesystem::path dataHome = home / ".local" / "share";
    if (auto xdg = env("XDG_DATA_HOME")) dataHome = *xdg;
    folders.programDataFolder = dataHome / kProductFolderName;
    folders.documentFolder = userDir(env, home, "XDG_DOCUMENTS_DIR", "Documents") / kProductFolderName;
    folders.musicFolder = userDir(env, home, "XDG_MUSIC_DIR", "Music");
    return folders;
}

std::filesystem::path executableFolder() {
    char* base = SDL_GetBasePath();
    if (base == nullptr) return std::filesystem::current_path();
    std::filesystem::path folder = std::filesystem::path(base).parent_path();  // drops the trailing separator
    SDL_free(base);
    return folder;
}

bool ensureFolder(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return std::filesystem::is_directory(folder, error);
}

}  // namespace morvanex
