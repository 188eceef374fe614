// Bands of rows shared between the calling thread and its helpers.
#include "bands.h"

#include <sched.h>

#include <algorithm>

namespace zorbel {
namespace {

// More bands than threads, so the thread that finishes first takes the next one.
constexpr int kBandsPerThread = 4;

} // namespace

int UsableCores() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) != 0) return 1;
    return std::max(CPU_COUNT(&set), 1);
}

Bands::Bands(int threads) {
    for (int i = 1; i < threads; ++i)
        helpers_.emplace_back([this] { Help(); });
}

Bands::~Bands() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& helper : helpers_)
        helper.join();
}

void Bands::Run(int rows, const std::function<void(int, int)>& work) {
    if (helpers_.empty() || rows < 2) {
        work(0, rows);
        return;
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        work_ = &work;
        rows_ = rows;
        bandCount_ = std::min(threads() * kBandsPerThread, rows);
        nextBand_ = 0;
        unfinished_ = bandCount_;
        ++generation_;
    }
    wake_.notify_all();
    TakeBands();
    std::unique_lock<std::mutex> lock(mutex_);
    done_.wait(lock, [this] { return unfinished_ == 0; });
    work_ = nullptr;
}

void Bands::TakeBands() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (work_ && nextBand_ < bandCount_) {
        const int band = nextBand_++;
        const int first = rows_ * band / bandCount_, end = rows_ * (band + 1) / bandCount_;
        const std::function<void(int, int)>& work = *work_;
        lock.unlock();
        work(first, end);
        lock.lock();
        if (--unfinished_ == 0) done_.notify_all();
    }
}

void Bands::Help() {
    unsigned long long seen = 0;
    for (;;) {
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [&] { return stopping_ || generation_ != seen; });
            if (stopping_) return;
            seen = generation_;
        }
        TakeBands();
    }
}

} // namespace zorbel
