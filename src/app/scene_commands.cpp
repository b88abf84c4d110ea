#include "app/scene_commands.h"

#include <ostream>
#include <string_view>

#include "app/command_line.h"
#include "app/gallery_command.h"
#include "app/import_info.h"
#include "app/model_import.h"
#include "app/render_command.h"
#include "base/text_encoding.h"
#include "import/model_file.h"
#include "import/obj_writer.h"
#include "modeling/object_transform.h"
#include "render/camera.h"
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

namespace {

// `morvanex info` of a model file: what importing it would add.
int modelInfo(const std::string& file, bool json, std::ostream& out, std::ostream& err) {
    const std::filesystem::path path(file);
    const ImportResult result = importModelFile(path);
    const ModelFormat format = modelFormatOf(path);
    const std::string shownFile = validUtf8(file);
    if (json) out << importInfoJson(result, format, shownFile);
    if (!result.ok()) {
        complain(err, file, result.error);
        return kSceneCommandFailed;
    }
    if (!json) out << importInfoText(result, format, shownFile);
    if (result.report.damaged()) {
        complain(err, file, "damaged: what could not be read was left out (see the report)");
        return kSceneCommandDamaged;
    }
    return kSceneCommandOk;
}

}  // namespace

int runInfoCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    const ParsedArguments parsed = parseArguments(arguments, {"--json"}, 1);
    if (!parsed.error.empty()) return usageError(err, kInfo, parsed.error);
    const bool json = given(parsed, "--json");
    const std::string& file = parsed.files[0];
    if (modelFormatOf(std::filesystem::path(file)) != ModelFormat::None) return modelInfo(file, json, out, err);

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

namespace {

// What convert read into its scene, and how many records that was.
struct ConvertInput {
    int status = kSceneCommandOk;  // kSceneCommandFailed: stop, with the reason said
    bool damaged = false;
    bool stop = false;             // damaged and not to be written
    std::int64_t objectsRead = 0;
};

// A scene file, read whole; damage stops the conversion unless kept.
ConvertInput readSceneForConvert(const std::string& input, bool keepDamaged, Scene& scene, std::ostream& err) {
    ConvertInput in;
    const std::filesystem::path inputPath(input);
    const SceneReadReport report = readSceneFile(inputPath, scene, commandLineReadOptions(inputPath));
    if (!wasRead(report)) {
        complain(err, input, describeReadReport(report));
        in.status = kSceneCommandFailed;
        in.stop = true;
        return in;
    }
    in.objectsRead = report.objectRecordsRead;
    in.damaged = report.status == ReadStatus::Damaged;
    if (!in.damaged) return in;
    complain(err, input, describeReadReport(report));
    if (!keepDamaged) {
        // Writing would make the loss permanent without anyone noticing.
        complain(err, input,
                 "not converted: the rest would be lost (read: " + readProgressText(report) +
                     "); --keep-damaged writes what could be read");
        in.stop = true;
        return in;
    }
    complain(err, input, "--keep-damaged: writing what could be read (" + readProgressText(report) + ")");
    return in;
}

// A model imported into the empty scene; its report goes to stderr, and
// damage stops the conversion unless kept, as for a scene file.
ConvertInput importForConvert(const std::string& input, bool keepDamaged, Scene& scene, std::ostream& err) {
    ConvertInput in;
    const std::size_t before = scene.objectCount();
    scene.resetLights();  // the lights the editor gives a new scene
    const ImportResult result = importModelIntoScene(std::filesystem::path(input), scene);
    if (!result.ok()) {
        complain(err, input, result.error);
        in.status = kSceneCommandFailed;
        in.stop = true;
        return in;
    }
    for (const std::string& line : importReportLines(result.report)) {
        complain(err, input, (line.rfind("damage: ", 0) == 0 ? "" : "warning: ") + line);
    }
    // The scene opens looking at the model, as the editor shows it after the import.
    CameraState camera;
    placeCameraAfterImport(camera, scene, result, 0, 0);
    storeCameraInScene(camera, scene);
    in.objectsRead = static_cast<std::int64_t>(scene.objectCount() - before);
    in.damaged = result.report.damaged();
    if (in.damaged && !keepDamaged) {
        complain(err, input, "not converted: what damage made unreadable is missing; --keep-damaged writes the rest");
        in.stop = true;
    } else if (in.damaged) {
        complain(err, input, "--keep-damaged: writing what could be read");
    }
    return in;
}

int writeObjForConvert(const std::string& output, Scene& scene, std::ostream& out, std::ostream& err) {
    // The export writes objects as placed: their world matrices first.
    rebuildWorldMatrices(scene);
    std::string error;
    if (!exportObj(std::filesystem::path(output), scene, error)) {
        complain(err, output, error);
        return kSceneCommandFailed;
    }
    out << validUtf8(output) << ": " << counted(static_cast<std::int64_t>(exportableObjects(scene).size()), "object", "objects")
        << " written as OBJ\n";
    return kSceneCommandOk;
}

int writeSceneForConvert(const std::string& input, const std::string& output, const ConvertInput& in,
                         Scene& scene, std::ostream& out, std::ostream& err) {
    const SceneWriteResult written = writeSceneFile(std::filesystem::path(output), scene, SceneWriteOptions{});
    if (!written.ok) {
        complain(err, output, written.error);
        return kSceneCommandFailed;
    }
    // The writer leaves out what it never saves; say so rather than lose it quietly.
    if (written.objectsWritten < in.objectsRead) {
        complain(err, input,
                 "warning: " + std::to_string(in.objectsRead - written.objectsWritten) + " of the " +
                     std::to_string(in.objectsRead) + " object records read were not written");
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
    return kSceneCommandOk;
}

}  // namespace

int runConvertCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    const ParsedArguments parsed = parseArguments(arguments, {"--keep-damaged"}, 2);
    if (!parsed.error.empty()) return usageError(err, kConvert, parsed.error);
    const bool keepDamaged = given(parsed, "--keep-damaged");
    const std::string& input = parsed.files[0];
    const std::string& output = parsed.files[1];
    const ModelFormat outputFormat = modelFormatOf(std::filesystem::path(output));
    if (outputFormat == ModelFormat::ThreeDs || outputFormat == ModelFormat::Collada) {
        return usageError(err, kConvert, "OUT is written as a scene file or as OBJ (.obj); 3DS and COLLADA are only read");
    }

    // The whole file is read before anything is written, and the write goes
    // through a temporary file renamed over the target, so OUT may be IN.
    Scene scene;
    const ConvertInput in = modelFormatOf(std::filesystem::path(input)) != ModelFormat::None
                                ? importForConvert(input, keepDamaged, scene, err)
                                : readSceneForConvert(input, keepDamaged, scene, err);
    if (in.stop) return in.status == kSceneCommandFailed ? kSceneCommandFailed : kSceneCommandDamaged;
    const int written = outputFormat == ModelFormat::Obj ? writeObjForConvert(output, scene, out, err)
                                                         : writeSceneForConvert(input, output, in, scene, out, err);
    if (written != kSceneCommandOk) return written;
    return in.damaged ? kSceneCommandDamaged : kSceneCommandOk;
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
