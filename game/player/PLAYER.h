// The soldier: aiming, walking, the fire and reload cycle, mines, death; and the player globals.
#pragma once

#include "assets.h"
#include "uSpriteEngine.h"

#include <cstdint>

class TPLAYER : public CSprite {
  public:
    bool ReloadSoundPlayed = false;
    float Health = 200.0f;
    ZB_Rect HitBox{};

    TPLAYER();
    void Draw() override;
    void Move() override;

  private:
    void Aim();
    void StepReload();
    void StepFire();
    void LayMines();
    void Walk();
};

// The player sprite, fetched through the table's player slot.
TPLAYER* Player();

extern float PlayerPosX, PlayerPosY; // exact position; the sprite's X, Y are these rounded
extern float PlayerSpeed;            // pixels per tick per held direction key
extern bool PlayerDead;
extern uint8_t SpreadHeat; // aiming spread, raised by shots, cooling by 1 a tick
extern bool Reloading;
extern float ReloadTimer, ShotTimer;
extern int32_t ClipAmmo;
extern int32_t AmmoBar; // ClipAmmo * 4 - 81, drawn by the HUD
extern int32_t BonusShots;
extern int32_t MineCharge; // mine-laying progress in camera-X units
extern uint16_t MineDamage, MineBlastSize;

// The upgrade levels by name.
inline uint8_t& DamageLevel = Upgrades[0];
inline uint8_t& FireRateLevel = Upgrades[1];
inline uint8_t& AmmoLevel = Upgrades[2];
inline uint8_t& ArmorLevel = Upgrades[4];
inline uint8_t& MineLevel = Upgrades[7];
inline uint8_t& PistolLevel = Upgrades[8];
inline uint8_t& ReloadBlastLevel = Upgrades[9];

// The unit step of a heading in whole degrees: the byte angle a * 256 div 360 + 64, wrapped to a byte.
double HeadingX(int32_t degrees);
double HeadingY(int32_t degrees);

// Puts the player globals back to their start values (program start).
void ResetPlayerGlobals();
