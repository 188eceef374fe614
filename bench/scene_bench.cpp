// The heaviest real scenes on the software renderer, headless: the real game on the real engine, timed frame
// by frame over a window of frames where the scene is at its fullest. The soldier cannot be hurt, so a scene
// plays to its end. Frame times are wall time from one frame's start to the next's, which is what a player
// waits for now that the engine blends on every core it may use; beside them, the CPU time of every thread
// of the process per frame, which still tells a frame's own cost on a shared machine.
// Prints one line per scene: scene=NAME frame_ms_median=M p99=P cpu_ms_median=C monsters=N (living monsters,
// mean) cores=K.
// Each scene runs in a process of its own (the program starts itself with the scene's name).
#include "BOMBS.h"
#include "BONUS.h"
#include "GEngine.h"
#include "GameTick.h"
#include "MONSTER1.h"
#include "PLAYER.h"
#include "RUN_GAME.h"
#include "ZORBEL.h"
#include "autopilot.h"
#include "cores.h"
#include "level.h"

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

struct Scene {
    const char* name;
    uint8_t level;
    bool autopilot;    // the autopilot aims, fires and backs off; otherwise the soldier stands
    uint64_t from, to; // the frames timed: from .. to - 1
    void (*stage)(uint64_t frame);
    const char* what;
};

void NoStaging(uint64_t) {}

// Three quarters of the quota dead: the strike goes off on the next tick.
void StrikeAt900(uint64_t frame) {
    if (frame == 900) KillCount = MonstersTotal * 3 / 4;
}

// A field of mines around the soldier as the crowd closes in, then a nuclear strike among them.
void MinesThenNuke(uint64_t frame) {
    if (frame == 2400) {
        MineBlastSize = 350; // the mines of the third upgrade level
        MineDamage = 80;
        for (int ring = 1; ring <= 3; ++ring) {
            for (int k = 0; k < 16; ++k) {
                TMINE1* mine = GameEngine->Add<TMINE1>();
                mine->X = Player()->X + 30 + static_cast<int32_t>(HeadingX(k * 360 / 16) * 45.0 * ring);
                mine->Y = Player()->Y + 30 + static_cast<int32_t>(HeadingY(k * 360 / 16) * 45.0 * ring);
            }
        }
    }
    if (frame == 2430) NuclearStrike(Player()->X, Player()->Y);
}

const Scene kScenes[] = {
    {"level28_late", 28, false, 3600, 4200, NoStaging,
     "level 28 late, every edge spawning: 200 and more monsters"},
    {"level15_strike", 15, true, 900, 1200, StrikeAt900,
     "level 15's strike: flash, ring, crater, every monster down"},
    {"nuke_mines", 28, false, 2400, 2700, MinesThenNuke,
     "48 mines going off in the level-28 crowd, then a strike"},
};

const Scene* gScene = nullptr;
uint64_t gFrame = 0;
double gLastStartMs = 0.0, gLastCpuMs = 0.0;
std::vector<double> gFrameMs, gCpuMs;
uint64_t gMonsterSum = 0;

uint16_t LivingMonsters() {
    uint16_t n = 0;
    for (int32_t i = 0; i < GameEngine->Count; ++i) {
        const auto* m = dynamic_cast<const TMonster*>(GameEngine->At(i));
        if (m && m->Health > 0) ++n;
    }
    return n;
}

// The frame procedure, timed from the start of one frame to the start of the next: the whole of a frame,
// the engine's share included.
double ClockMs(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

void TimedFrame() {
    const double now = ClockMs(CLOCK_MONOTONIC), cpu = ClockMs(CLOCK_PROCESS_CPUTIME_ID);
    ++gFrame;
    if (gFrame > gScene->from && gFrame <= gScene->to) {
        gFrameMs.push_back(now - gLastStartMs);
        gCpuMs.push_back(cpu - gLastCpuMs);
    }
    gLastStartMs = now;
    gLastCpuMs = cpu;
    DefenceTimer = 65000;
    gScene->stage(gFrame);
    if (gFrame >= gScene->from && gFrame < gScene->to) gMonsterSum += LivingMonsters();
    DrawFrame();
}

void LoadScene() {
    LoadProc();
    if (gScene->autopilot) autopilot::TakeControls();
    SetupLevel(gScene->level);
    ZB_RegProcedure(0, TimedFrame);
}

double Percentile(std::vector<double> values, double fraction) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    const size_t rank = static_cast<size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(rank, values.size() - 1)];
}

int RunScene(const Scene& scene) {
    gScene = &scene;
    const std::filesystem::path user =
        std::filesystem::temp_directory_path() / ("drelmont_scene_" + std::to_string(getpid()));
    setenv("XDG_DATA_HOME", user.c_str(), 1);
    setenv("ZORBEL_HEADLESS", "1", 1);
    setenv("ALSOFT_DRIVERS", "null", 0);
    setenv("ZORBEL_MAX_FRAMES", std::to_string(scene.to + 1).c_str(), 1);
    const int status = RunGame(LoadScene);
    std::filesystem::remove_all(user);
    const uint64_t timed = scene.to - scene.from;
    std::printf("scene=%s frame_ms_median=%.2f p99=%.2f cpu_ms_median=%.2f monsters=%llu cores=%d\n",
                scene.name, Percentile(gFrameMs, 0.5), Percentile(gFrameMs, 0.99), Percentile(gCpuMs, 0.5),
                static_cast<unsigned long long>(gMonsterSum / timed), CoresUsed());
    return status;
}

} // namespace

int main(int argc, char** argv) {
    for (const Scene& scene : kScenes)
        if (argc == 2 && std::strcmp(argv[1], scene.name) == 0) return RunScene(scene);
    if (argc != 1) {
        std::fprintf(stderr, "usage: %s [SCENE]; scenes:\n", argv[0]);
        for (const Scene& scene : kScenes)
            std::fprintf(stderr, "  %-16s %s (frames %llu to %llu)\n", scene.name, scene.what,
                         static_cast<unsigned long long>(scene.from),
                         static_cast<unsigned long long>(scene.to - 1));
        return 2;
    }
    int worst = 0;
    for (const Scene& scene : kScenes) {
        std::fflush(stdout);
        const std::string command = std::string("'") + argv[0] + "' " + scene.name;
        worst = std::max(worst, std::system(command.c_str()));
    }
    return worst == 0 ? 0 : 1;
}
