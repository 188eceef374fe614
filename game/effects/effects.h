// The muzzle flash of every shot and the spent case it throws out, which ends up baked into the ground.
#pragma once

#include "uSpriteEngine.h"

#include <cstdint>

// A burst of light in front of the gun for five ticks.
class THLOP : public CSprite {
  public:
    THLOP();
    void Draw() override;
    void Move() override;
};

// A cartridge case: it flies sideways out of the gun, slows, lies fading, and is stamped into the ground.
class TEMPTY : public CSprite {
  public:
    float PosX = 0.0f, PosY = 0.0f;
    uint8_t Speed = 0; // pixels per tick, one less every tick
    ZB_Rect HitBox{};

    TEMPTY();
    void Move() override;
};
