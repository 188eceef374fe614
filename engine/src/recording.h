// The recording file format (ZORBEL_RECORD, ZORBEL_REPLAY): its reader, and the pieces its writer appends.
// Free of SDL, so tests and fuzz targets can feed the reader directly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace zorbel::recording {

// One change of the input state, as the input layer applied it.
struct InputEvent {
    enum class Kind : uint8_t { Key = 1, Button = 2, Cursor = 3, ReleaseAll = 4 };
    Kind kind = Kind::ReleaseAll;
    uint8_t code = 0; // virtual key or button
    bool down = false;
    float x = 0.0f, y = 0.0f; // Cursor, logical pixels
};

// One frame as the writer appends it.
struct Frame {
    double time = 0.0; // engine time of the frame, ms
    std::vector<InputEvent> events;
};

// A whole recorded run as a replay keeps it: a time per frame and the events of all frames in one array, 12
// bytes a frame and 12 an event, about what the file itself takes.
struct Run {
    uint16_t interfaceVersion = 0;   // of the engine that recorded it
    double startTime = 0.0;          // engine time from the clock's start until frame 1
    std::vector<double> times;       // frame n began at times[n - 1]
    std::vector<uint32_t> eventEnds; // frame n's events end at events[eventEnds[n - 1]]
    std::vector<InputEvent> events;
    size_t FrameCount() const { return times.size(); }
    // The events of frame n (from 1), in their order.
    std::span<const InputEvent> Events(size_t frame) const;
};

constexpr uint16_t kFormatVersion = 1;
// The events a recording holds mean the same to every engine from this interface version on: a later
// version added operations only.
constexpr uint16_t kOldestReplayableInterface = 3;

// Where a recording's bytes come from, in order: each call gives the next piece, which stays valid until the
// next call. An empty piece ends them, with the reason in error when they ended early.
using Source = std::function<std::span<const uint8_t>(std::string& error)>;

// Reads a whole recording, a piece of the source at a time: the header is checked before anything past the
// first piece is read, and the bytes are not kept. On anything but a complete, intact recording of this
// format made by an engine of an interface version from kOldestReplayableInterface to this one, returns false
// with the reason in error.
bool Parse(const Source& source, Run& run, std::string& error);
bool Parse(const uint8_t* data, size_t size, Run& run, std::string& error);

// The bytes the writer appends: the header, each frame as it ends, then the end marker, which carries the
// CRC-32 of every byte before it.
std::vector<uint8_t> Header(uint16_t interfaceVersion, double startTime);
std::vector<uint8_t> FrameBytes(const Frame& frame);
std::vector<uint8_t> EndBytes(uint32_t frames, uint32_t crcSoFar);
// CRC-32 as zlib and PNG compute it, carried on from a previous value (0 to begin).
uint32_t Crc32(uint32_t crc, const uint8_t* data, size_t size);

} // namespace zorbel::recording
