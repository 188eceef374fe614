// The explosives: the mine the soldier lays, and the blasts of mines, bazooka shells and the nuclear strike.
#pragma once

#include "uSpriteEngine.h"

#include <cstdint>

// A mine waiting for the first monster to step on it; it has no time limit.
class TMINE1 : public CSprite {
  public:
    ZB_Rect HitBox{};

    TMINE1();
    void Move() override;
};

// What every blast shares: it is drawn additively and hurts at most one monster a tick.
class TBlast : public CSprite {
  public:
    ZB_Rect HitBox{};

    void Draw() override;

  protected:
    explicit TBlast(SpriteKind kind) : CSprite(kind) {}
    // Score for a blow on a spider, an alien and a zombie.
    struct Scores {
        int32_t spider, alien, zombie;
    };
    // The first living monster under the blast takes the damage and the blast the score; a kill counts, and
    // the blood flies from the victim or from the blast's own corner.
    void HurtOneMonster(uint16_t damage, const Scores& scores, bool sprayFromVictim);
    // Widens by 20 a tick up to the limit, staying centred.
    void GrowTo(uint16_t limit);
    // Alpha falls by the step; the blast is gone once 5 or less is left.
    void FadeBy(uint8_t step);
};

// The blast of a mine, as big and as strong as the mine laid last.
class TBoomN1 : public TBlast {
  public:
    TBoomN1();
    void Move() override;
};

// The blast of a bazooka shell.
class TBAZBOM : public TBlast {
  public:
    TBAZBOM();
    void Move() override;
};

// An animated fireball; the nuclear strikes lay a big faint one as their glow.
class TBOOM_SHIP : public TBlast {
  public:
    TBOOM_SHIP();
    void Move() override;
};
