// Test support: the campaign bot on the fake battlefield, with frames and ticks interleaved as the engine
// interleaves them.
#pragma once

#include "test_world.h"

#include <cstdint>
#include <functional>

namespace botworld {

// A fresh battlefield with the menus made as the load procedure makes them, showing the main menu, with
// levels 1 .. levelsOpen completed.
fake::Engine& AtMainMenu(uint8_t levelsOpen);

// Runs frames of frameMs milliseconds each, as the engine does: the input procedure, then the ticks that
// have fallen due (at most five a frame), then the frame procedure. Stops after `frames` frames or once
// `stop` says so; returns the frames run.
int Run(
    fake::Engine& engine, const std::function<void()>& input, int frames, double frameMs,
    const std::function<bool()>& stop = [] { return false; });

} // namespace botworld
