// The bot's fighting decisions on the fake battlefield: the shot that leads a crossing monster, the way out
// of a monster's path and off a wall, whom it shoots, where the cursor goes, what it fetches, when it
// reloads; and the hands that turn a wish into device events.
#include "Fighter.h"

#include "BONUS.h"
#include "Field.h"
#include "GEngine.h"
#include "GameTick.h"
#include "Hands.h"
#include "MONSTER1.h"
#include "PLAYER.h"
#include "RUN_GAME.h"
#include "assets.h"
#include "level.h"
#include "test_world.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

class FighterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        engine = &fake::World();
        TexZombie = engine->NewTexture(10, 3);
        Level = 1;
    }

    // The soldier with a weapon from the table, loaded and ready to fire.
    void Arm(Weapon weapon) {
        TWeaponPickup* pickup = CreateWeaponPickup(weapon);
        pickup->X = M_Round(PlayerPosX);
        pickup->Y = M_Round(PlayerPosY);
        for (int i = 0; i < 400 && (CurrentWeapon == Weapon::None || Reloading); ++i)
            Tick();
        ASSERT_FALSE(Reloading);
    }
    void Tick() {
        engine->time += 16.0;
        GameTick();
    }
    // A zombie whose centre is at (x, y), heading at `angle` (degrees, as monsters keep them).
    TZOMBI* Zombie(float x, float y, int32_t angle, float speed) {
        TZOMBI* z = GameEngine->Add<TZOMBI>();
        z->PosX = x - static_cast<float>(z->W) / 2.0f;
        z->PosY = y - static_cast<float>(z->H) / 2.0f;
        z->X = M_Round(z->PosX);
        z->Y = M_Round(z->PosY);
        z->Angle = angle;
        z->Speed = speed;
        return z;
    }
    // The degrees a monster keeps for heading along (dx, dy) on the screen.
    static int32_t Heading(float dx, float dy) { return M_Round(M_FindAngle(0, 0, dx, dy) + 90.0f) % 360; }
    bot::Foe Foe(float x, float y, bool charging = false) {
        bot::Foe f;
        f.x = x;
        f.y = y;
        f.speed = 1.2f;
        f.charging = charging;
        return f;
    }

    fake::Engine* engine = nullptr;
};

TEST_F(FighterTest, AShotLedAheadOfAFastZombieCrossingTheLineHitsIt) {
    Arm(Weapon::Automat); // the assault rifle: one shot, one bullet, 14 pixels a tick
    const float px = PlayerPosX + 30, py = PlayerPosY + 30;
    // 220 pixels above the soldier, walking right at the fastest a zombie walks: in the sixteen ticks a
    // bullet takes to get there it goes 22 pixels, more than a bullet and a zombie are wide together.
    TZOMBI* z = Zombie(px - 20, py - 220, Heading(1, 0), 1.4f);
    AliveZombies = 50; // a crowd elsewhere: no end-of-wave frenzy turns it toward the soldier
    const int16_t health = z->Health;
    ASSERT_NEAR(HeadingX(z->Angle), 1.0, 0.01);
    bool fired = false;
    for (int i = 0; i < 40 && z->Health == health; ++i) {
        const bot::Field f = bot::ReadField();
        ASSERT_EQ(f.foes.size(), 1u);
        const bot::Point cursor = bot::CursorFor(f, bot::Lead(f, f.foes[0], 0, 0));
        engine->mouseX = cursor.x;
        engine->mouseY = cursor.y;
        // One shot only: the trigger is let go as soon as a bullet is out.
        if (!fired) engine->buttonsDown.insert(1);
        const int32_t before = GameEngine->Count;
        Tick();
        if (GameEngine->Count > before && !fired) {
            fired = true;
            engine->buttonsDown.clear();
        }
    }
    EXPECT_TRUE(fired);
    EXPECT_LT(z->Health, health) << "the first bullet met the zombie";
}

TEST_F(FighterTest, TheSoldierWalksOutOfTheWayOfAChargingMonsterAndAlongAWallThatStopsHim) {
    bot::Field f;
    f.x = 700;
    f.y = 100;
    f.foes.push_back(Foe(760, 100, true));
    bot::Fighter open;
    const bot::Orders away = open.Decide(f);
    EXPECT_EQ(away.walkX, -1) << "away from the monster on the right";

    // Backed against the left wall, stepping left goes nowhere: he slips out up or down.
    f.x = bot::kFieldLeft + 5;
    f.foes[0].x = f.x + 60;
    bot::Fighter pinned;
    const bot::Orders slip = pinned.Decide(f);
    EXPECT_NE(slip.walkY, 0);
    EXPECT_NE(slip.walkX, 1) << "not into the monster";
}

TEST_F(FighterTest, AMonsterTooCloseForABulletIsPassedOverForOneThatCanBeHit) {
    bot::Field f;
    f.x = 700;
    f.y = 100;
    f.gun.bulletSpeed = 13;
    f.foes.push_back(Foe(712, 104)); // biting distance: the bullets start beyond it
    f.foes.push_back(Foe(700, 260));
    EXPECT_EQ(bot::PickTarget(f, 0, 0), 1);
    f.foes[1].x = 2000; // and when it is the only one, none
    f.foes.pop_back();
    EXPECT_EQ(bot::PickTarget(f, 0, 0), -1);
}

TEST_F(FighterTest, AnAimPointOffTheScreenKeepsItsLineWithTheCursorOnTheScreen) {
    bot::Field f;
    f.x = 700;
    f.y = 100;
    f.camX = f.camTargetX = 300;
    f.camY = f.camTargetY = -200; // the soldier is at (400, 300) on the screen
    for (const bot::Point aim : {bot::Point{1900, 1200}, bot::Point{-800, 90}, bot::Point{705, -1500}}) {
        const bot::Point c = bot::CursorFor(f, aim);
        EXPECT_TRUE(c.x >= 0 && c.x <= 800 && c.y >= 0 && c.y <= 600) << c.x << ", " << c.y;
        const float wanted = std::atan2(aim.y - f.y, aim.x - f.x);
        const float got = std::atan2(c.y + f.camY - f.y, c.x + f.camX - f.x);
        EXPECT_NEAR(got, wanted, 0.005f) << aim.x << ", " << aim.y;
    }
    // A point right by the soldier is pushed out along its line, where a pixel turns the aim less.
    const bot::Point near = bot::CursorFor(f, {f.x + 10, f.y});
    EXPECT_GT(near.x - 400.0f, 60.0f);
    EXPECT_NEAR(near.y, 300.0f, 0.01f);
}

TEST_F(FighterTest, AHealthBonusIsFetchedWhenHurtUnlessItWouldBeGoneFirst) {
    bot::Field f;
    f.x = 700;
    f.y = 100;
    f.gun.weapon = Weapon::Uzi;
    bot::Item life;
    life.kind = bot::ItemKind::Life;
    life.x = 900;
    life.y = 100;
    life.lifetime = 600;
    f.items.push_back(life);
    f.health = 200;
    EXPECT_EQ(bot::PickGoal(f), -1) << "nothing to gain at full health";
    f.health = 90;
    EXPECT_EQ(bot::PickGoal(f), 0);
    f.items[0].lifetime = 100; // 200 pixels take about 130 ticks
    EXPECT_EQ(bot::PickGoal(f), -1);

    // A weapon is worth the walk (and the reload it brings) only if clearly better than the one in hand.
    bot::Item rifle;
    rifle.weapon = Weapon::Automat;
    rifle.x = 750;
    rifle.y = 100;
    rifle.lifetime = 600;
    f.items = {rifle};
    EXPECT_EQ(bot::PickGoal(f), -1) << "an assault rifle for a machine pistol";
    f.gun.weapon = Weapon::Pistol;
    EXPECT_EQ(bot::PickGoal(f), 0);
}

TEST_F(FighterTest, ReloadsEarlyInACalmButNotWithAMonsterAtHand) {
    bot::Field f;
    f.x = 700;
    f.y = 100;
    f.gun.clipSize = 30;
    f.gun.clip = 5;
    f.foes.push_back(Foe(700, 500));
    bot::Fighter fighter;
    EXPECT_TRUE(fighter.Decide(f).reload) << "five of thirty left and the nearest 400 pixels away";
    f.foes[0].y = 200;
    EXPECT_FALSE(fighter.Decide(f).reload);
    f.gun.clip = 0; // an empty clip reloads by itself
    f.gun.reloading = true;
    EXPECT_FALSE(fighter.Decide(f).reload);
    EXPECT_FALSE(fighter.Decide(f).fire) << "the trigger is let go to bank the first shot after the reload";
}

// Every event the hands post, as text.
std::vector<std::string> gPosted;

TEST_F(FighterTest, HandsPostOnlyChangesAndEveryClickIsAFreshPress) {
    ZB_PostInput = [](int32_t event, int32_t code, float x, float y) {
        const char* kinds[] = {"cursor", "key down", "key up", "button down", "button up"};
        gPosted.push_back(std::string(kinds[event]) + (event == ZB_INPUT_CURSOR
                                                           ? " " + std::to_string(static_cast<int>(x)) + "," +
                                                                 std::to_string(static_cast<int>(y))
                                                           : " " + std::to_string(code)));
    };
    bot::Hands hands;
    bot::Wish fire;
    fire.x = 100;
    fire.y = 50;
    fire.buttons = {kPrimary};
    fire.keys = {kKeyW};
    hands.Post(fire);
    hands.Post(fire);
    EXPECT_EQ(gPosted, (std::vector<std::string>{"cursor 100,50", "key down 87", "button down 1"}))
        << "holding on is no new event";

    gPosted.clear();
    bot::Wish click = fire;
    click.buttons.clear();
    click.clicks = {kPrimary};
    click.taps = {kKeyR};
    hands.Post(click);
    EXPECT_EQ(gPosted, (std::vector<std::string>{"button up 1", "key down 82", "button down 1"}))
        << "the held trigger is let go so that the click is a press";

    gPosted.clear();
    hands.Post(bot::Wish{100, 50, {}, {}, {}, {}});
    EXPECT_EQ(gPosted, (std::vector<std::string>{"key up 82", "button up 1", "key up 87"}))
        << "taps and clicks are let go the frame after";
}

} // namespace
