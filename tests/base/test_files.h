// Test files: a unique temporary folder, reading and writing whole files.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <system_error>

namespace morvanex::test {

// A fresh folder under the system temporary folder, removed with its
// content when the object goes.
class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "morvanex-test-XXXXXX").string();
        if (char* made = ::mkdtemp(pattern.data()); made != nullptr) path_ = made;
        if (path_.empty()) ADD_FAILURE() << "cannot create a temporary folder from " << pattern;
    }
    ~TempFolder() {
        if (path_.empty()) return;
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::filesystem::path& child) const { return path_ / child; }

private:
    std::filesystem::path path_;
};

// Every byte of a file; empty when it cannot be read.
inline std::string readBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::filesystem::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline bool folderIsEmpty(const std::filesystem::path& folder) {
    std::error_code error;
    return std::filesystem::is_empty(folder, error) && !error;
}

}  // namespace morvanex::test
