// Tests of the generated sounds: the synthesis blocks, the Vorbis round trip, and the files the game loads.
#include "artgen.h"
#include "audio_effects.h"
#include "audio_music.h"
#include "audio_ogg.h"
#include "audio_synth.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace artgen::audio;
namespace fs = std::filesystem;

// The sound table as the game loads it.
const char* const kEffects[] = {
    "NEW_LEVEL.OGG",      "DIE_LIZARD_1.OGG",   "DIE_LIZARD_2.OGG",   "DIE_LIZARD_3.OGG", "DIE_LIZARD_4.OGG",
    "DIE_GUMANOID_1.OGG", "DIE_GUMANOID_2.OGG", "DIE_GUMANOID_3.OGG", "MENU_STAND.OGG",   "EXPLOSION.OGG",
    "Z_DROB.OGG",         "POPAL1_Z.OGG",       "POPAL2_Z.OGG",       "POPAL3_Z.OGG",     "POPAL4_Z.OGG",
    "POPAL5_Z.OGG",       "POPAL6_Z.OGG",       "RELOAD_Z.OGG",       "SOLN.OGG",         "NUKES.OGG",
    "Z_ZAMOROZKA.OGG",    "Z_RADIOAC.OGG",      "Z_FLAMER.OGG",       "FREEZE_Z.OGG",     "Z_PUSTOLET.OGG",
    "Z_AUTOMAT.OGG",      "Z_BAZUKA.OGG",       "Z_LASER.OGG",        "Z_OTRA.OGG",       "Z_NANO.OGG",
    "Z_UZI.OGG",          "FIND_BONUS.OGG",     "FIND_BONUS_OR.OGG"};
const char* const kMusic[] = {"MUSIC_MAIN_MENU.OGG", "MUSIC_MAIN_FIGHT.OGG", "MUSIC_FIGHT_SILENCE.OGG",
                              "MUSIC_FIGHT.OGG", "MUSIC_DEATH.OGG"};

struct Decoded {
    long rate = 0;
    long long declaredFrames = 0; // what the stream's granule positions promise
    std::vector<Mono> channels;
    std::size_t Frames() const { return channels.empty() ? 0 : channels[0].size(); }
};

// Decodes a file through libvorbisfile exactly as the game's sound library will.
Decoded DecodeFile(const fs::path& path) {
    Decoded d;
    OggVorbis_File file;
    if (ov_fopen(path.c_str(), &file) != 0) return d;
    d.rate = ov_info(&file, -1)->rate;
    d.declaredFrames = ov_pcm_total(&file, -1);
    d.channels.resize(static_cast<std::size_t>(ov_info(&file, -1)->channels));
    float** pcm = nullptr;
    int section = 0;
    for (long n; (n = ov_read_float(&file, &pcm, 4096, &section)) > 0;)
        for (std::size_t c = 0; c < d.channels.size(); ++c)
            d.channels[c].insert(d.channels[c].end(), pcm[c], pcm[c] + n);
    ov_clear(&file);
    return d;
}

std::vector<char> ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

fs::path FreshDir(const std::string& name) {
    const fs::path dir =
        fs::temp_directory_path() / ("drelmont_audio_" + name + "_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "SOUNDS");
    return dir;
}

// The files the build generated for the game, next to the program.
fs::path Shipped(const char* name) {
    return fs::path(DRELMONT_DATA_DIR) / "SOUNDS" / name;
}

float Rms(const Mono& s, std::size_t from, std::size_t count) {
    double sum = 0.0;
    for (std::size_t i = from; i < from + count; ++i)
        sum += static_cast<double>(s[i]) * s[i];
    return static_cast<float>(std::sqrt(sum / count));
}

// Energy of the second difference: how much a stretch of signal "clicks".
float Roughness(const Mono& s) {
    double sum = 0.0;
    for (std::size_t i = 2; i < s.size(); ++i) {
        const double d = s[i] - 2.0 * s[i - 1] + s[i - 2];
        sum += d * d;
    }
    return static_cast<float>(std::sqrt(sum / (s.size() - 2)));
}

float Percentile(std::vector<float> v, double p) {
    std::sort(v.begin(), v.end());
    return v[static_cast<std::size_t>(p * (v.size() - 1))];
}

Mono Tone(float hz, std::size_t n) {
    Oscillator osc;
    Mono s(n);
    for (float& v : s)
        v = osc.Sine(hz);
    return s;
}

// Zero-crossing estimate of the dominant frequency of a stretch.
float CrossingHz(const Mono& s, std::size_t from, std::size_t count) {
    int crossings = 0;
    for (std::size_t i = from + 1; i < from + count; ++i)
        crossings += (s[i - 1] < 0.0f) != (s[i] < 0.0f);
    return crossings * 0.5f * kRate / static_cast<float>(count);
}

TEST(AudioSynth, NoiseRepeatsPerSeedAndIsCentred) {
    Noise a(42), b(42), c(43);
    double sum = 0.0;
    bool differs = false;
    for (int i = 0; i < 100000; ++i) {
        const float x = a.White();
        ASSERT_EQ(x, b.White());
        ASSERT_GE(x, -1.0f);
        ASSERT_LT(x, 1.0f);
        differs |= x != c.White();
        sum += x;
    }
    EXPECT_TRUE(differs);
    EXPECT_NEAR(sum / 100000.0, 0.0, 0.01);
}

TEST(AudioSynth, FiltersPassAndStopWhereTheyShould) {
    const std::size_t n = kRate / 2;
    auto gainDb = [&](auto&& filter, float hz) {
        const Mono in = Tone(hz, n);
        Mono out(n);
        for (std::size_t i = 0; i < n; ++i)
            out[i] = filter(in[i]);
        return 20.0f * std::log10(Rms(out, n / 2, n / 2) / Rms(in, n / 2, n / 2));
    };
    Biquad low, low2, high, high2;
    low.LowPass(1000.0f, 0.707f);
    low2.LowPass(1000.0f, 0.707f);
    high.HighPass(1000.0f, 0.707f);
    high2.HighPass(1000.0f, 0.707f);
    EXPECT_NEAR(gainDb([&](float x) { return low.Process(x); }, 100.0f), 0.0f, 0.5f);
    EXPECT_LT(gainDb([&](float x) { return low2.Process(x); }, 8000.0f), -30.0f);
    EXPECT_LT(gainDb([&](float x) { return high.Process(x); }, 100.0f), -30.0f);
    EXPECT_NEAR(gainDb([&](float x) { return high2.Process(x); }, 8000.0f), 0.0f, 0.5f);

    OnePole onePole;
    onePole.SetCutoff(200.0f);
    EXPECT_LT(gainDb([&](float x) { return onePole.LowPass(x); }, 4000.0f), -20.0f);

    // The state-variable filter is swept hard every sample, as the effects do, and must stay bounded.
    Svf svf;
    Noise noise(7);
    float peak = 0.0f;
    for (std::size_t i = 0; i < n; ++i) {
        const float hz = 50.0f + 15000.0f * (0.5f + 0.5f * std::sin(i * 0.01f));
        peak = std::max(peak, std::fabs(svf.Process(noise.White(), hz, 4.0f).low));
    }
    EXPECT_TRUE(std::isfinite(peak));
    EXPECT_LT(peak, 20.0f);
}

TEST(AudioSynth, OscillatorsRunAtTheirPitch) {
    Oscillator sine, saw, square;
    Mono a(kRate), b(kRate), c(kRate);
    for (int i = 0; i < kRate; ++i) {
        a[i] = sine.Sine(441.0f);
        b[i] = saw.Saw(220.5f);
        c[i] = square.Square(110.25f);
    }
    EXPECT_NEAR(CrossingHz(a, 0, kRate), 441.0f, 1.0f);
    EXPECT_NEAR(CrossingHz(b, 0, kRate), 220.5f, 1.0f);
    EXPECT_NEAR(CrossingHz(c, 0, kRate), 110.25f, 1.0f);
    EXPECT_NEAR(MidiHz(69.0f), 440.0f, 1e-3f);
    EXPECT_NEAR(MidiHz(57.0f), 220.0f, 1e-3f);
}

TEST(AudioSynth, LevelHelpers) {
    Mono s = Tone(300.0f, 5000);
    NormalizePeak(s, -1.0f);
    EXPECT_NEAR(20.0f * std::log10(Peak(s)), -1.0f, 1e-3f);
    Declick(s, 5.0f, 5.0f);
    EXPECT_EQ(s.front(), 0.0f);
    EXPECT_LT(std::fabs(s.back()), 0.01f);

    Mono mix(10, 1.0f);
    MixInto(mix, Mono(5, 2.0f), 8, 0.5f);
    ASSERT_EQ(mix.size(), 13u);
    EXPECT_EQ(mix[7], 1.0f);
    EXPECT_EQ(mix[8], 2.0f);
    EXPECT_EQ(mix[12], 1.0f);
}

TEST(AudioSynth, ReverbTailIsDenseAndDiesAway) {
    Reverb room(1.5f, 0.84f, 0.4f);
    Mono tail(Samples(4.0));
    for (std::size_t i = 0; i < tail.size(); ++i)
        tail[i] = room.Process(i == 0 ? 1.0f : 0.0f);
    // Once the first echoes arrive the tail has no dead gaps a listener would hear as separate repeats.
    const std::size_t gap = Samples(0.005);
    for (std::size_t i = Samples(0.08); i + gap < Samples(0.5); i += gap)
        EXPECT_GT(Rms(tail, i, gap), 1e-4f) << "silent stretch at " << i;
    EXPECT_LT(Peak(Mono(tail.begin() + static_cast<long>(Samples(3.5)), tail.end())), 1e-3f * Peak(tail));
}

TEST(AudioSynth, RenderedVoicesEndAtRest) {
    const Mono held = Render(0.5f, [](float) { return 1.0f; });
    ASSERT_EQ(held.size(), Samples(0.5));
    EXPECT_EQ(held[Samples(0.4)], 1.0f) << "only the last stretch is tapered";
    EXPECT_LT(std::fabs(held.back()), 1e-3f);
    for (std::size_t i = Samples(0.4) + 1; i < held.size(); ++i)
        ASSERT_LE(held[i], held[i - 1]) << "the taper must fall smoothly";
    const Mono clock = Render(1.0f, [](float t) { return t; });
    EXPECT_FLOAT_EQ(clock.at(4410), 0.1f);
}

TEST(AudioSynth, DriveIsCleanWhenQuietAndBoundedWhenLoud) {
    EXPECT_NEAR(Drive(0.01f, 3.0f), 0.01f, 1e-4f);
    EXPECT_EQ(Drive(0.7f, 0.0f), 0.7f);
    EXPECT_LE(Drive(50.0f, 2.0f), 0.5f);
    EXPECT_GE(Drive(-50.0f, 2.0f), -0.5f);
}

TEST(AudioRecipes, CoverTheSoundTableOnceEach) {
    std::set<std::string> made;
    std::set<uint32_t> serials;
    for (const EffectRecipe& e : EffectRecipes()) {
        EXPECT_TRUE(made.insert(e.file).second) << e.file;
        serials.insert(StreamSerial(e.file));
    }
    for (const MusicRecipe& m : MusicRecipes()) {
        EXPECT_TRUE(made.insert(m.file).second) << m.file;
        serials.insert(StreamSerial(m.file));
    }
    std::set<std::string> wanted(std::begin(kEffects), std::end(kEffects));
    wanted.insert(std::begin(kMusic), std::end(kMusic));
    EXPECT_EQ(made, wanted);
    EXPECT_EQ(serials.size(), made.size()) << "each file gets its own stream serial";
}

TEST(AudioVorbis, RoundTripKeepsTheExactLengthAndIsRepeatable) {
    for (std::size_t frames : {std::size_t{1000}, std::size_t{12345}, std::size_t{44101}}) {
        const Mono left = Tone(440.0f, frames), right = Tone(660.0f, frames);
        const std::vector<uint8_t> bytes = EncodeVorbis({&left, &right}, 0.4f, StreamSerial("TEST.OGG"));
        EXPECT_EQ(bytes, EncodeVorbis({&left, &right}, 0.4f, StreamSerial("TEST.OGG")));
        EXPECT_NE(bytes, EncodeVorbis({&left, &right}, 0.4f, StreamSerial("OTHER.OGG")));
        const std::vector<Mono> back = DecodeVorbis(bytes);
        ASSERT_EQ(back.size(), 2u);
        EXPECT_EQ(back[0].size(), frames);
        EXPECT_EQ(back[1].size(), frames);
        // Lossy, but the tone must come back where it was.
        EXPECT_NEAR(Rms(back[0], frames / 4, frames / 2), Rms(left, frames / 4, frames / 2), 0.02f);
    }
}

TEST(AudioVorbis, HeadroomKeepsRingingBelowTheCeiling) {
    // A full-scale square overshoots badly once band-limited by the codec.
    Mono square(kRate / 2);
    for (std::size_t i = 0; i < square.size(); ++i)
        square[i] = (i / 50) % 2 ? 0.99f : -0.99f;
    float plainPeak = 0.0f;
    for (const Mono& c : DecodeVorbis(EncodeVorbis({&square}, 0.5f, 1)))
        plainPeak = std::max(plainPeak, Peak(c));
    ASSERT_GT(plainPeak, 1.0f);
    const std::vector<Mono> back = DecodeVorbis(EncodeWithHeadroom({square}, 0.5f, 1, -1.2f, -0.5f));
    EXPECT_LE(Peak(back[0]), std::pow(10.0f, -0.5f / 20.0f));
    EXPECT_GT(Peak(back[0]), std::pow(10.0f, -3.0f / 20.0f));
}

TEST(GeneratedSounds, EveryEffectDecodesCleanly) {
    for (const char* name : kEffects) {
        SCOPED_TRACE(name);
        const Decoded d = DecodeFile(Shipped(name));
        ASSERT_EQ(d.channels.size(), 1u);
        EXPECT_EQ(d.rate, 44100);
        EXPECT_EQ(static_cast<long long>(d.Frames()), d.declaredFrames);
        EXPECT_GE(d.Frames(), Samples(0.05));
        EXPECT_LE(d.Frames(), Samples(4.5));
        const float peak = Peak(d.channels[0]);
        EXPECT_LT(peak, 0.96f) << "clips once decoded";
        EXPECT_GT(peak, 0.7f) << "not normalised";
        EXPECT_GT(Rms(d.channels[0], 0, d.Frames()), 0.02f) << "nearly silent";
        // Sounds start and stop at rest, so they never click when played on top of each other.
        EXPECT_LT(std::fabs(d.channels[0].front()), 0.05f);
        EXPECT_LT(std::fabs(d.channels[0].back()), 0.05f);
    }
}

TEST(GeneratedSounds, EffectsFitWhatTheyAccompany) {
    auto load = [](const char* name) { return DecodeFile(Shipped(name)).channels.at(0); };
    const Mono nuke = load("NUKES.OGG"), blast = load("EXPLOSION.OGG"), tick = load("MENU_STAND.OGG");
    EXPECT_GT(nuke.size(), Samples(3.0)) << "the nuke should be the longest rumble";
    EXPECT_GT(nuke.size(), blast.size());
    EXPECT_LT(tick.size(), Samples(0.2)) << "a menu click is a short tick";
    for (const char* hit :
         {"POPAL1_Z.OGG", "POPAL2_Z.OGG", "POPAL3_Z.OGG", "POPAL4_Z.OGG", "POPAL5_Z.OGG", "POPAL6_Z.OGG"})
        EXPECT_LT(load(hit).size(), Samples(0.5)) << hit;

    // The laser's beam falls in pitch: its early crossings are far faster than its late ones.
    const Mono laser = load("Z_LASER.OGG");
    EXPECT_GT(CrossingHz(laser, 0, Samples(0.03)), 2.0f * CrossingHz(laser, Samples(0.25), Samples(0.05)));

    // The eight weapons each sound different: no two shots share a length and a level.
    std::vector<std::pair<std::size_t, float>> shots;
    for (const char* shot : {"Z_PUSTOLET.OGG", "Z_AUTOMAT.OGG", "Z_BAZUKA.OGG", "Z_LASER.OGG", "Z_DROB.OGG",
                             "Z_OTRA.OGG", "Z_NANO.OGG", "Z_UZI.OGG"}) {
        const Mono s = load(shot);
        shots.emplace_back(s.size(), Rms(s, 0, s.size()));
    }
    for (std::size_t i = 0; i < shots.size(); ++i)
        for (std::size_t j = i + 1; j < shots.size(); ++j)
            EXPECT_FALSE(shots[i].first == shots[j].first &&
                         std::fabs(shots[i].second - shots[j].second) < 1e-3f)
                << i << " and " << j;
}

TEST(GeneratedSounds, MusicLoopsWithoutASeam) {
    for (const char* name : kMusic) {
        SCOPED_TRACE(name);
        const Decoded d = DecodeFile(Shipped(name));
        ASSERT_EQ(d.channels.size(), 2u);
        EXPECT_EQ(d.rate, 44100);
        EXPECT_EQ(static_cast<long long>(d.Frames()), d.declaredFrames);
        EXPECT_GE(d.Frames(), Samples(30.0));
        EXPECT_LE(d.Frames(), Samples(90.0));
        const std::size_t n = d.Frames();
        const std::size_t w = 512;
        double cross = 0.0, leftPower = 0.0, rightPower = 0.0;
        for (std::size_t i = 0; i < n; ++i) {
            cross += static_cast<double>(d.channels[0][i]) * d.channels[1][i];
            leftPower += static_cast<double>(d.channels[0][i]) * d.channels[0][i];
            rightPower += static_cast<double>(d.channels[1][i]) * d.channels[1][i];
        }
        EXPECT_LT(cross / std::sqrt(leftPower * rightPower), 0.995)
            << "the two channels should not be one mono copy";
        for (const Mono& c : d.channels) {
            EXPECT_LT(Peak(c), 0.96f);
            EXPECT_GT(Rms(c, 0, n), 0.05f);
            double mean = 0.0;
            for (float v : c)
                mean += v;
            EXPECT_LT(std::fabs(mean / n), 0.01) << "a DC offset would thump at every restart";

            // The step from the last sample to the first is an ordinary step of this piece.
            std::vector<float> steps;
            for (std::size_t i = 1; i < n; ++i)
                steps.push_back(std::fabs(c[i] - c[i - 1]));
            EXPECT_LE(std::fabs(c.front() - c.back()), Percentile(steps, 0.99));

            // Level runs on across the seam as it does between any two neighbouring windows.
            std::vector<float> ratios;
            for (std::size_t i = w; i + w <= n; i += w) {
                const float a = Rms(c, i - w, w) + 1e-4f, b = Rms(c, i, w) + 1e-4f;
                ratios.push_back(std::max(a / b, b / a));
            }
            const float before = Rms(c, n - w, w) + 1e-4f, after = Rms(c, 0, w) + 1e-4f;
            EXPECT_LE(std::max(before / after, after / before), Percentile(ratios, 0.99));

            // And the seam does not click: the joined stretch is no rougher than the piece's own windows.
            Mono joined(c.end() - static_cast<long>(w), c.end());
            joined.insert(joined.end(), c.begin(), c.begin() + static_cast<long>(w));
            std::vector<float> rough;
            for (std::size_t i = 0; i + 2 * w <= n; i += w)
                rough.push_back(Roughness(Mono(c.begin() + i, c.begin() + i + 2 * w)));
            EXPECT_LE(Roughness(joined), Percentile(rough, 0.99));
        }
    }
}

TEST(GeneratedSounds, AFreshRunGivesTheSameBytes) {
    const fs::path again = FreshDir("again");
    artgen::GenerateSounds(again.string());
    std::size_t files = 0;
    for (const auto& entry : fs::directory_iterator(again / "SOUNDS")) {
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        const std::vector<char> fresh = ReadAll(entry.path());
        EXPECT_FALSE(fresh.empty());
        EXPECT_EQ(fresh, ReadAll(Shipped(name.c_str())));
        ++files;
    }
    EXPECT_EQ(files, std::size(kEffects) + std::size(kMusic));
    fs::remove_all(again);
}

} // namespace
