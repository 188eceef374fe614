// The sound table on the real sound library and the generated sounds: volumes, copies, music, silence.
#include "SquallSound.h"
#include "assets.h"
#include "music.h"
#include "settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class Sounds : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* build = std::getenv("DRELMONT_BUILD");
        ASSERT_NE(build, nullptr);
        setenv("DRELMONT_DATA", build, 1);
    }
};

TEST_F(Sounds, EffectsVolumeReachesEverySoundButTheMusicAndTheSevenDeathCries) {
    EffectsVolume = 30;
    MusicVolume = 55;
    LoadSounds();
    ASSERT_EQ(SoundSystem->Count(), kSoundCount);
    for (int32_t i = 0; i < SoundSystem->Count(); ++i)
        EXPECT_TRUE(SoundSystem->SoundAt(i)->Loaded) << i;
    EXPECT_NE(SndExplosion->SampleID, SndExplosion2->SampleID); // each copy is its own sample
    EXPECT_EQ(SndMusic->Kind, 2);

    for (uint8_t volume : {30, 70}) {
        EffectsVolume = volume;
        ApplyEffectsVolume();
        EXPECT_EQ(SndMusic->Volume, 55);
        for (TSound* s : SndDieLizard)
            EXPECT_EQ(s->Volume, 80);
        for (TSound* s : SndDieHumanoid)
            EXPECT_EQ(s->Volume, 80);
        for (TSound* s : SndDieHumanoidB)
            EXPECT_EQ(s->Volume, volume);
        for (TSound* s : SndHit)
            EXPECT_EQ(s->Volume, volume);
        EXPECT_EQ(SndExplosion->Volume, volume);
        EXPECT_EQ(SoundSystem->SoundAt(16)->Volume, volume); // the spare copy nobody plays
    }
}

TEST_F(Sounds, PlayingMusicReplacesThePieceAndLoopsIt) {
    MusicVolume = 40;
    LoadSounds();
    EXPECT_EQ(SndMusic->FileName, "sounds\\music_main_menu.ogg");
    const int32_t count = SoundSystem->Count();
    PlayMusic(1);
    EXPECT_EQ(SoundSystem->Count(), count); // the old piece is freed, not kept
    for (int32_t i = 0; i < count; ++i)
        EXPECT_NE(SoundSystem->SoundAt(i)->FileName, "sounds\\music_main_menu.ogg");
    EXPECT_EQ(SndMusic->FileName, "sounds\\music_main_fight.ogg");
    EXPECT_EQ(SndMusic->Volume, 40);
    EXPECT_TRUE(SndMusic->Loop);
    EXPECT_GE(SndMusic->Channel, 1);
    TSound* fight = SndMusic;
    PlayMusic(0); // not a piece: nothing changes
    PlayMusic(6);
    EXPECT_EQ(SndMusic, fight);
}

TEST_F(Sounds, ThePieceAlreadyLoadedStartsAgainWithoutBeingLoadedAnew) {
    MusicVolume = 70;
    LoadSounds();
    TSound* menu = SndMusic;
    const int32_t sample = menu->SampleID;
    MusicVolume = 30;
    PlayMusic(5);
    EXPECT_EQ(SndMusic, menu);
    EXPECT_EQ(SndMusic->SampleID, sample);
    EXPECT_EQ(SndMusic->Volume, 30);
    EXPECT_TRUE(SndMusic->Loop);
    EXPECT_GE(SndMusic->Channel, 1);
}

TEST_F(Sounds, ABrokenSoundIsNamedOnceAndTheOthersPlayOn) {
    // A data folder of the generated sounds with four broken, three of them loaded more than once.
    const fs::path data = fs::temp_directory_path() / ("drelmont_sounds_" + std::to_string(::getpid()));
    fs::create_directories(data);
    fs::copy(fs::path(std::getenv("DRELMONT_BUILD")) / "SOUNDS", data / "SOUNDS");
    const auto bytes = [&](const char* name) {
        std::ifstream in(data / "SOUNDS" / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const auto write = [&](const char* name, const std::string& text) {
        std::ofstream(data / "SOUNDS" / name, std::ios::binary | std::ios::trunc) << text;
    };
    fs::remove(data / "SOUNDS" / "Z_DROB.OGG");
    write("EXPLOSION.OGG", "");
    write("DIE_GUMANOID_2.OGG", bytes("DIE_GUMANOID_2.OGG").substr(0, 3000));
    write("NUKES.OGG", "This is not a sound.\n");
    setenv("DRELMONT_DATA", data.c_str(), 1);

    ::testing::internal::CaptureStderr();
    LoadSounds();
    const std::string err = ::testing::internal::GetCapturedStderr();
    fs::remove_all(data);
    for (const char* name : {"Z_DROB.OGG", "EXPLOSION.OGG", "DIE_GUMANOID_2.OGG", "NUKES.OGG"}) {
        size_t count = 0;
        for (size_t at = err.find(name); at != std::string::npos; at = err.find(name, at + 1))
            ++count;
        EXPECT_EQ(count, 1u) << name << " in:\n" << err;
    }
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 4) << err;
    EXPECT_FALSE(SndShot->Loaded);
    EXPECT_FALSE(SndExplosion2->Loaded);
    EXPECT_FALSE(SndDieHumanoidB[1]->Loaded);
    EXPECT_TRUE(SndDieHumanoidB[0]->Loaded);
    EXPECT_TRUE(SndReload->Loaded);
    SndShot->Play(false);
    EXPECT_GE(SndReload->PlayAt({0, 0, 0}, {0, 0, 0}, false), 1);
}

TEST_F(Sounds, WithoutASoundDeviceEverySoundExistsAndStaysSilent) {
    // OpenAL reads its driver list once per process, so the silent start runs in a child of its own.
    EXPECT_EXIT(
        {
            setenv("ALSOFT_DRIVERS", "no-such-driver", 1);
            LoadSounds();
            bool ok = SoundSystem && SoundSystem->Count() == kSoundCount;
            for (int32_t i = 0; ok && i < SoundSystem->Count(); ++i)
                ok = !SoundSystem->SoundAt(i)->Loaded;
            SndMenu->Play(false);
            PlayMusic(1);
            ApplyEffectsVolume();
            std::exit(ok && SndMusic && !SndMusic->Loaded ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace
