// The real program, run headless on the real engine, sound library and generated data.
#include <gtest/gtest.h>

#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

class Program : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("drelmont_run_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    // Runs a program with extra environment settings; returns its exit status, stderr in `err`.
    int Run(const std::string& program, const std::string& env) {
        const fs::path errFile = dir / "stderr.txt";
        const std::string command = "cd " + dir.string() +
                                    " && env XDG_DATA_HOME=" + (dir / "user").string() +
                                    " ALSOFT_DRIVERS=null ZORBEL_HEADLESS=1 " + env + " " + program +
                                    " >/dev/null 2>" + errFile.string();
        const int status = std::system(command.c_str());
        std::ifstream in(errFile);
        err.assign(std::istreambuf_iterator<char>(in), {});
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string Read(const fs::path& p) {
        std::ifstream in(p);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    fs::path dir;
    std::string err;
};

TEST_F(Program, RunsHeadlessTakesAScreenshotAndWritesItsFigures) {
    std::ofstream(dir / "input.txt") << "# the menu after the intro has had time to show\n"
                                        "30 mouse 400 300\n"
                                        "100 screenshot "
                                     << (dir / "shot.png").string() << "\n";
    const int status = Run(DRELMONT, "ZORBEL_MAX_FRAMES=120 ZORBEL_INPUT=" + (dir / "input.txt").string() +
                                         " ZORBEL_STATS=" + (dir / "stats.json").string());
    EXPECT_EQ(status, 0) << err;
    EXPECT_EQ(err.find("PICTURE"), std::string::npos) << err; // every picture was found and loaded

    int w = 0, h = 0, channels = 0;
    ASSERT_TRUE(stbi_info((dir / "shot.png").c_str(), &w, &h, &channels));
    EXPECT_EQ(w, 800);
    EXPECT_EQ(h, 600);

    const std::string stats = Read(dir / "stats.json");
    EXPECT_NE(stats.find("\"frames\": 120"), std::string::npos) << stats;
    EXPECT_NE(stats.find("median"), std::string::npos) << stats;
}

TEST_F(Program, ALevelIsFoughtOnTheRealEngine) {
    std::ofstream(dir / "input.txt") << "400 screenshot " << (dir / "battle.png").string() << "\n";
    const int status =
        Run(BATTLE_DRIVER, "DRELMONT_LEVEL=1 DRELMONT_AUTOAIM=1 ZORBEL_MAX_FRAMES=420 ZORBEL_INPUT=" +
                               (dir / "input.txt").string());
    EXPECT_EQ(status, 0) << err;
    EXPECT_EQ(err.find("PICTURE"), std::string::npos) << err;
    int w = 0, h = 0, channels = 0;
    unsigned char* pixels = stbi_load((dir / "battle.png").c_str(), &w, &h, &channels, 3);
    ASSERT_NE(pixels, nullptr);
    // The lit battlefield around the soldier in the middle of the picture, not a black screen.
    long brightness = 0;
    for (int y = 250; y < 350; ++y) {
        for (int x = 350; x < 450; ++x) {
            const unsigned char* p = pixels + (y * w + x) * 3;
            brightness += p[0] + p[1] + p[2];
        }
    }
    stbi_image_free(pixels);
    EXPECT_GT(brightness / (100 * 100 * 3), 20);
}

TEST_F(Program, StartsAndRunsSilentWithoutASoundDevice) {
    const int status = Run(DRELMONT, "ZORBEL_MAX_FRAMES=30 ALSOFT_DRIVERS=no-such-driver");
    EXPECT_EQ(status, 0) << err;
}

// Lines of stderr that speak of sound: ours, and whatever OpenAL Soft and ALSA print by themselves.
std::vector<std::string> SoundLines(const std::string& err) {
    std::vector<std::string> lines;
    std::istringstream in(err);
    for (std::string line; std::getline(in, line);)
        if (line.find("sound") != std::string::npos || line.rfind("ALSA lib", 0) == 0 ||
            line.rfind("AL lib", 0) == 0)
            lines.push_back(line);
    return lines;
}

TEST_F(Program, WithoutASoundDeviceOneLineSaysSoAndThePlayIsSilent) {
    // ALSA on a card that does not exist fails as a machine without sound does, and as noisily.
    for (const char* drivers :
         {"ALSOFT_DRIVERS=alsa ALSA_CARD=no-such-card", "ALSOFT_DRIVERS=no-such-driver"}) {
        EXPECT_EQ(Run(DRELMONT, std::string("ZORBEL_MAX_FRAMES=30 ") + drivers), 0) << err;
        const std::vector<std::string> lines = SoundLines(err);
        ASSERT_EQ(lines.size(), 1u) << drivers << "\n" << err;
        EXPECT_NE(lines[0].find("no sound device"), std::string::npos) << lines[0];
    }
}

TEST_F(Program, WithoutADisplayItSaysSoAndStopsWithStatus1) {
    // Outside headless mode SDL would fall back to an invisible window that nobody can reach or close.
    const fs::path errFile = dir / "stderr.txt";
    const std::string command =
        "cd " + dir.string() +
        " && env -u DISPLAY -u WAYLAND_DISPLAY -u XDG_RUNTIME_DIR -u SDL_VIDEODRIVER "
        "XDG_DATA_HOME=" +
        (dir / "user").string() +
        " ALSOFT_DRIVERS=null ZORBEL_HEADLESS=0 ZORBEL_MAX_FRAMES=120 timeout -s KILL 20 " + DRELMONT +
        " >/dev/null 2>" + errFile.string();
    const int status = std::system(command.c_str());
    err = Read(errFile);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1) << err;
    EXPECT_NE(err.find("no display"), std::string::npos) << err;

    // A player who asks for a driver without a display gets it.
    EXPECT_EQ(Run(DRELMONT, "ZORBEL_HEADLESS=0 SDL_VIDEODRIVER=dummy ZORBEL_RENDERER=software "
                            "ZORBEL_MAX_FRAMES=3"),
              0)
        << err;
}

TEST_F(Program, AMalformedInputScriptStopsTheRunNamingTheLine) {
    std::ofstream(dir / "input.txt") << "1 mouse 10 10\n2 jump high\n";
    EXPECT_NE(Run(DRELMONT, "ZORBEL_MAX_FRAMES=30 ZORBEL_INPUT=" + (dir / "input.txt").string()), 0);
    EXPECT_NE(err.find("2"), std::string::npos) << err;
}

TEST_F(Program, FindsItsEngineAndDataBesideItselfWhereverItIsInstalled) {
    const fs::path build = fs::path(DRELMONT).parent_path(), game = dir / "lib" / "drelmont";
    fs::create_directories(game);
    fs::create_directories(dir / "bin");
    for (const char* part :
         {"drelmont", "libzorbel_gl.so", "libsquall.so", "PICTURE", "SOUNDS", "TEXTING.bmp.ofi"})
        fs::copy(build / part, game / part, fs::copy_options::recursive);
    fs::create_symlink("../lib/drelmont/drelmont", dir / "bin" / "drelmont");
    EXPECT_EQ(Run((dir / "bin" / "drelmont").string(), "ZORBEL_MAX_FRAMES=5"), 0) << err;
    EXPECT_EQ(err.find("PICTURE"), std::string::npos) << err;
}

TEST_F(Program, WithoutItsEngineTheProgramSaysSoAndFails) {
    fs::copy_file(DRELMONT, dir / "drelmont");
    EXPECT_NE(Run((dir / "drelmont").string(), "ZORBEL_MAX_FRAMES=1"), 0);
    EXPECT_NE(err.find("Error while loading ZORBEL Engine"), std::string::npos) << err;
}

} // namespace
