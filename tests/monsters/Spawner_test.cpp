// The spawn director: passes per edge within the budget, the interval, the pause, the level table's groups.
#include "Spawner.h"

#include "GEngine.h"
#include "MONSTER1.h"
#include "OSKOLOK.h"
#include "PLAYER.h"
#include "RandomGen.h"
#include "RUN_GAME.h"
#include "level.h"
#include "test_world.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

template <typename Monster = TZOMBI> std::vector<Monster*> Monsters() {
    std::vector<Monster*> found;
    for (int32_t i = 0; i < GameEngine->Count; ++i) {
        if (auto* m = dynamic_cast<Monster*>(GameEngine->At(i))) found.push_back(m);
    }
    return found;
}

std::vector<TZOMBI*> Zombies() {
    return Monsters<TZOMBI>();
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
    MoveSpritesAndSpawn();
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
    MoveSpritesAndSpawn();
    EXPECT_EQ(Zombies().size(), 3u); // nothing left to send
}

TEST_F(DirectorTest, TheNextPassWaitsForTheInterval) {
    ZombieFromRight = true;
    MonstersLeft = 10;
    MoveSpritesAndSpawn();
    engine->time = 10999;
    MoveSpritesAndSpawn();
    EXPECT_EQ(Zombies().size(), 1u);
    engine->time = 11000;
    MoveSpritesAndSpawn();
    ASSERT_EQ(Zombies().size(), 2u);
    EXPECT_EQ(Zombies()[1]->PosX, 1500.0f);
}

TEST_F(DirectorTest, AGroupWithNoEdgesKeepsItsTimeSoItsFirstMonsterComesAtOnce) {
    MonstersLeft = 10;
    ZombieLastSpawn = 5000;
    MoveSpritesAndSpawn();
    EXPECT_TRUE(Zombies().empty());
    EXPECT_EQ(ZombieLastSpawn, 5000.0);

    engine->time = 10001;
    ZombieFromTop = true;
    MoveSpritesAndSpawn();
    EXPECT_EQ(Zombies().size(), 1u);
}

TEST_F(DirectorTest, NothingComesWhilePausedOrWithoutTheSwitch) {
    ZombieFromTop = true;
    MonstersLeft = 10;
    Paused = true;
    MoveSpritesAndSpawn();
    EXPECT_TRUE(Zombies().empty());
    Paused = false;
    ZombieSpawn = false;
    MoveSpritesAndSpawn();
    EXPECT_TRUE(Zombies().empty());
}

TEST_F(DirectorTest, TheFourthGroupSpendsTheSameBudget) {
    ZombieSpawn = false;
    MixedSpawn = MixedFromLeft = MixedFromRight = true;
    MixedInterval = 1500;
    MonstersLeft = 5;
    MoveSpritesAndSpawn();
    const std::vector<TMonster*> m = Monsters<TMonster>();
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[0]->PosX, 20.0f);
    EXPECT_EQ(m[1]->PosX, 1500.0f);
    EXPECT_EQ(MonstersLeft, 3);
    EXPECT_EQ(MixedLastSpawn, 10000.0);
}

TEST_F(DirectorTest, TicksAtTheSameEngineTimeStillDrawDifferently) {
    MoveSpritesAndSpawn();
    const uint32_t first = Random(1u << 31);
    MoveSpritesAndSpawn(); // a catch-up tick inside the same frame reads the same clock
    EXPECT_NE(Random(1u << 31), first);
}

TEST_F(DirectorTest, AliensComeInAtTwentyFiveHitPointsUntilTheFifthKillOfTheGame) {
    ZombieSpawn = false;
    AlienSpawn = AlienFromTop = true;
    AlienInterval = 100;
    MonstersLeft = 10;
    MonstersKilled = 4;
    MoveSpritesAndSpawn();
    MonstersKilled = 5;
    engine->time += 100;
    MoveSpritesAndSpawn();
    const std::vector<TALIEN*> a = Monsters<TALIEN>();
    ASSERT_EQ(a.size(), 2u);
    EXPECT_EQ(a[0]->Health, 25);
    EXPECT_EQ(a[1]->Health, M_Round(a[1]->W / 2.0f) + 10);
}

// The monsters a level's switches bring from the edges, one pass at a time.
class LevelSpawns : public ::testing::Test {
  protected:
    // Sets level n up and starts play as the tick does.
    void Start(uint8_t level) {
        engine = &fake::World();
        engine->time = 100000;
        SetupLevel(level);
        ClearField = false;
        seen.clear();
    }
    // Runs the director at the given engine time; the new monsters as kind and edge letters, e.g. "ZT AL".
    std::string PassAt(double time) {
        engine->time = time;
        MoveSpritesAndSpawn();
        std::string made;
        for (TMonster* m : Monsters<TMonster>()) {
            if (!seen.insert(m).second) continue;
            const char kind = "SAZ"[static_cast<int>(m->Species())];
            const char edge = m->PosY == -500.0f  ? 'T'
                              : m->PosY == 700.0f ? 'B'
                              : m->PosX == 20.0f  ? 'L'
                                                  : 'R';
            made += made.empty() ? "" : " ";
            made += std::string{kind, edge};
        }
        return made;
    }
    fake::Engine* engine = nullptr;
    std::set<TMonster*> seen;
};

TEST_F(LevelSpawns, EachKindComesFromItsEdgesAtItsIntervalLevelByLevel) {
    Start(10);
    EXPECT_EQ(PassAt(100000), "ZT ZB ZR AB AL AR ST SB SR");
    EXPECT_EQ(PassAt(101999), "");
    EXPECT_EQ(PassAt(102000), "ZT ZB ZR AB AL AR ST SB SR");

    Start(14);
    EXPECT_EQ(PassAt(100000), "ZT ZR AL");
    EXPECT_EQ(PassAt(100890), "ZT ZR AL");

    Start(20); // no zombies; spiders come faster than aliens
    EXPECT_EQ(PassAt(100000), "AT AB AL AR SB SL SR");
    EXPECT_EQ(PassAt(101400), "SB SL SR");
    EXPECT_EQ(PassAt(101850), "AT AB AL AR");

    Start(24);
    EXPECT_EQ(PassAt(100000), "AB AL AR ST SB SR");
    EXPECT_EQ(PassAt(104600), "AB AL AR");
    EXPECT_EQ(PassAt(105200), "ST SB SR");

    Start(30);
    EXPECT_EQ(PassAt(100000), "AT AB SL SR");

    Start(29); // zombies, spiders, and the mixed group from the left and the right
    const std::string first = PassAt(100000);
    ASSERT_EQ(first.size(), std::string("ZB ZL ST SB SR xL xR").size()) << first;
    EXPECT_EQ(first.substr(0, 14), "ZB ZL ST SB SR");
    EXPECT_EQ(std::string({first[16], first[19]}), "LR");
}

TEST_F(LevelSpawns, LevelTwentyEightSendsEveryKindFromAllFourEdges) {
    Start(28);
    std::set<char> kinds;
    for (int pass = 0; pass < 10; ++pass) {
        const std::string made = PassAt(100000 + 1200.0 * pass);
        ASSERT_EQ(made.size(), std::string("xT xB xL xR").size()) << made;
        EXPECT_EQ(std::string({made[1], made[4], made[7], made[10]}), "TBLR");
        for (size_t i = 0; i < made.size(); i += 3)
            kinds.insert(made[i]);
    }
    EXPECT_EQ(kinds, (std::set<char>{'S', 'A', 'Z'}));
    EXPECT_EQ(MonstersLeft, 300 - 40);
}

} // namespace
