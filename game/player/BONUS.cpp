// Weapon pickups, the weapon table, random drops on kills, and clearing sprites by kind.
#include "BONUS.h"

#include "GEngine.h"
#include "GameTick.h"
#include "MONSTER1.h"
#include "OSKOLOK.h"
#include "PLAYER.h"
#include "RUN_GAME.h"
#include "RandomGen.h"
#include "ZORBEL.h"
#include "assets.h"
#include "bullets.h"
#include "level.h"
#include "settings.h"

#include <algorithm>

std::string CurrentWeapon;
int32_t ShotInterval = 0, ReloadTime = 0, ClipSize = 0, BaseBonusShots = 0;
uint8_t ShotKind = 0;
float BulletSpeed = 0.0f;
uint16_t BulletDamage = 0;
ZB_Texture* BulletTexture = nullptr;
bool Piercing = false;
bool Wobble = false;

void ResetWeaponGlobals() {
    CurrentWeapon.clear();
    ShotInterval = ReloadTime = ClipSize = BaseBonusShots = 0;
    ShotKind = 0;
    BulletSpeed = 0.0f;
    BulletDamage = 0;
    BulletTexture = nullptr;
    Piercing = false;
    Wobble = false;
}

namespace {

struct WeaponParams {
    int32_t shotInterval;
    uint16_t bulletDamage;
    float bulletSpeed;
    int32_t reloadTime, clipSize, bonusShots;
    uint8_t shotKind;
    bool piercing, wobble;
};

struct WeaponKind {
    const char* name;
    ZB_Texture** pickupTexture;
    ZB_Texture** bulletTexture;
    TSound** shotSound;
    uint16_t lifetime;
    float animSpeed;
    uint8_t fadeUntil;      // alpha rises by 5 a tick below this
    uint8_t extraFadeUntil; // and by another 5 below this
};

constexpr int kWeaponCount = 8;
constexpr uint32_t kPistolIndex = 0;

const WeaponKind kWeapons[kWeaponCount] = {
    {"PUSTOLET", &TexIconPistol, &TexBulletPistol, &SndShotPistol, 500, 0.25f, 255, 0},
    {"AUTOMAT", &TexIconAutomat, &TexBulletAutomat, &SndShotAutomat, 700, 0.4f, 200, 0},
    {"DROB", &TexIconShotgun, &TexBulletShotgun, &SndShotShotgun, 700, 0.4f, 200, 255},
    {"UZI", &TexIconUzi, &TexBulletUzi, &SndShotUzi, 700, 0.4f, 200, 0},
    {"LASER", &TexIconLaser, &TexBulletLaser, &SndShotLaser, 700, 0.4f, 200, 0},
    {"BAZUKA", &TexIconBazooka, &TexBulletBazooka, &SndShotBazooka, 700, 0.4f, 200, 0},
    {"NANO", &TexIconNano, &TexBulletNano, &SndShotNano, 700, 0.4f, 200, 0},
    {"OTRA", &TexIconOtra, &TexBulletOtra, &SndShotOtra, 700, 0.4f, 200, 0},
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

const WeaponParams& ParamsOf(int weaponIndex) {
    if (weaponIndex == static_cast<int>(kPistolIndex))
        return kPistolParams[std::min<uint8_t>(PistolLevel, 3)];
    return kParams[weaponIndex];
}

void TakeWeapon(int weaponIndex) {
    const WeaponKind& kind = kWeapons[weaponIndex];
    const WeaponParams& p = ParamsOf(weaponIndex);
    CurrentWeapon = kind.name;
    SndShot = *kind.shotSound;
    BulletTexture = *kind.bulletTexture;
    ShotKind = p.shotKind;
    Piercing = p.piercing;
    Wobble = p.wobble;
    ShotInterval = p.shotInterval;
    BulletDamage = p.bulletDamage;
    BulletSpeed = p.bulletSpeed;
    ReloadTime = p.reloadTime;
    ClipSize = p.clipSize;
    BonusShots = BaseBonusShots = p.bonusShots;
}

} // namespace

TWeaponPickup::TWeaponPickup(int weaponIndex) : WeaponIndex(weaponIndex) {
    // Made during a pause the pickup stays blank and goes on its first move.
    if (Paused) return;
    const WeaponKind& kind = kWeapons[WeaponIndex];
    Texture = *kind.pickupTexture;
    W = H = 42;
    Animated = true;
    AnimSpeed = kind.animSpeed;
    X = static_cast<int32_t>(Random(2750)) - 1400;
    Y = static_cast<int32_t>(Random(500)) + 50;
    Z = static_cast<int32_t>(Random(100)) + 499900;
    Alpha = 0;
    Lifetime = kind.lifetime;
}

void TWeaponPickup::Draw() {
    if (Texture) {
        FX_SetColorMix(0);
        ASprite_Draw(Texture, static_cast<float>(X + 2), static_cast<float>(Y + 2), static_cast<float>(W),
                     static_cast<float>(H), M_Round(Frame), 100, static_cast<float>(Angle), 9);
    }
    CSprite::Draw();
}

void TWeaponPickup::FadeIn() {
    const WeaponKind& kind = kWeapons[WeaponIndex];
    if (Alpha < kind.fadeUntil) Alpha = static_cast<uint8_t>(Alpha + 5);
    if (Alpha < kind.extraFadeUntil) Alpha = static_cast<uint8_t>(Alpha + 5);
}

void TWeaponPickup::Move() {
    CSprite::Move();
    if (ClearField) Dead = true;
    if (Paused) return;
    if (Lifetime > 0) {
        --Lifetime;
        FadeIn();
    }
    // Running out does not stop this tick: a soldier standing on it still collects it.
    if (Lifetime == 0) Dead = true;
    HitBox = ZB_Rect{static_cast<float>(X), static_cast<float>(Y), 34.0f, 34.0f};
    if (!Col_AABB(&HitBox, &Player()->HitBox)) return;

    ClearKind("SLEDS_PUL");
    PlayEffect(SndFindWeapon);
    TakeWeapon(WeaponIndex);
    // Even the weapon in hand comes with a fresh clip that must be loaded first.
    ClipAmmo = 0;
    Reloading = true;
    ReloadTimer = 0.0f;
    Dead = true;
}

TPUSTOLET::TPUSTOLET() : TWeaponPickup(0) {}
TAUTOMAT::TAUTOMAT() : TWeaponPickup(1) {}
TDROBS::TDROBS() : TWeaponPickup(2) {}
TUZI::TUZI() : TWeaponPickup(3) {}
TLASER::TLASER() : TWeaponPickup(4) {}
TBAZUKA::TBAZUKA() : TWeaponPickup(5) {}
TNANO::TNANO() : TWeaponPickup(6) {}
TOTRA::TOTRA() : TWeaponPickup(7) {}

TWeaponPickup* CreateWeaponPickup(int weaponIndex) {
    switch (weaponIndex) {
    case 0:
        return GameEngine->Add<TPUSTOLET>();
    case 1:
        return GameEngine->Add<TAUTOMAT>();
    case 2:
        return GameEngine->Add<TDROBS>();
    case 3:
        return GameEngine->Add<TUZI>();
    case 4:
        return GameEngine->Add<TLASER>();
    case 5:
        return GameEngine->Add<TBAZUKA>();
    case 6:
        return GameEngine->Add<TNANO>();
    case 7:
        return GameEngine->Add<TOTRA>();
    default:
        return nullptr;
    }
}

namespace {

// Levels 11 to 20 hand out no weapons and no bonuses from kills or the upgrade panel.
bool DropsAllowed() {
    return Level < 11 || Level > 20;
}

TWeaponPickup* CreateWeaponPickupAt(int weaponIndex, int32_t x, int32_t y) {
    TWeaponPickup* pickup = CreateWeaponPickup(weaponIndex);
    pickup->X = x;
    pickup->Y = y;
    return pickup;
}

bool InHand(const TWeaponPickup& pickup) {
    return CurrentWeapon == kWeapons[pickup.WeaponIndex].name;
}

} // namespace

void PlaceWeaponPickup(int32_t x, int32_t y) {
    if (!DropsAllowed()) return;
    for (;;) {
        const uint32_t i = Random(WeaponKindsOpen);
        if (i >= static_cast<uint32_t>(kWeaponCount)) return;
        TWeaponPickup* pickup = CreateWeaponPickupAt(static_cast<int>(i), x, y);
        if (!InHand(*pickup)) return;
        pickup->Dead = true;
        // With one kind open or none every draw is the pistol again: a pistol in hand would loop for ever.
        if (WeaponKindsOpen <= 1) return;
    }
}

void DropOnKill(int32_t x, int32_t y, uint8_t mode) {
    if (!DropsAllowed()) return;
    if (KindPresent("WEAPON_BONUS")) {
        // The bonus roll, one chance in 76 for each bonus: 15 nuclear strike, 30 sun strike, 45 life,
        // 60 slow-down, 75 defence, at (x + 5, y + 5) once the bonus pickups exist. Until then the draw is
        // still made, so the random sequence stays the game's.
        Random(76);
        return;
    }
    if (mode != 0) return;
    const uint32_t i = Random(WeaponKindsOpen);
    // The pistol is never dropped.
    if (i == kPistolIndex || i >= static_cast<uint32_t>(kWeaponCount)) return;
    TWeaponPickup* pickup = CreateWeaponPickupAt(static_cast<int>(i), x, y);
    if (InHand(*pickup)) {
        pickup->Dead = true;
        DropOnKill(x, y, 1);
    }
}

namespace {

bool OfKindAll(CSprite* s) {
    // Bonuses, craters, shock waves, blasts and mines join this list as they join the game.
    return dynamic_cast<TWeaponPickup*>(s) || dynamic_cast<TSLED*>(s) || dynamic_cast<TBullet*>(s) ||
           dynamic_cast<TMonster*>(s) || dynamic_cast<TOSKOLOK*>(s);
}

bool IsBulletTrace(CSprite* s) {
    return dynamic_cast<TSLED1PUL*>(s) || dynamic_cast<TSLED2PUL*>(s);
}

} // namespace

void ClearKind(const std::string& kind) {
    bool (*ofKind)(CSprite*) = nullptr;
    if (kind == "ALL")
        ofKind = OfKindAll;
    else if (kind == "SLEDS_PUL")
        ofKind = IsBulletTrace;
    else
        return;
    for (const auto& sprite : GameEngine->List)
        if (ofKind(sprite.get())) sprite->Dead = true;
}

bool KindPresent(const std::string& kind) {
    if (kind != "WEAPON_BONUS") return false;
    return std::any_of(GameEngine->List.begin(), GameEngine->List.end(),
                       [](const auto& s) { return dynamic_cast<TWeaponPickup*>(s.get()) != nullptr; });
}
