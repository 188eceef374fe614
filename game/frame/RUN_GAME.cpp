// The program frame: start-up, the splash, load and frame procedures, and the tick.
#include "RUN_GAME.h"

#include "Battle.h"
#include "GEngine.h"
#include "GameTick.h"
#include "Ground.h"
#include "HUD.h"
#include "Keys.h"
#include "MONSTER1.h"
#include "PLAYER.h"
#include "PadTargets.h"
#include "RandomGen.h"
#include "SquallSound.h"
#include "StateDigest.h"
#include "WindowKeys.h"
#include "ZORBEL.h"
#include "assets.h"
#include "effects.h"
#include "language.h"
#include "music.h"
#include "platform.h"
#include "settings.h"
#include "uMenu.h"

#include <thread>

FrameTrace Traced;

namespace {

constexpr int32_t kTickCatchUp = 50;
// A failed save is shown for about four seconds and then fades for about four more.
constexpr uint16_t kSaveErrorTicks = 500;

ZB_Texture* SplashTexture = nullptr;

// Marks waiting to be baked into the ground may go now, unless the stamp setting says otherwise.
void AllowStamping() {
    if (ReadStampSetting() != MapAlpha) return;
    for (int32_t i = 0; i < GameEngine->Count; ++i) {
        CSprite* s = GameEngine->At(i);
        if (IsMonster(s->Kind) || s->Kind == SpriteKind::BloodTrace || s->Kind == SpriteKind::Case)
            s->StampToMap = true;
    }
}

void DrawBattlefield() {
    AllowStamping();
    for (int k = 0; k < kGroundTileCount; ++k) {
        const ZB_Rect& r = GroundTileRects[k];
        SSprite_Draw(GroundTiles[k], r.X, r.Y, r.W, r.H, MapAlpha, 0.0f, 1);
    }
    GameEngine->Draw();
    // The light darkens the field around the soldier; after death the whole field goes darker still.
    FX_SetBlendMode(5);
    const float lightX = static_cast<float>(ZB_Round(PlayerPosX + 15.0f - 800.0f));
    const float lightY = static_cast<float>(ZB_Round(PlayerPosY + 15.0f - 600.0f));
    if (!PlayerDead) SSprite_Draw(TexLight, lightX, lightY, 1600.0f, 1200.0f, 255, 0.0f, 1);
    if (PlayerDead || ScreenState == Screen::GameOver)
        SSprite_Draw(TexLight, lightX, lightY, 1600.0f, 1200.0f, 255, 0.0f, 1);
    FX_SetBlendMode(0);
    // The crosshair once more, above the light.
    for (int32_t slot : CrosshairSlots)
        GameEngine->At(slot)->Draw();
}

// Open levels keep a faint glow of their own under the hover glow, so the list shows at a glance how far the
// campaign is open.
void DrawStandingGlow(const CSprite& light) {
    constexpr uint8_t kStandingGlow = 90;
    FX_SetBlendMode(1);
    SSprite_Draw(light.Texture, static_cast<float>(light.X), static_cast<float>(light.Y),
                 static_cast<float>(light.W), static_cast<float>(light.H), kStandingGlow, 0.0f, 1);
    FX_SetBlendMode(0);
}

// The menu screen's picture fading in over black, and its glows, animated once a frame.
void DrawMenuPicture() {
    MainCamera->Switch = 0;
    if (MenuAlpha != 0) SSprite_Draw(TexMenuBack, 0.0f, 0.0f, 800.0f, 600.0f, MenuAlpha, 0.0f, 1);
    if (ScreenState == Screen::Options) DrawLanguageLine();
    if (ScreenState == Screen::MainMenu && MenuAlpha == 255) {
        if (!Traced.menuShown) platform::Trace("menu shown");
        Traced.menuShown = true;
    }
    if (ScreenState == Screen::MainMenu && FadeLevel == 0) {
        for (int32_t slot : MenuLightSlots) {
            GameEngine->At(slot)->Draw();
            GameEngine->At(slot)->Move();
        }
    }
    if (ScreenState == Screen::Missions) {
        for (int i = 0; i < 30 && i <= LevelsOpen; ++i) {
            CSprite* light = GameEngine->At(LevelLightSlots[i]);
            DrawStandingGlow(*light);
            light->Draw();
            light->Move();
        }
    }
    if (IntroReady && Key_Down(kKeyEnter)) {
        IntroFading = true;
        if (FadeLevel == 255) {
            SoundSystem->FreeSound(SndMenu);
            SndMenu = SoundSystem->LoadSound("SOUNDS\\MENU_STAND.OGG", 1, 1);
        }
    }
}

void DrawLogoHighlight() {
    if (ScreenState != Screen::MainMenu || !Col_PointInAABB(Mouse_X(), Mouse_Y(), &LogoCorner)) return;
    FX_SetBlendMode(1);
    SSprite_Draw(TexLogoLight, 553.0f, 525.0f, 215.0f, 63.0f, 100, 0.0f, 1);
    FX_SetBlendMode(0);
}

void DrawCursor() {
    MainCamera->Switch = 0;
    if (FadeLevel == 0) {
        SSprite_Draw(TexCursor, Mouse_X() - 24.0f, Mouse_Y() - 24.0f, 48.0f, 48.0f,
                     MenuAlpha != 0 ? 250 : 255, 0.0f, 1);
    }
    MainCamera->Switch = 1;
}

} // namespace

void SplashProc() {
    SplashTexture = Tex_LoadFromFile(PictureFile("PICTURE\\LOGO.TGA").c_str(), -1, 266);
    SSprite_Draw(SplashTexture, 270, 100, 256, 400, 255, 0, 1);
}

void LoadProc() {
    FadeLevel = 255;
    LoadSettings();
    // Loading the sounds is most of the start: it runs beside the pictures' loading, which touches no sound,
    // and ends before anything plays. Each side keeps its own order, so every handle is the same.
    std::thread sounds(LoadSounds);
    LoadPictures();
    sounds.join();
    GameEngine = new TGameENGINE(); // lives until the program ends
    GameEngine->SortAscending = true;
    GameEngine->PlayerSlot = GameEngine->Add<TPLAYER>()->ID;
    SetUpApproachGrids(ZB_Round(PlayerPosX), ZB_Round(PlayerPosY));
    CreateMenuSprites();
    MainCamera = Cam2D_Create();
    SecondCamera = Cam2D_Create();
    Cam2D_Set(MainCamera);
    PlayMusic(5);
    SetUpGroundTiles();
    InitMenuGeometry();
    ClearUpgrades();
}

void DrawFrame() {
    SecondCamera->Switch = 0;
    Cam2D_Set(MainCamera);
    MainCamera->Switch = 1;
    if (OnBattlefieldScreen(ScreenState)) {
        DrawBattlefield();
        DrawHud();
        DrawBattlefieldOverlays();
    } else {
        DrawMenuPicture();
        DrawMessage();
    }
    DrawLogoHighlight();
    DrawCursor();
    if (!PlayerDead) RecentreApproachGrids(ZB_Round(PlayerPosX), ZB_Round(PlayerPosY));
    if (ScreenState == Screen::Play) CountLivingMonsters();
    if (ScreenState != Screen::Play) MenuLogic();
    FollowWindow();
    TellPadTheScreen();
    // A watching test learns of each screen change once.
    if (Traced.screen != ScreenState) platform::Trace(std::string("screen ") + ScreenName(ScreenState));
    Traced.screen = ScreenState;
}

int RunGame(ZB_Procedure loadProcedure, ZB_Procedure inputProcedure) {
    BuildCosTable();
    if (!zorbel::Bind()) return 1;
    // Without its data the game would only show placeholders and report every one of its files.
    if (const std::string missing = platform::MissingData(); !missing.empty()) {
        platform::ShowErrorBox("Drelmont", missing);
        return 1;
    }
    ShowSaveError = [](const std::string& text) { ShowMessage(false, text, kSaveErrorTicks); };
    LoadSettings();
    // Once for the whole run: a language picked on the options screen waits for the next start.
    GameLanguage = ChooseLanguage(ChosenLanguage);
    Randomize();
    TickTimer = Timer_Create(GameTick, TickInterval, kTickCatchUp);
    ZB_RegProcedure(3, SplashProc);
    ZB_RegProcedure(1, loadProcedure);
    ZB_RegProcedure(0, DrawFrame);
    ZB_RegDigest(StateDigest);
    if (inputProcedure) ZB_RegProcedure(2, inputProcedure);
    ZB_Enable(1);
    ZB_Enable(2);
    ZB_Enable(4);
    ZB_SetAdvancedOptions(0, 1, 0);
    ZB_SetScreenOptions(800, 600, 32, 0, 1, FullScreen ? 1 : 0);
    ZB_SetWndName("Drelmont");
    ZB_Init(16, 0);
    return ExitStatus;
}
