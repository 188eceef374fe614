// The player's bullets: flight, hits on monsters, damage and their effects; blood spray and hit sounds.
#pragma once

#include "uSpriteEngine.h"

#include <cstdint>

class TMonster;

class TBullet : public CSprite {
  public:
    float Speed = 0.0f;
    float VelX = 0.0f, VelY = 0.0f;
    float PosX = 0.0f, PosY = 0.0f;
    bool WobbleDown = false;
    uint16_t WobblePhase = 0;
    ZB_Rect HitBox{};

    TBullet();
    void Move() override;

  private:
    void Fly();
    void Strike(TMonster& monster);
    void LeaveTrace() const;
};

extern bool SecondBlastLine; // level 19: blood sprays in two lines

// A line of blood traces from (x, y) along a heading in degrees.
void BloodSpray(int32_t x, int32_t y, int32_t angle);
// One of the five hit sounds, by TickRandom5.
void PlayHitSound();
// The blast of a bazooka shell at (x, y).
void SpawnBazookaBlast(int32_t x, int32_t y);
// Plays a sound effect once; a sound that was never loaded stays silent.
