// The helper threads: each batch of parts is claimed part by part, by whichever thread comes first.
#include "workers.h"

#include "platform.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace zorbel::workers {
namespace {

// More helpers than this would only wait on each other for the engine's few parts at a time.
constexpr int kMostThreads = 8;
// Bands of rows per thread in ForEachBand.
constexpr int kBandsPerThread = 4;

struct Pool {
    std::mutex mutex;
    std::condition_variable wake, finished;
    std::vector<std::thread> helpers;
    bool started = false, stopping = false;
    // The batch under way: its number, its parts and how many are not yet done. A claim is the batch's number
    // and the next part's index in one word, so a helper that wakes late cannot claim a part of the next
    // batch.
    uint32_t batch = 0;
    const std::function<void(int)>* part = nullptr;
    int count = 0;
    std::atomic<uint64_t> claim{0};
    std::atomic<int> unfinished{0};
};
Pool gPool;

// Runs parts of batch `batch` until none is left to claim.
void RunParts(uint32_t batch, const std::function<void(int)>* part, int count) {
    uint64_t seen = gPool.claim.load();
    for (;;) {
        const uint32_t index = static_cast<uint32_t>(seen);
        if (static_cast<uint32_t>(seen >> 32) != batch || index >= static_cast<uint32_t>(count)) return;
        if (!gPool.claim.compare_exchange_weak(seen, seen + 1)) continue;
        (*part)(static_cast<int>(index));
        if (gPool.unfinished.fetch_sub(1) == 1) {
            const std::lock_guard lock(gPool.mutex);
            gPool.finished.notify_all();
        }
        seen = gPool.claim.load();
    }
}

void Helper() {
    uint32_t done = 0;
    std::unique_lock lock(gPool.mutex);
    for (;;) {
        gPool.wake.wait(lock, [&] { return gPool.stopping || gPool.batch != done; });
        if (gPool.stopping) return;
        done = gPool.batch;
        const std::function<void(int)>* part = gPool.part;
        const int count = gPool.count;
        lock.unlock();
        RunParts(done, part, count);
        lock.lock();
    }
}

void Start() {
    gPool.started = true;
    const int helpers = std::min(platform::UsableCores(), kMostThreads) - 1;
    for (int i = 0; i < helpers; ++i)
        gPool.helpers.emplace_back(Helper);
}

} // namespace

void ForEach(int n, const std::function<void(int)>& part) {
    if (!gPool.started) Start();
    if (n <= 1 || gPool.helpers.empty()) {
        for (int i = 0; i < n; ++i)
            part(i);
        return;
    }
    uint32_t batch = 0;
    {
        const std::lock_guard lock(gPool.mutex);
        batch = ++gPool.batch;
        gPool.part = &part;
        gPool.count = n;
        gPool.unfinished.store(n);
        gPool.claim.store(uint64_t{batch} << 32);
    }
    gPool.wake.notify_all();
    RunParts(batch, &part, n);
    // A helper may still be in the middle of a part; one that has not woken yet finds nothing left to claim.
    std::unique_lock lock(gPool.mutex);
    gPool.finished.wait(lock, [] { return gPool.unfinished.load() == 0; });
}

void ForEachBand(int rows, const std::function<void(int, int)>& work) {
    const int bands = std::min(Threads() * kBandsPerThread, rows);
    if (bands <= 1) {
        if (rows > 0) work(0, rows);
        return;
    }
    ForEach(bands, [&](int band) { work(rows * band / bands, rows * (band + 1) / bands); });
}

int Threads() {
    if (!gPool.started) Start();
    return static_cast<int>(gPool.helpers.size()) + 1;
}

void Stop() {
    {
        const std::lock_guard lock(gPool.mutex);
        gPool.stopping = true;
    }
    gPool.wake.notify_all();
    for (std::thread& helper : gPool.helpers)
        helper.join();
    gPool.helpers.clear();
    gPool.started = gPool.stopping = false;
}

} // namespace zorbel::workers
