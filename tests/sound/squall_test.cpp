// The sound library on OpenAL's silent null device, with real Ogg files written for the test.
#include "ogg_writer.h"
#include "squall.h"
#include "squall_debug.h"

#include <AL/al.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <set>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kPool = 32;

ALint SourceInt(ALuint src, ALenum what) {
    ALint v = 0;
    alGetSourcei(src, what, &v);
    return v;
}

float SourceFloat(ALuint src, ALenum what) {
    ALfloat v = 0;
    alGetSourcef(src, what, &v);
    return v;
}

std::array<float, 3> SourceVector(ALuint src, ALenum what) {
    std::array<float, 3> v{};
    alGetSource3f(src, what, &v[0], &v[1], &v[2]);
    return v;
}

ALint BufferInt(ALuint buf, ALenum what) {
    ALint v = 0;
    alGetBufferi(buf, what, &v);
    return v;
}

bool Playing(int channel) {
    const ALuint src = SQUALL_Debug_ChannelSource(channel);
    return src != 0 && SourceInt(src, AL_SOURCE_STATE) == AL_PLAYING;
}

} // namespace

class SquallTest : public ::testing::Test {
  protected:
    // Encoding is the slow part, so the files are written once per program.
    static void SetUpTestSuite() {
        dir = fs::temp_directory_path() / ("drelmont_squall_" + std::to_string(::getpid()));
        fs::create_directories(dir / "Sounds");
        ASSERT_TRUE(testogg::WriteTone((dir / "mono.ogg").string(), 1, 22050, 11025));
        ASSERT_TRUE(testogg::WriteTone((dir / "stereo.ogg").string(), 2, 44100, 5000));
        // Long enough to still be playing while a test fills the pool.
        ASSERT_TRUE(testogg::WriteTone((dir / "Sounds" / "Long_Tone.ogg").string(), 1, 8000, 8000 * 20));
        std::ofstream(dir / "text.ogg") << "not a vorbis stream";
    }
    static void TearDownTestSuite() { fs::remove_all(dir); }

    void SetUp() override {
        setenv("ALSOFT_DRIVERS", "null", 0);
        setenv("DRELMONT_DATA", dir.c_str(), 1);
        ASSERT_EQ(SQUALL_Init(nullptr), 0);
    }
    void TearDown() override {
        SQUALL_Free();
        unsetenv("DRELMONT_DATA");
    }

    static int Load(const char* name) { return SQUALL_Sample_LoadFile((dir / name).c_str(), 1, nullptr); }
    static int LoadLong() { return SQUALL_Sample_LoadFile("SOUNDS\\LONG_TONE.OGG", 1, nullptr); }
    static int PlayFlat(int sample, int loop = 0, int priority = 50) {
        return SQUALL_Sample_PlayEx(sample, loop, 0, 1, 128, 80, 0, priority);
    }

    static inline fs::path dir;
};

TEST_F(SquallTest, DecodesWholeFileIntoOneBufferAtItsOwnRate) {
    const int mono = Load("mono.ogg");
    const int stereo = Load("stereo.ogg");
    ASSERT_GE(mono, 1);
    ASSERT_GE(stereo, 1);
    const ALuint mb = SQUALL_Debug_SampleBuffer(mono);
    EXPECT_EQ(BufferInt(mb, AL_FREQUENCY), 22050);
    EXPECT_EQ(BufferInt(mb, AL_CHANNELS), 1);
    EXPECT_EQ(BufferInt(mb, AL_BITS), 16);
    EXPECT_EQ(BufferInt(mb, AL_SIZE), 11025 * 2);
    const ALuint sb = SQUALL_Debug_SampleBuffer(stereo);
    EXPECT_EQ(BufferInt(sb, AL_FREQUENCY), 44100);
    EXPECT_EQ(BufferInt(sb, AL_CHANNELS), 2);
    EXPECT_EQ(BufferInt(sb, AL_SIZE), 5000 * 2 * 2);
}

TEST_F(SquallTest, WindowsStyleNamesResolveUnderTheDataFolder) {
    const int sample = LoadLong(); // on disk as Sounds/Long_Tone.ogg
    ASSERT_GE(sample, 1);
    EXPECT_EQ(BufferInt(SQUALL_Debug_SampleBuffer(sample), AL_FREQUENCY), 8000);
}

TEST_F(SquallTest, BadFilesAreReportedAndLoadNothing) {
    EXPECT_EQ(SQUALL_Sample_LoadFile("SOUNDS\\NO_SUCH.OGG", 1, nullptr), SQUALL_ERROR_FILE);
    EXPECT_EQ(Load("text.ogg"), SQUALL_ERROR_DECODE);
    EXPECT_EQ(SQUALL_Sample_LoadFile(nullptr, 1, nullptr), SQUALL_ERROR_BAD_VALUE);
    // The failures took no handle: the next sample is still playable and distinct from nothing.
    const int sample = Load("mono.ogg");
    EXPECT_GE(sample, 1);
    EXPECT_GE(PlayFlat(sample), 1);
}

TEST_F(SquallTest, FilesCutShortOrNotPlainAreRefusedWithoutWaiting) {
    // Long enough that libvorbisfile would play the part before the cut without a word.
    std::ifstream in(dir / "Sounds" / "Long_Tone.ogg", std::ios::binary);
    const std::string whole(std::istreambuf_iterator<char>(in), {});
    ASSERT_GT(whole.size(), 100u);
    for (const size_t keep : {whole.size() / 2, whole.size() - 1}) {
        std::ofstream(dir / "cut.ogg", std::ios::binary) << whole.substr(0, keep);
        EXPECT_EQ(Load("cut.ogg"), SQUALL_ERROR_DECODE) << keep << " of " << whole.size() << " bytes";
    }
    ASSERT_EQ(mkfifo((dir / "fifo.ogg").c_str(), 0600), 0);
    EXPECT_EQ(Load("fifo.ogg"), SQUALL_ERROR_FILE);
    EXPECT_EQ(SQUALL_Sample_LoadFile(dir.c_str(), 1, nullptr), SQUALL_ERROR_FILE) << "a folder";
    fs::remove(dir / "fifo.ogg");
    EXPECT_GE(Load("mono.ogg"), 1);
}

TEST_F(SquallTest, EveryLoadIsItsOwnSampleEvenForTheSameFile) {
    const int a = Load("mono.ogg");
    const int b = Load("mono.ogg");
    ASSERT_GE(a, 1);
    ASSERT_GE(b, 1);
    EXPECT_NE(a, b);
    EXPECT_NE(SQUALL_Debug_SampleBuffer(a), SQUALL_Debug_SampleBuffer(b));
    // Both copies play at once, on separate channels.
    const int ca = PlayFlat(a, 1);
    const int cb = PlayFlat(b, 1);
    EXPECT_NE(ca, cb);
    EXPECT_TRUE(Playing(ca));
    EXPECT_TRUE(Playing(cb));
}

// Files decoded ahead load, in any order, as they load without it: the same buffers or the same errors, and
// handles in the order of loading. A file named twice is read once and kept for two loads; a third decodes
// by itself.
TEST_F(SquallTest, FilesDecodedAheadLoadAsWithoutInTheOrderOfLoading) {
    fs::copy_file(dir / "mono.ogg", dir / "ahead.ogg", fs::copy_options::overwrite_existing);
    const std::string ahead = (dir / "ahead.ogg").string(), stereo = (dir / "stereo.ogg").string(),
                      text = (dir / "text.ogg").string();
    const char* files[] = {ahead.c_str(), "SOUNDS\\NO_SUCH.OGG", stereo.c_str(),
                           nullptr,       ahead.c_str(),         text.c_str()};
    ASSERT_EQ(SQUALL_Sample_DecodeAhead(files, 6), 0);
    EXPECT_EQ(Load("text.ogg"), SQUALL_ERROR_DECODE);
    const int s = Load("stereo.ogg");
    EXPECT_EQ(SQUALL_Sample_LoadFile("SOUNDS\\NO_SUCH.OGG", 1, nullptr), SQUALL_ERROR_FILE);
    const int notAsked = LoadLong();
    const int first = Load("ahead.ogg");
    fs::remove(dir / "ahead.ogg");
    const int second = Load("ahead.ogg");
    EXPECT_EQ(Load("ahead.ogg"), SQUALL_ERROR_FILE);
    ASSERT_GE(s, 1);
    EXPECT_LT(s, notAsked);
    EXPECT_LT(notAsked, first);
    EXPECT_LT(first, second);
    EXPECT_EQ(BufferInt(SQUALL_Debug_SampleBuffer(s), AL_SIZE), 5000 * 2 * 2);
    EXPECT_EQ(BufferInt(SQUALL_Debug_SampleBuffer(s), AL_CHANNELS), 2);
    EXPECT_EQ(BufferInt(SQUALL_Debug_SampleBuffer(notAsked), AL_FREQUENCY), 8000);
    for (const int m : {first, second}) {
        EXPECT_EQ(BufferInt(SQUALL_Debug_SampleBuffer(m), AL_SIZE), 11025 * 2);
        EXPECT_EQ(BufferInt(SQUALL_Debug_SampleBuffer(m), AL_FREQUENCY), 22050);
    }
    EXPECT_EQ(SQUALL_Sample_DecodeAhead(nullptr, 1), SQUALL_ERROR_BAD_VALUE);
    EXPECT_EQ(SQUALL_Sample_DecodeAhead(files, -1), SQUALL_ERROR_BAD_VALUE);
    EXPECT_EQ(SQUALL_Sample_DecodeAhead(nullptr, 0), 0);
    // Freed with decodes asked for and never loaded: nothing is left running.
    ASSERT_EQ(SQUALL_Sample_DecodeAhead(files, 6), 0);
}

TEST_F(SquallTest, FlatPlayHandsVolumePitchAndLoopToTheSource) {
    const int sample = Load("mono.ogg"); // 22050 Hz
    const int channel = SQUALL_Sample_PlayEx(sample, 1, 0, 1, 128, 40, 44100, 50);
    ASSERT_GE(channel, 1);
    const ALuint src = SQUALL_Debug_ChannelSource(channel);
    ASSERT_NE(src, 0u);
    EXPECT_EQ(SourceInt(src, AL_BUFFER), static_cast<ALint>(SQUALL_Debug_SampleBuffer(sample)));
    EXPECT_EQ(SourceInt(src, AL_SOURCE_STATE), AL_PLAYING);
    EXPECT_FLOAT_EQ(SourceFloat(src, AL_GAIN), 0.4f);
    EXPECT_FLOAT_EQ(SourceFloat(src, AL_PITCH), 2.0f); // the frequency is relative to the sample's own rate
    EXPECT_EQ(SourceInt(src, AL_LOOPING), AL_TRUE);
    EXPECT_EQ(SourceInt(src, AL_SOURCE_RELATIVE), AL_TRUE);
    EXPECT_FLOAT_EQ(SourceFloat(src, AL_ROLLOFF_FACTOR), 0.0f); // flat sounds do not fade with distance

    // Frequency 0 keeps the sample's rate; volume is clamped to 0..100; start 0 prepares without playing.
    const int other = SQUALL_Sample_PlayEx(sample, 0, 0, 0, 128, 150, 0, 50);
    ASSERT_GE(other, 1);
    const ALuint src2 = SQUALL_Debug_ChannelSource(other);
    EXPECT_FLOAT_EQ(SourceFloat(src2, AL_PITCH), 1.0f);
    EXPECT_FLOAT_EQ(SourceFloat(src2, AL_GAIN), 1.0f);
    EXPECT_EQ(SourceInt(src2, AL_LOOPING), AL_FALSE);
    EXPECT_NE(SourceInt(src2, AL_SOURCE_STATE), AL_PLAYING);
    EXPECT_EQ(SQUALL_Sample_PlayEx(sample, 0, 0, 1, 128, 80, -1, 50), SQUALL_ERROR_BAD_VALUE);

    // Pan swings the sound from left to right, centred at 128.
    const auto x = [&](int pan) {
        return SourceVector(SQUALL_Debug_ChannelSource(SQUALL_Sample_PlayEx(sample, 0, 0, 1, pan, 80, 0, 50)),
                            AL_POSITION)[0];
    };
    EXPECT_LT(x(0), -0.99f);
    EXPECT_FLOAT_EQ(x(128), 0.0f);
    EXPECT_GT(x(255), 0.99f);
}

TEST_F(SquallTest, PositionedPlayUsesPositionDistancesAndListenerRolloff) {
    ASSERT_EQ(SQUALL_Listener_SetRolloffFactor(0.003f), 0);
    const int sample = Load("mono.ogg");
    const float position[3] = {10, 20, 30};
    const float velocity[3] = {1, 2, 3};
    const int channel =
        SQUALL_Sample_Play3DEx(sample, 1, 0, 1, position, velocity, 50, 60, 0, 400.0f, 4000.0f);
    ASSERT_GE(channel, 1);
    const ALuint src = SQUALL_Debug_ChannelSource(channel);
    EXPECT_EQ(SourceInt(src, AL_SOURCE_RELATIVE), AL_FALSE);
    EXPECT_EQ(SourceVector(src, AL_POSITION), (std::array<float, 3>{10, 20, 30}));
    EXPECT_EQ(SourceVector(src, AL_VELOCITY), (std::array<float, 3>{1, 2, 3}));
    EXPECT_FLOAT_EQ(SourceFloat(src, AL_REFERENCE_DISTANCE), 400.0f);
    EXPECT_FLOAT_EQ(SourceFloat(src, AL_MAX_DISTANCE), 4000.0f);
    EXPECT_FLOAT_EQ(SourceFloat(src, AL_ROLLOFF_FACTOR), 0.003f);
    EXPECT_FLOAT_EQ(SourceFloat(src, AL_GAIN), 0.6f);

    // A new rolloff reaches positioned sounds already playing, but not flat ones.
    const int flat = PlayFlat(sample, 1);
    ASSERT_EQ(SQUALL_Listener_SetRolloffFactor(0.5f), 0);
    EXPECT_FLOAT_EQ(SourceFloat(src, AL_ROLLOFF_FACTOR), 0.5f);
    EXPECT_FLOAT_EQ(SourceFloat(SQUALL_Debug_ChannelSource(flat), AL_ROLLOFF_FACTOR), 0.0f);

    EXPECT_EQ(SQUALL_Sample_Play3DEx(sample, 0, 0, 1, nullptr, velocity, 50, 60, 0, 1, 2),
              SQUALL_ERROR_BAD_VALUE);
    EXPECT_EQ(SQUALL_Sample_Play3DEx(sample, 0, 0, 1, position, velocity, 50, 60, 0, -1, 2),
              SQUALL_ERROR_BAD_VALUE);
    // OpenAL itself refuses a position that is not a number; the sample must still unload cleanly after.
    const float nowhere[3] = {NAN, 0, 0};
    EXPECT_EQ(SQUALL_Sample_Play3DEx(sample, 0, 0, 1, nowhere, velocity, 50, 60, 0, 1, 2),
              SQUALL_ERROR_BAD_VALUE);
    EXPECT_EQ(SQUALL_Sample_Stop(sample), 0);
    alGetError();
    EXPECT_EQ(SQUALL_Sample_Unload(sample), 0);
    EXPECT_EQ(alGetError(), AL_NO_ERROR);
}

// Everything a play sets on its source, as the source holds it.
struct SourceLook {
    ALint buffer, looping, relative;
    float gain, pitch, rolloff, reference, farthest;
    std::array<float, 3> position, velocity;
    bool operator==(const SourceLook&) const = default;
};

SourceLook LookOf(int channel) {
    const ALuint src = SQUALL_Debug_ChannelSource(channel);
    return SourceLook{SourceInt(src, AL_BUFFER),
                      SourceInt(src, AL_LOOPING),
                      SourceInt(src, AL_SOURCE_RELATIVE),
                      SourceFloat(src, AL_GAIN),
                      SourceFloat(src, AL_PITCH),
                      SourceFloat(src, AL_ROLLOFF_FACTOR),
                      SourceFloat(src, AL_REFERENCE_DISTANCE),
                      SourceFloat(src, AL_MAX_DISTANCE),
                      SourceVector(src, AL_POSITION),
                      SourceVector(src, AL_VELOCITY)};
}

TEST_F(SquallTest, AVoiceUsedAgainHoldsEveryPropertyOfItsNewPlayAndNoneOfTheLast) {
    const int mono = Load("mono.ogg"), stereo = Load("stereo.ogg");
    const auto buffer = [](int sample) { return static_cast<ALint>(SQUALL_Debug_SampleBuffer(sample)); };
    const float position[3] = {10, 20, 30}, velocity[3] = {1, 2, 3};
    const float farthest = std::numeric_limits<float>::max();
    // Each play after the first finds the pool silenced and takes the first voice again.
    const int first = SQUALL_Sample_PlayEx(mono, 1, 0, 1, 255, 40, 44100, 50);
    const ALuint src = SQUALL_Debug_ChannelSource(first);
    const SourceLook flat{buffer(mono), AL_TRUE, AL_TRUE, 0.4f, 2.0f, 0.0f, 1.0f, farthest, {}, {}};
    SourceLook seen = LookOf(first);
    EXPECT_GT(seen.position[0], 0.99f);
    seen.position = {};
    EXPECT_EQ(seen, flat);

    ASSERT_EQ(SQUALL_Stop(), 0);
    const int placed =
        SQUALL_Sample_Play3DEx(stereo, 0, 0, 1, position, velocity, 50, 60, 0, 400.0f, 4000.0f);
    ASSERT_EQ(SQUALL_Debug_ChannelSource(placed), src);
    EXPECT_EQ(
        LookOf(placed),
        (SourceLook{
            buffer(stereo), AL_FALSE, AL_FALSE, 0.6f, 1.0f, 1.0f, 400.0f, 4000.0f, {10, 20, 30}, {1, 2, 3}}));

    ASSERT_EQ(SQUALL_Stop(), 0);
    const int again = SQUALL_Sample_PlayEx(mono, 1, 0, 1, 128, 40, 44100, 50);
    ASSERT_EQ(SQUALL_Debug_ChannelSource(again), src);
    seen = LookOf(again);
    EXPECT_NEAR(seen.position[2], -1.0f, 1e-6f);
    seen.position = {};
    EXPECT_EQ(seen, flat);
}

TEST_F(SquallTest, ListenerFactorsReachOpenALAndRefusedOnesAreNotKept) {
    EXPECT_EQ(SQUALL_Listener_SetRolloffFactor(0.003f), 0);
    EXPECT_EQ(SQUALL_Listener_SetDistanceFactor(0.032f), 0);
    EXPECT_EQ(SQUALL_Listener_SetDopplerFactor(2.0f), 0);
    EXPECT_FLOAT_EQ(alGetFloat(AL_DOPPLER_FACTOR), 2.0f);
    // 0.032 metres per unit: sound crosses 343.3 m, that is 343.3 / 0.032 units, each second.
    EXPECT_NEAR(alGetFloat(AL_SPEED_OF_SOUND), 343.3f / 0.032f, 0.5f);

    EXPECT_EQ(SQUALL_Listener_SetRolloffFactor(-1.0f), SQUALL_ERROR_BAD_VALUE);
    EXPECT_EQ(SQUALL_Listener_SetDistanceFactor(0.0f), SQUALL_ERROR_BAD_VALUE);
    EXPECT_EQ(SQUALL_Listener_SetDopplerFactor(NAN), SQUALL_ERROR_BAD_VALUE);
    float rolloff = 0, distance = 0, doppler = 0;
    ASSERT_EQ(SQUALL_Listener_GetRolloffFactor(&rolloff), 0);
    ASSERT_EQ(SQUALL_Listener_GetDistanceFactor(&distance), 0);
    ASSERT_EQ(SQUALL_Listener_GetDopplerFactor(&doppler), 0);
    EXPECT_FLOAT_EQ(rolloff, 0.003f);
    EXPECT_FLOAT_EQ(distance, 0.032f);
    EXPECT_FLOAT_EQ(doppler, 2.0f);
    EXPECT_FLOAT_EQ(alGetFloat(AL_DOPPLER_FACTOR), 2.0f);
    EXPECT_EQ(SQUALL_Listener_GetDopplerFactor(nullptr), SQUALL_ERROR_BAD_VALUE);
}

TEST_F(SquallTest, StoppingASampleLeavesOtherSamplesPlaying) {
    const int a = LoadLong();
    const int b = LoadLong();
    const int a1 = PlayFlat(a), a2 = PlayFlat(a, 1), b1 = PlayFlat(b);
    ASSERT_TRUE(Playing(a1) && Playing(a2) && Playing(b1));
    const ALuint a1Source = SQUALL_Debug_ChannelSource(a1);
    EXPECT_EQ(SQUALL_Sample_Stop(a), 0);
    EXPECT_FALSE(Playing(a1));
    EXPECT_FALSE(Playing(a2));
    EXPECT_NE(SourceInt(a1Source, AL_SOURCE_STATE), AL_PLAYING);
    EXPECT_TRUE(Playing(b1));

    EXPECT_EQ(SQUALL_Stop(), 0);
    EXPECT_FALSE(Playing(b1));
    // The sample is still loaded and plays again.
    EXPECT_TRUE(Playing(PlayFlat(a)));
}

TEST_F(SquallTest, FullPoolStealsTheOldestNonLoopingChannel) {
    const int sample = LoadLong();
    std::vector<int> channels;
    std::set<ALuint> sources;
    for (int i = 0; i < kPool; ++i) {
        channels.push_back(PlayFlat(sample, i == 0 ? 1 : 0)); // the oldest play loops
        sources.insert(SQUALL_Debug_ChannelSource(channels.back()));
    }
    EXPECT_EQ(sources.size(), static_cast<size_t>(kPool));
    EXPECT_EQ(std::set<int>(channels.begin(), channels.end()).size(), static_cast<size_t>(kPool));

    const ALuint victimSource = SQUALL_Debug_ChannelSource(channels[1]);
    const int stealer = PlayFlat(sample);
    ASSERT_GE(stealer, 1);
    EXPECT_EQ(SQUALL_Debug_ChannelSource(stealer), victimSource);
    EXPECT_EQ(SQUALL_Debug_ChannelSource(channels[1]), 0u); // the stolen channel is gone
    EXPECT_TRUE(Playing(channels[0]));                      // the loop was spared
    EXPECT_TRUE(Playing(channels[2]));
}

TEST_F(SquallTest, APlayThatHasEndedFreesItsVoiceAtOnceWhateverItsPitch) {
    const int sample = LoadLong();
    const int oldest = PlayFlat(sample);
    // Sped up eighty times, the twenty-second tone is over in a quarter of a second.
    const int quick = SQUALL_Sample_PlayEx(sample, 0, 0, 1, 128, 80, 8000 * 80, 50);
    ASSERT_GE(quick, 1);
    const ALuint quickSource = SQUALL_Debug_ChannelSource(quick);
    std::vector<int> rest;
    for (int i = 2; i < kPool; ++i)
        rest.push_back(PlayFlat(sample));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (Playing(quick) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_FALSE(Playing(quick));

    // The ended play's voice is taken; no play still sounding is cut short.
    EXPECT_EQ(SQUALL_Debug_ChannelSource(PlayFlat(sample)), quickSource);
    EXPECT_TRUE(Playing(oldest));
    for (int channel : rest)
        EXPECT_TRUE(Playing(channel));
}

TEST_F(SquallTest, LoopsAndHigherPrioritiesAreNeverStolen) {
    const int sample = LoadLong();
    for (int i = 0; i < kPool - 1; ++i)
        ASSERT_GE(PlayFlat(sample, 1), 1);
    const int important = PlayFlat(sample, 0, 200);
    ASSERT_GE(important, 1);
    EXPECT_EQ(PlayFlat(sample, 0, 50), SQUALL_ERROR_NO_CHANNEL);
    EXPECT_TRUE(Playing(important));
    EXPECT_GE(PlayFlat(sample, 0, 200), 1); // an equal priority may take it
    EXPECT_FALSE(Playing(important));
}

TEST_F(SquallTest, UnloadKeepsOtherHandlesAndMakesItsOwnStale) {
    const int a = Load("mono.ogg");
    const int b = LoadLong();
    const int c = Load("stereo.ogg");
    const int playing = PlayFlat(b, 1);
    ASSERT_TRUE(Playing(playing));
    const ALuint src = SQUALL_Debug_ChannelSource(playing);

    alGetError();
    EXPECT_EQ(SQUALL_Sample_Unload(b), 0);
    EXPECT_EQ(alGetError(), AL_NO_ERROR);
    EXPECT_NE(SourceInt(src, AL_SOURCE_STATE), AL_PLAYING);
    EXPECT_EQ(SourceInt(src, AL_BUFFER), 0);

    EXPECT_EQ(SQUALL_Sample_Unload(b), SQUALL_ERROR_BAD_HANDLE);
    EXPECT_EQ(PlayFlat(b), SQUALL_ERROR_BAD_HANDLE);
    EXPECT_EQ(SQUALL_Sample_Stop(b), SQUALL_ERROR_BAD_HANDLE);
    EXPECT_EQ(SQUALL_Sample_PlayEx(0, 0, 0, 1, 128, 80, 0, 50), SQUALL_ERROR_BAD_HANDLE);

    // The others are untouched, and a new load never reuses the freed handle.
    EXPECT_EQ(BufferInt(SQUALL_Debug_SampleBuffer(a), AL_FREQUENCY), 22050);
    EXPECT_EQ(BufferInt(SQUALL_Debug_SampleBuffer(c), AL_FREQUENCY), 44100);
    EXPECT_TRUE(Playing(PlayFlat(a)));
    EXPECT_TRUE(Playing(PlayFlat(c)));
    const int d = Load("mono.ogg");
    EXPECT_NE(d, b);
    EXPECT_NE(d, a);
    EXPECT_NE(d, c);
}

TEST_F(SquallTest, FreeEndsEverythingAndOldHandlesStayStaleAfterRestart) {
    const int sample = Load("mono.ogg");
    EXPECT_EQ(SQUALL_Init(nullptr), 0); // a second start changes nothing
    EXPECT_GE(PlayFlat(sample), 1);

    SQUALL_Free();
    EXPECT_EQ(PlayFlat(sample), SQUALL_ERROR_NOT_INITIALISED);
    EXPECT_EQ(Load("mono.ogg"), SQUALL_ERROR_NOT_INITIALISED);
    SQUALL_Free(); // twice is harmless

    ASSERT_EQ(SQUALL_Init(nullptr), 0);
    EXPECT_EQ(PlayFlat(sample), SQUALL_ERROR_BAD_HANDLE);
    float f = 0;
    ASSERT_EQ(SQUALL_Listener_GetRolloffFactor(&f), 0);
    EXPECT_FLOAT_EQ(f, 1.0f);
    EXPECT_NE(Load("mono.ogg"), sample);
}

// Every thread that calls the library takes its context as its own. A thread that played before another
// thread restarted the library plays on the new context afterwards, where a thread of no context of its own
// hears it.
TEST_F(SquallTest, AThreadThatPlayedBeforeARestartPlaysOnTheNewContext) {
    EXPECT_GE(PlayFlat(LoadLong()), 1);
    int sample = 0;
    std::thread([&sample] {
        SQUALL_Free();
        ASSERT_EQ(SQUALL_Init(nullptr), 0);
        sample = LoadLong();
    }).join();
    ASSERT_GE(sample, 1);
    const int channel = PlayFlat(sample);
    ASSERT_GE(channel, 1);
    bool heard = false;
    std::thread([&heard, channel] { heard = Playing(channel); }).join();
    EXPECT_TRUE(heard);
}

// OpenAL reads its driver list once per process, so the no-device case runs in a fresh child process.
int RunWithoutDevice() {
    setenv("ALSOFT_DRIVERS", "no_such_driver", 1);
    int failures = 0;
    const auto expect = [&](int got, int want) { failures += got == want ? 0 : 1; };
    expect(SQUALL_Init(nullptr), SQUALL_ERROR_NO_DEVICE);
    expect(SQUALL_Init(nullptr), SQUALL_ERROR_NO_DEVICE);
    const float v[3] = {0, 0, 0};
    float f = 5.0f;
    expect(SQUALL_Stop(), SQUALL_ERROR_NOT_INITIALISED);
    expect(SQUALL_Listener_SetRolloffFactor(0.003f), SQUALL_ERROR_NOT_INITIALISED);
    expect(SQUALL_Listener_SetDistanceFactor(0.032f), SQUALL_ERROR_NOT_INITIALISED);
    expect(SQUALL_Listener_SetDopplerFactor(1.0f), SQUALL_ERROR_NOT_INITIALISED);
    expect(SQUALL_Listener_GetRolloffFactor(&f), SQUALL_ERROR_NOT_INITIALISED);
    expect(SQUALL_Listener_GetDistanceFactor(&f), SQUALL_ERROR_NOT_INITIALISED);
    expect(SQUALL_Listener_GetDopplerFactor(&f), SQUALL_ERROR_NOT_INITIALISED);
    expect(f == 5.0f ? 0 : 1, 0);
    expect(SQUALL_Sample_LoadFile("SOUNDS\\EXPLOSION.OGG", 1, nullptr), SQUALL_ERROR_NOT_INITIALISED);
    const char* ahead[] = {"SOUNDS\\EXPLOSION.OGG"};
    expect(SQUALL_Sample_DecodeAhead(ahead, 1), SQUALL_ERROR_NOT_INITIALISED);
    expect(SQUALL_Sample_Unload(1), SQUALL_ERROR_NOT_INITIALISED);
    expect(SQUALL_Sample_PlayEx(1, 0, 0, 1, 128, 80, 44100, 50), SQUALL_ERROR_NOT_INITIALISED);
    expect(SQUALL_Sample_Play3DEx(1, 0, 0, 1, v, v, 50, 80, 44100, 400, 4000), SQUALL_ERROR_NOT_INITIALISED);
    expect(SQUALL_Sample_Stop(1), SQUALL_ERROR_NOT_INITIALISED);
    SQUALL_Free();
    return failures;
}

TEST(SquallNoDevice, InitFailsAndEveryCallReturnsAnError) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::exit(RunWithoutDevice()), ::testing::ExitedWithCode(0), "");
}
