// Saved settings against a real file in a temporary user folder.
#include "settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

class Settings : public ::testing::Test {
  protected:
    void SetUp() override {
        home = fs::temp_directory_path() / ("drelmont_settings_" + std::to_string(::getpid()));
        fs::remove_all(home);
        setenv("XDG_DATA_HOME", home.c_str(), 1);
    }
    void TearDown() override { fs::remove_all(home); }
    void WriteFile(const std::string& text) {
        fs::create_directories(home / "drelmont");
        std::ofstream(home / "drelmont" / "SAVE.INI") << text;
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

TEST_F(Settings, AFileThatCannotBeWrittenIsReported) {
    fs::create_directories(home);
    std::ofstream(home / "drelmont") << "a file where the folder should be";
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(SaveSettings());
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("Unable to write to "), std::string::npos);
}
