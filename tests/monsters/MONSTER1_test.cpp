// Monsters: steering, frenzy, blood traces, ground stamping and the zombie's life from spawn to corpse.
#include "MONSTER1.h"

#include "GEngine.h"
#include "GameTick.h"
#include "PLAYER.h"
#include "RUN_GAME.h"
#include "RandomGen.h"
#include "assets.h"
#include "level.h"
#include "test_world.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <optional>
#include <random>
#include <set>
#include <utility>
#include <vector>

namespace {

fake::Engine* gFake = nullptr;
std::vector<uint8_t> gCameraSwitchAtStamp; // the camera switch at each Tex_BeginRenderIn

class Monsters : public ::testing::Test {
  protected:
    void SetUp() override {
        gFake = &fake::World();
        gCameraSwitchAtStamp.clear();
        Tex_BeginRenderIn = [](ZB_Texture* t, int32_t, int32_t, int32_t) {
            gCameraSwitchAtStamp.push_back(MainCamera->Switch);
            gFake->renderTarget = t;
        };
        TexZombie = gFake->NewTexture(10, 3);
        TexAlien = gFake->NewTexture(10, 3);
        TexSpider = gFake->NewTexture(10, 3);
        for (ZB_Texture*& blood : TexBlood)
            blood = gFake->NewTexture();
        player = Player();
        PlacePlayer(500, 500);
        Level = 1;
        AliveZombies = 100; // no frenzy unless a test asks for it
    }
    void TearDown() override {
        delete GameEngine;
        GameEngine = nullptr;
    }

    // Puts the soldier at (x, y) and re-centres the grid on it, as the frame procedure does.
    void PlacePlayer(int32_t x, int32_t y) {
        player->X = x;
        player->Y = y;
        PlayerPosX = static_cast<float>(x);
        PlayerPosY = static_cast<float>(y);
        player->HitBox = ZB_Rect{x + 15.0f, y + 15.0f, 30, 30};
        for (int i = 0; i <= 20; ++i) {
            for (int j = 0; j <= 20; ++j)
                Cell(i, j) = ZB_Rect{x - 170.0f + 20 * i, y - 170.0f + 20 * j, 20, 20};
        }
    }
    static ZB_Rect& Cell(int i, int j) { return ApproachGrids[kZombieGrid][i][j]; }

    // A zombie with known size, speed and heading at an exact position, holding no cell.
    TZOMBI* Walker(float x, float y, int32_t angle = 0, int32_t size = 40) {
        TZOMBI* z = GameEngine->Add<TZOMBI>();
        if (z->CellX >= 0) Cell(z->CellX, z->CellY).W = 20;
        z->CellX = z->CellY = -1;
        z->PosX = x;
        z->PosY = y;
        z->X = M_Round(x);
        z->Y = M_Round(y);
        z->W = z->H = size;
        z->Angle = angle;
        z->Speed = 1.0f;
        z->Health = 30;
        z->BiteDamage = 1.0f;
        return z;
    }
    // One tick and one frame, so the walk cycle keeps turning over as in the game.
    static void Tick(TMonster* z, int ticks = 1) {
        for (int n = 0; n < ticks; ++n) {
            z->Move();
            z->Draw();
        }
    }
    // The rectangle of the ground tile a draw landed in.
    static const ZB_Rect& TileOf(const fake::DrawCall& d) {
        for (int k = 0; k < kGroundTileCount; ++k)
            if (GroundTiles[k] == d.target) return GroundTileRects[k];
        ADD_FAILURE() << "not drawn into a ground tile";
        static const ZB_Rect none{};
        return none;
    }

    TPLAYER* player = nullptr;
};

TEST(Steering, TurnsTheShortWayRoundWithTiesGoingDown) {
    EXPECT_TRUE(TurnPositive(10, 20));
    EXPECT_FALSE(TurnPositive(10, 350));
    EXPECT_TRUE(TurnPositive(350, 10));
    EXPECT_FALSE(TurnPositive(20, 20));
    EXPECT_FALSE(TurnPositive(0, 180));
    EXPECT_FALSE(TurnPositive(180, 0));
    EXPECT_FALSE(TurnPositive(270, 90));
    EXPECT_TRUE(TurnPositive(89, 90)); // facing its target, a monster wobbles by a degree
    EXPECT_FALSE(TurnPositive(90, 90));
    // Angles are never wrapped in play, however far they run.
    EXPECT_TRUE(TurnPositive(10 + 360 * 1000, 20 - 360 * 5000));
    EXPECT_FALSE(TurnPositive(-350, 1090));                               // 10 against 10
    EXPECT_TRUE(TurnPositive(std::numeric_limits<int32_t>::max(), 137));  // 127 against 137
    EXPECT_FALSE(TurnPositive(std::numeric_limits<int32_t>::min(), 222)); // 232 against 222
}

// Told from the direction alone, wherever it answers, the way to turn is the way the whole-degree heading
// gives: at angles of several turns either way, toward targets all round (whole pixels and fractions), and
// toward targets just either side of the four edges where the found heading rounds across straight ahead or
// behind.
TEST(Steering, TheWayToTurnToldFromTheDirectionIsTheWayTheFoundHeadingGives) {
    fake::World();
    std::mt19937 rng(7);
    int asked = 0, answered = 0;
    auto check = [&](int32_t angle, float dx, float dy) {
        ++asked;
        const std::optional<bool> clear = ClearTurn(angle, dx, dy);
        if (!clear) return;
        ++answered;
        const int32_t heading = WholeDegrees(M_FindAngle(dx, dy, 0.0f, 0.0f) + 90.0f);
        ASSERT_EQ(*clear, TurnPositive(angle, heading))
            << "angle " << angle << ", direction " << dx << ' ' << dy;
    };
    std::uniform_int_distribution<int> pixels(-800, 800);
    std::uniform_real_distribution<float> fraction(-40.0f, 40.0f);
    for (int32_t angle = -1080; angle <= 1080; ++angle) {
        for (int n = 0; n < 20; ++n)
            check(angle, static_cast<float>(pixels(rng)), static_cast<float>(pixels(rng)));
        check(angle, fraction(rng), fraction(rng));
    }
    EXPECT_GT(answered, asked * 9 / 10); // the direction alone settles nearly every turn
    for (int32_t angle : {-1080, -361, -360, -1, 0, 1, 89, 90, 179, 180, 359, 360, 361, 719, 720,
                          std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::min()}) {
        const int64_t a = (int64_t{angle} % 360 + 360) % 360;
        for (double edge : {-89.5, -90.5, 89.5, 90.5})
            for (double off : {-0.3, -0.11, -0.1, -0.09, -0.01, 0.0, 0.01, 0.09, 0.1, 0.11, 0.3}) {
                const double t = (static_cast<double>(a) + edge + off) * std::numbers::pi / 180.0;
                for (double reach : {30.0, 5000.0})
                    check(angle, static_cast<float>(std::round(reach * std::cos(t))),
                          static_cast<float>(std::round(reach * std::sin(t))));
            }
    }
    check(90, 0.0f, 0.0f); // on the target: no direction, the found heading decides
}

TEST(Steering, NormAngleKeepsBothEndsOfATurn) {
    EXPECT_EQ(NormAngle(0), 0);
    EXPECT_EQ(NormAngle(360), 360);
    EXPECT_EQ(NormAngle(720), 360);
    EXPECT_EQ(NormAngle(361), 1);
    EXPECT_EQ(NormAngle(-1), 359);
    EXPECT_EQ(NormAngle(-360), 0);
    EXPECT_EQ(NormAngle(-3601), 359);
    const int64_t lowest = NormAngle(std::numeric_limits<int64_t>::min());
    const int64_t highest = NormAngle(std::numeric_limits<int64_t>::max());
    EXPECT_TRUE(lowest >= 0 && lowest < 360);
    EXPECT_TRUE(highest > 0 && highest <= 360);
}

TEST_F(Monsters, FrenzyComesOnlyInPlayWithThirteenOrFewerAlive) {
    TZOMBI* a = Walker(100, 100);
    TZOMBI* b = Walker(200, 100);
    TZOMBI* dying = Walker(300, 100);
    dying->Health = 0;
    AliveZombies = 10;
    AliveAliens = 3;
    AliveSpiders = 1;
    FrenzyCheck();
    EXPECT_EQ(a->Mode, 0);
    AliveSpiders = 0;
    ScreenState = Screen::Complete;
    FrenzyCheck();
    EXPECT_EQ(a->Mode, 0);

    // The check runs from each walking tick, and the walker turns on the player in that same tick.
    ScreenState = Screen::Play;
    Tick(a);
    EXPECT_EQ(a->Mode, 4);
    EXPECT_EQ(b->Mode, 4);
    EXPECT_EQ(dying->Mode, 0);
    EXPECT_GT((HeadingX(a->Angle) + HeadingY(a->Angle)) / std::sqrt(2.0), 0.99); // along (410, 410)
}

TEST_F(Monsters, FrenziedZombiesFaceThePlayerAndArePushedBackAtTheFieldEdges) {
    PlacePlayer(900, 0);
    struct Case {
        float x, y, wantX, wantY;
    };
    for (const Case& c : {Case{1460, 0, 1455, 0}, Case{90, 0, 95, 0}, Case{600, 570, 600, 565},
                          Case{600, -470, 600, -465}, Case{600, 100, 600, 100}}) {
        TZOMBI* z = Walker(c.x, c.y, 1000);
        z->Speed = 0.0f;
        z->Mode = 4;
        Tick(z);
        EXPECT_FLOAT_EQ(z->PosX, c.wantX);
        EXPECT_FLOAT_EQ(z->PosY, c.wantY);
        EXPECT_EQ(z->X, M_Round(c.wantX));
        EXPECT_EQ(z->Y, M_Round(c.wantY));
        const double toX = 930 - (c.x + 20), toY = 30 - (c.y + 20);
        const double along = (HeadingX(z->Angle) * toX + HeadingY(z->Angle) * toY) / std::hypot(toX, toY);
        EXPECT_GT(along, 0.99) << c.x << "," << c.y;
    }
}

TEST_F(Monsters, TraceAtAFourTileCornerIsStampedIntoEachTileThenRemoved) {
    SpawnTrace(356 - 41, -266 - 41, 82, 7, 82);
    auto* trace = static_cast<TSLED*>(GameEngine->At(1));
    trace->Move();
    EXPECT_TRUE(gFake->draws.empty()); // waits for the frame procedure's permission
    EXPECT_FALSE(trace->Dead);
    EXPECT_FLOAT_EQ(trace->HitBox.X, 315);
    EXPECT_FLOAT_EQ(trace->HitBox.W, 82);

    trace->StampToMap = true;
    trace->Move();
    ASSERT_EQ(gFake->draws.size(), 4u);
    std::set<std::pair<float, float>> tiles;
    for (const fake::DrawCall& d : gFake->draws) {
        const ZB_Rect& tile = TileOf(d);
        tiles.insert({tile.X, tile.Y});
        EXPECT_FLOAT_EQ(d.x, 315 - tile.X);
        EXPECT_FLOAT_EQ(d.y, -307 - tile.Y);
        EXPECT_FLOAT_EQ(d.angle, 7);
        EXPECT_EQ(d.fx, 1);
    }
    EXPECT_EQ(tiles, (std::set<std::pair<float, float>>{{100, -522}, {356, -522}, {100, -266}, {356, -266}}));
    EXPECT_EQ(gCameraSwitchAtStamp, (std::vector<uint8_t>(4, 0)));
    EXPECT_EQ(MainCamera->Switch, 1);
    EXPECT_TRUE(trace->Dead);

    SpawnTrace(1700, -600, 64, 0, 64); // beyond every tile
    auto* outside = static_cast<TSLED*>(GameEngine->At(2));
    outside->StampToMap = true;
    outside->Move();
    EXPECT_EQ(gFake->draws.size(), 4u);
    EXPECT_TRUE(outside->Dead);
}

TEST_F(Monsters, PausedZombiesStandStillAndSpritesMadeWhilePausedKeepEveryFieldZero) {
    TZOMBI* before = Walker(300, 300);
    TZOMBI* dying = Walker(400, 300);
    dying->Health = 0;
    Paused = true;
    Tick(before, 5);
    Tick(dying, 5);
    EXPECT_FLOAT_EQ(before->PosY, 300);
    EXPECT_LT(dying->Frame, 21);
    auto* z = GameEngine->Add<TZOMBI>();
    EXPECT_EQ(z->Texture, nullptr);
    EXPECT_FALSE(z->Animated);
    EXPECT_EQ(z->Alpha + z->FX + z->W + z->H + z->Z + z->Angle + z->Health + z->CellX + z->CellY, 0);
    EXPECT_EQ(z->Frame + z->Speed + z->BiteDamage + z->AnimSpeed, 0.0f);
    for (int i = 0; i <= 20; ++i)
        for (int j = 0; j <= 20; ++j)
            ASSERT_EQ(Cell(i, j).W, 20.0f);

    SpawnTrace(300, 0, 82, 5, 82);
    auto* trace = static_cast<TSLED*>(GameEngine->At(4));
    EXPECT_EQ(trace->Texture, nullptr);
    EXPECT_EQ(trace->Alpha + trace->Z, 0);
    EXPECT_EQ(trace->X, 300);
    trace->StampToMap = true;
    gFake->draws.clear();
    trace->Move(); // traces ignore the pause once made
    EXPECT_TRUE(gFake->draws.empty());
    EXPECT_TRUE(trace->Dead);
}

TEST_F(Monsters, ZombieStrengthFollowsTheLevelAndItSetsOffTowardThePlayer) {
    struct Row {
        uint8_t level;
        int16_t bonus;
        float bite;
    };
    for (const Row& row :
         {Row{1, 10, 1.0f}, Row{4, 10, 2.0f}, Row{9, 10, 2.5f}, Row{11, 20, 3.0f}, Row{12, 10, 3.0f},
          Row{19, 10, 0.5f}, Row{28, 20, 0.5f}, Row{29, 20, 0.4f}, Row{30, 10, 0.4f}, Row{31, 10, 1.0f}}) {
        Level = row.level;
        for (int n = 0; n < 5; ++n) {
            auto* z = GameEngine->Add<TZOMBI>();
            EXPECT_TRUE(z->W >= 40 && z->W <= 68 && z->H == z->W);
            EXPECT_EQ(z->Health, M_Round(z->W / 2.0f) + row.bonus) << int{row.level};
            EXPECT_FLOAT_EQ(z->BiteDamage, row.bite);
            // Made at the origin, it heads down and right toward the soldier at (500, 500).
            EXPECT_GT(HeadingX(z->Angle), 0.6);
            EXPECT_GT(HeadingY(z->Angle), 0.6);
        }
    }
}

TEST_F(Monsters, OnLevelThirteenTheDrawnSizeIsDrawnAnewButHitPointsKeepTheFirst) {
    Level = 13;
    int32_t smallest = 100;
    for (int n = 0; n < 60; ++n) {
        const uint32_t seed = RandSeed;
        const int32_t first = static_cast<int32_t>(Random(29)) + 40;
        const int32_t drawn = static_cast<int32_t>(Random(48)) + 20;
        RandSeed = seed;
        auto* z = GameEngine->Add<TZOMBI>();
        EXPECT_EQ(z->W, drawn);
        EXPECT_EQ(z->H, drawn);
        EXPECT_EQ(z->Health, M_Round(first / 2.0f) + 10);
        smallest = std::min(smallest, z->W);
    }
    EXPECT_LT(smallest, 30);
}

TEST_F(Monsters, ZombiesClaimTheFirstFreeCellInTheOrderOfTheirSearch) {
    // Two free cells in each block, placed so that every search order finds a different one first.
    const int want[3][2] = {{3, 5}, {10, 14}, {5, 3}};
    bool seen[3] = {};
    for (int n = 0; n < 60; ++n) {
        for (int i = 0; i <= 20; ++i)
            for (int j = 0; j <= 20; ++j)
                Cell(i, j).W = 15;
        Cell(3, 5).W = Cell(5, 3).W = Cell(10, 14).W = Cell(14, 10).W = 20;
        auto* z = GameEngine->Add<TZOMBI>();
        ASSERT_LE(z->SlotSearch, 2);
        const int i = want[z->SlotSearch][0], j = want[z->SlotSearch][1];
        EXPECT_EQ(z->CellX, i);
        EXPECT_EQ(z->CellY, j);
        EXPECT_EQ(Cell(i, j).W, 15.0f);
        EXPECT_EQ(z->TargetX, M_Round(Cell(i, j).X) + 10);
        EXPECT_EQ(z->TargetY, M_Round(Cell(i, j).Y) + 10);
        seen[z->SlotSearch] = true;
    }
    EXPECT_TRUE(seen[0] && seen[1] && seen[2]);
}

TEST_F(Monsters, AZombieFindingItsBlockFullHeadsForThePlayerAndNeverArrives) {
    for (int i = 0; i <= 10; ++i)
        for (int j = 0; j <= 10; ++j)
            Cell(i, j).W = 15;
    PlayerPosX = 300.5f; // the soldier's last exact position, not its sprite's
    PlayerPosY = 300.0f;
    TZOMBI* z = nullptr;
    for (int n = 0; n < 50 && !(z && z->SlotSearch != 1); ++n)
        z = GameEngine->Add<TZOMBI>();
    ASSERT_NE(z->SlotSearch, 1);
    EXPECT_EQ(z->CellX, -1);
    EXPECT_EQ(z->CellY, -1);
    EXPECT_EQ(z->TargetX, 330); // 300.5 rounds to even
    EXPECT_EQ(z->TargetY, 330);

    // Walking onto its point, inside a grid cell, it keeps heading there.
    const ApproachGrid before = ApproachGrids[kZombieGrid];
    TZOMBI* w = Walker(290, 310, 270);
    w->TargetX = 330;
    w->TargetY = 330;
    Tick(w, 30);
    EXPECT_EQ(w->Mode, 0);
    w->Health = 0;
    w->Frame = 30;
    w->StampToMap = true;
    w->Move();
    EXPECT_TRUE(w->Dead);
    for (int i = 0; i <= 20; ++i)
        for (int j = 0; j <= 20; ++j)
            ASSERT_EQ(ApproachGrids[kZombieGrid][i][j].W, before[i][j].W);
}

TEST_F(Monsters, ZombieWalksToItsCellThenSwarmsChasesAndReturns) {
    // Cell (0, 0) lies at (330, 330); the soldier's centre is at (530, 530).
    TZOMBI* z = Walker(200, 320, 270); // facing +x, centre level with the cell's
    z->CellX = z->CellY = 0;
    Cell(0, 0).W = 15;
    int ticks = 0;
    while (z->Mode == 0 && ticks < 300) {
        Tick(z);
        ++ticks;
        ASSERT_TRUE(z->Y >= 318 && z->Y <= 322) << ticks;
    }
    EXPECT_EQ(z->Mode, 2);
    EXPECT_TRUE(Col_PointInAABB(z->X + 20.0f, z->Y + 20.0f, &Cell(0, 0)));
    EXPECT_GT(ticks, 100);

    struct Case {
        uint8_t from;
        float centreX, centreY; // the zombie's centre
        uint8_t to;
    };
    for (const Case& c : {Case{0, 530, 570, 1}, Case{1, 530, 590, 0}, Case{1, 530, 570, 1},
                          Case{2, 530, 840, 0}, Case{2, 500, 560, 1}, Case{2, 530, 700, 2}}) {
        TZOMBI* m = Walker(c.centreX - 20, c.centreY - 20);
        m->Speed = 0.0f;
        m->Mode = c.from;
        Tick(m);
        EXPECT_EQ(m->Mode, c.to) << int{c.from} << " at " << c.centreX << "," << c.centreY;
    }
}

TEST_F(Monsters, ArmourSoftensBitesButEveryBiteCostsAtLeastHalfAPoint) {
    ArmorLevel = 3;
    for (const auto& [bite, perTick] : {std::pair{1.0f, 0.5f}, std::pair{3.0f, 1.5f}}) {
        player->Health = 200;
        TZOMBI* z = Walker(510, 510);
        z->BiteDamage = bite;
        z->PlaceHitBox(player->HitBox);
        Tick(z, 2);
        EXPECT_FLOAT_EQ(player->Health, 200 - 2 * perTick);
        EXPECT_FLOAT_EQ(z->PosX, 510); // stands while biting
        EXPECT_FLOAT_EQ(z->HitBox.X, player->HitBox.X);
        z->Dead = true;
    }
}

TEST_F(Monsters, NoBitesUnderDefenceOrOnceThePlayerIsDead) {
    DefenceTimer = 50;
    TZOMBI* z = Walker(510, 510, 0, 43);
    z->PlaceHitBox(player->HitBox);
    Tick(z, 3);
    EXPECT_FLOAT_EQ(player->Health, 200);
    EXPECT_FLOAT_EQ(z->PosX, 510);
    EXPECT_FLOAT_EQ(z->HitBox.X, 510 + 22 - 7); // 21.5 rounds to even
    EXPECT_FLOAT_EQ(z->HitBox.W, 14);

    DefenceTimer = 0;
    PlayerDead = true;
    TZOMBI* w = Walker(510, 510);
    w->PlaceHitBox(player->HitBox);
    Tick(w, 3);
    EXPECT_FLOAT_EQ(player->Health, 200);
    EXPECT_NE(w->PosY, 510.0f); // keeps walking
}

TEST_F(Monsters, AKilledZombieWaitsAsACorpseThenStampsAcrossTileBordersAndCountsTheKill) {
    TZOMBI* z = Walker(592, -400, 33); // across the border x = 612 of tiles 1 and 2
    z->CellX = z->CellY = 4;
    Cell(4, 4).W = 15;
    z->Health = 0;
    Tick(z);
    EXPECT_FLOAT_EQ(z->Frame, 21);
    EXPECT_TRUE(z->Z >= -20000 && z->Z <= -10001);
    Tick(z, 40);
    EXPECT_FLOAT_EQ(z->Frame, 30);
    EXPECT_FALSE(z->Dead);
    EXPECT_EQ(KillCount, 0);
    EXPECT_EQ(Cell(4, 4).W, 15.0f);
    gFake->draws.clear();
    z->Draw();
    ASSERT_EQ(gFake->draws.size(), 1u); // still drawn as a sprite, without a shadow
    EXPECT_EQ(gFake->draws[0].frame, 30);
    EXPECT_EQ(gFake->draws[0].target, nullptr);

    gFake->draws.clear();
    z->StampToMap = true;
    Paused = true; // the corpse goes into the ground even then
    z->Move();
    ASSERT_EQ(gFake->draws.size(), 2u);
    std::set<std::pair<float, float>> tiles;
    for (const fake::DrawCall& d : gFake->draws) {
        const ZB_Rect& tile = TileOf(d);
        tiles.insert({tile.X, tile.Y});
        EXPECT_FLOAT_EQ(d.x, 592 - tile.X);
        EXPECT_FLOAT_EQ(d.y, -400 - tile.Y);
        EXPECT_EQ(d.frame, 30);
        EXPECT_FLOAT_EQ(d.angle, 33 + 180);
        EXPECT_EQ(d.fx, 1);
    }
    EXPECT_EQ(tiles, (std::set<std::pair<float, float>>{{356, -522}, {612, -522}}));
    EXPECT_EQ(gCameraSwitchAtStamp, (std::vector<uint8_t>{0, 0}));
    EXPECT_EQ(MainCamera->Switch, 1);
    EXPECT_TRUE(z->Dead);
    EXPECT_EQ(KillCount, 1);
    EXPECT_EQ(Cell(4, 4).W, 20.0f);
}

TEST_F(Monsters, OnTintedLevelsBodyAndCorpseTakeTheLevelColour) {
    Level = 4;
    TZOMBI* z = Walker(500, -400, 10);
    z->Frame = 20.2f; // past the walk cycle: back to its first frame
    z->Draw();
    ASSERT_EQ(gFake->draws.size(), 2u);
    const fake::DrawCall& shadow = gFake->draws[0];
    EXPECT_FLOAT_EQ(shadow.x, 503);
    EXPECT_EQ(shadow.alpha, 100);
    EXPECT_EQ(shadow.colorMix, 0u);
    EXPECT_EQ(shadow.fx, 9);
    const fake::DrawCall& body = gFake->draws[1];
    EXPECT_EQ(body.frame, 1);
    EXPECT_FLOAT_EQ(body.angle, 10 - 180);
    EXPECT_EQ(body.fx, 9);
    EXPECT_EQ(body.colorMix, 0xFAB4B4u);

    gFake->draws.clear();
    z->Health = 0;
    z->Frame = 30;
    z->StampToMap = true;
    FX_SetColorMix(0);
    z->Move();
    ASSERT_EQ(gFake->draws.size(), 1u);
    EXPECT_EQ(gFake->draws[0].fx, 9);
    EXPECT_EQ(gFake->draws[0].colorMix, 0xFAB4B4u);

    Level = 5;
    gFake->draws.clear();
    Walker(600, -400)->Draw();
    EXPECT_EQ(gFake->draws.back().fx, 1);
}

} // namespace

namespace {

TEST(MonsterScan, SpidersThenAliensThenZombiesInSlotOrderLivingOnly) {
    fake::World();
    const ZB_Rect box{100, 100, 10, 10};
    auto placed = [&](TMonster* m, int16_t health, float x) {
        m->Health = health;
        m->PlaceHitBox(ZB_Rect{x, 100, 14, 14});
        return m;
    };
    EXPECT_EQ(FirstMonsterHit(box), nullptr);
    TMonster* zombie = placed(GameEngine->Add<TZOMBI>(), 30, 95);
    placed(GameEngine->Add<TZOMBI>(), 30, 100);
    EXPECT_EQ(FirstMonsterHit(box), zombie);
    TMonster* alien = placed(GameEngine->Add<TALIEN>(), 30, 100);
    placed(GameEngine->Add<TALIEN>(), 30, 100);
    EXPECT_EQ(FirstMonsterHit(box), alien);
    placed(GameEngine->Add<TPAYK_Y>(), 0, 100);  // a corpse is not there to hit
    placed(GameEngine->Add<TPAYK_Y>(), 30, 110); // touching edges do not overlap
    TMonster* spider = placed(GameEngine->Add<TPAYK_Y>(), 1, 100);
    placed(GameEngine->Add<TPAYK_Y>(), 30, 100);
    EXPECT_EQ(FirstMonsterHit(box), spider);
    EXPECT_EQ(spider->Species(), MonsterKind::Spider);
    EXPECT_EQ(alien->Species(), MonsterKind::Alien);
    EXPECT_EQ(zombie->Species(), MonsterKind::Zombie);
    delete GameEngine;
    GameEngine = nullptr;
}

TEST(MonsterScan, ASliverOfOverlapOnEitherSideIsAHitAndADistantMonsterIsNot) {
    fake::World();
    const ZB_Rect box{100.25f, 100, 10, 10};
    auto placed = [](float x, float w) {
        TMonster* m = GameEngine->Add<TZOMBI>();
        m->Health = 30;
        m->PlaceHitBox(ZB_Rect{x, 100, w, 14});
        return m;
    };
    placed(-5000, 20);
    placed(5000, 20);
    placed(80.25f, 20); // its right edge touches the box's left edge
    EXPECT_EQ(FirstMonsterHit(box), nullptr);
    TMonster* right = placed(110.2f, 14);
    EXPECT_EQ(FirstMonsterHit(box), right);
    TMonster* left = placed(86.3f, 14);
    right->Health = 0;
    EXPECT_EQ(FirstMonsterHit(box), left);
    delete GameEngine;
    GameEngine = nullptr;
}

} // namespace

namespace {

// A monster of a kind made as the spawn director makes it, at an exact spot.
template <typename Kind> TMonster* Arrival(float x, float y) {
    TMonster* m = GameEngine->Add<Kind>();
    m->PosX = x;
    m->PosY = y;
    return m;
}

// The smallest and largest size and pace among many monsters of a kind made on the current level.
struct Spread {
    int32_t leastSize = 1000, mostSize = 0;
    float leastSpeed = 100.0f, mostSpeed = 0.0f;
};
template <typename Kind> Spread MadeMany(int count) {
    Spread s;
    for (int n = 0; n < count; ++n) {
        const TMonster* m = GameEngine->Add<Kind>();
        s.leastSize = std::min(s.leastSize, m->W);
        s.mostSize = std::max(s.mostSize, m->W);
        s.leastSpeed = std::min(s.leastSpeed, m->Speed);
        s.mostSpeed = std::max(s.mostSpeed, m->Speed);
    }
    return s;
}

int HeldCells(int grid) {
    int held = 0;
    for (const auto& column : ApproachGrids[static_cast<size_t>(grid)])
        for (const ZB_Rect& cell : column)
            held += cell.W == 15.0f;
    return held;
}

TEST_F(Monsters, AliensAndSpidersSetOffAtAngleZeroAndTurnOneDegreeATickTowardTheirCells) {
    for (TMonster* m : {Arrival<TALIEN>(200, -400), Arrival<TPAYK_Y>(200, -400)}) {
        EXPECT_EQ(m->Angle, 0);
        const float speed = m->Speed;
        Tick(m);
        // Angle 0 walks straight down the screen.
        EXPECT_NEAR(m->PosX, 200.0f, 0.01f);
        EXPECT_FLOAT_EQ(m->PosY, -400.0f + speed);
        // Its cell lies down and a little to the right: one degree a tick the negative way round.
        for (int t = 1; t <= 8; ++t) {
            EXPECT_EQ(m->Angle, -t);
            Tick(m);
        }
    }
}

TEST_F(Monsters, AliensAndSpidersComeInTheirOwnSizesAndPacesAndEverySpiderWalksAtOneOnLevelTwenty) {
    const Spread aliens = MadeMany<TALIEN>(800);
    EXPECT_EQ(aliens.leastSize, 35);
    EXPECT_EQ(aliens.mostSize, 63);
    EXPECT_FLOAT_EQ(aliens.leastSpeed, 0.6f);
    EXPECT_FLOAT_EQ(aliens.mostSpeed, 0.6f + 99 / 120.0f);
    const Spread spiders = MadeMany<TPAYK_Y>(800);
    EXPECT_EQ(spiders.leastSize, 48);
    EXPECT_EQ(spiders.mostSize, 95);
    EXPECT_FLOAT_EQ(spiders.leastSpeed, 0.5f);
    EXPECT_FLOAT_EQ(spiders.mostSpeed, 0.5f + 99 / 120.0f);

    Level = 20;
    const Spread paced = MadeMany<TPAYK_Y>(200);
    EXPECT_EQ(paced.leastSpeed, 1.0f);
    EXPECT_EQ(paced.mostSpeed, 1.0f);
    EXPECT_EQ(paced.leastSize, 32); // drawn anew on this level
    EXPECT_EQ(paced.mostSize, 79);
    const Spread alienPaces = MadeMany<TALIEN>(200);
    EXPECT_LT(alienPaces.leastSpeed, 0.7f);
    EXPECT_GT(alienPaces.mostSpeed, 1.3f);
}

TEST_F(Monsters, EveryKindTakesTheLevelsStrengthAndSpidersOutsideTheCampaignTheUsualOne) {
    struct Row {
        uint8_t level;
        int16_t bonus;
        float bite;
    };
    for (const Row& row : {Row{1, 10, 1.0f}, Row{10, 10, 2.5f}, Row{11, 20, 3.0f}, Row{26, 10, 0.4f},
                           Row{28, 20, 0.5f}, Row{0, 10, 1.0f}, Row{31, 10, 1.0f}}) {
        Level = row.level;
        for (TMonster* m : {Arrival<TALIEN>(0, 0), Arrival<TPAYK_Y>(0, 0)}) {
            EXPECT_EQ(m->Health, M_Round(m->W / 2.0f) + row.bonus) << int{row.level};
            EXPECT_FLOAT_EQ(m->BiteDamage, row.bite) << int{row.level};
        }
    }

    // Where the drawn size is rolled again, the hit points keep the first size.
    Level = 25;
    for (int n = 0; n < 20; ++n) {
        const uint32_t seed = RandSeed;
        const int32_t first = static_cast<int32_t>(Random(48)) + 48;
        const int32_t drawn = static_cast<int32_t>(Random(32)) + 15;
        RandSeed = seed;
        const TMonster* spider = GameEngine->Add<TPAYK_Y>();
        EXPECT_EQ(spider->W, drawn);
        EXPECT_EQ(spider->Health, M_Round(first / 2.0f) + 10);
    }

    // Walk cycles start at their own pace, and every kind at 0.2 on level 8.
    Level = 1;
    EXPECT_FLOAT_EQ(GameEngine->Add<TZOMBI>()->AnimSpeed, 0.05f);
    EXPECT_FLOAT_EQ(GameEngine->Add<TALIEN>()->AnimSpeed, 0.4f);
    EXPECT_FLOAT_EQ(GameEngine->Add<TPAYK_Y>()->AnimSpeed, 0.36f);
    Level = 8;
    EXPECT_FLOAT_EQ(GameEngine->Add<TALIEN>()->AnimSpeed, 0.2f);
    EXPECT_FLOAT_EQ(GameEngine->Add<TPAYK_Y>()->AnimSpeed, 0.2f);
}

TEST_F(Monsters, AliensAndSpidersAreDrawnUntintedAlongTheirAngleDieAtTheirPaceAndLeaveTheirOwnCells) {
    Level = 4; // zombies are tinted here
    struct Case {
        TMonster* monster;
        int grid;
        float shadow;
        int ticksToCorpse;
    };
    for (const Case& c : {Case{GameEngine->Add<TALIEN>(), kAlienGrid, 3, 13},
                          Case{GameEngine->Add<TPAYK_Y>(), kSpiderGrid, 5, 24}}) {
        TMonster* m = c.monster;
        EXPECT_EQ(HeldCells(c.grid), 1);
        EXPECT_EQ(HeldCells(kZombieGrid), 0);
        m->X = 600;
        m->Y = -400;
        m->Angle = 25;
        gFake->draws.clear();
        m->Draw();
        ASSERT_EQ(gFake->draws.size(), 2u);
        const fake::DrawCall& shadow = gFake->draws[0];
        EXPECT_FLOAT_EQ(shadow.x, 600 + c.shadow);
        EXPECT_FLOAT_EQ(shadow.y, -400 + c.shadow);
        EXPECT_EQ(shadow.alpha, 100);
        EXPECT_EQ(shadow.fx, 9);
        EXPECT_EQ(shadow.colorMix, 0u);
        EXPECT_FLOAT_EQ(shadow.angle, 25);
        const fake::DrawCall& body = gFake->draws[1];
        EXPECT_EQ(body.alpha, 255);
        EXPECT_EQ(body.fx, 1);
        EXPECT_FLOAT_EQ(body.angle, 25);

        m->Health = 0;
        int ticks = 0;
        while (m->Frame < 30.0f && ticks < 100) {
            Tick(m);
            ++ticks;
        }
        EXPECT_EQ(ticks, c.ticksToCorpse);

        gFake->draws.clear();
        m->StampToMap = true;
        m->Move();
        ASSERT_FALSE(gFake->draws.empty());
        for (const fake::DrawCall& d : gFake->draws) {
            EXPECT_EQ(d.frame, 30);
            EXPECT_FLOAT_EQ(d.angle, m->Angle);
            EXPECT_EQ(d.fx, 1);
        }
        EXPECT_FALSE(m->Tinted);
        EXPECT_TRUE(m->Dead);
        EXPECT_EQ(HeldCells(c.grid), 0);
    }
    EXPECT_EQ(KillCount, 2);
}

TEST_F(Monsters, FrenzyTakesEveryLivingMonsterOfEveryKind) {
    TMonster* living[] = {Arrival<TPAYK_Y>(100, 100), Arrival<TALIEN>(200, 100), Arrival<TZOMBI>(300, 100)};
    TMonster* dying = Arrival<TALIEN>(400, 100);
    dying->Health = 0;
    AliveSpiders = AliveAliens = AliveZombies = 1;
    FrenzyCheck();
    for (const TMonster* m : living)
        EXPECT_EQ(m->Mode, 4);
    EXPECT_EQ(dying->Mode, 0);
}

TEST_F(Monsters, TheFrameCountsTheLivingOfEachKindAndLetsEveryKindIntoTheGround) {
    std::vector<TMonster*> all;
    for (int16_t health : {30, 0, 5})
        all.emplace_back(GameEngine->Add<TPAYK_Y>())->Health = health;
    for (int16_t health : {30, 0})
        all.emplace_back(GameEngine->Add<TALIEN>())->Health = health;
    for (int16_t health : {30, 30, 30, -4})
        all.emplace_back(GameEngine->Add<TZOMBI>())->Health = health;
    DrawFrame();
    EXPECT_EQ(AliveSpiders, 2);
    EXPECT_EQ(AliveAliens, 1);
    EXPECT_EQ(AliveZombies, 3);
    for (const TMonster* m : all)
        EXPECT_TRUE(m->StampToMap);
}

} // namespace
