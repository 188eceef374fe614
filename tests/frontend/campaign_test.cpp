// The menus end to end: the real program, headless, driven by the input scripts beside this file; the
// program's trace names each screen as it comes up.
#include <gtest/gtest.h>

#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

#include <algorithm>
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
    std::string Settings() { return Read(dir / "user" / "drelmont" / "SAVE.INI"); }
    // Levels 1 to 21 open: level 21 starts with points to spend on the upgrade panel.
    void OpenLevelsTo21() {
        std::ofstream(dir / "user" / "drelmont" / "SAVE.INI") << "[prA(*@)]\nBH5sj =20\n";
    }
    std::string Read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // The "digest" lines of a statistics file.
    std::string Digests(const fs::path& stats) {
        std::istringstream in(Read(stats));
        std::string digests;
        for (std::string line; std::getline(in, line);)
            if (line.find("\"digest\"") != std::string::npos) digests += line + "\n";
        return digests;
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

TEST_F(Campaign, AGamepadAlonePlaysAndBuysAnUpgradeAndItsRecordingReplaysWithoutAPad) {
    OpenLevelsTo21();
    const std::string watch = " ZORBEL_DIGEST_EVERY=30 ZORBEL_STATS=";
    EXPECT_EQ(Play("pad_play.txt", "ZORBEL_RECORD=pad.zrec" + watch + "played.json"), 0);
    // Start leaves play twice; the panel closes right after the weapon line is bought, without a button.
    const Screens expected{"screen 1", "menu shown", "screen 3",    "screen 0", "screen 1",
                           "screen 3", "screen 0",   "screen NAV1", "screen 0", "screen 1"};
    EXPECT_EQ(screens, expected);
    EXPECT_EQ(Play("pad_play.txt", "ZORBEL_REPLAY=pad.zrec" + watch + "replayed.json"), 0);
    EXPECT_EQ(screens, expected);
    const std::string digests = Digests(dir / "played.json");
    EXPECT_EQ(std::count(digests.begin(), digests.end(), '\n'), 26);
    EXPECT_EQ(Digests(dir / "replayed.json"), digests);
}

// Losing the focus leaves play as Escape does, from the upgrade panel too, and "continue" resumes.
TEST_F(Campaign, AWindowThatLosesTheFocusLeavesPlayForTheMainMenu) {
    EXPECT_EQ(Play("focus_lost_in_play.txt"), 0);
    EXPECT_EQ(screens, (Screens{"screen 1", "menu shown", "screen 3", "screen 0", "screen 1", "screen 0"}));
    OpenLevelsTo21();
    EXPECT_EQ(Play("focus_lost_on_the_panel.txt"), 0);
    EXPECT_EQ(screens, (Screens{"screen 1", "menu shown", "screen 3", "screen 0", "screen NAV1", "screen 0",
                                "screen 1", "screen 0"}));
}

TEST_F(Campaign, AltEnterSwitchesFullScreenAndTheOptionsSaveIt) {
    // Into the options, Alt+Enter `switches` times, then the save line (tested 12 px up and left).
    for (const auto& [switches, saved] : {std::pair{1, "Vft4DS =0"}, std::pair{2, "Vft4DS =1"}}) {
        fs::remove(dir / "user" / "drelmont" / "SAVE.INI"); // full screen, as a first start has it
        std::ofstream script(dir / "alt_enter.txt");
        script << "20 mouse 100 283\n30 down mouse 1\n31 up mouse 1\n";
        for (int k = 0; k < switches; ++k)
            script << 40 + 10 * k << " down key 18\n"
                   << 41 + 10 * k << " down key 13\n"
                   << 42 + 10 * k << " up key 13\n"
                   << 43 + 10 * k << " up key 18\n";
        script << "80 mouse 100 532\n81 down mouse 1\n82 up mouse 1\n90 quit\n";
        script.close();
        EXPECT_EQ(Play((dir / "alt_enter.txt").string()), 0);
        EXPECT_NE(Settings().find(saved), std::string::npos) << switches << " switches:\n" << Settings();
    }
}

TEST_F(Campaign, F12KeepsThePictureInThePicturesFolderOrSaysWhyNot) {
    std::ofstream(dir / "f12.txt") << "60 down key 123\n60 screenshot shot.png\n61 up key 123\n";
    const std::string script = (dir / "f12.txt").string(),
                      run = " ZORBEL_MAX_FRAMES=100 ZORBEL_STATS=stats.json";
    EXPECT_EQ(Play(script, "XDG_PICTURES_DIR=" + (dir / "pictures").string() + run), 0);
    std::vector<fs::path> kept;
    for (const auto& entry : fs::directory_iterator(dir / "pictures" / "Drelmont"))
        kept.push_back(entry.path());
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].extension(), ".png");
    EXPECT_EQ(Read(kept[0]), Read(dir / "shot.png")) << "the picture of the frame F12 was pressed in";

    // A pictures folder that cannot be made: said on stderr, and play goes on.
    std::ofstream(dir / "not-a-folder") << "x";
    EXPECT_EQ(Play(script, "XDG_PICTURES_DIR=" + (dir / "not-a-folder").string() + run), 0);
    EXPECT_NE(Read(dir / "stderr.txt").find("Unable to save the screenshot"), std::string::npos);
    EXPECT_NE(Read(dir / "stats.json").find("\"frames\": 100,"), std::string::npos);
}

} // namespace
