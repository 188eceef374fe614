// The spawn director: passes per edge within the budget, the interval, the pause, and the fragment ring.
#include "GEngine.h"

#include "MONSTER1.h"
#include "OSKOLOK.h"
#include "PLAYER.h"
#include "RandomGen.h"
#include "RUN_GAME.h"
#include "level.h"
#include "test_world.h"

#include <gtest/gtest.h>

namespace {

std::vector<TZOMBI*> Zombies() {
    std::vector<TZOMBI*> found;
    for (int32_t i = 0; i < GameEngine->Count; ++i) {
        if (auto* z = dynamic_cast<TZOMBI*>(GameEngine->At(i))) found.push_back(z);
    }
    return found;
}

class DirectorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        engine = &fake::World();
        engine->time = 10000;
        ZombieSpawn = true;
        ZombieInterval = 1000;
    }
    fake::Engine* engine = nullptr;
};

TEST_F(DirectorTest, APassGivesOneMonsterPerEdgeInOrderUntilTheBudgetIsSpent) {
    ZombieFromTop = ZombieFromBottom = ZombieFromLeft = ZombieFromRight = true;
    MonstersLeft = 3;
    GameEngine->Move();
    const std::vector<TZOMBI*> z = Zombies();
    ASSERT_EQ(z.size(), 3u);
    EXPECT_EQ(z[0]->PosY, -500.0f);
    EXPECT_GE(z[0]->PosX, 20.0f);
    EXPECT_LE(z[0]->PosX, 1499.0f);
    EXPECT_EQ(z[1]->PosY, 700.0f);
    EXPECT_EQ(z[2]->PosX, 20.0f);
    EXPECT_GE(z[2]->PosY, -449.0f);
    EXPECT_LE(z[2]->PosY, 600.0f);
    EXPECT_EQ(MonstersLeft, 0);
    EXPECT_EQ(ZombieLastSpawn, 10000.0);

    engine->time = 20000;
    GameEngine->Move();
    EXPECT_EQ(Zombies().size(), 3u); // nothing left to send
}

TEST_F(DirectorTest, TheNextPassWaitsForTheInterval) {
    ZombieFromRight = true;
    MonstersLeft = 10;
    GameEngine->Move();
    engine->time = 10999;
    GameEngine->Move();
    EXPECT_EQ(Zombies().size(), 1u);
    engine->time = 11000;
    GameEngine->Move();
    ASSERT_EQ(Zombies().size(), 2u);
    EXPECT_EQ(Zombies()[1]->PosX, 1500.0f);
}

TEST_F(DirectorTest, AGroupWithNoEdgesKeepsItsTimeSoItsFirstMonsterComesAtOnce) {
    MonstersLeft = 10;
    ZombieLastSpawn = 5000;
    GameEngine->Move();
    EXPECT_TRUE(Zombies().empty());
    EXPECT_EQ(ZombieLastSpawn, 5000.0);

    engine->time = 10001;
    ZombieFromTop = true;
    GameEngine->Move();
    EXPECT_EQ(Zombies().size(), 1u);
}

TEST_F(DirectorTest, NothingComesWhilePausedOrWithoutTheSwitch) {
    ZombieFromTop = true;
    MonstersLeft = 10;
    Paused = true;
    GameEngine->Move();
    EXPECT_TRUE(Zombies().empty());
    Paused = false;
    ZombieSpawn = false;
    GameEngine->Move();
    EXPECT_TRUE(Zombies().empty());
}

TEST_F(DirectorTest, TheFourthGroupSpendsTheSameBudget) {
    ZombieSpawn = false;
    MixedSpawn = MixedFromLeft = MixedFromRight = true;
    MixedInterval = 1500;
    MonstersLeft = 5;
    GameEngine->Move();
    const std::vector<TZOMBI*> z = Zombies();
    ASSERT_EQ(z.size(), 2u);
    EXPECT_EQ(z[0]->PosX, 20.0f);
    EXPECT_EQ(z[1]->PosX, 1500.0f);
    EXPECT_EQ(MonstersLeft, 3);
    EXPECT_EQ(MixedLastSpawn, 10000.0);
}

TEST_F(DirectorTest, TicksAtTheSameEngineTimeStillDrawDifferently) {
    GameEngine->Move();
    const uint32_t first = Random(1u << 31);
    GameEngine->Move(); // a catch-up tick inside the same frame reads the same clock
    EXPECT_NE(Random(1u << 31), first);
}

TEST(FragmentRing, TheRingFollowsTheReloadBlastLevelAndClosesOnItsFirstDirection) {
    const struct {
        uint8_t level;
        int32_t count, step;
    } rings[] = {{0, 16, 24}, {1, 9, 45}, {2, 16, 24}, {3, 31, 12}};
    for (const auto& ring : rings) {
        fake::World();
        ReloadBlastLevel = ring.level;
        FragmentRing(100, 200, nullptr, 15);
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
