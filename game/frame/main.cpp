// Drelmont: a top-down shooter. The program starts here and hands over to the engine's loop; with
// DRELMONT_BOT=1 the campaign bot plays it.
#include "Bot.h"
#include "RUN_GAME.h"

int main() {
    const int status = RunGame(LoadProc, bot::InputProcedure());
    return status != 0 ? status : bot::StatusAtExit();
}
