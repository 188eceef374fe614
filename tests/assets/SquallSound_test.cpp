// TSound and TSoundSystem on the real sound library (null device) with Ogg files written into a temp data
// folder.
#include "SquallSound.h"

#include "ogg_writer.h"
#include "squall.h"
#include "squall_debug.h"

#include <AL/al.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string kExplosion = "SOUNDS\\EXPLOSION.OGG";
const std::string kMenu = "SOUNDS\\MENU_STAND.OGG";
const std::string kNewLevel = "SOUNDS\\NEW_LEVEL.OGG";

float SourceFloat(int channel, ALenum what) {
    ALfloat v = 0;
    alGetSourcef(SQUALL_Debug_ChannelSource(channel), what, &v);
    return v;
}

bool Playing(int channel) {
    const ALuint src = SQUALL_Debug_ChannelSource(channel);
    ALint state = 0;
    if (src != 0) alGetSourcei(src, AL_SOURCE_STATE, &state);
    return state == AL_PLAYING;
}

} // namespace

class SquallSoundTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir = fs::temp_directory_path() / ("drelmont_squallsound_" + std::to_string(::getpid()));
        fs::create_directories(dir / "SOUNDS");
        ASSERT_TRUE(testogg::WriteTone((dir / "SOUNDS" / "EXPLOSION.OGG").string(), 1, 22050, 22050 * 5));
        ASSERT_TRUE(testogg::WriteTone((dir / "SOUNDS" / "Menu_Stand.ogg").string(), 2, 44100, 4410));
        ASSERT_TRUE(testogg::WriteTone((dir / "SOUNDS" / "NEW_LEVEL.OGG").string(), 1, 44100, 4410));
        std::ofstream(dir / "SOUNDS" / "BROKEN.OGG") << "not a vorbis stream";
    }
    static void TearDownTestSuite() { fs::remove_all(dir); }

    void SetUp() override {
        setenv("ALSOFT_DRIVERS", "null", 0);
        setenv("DRELMONT_DATA", dir.c_str(), 1);
        SQUALL_Init(nullptr); // as the asset loader does, so the listener factors reach a running library
        system.reset(TSoundSystem::Create([this](const std::string& text) { log.push_back(text); }));
        ASSERT_NE(system, nullptr);
        log.clear();
    }
    void TearDown() override {
        system.reset();
        unsetenv("DRELMONT_DATA");
    }

    static inline fs::path dir;
    std::vector<std::string> log;
    std::unique_ptr<TSoundSystem> system;
};

TEST_F(SquallSoundTest, SoundAtYieldsNilOutsideTheList) {
    EXPECT_EQ(TSound::Create(nullptr), nullptr);
    EXPECT_EQ(system->SoundAt(0), nullptr);
    TSound* a = system->LoadSound(kExplosion, 1, 1);
    TSound* b = system->LoadSound(kMenu, 1, 1);
    TSound* c = system->LoadSound("SOUNDS\\NO_SUCH.OGG", 1, 1); // a failed load is still in the list
    ASSERT_EQ(system->Count(), 3);
    EXPECT_EQ(system->SoundAt(0), a);
    EXPECT_EQ(system->SoundAt(1), b);
    EXPECT_EQ(system->SoundAt(2), c);
    EXPECT_EQ(system->SoundAt(-1), nullptr);
    EXPECT_EQ(system->SoundAt(system->Count()), nullptr);
}

TEST_F(SquallSoundTest, SameFileTwiceGivesTwoSamplesThatPlayTogether) {
    TSound* first = system->LoadSound(kExplosion, 1, 1);
    TSound* second = system->LoadSound(kExplosion, 1, 1);
    ASSERT_TRUE(first->Loaded);
    ASSERT_TRUE(second->Loaded);
    EXPECT_GE(first->SampleID, 1);
    EXPECT_GE(second->SampleID, 1);
    EXPECT_NE(first->SampleID, second->SampleID);
    EXPECT_EQ(first->FileName, "sounds\\explosion.ogg");
    EXPECT_EQ(first->Kind, 1);
    EXPECT_EQ(first->Tag, 1);
    EXPECT_EQ(log, (std::vector<std::string>{"Sound loaded: SOUNDS\\EXPLOSION.OGG",
                                             "Sound loaded: SOUNDS\\EXPLOSION.OGG"}));

    first->Play(false);
    second->Play(false);
    EXPECT_NE(first->Channel, second->Channel);
    EXPECT_FLOAT_EQ(SourceFloat(first->Channel, AL_GAIN), 0.8f); // a new sound's volume
    EXPECT_TRUE(Playing(first->Channel));
    EXPECT_TRUE(Playing(second->Channel));
    // Stopping one copy leaves the other playing.
    const int stopped = first->Channel;
    first->Stop();
    EXPECT_EQ(first->Channel, 0);
    EXPECT_FALSE(Playing(stopped));
    EXPECT_TRUE(Playing(second->Channel));
}

TEST_F(SquallSoundTest, MissingFileIsReportedAsPassedAndLeavesTheSoundUnloaded) {
    TSound* sound = system->LoadSound("SOUNDS\\No_Such.OGG", 1, 7);
    EXPECT_EQ(log,
              (std::vector<std::string>{"Sound not loaded: File \"SOUNDS\\No_Such.OGG\" doesnt exists"}));
    EXPECT_FALSE(sound->Loaded);
    EXPECT_EQ(sound->SampleID, 0);
    EXPECT_TRUE(sound->FileName.empty());
    EXPECT_EQ(sound->Kind, 0);
    EXPECT_EQ(sound->Tag, 0);
    // Playing it hands sample 0 to the library, which refuses; the sound stays silent.
    sound->Play(false);
    EXPECT_LT(sound->Channel, 0);
}

TEST_F(SquallSoundTest, UnreadableFileReportsTheLibraryError) {
    TSound* sound = system->LoadSound("SOUNDS\\BROKEN.OGG", 1, 1);
    EXPECT_EQ(log, (std::vector<std::string>{"Sound not loaded: SOUNDS\\BROKEN.OGG. ErrorCode: -4"}));
    EXPECT_FALSE(sound->Loaded);
    EXPECT_EQ(sound->SampleID, SQUALL_ERROR_DECODE);
    EXPECT_EQ(sound->FileName, "sounds\\broken.ogg");
}

TEST_F(SquallSoundTest, LoadingALoadedSoundUnloadsTheOldSampleFirst) {
    TSound* sound = system->LoadSound(kExplosion, 1, 1);
    const int oldSample = sound->SampleID;
    log.clear();
    sound->Load(kMenu, 2, 5);
    EXPECT_EQ(log, (std::vector<std::string>{"Sound unloaded: sounds\\explosion.ogg",
                                             "Sound loaded: SOUNDS\\MENU_STAND.OGG"}));
    EXPECT_TRUE(sound->Loaded);
    EXPECT_NE(sound->SampleID, oldSample);
    EXPECT_EQ(SQUALL_Sample_Unload(oldSample), SQUALL_ERROR_BAD_HANDLE); // really gone from the library
    EXPECT_EQ(sound->FileName, "sounds\\menu_stand.ogg");
    EXPECT_EQ(sound->Kind, 2);
    EXPECT_EQ(sound->Tag, 5);

    // A reload that fails still unloads what was there.
    log.clear();
    sound->Load("SOUNDS\\NO_SUCH.OGG", 1, 1);
    EXPECT_EQ(log,
              (std::vector<std::string>{"Sound unloaded: sounds\\menu_stand.ogg",
                                        "Sound not loaded: File \"SOUNDS\\NO_SUCH.OGG\" doesnt exists"}));
    EXPECT_FALSE(sound->Loaded);
}

TEST_F(SquallSoundTest, VolumeAndFrequencyAreHandedOverAtPlayTime) {
    TSound* sound = system->LoadSound(kExplosion, 1, 1); // recorded at 22050 Hz
    sound->Volume = 30;
    sound->SetFrequency(44100); // as after a slow-down: the game's rate, not the sample's own
    sound->Play(true);
    ASSERT_GE(sound->Channel, 1);
    EXPECT_TRUE(sound->Loop);
    EXPECT_FLOAT_EQ(SourceFloat(sound->Channel, AL_GAIN), 0.3f);
    EXPECT_FLOAT_EQ(SourceFloat(sound->Channel, AL_PITCH), 2.0f);

    // Changes reach only the next play.
    const int playing = sound->Channel;
    sound->Volume = 90;
    sound->SetFrequency(22050);
    EXPECT_FLOAT_EQ(SourceFloat(playing, AL_GAIN), 0.3f);
    EXPECT_FLOAT_EQ(SourceFloat(playing, AL_PITCH), 2.0f);
    const int next = sound->PlayAt({0, 0, 0}, {0, 0, 0}, false);
    EXPECT_EQ(next, sound->Channel);
    EXPECT_FLOAT_EQ(SourceFloat(next, AL_GAIN), 0.9f);
    EXPECT_FLOAT_EQ(SourceFloat(next, AL_PITCH), 1.0f);

    sound->Stop();
    EXPECT_FALSE(Playing(playing));
    EXPECT_FALSE(Playing(next));
}

TEST_F(SquallSoundTest, KindZeroPlaysAtItsPosition) {
    TSound* sound = system->LoadSound(kExplosion, 0, 0);
    const int channel = sound->PlayAt({100, 200, 0}, {5, 0, 0}, false);
    ASSERT_GE(channel, 1);
    EXPECT_EQ(sound->Position, (std::array<float, 3>{100, 200, 0}));
    EXPECT_EQ(sound->Velocity, (std::array<float, 3>{5, 0, 0}));
    ALfloat x = 0, y = 0, z = 0;
    alGetSource3f(SQUALL_Debug_ChannelSource(channel), AL_POSITION, &x, &y, &z);
    EXPECT_EQ((std::array<float, 3>{x, y, z}), (std::array<float, 3>{100, 200, 0}));
    EXPECT_FLOAT_EQ(SourceFloat(channel, AL_REFERENCE_DISTANCE), 400.0f);
    EXPECT_FLOAT_EQ(SourceFloat(channel, AL_MAX_DISTANCE), 4000.0f);
    EXPECT_FLOAT_EQ(SourceFloat(channel, AL_ROLLOFF_FACTOR), 0.003f);
}

TEST_F(SquallSoundTest, RefusedListenerFactorsAreReportedAndReadBack) {
    float rolloff = 0;
    ASSERT_EQ(SQUALL_Listener_GetRolloffFactor(&rolloff), 0);
    EXPECT_FLOAT_EQ(rolloff, 0.003f); // the defaults reached the library

    system->SetListenerFactors(-1.0f, 0.0f, -2.0f);
    EXPECT_EQ(log, (std::vector<std::string>{"TSoundSystem: Unable to set RolloffFactor. ErrorCode: -7",
                                             "TSoundSystem: Unable to set DistanceFactor. ErrorCode: -7",
                                             "TSoundSystem: Unable to set DopplerFactor. ErrorCode: -7"}));
    EXPECT_FLOAT_EQ(system->RolloffFactor, 0.003f);
    EXPECT_FLOAT_EQ(system->DistanceFactor, 0.032f);
    EXPECT_FLOAT_EQ(system->DopplerFactor, 1.0f);

    log.clear();
    system->SetListenerFactors(0.5f, 0.1f, 2.0f);
    EXPECT_TRUE(log.empty());
    float distance = 0, doppler = 0;
    SQUALL_Listener_GetRolloffFactor(&rolloff);
    SQUALL_Listener_GetDistanceFactor(&distance);
    SQUALL_Listener_GetDopplerFactor(&doppler);
    EXPECT_FLOAT_EQ(rolloff, 0.5f);
    EXPECT_FLOAT_EQ(distance, 0.1f);
    EXPECT_FLOAT_EQ(doppler, 2.0f);
}

TEST_F(SquallSoundTest, FreeingSoundsAndTheSystemUnloadsThemLastFirst) {
    TSound* explosion = system->LoadSound(kExplosion, 1, 1);
    TSound* menu = system->LoadSound(kMenu, 1, 1);
    TSound* newLevel = system->LoadSound(kNewLevel, 1, 1);
    system->LoadSound("SOUNDS\\NO_SUCH.OGG", 1, 1); // never loaded: nothing to unload
    const int menuSample = menu->SampleID;
    log.clear();

    menu->Play(true);
    system->FreeSound(menu);
    EXPECT_EQ(log, (std::vector<std::string>{"Sound unloaded: sounds\\menu_stand.ogg"}));
    EXPECT_EQ(SQUALL_Sample_Stop(menuSample), SQUALL_ERROR_BAD_HANDLE);
    ASSERT_EQ(system->Count(), 3);
    EXPECT_EQ(system->SoundAt(0), explosion);
    EXPECT_EQ(system->SoundAt(1), newLevel);

    log.clear();
    system.reset();
    EXPECT_EQ(log, (std::vector<std::string>{"Sound unloaded: sounds\\new_level.ogg",
                                             "Sound unloaded: sounds\\explosion.ogg"}));
    EXPECT_EQ(SQUALL_Stop(), SQUALL_ERROR_NOT_INITIALISED); // the library was stopped too
}

TEST(SquallSoundStart, FactorsSetBeforeTheLibraryRunsAreReported) {
    setenv("ALSOFT_DRIVERS", "null", 0);
    std::vector<std::string> log;
    std::unique_ptr<TSoundSystem> system(
        TSoundSystem::Create([&](const std::string& t) { log.push_back(t); }));
    ASSERT_NE(system, nullptr);
    // Create sets the factors first and starts the library after, so without an earlier SQUALL_Init they
    // fail.
    EXPECT_EQ(log, (std::vector<std::string>{"TSoundSystem: Unable to set RolloffFactor. ErrorCode: -1",
                                             "TSoundSystem: Unable to set DistanceFactor. ErrorCode: -1",
                                             "TSoundSystem: Unable to set DopplerFactor. ErrorCode: -1"}));
    EXPECT_FLOAT_EQ(system->RolloffFactor, 0.003f);
    EXPECT_FLOAT_EQ(system->DistanceFactor, 0.032f);
    EXPECT_FLOAT_EQ(system->DopplerFactor, 1.0f);
}

// OpenAL picks its driver once per process, so the no-device start runs in a fresh child process.
int CreateWithoutDevice() {
    setenv("ALSOFT_DRIVERS", "no_such_driver", 1);
    std::vector<std::string> log;
    TSoundSystem* system = TSoundSystem::Create([&](const std::string& t) { log.push_back(t); });
    const std::vector<std::string> want{"TSoundSystem: Unable to set RolloffFactor. ErrorCode: -1",
                                        "TSoundSystem: Unable to set DistanceFactor. ErrorCode: -1",
                                        "TSoundSystem: Unable to set DopplerFactor. ErrorCode: -1",
                                        "TSoundSystem: Unable init sound system. ErrorCode: -2"};
    if (system == nullptr && log == want) return 0;
    for (const std::string& line : log)
        std::fprintf(stderr, "reported: %s\n", line.c_str());
    return 1;
}

TEST(SquallSoundStart, WithoutADeviceCreateReportsAndGivesNil) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::exit(CreateWithoutDevice()), ::testing::ExitedWithCode(0), "");
}
