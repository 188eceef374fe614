// Start-up time as a player feels it: from starting the real program, headless, to the first frame that
// shows the main menu at full strength. The program tells the frame through its trace descriptor.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kRuns = 5;
constexpr int kTimeoutMs = 30000;

// One start of the program; the milliseconds until it reported the menu, or a negative number.
double TimeOneStart(const fs::path& userDir) {
    int fds[2];
    if (pipe(fds) != 0) return -1;
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        env.emplace_back(*e);
    env.push_back("ZORBEL_HEADLESS=1");
    env.push_back("ALSOFT_DRIVERS=null");
    env.push_back("ZORBEL_MAX_FRAMES=120");
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
    const Clock::time_point start = Clock::now();
    const int rc = posix_spawn(&pid, DRELMONT, &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (rc != 0) {
        close(fds[0]);
        return -1;
    }

    double ms = -1;
    std::string seen;
    pollfd pfd{fds[0], POLLIN, 0};
    while (ms < 0 && poll(&pfd, 1, kTimeoutMs) > 0) {
        char buffer[256];
        const ssize_t n = read(fds[0], buffer, sizeof buffer);
        if (n <= 0) break;
        seen.append(buffer, static_cast<size_t>(n));
        if (seen.find("menu shown\n") != std::string::npos)
            ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    }
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return ms;
}

} // namespace

int main() {
    const fs::path userDir = fs::temp_directory_path() / ("drelmont_bench_" + std::to_string(getpid()));
    std::vector<double> runs;
    for (int i = 0; i < kRuns; ++i) {
        const double ms = TimeOneStart(userDir);
        if (ms < 0) {
            std::fprintf(stderr, "start_to_menu_bench: the program never showed the main menu\n");
            fs::remove_all(userDir);
            return 1;
        }
        runs.push_back(ms);
    }
    fs::remove_all(userDir);
    std::sort(runs.begin(), runs.end());
    std::printf("start_to_menu_ms=%.0f runs=%d min_ms=%.0f max_ms=%.0f\n", runs[runs.size() / 2], kRuns,
                runs.front(), runs.back());
    return 0;
}
