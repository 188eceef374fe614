// The spawn director: after the sprites' moves of a tick, each spawn group of the level sends its monsters in
// from the field's edges when its interval has passed.
#pragma once

// Engine time of the last monster each spawn group created; 0 at program start.
struct SpawnClocks {
    double zombies = 0.0, aliens = 0.0, spiders = 0.0, mixed = 0.0;
};
extern SpawnClocks LastSpawn;

inline double& ZombieLastSpawn = LastSpawn.zombies;
inline double& AlienLastSpawn = LastSpawn.aliens;
inline double& SpiderLastSpawn = LastSpawn.spiders;
inline double& MixedLastSpawn = LastSpawn.mixed;

// One pass of every group, in the order zombies, aliens, spiders, mixed.
void SpawnMonsters();
// The sprite table's part of a tick: every sprite moves, then, unless a move paused the game, the spawn
// passes.
void MoveSpritesAndSpawn();
