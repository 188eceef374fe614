// The game's one random generator: a 32-bit linear congruential generator, seeded from the engine clock
// so that headless runs on virtual time replay exactly.
#pragma once

#include <cstdint>

extern uint32_t RandSeed;

// Seeds from U_GetTime, mixed with a count of the re-seeds so that two in the same millisecond differ.
void Randomize();
// A uniform whole number in 0 .. n - 1 (0 when n is 0): the high 32 bits of the new seed times n.
uint32_t Random(uint32_t n);
