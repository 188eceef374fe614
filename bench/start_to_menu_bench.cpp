// Start-up time as a player feels it: from starting the real program, headless, to the first frame that
// shows the main menu at full strength. The program tells the frame through its trace descriptor.
#include "cores.h"
#include "traced_program.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kRuns = 5;
constexpr int kSilenceMs = 30000;

// One start of the program; the milliseconds until it reported the menu, or a negative number.
double TimeOneStart(const fs::path& userDir) {
    TracedProgram program;
    const Clock::time_point start = Clock::now();
    if (!program.Start({"ZORBEL_HEADLESS=1", "ALSOFT_DRIVERS=null", "ZORBEL_MAX_FRAMES=120",
                        "XDG_DATA_HOME=" + userDir.string()}))
        return -1;
    while (program.ReadMore(kSilenceMs)) {
        if (program.Saw("menu shown\n"))
            return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    }
    return -1;
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
    std::printf("start_to_menu_ms=%.0f runs=%d min_ms=%.0f max_ms=%.0f cores=%d\n", runs[runs.size() / 2],
                kRuns, runs.front(), runs.back(), CoresUsed());
    return 0;
}
