// The stamp setting, asked once per battlefield frame, against a save file of 100 MB: the first read, which
// reads the whole file, and every frame after it, which should cost next to nothing.
#include "cores.h"
#include "settings.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

int main() {
    const fs::path home = fs::temp_directory_path() / ("drelmont_settings_bench_" + std::to_string(getpid()));
    fs::create_directories(home / "drelmont");
    setenv("XDG_DATA_HOME", home.c_str(), 1);
    constexpr int kMegabytes = 100;
    {
        std::ofstream out(home / "drelmont" / "SAVE.INI", std::ios::binary);
        const std::string line = "padding=" + std::string(90, 'x') + "\r\n";
        out << "[junk]\r\n";
        for (long written = 0; written < kMegabytes * 1'000'000L; written += static_cast<long>(line.size()))
            out << line;
        out << "[OPTIONS]\r\nSMOOTH =255\r\n";
    }
    const auto start = Clock::now();
    const int32_t first = ReadStampSetting();
    const auto afterFirst = Clock::now();
    constexpr int kFrames = 10'000;
    int32_t same = 0;
    for (int i = 0; i < kFrames; ++i)
        same += ReadStampSetting() == first;
    const auto end = Clock::now();
    const double firstMs = std::chrono::duration<double, std::milli>(afterFirst - start).count();
    const double frameUs = std::chrono::duration<double, std::micro>(end - afterFirst).count() / kFrames;
    std::printf("stamp_setting file_mb=%d value=%d first_read_ms=%.1f per_frame_us=%.2f cores=%d%s\n",
                kMegabytes, first, firstMs, frameUs, CoresUsed(), same == kFrames ? "" : " (value changed!)");
    fs::remove_all(home);
    return 0;
}
