// The program frame: the entry point, the procedures the engine calls back, the game tick, and their globals.
#pragma once

#include "zorbel_api.h"

#include <array>
#include <cstdint>
#include <string>

extern std::string ScreenState; // "1" main menu at start; see the screen list in the README
extern ZB_Timer* TickTimer;
extern uint8_t TickInterval; // ms between ticks
extern ZB_Camera *MainCamera, *SecondCamera;
extern ZB_Texture* SplashTexture;
extern bool Paused;       // sprites do not move
extern uint8_t FadeLevel; // the start-up fade into the menu

constexpr int kGroundTileCount = 30;
extern ZB_Texture* GroundTiles[kGroundTileCount]; // 256 x 256 render targets holding the battlefield picture
extern ZB_Rect GroundTileRects[kGroundTileCount];

// Five grids of 21 x 21 cells of 20 x 20 pixels around the player; a monster holds a cell by its width.
using ApproachGrid = std::array<std::array<ZB_Rect, 21>, 21>;
extern std::array<ApproachGrid, 5> ApproachGrids;

// Slots of the sprites the load procedure puts right after the player; they are never removed.
extern std::array<int32_t, 7> MenuLightSlots;   // the glows behind the main-menu lines
extern std::array<uint8_t, 30> LevelLightSlots; // the glows behind the level buttons
extern std::array<int32_t, 4> CrosshairSlots;   // the arms of the visible crosshair

// What RunGame returns once the engine's loop ends: 1 when the save at the exit line failed.
extern int ExitStatus;

// Pieces of the load procedure: the grids around the player's position, the crosshair arms and the menu
// glows, and the empty ground tiles.
void SetUpApproachGrids();
void CreateMenuSprites();
void SetUpGroundTiles();

// The procedures registered with the engine (the tick is in GameTick.h).
void SplashProc();
void LoadProc();
void DrawFrame();

// Binds the engine, registers everything and runs the engine's loop; returns the process exit status.
// Demos and tests may register a load procedure of their own that runs LoadProc first, and an input
// procedure that the engine calls every frame where it takes input (a player made of code).
int RunGame(ZB_Procedure loadProcedure = LoadProc, ZB_Procedure inputProcedure = nullptr);
