// The menus end to end: the real program, headless, driven by the input scripts beside this file; the
// program's trace names each screen as it comes up.
#include <gtest/gtest.h>

#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

class Campaign : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("drelmont_campaign_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir / "user" / "drelmont");
    }
    void TearDown() override { fs::remove_all(dir); }

    // Runs the program on a script; returns its exit status. The screens it showed land in `screens`.
    int Play(const std::string& script, const std::string& env = "") {
        const std::string command =
            "cd " + dir.string() + " && env XDG_DATA_HOME=" + (dir / "user").string() +
            " ALSOFT_DRIVERS=null ZORBEL_HEADLESS=1 DRELMONT_TRACE_FD=3 ZORBEL_INPUT=" +
            (fs::path(SCRIPTS) / script).string() + " " + env + " " + DRELMONT +
            " >/dev/null 2>stderr.txt 3>trace.txt";
        const int status = std::system(command.c_str());
        screens.clear();
        std::ifstream trace(dir / "trace.txt");
        for (std::string line; std::getline(trace, line);)
            screens.push_back(line);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string Settings() {
        std::ifstream in(dir / "user" / "drelmont" / "SAVE.INI");
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    fs::path dir;
    std::vector<std::string> screens;
};

using Screens = std::vector<std::string>;

TEST_F(Campaign, FromTheMenuIntoALevelOutWithEscapeAndBackInWithContinue) {
    EXPECT_EQ(Play("menu_to_play_and_back.txt", "ZORBEL_MAX_FRAMES=400"), 0);
    EXPECT_EQ(screens, (Screens{"screen 1", "menu shown", "screen 3", "screen 0", "screen 1", "screen 0"}));
}

TEST_F(Campaign, ASoldierWhoStandsStillDiesAndPlaysTheLevelAgain) {
    EXPECT_EQ(Play("game_over_and_again.txt", "ZORBEL_FRAME_MS=64 ZORBEL_MAX_FRAMES=450"), 0);
    EXPECT_EQ(screens,
              (Screens{"screen 1", "menu shown", "screen 3", "screen 0", "screen GAME_OVER", "screen 0"}));
}

TEST_F(Campaign, CreditsAreReachedAndLeftWithTheMouse) {
    EXPECT_EQ(Play("credits_with_the_mouse.txt", "ZORBEL_MAX_FRAMES=100"), 0);
    EXPECT_EQ(screens, (Screens{"screen 1", "menu shown", "screen CREATED", "screen 1"}));
}

// The value fields of the options screen, as the player sees them before and after the clicks.
TEST_F(Campaign, OptionsClicksChangeTheValuesShownAndTheExitLineSavesAndEndsTheProgram) {
    EXPECT_EQ(Play("options_and_exit.txt", "ZORBEL_MAX_FRAMES=2000 ZORBEL_STATS=stats.json"), 0);
    EXPECT_EQ(screens, (Screens{"screen 1", "menu shown", "screen OPTIONS", "screen 1"}));
    std::ifstream stats(dir / "stats.json");
    const std::string figures(std::istreambuf_iterator<char>(stats), {});
    EXPECT_NE(figures.find("\"frames\": 101,"), std::string::npos)
        << "the exit line ends the run: " << figures;

    // Frame rate off, music from 100 round to 0; the other values as they were.
    const std::string saved = Settings();
    EXPECT_NE(saved.find("!)^^:; =0"), std::string::npos) << saved;
    EXPECT_NE(saved.find("64 26 12 =0"), std::string::npos) << saved;
    EXPECT_NE(saved.find("12 10 70 =90"), std::string::npos) << saved;

    int w = 0, h = 0, n = 0;
    unsigned char* before = stbi_load((dir / "options_before.png").c_str(), &w, &h, &n, 3);
    unsigned char* after = stbi_load((dir / "options_after.png").c_str(), &w, &h, &n, 3);
    ASSERT_TRUE(before && after);
    auto fieldChanged = [&](int top) {
        int changed = 0;
        for (int y = top + 8; y < top + 32; ++y)
            for (int x = 736; x < 796; ++x)
                changed += before[(y * w + x) * 3] != after[(y * w + x) * 3];
        return changed;
    };
    EXPECT_GT(fieldChanged(250), 20) << "the frame-rate value";
    EXPECT_EQ(fieldChanged(300), 0) << "the texture value";
    EXPECT_GT(fieldChanged(400), 20) << "the music value";
    stbi_image_free(before);
    stbi_image_free(after);
}

} // namespace
