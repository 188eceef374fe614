// The game tick alone at the heaviest scene: 500 living monsters of the three kinds around the soldier, 200
// bullets in flight and 1000 effects (muzzle flashes, cartridge cases, fragments, bullet traces), on the real
// engine, headless, one tick in each frame of the engine's loop. Between ticks the scene is topped up to
// those numbers and the corpses are let into the ground as the frame procedure lets them, outside the timing.
// A tick is the game's rules (GameTick, the CPU time of the game's thread) and then the baking of the marks
// they laid into the ground, which the engine makes when their pixels are next needed, on every core it may
// use (made at once here, and timed on the wall clock).
// Prints: tick_us=MEDIAN rules_us=MEDIAN bake_us=MEDIAN budget_ratio=MEDIAN/16ms p99_us=P99 sprites=MEAN
// kills_per_tick=MEAN cores=N. `tick_bench TICKS` times that many ticks instead of 1000 (a short run for an
// instruction count under callgrind).
#include "BONUS.h"
#include "GEngine.h"
#include "GameTick.h"
#include "MONSTER1.h"
#include "OSKOLOK.h"
#include "PLAYER.h"
#include "RUN_GAME.h"
#include "ZORBEL.h"
#include "assets.h"
#include "bullets.h"
#include "cores.h"
#include "effects.h"
#include "level.h"

#include <algorithm>
#include <ctime>
#include <dlfcn.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kMonsters = 500, kBullets = 200, kFragments = 300, kTraces = 300, kFlashes = 200, kCases = 200;
constexpr int kWarmUpTicks = 50, kTimedTicks = 1000;
constexpr double kBudgetUs = 16000.0;

std::vector<double> gTickUs, gRulesUs, gBakeUs;
void (*gSettleDrawing)() = nullptr; // the engine's ZBDebug_SettleDrawing
uint64_t gSpriteSum = 0, gKills = 0;
uint32_t gSeed = 12345;

// The bench's own draws, so the game's generator runs as the game runs it.
int32_t Draw(int32_t n) {
    gSeed = gSeed * 1103515245u + 12345u;
    return static_cast<int32_t>((gSeed >> 8) % static_cast<uint32_t>(n));
}

template <typename T> int Count() {
    int n = 0;
    for (int32_t i = 0; i < GameEngine->Count; ++i)
        if (dynamic_cast<const T*>(GameEngine->At(i)) && !GameEngine->At(i)->Dead) ++n;
    return n;
}

int LivingMonsters(MonsterKind kind) {
    int n = 0;
    for (int32_t i = 0; i < GameEngine->Count; ++i) {
        const auto* m = dynamic_cast<const TMonster*>(GameEngine->At(i));
        if (m && m->Health > 0 && m->Species() == kind) ++n;
    }
    return n;
}

template <typename Monster> void AddMonsters(MonsterKind kind, int wanted) {
    for (int n = LivingMonsters(kind); n < wanted; ++n) {
        Monster* m = GameEngine->Add<Monster>();
        m->PosX = PlayerPosX + static_cast<float>(Draw(900) - 450);
        m->PosY = PlayerPosY + static_cast<float>(Draw(700) - 350);
        m->X = static_cast<int32_t>(m->PosX);
        m->Y = static_cast<int32_t>(m->PosY);
    }
}

// The soldier turns to a new heading for every shot, so bullets fly everywhere.
void Aim() {
    Player()->Angle = Draw(360);
}

template <typename Effect> void AddEffects(int wanted, ZB_Texture* picture) {
    for (int n = Count<Effect>(); n < wanted; ++n) {
        Aim();
        Effect* e = GameEngine->Add<Effect>();
        if (picture) {
            e->Texture = picture;
            e->X = Player()->X + Draw(600) - 300;
            e->Y = Player()->Y + Draw(400) - 200;
            e->Angle = Draw(360);
        }
    }
}

void TopUp() {
    AddMonsters<TZOMBI>(MonsterKind::Zombie, kMonsters / 3 + kMonsters % 3);
    AddMonsters<TALIEN>(MonsterKind::Alien, kMonsters / 3);
    AddMonsters<TPAYK_Y>(MonsterKind::Spider, kMonsters / 3);
    for (int n = Count<TBullet>(); n < kBullets; ++n) {
        Aim();
        GameEngine->Add<TBullet>(); // with its muzzle flash and its case
    }
    AddEffects<THLOP>(kFlashes, nullptr);
    AddEffects<TEMPTY>(kCases, nullptr);
    AddEffects<TOSKOLOK>(kFragments, TexNukeDebris);
    AddEffects<TSLED1PUL>(kTraces / 2, BulletTexture);
    AddEffects<TSLED2PUL>(kTraces / 2, BulletTexture);
    // What the frame procedure does between ticks: the living are counted, and corpses, blood and cases may
    // go into the ground.
    AliveZombies = static_cast<uint16_t>(LivingMonsters(MonsterKind::Zombie));
    AliveAliens = static_cast<uint16_t>(LivingMonsters(MonsterKind::Alien));
    AliveSpiders = static_cast<uint16_t>(LivingMonsters(MonsterKind::Spider));
    for (int32_t i = 0; i < GameEngine->Count; ++i) {
        CSprite* s = GameEngine->At(i);
        if (auto* m = dynamic_cast<TMonster*>(s)) m->StampToMap = true;
        if (auto* t = dynamic_cast<TSLED*>(s)) t->StampToMap = true;
        if (auto* c = dynamic_cast<TEMPTY*>(s)) c->StampToMap = true;
    }
}

double ClockUs(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}

// The CPU time of the game's thread: on an idle machine the rules' wall time, on a shared one still their own
// cost. Baking runs on other threads too, so it is timed on the wall clock.
double ThreadCpuUs() {
    return ClockUs(CLOCK_THREAD_CPUTIME_ID);
}
double WallUs() {
    return ClockUs(CLOCK_MONOTONIC);
}

// One tick a frame, as the game's timer gives about one: the engine's own end of frame runs between ticks
// (outside the timing), so what it keeps from frame to frame, such as the software renderer's cached copies,
// is let go as it is in play. The frames draw nothing.
void TimedTick() {
    static int tick = 0;
    TopUp();
    DefenceTimer = 65000;
    const int32_t killedBefore = MonstersKilled;
    const double start = ThreadCpuUs();
    GameTick();
    const double rules = ThreadCpuUs() - start;
    const double bakeStart = WallUs();
    gSettleDrawing();
    const double bake = WallUs() - bakeStart;
    if (tick++ < kWarmUpTicks) return;
    gTickUs.push_back(rules + bake);
    gRulesUs.push_back(rules);
    gBakeUs.push_back(bake);
    gSpriteSum += static_cast<uint64_t>(GameEngine->Count);
    gKills += static_cast<uint64_t>(MonstersKilled - killedBefore);
}

void LoadScene() {
    LoadProc();
    void* engine = dlopen(zorbel::DefaultLibraryPath().c_str(), RTLD_NOW | RTLD_NOLOAD);
    gSettleDrawing = reinterpret_cast<void (*)()>(engine ? dlsym(engine, "ZBDebug_SettleDrawing") : nullptr);
    if (!gSettleDrawing) {
        std::fprintf(stderr, "tick_bench: the engine has no ZBDebug_SettleDrawing\n");
        std::exit(1);
    }
    Timer_Free(&TickTimer); // the bench ticks the game itself, once a frame
    SetupLevel(28);
    GameTick(); // the level starts: leftovers go, play begins
    ZombieSpawn = AlienSpawn = SpiderSpawn = MixedSpawn = false;
    MonstersLeft = 0;
    DefenceTimer = 65000; // bites do nothing: the soldier stands through the whole run
    ZB_RegProcedure(0, TimedTick);
}

double Percentile(std::vector<double> values, double fraction) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    const size_t rank = static_cast<size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(rank, values.size() - 1)];
}

} // namespace

int main(int argc, char** argv) {
    const int timedTicks = argc > 1 ? std::max(1, std::atoi(argv[1])) : kTimedTicks;
    const std::filesystem::path user =
        std::filesystem::temp_directory_path() / ("drelmont_tick_" + std::to_string(getpid()));
    setenv("XDG_DATA_HOME", user.c_str(), 1);
    setenv("ZORBEL_HEADLESS", "1", 1);
    setenv("ALSOFT_DRIVERS", "null", 0);
    setenv("ZORBEL_MAX_FRAMES", std::to_string(kWarmUpTicks + timedTicks).c_str(), 1);
    const int status = RunGame(LoadScene);
    std::filesystem::remove_all(user);
    const double median = Percentile(gTickUs, 0.5);
    const uint64_t ticks = std::max<uint64_t>(gTickUs.size(), 1);
    std::printf("tick_us=%.1f rules_us=%.1f bake_us=%.1f budget_ratio=%.4f p99_us=%.1f sprites=%llu "
                "kills_per_tick=%.1f cores=%d\n",
                median, Percentile(gRulesUs, 0.5), Percentile(gBakeUs, 0.5), median / kBudgetUs,
                Percentile(gTickUs, 0.99), static_cast<unsigned long long>(gSpriteSum / ticks),
                static_cast<double>(gKills) / static_cast<double>(ticks), CoresUsed());
    return status;
}
