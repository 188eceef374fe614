// Runs the real engine headless inside a test and gives it pictures, fonts and scripts to work on.
#pragma once

#include "zorbel_api.h"
#include "zorbel_debug.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace enginetest {

constexpr int kW = 800, kH = 600;

// A folder of its own per test, made the engine's data folder (DRELMONT_DATA) while the test runs.
class DataDir {
  public:
    DataDir();
    ~DataDir();
    const std::filesystem::path& path() const { return path_; }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

// An RGBA picture in memory, row by row.
struct Picture {
    int w = 0, h = 0;
    std::vector<uint32_t> argb;
    Picture(int width, int height, uint32_t fill)
        : w(width), h(height), argb(static_cast<size_t>(width * height), fill) {}
    uint32_t& at(int x, int y) { return argb[static_cast<size_t>(y * w + x)]; }
    void Fill(int x0, int y0, int x1, int y1, uint32_t color);
};

// Writes a picture; the format follows the extension (.bmp .png .tga .jpg). BMP and JPG drop alpha.
void WritePicture(const std::string& file, const Picture& picture);
Picture ReadPng(const std::string& file);

// The screen drawn so far this frame.
struct Screen {
    std::vector<uint32_t> argb = std::vector<uint32_t>(static_cast<size_t>(kW * kH));
    uint32_t at(int x, int y) const { return argb[static_cast<size_t>(y * kW + x)] & 0xFFFFFFu; }
};
Screen ReadScreen();

inline int Red(uint32_t c) {
    return static_cast<int>((c >> 16) & 0xFF);
}
inline int Green(uint32_t c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
inline int Blue(uint32_t c) {
    return static_cast<int>(c & 0xFF);
}

// One engine run: splash() and load() run as the splash and load procedures, frame(n) draws frame n (from 1);
// the run ends after `frames` frames unless the script or the game ends it first.
struct Run {
    std::function<void()> splash;
    std::function<void()> load;
    std::function<void(uint64_t frame)> frame;
    uint64_t frames = 1;
    std::string script; // text of an input script, if any
};
void RunEngine(const Run& run);

} // namespace enginetest
