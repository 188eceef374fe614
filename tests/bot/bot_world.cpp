// Test support: the campaign bot on the fake battlefield.
#include "bot_world.h"

#include "GameTick.h"
#include "RUN_GAME.h"
#include "assets.h"
#include "settings.h"
#include "uMenu.h"

#include <cstdlib>
#include <string>

namespace botworld {
namespace {

double gNextTick = 0; // engine time of the next tick

} // namespace

fake::Engine& AtMainMenu(uint8_t levelsOpen) {
    fake::Engine& engine = fake::World();
    ResetSettingsGlobals();
    // Monster sheets of 30 frames, so that the fallen reach their corpse frame and are counted.
    TexZombie = engine.NewTexture(10, 3);
    TexAlien = engine.NewTexture(10, 3);
    TexSpider = engine.NewTexture(10, 3);
    CreateMenuSprites();
    InitMenuGeometry();
    LevelsOpen = levelsOpen;
    ScreenState = Screen::MainMenu;
    Paused = true;
    MenuAlpha = 255;
    gNextTick = 0;
    return engine;
}

int Run(fake::Engine& engine, const std::function<void()>& input, int frames, double frameMs,
        const std::function<bool()>& stop) {
    constexpr int kMostTicksAFrame = 5;
    double& nextTick = gNextTick;
    if (nextTick <= engine.time) nextTick = engine.time + TickInterval;
    int frame = 0;
    for (; frame < frames && !stop(); ++frame) {
        engine.time += frameMs;
        input();
        for (int n = 0; n < kMostTicksAFrame && nextTick <= engine.time; ++n) {
            const size_t timers = engine.timerLog.size();
            GameTick();
            nextTick += TickInterval;
            // A timer made anew by the tick starts counting from now.
            if (engine.timerLog.size() > timers && engine.timerLog.back().rfind("create ", 0) == 0)
                nextTick = engine.time + std::atof(engine.timerLog.back().c_str() + 7);
        }
        if (nextTick <= engine.time) nextTick = engine.time + TickInterval;
        DrawFrame();
        engine.draws.clear();
        engine.texts.clear();
        engine.lines.clear();
    }
    return frame;
}

} // namespace botworld
