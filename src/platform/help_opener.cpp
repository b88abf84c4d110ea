#include "platform/help_opener.h"

#include <cerrno>
#include <chrono>
#include <optional>
#include <csignal>
#include <cstring>
#include <system_error>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>
#include <sys/wait.h>

extern char** environ;

namespace morvanex {
namespace {

bool isUnreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~';
}

std::string percentEncodePath(const std::string& bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size());
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (isUnreserved(c) || c == '/') {
            out.push_back(ch);
        } else {
            out.push_back('%');
            out.push_back(kHex[c >> 4]);
            out.push_back(kHex[c & 0x0F]);
        }
    }
    return out;
}

// Collects the child's exit status off the caller's thread, so the caller
// never waits for the browser and no zombie stays behind.
void reapInBackground(pid_t child) {
    try {
        std::thread([child] {
            int status = 0;
            while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    } catch (const std::system_error&) {
        // No thread to spare: collect it now if it has already ended; at
        // worst one finished child stays listed until the program exits.
        int status = 0;
        ::waitpid(child, &status, WNOHANG);
    }
}

// How long xdg-open is watched: one that finds no browser gives up within
// it; one still running then has handed the page on (or is the browser).
constexpr auto kEarlyExitWait = std::chrono::milliseconds(1500);
constexpr auto kEarlyExitPoll = std::chrono::milliseconds(20);

// The exit status of a child that ends within kEarlyExitWait (255 for one
// ended by a signal); nothing while it still runs.
std::optional<int> earlyExitStatus(pid_t child) {
    const auto deadline = std::chrono::steady_clock::now() + kEarlyExitWait;
    while (true) {
        int status = 0;
        const pid_t ended = ::waitpid(child, &status, WNOHANG);
        if (ended == child) return WIFEXITED(status) ? WEXITSTATUS(status) : 255;
        if (ended < 0 && errno != EINTR) return std::nullopt;
        if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
        std::this_thread::sleep_for(kEarlyExitPoll);
    }
}

// Spawn settings for a child that should behave like one started from the
// desktop: default signal handling, nothing blocked, its own session, and
// no share in the program's standard input.
struct SpawnSetup {
    posix_spawnattr_t attributes{};
    posix_spawn_file_actions_t actions{};
    bool ready = false;

    SpawnSetup() {
        if (posix_spawnattr_init(&attributes) != 0) return;
        if (posix_spawn_file_actions_init(&actions) != 0) {
            posix_spawnattr_destroy(&attributes);
            return;
        }
        ready = true;
        sigset_t none;
        sigemptyset(&none);
        sigset_t all;
        sigfillset(&all);
        posix_spawnattr_setsigmask(&attributes, &none);
        posix_spawnattr_setsigdefault(&attributes, &all);
        int flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
#ifdef POSIX_SPAWN_SETSID
        flags |= POSIX_SPAWN_SETSID;
#endif
        posix_spawnattr_setflags(&attributes, static_cast<short>(flags));
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    }
    ~SpawnSetup() {
        if (!ready) return;
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;
};

}  // namespace

std::filesystem::path manualPath(const std::filesystem::path& programFolder) {
    return programFolder / kManualFileName;
}

std::string fileUrl(const std::filesystem::path& file) {
    std::error_code ignored;
    std::filesystem::path absolute = std::filesystem::absolute(file, ignored);
    if (absolute.empty()) absolute = file;
    const std::u8string u8 = absolute.lexically_normal().generic_u8string();
    return "file://" + percentEncodePath(std::string(u8.begin(), u8.end()));
}

bool openWithXdgOpen(const std::string& url, std::string& error) {
    SpawnSetup setup;
    if (!setup.ready) {
        error = "cannot start xdg-open: out of resources";
        return false;
    }
    std::string program = "xdg-open";
    std::string argument = url;
    std::vector<char*> argv = {program.data(), argument.data(), nullptr};
    pid_t child = 0;
    const int result = posix_spawnp(&child, program.c_str(), &setup.actions, &setup.attributes, argv.data(), environ);
    if (result != 0) {
        error = "cannot start xdg-open: " + std::string(std::strerror(result));
        return false;
    }
    if (const std::optional<int> status = earlyExitStatus(child)) {
        if (*status == 0) return true;
        error = "xdg-open found no program to show " + url + " (exit status " + std::to_string(*status) + ")";
        return false;
    }
    reapInBackground(child);
    return true;
}

bool openInBrowser(const std::filesystem::path& file, std::string& error) {
    std::error_code status;
    if (!std::filesystem::is_regular_file(file, status)) {
        error = "no such file: " + file.string();
        return false;
    }
    // Not SDL_OpenURL: it starts xdg-open behind a second process and says
    // it succeeded even when there is no xdg-open or no browser.
    return openWithXdgOpen(fileUrl(file), error);
}

bool openManual(const std::filesystem::path& programFolder, std::string& error) {
    const std::filesystem::path manual = manualPath(programFolder);
    std::error_code status;
    if (!std::filesystem::is_regular_file(manual, status)) {
        error = "the user manual is missing: " + manual.string();
        return false;
    }
    return openInBrowser(manual, error);
}

}  // namespace morvanex
