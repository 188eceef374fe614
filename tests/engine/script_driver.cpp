// A program that only runs the engine's loop, for tests that need the engine's exit status.
#include "zorbel_debug.h"

int main() {
    ZB_Init(16, 0);
    return 0;
}
