// The game's sprite table: the per-tick move, the spawn passes at the field edges, and the fragment ring.
#include "GEngine.h"

#include "MONSTER1.h"
#include "OSKOLOK.h"
#include "PLAYER.h"
#include "RUN_GAME.h"
#include "RandomGen.h"
#include "ZORBEL.h"
#include "level.h"

TGameENGINE* GameEngine = nullptr;
double ZombieLastSpawn = 0.0, AlienLastSpawn = 0.0, SpiderLastSpawn = 0.0, MixedLastSpawn = 0.0;

void ResetSpawnClocks() {
    ZombieLastSpawn = AlienLastSpawn = SpiderLastSpawn = MixedLastSpawn = 0.0;
}

namespace {

struct Edges {
    bool top, bottom, left, right;
};

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
    if (m->Kind() == MonsterKind::Alien && MonstersKilled < 5) m->Health = 25;
}

// The kinds the mixed group draws from.
constexpr SpawnOne kMixedKinds[] = {Spawn<TZOMBI>, Spawn<TALIEN>, Spawn<TPAYK_Y>};

void SpawnMixed(int edge, double& lastSpawn) {
    constexpr uint32_t kinds = sizeof(kMixedKinds) / sizeof(kMixedKinds[0]);
    kMixedKinds[Random(kinds)](edge, lastSpawn);
}

// One pass of a group: the time test once, then one monster per set edge while the budget lasts. A group
// whose edges are all clear creates nothing and keeps its old time.
void SpawnPass(bool enabled, uint16_t interval, double& lastSpawn, const Edges& edges, SpawnOne spawn) {
    if (!(U_GetTime() >= lastSpawn + interval && enabled)) return;
    const bool set[4] = {edges.top, edges.bottom, edges.left, edges.right};
    for (int edge = 0; edge < 4; ++edge) {
        if (MonstersLeft != 0 && set[edge]) spawn(edge, lastSpawn);
    }
}

} // namespace

void TGameENGINE::Move() {
    Randomize();
    CSpriteEngine::Move();
    if (Paused) return;
    SpawnPass(ZombieSpawn, ZombieInterval, ZombieLastSpawn,
              {ZombieFromTop, ZombieFromBottom, ZombieFromLeft, ZombieFromRight}, Spawn<TZOMBI>);
    SpawnPass(AlienSpawn, AlienInterval, AlienLastSpawn,
              {AlienFromTop, AlienFromBottom, AlienFromLeft, AlienFromRight}, Spawn<TALIEN>);
    SpawnPass(SpiderSpawn, SpiderInterval, SpiderLastSpawn,
              {SpiderFromTop, SpiderFromBottom, SpiderFromLeft, SpiderFromRight}, Spawn<TPAYK_Y>);
    // The fourth group has no kind of its own: each of its monsters is a zombie, an alien or a spider at
    // random.
    SpawnPass(MixedSpawn, MixedInterval, MixedLastSpawn,
              {MixedFromTop, MixedFromBottom, MixedFromLeft, MixedFromRight}, SpawnMixed);
}

RingShape FragmentRingShape(uint8_t reloadBlastLevel) {
    switch (reloadBlastLevel) {
    case 1:
        return {9, 45};
    case 3:
        return {31, 12};
    default:
        return {16, 24};
    }
}

void FragmentRing(int32_t x, int32_t y, ZB_Texture* picture, uint8_t speed) {
    FragSpeed = speed; // every fragment in flight follows it
    const RingShape ring = FragmentRingShape(ReloadBlastLevel);
    for (int32_t i = 0; i < ring.count; ++i) {
        TOSKOLOK* f = GameEngine->Add<TOSKOLOK>();
        f->Texture = picture;
        f->X = x;
        f->Y = y;
        f->Angle = i * ring.step;
    }
}
