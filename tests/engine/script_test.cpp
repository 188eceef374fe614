// The input script and the other hooks read from the environment: whatever text they hold, the engine
// either runs or stops with a message and status 2, never crashes or hangs.
#include "harness.h"
#include "script.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace enginetest;
using zorbel::script::Event;

namespace {

// The reason a script is refused, or "" when it parses.
std::string Refusal(std::string_view text) {
    std::vector<Event> events;
    std::string error;
    return zorbel::script::Parse("s.txt", text, events, error) ? "" : error;
}

TEST(Script, EveryEventFormIsReadInFrameOrder) {
    std::vector<Event> events;
    std::string error;
    ASSERT_TRUE(zorbel::script::Parse("s.txt",
                                      "9 quit\r\n"
                                      "\t2 mouse 1.5 -3e2 # the cursor may leave the picture\n"
                                      "1 up mouse 2\n"
                                      "4 screenshot shot.png\n"
                                      "2 down key 255",
                                      events, error))
        << error;
    ASSERT_EQ(events.size(), 5u);
    EXPECT_EQ(events[0].kind, Event::Kind::ButtonUp);
    EXPECT_EQ(events[0].code, 2);
    EXPECT_EQ(events[1].kind, Event::Kind::Mouse) << "events of one frame keep their file order";
    EXPECT_FLOAT_EQ(events[1].y, -300.0f);
    EXPECT_EQ(events[2].kind, Event::Kind::KeyDown) << "the last line needs no newline";
    EXPECT_EQ(events[3].file, "shot.png");
    EXPECT_EQ(events[4].kind, Event::Kind::Quit) << "a CR before the newline is blank";
}

TEST(Script, BadLinesAreNamedByNumberAndEchoedPrintably) {
    EXPECT_EQ(Refusal("1 quit\n\n3 mouse nan 4\n"), "s.txt:3: expected: FRAME mouse X Y");
    EXPECT_EQ(Refusal("1 mouse 1e39 4"), "s.txt:1: expected: FRAME mouse X Y") << "beyond a float";
    EXPECT_EQ(Refusal("1 mouse inf 4"), "s.txt:1: expected: FRAME mouse X Y");
    EXPECT_EQ(Refusal("99999999999999999999 quit"), "s.txt:1: the line must start with a frame number");
    EXPECT_EQ(Refusal("-1 quit"), "s.txt:1: the line must start with a frame number");
    EXPECT_EQ(Refusal("1 down key 256"), "s.txt:1: a key code is 0..255");
    EXPECT_EQ(Refusal("1 down mouse 3"), "s.txt:1: a mouse button is 0 (secondary), 1 (primary) or 2");
    EXPECT_EQ(Refusal(std::string("1 screenshot a\x01b.png")),
              "s.txt:1: a screenshot's file name has no control characters");
    using namespace std::string_view_literals;
    EXPECT_EQ(Refusal("1 \x1b[2J\xff\0"sv), "s.txt:1: unknown event \"\\x1B[2J\\xFF\\x00\"");
    EXPECT_EQ(Refusal("1 " + std::string(200, 'z')).size(),
              std::string("s.txt:1: unknown event \"\"").size() + 63)
        << "a long word is cut";
}

TEST(Script, PadAndFocusLinesNameButtonsAndAxesAsSdlNumbersThem) {
    std::vector<Event> events;
    std::string error;
    ASSERT_TRUE(zorbel::script::Parse("s.txt",
                                      "3 pad connect\n3 pad down dpright\n3 pad righttrigger 32767\n"
                                      "3 pad lefty -32768\n3 focus lost\n4 pad disconnect",
                                      events, error))
        << error;
    ASSERT_EQ(events.size(), 6u);
    EXPECT_EQ(events[0].kind, Event::Kind::PadConnect);
    EXPECT_EQ(events[1].kind, Event::Kind::PadButtonDown);
    EXPECT_EQ(events[1].code, 14);
    EXPECT_EQ(events[2].kind, Event::Kind::PadAxis);
    EXPECT_EQ(events[2].code, 5);
    EXPECT_EQ(events[2].value, 32767);
    EXPECT_EQ(events[3].code, 1);
    EXPECT_EQ(events[3].value, -32768);
    EXPECT_EQ(events[4].kind, Event::Kind::FocusLost);
    EXPECT_EQ(events[5].kind, Event::Kind::PadDisconnect);

    EXPECT_EQ(Refusal("1 pad down z"), "s.txt:1: unknown pad button \"z\"");
    EXPECT_EQ(Refusal("1 pad lefttrigger -1"), "s.txt:1: a trigger goes from 0 to 32767");
    EXPECT_EQ(Refusal("1 pad leftx 32768"), "s.txt:1: a stick axis goes from -32768 to 32767");
    EXPECT_NE(Refusal("1 pad").find("expected: FRAME pad connect"), std::string::npos);
    EXPECT_NE(Refusal("1 pad wheel 3").find("expected: FRAME pad connect"), std::string::npos);
    EXPECT_EQ(Refusal("1 focus found"), "s.txt:1: expected: FRAME focus lost");
}

std::string DriverPath() {
    char exe[4096] = {};
    const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    return std::filesystem::path(std::string(exe, n > 0 ? static_cast<size_t>(n) : 0)).parent_path() /
           "zorbel_script_driver";
}

// The engine's loop alone, in a child process that is killed after 20 s.
class Hooks : public ::testing::Test {
  protected:
    struct Outcome {
        int status; // the exit status; -1 when the driver died of a signal or was killed
        std::string err;
    };
    Outcome Run(const std::string& env) {
        const std::string errFile = data / "err.txt";
        const std::string command = "env ZORBEL_HEADLESS=1 ZORBEL_MAX_FRAMES=30 " + env +
                                    " timeout -s KILL 20 '" + DriverPath() + "' 2>'" + errFile + "'";
        const int status = std::system(command.c_str());
        std::ifstream in(errFile);
        std::stringstream text;
        text << in.rdbuf();
        const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return {code >= 128 ? -1 : code, text.str()};
    }
    std::string Script(const std::string& text) {
        std::ofstream(data / "script.txt", std::ios::binary) << text;
        return "ZORBEL_INPUT='" + data / "script.txt" + "'";
    }
    DataDir data;
};

TEST_F(Hooks, LinesOfAnyWhitespaceAreBlank) {
    for (const char* blank : {"\f", "\v", " \t\r\f\v ", "\f# a comment after a form feed"}) {
        const Outcome run = Run(Script(std::string(blank) + "\n5 quit\n"));
        EXPECT_EQ(run.status, 0) << "blank line of " << ::testing::PrintToString(std::string(blank)) << "\n"
                                 << run.err;
    }
}

TEST_F(Hooks, AScriptThatIsNoRegularFileIsRefusedByName) {
    const std::string fifo = data / "fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path :
         {data.path().string(), std::string("/dev/zero"), fifo, data / "no-such-script.txt"}) {
        const Outcome run = Run("ZORBEL_INPUT='" + path + "'");
        EXPECT_EQ(run.status, 2) << path << "\n" << run.err;
        EXPECT_NE(run.err.find(path + ":"), std::string::npos) << run.err;
    }
}

TEST_F(Hooks, AFrameLimitMustBeAPositiveWholeNumber) {
    for (const char* bad : {"abc", "-1", "0", "1e23", "50abc", " 50", "99999999999999999999999"}) {
        const Outcome run = Run(std::string("ZORBEL_MAX_FRAMES='") + bad + "'");
        EXPECT_EQ(run.status, 2) << "ZORBEL_MAX_FRAMES=" << bad << "\n" << run.err;
        EXPECT_NE(run.err.find(std::string("ZORBEL_MAX_FRAMES=") + bad), std::string::npos) << run.err;
    }
    EXPECT_EQ(Run("ZORBEL_MAX_FRAMES=3").status, 0);
}

TEST_F(Hooks, AFrameLengthMustBeAPositiveNumber) {
    for (const char* bad : {"abc", "-5", "0", "10ms", "nan", "inf"}) {
        const Outcome run = Run(std::string("ZORBEL_FRAME_MS='") + bad + "'");
        EXPECT_EQ(run.status, 2) << "ZORBEL_FRAME_MS=" << bad << "\n" << run.err;
        EXPECT_NE(run.err.find(std::string("ZORBEL_FRAME_MS=") + bad), std::string::npos) << run.err;
    }
    EXPECT_EQ(Run("ZORBEL_FRAME_MS=8.5").status, 0);
}

// A recording goes only into a regular file (or a new one), and a file of the hooks that cannot be written
// ends the run with status 2, told once with the system's reason.
TEST_F(Hooks, AnOutputThatCannotBeWrittenIsToldOnceAndEndsTheRunWithStatus2) {
    const std::string fifo = data / "fifo", recording = data / "run.zrec";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    struct Case {
        std::string env, says;
    };
    const Case cases[] = {
        {"ZORBEL_RECORD='" + fifo + "'", fifo + ": cannot write the recording: not a regular file"},
        {"ZORBEL_RECORD=/dev/full", "/dev/full: cannot write the recording: not a regular file"},
        {"ZORBEL_STATS=/dev/full", "/dev/full: cannot write the statistics: No space left on device"},
        // The file size limit stands in for a full disk.
        {"ZORBEL_MAX_FRAMES=2000 ZORBEL_RECORD='" + recording + "'",
         recording + ": cannot write the recording: File too large"},
    };
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit before{};
    getrlimit(RLIMIT_FSIZE, &before);
    const rlimit small{4096, before.rlim_max};
    for (const Case& c : cases) {
        setrlimit(RLIMIT_FSIZE, &small);
        const Outcome run = Run(c.env);
        setrlimit(RLIMIT_FSIZE, &before);
        EXPECT_EQ(run.status, 2) << c.env << "\n" << run.err;
        EXPECT_EQ(run.err, "zorbel: " + c.says + "\n") << c.env;
    }
    std::signal(SIGXFSZ, SIG_DFL);
}

} // namespace
