// The game's sprite table and its one instance.
#pragma once

#include "uSpriteEngine.h"

class TGameENGINE : public CSpriteEngine {
  public:
    int32_t PlayerSlot = 0; // the player lives in the first slot for the whole run
};

extern TGameENGINE* GameEngine; // created by the load procedure, lives until the program ends
