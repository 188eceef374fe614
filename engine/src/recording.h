// The recording file format (ZORBEL_RECORD, ZORBEL_REPLAY): its reader, and the pieces its writer appends.
// Free of SDL, so tests and fuzz targets can feed the reader directly.
#pragma once

#include <cstddef>
#include <cstdint>
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

struct Frame {
    double time = 0.0; // engine time of the frame, ms
    std::vector<InputEvent> events;
};

struct Run {
    uint16_t interfaceVersion = 0; // of the engine that recorded it
    double startTime = 0.0;        // engine time from the clock's start until frame 1
    std::vector<Frame> frames;     // frame n is frames[n - 1]
};

constexpr uint16_t kFormatVersion = 1;
// The events a recording holds mean the same to every engine from this interface version on: a later
// version added operations only.
constexpr uint16_t kOldestReplayableInterface = 3;

// Reads a whole recording. On anything but a complete, intact recording of this format made by an engine of
// an interface version from kOldestReplayableInterface to this one, returns false with the reason in error.
bool Parse(const uint8_t* data, size_t size, Run& run, std::string& error);

// The bytes the writer appends: the header, each frame as it ends, then the end marker, which carries the
// CRC-32 of every byte before it.
std::vector<uint8_t> Header(uint16_t interfaceVersion, double startTime);
std::vector<uint8_t> FrameBytes(const Frame& frame);
std::vector<uint8_t> EndBytes(uint32_t frames, uint32_t crcSoFar);
// CRC-32 as zlib and PNG compute it, carried on from a previous value (0 to begin).
uint32_t Crc32(uint32_t crc, const uint8_t* data, size_t size);

} // namespace zorbel::recording
