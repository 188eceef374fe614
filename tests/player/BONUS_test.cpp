// Weapon pickups: creation, fade and lifetime, collecting, the drop and placement rolls, clearing by kind.
#include "BONUS.h"

#include "GEngine.h"
#include "GameTick.h"
#include "MONSTER1.h"
#include "OSKOLOK.h"
#include "PLAYER.h"
#include "RUN_GAME.h"
#include "RandomGen.h"
#include "SquallSound.h"
#include "assets.h"
#include "bullets.h"
#include "level.h"
#include "settings.h"
#include "test_world.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

namespace {

std::vector<TWeaponPickup*> Pickups() {
    std::vector<TWeaponPickup*> found;
    for (const auto& s : GameEngine->List)
        if (auto* p = dynamic_cast<TWeaponPickup*>(s.get())) found.push_back(p);
    return found;
}

class Pickup : public ::testing::Test {
  protected:
    void SetUp() override {
        EmptyField();
        Level = 1;
    }
    // A fresh field; the pictures of the earlier one went with its engine.
    static fake::Engine& EmptyField() {
        fake::Engine& engine = fake::World();
        TexIconPistol = engine.NewTexture(4, 1);
        TexBulletAutomat = engine.NewTexture();
        Player()->HitBox = ZB_Rect{920, 24, 17, 11};
        return engine;
    }
    // Pickups lie at y 50 or below, out of the soldier's reach, until put under his feet.
    static void UnderFoot(TWeaponPickup* p) {
        p->X = 910;
        p->Y = 10;
    }
};

TEST_F(Pickup, ANewPickupLiesSomewhereOnTheFieldInvisibleAndFadesInUntilItsTimeRunsOut) {
    auto* p = CreateWeaponPickup(0);
    EXPECT_EQ(p->Texture, TexIconPistol);
    EXPECT_EQ(p->Alpha, 0);
    EXPECT_TRUE(p->X >= -1400 && p->X < 1350 && p->Y >= 50 && p->Y < 550) << p->X << " " << p->Y;
    auto* drob = CreateWeaponPickup(2);
    auto* automat = CreateWeaponPickup(1);
    std::vector<int> seen;
    for (int tick = 1; tick <= 500; ++tick) {
        EXPECT_FALSE(p->Dead) << tick;
        for (auto* q : {p, drob, automat})
            q->Move();
        if (tick == 20 || tick == 60) seen.insert(seen.end(), {p->Alpha, drob->Alpha, automat->Alpha});
    }
    EXPECT_EQ(seen, (std::vector<int>{100, 200, 100, 255, 255, 200}));
    EXPECT_TRUE(p->Dead);
    EXPECT_FALSE(automat->Dead); // 700 ticks
}

TEST_F(Pickup, CollectingEvenTheWeaponInHandEmptiesTheClipStartsAReloadAndSweepsTheTraces) {
    CurrentWeapon = "AUTOMAT";
    ClipAmmo = 12;
    ReloadTimer = 50.0f;
    auto* trace = GameEngine->Add<TSLED2PUL>();
    auto* p = CreateWeaponPickup(1);
    p->Lifetime = 1; // and it can still be taken on its last tick
    UnderFoot(p);
    p->Move();
    EXPECT_TRUE(p->Dead);
    EXPECT_TRUE(trace->Dead);
    EXPECT_EQ(ClipAmmo, 0);
    EXPECT_TRUE(Reloading);
    EXPECT_EQ(ReloadTimer, 0.0f);
    EXPECT_EQ(ShotInterval, 9);
    EXPECT_EQ(ClipSize, 30);
    EXPECT_EQ(BulletTexture, TexBulletAutomat);
    EXPECT_EQ(SndShot, SndShotAutomat);

    PistolLevel = 3;
    p = CreateWeaponPickup(0);
    UnderFoot(p);
    p->Move();
    EXPECT_EQ(CurrentWeapon, "PUSTOLET");
    EXPECT_EQ(BulletDamage, 50);
    EXPECT_EQ(BonusShots, 5);
    EXPECT_EQ(BaseBonusShots, 5);
}

TEST_F(Pickup, OneMadeDuringAPauseIsBlankAndGoesOnItsFirstMoveUnlessItIsCollected) {
    Paused = true;
    const uint32_t seed = RandSeed;
    auto* p = CreateWeaponPickup(1);
    auto* onPlayer = CreateWeaponPickup(1);
    EXPECT_EQ(RandSeed, seed);
    EXPECT_EQ(p->Texture, nullptr);
    p->Move();
    EXPECT_FALSE(p->Dead); // nothing moves while paused
    Paused = false;
    p->Move();
    EXPECT_TRUE(p->Dead);
    EXPECT_EQ(CurrentWeapon, "");
    UnderFoot(onPlayer);
    onPlayer->Move();
    EXPECT_EQ(CurrentWeapon, "AUTOMAT");
}

TEST_F(Pickup, TheWeaponRollDropsOnlyTheSevenWeaponsBeyondThePistolAndOnlyOneAtATime) {
    WeaponKindsOpen = 9;
    std::set<int> dropped;
    for (uint32_t seed = 0; seed < 200; ++seed) {
        EmptyField();
        CurrentWeapon = "AUTOMAT"; // dropped, taken back at once, and a bonus roll instead
        RandSeed = seed;
        const uint32_t i = Random(9);
        RandSeed = seed;
        DropOnKill(30, 40, 0);
        const auto made = Pickups();
        ASSERT_EQ(made.size(), (i >= 1 && i <= 7) ? 1u : 0u) << i;
        if (made.empty()) continue;
        EXPECT_EQ(made[0]->WeaponIndex, static_cast<int>(i));
        EXPECT_EQ(made[0]->Dead, i == 1);
        EXPECT_EQ(made[0]->X, 30);
        dropped.insert(made[0]->WeaponIndex);
        DropOnKill(30, 40, 0);
        EXPECT_EQ(Pickups().size(), 1u);
    }
    EXPECT_EQ(dropped.size(), 7u);

    for (uint8_t open : {0, 1}) {
        WeaponKindsOpen = open;
        EmptyField();
        for (int k = 0; k < 50; ++k)
            DropOnKill(0, 0, 0);
        EXPECT_TRUE(Pickups().empty());
    }
}

TEST_F(Pickup, LevelsElevenToTwentyHaveNoDropsOrPlacements) {
    WeaponKindsOpen = 9;
    for (uint8_t level : {10, 11, 20, 21}) {
        Level = level;
        const bool allowed = level == 10 || level == 21;
        // Either roll draws a random number first, whatever it gives.
        const uint32_t seed = RandSeed;
        PlaceWeaponPickup(0, 0);
        EXPECT_EQ(RandSeed != seed, allowed) << int(level);
        const uint32_t again = RandSeed;
        DropOnKill(0, 0, 0);
        EXPECT_EQ(RandSeed != again, allowed) << int(level);
    }
}

TEST_F(Pickup, PlacementNeverGivesTheWeaponInHandAndAlwaysEnds) {
    WeaponKindsOpen = 9;
    for (const char* inHand : {"PUSTOLET", "AUTOMAT", "OTRA"}) {
        for (int k = 0; k < 100; ++k) {
            EmptyField();
            CurrentWeapon = inHand;
            PlaceWeaponPickup(70, 80);
            for (auto* p : Pickups()) {
                if (p->Dead) continue;
                EXPECT_EQ(p->X, 70);
                UnderFoot(p);
                p->Move();
                EXPECT_NE(CurrentWeapon, inHand);
            }
        }
    }
    // With one kind open or none only the pistol can come: it is given up on when in hand.
    for (const char* inHand : {"PUSTOLET", "AUTOMAT"}) {
        for (uint8_t open : {0, 1}) {
            WeaponKindsOpen = open;
            CurrentWeapon = inHand;
            EmptyField();
            PlaceWeaponPickup(0, 0);
            const auto made = Pickups();
            ASSERT_EQ(made.size(), 1u);
            EXPECT_EQ(made[0]->Dead, CurrentWeapon == "PUSTOLET");
        }
    }
}

TEST_F(Pickup, ClearingAndLookingUpKinds) {
    EXPECT_FALSE(KindPresent("WEAPON_BONUS"));
    auto* weapon = CreateWeaponPickup(7);
    const std::vector<CSprite*> all = {weapon,
                                       GameEngine->Add<TBullet>(),
                                       GameEngine->Add<TZOMBI>(),
                                       GameEngine->Add<TALIEN>(),
                                       GameEngine->Add<TPAYK_Y>(),
                                       GameEngine->Add<TSLED>(),
                                       GameEngine->Add<TOSKOLOK>()};
    const std::vector<CSprite*> traces = {GameEngine->Add<TSLED1PUL>(), GameEngine->Add<TSLED2PUL>()};
    EXPECT_TRUE(KindPresent("WEAPON_BONUS"));
    EXPECT_FALSE(KindPresent("SLEDS_PUL"));
    const auto dead = [](const std::vector<CSprite*>& sprites) {
        return std::count_if(sprites.begin(), sprites.end(), [](CSprite* s) { return s->Dead; });
    };
    ClearKind("all");
    EXPECT_EQ(dead(all) + dead(traces), 0);
    ClearKind("SLEDS_PUL");
    EXPECT_EQ(dead(all), 0);
    EXPECT_EQ(dead(traces), 2);
    ClearKind("ALL");
    EXPECT_FALSE(Player()->Dead);
    EXPECT_EQ(dead(all), 7);
    EXPECT_TRUE(KindPresent("WEAPON_BONUS")); // dead until the table takes it away
}

} // namespace
