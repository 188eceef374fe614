// The recording file format. Little-endian throughout:
//   header  "ZBREPLAY", u16 format version, u16 engine interface version, f64 start time
//   frame   'F', f64 engine time, u32 event count, then count events of 9 bytes: u8 kind and 8 payload bytes
//           (key 1 / button 2: u8 code, u8 down, 6 zero bytes; cursor 3: f32 x, f32 y; release all 4: 8
//           zeros)
//   end     'E', u32 frame count, u32 CRC-32 of every byte before it
#include "recording.h"

#include "zorbel_api.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstring>

namespace zorbel::recording {
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

// Appends values in the file's byte order.
class Bytes {
  public:
    std::vector<uint8_t> data;
    template <typename T> void Put(T v) {
        static_assert(std::endian::native == std::endian::little, "the format is little-endian");
        uint8_t bytes[sizeof v];
        std::memcpy(bytes, &v, sizeof v);
        data.insert(data.end(), bytes, bytes + sizeof v);
    }
    void Zeros(int n) { data.insert(data.end(), static_cast<size_t>(n), uint8_t{0}); }
};

// Reads values in the file's byte order, never past the end.
class Reader {
  public:
    Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    size_t Left() const { return size_ - at_; }
    size_t At() const { return at_; }
    [[nodiscard]] bool Take(void* out, size_t n) {
        if (Left() < n) return false;
        if (n) std::memcpy(out, data_ + at_, n);
        at_ += n;
        return true;
    }
    template <typename T> [[nodiscard]] bool Get(T& v) { return Take(&v, sizeof v); }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

void PutEvent(Bytes& out, const InputEvent& e) {
    out.Put(static_cast<uint8_t>(e.kind));
    switch (e.kind) {
    case InputEvent::Kind::Key:
    case InputEvent::Kind::Button:
        out.Put(e.code);
        out.Put(static_cast<uint8_t>(e.down ? 1 : 0));
        out.Zeros(6);
        break;
    case InputEvent::Kind::Cursor:
        out.Put(e.x);
        out.Put(e.y);
        break;
    case InputEvent::Kind::ReleaseAll:
        out.Zeros(8);
        break;
    }
}

// Decodes one event's 9 bytes; returns why they are not an event this engine makes, or nothing.
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

} // namespace

uint32_t Crc32(uint32_t crc, const uint8_t* data, size_t size) {
    crc = ~crc;
    for (size_t i = 0; i < size; ++i)
        crc = kCrcTable[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

std::vector<uint8_t> Header(double startTime) {
    Bytes out;
    out.data.assign(kMagic, kMagic + sizeof kMagic);
    out.Put(kFormatVersion);
    out.Put(static_cast<uint16_t>(ZORBEL_API_VERSION));
    out.Put(startTime);
    return out.data;
}

std::vector<uint8_t> FrameBytes(const Frame& frame) {
    Bytes out;
    out.Put(kFrameTag);
    out.Put(frame.time);
    out.Put(static_cast<uint32_t>(frame.events.size()));
    for (const InputEvent& e : frame.events)
        PutEvent(out, e);
    return out.data;
}

std::vector<uint8_t> EndBytes(uint32_t frames, uint32_t crcSoFar) {
    Bytes out;
    out.Put(kEndTag);
    out.Put(frames);
    out.Put(Crc32(crcSoFar, out.data.data(), out.data.size()));
    return out.data;
}

bool Parse(const uint8_t* data, size_t size, Run& run, std::string& error) {
    run = Run{};
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
        if (!in.Get(frame.time) || !in.Get(count) || in.Left() / kEventSize < count) {
            error = "cut off in " + where;
            return false;
        }
        if (!std::isfinite(frame.time)) {
            error = "a time that is not a number in " + where;
            return false;
        }
        frame.events.resize(count);
        for (InputEvent& e : frame.events) {
            uint8_t bytes[kEventSize];
            if (!in.Take(bytes, sizeof bytes)) {
                error = "cut off in " + where;
                return false;
            }
            if (const std::string why = GetEvent(bytes, e); !why.empty()) {
                error = why + " in " + where;
                return false;
            }
        }
        run.frames.push_back(std::move(frame));
    }
    const size_t checked = in.At() + sizeof(uint32_t);
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
    if (crc != Crc32(0, data, checked)) {
        error = "damaged (checksum mismatch)";
        return false;
    }
    if (in.Left() != 0) {
        error = "more bytes after the end marker";
        return false;
    }
    return true;
}

} // namespace zorbel::recording
