// The monsters and what they share: baking into the ground, steering, frenzy, and blood traces.
#include "MONSTER1.h"

uint16_t AliveAliens = 0, AliveZombies = 0, AliveSpiders = 0;
