#include "app/folders.h"

#include <system_error>
#include <utility>

namespace morvanex {

ProgramFolders programFolders(const SystemFolders& system) {
    ProgramFolders folders;
    folders.program = system.programFolder;
    folders.shaders = system.programFolder / kShadersFolderName;
    folders.interface = system.programFolder / kInterfaceFolderName;
    folders.examples = system.programFolder / kExamplesFolderName;
    folders.manual = system.programFolder / kManualName;
    folders.programData = system.programDataFolder;
    folders.documents = system.documentFolder;
    folders.archive = system.documentFolder / kArchiveFolderName;
    folders.music = system.musicFolder;
    return folders;
}

std::vector<std::filesystem::path> foldersToCreate(const ProgramFolders& folders) {
    return {folders.programData, folders.documents, folders.archive, folders.shaders, folders.interface};
}

std::optional<FolderProblem> createFolder(const std::filesystem::path& folder) {
    if (folder.empty()) return FolderProblem{folder, "no folder was named"};
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    std::error_code statusError;
    if (std::filesystem::is_directory(folder, statusError)) return std::nullopt;
    if (error) return FolderProblem{folder, error.message()};
    return FolderProblem{folder, "the path exists and is not a folder"};
}

FolderSetup setUpFolders(const SystemFolders& system) {
    FolderSetup setup;
    setup.folders = programFolders(system);
    for (const auto& folder : foldersToCreate(setup.folders)) {
        if (auto problem = createFolder(folder)) setup.problems.push_back(std::move(*problem));
    }
    return setup;
}

}  // namespace morvanex
