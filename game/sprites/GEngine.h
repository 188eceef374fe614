// The game's sprite table: moves every sprite, then sends monsters in from the field edges in timed passes.
#pragma once

#include "uSpriteEngine.h"

class TGameENGINE : public CSpriteEngine {
  public:
    int32_t PlayerSlot = 0; // the player lives in the first slot for the whole run

    void Move() override;
};

extern TGameENGINE* GameEngine; // created by the load procedure, lives until the program ends

// Engine time of the last monster each spawn group created; 0 at program start.
extern double ZombieLastSpawn, AlienLastSpawn, SpiderLastSpawn, MixedLastSpawn;
void ResetSpawnClocks();

// A ring of fragments flying out of (x, y); its size follows the reload-blast upgrade.
void FragmentRing(int32_t x, int32_t y, ZB_Texture* picture, uint8_t speed);

// Fragments in the ring and the angle between them, for a reload-blast level 0 .. 3.
struct RingShape {
    int32_t count, step;
};
RingShape FragmentRingShape(uint8_t reloadBlastLevel);
