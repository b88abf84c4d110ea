// morvanex: the editor, and the jobs it runs from the command line.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/scene_commands.h"
#include "app/shell.h"
#include "platform/system_folders.h"

int main(int argc, char** argv) {
    using namespace morvanex;
    const std::vector<std::string> args(argv + 1, argv + argc);
    const CommandLine line = parseCommandLine(args, sceneSubcommands());
    switch (line.mode) {
    case CommandLine::Mode::Help: std::fputs(usageText().c_str(), stdout); return 0;
    case CommandLine::Mode::Version: std::fputs(versionText().c_str(), stdout); return 0;
    case CommandLine::Mode::Error:
        std::fprintf(stderr, "morvanex: %s\n\n%s", line.error.c_str(), usageText().c_str());
        return 2;
    case CommandLine::Mode::Subcommand: return runSceneCommand(line.subcommand, line.arguments, std::cout, std::cerr);
    case CommandLine::Mode::Editor: break;
    }
    ShellOptions options;
    options.folders = systemFolders(executableFolder(), processEnvironment());
    options.commandLineFile = line.sceneFile;
    options.startScene = StartScene::Play;
    Shell shell(std::move(options));
    const int code = shell.run();
    if (!shell.failureReason().empty()) std::fprintf(stderr, "morvanex: %s\n", shell.failureReason().c_str());
    return code;
}
