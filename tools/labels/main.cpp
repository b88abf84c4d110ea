// Writes the two label files into the program folder:
//   morvanex_label_generator SOURCE.tsv OUTPUT_FOLDER
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "base/safe_file.h"
#include "labels/label_source.h"

int main(int argc, char** argv) {
    using namespace morvanex;
    if (argc != 3) {
        std::cerr << "usage: morvanex_label_generator SOURCE.tsv OUTPUT_FOLDER\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << argv[1] << ": cannot be read\n";
        return 1;
    }
    std::ostringstream text;
    text << in.rdbuf();
    const LabelSource source = parseLabelSource(text.str());
    for (const std::string& error : source.errors) std::cerr << argv[1] << ": " << error << '\n';
    if (!source.errors.empty()) return 1;

    const std::filesystem::path folder = argv[2];
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    for (const auto& [name, entries] : {std::pair{"libelles.txt", &source.french}, std::pair{"libelles_en.txt", &source.english}}) {
        std::string why;
        if (!replaceFileSafely(folder / name, labelFileBytes(*entries), &why)) {
            std::cerr << (folder / name).string() << ": " << why << '\n';
            return 1;
        }
    }
    return 0;
}
