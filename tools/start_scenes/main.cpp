// Build-time generator of the two scenes the program carries inside itself.
//
//   morvanex_start_scene_generator --font DejaVuSans-Bold.ttf --output <folder> --source <file.cpp>
//
// Writes "logo.mrx" and "camera.mrx" into the folder (to look at them with
// `morvanex render`) and the C++ source that holds their bytes.
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_bytes.h"
#include "base/safe_file.h"
#include "scene/scene.h"
#include "scenefile/scene_writer.h"
#include "start_scenes/start_scenes.h"

namespace {

int usage() {
    std::fprintf(stderr, "usage: morvanex_start_scene_generator --font FONT --output FOLDER --source FILE\n");
    return 2;
}

int fail(const std::string& why) {
    std::fprintf(stderr, "morvanex_start_scene_generator: %s\n", why.c_str());
    return 1;
}

void appendArray(std::string& out, std::string_view name, const std::vector<std::uint8_t>& bytes) {
    out += "const std::uint8_t ";
    out += name;
    out += "[] = {";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i % 24 == 0) out += "\n";
        out += std::to_string(bytes[i]);
        out += ',';
    }
    out += "\n};\n";
}

std::string sourceOf(const std::vector<std::uint8_t>& logo, const std::vector<std::uint8_t>& camera) {
    std::string out =
        "// Made by morvanex_start_scene_generator: the scenes \"logo.mrx\" and \"camera.mrx\".\n"
        "#include <cstdint>\n#include <span>\n\nnamespace morvanex {\n\nnamespace {\n";
    appendArray(out, "kTitleScene", logo);
    appendArray(out, "kCameraScene", camera);
    out += "}  // namespace\n\n"
           "std::span<const std::uint8_t> embeddedTitleScene() { return kTitleScene; }\n"
           "std::span<const std::uint8_t> embeddedCameraScene() { return kCameraScene; }\n\n"
           "}  // namespace morvanex\n";
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace morvanex;
    std::filesystem::path font, output, source;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (i + 1 >= argc) return usage();
        const std::filesystem::path value = argv[++i];
        if (arg == "--font") font = value;
        else if (arg == "--output") output = value;
        else if (arg == "--source") source = value;
        else return usage();
    }
    if (font.empty() || output.empty() || source.empty()) return usage();

    const FileBytes fontFile(font);
    if (!fontFile.opened()) return fail("cannot read " + font.string());
    Scene title;
    std::string why;
    if (!buildTitleScene(title, fontFile.bytes(), &why)) return fail(why);
    Scene camera;
    buildCameraScene(camera);
    const std::vector<std::uint8_t> logoBytes = writeScene(title, {});
    const std::vector<std::uint8_t> cameraBytes = writeScene(camera, {});

    std::error_code error;
    std::filesystem::create_directories(output, error);
    if (!replaceFileSafely(output / "logo.mrx", logoBytes, &why)) return fail(why);
    if (!replaceFileSafely(output / "camera.mrx", cameraBytes, &why)) return fail(why);
    const std::string text = sourceOf(logoBytes, cameraBytes);
    if (!replaceFileSafely(source, std::string_view(text), &why)) return fail(why);
    return 0;
}
