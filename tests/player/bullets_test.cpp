// Player bullets: placement and spread with the flash and case of each shot, flight, hits on monsters,
// damage, kills, drops, the bazooka's blast, traces and blood.
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
#include "effects.h"
#include "level.h"
#include "settings.h"
#include "test_world.h"
#include "assets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

namespace {

template <typename T> std::vector<T*> All() {
    std::vector<T*> found;
    for (const auto& s : GameEngine->List)
        if (auto* t = dynamic_cast<T*>(s.get())) found.push_back(t);
    return found;
}

class Bullets : public ::testing::Test {
  protected:
    void SetUp() override { Field(); }
    // A fresh battlefield with the soldier holding the pistol.
    static void Field() {
        fake::World();
        Player()->X = 400;
        Player()->Y = 300;
        Player()->Angle = 37;
        CurrentWeapon = Weapon::Pistol;
        BulletDamage = 30;
        BulletSpeed = 13.0f;
        Level = 1;
    }
    static TZOMBI* Zombie(int16_t health) {
        auto* z = GameEngine->Add<TZOMBI>();
        z->Health = health;
        z->PlaceHitBox(ZB_Rect{110, 110, 30, 30});
        return z;
    }
    // A bullet standing still with its box inside the zombies' boxes.
    static TBullet* StandingBullet() {
        auto* b = GameEngine->Add<TBullet>();
        b->PosX = b->PosY = 100.0f;
        b->VelX = b->VelY = b->Speed = 0.0f;
        return b;
    }
};

TEST_F(Bullets, TheBulletLeavesTheMuzzleAlongTheAimWithinTheSpread) {
    auto* b = GameEngine->Add<TBullet>();
    EXPECT_EQ(b->Angle, 37);
    EXPECT_EQ(b->PosX, static_cast<float>(406 + HeadingX(37) * 20 + HeadingX(127) * 5));
    const float x0 = b->PosX, y0 = b->PosY;
    b->Move();
    b->Move();
    EXPECT_FLOAT_EQ(b->PosX, x0 + 2 * static_cast<float>(HeadingX(37) * 13));
    EXPECT_FLOAT_EQ(b->PosY, y0 + 2 * static_cast<float>(HeadingY(37) * 13));
    ShotKind = 1; // a shotgun pellet flies at its own speed
    b->Speed = 20.0f;
    b->Move();
    EXPECT_FLOAT_EQ(b->PosX, x0 + static_cast<float>(HeadingX(37) * 46));

    SpreadHeat = 40;
    int lo = 1000, hi = -1000;
    for (int i = 0; i < 400; ++i) {
        const int32_t angle = GameEngine->Add<TBullet>()->Angle;
        lo = std::min(lo, angle);
        hi = std::max(hi, angle);
    }
    EXPECT_EQ(lo, 37 - 10);
    EXPECT_EQ(hi, 37 + 9); // 46.5 rounds to even
}

TEST_F(Bullets, EveryShotThrowsAFlashAndACaseDrawnAfterTheSpreadAndLaidBehindTheBullet) {
    SpreadHeat = 40;
    // A seed whose first two draws tell the order apart: as the spread, then as the case's speed.
    uint32_t seed = 0, spread = 0, caseSpeed = 0;
    for (bool apart = false; !apart;) {
        RandSeed = ++seed;
        spread = Random(40);
        caseSpeed = Random(3) + 6;
        RandSeed = seed;
        apart = Random(3) + 6 != caseSpeed;
    }
    RandSeed = seed;
    auto* b = GameEngine->Add<TBullet>();
    EXPECT_EQ(b->Angle, M_Round(static_cast<float>(spread) / 2.0f - 10.0f + 37.0f));
    ASSERT_EQ(GameEngine->Count, b->ID + 3);
    EXPECT_NE(dynamic_cast<THLOP*>(GameEngine->At(b->ID + 1)), nullptr);
    auto* c = dynamic_cast<TEMPTY*>(GameEngine->At(b->ID + 2));
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->Speed, caseSpeed);
    EXPECT_EQ(b->Speed, 13.0f);
}

TEST_F(Bullets, ABazookaShellBurstsWhereItHits) {
    CurrentWeapon = Weapon::Bazooka;
    BulletDamage = 150;
    auto* z = Zombie(500);
    auto* b = StandingBullet();
    b->Move();
    EXPECT_EQ(z->Health, 350);
    const auto blasts = All<TBAZBOM>();
    ASSERT_EQ(blasts.size(), 1u);
    EXPECT_EQ(blasts[0]->X, b->X);
    EXPECT_EQ(blasts[0]->Y, b->Y);
    CurrentWeapon = Weapon::Uzi;
    StandingBullet()->Move();
    EXPECT_EQ(All<TBAZBOM>().size(), 1u);
}

TEST_F(Bullets, NanoWeavesUpAndDownInFiftyDegreeSteps) {
    Wobble = true;
    auto* b = StandingBullet();
    std::vector<int> phases;
    for (int i = 0; i < 16; ++i) {
        b->Move();
        phases.push_back(b->WobblePhase);
    }
    EXPECT_EQ(phases,
              (std::vector<int>{50, 100, 150, 200, 250, 300, 350, 350, 300, 250, 200, 150, 100, 50, 0, 50}));
}

TEST_F(Bullets, ADyingMonsterIsTransparentAndTheFirstLivingOneIsHitWithEveryUpgrade) {
    DamageLevel = 3;
    auto* corpse = Zombie(0);
    auto* first = Zombie(100);
    auto* second = Zombie(100);
    auto* b = StandingBullet();
    b->Move();
    EXPECT_EQ(corpse->Health, 0);
    EXPECT_EQ(first->Health, 100 - 57);
    EXPECT_EQ(second->Health, 100);
    EXPECT_EQ(Score, 10);
    EXPECT_TRUE(b->Dead);
    EXPECT_EQ(All<TSLED>().size(), 6u); // the blood spray
}

TEST_F(Bullets, LaserHitsAgainOnEveryTickOfOverlap) {
    CurrentWeapon = Weapon::Laser;
    Piercing = true;
    BulletDamage = 100;
    auto* z = Zombie(1000);
    auto* b = StandingBullet();
    for (int i = 0; i < 3; ++i)
        b->Move();
    EXPECT_EQ(z->Health, 700);
    EXPECT_FALSE(b->Dead);
}

TEST_F(Bullets, OtraFadesWithEveryBodyAndStopsInTheFifth) {
    CurrentWeapon = Weapon::Otra;
    auto* z = Zombie(10000);
    z->Speed = 2.0f;
    z->Angle = 90;
    z->PosX = 500.0f;
    auto* b = StandingBullet();
    std::vector<int> alphas;
    for (int i = 0; i < 5 && !b->Dead; ++i) {
        b->Move();
        alphas.push_back(b->Alpha);
    }
    EXPECT_EQ(alphas, (std::vector<int>{200, 145, 90, 35, 0}));
    EXPECT_TRUE(b->Dead);
    // Shoved back along its heading each time, and drawn where the bolt is.
    EXPECT_FLOAT_EQ(z->PosX, 500.0f - 5 * static_cast<float>(2 * HeadingX(90) + 15));
    EXPECT_EQ(z->X, 100);
}

TEST_F(Bullets, KillsCountAndCryByTheTickDraw) {
    // The silent sound system refuses every play, and the refusal lands in the sound's channel.
    for (uint8_t r = 0; r < 5; ++r) {
        for (const auto& sound : SoundSystem->Sounds)
            sound->Channel = 0;
        TickRandom5 = r;
        Zombie(30);
        StandingBullet()->Move();
        EXPECT_EQ(MonstersKilled, r + 1);
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(SndDieLizard[k]->Channel != 0, k == r) << "draw " << int(r);
        EXPECT_EQ(SndHit[4]->Channel != 0, r == 4);
    }
}

TEST_F(Bullets, SpidersAreHitBeforeAliensAndAliensBeforeZombiesEachForItsOwnScore) {
    auto* zombie = Zombie(100);
    auto* alien = GameEngine->Add<TALIEN>();
    auto* spider = GameEngine->Add<TPAYK_Y>();
    for (TMonster* m : {static_cast<TMonster*>(alien), static_cast<TMonster*>(spider)}) {
        m->Health = 100;
        m->PlaceHitBox(zombie->HitBox);
    }
    spider->Angle = 30;
    spider->PosX = 300.0f;
    spider->PosY = 200.0f;
    StandingBullet()->Move();
    EXPECT_EQ(spider->Health, 70);
    EXPECT_EQ(alien->Health + zombie->Health, 200);
    EXPECT_EQ(Score, 40);
    // A hit spider lurches 5 px on along its heading.
    EXPECT_FLOAT_EQ(spider->PosX, 300.0f + static_cast<float>(HeadingX(30) * 5));
    EXPECT_FLOAT_EQ(spider->PosY, 200.0f + static_cast<float>(HeadingY(30) * 5));

    spider->Health = 0;
    StandingBullet()->Move();
    EXPECT_EQ(alien->Health, 70);
    EXPECT_EQ(Score, 60);
    alien->Health = 0;
    StandingBullet()->Move();
    EXPECT_EQ(zombie->Health, 70);
    EXPECT_EQ(Score, 70);
}

TEST_F(Bullets, AliensAndSpidersCryByTheTickDraw) {
    for (uint8_t r = 0; r < 5; ++r) {
        TickRandom5 = r;
        for (bool spider : {true, false}) {
            for (const auto& sound : SoundSystem->Sounds)
                sound->Channel = 0;
            TMonster* m =
                spider ? static_cast<TMonster*>(GameEngine->Add<TPAYK_Y>()) : GameEngine->Add<TALIEN>();
            m->Health = 30;
            m->PlaceHitBox(ZB_Rect{110, 110, 30, 30});
            StandingBullet()->Move();
            ASSERT_LE(m->Health, 0);
            for (int k = 0; k < 3; ++k)
                EXPECT_EQ(SndDieHumanoid[k]->Channel != 0, k == r) << "draw " << int(r);
            // Aliens fall with a hit sound where spiders fall silent.
            EXPECT_EQ(SndHit[r]->Channel != 0, !spider && r >= 3) << "draw " << int(r);
        }
    }
    EXPECT_EQ(MonstersKilled, 10);
}

TEST_F(Bullets, PistolKillsAlwaysRollForAWeaponOtherKillsOnlyOnTheLuckyTick) {
    WeaponKindsOpen = 2;
    uint32_t seed = 0;
    do { // a seed whose roll gives the assault rifle
        RandSeed = ++seed;
    } while (Random(2) != 1);
    struct Case {
        Weapon weapon;
        uint8_t tick30;
        size_t drops;
    };
    for (const Case& c : {Case{Weapon::Pistol, 3, 1}, Case{Weapon::Uzi, 10, 0}, Case{Weapon::Uzi, 11, 1}}) {
        Field();
        CurrentWeapon = c.weapon;
        TickRandom30 = c.tick30;
        Zombie(1);
        auto* b = StandingBullet();
        RandSeed = seed;
        b->Move();
        EXPECT_EQ(All<TAUTOMAT>().size(), c.drops) << WeaponName(c.weapon) << " " << int(c.tick30);
    }
}

TEST_F(Bullets, AMissLeavesTheTraceOfTheWeaponInHandAndAHitNone) {
    CurrentWeapon = Weapon::Shotgun;
    auto* pellet = StandingBullet();
    pellet->W = pellet->H = 30;
    pellet->Move();
    const auto traces = All<TSLED1PUL>();
    ASSERT_EQ(traces.size(), 1u);
    EXPECT_EQ(traces[0]->W, 30);
    EXPECT_EQ(traces[0]->X, 100);
    for (Weapon weapon : {Weapon::Uzi, Weapon::Nano}) {
        CurrentWeapon = weapon;
        StandingBullet()->Move();
    }
    EXPECT_EQ(All<TSLED2PUL>().size(), 1u);
    Zombie(100);
    StandingBullet()->Move();
    EXPECT_EQ(All<TSLED1PUL>().size() + All<TSLED2PUL>().size(), 2u);
}

TEST_F(Bullets, BloodSprayLaysGrowingMarksAlongTheHeadingAndASecondLineOnLevelNineteen) {
    using Mark = std::array<int32_t, 4>; // x, y, w, h
    const auto marks = [] {
        std::vector<Mark> m;
        for (TSLED* s : All<TSLED>())
            m.push_back({s->X, s->Y, s->W, s->H});
        return m;
    };
    std::vector<Mark> expected = {{124, 240, 8, 8},   {124, 256, 16, 16}, {124, 280, 32, 32},
                                  {124, 312, 48, 48}, {124, 344, 64, 64}, {124, 376, 82, 82}};
    BloodSpray(100, 200, 0);
    EXPECT_EQ(marks(), expected);

    fake::World();
    SecondBlastLine = true;
    BloodSpray(100, 200, 0);
    expected.insert(expected.end(), {{130, 247, 8, 8},
                                     {136, 266, 16, 16},
                                     {143, 293, 32, 32},
                                     {152, 324, 48, 48},
                                     {160, 355, 64, 64},
                                     {169, 386, 86, 86}});
    EXPECT_EQ(marks(), expected);
}

} // namespace
