// Weapon pickups, the weapon table, random drops on kills, and clearing sprites by kind.
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

// A weapon lying on the field. The eight classes differ only in their weapon and fade-in.
class TWeaponPickup : public CSprite {
  public:
    uint16_t Lifetime = 0;
    ZB_Rect HitBox{};

    void Draw() override;
    void Move() override;

    const int WeaponIndex; // 0 .. 7, the row of the weapon table

  protected:
    explicit TWeaponPickup(int weaponIndex);

  private:
    void FadeIn();
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
