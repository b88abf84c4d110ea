// The program's own folders, built from the platform's roots: where the
// read-only resources lie (beside the executable), where the shared data and
// the user's scenes are kept, and which of them are created at start-up.
//
// Paths are native file-system paths, kept exactly as built: nothing is
// lower-cased, so they stay valid on case-sensitive file systems.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/system_folders.h"

namespace morvanex {

inline constexpr const char* kShadersFolderName = "shaders";
inline constexpr const char* kInterfaceFolderName = "UI";
inline constexpr const char* kExamplesFolderName = "exemples";
inline constexpr const char* kArchiveFolderName = "Archive";
// One manual, in English, for both interface languages for now.
inline constexpr const char* kManualName = "manual.html";

struct ProgramFolders {
    std::filesystem::path program;      // the executable's folder
    std::filesystem::path shaders;      // shader sources, their compiled cache, fonts (created)
    std::filesystem::path interface;    // interface images (created)
    std::filesystem::path examples;     // example scenes (never created: they come with the program)
    std::filesystem::path manual;       // the user manual (a file)
    std::filesystem::path programData;  // trace log, start scenes (created)
    std::filesystem::path documents;    // the user's scenes, the recent list (created)
    std::filesystem::path archive;      // scene backups (created)
    std::filesystem::path music;        // where the sound dialog starts (never created)
};

// Pure: builds the paths, touches nothing.
ProgramFolders programFolders(const SystemFolders& system);

// The folders created when missing, in the order they are made.
std::vector<std::filesystem::path> foldersToCreate(const ProgramFolders& folders);

struct FolderProblem {
    std::filesystem::path folder;
    std::string reason;  // the system's message, or why the path is not a folder
};

// Creates the folder and its parents when missing. Nothing when the folder
// exists afterwards; otherwise why not (a file in the way counts as failure).
std::optional<FolderProblem> createFolder(const std::filesystem::path& folder);

struct FolderSetup {
    ProgramFolders folders;
    std::vector<FolderProblem> problems;  // the folders that could not be created

    bool ok() const { return problems.empty(); }
};

// Builds the folders and creates every one that must exist; each folder that
// cannot be made is listed, and the others are still attempted.
FolderSetup setUpFolders(const SystemFolders& system);

}  // namespace morvanex
