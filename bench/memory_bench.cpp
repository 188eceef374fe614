// Memory over a long run, as a player's session would grow it: the real program, headless, with the campaign
// bot touring every level for 1000 frames each. Resident size once the load procedure has run (the first
// frame that shows the main menu fully), once the first level has been played, and once the tour's last level
// has, told by the program's trace. Play's own working set (its pictures, the copy cache) comes in with the
// first level; what grows after it is what a long session keeps adding.
#include "cores.h"
#include "traced_program.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <utility>

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
    TracedProgram program;
    if (!program.Start({"ZORBEL_HEADLESS=1", "ALSOFT_DRIVERS=null", "DRELMONT_BOT=1",
                        "DRELMONT_BOT_TOUR=" + std::to_string(kFramesPerLevel),
                        "XDG_DATA_HOME=" + userDir.string()})) {
        std::fprintf(stderr, "memory_bench: cannot start %s\n", DRELMONT);
        return false;
    }
    // The trace is read to its end, so the program leaves by its own exit line once the tour is done.
    while (program.ReadMore(kSilenceMs)) {
        if (mb.start < 0 && program.Saw("menu shown\n")) mb.start = ResidentMb(program.Pid());
        if (mb.firstLevel < 0 && program.Saw("bot 1,")) mb.firstLevel = ResidentMb(program.Pid());
        if (mb.end < 0 && program.Saw("bot done tour\n")) mb.end = ResidentMb(program.Pid());
    }
    const bool exited = program.Finish();
    if (program.Stalled()) {
        std::fprintf(stderr, "memory_bench: the program said nothing for %d s and was stopped\n",
                     kSilenceMs / 1000);
        return false;
    }
    if (mb.start <= 0 || mb.firstLevel <= 0 || mb.end <= 0) {
        std::fprintf(stderr, "memory_bench: the tour did not run to its end\n");
        return false;
    }
    if (!exited) {
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
                "levels=30 frames_per_level=%d cores=%d\n",
                mb.start, mb.end, mb.end / mb.start, mb.firstLevel, mb.end / mb.firstLevel, kFramesPerLevel,
                CoresUsed());
    return 0;
}
