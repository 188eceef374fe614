// A simple soldier for scripted fights — aim at the nearest living monster, hold the trigger
// while one lives, and back off diagonally from one that comes close.
#pragma once

#include <cstdint>
#include <set>

namespace autopilot {

struct Orders {
    bool target = false;          // a living monster is on the field
    float mouseX = 0, mouseY = 0; // the cursor on it, in screen pixels
    std::set<int32_t> keys;       // direction keys to hold
};

// What the soldier should do this tick, from the state of the battlefield.
Orders Decide();

// Hands the controls to the autopilot: from now on the cursor, the trigger and the direction keys the game
// reads through the engine table are the autopilot's orders while a monster lives, the devices' otherwise.
void TakeControls();

} // namespace autopilot
