// Test support: a fresh battlefield on the fake engine.
#include "test_world.h"

#include "Battle.h"
#include "GEngine.h"
#include "Ground.h"
#include "OSKOLOK.h"
#include "PLAYER.h"
#include "RUN_GAME.h"
#include "RandomGen.h"
#include "Spawner.h"
#include "Weapons.h"
#include "uMenu.h"

namespace fake {

Engine& World() {
    Engine& engine = Install();
    Battle = {};
    Soldier = {};
    Gun = {};
    Fragments = {};
    Menu = {};
    LastSpawn = {};
    Traced = {};
    ClearUpgrades();
    RandSeed = 0;
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
    SetUpApproachGrids(M_Round(PlayerPosX), M_Round(PlayerPosY));
    ScreenState = Screen::Play;
    Paused = false;
    return engine;
}

} // namespace fake
