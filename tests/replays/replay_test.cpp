// Recorded games as regression tests: each stored game replays headless to its stored digests; a game
// recorded in real time replays to the same digests and picture; one changed input event changes the digests.
// DRELMONT_REFRESH_REPLAYS=1 rewrites the stored digests instead of comparing them (make refresh-replays).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int kDigestEvery = 60;

using Digests = std::vector<std::pair<uint64_t, std::string>>; // frame, digest

std::string ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The digests of a statistics file, one "{"frame": N, "digest": "HEX"}" per line.
Digests ParseStats(const std::string& text) {
    Digests digests;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        unsigned long long frame = 0;
        char hex[17] = {};
        if (std::sscanf(line.c_str(), " {\"frame\": %llu, \"digest\": \"%16[0-9a-f]\"}", &frame, hex) == 2)
            digests.emplace_back(frame, hex);
    }
    return digests;
}

// The stored form: "FRAME DIGEST" lines under '#' comments.
Digests ParseStored(const std::string& text) {
    Digests digests;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        uint64_t frame = 0;
        std::string digest;
        if (words >> frame >> digest) digests.emplace_back(frame, digest);
    }
    return digests;
}

// Where two digest lists part: the first frame they disagree on, or a note on their lengths.
std::string FirstDifference(const Digests& expected, const Digests& actual) {
    for (size_t i = 0; i < std::min(expected.size(), actual.size()); ++i)
        if (expected[i] != actual[i])
            return "first difference at frame " + std::to_string(expected[i].first) + ": expected " +
                   expected[i].second + ", got " + actual[i].second;
    if (expected.size() != actual.size())
        return std::to_string(expected.size()) + " digests expected, " + std::to_string(actual.size()) +
               " taken";
    return {};
}

class Games : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("drelmont_replay_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    struct Result {
        int status = -1;
        std::string err;
        Digests digests;
    };

    // Runs a program of the build with fresh saved settings, silent sound and the given environment;
    // the state digest is taken every kDigestEvery frames.
    Result Run(const std::string& program, const std::string& env) {
        const fs::path stats = dir / "stats.json", err = dir / "stderr.txt";
        fs::remove(stats);
        fs::remove_all(dir / "user");
        const std::string command = "cd '" + dir.string() + "' && env XDG_DATA_HOME='" +
                                    (dir / "user").string() + "' ALSOFT_DRIVERS=null ZORBEL_STATS='" +
                                    stats.string() + "' ZORBEL_DIGEST_EVERY=" + std::to_string(kDigestEvery) +
                                    " " + env + " '" + (fs::path(DRELMONT_BUILD_DIR) / program).string() +
                                    "' >/dev/null 2>'" + err.string() + "'";
        const int status = std::system(command.c_str());
        Result result;
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.err = ReadFile(err);
        result.digests = ParseStats(ReadFile(stats));
        return result;
    }

    fs::path dir;
};

struct StoredGame {
    std::string name, program, env;
};

void PrintTo(const StoredGame& game, std::ostream* out) {
    *out << game.name;
}

// The manifest: "NAME PROGRAM [VAR=VALUE ...]" per line, '#' comments.
std::vector<StoredGame> StoredGames() {
    std::vector<StoredGame> games;
    std::istringstream in(ReadFile(fs::path(REPLAY_DIR) / "games.txt"));
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        StoredGame game;
        words >> game.name >> game.program;
        for (std::string var; words >> var;)
            game.env += var + " ";
        games.push_back(game);
    }
    return games;
}

// Each stored game is a test of its own, so that CTest replays them side by side.
class Stored : public Games, public ::testing::WithParamInterface<StoredGame> {};

TEST_P(Stored, GameReplaysToItsStoredDigests) {
    const char* refresh = std::getenv("DRELMONT_REFRESH_REPLAYS");
    const bool refreshing = refresh && std::string(refresh) == "1";
    const StoredGame& game = GetParam();
    const fs::path base = fs::path(REPLAY_DIR) / game.name;
    const Result run =
        Run(game.program, "ZORBEL_HEADLESS=1 ZORBEL_REPLAY='" + base.string() + ".zrec' " + game.env);
    ASSERT_EQ(run.status, 0) << game.name << ": " << run.err;
    ASSERT_FALSE(run.digests.empty()) << game.name;
    const fs::path stored = base.string() + ".digests";
    if (refreshing) {
        std::ofstream out(stored);
        out << "# " << game.name << ".zrec replayed headless: the game's state digest every " << kDigestEvery
            << " frames.\n# Rewritten by `make refresh-replays`.\n";
        for (const auto& [frame, digest] : run.digests)
            out << frame << " " << digest << "\n";
        return;
    }
    const Digests expected = ParseStored(ReadFile(stored));
    EXPECT_EQ(FirstDifference(expected, run.digests), "")
        << game.name << " plays differently; if the change of behaviour is meant, run `make refresh-replays`";
}

INSTANTIATE_TEST_SUITE_P(Every, Stored, ::testing::ValuesIn(StoredGames()),
                         [](const auto& info) { return info.param.name; });

// A short fight: the soldier walks and fires at a moving aim.
constexpr const char* kFight = "30 mouse 500 200\n"
                               "40 down mouse 1\n"
                               "60 down key 68\n"
                               "100 up key 68\n"
                               "100 mouse 300 420\n"
                               "130 down key 87\n"
                               "170 up key 87\n"
                               "180 up mouse 1\n"
                               "190 down mouse 1\n"
                               "220 mouse 640 300\n";

TEST_F(Games, AGameRecordedInRealTimeReplaysHeadlessToTheSameDigestsAndPicture) {
    std::ofstream(dir / "fight.txt") << kFight << "240 screenshot recorded.png\n";
    std::ofstream(dir / "shots.txt") << "240 screenshot replayed.png\n";
    // Real time on a window of the dummy video driver, full screen on its 1024 x 768 desktop: the picture is
    // scaled into the window, and the clock is the wall clock.
    const Result recorded =
        Run("battle_driver", "SDL_VIDEODRIVER=dummy ZORBEL_MAX_FRAMES=240 ZORBEL_INPUT=fight.txt "
                             "ZORBEL_RECORD=fight.zrec");
    ASSERT_EQ(recorded.status, 0) << recorded.err;
    const Result replayed =
        Run("battle_driver", "ZORBEL_HEADLESS=1 ZORBEL_REPLAY=fight.zrec ZORBEL_INPUT=shots.txt");
    ASSERT_EQ(replayed.status, 0) << replayed.err;
    ASSERT_EQ(recorded.digests.size(), 4u);
    EXPECT_EQ(FirstDifference(recorded.digests, replayed.digests), "");
    const std::string picture = ReadFile(dir / "recorded.png");
    EXPECT_FALSE(picture.empty());
    EXPECT_TRUE(picture == ReadFile(dir / "replayed.png")) << "the final pictures differ";
}

TEST_F(Games, ChangingOneInputEventChangesTheDigestsFromThen) {
    std::ofstream(dir / "a.txt") << kFight;
    std::string changed = kFight;
    changed.replace(changed.find("100 mouse 300 420"), 17, "100 mouse 340 420");
    std::ofstream(dir / "b.txt") << changed;
    const Result a = Run("battle_driver",
                         "ZORBEL_HEADLESS=1 ZORBEL_MAX_FRAMES=240 ZORBEL_INPUT=a.txt ZORBEL_RECORD=a.zrec");
    const Result b = Run("battle_driver",
                         "ZORBEL_HEADLESS=1 ZORBEL_MAX_FRAMES=240 ZORBEL_INPUT=b.txt ZORBEL_RECORD=b.zrec");
    ASSERT_EQ(a.status, 0) << a.err;
    ASSERT_EQ(b.status, 0) << b.err;
    ASSERT_EQ(a.digests.size(), 4u);
    ASSERT_EQ(b.digests.size(), 4u);
    EXPECT_EQ(a.digests[0], b.digests[0]) << "frame 60 comes before the change";
    for (size_t i = 1; i < a.digests.size(); ++i)
        EXPECT_NE(a.digests[i].second, b.digests[i].second) << "frame " << a.digests[i].first;
    EXPECT_NE(ReadFile(dir / "a.zrec"), ReadFile(dir / "b.zrec"));
    // And the recording of the changed game replays to its own digests.
    const Result replayed = Run("battle_driver", "ZORBEL_HEADLESS=1 ZORBEL_REPLAY=b.zrec");
    EXPECT_EQ(FirstDifference(b.digests, replayed.digests), "");
}

} // namespace
