// Test support: a fresh battlefield on the fake engine for tests of the game's units of play.
#pragma once

#include "Battle.h"
#include "fake_engine.h"

#include <ostream>

// Test failures name a screen as the traces do.
inline void PrintTo(Screen screen, std::ostream* out) {
    *out << '"' << ScreenName(screen) << '"';
}

namespace fake {

// The fake engine with silent sounds, every global of the units of play at its start value, the sprite table
// with the player in slot 0, the cameras, the ground tiles and grids, and play running on screen "0".
Engine& World();

} // namespace fake
