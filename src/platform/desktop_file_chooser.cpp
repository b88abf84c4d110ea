#include "platform/desktop_file_chooser.h"

#include <algorithm>
#include <cctype>
#include <cerrno>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "base/text_encoding.h"

extern char** environ;

namespace morvanex {

namespace {

std::string caseMapped(std::string text, int (*map)(int)) {
    for (char& c : text) c = static_cast<char>(map(static_cast<unsigned char>(c)));
    return text;
}

// "*.mrx *.MRX *.obj *.OBJ": the desktop's choosers match case exactly.
std::string patternsOf(const FileFilter& filter) {
    std::vector<std::string> patterns;
    const auto add = [&patterns](const std::string& pattern) {
        if (std::find(patterns.begin(), patterns.end(), pattern) == patterns.end()) patterns.push_back(pattern);
    };
    for (std::string extension : filter.extensions) {
        if (!extension.empty() && extension.front() == '.') extension.erase(0, 1);
        if (extension.empty()) continue;
        if (extension == "*") {
            add("*");
            continue;
        }
        add("*." + caseMapped(extension, ::tolower));
        add("*." + caseMapped(extension, ::toupper));
    }
    std::string joined;
    for (const std::string& pattern : patterns) joined += (joined.empty() ? "" : " ") + pattern;
    return joined.empty() ? std::string("*") : joined;
}

// The filter's name in UTF-8, without the '|' both choosers split on.
std::string filterName(const FileFilter& filter) {
    std::string name = utf8FromCp1252(filter.name);
    std::replace(name.begin(), name.end(), '|', '/');
    return name;
}

std::string utf8Path(const std::filesystem::path& path) {
    const std::u8string bytes = path.u8string();
    return std::string(bytes.begin(), bytes.end());
}

// The folder the chooser opens in, and the suggested name in it. A folder
// alone ends with '/' so that zenity opens it rather than naming it.
std::string startLocation(const FileDialogRequest& request) {
    if (request.suggestedName.empty()) {
        if (request.startFolder.empty()) return {};
        std::string folder = utf8Path(request.startFolder);
        if (folder.back() != '/') folder += '/';
        return folder;
    }
    return utf8Path(request.startFolder.empty() ? request.suggestedName
                                                : request.startFolder / request.suggestedName);
}

std::string trimmedLineEnd(std::string_view output) {
    const std::size_t end = output.find_first_of("\r\n");
    return std::string(output.substr(0, end));
}

}  // namespace

bool executableOnPath(std::string_view name, std::string_view searchPath) {
    if (name.empty() || name.find('/') != std::string_view::npos) return false;
    std::size_t start = 0;
    while (start <= searchPath.size()) {
        const std::size_t colon = std::min(searchPath.find(':', start), searchPath.size());
        // An empty PATH entry means the current folder.
        const std::string_view folder = searchPath.substr(start, colon - start);
        const std::filesystem::path candidate =
            std::filesystem::path(folder.empty() ? "." : std::string(folder)) / std::string(name);
        std::error_code error;
        if (std::filesystem::is_regular_file(candidate, error) && ::access(candidate.c_str(), X_OK) == 0) return true;
        start = colon + 1;
    }
    return false;
}

DesktopChooser pickDesktopChooser(const EnvironmentLookup& env) {
    const std::string setting = caseMapped(env(kFileDialogVariable).value_or(""), ::tolower);
    if (setting == "builtin") return DesktopChooser::None;
    if (setting == "zenity") return DesktopChooser::Zenity;
    if (setting == "kdialog") return DesktopChooser::Kdialog;
    const std::string path = env("PATH").value_or("");
    if (executableOnPath("zenity", path)) return DesktopChooser::Zenity;
    if (executableOnPath("kdialog", path)) return DesktopChooser::Kdialog;
    return DesktopChooser::None;
}

std::vector<std::string> zenityArguments(const FileDialogRequest& request) {
    std::vector<std::string> arguments{"zenity", "--file-selection"};
    if (!request.title.empty()) arguments.push_back("--title=" + utf8FromCp1252(request.title));
    if (request.save) {
        arguments.emplace_back("--save");
        if (request.confirmOverwrite) arguments.emplace_back("--confirm-overwrite");
    }
    const std::string start = startLocation(request);
    if (!start.empty()) arguments.push_back("--filename=" + start);
    for (const FileFilter& filter : request.filters) {
        arguments.push_back("--file-filter=" + filterName(filter) + " | " + patternsOf(filter));
    }
    return arguments;
}

std::vector<std::string> kdialogArguments(const FileDialogRequest& request) {
    std::vector<std::string> arguments{"kdialog"};
    if (!request.title.empty()) {
        arguments.emplace_back("--title");
        arguments.push_back(utf8FromCp1252(request.title));
    }
    arguments.emplace_back(request.save ? "--getsavefilename" : "--getopenfilename");
    const std::string start = startLocation(request);
    arguments.push_back(start.empty() ? std::string(".") : start);
    // KDE's filter list: "patterns|name" lines.
    std::string filters;
    for (const FileFilter& filter : request.filters) {
        if (!filters.empty()) filters += '\n';
        filters += patternsOf(filter) + "|" + filterName(filter);
    }
    if (!filters.empty()) arguments.push_back(filters);
    return arguments;
}

std::vector<std::string> chooserArguments(DesktopChooser chooser, const FileDialogRequest& request) {
    switch (chooser) {
        case DesktopChooser::Zenity: return zenityArguments(request);
        case DesktopChooser::Kdialog: return kdialogArguments(request);
        case DesktopChooser::None: break;
    }
    return {};
}

DesktopChooserOutcome outcomeFromChooser(bool exitedNormally, int exitStatus, std::string_view output) {
    if (!exitedNormally) return {};
    if (exitStatus == 1) return {true, std::nullopt};
    if (exitStatus != 0) return {};
    const std::string chosen = trimmedLineEnd(output);
    if (chosen.empty()) return {true, std::nullopt};
    return {true, std::filesystem::path(std::u8string(chosen.begin(), chosen.end()))};
}

ChildResult runChildProgram(const std::vector<std::string>& arguments) {
    ChildResult result;
    if (arguments.empty()) return result;
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) return result;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // The child writes its answer into the pipe; dup2 clears close-on-exec
    // on the copy, so only standard output stays open there.
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t child = 0;
    const int spawned = ::posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    if (spawned != 0) {
        ::close(pipeEnds[0]);
        return result;
    }
    result.started = true;
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(pipeEnds[0], buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        // Past the limit the output is drained but not kept: no path is that long.
        const std::size_t room = kChildOutputLimit - std::min(kChildOutputLimit, result.output.size());
        result.output.append(buffer, std::min(room, static_cast<std::size_t>(got)));
    }
    ::close(pipeEnds[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) return result;
    }
    result.exitedNormally = WIFEXITED(status);
    result.exitStatus = result.exitedNormally ? WEXITSTATUS(status) : -1;
    return result;
}

DesktopChooserOutcome runDesktopChooser(DesktopChooser chooser, const FileDialogRequest& request) {
    const std::vector<std::string> arguments = chooserArguments(chooser, request);
    if (arguments.empty()) return {};
    // Modal, like the system dialog it stands for: the window thread waits
    // here until the user answers, and the window is not redrawn meanwhile.
    const ChildResult child = runChildProgram(arguments);
    if (!child.started) return {};
    return outcomeFromChooser(child.exitedNormally, child.exitStatus, child.output);
}

}  // namespace morvanex
