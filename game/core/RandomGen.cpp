// The game's random generator.
#include "RandomGen.h"

#include "ZORBEL.h"

uint32_t RandSeed = 0;

namespace {
uint32_t gReseeds = 0;
}

void Randomize() {
    // Ticks that catch up inside one frame, and marks made in one tick, read the same clock: a count of the
    // re-seeds keeps their draws apart, and is as repeatable as the clock itself.
    ++gReseeds;
    RandSeed = static_cast<uint32_t>(static_cast<uint64_t>(U_GetTime())) ^ (gReseeds * 0x9E3779B9u);
}

uint32_t Random(uint32_t n) {
    RandSeed = RandSeed * 134775813u + 1u;
    return static_cast<uint32_t>((static_cast<uint64_t>(RandSeed) * n) >> 32);
}
