// The game tick: everything that happens every TickInterval ms.
#pragma once

void GameTick();
