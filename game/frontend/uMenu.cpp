// The menu: what each screen's buttons do, the highlight glows, and the crosshair arms.
#include "uMenu.h"

#include "Battle.h"
#include "GEngine.h"
#include "Keys.h"
#include "PLAYER.h"
#include "SquallSound.h"
#include "ZORBEL.h"
#include "assets.h"
#include "language.h"
#include "level.h"
#include "platform.h"
#include "progress.h"
#include "settings.h"
#include "squall.h"

#include <string>

MenuBlock Menu;
int ExitStatus = 0;
ZB_Rect MainMenuLines[7];
ZB_Rect LogoCorner;
ZB_Rect CreditsButton;
ZB_Rect CreditsBack;
ZB_Rect OptionsLines[6];
ZB_Rect ListBack;
ZB_Rect LanguageLine;

namespace {

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
        ScreenState = Screen::MainMenu;
        PlayEffect(SndMenu);
        LoadMainMenuBack();
    }
}

void MainMenuBlock() {
    if (!Mouse_Press(kPrimary)) return;
    const float x = Mouse_X(), y = Mouse_Y();
    if (Inside(x, y, MainMenuLines[0])) {
        ScreenState = Screen::Missions;
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
        ScreenState = Screen::Options;
        LoadOptionsBack();
    }
    if (Inside(x, y, CreditsButton)) {
        DiscardPresses();
        PlayEffect(SndMenu);
        ScreenState = Screen::Credits;
        LoadCreditsBack();
    }
    if (Inside(x, y, MainMenuLines[1]) && GameSuspended) {
        DiscardPresses();
        ScreenState = Screen::Play;
        MenuAlpha = 0;
        FadeLevel = 0;
        PlayEffect(SndMenu);
        LoadGameCursor();
        if (UpgradePanelAlpha != 255) Paused = false;
    }
    if (Inside(x, y, MainMenuLines[6])) ExitGame();
}

// The language the language line offers: the one chosen for the next start, else the one of this run.
Language NextLanguage() {
    return ChosenLanguage.value_or(GameLanguage);
}

void DrawOptionValues() {
    auto onOff = [](int line, bool on) {
        const ZB_Rect& r = OptionsLines[line];
        Text_Draw(TexFont, r.X + (on ? 745.0f : 740.0f), r.Y + 10.0f, Text(on ? TextKey::On : TextKey::Off),
                  0.4f, 1.0f, 200, 0);
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
    // Each language is named in its own words, so a player who reads only the other one still finds theirs.
    const char* name = Text(TextKey::LanguageName, NextLanguage());
    const float x =
        kLanguageValueMiddle - static_cast<float>(ZB_Round(Text_GetWidth(TexFont, name, 0.4f, 1.0f) / 2));
    Text_Draw(TexFont, x, LanguageLine.Y + 10.0f, name, 0.4f, 1.0f, 200, 0);
}

// A line under the pointer's tip lights; a press on it plays the click and is the caller's to act on.
bool LinePressed(const ZB_Rect& r, float x, float y) {
    if (!Inside(x, y, r)) return false;
    SSprite_Draw(TexBlack, r.X, r.Y, r.W, r.H, PulseValue, 0.0f, 1);
    if (!Mouse_Press(kPrimary)) return false;
    PlayEffect(SndMenu);
    return true;
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
    for (int line = 0; line < 5; ++line)
        if (LinePressed(OptionsLines[line], x, y)) ChangeSetting(line);
    // Takes effect at the next start, like full screen and filtering.
    if (LinePressed(LanguageLine, x, y))
        ChosenLanguage = NextLanguage() == Language::Russian ? Language::English : Language::Russian;
    if (Inside(x, y, OptionsLines[5]) && Mouse_Press(kPrimary)) {
        DiscardPresses();
        PlayEffect(SndMenu);
        SaveSettings();
        MapAlpha = 255;
        ScreenState = Screen::MainMenu;
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
        ScreenState = Screen::MainMenu;
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

void UpgradePanelBlock() {
    if (UpgradePanelOpen) {
        const float x = Mouse_X() - kPointerTip, y = Mouse_Y() - kPointerTip;
        for (int line = 0; line < 10; ++line) {
            const ZB_Rect r = UpgradeLine(line);
            if (!Inside(x, y, r)) continue;
            SSprite_Draw(TexBlack, r.X, r.Y, r.W, r.H, PulseValue, 0.0f, 1);
            // A line at its third level takes no point, though it still lights.
            if (Mouse_Press(kPrimary) && Upgrades[line] < 3) {
                const auto upgrade = static_cast<Upgrade>(line);
                if (upgrade != Upgrade::Mines) PlayEffect(SndMenu);
                ++Upgrades[line];
                --UpgradePoints;
                ApplyUpgrade(upgrade);
            }
        }
    }
    MainCamera->Switch = 1;
    // The last point spent closes the panel, unless the soldier is about to be set down.
    if (UpgradePoints < 1 && !TargetMode) BackToPlay();
    DiscardPressesAndHolds();
}

// Each block runs if the screen has its value when the block is reached, so one click may lead through two.
void RunBlock(Screen screen, void (*block)()) {
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

void CreateMenuSprites() {
    using Side = TPRIZEL_M::Side;
    constexpr Side kSides[4] = {Side::Top, Side::Bottom, Side::Left, Side::Right};
    for (int k = 0; k < 4; ++k)
        CrosshairSlots[k] = GameEngine->Add<TPRIZEL_M>(true, kSides[k])->ID;
    for (Side side : kSides)
        GameEngine->Add<TPRIZEL_M>(false, side);
    constexpr int32_t kMenuLightY[7] = {134, 183, 232, 282, 332, 382, 431};
    for (int k = 0; k < 7; ++k) {
        TMENUS_LIGHT* light = GameEngine->Add<TMENUS_LIGHT>();
        light->Y = kMenuLightY[k];
        MenuLightSlots[k] = light->ID;
    }
    for (int k = 0; k < 30; ++k) {
        TMENU_LINE_LIGHT* light = GameEngine->Add<TMENU_LINE_LIGHT>();
        const ZB_Rect r = LevelButton(k + 1);
        light->X = static_cast<int32_t>(r.X);
        light->Y = static_cast<int32_t>(r.Y);
        LevelLightSlots[k] = static_cast<uint8_t>(light->ID);
    }
}

void StepMenuPulse() {
    if (!PulseFalling) {
        if (PulseValue < 90) ++PulseValue;
        if (PulseValue == 90) PulseFalling = true;
    }
    if (PulseFalling) {
        if (PulseValue > 50) --PulseValue;
        if (PulseValue == 50) PulseFalling = false;
    }
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
    LanguageLine = ZB_Rect{0, 200, 800, 40};
    LoadMenuCursor();
}

void DrawLanguageLine() {
    const ZB_Rect& p = kLanguageLinePicture;
    SSprite_Draw(TexLanguageLine, p.X, p.Y, p.W, p.H, MenuAlpha, 0.0f, 1);
}

void MenuLogic() {
    RunBlock(Screen::Credits, CreditsBlock);
    RunBlock(Screen::MainMenu, MainMenuBlock);
    RunBlock(Screen::Options, OptionsBlock);
    RunBlock(Screen::GameOver, GameOverBlock);
    RunBlock(Screen::Complete, CompleteBlock);
    RunBlock(Screen::Missions, MissionBlock);
    RunBlock(Screen::UpgradePanel, UpgradePanelBlock);
}

TMENUS_LIGHT::TMENUS_LIGHT() : CSprite(SpriteKind::MenuLight) {
    Texture = TexMenuLight;
    W = 194;
    H = 78;
    Alpha = 0;
    Z = 1;
}

void TMENUS_LIGHT::Draw() {
    if (ScreenState != Screen::MainMenu && ScreenState != Screen::Options) return;
    FX_SetBlendMode(1);
    CSprite::Draw();
    FX_SetBlendMode(0);
}

void TMENUS_LIGHT::Move() {
    CSprite::Move();
    if (ScreenState != Screen::MainMenu && ScreenState != Screen::Options) {
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

TMENU_LINE_LIGHT::TMENU_LINE_LIGHT() : CSprite(SpriteKind::LevelLight) {
    Texture = TexMenuLineLight;
    W = 300;
    H = 30;
    Alpha = 0;
    Z = 1;
}

void TMENU_LINE_LIGHT::Draw() {
    if (ScreenState != Screen::Missions && ScreenState != Screen::MainMenu) return;
    FX_SetBlendMode(1);
    CSprite::Draw();
    FX_SetBlendMode(0);
}

void TMENU_LINE_LIGHT::Move() {
    CSprite::Move();
    if (ScreenState != Screen::Missions) {
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
    : CSprite(SpriteKind::CrosshairArm), Active(active), SideTop(side == Side::Top),
      SideBottom(side == Side::Bottom), SideLeft(side == Side::Left), SideRight(side == Side::Right) {
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
    const int32_t cx = ZB_Round(Mouse_X()), cy = ZB_Round(Mouse_Y());
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
