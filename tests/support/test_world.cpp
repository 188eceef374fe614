// Test support: a fresh battlefield on the fake engine.
#include "test_world.h"

#include "BONUS.h"
#include "GEngine.h"
#include "GameTick.h"
#include "HUD.h"
#include "OSKOLOK.h"
#include "PLAYER.h"
#include "RUN_GAME.h"
#include "RandomGen.h"
#include "level.h"
#include "progress.h"

namespace fake {

Engine& World() {
    Engine& engine = Install();
    ResetTickGlobals();
    ResetPlayerGlobals();
    ResetWeaponGlobals();
    ResetFragmentGlobals();
    ResetLevelGlobals();
    ResetProgressGlobals();
    ResetHudGlobals();
    ResetSpawnClocks();
    ClearUpgrades();
    RandSeed = 0;
    TickInterval = 16;
    FadeLevel = 0;
    BuildCosTable();
    SilentSounds();
    delete GameEngine;
    GameEngine = new TGameENGINE();
    GameEngine->SortAscending = true;
    GameEngine->PlayerSlot = GameEngine->Add<TPLAYER>()->ID;
    MainCamera = Cam2D_Create();
    SecondCamera = Cam2D_Create();
    Cam2D_Set(MainCamera);
    SetUpGroundTiles();
    SetUpApproachGrids();
    ScreenState = "0";
    Paused = false;
    return engine;
}

} // namespace fake
