// The file dialogs the commands open. The desktop's chooser program runs
// when there is one (it is modal: the answer comes before chooseFile
// returns); otherwise, or when it cannot start, the built-in chooser panel
// is shown and answers later, when the user confirms or cancels it.
#pragma once

#include <filesystem>
#include <memory>

#include "platform/desktop_file_chooser.h"
#include "platform/file_dialog_request.h"
#include "platform/system_folders.h"

namespace morvanex {

class FileChooser;
class Interface;

class FileDialogs {
public:
    // The chooser is picked from the environment (MORVANEX_FILE_DIALOG,
    // PATH). `fallbackFolder`: where a request whose start folder is
    // missing opens in the built-in chooser.
    FileDialogs(Interface& interface, const EnvironmentLookup& environment, std::filesystem::path fallbackFolder);
    ~FileDialogs();
    FileDialogs(const FileDialogs&) = delete;
    FileDialogs& operator=(const FileDialogs&) = delete;

    // Asks for a file; `done` gets the path, or nothing when cancelled. A
    // built-in request still open is cancelled first. Once a file has been
    // chosen, every later request starts in that file's folder: the user
    // goes on where they left off rather than where the command would start.
    void chooseFile(const FileDialogRequest& request, FileDialogCallback done);
    // The folder of the last file chosen in this run; empty before.
    const std::filesystem::path& lastFolder() const { return lastFolder_; }

    // The desktop chooser in use; None once it failed to run (the built-in
    // chooser then serves the rest of the session).
    DesktopChooser desktopChooser() const { return desktop_; }
    // The built-in chooser, made on its first use; null before.
    FileChooser* builtinChooser() const { return chooser_.get(); }

private:
    Interface& interface_;
    DesktopChooser desktop_;
    std::filesystem::path fallbackFolder_;
    std::unique_ptr<FileChooser> chooser_;
    std::filesystem::path lastFolder_;
};

}  // namespace morvanex
