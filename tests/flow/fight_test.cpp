// Whole levels fought in-process: aim at the nearest living monster and fire until the quota is dead.
#include "GEngine.h"
#include "GameTick.h"
#include "MONSTER1.h"
#include "PLAYER.h"
#include "RUN_GAME.h"
#include "assets.h"
#include "autopilot.h"
#include "level.h"
#include "test_world.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// One tick of play with the simple soldier at the controls (or with hands off).
void PlayOneTick(fake::Engine& engine, bool fire) {
    engine.time += 16.0;
    engine.buttonsDown.clear();
    engine.keysDown.clear();
    const autopilot::Orders orders = autopilot::Decide();
    if (fire && orders.target) {
        engine.mouseX = orders.mouseX;
        engine.mouseY = orders.mouseY;
        engine.buttonsDown.insert(1);
        engine.keysDown = orders.keys;
    }
    GameTick();
    DrawFrame();
}

TEST(Fight, LevelOneIsWonByAimingAndFiringAndTheDeadLieInTheGround) {
    fake::Engine& engine = fake::World();
    TexZombie = engine.NewTexture(10, 3);
    for (ZB_Texture*& blood : TexBlood)
        blood = engine.NewTexture();
    SetupLevel(1);
    int ticks = 0;
    int mostSprites = 0;
    for (; ticks < 20000 && KillCount < 15; ++ticks) {
        // The defence bonus keeps the bites off and quickens the trigger, so a plain bot can hold the field.
        DefenceTimer = 60000;
        PlayOneTick(engine, true);
        mostSprites = std::max(mostSprites, GameEngine->Count);
    }
    ASSERT_EQ(KillCount, 15) << "after " << ticks << " ticks";
    EXPECT_EQ(MonstersKilled, 15);
    EXPECT_EQ(MonstersLeft, 0);
    EXPECT_GT(mostSprites, 5);

    // Every corpse was baked into the tiles under it, on its last frame.
    int corpseStamps = 0;
    for (size_t i = 0; i < engine.draws.size(); ++i) {
        if (engine.draws[i].texture != TexZombie || !engine.draws[i].target) continue;
        EXPECT_EQ(engine.draws[i].frame, 30);
        ++corpseStamps;
    }
    EXPECT_GE(corpseStamps, 15);

    // The frame after the last kill shows the level won and stops the field under the picture.
    EXPECT_TRUE(LevelWon);
    EXPECT_EQ(ScreenState, Screen::Complete);
    EXPECT_TRUE(Paused);

    // Left running, the last shots and blood settle and only the soldier is left in the table.
    Paused = false;
    for (int i = 0; i < 300; ++i) {
        engine.time += 16.0;
        GameTick();
    }
    EXPECT_EQ(GameEngine->Count, 1);
    for (const ApproachGrid& grid : ApproachGrids) {
        for (const auto& column : grid) {
            for (const ZB_Rect& cell : column)
                EXPECT_EQ(cell.W, 20.0f); // every claimed cell was given back
        }
    }
}

TEST(Fight, OnLevelTenEveryKindFallsAndLiesInTheGroundFromItsOwnSheet) {
    fake::Engine& engine = fake::World();
    TexZombie = engine.NewTexture(10, 3);
    TexAlien = engine.NewTexture(10, 3);
    TexSpider = engine.NewTexture(10, 3);
    for (ZB_Texture*& blood : TexBlood)
        blood = engine.NewTexture();
    SetupLevel(10);
    MonstersLeft = MonstersTotal = 36; // four passes of all three kinds
    // Every reload throws a ring of fragments, which clears the monsters that reach the soldier's side.
    ReloadBlastLevel = 3;
    for (int ticks = 0; ticks < 30000 && KillCount < 36; ++ticks) {
        DefenceTimer = 60000;
        PlayOneTick(engine, true);
    }
    ASSERT_EQ(KillCount, 36);
    EXPECT_TRUE(LevelWon);

    // Each corpse went into the ground from its own sheet, on its last frame.
    std::map<ZB_Texture*, int> corpses;
    for (const fake::DrawCall& d : engine.draws) {
        if (!d.target || d.frame == 0) continue;
        EXPECT_EQ(d.frame, 30);
        ++corpses[d.texture];
    }
    for (ZB_Texture* sheet : {TexZombie, TexAlien, TexSpider})
        EXPECT_GE(corpses[sheet], 12);

    // The last corpse goes into the ground; weapons dropped by the kills may still lie about.
    Paused = false;
    engine.time += 16.0;
    GameTick();
    for (int32_t i = 0; i < GameEngine->Count; ++i)
        EXPECT_EQ(dynamic_cast<TMonster*>(GameEngine->At(i)), nullptr);
    for (const ApproachGrid& grid : ApproachGrids) {
        for (const auto& column : grid) {
            for (const ZB_Rect& cell : column)
                EXPECT_EQ(cell.W, 20.0f);
        }
    }
}

} // namespace
