// Saved settings through the real program, run headless: options changed with the mouse and saved with the
// back line come back after a restart; a save folder that cannot be written is reported and play goes on.
#include <gtest/gtest.h>

#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Frames of a script: the intro has faded by frame 40; the main menu tests the cursor itself, the options
// screen the pointer's tip 12 pixels up and left of it.
constexpr const char* kEnterOptions = "40 mouse 100 280\n41 down mouse 1\n42 up mouse 1\n";
constexpr const char* kMusicLine = "mouse 400 432\n";
constexpr const char* kFpsLine = "mouse 400 282\n";
constexpr const char* kEffectsLine = "mouse 400 482\n";
constexpr const char* kBackLine = "mouse 100 532\n";
constexpr const char* kLanguageLine = "mouse 400 232\n";
constexpr const char* kExitLine = "mouse 100 482\n";

// A click on a line at frame f: move there, press, release.
std::string ClickAt(int frame, const char* where) {
    return std::to_string(frame) + " " + where + std::to_string(frame + 1) + " down mouse 1\n" +
           std::to_string(frame + 2) + " up mouse 1\n";
}

class SavedSettings : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("drelmont_saved_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir / "user" / "drelmont");
    }
    void TearDown() override {
        fs::permissions(dir / "user" / "drelmont", fs::perms::owner_all);
        fs::remove_all(dir);
    }

    // Runs the program on a script with the save folder under dir; returns its exit status, with stderr in
    // `err` and the screens it went through in `screens`. With `unprivileged`, root runs it without the
    // right to override file permissions, so that a folder's permissions count for it too.
    int Run(const std::string& script, int frames, bool unprivileged = false, const std::string& env = "") {
        std::ofstream(dir / "script.txt") << script;
        const std::string asUser =
            unprivileged && geteuid() == 0 ? "setpriv --bounding-set=-dac_override " : "";
        const std::string command =
            "cd " + dir.string() + " && " + asUser + "env XDG_DATA_HOME=" + (dir / "user").string() +
            " ALSOFT_DRIVERS=null ZORBEL_HEADLESS=1 ZORBEL_MAX_FRAMES=" + std::to_string(frames) +
            " ZORBEL_INPUT=" + (dir / "script.txt").string() + " DRELMONT_TRACE_FD=3 " + env + " " +
            DRELMONT + " >/dev/null 2>" + (dir / "stderr.txt").string() + " 3>" +
            (dir / "trace.txt").string();
        const int status = std::system(command.c_str());
        err = Read(dir / "stderr.txt");
        screens = Read(dir / "trace.txt");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    static std::string Read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::string SaveFile() const { return Read(dir / "user" / "drelmont" / "SAVE.INI"); }
    // Nearly white pixels in the band where the centred message is written.
    static long WhiteInMessageBand(const fs::path& png) {
        int w = 0, h = 0, channels = 0;
        unsigned char* pixels = stbi_load(png.c_str(), &w, &h, &channels, 3);
        if (!pixels) return -1;
        long count = 0;
        for (int y = 300; y < 335 && y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const unsigned char* p = pixels + (y * w + x) * 3;
                if (p[0] > 220 && p[1] > 220 && p[2] > 220) ++count;
            }
        }
        stbi_image_free(pixels);
        return count;
    }
    // How far a screenshot's menu column (the button captions) is from a generated picture: mean difference.
    static double MenuColumnDistance(const fs::path& png, const std::string& picture) {
        int w = 0, h = 0, channels = 0, pw = 0, ph = 0;
        unsigned char* shot = stbi_load(png.c_str(), &w, &h, &channels, 3);
        const std::string generated = std::string(std::getenv("DRELMONT_BUILD")) + "/PICTURE/" + picture;
        unsigned char* art = stbi_load(generated.c_str(), &pw, &ph, &channels, 3);
        double sum = 0;
        int count = 0;
        for (int y = 160; shot && art && y < 300; ++y)
            for (int x = 0; x < 240; ++x, ++count)
                sum += std::abs(shot[(y * w + x) * 3] - art[(y * pw + x) * 3]);
        stbi_image_free(shot);
        stbi_image_free(art);
        return count ? sum / count : 1e9;
    }

    fs::path dir;
    std::string err, screens;
};

TEST_F(SavedSettings, OptionsSavedWithTheBackLineComeBackAfterARestart) {
    // Music 100 -> 0, frame rate off, effects 90 -> 100, then the back line.
    std::string script = kEnterOptions + ClickAt(60, kMusicLine) + ClickAt(70, kFpsLine) +
                         ClickAt(80, kEffectsLine) + ClickAt(90, kBackLine);
    ASSERT_EQ(Run(script, 120), 0) << err;
    EXPECT_NE(screens.find("screen OPTIONS\nscreen 1"), std::string::npos) << screens;
    const std::string first = SaveFile();
    EXPECT_NE(first.find("64 26 12 =0\r\n"), std::string::npos) << first;
    EXPECT_NE(first.find("!)^^:; =0\r\n"), std::string::npos) << first;
    EXPECT_NE(first.find("12 10 70 =100\r\n"), std::string::npos) << first;

    // Started again: one more click on the music line gives 10 only if the saved 0 came back, and the rest
    // is saved again as it was read, a key of some other program's included.
    std::ofstream(dir / "user" / "drelmont" / "SAVE.INI", std::ios::app) << "\r\n[mods]\r\nhard =1\r\n";
    script = kEnterOptions + ClickAt(60, kMusicLine) + ClickAt(90, kBackLine);
    ASSERT_EQ(Run(script, 120), 0) << err;
    std::string expected = first + "\r\n[mods]\r\nhard =1\r\n";
    expected.replace(expected.find("64 26 12 =0"), 11, "64 26 12 =10");
    EXPECT_EQ(SaveFile(), expected);
}

// The options line picks the language of the next start: the choice is saved beside the seven keys, which
// keep their bytes, and the next start speaks it, unless DRELMONT_LANG says otherwise.
TEST_F(SavedSettings, TheLanguageLineSpeaksFromTheNextStartAndTheSevenKeysKeepTheirBytes) {
    const std::string seven =
        "[00^123$]\r\n12 10 70 =40\r\n64 26 12 =60\r\n/*-+() =0\r\n!)^^:; =1\r\nVft4DS =0\r\n"
        "\r\n[eax$%d3]\r\nuscQD =2\r\n\r\n[prA(*@)]\r\nBH5sj =4\r\n";
    std::ofstream(dir / "user" / "drelmont" / "SAVE.INI", std::ios::binary) << seven;
    const std::string english = "DRELMONT_LANG= LC_ALL= LC_MESSAGES= LANG=C.UTF-8";
    auto isEnglish = [&](const char* shot) {
        return MenuColumnDistance(dir / shot, "EN/MAIN_MENU.jpg") <
               MenuColumnDistance(dir / shot, "MAIN_MENU.jpg");
    };
    // An English start: the line offers Russian.
    ASSERT_EQ(Run("38 screenshot first.png\n" + (kEnterOptions + ClickAt(60, kLanguageLine)) +
                      ClickAt(90, kBackLine),
                  120, false, english),
              0)
        << err;
    EXPECT_TRUE(isEnglish("first.png"));
    EXPECT_EQ(SaveFile(), seven + "\r\n[Drelmont]\r\nLanguage=ru\r\n");
    ASSERT_EQ(Run("38 screenshot second.png\n", 40, false, english), 0) << err;
    EXPECT_FALSE(isEnglish("second.png"));
    ASSERT_EQ(Run("38 screenshot forced.png\n", 40, false, "DRELMONT_LANG=en"), 0) << err;
    EXPECT_TRUE(isEnglish("forced.png"));
}

TEST_F(SavedSettings, AnUnwritableSaveFolderIsReportedAndPlayGoesOn) {
    const std::string old = "[prA(*@)]\r\nBH5sj =3\r\n";
    std::ofstream(dir / "user" / "drelmont" / "SAVE.INI") << old;
    fs::permissions(dir / "user" / "drelmont", fs::perms::owner_read | fs::perms::owner_exec |
                                                   fs::perms::others_read | fs::perms::others_exec);
    // Look at the main menu, save with the back line, look again, go back into the options and out, and
    // leave with the exit line, whose failed save the program's status tells.
    const std::string script = "38 screenshot " + (dir / "before.png").string() + "\n" + kEnterOptions +
                               ClickAt(60, kMusicLine) + ClickAt(90, kBackLine) + "110 screenshot " +
                               (dir / "after.png").string() + "\n" +
                               "140 mouse 100 280\n141 down mouse 1\n142 up mouse 1\n" +
                               ClickAt(160, kBackLine) + ClickAt(180, kExitLine);
    ASSERT_EQ(Run(script, 300, true), 1) << err;
    EXPECT_NE(err.find("Unable to write to " + (dir / "user" / "drelmont" / "SAVE.INI").string()),
              std::string::npos)
        << err;
    EXPECT_NE(screens.find("screen OPTIONS\nscreen 1\nscreen OPTIONS"), std::string::npos) << screens;
    EXPECT_GT(WhiteInMessageBand(dir / "after.png"), WhiteInMessageBand(dir / "before.png") + 500);
    EXPECT_EQ(SaveFile(), old);
}

} // namespace
