// Level set-up: the 30-level table, the common reset of a new game, and the level and score globals.
#pragma once

#include <cstdint>

extern uint8_t Level;

// Spawn switches read by the spawn director. The fourth group brings a monster of a random kind.
extern bool ZombieSpawn, ZombieFromTop, ZombieFromBottom, ZombieFromLeft, ZombieFromRight;
extern bool AlienSpawn, AlienFromTop, AlienFromBottom, AlienFromLeft, AlienFromRight;
extern bool SpiderSpawn, SpiderFromTop, SpiderFromBottom, SpiderFromLeft, SpiderFromRight;
extern bool MixedSpawn, MixedFromTop, MixedFromBottom, MixedFromLeft, MixedFromRight;
extern uint16_t ZombieInterval, AlienInterval, SpiderInterval, MixedInterval; // ms between passes

extern uint16_t MonstersLeft;  // monsters the director may still create this level
extern uint16_t MonstersTotal; // kills that win the level
extern int32_t KillCount;      // corpses stamped this level
extern int32_t MonstersKilled; // kills of the whole game
extern int32_t Score;          // in hundreds
extern int8_t UpgradePoints;
extern bool LevelWon;
extern uint8_t RegenLevel;
extern uint8_t PointsAwarded; // score thresholds already paid out as upgrade points this game

// Sets up level n (1 .. 31) and starts it; any other n does nothing.
void SetupLevel(uint8_t n);
void RestartLevel(uint8_t n);
// The reset every new game goes through; expects Level to be set.
void StartLevel();

// Puts the level globals back to their start values (program start).
void ResetLevelGlobals();
