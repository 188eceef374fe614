// The headless engine harness: data folders, picture files and engine runs.
#include "harness.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <unistd.h>

#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

namespace enginetest {
namespace {

// Every engine run in these tests is headless, however the test program is started; the clock reads this
// at its first use, which may come before the first run.
const bool kHeadless = [] { return setenv("ZORBEL_HEADLESS", "1", 1) == 0; }();

// The data folders this process made and has not removed. A death test's child leaves by std::exit, which
// unwinds none of the test's own objects, so its folder is removed with the process's static objects
// instead; left behind, it would hold the files of a later test whose process got the same number.
struct MadeFolders {
    std::set<std::filesystem::path> paths;
    ~MadeFolders() {
        for (const std::filesystem::path& path : paths) {
            std::error_code ec;
            std::filesystem::remove_all(path, ec);
        }
    }
};
MadeFolders& Made() {
    static MadeFolders made;
    return made;
}

} // namespace

DataDir::DataDir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = std::filesystem::temp_directory_path() /
            ("zorbel-" + std::to_string(getpid()) + "-" + (info ? info->name() : "data"));
    // A folder of this name may be left by a process that ended without removing it (killed, say).
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
    std::filesystem::create_directories(path_ / "PICTURE");
    Made().paths.insert(path_);
    setenv("DRELMONT_DATA", path_.c_str(), 1);
}

DataDir::~DataDir() {
    unsetenv("DRELMONT_DATA");
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
    Made().paths.erase(path_);
}

void Picture::Fill(int x0, int y0, int x1, int y1, uint32_t color) {
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            at(x, y) = color;
}

void WritePicture(const std::string& file, const Picture& picture) {
    std::vector<uint8_t> rgba;
    rgba.reserve(picture.argb.size() * 4);
    for (uint32_t c : picture.argb) {
        rgba.push_back(static_cast<uint8_t>(c >> 16));
        rgba.push_back(static_cast<uint8_t>(c >> 8));
        rgba.push_back(static_cast<uint8_t>(c));
        rgba.push_back(static_cast<uint8_t>(c >> 24));
    }
    const std::string ext = std::filesystem::path(file).extension().string();
    int ok = 0;
    if (ext == ".png")
        ok = stbi_write_png(file.c_str(), picture.w, picture.h, 4, rgba.data(), picture.w * 4);
    else if (ext == ".tga")
        ok = stbi_write_tga(file.c_str(), picture.w, picture.h, 4, rgba.data());
    else if (ext == ".jpg")
        ok = stbi_write_jpg(file.c_str(), picture.w, picture.h, 4, rgba.data(), 95);
    else {
        std::vector<uint8_t> rgb;
        for (size_t i = 0; i < rgba.size(); i += 4)
            rgb.insert(rgb.end(), rgba.begin() + static_cast<long>(i),
                       rgba.begin() + static_cast<long>(i) + 3);
        ok = stbi_write_bmp(file.c_str(), picture.w, picture.h, 3, rgb.data());
    }
    ASSERT_NE(ok, 0) << "cannot write " << file;
}

Picture ReadPng(const std::string& file) {
    int w = 0, h = 0, n = 0;
    uint8_t* data = stbi_load(file.c_str(), &w, &h, &n, 4);
    Picture picture(w, h, 0);
    if (!data) return picture;
    for (int i = 0; i < w * h; ++i)
        picture.argb[static_cast<size_t>(i)] = (uint32_t{data[i * 4 + 3]} << 24) |
                                               (uint32_t{data[i * 4]} << 16) |
                                               (uint32_t{data[i * 4 + 1]} << 8) | data[i * 4 + 2];
    stbi_image_free(data);
    return picture;
}

Screen ReadScreen() {
    Screen screen;
    EXPECT_EQ(ZBDebug_ReadScreen(screen.argb.data(), kW, kH), 1);
    return screen;
}

namespace {

const Run* gRun = nullptr;
uint64_t gFrame = 0;

void Splash() {
    if (gRun->splash) gRun->splash();
}

void Load() {
    if (gRun->load) gRun->load();
}

void Frame() {
    ++gFrame;
    if (gRun->frame) gRun->frame(gFrame);
}

} // namespace

void RunEngine(const Run& run) {
    gRun = &run;
    gFrame = 0;
    ASSERT_TRUE(kHeadless);
    setenv("ZORBEL_MAX_FRAMES", std::to_string(run.frames).c_str(), 1);
    std::string scriptFile;
    if (!run.script.empty()) {
        scriptFile =
            (std::filesystem::temp_directory_path() / ("zorbel-script-" + std::to_string(getpid()))).string();
        std::ofstream(scriptFile) << run.script;
        setenv("ZORBEL_INPUT", scriptFile.c_str(), 1);
    }
    ZB_RegProcedure(3, &Splash);
    ZB_RegProcedure(1, &Load);
    ZB_RegProcedure(0, &Frame);
    ZB_Init(16, 0);
    unsetenv("ZORBEL_INPUT");
    unsetenv("ZORBEL_MAX_FRAMES");
    if (!scriptFile.empty()) std::filesystem::remove(scriptFile);
    gRun = nullptr;
}

} // namespace enginetest
