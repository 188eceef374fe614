// Level set-up: the table's switches, the resets of a new game, the map painted into the tiles, the weapon.
#include "level.h"

#include "BONUS.h"
#include "GEngine.h"
#include "GameTick.h"
#include "MONSTER1.h"
#include "PLAYER.h"
#include "RUN_GAME.h"
#include "assets.h"
#include "bullets.h"
#include "progress.h"
#include "settings.h"
#include "test_world.h"
#include "Ground.h"

#include <gtest/gtest.h>

namespace {

template <typename T> int CountOf() {
    int n = 0;
    for (int32_t i = 0; i < GameEngine->Count; ++i)
        n += dynamic_cast<T*>(GameEngine->At(i)) != nullptr;
    return n;
}

// The file of the last battlefield picture loaded.
std::string LastMapLoaded(const fake::Engine& engine) {
    for (auto it = engine.log.rbegin(); it != engine.log.rend(); ++it) {
        if (it->rfind("load PICTURE\\MAP_", 0) == 0) return it->substr(5, it->find(' ', 5) - 5);
    }
    return "";
}

class LevelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        engine = &fake::World();
        ScreenState = Screen::Missions;
    }
    fake::Engine* engine = nullptr;
};

TEST_F(LevelTest, NumbersOutsideTheCampaignChangeNothing) {
    Level = 7;
    SetupLevel(0);
    SetupLevel(32);
    EXPECT_EQ(Level, 7);
    EXPECT_EQ(ScreenState, Screen::Missions);
    EXPECT_FALSE(ClearField);
}

TEST_F(LevelTest, LevelOneSendsZombiesFromThreeEdgesAndHandsThePistol) {
    SetupLevel(1);
    EXPECT_TRUE(ZombieSpawn && ZombieFromTop && ZombieFromLeft && ZombieFromRight);
    EXPECT_FALSE(ZombieFromBottom || AlienSpawn || SpiderSpawn || MixedSpawn);
    EXPECT_EQ(ZombieInterval, 3000);
    EXPECT_EQ(MonstersLeft, 15);
    EXPECT_EQ(MonstersTotal, 15);
    EXPECT_EQ(ScreenState, Screen::Play);
    EXPECT_TRUE(ClearField);
    ASSERT_EQ(CountOf<TPUSTOLET>(), 1);
    EXPECT_EQ(LastMapLoaded(*engine), "PICTURE\\MAP_1.jpg");
    EXPECT_EQ(engine->log[engine->log.size() - 2], "load PICTURE\\BULLET2.bmp 330 -1"); // the game crosshair
}

TEST_F(LevelTest, TheFirstTickClearsTheOldFieldAndTheSoldierTakesTheLevelsWeapon) {
    TBullet* leftover = GameEngine->Add<TBullet>();
    CurrentWeapon = Weapon::Automat;
    SetupLevel(5);
    EXPECT_TRUE(leftover->Dead); // gone with the table's next pass
    GameTick();
    EXPECT_EQ(CurrentWeapon, Weapon::Shotgun);
    EXPECT_TRUE(Reloading);
    EXPECT_FALSE(ClearField);
    // The leftover shot's muzzle flash burns its five ticks out whatever happens; the table frees it on the
    // next.
    for (int tick = 2; tick <= 6; ++tick)
        GameTick();
    EXPECT_EQ(GameEngine->Count, 1); // the player alone
}

TEST_F(LevelTest, ANewGameResetsThePlayerAndTheBonuses) {
    Player()->Health = 3.0f;
    PlayerDead = true;
    PlayerPosX = 100.0f;
    PlayerSpeed = 2.0f;
    SlowDownTimer = DefenceTimer = 100;
    Upgrades[4] = 3;
    Score = 999;
    KillCount = 12;
    LevelWon = true;
    SetupLevel(2);
    EXPECT_EQ(Player()->Health, 200.0f);
    EXPECT_FALSE(PlayerDead);
    EXPECT_EQ(PlayerPosX, 900.0f);
    EXPECT_EQ(PlayerSpeed, 1.1f);
    EXPECT_EQ(SlowDownTimer + DefenceTimer, 0);
    EXPECT_EQ(Upgrades[4], 0);
    EXPECT_EQ(Score + KillCount, 0);
    EXPECT_FALSE(LevelWon);
    EXPECT_EQ(MainCamera->X, 500.0f);
    EXPECT_EQ(MainCamera->Y, -300.0f);
    EXPECT_EQ(MainCamera->Switch, 1);
}

TEST_F(LevelTest, EveryTileStartsAsTheLevelsMapPicture) {
    ApproachGrids[2][3][4].W = 15.0f;
    SetupLevel(12);
    EXPECT_EQ(LastMapLoaded(*engine), "PICTURE\\MAP_4.jpg");
    int painted = 0;
    for (size_t i = 0; i < engine->draws.size(); ++i) {
        if (engine->draws[i].texture != TexMap) continue;
        EXPECT_EQ(engine->draws[i].target, GroundTiles[painted]);
        EXPECT_EQ(engine->draws[i].w, 256.0f);
        ++painted;
    }
    EXPECT_EQ(painted, kGroundTileCount);
    EXPECT_EQ(ApproachGrids[2][3][4].W, 20.0f);
}

TEST_F(LevelTest, WeaponKindsOnlyEverGrow) {
    WeaponKindsOpen = 0;
    SetupLevel(12);
    EXPECT_EQ(WeaponKindsOpen, 8);
    SetupLevel(2);
    EXPECT_EQ(WeaponKindsOpen, 8);
}

TEST_F(LevelTest, LevelsWithTheirOwnStartingTerms) {
    SetupLevel(16);
    EXPECT_EQ(Player()->Health, 50.0f);
    EXPECT_EQ(UpgradePoints, 0);
    SetupLevel(19);
    EXPECT_TRUE(SecondBlastLine);
    EXPECT_EQ(Player()->Health, 200.0f);
    for (uint8_t n : {21, 25, 30}) {
        SetupLevel(n);
        EXPECT_EQ(UpgradePoints, 7) << int{n};
        EXPECT_FALSE(SecondBlastLine);
    }
}

TEST_F(LevelTest, LevelTwentyEightHasMonstersToKill) {
    SetupLevel(28);
    EXPECT_TRUE(MixedSpawn && MixedFromTop && MixedFromBottom && MixedFromLeft && MixedFromRight);
    EXPECT_EQ(MixedInterval, 1200);
    EXPECT_EQ(MonstersTotal, 300);
}

TEST_F(LevelTest, TheOpenFieldHasNoMonstersAndNoWeapon) {
    SetupLevel(31);
    EXPECT_EQ(Level, 31);
    EXPECT_FALSE(ZombieSpawn || AlienSpawn || SpiderSpawn || MixedSpawn);
    EXPECT_EQ(MonstersLeft, 0);
    EXPECT_EQ(CountOf<TWeaponPickup>(), 0);
    EXPECT_EQ(LastMapLoaded(*engine), "PICTURE\\MAP_4.jpg");
}

// What one level asks of the soldier: the hit points one bite takes (before armour), and the kills that win
// it.
struct LevelTerms {
    int level;
    float bite;
    int32_t quota;
};

void PrintTo(const LevelTerms& row, std::ostream* out) {
    *out << "level " << row.level;
}

class LevelRow : public LevelTest, public ::testing::WithParamInterface<LevelTerms> {
  protected:
    void SetUp() override {
        LevelTest::SetUp();
        SetupLevel(static_cast<uint8_t>(GetParam().level));
        GameTick(); // the level starts
    }
};

TEST_P(LevelRow, OneBiteCostsTheLevelsBite) {
    TZOMBI* z = GameEngine->Add<TZOMBI>();
    z->PlaceHitBox(Player()->HitBox);
    const float health = Player()->Health;
    z->Move();
    EXPECT_FLOAT_EQ(Player()->Health, health - GetParam().bite);
}

TEST_P(LevelRow, OneKillShortOfTheQuotaIsNoWinTheQuotaIs) {
    KillCount = GetParam().quota - 1;
    CheckProgress();
    EXPECT_FALSE(LevelWon);
    KillCount = GetParam().quota;
    CheckProgress();
    EXPECT_TRUE(LevelWon);
}

INSTANTIATE_TEST_SUITE_P(
    Levels, LevelRow,
    ::testing::Values(LevelTerms{1, 1.0f, 15}, LevelTerms{2, 1.0f, 40}, LevelTerms{3, 1.0f, 80},
                      LevelTerms{4, 2.0f, 100}, LevelTerms{5, 2.0f, 130}, LevelTerms{6, 2.0f, 100},
                      LevelTerms{7, 2.0f, 200}, LevelTerms{8, 2.0f, 60}, LevelTerms{9, 2.5f, 200},
                      LevelTerms{10, 2.5f, 300}, LevelTerms{11, 3.0f, 300}, LevelTerms{12, 3.0f, 300},
                      LevelTerms{13, 1.0f, 350}, LevelTerms{14, 1.0f, 300}, LevelTerms{15, 2.0f, 400},
                      LevelTerms{16, 2.0f, 350}, LevelTerms{17, 2.0f, 400}, LevelTerms{18, 2.0f, 500},
                      LevelTerms{19, 0.5f, 450}, LevelTerms{20, 0.5f, 300}, LevelTerms{21, 0.5f, 350},
                      LevelTerms{22, 0.5f, 400}, LevelTerms{23, 0.5f, 300}, LevelTerms{24, 0.5f, 100},
                      LevelTerms{25, 0.5f, 300}, LevelTerms{26, 0.4f, 150}, LevelTerms{27, 0.4f, 300},
                      LevelTerms{28, 0.5f, 300}, LevelTerms{29, 0.4f, 300}, LevelTerms{30, 0.4f, 450}),
    [](const auto& info) { return "Level" + std::to_string(info.param.level); });

} // namespace
