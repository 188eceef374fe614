// The spawn passes at the field edges.
#include "Spawner.h"

#include "Battle.h"
#include "GEngine.h"
#include "MONSTER1.h"
#include "RandomGen.h"
#include "ZORBEL.h"

SpawnClocks LastSpawn;

namespace {

// Places a new monster on the spawn line of one edge, just outside the ground the player can reach.
void PlaceOnEdge(TMonster& m, int edge) {
    switch (edge) {
    case 0: // top
        m.PosX = static_cast<float>(Random(1480) + 20);
        m.PosY = -500.0f;
        break;
    case 1: // bottom
        m.PosX = static_cast<float>(Random(1480) + 20);
        m.PosY = 700.0f;
        break;
    case 2: // left
        m.PosX = 20.0f;
        m.PosY = static_cast<float>(600 - static_cast<int32_t>(Random(1050)));
        break;
    default: // right
        m.PosX = 1500.0f;
        m.PosY = static_cast<float>(600 - static_cast<int32_t>(Random(1050)));
        break;
    }
}

// Creates one monster of a kind and places it; the group's last time is taken between the two.
using SpawnOne = void (*)(int edge, double& lastSpawn);

template <typename Monster> void Spawn(int edge, double& lastSpawn) {
    Monster* m = GameEngine->Add<Monster>();
    --MonstersLeft;
    lastSpawn = U_GetTime();
    PlaceOnEdge(*m, edge);
    // Until the game's fifth kill every alien comes in at the same modest strength.
    if (m->Species() == MonsterKind::Alien && MonstersKilled < 5) m->Health = 25;
}

// The kinds the mixed group draws from.
constexpr SpawnOne kMixedKinds[] = {Spawn<TZOMBI>, Spawn<TALIEN>, Spawn<TPAYK_Y>};

void SpawnMixed(int edge, double& lastSpawn) {
    constexpr uint32_t kinds = sizeof(kMixedKinds) / sizeof(kMixedKinds[0]);
    kMixedKinds[Random(kinds)](edge, lastSpawn);
}

// One pass of a group: the time test once, then one monster per set edge while the budget lasts. A group
// whose edges are all clear creates nothing and keeps its old time.
void SpawnPass(const SpawnGroup& group, double& lastSpawn, SpawnOne spawn) {
    if (!(U_GetTime() >= lastSpawn + group.interval && group.spawn)) return;
    const bool set[4] = {group.fromTop, group.fromBottom, group.fromLeft, group.fromRight};
    for (int edge = 0; edge < 4; ++edge) {
        if (MonstersLeft != 0 && set[edge]) spawn(edge, lastSpawn);
    }
}

} // namespace

void SpawnMonsters() {
    SpawnPass(Battle.level.zombies, LastSpawn.zombies, Spawn<TZOMBI>);
    SpawnPass(Battle.level.aliens, LastSpawn.aliens, Spawn<TALIEN>);
    SpawnPass(Battle.level.spiders, LastSpawn.spiders, Spawn<TPAYK_Y>);
    // The fourth group has no kind of its own: each of its monsters is a zombie, an alien or a spider at
    // random.
    SpawnPass(Battle.level.mixed, LastSpawn.mixed, SpawnMixed);
}

void MoveSpritesAndSpawn() {
    GameEngine->Move();
    if (!Paused) SpawnMonsters();
}
