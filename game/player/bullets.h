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

// A bullet starts this far ahead of the soldier's gun hand and this far to its side.
constexpr int32_t kMuzzleAhead = 20, kMuzzleSide = 5;
// A bullet hits with a box this wide and high in the middle of its picture.
constexpr float kBulletBoxSize = 4.0f;

// The blast of a bazooka shell at (x, y).
void SpawnBazookaBlast(int32_t x, int32_t y);
