#include "app/scene_commands.h"

#include <ostream>
#include <string_view>

#include "app/command_line.h"
#include "app/gallery_command.h"
#include "app/render_command.h"
#include "base/text_encoding.h"
#include "scene/scene.h"
#include "scenefile/scene_info.h"
#include "scenefile/scene_writer.h"

namespace morvanex {
namespace {

constexpr std::string_view kInfo = "info";
constexpr std::string_view kConvert = "convert";
constexpr std::string_view kRender = "render";
constexpr std::string_view kGallery = "gallery";  // not in the usage: a developer's view of the toolkit

// Options and file names of one subcommand's arguments.
struct ParsedArguments {
    std::vector<std::string> files;
    std::vector<std::string> flags;  // the known options that were given
    std::string error;               // empty when the arguments are usable
};

// Words starting with "-" are options up to a "--"; everything else is a
// file. A lone "-" is a file name like any other.
ParsedArguments parseArguments(const std::vector<std::string>& arguments, const std::vector<std::string_view>& known,
                               std::size_t fileCount) {
    ParsedArguments parsed;
    bool optionsEnded = false;
    for (const std::string& word : arguments) {
        if (!optionsEnded && word == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && word.size() > 1 && word[0] == '-') {
            bool isKnown = false;
            for (std::string_view option : known) isKnown = isKnown || word == option;
            if (!isKnown) {
                parsed.error = "unknown option: " + validUtf8(word);
                return parsed;
            }
            parsed.flags.push_back(word);
        } else {
            parsed.files.push_back(word);
        }
    }
    if (parsed.files.size() != fileCount) {
        parsed.error = fileCount == 1 ? "expected one file" : "expected " + std::to_string(fileCount) + " files";
    }
    return parsed;
}

bool given(const ParsedArguments& parsed, std::string_view flag) {
    for (const std::string& f : parsed.flags) {
        if (f == flag) return true;
    }
    return false;
}

int usageError(std::ostream& err, std::string_view command, const std::string& problem) {
    err << "morvanex " << command << ": " << problem << "\n\n" << usageText();
    return kSceneCommandFailed;
}

// "morvanex: FILE: what" on the error stream; `cp1252` texts come from the reader.
void complain(std::ostream& err, const std::string& file, std::string_view cp1252) {
    err << "morvanex: " << validUtf8(file) << ": " << utf8FromCp1252(cp1252) << "\n";
}

bool wasRead(const SceneReadReport& report) {
    return report.status == ReadStatus::Complete || report.status == ReadStatus::Damaged;
}

std::string counted(std::int64_t n, std::string_view one, std::string_view many) {
    return std::to_string(n) + " " + std::string(n == 1 ? one : many);
}

}  // namespace

const std::vector<std::string>& sceneSubcommands() {
    static const std::vector<std::string> names{std::string(kInfo), std::string(kConvert), std::string(kRender),
                                                std::string(kGallery)};
    return names;
}

SceneReadOptions commandLineReadOptions(const std::filesystem::path& file) {
    SceneReadOptions options;
    const std::filesystem::path folder = file.parent_path();
    options.textureFolder = folder / "Textures";
    options.sceneFolder = folder / file.stem();
    return options;
}

int runInfoCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    const ParsedArguments parsed = parseArguments(arguments, {"--json"}, 1);
    if (!parsed.error.empty()) return usageError(err, kInfo, parsed.error);
    const bool json = given(parsed, "--json");
    const std::string& file = parsed.files[0];

    Scene scene;
    const std::filesystem::path path(file);
    const SceneReadReport report = readSceneFile(path, scene, commandLineReadOptions(path));
    const std::string shownFile = validUtf8(file);
    // A program reading --json output gets an object whatever happened.
    if (json) out << sceneInfoJson(scene, report, shownFile);
    if (!wasRead(report)) {
        complain(err, file, describeReadReport(report));
        return kSceneCommandFailed;
    }
    if (!json) out << sceneInfoText(scene, report, shownFile);
    if (report.status == ReadStatus::Damaged) {
        complain(err, file, describeReadReport(report));
        return kSceneCommandDamaged;
    }
    return kSceneCommandOk;
}

int runConvertCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    const ParsedArguments parsed = parseArguments(arguments, {"--keep-damaged"}, 2);
    if (!parsed.error.empty()) return usageError(err, kConvert, parsed.error);
    const bool keepDamaged = given(parsed, "--keep-damaged");
    const std::string& input = parsed.files[0];
    const std::string& output = parsed.files[1];

    // The whole file is read before anything is written, and the write goes
    // through a temporary file renamed over the target, so OUT may be IN.
    Scene scene;
    const std::filesystem::path inputPath(input);
    const SceneReadReport report = readSceneFile(inputPath, scene, commandLineReadOptions(inputPath));
    if (!wasRead(report)) {
        complain(err, input, describeReadReport(report));
        return kSceneCommandFailed;
    }
    const bool damaged = report.status == ReadStatus::Damaged;
    if (damaged) {
        complain(err, input, describeReadReport(report));
        if (!keepDamaged) {
            // Writing would make the loss permanent without anyone noticing.
            complain(err, input,
                     "not converted: the rest would be lost (read: " + readProgressText(report) +
                         "); --keep-damaged writes what could be read");
            return kSceneCommandDamaged;
        }
        complain(err, input, "--keep-damaged: writing what could be read (" + readProgressText(report) + ")");
    }

    const SceneWriteResult written = writeSceneFile(std::filesystem::path(output), scene, SceneWriteOptions{});
    if (!written.ok) {
        complain(err, output, written.error);
        return kSceneCommandFailed;
    }
    // The writer leaves out what it never saves; say so rather than lose it quietly.
    if (written.objectsWritten < report.objectRecordsRead) {
        complain(err, input,
                 "warning: " + std::to_string(report.objectRecordsRead - written.objectsWritten) + " of the " +
                     std::to_string(report.objectRecordsRead) + " object records read were not written");
    }
    const auto animationsListed = static_cast<std::int64_t>(scene.animations().size());
    if (written.animationsWritten < animationsListed) {
        complain(err, input,
                 "warning: " + std::to_string(animationsListed - written.animationsWritten) + " of the " +
                     std::to_string(animationsListed) + " animations read were not written");
    }
    out << validUtf8(output) << ": " << counted(written.objectsWritten, "object", "objects") << " and "
        << counted(written.animationsWritten, "animation", "animations") << " written as "
        << utf8FromCp1252(kNewestFileTag) << "\n";
    return damaged ? kSceneCommandDamaged : kSceneCommandOk;
}

int runSceneCommand(const std::string& name, const std::vector<std::string>& arguments, std::ostream& out,
                    std::ostream& err) {
    if (name == kInfo) return runInfoCommand(arguments, out, err);
    if (name == kConvert) return runConvertCommand(arguments, out, err);
    if (name == kRender) return runRenderCommand(arguments, out, err);
    if (name == kGallery) return runGalleryCommand(arguments, out, err);
    err << "morvanex: unknown subcommand: " << validUtf8(name) << "\n\n" << usageText();
    return kSceneCommandFailed;
}

}  // namespace morvanex
