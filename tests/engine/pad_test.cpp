// Gamepads headless: the script's virtual pad goes through SDL's game controller path, and what it holds
// reaches the program as the keys, buttons and cursor moves of a keyboard and a mouse.
#include "harness.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>

using namespace enginetest;

namespace {

constexpr int32_t kW = 87, kA = 65, kS = 83, kD = 68, kEscape = 27, kM = 77, kQ = 81, kR = 82;

// What the program sees of the devices at the end of one frame's input.
struct Seen {
    std::set<int32_t> keys, buttons;
    float x = 0, y = 0;
};

Seen Look() {
    Seen s;
    for (int32_t key : {kW, kA, kS, kD, kEscape, kM, kQ, kR})
        if (Key_Down(key)) s.keys.insert(key);
    for (int32_t button : {0, 1})
        if (Mouse_Down(button)) s.buttons.insert(button);
    s.x = Mouse_X();
    s.y = Mouse_Y();
    return s;
}

// One step of a pad run: script lines for a frame, what the program says of its screen from that frame on,
// and what it must then see.
struct Step {
    std::string lines; // "pad ..." events, separated by ';'
    std::set<int32_t> keys, buttons;
    float x = -1, y = -1; // the cursor, when it matters
};

class Pad : public ::testing::Test {
  protected:
    // Runs the steps 5 frames apart after connecting the pad, the program saying `screen` every frame;
    // returns what each step's frame saw.
    std::vector<Seen> Play(const std::vector<Step>& steps, const std::function<void(uint64_t)>& screen) {
        std::ostringstream script;
        script << "1 pad connect\n";
        for (size_t i = 0; i < steps.size(); ++i) {
            std::istringstream lines(steps[i].lines);
            for (std::string line; std::getline(lines, line, ';');)
                script << Frame(i) << " " << line << "\n";
        }
        std::vector<Seen> seen(steps.size());
        RunEngine({.frame =
                       [&](uint64_t frame) {
                           screen(frame);
                           for (size_t i = 0; i < steps.size(); ++i)
                               if (frame == Frame(i)) seen[i] = Look();
                       },
                   .frames = Frame(steps.size()),
                   .script = script.str()});
        return seen;
    }
    static uint64_t Frame(size_t step) { return 5 + 5 * step; }
    void Check(const std::vector<Step>& steps, const std::vector<Seen>& seen) {
        for (size_t i = 0; i < steps.size(); ++i) {
            EXPECT_EQ(seen[i].keys, steps[i].keys) << "after: " << steps[i].lines;
            EXPECT_EQ(seen[i].buttons, steps[i].buttons) << "after: " << steps[i].lines;
            if (steps[i].x >= 0) {
                EXPECT_NEAR(seen[i].x, steps[i].x, 0.01) << "after: " << steps[i].lines;
                EXPECT_NEAR(seen[i].y, steps[i].y, 0.01) << "after: " << steps[i].lines;
            }
        }
    }
    DataDir data;
};

TEST_F(Pad, InPlayTheLeftStickWalksEightWaysAndTheRightStickAimsOnACircle) {
    float centreX = 400;
    const std::vector<Step> steps = {
        {"pad leftx 32767", {kD}},
        {"pad lefty 32767", {kD, kS}},
        {"pad leftx 0;pad lefty -32768", {kW}},
        {"pad leftx -20000;pad lefty 21000", {kA, kS}},
        {"pad leftx 12000;pad lefty -30000", {kW}},
        {"pad leftx 10000;pad lefty 3000", {}}, // inside the dead zone
        {"pad leftx 0;pad lefty 0;pad down dpup;pad down dpright", {kW, kD}},
        {"pad up dpup;pad up dpright;pad righty 32767", {}, {}, 400, 450},
        {"pad righty 0", {}, {}, 400, 450}, // the aim stays when the stick comes back
        {"pad rightx -32768", {}, {}, 250, 300},
        {"pad rightx 0", {}, {}, 100, 300}, // and follows the centre
    };
    const std::vector<Seen> seen = Play(steps, [&](uint64_t frame) {
        if (frame == Frame(10) - 1) centreX = 250;
        Pad_SetAim(centreX, 300);
    });
    Check(steps, seen);
}

TEST_F(Pad, ButtonsAndTriggersHoldTheKeysAndMouseButtonsTheyStandFor) {
    const std::vector<Step> steps = {
        {"pad down start", {kEscape}},
        {"pad up start;pad down x;pad down y", {kR, kQ}},
        {"pad up x;pad up y;pad lefttrigger 32767", {kM}},
        {"pad lefttrigger 10000;pad righttrigger 30000", {}, {1}},
        {"pad righttrigger 0;pad down a;pad down leftshoulder", {}, {0, 1}},
        {"pad up a;pad up leftshoulder", {}, {}},
        {"pad leftx 32767", {}, {}}, // no screen said: the sticks do nothing
    };
    Check(steps, Play(steps, [](uint64_t) {}));
}

TEST_F(Pad, OnAScreenOfTargetsTheDpadAndStickStepFromTargetToTargetAndAPresses) {
    // A column of three lines and a button to the right of the middle one.
    const ZB_Rect targets[] = {{0, 100, 240, 40}, {0, 150, 240, 40}, {0, 200, 240, 40}, {400, 150, 100, 30}};
    const std::vector<Step> steps = {
        {"pad down dpdown", {}, {}, 120, 220}, // on no target, and none below: the nearest
        {"pad up dpdown", {}, {}, 120, 220},
        {"pad down dpdown", {}, {}, 120, 220}, // nothing below the last line
        {"pad up dpdown;pad lefty -32768", {}, {}, 120, 170},
        {"pad lefty 0;pad leftx 32767", {}, {}, 450, 165},
        {"pad leftx 0;pad down a", {}, {1}, 450, 165},
        {"pad up a;pad leftx -32768", {}, {}, 120, 170},
    };
    const std::vector<Seen> seen = Play(steps, [&](uint64_t frame) {
        Pad_SetTargets(targets, 4);
        if (frame == 2) ZB_PostInput(ZB_INPUT_CURSOR, 0, 120, 500);
    });
    Check(steps, seen);
}

TEST_F(Pad, AHeldDirectionStepsAgainAfterAPauseAndAPulledPadLetsGo) {
    setenv("ZORBEL_FRAME_MS", "10", 1);
    ZB_Rect column[8];
    for (int i = 0; i < 8; ++i)
        column[i] = ZB_Rect{0, 50.0f * static_cast<float>(i), 100, 40};
    std::vector<float> ys;
    std::set<int32_t> walking, afterPull = {-1};
    RunEngine({.frame =
                   [&](uint64_t frame) {
                       if (frame < 70) {
                           Pad_SetTargets(column, 8);
                           ys.push_back(Mouse_Y());
                       } else {
                           Pad_SetAim(400, 300);
                       }
                       if (frame == 75) walking = Look().keys;
                       if (frame == 80) afterPull = Look().keys;
                   },
               .frames = 80,
               .script = "1 pad connect\n3 pad down dpdown\n70 pad up dpdown\n71 pad lefty 32767\n"
                         "76 pad disconnect\n"});
    unsetenv("ZORBEL_FRAME_MS");
    // Held from frame 3 (30 ms): a step at once, the next 400 ms later, then every 150 ms.
    auto yOf = [&](size_t frame) { return ys[frame - 1]; };
    EXPECT_FLOAT_EQ(yOf(3), 20);
    EXPECT_FLOAT_EQ(yOf(42), 20);
    EXPECT_FLOAT_EQ(yOf(43), 70);
    EXPECT_FLOAT_EQ(yOf(57), 70);
    EXPECT_FLOAT_EQ(yOf(58), 120);
    EXPECT_EQ(walking, std::set<int32_t>{kS});
    EXPECT_TRUE(afterPull.empty()) << "the walk ends with the pad";
}

} // namespace
