// The game tick: everything that happens every TickInterval ms, and the globals it steps.
#pragma once

#include <cstdint>
#include <string>

extern uint8_t TickRandom30, TickRandom5; // Random(30) and Random(5), drawn anew every tick
extern uint8_t PulseValue;                // swings between 50 and 90 for the menu highlight
extern bool PulseFalling;
extern uint8_t NukeFlash;       // opacity of the white flash of a nuclear strike
extern uint8_t EndPictureAlpha; // opacity of the level-complete and game-over pictures
extern bool UpgradePanelOpen;
extern bool ScreenShake;
extern int32_t ShakeTicks;
extern uint16_t MessageTime; // ticks the on-screen message has left
extern bool MessageWins;     // the level counts as won when the message runs out
extern uint16_t SlowDownBarTime, DefenceBarTime;
extern uint8_t BonusIconFrame; // 1 .. 17
extern uint16_t SlowDownTimer; // ticks of slow-down left
extern uint16_t SoundFrequency;
extern uint16_t DefenceTimer; // ticks of defence left
extern bool TargetMode;       // the next primary click places the soldier
extern bool GameSuspended;    // a game left with Escape can be resumed from the main menu
extern bool ClearField;       // every sprite but the player removes itself on its next Move
extern uint8_t MenuAlpha;
extern bool IntroFading, IntroReady;
extern int32_t CameraTargetX, CameraTargetY;

// The level-15 strike goes off once per play of that level, when three quarters of its quota are dead.
extern bool ScriptedStrikeDone;

void GameTick();

// What Escape does on the screen showing: back to the main menu from play (which "continue" resumes), from
// the options, the credits and the mission list; the upgrade panel closes.
void HandleEscape();

// Puts the tick's globals back to their start values (program start).
void ResetTickGlobals();

// The screens that show the battlefield: play, the upgrade panel and the two end screens.
bool OnBattlefieldScreen(const std::string& screen);
