// Test support: a fresh battlefield on the fake engine for tests of the game's units of play.
#pragma once

#include "fake_engine.h"

namespace fake {

// The fake engine with silent sounds, every global of the units of play at its start value, the sprite table
// with the player in slot 0, the cameras, the ground tiles and grids, and play running on screen "0".
Engine& World();

} // namespace fake
