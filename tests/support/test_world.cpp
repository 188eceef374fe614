// Test support: a fresh battlefield on the fake engine.
#include "test_world.h"

#include "GEngine.h"
#include "PLAYER.h"
#include "RUN_GAME.h"

namespace fake {

Engine& World() {
    Engine& engine = Install();
    BuildCosTable();
    SilentSounds();
    GameEngine = new TGameENGINE();
    GameEngine->SortAscending = true;
    GameEngine->PlayerSlot = GameEngine->Add<TPLAYER>()->ID;
    MainCamera = Cam2D_Create();
    SecondCamera = Cam2D_Create();
    SetUpGroundTiles();
    SetUpApproachGrids();
    ScreenState = "0";
    Paused = false;
    return engine;
}

} // namespace fake
