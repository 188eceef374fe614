// Mines and blasts: laying by mine level, the mine's own blow, blast growth and life, one victim a tick,
// scores and kills, where the blood flies from.
#include "BOMBS.h"

#include "GEngine.h"
#include "GameTick.h"
#include "MONSTER1.h"
#include "PLAYER.h"
#include "RUN_GAME.h"
#include "assets.h"
#include "bullets.h"
#include "level.h"
#include "test_world.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int32_t kKeyM = 77;

template <typename T> std::vector<T*> All() {
    std::vector<T*> found;
    for (const auto& s : GameEngine->List)
        if (auto* t = dynamic_cast<T*>(s.get())) found.push_back(t);
    return found;
}

class Bombs : public ::testing::Test {
  protected:
    void SetUp() override {
        engine = &fake::World();
        TexZombie = engine->NewTexture(10, 3);
        TexMine = engine->NewTexture();
        TexExplosion = engine->NewTexture(4, 4);
        for (ZB_Texture*& blood : TexBlood)
            blood = engine->NewTexture();
        Level = 1;
        Player()->X = 400;
        Player()->Y = 300;
    }
    // Holds M with the mine upgrade at a level until the soldier lays a mine, and returns it.
    TMINE1* LayMine(uint8_t level) {
        MineLevel = level;
        engine->keysDown.insert(kKeyM);
        const size_t before = All<TMINE1>().size();
        for (int tick = 0; tick < 300 && All<TMINE1>().size() == before; ++tick)
            Player()->Move();
        engine->keysDown.clear();
        return All<TMINE1>().back();
    }
    template <typename Monster = TZOMBI> static Monster* ZombieAt(int32_t x, int32_t y, int16_t health) {
        auto* m = GameEngine->Add<Monster>();
        m->X = x;
        m->Y = y;
        m->Angle = 30;
        m->Health = health;
        m->PlaceHitBox(ZB_Rect{static_cast<float>(x), static_cast<float>(y), 14, 14});
        return m;
    }
    // Moves a blast until it ends; returns its ticks of life.
    static int Burn(CSprite* blast) {
        int ticks = 0;
        while (!blast->Dead && ticks < 1000) {
            blast->Move();
            ++ticks;
        }
        return ticks;
    }
    fake::Engine* engine = nullptr;
};

TEST_F(Bombs, TheSoldierLaysAMineUnderHisMiddleTurnedAcrossHisAim) {
    engine->mouseX = 430; // straight below the soldier: he faces down, angle 0
    engine->mouseY = 500;
    TMINE1* mine = LayMine(1);
    EXPECT_EQ(mine->X, 430);
    EXPECT_EQ(mine->Y, 330);
    EXPECT_EQ(mine->Angle, -90);
    mine->Move();
    EXPECT_FALSE(mine->Dead); // no monster, no time limit
}

TEST_F(Bombs, MineBlastsStopGrowingAtTheirLevelsSizeAndFadeByIt) {
    struct Row {
        uint8_t level;
        int32_t size;
        int ticks;
    };
    for (const Row& row : {Row{1, 105, 30}, Row{2, 265, 30}, Row{3, 365, 35}}) {
        TMINE1* mine = LayMine(row.level);
        ZombieAt(mine->X, mine->Y, 10000);
        mine->Move();
        ASSERT_TRUE(mine->Dead);
        TBoomN1* blast = All<TBoomN1>().back();
        EXPECT_EQ(Burn(blast), row.ticks) << int(row.level);
        EXPECT_EQ(blast->W, row.size);
        EXPECT_EQ(blast->H, row.size);
        // Centred on the mine as it grew.
        EXPECT_EQ(blast->X, mine->X - (row.size - 5) / 2) << int(row.level);
    }
}

TEST_F(Bombs, AMineOfLevelThreeLaidLaterMakesEveryMineAndBlastStrikeAtItsStrength) {
    TMINE1* first = LayMine(1);
    Player()->X = 800; // the second mine away from the first
    TMINE1* second = LayMine(3);
    auto* z = ZombieAt(first->X, first->Y, 1000);
    first->Move();
    EXPECT_EQ(z->Health, 920);
    TBoomN1* blast = All<TBoomN1>().back();
    blast->Move();
    EXPECT_EQ(z->Health, 840);
    EXPECT_EQ(Burn(blast), 34);
    EXPECT_EQ(blast->W, 365);
    EXPECT_FALSE(second->Dead);
}

TEST_F(Bombs, TheMinesOwnBlowCountsNoKillButItsBlastsDo) {
    TMINE1* mine = LayMine(1);
    auto* victim = ZombieAt(mine->X, mine->Y, 8);
    mine->Move();
    EXPECT_EQ(victim->Health, 0);
    EXPECT_EQ(MonstersKilled, 0);
    EXPECT_EQ(Score, 0);
    EXPECT_EQ(All<TSLED>().size(), 6u); // the blood flies all the same
    auto* next = ZombieAt(mine->X + 20, mine->Y + 20, 8);
    All<TBoomN1>().back()->Move();
    EXPECT_EQ(next->Health, 0);
    EXPECT_EQ(MonstersKilled, 1);
    EXPECT_EQ(Score, 25);
}

TEST_F(Bombs, ABlastHurtsOneMonsterATickTheFirstLivingOneUnderIt) {
    auto* blast = GameEngine->Add<TBAZBOM>();
    blast->X = blast->Y = 100;
    auto* corpse = ZombieAt(120, 120, 0);
    auto* first = ZombieAt(130, 130, 30);
    auto* second = ZombieAt(140, 140, 30);
    blast->Move();
    EXPECT_EQ(first->Health, 10);
    EXPECT_EQ(second->Health, 30);
    blast->Move();
    EXPECT_EQ(first->Health, -10);
    EXPECT_EQ(second->Health, 30);
    blast->Move();
    EXPECT_EQ(second->Health, 10);
    EXPECT_EQ(corpse->Health, 0);
    EXPECT_EQ(Score, 36);
    EXPECT_EQ(MonstersKilled, 1);
}

TEST_F(Bombs, ABlastOverSeveralKindsHurtsTheSpiderFirstThenTheAlienThenTheZombieEachForItsScore) {
    MineBlastSize = 100;
    MineDamage = 20;
    auto* blast = GameEngine->Add<TBoomN1>();
    blast->X = blast->Y = 100;
    auto* zombie = ZombieAt<TZOMBI>(120, 120, 20);
    auto* alien = ZombieAt<TALIEN>(125, 125, 20);
    auto* spider = ZombieAt<TPAYK_Y>(130, 130, 20);
    std::vector<int32_t> scores;
    for (int tick = 0; tick < 3; ++tick) {
        blast->Move();
        scores.push_back(Score);
        if (tick == 0) {
            EXPECT_EQ(alien->Health + zombie->Health, 40);
        }
    }
    EXPECT_EQ(spider->Health + alien->Health + zombie->Health, 0);
    EXPECT_EQ(scores, (std::vector<int32_t>{20, 30, 55}));
    EXPECT_EQ(MonstersKilled, 3);

    // The shell's blast and the fireball score less, the alien least.
    Score = 0;
    auto* shell = GameEngine->Add<TBAZBOM>();
    shell->X = shell->Y = 100;
    ZombieAt<TALIEN>(120, 120, 100);
    shell->Move();
    EXPECT_EQ(Score, 5);
    auto* fireball = GameEngine->Add<TBOOM_SHIP>();
    fireball->X = fireball->Y = 100;
    ZombieAt<TPAYK_Y>(120, 120, 100);
    fireball->Move();
    EXPECT_EQ(Score, 15);
}

TEST_F(Bombs, TheBazookaBlastGrowsToTwoHundredAndFiveInTwentyTicksAndIsDrawnAdditively) {
    auto* blast = GameEngine->Add<TBAZBOM>();
    blast->X = blast->Y = 100;
    EXPECT_EQ(Burn(blast), 20);
    EXPECT_EQ(blast->W, 205);
    EXPECT_EQ(blast->Angle, 20);
    blast->Draw();
    EXPECT_EQ(engine->blendModes, (std::vector<int32_t>{1, 0}));
    Paused = true;
    EXPECT_EQ(GameEngine->Add<TBAZBOM>()->Texture, nullptr); // nothing comes of a shell during a pause
}

TEST_F(Bombs, TheFireballBurnsThirtyTicksAndBloodFliesFromItsVictim) {
    auto* fireball = GameEngine->Add<TBOOM_SHIP>();
    fireball->X = fireball->Y = 100;
    auto* z = ZombieAt(200, 200, 20);
    fireball->Move();
    EXPECT_EQ(z->Health, 0);
    EXPECT_EQ(Score, 12);
    const auto marks = All<TSLED>();
    ASSERT_EQ(marks.size(), 6u);
    EXPECT_NEAR(marks[0]->X, 200 + 24, 16);
    EXPECT_NEAR(marks[0]->Y, 200 + 24, 16);

    // A mine's blast throws the blood from its own corner instead.
    auto* blast = GameEngine->Add<TBoomN1>();
    blast->X = blast->Y = 600;
    MineBlastSize = 100;
    MineDamage = 20;
    ZombieAt(620, 620, 20);
    blast->Move();
    const auto more = All<TSLED>();
    ASSERT_EQ(more.size(), 12u);
    EXPECT_NEAR(more[6]->X, 590 + 24, 16);

    EXPECT_EQ(Burn(fireball), 29);
}

} // namespace
