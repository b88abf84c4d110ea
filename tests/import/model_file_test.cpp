// Importing a file by its extension: the reader chosen, and what is refused
// before any reader runs.
#include "import/model_file.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "base/test_files.h"
#include "import/obj_writer.h"
#include "scene/scene.h"

namespace morvanex {
namespace {

TEST(ModelFile, TheExtensionInAnyCaseChoosesTheReader) {
    test::TempFolder temp;
    const std::string triangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n";
    test::writeBytes(temp.path() / "a.OBJ", triangle);
    test::writeBytes(temp.path() / "b.dae", triangle);  // OBJ text under a COLLADA name
    test::writeBytes(temp.path() / "c.txt", triangle);
    test::writeBytes(temp.path() / "d.obj", "# nothing but a comment\n");

    const ImportResult obj = importModelFile(temp.path() / "a.OBJ");
    ASSERT_TRUE(obj.ok()) << obj.error;
    EXPECT_EQ(obj.objects.size(), 1u);
    EXPECT_EQ(modelFormatOf("x.Dae"), ModelFormat::Collada);
    EXPECT_EQ(modelFormatOf("x.3DS"), ModelFormat::ThreeDs);
    EXPECT_EQ(modelFormatOf("x.mrx"), ModelFormat::None);

    const struct {
        const char* file;
        const char* error;
    } refused[] = {
        {"b.dae", "not a COLLADA file"},
        {"c.txt", "not a model file"},
        {"d.obj", "nothing to import"},
        {"missing.3ds", "cannot open the file"},
    };
    for (const auto& r : refused) {
        const ImportResult result = importModelFile(temp.path() / r.file);
        EXPECT_NE(result.error.find(r.error), std::string::npos) << r.file << ": " << result.error;
        EXPECT_TRUE(result.objects.empty()) << r.file;
    }
}

TEST(ModelFile, AFifoOrAFolderIsNeitherReadNorWritten) {
    test::TempFolder temp;
    ASSERT_EQ(::mkfifo((temp.path() / "pipe.obj").c_str(), 0600), 0);
    std::filesystem::create_directory(temp.path() / "folder.dae");
    for (const char* name : {"pipe.obj", "folder.dae"}) {
        EXPECT_EQ(importModelFile(temp.path() / name).error, "not a regular file") << name;
    }
    Scene scene;
    std::string error;
    EXPECT_FALSE(exportObj(temp.path() / "pipe.obj", scene, error));
    EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
}

}  // namespace
}  // namespace morvanex
