// The program's command line: help, version, errors, the scene file to open
// and subcommands.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/help_opener.h"
#include "platform/system_folders.h"
#include "scene/scene_limits.h"

namespace morvanex {
namespace {

using Args = std::vector<std::string>;
using Mode = CommandLine::Mode;

CommandLine parse(const Args& args, const Args& subcommands = {}) { return parseCommandLine(args, subcommands); }

TEST(CommandLine, NoArgumentsRunsTheEditorWithNoFile) {
    const CommandLine line = parse({});
    EXPECT_EQ(line.mode, Mode::Editor);
    EXPECT_FALSE(line.sceneFile.has_value());
    EXPECT_TRUE(line.error.empty());
}

TEST(CommandLine, HelpAndVersion) {
    EXPECT_EQ(parse({"--help"}).mode, Mode::Help);
    EXPECT_EQ(parse({"-h"}).mode, Mode::Help);
    EXPECT_EQ(parse({"--version"}).mode, Mode::Version);
    // The first word decides, even when a file follows.
    EXPECT_EQ(parse({"--help", "scene.mrx"}).mode, Mode::Help);
    EXPECT_FALSE(parse({"--version", "scene.mrx"}).sceneFile.has_value());
}

TEST(CommandLine, HelpAndVersionTexts) {
    const std::string usage = usageText();
    EXPECT_NE(usage.find("--help"), std::string::npos);
    EXPECT_NE(usage.find("--version"), std::string::npos);
    EXPECT_NE(usage.find("MORVANEX_HOME"), std::string::npos);
    // Where the manual is, for a person with no browser at hand.
    EXPECT_NE(usage.find(manualPath(executableFolder()).string() + "\n"), std::string::npos) << usage;
    EXPECT_EQ(versionText(), std::string(kProgramVersionLabel) + "\n");
}

TEST(CommandLine, UnknownOptionIsAnErrorNamingIt) {
    const CommandLine line = parse({"--frobnicate"});
    EXPECT_EQ(line.mode, Mode::Error);
    EXPECT_NE(line.error.find("--frobnicate"), std::string::npos) << line.error;

    // Also after a scene file: no file is opened then.
    const CommandLine late = parse({"scene.mrx", "--fullscreen"});
    EXPECT_EQ(late.mode, Mode::Error);
    EXPECT_NE(late.error.find("--fullscreen"), std::string::npos) << late.error;
}

TEST(CommandLine, SceneFilePickedByExtensionInAnyCase) {
    for (const std::string file : {"scene.mrx", "SCENE.MRX", "Scene.Mrx", "cours.tut", "COURS.TUT", "model.3ds",
                                   "MODEL.3DS", "a.obj", "a.Obj", "A.OBJ", "maison.dae", "maison.DaE"}) {
        const CommandLine line = parse({file});
        EXPECT_EQ(line.mode, Mode::Editor) << file;
        ASSERT_TRUE(line.sceneFile.has_value()) << file;
        EXPECT_EQ(*line.sceneFile, file);
        EXPECT_TRUE(isOpenableFile(file)) << file;
    }
}

TEST(CommandLine, OtherFilesAreNotOpenable) {
    for (const std::string file : {"notes.txt", "mrx", "scene", "scene.mrx.bak", "scene.mrxx", "scene.mr", "model.fbx",
                                   "dir.mrx/file", "", "scene."}) {
        EXPECT_FALSE(isOpenableFile(file)) << '"' << file << '"';
    }
}

TEST(CommandLine, PathIsKeptExactlyAsGiven) {
    const std::vector<std::string> paths = {
        "/home/Jean/Mes Scenes/Vue Generale.MRX",
        "../relative/Folder/Model.Obj",
        "  leading spaces.mrx",
        "/home/j/Sc\xC3\xA8nes/\xC3\xA9t\xC3\xA9.tut",  // UTF-8, as the desktop gives it
        "./x/./y/../z.dae",
    };
    for (const std::string& path : paths) {
        const CommandLine line = parse({path});
        ASSERT_TRUE(line.sceneFile.has_value()) << path;
        EXPECT_EQ(*line.sceneFile, path);
    }
}

TEST(CommandLine, NonOpenableWordsAreIgnoredAndTheFirstOpenableFileWins) {
    const CommandLine line = parse({"-psn_0_1234", "readme.txt", "first.obj", "second.mrx", "third.tut"});
    EXPECT_EQ(line.mode, Mode::Editor);
    ASSERT_TRUE(line.sceneFile.has_value());
    EXPECT_EQ(*line.sceneFile, "first.obj");

    const CommandLine none = parse({"readme.txt", "word", "image.png"});
    EXPECT_EQ(none.mode, Mode::Editor);
    EXPECT_FALSE(none.sceneFile.has_value());
}

TEST(CommandLine, ListedSubcommandTakesTheRestAsItsArguments) {
    const Args known = {"render", "export"};
    const CommandLine line = parse({"export", "in.mrx", "--format", "obj", "out dir/a.obj"}, known);
    EXPECT_EQ(line.mode, Mode::Subcommand);
    EXPECT_EQ(line.subcommand, "export");
    // Passed through untouched: options of the subcommand are not errors here.
    EXPECT_EQ(line.arguments, (Args{"in.mrx", "--format", "obj", "out dir/a.obj"}));
    EXPECT_FALSE(line.sceneFile.has_value());

    const CommandLine bare = parse({"render"}, known);
    EXPECT_EQ(bare.mode, Mode::Subcommand);
    EXPECT_EQ(bare.subcommand, "render");
    EXPECT_TRUE(bare.arguments.empty());
}

TEST(CommandLine, UnlistedOrLateSubcommandIsAPlainWord) {
    const CommandLine unlisted = parse({"render", "scene.mrx"}, {"export"});
    EXPECT_EQ(unlisted.mode, Mode::Editor);
    EXPECT_TRUE(unlisted.subcommand.empty());
    ASSERT_TRUE(unlisted.sceneFile.has_value());
    EXPECT_EQ(*unlisted.sceneFile, "scene.mrx");

    // Only the first word names a subcommand.
    const CommandLine late = parse({"scene.mrx", "render"}, {"render"});
    EXPECT_EQ(late.mode, Mode::Editor);
    ASSERT_TRUE(late.sceneFile.has_value());
    EXPECT_EQ(*late.sceneFile, "scene.mrx");

    // Names match exactly.
    EXPECT_EQ(parse({"Render"}, {"render"}).mode, Mode::Editor);
}

TEST(CommandLine, UpperExtension) {
    EXPECT_EQ(upperExtension("scene.mrx"), "MRX");
    EXPECT_EQ(upperExtension("a.Obj"), "OBJ");
    EXPECT_EQ(upperExtension("a.b.mrx"), "MRX");  // the last one only
    EXPECT_EQ(upperExtension("noext"), "");
    EXPECT_EQ(upperExtension(".hidden"), "");      // a hidden file's name, not an extension
    EXPECT_EQ(upperExtension("dir.d/file"), "");   // a folder's dot does not count
    EXPECT_EQ(upperExtension("dir.d/file.3ds"), "3DS");
    EXPECT_EQ(upperExtension("/abs/path/Model.DaE"), "DAE");
    EXPECT_EQ(upperExtension(""), "");
    EXPECT_EQ(upperExtension("name."), "");
}

}  // namespace
}  // namespace morvanex
