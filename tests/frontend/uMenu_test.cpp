// The menu screens on a fresh battlefield: buttons, side files, settings, the mission list, the end screens,
// the glows and the crosshair, and the rectangles against the generated pictures.
#include "uMenu.h"

#include "BONUS.h"
#include "GEngine.h"
#include "GameTick.h"
#include "HUD.h"
#include "PLAYER.h"
#include "RUN_GAME.h"
#include "SquallSound.h"
#include "assets.h"
#include "level.h"
#include "platform.h"
#include "settings.h"
#include "test_world.h"
#include "ui_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <thread>
#include <tuple>
#include <utility>

namespace fs = std::filesystem;

namespace {

class MenuTest : public ::testing::Test {
  protected:
    void SetUp() override {
        home = fs::temp_directory_path() / ("drelmont_menu_" + std::to_string(::getpid()));
        fs::remove_all(home);
        setenv("XDG_DATA_HOME", (home / "user").c_str(), 1);
        engine = &fake::World();
        ResetSettingsGlobals(); // no file yet: every setting at its default
        CreateMenuSprites();
        InitMenuGeometry();
        ScreenState = Screen::MainMenu;
        Paused = true;
        MenuAlpha = 255;
    }
    void TearDown() override { fs::remove_all(home); }

    // A frame with the cursor at (x, y), and a primary click in it when asked.
    void Frame(float x, float y, bool click = false) {
        engine->mouseX = x;
        engine->mouseY = y;
        if (click) engine->buttonsPressed.insert(1);
        engine->texts.clear();
        engine->draws.clear();
        DrawFrame();
    }
    void Click(float x, float y) { Frame(x, y, true); }
    // A click that lands on the rectangle's middle, for a screen that tests cursor - shift.
    void ClickOn(const ZB_Rect& r, float shift = 0.0f) {
        Click(r.X + r.W / 2 + shift, r.Y + r.H / 2 + shift);
    }
    std::string TextAt(float x, float y) const {
        for (const fake::TextCall& t : engine->texts)
            if (t.x == x && t.y == y) return t.text;
        return "";
    }
    fs::path home;
    fake::Engine* engine = nullptr;
};

TEST_F(MenuTest, AClickOnlyActsOnTheLineUnderTheCursor) {
    Click(300, 185); // right of the new-game line
    Click(100, 208); // between new game and continue
    EXPECT_EQ(ScreenState, Screen::MainMenu);
    Frame(100, 185); // hovering alone does nothing
    EXPECT_EQ(ScreenState, Screen::MainMenu);
    Click(100, 185);
    EXPECT_EQ(ScreenState, Screen::Missions);
    EXPECT_EQ(engine->log.back(), "load PICTURE\\MISSION.jpg 266 -1");
}

TEST_F(MenuTest, ContinueResumesOnlyASuspendedGame) {
    ClickOn(MainMenuLines[1]);
    EXPECT_EQ(ScreenState, Screen::MainMenu);

    SetupLevel(2);
    GameTick();
    engine->keysPressed.insert(27); // Escape suspends the game
    GameTick();
    ASSERT_EQ(ScreenState, Screen::MainMenu);
    ASSERT_TRUE(GameSuspended);
    ClickOn(MainMenuLines[1]);
    EXPECT_EQ(ScreenState, Screen::Play);
    EXPECT_FALSE(Paused);
    EXPECT_EQ(MenuAlpha, 0);
    EXPECT_EQ(Level, 2);
}

// The panel was closed and still fading out when the game was left: continuing resumes play.
TEST_F(MenuTest, ContinueAfterLeavingWhileThePanelFadedOutResumesPlay) {
    SetupLevel(2);
    GameTick();
    UpgradePoints = 1;
    engine->buttonsPressed.insert(0); // the secondary button opens the panel
    GameTick();
    ASSERT_EQ(ScreenState, Screen::UpgradePanel);
    for (int i = 0; i < 15; ++i)
        Frame(0, 0);
    ASSERT_EQ(UpgradePanelAlpha, 255);
    engine->buttonsPressed.insert(0); // and closes it
    GameTick();
    Frame(0, 0);
    ASSERT_EQ(UpgradePanelAlpha, 238);
    engine->keysPressed.insert(27);
    GameTick();
    ASSERT_EQ(ScreenState, Screen::MainMenu);
    ClickOn(MainMenuLines[1]);
    EXPECT_EQ(ScreenState, Screen::Play);
    EXPECT_FALSE(Paused);
}

// A cursor point inside cursorBox whose pointer tip, 12 px up and left of it, lies inside tipBox.
std::optional<std::pair<float, float>> PointWithTipInside(const ZB_Rect& cursorBox, const ZB_Rect& tipBox) {
    for (float y = cursorBox.Y; y < cursorBox.Y + cursorBox.H; ++y) {
        for (float x = cursorBox.X; x < cursorBox.X + cursorBox.W; ++x)
            if (Col_PointInAABB(x - 12.0f, y - 12.0f, &tipBox)) return std::pair{x, y};
    }
    return std::nullopt;
}

// The blocks of the menu run one after another in a frame, so a click that changes the screen meets the next
// screen's block in the same frame. A row: the main-menu line clicked, the button of the next screen its
// point lies on as well, and the screen that follows.
struct ClickThrough {
    const char* name;
    int line;
    ZB_Rect (*nextButton)();
    Screen screen;
};

void PrintTo(const ClickThrough& row, std::ostream* out) {
    *out << row.name;
}

class OneClick : public MenuTest, public ::testing::WithParamInterface<ClickThrough> {};

TEST_P(OneClick, ActsOnOneScreenOnly) {
    const auto point = PointWithTipInside(MainMenuLines[GetParam().line], GetParam().nextButton());
    ASSERT_TRUE(point);
    const auto settings = std::tuple{ShowFps, TextureFlagSetting, FullScreen, MusicVolume, EffectsVolume};
    engine->buttonsDown.insert(1); // held through the frame, as a real click is
    Click(point->first, point->second);
    EXPECT_EQ(ScreenState, GetParam().screen);
    EXPECT_EQ(Level, 0);
    EXPECT_FALSE(ClearField) << "a level was started";
    EXPECT_EQ(settings, std::tuple(ShowFps, TextureFlagSetting, FullScreen, MusicVolume, EffectsVolume));
}

INSTANTIATE_TEST_SUITE_P(MainMenu, OneClick,
                         ::testing::Values(ClickThrough{"NewGameOverLevelOne", 0,
                                                        [] { return LevelButton(1); }, Screen::Missions},
                                           ClickThrough{"OptionsOverTheFrameRateLine", 2,
                                                        [] { return OptionsLines[0]; }, Screen::Options}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MenuTest, CreditsAreEnteredAndLeftWithTheMouseAndLeftWithEscape) {
    ClickOn(CreditsButton);
    EXPECT_EQ(ScreenState, Screen::Credits);
    EXPECT_EQ(engine->log.back(), "load PICTURE\\CREATED.jpg 266 -1");
    Click(400, 300); // on the text
    EXPECT_EQ(ScreenState, Screen::Credits);
    ClickOn(CreditsBack);
    EXPECT_EQ(ScreenState, Screen::MainMenu);
    // The click that left did not go on to press a main-menu line in the same frame.
    ClickOn(CreditsButton);
    engine->keysPressed.insert(27);
    GameTick();
    EXPECT_EQ(ScreenState, Screen::MainMenu);
}

TEST_F(MenuTest, OptionsShowTheirValuesAndEachLineChangesItsOwn) {
    ShowFps = true;
    TextureFlagSetting = false;
    MusicVolume = 100;
    EffectsVolume = 90;
    ClickOn(MainMenuLines[2]);
    ASSERT_EQ(ScreenState, Screen::Options);
    Frame(0, 0);
    EXPECT_EQ(TextAt(745, 260), "ВКЛ.");
    EXPECT_EQ(TextAt(740, 310), "ВЫКЛ.");
    EXPECT_EQ(TextAt(740, 410), "100");
    EXPECT_EQ(TextAt(740, 460), "90");

    ClickOn(OptionsLines[0], 12);
    ClickOn(OptionsLines[1], 12);
    ClickOn(OptionsLines[3], 12); // music: 100 passes 100 on the next step and goes to 0
    ClickOn(OptionsLines[4], 12);
    Frame(0, 0);
    EXPECT_EQ(TextAt(740, 260), "ВЫКЛ.");
    EXPECT_EQ(TextAt(745, 310), "ВКЛ.");
    EXPECT_EQ(TextAt(740, 410), "0");
    EXPECT_EQ(TextAt(740, 460), "100");
    EXPECT_EQ(SndMusic->Volume, 0);
    EXPECT_EQ(SndExplosion->Volume, 100);
    ClickOn(OptionsLines[4], 12);
    EXPECT_EQ(EffectsVolume, 0);

    // A line under the pointer's tip lights; the cursor point itself is 12 px further on.
    const ZB_Rect& full = OptionsLines[2];
    Click(full.X + 5, full.Y + 5); // the tip is above the line
    EXPECT_TRUE(FullScreen);
    Frame(full.X + 20, full.Y + 20);
    ASSERT_FALSE(engine->draws.empty());
    EXPECT_EQ(engine->draws.back().texture, TexBlack);
    EXPECT_EQ(engine->draws.back().alpha, PulseValue);
}

// The language line names the language of the next start in its own words; this run keeps its own.
TEST_F(MenuTest, TheLanguageLineSwitchesTheLanguageOfTheNextStart) {
    GameLanguage = Language::Russian;
    ClickOn(MainMenuLines[2]);
    auto shown = [&] {
        for (const fake::TextCall& t : engine->texts)
            if (t.y == LanguageLine.Y + 10) return t.text;
        return std::string();
    };
    Frame(LanguageLine.X + 400, LanguageLine.Y + 20); // the pointer's tip on the line: it lights
    EXPECT_EQ(shown(), "РУССКИЙ");
    const ZB_Rect& p = kLanguageLinePicture;
    EXPECT_TRUE(std::any_of(engine->draws.begin(), engine->draws.end(), [&](const fake::DrawCall& d) {
        return d.texture == TexLanguageLine && d.x == p.X && d.y == p.Y && d.w == p.W && d.h == p.H;
    }));
    EXPECT_EQ(engine->draws.back().texture, TexBlack);
    EXPECT_EQ(engine->draws.back().y, LanguageLine.Y);

    ClickOn(LanguageLine, 12);
    EXPECT_EQ(ChosenLanguage, Language::English);
    Frame(0, 0);
    EXPECT_EQ(shown(), "ENGLISH");
    EXPECT_EQ(TextAt(745, 260), "ВКЛ.");
    EXPECT_EQ(GameLanguage, Language::Russian);
    ClickOn(LanguageLine, 12);
    EXPECT_EQ(ChosenLanguage, Language::Russian);
    ClickOn(LanguageLine, 12);
    ClickOn(OptionsLines[5], 12);
    ChosenLanguage.reset();
    LoadSettings();
    EXPECT_EQ(ChosenLanguage, Language::English);
}

TEST_F(MenuTest, SavingTheOptionsWritesTheFileAndReturnsToTheMainMenu) {
    MapAlpha = 40;
    ClickOn(MainMenuLines[2]);
    ClickOn(OptionsLines[3], 12);
    ClickOn(OptionsLines[5], 12);
    EXPECT_EQ(ScreenState, Screen::MainMenu);
    EXPECT_EQ(MapAlpha, 255);
    MusicVolume = 55;
    LoadSettings();
    EXPECT_EQ(MusicVolume, 0);
}

TEST_F(MenuTest, OnlyOpenLevelsStartAndTheListLightsOnlyThem) {
    ClickOn(MainMenuLines[0]);
    LevelsOpen = 2;
    ClickOn(LevelButton(4), 12);
    EXPECT_EQ(ScreenState, Screen::Missions);
    EXPECT_EQ(Level, 0);

    // Every open level shows a standing glow, a closed one none.
    Frame(700, 580);
    for (int n = 1; n <= 30; ++n) {
        const bool lit =
            std::any_of(engine->draws.begin(), engine->draws.end(), [&](const fake::DrawCall& d) {
                return d.texture == TexMenuLineLight && d.y == LevelButton(n).Y && d.x == LevelButton(n).X &&
                       d.alpha > 0;
            });
        EXPECT_EQ(lit, n <= 3) << "level " << n;
    }

    // Hovering an open level lights it, a closed one never is.
    for (int i = 0; i < 5; ++i)
        Frame(LevelButton(3).X + 112, LevelButton(3).Y + 20);
    EXPECT_GT(GameEngine->At(LevelLightSlots[2])->Alpha, 0);
    for (int i = 0; i < 5; ++i)
        Frame(LevelButton(4).X + 112, LevelButton(4).Y + 20);
    for (const fake::DrawCall& d : engine->draws)
        EXPECT_FALSE(d.texture == TexMenuLineLight && d.y == LevelButton(4).Y);

    ClickOn(LevelButton(3), 12);
    EXPECT_EQ(ScreenState, Screen::Play);
    EXPECT_EQ(Level, 3);

    ScreenState = Screen::Missions;
    ClickOn(ListBack, 12);
    EXPECT_EQ(ScreenState, Screen::MainMenu);
}

TEST_F(MenuTest, TheExitLineSavesStopsAndQuitsOpeningNoMissingSideFile) {
    setenv("DRELMONT_DATA", (home / "data").c_str(), 1); // a folder without side files
    LevelsOpen = 6;
    ClickOn(MainMenuLines[6]);
    unsetenv("DRELMONT_DATA");
    EXPECT_EQ(engine->quits, 1);
    LevelsOpen = 0;
    LoadSettings();
    EXPECT_EQ(LevelsOpen, 6);
}

TEST_F(MenuTest, ASideFileOpensWithTheDesktopOnlyWhenItExists) {
    // A stand-in for the desktop's opener that notes what it was asked to open.
    fs::create_directories(home / "bin");
    fs::create_directories(home / "data");
    const fs::path opened = home / "opened.txt";
    std::ofstream(home / "bin" / "xdg-open") << "#!/bin/sh\necho \"$1\" >> " << opened.string() << "\n";
    fs::permissions(home / "bin" / "xdg-open", fs::perms::owner_all);
    const std::string path = std::getenv("PATH");
    setenv("PATH", ((home / "bin").string() + ":" + path).c_str(), 1);
    setenv("DRELMONT_DATA", (home / "data").c_str(), 1);
    // The opener runs on by itself: wait for its whole line.
    auto waitForOpened = [&] {
        std::string text;
        for (int i = 0; i < 200 && (text.empty() || text.back() != '\n'); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            std::ifstream in(opened);
            text.assign(std::istreambuf_iterator<char>(in), {});
        }
        return text;
    };

    ClickOn(LogoCorner);
    ClickOn(MainMenuLines[3]);
    std::ofstream(home / "data" / "website.url") << "[InternetShortcut]\n";
    ClickOn(LogoCorner);
    const std::string asked = waitForOpened();
    setenv("PATH", path.c_str(), 1);
    unsetenv("DRELMONT_DATA");
    EXPECT_EQ(asked, (home / "data" / "website.url").string() + "\n");
    EXPECT_EQ(ScreenState, Screen::MainMenu);
}

TEST_F(MenuTest, AHoveredMenuLineGlowsUpThenBreathesBetween100And180) {
    TMENUS_LIGHT* light = static_cast<TMENUS_LIGHT*>(GameEngine->At(MenuLightSlots[0]));
    bool peaked = false;
    for (int i = 0; i < 200; ++i) {
        Frame(100, 185);
        peaked = peaked || light->Saturated;
        if (peaked) {
            ASSERT_GE(light->Alpha, 100) << "frame " << i;
            ASSERT_LE(light->Alpha, 180) << "frame " << i;
        }
    }
    EXPECT_TRUE(peaked);
    for (int i = 0; i < 40; ++i)
        Frame(600, 100);
    EXPECT_EQ(light->Alpha, 0);
    EXPECT_EQ(GameEngine->At(MenuLightSlots[1])->Alpha, 0); // its neighbour never lit
}

TEST_F(MenuTest, TheCrosshairArmsSitAroundTheCursorAndSpreadWithTheAim) {
    engine->mouseX = 400;
    engine->mouseY = 300;
    ScreenState = Screen::Play;
    Paused = false;
    SpreadHeat = 0;
    GameEngine->Move();
    auto arm = [&](int k) { return GameEngine->At(CrosshairSlots[k]); };
    EXPECT_EQ(arm(0)->Y, 300 - 14); // top: its five pixels end 9 above the point
    EXPECT_EQ(arm(1)->Y, 300 + 9);
    EXPECT_EQ(arm(2)->X, 400 - 14);
    EXPECT_EQ(arm(3)->X, 400 + 10);
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(arm(k)->Alpha, 255);

    SpreadHeat = 21; // the soldier's own move cools it by one first
    GameEngine->Move();
    EXPECT_EQ(arm(0)->Y, 300 - 14 - 20);
    EXPECT_EQ(arm(3)->X, 400 + 10 + 20);
    // The four spare arms park unseen.
    for (int slot = CrosshairSlots[3] + 1; slot <= CrosshairSlots[3] + 4; ++slot)
        EXPECT_EQ(GameEngine->At(slot)->Alpha, 0);
    PlayerDead = true;
    GameEngine->Move();
    EXPECT_EQ(arm(0)->Alpha, 0);
}

TEST_F(MenuTest, TheEndScreensTestTheirOwnPoints) {
    SetupLevel(5);
    GameTick();
    PlayerDead = true;
    Frame(0, 0);
    ASSERT_EQ(ScreenState, Screen::GameOver);
    Click(268, 330); // the rectangle's corner, but the game-over screen tests 5 px up and left of it
    EXPECT_EQ(ScreenState, Screen::GameOver);
    Click(268 + 5, 330 + 5);
    EXPECT_EQ(ScreenState, Screen::Play);
    EXPECT_FALSE(PlayerDead);

    GameTick();
    LevelWon = true;
    Frame(0, 0);
    ASSERT_EQ(ScreenState, Screen::Complete);
    Click(281, 379); // next level, tested at the cursor itself
    EXPECT_EQ(Level, 6);
    EXPECT_EQ(LevelsOpen, 5);
}

// A whole level won in-process: the quota forced, the complete screen, the next level opened on the list.
TEST_F(MenuTest, AWonLevelLeadsToTheNextWhichTheListThenOffers) {
    ClickOn(MainMenuLines[0]);
    ClickOn(LevelButton(1), 12);
    ASSERT_EQ(Level, 1);
    GameTick();
    KillCount = MonstersTotal;
    GameTick();
    Frame(0, 0);
    ASSERT_EQ(ScreenState, Screen::Complete);
    for (int i = 0; i < 20; ++i) {
        GameTick();
        Frame(0, 0);
    }
    EXPECT_EQ(EndPictureAlpha, 255);
    Click(280 + 60, 378 + 15);
    EXPECT_EQ(ScreenState, Screen::Play);
    EXPECT_EQ(Level, 2);
    EXPECT_EQ(LevelsOpen, 1);

    engine->keysPressed.insert(27);
    GameTick();
    ClickOn(MainMenuLines[0]);
    ClickOn(LevelButton(2), 12);
    EXPECT_EQ(ScreenState, Screen::Play);
    EXPECT_EQ(Level, 2);
}

// The upgrade panel of a level that starts with seven points, opened with the secondary button.
class PanelTest : public MenuTest {
  protected:
    void SetUp() override {
        MenuTest::SetUp();
        SetupLevel(21);
        GameTick();
        engine->buttonsPressed.insert(0);
        GameTick();
        ASSERT_EQ(ScreenState, Screen::UpgradePanel);
        ASSERT_EQ(UpgradePoints, 7);
    }
    void Buy(int line) { ClickOn(UpgradeLine(line), 12); }
};

TEST_F(PanelTest, ALineAtItsThirdLevelTakesNoPointYetStillLights) {
    Buy(4);
    Buy(4);
    Buy(4);
    EXPECT_EQ(Upgrades[4], 3);
    EXPECT_EQ(UpgradePoints, 4);
    Buy(4);
    EXPECT_EQ(Upgrades[4], 3);
    EXPECT_EQ(UpgradePoints, 4);
    const ZB_Rect r = UpgradeLine(4);
    bool lit = false;
    for (const fake::DrawCall& d : engine->draws)
        lit = lit || (d.texture == TexBlack && d.x == r.X && d.y == r.Y && d.alpha == PulseValue);
    EXPECT_TRUE(lit);
}

TEST_F(PanelTest, HealingFillsUpTo200AndAddsThirtyBelowIt) {
    for (const auto& [before, after] : {std::pair{171.0f, 200.0f}, {170.0f, 200.0f}, {100.0f, 130.0f}}) {
        Upgrades[8] = 0;
        Player()->Health = before;
        Buy(8);
        EXPECT_FLOAT_EQ(Player()->Health, after) << before;
    }
    EXPECT_EQ(UpgradePoints, 4);
    EXPECT_EQ(ScreenState, Screen::UpgradePanel);
}

TEST_F(PanelTest, ClipRegenerationAndSpeedTakeEffectAtOnce) {
    ClipAmmo = 0;
    Reloading = true;
    ReloadTimer = 40.0f;
    BonusShots = -1;
    Buy(2);
    EXPECT_FALSE(Reloading);
    EXPECT_EQ(ReloadTimer, 0.0f);
    EXPECT_EQ(ClipAmmo, ClipSize);
    EXPECT_EQ(BonusShots, BaseBonusShots);
    EXPECT_EQ(AmmoBar, ClipSize * 4 - 81);
    Buy(3);
    Buy(3);
    EXPECT_EQ(RegenLevel, 2);
    Buy(5);
    EXPECT_FLOAT_EQ(PlayerSpeed, 1.15f);
}

TEST_F(PanelTest, TheRandomWeaponLineClosesThePanelAndThrowsAWeaponAtTheSoldiersFeet) {
    const int32_t before = GameEngine->Count;
    Buy(6);
    EXPECT_EQ(ScreenState, Screen::Play);
    EXPECT_FALSE(Paused);
    EXPECT_FALSE(UpgradePanelOpen);
    EXPECT_EQ(UpgradePoints, 6);
    ASSERT_EQ(GameEngine->Count, before + 1);
    const auto* pickup = dynamic_cast<TWeaponPickup*>(GameEngine->At(GameEngine->Count - 1));
    ASSERT_NE(pickup, nullptr);
    EXPECT_EQ(pickup->X, M_Round(PlayerPosX) + 30);
    EXPECT_EQ(pickup->Y, M_Round(PlayerPosY) + 30);
}

TEST_F(PanelTest, TheMinesLineLeavesThePointsAndWaitsForAClickThatSetsTheSoldierDown) {
    Buy(7);
    EXPECT_EQ(Upgrades[7], 1);
    EXPECT_EQ(UpgradePoints, 6);
    EXPECT_EQ(ScreenState, Screen::Play);
    EXPECT_FALSE(UpgradePanelOpen);
    EXPECT_TRUE(Paused);
    EXPECT_TRUE(TargetMode);
    GameTick(); // the click that bought the line does not count as the placing click
    EXPECT_TRUE(TargetMode);

    MainCamera->X = 500.0f;
    MainCamera->Y = -200.0f;
    engine->mouseX = 150.0f;
    engine->mouseY = 120.0f;
    engine->buttonsPressed.insert(1);
    GameTick();
    EXPECT_FALSE(TargetMode);
    EXPECT_FALSE(Paused);
    EXPECT_EQ(PlayerPosX, 650.0f);
    EXPECT_EQ(PlayerPosY, -80.0f);
}

TEST_F(PanelTest, TheLastPointClosesThePanelAndPlayResumesInTheSameFrame) {
    UpgradePoints = 1;
    Buy(0);
    EXPECT_EQ(Upgrades[0], 1);
    EXPECT_EQ(UpgradePoints, 0);
    EXPECT_EQ(ScreenState, Screen::Play);
    EXPECT_FALSE(Paused);
    EXPECT_FALSE(UpgradePanelOpen);
    EXPECT_EQ(engine->log[engine->log.size() - 2], "load PICTURE\\BULLET2.bmp 330 -1"); // the crosshair
}

TEST_F(PanelTest, PressesMadeOnThePanelDoNotOutliveTheFrame) {
    engine->buttonsDown.insert(1);
    Click(600, 500); // beside the panel
    EXPECT_TRUE(engine->buttonsPressed.empty());
    EXPECT_EQ(UpgradePoints, 7);
    EXPECT_EQ(ScreenState, Screen::UpgradePanel);
}

// Every rectangle the game tests is where the generated pictures draw its button.
TEST(MenuGeometry, TheGameTestsTheRectanglesThePicturesDrawTheirButtonsAt) {
    fake::World();
    InitMenuGeometry();
    using artgen::ui::Find;
    auto same = [](const ZB_Rect& game, const artgen::ui::ButtonSpot& art) {
        EXPECT_EQ(game.X, art.tested.x) << art.picture << " " << art.line;
        EXPECT_EQ(game.Y, art.tested.y) << art.picture << " " << art.line;
        EXPECT_EQ(game.W, art.tested.w) << art.picture << " " << art.line;
        EXPECT_EQ(game.H, art.tested.h) << art.picture << " " << art.line;
    };
    const char* mainLines[7] = {"new game",
                                "continue",
                                "options",
                                "more games (side file)",
                                "tell a friend (side file)",
                                "subscribe (side file)",
                                "exit"};
    for (int k = 0; k < 7; ++k)
        same(MainMenuLines[k], Find("MAIN_MENU.jpg", mainLines[k]));
    same(LogoCorner, Find("MAIN_MENU.jpg", "logo corner"));
    same(CreditsButton, Find("MAIN_MENU.jpg", "credits"));
    same(CreditsBack, Find("CREATED.jpg", "back"));
    const char* options[6] = {"show fps",     "texture filtering", "full screen",
                              "music volume", "effects volume",    "save and back"};
    for (int k = 0; k < 6; ++k)
        same(OptionsLines[k], Find("OPTIONS.jpg", options[k]));
    same(ListBack, Find("MISSION.jpg", "back"));
    same(LanguageLine, Find("OPTIONS_LANGUAGE.TGA", "language"));
    EXPECT_EQ(kLanguageLinePicture.Y, artgen::ui::kLanguageLinePictureY);
    EXPECT_EQ(kLanguageLinePicture.W, artgen::ui::kLanguageLinePictureW);
    EXPECT_EQ(kLanguageLinePicture.H, artgen::ui::kLanguageLinePictureH);
    EXPECT_EQ(kLanguageValueMiddle, artgen::ui::kLanguageValueMiddle);
    for (int n = 1; n <= 30; ++n)
        same(LevelButton(n), Find("MISSION.jpg", ("level " + std::to_string(n)).c_str()));
    same(kNextLevelButton, Find("COMPLETE.bmp", "next level"));
    same(kCompleteMainMenuButton, Find("COMPLETE.bmp", "main menu"));
    same(kPlayAgainButton, Find("GAME_OVER_M.bmp", "play again"));
    const char* upgrades[10] = {"damage", "fire rate",     "ammunition", "regeneration", "armour",
                                "speed",  "random weapon", "mines",      "healing",      "fragment ring"};
    for (int n = 0; n < 10; ++n)
        same(UpgradeLine(n), Find("LEVEL.bmp", upgrades[n]));
}

// The real load procedure on the fake engine: what the table holds before any input. (That the program
// starts on the main menu is seen end to end, in the program's first screen.)
TEST(MenuStart, TheLoadPutsThePlayerTheArmsAndTheGlowsInTheFirstSlots) {
    fake::Engine& engine = fake::Install();
    LoadProc();
    EXPECT_EQ(FadeLevel, 255);
    ASSERT_EQ(GameEngine->Count, 1 + 8 + 7 + 30);
    EXPECT_NE(dynamic_cast<TPLAYER*>(GameEngine->At(0)), nullptr);
    for (int slot = 1; slot <= 8; ++slot) {
        const auto* arm = dynamic_cast<TPRIZEL_M*>(GameEngine->At(slot));
        ASSERT_NE(arm, nullptr) << slot;
        EXPECT_EQ(arm->Active, slot <= 4) << slot;
    }
    const auto* top = static_cast<TPRIZEL_M*>(GameEngine->At(1));
    const auto* right = static_cast<TPRIZEL_M*>(GameEngine->At(4));
    EXPECT_TRUE(top->SideTop && !top->SideBottom && !top->SideLeft && !top->SideRight);
    EXPECT_TRUE(right->SideRight && !right->SideTop);
    EXPECT_EQ(CrosshairSlots, (std::array<int32_t, 4>{1, 2, 3, 4}));
    for (int k = 0; k < 7; ++k) {
        ASSERT_NE(dynamic_cast<TMENUS_LIGHT*>(GameEngine->At(9 + k)), nullptr) << k;
        EXPECT_EQ(MenuLightSlots[k], 9 + k);
    }
    EXPECT_EQ(GameEngine->At(9)->Y, 134);
    EXPECT_EQ(GameEngine->At(15)->Y, 431);
    for (int k = 0; k < 30; ++k) {
        ASSERT_NE(dynamic_cast<TMENU_LINE_LIGHT*>(GameEngine->At(16 + k)), nullptr) << k;
        EXPECT_EQ(LevelLightSlots[k], 16 + k);
    }
    EXPECT_EQ(GameEngine->At(16 + 10)->X, 245); // level 11 heads the second column
    EXPECT_EQ(GameEngine->At(16 + 29)->Y, 192 + 35 * 9);
    EXPECT_NE(std::find(engine.log.begin(), engine.log.end(), "load PICTURE\\CURSOR_MENU.bmp 330 -1"),
              engine.log.end());
}

} // namespace
