// What the frame procedure draws over the battlefield: the top bar and its counters, the upgrade panel, the
// bonus bars, the centred message, the flash, and the level-complete and game-over pictures with the switches
// to those screens.
#pragma once

// The centred message, in screen pixels, on whatever screen is showing.
void DrawMessage();
// The top bar, the panel with its marks, the bonus shots and bars, the frame rate, the hints, the score and
// the message, in screen pixels.
void DrawHud();
// The panel fade, the flash of a nuclear strike, the end pictures with the switches to "COMPLETE" and
// "GAME_OVER", and the mine charge line; the camera is on afterwards.
void DrawBattlefieldOverlays();
// The check marks of the upgrade panel, one per bought level.
void DrawUpgradeMarks();
