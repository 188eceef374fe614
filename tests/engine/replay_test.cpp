// Recording and replaying runs: times and input come back exactly, a recording that is cut off or not ours
// is refused, and the state digests land in the statistics file.
#include "harness.h"
#include "recording.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace enginetest;

namespace {

// What the frame procedure saw, frame by frame.
struct Seen {
    double time;
    float mouseX, mouseY;
    uint8_t keyDown, keyPress, buttonDown, buttonPress;
    uint8_t focusLost;
    int32_t fullScreenChange;
    bool operator==(const Seen&) const = default;
};

std::vector<Seen> RunAndWatch(uint64_t frames, const std::string& script = {}) {
    std::vector<Seen> seen;
    RunEngine({.frame =
                   [&](uint64_t) {
                       seen.push_back({U_GetTime(), Mouse_X(), Mouse_Y(), Key_Down(87), Key_Press(87),
                                       Mouse_Down(1), Mouse_Press(1), ZB_FocusLost(), ZB_FullScreenChange()});
                   },
               .frames = frames,
               .script = script});
    return seen;
}

std::vector<uint8_t> ReadBytes(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void WriteBytes(const std::string& file, const std::vector<uint8_t>& bytes) {
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadText(const std::string& file) {
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string DriverPath() {
    char exe[4096] = {};
    const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    return std::filesystem::path(std::string(exe, n > 0 ? static_cast<size_t>(n) : 0)).parent_path() /
           "zorbel_script_driver";
}

// Runs the bare engine loop in a process of its own; returns the exit status and stderr.
int RunDriver(const std::string& env, std::string* err, const DataDir& data) {
    const std::string errFile = data / "err.txt";
    const std::string command =
        "ZORBEL_HEADLESS=1 ZORBEL_MAX_FRAMES=40 " + env + " '" + DriverPath() + "' 2>'" + errFile + "'";
    const int status = std::system(command.c_str());
    *err = ReadText(errFile);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class Replay : public ::testing::Test {
  protected:
    void TearDown() override {
        for (const char* name : {"ZORBEL_RECORD", "ZORBEL_REPLAY", "ZORBEL_FRAME_MS", "ZORBEL_DIGEST_EVERY",
                                 "ZORBEL_STATS", "SDL_VIDEODRIVER"})
            unsetenv(name);
        setenv("ZORBEL_HEADLESS", "1", 1);
    }
    DataDir data;
};

TEST_F(Replay, ARunReplaysItsTimesAndInputExactlyWhateverTheScriptAndFrameLengthSay) {
    const std::string recording = data / "run.zrec";
    setenv("ZORBEL_RECORD", recording.c_str(), 1);
    const std::vector<Seen> recorded = RunAndWatch(12, "2 mouse 10.25 20.5\n3 down key 87\n3 down mouse 1\n"
                                                       "5 up mouse 1\n6 down mouse 1\n6 mouse 700 1.125\n"
                                                       "8 up key 87\n9 down key 87\n4 focus lost\n"
                                                       "10 down key 18\n10 down key 13\n");
    unsetenv("ZORBEL_RECORD");
    ASSERT_EQ(recorded.size(), 12u);
    EXPECT_EQ(recorded[3].focusLost, 1) << "frame 4";
    EXPECT_EQ(recorded[3].keyDown, 0) << "losing the focus lets go of every key";
    EXPECT_EQ(recorded[9].fullScreenChange, 1) << "Alt+Enter in frame 10 switches to full screen";
    EXPECT_EQ(recorded[10].fullScreenChange, 0) << "asking clears it";

    setenv("ZORBEL_REPLAY", recording.c_str(), 1);
    setenv("ZORBEL_FRAME_MS", "5", 1);
    // The recording alone drives the replay; a script may still take screenshots.
    const std::string shot = data / "shot.png";
    const std::vector<Seen> replayed =
        RunAndWatch(50, "4 down key 87\n7 mouse 1 1\n11 screenshot " + shot + "\n");
    EXPECT_EQ(replayed, recorded);
    EXPECT_EQ(replayed.size(), 12u) << "a replay ends with its recording";
    EXPECT_TRUE(std::filesystem::exists(shot));
}

TEST_F(Replay, ARunInRealTimeReplaysHeadlessWithItsOwnTimes) {
    const std::string recording = data / "real.zrec";
    setenv("ZORBEL_RECORD", recording.c_str(), 1);
    unsetenv("ZORBEL_HEADLESS");
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    const std::vector<Seen> recorded = RunAndWatch(20, "4 mouse 300 200\n5 down key 87\n9 up key 87\n");
    unsetenv("ZORBEL_RECORD");
    unsetenv("SDL_VIDEODRIVER");
    setenv("ZORBEL_HEADLESS", "1", 1);

    setenv("ZORBEL_REPLAY", recording.c_str(), 1);
    EXPECT_EQ(RunAndWatch(20), recorded);
    // Real time starts at the wall clock and is no multiple of a frame.
    ASSERT_FALSE(recorded.empty());
    EXPECT_GT(recorded.front().time, 1e12);
}

TEST_F(Replay, ACutOffDamagedOrForeignRecordingIsRefusedWithExitStatus2) {
    const std::string good = data / "good.zrec", bad = data / "bad.zrec";
    std::string err;
    ASSERT_EQ(RunDriver("ZORBEL_RECORD='" + good + "'", &err, data), 0) << err;
    const std::vector<uint8_t> bytes = ReadBytes(good);
    ASSERT_GT(bytes.size(), 40u);
    ASSERT_EQ(RunDriver("ZORBEL_REPLAY='" + good + "'", &err, data), 0) << err;

    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        const char* says;
    };
    auto patched = [&](size_t at, uint8_t value) {
        std::vector<uint8_t> b = bytes;
        b[at] = value;
        return b;
    };
    auto cut = [&](size_t size) { return std::vector<uint8_t>(bytes.begin(), bytes.begin() + long(size)); };
    std::vector<uint8_t> longer = bytes;
    longer.push_back(0);
    const std::vector<Case> cases = {
        {"empty", {}, "not a recording"},
        {"a picture", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13}, "not a recording"},
        {"cut in the header", cut(12), "cut off"},
        {"cut in a frame", cut(bytes.size() / 2), "cut off"},
        {"without its end marker", cut(bytes.size() - 9), "cut off"},
        {"cut in its end marker", cut(bytes.size() - 1), "cut off"},
        {"another format", patched(8, 99), "format 99"},
        {"another engine interface", patched(10, 77), "interface version 77"},
        {"a damaged frame time", patched(25, bytes[25] ^ 0x40), "checksum"},
        {"bytes after the end", longer, "after the end marker"},
    };
    for (const Case& c : cases) {
        WriteBytes(bad, c.bytes);
        EXPECT_EQ(RunDriver("ZORBEL_REPLAY='" + bad + "'", &err, data), 2) << c.what;
        EXPECT_NE(err.find(bad + ": "), std::string::npos) << c.what << ": " << err;
        EXPECT_NE(err.find(c.says), std::string::npos) << c.what << ": " << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << c.what << ": one clear message\n" << err;
    }
    EXPECT_EQ(RunDriver("ZORBEL_REPLAY='" + data / "missing.zrec" + "'", &err, data), 2);
    EXPECT_EQ(RunDriver("ZORBEL_REPLAY='" + good + "' ZORBEL_RECORD='" + bad + "'", &err, data), 2) << err;
}

uint64_t gDigestCalls = 0;
uint64_t CountingDigest() {
    return 0xABCD0000u + ++gDigestCalls;
}

TEST_F(Replay, DigestsAreTakenEveryNFramesIntoTheStatistics) {
    const std::string stats = data / "stats.json";
    setenv("ZORBEL_STATS", stats.c_str(), 1);
    setenv("ZORBEL_DIGEST_EVERY", "4", 1);
    gDigestCalls = 0;
    ZB_RegDigest(&CountingDigest);
    RunEngine({.frames = 10});
    unsetenv("ZORBEL_STATS");
    unsetenv("ZORBEL_DIGEST_EVERY");
    const std::string text = ReadText(stats);
    EXPECT_NE(text.find("{\"frame\": 4, \"digest\": \"00000000abcd0001\"}"), std::string::npos) << text;
    EXPECT_NE(text.find("{\"frame\": 8, \"digest\": \"00000000abcd0002\"}"), std::string::npos) << text;
    EXPECT_EQ(gDigestCalls, 2u);

    std::string err;
    for (const char* value : {"0", "-3", "4x", "many"})
        EXPECT_EQ(
            RunDriver(std::string("ZORBEL_STATS=/dev/null ZORBEL_DIGEST_EVERY='") + value + "'", &err, data),
            2)
            << value;
    EXPECT_NE(err.find("ZORBEL_DIGEST_EVERY"), std::string::npos) << err;
    EXPECT_EQ(RunDriver("ZORBEL_DIGEST_EVERY=5", &err, data), 2) << "digests need a statistics file";
}

// A recording of frames at 16 ms, the given events in its first frame.
std::vector<uint8_t> MadeRecording(size_t frames,
                                   const std::vector<zorbel::recording::InputEvent>& first = {}) {
    using namespace zorbel::recording;
    std::vector<uint8_t> bytes = Header(ZORBEL_API_VERSION, 0.0);
    for (size_t n = 1; n <= frames; ++n) {
        const std::vector<uint8_t> frame =
            FrameBytes({16.0 * static_cast<double>(n), n == 1 ? first : std::vector<InputEvent>{}});
        bytes.insert(bytes.end(), frame.begin(), frame.end());
    }
    const std::vector<uint8_t> end =
        EndBytes(static_cast<uint32_t>(frames), Crc32(0, bytes.data(), bytes.size()));
    bytes.insert(bytes.end(), end.begin(), end.end());
    return bytes;
}

TEST_F(Replay, ACursorFarOffThePictureIsHeldToItsEdgeHoweverItEnters) {
    using zorbel::recording::InputEvent;
    // From the script, and recorded as it was held.
    const std::string recording = data / "far.zrec";
    setenv("ZORBEL_RECORD", recording.c_str(), 1);
    const std::vector<Seen> scripted = RunAndWatch(2, "1 mouse 3000000000 5\n2 mouse -1e30 1e30\n");
    unsetenv("ZORBEL_RECORD");
    ASSERT_EQ(scripted.size(), 2u);
    EXPECT_EQ(std::pair(scripted[0].mouseX, scripted[0].mouseY), std::pair(800.0f, 5.0f));
    EXPECT_EQ(std::pair(scripted[1].mouseX, scripted[1].mouseY), std::pair(0.0f, 600.0f));
    setenv("ZORBEL_REPLAY", recording.c_str(), 1);
    EXPECT_EQ(RunAndWatch(2), scripted);

    // From a recording that holds it.
    WriteBytes(recording, MadeRecording(1, {{InputEvent::Kind::Cursor, 0, false, 1e9f, -7.0f}}));
    const std::vector<Seen> replayed = RunAndWatch(1);
    unsetenv("ZORBEL_REPLAY");
    ASSERT_EQ(replayed.size(), 1u);
    EXPECT_EQ(std::pair(replayed[0].mouseX, replayed[0].mouseY), std::pair(800.0f, 0.0f));

    // From a player made of code; a point that is nowhere is refused.
    std::vector<std::pair<float, float>> posted;
    RunEngine({.frame =
                   [&](uint64_t) {
                       ZB_PostInput(ZB_INPUT_CURSOR, 0, -5e9f, 7e9f);
                       posted.emplace_back(Mouse_X(), Mouse_Y());
                       ZB_PostInput(ZB_INPUT_CURSOR, 0, NAN, 10.0f);
                       posted.emplace_back(Mouse_X(), Mouse_Y());
                   },
               .frames = 1});
    EXPECT_EQ(posted, (std::vector<std::pair<float, float>>{{0.0f, 600.0f}, {0.0f, 600.0f}}));
}

// The most memory a run of the bare engine loop took, in kilobytes; its exit status in `status`.
long PeakKilobytes(const std::string& env, int* status, std::string* err, const DataDir& data) {
    int pipe[2];
    if (::pipe(pipe) != 0) return -1;
    const pid_t child = fork();
    if (child == 0) {
        const int runStatus = RunDriver(env, err, data);
        rusage usage{};
        getrusage(RUSAGE_CHILDREN, &usage);
        const long values[2] = {usage.ru_maxrss, runStatus};
        _exit(write(pipe[1], values, sizeof values) == sizeof values ? 0 : 1);
    }
    long values[2] = {-1, -1};
    close(pipe[1]);
    const bool got = read(pipe[0], values, sizeof values) == sizeof values;
    close(pipe[0]);
    waitpid(child, nullptr, 0);
    *status = static_cast<int>(values[1]);
    *err = ReadText(data / "err.txt");
    return got ? values[0] : -1;
}

// A replay keeps its frames compactly, not the file, and reads no further than a header that is not one.
TEST_F(Replay, AReplayTakesLittleMemoryPerFrameAndAForeignFileIsRefusedAtItsHeader) {
    constexpr size_t kFrames = 3'000'000;
    constexpr long kBytesPerFrame = 24; // 12 kept, and growing the arrays as they are read
    const std::string small = data / "small.zrec", large = data / "large.zrec", zeros = data / "zeros.zrec";
    WriteBytes(small, MadeRecording(50));
    WriteBytes(large, MadeRecording(kFrames));
    std::ofstream{zeros};
    std::filesystem::resize_file(zeros, size_t{1} << 30);
    int status = -1;
    std::string err;
    const long base = PeakKilobytes("ZORBEL_REPLAY='" + small + "'", &status, &err, data);
    ASSERT_EQ(status, 0) << err;
    const long many = PeakKilobytes("ZORBEL_REPLAY='" + large + "'", &status, &err, data);
    ASSERT_EQ(status, 0) << err;
    EXPECT_LT((many - base) * 1024, static_cast<long>(kFrames) * kBytesPerFrame)
        << base << " kB for 50 frames, " << many << " kB for " << kFrames;
    const long foreign = PeakKilobytes("ZORBEL_REPLAY='" + zeros + "'", &status, &err, data);
    EXPECT_EQ(status, 2);
    EXPECT_NE(err.find("not a recording"), std::string::npos) << err;
    EXPECT_LT(foreign - base, 16 * 1024) << "kB to refuse a gigabyte of zeros";
}

} // namespace
