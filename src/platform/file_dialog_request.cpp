#include "platform/file_dialog_request.h"

#include <algorithm>
#include <cctype>

namespace morvanex {

namespace {

std::string lowered(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// "mrx" and ".mrx" name the same extension.
std::string withoutDot(const std::string& extension) {
    return !extension.empty() && extension.front() == '.' ? extension.substr(1) : extension;
}

}  // namespace

std::string lowerExtension(const std::filesystem::path& file) {
    const std::string extension = file.extension().string();
    return extension.empty() ? std::string() : lowered(extension.substr(1));
}

bool acceptedByFilters(const std::filesystem::path& file, const std::vector<FileFilter>& filters) {
    bool anyExtension = false;
    const std::string own = lowerExtension(file);
    for (const FileFilter& filter : filters) {
        for (const std::string& extension : filter.extensions) {
            const std::string wanted = lowered(withoutDot(extension));
            if (wanted.empty() || wanted == "*") continue;
            anyExtension = true;
            if (wanted == own) return true;
        }
    }
    return !anyExtension;
}

std::filesystem::path withDefaultExtension(const std::filesystem::path& file, const std::vector<FileFilter>& filters) {
    if (file.has_extension() || filters.empty() || filters.front().extensions.empty()) return file;
    // As the filter spells it: "ANI" files get ".ANI".
    const std::string extension = withoutDot(filters.front().extensions.front());
    if (extension.empty() || extension == "*") return file;
    std::filesystem::path named = file;
    named += "." + extension;
    return named;
}

}  // namespace morvanex
