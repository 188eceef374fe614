// Weapon pickups and the weapon table, the bonuses and the nuclear strike, random drops on kills, and
// clearing sprites by kind.
#pragma once

#include "uSpriteEngine.h"

#include <cstdint>
#include <string>

class TSound;

// What the weapon in hand does; set only by picking up a weapon.
extern std::string CurrentWeapon; // "PUSTOLET", "AUTOMAT", "DROB", "UZI", "LASER", "BAZUKA", "NANO", "OTRA"
extern int32_t ShotInterval, ReloadTime, ClipSize, BaseBonusShots;
extern uint8_t ShotKind; // 0 one bullet, 1 a shotgun burst
extern float BulletSpeed;
extern uint16_t BulletDamage;
extern ZB_Texture* BulletTexture;
extern bool Piercing; // bullets fly on through what they hit
extern bool Wobble;   // bullets weave
// SndShot (assets.h) is the shot sound of the weapon in hand.

// Something lying on the field for the soldier to walk over: a weapon or a bonus. It fades in, runs out, and
// acts when the soldier's box touches it; the kinds differ in their look and in what taking them does.
class TPickup : public CSprite {
  public:
    uint16_t Lifetime = 0;
    ZB_Rect HitBox{};

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
    explicit TPickup(const Look& look);
    virtual void Collect() = 0;

  private:
    uint8_t FadeUntil = 0, ExtraFadeUntil = 0;
    int32_t ShadowFX = 9;
};

// A weapon lying on the field. The eight classes differ only in their weapon and fade-in.
class TWeaponPickup : public TPickup {
  public:
    const int WeaponIndex; // 0 .. 7, the row of the weapon table

  protected:
    explicit TWeaponPickup(int weaponIndex);
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

// Creates the pickup of weapon index 0 .. 7 in a new slot and returns it.
TWeaponPickup* CreateWeaponPickup(int weaponIndex);

// A random weapon other than the one in hand, at (x, y); nothing on levels 11 .. 20.
void PlaceWeaponPickup(int32_t x, int32_t y);
// The drop roll on a kill: mode 0 a weapon (or a bonus while a weapon lies on the field), mode 1 a bonus.
void DropOnKill(int32_t x, int32_t y, uint8_t mode);
// Marks Dead every sprite of a kind: "ALL" or "SLEDS_PUL"; any other kind does nothing.
void ClearKind(const std::string& kind);
// True when the table holds a sprite of the kind ("WEAPON_BONUS": a weapon pickup), dead ones included.
bool KindPresent(const std::string& kind);

// Puts the weapon globals back to their start values (program start).
void ResetWeaponGlobals();
