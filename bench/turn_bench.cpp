// The one-pass turn and blend of marks into a ground tile, on one thread, by each kernel the CPU has: 7200
// turns of a 64 x 64 blood-like mark (an opaque middle, a ragged half-transparent rim, clear corners) at
// every half degree, plain and tinted, into a 256 x 256 tile. The fastest of 25 rounds is printed, so a
// change to a kernel shows apart from the noise of a shared machine and from how the baking is spread over
// threads. Prints: turn_bench marks=7200 sse2_ms=… avx2_ms=… cores=1 (a kernel the CPU lacks prints "-").
#include "soft_bake.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

using namespace zorbel::pixels;

namespace {

constexpr int kMarkSize = 64, kTileSize = 256, kAngles = 360, kRepeats = 20, kRounds = 25;

Buffer Mark() {
    Buffer mark(kMarkSize, kMarkSize);
    uint32_t seed = 7;
    for (int y = 0; y < kMarkSize; ++y)
        for (int x = 0; x < kMarkSize; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const double r = std::hypot(x - 31.5, y - 31.5) + (seed >> 28) % 6;
            const uint32_t alpha = r < 28 ? (r < 22 ? 255u : (seed >> 8) & 0xffu) : 0u;
            mark.view().Row(y)[x] = alpha << 24 | (seed & 0x00ffffffu);
        }
    return mark;
}

double RoundMs(const View& mark, const std::vector<TurnPlan>& plans, const View& tile, Kernel kernel) {
    const auto start = std::chrono::steady_clock::now();
    for (int repeat = 0; repeat < kRepeats; ++repeat)
        for (int i = 0; i < kAngles; ++i)
            TurnOnto(mark, Rect{0, 0, kMarkSize, kMarkSize}, plans[static_cast<size_t>(i)], Filter::Bilinear,
                     tile, (i * 37) % 180, (i * 53) % 180,
                     i % 2 ? Modulation{} : Modulation{200, 100, 50, 180}, kernel);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main() {
    Buffer mark = Mark();
    Buffer tile(kTileSize, kTileSize);
    for (int y = 0; y < kTileSize; ++y)
        for (int x = 0; x < kTileSize; ++x)
            tile.view().Row(y)[x] = 0xff203040u + static_cast<uint32_t>(x + y);
    std::vector<TurnPlan> plans;
    for (int i = 0; i < kAngles; ++i)
        plans.push_back(PlanTurn(kMarkSize, kMarkSize, i + 0.5, kMarkSize / 2.0f, kMarkSize / 2.0f));
    struct Timed {
        const char* name;
        Kernel kernel;
        bool present;
        double best = 1e300;
    };
    std::vector<Timed> kernels = {{"sse2", Kernel::Sse2, kHaveSse2}, {"avx2", Kernel::Avx2, HaveAvx2()}};
    // Rounds alternate the kernels, so a slow spell of the machine falls on all of them.
    for (int round = 0; round < kRounds; ++round)
        for (Timed& k : kernels)
            if (k.present) k.best = std::min(k.best, RoundMs(mark.view(), plans, tile.view(), k.kernel));
    std::printf("turn_bench marks=%d", kAngles * kRepeats);
    for (const Timed& k : kernels) {
        if (k.present)
            std::printf(" %s_ms=%.1f", k.name, k.best);
        else
            std::printf(" %s_ms=-", k.name);
    }
    // One thread, whatever the machine has.
    std::printf(" cores=1\n");
    return 0;
}
