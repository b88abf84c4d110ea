// Subcommands that work on scene files without a window:
//
//   morvanex info FILE [--json]                     describe a scene file
//   morvanex convert IN OUT [--keep-damaged]        rewrite it as the newest version
//
// They take their arguments and output streams from the caller, so that the
// tests can run them in-process and read what they print.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

#include "scenefile/scene_reader.h"

namespace morvanex {

// Exit statuses of the scene subcommands.
inline constexpr int kSceneCommandOk = 0;
inline constexpr int kSceneCommandDamaged = 1;  // the file was read up to damage
inline constexpr int kSceneCommandFailed = 2;   // bad arguments, unreadable or unknown file, write failure

// The subcommand names, as parseCommandLine takes them.
const std::vector<std::string>& sceneSubcommands();

// How the subcommands read a file: textures are looked for in the
// "Textures" folder beside it, then in the scene's own folder (the file's
// path without its extension), as the editor does.
SceneReadOptions commandLineReadOptions(const std::filesystem::path& file);

// `arguments` are what follows the subcommand's name (UTF-8, as given).
int runInfoCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);
int runConvertCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

// Runs one of sceneSubcommands(); an unknown name is a usage error.
int runSceneCommand(const std::string& name, const std::vector<std::string>& arguments, std::ostream& out,
                    std::ostream& err);

}  // namespace morvanex
