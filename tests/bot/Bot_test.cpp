// The bot's way through the screens on the fake battlefield: from the main menu into the highest open level,
// a row of the report for every attempt as it ends, on to the next level or the same one again, giving up
// after its attempts, the tour of every level, and leaving through the exit line.
#include "Bot.h"

#include "GameTick.h"
#include "PLAYER.h"
#include "RUN_GAME.h"
#include "bot_world.h"
#include "level.h"
#include "settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr double kFrameMs = 50;

class BotTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("drelmont_bot_test_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        settings.report = (dir / "report.csv").string();
    }
    void TearDown() override { fs::remove_all(dir); }

    std::vector<std::string> Rows() const {
        std::ifstream in(settings.report);
        std::vector<std::string> rows;
        for (std::string line; std::getline(in, line);)
            rows.push_back(line);
        return rows;
    }
    // Runs the bot until the game is left through the exit line, or `frames` have passed.
    int Play(
        fake::Engine& engine, bot::Controller& bot, int frames, const std::function<void()>& also = [] {}) {
        return botworld::Run(
            engine,
            [&] {
                bot.Frame();
                also();
            },
            frames, kFrameMs, [&] { return engine.quits > 0; });
    }

    fs::path dir;
    bot::Settings settings;
};

TEST_F(BotTest, TheBotStartsTheHighestOpenLevelWinsItAndLeavesThroughTheExitLine) {
    fake::Engine& engine = botworld::AtMainMenu(0);
    settings.levels = 1;
    bot::Controller bot(settings);
    bool sawMissionList = false;
    Play(engine, bot, 20000, [&] { sawMissionList |= ScreenState == Screen::Missions; });
    EXPECT_TRUE(sawMissionList);
    EXPECT_EQ(engine.quits, 1) << "the exit line was clicked, on screen " << ScreenName(ScreenState);
    EXPECT_TRUE(bot.Done());
    EXPECT_EQ(LevelsOpen, 1) << "the level-complete screen's main-menu button opened level 2";

    const std::vector<std::string> rows = Rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], "level,attempt,won,ticks,kills,score,points,lowest_health");
    // Level 1, first attempt, won, with all fifteen of its zombies dead and the score as the top bar shows
    // it.
    std::istringstream row(rows[1]);
    std::vector<std::string> cells;
    for (std::string cell; std::getline(row, cell, ',');)
        cells.push_back(cell);
    ASSERT_EQ(cells.size(), 8u) << rows[1];
    EXPECT_EQ(cells[0] + "," + cells[1] + "," + cells[2], "1,1,1");
    EXPECT_GT(std::stoi(cells[3]), 500) << "fifteen zombies in three-second waves take some ticks";
    EXPECT_EQ(cells[4], "15");
    EXPECT_EQ(cells[5], std::to_string(Score) + "00");
    EXPECT_EQ(cells[6], std::to_string(PointsAwarded));
}

TEST_F(BotTest, ALostAttemptIsARowAndTheBotTriesAgainUntilItsAttemptsRunOut) {
    fake::Engine& engine = botworld::AtMainMenu(3);
    settings.attempts = 2;
    bot::Controller bot(settings);
    // Every attempt is lost: a monster bites the soldier down as soon as the level is under way.
    int frames = 0;
    Play(engine, bot, 20000, [&] {
        if (ScreenState == Screen::Play && !PlayerDead && ++frames % 100 == 0) Player()->Health = 0;
    });
    EXPECT_EQ(engine.quits, 1) << "given up, the bot leaves the game";
    EXPECT_EQ(LevelsOpen, 3);
    const std::vector<std::string> rows = Rows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1].substr(0, 6), "4,1,0,");
    EXPECT_EQ(rows[2].substr(0, 6), "4,2,0,");
    EXPECT_EQ(rows[2].substr(rows[2].size() - 4), ",0.0") << "the lowest health of a lost attempt";
}

TEST_F(BotTest, ARunCutShortKeepsTheRowsOfTheAttemptsItFinished) {
    fake::Engine& engine = botworld::AtMainMenu(0);
    bot::Controller bot(settings);
    // On until level 2 is under way, then the rows are read while the bot still runs.
    Play(engine, bot, 20000, [&] {
        if (Level == 2) engine.quits = 1;
    });
    const std::vector<std::string> rows = Rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].substr(0, 6), "1,1,1,");
}

TEST_F(BotTest, TheTourPlaysEveryLevelInTurnForItsFramesAndLeaves) {
    fake::Engine& engine = botworld::AtMainMenu(29);
    settings.tourFrames = 40;
    bot::Controller bot(settings);
    Play(engine, bot, 20000);
    EXPECT_EQ(engine.quits, 1);
    const std::vector<std::string> rows = Rows();
    ASSERT_EQ(rows.size(), 31u);
    for (int level = 1; level <= 30; ++level)
        EXPECT_EQ(rows[static_cast<size_t>(level)].rfind(std::to_string(level) + ",1,", 0), 0u)
            << rows[static_cast<size_t>(level)];
}

// The bot aims with the game's own rectangles and pointer offsets: each click it makes on the mission list,
// the upgrade panel and the level-complete screen does there what the bot meant by it, as the game tests the
// cursor (a pointer offset or a rectangle of its own would press the next button, or none).
struct BotClick {
    Screen screen;
    uint8_t levelsOpen, level;
    std::optional<Upgrade> meant; // on the panel
    std::array<uint8_t, kUpgradeCount> upgrades;
};
std::optional<BotClick> gClick;
void (*gPost)(int32_t, int32_t, float, float) = nullptr;

TEST_F(BotTest, EachClickPressesTheButtonTheBotMeant) {
    for (uint8_t levelsOpen :
         {0, 20}) { // level 1 to its end, and level 21, which starts with points to spend
        fake::Engine& engine = botworld::AtMainMenu(levelsOpen);
        gPost = ZB_PostInput;
        ZB_PostInput = [](int32_t event, int32_t code, float x, float y) {
            gPost(event, code, x, y);
            if (event != ZB_INPUT_BUTTON_DOWN || code != kPrimary) return;
            gClick = BotClick{ScreenState, LevelsOpen, Level, bot::ChooseUpgrade(bot::ReadField()), {}};
            std::copy(std::begin(Upgrades), std::end(Upgrades), gClick->upgrades.begin());
        };
        std::set<Screen> checked;
        // A click acts in the frame it is made in: its effect shows at the next frame's input point.
        auto check = [&] {
            if (!gClick) return;
            const BotClick c = *gClick;
            gClick.reset();
            if (c.screen == Screen::Missions) {
                EXPECT_EQ(Level, std::min(c.levelsOpen + 1, 30));
            }
            if (c.screen == Screen::Complete) {
                EXPECT_TRUE(Level == c.level + 1 || ScreenState == Screen::MainMenu) << int{Level};
            }
            if (c.screen == Screen::UpgradePanel && c.meant) {
                const int line = static_cast<int>(*c.meant);
                EXPECT_EQ(Upgrades[line], c.upgrades[static_cast<size_t>(line)] + 1) << line;
            }
            checked.insert(c.screen);
        };
        settings.levels = levelsOpen == 0 ? 2 : 1;
        bot::Controller bot(settings);
        botworld::Run(
            engine,
            [&] {
                check();
                bot.Frame();
            },
            levelsOpen == 0 ? 20000 : 3000, kFrameMs, [&] { return engine.quits > 0; });
        EXPECT_TRUE(checked.count(Screen::Missions));
        EXPECT_TRUE(checked.count(levelsOpen == 0 ? Screen::Complete : Screen::UpgradePanel));
    }
}

TEST(BotReport, ASoldierBittenBelowZeroHealthFellAtZero) {
    bot::Attempt fallen{.level = 3, .attempt = 2, .ticks = 40, .kills = 5, .score = 700, .points = 1};
    fallen.lowestHealth = -2.0f;
    EXPECT_EQ(bot::ReportRow(fallen), "3,2,0,40,5,700,1,0.0");
}

TEST_F(BotTest, ATourStopsWithAMessageAndAStatusAtALevelThatIsNotOpen) {
    fake::Engine& engine = botworld::AtMainMenu(0);
    settings.tourFrames = 40; // too few to win level 1, which would open level 2
    bot::Controller bot(settings);
    ::testing::internal::CaptureStderr();
    Play(engine, bot, 20000);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "drelmont: the bot's tour stops at level 2, which the saved progress has not opened\n");
    EXPECT_EQ(engine.quits, 1);
    EXPECT_EQ(bot.Status(), 1);
    EXPECT_EQ(Rows().size(), 2u) << "level 1 was played";
}

TEST_F(BotTest, AReportThatCannotBeWrittenIsToldOnceAndGivesAStatus) {
    fake::Engine& engine = botworld::AtMainMenu(0);
    settings.report = "/dev/full";
    settings.levels = 1;
    ::testing::internal::CaptureStderr();
    bot::Controller bot(settings);
    Play(engine, bot, 20000);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "drelmont: cannot write the bot's report /dev/full: No space left on device\n");
    EXPECT_EQ(engine.quits, 1) << "the bot plays on";
    EXPECT_EQ(bot.Status(), 1);
}

TEST(BotSettings, AValueThatIsNotAWholeNumberInRangeStopsTheProgram) {
    setenv("DRELMONT_BOT_LEVELS", "2", 1);
    setenv("DRELMONT_BOT_ATTEMPTS", "7", 1);
    const bot::Settings s = bot::ReadSettings();
    EXPECT_EQ(s.levels, 2);
    EXPECT_EQ(s.attempts, 7);
    for (const char* bad : {"", "x", "3x", "31", "-1", "99999999999999999999"}) {
        setenv("DRELMONT_BOT_LEVELS", bad, 1);
        EXPECT_EXIT(bot::ReadSettings(), ::testing::ExitedWithCode(2), "DRELMONT_BOT_LEVELS") << bad;
    }
    setenv("DRELMONT_BOT_LEVELS", "0", 1);
    setenv("DRELMONT_BOT_ATTEMPTS", "0", 1);
    EXPECT_EXIT(bot::ReadSettings(), ::testing::ExitedWithCode(2), "DRELMONT_BOT_ATTEMPTS");
    unsetenv("DRELMONT_BOT_LEVELS");
    unsetenv("DRELMONT_BOT_ATTEMPTS");
}

} // namespace
