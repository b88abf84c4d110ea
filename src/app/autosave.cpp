#include "app/autosave.h"

#include <algorithm>
#include <system_error>

#include "base/file_bytes.h"
#include "base/safe_file.h"

namespace morvanex {

namespace {

constexpr const char* kAutosaveSuffix = "_autosave.mrx";
constexpr const char* kNoteExtension = ".path";

bool endsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

bool AutosaveTimer::due(double now, bool modified, bool busy) {
    if (!modified) {
        modifiedSince_.reset();
        return false;
    }
    if (!modifiedSince_) modifiedSince_ = now;
    return !busy && now - *modifiedSince_ >= interval_;
}

std::filesystem::path autosavePathOf(const std::filesystem::path& archiveFolder, const std::filesystem::path& scenePath) {
    return archiveFolder / (scenePath.stem().native() + kAutosaveSuffix);
}

std::filesystem::path autosaveNoteOf(const std::filesystem::path& autosavePath) {
    std::filesystem::path note = autosavePath;
    note.replace_extension(kNoteExtension);
    return note;
}

bool writeAutosaveNote(const std::filesystem::path& autosavePath, const std::filesystem::path& scenePath,
                       std::string* error) {
    // The path's own bytes: whatever the names' encoding, it comes back the same.
    return replaceFileSafely(autosaveNoteOf(autosavePath), std::string_view(scenePath.native()), error);
}

void removeAutosave(const std::filesystem::path& autosavePath) {
    std::error_code ignored;
    std::filesystem::remove(autosavePath, ignored);
    std::filesystem::remove(autosaveNoteOf(autosavePath), ignored);
}

void removeAutosaveOf(const std::filesystem::path& archiveFolder, const std::filesystem::path& scenePath) {
    const std::filesystem::path autosave = autosavePathOf(archiveFolder, scenePath);
    const FileBytes note(autosaveNoteOf(autosave));
    if (note.opened() && note.text() != std::string_view(scenePath.native())) return;
    removeAutosave(autosave);
}

std::vector<RecoverableAutosave> findRecoverableAutosaves(const std::filesystem::path& archiveFolder) {
    struct Found {
        RecoverableAutosave autosave;
        std::filesystem::file_time_type time;
    };
    std::vector<Found> found;
    std::error_code error;
    for (std::filesystem::directory_iterator it(archiveFolder, error), end; !error && it != end; it.increment(error)) {
        const std::filesystem::path& file = it->path();
        if (!endsWith(file.filename().native(), kAutosaveSuffix) || !it->is_regular_file(error)) continue;
        const FileBytes note(autosaveNoteOf(file));
        if (!note.opened() || note.text().empty()) continue;
        const std::filesystem::path scene{std::string(note.text())};
        std::error_code timeError;
        const auto autosaveTime = std::filesystem::last_write_time(file, timeError);
        if (timeError) continue;
        const auto sceneTime = std::filesystem::last_write_time(scene, timeError);
        if (!timeError && sceneTime >= autosaveTime) continue;
        found.push_back({{file, scene}, autosaveTime});
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) { return a.time > b.time; });
    std::vector<RecoverableAutosave> newestFirst;
    for (Found& f : found) newestFirst.push_back(std::move(f.autosave));
    return newestFirst;
}

}  // namespace morvanex
