// Fragments flying out of blasts and rings, and the fading traces bullets leave behind them.
#include "OSKOLOK.h"

#include "Battle.h"
#include "GEngine.h"
#include "MONSTER1.h"
#include "SquallSound.h"
#include "Weapons.h"
#include "ZORBEL.h"
#include "assets.h"

FragmentBlock Fragments;

namespace {

// Shots and fragments leaving this box are gone for good.
bool OutOfField(const CSprite& s) {
    return s.X > 1476 || s.X < -896 || s.Y > 1100 || s.Y < -596;
}

uint8_t Fade(uint8_t alpha, uint8_t step) {
    return alpha > step ? static_cast<uint8_t>(alpha - step) : 0;
}

// A fragment's kill: spiders fall with a humanoid cry (or silently), the others with a hit sound.
void PlayFragmentKillSound(MonsterKind kind) {
    if (kind != MonsterKind::Spider)
        PlayHitSound();
    else if (TickRandom5 < 3)
        PlayEffect(SndDieHumanoidB[TickRandom5]);
}

} // namespace

TOSKOLOK::TOSKOLOK() : CSprite(SpriteKind::Fragment) {
    W = H = 48;
    Z = 50003;
}

void TOSKOLOK::Move() {
    if (Paused) return;
    if (OutOfField(*this) || ClearField) Dead = true;
    X += ZB_Round(static_cast<float>(HeadingX(Angle) * FragSpeed));
    Y += ZB_Round(static_cast<float>(HeadingY(Angle) * FragSpeed));
    HitBox = ZB_Rect{static_cast<float>(X + 22), static_cast<float>(Y + 22), 4.0f, 4.0f};
    TMonster* monster = FirstMonsterHit(HitBox);
    if (!monster) return;
    monster->Health = static_cast<int16_t>(monster->Health - FragDamage);
    Score += 6;
    if (monster->Health <= 0) PlayFragmentKillSound(monster->Species());
    BloodSpray(X, Y, Angle);
    if (!FragPierce) Dead = true;
}

TSLED1PUL::TSLED1PUL() : CSprite(SpriteKind::BulletTrace) {
    W = H = 48;
    Z = 50003;
    Alpha = (CurrentWeapon == Weapon::Shotgun || CurrentWeapon == Weapon::Pistol) ? 150 : 255;
}

void TSLED1PUL::Move() {
    if (Paused) return;
    if (OutOfField(*this) || ClearField) Dead = true;
    // The fade follows the weapon in hand now, not the one that fired.
    const uint8_t step = CurrentWeapon == Weapon::Shotgun ? 5 : CurrentWeapon == Weapon::Pistol ? 7 : 15;
    Alpha = Fade(Alpha, step);
    if (Alpha == 0) Dead = true;
}

TSLED2PUL::TSLED2PUL() : CSprite(SpriteKind::BulletStreak) {
    W = H = 48;
    Alpha = 160;
    Z = 50003;
}

void TSLED2PUL::Move() {
    if (Paused) return;
    if (OutOfField(*this) || ClearField) Dead = true;
    Alpha = Fade(Alpha, 40);
    if (Alpha <= 5) Dead = true;
}

RingShape FragmentRingShape(uint8_t reloadBlastLevel) {
    switch (reloadBlastLevel) {
    case 1:
        return {9, 45};
    case 3:
        return {31, 12};
    default:
        return {16, 24};
    }
}

void FragmentRing(int32_t x, int32_t y, ZB_Texture* picture, uint8_t speed, uint8_t reloadBlastLevel) {
    FragSpeed = speed; // every fragment in flight follows it
    const RingShape ring = FragmentRingShape(reloadBlastLevel);
    for (int32_t i = 0; i < ring.count; ++i) {
        TOSKOLOK* f = GameEngine->Add<TOSKOLOK>();
        f->Texture = picture;
        f->X = x;
        f->Y = y;
        f->Angle = i * ring.step;
    }
}
