// Fragments flying out of blasts and rings, and the fading traces bullets leave behind them.
#pragma once

#include "uSpriteEngine.h"

#include <cstdint>

// Every fragment in flight follows the latest values.
extern uint8_t FragSpeed;   // pixels per tick
extern uint16_t FragDamage; // hit points a fragment takes from a monster
extern bool FragPierce;     // fragments fly on through what they hit

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

void ResetFragmentGlobals();
