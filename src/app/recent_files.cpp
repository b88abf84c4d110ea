#include "app/recent_files.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>
#include <utility>

#include "app/command_line.h"
#include "base/safe_file.h"
#include "base/text_encoding.h"

namespace morvanex {
namespace {

// The path without a trailing separator, its dots resolved in place.
std::filesystem::path normalFolder(const std::filesystem::path& folder) {
    std::filesystem::path normal = folder.lexically_normal();
    if (!normal.has_filename() && normal.has_parent_path() && normal != normal.root_path()) {
        normal = normal.parent_path();
    }
    return normal;
}

bool isInsideFolder(const std::filesystem::path& file, const std::filesystem::path& folder) {
    if (folder.empty()) return false;
    const std::filesystem::path normalFile = file.lexically_normal();
    const std::filesystem::path normalParent = normalFolder(folder);
    auto f = normalFile.begin();
    for (auto p = normalParent.begin(); p != normalParent.end(); ++p, ++f) {
        if (f == normalFile.end() || *f != *p) return false;
    }
    return f != normalFile.end() && !f->empty();
}

bool isRegularFile(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

bool hasExtension(const std::filesystem::path& file, std::initializer_list<std::string_view> upperExtensions) {
    const std::string ext = upperExtension(file.string());
    return std::find(upperExtensions.begin(), upperExtensions.end(), ext) != upperExtensions.end();
}

SceneEntry entryFor(const std::filesystem::path& file, const ThumbnailImageLoader& loadThumbnailImage) {
    SceneEntry entry;
    entry.path = textFromPath(file);
    entry.caption = textFromPath(file.filename());
    std::filesystem::path thumbnail = file;
    thumbnail += kThumbnailSuffix;
    if (isRegularFile(thumbnail)) {
        entry.thumbnailPath = textFromPath(thumbnail);
        if (auto size = bmpImageSize(thumbnail)) entry.thumbnailSize = fitThumbnail(*size);
        if (loadThumbnailImage) loadThumbnailImage(entry);
    }
    return entry;
}

// The regular files of one folder (sub-folders skipped) with one of the
// extensions, sorted by name so the panel's order does not depend on the
// file system's.
std::vector<SceneEntry> listSceneFiles(const std::filesystem::path& folder,
                                       std::initializer_list<std::string_view> upperExtensions,
                                       const ThumbnailImageLoader& loadThumbnailImage) {
    std::vector<std::filesystem::path> files;
    std::error_code error;
    std::filesystem::directory_iterator it(folder, error);
    if (error) return {};
    for (const std::filesystem::directory_iterator end; it != end; it.increment(error)) {
        if (error) break;
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) continue;
        if (!hasExtension(it->path(), upperExtensions)) continue;
        files.push_back(it->path());
    }
    std::sort(files.begin(), files.end(),
              [](const auto& a, const auto& b) { return a.filename().native() < b.filename().native(); });
    std::vector<SceneEntry> entries;
    entries.reserve(files.size());
    for (const auto& file : files) entries.push_back(entryFor(file, loadThumbnailImage));
    return entries;
}

std::uint32_t readLittleEndian(const unsigned char* bytes, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = (value << 8) | bytes[i];
    return value;
}

}  // namespace

// ---- Lines of the list file -------------------------------------------------

std::optional<std::string> readListLine(std::istream& in) {
    std::string line;
    std::istream::int_type c = in.get();
    if (c == std::istream::traits_type::eof()) return std::nullopt;
    while (c != std::istream::traits_type::eof()) {
        const char byte = std::istream::traits_type::to_char_type(c);
        if (byte == '\n') break;
        if (byte == '\r') {
            if (in.peek() == '\n') in.get();
            break;
        }
        line.push_back(byte);
        c = in.get();
    }
    return line;
}

std::vector<std::string> parseListLines(std::string_view bytes) {
    std::istringstream in{std::string(bytes)};
    std::vector<std::string> lines;
    while (auto line = readListLine(in)) {
        if (!line->empty()) lines.push_back(std::move(*line));
    }
    return lines;
}

std::string formatListLines(const std::vector<std::string>& entries) {
    std::string bytes;
    for (const auto& entry : entries) {
        bytes += entry;
        bytes += "\r\n";
    }
    return bytes;
}

RecentListRead readRecentList(const std::filesystem::path& listFile) {
    RecentListRead read;
    std::error_code error;
    const auto status = std::filesystem::status(listFile, error);
    if (status.type() == std::filesystem::file_type::not_found) return read;
    if (error || status.type() != std::filesystem::file_type::regular) {
        read.ok = false;
        read.error = error ? error.message() : "the recent list is not a file";
        return read;
    }
    std::ifstream in(listFile, std::ios::binary);
    if (!in) {
        read.ok = false;
        read.error = "the recent list cannot be opened";
        return read;
    }
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) {
        read.ok = false;
        read.error = "the recent list cannot be read";
        return read;
    }
    read.entries = parseListLines(bytes);
    return read;
}

// ---- Updating the list ------------------------------------------------------

bool belongsInRecentList(std::string_view pathText, const std::filesystem::path& examplesFolder) {
    if (pathText.empty()) return false;
    const std::filesystem::path file = pathFromText(pathText);
    if (file.filename() == kLogoSceneName) return false;
    return !isInsideFolder(file, examplesFolder);
}

std::vector<std::string> updatedRecentList(std::string_view newPath, const std::vector<std::string>& oldEntries) {
    std::vector<std::string> entries;
    entries.reserve(oldEntries.size() + 1);
    entries.emplace_back(newPath);
    for (const auto& entry : oldEntries) {
        if (!entry.empty() && entry != newPath) entries.push_back(entry);
    }
    return entries;
}

RecentUpdate addRecentFile(const std::filesystem::path& documentFolder, const std::filesystem::path& examplesFolder,
                           std::string_view pathText) {
    RecentUpdate update;
    if (!belongsInRecentList(pathText, examplesFolder)) {
        update.outcome = RecentUpdate::Outcome::Skipped;
        return update;
    }
    std::error_code error;
    std::filesystem::create_directories(documentFolder, error);
    if (!std::filesystem::is_directory(documentFolder, error)) {
        update.outcome = RecentUpdate::Outcome::Failed;
        update.error = "cannot create the folder " + documentFolder.string();
        return update;
    }
    const std::filesystem::path listFile = documentFolder / kRecentListFileName;
    RecentListRead old = readRecentList(listFile);
    if (!old.ok) {
        // Writing now would lose every older entry.
        update.outcome = RecentUpdate::Outcome::Failed;
        update.error = old.error;
        return update;
    }
    const std::string bytes = formatListLines(updatedRecentList(pathText, old.entries));
    if (!replaceFileSafely(listFile, bytes, &update.error)) update.outcome = RecentUpdate::Outcome::Failed;
    return update;
}

// ---- Thumbnails -------------------------------------------------------------

ImageSize fitThumbnail(ImageSize image) {
    const std::int64_t width = std::max(image.width, 0);
    const std::int64_t height = std::max(image.height, 0);
    if (width <= kThumbnailSide && height <= kThumbnailSide) {
        return {static_cast<int>(width), static_cast<int>(height)};
    }
    const std::int64_t longer = std::max(width, height);
    const auto scaled = [longer](std::int64_t side) -> int {
        if (side == 0) return 0;
        const std::int64_t rounded = (side * kThumbnailSide + longer / 2) / longer;
        return static_cast<int>(std::max<std::int64_t>(rounded, 1));
    };
    return {scaled(width), scaled(height)};
}

std::optional<ImageSize> bmpImageSize(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::array<unsigned char, 26> header{};
    in.read(reinterpret_cast<char*>(header.data()), static_cast<std::streamsize>(header.size()));
    const std::streamsize got = in.gcount();
    if (got < 22 || header[0] != 'B' || header[1] != 'M') return std::nullopt;
    const std::uint32_t infoSize = readLittleEndian(&header[14], 4);
    if (infoSize == 12) {  // the old OS/2 header: 16-bit sides
        return ImageSize{static_cast<int>(readLittleEndian(&header[18], 2)),
                         static_cast<int>(readLittleEndian(&header[20], 2))};
    }
    if (infoSize < 40 || got < 26) return std::nullopt;
    const auto width = static_cast<std::int32_t>(readLittleEndian(&header[18], 4));
    const auto height = static_cast<std::int32_t>(readLittleEndian(&header[22], 4));
    // A negative height marks rows stored top-down.
    if (width < 0 || height == INT32_MIN) return std::nullopt;
    return ImageSize{width, height < 0 ? -height : height};
}

// ---- The file panel's lists -------------------------------------------------

RecentFileLists loadRecentFileLists(const RecentFilesSources& sources) {
    RecentFileLists lists;
    lists.examples = listSceneFiles(sources.examplesFolder, {"MRX", "3DS", "TUT"}, sources.loadThumbnailImage);

    // A line naming a deleted file is only left out of the panel: the file
    // keeps it, and the next update copies it on.
    const RecentListRead recent = readRecentList(sources.documentFolder / kRecentListFileName);
    for (const auto& line : recent.entries) {
        const std::filesystem::path file = pathFromText(line);
        if (isRegularFile(file)) lists.recent.push_back(entryFor(file, sources.loadThumbnailImage));
    }

    lists.own = listSceneFiles(sources.documentFolder, {"MRX", "3DS", "OBJ", "TUT"}, sources.loadThumbnailImage);
    return lists;
}

RecentFilesLoader::~RecentFilesLoader() {
    if (thread_.joinable()) thread_.join();
}

bool RecentFilesLoader::start(RecentFilesSources sources) {
    if (started_) return false;
    started_ = true;
    try {
        // The thread gets its own copy: when it cannot be made, the
        // original is still whole for the fallback below.
        thread_ = std::thread(&RecentFilesLoader::run, this, sources);
    } catch (const std::system_error&) {
        // No thread to be had: the lists are still wanted, so gather them here.
        run(std::move(sources));
    }
    return true;
}

void RecentFilesLoader::run(RecentFilesSources sources) {
    try {
        lists_ = loadRecentFileLists(sources);
    } catch (...) {
        // Out of memory or a throwing image hook: the panel shows what it can.
        lists_ = RecentFileLists{};
    }
    done_.store(true, std::memory_order_release);
}

const RecentFileLists& RecentFilesLoader::waitUntilDone() {
    if (thread_.joinable()) thread_.join();
    return lists_;
}

}  // namespace morvanex
