// What the engine's gamepad needs to know of the screen: the soldier it aims around in play, and elsewhere
// the buttons it steps between.
#pragma once

// Called once a frame, after the screen's logic; the engine uses it for the next frame's input.
void TellPadTheScreen();
