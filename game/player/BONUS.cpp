// Weapon pickups, the weapon table, random drops on kills, and clearing sprites by kind.
#include "BONUS.h"

std::string CurrentWeapon;
int32_t ShotInterval = 0, ReloadTime = 0, ClipSize = 0, BaseBonusShots = 0;
uint8_t ShotKind = 0;
float BulletSpeed = 0.0f;
uint16_t BulletDamage = 0;
ZB_Texture* BulletTexture = nullptr;
bool Piercing = false;
bool Wobble = false;
