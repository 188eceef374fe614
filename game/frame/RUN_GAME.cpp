// The program frame: start-up, the splash, load and frame procedures, and the tick.
#include "RUN_GAME.h"

#include "GEngine.h"
#include "GameTick.h"
#include "HUD.h"
#include "MONSTER1.h"
#include "PLAYER.h"
#include "RandomGen.h"
#include "SquallSound.h"
#include "StateDigest.h"
#include "ZORBEL.h"
#include "assets.h"
#include "effects.h"
#include "level.h"
#include "music.h"
#include "platform.h"
#include "settings.h"
#include "uMenu.h"

std::string ScreenState = "1";
ZB_Timer* TickTimer = nullptr;
uint8_t TickInterval = 16;
ZB_Camera *MainCamera = nullptr, *SecondCamera = nullptr;
ZB_Texture* SplashTexture = nullptr;
bool Paused = true;
uint8_t FadeLevel = 0;
ZB_Texture* GroundTiles[kGroundTileCount];
ZB_Rect GroundTileRects[kGroundTileCount];
std::array<ApproachGrid, 5> ApproachGrids;
std::array<int32_t, 7> MenuLightSlots;
std::array<uint8_t, 30> LevelLightSlots;
std::array<int32_t, 4> CrosshairSlots;
int ExitStatus = 0;

namespace {

constexpr int32_t kTickCatchUp = 50;
// A failed save is shown for about four seconds and then fades for about four more.
constexpr uint16_t kSaveErrorTicks = 500;
constexpr float kTileSize = 256.0f;
// Tile rows in the order the tiles are numbered: the three lower rows first, then the two above them.
constexpr float kTileRowY[5] = {-10.0f, 246.0f, 502.0f, -266.0f, -522.0f};

// The grids travel with the living player; the widths are the monsters' claim marks and stay.
void RecentreApproachGrids() {
    const int32_t px = M_Round(PlayerPosX), py = M_Round(PlayerPosY);
    for (ApproachGrid& grid : ApproachGrids) {
        for (int i = 0; i <= 20; ++i) {
            for (int j = 0; j <= 20; ++j) {
                grid[i][j].X = static_cast<float>(px + 20 * i - 170);
                grid[i][j].Y = static_cast<float>(py + 20 * j - 170);
            }
        }
    }
}

} // namespace

void SetUpApproachGrids() {
    for (ApproachGrid& grid : ApproachGrids) {
        for (auto& column : grid) {
            for (ZB_Rect& cell : column)
                cell.W = cell.H = 20.0f;
        }
    }
    RecentreApproachGrids();
}

namespace {

void CountLivingMonsters() {
    AliveAliens = AliveZombies = AliveSpiders = 0;
    for (const TMonster* m : Monsters()) {
        if (m->Health <= 0) continue;
        switch (m->Kind()) {
        case MonsterKind::Spider:
            ++AliveSpiders;
            break;
        case MonsterKind::Alien:
            ++AliveAliens;
            break;
        case MonsterKind::Zombie:
            ++AliveZombies;
            break;
        }
    }
}

// Marks waiting to be baked into the ground may go now, unless the stamp setting says otherwise.
void AllowStamping() {
    if (ReadStampSetting() != MapAlpha) return;
    for (int32_t i = 0; i < GameEngine->Count; ++i) {
        CSprite* s = GameEngine->At(i);
        if (auto* m = dynamic_cast<TMonster*>(s)) m->StampToMap = true;
        if (auto* t = dynamic_cast<TSLED*>(s)) t->StampToMap = true;
        if (auto* e = dynamic_cast<TEMPTY*>(s)) e->StampToMap = true;
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
    const float lightX = static_cast<float>(M_Round(PlayerPosX + 15.0f - 800.0f));
    const float lightY = static_cast<float>(M_Round(PlayerPosY + 15.0f - 600.0f));
    if (!PlayerDead) SSprite_Draw(TexLight, lightX, lightY, 1600.0f, 1200.0f, 255, 0.0f, 1);
    if (PlayerDead || ScreenState == "GAME_OVER")
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
    if (ScreenState == "1" && MenuAlpha == 255) {
        static bool announced = false;
        if (!announced) platform::Trace("menu shown");
        announced = true;
    }
    if (ScreenState == "1" && FadeLevel == 0) {
        for (int32_t slot : MenuLightSlots) {
            GameEngine->At(slot)->Draw();
            GameEngine->At(slot)->Move();
        }
    }
    if (ScreenState == "3") {
        for (int i = 0; i < 30 && i <= LevelsOpen; ++i) {
            CSprite* light = GameEngine->At(LevelLightSlots[i]);
            DrawStandingGlow(*light);
            light->Draw();
            light->Move();
        }
    }
    constexpr int32_t kKeyEnter = 13;
    if (IntroReady && Key_Down(kKeyEnter)) {
        IntroFading = true;
        if (FadeLevel == 255) {
            SoundSystem->FreeSound(SndMenu);
            SndMenu = SoundSystem->LoadSound("SOUNDS\\MENU_STAND.OGG", 1, 1);
        }
    }
}

void DrawLogoHighlight() {
    if (ScreenState != "1" || !Col_PointInAABB(Mouse_X(), Mouse_Y(), &LogoCorner)) return;
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

void SetUpGroundTiles() {
    for (int k = 0; k < kGroundTileCount; ++k)
        GroundTiles[k] = Tex_CreateZero(256, 256, 266);
    for (int k = 0; k < kGroundTileCount; ++k) {
        GroundTileRects[k] =
            ZB_Rect{100.0f + kTileSize * static_cast<float>(k % 6), kTileRowY[k / 6], kTileSize, kTileSize};
    }
}

void SplashProc() {
    SplashTexture = Tex_LoadFromFile("PICTURE\\LOGO.TGA", -1, 266);
    SSprite_Draw(SplashTexture, 270, 100, 256, 400, 255, 0, 1);
}

void LoadProc() {
    FadeLevel = 255;
    LoadSettings();
    LoadPictures();
    LoadSounds();
    GameEngine = new TGameENGINE(); // lives until the program ends
    GameEngine->SortAscending = true;
    GameEngine->PlayerSlot = GameEngine->Add<TPLAYER>()->ID;
    SetUpApproachGrids();
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
    if (!PlayerDead) RecentreApproachGrids();
    if (ScreenState == "0") CountLivingMonsters();
    if (ScreenState != "0") MenuLogic();
    // A watching test learns of each screen change once.
    static std::string traced;
    if (ScreenState != traced) platform::Trace("screen " + ScreenState);
    traced = ScreenState;
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
