// The recent-file list and the scene lists of the file panel.
//
// "recents.txt" in the document folder holds one scene path a line, newest
// first, each line ended by CR LF. Paths are the program's Windows-1252
// texts, stored byte for byte and compared exactly (no lower-casing: the
// file system is case-sensitive). Lines are read whole, whatever their
// length, and a lone LF also ends a line.
//
// The file panel's lists (examples, recent scenes, the user's own scenes)
// are gathered once at start by RecentFilesLoader on its own thread.
#pragma once

#include "base/safe_file.h"

#include <atomic>
#include <filesystem>
#include <functional>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace morvanex {

inline constexpr const char* kRecentListFileName = "recents.txt";
// The start scene is opened at every start: it never enters the list.
inline constexpr const char* kLogoSceneName = "logo.mrx";
inline constexpr const char* kThumbnailSuffix = ".bmp";
inline constexpr int kThumbnailSide = 100;

// ---- Lines of the list file -------------------------------------------------

// One line: the bytes up to a CR, a LF or the end of the input; a LF right
// after the CR is consumed. Nothing when the input is already at its end.
std::optional<std::string> readListLine(std::istream& in);

// Every line of the bytes, empty lines left out.
std::vector<std::string> parseListLines(std::string_view bytes);

// Each entry followed by CR LF.
std::string formatListLines(const std::vector<std::string>& entries);

struct RecentListRead {
    bool ok = true;                    // false: the file exists but could not be read
    std::vector<std::string> entries;  // empty when the file is missing
    std::string error;
};

RecentListRead readRecentList(const std::filesystem::path& listFile);

// ---- Updating the list ------------------------------------------------------

// False for the start scene ("logo.mrx", named exactly) and for any file in
// the examples folder (or below it).
bool belongsInRecentList(std::string_view pathText, const std::filesystem::path& examplesFolder);

// The new path first, then every old entry that differs from it, in order.
std::vector<std::string> updatedRecentList(std::string_view newPath, const std::vector<std::string>& oldEntries);

struct RecentUpdate {
    enum class Outcome { Added, Skipped, Failed };
    Outcome outcome = Outcome::Added;
    std::string error;  // Outcome::Failed
};

// After every open and save: creates the document folder when missing,
// reads the list, puts the path first and writes the list anew. A list that
// exists but cannot be read is not overwritten (Failed).
RecentUpdate addRecentFile(const std::filesystem::path& documentFolder, const std::filesystem::path& examplesFolder,
                           std::string_view pathText);

// ---- Thumbnails -------------------------------------------------------------

struct ImageSize {
    int width = 0;
    int height = 0;

    friend bool operator==(const ImageSize&, const ImageSize&) = default;
};

// Fits 100 x 100 keeping proportions: when either side exceeds 100 the longer
// one becomes 100 and the other is scaled, rounded to the nearest pixel
// (halves up) and never below 1 unless it was 0. Smaller images are kept;
// negative sides count as 0.
ImageSize fitThumbnail(ImageSize image);

// The width and height written in a BMP file's header, without decoding the
// pixels; nothing when the file is not a BMP the header can tell.
std::optional<ImageSize> bmpImageSize(const std::filesystem::path& file);

// ---- The file panel's lists -------------------------------------------------

struct SceneEntry {
    std::string path;           // Windows-1252 text of the scene's full path
    std::string caption;        // its file name
    std::string thumbnailPath;  // path + ".bmp" when that file exists; empty: the default thumbnail
    ImageSize thumbnailSize;    // the thumbnail's size once fitted to 100 x 100; 0 x 0 when unknown
};

struct RecentFileLists {
    std::vector<SceneEntry> examples;  // examples folder: MRX, 3DS, TUT, sorted by name
    std::vector<SceneEntry> recent;    // the list file's lines naming existing files, in its order
    std::vector<SceneEntry> own;       // document folder: MRX, 3DS, OBJ, TUT, sorted by name
};

// Called on the loader thread for every entry that has a thumbnail file: the
// place where the thumbnail image will be decoded once the renderer offers a
// decoder. It must only touch the entry (and what it owns itself).
using ThumbnailImageLoader = std::function<void(SceneEntry&)>;

struct RecentFilesSources {
    std::filesystem::path examplesFolder;
    std::filesystem::path documentFolder;  // holds "recents.txt" and the user's scenes
    ThumbnailImageLoader loadThumbnailImage;  // empty: no image is loaded, only paths and sizes
};

// Pure on its inputs apart from reading the file system.
RecentFileLists loadRecentFileLists(const RecentFilesSources& sources);

// Gathers the lists once on its own thread. The inputs are taken by value
// and the results are only read after the thread is over, so nothing is
// shared while it runs. The done flag is set as the thread's last act.
class RecentFilesLoader {
public:
    RecentFilesLoader() = default;
    ~RecentFilesLoader();  // waits for the thread
    RecentFilesLoader(const RecentFilesLoader&) = delete;
    RecentFilesLoader& operator=(const RecentFilesLoader&) = delete;

    // False when already started. When no thread can be made the lists are
    // gathered at once on the calling thread.
    bool start(RecentFilesSources sources);
    bool started() const { return started_; }

    // True once the lists are complete.
    bool done() const { return done_.load(std::memory_order_acquire); }

    // Waits for the thread to end (at once when it has) and hands the lists.
    // Before start(), the lists are empty.
    const RecentFileLists& waitUntilDone();

private:
    void run(RecentFilesSources sources);

    RecentFileLists lists_;
    std::atomic<bool> done_{false};
    bool started_ = false;
    std::thread thread_;
};

}  // namespace morvanex
