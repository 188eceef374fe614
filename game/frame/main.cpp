// Drelmont: a top-down shooter. The program starts here and hands over to the engine's loop.
#include "RUN_GAME.h"

int main() {
    return RunGame();
}
