// The game's sprite table.
#include "GEngine.h"

#include "RandomGen.h"

TGameENGINE* GameEngine = nullptr;

void TGameENGINE::Move() {
    Randomize();
    CSpriteEngine::Move();
}
