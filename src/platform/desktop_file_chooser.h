// The desktop's own file chooser, run as a child program: zenity (GNOME and
// most desktops) or kdialog (KDE). It stands in for the system's open and
// save dialogs; when neither can run, the caller shows the built-in chooser.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_dialog_request.h"
#include "platform/system_folders.h"

namespace morvanex {

enum class DesktopChooser { None, Zenity, Kdialog };

// "builtin" forces the built-in chooser, "zenity" or "kdialog" that program;
// anything else (or unset) takes zenity when found, then kdialog.
inline constexpr const char* kFileDialogVariable = "MORVANEX_FILE_DIALOG";

// Whether an executable of that name lies in one of the PATH folders.
bool executableOnPath(std::string_view name, std::string_view searchPath);

// The chooser to run from the environment's setting and PATH; None for the
// built-in one.
DesktopChooser pickDesktopChooser(const EnvironmentLookup& env);

// The program's argument vectors (argv[0] included); texts are converted to
// UTF-8, and each extension is offered in lower and upper case.
std::vector<std::string> zenityArguments(const FileDialogRequest& request);
std::vector<std::string> kdialogArguments(const FileDialogRequest& request);
std::vector<std::string> chooserArguments(DesktopChooser chooser, const FileDialogRequest& request);

// How a chooser run ended.
struct DesktopChooserOutcome {
    bool answered = false;  // false: it could not start or failed; show the built-in chooser
    FileDialogAnswer path;  // meaningful when answered; nothing when cancelled
};

// The answer read from the chooser's exit status and standard output:
// status 0 with a path chooses it (the line end stripped), status 1 is a
// cancel (also a status 0 with nothing printed), anything else a failure.
DesktopChooserOutcome outcomeFromChooser(bool exitedNormally, int exitStatus, std::string_view output);

// Standard output and exit of a finished child program.
struct ChildResult {
    bool started = false;
    bool exitedNormally = false;  // false when a signal ended it
    int exitStatus = -1;
    std::string output;           // at most kChildOutputLimit bytes are kept
};
inline constexpr std::size_t kChildOutputLimit = 64 * 1024;

// Runs a program found on PATH with these arguments (no shell between) and
// waits for it, reading its standard output through a pipe.
ChildResult runChildProgram(const std::vector<std::string>& arguments);

// Runs the chooser for the request and waits for the user's answer.
DesktopChooserOutcome runDesktopChooser(DesktopChooser chooser, const FileDialogRequest& request);

}  // namespace morvanex
