// artgen OUTDIR: writes the game's data folder (PICTURE/, SOUNDS/, the font descriptor) and its desktop icons
// (icons/) from nothing.
#include "artgen.h"

#include <chrono>
#include <cstdio>
#include <filesystem>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: artgen OUTDIR\n");
        return 2;
    }
    const std::string out = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(out + "/PICTURE", ec);
    std::filesystem::create_directories(out + "/SOUNDS", ec);
    if (ec) {
        std::fprintf(stderr, "artgen: cannot create %s: %s\n", out.c_str(), ec.message().c_str());
        return 1;
    }
    const auto start = std::chrono::steady_clock::now();
    artgen::GeneratePictures(out);
    artgen::GenerateScreens(out);
    artgen::GenerateFont(out);
    artgen::GenerateSounds(out);
    artgen::GenerateIcons(out);
    const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("artgen: data written to %s in %.1f s\n", out.c_str(), secs);
    return 0;
}
