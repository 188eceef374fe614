// The explosives: the mine the soldier lays, and the blasts of mines, bazooka shells and the nuclear strike.
#include "BOMBS.h"

#include "Battle.h"
#include "GEngine.h"
#include "MONSTER1.h"
#include "PLAYER.h"
#include "RandomGen.h"
#include "ZORBEL.h"
#include "assets.h"

namespace {

constexpr int32_t kBlastZ = 900000;
constexpr int32_t kBlastStartSize = 5;
constexpr int32_t kMineSize = 8;
constexpr uint16_t kBazookaBlastLimit = 200;
constexpr float kBazookaBlastReach = 150.0f;
constexpr uint16_t kFireballDamage = 20;
constexpr float kFireballLastFrame = 16.0f;

// Blood flies back the way the monster was facing.
int32_t BehindOf(const TMonster& m) {
    return m.Angle - 180;
}

} // namespace

TMINE1::TMINE1() : CSprite(SpriteKind::Mine) {
    Texture = TexMine;
    W = H = kMineSize;
    Angle = Player()->Angle - 90;
    Z = 49000;
}

void TMINE1::Move() {
    if (Paused) return;
    if (ClearField) Dead = true;
    // Without the base move the mine keeps showing its first frame.
    Animated = true;
    AnimSpeed = 0.4f;
    HitBox = ZB_Rect{static_cast<float>(X), static_cast<float>(Y), static_cast<float>(kMineSize),
                     static_cast<float>(kMineSize)};
    TMonster* victim = FirstMonsterHit(HitBox);
    if (!victim) return;
    PlayEffect(SndExplosion);
    // The mine's own blow counts neither score nor kill; its blast does.
    victim->Health = static_cast<int16_t>(victim->Health - MineDamage);
    BloodSpray(X, Y, BehindOf(*victim));
    Dead = true;
    TBoomN1* blast = GameEngine->Add<TBoomN1>();
    blast->X = X;
    blast->Y = Y;
}

void TBlast::Draw() {
    FX_SetBlendMode(1);
    CSprite::Draw();
    FX_SetBlendMode(0);
}

void TBlast::HurtOneMonster(uint16_t damage, const Scores& scores, bool sprayFromVictim) {
    TMonster* victim = FirstMonsterHit(HitBox);
    if (!victim) return;
    victim->Health = static_cast<int16_t>(victim->Health - damage);
    switch (victim->Species()) {
    case MonsterKind::Spider:
        Score += scores.spider;
        break;
    case MonsterKind::Alien:
        Score += scores.alien;
        break;
    case MonsterKind::Zombie:
        Score += scores.zombie;
        break;
    }
    if (victim->Health > 0) return;
    ++MonstersKilled;
    if (sprayFromVictim)
        BloodSpray(victim->X, victim->Y, BehindOf(*victim));
    else
        BloodSpray(X, Y, BehindOf(*victim));
}

void TBlast::GrowTo(uint16_t limit) {
    if (W < limit) W += 20;
    if (H < limit) {
        H += 20;
        X -= 10;
        Y -= 10;
    }
}

void TBlast::FadeBy(uint8_t step) {
    Alpha = Alpha > step ? static_cast<uint8_t>(Alpha - step) : 0;
    if (Alpha <= 5) Dead = true;
}

TBoomN1::TBoomN1() : TBlast(SpriteKind::MineBlast) {
    if (Paused) return;
    Texture = TexNukeBlast;
    W = H = kBlastStartSize;
    Z = kBlastZ;
    Alpha = 180;
}

void TBoomN1::Move() {
    CSprite::Move();
    if (ClearField) Dead = true;
    if (Paused) return;
    GrowTo(MineBlastSize);
    // The biggest blast lingers a little longer.
    FadeBy(MineBlastSize == 350 ? 5 : 6);
    Angle += 5;
    const float reach = static_cast<float>(MineBlastSize);
    HitBox = ZB_Rect{static_cast<float>(X), static_cast<float>(Y), reach, reach};
    HurtOneMonster(MineDamage, {20, 10, 25}, false);
}

TBAZBOM::TBAZBOM() : TBlast(SpriteKind::ShellBlast) {
    if (Paused) return;
    Texture = TexBazookaBlast;
    W = H = kBlastStartSize;
    Z = kBlastZ;
    Alpha = 200;
    PlayEffect(SndExplosion2);
}

void TBAZBOM::Move() {
    CSprite::Move();
    if (ClearField) Dead = true;
    if (Paused) return;
    GrowTo(kBazookaBlastLimit);
    FadeBy(10);
    Angle += 1;
    HitBox = ZB_Rect{static_cast<float>(X), static_cast<float>(Y), kBazookaBlastReach, kBazookaBlastReach};
    HurtOneMonster(20, {10, 5, 12}, false);
}

TBOOM_SHIP::TBOOM_SHIP() : TBlast(SpriteKind::Fireball) {
    Texture = TexExplosion;
    W = H = 128;
    Animated = true;
    AnimSpeed = 0.5f;
    Z = kBlastZ;
    Alpha = 255;
    Angle = static_cast<int32_t>(Random(360));
}

void TBOOM_SHIP::Move() {
    CSprite::Move();
    if (Frame >= kFireballLastFrame || ClearField) Dead = true;
    HitBox =
        ZB_Rect{static_cast<float>(X), static_cast<float>(Y), static_cast<float>(W), static_cast<float>(H)};
    HurtOneMonster(kFireballDamage, {10, 5, 12}, true);
}
