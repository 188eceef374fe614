// Recording and replaying runs (ZORBEL_RECORD, ZORBEL_REPLAY): the session around the file format.
#include "replay.h"

#include "engine.h"
#include "hooks.h"

#include "platform.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <utility>

namespace zorbel::replay {
namespace {

// A recording grows by about a kilobyte a second of play; anything near this is not one of ours.
constexpr int64_t kMaxRecordingBytes = int64_t{1} << 30;

struct Writer {
    std::FILE* file = nullptr;
    std::string path;
    uint32_t crc = 0;
    uint32_t frames = 0;
    bool frameOpen = false;
    bool failed = false;
    recording::Frame current;
};

struct State {
    bool started = false;
    Writer writer;
    bool replaying = false;
    recording::Run run;
};
State gState;

// Said once, with the system's reason; nothing more is written, and the run ends with status 2.
void Fail(int code) {
    Writer& w = gState.writer;
    Report("%s: cannot write the recording: %s", w.path.c_str(), std::strerror(code));
    std::fclose(w.file);
    w.file = nullptr;
    w.failed = true;
}

void Write(const std::vector<uint8_t>& bytes) {
    Writer& w = gState.writer;
    w.crc = recording::Crc32(w.crc, bytes.data(), bytes.size());
    if (std::fwrite(bytes.data(), 1, bytes.size(), w.file) != bytes.size()) Fail(errno);
}

void FlushFrame() {
    Writer& w = gState.writer;
    if (!w.frameOpen) return;
    Write(recording::FrameBytes(w.current));
    ++w.frames;
    w.current.events.clear();
    w.frameOpen = false;
}

void LoadReplay(const std::string& path) {
    std::string why;
    platform::FileRead outcome = platform::FileRead::kUnreadable;
    if (const auto stamp = platform::StampOf(path); stamp && stamp->size > kMaxRecordingBytes)
        hooks::Refuse(path + ": cannot read the recording: larger than " +
                      std::to_string(kMaxRecordingBytes) + " bytes");
    const int fd = platform::OpenRegularFile(path, &outcome, &why);
    if (fd < 0) hooks::Refuse(path + ": cannot read the recording: " + why);
    std::vector<uint8_t> piece(size_t{1} << 16);
    const recording::Source file = [&](std::string& error) -> std::span<const uint8_t> {
        for (;;) {
            const ssize_t got = ::read(fd, piece.data(), piece.size());
            if (got >= 0) return std::span<const uint8_t>(piece).first(static_cast<size_t>(got));
            if (errno != EINTR) {
                error = std::strerror(errno);
                return {};
            }
        }
    };
    const bool parsed = recording::Parse(file, gState.run, why);
    ::close(fd);
    if (!parsed) hooks::Refuse(path + ": cannot replay: " + why);
    gState.replaying = true;
}

} // namespace

void Start() {
    if (gState.started) return;
    gState.started = true;
    const std::string record = hooks::Text("ZORBEL_RECORD"), replay = hooks::Text("ZORBEL_REPLAY");
    if (!record.empty() && !replay.empty())
        hooks::Refuse("ZORBEL_RECORD and ZORBEL_REPLAY cannot be used together");
    if (!replay.empty()) LoadReplay(replay);
    if (!record.empty()) {
        // Only a regular file, or a new one: a FIFO would block the start until someone read it.
        std::string why;
        const int fd = platform::CreateRegularFile(record, &why);
        if (fd < 0) hooks::Refuse(record + ": cannot write the recording: " + why);
        gState.writer.path = record;
        gState.writer.file = ::fdopen(fd, "wb");
    }
}

bool Replaying() {
    return gState.replaying;
}

bool Recording() {
    return gState.writer.file != nullptr;
}

double StartTime() {
    return gState.run.startTime;
}

uint64_t FrameCount() {
    return gState.run.FrameCount();
}

void RecordStart(double time) {
    if (Recording()) Write(recording::Header(ZORBEL_API_VERSION, time));
}

void BeginFrame(double time) {
    if (!Recording()) return;
    FlushFrame();
    gState.writer.current.time = time;
    gState.writer.frameOpen = true;
}

void Note(const InputEvent& event) {
    if (Recording() && gState.writer.frameOpen) gState.writer.current.events.push_back(event);
}

bool Finish() {
    Writer& w = gState.writer;
    if (w.file) {
        FlushFrame();
        const std::vector<uint8_t> end = recording::EndBytes(w.frames, w.crc);
        if (w.file && std::fwrite(end.data(), 1, end.size(), w.file) != end.size()) Fail(errno);
        // What the stream still holds reaches the file only now, and may not fit either.
        if (w.file && std::fclose(std::exchange(w.file, nullptr)) != 0) {
            Report("%s: cannot write the recording: %s", w.path.c_str(), std::strerror(errno));
            w.failed = true;
        }
    }
    const bool written = !w.failed;
    w = Writer{};
    return written;
}

double FrameTime(uint64_t frame) {
    const auto& times = gState.run.times;
    if (frame == 0 || times.empty()) return gState.run.startTime;
    return times[std::min<size_t>(frame, times.size()) - 1];
}

std::span<const InputEvent> FrameEvents(uint64_t frame) {
    return gState.run.Events(frame);
}

void Reset() {
    if (gState.writer.file) std::fclose(gState.writer.file);
    gState = State{};
}

} // namespace zorbel::replay
