// The game's sprite table instance.
#include "GEngine.h"

TGameENGINE* GameEngine = nullptr;
