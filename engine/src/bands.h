// Work over the rows of a picture, cut into bands that the calling thread and one helper per further core
// share; with one core everything runs on the calling thread and no helper exists.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace zorbel {

// The cores this process may run on (its CPU affinity, so `taskset -c 0` gives 1).
int UsableCores();

class Bands {
  public:
    // Work for `threads` threads in all (the caller's included); 1 or less makes no helper.
    explicit Bands(int threads);
    ~Bands();
    Bands(const Bands&) = delete;
    Bands& operator=(const Bands&) = delete;

    int threads() const { return static_cast<int>(helpers_.size()) + 1; }

    // Calls work(firstRow, endRow) for bands covering [0, rows), each band once, and returns when all are
    // done. Bands are handed out in turn to whichever thread is free, so a band crowded with work does not
    // hold the others up.
    void Run(int rows, const std::function<void(int firstRow, int endRow)>& work);

  private:
    void Help();
    void TakeBands();

    std::vector<std::thread> helpers_;
    std::mutex mutex_;
    std::condition_variable wake_, done_;
    const std::function<void(int, int)>* work_ = nullptr;
    int rows_ = 0, bandCount_ = 0, nextBand_ = 0, unfinished_ = 0;
    unsigned long long generation_ = 0;
    bool stopping_ = false;
};

} // namespace zorbel
