// The sound table on the real sound library and the generated sounds: volumes, copies, music, silence.
#include "SquallSound.h"
#include "assets.h"
#include "music.h"
#include "settings.h"

#include <gtest/gtest.h>

#include <cstdlib>

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
