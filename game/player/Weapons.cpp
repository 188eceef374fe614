// The weapon table and taking a weapon in hand.
#include "Weapons.h"

#include "assets.h"

#include <algorithm>

WeaponInHand Gun;

namespace {

struct WeaponParams {
    int32_t shotInterval;
    uint16_t bulletDamage;
    float bulletSpeed;
    int32_t reloadTime, clipSize, bonusShots;
    uint8_t shotKind;
    bool piercing, wobble;
};

const WeaponRow kWeapons[kWeaponCount] = {
    {"PUSTOLET", &TexIconPistol, &TexBulletPistol, &SndShotPistol, 500, 0.25f, 255, 0, 2},
    {"AUTOMAT", &TexIconAutomat, &TexBulletAutomat, &SndShotAutomat, 700, 0.4f, 200, 0, 12},
    {"DROB", &TexIconShotgun, &TexBulletShotgun, &SndShotShotgun, 700, 0.4f, 200, 255, 0},
    {"UZI", &TexIconUzi, &TexBulletUzi, &SndShotUzi, 700, 0.4f, 200, 0, 8},
    {"LASER", &TexIconLaser, &TexBulletLaser, &SndShotLaser, 700, 0.4f, 200, 0, 0},
    {"BAZUKA", &TexIconBazooka, &TexBulletBazooka, &SndShotBazooka, 700, 0.4f, 200, 0, 20},
    {"NANO", &TexIconNano, &TexBulletNano, &SndShotNano, 700, 0.4f, 200, 0, 8},
    {"OTRA", &TexIconOtra, &TexBulletOtra, &SndShotOtra, 700, 0.4f, 200, 0, 10},
};

// The pistol grows with its upgrade, levels 0 to 3.
constexpr WeaponParams kPistolParams[4] = {
    {35, 30, 13.0f, 170, 8, 0, 0, false, false},
    {30, 35, 14.0f, 160, 8, 0, 0, false, false},
    {25, 40, 15.0f, 145, 8, 0, 0, false, false},
    {20, 50, 16.0f, 135, 8, 5, 0, false, false},
};

// In the order of kWeapons.
constexpr WeaponParams kParams[kWeaponCount] = {
    kPistolParams[0],                            // "PUSTOLET", replaced by its upgrade level's row
    {9, 40, 14.0f, 120, 30, 0, 0, false, false}, // "AUTOMAT"
    {45, 30, 10.0f, 160, 7, 0, 1, false, false}, // "DROB"
    {7, 34, 15.0f, 100, 30, 0, 0, false, false}, // "UZI"
    {40, 100, 18.0f, 100, 6, 0, 0, true, false}, // "LASER"
    {70, 150, 6.0f, 150, 4, 0, 0, false, false}, // "BAZUKA"
    {8, 50, 10.0f, 140, 30, 10, 0, false, true}, // "NANO"
    {9, 25, 13.0f, 190, 15, 0, 0, false, false}, // "OTRA"
};

int RowIndex(Weapon weapon) {
    return static_cast<int>(weapon);
}

const WeaponParams& ParamsOf(Weapon weapon, uint8_t pistolLevel) {
    if (weapon == Weapon::Pistol) return kPistolParams[std::min<uint8_t>(pistolLevel, 3)];
    return kParams[RowIndex(weapon)];
}

} // namespace

Weapon WeaponAt(int row) {
    return row >= 0 && row < kWeaponCount ? static_cast<Weapon>(row) : Weapon::None;
}

const char* WeaponName(Weapon weapon) {
    return weapon == Weapon::None ? "" : kWeapons[RowIndex(weapon)].name;
}

const WeaponRow& RowOf(Weapon weapon) {
    return kWeapons[RowIndex(weapon)];
}

void TakeWeapon(Weapon weapon, uint8_t pistolLevel) {
    const WeaponRow& row = RowOf(weapon);
    const WeaponParams& p = ParamsOf(weapon, pistolLevel);
    CurrentWeapon = weapon;
    SndShot = *row.shotSound;
    BulletTexture = *row.bulletTexture;
    ShotKind = p.shotKind;
    Piercing = p.piercing;
    Wobble = p.wobble;
    ShotInterval = p.shotInterval;
    BulletDamage = p.bulletDamage;
    BulletSpeed = p.bulletSpeed;
    ReloadTime = p.reloadTime;
    ClipSize = p.clipSize;
    BaseBonusShots = p.bonusShots;
}
