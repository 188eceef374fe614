// The game tick: everything that happens every TickInterval ms.
#include "GameTick.h"

#include "BONUS.h"
#include "Battle.h"
#include "GEngine.h"
#include "HUD.h"
#include "Keys.h"
#include "PLAYER.h"
#include "RandomGen.h"
#include "Spawner.h"
#include "SquallSound.h"
#include "Weapons.h"
#include "ZORBEL.h"
#include "assets.h"
#include "progress.h"
#include "settings.h"
#include "uMenu.h"

#include <algorithm>

namespace {

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

void PlaceSoldierAtCursor() {
    MainCamera->Switch = 0;
    PlayerPosX = Mouse_X() + MainCamera->X;
    PlayerPosY = Mouse_Y() + MainCamera->Y;
    Player()->X = ZB_Round(PlayerPosX);
    Player()->Y = ZB_Round(PlayerPosY);
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
        if (ScreenState == Screen::Play) --SlowDownTimer;
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
    ScreenState = Screen::Play;
}

void OpenUpgradePanel() {
    Mouse_Lock();
    Paused = true;
    UpgradePanelOpen = true;
    Mouse_Lock();
    LoadMenuCursor();
    ScreenState = Screen::UpgradePanel;
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
    if (ScreenState == Screen::Play) {
        if (RegenLevel != 0) RegenerateHealth();
        StepBonusBar(SlowDownBarTime);
        StepBonusBar(DefenceBarTime);
        StepScriptedStrike();
    }
    if (TargetMode && ScreenState == Screen::Play && Mouse_Press(kPrimary)) PlaceSoldierAtCursor();
    StepSlowDown();
    if (DefenceTimer > 0) --DefenceTimer;
    if (Key_Press(kKeyR)) {
        ClipAmmo = 0;
        AmmoBar = -81;
    }
    if (Key_Press(kKeyQ) && CurrentWeapon != Weapon::Pistol && PistolLevel > 0) {
        TWeaponPickup* pistol = CreateWeaponPickup(Weapon::Pistol);
        pistol->X = ZB_Round(PlayerPosX);
        pistol->Y = ZB_Round(PlayerPosY);
    }
    if (ScreenState == Screen::UpgradePanel && Mouse_Press(kSecondary)) {
        CloseUpgradePanel();
        DiscardButtonPresses();
    }
    if (ScreenState == Screen::Play && Mouse_Press(kSecondary) && !PlayerDead && UpgradePoints > 0)
        OpenUpgradePanel();
    FollowWithCamera();
    // Last, so a panel closed or opened in this tick decides whether a kill in it wins the level now.
    CheckProgress();
}

void LeaveToMainMenu() {
    ScreenState = Screen::MainMenu;
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
    if (ScreenState == Screen::Options || ScreenState == Screen::Credits || ScreenState == Screen::Missions) {
        ScreenState = Screen::MainMenu;
        PlayEffect(SndMenu);
        LoadMainMenuBack();
    } else if (ScreenState == Screen::Play) {
        GameSuspended = true;
        LeaveToMainMenu();
    } else if (ScreenState == Screen::GameOver) {
        PlayerDead = false;
        GameSuspended = false;
        LeaveToMainMenu();
    } else if (ScreenState == Screen::UpgradePanel) {
        CloseUpgradePanel();
    }
}

void GameTick() {
    TickRandom30 = static_cast<uint8_t>(Random(30));
    TickRandom5 = static_cast<uint8_t>(Random(5));
    if (!Paused) MoveSpritesAndSpawn();
    StepMenuPulse();
    if (OnBattlefieldScreen(ScreenState)) {
        BattlefieldBlock();
    } else {
        StepMessage();
    }
    if (Key_Press(kKeyEscape)) HandleEscape();
    if (ClearField) {
        ScreenState = Screen::Play;
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
