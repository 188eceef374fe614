// The background music: one piece at a time, looping.
#pragma once

#include <cstdint>

// Choices 1 .. 5: main fight, fight silence, fight, death, main menu. Any other value does nothing.
void PlayMusic(uint8_t choice);
