// Opening the user manual (or any local page) in the desktop's web browser.
#pragma once

#include <filesystem>
#include <string>

namespace morvanex {

// File name of the user manual in the program folder.
inline constexpr const char* kManualFileName = "manual.html";

// Where the manual lies in the program folder.
std::filesystem::path manualPath(const std::filesystem::path& programFolder);

// The file:// URL of a path, made absolute first. Every byte of its UTF-8
// form outside the unreserved characters and "/" is percent-encoded, so
// spaces, '#', '%' and non-ASCII names survive the trip to the browser.
std::string fileUrl(const std::filesystem::path& file);

// Opens a local file in the web browser through xdg-open, waiting no more
// than a moment for it. False with a reason in `error` when the file is
// missing, there is no xdg-open, or xdg-open found no browser.
bool openInBrowser(const std::filesystem::path& file, std::string& error);

// Opens the manual of the program folder; when it is missing, `error` says
// "the user manual is missing: PATH".
bool openManual(const std::filesystem::path& programFolder, std::string& error);

// Starts `xdg-open URL` as a child of its own (found on PATH, no shell). A
// child that ends at once is judged by its exit status (non-zero: it found
// nothing to open the URL with); one still running after a moment is left
// to itself and reaped when it ends, so none is left behind.
bool openWithXdgOpen(const std::string& url, std::string& error);

}  // namespace morvanex
