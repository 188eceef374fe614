// The game's sprite table: the one table that owns every sprite, with the player in its first slot.
#pragma once

#include "uSpriteEngine.h"

class TGameENGINE : public CSpriteEngine {
  public:
    int32_t PlayerSlot = 0; // the player lives in the first slot for the whole run

    // Every sprite's move, with the random generator seeded afresh from the clock first.
    void Move() override;
};

extern TGameENGINE* GameEngine; // created by the load procedure, lives until the program ends
