// Recording and replaying runs (ZORBEL_RECORD, ZORBEL_REPLAY): the session around the file format.
#include "replay.h"

#include "engine.h"
#include "hooks.h"
#include "outside_text.h"

#include <algorithm>
#include <cstdio>

namespace zorbel::replay {
namespace {

// A recording grows by about a kilobyte a second of play; anything near this is not one of ours.
constexpr size_t kMaxRecordingBytes = size_t{1} << 30;

struct Writer {
    std::FILE* file = nullptr;
    std::string path;
    uint32_t crc = 0;
    uint32_t frames = 0;
    bool frameOpen = false;
    recording::Frame current;
};

struct State {
    bool started = false;
    Writer writer;
    bool replaying = false;
    recording::Run run;
};
State gState;

void Write(const std::vector<uint8_t>& bytes) {
    Writer& w = gState.writer;
    w.crc = recording::Crc32(w.crc, bytes.data(), bytes.size());
    if (std::fwrite(bytes.data(), 1, bytes.size(), w.file) != bytes.size())
        ReportOnce("record-write", "cannot write the recording " + w.path);
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
    std::string bytes, why;
    if (!ReadTextFile(path, kMaxRecordingBytes, &bytes, &why))
        hooks::Refuse(path + ": cannot read the recording: " + why);
    if (!recording::Parse(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), gState.run, why))
        hooks::Refuse(path + ": cannot replay: " + why);
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
        gState.writer.path = record;
        gState.writer.file = std::fopen(record.c_str(), "wb");
        if (!gState.writer.file) hooks::Refuse(record + ": cannot write the recording");
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
    return gState.run.frames.size();
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

void Finish() {
    Writer& w = gState.writer;
    if (!w.file) return;
    FlushFrame();
    const std::vector<uint8_t> end = recording::EndBytes(w.frames, w.crc);
    if (std::fwrite(end.data(), 1, end.size(), w.file) != end.size() || std::fclose(w.file) != 0)
        Report("cannot write the recording %s", w.path.c_str());
    w = Writer{};
}

double FrameTime(uint64_t frame) {
    const auto& frames = gState.run.frames;
    if (frame == 0 || frames.empty()) return gState.run.startTime;
    return frames[std::min<size_t>(frame, frames.size()) - 1].time;
}

const std::vector<InputEvent>& FrameEvents(uint64_t frame) {
    static const std::vector<InputEvent> kNone;
    const auto& frames = gState.run.frames;
    return frame >= 1 && frame <= frames.size() ? frames[frame - 1].events : kNone;
}

void Reset() {
    if (gState.writer.file) std::fclose(gState.writer.file);
    gState = State{};
}

} // namespace zorbel::replay
