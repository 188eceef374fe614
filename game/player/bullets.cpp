// The player's bullets: flight, hits on monsters, damage and their effects; blood spray and hit sounds.
#include "bullets.h"

bool SecondBlastLine = false;
