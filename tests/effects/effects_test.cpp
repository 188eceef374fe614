// Muzzle flashes and cartridge cases: placement, burning out and flying on through a pause, lying, fading,
// and the case baked into the ground as faint as it has become.
#include "effects.h"

#include "GEngine.h"
#include "GameTick.h"
#include "PLAYER.h"
#include "RUN_GAME.h"
#include "assets.h"
#include "test_world.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

fake::Engine* gFake = nullptr;
std::vector<uint8_t> gCameraSwitchAtStamp;

class Effects : public ::testing::Test {
  protected:
    void SetUp() override {
        gFake = &fake::World();
        gCameraSwitchAtStamp.clear();
        Tex_BeginRenderIn = [](ZB_Texture* t, int32_t, int32_t, int32_t) {
            gCameraSwitchAtStamp.push_back(MainCamera->Switch);
            gFake->renderTarget = t;
        };
        TexHlop = gFake->NewTexture();
        TexEmpty = gFake->NewTexture();
        Player()->X = 400;
        Player()->Y = 300;
        Player()->Angle = 0; // facing down the screen
    }
    // A case that has landed: it flew its Speed ticks and lies one tick faded.
    static TEMPTY* LandedCase() {
        auto* c = GameEngine->Add<TEMPTY>();
        for (int tick = c->Speed; tick > 0; --tick)
            c->Move();
        return c;
    }
};

TEST_F(Effects, TheFlashSitsAtTheMuzzleAndBurnsFiveTicksAdditivelyEvenWhilePaused) {
    Paused = true;
    auto* flash = GameEngine->Add<THLOP>();
    // 33 px ahead of the gun along the aim, 7 px to its right: the soldier faces down, so that is left.
    EXPECT_EQ(flash->X, 400 + 6 - 7);
    EXPECT_EQ(flash->Y, 300 + 6 + 33);
    EXPECT_EQ(flash->Alpha, 250);
    flash->Draw();
    EXPECT_EQ(gFake->blendModes, (std::vector<int32_t>{1, 0}));
    std::vector<int> seen;
    for (int tick = 1; tick <= 5; ++tick) {
        EXPECT_FALSE(flash->Dead);
        flash->Move();
        seen.push_back(flash->Alpha);
    }
    EXPECT_EQ(seen, (std::vector<int>{200, 150, 100, 50, 0}));
    EXPECT_TRUE(flash->Dead);
}

TEST_F(Effects, ACaseFliesOutSidewaysSlowingEveryTickAndLandsEvenWhilePaused) {
    Paused = true;
    auto* c = GameEngine->Add<TEMPTY>();
    const int speed = c->Speed;
    EXPECT_GE(speed, 6);
    EXPECT_LE(speed, 8);
    EXPECT_EQ(c->Angle, 90);
    for (int tick = 1; tick < speed; ++tick) {
        c->Move();
        EXPECT_EQ(c->Alpha, 120) << "still in flight at tick " << tick;
    }
    c->Move();
    EXPECT_EQ(c->Alpha, 119); // landed, and the fading has begun
    // Thrown out to the soldier's right (the screen's left), 6 + 5 + ... + 1 px and slowing.
    EXPECT_EQ(c->X, 400 + 29 - speed * (speed + 1) / 2);
    EXPECT_EQ(c->Y, 300 + 28 + 16);
    c->Move();
    EXPECT_EQ(c->X, 400 + 29 - speed * (speed + 1) / 2); // lying still
}

TEST_F(Effects, ALyingCaseIsStampedAsFaintAsItHasBecomeOrFadesOut) {
    auto* c = LandedCase();
    for (int tick = 0; tick < 30; ++tick)
        c->Move();
    EXPECT_TRUE(gFake->draws.empty()); // waiting for the frame procedure's permission
    c->StampToMap = true;
    c->Move();
    ASSERT_EQ(gFake->draws.size(), 1u);
    const fake::DrawCall& d = gFake->draws[0];
    EXPECT_NE(d.target, nullptr);
    EXPECT_EQ(d.alpha, 88); // 120, less one for each of its 32 ticks on the ground
    EXPECT_EQ(d.w, 2.0f);
    EXPECT_EQ(d.h, 4.0f);
    EXPECT_EQ(d.fx, 1);
    EXPECT_EQ(gCameraSwitchAtStamp, (std::vector<uint8_t>{0}));
    EXPECT_EQ(MainCamera->Switch, 1);
    EXPECT_TRUE(c->Dead);

    auto* unstamped = LandedCase();
    for (int tick = 0; tick < 118; ++tick)
        unstamped->Move();
    EXPECT_FALSE(unstamped->Dead);
    unstamped->Move();
    EXPECT_TRUE(unstamped->Dead); // 120 ticks on the ground

    auto* cleared = GameEngine->Add<TEMPTY>();
    ClearField = true;
    cleared->Move();
    EXPECT_TRUE(cleared->Dead);
}

TEST_F(Effects, TheFrameLetsEveryCaseIntoTheGround) {
    auto* c = GameEngine->Add<TEMPTY>();
    DrawFrame();
    EXPECT_TRUE(c->StampToMap);
}

} // namespace
