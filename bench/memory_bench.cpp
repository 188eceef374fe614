// Memory over a long run, as a player's session would grow it: the real program, headless, with the campaign
// bot touring every level for 1000 frames each. Resident size once the load procedure has run (the first
// frame that shows the main menu fully), once the first level has been played, and once the tour's last level
// has, told by the program's trace. Play's own working set (its pictures, the copy cache) comes in with the
// first level; what grows after it is what a long session keeps adding.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <csignal>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <system_error>
#include <utility>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr int kFramesPerLevel = 1000;
constexpr int kSilenceMs = 120000; // a program that says nothing for this long has stalled

// Resident size of a process in megabytes, or a negative number.
double ResidentMb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) return std::atof(line.c_str() + 6) / 1024.0;
    }
    return -1;
}

// The bench's own user folder, gone however the bench ends.
struct TempDir {
    fs::path path;
    explicit TempDir(fs::path p) : path(std::move(p)) { fs::create_directories(path / "drelmont"); }
    ~TempDir() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
};

struct Sizes {
    double start = -1, firstLevel = -1, end = -1;
};

// Runs the tour and fills in the sizes; false with a message when it did not run to its end.
bool MeasureTour(const fs::path& userDir, Sizes& mb) {
    int fds[2];
    if (pipe(fds) != 0) {
        std::fprintf(stderr, "memory_bench: no pipe for the trace\n");
        return false;
    }
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        env.emplace_back(*e);
    for (const char* e : {"ZORBEL_HEADLESS=1", "ALSOFT_DRIVERS=null", "DRELMONT_BOT=1"})
        env.emplace_back(e);
    env.push_back("DRELMONT_BOT_TOUR=" + std::to_string(kFramesPerLevel));
    env.push_back("XDG_DATA_HOME=" + userDir.string());
    env.push_back("DRELMONT_TRACE_FD=" + std::to_string(fds[1]));
    std::vector<char*> envp;
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    char* argv[] = {const_cast<char*>(DRELMONT), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", 1, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", 1, 0);
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, DRELMONT, &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (rc != 0) {
        close(fds[0]);
        std::fprintf(stderr, "memory_bench: cannot start %s\n", DRELMONT);
        return false;
    }

    // The trace is read to its end, so the program leaves by its own exit line once the tour is done.
    std::string seen;
    pollfd pfd{fds[0], POLLIN, 0};
    bool stalled = false;
    for (;;) {
        if (poll(&pfd, 1, kSilenceMs) <= 0) {
            stalled = true;
            break;
        }
        char buffer[512];
        const ssize_t n = read(fds[0], buffer, sizeof buffer);
        if (n <= 0) break;
        seen.append(buffer, static_cast<size_t>(n));
        if (mb.start < 0 && seen.find("menu shown\n") != std::string::npos) mb.start = ResidentMb(pid);
        if (mb.firstLevel < 0 && seen.find("bot 1,") != std::string::npos) mb.firstLevel = ResidentMb(pid);
        if (mb.end < 0 && seen.find("bot done tour\n") != std::string::npos) mb.end = ResidentMb(pid);
    }
    close(fds[0]);
    if (stalled) kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    if (stalled) {
        std::fprintf(stderr, "memory_bench: the program said nothing for %d s and was stopped\n",
                     kSilenceMs / 1000);
        return false;
    }
    if (mb.start <= 0 || mb.firstLevel <= 0 || mb.end <= 0) {
        std::fprintf(stderr, "memory_bench: the tour did not run to its end\n");
        return false;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "memory_bench: the program failed after the tour\n");
        return false;
    }
    return true;
}

} // namespace

int main() {
    const TempDir dir(fs::temp_directory_path() / ("drelmont_memory_bench_" + std::to_string(getpid())));
    // Every level open, so the tour can start each from the mission list.
    std::ofstream(dir.path / "drelmont" / "SAVE.INI") << "[prA(*@)]\nBH5sj =29\n";
    Sizes mb;
    if (!MeasureTour(dir.path, mb)) return 1;
    std::printf("rss_start_mb=%.1f rss_end_mb=%.1f growth=%.3f rss_level1_mb=%.1f growth_after_level1=%.3f "
                "levels=30 frames_per_level=%d\n",
                mb.start, mb.end, mb.end / mb.start, mb.firstLevel, mb.end / mb.firstLevel, kFramesPerLevel);
    return 0;
}
