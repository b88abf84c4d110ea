// Autosave: while the scene has unsaved changes, a copy of it is written to
// the archive folder every few minutes of editing, never over the user's own
// file, and offered back at the next start when it is newer than that file.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace morvanex {

inline constexpr double kAutosaveIntervalSeconds = 5.0 * 60.0;

// When the next autosave is due: `interval` seconds after the scene was
// first modified since it was last saved or autosaved. A gesture in
// progress (a drag, a tool's next click) puts it off until it ends, so that
// no half-made edit is written.
class AutosaveTimer {
public:
    explicit AutosaveTimer(double interval = kAutosaveIntervalSeconds) : interval_(interval) {}

    // Called every frame with the clock's seconds; true when an autosave
    // should be written now.
    bool due(double now, bool modified, bool busy);
    // An autosave was written: the next interval starts now.
    void written(double now) { modifiedSince_ = now; }

private:
    double interval_;
    std::optional<double> modifiedSince_;  // empty while the scene is unmodified
};

// "<name>_autosave.mrx" in the archive folder, for the scene at `scenePath`.
std::filesystem::path autosavePathOf(const std::filesystem::path& archiveFolder, const std::filesystem::path& scenePath);
// "<name>_autosave.path" beside it: the scene path it belongs to (the
// name alone cannot say which folder the scene lies in).
std::filesystem::path autosaveNoteOf(const std::filesystem::path& autosavePath);

// Writes the autosave's note; false with the reason in `error`.
bool writeAutosaveNote(const std::filesystem::path& autosavePath, const std::filesystem::path& scenePath,
                       std::string* error);
// Removes an autosave and its note; nothing happens when there is none.
void removeAutosave(const std::filesystem::path& autosavePath);
// Removes the autosave of the scene at `scenePath`, unless its note says it
// belongs to a namesake scene of another folder.
void removeAutosaveOf(const std::filesystem::path& archiveFolder, const std::filesystem::path& scenePath);

struct RecoverableAutosave {
    std::filesystem::path autosave;  // the copy in the archive folder
    std::filesystem::path scene;     // the scene file it belongs to
};

// The autosaves of the archive folder newer than their scene file (or whose
// scene file does not exist: never saved, or gone), newest first. An
// autosave without a readable note is left alone.
std::vector<RecoverableAutosave> findRecoverableAutosaves(const std::filesystem::path& archiveFolder);

}  // namespace morvanex
