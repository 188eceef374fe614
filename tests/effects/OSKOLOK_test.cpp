// Fragments and bullet traces: hits and piercing, fades by the weapon in hand, freezing while paused.
#include "OSKOLOK.h"

#include "BONUS.h"
#include "GEngine.h"
#include "MONSTER1.h"
#include "PLAYER.h"
#include "RUN_GAME.h"
#include "SquallSound.h"
#include "assets.h"
#include "GameTick.h"
#include "level.h"
#include "test_world.h"

#include <gtest/gtest.h>

namespace {

class FragmentTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fake::World();
        zombie = GameEngine->Add<TZOMBI>();
        zombie->Health = 2000;
        zombie->PlaceHitBox(
            ZB_Rect{500.0f, 500.0f, 200.0f, 14.0f}); // wide enough to be crossed for many ticks
        fragment = GameEngine->Add<TOSKOLOK>();
        fragment->X = 500 - 22;
        fragment->Y = 500 - 22 + 2;
        fragment->Angle = -90; // heading right
    }
    TZOMBI* zombie = nullptr;
    TOSKOLOK* fragment = nullptr;
};

TEST_F(FragmentTest, AFragmentEndsInTheFirstMonsterItHurts) {
    fragment->Move();
    EXPECT_EQ(zombie->Health, 1500);
    EXPECT_EQ(Score, 6);
    EXPECT_TRUE(fragment->Dead);
}

TEST_F(FragmentTest, APiercingFragmentHurtsOnEveryTickOfTheOverlapAndSpraysBloodEachTime) {
    FragPierce = true;
    for (int i = 0; i < 3; ++i)
        fragment->Move();
    EXPECT_EQ(zombie->Health, 2000 - 3 * 500);
    EXPECT_FALSE(fragment->Dead);
    int traces = 0;
    for (int32_t i = 0; i < GameEngine->Count; ++i)
        traces += dynamic_cast<TSLED*>(GameEngine->At(i)) != nullptr;
    EXPECT_EQ(traces, 3 * 6);
}

TEST_F(FragmentTest, TheDeadAreNotHitAndNothingFliesWhilePaused) {
    zombie->Health = 0;
    fragment->Move();
    EXPECT_FALSE(fragment->Dead);
    const int32_t x = fragment->X;
    Paused = true;
    fragment->Move();
    EXPECT_EQ(fragment->X, x);
}

TEST_F(FragmentTest, SpidersAreHitBeforeAliensAndAliensBeforeZombiesEachKindFallingWithItsOwnSound) {
    auto* alien = GameEngine->Add<TALIEN>();
    auto* spider = GameEngine->Add<TPAYK_Y>();
    for (TMonster* m : {static_cast<TMonster*>(alien), static_cast<TMonster*>(spider)}) {
        m->Health = 400;
        m->PlaceHitBox(zombie->HitBox);
    }
    TickRandom5 = 1;
    // The silent sound system refuses every play, and the refusal lands in the sound's channel.
    const auto played = [](TSound* sound) {
        const bool was = sound->Channel != 0;
        sound->Channel = 0;
        return was;
    };
    FragPierce = true;
    fragment->Move();
    EXPECT_EQ(spider->Health, 400 - 500);
    EXPECT_EQ(alien->Health, 400);
    EXPECT_TRUE(played(SndDieHumanoidB[1]));
    EXPECT_FALSE(played(SndHit[1]));
    fragment->Move();
    EXPECT_EQ(alien->Health, 400 - 500);
    EXPECT_EQ(zombie->Health, 2000);
    EXPECT_TRUE(played(SndHit[1]));
    EXPECT_FALSE(played(SndDieHumanoidB[1]));
    fragment->Move();
    EXPECT_EQ(zombie->Health, 1500);
    EXPECT_EQ(Score, 3 * 6);
}

TEST(BulletTrace, TracesFadeByTheWeaponInHandNow) {
    fake::World();
    CurrentWeapon = Weapon::Shotgun;
    TSLED1PUL* pellet = GameEngine->Add<TSLED1PUL>();
    EXPECT_EQ(pellet->Alpha, 150);
    int ticks = 0;
    while (!pellet->Dead) {
        pellet->Move();
        ++ticks;
    }
    EXPECT_EQ(ticks, 30);

    TSLED1PUL* late = GameEngine->Add<TSLED1PUL>();
    late->Alpha = 5;
    CurrentWeapon = Weapon::Automat; // a faster fade than what is left stops at 0
    late->Move();
    EXPECT_EQ(late->Alpha, 0);
    EXPECT_TRUE(late->Dead);

    TSLED2PUL* streak = GameEngine->Add<TSLED2PUL>();
    std::vector<int> shown{streak->Alpha};
    while (!streak->Dead) {
        streak->Move();
        if (!streak->Dead) shown.push_back(streak->Alpha);
    }
    EXPECT_EQ(shown, (std::vector<int>{160, 120, 80, 40}));
}

TEST(FragmentRing, TheRingFollowsTheReloadBlastLevelAndClosesOnItsFirstDirection) {
    const struct {
        uint8_t level;
        int32_t count, step;
    } rings[] = {{0, 16, 24}, {1, 9, 45}, {2, 16, 24}, {3, 31, 12}};
    for (const auto& ring : rings) {
        fake::World();
        ReloadBlastLevel = ring.level;
        FragmentRing(100, 200, nullptr, 15, ReloadBlastLevel);
        std::vector<int32_t> angles;
        for (int32_t i = 0; i < GameEngine->Count; ++i) {
            if (auto* f = dynamic_cast<TOSKOLOK*>(GameEngine->At(i))) {
                EXPECT_EQ(f->X, 100);
                EXPECT_EQ(f->Y, 200);
                angles.push_back(f->Angle);
            }
        }
        ASSERT_EQ(static_cast<int32_t>(angles.size()), ring.count) << int{ring.level};
        EXPECT_EQ(angles[1], ring.step);
        EXPECT_EQ(angles.back(), 360);
        EXPECT_EQ(FragSpeed, 15);
    }
}

} // namespace
