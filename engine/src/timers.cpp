// Engine time (real or virtual) and the timers that run on it.
#include "engine.h"
#include "hooks.h"
#include "replay.h"

#include <chrono>
#include <cmath>
#include <memory>
#include <vector>

struct ZB_Timer {
    ZB_Procedure proc;
    double intervalMs;
    double due;
    int callsThisFrame;
    bool freed;
};

namespace zorbel {
namespace {

struct ClockState {
    bool started = false;
    bool virtualTime = false;
    double frameMs = 1000.0 / 60.0;
    // Engine time holds still during a frame: every reading inside one frame gives the frame's time, so a
    // run is fully described by one time per frame, and a recording of them replays it exactly.
    double now = 0.0;
    Uint64 epoch = 0;
    double startMs =
        0.0; // real time starts at the wall clock, so games seeded from it differ from run to run
};
ClockState gClock;

constexpr double kDefaultFrameMs = 16.667;

// The clock starts at its first use, which may come before ZB_Init (the game makes its tick timer first).
void StartClock() {
    if (gClock.started) return;
    gClock.started = true;
    gClock.virtualTime = hooks::WholeNumber("ZORBEL_HEADLESS", 0, 1, 0) == 1;
    gClock.frameMs = hooks::PositiveNumber("ZORBEL_FRAME_MS", kDefaultFrameMs);
    replay::Start();
    gClock.epoch = SDL_GetPerformanceCounter();
    if (replay::Replaying())
        gClock.startMs = replay::StartTime();
    else if (gClock.virtualTime)
        gClock.startMs = 0.0;
    else
        gClock.startMs = static_cast<double>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                 std::chrono::system_clock::now().time_since_epoch())
                                                 .count());
    gClock.now = gClock.startMs;
    replay::RecordStart(gClock.now);
}

struct TimerState {
    std::vector<std::unique_ptr<ZB_Timer>> all;
    bool dispatching = false;
};
TimerState gTimers;

ZB_Timer* EarliestDue(double now) {
    ZB_Timer* earliest = nullptr;
    for (auto& t : gTimers.all)
        if (!t->freed && t->due <= now && t->callsThisFrame < timers::kMaxCallsPerFrame &&
            (!earliest || t->due < earliest->due))
            earliest = t.get();
    return earliest;
}

void Sweep() {
    std::erase_if(gTimers.all, [](const auto& t) { return t->freed; });
}

} // namespace

namespace clock {

double Now() {
    StartClock();
    return gClock.now;
}

bool IsVirtual() {
    StartClock();
    return gClock.virtualTime;
}

double FrameMs() {
    StartClock();
    return gClock.frameMs;
}

double BeginFrame(uint64_t frame) {
    StartClock();
    if (replay::Replaying())
        gClock.now = replay::FrameTime(frame);
    else if (gClock.virtualTime)
        gClock.now = static_cast<double>(frame) * gClock.frameMs;
    else
        gClock.now = gClock.startMs + static_cast<double>(SDL_GetPerformanceCounter() - gClock.epoch) *
                                          1000.0 / static_cast<double>(SDL_GetPerformanceFrequency());
    replay::BeginFrame(gClock.now);
    return gClock.now;
}

void Reset() {
    gClock = ClockState{};
}

} // namespace clock

namespace timers {

void RunDue(double now) {
    gTimers.dispatching = true;
    for (auto& t : gTimers.all)
        t->callsThisFrame = 0;
    // One call at a time in order of due time, so several timers interleave as their periods say.
    // A procedure may create timers (not due before now + ms) or free any timer, itself included.
    while (ZB_Timer* t = EarliestDue(now)) {
        ++t->callsThisFrame;
        t->due += t->intervalMs;
        t->proc();
    }
    // A timer still behind after its share of calls skips the missed periods: after a stall the game
    // slows down for a moment instead of running a burst of ticks.
    for (auto& t : gTimers.all)
        if (!t->freed && t->due <= now)
            t->due += (std::floor((now - t->due) / t->intervalMs) + 1) * t->intervalMs;
    gTimers.dispatching = false;
    Sweep();
}

void Reset() {
    gTimers = TimerState{};
}

} // namespace timers
} // namespace zorbel

using namespace zorbel;

double U_GetTime(void) {
    return clock::Now();
}

ZB_Timer* Timer_Create(ZB_Procedure proc, int32_t ms, int32_t) {
    if (!proc || ms <= 0) {
        Report("Timer_Create needs a procedure and a positive interval (got %d ms)", ms);
        return nullptr;
    }
    const double interval = ms;
    gTimers.all.push_back(
        std::make_unique<ZB_Timer>(ZB_Timer{proc, interval, clock::Now() + interval, 0, false}));
    return gTimers.all.back().get();
}

void Timer_Free(ZB_Timer** timer) {
    if (!timer || !*timer) return;
    ZB_Timer* target = *timer;
    *timer = nullptr;
    for (auto& t : gTimers.all)
        if (t.get() == target) t->freed = true;
    if (!gTimers.dispatching) Sweep();
}
