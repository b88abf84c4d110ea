// What a command asks of a file dialog (open or save, title, the kinds of
// file it wants, where it starts) and what it gets back: a path, or nothing
// when the user cancelled. Both the desktop's chooser and the built-in one
// answer the same request.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace morvanex {

// One kind of file: its name as shown ("3d files") and its extensions
// without the dot ("mrx", "obj"), matched whatever their case.
struct FileFilter {
    std::string name;  // Windows-1252, like every text the program shows
    std::vector<std::string> extensions;
};

struct FileDialogRequest {
    bool save = false;
    std::string title;  // Windows-1252; empty: the chooser's own title
    std::vector<FileFilter> filters;
    std::filesystem::path startFolder;
    std::filesystem::path suggestedName;  // a file name offered in the name box
    // The desktop chooser asks before replacing a file. Commands that put
    // their own question about an existing file leave it off.
    bool confirmOverwrite = false;
};

// The chosen path; nothing when the dialog was cancelled.
using FileDialogAnswer = std::optional<std::filesystem::path>;
using FileDialogCallback = std::function<void(FileDialogAnswer)>;

// Lower-case extension without its dot ("mrx" for "a.MRX"); empty when none.
std::string lowerExtension(const std::filesystem::path& file);

// Whether a file name has one of the filters' extensions; every file passes
// when no filter names an extension.
bool acceptedByFilters(const std::filesystem::path& file, const std::vector<FileFilter>& filters);

// A saved file without an extension gets the first extension of the first
// filter, as the desktop's save dialog does.
std::filesystem::path withDefaultExtension(const std::filesystem::path& file, const std::vector<FileFilter>& filters);

}  // namespace morvanex
