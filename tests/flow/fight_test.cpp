// A whole first level fought in-process: aim at the nearest living zombie and fire until the quota is dead.
#include "GEngine.h"
#include "GameTick.h"
#include "MONSTER1.h"
#include "PLAYER.h"
#include "RUN_GAME.h"
#include "assets.h"
#include "level.h"
#include "test_world.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr int32_t kKeyW = 87, kKeyS = 83, kKeyA = 65, kKeyD = 68;

const TZOMBI* NearestLivingZombie() {
    const TZOMBI* nearest = nullptr;
    float best = std::numeric_limits<float>::max();
    for (int32_t i = 0; i < GameEngine->Count; ++i) {
        const auto* z = dynamic_cast<const TZOMBI*>(GameEngine->At(i));
        if (!z || z->Health <= 0) continue;
        const float dx = z->PosX - PlayerPosX, dy = z->PosY - PlayerPosY;
        if (dx * dx + dy * dy < best) {
            best = dx * dx + dy * dy;
            nearest = z;
        }
    }
    return nearest;
}

// One tick of a simple soldier: aim at the nearest zombie, hold the trigger while one lives, and back off
// diagonally (faster than any zombie walks) from one that comes close, since bullets leave the muzzle some
// way ahead and cannot hit a zombie at the soldier's side.
void PlayOneTick(fake::Engine& engine, bool fire) {
    engine.time += 16.0;
    engine.buttonsDown.clear();
    engine.keysDown.clear();
    const TZOMBI* z = NearestLivingZombie();
    if (fire && z) {
        const float zx = static_cast<float>(z->X + z->W / 2), zy = static_cast<float>(z->Y + z->H / 2);
        engine.mouseX = zx - MainCamera->X;
        engine.mouseY = zy - MainCamera->Y;
        engine.buttonsDown.insert(1);
        const float dx = zx - (PlayerPosX + 30.0f), dy = zy - (PlayerPosY + 30.0f);
        if (dx * dx + dy * dy < 100.0f * 100.0f) {
            bool left = dx > 0, up = dy > 0;
            if (PlayerPosX < 200.0f || PlayerPosX > 1340.0f) left = PlayerPosX > 700.0f;
            if (PlayerPosY < -360.0f || PlayerPosY > 460.0f) up = PlayerPosY > 50.0f;
            engine.keysDown.insert(left ? kKeyA : kKeyD);
            engine.keysDown.insert(up ? kKeyW : kKeyS);
        }
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

    // Once the last shots and blood have settled, only the soldier is left in the table.
    for (int i = 0; i < 300; ++i)
        PlayOneTick(engine, false);
    EXPECT_EQ(GameEngine->Count, 1);
    for (const ApproachGrid& grid : ApproachGrids) {
        for (const auto& column : grid) {
            for (const ZB_Rect& cell : column)
                EXPECT_EQ(cell.W, 20.0f); // every claimed cell was given back
        }
    }
}

} // namespace
