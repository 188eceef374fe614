// The eight weapons, by their row in the weapon table, and the weapon in hand with what it does.
#pragma once

#include "zorbel_api.h"

#include <cstdint>

class TSound;

enum class Weapon : int8_t { None = -1, Pistol, Automat, Shotgun, Uzi, Laser, Bazooka, Nano, Otra };
constexpr int kWeaponCount = 8;

// The weapon of a table row 0 .. 7; None outside.
Weapon WeaponAt(int row);
// The name the state digest gives a weapon: "PUSTOLET", "AUTOMAT", "DROB", "UZI", "LASER", "BAZUKA", "NANO",
// "OTRA"; "" before the first weapon is taken.
const char* WeaponName(Weapon weapon);

// One row of the weapon table: how its pickup looks and what its shots look and sound like.
struct WeaponRow {
    const char* name;
    ZB_Texture** pickupTexture;
    ZB_Texture** bulletTexture;
    TSound** shotSound;
    uint16_t pickupLifetime;
    float pickupAnimSpeed;
    uint8_t fadeUntil;      // a lying pickup's alpha rises by 5 a tick below this
    uint8_t extraFadeUntil; // and by another 5 below this
    uint8_t spreadKick;     // how far a shot throws the aim off (the shotgun's burst kicks by its own rule)
};
const WeaponRow& RowOf(Weapon weapon); // weapon is not None

// What the weapon in hand does; set only by taking a weapon.
struct WeaponInHand {
    Weapon weapon = Weapon::None;
    int32_t shotInterval = 0, reloadTime = 0, clipSize = 0, baseBonusShots = 0;
    uint8_t shotKind = 0; // 0 one bullet, 1 a shotgun burst
    float bulletSpeed = 0.0f;
    uint16_t bulletDamage = 0;
    ZB_Texture* bulletTexture = nullptr;
    bool piercing = false; // bullets fly on through what they hit
    bool wobble = false;   // bullets weave
};
extern WeaponInHand Gun;

inline Weapon& CurrentWeapon = Gun.weapon;
inline int32_t& ShotInterval = Gun.shotInterval;
inline int32_t& ReloadTime = Gun.reloadTime;
inline int32_t& ClipSize = Gun.clipSize;
inline int32_t& BaseBonusShots = Gun.baseBonusShots;
inline uint8_t& ShotKind = Gun.shotKind;
inline float& BulletSpeed = Gun.bulletSpeed;
inline uint16_t& BulletDamage = Gun.bulletDamage;
inline ZB_Texture*& BulletTexture = Gun.bulletTexture;
inline bool& Piercing = Gun.piercing;
inline bool& Wobble = Gun.wobble;
// SndShot (assets.h) is the shot sound of the weapon in hand.

// Puts a weapon in hand: its parameters (the pistol's by the level of its upgrade, 0 .. 3), bullet picture
// and shot sound. Loading the clip is the pickup's business.
void TakeWeapon(Weapon weapon, uint8_t pistolLevel);
