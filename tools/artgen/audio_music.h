// The game's five music loops. Each is composed in whole bars and rendered into a circular buffer, so
// notes and echoes ringing past the end come round into the start and the loop has no seam.
#pragma once

#include "audio_synth.h"

#include <vector>

namespace artgen::audio {

struct Stereo {
    Mono left, right;
};

struct MusicRecipe {
    const char* file; // name under SOUNDS/
    Stereo (*make)(); // stereo at kRate; playing it on repeat is seamless
};

const std::vector<MusicRecipe>& MusicRecipes();

} // namespace artgen::audio
