// The campaign bot on the real program, headless: it wins each sampled level of the campaign within a bounded
// number of attempts, starting from saved progress in which the levels before it are completed; and a game it
// plays is an ordinary recorded game, which replays without it to the same digests.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Attempts the bot may take at a level before it gives up.
constexpr int kAttempts = 3;
// Five ticks of 16 ms to every drawn frame, the most the engine runs in one: the level plays at the same
// pace and the bot looks five times less often.
constexpr const char* kFrameMs = "80";

class BotProgram : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        dir = fs::temp_directory_path() / ("drelmont_bot_" + std::to_string(::getpid()) + "_" +
                                           std::to_string(std::hash<std::string>{}(name)));
        fs::remove_all(dir);
        fs::create_directories(dir / "user" / "drelmont");
    }
    void TearDown() override { fs::remove_all(dir); }

    // Saved progress with levels 1 .. completed done, so the bot's highest open level is the next one.
    void SaveProgress(int completed) {
        std::ofstream(dir / "user" / "drelmont" / "SAVE.INI") << "[prA(*@)]\nBH5sj =" << completed << "\n";
    }

    // Runs the real program headless with extra settings; returns its exit status.
    int Run(const std::string& env) {
        const std::string command = "cd " + dir.string() +
                                    " && env XDG_DATA_HOME=" + (dir / "user").string() +
                                    " ALSOFT_DRIVERS=null ZORBEL_HEADLESS=1 DRELMONT_TRACE_FD=3 " + env +
                                    " " + DRELMONT + " >/dev/null 2>stderr.txt 3>trace.txt";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string Read(const std::string& file) const {
        std::ifstream in(dir / file);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::vector<std::string> Lines(const std::string& file) const {
        std::vector<std::string> lines;
        std::istringstream in(Read(file));
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }

    fs::path dir;
};

class SampledLevel : public BotProgram, public ::testing::WithParamInterface<int> {};

TEST_P(SampledLevel, IsWonByTheBotWithinItsAttempts) {
    const int level = GetParam();
    SaveProgress(level - 1);
    // About twice the frames of three attempts at the longest level: a bot that wanders is stopped.
    const int status =
        Run(std::string("ZORBEL_FRAME_MS=") + kFrameMs + " ZORBEL_MAX_FRAMES=12000" +
            " DRELMONT_BOT=1 DRELMONT_BOT_LEVELS=1 DRELMONT_BOT_ATTEMPTS=" + std::to_string(kAttempts) +
            " DRELMONT_BOT_REPORT=report.csv");
    ASSERT_EQ(status, 0) << Read("stderr.txt");

    const std::vector<std::string> rows = Lines("report.csv");
    ASSERT_GE(rows.size(), 2u) << Read("trace.txt");
    EXPECT_EQ(rows[0], "level,attempt,won,ticks,kills,score,points,lowest_health");
    for (size_t i = 1; i < rows.size(); ++i) {
        // One row per attempt, in order, at the level the save left open; only the last is a win.
        const std::string prefix = std::to_string(level) + "," + std::to_string(i) + ",";
        EXPECT_EQ(rows[i].rfind(prefix, 0), 0u) << rows[i];
        const bool won = rows[i].rfind(prefix + "1,", 0) == 0;
        EXPECT_EQ(won, i + 1 == rows.size()) << rows[i];
    }
    EXPECT_LE(rows.size() - 1, static_cast<size_t>(kAttempts));
    // Having won, the bot leaves through the main menu's exit line, which saves the progress it made. The
    // last level has no end screen and opens nothing more: "You WIN!!!" ends the campaign.
    const std::string done = level == 30 ? "bot done campaign" : "bot done levels";
    EXPECT_NE(Read("trace.txt").find(done + "\nscreen 1\n"), std::string::npos) << Read("trace.txt");
    EXPECT_NE(Read("user/drelmont/SAVE.INI").find("BH5sj =" + std::to_string(std::min(level, 29))),
              std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Campaign, SampledLevel, ::testing::Values(1, 11, 15, 21, 28, 30),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return "Level" + std::to_string(info.param);
                         });

// The digests of a statistics file's "digests" list, one line each.
std::vector<std::string> DigestLines(const std::string& stats) {
    std::vector<std::string> lines;
    std::istringstream in(stats);
    for (std::string line; std::getline(in, line);)
        if (line.find("\"digest\"") != std::string::npos) lines.push_back(line);
    return lines;
}

TEST_F(BotProgram, AGameTheBotPlaysIsRecordedAndReplaysWithoutIt) {
    ASSERT_EQ(Run("ZORBEL_MAX_FRAMES=900 ZORBEL_FRAME_MS=32 ZORBEL_DIGEST_EVERY=60 ZORBEL_STATS=played.json "
                  "ZORBEL_RECORD=game.zrec DRELMONT_BOT=1"),
              0)
        << Read("stderr.txt");
    // Into a level and fighting by the end, so the recording holds menu clicks, walking and shooting.
    EXPECT_NE(Read("trace.txt").find("screen 0"), std::string::npos) << Read("trace.txt");
    const std::vector<std::string> played = DigestLines(Read("played.json"));
    EXPECT_EQ(played.size(), 15u);
    ASSERT_EQ(Run("ZORBEL_DIGEST_EVERY=60 ZORBEL_STATS=replayed.json ZORBEL_REPLAY=game.zrec"), 0)
        << Read("stderr.txt");
    EXPECT_EQ(DigestLines(Read("replayed.json")), played);
    // A replay takes its input from the recording alone: a bot left switched on adds nothing to it.
    ASSERT_EQ(Run("ZORBEL_DIGEST_EVERY=60 ZORBEL_STATS=again.json ZORBEL_REPLAY=game.zrec DRELMONT_BOT=1"), 0)
        << Read("stderr.txt");
    EXPECT_EQ(DigestLines(Read("again.json")), played);
}

} // namespace
