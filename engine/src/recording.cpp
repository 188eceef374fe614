// The recording file format. Little-endian throughout:
//   header  "ZBREPLAY", u16 format version, u16 engine interface version, f64 start time
//   frame   'F', f64 engine time, u32 event count, then count events of 9 bytes: u8 kind and 8 payload bytes
//           (key 1 / button 2: u8 code, u8 down, 6 zero bytes; cursor 3: f32 x, f32 y; release all 4: 8
//           zeros)
//   end     'E', u32 frame count, u32 CRC-32 of every byte before it
#include "recording.h"

#include "zorbel_api.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <utility>

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

// Reads values in the file's byte order from a source, a piece at a time, never past the end, and keeps the
// CRC-32 of every byte taken.
class Reader {
  public:
    explicit Reader(const Source& source) : source_(source) {}
    [[nodiscard]] bool Take(void* out, size_t n) {
        auto* to = static_cast<uint8_t*>(out);
        while (n > 0) {
            if (piece_.empty() && !Fill()) return false;
            const size_t k = std::min(n, piece_.size());
            std::memcpy(to, piece_.data(), k);
            crc_ = Crc32(crc_, piece_.data(), k);
            piece_ = piece_.subspan(k);
            to += k;
            n -= k;
        }
        return true;
    }
    template <typename T> [[nodiscard]] bool Get(T& v) { return Take(&v, sizeof v); }
    bool AtEnd() { return piece_.empty() && !Fill(); }
    uint32_t Crc() const { return crc_; }
    // Why the source stopped giving bytes before its end; empty when it reached it.
    const std::string& Failure() const { return failure_; }

  private:
    bool Fill() {
        if (!ended_) piece_ = source_(failure_);
        ended_ = piece_.empty();
        return !ended_;
    }
    const Source& source_;
    std::span<const uint8_t> piece_;
    bool ended_ = false;
    uint32_t crc_ = 0;
    std::string failure_;
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

std::vector<uint8_t> Header(uint16_t interfaceVersion, double startTime) {
    Bytes out;
    out.data.assign(kMagic, kMagic + sizeof kMagic);
    out.Put(kFormatVersion);
    out.Put(interfaceVersion);
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

std::span<const InputEvent> Run::Events(size_t frame) const {
    if (frame == 0 || frame > times.size()) return {};
    const size_t begin = frame == 1 ? 0 : eventEnds[frame - 2];
    return std::span<const InputEvent>(events).subspan(begin, eventEnds[frame - 1] - begin);
}

bool Parse(const Source& source, Run& run, std::string& error) {
    run = Run{};
    Reader in(source);
    // A source that fails says so, rather than looking cut off.
    auto refuse = [&](const std::string& why) {
        error = in.Failure().empty() ? why : "cannot be read: " + in.Failure();
        return false;
    };
    char magic[sizeof kMagic];
    if (!in.Take(magic, sizeof magic) || std::memcmp(magic, kMagic, sizeof magic) != 0)
        return refuse("not a recording of this engine");
    uint16_t format = 0;
    uint16_t& api = run.interfaceVersion;
    if (!in.Get(format) || !in.Get(api) || !in.Get(run.startTime)) return refuse("cut off in its header");
    if (format != kFormatVersion)
        return refuse("recording format " + std::to_string(format) + ", this engine reads format " +
                      std::to_string(kFormatVersion));
    if (api < kOldestReplayableInterface || api > ZORBEL_API_VERSION)
        return refuse("recorded with engine interface version " + std::to_string(api) +
                      ", this engine replays " + std::to_string(kOldestReplayableInterface) + " to " +
                      std::to_string(ZORBEL_API_VERSION));
    if (!std::isfinite(run.startTime)) return refuse("a start time that is not a number");
    auto where = [&] { return "frame " + std::to_string(run.times.size() + 1); };
    for (;;) {
        uint8_t tag = 0;
        if (!in.Get(tag))
            return refuse("cut off after " + std::to_string(run.times.size()) + " frames (no end marker)");
        if (tag == kEndTag) break;
        if (tag != kFrameTag) return refuse("damaged at " + where());
        double time = 0.0;
        uint32_t count = 0;
        if (!in.Get(time) || !in.Get(count)) return refuse("cut off in " + where());
        if (!std::isfinite(time)) return refuse("a time that is not a number in " + where());
        if (count > UINT32_MAX - run.events.size()) return refuse("too many events by " + where());
        for (uint32_t k = 0; k < count; ++k) {
            uint8_t bytes[kEventSize];
            InputEvent e;
            if (!in.Take(bytes, sizeof bytes)) return refuse("cut off in " + where());
            if (const std::string why = GetEvent(bytes, e); !why.empty())
                return refuse(why + " in " + where());
            run.events.push_back(e);
        }
        run.times.push_back(time);
        run.eventEnds.push_back(static_cast<uint32_t>(run.events.size()));
    }
    uint32_t frames = 0, crc = 0;
    if (!in.Get(frames)) return refuse("cut off in its end marker");
    const uint32_t checked = in.Crc();
    if (!in.Get(crc)) return refuse("cut off in its end marker");
    if (frames != run.times.size())
        return refuse("the end marker counts " + std::to_string(frames) + " frames, the file holds " +
                      std::to_string(run.times.size()));
    if (crc != checked) return refuse("damaged (checksum mismatch)");
    if (!in.AtEnd()) return refuse("more bytes after the end marker");
    return true;
}

bool Parse(const uint8_t* data, size_t size, Run& run, std::string& error) {
    bool given = false;
    const Source memory = [&](std::string&) {
        return std::exchange(given, true) ? std::span<const uint8_t>() : std::span<const uint8_t>(data, size);
    };
    return Parse(memory, run, error);
}

} // namespace zorbel::recording
