// Paths and INI files against a real temporary folder.
#include "ini.h"
#include "platform.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <pwd.h>
#include <unistd.h>

namespace fs = std::filesystem;

class PlatformTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("drelmont_platform_" + std::to_string(::getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "data" / "Picture");
        std::ofstream(root / "data" / "Picture" / "Bullet1.BMP") << "x";
        setenv("DRELMONT_DATA", (root / "data").c_str(), 1);
        setenv("XDG_DATA_HOME", (root / "user").c_str(), 1);
    }
    void TearDown() override {
        unsetenv("DRELMONT_DATA");
        unsetenv("XDG_DATA_HOME");
        fs::remove_all(root);
    }
    std::string Read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // One key at a time, the way the Windows profile functions read and write them.
    int32_t ReadInteger(const std::string& ini, std::string_view section, std::string_view key,
                        int32_t defaultValue) {
        std::string text;
        platform::ReadRegularFile(platform::ResolvePath(ini), &text);
        const auto value = platform::IniFind(text, {{section, key}})[0];
        return value ? platform::IniParseInteger(*value).value_or(defaultValue) : defaultValue;
    }
    bool WriteValue(const std::string& ini, std::string_view section, std::string_view key,
                    const std::string& value) {
        const std::string path = platform::ResolvePath(ini);
        std::string text;
        platform::ReadRegularFile(path, &text);
        return platform::WriteFileAtomically(path, platform::IniSet(text, {{section, key, value}}));
    }
    fs::path root;
};

TEST_F(PlatformTest, WindowsNamesResolveCaseInsensitivelyUnderTheirFolders) {
    EXPECT_EQ(platform::ResolvePath("PICTURE\\BULLET1.bmp"),
              (root / "data" / "Picture" / "Bullet1.BMP").string());
    EXPECT_TRUE(platform::FileExists("picture\\bullet1.bmp"));
    EXPECT_FALSE(platform::FileExists("PICTURE\\MISSING.bmp"));
    EXPECT_FALSE(platform::FileExists("PICTURE")); // a folder is not a file
    // A missing component keeps its spelling so error messages name what was asked for.
    EXPECT_EQ(platform::ResolvePath("SOUNDS\\X.OGG"), (root / "data" / "SOUNDS" / "X.OGG").string());
    EXPECT_EQ(platform::ResolvePath("SAVES\\SAVE.INI"), (root / "user" / "drelmont" / "SAVE.INI").string());
    EXPECT_EQ(platform::ResolvePath("/etc/hostname"), "/etc/hostname");
}

TEST_F(PlatformTest, WithoutHomeTheSavesGoUnderTheHomeThePasswordDatabaseGives) {
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    unsetenv("XDG_DATA_HOME");
    const passwd* user = getpwuid(getuid());
    ASSERT_NE(user, nullptr);
    for (const char* value : {static_cast<const char*>(nullptr), "", "relative/home"}) {
        if (value)
            setenv("HOME", value, 1);
        else
            unsetenv("HOME");
        EXPECT_EQ(platform::ResolvePath("SAVES\\SAVE.INI"),
                  std::string(user->pw_dir) + "/.local/share/drelmont/SAVE.INI")
            << (value ? value : "unset");
    }
    setenv("HOME", home.c_str(), 1);
}

// A name that is not in a folder under its own spelling is searched for there once, until the folder changes.
TEST_F(PlatformTest, AFolderIsSearchedForAMissingNameOnlyAfterItChanged) {
    const fs::path saves = root / "user" / "drelmont";
    fs::create_directories(saves);
    std::ofstream(saves / "other.ini") << "x";
    const auto settled = fs::last_write_time(saves) - std::chrono::hours(1);
    // Searched, and kept: the folder is then renamed into without its stamp showing it.
    for (const bool recent : {false, true}) {
        fs::rename(saves / (recent ? "save.ini" : "other.ini"), saves / "other.ini");
        const auto before = recent ? fs::last_write_time(saves) : settled;
        fs::last_write_time(saves, before);
        EXPECT_EQ(platform::ResolvePath("SAVES\\SAVE.INI"), (saves / "SAVE.INI").string());
        fs::rename(saves / "other.ini", saves / "save.ini");
        fs::last_write_time(saves, before);
        // A folder changed moments before its search may have changed again unseen, and is searched again.
        EXPECT_EQ(platform::ResolvePath("SAVES\\SAVE.INI"),
                  (saves / (recent ? "save.ini" : "SAVE.INI")).string())
            << (recent ? "changed moments before" : "settled");
        fs::last_write_time(saves, settled + std::chrono::seconds(1));
        EXPECT_EQ(platform::ResolvePath("SAVES\\SAVE.INI"), (saves / "save.ini").string()) << "changed";
    }
}

TEST_F(PlatformTest, IniValuesRoundTripAndMissingOrBadValuesGiveTheDefault) {
    const std::string ini = "SAVES\\SAVE.INI";
    EXPECT_EQ(ReadInteger(ini, "OPTIONS", "SMOOTH ", 255), 255); // no file yet
    ASSERT_TRUE(WriteValue(ini, "OPTIONS", "SMOOTH ", "128"));   // creates the folders
    ASSERT_TRUE(WriteValue(ini, "eax$%d3", "FULL ", "0"));
    ASSERT_TRUE(WriteValue(ini, "OPTIONS", "MUSIC ", "-7"));
    EXPECT_EQ(ReadInteger(ini, "options", "smooth", 255), 128);
    EXPECT_EQ(ReadInteger(ini, "OPTIONS", "MUSIC ", 0), -7);
    EXPECT_EQ(ReadInteger(ini, "eax$%d3", "FULL ", 1), 0);
    EXPECT_EQ(ReadInteger(ini, "eax$%d3", "OTHER ", 1), 1);

    ASSERT_TRUE(WriteValue(ini, "OPTIONS", "SMOOTH ", "255")); // overwrite in place
    const std::string text = Read(root / "user" / "drelmont" / "SAVE.INI");
    EXPECT_EQ(text, "[OPTIONS]\r\nSMOOTH =255\r\nMUSIC =-7\r\n\r\n[eax$%d3]\r\nFULL =0\r\n");

    std::ofstream(root / "user" / "drelmont" / "SAVE.INI", std::ios::app)
        << "[BAD]\r\nWORD=abc\r\nBIG=99999999999\r\nHEX=0x1F\r\nSPACED =  42  \r\n";
    EXPECT_EQ(ReadInteger(ini, "BAD", "WORD", 5), 5);
    EXPECT_EQ(ReadInteger(ini, "BAD", "BIG", 5), 5);
    EXPECT_EQ(ReadInteger(ini, "BAD", "HEX", 5), 31);
    EXPECT_EQ(ReadInteger(ini, "BAD", "SPACED", 5), 42);
}

TEST_F(PlatformTest, ThePicturesFolderComesFromTheEnvironmentOrTheUserDirsFile) {
    setenv("HOME", (root / "home").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
    fs::create_directories(root / "config");
    const std::string home = (root / "home").string();
    struct Row {
        const char* env; // XDG_PICTURES_DIR, or null
        const char* userDirs;
        std::string expected;
    };
    const Row rows[] = {
        {"/srv/shots", "XDG_PICTURES_DIR=\"/srv/pics\"\n", "/srv/shots"},
        {nullptr, "# made by xdg-user-dirs\nXDG_PICTURES_DIR=\"$HOME/Bilder\"\n", home + "/Bilder"},
        {nullptr, "XDG_MUSIC_DIR=\"$HOME/M\"\n  XDG_PICTURES_DIR=\"/srv/pics\"\n", "/srv/pics"},
        {nullptr, "XDG_PICTURES_DIR=\"$HOME/My \\\"Pics\\\"\"\n", home + "/My \"Pics\""},
        {nullptr, "XDG_PICTURES_DIR=\"Pictures\"\n", home + "/Pictures"}, // neither absolute nor under $HOME
        {"relative", "", home + "/Pictures"},
    };
    for (const Row& row : rows) {
        if (row.env)
            setenv("XDG_PICTURES_DIR", row.env, 1);
        else
            unsetenv("XDG_PICTURES_DIR");
        std::ofstream(root / "config" / "user-dirs.dirs") << row.userDirs;
        EXPECT_EQ(platform::PicturesDir(), row.expected) << row.userDirs;
    }
    unsetenv("XDG_PICTURES_DIR");
    unsetenv("XDG_CONFIG_HOME");
}

TEST_F(PlatformTest, ANewTimedFileTakesNoNameTwiceAndMakesItsFolder) {
    std::string error;
    const fs::path folder = root / "shots" / "Drelmont";
    const std::string first = platform::NewTimedFile(folder.string(), ".png", &error);
    ASSERT_FALSE(first.empty()) << error;
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(fs::path(first).parent_path(), folder);
    std::ofstream(first) << "x";
    const std::string second = platform::NewTimedFile(folder.string(), ".png", &error);
    EXPECT_NE(second, first);
    EXPECT_FALSE(fs::exists(second));

    std::ofstream(root / "file") << "x";
    EXPECT_EQ(platform::NewTimedFile((root / "file" / "Drelmont").string(), ".png", &error), "");
    EXPECT_NE(error.find("file"), std::string::npos) << error;
}
