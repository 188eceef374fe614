// Recording and replaying a run (ZORBEL_RECORD, ZORBEL_REPLAY): the file format, its writer and its reader.
//
// Little-endian throughout:
//   header  "ZBREPLAY", u16 format version, u16 engine interface version, f64 start time
//   frame   'F', f64 engine time, u32 event count, then count events of 9 bytes: u8 kind and 8 payload bytes
//           (key 1 / button 2: u8 code, u8 down, 6 zero bytes; cursor 3: f32 x, f32 y; release all 4: 8
//           zeros)
//   end     'E', u32 frame count, u32 CRC-32 of every byte before it
#include "replay.h"

#include "engine.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

namespace zorbel::replay {
namespace {

constexpr char kMagic[8] = {'Z', 'B', 'R', 'E', 'P', 'L', 'A', 'Y'};
constexpr uint8_t kFrameTag = 'F', kEndTag = 'E';
constexpr size_t kEventSize = 9;

constexpr std::array<uint32_t, 256> MakeCrcTable() {
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[i] = c;
    }
    return table;
}
constexpr std::array<uint32_t, 256> kCrcTable = MakeCrcTable();

// CRC-32 as zlib and PNG compute it, carried on from a previous value (0 to begin).
uint32_t Crc32(uint32_t crc, const uint8_t* data, size_t size) {
    crc = ~crc;
    for (size_t i = 0; i < size; ++i)
        crc = kCrcTable[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

// Appends values in the file's byte order.
class Bytes {
  public:
    std::vector<uint8_t> data;
    void U8(uint8_t v) { data.push_back(v); }
    void U16(uint16_t v) { Raw(v); }
    void U32(uint32_t v) { Raw(v); }
    void F32(float v) { Raw(v); }
    void F64(double v) { Raw(v); }

  private:
    template <typename T> void Raw(T v) {
        static_assert(std::endian::native == std::endian::little, "the format is little-endian");
        uint8_t bytes[sizeof v];
        std::memcpy(bytes, &v, sizeof v);
        data.insert(data.end(), bytes, bytes + sizeof v);
    }
};

// Reads values in the file's byte order, never past the end.
class Reader {
  public:
    Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    size_t Left() const { return size_ - at_; }
    size_t At() const { return at_; }
    bool Take(void* out, size_t n) {
        if (Left() < n) return false;
        std::memcpy(out, data_ + at_, n);
        at_ += n;
        return true;
    }
    template <typename T> bool Get(T& v) { return Take(&v, sizeof v); }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

void PutEvent(Bytes& out, const InputEvent& e) {
    out.U8(static_cast<uint8_t>(e.kind));
    switch (e.kind) {
    case InputEvent::Kind::Key:
    case InputEvent::Kind::Button:
        out.U8(e.code);
        out.U8(e.down ? 1 : 0);
        for (int i = 0; i < 6; ++i)
            out.U8(0);
        break;
    case InputEvent::Kind::Cursor:
        out.F32(e.x);
        out.F32(e.y);
        break;
    case InputEvent::Kind::ReleaseAll:
        for (int i = 0; i < 8; ++i)
            out.U8(0);
        break;
    }
}

// Decodes one event's 9 bytes; returns the reason it is not an event this engine makes, or nothing.
std::string GetEvent(const uint8_t* bytes, InputEvent& e) {
    const uint8_t* payload = bytes + 1;
    auto zeros = [&](int from) {
        for (int i = from; i < 8; ++i)
            if (payload[i] != 0) return false;
        return true;
    };
    switch (bytes[0]) {
    case static_cast<uint8_t>(InputEvent::Kind::Key):
    case static_cast<uint8_t>(InputEvent::Kind::Button):
        e.kind = static_cast<InputEvent::Kind>(bytes[0]);
        e.code = payload[0];
        if (payload[1] > 1 || !zeros(2)) return "a malformed key or button event";
        if (e.kind == InputEvent::Kind::Button && e.code > 2) return "a mouse button out of range";
        e.down = payload[1] == 1;
        return {};
    case static_cast<uint8_t>(InputEvent::Kind::Cursor):
        e.kind = InputEvent::Kind::Cursor;
        std::memcpy(&e.x, payload, 4);
        std::memcpy(&e.y, payload + 4, 4);
        if (!std::isfinite(e.x) || !std::isfinite(e.y)) return "a cursor position that is not a number";
        return {};
    case static_cast<uint8_t>(InputEvent::Kind::ReleaseAll):
        e.kind = InputEvent::Kind::ReleaseAll;
        if (!zeros(0)) return "a malformed release event";
        return {};
    default:
        return "an unknown event kind " + std::to_string(bytes[0]);
    }
}

struct Writer {
    std::FILE* file = nullptr;
    std::string path;
    uint32_t crc = 0;
    uint32_t frames = 0;
    bool frameOpen = false;
    Frame current;
};

struct State {
    bool started = false;
    Writer writer;
    bool replaying = false;
    RecordedRun run;
    std::string replayPath;
};
State gState;

[[noreturn]] void Refuse(const std::string& path, const std::string& why) {
    Report("%s: %s", path.c_str(), why.c_str());
    std::exit(2);
}

void Write(const Bytes& bytes) {
    Writer& w = gState.writer;
    w.crc = Crc32(w.crc, bytes.data.data(), bytes.data.size());
    if (std::fwrite(bytes.data.data(), 1, bytes.data.size(), w.file) != bytes.data.size())
        ReportOnce("record-write", "cannot write the recording " + w.path);
}

void FlushFrame() {
    Writer& w = gState.writer;
    if (!w.frameOpen) return;
    Bytes out;
    out.U8(kFrameTag);
    out.F64(w.current.time);
    out.U32(static_cast<uint32_t>(w.current.events.size()));
    for (const InputEvent& e : w.current.events)
        PutEvent(out, e);
    Write(out);
    ++w.frames;
    w.current.events.clear();
    w.frameOpen = false;
}

void LoadReplay(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) Refuse(path, "cannot open the recording");
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    std::string error;
    if (!Parse(bytes.data(), bytes.size(), gState.run, error)) Refuse(path, "cannot replay: " + error);
    gState.replaying = true;
    gState.replayPath = path;
}

} // namespace

bool Parse(const uint8_t* data, size_t size, RecordedRun& run, std::string& error) {
    run = RecordedRun{};
    Reader in(data, size);
    char magic[sizeof kMagic];
    if (!in.Take(magic, sizeof magic) || std::memcmp(magic, kMagic, sizeof magic) != 0) {
        error = "not a recording of this engine";
        return false;
    }
    uint16_t format = 0, api = 0;
    if (!in.Get(format) || !in.Get(api) || !in.Get(run.startTime)) {
        error = "cut off in its header";
        return false;
    }
    if (format != kFormatVersion) {
        error = "recording format " + std::to_string(format) + ", this engine reads format " +
                std::to_string(kFormatVersion);
        return false;
    }
    if (api != ZORBEL_API_VERSION) {
        error = "recorded with engine interface version " + std::to_string(api) +
                ", this engine is version " + std::to_string(ZORBEL_API_VERSION);
        return false;
    }
    if (!std::isfinite(run.startTime)) {
        error = "a start time that is not a number";
        return false;
    }
    for (;;) {
        const std::string where = "frame " + std::to_string(run.frames.size() + 1);
        uint8_t tag = 0;
        if (!in.Get(tag)) {
            error = "cut off after " + std::to_string(run.frames.size()) + " frames (no end marker)";
            return false;
        }
        if (tag == kEndTag) break;
        if (tag != kFrameTag) {
            error = "damaged at " + where;
            return false;
        }
        Frame frame;
        uint32_t count = 0;
        if (!in.Get(frame.time) || !in.Get(count)) {
            error = "cut off in " + where;
            return false;
        }
        if (!std::isfinite(frame.time)) {
            error = "a time that is not a number in " + where;
            return false;
        }
        if (in.Left() / kEventSize < count) {
            error = "cut off in " + where;
            return false;
        }
        frame.events.resize(count);
        for (InputEvent& e : frame.events) {
            uint8_t bytes[kEventSize];
            in.Take(bytes, sizeof bytes);
            if (const std::string why = GetEvent(bytes, e); !why.empty()) {
                error = why + " in " + where;
                return false;
            }
        }
        run.frames.push_back(std::move(frame));
    }
    const size_t checked = in.At();
    uint32_t frames = 0, crc = 0;
    if (!in.Get(frames) || !in.Get(crc)) {
        error = "cut off in its end marker";
        return false;
    }
    if (frames != run.frames.size()) {
        error = "the end marker counts " + std::to_string(frames) + " frames, the file holds " +
                std::to_string(run.frames.size());
        return false;
    }
    if (crc != Crc32(0, data, checked + 4)) {
        error = "damaged (checksum mismatch)";
        return false;
    }
    if (in.Left() != 0) {
        error = "more bytes after the end marker";
        return false;
    }
    return true;
}

void Start() {
    if (gState.started) return;
    gState.started = true;
    const char* record = std::getenv("ZORBEL_RECORD");
    const char* replay = std::getenv("ZORBEL_REPLAY");
    if (record && *record && replay && *replay) {
        Report("ZORBEL_RECORD and ZORBEL_REPLAY cannot be used together");
        std::exit(2);
    }
    if (replay && *replay) LoadReplay(replay);
    if (record && *record) {
        gState.writer.path = record;
        gState.writer.file = std::fopen(record, "wb");
        if (!gState.writer.file) Refuse(record, "cannot write the recording");
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
    if (!Recording()) return;
    Bytes out;
    out.data.insert(out.data.end(), kMagic, kMagic + sizeof kMagic);
    out.U16(kFormatVersion);
    out.U16(ZORBEL_API_VERSION);
    out.F64(time);
    Write(out);
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
    Bytes out;
    out.U8(kEndTag);
    out.U32(w.frames);
    Write(out);
    Bytes crc;
    crc.U32(w.crc);
    if (std::fwrite(crc.data.data(), 1, crc.data.size(), w.file) != crc.data.size() ||
        std::fclose(w.file) != 0)
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
