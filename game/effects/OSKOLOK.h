// Fragments flying out of blasts and rings, and the fading traces bullets leave behind them.
#pragma once

#include "uSpriteEngine.h"

#include <cstdint>

// Every fragment in flight follows the latest values.
struct FragmentBlock {
    uint8_t speed = 7;     // pixels per tick
    uint16_t damage = 500; // hit points a fragment takes from a monster
    bool pierce = false;   // fragments fly on through what they hit
};
extern FragmentBlock Fragments;

inline uint8_t& FragSpeed = Fragments.speed;
inline uint16_t& FragDamage = Fragments.damage;
inline bool& FragPierce = Fragments.pierce;

class TOSKOLOK : public CSprite {
  public:
    ZB_Rect HitBox{};

    TOSKOLOK();
    void Move() override;
};

// A copy of the bullet picture that fades by the weapon in hand.
class TSLED1PUL : public CSprite {
  public:
    TSLED1PUL();
    void Move() override;
};

// A short streak behind rapid-fire bullets: 160, 120, 80, 40, gone.
class TSLED2PUL : public CSprite {
  public:
    TSLED2PUL();
    void Move() override;
};

// A ring of fragments flying out of (x, y); its size follows the reload-blast upgrade's level.
void FragmentRing(int32_t x, int32_t y, ZB_Texture* picture, uint8_t speed, uint8_t reloadBlastLevel);

// Fragments in the ring and the angle between them, for a reload-blast level 0 .. 3.
struct RingShape {
    int32_t count, step;
};
RingShape FragmentRingShape(uint8_t reloadBlastLevel);
