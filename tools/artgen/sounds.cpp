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
#include <vector>

namespace {

using namespace artgen::audio;

constexpr float kEffectQuality = 0.5f;
constexpr float kMusicQuality = 0.4f;

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
                            const Stereo s = m.make();
                            return EncodeVorbis({&s.left, &s.right}, kMusicQuality, StreamSerial(m.file));
                        }});
    for (const EffectRecipe& e : EffectRecipes())
        jobs.push_back({e.file, [e] {
                            const Mono s = e.make();
                            return EncodeVorbis({&s}, kEffectQuality, StreamSerial(e.file));
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
    for (unsigned t = 1; t < threads; ++t) pool.emplace_back(worker);
    worker();
    for (std::thread& t : pool) t.join();

    for (const std::string& f : failures)
        if (!f.empty()) throw std::runtime_error("sounds: " + f);
    const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("sounds: %zu files in %.1f s\n", jobs.size(), secs);
}
