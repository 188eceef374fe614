// The game tick: everything that happens every TickInterval ms.
#include "GameTick.h"

uint8_t TickRandom30 = 0, TickRandom5 = 0;
uint8_t PulseValue = 50;
bool PulseFalling = false;
uint8_t NukeFlash = 0;
uint8_t EndPictureAlpha = 0;
bool UpgradePanelOpen = false;
bool ScreenShake = false;
int32_t ShakeTicks = 0;
uint16_t MessageTime = 0;
bool MessageWins = false;
uint16_t SlowDownBarTime = 0, DefenceBarTime = 0;
uint8_t BonusIconFrame = 1;
uint16_t SlowDownTimer = 0;
uint16_t SoundFrequency = 44100;
uint16_t DefenceTimer = 0;
bool TargetMode = false;
bool GameSuspended = false;
bool ClearField = false;
uint8_t MenuAlpha = 0;
bool IntroFading = false, IntroReady = false;
int32_t CameraTargetX = 0, CameraTargetY = 0;
bool ScriptedStrikeDone = false;

bool OnBattlefieldScreen(const std::string& screen) {
    return screen == "0" || screen == "NAV1" || screen == "GAME_OVER" || screen == "COMPLETE";
}
