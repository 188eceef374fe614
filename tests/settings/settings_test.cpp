// Saved settings against a real file in a temporary user folder.
#include "settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>

namespace fs = std::filesystem;

class Settings : public ::testing::Test {
  protected:
    void SetUp() override {
        home = fs::temp_directory_path() / ("drelmont_settings_" + std::to_string(::getpid()));
        fs::remove_all(home);
        setenv("XDG_DATA_HOME", home.c_str(), 1);
        ResetSettingsGlobals();
    }
    void TearDown() override { fs::remove_all(home); }
    void WriteFile(const std::string& text) {
        fs::create_directories(home / "drelmont");
        std::ofstream(home / "drelmont" / "SAVE.INI", std::ios::binary) << text;
    }
    std::string ReadFile() const {
        std::ifstream in(home / "drelmont" / "SAVE.INI", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    fs::path home;
};

TEST_F(Settings, WithoutAFileEverySettingTakesItsDefault) {
    EffectsVolume = MusicVolume = WeaponKindsOpen = LevelsOpen = MapAlpha = 7;
    TextureFlagSetting = true;
    ShowFps = FullScreen = false;
    LoadSettings();
    EXPECT_EQ(EffectsVolume, 90);
    EXPECT_EQ(MusicVolume, 100);
    EXPECT_EQ(WeaponKindsOpen, 0);
    EXPECT_EQ(LevelsOpen, 0);
    EXPECT_EQ(MapAlpha, 255);
    EXPECT_FALSE(TextureFlagSetting);
    EXPECT_TRUE(ShowFps);
    EXPECT_TRUE(FullScreen);
}

TEST_F(Settings, KeysKeepTheirTrailingBlanksAndBytesKeepTheirLowBits) {
    WriteFile("[prA(*@)]\nBH5sj =5\n[00^123$]\n12 10 70 =300\n64 26 12 =256\nVft4DS =0\n/*-+() =junk\n");
    LoadSettings();
    EXPECT_EQ(LevelsOpen, 5);
    EXPECT_EQ(EffectsVolume, 44); // 300 keeps its low 8 bits
    EXPECT_EQ(MusicVolume, 0);    // 256 reads as 0
    EXPECT_FALSE(FullScreen);
    EXPECT_FALSE(TextureFlagSetting); // not a number: the default
}

TEST_F(Settings, WhatIsSavedIsReadBack) {
    LoadSettings();
    EffectsVolume = 30;
    MusicVolume = 60;
    WeaponKindsOpen = 4;
    LevelsOpen = 12;
    ShowFps = false;
    TextureFlagSetting = true;
    ASSERT_TRUE(SaveSettings());
    EffectsVolume = MusicVolume = WeaponKindsOpen = LevelsOpen = 0;
    ShowFps = true;
    TextureFlagSetting = false;
    LoadSettings();
    EXPECT_EQ(EffectsVolume, 30);
    EXPECT_EQ(MusicVolume, 60);
    EXPECT_EQ(WeaponKindsOpen, 4);
    EXPECT_EQ(LevelsOpen, 12);
    EXPECT_FALSE(ShowFps);
    EXPECT_TRUE(TextureFlagSetting);
    std::ifstream in(home / "drelmont" / "SAVE.INI");
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    EXPECT_NE(text.find("BH5sj =12"), std::string::npos) << text;
}

// The language lives in a section of our own beside the original keys, and is written only once chosen: a
// value the game cannot read counts as no choice and stays as it was.
TEST_F(Settings, TheLanguageIsWrittenOnlyOnceChosenInASectionOfItsOwn) {
    ASSERT_TRUE(SaveSettings());
    const std::string seven = ReadFile();
    ChosenLanguage = Language::English;
    ASSERT_TRUE(SaveSettings());
    EXPECT_EQ(ReadFile(), seven + "\r\n[Drelmont]\r\nLanguage=en\r\n");
    ChosenLanguage.reset();
    LoadSettings();
    EXPECT_EQ(ChosenLanguage, Language::English);

    for (const auto& [line, read] : {std::pair{"language = RU", std::optional{Language::Russian}},
                                     {"language = fr", std::optional<Language>{}}}) {
        WriteFile(std::string("[drelmont]\n") + line + "\n");
        LoadSettings();
        EXPECT_EQ(ChosenLanguage, read) << line;
        ASSERT_TRUE(SaveSettings());
        EXPECT_NE(ReadFile().find(read ? "language = ru\n" : "language = fr\n"), std::string::npos)
            << ReadFile();
    }
}

TEST_F(Settings, AFileThatCannotBeWrittenIsReported) {
    fs::create_directories(home);
    std::ofstream(home / "drelmont") << "a file where the folder should be";
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(SaveSettings());
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("Unable to write to "), std::string::npos);
}

TEST_F(Settings, ANewFileSpellsEverySectionAndKeyByteForByte) {
    ASSERT_TRUE(SaveSettings());
    EXPECT_EQ(ReadFile(),
              "[00^123$]\r\n12 10 70 =90\r\n64 26 12 =100\r\n/*-+() =0\r\n!)^^:; =1\r\nVft4DS =1\r\n"
              "\r\n[eax$%d3]\r\nuscQD =0\r\n\r\n[prA(*@)]\r\nBH5sj =0\r\n");
}

TEST_F(Settings, ASaveChangesNothingButTheValuesThatChanged) {
    const std::string text = "# kept by hand\n[prA(*@)]\nbh5sj= 7\nnext level=8\n\n[OPTIONS]\nSMOOTH =128\n"
                             "[00^123$]\n!)^^:; =0\n12 10 70=40\n64 26 12 =60\n/*-+() =1\nVft4DS =0\n"
                             "[eax$%d3]\nuscQD =3\n[mods]\nhard=1\n";
    WriteFile(text);
    LoadSettings();
    ASSERT_TRUE(SaveSettings());
    EXPECT_EQ(ReadFile(), text);
    LevelsOpen = 8;
    ASSERT_TRUE(SaveSettings());
    std::string expected = text;
    expected.replace(expected.find("bh5sj= 7"), 8, "bh5sj= 8");
    EXPECT_EQ(ReadFile(), expected);
}

TEST_F(Settings, ACorruptFileKeepsWhatCanBeReadAndSurvivesASave) {
    std::string text = "\xEF\xBB\xBF[00^123$]\r\n12 10 70 =30\r\n12 10 70 =99\r\n64 26 12 =\xFF\xFE\r\n";
    text += std::string(1 << 20, '\x90') + "\r\n[prA(*@)\r\nBH5sj =5\r\n[eax$%d3]\r\nuscQD =4";
    text += std::string("\0\0", 2) + "\r\n";
    WriteFile(text);
    LoadSettings();
    EXPECT_EQ(EffectsVolume, 30);  // the first of two
    EXPECT_EQ(MusicVolume, 100);   // garbage: the default
    EXPECT_EQ(LevelsOpen, 5);      // its section lacks a bracket
    EXPECT_EQ(WeaponKindsOpen, 0); // NUL bytes after the number
    ASSERT_TRUE(SaveSettings());
    const std::string saved = ReadFile();
    EXPECT_EQ(saved.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_NE(saved.find(std::string(1 << 20, '\x90')), std::string::npos);
    LoadSettings();
    EXPECT_EQ(MusicVolume, 100);
    EXPECT_EQ(WeaponKindsOpen, 0);
}

TEST_F(Settings, AFileNotepadSavedAsUnicodeKeepsTheProgressAndStaysUnicode) {
    auto utf16 = [](std::string_view ascii) {
        std::string wide;
        for (const char c : ascii)
            wide += std::string{c, '\0'};
        return wide;
    };
    WriteFile("\xFF\xFE" + utf16("[prA(*@)]\r\nBH5sj =5\r\n[OPTIONS]\r\nSMOOTH =9\r\n"));
    LoadSettings();
    EXPECT_EQ(LevelsOpen, 5);
    EXPECT_EQ(ReadStampSetting(), 9);
    LevelsOpen = 6;
    ASSERT_TRUE(SaveSettings());
    const std::string saved = ReadFile();
    const std::string start = "\xFF\xFE" + utf16("[prA(*@)]\r\nBH5sj =6\r\n");
    EXPECT_EQ(saved.substr(0, start.size()), start);
    EXPECT_EQ(saved.size() % 2, 0u);
    LevelsOpen = 0;
    LoadSettings();
    EXPECT_EQ(LevelsOpen, 6);
    EXPECT_EQ(EffectsVolume, 90);
}

TEST_F(Settings, AFifoWhereTheFileShouldBeNeitherBlocksNorIsReplaced) {
    alarm(20); // a blocking open ends the test instead of hanging it
    fs::create_directories(home / "drelmont");
    ASSERT_EQ(mkfifo((home / "drelmont" / "SAVE.INI").c_str(), 0600), 0);
    LevelsOpen = 9;
    LoadSettings();
    EXPECT_EQ(LevelsOpen, 0);
    EXPECT_EQ(ReadStampSetting(), 255);

    static std::string shown;
    ShowSaveError = [](const std::string& text) { shown = text; };
    GameLanguage = Language::English; // the screen speaks the player's language, stderr always English
    setenv("HOME", home.c_str(), 1);
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(SaveSettings());
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("Unable to write to " +
                                                            (home / "drelmont" / "SAVE.INI").string()),
              std::string::npos);
    EXPECT_EQ(shown, "Unable to write to ~/drelmont/SAVE.INI"); // the player sees it too
    ShowSaveError = nullptr;
    GameLanguage = Language::Russian;
    EXPECT_TRUE(fs::is_fifo(home / "drelmont" / "SAVE.INI"));
    alarm(0);
}

TEST_F(Settings, TheStampSettingFollowsTheFileAndIsNotReadAgainWhileItStaysTheSame) {
    EXPECT_EQ(ReadStampSetting(), 255);
    WriteFile("[OPTIONS]\nSMOOTH =100\n");
    EXPECT_EQ(ReadStampSetting(), 100);
    struct stat before {};
    stat((home / "drelmont" / "SAVE.INI").c_str(), &before);
    // The same size and modification time: the file is taken to be the same and is not read.
    WriteFile("[OPTIONS]\nSMOOTH =200\n");
    timespec times[2] = {before.st_atim, before.st_mtim};
    utimensat(AT_FDCWD, (home / "drelmont" / "SAVE.INI").c_str(), times, 0);
    EXPECT_EQ(ReadStampSetting(), 100);
    times[1].tv_nsec = (times[1].tv_nsec + 1) % 1'000'000'000;
    utimensat(AT_FDCWD, (home / "drelmont" / "SAVE.INI").c_str(), times, 0);
    EXPECT_EQ(ReadStampSetting(), 200);
    WriteFile("[OPTIONS]\nSMOOTH =7\n");
    EXPECT_EQ(ReadStampSetting(), 7);
    ASSERT_TRUE(SaveSettings()); // a save keeps the key and makes a new file
    EXPECT_EQ(ReadStampSetting(), 7);
    fs::remove(home / "drelmont" / "SAVE.INI");
    EXPECT_EQ(ReadStampSetting(), 255);
}

TEST_F(Settings, WithoutAnyHomeFolderNothingIsSavedRelativeToTheWorkingFolder) {
    constexpr uid_t kStranger = 54321; // a user the password database does not know
    if (geteuid() != 0 || getpwuid(kStranger)) GTEST_SKIP() << "needs root and a user id nobody has";
    fs::create_directories(home / "cwd");
    fs::permissions(home / "cwd", fs::perms::all);
    const std::string err = (home / "err.txt").string();
    const pid_t child = fork();
    if (child == 0) {
        unsetenv("HOME");
        unsetenv("XDG_DATA_HOME");
        if (dup2(open(err.c_str(), O_WRONLY | O_CREAT, 0600), 2) != 2 || chdir((home / "cwd").c_str()) != 0 ||
            setgid(kStranger) != 0 || setuid(kStranger) != 0)
            _exit(3);
        _exit(SaveSettings() ? 1 : 0);
    }
    int status = -1;
    waitpid(child, &status, 0);
    EXPECT_EQ(status, 0) << "the save failed, as it should";
    EXPECT_TRUE(fs::is_empty(home / "cwd"));
    std::ifstream in(err);
    const std::string said((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(said.rfind("Unable to write to SAVES\\SAVE.INI (no home folder", 0), 0u) << said;
}
