// The game's sound effects: gunshots, hits, deaths, blasts, pickups and menu ticks, made from nothing.
#pragma once

#include "audio_synth.h"

#include <vector>

namespace artgen::audio {

struct EffectRecipe {
    const char* file; // name under SOUNDS/
    Mono (*make)();   // mono at kRate, peak-normalised, no clicks at either end
};

// Every effect the game loads, in the order of its sound table.
const std::vector<EffectRecipe>& EffectRecipes();

} // namespace artgen::audio
