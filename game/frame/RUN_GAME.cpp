// The program frame: start-up, the splash, load and frame procedures, and the tick.
#include "RUN_GAME.h"

#include "GEngine.h"
#include "RandomGen.h"
#include "ZORBEL.h"
#include "assets.h"
#include "music.h"
#include "settings.h"

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

namespace {

constexpr int32_t kTickCatchUp = 50;
constexpr float kTileSize = 256.0f;
// Tile rows in the order the tiles are numbered: the three lower rows first, then the two above them.
constexpr float kTileRowY[5] = {-10.0f, 246.0f, 502.0f, -266.0f, -522.0f};

void SetUpApproachGrids() {
    // Centred on the battlefield origin until the player takes the field; the frame procedure re-centres
    // them.
    const int32_t px = 0, py = 0;
    for (ApproachGrid& grid : ApproachGrids) {
        for (int i = 0; i <= 20; ++i) {
            for (int j = 0; j <= 20; ++j) {
                grid[i][j] = ZB_Rect{static_cast<float>(px - 170 + 20 * i),
                                     static_cast<float>(py - 170 + 20 * j), 20.0f, 20.0f};
            }
        }
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

} // namespace

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
    SetUpApproachGrids();
    MainCamera = Cam2D_Create();
    SecondCamera = Cam2D_Create();
    Cam2D_Set(MainCamera);
    PlayMusic(5);
    SetUpGroundTiles();
    ClearUpgrades();
}

void DrawFrame() {
    SecondCamera->Switch = 0;
    Cam2D_Set(MainCamera);
    MainCamera->Switch = 1;
    GameEngine->Draw();
}

void GameTick() {
    if (!Paused) GameEngine->Move();
}

int RunGame() {
    BuildCosTable();
    if (!zorbel::Bind()) return 1;
    LoadSettings();
    Randomize();
    TickTimer = Timer_Create(GameTick, TickInterval, kTickCatchUp);
    ZB_RegProcedure(3, SplashProc);
    ZB_RegProcedure(1, LoadProc);
    ZB_RegProcedure(0, DrawFrame);
    ZB_Enable(1);
    ZB_Enable(2);
    ZB_Enable(4);
    ZB_SetAdvancedOptions(0, 1, 0);
    ZB_SetScreenOptions(800, 600, 32, 0, 1, FullScreen ? 1 : 0);
    ZB_SetWndName("Drelmont");
    ZB_Init(16, 0);
    return 0;
}
