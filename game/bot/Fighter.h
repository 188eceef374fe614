// The campaign bot's fighting: where to walk, whom to shoot and where to hold the cursor, when to reload and
// lay mines, which pickup is worth the walk.
#pragma once

#include "Field.h"

#include <optional>

namespace bot {

struct Point {
    float x = 0, y = 0;
};

// What the hands should do until the next frame.
struct Orders {
    int walkX = 0, walkY = 0; // -1, 0 or 1 on each axis: the keys A/D and W/S
    bool aiming = false;      // a foe is under the cursor
    Point aim;                // world point the cursor is on
    Point cursor{400, 300};   // the same point in screen pixels, kept on the screen
    bool fire = false;
    bool reload = false;
    bool layMine = false;
    int goal = -1; // the item walked to, an index into the field's items
};

class Fighter {
  public:
    Orders Decide(const Field& f);

  private:
    int lastWalkX = 0, lastWalkY = 0;
};

// How far walking one way for a few ticks and then another takes the soldier into harm: the sum over foes of
// a harm that grows steeply near biting distance, plus the walls and corners that would pin him.
float Risk(const Field& f, int walkX, int walkY, int thenX, int thenY);

// The foe most worth a bullet now, or -1: the one about to bite first, with a bonus for a crowd behind it
// for weapons that go through or burst; foes too close for a bullet to reach are passed over.
int PickTarget(const Field& f, int walkX, int walkY);

// Where to aim so that the next shot meets the foe: its path ahead, the bullet's flight from the muzzle 20
// pixels out and 5 to the side, and the ticks until the gun can fire.
Point Lead(const Field& f, const Foe& foe, int walkX, int walkY);

// The cursor in screen pixels that points the soldier at a world point, moved along the same line onto the
// screen when the point lies off it, and never so near the soldier that rounding turns the aim.
Point CursorFor(const Field& f, Point aim);

// The item most worth walking to, or -1.
int PickGoal(const Field& f);

// How good a weapon is in a crowd, for weighing a pickup against the weapon in hand.
int WeaponRank(Weapon weapon);

// The upgrade to buy next with the points the field shows, if any is worth one.
std::optional<Upgrade> ChooseUpgrade(const Field& f);

} // namespace bot
