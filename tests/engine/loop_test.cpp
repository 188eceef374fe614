// The frame loop headless: virtual time and timers, input scripts, screenshots, statistics, the cursor
// mapping and the exported operation list.
#include "harness.h"
#include "recording.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <dlfcn.h>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

using namespace enginetest;

namespace {

// Timer procedures are plain functions; they report through these.
int gTicks = 0;
int gOtherTicks = 0;
ZB_Timer* gTimer = nullptr;
std::vector<double> gTickTimes;

void CountTick() {
    ++gTicks;
    gTickTimes.push_back(U_GetTime());
}
void CountOtherTick() {
    ++gOtherTicks;
}

// At its tenth call the tick replaces itself by a 29 ms timer, as the game does for its slow-down.
void ReplacingTick() {
    if (++gTicks == 10) {
        Timer_Free(&gTimer);
        gTimer = Timer_Create(&CountOtherTick, 29, 50);
    }
}

void FreeingTick() {
    ++gTicks;
    Timer_Free(&gTimer);
}

class Loop : public ::testing::Test {
  protected:
    void SetUp() override {
        gTicks = gOtherTicks = 0;
        gTimer = nullptr;
        gTickTimes.clear();
    }
    void TearDown() override {
        unsetenv("ZORBEL_FRAME_MS");
        unsetenv("ZORBEL_REPLAY");
    }
    DataDir data;
};

void QuittingTick() {
    if (++gTicks == 3) ZB_Quit();
}

TEST_F(Loop, SplashThenLoadThenFramesUntilQuit) {
    std::string order;
    RunEngine({.splash = [&] { order += "S"; },
               .load =
                   [&] {
                       order += "L";
                       gTimer = Timer_Create(&QuittingTick, 16, 50);
                   },
               .frame = [&](uint64_t) { order += "F"; },
               .frames = 100});
    // The third tick runs in frame 3 and asks to quit: that frame is still drawn, then the loop ends.
    EXPECT_EQ(order, "SLFFF");
}

TEST_F(Loop, A16MsTimerOnVirtualFramesRunsAtExactlyItsCadence) {
    gTimer = Timer_Create(&CountTick, 16, 50); // made before ZB_Init, as the game does
    std::vector<int> seen;
    std::vector<double> frameTimes;
    RunEngine({.frame =
                   [&](uint64_t) {
                       seen.push_back(gTicks);
                       frameTimes.push_back(U_GetTime());
                   },
               .frames = 600});
    ASSERT_EQ(seen.size(), 600u);
    for (size_t n = 1; n <= seen.size(); ++n) {
        EXPECT_DOUBLE_EQ(frameTimes[n - 1], static_cast<double>(n) * 16.667);
        ASSERT_EQ(seen[n - 1], static_cast<int>(std::floor(static_cast<double>(n) * 16.667 / 16.0)))
            << "frame " << n;
    }
    EXPECT_EQ(gTicks, 625);
    // Inside a tick the clock reads the frame's time.
    EXPECT_DOUBLE_EQ(gTickTimes[0], 16.667);
}

TEST_F(Loop, FrameLengthComesFromZorbelFrameMs) {
    setenv("ZORBEL_FRAME_MS", "10", 1);
    gTimer = Timer_Create(&CountTick, 16, 50);
    double lastTime = 0;
    RunEngine({.frame = [&](uint64_t) { lastTime = U_GetTime(); }, .frames = 100});
    EXPECT_DOUBLE_EQ(lastTime, 1000.0);
    EXPECT_EQ(gTicks, 62);
}

TEST_F(Loop, ATimerBehindCatchesUpOnlyAFewCallsPerFrame) {
    RunEngine({.load = [] { gTimer = Timer_Create(&CountTick, 1, 50); }, .frames = 10});
    EXPECT_EQ(gTicks, 10 * 5);
}

// A recording without input whose frames begin at the given engine times (ms).
void WriteFrameTimes(const std::string& file, const std::vector<double>& times) {
    namespace recording = zorbel::recording;
    std::vector<uint8_t> bytes = recording::Header(ZORBEL_API_VERSION, 0.0);
    for (double time : times) {
        const std::vector<uint8_t> frame = recording::FrameBytes({time, {}});
        bytes.insert(bytes.end(), frame.begin(), frame.end());
    }
    const std::vector<uint8_t> end = recording::EndBytes(static_cast<uint32_t>(times.size()),
                                                         recording::Crc32(0, bytes.data(), bytes.size()));
    bytes.insert(bytes.end(), end.begin(), end.end());
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

TEST_F(Loop, ATimerStillBehindAfterItsFiveCallsSkipsTheMissedPeriods) {
    // Three frames at 60 a second, a stall of most of a second, then 60 a second again.
    const std::string stall = data / "stall.zrec";
    WriteFrameTimes(stall, {16.667, 33.334, 50.001, 1000.0, 1016.667, 1033.334, 1050.001, 1066.668});
    setenv("ZORBEL_REPLAY", stall.c_str(), 1);
    std::vector<int> perFrame;
    RunEngine({.load = [] { gTimer = Timer_Create(&CountTick, 16, 50); },
               .frame =
                   [&](uint64_t) {
                       perFrame.push_back(gTicks);
                       gTicks = 0;
                   },
               .frames = 8});
    // Five calls right after the stall, the other 54 periods skipped: one call a frame again at once.
    EXPECT_EQ(perFrame, (std::vector<int>{1, 1, 1, 5, 1, 1, 1, 1}));
}

TEST_F(Loop, TimersCanBeFreedAndCreatedInsideTheirOwnProcedure) {
    RunEngine({.load = [] { gTimer = Timer_Create(&ReplacingTick, 16, 50); }, .frames = 100});
    EXPECT_EQ(gTicks, 10);
    // The tenth tick ran at frame 10 (166.67 ms); the new timer then fires every 29 ms up to 1666.7 ms.
    EXPECT_EQ(gOtherTicks, static_cast<int>((1666.7 - 166.67) / 29));
    EXPECT_NE(gTimer, nullptr);

    SetUp();
    RunEngine({.load = [] { gTimer = Timer_Create(&FreeingTick, 16, 50); }, .frames = 20});
    EXPECT_EQ(gTicks, 1);
    EXPECT_EQ(gTimer, nullptr) << "Timer_Free clears the caller's handle";
}

TEST_F(Loop, ScriptedKeysAndButtonsFollowDownAndPressRules) {
    struct Seen {
        uint8_t wDown, wPress, wPressAgain, leftDown, leftPress, rightDown, rightPress;
        float x, y;
    };
    std::vector<Seen> seen;
    std::vector<uint8_t> tickSawW;
    uint64_t frames = 0;
    RunEngine({.load = [&] { gTimer = Timer_Create(&CountTick, 16, 50); },
               .frame =
                   [&](uint64_t frame) {
                       frames = frame;
                       Seen s{};
                       s.wDown = Key_Down(87);
                       s.wPress = Key_Press(87);
                       s.wPressAgain = Key_Press(87);
                       if (frame == 7) Mouse_Lock();
                       s.leftDown = Mouse_Down(1);
                       s.leftPress = Mouse_Press(1);
                       s.rightDown = Mouse_Down(0);
                       s.rightPress = Mouse_Press(0);
                       s.x = Mouse_X();
                       s.y = Mouse_Y();
                       seen.push_back(s);
                   },
               .frames = 100,
               .script = "# keys and buttons\n"
                         "3 down key 87\n"
                         "5 up key 87   # W released\n"
                         "4 down mouse 1\n"
                         "4 up mouse 1\n"
                         "6 mouse 123.5 456\n"
                         "7 down mouse 0\n"
                         "8 quit\n"});
    ASSERT_EQ(frames, 8u) << "the script's quit ends the run after that frame";
    EXPECT_EQ(seen[1].wDown, 0);
    EXPECT_EQ(seen[2].wDown, 1);
    EXPECT_EQ(seen[2].wPress, 1);
    EXPECT_EQ(seen[2].wPressAgain, 0) << "asking clears the press";
    EXPECT_EQ(seen[3].wDown, 1);
    EXPECT_EQ(seen[3].wPress, 0);
    EXPECT_EQ(seen[4].wDown, 0);
    EXPECT_EQ(seen[3].leftDown, 0) << "pressed and released within frame 4";
    EXPECT_EQ(seen[3].leftPress, 1) << "a press between two questions is not lost";
    EXPECT_FLOAT_EQ(seen[5].x, 123.5f);
    EXPECT_FLOAT_EQ(seen[5].y, 456.0f);
    EXPECT_EQ(seen[6].rightDown, 1);
    EXPECT_EQ(seen[6].rightPress, 0) << "Mouse_Lock clears pending presses";
}

// Script events of a frame are applied before that frame's timers.
uint8_t gTickSawEnter = 0;
void EnterTick() {
    gTickSawEnter |= Key_Down(13);
}

TEST_F(Loop, ScriptEventsComeBeforeTheFramesTimers) {
    gTickSawEnter = 0;
    uint64_t enterFrame = 0;
    RunEngine({.load = [] { gTimer = Timer_Create(&EnterTick, 16, 50); },
               .frame =
                   [&](uint64_t frame) {
                       if (gTickSawEnter && !enterFrame) enterFrame = frame;
                   },
               .frames = 5,
               .script = "2 down key 13\n"});
    EXPECT_EQ(enterFrame, 2u);
}

TEST_F(Loop, ScreenshotsAreTheLogicalPictureAfterTheFrameIsDrawn) {
    Picture red(4, 4, 0xFFFF0000);
    WritePicture(data / "PICTURE/RED.bmp", red);
    const std::string shot = data / "shot.png";
    const std::string stats = data / "stats.json";
    setenv("ZORBEL_STATS", stats.c_str(), 1);
    ZB_Texture* tex = nullptr;
    int fps = 0;
    RunEngine({.load = [&] { tex = Tex_LoadFromFile("PICTURE\\RED.bmp", -1, 266); },
               .frame =
                   [&](uint64_t frame) {
                       SSprite_Draw(tex, 10, 10, 20, 20, 255, 0, 1);
                       if (frame == 3) SSprite_Draw(tex, 700, 500, 50, 50, 255, 0, 1);
                       fps = ZB_GetFPS();
                   },
               .frames = 120,
               .script = "3 screenshot " + shot + "\n"});
    unsetenv("ZORBEL_STATS");
    Picture picture = ReadPng(shot);
    ASSERT_EQ(picture.w, 800);
    ASSERT_EQ(picture.h, 600);
    EXPECT_EQ(picture.at(15, 15) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(picture.at(720, 520) & 0xFFFFFF, 0xFF0000u) << "taken after the frame procedure drew";
    EXPECT_EQ(picture.at(400, 300) & 0xFFFFFF, 0u);
    EXPECT_EQ(fps, 60);

    std::ifstream in(stats);
    std::stringstream json;
    json << in.rdbuf();
    EXPECT_NE(json.str().find("\"frames\": 120"), std::string::npos) << json.str();
    for (const char* key : {"\"median\"", "\"p99\"", "\"max\""})
        EXPECT_NE(json.str().find(key), std::string::npos) << json.str();
}

TEST_F(Loop, CursorMapsThroughTheLetterboxAndClampsAtItsEdges) {
    float wide[4][2] = {}, tall[2][2] = {};
    Screen letterboxed;
    Picture red(4, 4, 0xFFFF0000);
    WritePicture(data / "PICTURE/RED.bmp", red);
    ZB_Texture* tex = nullptr;
    RunEngine({.load = [&] { tex = Tex_LoadFromFile("PICTURE\\RED.bmp", -1, 266); },
               .frame =
                   [&](uint64_t frame) {
                       if (frame == 1) ZBDebug_SetWindowSize(1000, 600);
                       if (frame == 2) {
                           ZBDebug_WindowToLogical(100, 300, &wide[0][0], &wide[0][1]);
                           ZBDebug_WindowToLogical(40, 300, &wide[1][0], &wide[1][1]);
                           ZBDebug_WindowToLogical(500, 300, &wide[2][0], &wide[2][1]);
                           ZBDebug_WindowToLogical(960, 300, &wide[3][0], &wide[3][1]);
                           SSprite_Draw(tex, 0, 0, 40, 40, 255, 0, 1);
                           letterboxed = ReadScreen();
                           ZBDebug_SetWindowSize(800, 800);
                       }
                       if (frame == 3) {
                           ZBDebug_WindowToLogical(400, 100, &tall[0][0], &tall[0][1]);
                           ZBDebug_WindowToLogical(400, 20, &tall[1][0], &tall[1][1]);
                       }
                   },
               .frames = 3});
    EXPECT_FLOAT_EQ(wide[0][0], 0.0f);
    EXPECT_FLOAT_EQ(wide[0][1], 300.0f);
    EXPECT_FLOAT_EQ(wide[1][0], 0.0f) << "left bar clamps to 0";
    EXPECT_FLOAT_EQ(wide[2][0], 400.0f);
    EXPECT_FLOAT_EQ(wide[3][0], 800.0f) << "right bar clamps to 800";
    EXPECT_FLOAT_EQ(tall[0][1], 0.0f);
    EXPECT_FLOAT_EQ(tall[1][1], 0.0f);
    EXPECT_EQ(letterboxed.at(20, 20), 0xFF0000u) << "readback is of the logical picture, not the window";
    EXPECT_EQ(letterboxed.at(60, 20), 0u);
}

std::string DriverPath() {
    char exe[4096] = {};
    const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    return std::filesystem::path(std::string(exe, n > 0 ? static_cast<size_t>(n) : 0)).parent_path() /
           "zorbel_script_driver";
}

TEST_F(Loop, ABadScriptLineStopsTheRunWithItsLineNumber) {
    const std::string script = data / "bad.txt";
    std::ofstream(script) << "# fine so far\n1 mouse 10 20\n2 down key W\n3 quit\n";
    const std::string err = data / "err.txt";
    const std::string command = "ZORBEL_HEADLESS=1 ZORBEL_MAX_FRAMES=50 ZORBEL_INPUT='" + script + "' '" +
                                DriverPath() + "' 2>'" + err + "'";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 2);
    std::ifstream in(err);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find(script + ":3:"), std::string::npos) << text.str();

    std::ofstream(script) << "1 mouse 10 20\n2 down key 87\n3 quit\n";
    const int good = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(good));
    EXPECT_EQ(WEXITSTATUS(good), 0);
}

#define ZORBEL_NAME(ret, name, params, contract) #name,
const char* const kOperations[] = {ZORBEL_OPERATIONS(ZORBEL_NAME)};
#undef ZORBEL_NAME

TEST(Exports, EveryOperationIsExportedByName) {
    void* library = dlopen("libzorbel_gl.so", RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(library, nullptr) << dlerror();
    for (const char* name : kOperations)
        EXPECT_NE(dlsym(library, name), nullptr) << name;
    EXPECT_EQ(dlsym(library, "_ZN6zorbel6ReportEPKcz"), nullptr) << "internal names stay hidden";
    EXPECT_EQ(ZB_Version(), ZORBEL_API_VERSION);
    dlclose(library);
}

} // namespace
