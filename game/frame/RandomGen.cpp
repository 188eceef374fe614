// The game's random generator.
#include "RandomGen.h"

#include "ZORBEL.h"

uint32_t RandSeed = 0;

void Randomize() {
    RandSeed = static_cast<uint32_t>(static_cast<uint64_t>(U_GetTime()));
}

uint32_t Random(uint32_t n) {
    RandSeed = RandSeed * 134775813u + 1u;
    return static_cast<uint32_t>((static_cast<uint64_t>(RandSeed) * n) >> 32);
}
