// Level set-up: the table's switches, the resets of a new game, the map painted into the tiles, the weapon.
#include "level.h"

#include "BONUS.h"
#include "GEngine.h"
#include "GameTick.h"
#include "PLAYER.h"
#include "RUN_GAME.h"
#include "assets.h"
#include "bullets.h"
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

} // namespace
