// The frame procedure on the battlefield: the HUD, the message, the panel fade, and the switches to the
// level-complete and game-over screens.
#include "HUD.h"

#include "GEngine.h"
#include "GameTick.h"
#include "PLAYER.h"
#include "RUN_GAME.h"
#include "SquallSound.h"
#include "assets.h"
#include "level.h"
#include "settings.h"
#include "uMenu.h"
#include "Ground.h"
#include "test_world.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <sstream>
#include <string>

namespace {

class HudTest : public ::testing::Test {
  protected:
    void SetUp() override {
        engine = &fake::World();
        CreateMenuSprites();
        for (ZB_Texture** t : {&TexBlackShadow, &TexPanel, &TexClipBar, &TexPanelFrame, &TexLifeBar,
                               &TexNewUpgrade, &TexProgressBar, &TexProgressLine, &TexComplete, &TexGameOver,
                               &TexCheckMark, &TexCursor, &TexLevelPicture})
            *t = engine->NewTexture();
        SetupLevel(3);
        GameTick(); // the level starts
    }
    // One frame drawn afresh.
    void Frame() {
        engine->draws.clear();
        engine->texts.clear();
        engine->lines.clear();
        DrawFrame();
    }
    std::vector<fake::DrawCall> DrawsOf(const ZB_Texture* t) const {
        std::vector<fake::DrawCall> found;
        for (const fake::DrawCall& d : engine->draws)
            if (d.texture == t) found.push_back(d);
        return found;
    }
    std::optional<fake::TextCall> TextOf(const std::string& text) const {
        for (const fake::TextCall& t : engine->texts)
            if (t.text == text) return t;
        return std::nullopt;
    }
    fake::Engine* engine = nullptr;
};

using Grids = std::array<ApproachGrid, 5>;

// The first cell where two sets of grids differ, described, or "" where they agree.
std::string FirstDifferentCell(const Grids& expected, const Grids& actual) {
    for (size_t g = 0; g < expected.size(); ++g) {
        for (size_t i = 0; i < 21; ++i) {
            for (size_t j = 0; j < 21; ++j) {
                const ZB_Rect &e = expected[g][i][j], &a = actual[g][i][j];
                if (e.X == a.X && e.Y == a.Y && e.W == a.W && e.H == a.H) continue;
                std::ostringstream out;
                out << "grid " << g << " [" << i << "][" << j << "]: expected (" << e.X << ", " << e.Y
                    << ") w " << e.W << ", got (" << a.X << ", " << a.Y << ") w " << a.W;
                return out.str();
            }
        }
    }
    return "";
}

TEST_F(HudTest, TheApproachGridsFollowTheLivingSoldierKeepTheirClaimsAndStayWhereHeFell) {
    Frame();
    ApproachGrids[1][4][9].W = 15.0f; // a cell an alien holds
    Grids expected = ApproachGrids;
    PlayerPosX = 937.4f; // rounded: 37 px right and 22 px up of where the grids were laid
    PlayerPosY = -21.6f;
    for (ApproachGrid& grid : expected) {
        for (auto& column : grid) {
            for (ZB_Rect& cell : column) {
                cell.X += 37.0f;
                cell.Y -= 22.0f;
            }
        }
    }
    Frame();
    EXPECT_EQ(FirstDifferentCell(expected, ApproachGrids), "");

    PlayerDead = true;
    PlayerPosX = 500.0f;
    Frame();
    EXPECT_EQ(FirstDifferentCell(expected, ApproachGrids), "") << "the grids moved after death";
}

// Cell [i][j] lies 20 i - 170 px right and 20 j - 170 px below the soldier's rounded place.
TEST_F(HudTest, TheFirstIndexOfAGridCellIsItsColumnAndTheSecondItsRow) {
    PlayerPosX = 937.4f;
    PlayerPosY = -21.6f;
    Frame();
    Grids expected;
    for (ApproachGrid& grid : expected) {
        for (int i = 0; i <= 20; ++i) {
            for (int j = 0; j <= 20; ++j)
                grid[i][j] = ZB_Rect{937.0f + 20.0f * i - 170.0f, -22.0f + 20.0f * j - 170.0f, 20.0f, 20.0f};
        }
    }
    EXPECT_EQ(FirstDifferentCell(expected, ApproachGrids), "");
}

TEST_F(HudTest, TheTopBarShowsClipLifeAndTheUpgradeNoticeInScreenPixelsWhileTheSoldierLives) {
    MainCamera->X = 300.0f;
    Player()->Health = 100.0f;
    AmmoBar = -41;
    Reloading = false;
    UpgradePoints = 1;
    Frame();
    ASSERT_EQ(DrawsOf(TexLifeBar).size(), 1u);
    EXPECT_EQ(DrawsOf(TexLifeBar)[0].w, 74.0f); // 0.745 a hit point, rounded
    EXPECT_FALSE(DrawsOf(TexLifeBar)[0].worldPixels);
    ASSERT_EQ(DrawsOf(TexClipBar).size(), 1u);
    EXPECT_EQ(DrawsOf(TexClipBar)[0].x, -45.0f);
    EXPECT_EQ(DrawsOf(TexClipBar)[0].alpha, 255);
    EXPECT_EQ(DrawsOf(TexNewUpgrade).size(), 1u);

    Reloading = true;
    UpgradePoints = 0;
    Frame();
    EXPECT_EQ(DrawsOf(TexClipBar)[0].alpha, 0);
    EXPECT_TRUE(DrawsOf(TexNewUpgrade).empty());

    PlayerDead = true;
    Frame();
    EXPECT_TRUE(DrawsOf(TexLifeBar).empty());
    EXPECT_TRUE(DrawsOf(TexClipBar).empty());
    EXPECT_EQ(DrawsOf(TexPanel).size(), 1u); // the bar itself stays
}

TEST_F(HudTest, TheScoreReadsInHundredsAndAZeroScoreIsNotShown) {
    Frame();
    for (const fake::TextCall& t : engine->texts)
        EXPECT_FALSE(t.x == 252.0f && t.y == 7.0f) << "a score of 0 is drawn as " << t.text;
    Score = 12;
    Frame();
    const auto score = TextOf("1200");
    ASSERT_TRUE(score);
    EXPECT_EQ(score->x, 252.0f);
    EXPECT_EQ(score->y, 7.0f);
    EXPECT_FALSE(score->worldPixels);
}

TEST_F(HudTest, TheFrameRateIsHiddenOnThePanelAndWhilePlacingTheSoldier) {
    ShowFps = true;
    engine->fps = 58;
    Frame();
    ASSERT_TRUE(TextOf("FPS: 58"));
    EXPECT_EQ(TextOf("FPS: 58")->y, 563.0f);
    ScreenState = Screen::UpgradePanel;
    Frame();
    EXPECT_FALSE(TextOf("FPS: 58"));
    ScreenState = Screen::Play;
    TargetMode = true;
    Frame();
    EXPECT_FALSE(TextOf("FPS: 58"));
    ShowFps = false;
    TargetMode = false;
    Frame();
    EXPECT_FALSE(TextOf("FPS: 58"));
}

TEST_F(HudTest, ABonusBarKeepsItsFrameAtLeast130WideWithALineOfAFifthOfItsTime) {
    SlowDownTimer = 500;
    for (const auto& [barTime, frame, line] :
         {std::tuple{500, 130.0f, 100.0f}, std::tuple{527, 130.0f, 105.0f}, std::tuple{528, 131.0f, 106.0f},
          std::tuple{3, 130.0f, 1.0f}}) {
        SlowDownBarTime = static_cast<uint16_t>(barTime);
        Frame();
        ASSERT_EQ(DrawsOf(TexProgressBar).size(), 1u) << barTime;
        EXPECT_EQ(DrawsOf(TexProgressBar)[0].w, frame) << barTime;
        EXPECT_EQ(DrawsOf(TexProgressLine)[0].w, line) << barTime;
    }
    // A bar shows only while both its counters run, and only during play.
    SlowDownTimer = 0;
    Frame();
    EXPECT_TRUE(DrawsOf(TexProgressBar).empty());
    SlowDownTimer = 10;
    ScreenState = Screen::UpgradePanel;
    Frame();
    EXPECT_TRUE(DrawsOf(TexProgressBar).empty());
}

TEST_F(HudTest, AMessageOf300TicksShows45TicksFullThenFadesOutOverTheRest) {
    ShowMessage(false, "Hello", 300);
    std::vector<int> alphas;
    for (int tick = 0; tick < 320; ++tick) {
        Frame();
        if (const auto m = TextOf("Hello")) {
            alphas.push_back(m->alpha);
            EXPECT_EQ(m->x, 400.0f - 18.0f); // centred by its width at scale 0.7 without spacing
            EXPECT_EQ(m->step, m->alpha == 255 && alphas.size() <= 45 ? 1.0f : 0.0f);
        }
        GameTick();
    }
    ASSERT_EQ(alphas.size(), 300u);
    for (size_t i = 0; i < 45; ++i)
        EXPECT_EQ(alphas[i], 255);
    for (size_t i = 45; i < 300; ++i)
        EXPECT_EQ(alphas[i], static_cast<int>(300 - i));

    ShowMessage(false, "Short", 255);
    Frame();
    EXPECT_EQ(TextOf("Short")->step, 0.0f); // fading from the start
}

TEST_F(HudTest, ThePanelFadesInAndOutExactlyInFifteenFramesWithItsMarks) {
    Upgrades[0] = 1;
    Upgrades[3] = 3;
    UpgradePoints = 2; // without points the panel closes at once
    UpgradePanelOpen = true;
    ScreenState = Screen::UpgradePanel;
    for (int i = 0; i < 14; ++i)
        Frame();
    EXPECT_EQ(UpgradePanelAlpha, 238);
    Frame();
    EXPECT_EQ(UpgradePanelAlpha, 255);
    Frame();
    EXPECT_EQ(UpgradePanelAlpha, 255);
    const auto marks = DrawsOf(TexCheckMark);
    ASSERT_EQ(marks.size(), 4u);
    EXPECT_EQ(marks[0].x, 204.0f);
    EXPECT_EQ(marks[0].y, 118.0f);
    EXPECT_EQ(marks[3].x, 242.0f);
    EXPECT_EQ(marks[3].y, 184.0f);
    EXPECT_FALSE(marks[3].worldPixels);

    UpgradePanelOpen = false;
    for (int i = 0; i < 15; ++i)
        Frame();
    EXPECT_EQ(UpgradePanelAlpha, 0);
    EXPECT_TRUE(DrawsOf(TexCheckMark).empty());
}

// The check marks turn the camera back on when they are done; what the HUD draws after them must not follow
// the camera.
TEST_F(HudTest, UnderTheOpenPanelTheRestOfTheHudStaysInScreenPixels) {
    MainCamera->X = 300.0f;
    MainCamera->Y = -40.0f;
    Upgrades[2] = 1;
    UpgradePoints = 1;
    UpgradePanelOpen = true;
    ScreenState = Screen::UpgradePanel;
    Score = 12;
    BonusShots = 3;
    ShowMessage(false, "Hello", 300);
    Frame();
    ASSERT_EQ(DrawsOf(TexCheckMark).size(), 1u);
    for (const char* text : {"3", "1200", "Hello"}) {
        ASSERT_TRUE(TextOf(text)) << text;
        EXPECT_FALSE(TextOf(text)->worldPixels) << text;
    }
}

TEST_F(HudTest, AWonLevelStopsUnderTheCompletePictureWithTheScoreDoingItsOneOffsOnce) {
    MainCamera->X = 200.0f;
    MainCamera->Y = -100.0f;
    Score = 31;
    SlowDownTimer = 90;
    LevelWon = true;
    engine->buttonsPressed.insert(1); // a click made during play must not press a button of the new screen
    const int32_t locks = engine->mouseLocks;
    Frame();
    EXPECT_EQ(ScreenState, Screen::Complete);
    EXPECT_TRUE(Paused);
    EXPECT_EQ(SlowDownTimer, 0);
    EXPECT_EQ(engine->mouseLocks, locks + 1);
    EXPECT_TRUE(engine->buttonsPressed.empty());
    ASSERT_EQ(DrawsOf(TexComplete).size(), 1u);
    EXPECT_EQ(DrawsOf(TexComplete)[0].x, 445.0f);
    EXPECT_EQ(DrawsOf(TexComplete)[0].y, 50.0f);
    EXPECT_TRUE(DrawsOf(TexComplete)[0].worldPixels);   // on the camera: at (245, 150) of the screen
    const fake::TextCall& score = engine->texts.back(); // over the picture, after the top bar's own
    EXPECT_EQ(score.text, "3100");
    EXPECT_EQ(score.x, 489.0f);
    EXPECT_EQ(score.y, 157.0f);

    SlowDownTimer = 7;
    Frame();
    EXPECT_EQ(engine->mouseLocks, locks + 1);
    EXPECT_EQ(SlowDownTimer, 7);

    // Back in play the picture fades by 30 a frame.
    EndPictureAlpha = 255;
    LevelWon = false;
    ScreenState = Screen::Play;
    Frame();
    EXPECT_EQ(EndPictureAlpha, 225);
}

TEST_F(HudTest, OnTheLastLevelAWinKeepsPlayGoingUnderALastingMessage) {
    SetupLevel(30);
    GameTick();
    LevelWon = true;
    Frame();
    for (int i = 0; i < 400; ++i) {
        GameTick();
        Frame();
        ASSERT_EQ(ScreenState, Screen::Play);
        ASSERT_TRUE(TextOf("You WIN!!!"));
        ASSERT_EQ(TextOf("You WIN!!!")->alpha, 255);
    }
    EXPECT_FALSE(Paused);
}

TEST_F(HudTest, DeathStopsTheFieldUnderTheGameOverPictureAndBringsBackTheMenuMusic) {
    const int32_t locks = engine->mouseLocks;
    PlayerDead = true;
    Frame();
    EXPECT_EQ(ScreenState, Screen::GameOver);
    EXPECT_TRUE(Paused);
    EXPECT_EQ(SndMusic->FileName, "sounds\\music_main_menu.ogg");
    EXPECT_EQ(engine->mouseLocks, locks + 1);
    ASSERT_EQ(DrawsOf(TexGameOver).size(), 1u);

    // A soldier who fell after the last kill has lost: the screen stays on game over, the music is not
    // started again frame after frame.
    LevelWon = true;
    TSound* music = SndMusic;
    for (int i = 0; i < 3; ++i) {
        Frame();
        EXPECT_EQ(ScreenState, Screen::GameOver);
        EXPECT_TRUE(DrawsOf(TexComplete).empty());
    }
    EXPECT_EQ(SndMusic, music);
    EXPECT_EQ(engine->mouseLocks, locks + 1);
}

TEST_F(HudTest, TheCursorWaitsForTheIntroAndTheMineLineFollowsTheCharge) {
    ScreenState = Screen::MainMenu;
    FadeLevel = 255;
    MenuAlpha = 0;
    Frame();
    EXPECT_TRUE(DrawsOf(TexCursor).empty());
    FadeLevel = 0;
    MenuAlpha = 200;
    engine->mouseX = 100.0f;
    engine->mouseY = 50.0f;
    Frame();
    ASSERT_EQ(DrawsOf(TexCursor).size(), 1u);
    EXPECT_EQ(DrawsOf(TexCursor)[0].x, 76.0f);
    EXPECT_EQ(DrawsOf(TexCursor)[0].alpha, 250);
    EXPECT_FALSE(DrawsOf(TexCursor)[0].worldPixels);

    ScreenState = Screen::Play;
    MainCamera->X = 300.0f;
    MainCamera->Y = 20.0f;
    Upgrades[7] = 1;
    engine->keysDown.insert(77);
    MineCharge = 640;
    Frame();
    ASSERT_EQ(engine->lines.size(), 1u);
    EXPECT_EQ(engine->lines[0].x1, 300.0f);
    EXPECT_EQ(engine->lines[0].x2, 640.0f);
    EXPECT_EQ(engine->lines[0].y1, 617.0f);
    engine->keysDown.clear();
    Frame();
    EXPECT_TRUE(engine->lines.empty());
    EXPECT_EQ(MineCharge, 300);
}

} // namespace
