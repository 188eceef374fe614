// The game tick: camera follow and shake, Escape, the upgrade panel button, slow-down, level start, the
// level-15 strike.
#include "GameTick.h"

#include "BOMBS.h"
#include "BONUS.h"
#include "GEngine.h"
#include "MONSTER1.h"
#include "PLAYER.h"
#include "RUN_GAME.h"
#include "SquallSound.h"
#include "level.h"
#include "settings.h"
#include "uMenu.h"
#include "assets.h"
#include "test_world.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int32_t kKeyEscape = 27;

class TickTest : public ::testing::Test {
  protected:
    void SetUp() override {
        engine = &fake::World();
        TickInterval = 16;
    }
    fake::Engine* engine = nullptr;
};

TEST_F(TickTest, TheCameraHeadsForThePlayerOnlyInsideTheMiddleOfTheField) {
    Paused = true; // keep the player where the test puts it
    CameraTargetX = 123;
    Player()->X = 450;
    Player()->Y = 100;
    GameTick();
    EXPECT_EQ(CameraTargetX, 123);
    EXPECT_EQ(CameraTargetY, -200);

    Player()->X = 600;
    GameTick();
    EXPECT_EQ(CameraTargetX, 200);
}

TEST_F(TickTest, TheCameraMovesOnePixelATickAndIsPushedBackIntoRange) {
    Paused = true;
    Player()->X = 900;
    Player()->Y = 0;
    MainCamera->X = 480.0f;
    MainCamera->Y = -300.0f;
    GameTick();
    EXPECT_EQ(MainCamera->X, 481.0f);
    EXPECT_EQ(MainCamera->Y, -300.0f); // already on target

    MainCamera->X = 50.0f; // far outside: three pixels back a tick, after the pixel toward the target
    GameTick();
    EXPECT_EQ(MainCamera->X, 54.0f);
}

TEST_F(TickTest, AShakeLastsSeventyTicksAndLeavesTheCameraWhereItWent) {
    Paused = true;
    ScreenShake = true;
    MapAlpha = 10;
    for (int i = 0; i < 69; ++i)
        GameTick();
    EXPECT_TRUE(ScreenShake);
    GameTick();
    EXPECT_FALSE(ScreenShake);
    EXPECT_EQ(ShakeTicks, 0);
    EXPECT_EQ(MapAlpha, 255);
}

TEST_F(TickTest, EscapeDuringPlayLeavesForTheMainMenuAndOnTheMainMenuDoesNothing) {
    engine->keysPressed.insert(kKeyEscape);
    GameTick();
    EXPECT_EQ(ScreenState, Screen::MainMenu);
    EXPECT_TRUE(Paused);
    EXPECT_TRUE(GameSuspended);
    EXPECT_EQ(MenuAlpha, 255);

    GameSuspended = false;
    engine->keysPressed.insert(kKeyEscape);
    GameTick();
    EXPECT_EQ(ScreenState, Screen::MainMenu);
    EXPECT_FALSE(GameSuspended);
}

TEST_F(TickTest, EscapeOnGameOverForgetsTheDeadGame) {
    ScreenState = Screen::GameOver;
    PlayerDead = true;
    GameSuspended = true;
    engine->keysPressed.insert(kKeyEscape);
    GameTick();
    EXPECT_EQ(ScreenState, Screen::MainMenu);
    EXPECT_FALSE(PlayerDead);
    EXPECT_FALSE(GameSuspended);
}

TEST_F(TickTest, TheClickThatClosesThePanelDoesNotOpenItAgain) {
    UpgradePoints = 2;
    engine->buttonsPressed.insert(0);
    GameTick();
    EXPECT_EQ(ScreenState, Screen::UpgradePanel);
    EXPECT_TRUE(UpgradePanelOpen);
    EXPECT_TRUE(Paused);

    engine->buttonsPressed.insert(0);
    GameTick();
    EXPECT_EQ(ScreenState, Screen::Play);
    EXPECT_FALSE(UpgradePanelOpen);
    EXPECT_FALSE(Paused);
}

TEST_F(TickTest, WithoutPointsTheSecondaryButtonDoesNothing) {
    UpgradePoints = 0;
    engine->buttonsPressed.insert(0);
    GameTick();
    EXPECT_EQ(ScreenState, Screen::Play);
    EXPECT_FALSE(UpgradePanelOpen);
    EXPECT_TRUE(engine->buttonsPressed.empty()); // the click was taken all the same
}

TEST_F(TickTest, SlowDownSwitchesTheTickAtOnceWhileThePitchTakesEighteenTicksEachWay) {
    SlowDownTimer = 40;
    GameTick();
    EXPECT_EQ(TickInterval, 29);
    EXPECT_EQ(engine->timerLog, (std::vector<std::string>{"free", "create 29 50"}));
    EXPECT_EQ(SoundFrequency, 43600);
    int ticks = 1;
    while (SoundFrequency > 35100) {
        GameTick();
        ++ticks;
    }
    EXPECT_EQ(ticks, 18);
    while (SlowDownTimer > 1)
        GameTick();
    EXPECT_EQ(TickInterval, 29);
    EXPECT_EQ(SoundFrequency, 35100);

    GameTick(); // the bonus runs out, and the tick is back to normal at once
    EXPECT_EQ(TickInterval, 16);
    EXPECT_EQ(engine->timerLog.back(), "create 16 50");
    EXPECT_EQ(SoundFrequency, 35600);
    ticks = 1;
    while (SoundFrequency < 44100) {
        GameTick();
        ++ticks;
    }
    EXPECT_EQ(ticks, 18);
    EXPECT_EQ(SoundSystem->SoundAt(0)->Frequency, 44100);
}

TEST_F(TickTest, SlowDownOnlyCountsDownDuringPlay) {
    SlowDownTimer = 5;
    ScreenState = Screen::UpgradePanel;
    GameTick();
    EXPECT_EQ(SlowDownTimer, 5);
    ScreenState = Screen::Play;
    GameTick();
    EXPECT_EQ(SlowDownTimer, 4);
}

TEST_F(TickTest, ALevelStartClearsTheFieldAndRestartsTheTimer) {
    ClearField = true;
    ScreenState = Screen::Missions;
    Paused = true;
    GameTick();
    EXPECT_EQ(ScreenState, Screen::Play);
    EXPECT_FALSE(Paused);
    EXPECT_FALSE(ClearField);
    EXPECT_EQ(engine->timerLog, (std::vector<std::string>{"free", "create 16 300"}));
}

TEST_F(TickTest, ReloadKeyEmptiesTheClip) {
    ClipAmmo = 5;
    engine->keysPressed.insert(82);
    Paused = true;
    GameTick();
    EXPECT_EQ(ClipAmmo, 0);
    EXPECT_EQ(AmmoBar, -81);
}

TEST_F(TickTest, ThePulseSwingsBetweenFiftyAndEightyNine) {
    uint8_t low = 255, high = 0;
    for (int i = 0; i < 200; ++i) {
        GameTick();
        low = std::min(low, PulseValue);
        high = std::max(high, PulseValue);
    }
    EXPECT_EQ(low, 50);
    EXPECT_EQ(high, 89);
}

TEST_F(TickTest, TheStartUpFadeTakesSeventeenTicks) {
    ScreenState = Screen::MainMenu;
    Paused = true;
    FadeLevel = 255;
    MenuAlpha = 0;
    IntroFading = false; // as at start-up
    int ticks = 0;
    while (FadeLevel > 0 && ticks < 100) {
        GameTick();
        ++ticks;
    }
    EXPECT_EQ(ticks, 18); // the first tick only arms the fade
    EXPECT_EQ(MenuAlpha, 255);
}

TEST_F(TickTest, TheLevelFifteenStrikeFiresOnceAtThreeQuartersOfTheQuota) {
    Level = 15;
    MonstersTotal = 400;
    KillCount = 299;
    Paused = true;
    TZOMBI* z = GameEngine->Add<TZOMBI>();
    z->Health = 40;
    GameTick();
    EXPECT_FALSE(LevelWon);
    EXPECT_EQ(z->Health, 40);

    KillCount = 300;
    GameTick();
    EXPECT_TRUE(LevelWon);
    EXPECT_TRUE(ScreenShake);
    EXPECT_EQ(NukeFlash, 150);
    EXPECT_EQ(z->Health, 0);
    int traces = 0;
    for (int32_t i = 0; i < GameEngine->Count; ++i) {
        if (auto* t = dynamic_cast<TSLED*>(GameEngine->At(i))) {
            EXPECT_EQ(t->W, 82);
            ++traces;
        }
    }
    EXPECT_EQ(traces, 1);

    LevelWon = false;
    GameTick();
    EXPECT_FALSE(LevelWon);
}

TEST_F(TickTest, TheLevelFifteenStrikeLaysLowEveryKindOfMonster) {
    Level = 15;
    MonstersTotal = 400;
    KillCount = 300;
    Paused = true;
    std::vector<TMonster*> monsters = {GameEngine->Add<TPAYK_Y>(), GameEngine->Add<TALIEN>(),
                                       GameEngine->Add<TZOMBI>(), GameEngine->Add<TALIEN>()};
    for (TMonster* m : monsters)
        m->Health = 40;
    monsters.back()->Health = -3; // already dying: it gets its blood all the same
    GameTick();
    int traces = 0;
    for (int32_t i = 0; i < GameEngine->Count; ++i)
        traces += dynamic_cast<TSLED*>(GameEngine->At(i)) != nullptr;
    EXPECT_EQ(traces, 4);
    for (const TMonster* m : monsters)
        EXPECT_EQ(m->Health, 0);
}

TEST_F(TickTest, TheLevelFifteenStrikeBurstsAtItsFixedPlaceWithFlashCraterRingAndGlow) {
    Level = 15;
    MonstersTotal = 400;
    KillCount = 300;
    GameTick();
    std::vector<int32_t> found;
    for (int32_t i = 0; i < GameEngine->Count; ++i) {
        CSprite* s = GameEngine->At(i);
        if (dynamic_cast<TNUKEBOOM*>(s) || dynamic_cast<TKRATER*>(s) || dynamic_cast<TVOLNA*>(s) ||
            dynamic_cast<TBOOM_SHIP*>(s))
            found.insert(found.end(), {s->X, s->Y, s->Alpha});
    }
    EXPECT_EQ(found, (std::vector<int32_t>{680, 100, 155, 616, 36, 180, 680, 100, 200, 552, -28, 30}));
}

TEST_F(TickTest, LevelFifteenPlayedAgainHasItsStrikeAgain) {
    for (int play = 1; play <= 2; ++play) {
        SetupLevel(15);
        GameTick(); // the level starts
        KillCount = 300;
        GameTick();
        EXPECT_TRUE(LevelWon) << "play " << play;
    }
}

TEST_F(TickTest, AFallenSoldierGetsNoStrikeToWinWith) {
    Level = 15;
    MonstersTotal = 400;
    KillCount = 350;
    PlayerDead = true;
    Paused = true;
    GameTick();
    EXPECT_FALSE(LevelWon);
    EXPECT_FALSE(ScreenShake);
}

// The quota is checked last in the tick: a panel closed in the same tick lets the win through at once, a
// panel opened in it holds the win back until play resumes.
TEST_F(TickTest, TheQuotaIsCheckedAfterThePanelButtonOfTheSameTick) {
    MonstersTotal = KillCount = 5;
    ScreenState = Screen::UpgradePanel;
    UpgradePanelOpen = Paused = true;
    engine->buttonsPressed.insert(0);
    GameTick();
    EXPECT_EQ(ScreenState, Screen::Play);
    EXPECT_TRUE(LevelWon);

    LevelWon = false;
    UpgradePoints = 1;
    engine->buttonsPressed.insert(0);
    GameTick();
    EXPECT_EQ(ScreenState, Screen::UpgradePanel);
    EXPECT_FALSE(LevelWon);
}

} // namespace
