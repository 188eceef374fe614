// The soldier: aiming, walking, the fire and reload cycle, mines, death; his state, the upgrades he has
// bought and what buying one does at once.
#pragma once

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

// The soldier's state besides his sprite.
struct SoldierBlock {
    float posX = 900.0f, posY = 0.0f; // exact position; the sprite's X, Y are these rounded
    float speed = 1.1f;               // pixels per tick per held direction key
    bool dead = false;
    uint8_t spreadHeat = 0; // aiming spread, raised by shots, cooling by 1 a tick
    bool reloading = false;
    float reloadTimer = 0.0f, shotTimer = 0.0f;
    int32_t clipAmmo = 0;
    int32_t ammoBar = 0; // clipAmmo * 4 - 81, drawn by the HUD
    int32_t bonusShots = 0;
    int32_t mineCharge = 0; // mine-laying progress in camera-X units
    uint16_t mineDamage = 0, mineBlastSize = 0;
};
extern SoldierBlock Soldier;

inline float& PlayerPosX = Soldier.posX;
inline float& PlayerPosY = Soldier.posY;
inline float& PlayerSpeed = Soldier.speed;
inline bool& PlayerDead = Soldier.dead;
inline uint8_t& SpreadHeat = Soldier.spreadHeat;
inline bool& Reloading = Soldier.reloading;
inline float& ReloadTimer = Soldier.reloadTimer;
inline float& ShotTimer = Soldier.shotTimer;
inline int32_t& ClipAmmo = Soldier.clipAmmo;
inline int32_t& AmmoBar = Soldier.ammoBar;
inline int32_t& BonusShots = Soldier.bonusShots;
inline int32_t& MineCharge = Soldier.mineCharge;
inline uint16_t& MineDamage = Soldier.mineDamage;
inline uint16_t& MineBlastSize = Soldier.mineBlastSize;

// The soldier's picture is this wide and high; he turns about its middle.
constexpr int32_t kSoldierSize = 60;
// The box the soldier's position is kept in.
constexpr float kSoldierLeft = 91.0f, kSoldierRight = 1450.0f, kSoldierTop = -468.0f, kSoldierBottom = 565.0f;

// The ten upgrades, in the order of the panel's lines; levels 0 .. 3, bought on the upgrade panel.
enum class Upgrade : uint8_t {
    Damage,
    FireRate,
    Ammo,
    Regen,
    Armour,
    Speed,
    Weapon,
    Mines,
    Healing,
    ReloadBlast
};
constexpr int kUpgradeCount = 10;
extern uint8_t Upgrades[kUpgradeCount];

inline uint8_t& DamageLevel = Upgrades[static_cast<int>(Upgrade::Damage)];
inline uint8_t& FireRateLevel = Upgrades[static_cast<int>(Upgrade::FireRate)];
inline uint8_t& AmmoLevel = Upgrades[static_cast<int>(Upgrade::Ammo)];
inline uint8_t& ArmorLevel = Upgrades[static_cast<int>(Upgrade::Armour)];
inline uint8_t& MineLevel = Upgrades[static_cast<int>(Upgrade::Mines)];
inline uint8_t& PistolLevel = Upgrades[static_cast<int>(Upgrade::Healing)];
inline uint8_t& ReloadBlastLevel = Upgrades[static_cast<int>(Upgrade::ReloadBlast)];

void ClearUpgrades();
// What a level of the upgrade just bought does at once, besides the level itself (damage, fire rate, armour
// and the fragment ring are read where they act): a full clip, regeneration, speed, a random weapon at the
// soldier's feet as play resumes, the placing of the soldier for the mines, thirty points of health.
void ApplyUpgrade(Upgrade upgrade);
// Closes the upgrade panel and resumes play.
void BackToPlay();

// How much the shot timer gains a tick, by the fire-rate level and whether the defence bonus runs.
float FireGain(uint8_t fireRateLevel, bool defence);
// How much the reload timer gains a tick, by the ammunition level.
float ReloadStep(uint8_t ammoLevel);
