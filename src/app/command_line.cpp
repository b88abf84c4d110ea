#include "app/command_line.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>

#include "platform/help_opener.h"
#include "platform/system_folders.h"
#include "scene/scene_limits.h"

namespace morvanex {

std::string upperExtension(const std::string& path) {
    std::string ext = std::filesystem::path(path).extension().string();
    if (ext.empty()) return {};
    ext.erase(0, 1);
    for (char& c : ext) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return ext;
}

bool isOpenableFile(const std::string& path) {
    static constexpr std::array<const char*, 5> kOpenable = {"MRX", "TUT", "3DS", "OBJ", "DAE"};
    const std::string ext = upperExtension(path);
    return std::any_of(kOpenable.begin(), kOpenable.end(), [&](const char* e) { return ext == e; });
}

CommandLine parseCommandLine(const std::vector<std::string>& args, const std::vector<std::string>& subcommands) {
    CommandLine line;
    if (args.empty()) return line;
    const std::string& first = args[0];
    if (first == "--help" || first == "-h") {
        line.mode = CommandLine::Mode::Help;
        return line;
    }
    if (first == "--version") {
        line.mode = CommandLine::Mode::Version;
        return line;
    }
    if (std::find(subcommands.begin(), subcommands.end(), first) != subcommands.end()) {
        line.mode = CommandLine::Mode::Subcommand;
        line.subcommand = first;
        line.arguments.assign(args.begin() + 1, args.end());
        return line;
    }
    for (const std::string& arg : args) {
        if (arg.rfind("--", 0) == 0) {
            line.mode = CommandLine::Mode::Error;
            line.error = "unknown option: " + arg;
            return line;
        }
        // The first openable file wins; other words are ignored, as a
        // desktop launcher may add some.
        if (!line.sceneFile && isOpenableFile(arg)) line.sceneFile = arg;
    }
    return line;
}

std::string usageText() {
    return "Usage:\n"
           "  morvanex [FILE]      run the editor; FILE (.mrx, .tut, .3ds, .obj, .dae) is opened after start-up\n"
           "                       (a .3ds, .obj or .dae model is imported into a new scene)\n"
           "  morvanex --help      print this help\n"
           "  morvanex --version   print the program's version\n"
           "\n"
           "Scene and model files, without a window (models: .obj, .3ds, .dae):\n"
           "  morvanex info FILE [--json]\n"
           "      describe FILE: header, objects, animations, and where a damaged file stops;\n"
           "      for a model, what importing it would add and the import report;\n"
           "      --json prints one JSON object\n"
           "  morvanex convert IN OUT [--keep-damaged]\n"
           "      rewrite IN (a scene file or a model) as OUT: a scene file in the newest\n"
           "      version, or OBJ when OUT ends in .obj (OUT may be IN); a damaged IN is\n"
           "      refused unless --keep-damaged, which writes what could be read\n"
           "  morvanex render [FILE] -o OUT.png [--size WxH] [--time SECONDS] [--frames N]\n"
           "                  [--view east|west|south|north|top] [--frame-all] [--samples N]\n"
           "      draw FILE (or an empty scene) without the interface and write the last of N\n"
           "      frames (default 300, 1/60 s apart, from SECONDS) as a PNG of WxH pixels\n"
           "      (default 1280x720); --view looks from that side, --frame-all fits everything in;\n"
           "      edges are antialiased with up to N samples per pixel (default 8, 1 for none)\n"
           "  exit status: 0 done, 1 the file is damaged, 2 bad arguments or a file that\n"
           "      cannot be read or imported (or written)\n"
           "\n"
           "Environment:\n"
           "  MORVANEX_HOME        keep every file the program writes under this folder\n"
           "\n"
           "User manual (what the Help button opens):\n"
           "  " + manualPath(executableFolder()).string() + "\n";
}

std::string versionText() { return std::string(kProgramVersionLabel) + "\n"; }

}  // namespace morvanex
