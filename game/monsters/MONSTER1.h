// The monsters and what they share: baking into the ground, steering, frenzy, and blood traces.
#pragma once

#include "Ground.h"
#include "HitGrid.h"
#include "uSpriteEngine.h"

#include <cstdint>
#include <optional>
#include <vector>

// The approach grids whose cells each kind of monster claims.
constexpr int kZombieGrid = 0, kAlienGrid = 1, kSpiderGrid = 2;

// The three kinds of monster, in the order every hit scan tests them.
enum class MonsterKind : uint8_t { Spider, Alien, Zombie };

// Whether a sprite of the table is a monster (a TMonster).
bool IsMonster(SpriteKind kind);

// What a monster is doing: walking to its cell, chasing the soldier close by, swarming round him from its
// cell, or charging in the end-of-wave frenzy.
constexpr uint8_t kModeToCell = 0, kModeChase = 1, kModeSwarm = 2, kModeFrenzy = 4;
// A monster falls from this frame on, and lies as a corpse on the last.
constexpr float kFirstDeathFrame = 21.0f;
constexpr float kCorpseFrame = 30.0f;
// A living monster that is not biting is hit, and bites, with a box this wide and high about its middle.
constexpr float kMonsterBoxSize = 14.0f;

struct MonsterRules;

// What the zombie, the alien and the spider share: the walk to a formation cell, swarming, chasing, the
// frenzy, bites, the death animation and the corpse baked into the ground. The kinds differ only by their
// rules (picture, size, speed, grid, how they are drawn).
class TMonster : public CSprite {
  public:
    int32_t CellX = 0, CellY = 0; // the cell held in the kind's grid; -1 = none
    uint8_t SlotSearch = 0;       // which block of the grid was searched, and in which order
    bool Tinted = false;
    uint8_t Mode = kModeToCell;
    int32_t TargetX = 0, TargetY = 0; // where a monster without a cell heads
    float Speed = 0.0f;
    float PosX = 0.0f, PosY = 0.0f;
    int16_t Health = 0;
    float BiteDamage = 0.0f;        // player health taken per tick of contact, before armour
    const ZB_Rect& HitBox = hitBox; // read by all; moved only by PlaceHitBox

    // Moves the hit box, and the monster with it in the grid that hit scans ask.
    void PlaceHitBox(const ZB_Rect& box);
    MonsterKind Species() const;
    void Draw() override;
    void Move() override;
    ~TMonster() override;

  protected:
    explicit TMonster(const MonsterRules& rules);

  private:
    const MonsterRules& rules;
    ZB_Rect hitBox{};
    HitGrid::Rank hitRank;   // the scan's kind order, then the order monsters were made
    HitGrid::Span hitSpan{}; // the cells the hit box is filed under

    ApproachGrid& Grid() const;
    std::optional<uint32_t> Tint() const; // the colour of a tinted level, for the kinds that take it
    void ClaimCell();
    bool HoldsCell() const;
    bool TouchesPlayer() const;
    void Walk();
    void Steer();
    void BiteOrRefresh(bool touching);
    void StampCorpse();
    int32_t FacingToward(int32_t tx, int32_t ty) const;
    void TurnToward(int32_t tx, int32_t ty);
};

class TZOMBI : public TMonster {
  public:
    TZOMBI();
};

class TALIEN : public TMonster {
  public:
    TALIEN();
};

// The spider.
class TPAYK_Y : public TMonster {
  public:
    TPAYK_Y();
};

// Every monster the sprite table holds, in slot order: a monster joins the list when it is made, which is
// when the table appends it, and leaves when the table frees it. Scans for monsters walk this instead of
// testing every sprite of the table for its class, which with hundreds of bullets and fragments in flight was
// most of a tick.
const std::vector<TMonster*>& Monsters();

// The first monster with hit points left whose box overlaps box: every spider in slot order, then every
// alien, then every zombie; nil when none. Bullets, fragments, mines and blasts find their victim this way.
TMonster* FirstMonsterHit(const ZB_Rect& box);

// A blood mark waiting to be baked into the ground.
class TSLED : public CSprite {
  public:
    ZB_Rect HitBox{};

    TSLED();
    void Move() override;
};

// Living monsters of each kind, counted once a frame during play; the frenzy reads them.
extern uint16_t AliveAliens, AliveZombies, AliveSpiders;
void CountLivingMonsters();

// Brings any angle into 0 .. 360; both ends stay as they are.
int64_t NormAngle(int64_t angle);
// Whether a monster facing current turns +1 degree (true) or -1 (false) toward wanted.
bool TurnPositive(int32_t current, int32_t wanted);
// TurnPositive toward the heading a monster facing angle finds to a target lying (dx, dy) from it, dx and dy
// as M_FindAngle takes them (the monster's middle less the target): the answer when the direction says it
// without finding the heading to a whole degree, nothing when it lies within about half a degree of straight
// ahead or straight behind, where only the rounding of the found angle can tell.
std::optional<bool> ClearTurn(int32_t angle, float dx, float dy);
// Sends every living monster straight at the player once 13 or fewer are left.
void FrenzyCheck();
void SpawnTrace(int32_t x, int32_t y, int32_t w, uint8_t angle, int32_t h);
// A line of blood traces from (x, y) along a heading in degrees; two lines on level 19.
void BloodSpray(int32_t x, int32_t y, int32_t angle);
// One of the five hit sounds, by TickRandom5.
void PlayHitSound();
