// Weapon pickups, the bonuses and the nuclear strike, random drops on kills, and clearing sprites by kind.
#pragma once

#include "Weapons.h"
#include "uSpriteEngine.h"

#include <cstdint>

// Something lying on the field for the soldier to walk over: a weapon or a bonus. It fades in, runs out, and
// acts when the soldier's box touches it; the kinds differ in their look and in what taking them does.
class TPickup : public CSprite {
  public:
    uint16_t Lifetime = 0;
    ZB_Rect HitBox{};

    // The box the soldier's box must touch to take it.
    static constexpr float kReach = 34.0f;

    void Draw() override;
    void Move() override;

    struct Look {
        ZB_Texture* texture;
        float animSpeed;
        uint16_t lifetime;
        uint8_t fadeUntil;      // alpha rises by 5 a tick below this
        uint8_t extraFadeUntil; // and by another 5 below this
        int32_t shadowFX;       // draw flags of the shadow
        bool placedAtRandom;    // somewhere on the field; otherwise its creator places it
    };

  protected:
    // Made during a pause the pickup stays blank and goes on its first move.
    TPickup(SpriteKind kind, const Look& look);
    virtual void Collect() = 0;

  private:
    uint8_t FadeUntil = 0, ExtraFadeUntil = 0;
    int32_t ShadowFX = 9;
};

// A weapon lying on the field. The eight classes differ only in their weapon and fade-in.
class TWeaponPickup : public TPickup {
  public:
    const Weapon Carried; // the weapon a soldier walking over it takes

  protected:
    explicit TWeaponPickup(Weapon weapon);
    void Collect() override;
};

class TPUSTOLET : public TWeaponPickup {
  public:
    TPUSTOLET();
};
class TAUTOMAT : public TWeaponPickup {
  public:
    TAUTOMAT();
};
class TDROBS : public TWeaponPickup {
  public:
    TDROBS();
};
class TUZI : public TWeaponPickup {
  public:
    TUZI();
};
class TLASER : public TWeaponPickup {
  public:
    TLASER();
};
class TBAZUKA : public TWeaponPickup {
  public:
    TBAZUKA();
};
class TNANO : public TWeaponPickup {
  public:
    TNANO();
};
class TOTRA : public TWeaponPickup {
  public:
    TOTRA();
};

// The bonuses. Each acts once, when the soldier walks over it.
class TLIFES : public TPickup { // fifty hit points, up to the full 200
  public:
    TLIFES();

  protected:
    void Collect() override;
};
class TZAMEDL : public TPickup { // the slow-down
  public:
    TZAMEDL();

  protected:
    void Collect() override;
};
class TDEFENCE : public TPickup { // bites do nothing and the trigger is quicker
  public:
    TDEFENCE();

  protected:
    void Collect() override;
};
class TSOLN : public TPickup { // the sun strike: a ring of fragments that fly through everything
  public:
    TSOLN();

  protected:
    void Collect() override;
};
class TNUKEBON : public TPickup { // the nuclear strike where it lies
  public:
    TNUKEBON();

  protected:
    void Collect() override;
};

// The flash and the shock ring of a nuclear strike: a one-pixel sprite drawn additively and scaled up about
// its place, so that it spreads from the middle of the strike.
class TStrikeWave : public CSprite {
  public:
    uint16_t ScaleX = 0, ScaleY = 0;
    ZB_Rect HitBox{};

    void Draw() override;

  protected:
    explicit TStrikeWave(SpriteKind kind) : CSprite(kind) {}
    // Both scales grow by 20 a tick while below the limit.
    void Grow(uint16_t limit);
    // Alpha falls by the step; the wave is gone once 5 or less is left.
    void FadeBy(uint8_t step);
};

// The flash of the strike: it spreads, turns, and kills what it covers, one monster a tick.
class TNUKEBOOM : public TStrikeWave {
  public:
    TNUKEBOOM();
    void Move() override;
};

// The shock ring of the strike; it harms nothing.
class TVOLNA : public TStrikeWave {
  public:
    TVOLNA();
    void Move() override;
};

// The crater of the strike, burnt into the ground once the shaking stops.
class TKRATER : public CSprite {
  public:
    ZB_Rect HitBox{};

    TKRATER();
    void Move() override;
};

// The nuclear strike centred at (x, y): the white flash, the shake and its sound, then the flash sprite, the
// crater, the shock ring, the glow and ten fragments. The nuke bonus and the level-15 script both use it.
void NuclearStrike(int32_t x, int32_t y);

// Creates the pickup of a weapon in a new slot and returns it.
TWeaponPickup* CreateWeaponPickup(Weapon weapon);

// A random weapon other than the one in hand, at (x, y); nothing on levels 11 .. 20.
void PlaceWeaponPickup(int32_t x, int32_t y);
// The drop roll on a kill: mode 0 a weapon (or a bonus while a weapon lies on the field), mode 1 a bonus.
void DropOnKill(int32_t x, int32_t y, uint8_t mode);
// Marks Dead everything a new game clears from the field: pickups, craters, blood traces, bullets, monsters,
// fragments, the strike's waves and fireballs, and mines. Blasts of mines and shells, muzzle flashes and
// cases are left: they go by themselves.
void ClearForNewGame();
// Marks Dead every bullet trace and streak.
void ClearBulletTraces();
// True when the table holds a weapon pickup, dead ones included.
bool WeaponPickupPresent();
// Whether a sprite of the table is something lying on the field to pick up (a TPickup).
bool IsPickup(SpriteKind kind);
