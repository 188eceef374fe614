// The heads-up display and the other pictures the frame procedure lays over the battlefield.
#include "HUD.h"

#include "Battle.h"
#include "Keys.h"
#include "PLAYER.h"
#include "ZORBEL.h"
#include "assets.h"
#include "language.h"
#include "level.h"
#include "music.h"
#include "settings.h"

#include <string>

namespace {

void Picture(ZB_Texture* texture, float x, float y, float w, float h, uint8_t alpha) {
    SSprite_Draw(texture, x, y, w, h, alpha, 0.0f, 1);
}

void Text(float x, float y, const std::string& text, float scale, uint8_t alpha, int32_t fx) {
    Text_Draw(TexFont, x, y, text.c_str(), scale, 1.0f, alpha, fx);
}

std::string ScoreText() {
    return IntToText(Score) + "00"; // the score is kept in hundreds
}

uint8_t StepDown(uint8_t value, uint8_t step) {
    return value > step ? static_cast<uint8_t>(value - step) : 0;
}

void DrawTopBar() {
    Picture(TexBlackShadow, 0, 24, 800, 30, 200);
    Picture(TexPanel, 0, 0, 800, 26, 255);
    if (!PlayerDead) Picture(TexClipBar, static_cast<float>(AmmoBar - 4), 4, 121, 12, Reloading ? 0 : 255);
    Picture(TexPanelFrame, 0, 0, 800, 26, 255);
    if (PlayerDead) return;
    Picture(TexLifeBar, 34, 17, static_cast<float>(ZB_Round(Player()->Health * 0.745f)), 5, 255);
    if (UpgradePoints > 0) {
        Picture(TexBlackShadow, 0, 44, 130, 30, 200);
        Picture(TexNewUpgrade, 0, 27, 150, 20, 255);
    }
}

// A running bonus: a frame at least 130 wide, a line that shortens with the time left, the turning icon.
void DrawBonusBar(uint16_t barTime, float y0, ZB_Texture* icon, const char* label, float labelX, float labelY,
                  float labelScale) {
    const int32_t line = ZB_Round(static_cast<float>(barTime) / 5.0f);
    const float frameWidth = line + 25 > 130 ? static_cast<float>(line + 25) : 130.0f;
    Picture(TexProgressBar, 0, y0, frameWidth, 32, 120);
    Picture(TexProgressLine, 22, y0 + 18, static_cast<float>(line), 4, 120);
    ASprite_Draw(icon, 4, y0 - 4, 40, 40, BonusIconFrame, 255, 0.0f, 1);
    Text(labelX, labelY, label, labelScale, 255, 1);
}

} // namespace

void DrawMessage() {
    if (MessageTime == 0) return;
    const float x =
        400.0f - static_cast<float>(ZB_Round(Text_GetWidth(TexFont, MessageText.c_str(), 0.7f, 0.0f) / 2));
    // The last 255 ticks fade out, one step a tick.
    if (MessageTime > 255)
        Text_Draw(TexFont, x, 300, MessageText.c_str(), 0.7f, 1.0f, 255, 0xFFFF);
    else
        Text_Draw(TexFont, x, 300, MessageText.c_str(), 0.7f, 0.0f, static_cast<uint8_t>(MessageTime),
                  0xFFFF);
}

namespace {

void StepPanelFade() {
    if (UpgradePanelOpen) {
        if (UpgradePanelAlpha < 255) UpgradePanelAlpha += 17;
    } else if (UpgradePanelAlpha > 0) {
        UpgradePanelAlpha -= 17;
    }
}

void FadeEndPictures() {
    if (ScreenState != Screen::Complete && ScreenState != Screen::GameOver)
        EndPictureAlpha = StepDown(EndPictureAlpha, 15);
}

// The one-off actions of a switch to an end screen: no click made before it counts, and a slow-down ends.
void EnterEndScreen() {
    Mouse_Lock();
    Mouse_Press(0);
    Mouse_Press(1);
    SlowDownTimer = 0;
}

void ShowLevelWon() {
    if (Level == kCampaignLevels) {
        // The campaign is over: the message is renewed every frame and play goes on under it.
        ShowMessage(true, Text(TextKey::YouWin), 300);
        return;
    }
    // A soldier who died after the last kill has lost; the game-over switch below takes the screen.
    if (PlayerDead) return;
    if (ScreenState != Screen::Complete) EnterEndScreen();
    ScreenState = Screen::Complete;
    Paused = true;
    Picture(TexComplete, MainCamera->X + 245, MainCamera->Y + 150, 340, 280, EndPictureAlpha);
    Text(MainCamera->X + 289, MainCamera->Y + 257, ScoreText(), 0.45f, EndPictureAlpha, 0);
}

void ShowGameOver() {
    Paused = true;
    if (ScreenState != Screen::GameOver) {
        PlayMusic(5);
        EnterEndScreen();
    }
    ScreenState = Screen::GameOver;
    Picture(TexGameOver, MainCamera->X + 240, MainCamera->Y + 225, 320, 152, EndPictureAlpha);
}

void DrawMineChargeLine() {
    const bool held = Key_Down(kKeyM) != 0;
    if (!held) MineCharge = ZB_Round(MainCamera->X);
    if (!PlayerDead && MineLevel > 0 && MainCamera->X + 800.0f >= static_cast<float>(MineCharge) && held) {
        Pr2D_LineWidth(5);
        Pr2D_Line(MainCamera->X, MainCamera->Y + 597, static_cast<float>(MineCharge), MainCamera->Y + 597,
                  255, 200, 2);
    }
}

} // namespace

void DrawHud() {
    MainCamera->Switch = 0;
    DrawTopBar();
    if (UpgradePanelOpen) {
        Picture(TexLevelPicture, 0, 70, 298, 366, UpgradePanelAlpha);
        DrawUpgradeMarks();
    }
    MainCamera->Switch = 0;
    if (BonusShots > 0 && !PlayerDead) Text(190, 4, IntToText(BonusShots), 0.32f, 200, 1);
    if (ScreenState == Screen::Play) {
        if (SlowDownBarTime != 0 && SlowDownTimer != 0)
            DrawBonusBar(SlowDownBarTime, 95, TexIconSlowDown, Text(TextKey::SlowDownLabel), 40, 100, 0.24f);
        if (DefenceBarTime != 0 && DefenceTimer != 0)
            DrawBonusBar(DefenceBarTime, 130, TexIconDefence, Text(TextKey::DefenceLabel), 43, 132, 0.36f);
    }
    if (ShowFps && !TargetMode && ScreenState != Screen::UpgradePanel)
        Text(6, 563, Text(TextKey::FpsPrefix) + IntToText(ZB_GetFPS()), 0.5f, 200, 255);
    if (Level == 1) Text(3, 585, Text(TextKey::ControlsHint), 0.4f, 200, 255);
    if (TargetMode && ScreenState == Screen::Play) Text(3, 575, Text(TextKey::TargetHint), 0.4f, 200, 255);
    if (!PlayerDead && Score > 0) Text(252, 7, ScoreText(), 0.36f, 120, 0);
    DrawMessage();
}

void DrawBattlefieldOverlays() {
    MainCamera->Switch = 1;
    StepPanelFade();
    if (NukeFlash > 0) Picture(TexWhite, MainCamera->X, MainCamera->Y, 800, 600, NukeFlash);
    FadeEndPictures();
    if (LevelWon) ShowLevelWon();
    FadeEndPictures();
    if (PlayerDead) ShowGameOver();
    DrawMineChargeLine();
    MainCamera->Switch = 1;
}

void DrawUpgradeMarks() {
    MainCamera->Switch = 0;
    for (int n = 0; n < 10; ++n) {
        const float y = 118.0f + 22.0f * static_cast<float>(n);
        if (Upgrades[n] >= 1) Picture(TexCheckMark, 204, y, 13, 13, UpgradePanelAlpha);
        if (Upgrades[n] >= 2) Picture(TexCheckMark, 223, y, 13, 13, UpgradePanelAlpha);
        if (Upgrades[n] == 3) Picture(TexCheckMark, 242, y, 13, 13, UpgradePanelAlpha);
    }
    MainCamera->Switch = 1;
}
