// The player's bullets: flight, hits on monsters, damage and their effects; blood spray and hit sounds.
#include "bullets.h"

#include "BOMBS.h"
#include "BONUS.h"
#include "Battle.h"
#include "GEngine.h"
#include "MONSTER1.h"
#include "OSKOLOK.h"
#include "PLAYER.h"
#include "RandomGen.h"
#include "Weapons.h"
#include "ZORBEL.h"
#include "assets.h"
#include "effects.h"

namespace {

// The field a bullet may fly in; beyond it the bullet is gone.
constexpr int32_t kFieldRight = 1476, kFieldLeft = -896, kFieldBottom = 1100, kFieldTop = -596;
// Each sideways step of the "NANO" weave turns the offset heading by this many degrees.
constexpr uint16_t kWobbleStep = 50;

ZB_Rect BulletBox(int32_t x, int32_t y) {
    return ZB_Rect{static_cast<float>(x + 22), static_cast<float>(y + 22), kBulletBoxSize, kBulletBoxSize};
}

// Hit points a bullet of the weapon in hand takes: each damage upgrade adds 30 % of the base.
int32_t HitDamage() {
    return ZB_Round(static_cast<float>(BulletDamage / 100.0 * (DamageLevel * 30) + BulletDamage));
}

int32_t ScoreFor(MonsterKind kind) {
    switch (kind) {
    case MonsterKind::Spider:
        return 40;
    case MonsterKind::Alien:
        return 20;
    case MonsterKind::Zombie:
        break;
    }
    return 10;
}

void PlayDeathSound(MonsterKind kind) {
    switch (kind) {
    case MonsterKind::Spider:
        // Two spider deaths in five pass without a sound.
        if (TickRandom5 < 3) PlayEffect(SndDieHumanoid[TickRandom5]);
        break;
    case MonsterKind::Alien:
        if (TickRandom5 < 3)
            PlayEffect(SndDieHumanoid[TickRandom5]);
        else
            PlayHitSound();
        break;
    case MonsterKind::Zombie:
        if (TickRandom5 < 4)
            PlayEffect(SndDieLizard[TickRandom5]);
        else
            PlayHitSound();
        break;
    }
}

} // namespace

void SpawnBazookaBlast(int32_t x, int32_t y) {
    TBAZBOM* blast = GameEngine->Add<TBAZBOM>();
    blast->X = x;
    blast->Y = y;
}

TBullet::TBullet() : CSprite(SpriteKind::Bullet) {
    Texture = BulletTexture;
    W = H = 48;
    const TPLAYER* player = Player();
    Angle = player->Angle;
    // Ahead of the soldier and to his side, where the gun is.
    PosX = static_cast<float>(player->X + 6 + HeadingX(Angle) * kMuzzleAhead +
                              HeadingX(Angle + 90) * kMuzzleSide);
    PosY = static_cast<float>(player->Y + 6 + HeadingY(Angle) * kMuzzleAhead +
                              HeadingY(Angle + 90) * kMuzzleSide);
    const double spread = Random(SpreadHeat) / 2.0 - SpreadHeat / 4.0;
    Angle = ZB_Round(static_cast<float>(spread + Angle));
    VelX = static_cast<float>(HeadingX(Angle) * BulletSpeed);
    VelY = static_cast<float>(HeadingY(Angle) * BulletSpeed);
    Z = 50003;
    WobbleDown = false;
    // After the spread and before the speed: the order of the random draws and of the table is the game's.
    GameEngine->Add<THLOP>();
    GameEngine->Add<TEMPTY>();
    Speed = BulletSpeed;
}

void TBullet::Fly() {
    if (Wobble) {
        if (!WobbleDown) WobblePhase = static_cast<uint16_t>(WobblePhase + kWobbleStep);
        if (WobblePhase >= 360) WobbleDown = true;
        if (WobbleDown) WobblePhase = static_cast<uint16_t>(WobblePhase - kWobbleStep);
        if (WobblePhase == 0) WobbleDown = false;
    }
    if (ShotKind == 0) {
        PosX = static_cast<float>(PosX + VelX);
        PosY = static_cast<float>(PosY + VelY);
    } else {
        // Shotgun pellets keep their own speed, which may exceed the weapon's.
        PosX = static_cast<float>(PosX + HeadingX(Angle) * Speed);
        PosY = static_cast<float>(PosY + HeadingY(Angle) * Speed);
    }
    if (Wobble) {
        PosX = static_cast<float>(PosX + HeadingX(WobblePhase) * Speed);
        PosY = static_cast<float>(PosY + HeadingY(WobblePhase) * Speed);
    }
    X = ZB_Round(PosX);
    Y = ZB_Round(PosY);
    HitBox = BulletBox(X, Y);
}

void TBullet::Strike(TMonster& monster) {
    // Health is above 0 and a hit takes at most a few hundred, so the result stays well inside int16.
    monster.Health = static_cast<int16_t>(monster.Health - HitDamage());
    Score += ScoreFor(monster.Species());
    const bool killed = monster.Health <= 0;
    if (killed) {
        ++MonstersKilled;
        PlayDeathSound(monster.Species());
    }
    if (monster.Species() == MonsterKind::Spider) {
        // A hit spider lurches on along its own heading.
        monster.PosX = static_cast<float>(monster.PosX + HeadingX(monster.Angle) * 5);
        monster.PosY = static_cast<float>(monster.PosY + HeadingY(monster.Angle) * 5);
    }

    if (CurrentWeapon == Weapon::Bazooka) SpawnBazookaBlast(X, Y);
    if (CurrentWeapon == Weapon::Otra) {
        // The bolt fades with every body it passes through and shoves the monster back along its heading.
        Alpha = Alpha > 55 ? static_cast<uint8_t>(Alpha - 55) : 0;
        monster.PosX = static_cast<float>(monster.PosX - (monster.Speed * HeadingX(monster.Angle) + 15));
        monster.PosY = static_cast<float>(monster.PosY - (monster.Speed * HeadingY(monster.Angle) + 15));
        monster.X = ZB_Round(PosX);
        monster.Y = ZB_Round(PosY);
        if (Alpha == 0) Dead = true;
    }
    if (killed) {
        if (CurrentWeapon == Weapon::Pistol || TickRandom30 == 11) DropOnKill(X, Y, 0);
        DropOnKill(X, Y, 1);
    }
    BloodSpray(X, Y, Angle);
    if (!Piercing && CurrentWeapon != Weapon::Otra) Dead = true;
}

void TBullet::Move() {
    if (X > kFieldRight || X < kFieldLeft || Y > kFieldBottom || Y < kFieldTop || ClearField) Dead = true;
    Fly();
    // One monster per tick at most.
    if (TMonster* monster = FirstMonsterHit(HitBox)) {
        Strike(*monster);
        return;
    }
    LeaveTrace();
}

void TBullet::LeaveTrace() const {
    CSprite* trace = nullptr;
    switch (CurrentWeapon) {
    case Weapon::Laser:
    case Weapon::Bazooka:
        trace = GameEngine->Add<TSLED1PUL>();
        break;
    case Weapon::Shotgun:
    case Weapon::Pistol:
        // Shotgun pellets come in several sizes, and their traces with them.
        trace = GameEngine->Add<TSLED1PUL>();
        trace->W = W;
        trace->H = H;
        break;
    case Weapon::Automat:
    case Weapon::Otra:
    case Weapon::Uzi:
        trace = GameEngine->Add<TSLED2PUL>();
        break;
    default:
        return; // the nano gun leaves no trace
    }
    trace->Texture = BulletTexture;
    trace->Angle = Angle;
    trace->X = X;
    trace->Y = Y;
}
