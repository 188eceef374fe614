// Level end and progression: the quota, upgrade points for score, regeneration, and the end-screen buttons.
#include "progress.h"

#include "GameTick.h"
#include "PLAYER.h"
#include "RUN_GAME.h"
#include "level.h"
#include "settings.h"
#include "test_world.h"

#include <gtest/gtest.h>

namespace {

class ProgressTest : public ::testing::Test {
  protected:
    void SetUp() override { engine = &fake::World(); }
    fake::Engine* engine = nullptr;
};

TEST_F(ProgressTest, TheQuotaWinsTheLevelOnlyDuringPlay) {
    MonstersTotal = 15;
    KillCount = 14;
    CheckProgress();
    EXPECT_FALSE(LevelWon);

    KillCount = 15;
    ScreenState = Screen::UpgradePanel; // the panel is open: the win waits for play to resume
    CheckProgress();
    EXPECT_FALSE(LevelWon);
    ScreenState = Screen::Play;
    CheckProgress();
    EXPECT_TRUE(LevelWon);
}

TEST_F(ProgressTest, ScorePaysOnePointPerThresholdEvenSeveralAtOnceAndNothingAfterTheThirtieth) {
    Score = 199;
    CheckProgress();
    EXPECT_EQ(UpgradePoints, 0);
    Score = 200;
    CheckProgress();
    EXPECT_EQ(UpgradePoints, 1);
    CheckProgress(); // a threshold pays once
    EXPECT_EQ(UpgradePoints, 1);

    // From 200 straight past 500, 700, 1000 and 2000, short of 4000: four more in one tick.
    Score = 3999;
    CheckProgress();
    EXPECT_EQ(UpgradePoints, 5);
    EXPECT_EQ(PointsAwarded, 5);

    // Thresholds sampled where the table's steps change size.
    Score = 1099999;
    CheckProgress();
    EXPECT_EQ(PointsAwarded, 17);
    Score = 1100000;
    CheckProgress();
    EXPECT_EQ(PointsAwarded, 18);
    Score = 8999999;
    CheckProgress();
    EXPECT_EQ(PointsAwarded, 29);
    Score = 9000000;
    CheckProgress();
    EXPECT_EQ(PointsAwarded, 30);
    Score = 2000000000;
    CheckProgress();
    EXPECT_EQ(PointsAwarded, 30);
    EXPECT_EQ(UpgradePoints, 30);
}

// The score (in hundreds) at which the k-th upgrade point is paid, k = 1 .. 30.
constexpr int32_t kThresholds[30] = {200,     500,     700,     1000,    2000,    4000,    6000,    10000,
                                     15000,   25000,   45000,   80000,   120000,  160000,  220000,  300000,
                                     600000,  1100000, 1500000, 1900000, 2400000, 2900000, 3500000, 5000000,
                                     5600000, 6000000, 6800000, 7500000, 8300000, 9000000};

class PointThreshold : public ProgressTest, public ::testing::WithParamInterface<int> {};

TEST_P(PointThreshold, OneShortPaysNothingMoreTheThresholdPaysOne) {
    const int k = GetParam();
    Score = kThresholds[k - 1] - 1;
    CheckProgress();
    EXPECT_EQ(UpgradePoints, k - 1);
    Score = kThresholds[k - 1];
    CheckProgress();
    EXPECT_EQ(UpgradePoints, k);
}

INSTANTIATE_TEST_SUITE_P(Points, PointThreshold, ::testing::Range(1, 31));

TEST_F(ProgressTest, TheDeadEarnNoPointsButAPointSpentStaysSpent) {
    Score = 5000;
    PlayerDead = true;
    CheckProgress();
    EXPECT_EQ(UpgradePoints, 0);
    PlayerDead = false;
    CheckProgress();
    EXPECT_EQ(UpgradePoints, 6);
    UpgradePoints = 0; // spent on the panel
    CheckProgress();
    EXPECT_EQ(UpgradePoints, 0);
}

TEST_F(ProgressTest, RegenerationStepsEveryFourthCallUpToItsCapPassingItByOneStep) {
    TPLAYER* player = Player();
    RegenLevel = 1;
    player->Health = 50.0f;
    RegenerateHealth(); // the first call is the one that acts
    EXPECT_FLOAT_EQ(player->Health, 50.05f);
    for (int i = 0; i < 3; ++i)
        RegenerateHealth();
    EXPECT_FLOAT_EQ(player->Health, 50.05f);
    RegenerateHealth();
    EXPECT_FLOAT_EQ(player->Health, 50.05f); // above the cap of level 1

    RegenLevel = 3;
    player->Health = 199.95f;
    for (int i = 0; i < 4; ++i)
        RegenerateHealth();
    EXPECT_FLOAT_EQ(player->Health, 200.08f);

    RegenLevel = 2;
    player->Health = 20.0f;
    Paused = true;
    for (int i = 0; i < 8; ++i)
        RegenerateHealth();
    EXPECT_FLOAT_EQ(player->Health, 20.0f);
    Paused = false;
    for (int i = 0; i < 8; ++i)
        RegenerateHealth();
    EXPECT_FLOAT_EQ(player->Health, 20.18f);
}

TEST_F(ProgressTest, NextLevelStartsTheFollowingLevelAndOpensTheOneCompleted) {
    SetupLevel(4);
    LevelWon = true;
    ScreenState = Screen::Complete;
    LevelsOpen = 2;
    NextLevelButton();
    EXPECT_EQ(Level, 5);
    EXPECT_EQ(LevelsOpen, 4);
    EXPECT_FALSE(LevelWon);
    EXPECT_EQ(ScreenState, Screen::Play);
    EXPECT_TRUE(ClearField); // the next tick clears the field and lets play run
    GameTick();
    EXPECT_FALSE(Paused);

    // Replaying an early level never closes what is open.
    SetupLevel(2);
    LevelWon = true;
    NextLevelButton();
    EXPECT_EQ(LevelsOpen, 4);
}

TEST_F(ProgressTest, BackToTheMenuFromACompletedLevelOpensItAndEndsTheGame) {
    SetupLevel(7);
    LevelWon = true;
    GameSuspended = true;
    ScreenState = Screen::Complete;
    CompleteMainMenuButton();
    EXPECT_EQ(ScreenState, Screen::MainMenu);
    EXPECT_EQ(LevelsOpen, 7);
    EXPECT_FALSE(GameSuspended);
    EXPECT_TRUE(Paused);
    EXPECT_EQ(MenuAlpha, 255);

    LevelsOpen = 20;
    SetupLevel(3);
    CompleteMainMenuButton();
    EXPECT_EQ(LevelsOpen, 20);
}

TEST_F(ProgressTest, PlayAgainStartsTheSameLevelAfresh) {
    SetupLevel(9);
    GameTick();
    Player()->Health = 0.0f;
    PlayerDead = true;
    KillCount = 12;
    ScreenState = Screen::GameOver;
    PlayAgainButton();
    EXPECT_EQ(Level, 9);
    EXPECT_FALSE(PlayerDead);
    EXPECT_FLOAT_EQ(Player()->Health, 200.0f);
    EXPECT_EQ(KillCount, 0);
    EXPECT_EQ(ScreenState, Screen::Play);
}

} // namespace
