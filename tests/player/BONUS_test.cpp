// Weapon pickups and bonuses: creation, fade and lifetime, collecting and what each bonus does, the nuclear
// strike's flash, ring and crater, the drop and placement rolls, clearing by kind.
#include "BONUS.h"

#include "BOMBS.h"
#include "GEngine.h"
#include "GameTick.h"
#include "MONSTER1.h"
#include "OSKOLOK.h"
#include "PLAYER.h"
#include "RUN_GAME.h"
#include "RandomGen.h"
#include "SquallSound.h"
#include "assets.h"
#include "bullets.h"
#include "effects.h"
#include "level.h"
#include "settings.h"
#include "test_world.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

namespace {

std::vector<TWeaponPickup*> Pickups() {
    std::vector<TWeaponPickup*> found;
    for (const auto& s : GameEngine->List)
        if (auto* p = dynamic_cast<TWeaponPickup*>(s.get())) found.push_back(p);
    return found;
}

class Pickup : public ::testing::Test {
  protected:
    void SetUp() override {
        EmptyField();
        Level = 1;
    }
    // A fresh field; the pictures of the earlier one went with its engine.
    static fake::Engine& EmptyField() {
        fake::Engine& engine = fake::World();
        TexIconPistol = engine.NewTexture(4, 1);
        TexBulletAutomat = engine.NewTexture();
        Player()->HitBox = ZB_Rect{920, 24, 17, 11};
        return engine;
    }
    // Pickups lie at y 50 or below, out of the soldier's reach, until put under his feet.
    static void UnderFoot(TWeaponPickup* p) {
        p->X = 910;
        p->Y = 10;
    }
};

TEST_F(Pickup, ANewPickupLiesSomewhereOnTheFieldInvisibleAndFadesInUntilItsTimeRunsOut) {
    auto* p = CreateWeaponPickup(Weapon::Pistol);
    EXPECT_EQ(p->Texture, TexIconPistol);
    EXPECT_EQ(p->Alpha, 0);
    EXPECT_TRUE(p->X >= -1400 && p->X < 1350 && p->Y >= 50 && p->Y < 550) << p->X << " " << p->Y;
    auto* drob = CreateWeaponPickup(Weapon::Shotgun);
    auto* automat = CreateWeaponPickup(Weapon::Automat);
    std::vector<int> seen;
    for (int tick = 1; tick <= 500; ++tick) {
        EXPECT_FALSE(p->Dead) << tick;
        for (auto* q : {p, drob, automat})
            q->Move();
        if (tick == 20 || tick == 60) seen.insert(seen.end(), {p->Alpha, drob->Alpha, automat->Alpha});
    }
    EXPECT_EQ(seen, (std::vector<int>{100, 200, 100, 255, 255, 200}));
    EXPECT_TRUE(p->Dead);
    EXPECT_FALSE(automat->Dead); // 700 ticks
}

TEST_F(Pickup, CollectingEvenTheWeaponInHandEmptiesTheClipStartsAReloadAndSweepsTheTraces) {
    CurrentWeapon = Weapon::Automat;
    ClipAmmo = 12;
    ReloadTimer = 50.0f;
    auto* trace = GameEngine->Add<TSLED2PUL>();
    auto* p = CreateWeaponPickup(Weapon::Automat);
    p->Lifetime = 1; // and it can still be taken on its last tick
    UnderFoot(p);
    p->Move();
    EXPECT_TRUE(p->Dead);
    EXPECT_TRUE(trace->Dead);
    EXPECT_EQ(ClipAmmo, 0);
    EXPECT_TRUE(Reloading);
    EXPECT_EQ(ReloadTimer, 0.0f);
    EXPECT_EQ(ShotInterval, 9);
    EXPECT_EQ(ClipSize, 30);
    EXPECT_EQ(BulletTexture, TexBulletAutomat);
    EXPECT_EQ(SndShot, SndShotAutomat);

    PistolLevel = 3;
    p = CreateWeaponPickup(Weapon::Pistol);
    UnderFoot(p);
    p->Move();
    EXPECT_EQ(CurrentWeapon, Weapon::Pistol);
    EXPECT_EQ(BulletDamage, 50);
    EXPECT_EQ(BonusShots, 5);
    EXPECT_EQ(BaseBonusShots, 5);
}

TEST_F(Pickup, CollectedInTheTablesPassItSweepsTracesOnBothSidesOfTheSlotsFreedBeforeIt) {
    CurrentWeapon = Weapon::Automat;
    auto* behind = GameEngine->Add<TSLED1PUL>();
    GameEngine->Add<TSLED>()->Dead = true; // freed by the pass just before the pickup moves
    auto* p = CreateWeaponPickup(Weapon::Automat);
    GameEngine->Add<TSLED2PUL>();
    UnderFoot(p);
    GameEngine->Move();
    EXPECT_TRUE(p->Dead);
    EXPECT_TRUE(behind->Dead); // already moved: it goes on the next pass
    // The trace after it in the table was marked before the walk reached it: this pass freed it.
    EXPECT_TRUE(std::none_of(GameEngine->List.begin(), GameEngine->List.end(),
                             [](const auto& s) { return dynamic_cast<TSLED2PUL*>(s.get()); }));
}

TEST_F(Pickup, OneMadeDuringAPauseIsBlankAndGoesOnItsFirstMoveUnlessItIsCollected) {
    Paused = true;
    const uint32_t seed = RandSeed;
    auto* p = CreateWeaponPickup(Weapon::Automat);
    auto* onPlayer = CreateWeaponPickup(Weapon::Automat);
    EXPECT_EQ(RandSeed, seed);
    EXPECT_EQ(p->Texture, nullptr);
    p->Move();
    EXPECT_FALSE(p->Dead); // nothing moves while paused
    Paused = false;
    p->Move();
    EXPECT_TRUE(p->Dead);
    EXPECT_EQ(CurrentWeapon, Weapon::None);
    UnderFoot(onPlayer);
    onPlayer->Move();
    EXPECT_EQ(CurrentWeapon, Weapon::Automat);
}

TEST_F(Pickup, TheWeaponRollDropsOnlyTheSevenWeaponsBeyondThePistolAndOnlyOneAtATime) {
    WeaponKindsOpen = 9;
    std::set<int> dropped;
    for (uint32_t seed = 0; seed < 200; ++seed) {
        EmptyField();
        CurrentWeapon = Weapon::Automat; // dropped, taken back at once, and a bonus roll instead
        RandSeed = seed;
        const uint32_t i = Random(9);
        RandSeed = seed;
        DropOnKill(30, 40, 0);
        const auto made = Pickups();
        ASSERT_EQ(made.size(), (i >= 1 && i <= 7) ? 1u : 0u) << i;
        if (made.empty()) continue;
        EXPECT_EQ(made[0]->Carried, WeaponAt(static_cast<int>(i)));
        EXPECT_EQ(made[0]->Dead, i == 1);
        EXPECT_EQ(made[0]->X, 30);
        dropped.insert(static_cast<int>(made[0]->Carried));
        DropOnKill(30, 40, 0);
        EXPECT_EQ(Pickups().size(), 1u);
    }
    EXPECT_EQ(dropped.size(), 7u);

    for (uint8_t open : {0, 1}) {
        WeaponKindsOpen = open;
        EmptyField();
        for (int k = 0; k < 50; ++k)
            DropOnKill(0, 0, 0);
        EXPECT_TRUE(Pickups().empty());
    }
}

TEST_F(Pickup, LevelsElevenToTwentyHaveNoDropsOrPlacements) {
    WeaponKindsOpen = 9;
    for (uint8_t level : {10, 11, 20, 21}) {
        Level = level;
        const bool allowed = level == 10 || level == 21;
        // Either roll draws a random number first, whatever it gives.
        const uint32_t seed = RandSeed;
        PlaceWeaponPickup(0, 0);
        EXPECT_EQ(RandSeed != seed, allowed) << int(level);
        const uint32_t again = RandSeed;
        DropOnKill(0, 0, 0);
        EXPECT_EQ(RandSeed != again, allowed) << int(level);
    }
}

TEST_F(Pickup, PlacementNeverGivesTheWeaponInHandAndAlwaysEnds) {
    WeaponKindsOpen = 9;
    for (Weapon inHand : {Weapon::Pistol, Weapon::Automat, Weapon::Otra}) {
        for (int k = 0; k < 100; ++k) {
            EmptyField();
            CurrentWeapon = inHand;
            PlaceWeaponPickup(70, 80);
            for (auto* p : Pickups()) {
                if (p->Dead) continue;
                EXPECT_EQ(p->X, 70);
                UnderFoot(p);
                p->Move();
                EXPECT_NE(CurrentWeapon, inHand);
            }
        }
    }
    // With one kind open or none only the pistol can come: it is given up on when in hand.
    for (Weapon inHand : {Weapon::Pistol, Weapon::Automat}) {
        for (uint8_t open : {0, 1}) {
            WeaponKindsOpen = open;
            CurrentWeapon = inHand;
            EmptyField();
            PlaceWeaponPickup(0, 0);
            const auto made = Pickups();
            ASSERT_EQ(made.size(), 1u);
            EXPECT_EQ(made[0]->Dead, CurrentWeapon == Weapon::Pistol);
        }
    }
}

TEST_F(Pickup, ClearingAndLookingUpKinds) {
    EXPECT_FALSE(WeaponPickupPresent());
    auto* weapon = CreateWeaponPickup(Weapon::Otra);
    const std::vector<CSprite*> all = {weapon,
                                       GameEngine->Add<TBullet>(),
                                       GameEngine->Add<TZOMBI>(),
                                       GameEngine->Add<TALIEN>(),
                                       GameEngine->Add<TPAYK_Y>(),
                                       GameEngine->Add<TSLED>(),
                                       GameEngine->Add<TOSKOLOK>(),
                                       GameEngine->Add<TSOLN>(),
                                       GameEngine->Add<TKRATER>(),
                                       GameEngine->Add<TNUKEBOOM>(),
                                       GameEngine->Add<TVOLNA>(),
                                       GameEngine->Add<TBOOM_SHIP>(),
                                       GameEngine->Add<TMINE1>()};
    // Blasts, flashes and cases go by themselves, the bullet's own flash and case among them.
    const std::vector<CSprite*> left = {GameEngine->Add<TBoomN1>(), GameEngine->Add<TBAZBOM>(),
                                        GameEngine->At(weapon->ID + 2), GameEngine->At(weapon->ID + 3)};
    const std::vector<CSprite*> traces = {GameEngine->Add<TSLED1PUL>(), GameEngine->Add<TSLED2PUL>()};
    EXPECT_TRUE(WeaponPickupPresent());
    const auto dead = [](const std::vector<CSprite*>& sprites) {
        return std::count_if(sprites.begin(), sprites.end(), [](CSprite* s) { return s->Dead; });
    };
    ClearBulletTraces();
    EXPECT_EQ(dead(all), 0);
    EXPECT_EQ(dead(traces), 2);
    ClearForNewGame();
    EXPECT_FALSE(Player()->Dead);
    EXPECT_EQ(dead(all), static_cast<std::ptrdiff_t>(all.size()));
    EXPECT_EQ(dead(left), 0);
    EXPECT_TRUE(WeaponPickupPresent()); // dead until the table takes it away
}

// What one bullet of a weapon takes from a monster once the weapon is picked up: plain, and with the first
// damage upgrade (30 % more, rounded half to even).
struct WeaponDamage {
    const char* weapon;
    int index;
    uint8_t pistolLevel;
    int16_t damage, upgraded;
};

void PrintTo(const WeaponDamage& row, std::ostream* out) {
    *out << row.weapon << " " << int{row.pistolLevel};
}

class WeaponHit : public Pickup, public ::testing::WithParamInterface<WeaponDamage> {
  protected:
    // Hit points one bullet of the weapon in hand takes from the zombie it stands in.
    static int16_t OneHit(TZOMBI& z) {
        const int16_t before = z.Health;
        auto* b = GameEngine->Add<TBullet>();
        b->PosX = b->PosY = 100.0f;
        b->VelX = b->VelY = b->Speed = 0.0f;
        b->Move();
        return static_cast<int16_t>(before - z.Health);
    }
};

TEST_P(WeaponHit, OneBulletTakesItsWeaponsDamage) {
    const WeaponDamage& row = GetParam();
    PistolLevel = row.pistolLevel;
    auto* p = CreateWeaponPickup(WeaponAt(row.index));
    UnderFoot(p);
    p->Move();
    ASSERT_STREQ(WeaponName(CurrentWeapon), row.weapon);
    EXPECT_EQ(BulletDamage, row.damage);
    auto* z = GameEngine->Add<TZOMBI>();
    z->Health = 30000;
    z->PlaceHitBox(ZB_Rect{110, 110, 30, 30});
    EXPECT_EQ(OneHit(*z), row.damage);
    DamageLevel = 1;
    EXPECT_EQ(OneHit(*z), row.upgraded);
}

INSTANTIATE_TEST_SUITE_P(
    Weapons, WeaponHit,
    ::testing::Values(WeaponDamage{"PUSTOLET", 0, 0, 30, 39}, WeaponDamage{"PUSTOLET", 0, 1, 35, 46},
                      WeaponDamage{"PUSTOLET", 0, 2, 40, 52}, WeaponDamage{"PUSTOLET", 0, 3, 50, 65},
                      WeaponDamage{"AUTOMAT", 1, 0, 40, 52}, WeaponDamage{"DROB", 2, 0, 30, 39},
                      WeaponDamage{"UZI", 3, 0, 34, 44}, WeaponDamage{"LASER", 4, 0, 100, 130},
                      WeaponDamage{"BAZUKA", 5, 0, 150, 195}, WeaponDamage{"NANO", 6, 0, 50, 65},
                      WeaponDamage{"OTRA", 7, 0, 25, 32}),
    [](const auto& info) { return info.param.weapon + std::to_string(info.param.pistolLevel); });

class Bonus : public Pickup {
  protected:
    void SetUp() override {
        engine = &EmptyField();
        Level = 1;
        for (ZB_Texture** picture :
             {&TexCrater, &TexNukeFlash, &TexShockWave, &TexIconLife, &TexIconSlowDown})
            *picture = engine->NewTexture();
        TexZombie = engine->NewTexture(10, 3);
        for (ZB_Texture*& blood : TexBlood)
            blood = engine->NewTexture();
    }
    // A bonus lying where the soldier stands; it is taken on its first move.
    template <typename T> static T* LyingUnderFoot() {
        T* bonus = GameEngine->Add<T>();
        bonus->X = 910;
        bonus->Y = 10;
        return bonus;
    }
    static TZOMBI* ZombieAt(int32_t x, int32_t y, int16_t health) {
        auto* z = GameEngine->Add<TZOMBI>();
        z->X = x;
        z->Y = y;
        z->W = z->H = 40;
        z->Health = health;
        z->PlaceHitBox(ZB_Rect{static_cast<float>(x), static_cast<float>(y), 14, 14});
        return z;
    }
    template <typename T> static std::vector<T*> All() {
        std::vector<T*> found;
        for (const auto& sprite : GameEngine->List)
            if (auto* t = dynamic_cast<T*>(sprite.get())) found.push_back(t);
        return found;
    }
    fake::Engine* engine = nullptr;
};

TEST_F(Bonus, LifeHealsFiftyAndNeverPastTheFullTwoHundred) {
    for (const auto& [before, after] : {std::pair{160.0f, 200.0f}, {150.0f, 200.0f}, {10.0f, 60.0f}}) {
        Player()->Health = before;
        auto* life = LyingUnderFoot<TLIFES>();
        life->Move();
        EXPECT_TRUE(life->Dead);
        EXPECT_EQ(Player()->Health, after) << before;
    }
}

TEST_F(Bonus, SlowDownAndDefenceRunFiveHundredTicksAndAnotherStartsTheCountAgain) {
    LyingUnderFoot<TZAMEDL>()->Move();
    LyingUnderFoot<TDEFENCE>()->Move();
    EXPECT_EQ(SlowDownTimer, 500);
    EXPECT_EQ(SlowDownBarTime, 500);
    EXPECT_EQ(DefenceTimer, 500);
    EXPECT_EQ(DefenceBarTime, 500);
    DefenceTimer = DefenceBarTime = 17;
    LyingUnderFoot<TDEFENCE>()->Move();
    EXPECT_EQ(DefenceTimer, 500);
    EXPECT_EQ(DefenceBarTime, 500);
    EXPECT_EQ(SlowDownTimer, 500);
}

TEST_F(Bonus, BonusesFadeInLieSevenHundredTicksAndCastTheirShadows) {
    auto* life = GameEngine->Add<TLIFES>();
    auto* slow = GameEngine->Add<TZAMEDL>();
    EXPECT_GE(life->Y, 50); // out of the soldier's reach
    std::vector<int> alphas;
    for (int tick = 1; tick <= 700; ++tick) {
        life->Move();
        if (tick == 20 || tick == 30 || tick == 31) alphas.push_back(life->Alpha);
        if (tick < 700) {
            ASSERT_FALSE(life->Dead) << tick;
        }
    }
    EXPECT_EQ(alphas, (std::vector<int>{200, 250, 255}));
    EXPECT_TRUE(life->Dead);
    life->Draw();
    slow->Draw();
    ASSERT_EQ(engine->draws.size(), 4u);
    EXPECT_EQ(engine->draws[0].fx, 9);
    EXPECT_EQ(engine->draws[2].fx, 1); // the slow-down's shadow is its own picture, faint
    EXPECT_EQ(engine->draws[2].alpha, 100);

    // The sun is only ever dropped on a kill, which places it: it draws no place of its own.
    const uint32_t seed = RandSeed;
    Random(100);
    const uint32_t oneDraw = RandSeed;
    RandSeed = seed;
    auto* sun = GameEngine->Add<TSOLN>();
    EXPECT_EQ(RandSeed, oneDraw);
    EXPECT_EQ(sun->X + sun->Y, 0);
}

TEST_F(Bonus, TheBonusRollGivesEachBonusOnItsOneNumberInSeventySix) {
    const auto rolled = [](uint32_t wanted) {
        uint32_t seed = 0;
        do {
            RandSeed = ++seed;
        } while (Random(76) != wanted);
        return seed;
    };
    const auto dropAndFind = [&](uint32_t d) -> CSprite* {
        EmptyField();
        CreateWeaponPickup(Weapon::Uzi); // a weapon on the field turns the roll to bonuses
        RandSeed = rolled(d);
        DropOnKill(100, 200, 0);
        return GameEngine->Count == 3 ? GameEngine->At(2) : nullptr;
    };
    EXPECT_NE(dynamic_cast<TNUKEBON*>(dropAndFind(15)), nullptr);
    EXPECT_NE(dynamic_cast<TSOLN*>(dropAndFind(30)), nullptr);
    EXPECT_NE(dynamic_cast<TLIFES*>(dropAndFind(45)), nullptr);
    EXPECT_NE(dynamic_cast<TZAMEDL*>(dropAndFind(60)), nullptr);
    CSprite* defence = dropAndFind(75);
    EXPECT_NE(dynamic_cast<TDEFENCE*>(defence), nullptr);
    ASSERT_NE(defence, nullptr);
    EXPECT_EQ(defence->X, 105);
    EXPECT_EQ(defence->Y, 205);
    for (uint32_t miss : {0u, 16u, 74u})
        EXPECT_EQ(dropAndFind(miss), nullptr) << miss;
}

TEST_F(Bonus, TheSunShakesTheFieldAndFiresARingOfPiercingFragmentsFromWhereItLay) {
    ReloadBlastLevel = 3;
    LyingUnderFoot<TSOLN>()->Move();
    EXPECT_TRUE(FragPierce);
    EXPECT_TRUE(ScreenShake);
    EXPECT_EQ(FragSpeed, 15);
    const auto fragments = All<TOSKOLOK>();
    ASSERT_EQ(fragments.size(), 31u); // the ring of the reload-blast level
    EXPECT_EQ(fragments[0]->X, 910);
    EXPECT_EQ(fragments[0]->Y, 10);
    EXPECT_EQ(fragments[0]->Texture, TexSunStrike);
}

TEST_F(Bonus, TheNukeBringsTheWholeStrikeCentredWhereItLay) {
    FragPierce = true;
    FragSpeed = 15;
    auto* nuke = LyingUnderFoot<TNUKEBON>();
    nuke->Move();
    EXPECT_EQ(NukeFlash, 150);
    EXPECT_FALSE(FragPierce);
    EXPECT_EQ(FragSpeed, 7);
    EXPECT_TRUE(ScreenShake);
    const int32_t first = nuke->ID + 1;
    ASSERT_EQ(GameEngine->Count, first + 14);
    auto* flash = dynamic_cast<TNUKEBOOM*>(GameEngine->At(first));
    auto* crater = dynamic_cast<TKRATER*>(GameEngine->At(first + 1));
    auto* ring = dynamic_cast<TVOLNA*>(GameEngine->At(first + 2));
    auto* glow = dynamic_cast<TBOOM_SHIP*>(GameEngine->At(first + 3));
    ASSERT_TRUE(flash && crater && ring && glow);
    EXPECT_EQ(std::vector<int32_t>({flash->X, flash->Y, flash->Alpha}), (std::vector<int32_t>{910, 10, 155}));
    EXPECT_EQ(std::vector<int32_t>({crater->X, crater->Y, crater->W}), (std::vector<int32_t>{846, -54, 128}));
    EXPECT_EQ(std::vector<int32_t>({ring->X, ring->Y}), (std::vector<int32_t>{910, 10}));
    EXPECT_EQ(std::vector<int32_t>({glow->X, glow->Y, glow->W, glow->Alpha}),
              (std::vector<int32_t>{782, -118, 256, 30}));
    const auto fragments = All<TOSKOLOK>();
    ASSERT_EQ(fragments.size(), 10u);
    EXPECT_EQ(fragments[0]->Alpha, 220);
    EXPECT_EQ(fragments[1]->Alpha, 180);
    EXPECT_EQ(fragments[5]->Alpha, 200);
    EXPECT_EQ(fragments[9]->Texture, TexNukeDebris);
}

TEST_F(Bonus, TheFlashKillsOneMonsterATickAndAHeavyOneTakesTwoBlows) {
    auto* flash = GameEngine->Add<TNUKEBOOM>();
    flash->X = flash->Y = 500;
    flash->Angle = 10;
    auto* heavy = ZombieAt(350, 350, 700);
    auto* second = ZombieAt(600, 600, 100);
    auto* outside = ZombieAt(710, 500, 100); // beyond the 400 px square about the flash
    flash->Move();
    EXPECT_EQ(heavy->Health, 200);
    EXPECT_EQ(second->Health, 100);
    EXPECT_TRUE(All<TSLED>().empty());
    flash->Move();
    EXPECT_EQ(heavy->Health, -300);
    const auto traces = All<TSLED>();
    ASSERT_EQ(traces.size(), 1u);
    EXPECT_EQ(std::vector<int32_t>({traces[0]->X, traces[0]->Y, traces[0]->W, traces[0]->Angle}),
              (std::vector<int32_t>{350, 350, 80, 20}));
    flash->Move();
    EXPECT_EQ(second->Health, -400);
    for (int tick = 0; tick < 10; ++tick)
        flash->Move();
    EXPECT_EQ(outside->Health, 100);
    EXPECT_EQ(Score + MonstersKilled, 0);
}

TEST_F(Bonus, TheFlashAndTheRingSpreadFadeAndEnd) {
    auto* flash = GameEngine->Add<TNUKEBOOM>();
    flash->Alpha = 155;
    auto* ring = GameEngine->Add<TVOLNA>();
    int flashTicks = 0, ringTicks = 0;
    for (int tick = 1; tick <= 60; ++tick) {
        if (!flash->Dead) {
            flash->Move();
            flashTicks = tick;
        }
        if (!ring->Dead) {
            ring->Move();
            ringTicks = tick;
        }
        if (tick == 46) {
            EXPECT_EQ(flash->ScaleX, 900);
        }
    }
    EXPECT_EQ(flashTicks, 50);
    EXPECT_EQ(ringTicks, 49);
    EXPECT_EQ(ring->ScaleY, 50 + 49 * 20);
    engine->draws.clear();
    flash->Draw();
    ASSERT_EQ(engine->draws.size(), 3u);
    const fake::DrawCall& spread = engine->draws[1];
    EXPECT_EQ(spread.fx, 17);
    EXPECT_EQ(spread.scaleX, 900.0f);
    EXPECT_EQ(engine->blendModes, (std::vector<int32_t>{1, 0}));
}

TEST_F(Bonus, ACraterMadeDuringTheShakeIsBakedOnTheTickAfterItEndsAtAlpha120) {
    NuclearStrike(600, 100);
    auto* crater = All<TKRATER>().at(0);
    int ticks = 0;
    while (ScreenShake && ticks < 100) {
        GameTick();
        ++ticks;
    }
    EXPECT_EQ(ticks, 70);
    EXPECT_FALSE(crater->Dead);
    EXPECT_EQ(crater->Alpha, 180); // as it shows while it waits
    const auto stamps = [&] {
        return std::count_if(engine->draws.begin(), engine->draws.end(), [](const fake::DrawCall& d) {
            return d.texture == TexCrater && d.target != nullptr;
        });
    };
    EXPECT_EQ(stamps(), 0);
    GameTick();
    EXPECT_TRUE(crater->Dead);
    EXPECT_EQ(stamps(), 2); // across the border of two tiles
    for (const fake::DrawCall& d : engine->draws)
        if (d.texture == TexCrater) {
            EXPECT_EQ(d.alpha, 120);
        }
}

} // namespace
