// A damaged installation: every file the game loads at start, in turn deleted, emptied, filled with random
// bytes, cut in half or replaced by text, under the real program run headless for 200 frames. The program
// names that file once, in one line, says nothing else, and plays on to exit 0. CTest runs a sample of the
// files; DRELMONT_BROKEN_DATA=all (make broken-data) runs them all.
#include "assets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// The game's own names of everything it loads before the main menu shows, each once.
std::vector<std::string> FilesLoadedAtStart() {
    std::vector<std::string> names = {"PICTURE\\LOGO.TGA", "PICTURE\\CURSOR_MENU.bmp",
                                      "PICTURE\\CURSOR_MENU_MASK.bmp", kFontPicture, kFontDescriptor};
    for (int i = 0; i < kPictureCount; ++i) {
        names.push_back(kPictureTable[i].file);
        if (kPictureTable[i].mask) names.push_back(kPictureTable[i].mask);
    }
    for (int i = 0; i < kSoundCount; ++i)
        names.push_back(kSoundTable[i].file);
    std::vector<std::string> unique;
    for (const std::string& name : names)
        if (std::find(unique.begin(), unique.end(), name) == unique.end()) unique.push_back(name);
    return unique;
}

// One of each kind the game reads: BMP picture and mask, JPEG, TGA, the font's sheet and descriptor, an
// effect loaded twice, a sound loaded once and the music.
const std::vector<std::string> kSample = {"PICTURE\\PLAYER.bmp",    "PICTURE\\PLAYER_MASK.bmp",
                                          "PICTURE\\MAIN_MENU.jpg", "PICTURE\\M_MORE.TGA",
                                          "PICTURE\\LOGO.TGA",      kFontPicture,
                                          kFontDescriptor,          "SOUNDS\\EXPLOSION.OGG",
                                          "SOUNDS\\RELOAD_Z.OGG",   "SOUNDS\\MUSIC_MAIN_MENU.OGG"};

std::vector<std::string> FilesUnderTest() {
    const char* which = std::getenv("DRELMONT_BROKEN_DATA");
    return which && std::string(which) == "all" ? FilesLoadedAtStart() : kSample;
}

// On disk the names are the generator's, relative to the data folder.
std::string OnDisk(std::string name) {
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

enum class Damage { Deleted, Emptied, RandomBytes, CutInHalf, Text };
const Damage kDamages[] = {Damage::Deleted, Damage::Emptied, Damage::RandomBytes, Damage::CutInHalf,
                           Damage::Text};
const char* Name(Damage d) {
    switch (d) {
    case Damage::Deleted:
        return "deleted";
    case Damage::Emptied:
        return "emptied";
    case Damage::RandomBytes:
        return "random bytes";
    case Damage::CutInHalf:
        return "cut in half";
    case Damage::Text:
        return "replaced by text";
    }
    return "";
}

class BrokenData : public ::testing::TestWithParam<std::string> {
  protected:
    // One copy of the generated data per test program.
    static void SetUpTestSuite() {
        dir = fs::temp_directory_path() / ("drelmont_broken_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        const fs::path build = std::getenv("DRELMONT_BUILD");
        fs::create_directories(dir / "data");
        for (const char* part : {"PICTURE", "SOUNDS", "TEXTING.bmp.ofi"})
            fs::copy(build / part, dir / "data" / part, fs::copy_options::recursive);
    }
    static void TearDownTestSuite() { fs::remove_all(dir); }

    // Runs the program on the damaged copy; returns its exit status (-1 for a signal), stderr in err.
    int Run() {
        const fs::path errFile = dir / "stderr.txt";
        const std::string command =
            "cd " + dir.string() + " && env DRELMONT_DATA=" + (dir / "data").string() +
            " XDG_DATA_HOME=" + (dir / "user").string() +
            " ALSOFT_DRIVERS=null ZORBEL_HEADLESS=1 ZORBEL_MAX_FRAMES=200 timeout -s KILL 60 " + DRELMONT +
            " >/dev/null 2>" + errFile.string();
        const int status = std::system(command.c_str());
        err = Read(errFile);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    static inline fs::path dir;
    std::string err;
};

TEST_P(BrokenData, TheFileIsNamedOnceAndThePlayGoesOn) {
    const fs::path file = dir / "data" / OnDisk(GetParam());
    const std::string whole = Read(file);
    ASSERT_FALSE(whole.empty()) << file;
    // The file is whole again for the next test, however this one ends.
    struct Restore {
        const fs::path& file;
        const std::string& whole;
        ~Restore() {
            fs::remove(file);
            std::ofstream(file, std::ios::binary) << whole;
        }
    } restore{file, whole};
    const std::string base = file.filename().string();
    std::mt19937 random(static_cast<unsigned>(std::hash<std::string>{}(base)));
    for (const Damage damage : kDamages) {
        SCOPED_TRACE(GetParam() + " " + Name(damage));
        fs::remove(file);
        if (damage != Damage::Deleted) {
            std::string bytes;
            if (damage == Damage::RandomBytes) {
                bytes.resize(whole.size());
                for (char& c : bytes)
                    c = static_cast<char>(random());
            } else if (damage == Damage::CutInHalf) {
                bytes = whole.substr(0, whole.size() / 2);
            } else if (damage == Damage::Text) {
                bytes = "This file was replaced by a note.\n";
            }
            std::ofstream(file, std::ios::binary) << bytes;
        }
        const int status = Run();
        EXPECT_EQ(status, 0) << err;
        std::vector<std::string> lines;
        std::istringstream in(err);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        EXPECT_EQ(lines.size(), 1u) << "exactly one line, naming the file:\n" << err;
        if (!lines.empty()) {
            EXPECT_NE(lines[0].find(base), std::string::npos) << lines[0];
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Files, BrokenData, ::testing::ValuesIn(FilesUnderTest()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = OnDisk(info.param).substr(OnDisk(info.param).find('/') + 1);
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

TEST(NoData, AMissingDataFolderIsOneMessageNamingWhereItLookedAndAFailure) {
    const fs::path empty = fs::temp_directory_path() / ("drelmont_nodata_" + std::to_string(::getpid()));
    fs::create_directories(empty);
    const std::string command =
        "cd " + empty.string() + " && env DRELMONT_DATA=" + (empty / "nowhere").string() +
        " XDG_DATA_HOME=" + (empty / "user").string() +
        " ALSOFT_DRIVERS=null ZORBEL_HEADLESS=1 ZORBEL_MAX_FRAMES=50 timeout -s KILL 60 " + DRELMONT +
        " >/dev/null 2>" + (empty / "err.txt").string();
    const int status = std::system(command.c_str());
    const std::string err = Read(empty / "err.txt");
    fs::remove_all(empty);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_NE(WEXITSTATUS(status), 0) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find((empty / "nowhere").string()), std::string::npos) << err;
}

} // namespace
