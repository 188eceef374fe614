// The soldier: aiming, walking, the fire and reload cycle, mines, death.
#include "PLAYER.h"

#include "GEngine.h"
#include "ZORBEL.h"

float PlayerPosX = 900.0f, PlayerPosY = 0.0f;
float PlayerSpeed = 1.1f;
bool PlayerDead = false;
uint8_t SpreadHeat = 0;
bool Reloading = false;
float ReloadTimer = 0.0f, ShotTimer = 0.0f;
int32_t ClipAmmo = 0;
int32_t AmmoBar = 0;
int32_t BonusShots = 0;
int32_t MineCharge = 0;
uint16_t MineDamage = 0, MineBlastSize = 0;

void ResetPlayerGlobals() {
    PlayerPosX = 900.0f;
    PlayerPosY = 0.0f;
    PlayerSpeed = 1.1f;
    PlayerDead = false;
    SpreadHeat = 0;
    Reloading = false;
    ReloadTimer = ShotTimer = 0.0f;
    ClipAmmo = AmmoBar = BonusShots = MineCharge = 0;
    MineDamage = MineBlastSize = 0;
}

TPLAYER* Player() {
    return static_cast<TPLAYER*>(GameEngine->At(GameEngine->PlayerSlot));
}

static uint8_t HeadingByte(int32_t degrees) {
    // The division truncates toward zero, so negative angles lose their fraction upward before the wrap.
    return static_cast<uint8_t>(static_cast<int64_t>(degrees) * 256 / 360 + 64);
}
double HeadingX(int32_t degrees) {
    return CosB(HeadingByte(degrees));
}
double HeadingY(int32_t degrees) {
    return SinB(HeadingByte(degrees));
}
