// Weapon pickups and the weapon table, the bonuses and the nuclear strike, random drops on kills, and
// clearing sprites by kind.
#include "BONUS.h"

#include "BOMBS.h"
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

TPickup::TPickup(const Look& look)
    : FadeUntil(look.fadeUntil), ExtraFadeUntil(look.extraFadeUntil), ShadowFX(look.shadowFX) {
    if (Paused) return;
    Texture = look.texture;
    W = H = 42;
    Animated = true;
    AnimSpeed = look.animSpeed;
    if (look.placedAtRandom) {
        X = static_cast<int32_t>(Random(2750)) - 1400;
        Y = static_cast<int32_t>(Random(500)) + 50;
    }
    Z = static_cast<int32_t>(Random(100)) + 499900;
    Alpha = 0;
    Lifetime = look.lifetime;
}

void TPickup::Draw() {
    if (Texture) {
        FX_SetColorMix(0);
        ASprite_Draw(Texture, static_cast<float>(X + 2), static_cast<float>(Y + 2), static_cast<float>(W),
                     static_cast<float>(H), M_Round(Frame), 100, static_cast<float>(Angle), ShadowFX);
    }
    CSprite::Draw();
}

void TPickup::Move() {
    CSprite::Move();
    if (ClearField) Dead = true;
    if (Paused) return;
    if (Lifetime > 0) {
        --Lifetime;
        if (Alpha < FadeUntil) Alpha = static_cast<uint8_t>(Alpha + 5);
        if (Alpha < ExtraFadeUntil) Alpha = static_cast<uint8_t>(Alpha + 5);
    }
    // Running out does not stop this tick: a soldier standing on it still collects it.
    if (Lifetime == 0) Dead = true;
    HitBox = ZB_Rect{static_cast<float>(X), static_cast<float>(Y), 34.0f, 34.0f};
    if (!Col_AABB(&HitBox, &Player()->HitBox)) return;
    Collect();
    Dead = true;
}

namespace {

TPickup::Look WeaponLook(int weaponIndex) {
    const WeaponKind& kind = kWeapons[weaponIndex];
    return {*kind.pickupTexture, kind.animSpeed, kind.lifetime, kind.fadeUntil, kind.extraFadeUntil, 9, true};
}

} // namespace

TWeaponPickup::TWeaponPickup(int weaponIndex) : TPickup(WeaponLook(weaponIndex)), WeaponIndex(weaponIndex) {}

void TWeaponPickup::Collect() {
    ClearKind("SLEDS_PUL");
    PlayEffect(SndFindWeapon);
    TakeWeapon(WeaponIndex);
    // Even the weapon in hand comes with a fresh clip that must be loaded first.
    ClipAmmo = 0;
    Reloading = true;
    ReloadTimer = 0.0f;
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
        // The bonus roll: one chance in 76 for each bonus.
        TPickup* bonus = nullptr;
        switch (Random(76)) {
        case 15:
            bonus = GameEngine->Add<TNUKEBON>();
            break;
        case 30:
            bonus = GameEngine->Add<TSOLN>();
            break;
        case 45:
            bonus = GameEngine->Add<TLIFES>();
            break;
        case 60:
            bonus = GameEngine->Add<TZAMEDL>();
            break;
        case 75:
            bonus = GameEngine->Add<TDEFENCE>();
            break;
        default:
            return;
        }
        bonus->X = x + 5;
        bonus->Y = y + 5;
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

constexpr uint16_t kBonusLifetime = 700;
constexpr uint16_t kBonusBarTime = 500; // ticks of a timed bonus, and of its bar on the HUD
constexpr uint8_t kSunRingSpeed = 15;   // pixels a tick of the sun's fragments
constexpr uint8_t kStrikeFragmentSpeed = 7;
constexpr int16_t kNukeFlashDamage = 500;

TPickup::Look BonusLook(ZB_Texture* texture, int32_t shadowFX, bool placedAtRandom = true) {
    return {texture, 0.4f, kBonusLifetime, 200, 255, shadowFX, placedAtRandom};
}

void StartShake() {
    ShakeTicks = 0;
    ScreenShake = true;
}

} // namespace

TLIFES::TLIFES() : TPickup(BonusLook(TexIconLife, 9)) {}
TZAMEDL::TZAMEDL() : TPickup(BonusLook(TexIconSlowDown, 1)) {}
TDEFENCE::TDEFENCE() : TPickup(BonusLook(TexIconDefence, 9)) {}
// Only ever dropped on a kill, which places it.
TSOLN::TSOLN() : TPickup(BonusLook(TexIconSun, 9, false)) {}
TNUKEBON::TNUKEBON() : TPickup(BonusLook(TexIconNuke, 9)) {}

void TLIFES::Collect() {
    PlayEffect(SndFindBonus);
    TPLAYER* player = Player();
    player->Health = player->Health > 150.0f ? 200.0f : player->Health + 50.0f;
}

void TZAMEDL::Collect() {
    SlowDownBarTime = kBonusBarTime;
    PlayEffect(SndFindBonus);
    SlowDownTimer = kBonusBarTime;
}

void TDEFENCE::Collect() {
    DefenceBarTime = kBonusBarTime;
    PlayEffect(SndFindBonus);
    DefenceTimer = kBonusBarTime;
}

void TSOLN::Collect() {
    FragPierce = true;
    StartShake();
    PlayEffect(SndSun);
    FragmentRing(X, Y, TexSunStrike, kSunRingSpeed);
}

void TNUKEBON::Collect() {
    NuclearStrike(X, Y);
}

void NuclearStrike(int32_t x, int32_t y) {
    NukeFlash = 150;
    FragPierce = false;
    FragSpeed = kStrikeFragmentSpeed;
    StartShake();
    PlayEffect(SndNuke);

    TNUKEBOOM* flash = GameEngine->Add<TNUKEBOOM>();
    flash->X = x;
    flash->Y = y;
    flash->Alpha = 155;
    TKRATER* crater = GameEngine->Add<TKRATER>();
    crater->X = x - 64;
    crater->Y = y - 64;
    TVOLNA* ring = GameEngine->Add<TVOLNA>();
    ring->X = x;
    ring->Y = y;
    TBOOM_SHIP* glow = GameEngine->Add<TBOOM_SHIP>();
    glow->X = x - 128;
    glow->Y = y - 128;
    glow->Alpha = 30;
    glow->W = glow->H = 256;
    constexpr uint8_t kFragmentAlpha[10] = {220, 180, 220, 180, 220, 200, 180, 220, 180, 220};
    for (uint8_t alpha : kFragmentAlpha) {
        TOSKOLOK* f = GameEngine->Add<TOSKOLOK>();
        f->Texture = TexNukeDebris;
        f->X = x;
        f->Y = y;
        f->Angle = static_cast<int32_t>(Random(360));
        f->Alpha = alpha;
    }
}

void TStrikeWave::Draw() {
    FX_SetBlendMode(1);
    CSprite::Draw();
    FX_SetScale(ScaleX, ScaleY);
    ASprite_Draw(Texture, static_cast<float>(X), static_cast<float>(Y), static_cast<float>(W),
                 static_cast<float>(H), M_Round(Frame), Alpha, static_cast<float>(Angle), 17);
    FX_SetBlendMode(0);
    CSprite::Draw();
}

void TStrikeWave::Grow(uint16_t limit) {
    if (ScaleX < limit) ScaleX = static_cast<uint16_t>(ScaleX + 20);
    if (ScaleY < limit) ScaleY = static_cast<uint16_t>(ScaleY + 20);
}

void TStrikeWave::FadeBy(uint8_t step) {
    Alpha = Alpha > step ? static_cast<uint8_t>(Alpha - step) : 0;
    if (Alpha <= 5) Dead = true;
}

TNUKEBOOM::TNUKEBOOM() {
    if (Paused) return;
    Texture = TexNukeFlash;
    W = H = 1;
    Alpha = 255;
    Z = 90000000; // above everything
    ScaleX = ScaleY = 0;
}

void TNUKEBOOM::Move() {
    CSprite::Move();
    if (ClearField) Dead = true;
    if (Paused) return;
    Grow(900);
    FadeBy(3);
    Angle += 5;
    HitBox = ZB_Rect{static_cast<float>(X - 200), static_cast<float>(Y - 200), 400.0f, 400.0f};
    // One victim a tick, the heaviest blow of the game: a monster with more than 500 hit points lives to be
    // hit again on a later tick.
    TMonster* victim = FirstMonsterHit(HitBox);
    if (!victim) return;
    victim->Health = static_cast<int16_t>(victim->Health - kNukeFlashDamage);
    if (victim->Health > 0) return;
    // A mark of the victim's size and more, turned by the flash.
    SpawnTrace(victim->X, victim->Y, victim->W + 40, static_cast<uint8_t>(Angle), victim->W + 40);
}

TVOLNA::TVOLNA() {
    if (Paused) return;
    Texture = TexShockWave;
    W = H = 1;
    Alpha = 200;
    Z = 900001;
    ScaleX = ScaleY = 50;
}

void TVOLNA::Move() {
    CSprite::Move();
    if (ClearField) Dead = true;
    if (Paused) return;
    Grow(1500);
    FadeBy(4);
}

TKRATER::TKRATER() {
    if (Paused) return;
    Texture = TexCrater;
    Alpha = 180;
    W = H = 128;
    Z = -static_cast<int32_t>(Random(1000)) - 500; // below every other sprite
    Angle = static_cast<int32_t>(Random(360));
}

// The crater waits out the shaking (the ground is moving under it), then burns itself into the ground,
// fainter than it shows while it waits.
void TKRATER::Move() {
    if (ClearField) Dead = true;
    HitBox =
        ZB_Rect{static_cast<float>(X), static_cast<float>(Y), static_cast<float>(W), static_cast<float>(H)};
    if (ScreenShake) return;
    MainCamera->Switch = 0;
    if (Texture) {
        StampOnMap(HitBox, [this](float left, float top) {
            SSprite_Draw(Texture, static_cast<float>(X) - left, static_cast<float>(Y) - top,
                         static_cast<float>(W), static_cast<float>(H), 120, static_cast<float>(Angle), 1);
        });
    }
    Dead = true;
    MainCamera->Switch = 1;
}

namespace {

bool OfKindAll(CSprite* s) {
    // Blasts of mines and shells, muzzle flashes and cases are not on it: they go by themselves.
    return dynamic_cast<TPickup*>(s) || dynamic_cast<TKRATER*>(s) || dynamic_cast<TSLED*>(s) ||
           dynamic_cast<TBullet*>(s) || dynamic_cast<TMonster*>(s) || dynamic_cast<TOSKOLOK*>(s) ||
           dynamic_cast<TStrikeWave*>(s) || dynamic_cast<TBOOM_SHIP*>(s) || dynamic_cast<TMINE1*>(s);
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
    // Called from sprites' moves: the slots the move pass is closing up are empty.
    for (const auto& sprite : GameEngine->List)
        if (sprite && ofKind(sprite.get())) sprite->Dead = true;
}

bool KindPresent(const std::string& kind) {
    if (kind != "WEAPON_BONUS") return false;
    return std::any_of(GameEngine->List.begin(), GameEngine->List.end(),
                       [](const auto& s) { return dynamic_cast<TWeaponPickup*>(s.get()) != nullptr; });
}
