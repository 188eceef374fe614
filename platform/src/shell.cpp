// Opening files with the desktop and showing an error box, without any windowing library.
#include "platform.h"

#include <cstdio>
#include <cstdlib>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace platform {
namespace {

// Starts a program found on PATH; waits for it only when asked. Returns false if it could not start
// (or, when waiting, if it did not exit with status 0).
bool Spawn(const char* const argv[], bool wait) {
    pid_t pid = 0;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", 1, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", 1, 0);
    const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, const_cast<char* const*>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) return false;
    if (!wait) return true;
    int status = 0;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool HaveDisplay() {
    const char* x = std::getenv("DISPLAY");
    const char* w = std::getenv("WAYLAND_DISPLAY");
    return (x && *x) || (w && *w);
}

} // namespace

bool ShellOpen(const std::string& windowsName) {
    const std::string path = ResolvePath(windowsName);
    // A shell starts the handler in the background and ends at once; waiting for it leaves no child behind.
    const char* argv[] = {"sh", "-c",         "command -v xdg-open >/dev/null && { xdg-open \"$1\" & }",
                          "sh", path.c_str(), nullptr};
    return Spawn(argv, true);
}

void ShowErrorBox(const std::string& caption, const std::string& text) {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    if (!HaveDisplay()) return;
    const std::string title = "--title=" + caption;
    const std::string message = "--text=" + text;
    const char* zenity[] = {"zenity", "--error", title.c_str(), message.c_str(), nullptr};
    const char* kdialog[] = {"kdialog", "--title", caption.c_str(), "--error", text.c_str(), nullptr};
    const char* xmessage[] = {"xmessage", "-center", text.c_str(), nullptr};
    Spawn(zenity, true) || Spawn(kdialog, true) || Spawn(xmessage, true);
}

} // namespace platform
