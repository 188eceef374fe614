// The soldier: the fire and reload cycle, bonus shots, slow-down firing, walking, bounds, mines and death.
#include "PLAYER.h"

#include "BONUS.h"
#include "GEngine.h"
#include "GameTick.h"
#include "OSKOLOK.h"
#include "RUN_GAME.h"
#include "bullets.h"
#include "test_world.h"

#include <gtest/gtest.h>

namespace {

constexpr int32_t kKeyW = 87, kKeyS = 83, kKeyD = 68, kKeyM = 77;

int CountBullets() {
    int n = 0;
    for (int32_t i = 0; i < GameEngine->Count; ++i)
        n += dynamic_cast<TBullet*>(GameEngine->At(i)) != nullptr;
    return n;
}

class PlayerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        engine = &fake::World();
        player = Player();
        CurrentWeapon = Weapon::Pistol;
        ShotKind = 0;
        ShotInterval = 10;
        ReloadTime = 100;
        ClipSize = 8;
        BulletSpeed = 13.0f;
    }
    fake::Engine* engine = nullptr;
    TPLAYER* player = nullptr;
};

TEST_F(PlayerTest, HoldingFireThroughAReloadBuildsNothingUpButReleasingDoes) {
    Reloading = true;
    ClipAmmo = 0;
    engine->buttonsDown.insert(1);
    for (int i = 0; i < 20; ++i)
        player->Move();
    EXPECT_EQ(ShotTimer, 0.0f);
    EXPECT_EQ(CountBullets(), 0);

    engine->buttonsDown.clear();
    for (int i = 0; i < 5; ++i)
        player->Move();
    EXPECT_EQ(ShotTimer, 5.0f);
}

TEST_F(PlayerTest, BonusShotsGoFirstAndAClipOfEightWithTwoBonusFiresTenShots) {
    ClipAmmo = 8;
    BonusShots = 2;
    ReloadTime = 100000; // keep the reload from refilling the clip during the count
    ShotInterval = 1;
    engine->buttonsDown.insert(1);
    std::vector<int32_t> clipAfterShot;
    for (int tick = 0; tick < 100 && !Reloading; ++tick) {
        const int before = CountBullets();
        player->Move();
        if (CountBullets() > before) clipAfterShot.push_back(ClipAmmo);
    }
    ASSERT_EQ(clipAfterShot.size(), 10u);
    EXPECT_EQ(clipAfterShot[0], 8);
    EXPECT_EQ(clipAfterShot[1], 8);
    EXPECT_EQ(clipAfterShot[2], 7); // the third shot is the first to take a cartridge
    EXPECT_EQ(clipAfterShot[9], 0);
    EXPECT_EQ(BonusShots, -1);
}

TEST_F(PlayerTest, DuringSlowDownTheClipGoesNegativeAndTheReloadWaitsForItsEnd) {
    ClipAmmo = 1;
    BonusShots = 0;
    ShotInterval = 1;
    SlowDownTimer = 500;
    engine->buttonsDown.insert(1);
    for (int i = 0; i < 10; ++i)
        player->Move();
    EXPECT_LT(ClipAmmo, 0);
    EXPECT_LT(AmmoBar, -81);
    EXPECT_FALSE(Reloading);

    SlowDownTimer = 0;
    player->Move();
    EXPECT_TRUE(Reloading);
}

TEST_F(PlayerTest, AFinishedReloadFillsTheClipWithBonusShotsByAmmunitionLevel) {
    ClipSize = 30;
    BaseBonusShots = 10;
    AmmoLevel = 2;
    ReloadTime = 90;
    Reloading = true;
    int ticks = 0;
    while (Reloading && ticks < 1000) {
        player->Move();
        ++ticks;
    }
    EXPECT_NEAR(ticks, 50, 1); // 1.8 a tick
    EXPECT_EQ(ClipAmmo, 30);
    EXPECT_EQ(AmmoBar, 39);
    EXPECT_EQ(BonusShots, 6 * 2 + 10);
    EXPECT_FALSE(player->ReloadSoundPlayed);
}

TEST_F(PlayerTest, AReloadBlastFiresARingSizedByItsLevel) {
    ReloadBlastLevel = 1;
    ReloadTime = 1;
    Reloading = true;
    player->X = 900;
    player->Move();
    int fragments = 0;
    for (int32_t i = 0; i < GameEngine->Count; ++i) {
        if (auto* f = dynamic_cast<TOSKOLOK*>(GameEngine->At(i))) {
            EXPECT_EQ(f->X, 912);
            EXPECT_EQ(f->Angle, fragments * 45);
            ++fragments;
        }
    }
    EXPECT_EQ(fragments, 9);
    EXPECT_EQ(FragSpeed, 10);
}

// A shot kicks the aim's spread only while it is below 40; the move cools it by one before the shot.
TEST_F(PlayerTest, AShotKicksTheSpreadOnlyBelowItsCeilingOfForty) {
    CurrentWeapon = Weapon::Automat; // a kick of 12
    ClipAmmo = 30;
    engine->buttonsDown.insert(1);
    for (const auto& [atShot, after] : {std::pair{39, 51}, std::pair{40, 40}}) {
        SpreadHeat = static_cast<uint8_t>(atShot + 1);
        ShotTimer = 10;
        const int bullets = CountBullets();
        player->Move();
        ASSERT_EQ(CountBullets(), bullets + 1) << atShot;
        EXPECT_EQ(SpreadHeat, after) << "a shot at heat " << atShot;
    }
}

TEST_F(PlayerTest, TheShotgunFiresTenPelletsAndHeatsPastTheCeiling) {
    CurrentWeapon = Weapon::Shotgun;
    ShotKind = 1;
    ClipAmmo = 7;
    SpreadHeat = 39;
    ShotTimer = 10;
    engine->buttonsDown.insert(1);
    player->Move();
    EXPECT_EQ(SpreadHeat, 38 + 16);
    ASSERT_EQ(CountBullets(), 10);
    EXPECT_EQ(ClipAmmo, 6); // a burst costs one cartridge
    int sized = 0;
    for (int32_t i = 0; i < GameEngine->Count; ++i) {
        auto* b = dynamic_cast<TBullet*>(GameEngine->At(i));
        if (!b) continue;
        EXPECT_GE(b->Angle, player->Angle - 16);
        EXPECT_LE(b->Angle, player->Angle + 15);
        if (b->W != 48) {
            EXPECT_GE(b->W, 10);
            EXPECT_LE(b->W, 47);
            ++sized;
        }
    }
    EXPECT_EQ(sized, 6);
}

TEST_F(PlayerTest, WalkingWithOppositeKeysStandsStillButAnimates) {
    engine->keysDown = {kKeyW, kKeyS};
    const float frame = player->Frame;
    player->Move();
    EXPECT_FLOAT_EQ(PlayerPosY, 0.0f);
    EXPECT_FLOAT_EQ(player->Frame, frame + 1.6f);
}

TEST_F(PlayerTest, HoldingMFreezesTheSoldierEvenWithoutTheMineUpgrade) {
    engine->keysDown = {kKeyM, kKeyD};
    player->Move();
    EXPECT_FLOAT_EQ(PlayerPosX, 900.0f);
    EXPECT_EQ(MineCharge, 0);
}

TEST_F(PlayerTest, AStepPastTheRightBoundShowsForOneTick) {
    PlayerPosX = 1450.0f;
    PlayerSpeed = 1.0f;
    engine->keysDown = {kKeyD};
    player->Move();
    EXPECT_EQ(player->X, 1451);
    EXPECT_FLOAT_EQ(PlayerPosX, 1450.0f);
    engine->keysDown.clear();
    player->Move();
    EXPECT_EQ(player->X, 1450);
}

TEST_F(PlayerTest, DeathHidesTheSoldierStopsFiringButNotWalking) {
    player->Health = 0.0f;
    ClipAmmo = 8;
    ShotTimer = 10;
    engine->buttonsDown.insert(1);
    engine->keysDown = {kKeyD};
    player->Move(); // the tick of death still finishes its aim, reload and trigger steps
    EXPECT_TRUE(PlayerDead);
    EXPECT_EQ(player->Alpha, 0);
    const int fired = CountBullets();
    ShotTimer = 10;
    for (int i = 0; i < 5; ++i)
        player->Move();
    EXPECT_EQ(CountBullets(), fired);
    EXPECT_GT(PlayerPosX, 900.0f + 5.0f);
    engine->draws.clear();
    player->Draw();
    EXPECT_TRUE(engine->draws.empty());
}

TEST_F(PlayerTest, TheSoldierTurnsTowardTheCursorThroughTheCamera) {
    MainCamera->X = 500.0f;
    MainCamera->Y = -300.0f;
    player->X = 900;
    player->Y = 0;
    // The cursor right below the soldier's centre on the battlefield.
    engine->mouseX = 430.0f;
    engine->mouseY = 500.0f;
    player->Move();
    EXPECT_EQ(player->Angle, 270 - 270);
}

TEST(Heading, NegativeAnglesTruncateTowardZeroBeforeTheByte) {
    BuildCosTable();
    EXPECT_EQ(HeadingX(-1), HeadingX(0)); // -256 div 360 is 0
    EXPECT_EQ(HeadingX(-2), CosB(63));    // -512 div 360 is -1, not -2
    EXPECT_EQ(HeadingY(-270), SinB(128)); // exactly -192 + 64
    EXPECT_EQ(HeadingX(360 + 90), HeadingX(90));
}

} // namespace

TEST(Upgrades, ClearingSetsEveryLevelToZero) {
    for (uint8_t& u : Upgrades)
        u = 3;
    ClearUpgrades();
    for (uint8_t u : Upgrades)
        EXPECT_EQ(u, 0);
}
