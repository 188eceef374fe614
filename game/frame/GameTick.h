// The game tick: everything that happens every TickInterval ms.
#pragma once

void GameTick();

// What Escape does on the screen showing: back to the main menu from play (which "continue" resumes), from
// the options, the credits and the mission list; the upgrade panel closes.
void HandleEscape();
