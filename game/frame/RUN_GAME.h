// The program frame: the entry point and the procedures the engine calls back (the tick is in GameTick.h).
#pragma once

#include "Battle.h"
#include "zorbel_api.h"

#include <optional>

// What the frame procedure has told a watching test (platform::Trace): that the main menu showed at full
// strength, and the screen it named last.
struct FrameTrace {
    bool menuShown = false;
    std::optional<Screen> screen;
};
extern FrameTrace Traced;

void SplashProc();
void LoadProc();
void DrawFrame();

// Binds the engine, registers everything and runs the engine's loop; returns the process exit status.
// Demos and tests may register a load procedure of their own that runs LoadProc first, and an input
// procedure that the engine calls every frame where it takes input (a player made of code).
int RunGame(ZB_Procedure loadProcedure = LoadProc, ZB_Procedure inputProcedure = nullptr);
