// The game tick: everything that happens every TickInterval ms.
#include "GameTick.h"

#include "BONUS.h"
#include "GEngine.h"
#include "MONSTER1.h"
#include "OSKOLOK.h"
#include "PLAYER.h"
#include "RUN_GAME.h"
#include "RandomGen.h"
#include "SquallSound.h"
#include "ZORBEL.h"
#include "assets.h"
#include "level.h"
#include "progress.h"
#include "settings.h"

#include <algorithm>

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

void ResetTickGlobals() {
    TickRandom30 = TickRandom5 = 0;
    PulseValue = 50;
    PulseFalling = false;
    NukeFlash = EndPictureAlpha = 0;
    UpgradePanelOpen = ScreenShake = false;
    ShakeTicks = 0;
    MessageTime = 0;
    MessageWins = false;
    SlowDownBarTime = DefenceBarTime = 0;
    BonusIconFrame = 1;
    SlowDownTimer = DefenceTimer = 0;
    SoundFrequency = 44100;
    TargetMode = GameSuspended = ClearField = false;
    MenuAlpha = 0;
    IntroFading = IntroReady = false;
    CameraTargetX = CameraTargetY = 0;
    ScriptedStrikeDone = false;
}

bool OnBattlefieldScreen(const std::string& screen) {
    return screen == "0" || screen == "NAV1" || screen == "GAME_OVER" || screen == "COMPLETE";
}

namespace {

constexpr int32_t kKeyEscape = 27, kKeyQ = 81, kKeyR = 82;
constexpr int32_t kPrimary = 1, kSecondary = 0;
constexpr uint8_t kNormalInterval = 16, kSlowInterval = 29;

uint8_t StepDown(uint8_t value, uint8_t step) {
    return value > step ? static_cast<uint8_t>(value - step) : 0;
}

void DiscardButtonPresses() {
    Mouse_Press(kSecondary);
    Mouse_Press(kPrimary);
}

void RecreateTickTimer(uint8_t interval, int32_t catchUp) {
    TickInterval = interval;
    Timer_Free(&TickTimer);
    TickTimer = Timer_Create(GameTick, interval, catchUp);
}

void GiveFrequencyToEverySound() {
    for (int32_t i = 0; i < SoundSystem->Count(); ++i)
        SoundSystem->SoundAt(i)->SetFrequency(SoundFrequency);
}

void StepPulse() {
    if (!PulseFalling) {
        if (PulseValue < 90) ++PulseValue;
        if (PulseValue == 90) PulseFalling = true;
    }
    if (PulseFalling) {
        if (PulseValue > 50) --PulseValue;
        if (PulseValue == 50) PulseFalling = false;
    }
}

void StepShake() {
    if (!ScreenShake) return;
    ++ShakeTicks;
    // The offsets are never taken back; the camera follow brings the view home a pixel a tick.
    MainCamera->X += static_cast<float>(10 - static_cast<int32_t>(Random(20)));
    MainCamera->Y += static_cast<float>(10 - static_cast<int32_t>(Random(20)));
    if (ShakeTicks >= 70) {
        MapAlpha = 255;
        ShakeTicks = 0;
        ScreenShake = false;
    }
}

void StepBonusBar(uint16_t& barTime) {
    if (barTime == 0) return;
    --barTime;
    BonusIconFrame = BonusIconFrame >= 17 ? 1 : static_cast<uint8_t>(BonusIconFrame + 1);
}

// Level 15's strike: once per play, when three quarters of the level's quota lie dead and the soldier lives.
bool ScriptedStrikeDue() {
    return Level == 15 && !ScriptedStrikeDone && !PlayerDead && MonstersTotal > 0 &&
           int64_t{KillCount} * 4 >= int64_t{MonstersTotal} * 3;
}

void ScriptedNuclearStrike() {
    ScriptedStrikeDone = true;
    NuclearStrike(680, 100);
    PlayEffect(SndFindBonus);
    for (TMonster* z : Monsters()) {
        z->Health = 0;
        const int32_t x = z->X + static_cast<int32_t>(Random(32)) - 16;
        const int32_t y = z->Y + static_cast<int32_t>(Random(32)) - 16;
        SpawnTrace(x, y, 82, static_cast<uint8_t>(Random(360)), 82);
    }
    LevelWon = true;
}

void PlaceSoldierAtCursor() {
    MainCamera->Switch = 0;
    PlayerPosX = Mouse_X() + MainCamera->X;
    PlayerPosY = Mouse_Y() + MainCamera->Y;
    Player()->X = M_Round(PlayerPosX);
    Player()->Y = M_Round(PlayerPosY);
    MainCamera->Switch = 1;
    TargetMode = false;
    Paused = false;
}

void StepSlowDown() {
    if (SlowDownTimer > 0) {
        if (SoundFrequency > 35100) {
            SoundFrequency -= 500;
            GiveFrequencyToEverySound();
        }
        if (TickInterval < kSlowInterval) RecreateTickTimer(kSlowInterval, 50);
        if (ScreenState == "0") --SlowDownTimer;
    }
    if (SlowDownTimer == 0 && SoundFrequency < 44100) {
        SoundFrequency += 500;
        GiveFrequencyToEverySound();
        if (TickInterval > kNormalInterval) RecreateTickTimer(kNormalInterval, 50);
    }
}

void CloseUpgradePanel() {
    PlayEffect(SndMenu);
    Paused = false;
    UpgradePanelOpen = false;
    LoadGameCursor();
    ScreenState = "0";
}

void OpenUpgradePanel() {
    Mouse_Lock();
    Paused = true;
    UpgradePanelOpen = true;
    Mouse_Lock();
    LoadMenuCursor();
    ScreenState = "NAV1";
    DiscardButtonPresses();
}

// One pixel toward the target a tick, then back into the ground's range by up to three pixels an axis.
void FollowWithCamera() {
    const TPLAYER* p = Player();
    if (-190 < p->Y && p->Y < 600) CameraTargetY = p->Y - 300;
    if (!PlayerDead) {
        if (500 < p->X && p->X < 1100) CameraTargetX = p->X - 400;
        if (-190 < p->Y && p->Y < 600) CameraTargetY = p->Y - 300;
    }
    float& cx = MainCamera->X;
    float& cy = MainCamera->Y;
    if (static_cast<float>(CameraTargetX) > cx) cx += 1.0f;
    if (static_cast<float>(CameraTargetX) < cx) cx -= 1.0f;
    if (static_cast<float>(CameraTargetY) > cy) cy += 1.0f;
    if (static_cast<float>(CameraTargetY) < cy) cy -= 1.0f;
    for (int step = 0; step < 3; ++step) {
        if (cx < 100.0f) cx += 1.0f;
        if (cx > 700.0f) cx -= 1.0f;
        if (cy < -500.0f) cy += 1.0f;
        if (cy > 0.0f) cy -= 1.0f;
    }
}

// A message counts down on every screen, so a notice given in a menu fades there too.
void StepMessage() {
    if (MessageTime > 0) {
        --MessageTime;
        if (MessageTime == 1 && MessageWins) LevelWon = true;
    }
}

void BattlefieldBlock() {
    NukeFlash = StepDown(NukeFlash, 5);
    for (bool ended : {LevelWon, PlayerDead}) {
        if (ended && EndPictureAlpha < 255) {
            EndPictureAlpha = static_cast<uint8_t>(std::min(255, EndPictureAlpha + 15));
            LoadMenuCursor();
        }
    }
    StepShake();
    StepMessage();
    if (ScreenState == "0") {
        if (RegenLevel != 0) RegenerateHealth();
        StepBonusBar(SlowDownBarTime);
        StepBonusBar(DefenceBarTime);
        if (ScriptedStrikeDue()) ScriptedNuclearStrike();
    }
    if (TargetMode && ScreenState == "0" && Mouse_Press(kPrimary)) PlaceSoldierAtCursor();
    StepSlowDown();
    if (DefenceTimer > 0) --DefenceTimer;
    if (Key_Press(kKeyR)) {
        ClipAmmo = 0;
        AmmoBar = -81;
    }
    if (Key_Press(kKeyQ) && CurrentWeapon != "PUSTOLET" && PistolLevel > 0) {
        TWeaponPickup* pistol = CreateWeaponPickup(0);
        pistol->X = M_Round(PlayerPosX);
        pistol->Y = M_Round(PlayerPosY);
    }
    if (ScreenState == "NAV1" && Mouse_Press(kSecondary)) {
        CloseUpgradePanel();
        DiscardButtonPresses();
    }
    if (ScreenState == "0" && Mouse_Press(kSecondary) && !PlayerDead && UpgradePoints > 0) OpenUpgradePanel();
    FollowWithCamera();
    // Last, so a panel closed or opened in this tick decides whether a kill in it wins the level now.
    CheckProgress();
}

void LeaveToMainMenu() {
    ScreenState = "1";
    PlayEffect(SndMenu);
    LoadMainMenuBack();
    MenuAlpha = 255;
    LoadMenuCursor();
    Paused = true;
}

} // namespace

void HandleEscape() {
    Mouse_Lock();
    DiscardButtonPresses();
    if (ScreenState == "OPTIONS" || ScreenState == "CREATED" || ScreenState == "3") {
        ScreenState = "1";
        PlayEffect(SndMenu);
        LoadMainMenuBack();
    } else if (ScreenState == "0") {
        GameSuspended = true;
        LeaveToMainMenu();
    } else if (ScreenState == "GAME_OVER") {
        PlayerDead = false;
        GameSuspended = false;
        LeaveToMainMenu();
    } else if (ScreenState == "NAV1") {
        CloseUpgradePanel();
    }
}

void GameTick() {
    TickRandom30 = static_cast<uint8_t>(Random(30));
    TickRandom5 = static_cast<uint8_t>(Random(5));
    if (!Paused) GameEngine->Move();
    StepPulse();
    if (OnBattlefieldScreen(ScreenState)) {
        BattlefieldBlock();
    } else {
        StepMessage();
    }
    if (Key_Press(kKeyEscape)) HandleEscape();
    if (ClearField) {
        ScreenState = "0";
        Paused = false;
        MenuAlpha = 0;
        FadeLevel = 0;
        RecreateTickTimer(kNormalInterval, 300);
        ClearField = false;
    }
    if (IntroFading && FadeLevel > 0) {
        FadeLevel = StepDown(FadeLevel, 15);
        MenuAlpha = static_cast<uint8_t>(std::min(255, MenuAlpha + 15));
    }
    IntroReady = true;
    IntroFading = true;
}
