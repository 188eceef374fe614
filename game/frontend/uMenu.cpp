// The menu: what each screen's buttons do, the highlight glows, and the crosshair arms.
#include "uMenu.h"

#include "BONUS.h"
#include "GameTick.h"
#include "HUD.h"
#include "PLAYER.h"
#include "RUN_GAME.h"
#include "SquallSound.h"
#include "ZORBEL.h"
#include "assets.h"
#include "level.h"
#include "platform.h"
#include "progress.h"
#include "settings.h"
#include "squall.h"

#include <string>

ZB_Rect MainMenuLines[7];
ZB_Rect LogoCorner;
ZB_Rect CreditsButton;
ZB_Rect CreditsBack;
ZB_Rect OptionsLines[6];
ZB_Rect ListBack;

namespace {

constexpr int32_t kPrimary = 1, kSecondary = 0;
// The options, mission and upgrade screens test the pointer's tip, drawn this far up and left of the cursor.
constexpr float kPointerTip = 12.0f;
// The game-over screen tests a point this far up and left of the cursor.
constexpr float kGameOverPoint = 5.0f;

bool Inside(float x, float y, const ZB_Rect& r) {
    return Col_PointInAABB(x, y, &r) != 0;
}

void DiscardPresses() {
    Mouse_Press(kSecondary);
    Mouse_Press(kPrimary);
}

// Presses and held buttons left over from a screen's block must not act on the next frame.
void DiscardPressesAndHolds() {
    DiscardPresses();
    Mouse_Down(kSecondary);
    Mouse_Down(kPrimary);
}

// A side file is opened with the desktop's handler only when the installation has it; nothing comes back.
void OpenSideFile(const char* name) {
    if (platform::FileExists(name)) platform::ShellOpen(name);
}

// The next step of a volume setting: up by 10, back to 0 once past 100.
uint8_t NextVolume(uint8_t volume) {
    const int next = volume + 10;
    return next > 100 ? 0 : static_cast<uint8_t>(next);
}

void ExitGame() {
    PlayEffect(SndMenu);
    // Past this point a failed save can only be told by the program's status.
    if (!SaveSettings()) ExitStatus = 1;
    SQUALL_Stop();
    OpenSideFile("fscommand\\wgame.exe");
    OpenSideFile("play.url");
    ZB_Quit();
}

void CreditsBlock() {
    if (Mouse_Press(kPrimary) && Inside(Mouse_X(), Mouse_Y(), CreditsBack)) {
        ScreenState = "1";
        PlayEffect(SndMenu);
        LoadMainMenuBack();
    }
}

void MainMenuBlock() {
    if (!Mouse_Press(kPrimary)) return;
    const float x = Mouse_X(), y = Mouse_Y();
    if (Inside(x, y, MainMenuLines[0])) {
        ScreenState = "3";
        PlayEffect(SndMenu);
        LoadMissionBack();
    }
    if (Inside(x, y, MainMenuLines[3])) OpenSideFile("moregames.url");
    if (Inside(x, y, LogoCorner)) OpenSideFile("website.url");
    if (Inside(x, y, MainMenuLines[4])) OpenSideFile("tellafriend.url");
    if (Inside(x, y, MainMenuLines[5])) OpenSideFile("subscribe.url");
    if (Inside(x, y, MainMenuLines[2])) {
        DiscardPresses();
        Mouse_Lock();
        PlayEffect(SndMenu);
        ScreenState = "OPTIONS";
        LoadOptionsBack();
    }
    if (Inside(x, y, CreditsButton)) {
        DiscardPresses();
        PlayEffect(SndMenu);
        ScreenState = "CREATED";
        LoadCreditsBack();
    }
    if (Inside(x, y, MainMenuLines[1]) && GameSuspended) {
        DiscardPresses();
        ScreenState = "0";
        MenuAlpha = 0;
        FadeLevel = 0;
        PlayEffect(SndMenu);
        LoadGameCursor();
        if (UpgradePanelAlpha != 255) Paused = false;
    }
    if (Inside(x, y, MainMenuLines[6])) ExitGame();
}

void DrawOptionValues() {
    auto onOff = [](int line, bool on) {
        const ZB_Rect& r = OptionsLines[line];
        Text_Draw(TexFont, r.X + (on ? 745.0f : 740.0f), r.Y + 10.0f, on ? "ВКЛ." : "ВЫКЛ.", 0.4f, 1.0f, 200,
                  0);
    };
    auto number = [](int line, uint8_t value) {
        const ZB_Rect& r = OptionsLines[line];
        Text_Draw(TexFont, r.X + 740.0f, r.Y + 10.0f, IntToText(value).c_str(), 0.4f, 1.0f, 200, 0);
    };
    onOff(2, FullScreen);
    onOff(0, ShowFps);
    onOff(1, TextureFlagSetting);
    number(4, EffectsVolume);
    number(3, MusicVolume);
}

void ChangeSetting(int line) {
    switch (line) {
    case 0:
        ShowFps = !ShowFps;
        break;
    case 1:
        TextureFlagSetting = !TextureFlagSetting; // takes effect at the next start
        break;
    case 2:
        FullScreen = !FullScreen; // takes effect at the next start
        break;
    case 3:
        MusicVolume = NextVolume(MusicVolume);
        SndMusic->Stop();
        SndMusic->Volume = MusicVolume;
        SndMusic->Play(true);
        break;
    default:
        EffectsVolume = NextVolume(EffectsVolume);
        ApplyEffectsVolume();
        break;
    }
}

void OptionsBlock() {
    DrawOptionValues();
    const float x = Mouse_X() - kPointerTip, y = Mouse_Y() - kPointerTip;
    for (int line = 0; line < 5; ++line) {
        const ZB_Rect& r = OptionsLines[line];
        if (!Inside(x, y, r)) continue;
        SSprite_Draw(TexBlack, r.X, r.Y, r.W, r.H, PulseValue, 0.0f, 1);
        if (Mouse_Press(kPrimary)) {
            PlayEffect(SndMenu);
            ChangeSetting(line);
        }
    }
    if (Inside(x, y, OptionsLines[5]) && Mouse_Press(kPrimary)) {
        DiscardPresses();
        PlayEffect(SndMenu);
        SaveSettings();
        MapAlpha = 255;
        ScreenState = "1";
        LoadMainMenuBack();
    }
    DiscardPressesAndHolds();
}

void GameOverBlock() {
    if (Mouse_Press(kPrimary) &&
        Inside(Mouse_X() - kGameOverPoint, Mouse_Y() - kGameOverPoint, kPlayAgainButton))
        PlayAgainButton();
    DiscardPressesAndHolds();
}

void CompleteBlock() {
    const bool pressed = Mouse_Press(kPrimary) != 0;
    const float x = Mouse_X(), y = Mouse_Y();
    if (pressed && Inside(x, y, kNextLevelButton)) NextLevelButton();
    if (pressed && Inside(x, y, kCompleteMainMenuButton)) CompleteMainMenuButton();
    DiscardPressesAndHolds();
}

void MissionBlock() {
    const float x = Mouse_X() - kPointerTip, y = Mouse_Y() - kPointerTip;
    if (Inside(x, y, ListBack) && Mouse_Press(kPrimary)) {
        ScreenState = "1";
        PlayEffect(SndMenu);
        LoadMainMenuBack();
        Mouse_Press(kPrimary);
    }
    for (int n = 1; n <= 30; ++n) {
        // Level 1 is always open; level n opens once level n - 1 is completed.
        if (Inside(x, y, LevelButton(n)) && int{LevelsOpen} >= n - 1 && Mouse_Press(kPrimary))
            SetupLevel(static_cast<uint8_t>(n));
    }
    Mouse_Press(kPrimary);
}

void BackToPlay() {
    UpgradePanelOpen = false;
    Paused = false;
    ScreenState = "0";
    LoadGameCursor();
}

// What a bought level does at once, besides the level itself (damage, fire rate, armour and the fragment ring
// are read where they act).
void ApplyUpgrade(int line) {
    switch (line) {
    case 2: // a full clip at once
        Reloading = false;
        ReloadTimer = 0.0f;
        ClipAmmo = ClipSize;
        BonusShots = BaseBonusShots;
        AmmoBar = M_Round(static_cast<float>(ClipSize * 4 - 81));
        break;
    case 3:
        ++RegenLevel;
        break;
    case 5:
        PlayerSpeed += 0.05f;
        break;
    case 6: // a random weapon, thrown at the soldier's feet as play resumes
        BackToPlay();
        DiscardPresses();
        PlaceWeaponPickup(M_Round(PlayerPosX) + 30, M_Round(PlayerPosY) + 30);
        break;
    case 7: // mines, and the soldier set down anew where the next click points; the points left wait
        Paused = true;
        TargetMode = true;
        UpgradePanelOpen = false;
        ScreenState = "0";
        LoadGameCursor();
        PlayEffect(SndMenu);
        break;
    case 8: {
        float& health = Player()->Health;
        health = health > 170.0f ? 200.0f : health + 30.0f;
        break;
    }
    default:
        break;
    }
}

void UpgradePanelBlock() {
    if (UpgradePanelOpen) {
        const float x = Mouse_X() - kPointerTip, y = Mouse_Y() - kPointerTip;
        for (int line = 0; line < 10; ++line) {
            const ZB_Rect r = UpgradeLine(line);
            if (!Inside(x, y, r)) continue;
            SSprite_Draw(TexBlack, r.X, r.Y, r.W, r.H, PulseValue, 0.0f, 1);
            // A line at its third level takes no point, though it still lights.
            if (Mouse_Press(kPrimary) && Upgrades[line] < 3) {
                if (line != 7) PlayEffect(SndMenu);
                ++Upgrades[line];
                --UpgradePoints;
                ApplyUpgrade(line);
            }
        }
    }
    MainCamera->Switch = 1;
    // The last point spent closes the panel, unless the soldier is about to be set down.
    if (UpgradePoints < 1 && !TargetMode) BackToPlay();
    DiscardPressesAndHolds();
}

// Each block runs if the screen has its value when the block is reached, so one click may lead through two.
void RunBlock(const char* screen, void (*block)()) {
    if (ScreenState != screen) return;
    MainCamera->Switch = 0;
    block();
    MainCamera->Switch = 1;
}

} // namespace

ZB_Rect LevelButton(int n) {
    constexpr float kColumnX[3] = {-49.0f, 245.0f, 530.0f};
    return ZB_Rect{kColumnX[(n - 1) / 10], 192.0f + 35.0f * static_cast<float>((n - 1) % 10), 300.0f, 30.0f};
}

ZB_Rect UpgradeLine(int n) {
    return ZB_Rect{9, 114.0f + 22.0f * static_cast<float>(n), 181, 21};
}

void InitMenuGeometry() {
    constexpr float kMainLineY[7] = {165, 214, 263, 313, 363, 413, 462};
    for (int k = 0; k < 7; ++k)
        MainMenuLines[k] = ZB_Rect{0, kMainLineY[k], 240, 40};
    LogoCorner = ZB_Rect{550, 520, 250, 80};
    CreditsButton = ZB_Rect{0, 520, 200, 32};
    CreditsBack = ZB_Rect{320, 548, 160, 32};
    for (int k = 0; k < 5; ++k)
        OptionsLines[k] = ZB_Rect{0, 250.0f + 50.0f * static_cast<float>(k), 800, 40};
    OptionsLines[5] = ZB_Rect{0, 500, 240, 40};
    ListBack = ZB_Rect{12, 559, 160, 32};
    LoadMenuCursor();
}

void MenuLogic() {
    RunBlock("CREATED", CreditsBlock);
    RunBlock("1", MainMenuBlock);
    RunBlock("OPTIONS", OptionsBlock);
    RunBlock("GAME_OVER", GameOverBlock);
    RunBlock("COMPLETE", CompleteBlock);
    RunBlock("3", MissionBlock);
    RunBlock("NAV1", UpgradePanelBlock);
}

TMENUS_LIGHT::TMENUS_LIGHT() {
    Texture = TexMenuLight;
    W = 194;
    H = 78;
    Alpha = 0;
    Z = 1;
}

void TMENUS_LIGHT::Draw() {
    if (ScreenState != "1" && ScreenState != "OPTIONS") return;
    FX_SetBlendMode(1);
    CSprite::Draw();
    FX_SetBlendMode(0);
}

void TMENUS_LIGHT::Move() {
    CSprite::Move();
    if (ScreenState != "1" && ScreenState != "OPTIONS") {
        Alpha = 0;
        return;
    }
    Alpha = Glow;
    if (!Saturated && Glow > 0) Glow -= 5;
    HoverBox = ZB_Rect{static_cast<float>(X + 18), static_cast<float>(Y + 25), 168, 29};
    if (!Saturated) {
        const float x = Mouse_X() - kPointerTip, y = Mouse_Y() - kPointerTip;
        for (int step = 0; step < 3; ++step) {
            if (Glow < 180 && Inside(x, y, HoverBox)) Glow += 5;
        }
    }
    if (Glow >= 180) Saturated = true;
    // Past its peak the glow sinks by two a frame to 100, then may rise again.
    if (Saturated) {
        if (Glow > 100) --Glow;
        if (Glow > 100) --Glow;
        if (Glow <= 100) Saturated = false;
    }
}

TMENU_LINE_LIGHT::TMENU_LINE_LIGHT() {
    Texture = TexMenuLineLight;
    W = 300;
    H = 30;
    Alpha = 0;
    Z = 1;
}

void TMENU_LINE_LIGHT::Draw() {
    if (ScreenState != "3" && ScreenState != "1") return;
    FX_SetBlendMode(1);
    CSprite::Draw();
    FX_SetBlendMode(0);
}

void TMENU_LINE_LIGHT::Move() {
    CSprite::Move();
    if (ScreenState != "3") {
        Alpha = 0;
        return;
    }
    Alpha = Glow;
    if (Glow > 0) Glow -= 5;
    HoverBox = ZB_Rect{static_cast<float>(X), static_cast<float>(Y), 300, 30};
    const float x = Mouse_X() - kPointerTip, y = Mouse_Y() - kPointerTip;
    for (int step = 0; step < 3; ++step) {
        if (Glow < 140 && Inside(x, y, HoverBox)) Glow += 5;
    }
}

TPRIZEL_M::TPRIZEL_M(bool active, Side side)
    : Active(active), SideTop(side == Side::Top), SideBottom(side == Side::Bottom),
      SideLeft(side == Side::Left), SideRight(side == Side::Right) {
    Texture = TexCrosshair;
    W = 3;
    H = 5;
    Z = 705062705;
}

void TPRIZEL_M::Draw() {
    MainCamera->Switch = 0;
    CSprite::Draw();
    MainCamera->Switch = 1;
}

void TPRIZEL_M::Move() {
    CSprite::Move();
    if (!Active) {
        Texture = TexCrosshairParked;
        Z = 705062704;
        Alpha = 0;
        return;
    }
    Alpha = PlayerDead ? 0 : 255;
    const int32_t cx = M_Round(Mouse_X()), cy = M_Round(Mouse_Y());
    const int32_t s = SpreadHeat;
    if (SideTop) {
        Angle = 270;
        X = cx - 1;
        Y = cy - 14 - s;
    } else if (SideBottom) {
        Angle = 90;
        X = cx - 2;
        Y = cy + 9 + s;
    } else if (SideLeft) {
        Angle = 180;
        X = cx - 14 - s;
        Y = cy - 3;
    } else {
        Angle = 0;
        X = cx + 10 + s;
        Y = cy - 2;
    }
}
