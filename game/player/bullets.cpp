// The player's bullets: flight, hits on monsters, damage and their effects; blood spray and hit sounds.
#include "bullets.h"

#include "BOMBS.h"
#include "BONUS.h"
#include "GEngine.h"
#include "GameTick.h"
#include "MONSTER1.h"
#include "OSKOLOK.h"
#include "PLAYER.h"
#include "RandomGen.h"
#include "SquallSound.h"
#include "ZORBEL.h"
#include "assets.h"
#include "effects.h"
#include "level.h"

bool SecondBlastLine = false;

void PlayHitSound() {
    if (TickRandom5 < 5) PlayEffect(SndHit[TickRandom5]);
}

namespace {

// The field a bullet may fly in; beyond it the bullet is gone.
constexpr int32_t kFieldRight = 1476, kFieldLeft = -896, kFieldBottom = 1100, kFieldTop = -596;
// Each sideways step of the "NANO" weave turns the offset heading by this many degrees.
constexpr uint16_t kWobbleStep = 50;

ZB_Rect BulletBox(int32_t x, int32_t y) {
    return ZB_Rect{static_cast<float>(x + 22), static_cast<float>(y + 22), 4.0f, 4.0f};
}

// Hit points a bullet of the weapon in hand takes: each damage upgrade adds 30 % of the base.
int32_t HitDamage() {
    return M_Round(static_cast<float>(BulletDamage / 100.0 * (DamageLevel * 30) + BulletDamage));
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

// A line of six growing blood marks along a unit step (ux, uy).
struct SprayMark {
    float k;
    int32_t size;
};
constexpr SprayMark kFirstLine[6] = {{2, 8}, {4, 16}, {7, 32}, {11, 48}, {15, 64}, {19, 82}};
constexpr SprayMark kSecondLine[6] = {{3, 8}, {5.5f, 16}, {9, 32}, {13, 48}, {17, 64}, {21, 86}};

void SprayLine(int32_t x, int32_t y, int32_t angle, const SprayMark (&marks)[6]) {
    const float ux = static_cast<float>(HeadingX(angle) * 8);
    const float uy = static_cast<float>(HeadingY(angle) * 8);
    for (const SprayMark& m : marks) {
        const int32_t px = M_Round(static_cast<float>(x + 24 + static_cast<double>(ux) * m.k));
        const int32_t py = M_Round(static_cast<float>(y + 24 + static_cast<double>(uy) * m.k));
        // Only the low 8 bits of the drawn angle reach the mark.
        const uint8_t markAngle = static_cast<uint8_t>(Random(360));
        SpawnTrace(px, py, m.size, markAngle, m.size);
    }
}

} // namespace

void SpawnBazookaBlast(int32_t x, int32_t y) {
    TBAZBOM* blast = GameEngine->Add<TBAZBOM>();
    blast->X = x;
    blast->Y = y;
}

void BloodSpray(int32_t x, int32_t y, int32_t angle) {
    SprayLine(x, y, angle, kFirstLine);
    if (SecondBlastLine) SprayLine(x, y, angle - 16, kSecondLine);
}

TBullet::TBullet() {
    Texture = BulletTexture;
    W = H = 48;
    const TPLAYER* player = Player();
    Angle = player->Angle;
    // 20 px ahead of the soldier and 5 px to the side, where the gun is.
    PosX = static_cast<float>(player->X + 6 + HeadingX(Angle) * 20 + HeadingX(Angle + 90) * 5);
    PosY = static_cast<float>(player->Y + 6 + HeadingY(Angle) * 20 + HeadingY(Angle + 90) * 5);
    const double spread = Random(SpreadHeat) / 2.0 - SpreadHeat / 4.0;
    Angle = M_Round(static_cast<float>(spread + Angle));
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
    X = M_Round(PosX);
    Y = M_Round(PosY);
    HitBox = BulletBox(X, Y);
}

void TBullet::Strike(TMonster& monster) {
    // Health is above 0 and a hit takes at most a few hundred, so the result stays well inside int16.
    monster.Health = static_cast<int16_t>(monster.Health - HitDamage());
    Score += ScoreFor(monster.Kind());
    const bool killed = monster.Health <= 0;
    if (killed) {
        ++MonstersKilled;
        PlayDeathSound(monster.Kind());
    }
    if (monster.Kind() == MonsterKind::Spider) {
        // A hit spider lurches on along its own heading.
        monster.PosX = static_cast<float>(monster.PosX + HeadingX(monster.Angle) * 5);
        monster.PosY = static_cast<float>(monster.PosY + HeadingY(monster.Angle) * 5);
    }

    if (CurrentWeapon == "BAZUKA") SpawnBazookaBlast(X, Y);
    if (CurrentWeapon == "OTRA") {
        // The bolt fades with every body it passes through and shoves the monster back along its heading.
        Alpha = Alpha > 55 ? static_cast<uint8_t>(Alpha - 55) : 0;
        monster.PosX = static_cast<float>(monster.PosX - (monster.Speed * HeadingX(monster.Angle) + 15));
        monster.PosY = static_cast<float>(monster.PosY - (monster.Speed * HeadingY(monster.Angle) + 15));
        monster.X = M_Round(PosX);
        monster.Y = M_Round(PosY);
        if (Alpha == 0) Dead = true;
    }
    if (killed) {
        if (CurrentWeapon == "PUSTOLET" || TickRandom30 == 11) DropOnKill(X, Y, 0);
        DropOnKill(X, Y, 1);
    }
    BloodSpray(X, Y, Angle);
    if (!Piercing && CurrentWeapon != "OTRA") Dead = true;
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
    if (CurrentWeapon == "LASER" || CurrentWeapon == "BAZUKA") {
        trace = GameEngine->Add<TSLED1PUL>();
    } else if (CurrentWeapon == "DROB" || CurrentWeapon == "PUSTOLET") {
        // Shotgun pellets come in several sizes, and their traces with them.
        trace = GameEngine->Add<TSLED1PUL>();
        trace->W = W;
        trace->H = H;
    } else if (CurrentWeapon == "AUTOMAT" || CurrentWeapon == "OTRA" || CurrentWeapon == "UZI") {
        trace = GameEngine->Add<TSLED2PUL>();
    } else {
        return; // "NANO" leaves no trace
    }
    trace->Texture = BulletTexture;
    trace->Angle = Angle;
    trace->X = X;
    trace->Y = Y;
}
