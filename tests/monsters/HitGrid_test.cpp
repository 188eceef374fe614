// The hit grid: the first monster under a box, asked of the grid, is the one a walk of every monster finds.
#include "MONSTER1.h"

#include "GEngine.h"
#include "test_world.h"

#include <gtest/gtest.h>

#include <random>
#include <utility>

namespace {

// The scan without a grid: every spider in slot order, then every alien, then every zombie, living only.
TMonster* WalkedFirst(const ZB_Rect& box) {
    for (MonsterKind kind : {MonsterKind::Spider, MonsterKind::Alien, MonsterKind::Zombie})
        for (TMonster* m : Monsters())
            if (m->Species() == kind && m->Health > 0 && Col_AABB(&box, &m->HitBox)) return m;
    return nullptr;
}

// Boxes of every sort the game makes and some it does not: mostly small ones in a crowded patch, with edges
// on cell borders and half pixels, and some huge, empty, turned inside out or far beyond the field.
ZB_Rect RandomBox(std::mt19937& rng) {
    auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<uint32_t>(n)); };
    auto coordinate = [&] {
        const float whole = static_cast<float>(pick(640) - 100);
        return pick(4) == 0 ? whole + 0.5f : whole;
    };
    ZB_Rect box{coordinate(), coordinate(), static_cast<float>(pick(40)), static_cast<float>(pick(40))};
    switch (pick(12)) {
    case 0:
        box.W = box.H = 400.0f;
        break;
    case 1: // from far beyond the field, or out past it
        if (pick(2)) box.X = -6000.0f - static_cast<float>(pick(900));
        box.W = 8000.0f;
        if (pick(2)) std::swap(box.X, box.Y), std::swap(box.W, box.H);
        break;
    case 2:
        box.W = -box.W;
        break;
    case 3:
        box.W = box.H = 0.0f;
        break;
    case 4:
        box.X = static_cast<float>(32 * pick(20)); // on a cell's border
        break;
    default:
        break;
    }
    return box;
}

TMonster* NewMonster(std::mt19937& rng) {
    switch (rng() % 3) {
    case 0:
        return GameEngine->Add<TZOMBI>();
    case 1:
        return GameEngine->Add<TALIEN>();
    default:
        return GameEngine->Add<TPAYK_Y>();
    }
}

class HitGridField : public ::testing::TestWithParam<uint32_t> {};

// Monsters come, move, die and leave the table between rounds of questions, as in play.
TEST_P(HitGridField, AnswersAsTheWalkOfEveryMonster) {
    fake::World();
    std::mt19937 rng(GetParam());
    for (int round = 0; round < 30; ++round) {
        for (int n = static_cast<int>(rng() % 40); n > 0; --n) {
            TMonster* m = NewMonster(rng);
            m->Health = static_cast<int16_t>(rng() % 4 == 0 ? 0 : 1 + rng() % 50);
            m->PlaceHitBox(RandomBox(rng));
        }
        for (TMonster* m : Monsters()) {
            if (rng() % 3 == 0) m->PlaceHitBox(RandomBox(rng));
            if (rng() % 10 == 0) m->Health = 0;
        }
        for (int n = static_cast<int>(rng() % 15); n > 0 && GameEngine->Count > 1; --n)
            GameEngine->RemoveSprite(
                1 + static_cast<int32_t>(rng() % static_cast<uint32_t>(GameEngine->Count - 1)));
        for (int q = 0; q < 300; ++q) {
            const ZB_Rect box = RandomBox(rng);
            ASSERT_EQ(FirstMonsterHit(box), WalkedFirst(box))
                << "round " << round << ", box " << box.X << ' ' << box.Y << ' ' << box.W << ' ' << box.H;
        }
    }
    delete GameEngine;
    GameEngine = nullptr;
}

INSTANTIATE_TEST_SUITE_P(Seeds, HitGridField, ::testing::Values(1u, 2u, 3u, 4u, 5u, 6u));

} // namespace
