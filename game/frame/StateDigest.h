// A digest of the game's state, registered with the engine, which reports it every few frames on request:
// replays of one recording must give the same digests, and any change of behaviour shows as a different one.
#pragma once

#include <cstdint>

// The sprite table in slot order (class, position, size, angle, alpha, frame, health where there is one),
// the soldier, the score and level counters, the random seed and the screen.
uint64_t StateDigest();
