// Writes every sound effect and music loop of the game into SOUNDS/ as Ogg Vorbis.
#include "artgen.h"
#include "audio_effects.h"
#include "audio_music.h"
#include "audio_ogg.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <thread>
#include <utility>
#include <vector>

namespace {

using namespace artgen::audio;

constexpr float kEffectQuality = 0.5f;
constexpr float kMusicQuality = 0.4f;
// Peaks are set to about -1 dBFS before encoding; the codec's ringing may lift them, never past the ceiling.
constexpr float kTargetDb = -1.2f;
constexpr float kCeilingDb = -0.5f;

struct Job {
    const char* file;
    std::function<std::vector<uint8_t>()> encode;
};

} // namespace

void artgen::GenerateSounds(const std::string& outDir) {
    const auto start = std::chrono::steady_clock::now();
    std::vector<Job> jobs;
    // Music first: the long pieces set the pace, the short effects fill in behind them.
    for (const MusicRecipe& m : MusicRecipes())
        jobs.push_back({m.file, [m] {
                            Stereo s = m.make();
                            return EncodeWithHeadroom({std::move(s.left), std::move(s.right)}, kMusicQuality,
                                                      StreamSerial(m.file), kTargetDb, kCeilingDb);
                        }});
    for (const EffectRecipe& e : EffectRecipes())
        jobs.push_back({e.file, [e] {
                            return EncodeWithHeadroom({e.make()}, kEffectQuality, StreamSerial(e.file),
                                                      kTargetDb, kCeilingDb);
                        }});

    // Every job is self-contained and seeded by its own recipe, so sharing the work between threads
    // changes nothing in the bytes.
    std::atomic<std::size_t> next{0};
    std::vector<std::string> failures(jobs.size());
    auto worker = [&] {
        for (std::size_t i = next++; i < jobs.size(); i = next++) {
            const std::string path = outDir + "/SOUNDS/" + jobs[i].file;
            try {
                if (!WriteBytes(path, jobs[i].encode())) failures[i] = "cannot write " + path;
            } catch (const std::exception& e) {
                failures[i] = path + ": " + e.what();
            }
        }
    };
    const unsigned threads = std::max(1u, std::min(2u, std::thread::hardware_concurrency()));
    std::vector<std::thread> pool;
    for (unsigned t = 1; t < threads; ++t)
        pool.emplace_back(worker);
    worker();
    for (std::thread& t : pool)
        t.join();

    for (const std::string& f : failures)
        if (!f.empty()) throw std::runtime_error("sounds: " + f);
    const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("sounds: %zu files in %.1f s\n", jobs.size(), secs);
}
