// Weapon pickups, the bonuses and the nuclear strike, random drops on kills, and clearing sprites by kind.
#include "BONUS.h"

#include "BOMBS.h"
#include "Battle.h"
#include "GEngine.h"
#include "MONSTER1.h"
#include "OSKOLOK.h"
#include "PLAYER.h"
#include "RandomGen.h"
#include "ZORBEL.h"
#include "assets.h"
#include "settings.h"

#include <algorithm>

TPickup::TPickup(SpriteKind kind, const Look& look)
    : CSprite(kind), FadeUntil(look.fadeUntil), ExtraFadeUntil(look.extraFadeUntil), ShadowFX(look.shadowFX) {
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
                     static_cast<float>(H), ZB_Round(Frame), 100, static_cast<float>(Angle), ShadowFX);
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
    HitBox = ZB_Rect{static_cast<float>(X), static_cast<float>(Y), kReach, kReach};
    if (!ZB_Overlap(&HitBox, &Player()->HitBox)) return;
    Collect();
    Dead = true;
}

namespace {

TPickup::Look WeaponLook(Weapon weapon) {
    const WeaponRow& row = RowOf(weapon);
    return {*row.pickupTexture,
            row.pickupAnimSpeed,
            row.pickupLifetime,
            row.fadeUntil,
            row.extraFadeUntil,
            9,
            true};
}

} // namespace

TWeaponPickup::TWeaponPickup(Weapon weapon)
    : TPickup(SpriteKind::WeaponPickup, WeaponLook(weapon)), Carried(weapon) {}

void TWeaponPickup::Collect() {
    ClearBulletTraces();
    PlayEffect(SndFindWeapon);
    TakeWeapon(Carried, PistolLevel);
    BonusShots = BaseBonusShots;
    // Even the weapon in hand comes with a fresh clip that must be loaded first.
    ClipAmmo = 0;
    Reloading = true;
    ReloadTimer = 0.0f;
}

TPUSTOLET::TPUSTOLET() : TWeaponPickup(Weapon::Pistol) {}
TAUTOMAT::TAUTOMAT() : TWeaponPickup(Weapon::Automat) {}
TDROBS::TDROBS() : TWeaponPickup(Weapon::Shotgun) {}
TUZI::TUZI() : TWeaponPickup(Weapon::Uzi) {}
TLASER::TLASER() : TWeaponPickup(Weapon::Laser) {}
TBAZUKA::TBAZUKA() : TWeaponPickup(Weapon::Bazooka) {}
TNANO::TNANO() : TWeaponPickup(Weapon::Nano) {}
TOTRA::TOTRA() : TWeaponPickup(Weapon::Otra) {}

TWeaponPickup* CreateWeaponPickup(Weapon weapon) {
    switch (weapon) {
    case Weapon::Pistol:
        return GameEngine->Add<TPUSTOLET>();
    case Weapon::Automat:
        return GameEngine->Add<TAUTOMAT>();
    case Weapon::Shotgun:
        return GameEngine->Add<TDROBS>();
    case Weapon::Uzi:
        return GameEngine->Add<TUZI>();
    case Weapon::Laser:
        return GameEngine->Add<TLASER>();
    case Weapon::Bazooka:
        return GameEngine->Add<TBAZUKA>();
    case Weapon::Nano:
        return GameEngine->Add<TNANO>();
    case Weapon::Otra:
        return GameEngine->Add<TOTRA>();
    case Weapon::None:
        break;
    }
    return nullptr;
}

namespace {

// Levels 11 to 20 hand out no weapons and no bonuses from kills or the upgrade panel.
bool DropsAllowed() {
    return Level < 11 || Level > 20;
}

TWeaponPickup* CreateWeaponPickupAt(Weapon weapon, int32_t x, int32_t y) {
    TWeaponPickup* pickup = CreateWeaponPickup(weapon);
    pickup->X = x;
    pickup->Y = y;
    return pickup;
}

bool InHand(const TWeaponPickup& pickup) {
    return CurrentWeapon == pickup.Carried;
}

} // namespace

void PlaceWeaponPickup(int32_t x, int32_t y) {
    if (!DropsAllowed()) return;
    for (;;) {
        const uint32_t i = Random(WeaponKindsOpen);
        if (i >= static_cast<uint32_t>(kWeaponCount)) return;
        TWeaponPickup* pickup = CreateWeaponPickupAt(WeaponAt(static_cast<int>(i)), x, y);
        if (!InHand(*pickup)) return;
        pickup->Dead = true;
        // With one kind open or none every draw is the pistol again: a pistol in hand would loop for ever.
        if (WeaponKindsOpen <= 1) return;
    }
}

void DropOnKill(int32_t x, int32_t y, uint8_t mode) {
    if (!DropsAllowed()) return;
    if (WeaponPickupPresent()) {
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
    if (WeaponAt(static_cast<int>(i)) == Weapon::Pistol || i >= static_cast<uint32_t>(kWeaponCount)) return;
    TWeaponPickup* pickup = CreateWeaponPickupAt(WeaponAt(static_cast<int>(i)), x, y);
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

TLIFES::TLIFES() : TPickup(SpriteKind::LifeBonus, BonusLook(TexIconLife, 9)) {}
TZAMEDL::TZAMEDL() : TPickup(SpriteKind::SlowDownBonus, BonusLook(TexIconSlowDown, 1)) {}
TDEFENCE::TDEFENCE() : TPickup(SpriteKind::DefenceBonus, BonusLook(TexIconDefence, 9)) {}
// Only ever dropped on a kill, which places it.
TSOLN::TSOLN() : TPickup(SpriteKind::SunBonus, BonusLook(TexIconSun, 9, false)) {}
TNUKEBON::TNUKEBON() : TPickup(SpriteKind::NukeBonus, BonusLook(TexIconNuke, 9)) {}

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
    FragmentRing(X, Y, TexSunStrike, kSunRingSpeed, ReloadBlastLevel);
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
                 static_cast<float>(H), ZB_Round(Frame), Alpha, static_cast<float>(Angle), 17);
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

TNUKEBOOM::TNUKEBOOM() : TStrikeWave(SpriteKind::StrikeFlash) {
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

TVOLNA::TVOLNA() : TStrikeWave(SpriteKind::ShockRing) {
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

TKRATER::TKRATER() : CSprite(SpriteKind::Crater) {
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

bool IsPickup(SpriteKind kind) {
    switch (kind) {
    case SpriteKind::WeaponPickup:
    case SpriteKind::LifeBonus:
    case SpriteKind::SlowDownBonus:
    case SpriteKind::DefenceBonus:
    case SpriteKind::SunBonus:
    case SpriteKind::NukeBonus:
        return true;
    default:
        return false;
    }
}

namespace {

bool ClearedForNewGame(SpriteKind kind) {
    switch (kind) {
    case SpriteKind::Crater:
    case SpriteKind::BloodTrace:
    case SpriteKind::Bullet:
    case SpriteKind::Fragment:
    case SpriteKind::StrikeFlash:
    case SpriteKind::ShockRing:
    case SpriteKind::Fireball:
    case SpriteKind::Mine:
        return true;
    default:
        return IsPickup(kind) || IsMonster(kind);
    }
}

// Called from sprites' moves: the slots the move pass is closing up are empty.
void ClearWhere(bool (*cleared)(SpriteKind)) {
    for (const auto& sprite : GameEngine->List)
        if (sprite && cleared(sprite->Kind)) sprite->Dead = true;
}

} // namespace

void ClearForNewGame() {
    ClearWhere(ClearedForNewGame);
}

void ClearBulletTraces() {
    ClearWhere(
        [](SpriteKind kind) { return kind == SpriteKind::BulletTrace || kind == SpriteKind::BulletStreak; });
}

bool WeaponPickupPresent() {
    return std::any_of(GameEngine->List.begin(), GameEngine->List.end(),
                       [](const auto& s) { return s && s->Kind == SpriteKind::WeaponPickup; });
}
