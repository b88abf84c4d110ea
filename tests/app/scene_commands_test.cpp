// The scene subcommands run in-process on files in a temporary folder:
// exit statuses, what goes to stdout and stderr, and what is written.
#include "app/scene_commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/test_support.h"
#include "scene/scene.h"
#include "scenefile/scene_reader.h"
#include "scenefile/scene_writer.h"

namespace morvanex {
namespace {

namespace fs = std::filesystem;
using test::readBytes;
using test::writeBytes;

using test::Outcome;
using test::contains;
Outcome run(const std::string& command, const std::vector<std::string>& arguments) {
    return test::runCommand(command, arguments);
}

MeshVertex vertexAt(float x, float y) {
    MeshVertex v;
    v.position = {x, y, 0.0f};
    v.normal = {0.0f, 0.0f, 1.0f};
    return v;
}

// Three objects (one with an embedded texture, one a child), one animation.
void buildScene(Scene& scene) {
    scene.eyeTarget = {10.0f, 20.0f, 30.0f};
    scene.rangeValue = 180.0f;
    SceneTexture& texture = scene.addTexture("bois.jpg");
    texture.embedded = true;
    texture.embeddedBytes = {0xFF, 0xD8, 0xFF, 0xE0, 7, 7};
    SceneObject& table = scene.addObject("table");
    table.assignMesh({vertexAt(0, 0), vertexAt(1, 0), vertexAt(0, 1)}, {0, 1, 2});
    table.textures[0] = &texture;
    table.textureEnabled[0] = true;
    SceneObject& leg = scene.addObject("pied \xE9");
    leg.assignMesh({vertexAt(0, 0), vertexAt(2, 0), vertexAt(0, 2)}, {0, 1, 2});
    scene.addObject("lampe");
    table.addChild(leg);
    Animation& animation = scene.addAnimation("table");
    animation.target = &table;
    table.animation = leg.animation = &animation;
    Sequence& sequence = animation.addSequence("tourne");
    for (double t : {0.0, 1.0}) sequence.addKeyImage(t).addState(&leg).rotationAngle = static_cast<float>(t);
}

std::string toString(const std::vector<std::uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

// A file of version 0.1, the oldest: its header ends after the shading mode.
std::string oldestVersionFile(float cameraX) {
    std::string bytes("Morvanexv4 0.1", 14);
    bytes.push_back('\0');
    auto word = [&bytes](const void* value) { bytes.append(static_cast<const char*>(value), 4); };
    const float header[7] = {cameraX, 2.0f, 3.0f, 0.1f, 0.2f, 0.7f, 123.0f};
    for (const float& f : header) word(&f);
    const std::int32_t shading = 1, objects = 0, animations = 0;
    for (const std::int32_t* i : {&shading, &objects, &animations}) word(i);
    return bytes;
}

class SceneCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(folder_.path().empty());
        buildScene(scene_);
        sceneBytes_ = toString(writeScene(scene_, {}));
        complete_ = (folder_ / "complete.mrx").string();
        writeBytes(complete_, sceneBytes_);
        truncated_ = (folder_ / "truncated.mrx").string();
        writeBytes(truncated_, std::string_view(sceneBytes_).substr(0, sceneBytes_.size() - 120));
        garbage_ = (folder_ / "garbage.mrx").string();
        writeBytes(garbage_, "PK\x03\x04 this is a zip file, not a scene");
        missing_ = (folder_ / "missing.mrx").string();
    }

    std::size_t filesInFolder() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder_.path()), fs::directory_iterator()));
    }

    test::TempFolder folder_;
    Scene scene_;
    std::string sceneBytes_;
    std::string complete_, truncated_, garbage_, missing_;
};

// --- info ----------------------------------------------------------------------------

using SceneCommandInfo = SceneCommandTest;

TEST_F(SceneCommandInfo, CompleteFileExitsZeroAndDescribesIt) {
    const Outcome r = run("info", {complete_});
    EXPECT_EQ(r.status, kSceneCommandOk) << r.err;
    EXPECT_TRUE(r.err.empty()) << r.err;
    EXPECT_TRUE(contains(r.out, "status: complete\n")) << r.out;
    EXPECT_TRUE(contains(r.out, "objects: 3\n")) << r.out;
    EXPECT_TRUE(contains(r.out, "\"pied \xC3\xA9\"")) << r.out;  // UTF-8 on the terminal
    EXPECT_TRUE(contains(r.out, "textures: \"bois.jpg\", none, none\n")) << r.out;
    EXPECT_TRUE(contains(r.out, "sequence \"tourne\": 2 key images\n")) << r.out;
}

TEST_F(SceneCommandInfo, JsonPrintsOneObject) {
    const Outcome r = run("info", {"--json", complete_});
    EXPECT_EQ(r.status, kSceneCommandOk) << r.err;
    ASSERT_FALSE(r.out.empty());
    EXPECT_EQ(r.out.front(), '{');
    EXPECT_EQ(r.out.substr(r.out.size() - 2), "}\n");
    EXPECT_TRUE(contains(r.out, "\"status\":\"complete\"")) << r.out;
    EXPECT_TRUE(contains(r.out, "\"name\":\"pied \xC3\xA9\"")) << r.out;
    EXPECT_FALSE(contains(r.out, "objects: ")) << "text and JSON mixed: " << r.out;
    // The option may come after the file too.
    EXPECT_EQ(run("info", {complete_, "--json"}).out, r.out);
}

TEST_F(SceneCommandInfo, TruncatedFileExitsOneAndSaysWhereItStops) {
    Scene scene;
    const SceneReadReport report = readSceneFile(truncated_, scene, {});
    ASSERT_EQ(report.status, ReadStatus::Damaged);
    const Outcome r = run("info", {truncated_});
    EXPECT_EQ(r.status, kSceneCommandDamaged);
    EXPECT_TRUE(contains(r.out, "status: damaged\n")) << r.out;
    EXPECT_TRUE(contains(r.out, "error offset: " + std::to_string(report.errorOffset) + "\n")) << r.out;
    EXPECT_TRUE(contains(r.err, "morvanex: " + truncated_ + ": damaged at byte " + std::to_string(report.errorOffset)))
        << r.err;
    const Outcome json = run("info", {truncated_, "--json"});
    EXPECT_EQ(json.status, kSceneCommandDamaged);
    EXPECT_TRUE(contains(json.out, "\"errorOffset\":" + std::to_string(report.errorOffset))) << json.out;
}

TEST_F(SceneCommandInfo, UnreadableFilesExitTwoWithAMessage) {
    const Outcome garbage = run("info", {garbage_});
    EXPECT_EQ(garbage.status, kSceneCommandFailed);
    EXPECT_EQ(garbage.err, "morvanex: " + garbage_ + ": not a scene file of a known version\n");
    EXPECT_TRUE(garbage.out.empty()) << garbage.out;

    const Outcome missing = run("info", {missing_});
    EXPECT_EQ(missing.status, kSceneCommandFailed);
    EXPECT_TRUE(contains(missing.err, "morvanex: " + missing_ + ": cannot open the file")) << missing.err;

    const Outcome folder = run("info", {folder_.path().string()});
    EXPECT_EQ(folder.status, kSceneCommandFailed);
    EXPECT_FALSE(folder.err.empty());

    const std::string old = (folder_ / "old.mrx").string();
    writeBytes(old, std::string("Morvanexv3 0.8\0....", 19));
    const Outcome refused = run("info", {old});
    EXPECT_EQ(refused.status, kSceneCommandFailed);
    EXPECT_TRUE(contains(refused.err, "too old")) << refused.err;

    const std::string empty = (folder_ / "empty.mrx").string();
    writeBytes(empty, "");
    EXPECT_EQ(run("info", {empty}).status, kSceneCommandFailed);
}

TEST_F(SceneCommandInfo, JsonOfAnUnreadableFileStillGivesItsStatus) {
    const Outcome r = run("info", {"--json", garbage_});
    EXPECT_EQ(r.status, kSceneCommandFailed);
    EXPECT_TRUE(contains(r.out, "\"status\":\"unknown-tag\"")) << r.out;
    EXPECT_TRUE(contains(r.err, "not a scene file of a known version")) << r.err;
    const Outcome missing = run("info", {"--json", missing_});
    EXPECT_TRUE(contains(missing.out, "\"status\":\"unreadable\"")) << missing.out;
}

TEST_F(SceneCommandInfo, TexturesAreLookedForBesideTheFile) {
    Scene scene;
    SceneObject& wall = scene.addObject("mur");
    SceneTexture& brick = scene.addTexture("brique.png");  // not embedded: found by name
    wall.textures[0] = &brick;
    wall.textureEnabled[0] = true;
    SceneTexture& stone = scene.addTexture("pierre.png");
    wall.textures[1] = &stone;
    wall.textureEnabled[1] = true;
    const fs::path file = folder_ / "maison.mrx";
    ASSERT_TRUE(writeSceneFile(file, scene, {}).ok);

    // Found nowhere: the reader leaves the slots empty.
    EXPECT_TRUE(contains(run("info", {file.string()}).out, "textures: none, none, none\n"));

    fs::create_directories(folder_ / "Textures");
    writeBytes(folder_ / "Textures" / "brique.png", "png");
    fs::create_directories(folder_ / "maison");  // the scene's own folder: the path without extension
    writeBytes(folder_ / "maison" / "pierre.png", "png");
    const Outcome r = run("info", {file.string()});
    EXPECT_TRUE(contains(r.out, "textures: \"brique.png\", \"pierre.png\", none\n")) << r.out;

    const SceneReadOptions options = commandLineReadOptions(file);
    EXPECT_EQ(options.textureFolder, folder_ / "Textures");
    EXPECT_EQ(options.sceneFolder, folder_ / "maison");
}

TEST_F(SceneCommandInfo, BytesAfterTheLastRecordAreDamage) {
    // Eight zeros before the object count read as 0 objects and 0
    // animations: the three object records follow unread.
    Scene empty;  // the same header: the object count comes 8 bytes before its end
    const std::size_t objectCountAt = writeScene(empty, {}).size() - 8;
    std::string bytes = sceneBytes_;
    bytes.insert(objectCountAt, 8, '\0');
    const std::string shifted = (folder_ / "shifted.mrx").string();
    writeBytes(shifted, bytes);
    const std::string unread = std::to_string(bytes.size() - objectCountAt - 8) + " bytes after the last record";

    const Outcome info = run("info", {shifted});
    EXPECT_EQ(info.status, kSceneCommandDamaged);
    EXPECT_TRUE(contains(info.out, "status: damaged\n")) << info.out;
    EXPECT_TRUE(contains(info.out, "error offset: " + std::to_string(objectCountAt + 8) + "\n")) << info.out;
    EXPECT_TRUE(contains(info.err, unread)) << info.err;

    const std::string output = (folder_ / "out.mrx").string();
    const Outcome convert = run("convert", {shifted, output});
    EXPECT_EQ(convert.status, kSceneCommandDamaged);
    EXPECT_TRUE(contains(convert.err, "not converted")) << convert.err;
    EXPECT_FALSE(fs::exists(output));
}

TEST_F(SceneCommandInfo, OnlyRegularFilesAreRead) {
    const fs::path fifo = folder_ / "fifo.mrx";
    ASSERT_TRUE(test::makeFifo(fifo));
    for (const fs::path& input : {fifo, folder_.path()}) {
        SCOPED_TRACE(input.string());
        const Outcome info = test::runWithoutBlockingOn(fifo, [&] { return run("info", {input.string()}); });
        EXPECT_EQ(info.status, kSceneCommandFailed);
        EXPECT_EQ(info.err, "morvanex: " + input.string() + ": not a regular file\n");
        const std::string output = (folder_ / "out.mrx").string();
        const Outcome convert =
            test::runWithoutBlockingOn(fifo, [&] { return run("convert", {input.string(), output}); });
        EXPECT_EQ(convert.status, kSceneCommandFailed);
        EXPECT_TRUE(contains(convert.err, "not a regular file")) << convert.err;
        EXPECT_FALSE(fs::exists(output));
    }
}

TEST_F(SceneCommandInfo, TextureNamesNeverLeadOutOfTheTextureAndSceneFolders) {
    writeBytes(folder_ / "secret.png", "outside both folders");
    const std::vector<std::string> names{"../secret.png", (folder_ / "secret.png").string(), "..\\..\\secret.png"};
    Scene scene;
    SceneObject& wall = scene.addObject("mur");
    for (std::size_t slot = 0; slot < names.size(); ++slot) {
        wall.textures[slot] = &scene.addTexture(names[slot]);
        wall.textureEnabled[slot] = true;
    }
    const fs::path file = folder_ / "maison.mrx";
    ASSERT_TRUE(writeSceneFile(file, scene, {}).ok);

    Scene outside;
    SceneReadReport report = readSceneFile(file, outside, commandLineReadOptions(file));
    EXPECT_EQ(report.missingTextures, names);

    // Each name stands for the file of its last component, in the folders.
    fs::create_directories(folder_ / "Textures");
    writeBytes(folder_ / "Textures" / "secret.png", "inside");
    Scene inside;
    report = readSceneFile(file, inside, commandLineReadOptions(file));
    EXPECT_TRUE(report.missingTextures.empty());
    ASSERT_EQ(inside.textures().size(), names.size());
    for (const auto& texture : inside.textures()) {
        EXPECT_EQ(fs::path(texture->fullPath), folder_ / "Textures" / "secret.png") << texture->fileName;
    }
    // The names are written back as the file held them.
    const std::string output = (folder_ / "out.mrx").string();
    ASSERT_EQ(run("convert", {file.string(), output}).status, kSceneCommandOk);
    EXPECT_EQ(readBytes(output), readBytes(file));
}

TEST_F(SceneCommandInfo, WrongArgumentsPrintTheUsageAndExitTwo) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{}, {complete_, truncated_}, {"--yaml", complete_}, {"--json"}}) {
        const Outcome r = run("info", arguments);
        EXPECT_EQ(r.status, kSceneCommandFailed);
        EXPECT_TRUE(r.out.empty()) << r.out;
        EXPECT_TRUE(contains(r.err, "morvanex info FILE [--json]")) << r.err;
    }
    EXPECT_TRUE(contains(run("info", {"--yaml", complete_}).err, "unknown option: --yaml"));
    // After "--" a name starting with '-' is a file.
    const Outcome dashed = run("info", {"--", "-odd.mrx"});
    EXPECT_EQ(dashed.status, kSceneCommandFailed);
    EXPECT_TRUE(contains(dashed.err, "-odd.mrx: cannot open the file")) << dashed.err;
}

// --- convert -------------------------------------------------------------------------

using SceneCommandConvert = SceneCommandTest;

TEST_F(SceneCommandConvert, WrittenFileConvertsToTheSameBytes) {
    const std::string output = (folder_ / "out.mrx").string();
    const Outcome r = run("convert", {complete_, output});
    ASSERT_EQ(r.status, kSceneCommandOk) << r.err;
    EXPECT_TRUE(r.err.empty()) << r.err;
    EXPECT_EQ(r.out, output + ": 3 objects and 1 animation written as Morvanexv4 1.16.8\n");

    Scene copy;
    const SceneReadReport report = readSceneFile(output, copy, {});
    ASSERT_TRUE(report.complete()) << report.error;
    const std::string converted = readBytes(output);
    EXPECT_EQ(converted, toString(writeScene(copy, {})));  // what the writer makes of the scene read
    EXPECT_EQ(converted, sceneBytes_);                     // and the file it came from
    EXPECT_EQ(filesInFolder(), 4u);                        // no temporary left behind
}

TEST_F(SceneCommandConvert, OlderVersionBecomesTheNewest) {
    const std::string input = (folder_ / "old.mrx").string();
    writeBytes(input, oldestVersionFile(1.5f));
    const std::string output = (folder_ / "new.mrx").string();
    const Outcome r = run("convert", {input, output});
    ASSERT_EQ(r.status, kSceneCommandOk) << r.err;
    Scene scene;
    const SceneReadReport report = readSceneFile(output, scene, {});
    ASSERT_TRUE(report.complete()) << report.error;
    EXPECT_EQ(report.tag, kNewestFileTag);
    EXPECT_FLOAT_EQ(scene.eyeTarget.x, 1.5f);
    EXPECT_FLOAT_EQ(scene.rangeValue, 123.0f);
    EXPECT_EQ(scene.settings.shadingMode, 1);
}

TEST_F(SceneCommandConvert, DamagedFileIsRefusedAndNothingWritten) {
    const std::string output = (folder_ / "out.mrx").string();
    const Outcome r = run("convert", {truncated_, output});
    EXPECT_EQ(r.status, kSceneCommandDamaged);
    EXPECT_TRUE(r.out.empty()) << r.out;
    EXPECT_TRUE(contains(r.err, truncated_ + ": damaged at byte")) << r.err;
    EXPECT_TRUE(contains(r.err, "not converted")) << r.err;
    EXPECT_TRUE(contains(r.err, "--keep-damaged")) << r.err;
    EXPECT_FALSE(fs::exists(output));
    EXPECT_EQ(filesInFolder(), 3u);

    // Refusing leaves an existing target as it was.
    writeBytes(output, "previous");
    EXPECT_EQ(run("convert", {truncated_, output}).status, kSceneCommandDamaged);
    EXPECT_EQ(readBytes(output), "previous");
}

TEST_F(SceneCommandConvert, KeepDamagedWritesWhatCouldBeRead) {
    Scene partial;
    const SceneReadReport damaged = readSceneFile(truncated_, partial, {});
    ASSERT_EQ(damaged.status, ReadStatus::Damaged);

    const std::string output = (folder_ / "out.mrx").string();
    const Outcome r = run("convert", {"--keep-damaged", truncated_, output});
    EXPECT_EQ(r.status, kSceneCommandDamaged);
    EXPECT_TRUE(contains(r.err, "--keep-damaged: writing what could be read")) << r.err;
    ASSERT_TRUE(fs::exists(output));
    Scene copy;
    const SceneReadReport report = readSceneFile(output, copy, {});
    ASSERT_TRUE(report.complete()) << report.error;
    EXPECT_EQ(report.objectRecordsRead, damaged.objectRecordsRead);
    EXPECT_EQ(copy.animations().size(), partial.animations().size());
    EXPECT_EQ(readBytes(output), toString(writeScene(partial, {})));
}

TEST_F(SceneCommandConvert, SamePathIsRewrittenInPlace) {
    const Outcome r = run("convert", {complete_, complete_});
    ASSERT_EQ(r.status, kSceneCommandOk) << r.err;
    EXPECT_EQ(readBytes(complete_), sceneBytes_);  // the embedded texture bytes included
    EXPECT_EQ(filesInFolder(), 3u);

    // An older file is upgraded where it lies.
    const std::string old = (folder_ / "old.mrx").string();
    writeBytes(old, oldestVersionFile(4.0f));
    ASSERT_EQ(run("convert", {old, old}).status, kSceneCommandOk);
    Scene scene;
    const SceneReadReport report = readSceneFile(old, scene, {});
    ASSERT_TRUE(report.complete()) << report.error;
    EXPECT_EQ(report.tag, kNewestFileTag);
    EXPECT_FLOAT_EQ(scene.eyeTarget.x, 4.0f);
    EXPECT_EQ(filesInFolder(), 4u);
}

TEST_F(SceneCommandConvert, UnreadableInputOrOutputExitsTwo) {
    const std::string output = (folder_ / "out.mrx").string();
    for (const std::string& input : {garbage_, missing_}) {
        const Outcome r = run("convert", {input, output});
        EXPECT_EQ(r.status, kSceneCommandFailed) << input;
        EXPECT_TRUE(contains(r.err, "morvanex: " + input + ": ")) << r.err;
        EXPECT_FALSE(fs::exists(output)) << input;
    }
    // A folder stands where the output should go.
    fs::create_directories(folder_ / "taken.mrx");
    const Outcome blocked = run("convert", {complete_, (folder_ / "taken.mrx").string()});
    EXPECT_EQ(blocked.status, kSceneCommandFailed);
    EXPECT_TRUE(contains(blocked.err, "taken.mrx: ")) << blocked.err;
    EXPECT_TRUE(blocked.out.empty()) << blocked.out;
}

TEST_F(SceneCommandConvert, OutputThatIsNotARegularFileIsLeftAlone) {
    // A link is followed: the file it points to is replaced, the link stays.
    fs::create_directories(folder_ / "elsewhere");
    writeBytes(folder_ / "elsewhere" / "real.mrx", "previous");
    fs::create_symlink(fs::path("elsewhere") / "real.mrx", folder_ / "link.mrx");
    const Outcome linked = run("convert", {complete_, (folder_ / "link.mrx").string()});
    ASSERT_EQ(linked.status, kSceneCommandOk) << linked.err;
    EXPECT_TRUE(fs::is_symlink(folder_ / "link.mrx"));
    EXPECT_EQ(readBytes(folder_ / "elsewhere" / "real.mrx"), sceneBytes_);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_ / "elsewhere"), fs::directory_iterator()), 1);

    // A FIFO, directly or through a link, is refused before anything is written.
    const fs::path fifo = folder_ / "fifo.mrx";
    ASSERT_TRUE(test::makeFifo(fifo));
    fs::create_symlink(fifo, folder_ / "to-fifo.mrx");
    for (const fs::path& output : {fifo, folder_ / "to-fifo.mrx"}) {
        SCOPED_TRACE(output.string());
        const std::size_t filesBefore = filesInFolder();
        const Outcome r = run("convert", {complete_, output.string()});
        EXPECT_EQ(r.status, kSceneCommandFailed);
        EXPECT_EQ(r.err, "morvanex: " + output.string() + ": not a regular file: left as it was\n");
        EXPECT_TRUE(fs::is_fifo(fifo));
        EXPECT_EQ(filesInFolder(), filesBefore);
    }
}

TEST_F(SceneCommandConvert, RecordsTheWriterDropsAreReported) {
    // The writer never saves an object named "Grille"; a file holding one
    // (written by an older program) loses it when converted.
    Scene scene;
    scene.addObject("Grilla");
    scene.addObject("chaise");
    std::string bytes = toString(writeScene(scene, {}));
    const auto at = bytes.find("Grilla");
    ASSERT_NE(at, std::string::npos);
    bytes[at + 5] = 'e';
    const std::string input = (folder_ / "grid.mrx").string();
    writeBytes(input, bytes);
    const Outcome r = run("convert", {input, (folder_ / "out.mrx").string()});
    EXPECT_EQ(r.status, kSceneCommandOk) << r.err;
    EXPECT_TRUE(contains(r.err, "warning: 1 of the 2 object records read were not written")) << r.err;
    EXPECT_TRUE(contains(r.out, ": 1 object and 0 animations written")) << r.out;
}

TEST_F(SceneCommandConvert, WrongArgumentsPrintTheUsageAndExitTwo) {
    const std::string output = (folder_ / "out.mrx").string();
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{}, {complete_}, {complete_, output, output}, {"--force", complete_, output}}) {
        const Outcome r = run("convert", arguments);
        EXPECT_EQ(r.status, kSceneCommandFailed);
        EXPECT_TRUE(contains(r.err, "morvanex convert IN OUT [--keep-damaged]")) << r.err;
    }
    EXPECT_FALSE(fs::exists(output));
}

// --- wiring ----------------------------------------------------------------------------

TEST(SceneCommandLine, SubcommandsAreKnownToTheCommandLineAndTheHelp) {
    const CommandLine info = parseCommandLine({"info", "a.mrx", "--json"}, sceneSubcommands());
    EXPECT_EQ(info.mode, CommandLine::Mode::Subcommand);
    EXPECT_EQ(info.subcommand, "info");
    EXPECT_EQ(info.arguments, (std::vector<std::string>{"a.mrx", "--json"}));
    const CommandLine convert = parseCommandLine({"convert", "a.mrx", "b.mrx"}, sceneSubcommands());
    EXPECT_EQ(convert.mode, CommandLine::Mode::Subcommand);
    EXPECT_EQ(convert.subcommand, "convert");

    const std::string usage = usageText();
    EXPECT_TRUE(contains(usage, "morvanex info FILE [--json]"));
    EXPECT_TRUE(contains(usage, "morvanex convert IN OUT [--keep-damaged]"));

    EXPECT_TRUE(contains(usage, "morvanex render [FILE] -o OUT.png"));
    const CommandLine render = parseCommandLine({"render", "-o", "a.png"}, sceneSubcommands());
    EXPECT_EQ(render.mode, CommandLine::Mode::Subcommand);
    EXPECT_EQ(render.subcommand, "render");

    const Outcome unknown = run("paint", {});
    EXPECT_EQ(unknown.status, kSceneCommandFailed);
    EXPECT_TRUE(contains(unknown.err, "unknown subcommand: paint")) << unknown.err;
}

}  // namespace
}  // namespace morvanex
