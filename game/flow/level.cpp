// Level set-up: the 30-level table and the common reset of a new game.
#include "level.h"

uint8_t Level = 0;
bool ZombieSpawn, ZombieFromTop, ZombieFromBottom, ZombieFromLeft, ZombieFromRight;
bool AlienSpawn, AlienFromTop, AlienFromBottom, AlienFromLeft, AlienFromRight;
bool SpiderSpawn, SpiderFromTop, SpiderFromBottom, SpiderFromLeft, SpiderFromRight;
bool MixedSpawn, MixedFromTop, MixedFromBottom, MixedFromLeft, MixedFromRight;
uint16_t ZombieInterval = 0, AlienInterval = 0, SpiderInterval = 0, MixedInterval = 0;
uint16_t MonstersLeft = 0;
uint16_t MonstersTotal = 0;
int32_t KillCount = 0;
int32_t MonstersKilled = 0;
int32_t Score = 0;
int8_t UpgradePoints = 0;
bool LevelWon = false;
uint8_t RegenLevel = 0;
