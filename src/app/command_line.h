// The program's command line: `morvanex [file]` runs the editor; subcommands
// (`morvanex NAME ...`) run one job without the interface; --help and
// --version print and exit.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace morvanex {

struct CommandLine {
    enum class Mode { Editor, Help, Version, Subcommand, Error };
    Mode mode = Mode::Editor;
    std::string subcommand;                 // Mode::Subcommand
    std::vector<std::string> arguments;     // what follows the subcommand
    std::optional<std::string> sceneFile;   // Mode::Editor: the file to open after start-up (as given, UTF-8)
    std::string error;                      // Mode::Error
};

// argv[0] excluded. Subcommands known to the program are named in `subcommands`.
CommandLine parseCommandLine(const std::vector<std::string>& args, const std::vector<std::string>& subcommands);

// True for the files the editor opens from its command line: extension mrx,
// tut, 3ds, obj or dae, in any case. Paths are kept exactly as given.
bool isOpenableFile(const std::string& path);

// The upper-cased extension without its dot ("MRX"); empty when there is none.
std::string upperExtension(const std::string& path);

std::string usageText();
std::string versionText();

}  // namespace morvanex
